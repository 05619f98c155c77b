// Folders and whole-file writes of the framework. Paths are std::filesystem paths; a path
// that arrives as text may use '\' as well as '/' between its parts (see CaminhoDeTexto).
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include "AtomicFile_U.h"
#include "Classes_U.h"
#include "Encoding_U.h"

namespace nFramework {

// The text as a path, every '\' taken as a delimiter: "C:\dados" and "saida\ano" stay usable.
std::filesystem::path CaminhoDeTexto(std::string_view text);
// The child `name` of `folder`; leading delimiters of the name ("\LancamentoContabil") are dropped.
std::filesystem::path CombinarCaminho(const std::filesystem::path& folder, std::string_view name);
// The folder text with exactly one '/' at the end (a trailing '\' counts as one); "" stays "".
std::string IncludeTrailingPathDelimiter(std::string_view folder);
// The folder text without delimiters at the end; a bare "/" stays "/".
std::string ExcludeTrailingPathDelimiter(std::string_view folder);

// Creates the folder with its missing parents; raises EFileError when it cannot.
void ForceDirectories(const std::filesystem::path& folder);
// Whether files cannot be created in the folder (for a missing one: in its nearest existing parent).
bool IsReadOnly(const std::filesystem::path& folder);
// Makes sure `pasta` is a folder only this user can use: creates it (parents as needed) closed
// to others when missing. Raises EFileError, "<descricao> \"<pasta>\" não é segura: <why>.<conselho>",
// for a symbolic link, something that is not a folder, a folder of another user, and a folder
// others can use, unless `fechar` lets it close that one (a folder the program itself made).
void GarantirPastaPrivada(const std::filesystem::path& pasta, bool fechar, const std::string& descricao,
                          const std::string& conselho);
// The program's temporary folder, with a trailing '/': one per user, created on demand and
// closed to other users; refused when it is a link or another user's.
std::string PegarDirTemp();
// The folder PegarDirTemp gives, without creating or checking it.
std::filesystem::path CaminhoDirTemp();
// Replaces the temporary folder (tests, configuration); an empty path restores the default.
void SetDirTemp(const std::filesystem::path& folder);

// Writes the lines, each followed by CRLF, to path + extension ("txt" and ".txt" both work),
// atomically. `replaceAll` is the run's "overwrite all" answer, kept for the dialog service;
// an existing file is overwritten. Raises EFileError naming the line of a text the encoding lacks.
void GravarConteudoEmArquivo(const TStringList& lines, const std::filesystem::path& path, bool& replaceAll,
                             std::string_view extension = ".txt", TEncoding encoding = TEncoding::Windows1252);
// Writes the UTF-8 text as it is, atomically, with these permissions (less the umask).
void GravarArquivo(const std::filesystem::path& path, std::string_view text,
                   std::filesystem::perms permissoes = TAtomicFile::PermissoesPadrao);

}  // namespace nFramework
