// ZIP archives (deflate) over libzip. Archives are built in memory and written through an
// atomic file, so a failure never leaves a broken archive nor destroys the previous one.
#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "AtomicFile_U.h"
#include "Classes_U.h"

namespace nFramework {

// Writes a ZIP with one entry `entryName` holding `sourceBytes`. A non-empty `comment` becomes
// the archive's comment. An existing file at targetPath is replaced. Raises EFileError.
void Compress(std::string_view sourceBytes, const std::filesystem::path& targetPath, std::string_view comment,
              const std::string& entryName);
// Packs the named files of `folder` into zipPath, one entry per file under its bare name, in
// list order. With replaceExisting an existing archive is replaced; without it, it is an error.
// A missing file, two files of the same bare name or an empty list raise EFileError, and no
// archive is written.
void CompressLista(const TStringList& names, const std::filesystem::path& folder, const std::filesystem::path& zipPath,
                   bool replaceExisting);

// A file to pack: its entry name and where its bytes are.
struct TArquivoZip {
  std::string Nome;
  std::filesystem::path Origem;
};
// Packs the files, one entry each in list order, into `saida` and commits it (a file set packs
// its own temporaries this way). zipPath names the archive in messages. An empty list, a
// repeated name or an unreadable file raise EFileError, with nothing written into `saida`.
void CompressArquivos(const std::vector<TArquivoZip>& arquivos, IOutputSink& saida, const std::filesystem::path& zipPath);

// One entry of a ZIP archive as an output sink, for a document too large to hold: what is written
// goes to an unnamed temporary file in the archive's folder (a kill leaves nothing behind), and
// Commit packs it, deflated, as the archive's only entry into `arquivo` and commits that. Memory
// holds the compressed archive at Commit, never the entry. Without Commit nothing reaches
// `arquivo`. Errors are EFileError naming zipPath.
class TEntradaZip final : public IOutputSink {
 public:
  // REQUIRES: `arquivo` outlives this sink.
  TEntradaZip(IOutputSink& arquivo, std::filesystem::path zipPath, std::string nome);
  ~TEntradaZip() override;
  TEntradaZip(const TEntradaZip&) = delete;
  TEntradaZip& operator=(const TEntradaZip&) = delete;

  void Write(std::string_view bytes) override;
  void Commit() override;

 private:
  IOutputSink& FArquivo;
  std::filesystem::path FZipPath;
  std::string FNome;
  int FDescritor = -1;
  bool FCommitted = false;
};

// The entry names of an archive, in archive order.
std::vector<std::string> ListarEntradasZip(const std::filesystem::path& zipPath);
// The bytes of one entry; raises EFileError when the archive or the entry cannot be read.
std::string LerEntradaZip(const std::filesystem::path& zipPath, const std::string& entryName);

}  // namespace nFramework
