// Folders and whole-file writes of the framework. Paths are std::filesystem paths; a path
// that arrives as text may use '\' as well as '/' between its parts (see CaminhoDeTexto).
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

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
// The program's temporary folder, with a trailing '/', created on demand.
std::string PegarDirTemp();
// Replaces the temporary folder (tests, configuration); an empty path restores the default.
void SetDirTemp(const std::filesystem::path& folder);

// Writes the lines, each followed by CRLF, to path + extension ("txt" and ".txt" both work),
// atomically. `replaceAll` is the run's "overwrite all" answer, kept for the dialog service;
// an existing file is overwritten. Raises EFileError naming the line of a text the encoding lacks.
void GravarConteudoEmArquivo(const TStringList& lines, const std::filesystem::path& path, bool& replaceAll,
                             std::string_view extension = ".txt", TEncoding encoding = TEncoding::Windows1252);
// Writes the UTF-8 text as it is, atomically.
void GravarArquivo(const std::filesystem::path& path, std::string_view text);

}  // namespace nFramework
