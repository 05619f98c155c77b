#include "AtomicFile_U.h"

#include <fmt/format.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#include "Exceptions_U.h"
#include "FileUtils_U.h"
#include "TextoMensagem_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

namespace fs = std::filesystem;

TAtomicFile::TAtomicFile(fs::path target) : FTarget(std::move(target)) {
  if (FTarget.filename().empty()) throw EFileError(fmt::format("Nome de arquivo inválido: \"{}\"", CitarCaminho(FTarget)));
  fs::path folder = FTarget.parent_path();
  if (!folder.empty()) ForceDirectories(folder);
  // A hidden name beside the target: the rename stays on one file system, so it is atomic.
  std::random_device random;
  for (int attempt = 0; attempt < 20 && !FFile; ++attempt) {
    FTempPath = folder / fmt::format(".{}.{:08x}.tmp", FTarget.filename().string(), random());
    FFile = std::fopen(FTempPath.c_str(), "wbx");
    if (!FFile && errno != EEXIST) break;
  }
  if (!FFile)
    throw EFileError(
        fmt::format("Não foi possível criar o arquivo \"{}\": {}", CitarCaminho(FTarget), DescricaoErroSistema(errno)));
}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Write(std::string_view bytes) {
  if (!FFile) throw EInternalError("gravação em arquivo já fechado: " + FTarget.string());
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size())
    throw EFileError(fmt::format("Erro ao gravar o arquivo \"{}\": {}", CitarCaminho(FTarget), DescricaoErroSistema(errno)));
}

void TAtomicFile::Commit() {
  if (!FFile) throw EInternalError("arquivo já fechado: " + FTarget.string());
  // Flushed and synced before the rename: a crash must not leave an empty file under the real name.
  bool ok = std::fflush(FFile) == 0 && ::fsync(::fileno(FFile)) == 0;
  int error = errno;
  ok = std::fclose(FFile) == 0 && ok;
  if (!ok && error == 0) error = errno;
  FFile = nullptr;
  if (!ok) {
    Discard();
    throw EFileError(fmt::format("Erro ao gravar o arquivo \"{}\": {}", CitarCaminho(FTarget), DescricaoErroSistema(error)));
  }
  std::error_code ec;
  fs::rename(FTempPath, FTarget, ec);
  if (ec) {
    Discard();
    throw EFileError(
        fmt::format("Não foi possível substituir o arquivo \"{}\": {}", CitarCaminho(FTarget), DescricaoErroSistema(ec)));
  }
  FCommitted = true;
}

void TAtomicFile::Discard() noexcept {
  if (FFile) {
    std::fclose(FFile);
    FFile = nullptr;
  }
  if (!FCommitted && !FTempPath.empty()) {
    std::error_code ec;
    fs::remove(FTempPath, ec);
    FTempPath.clear();
  }
}

void TStringSink::Write(std::string_view bytes) {
  if (FCommitted) throw EInternalError("gravação após a confirmação da saída");
  FText.append(bytes);
}

void TStringSink::Commit() {
  if (FCommitted) throw EInternalError("saída confirmada duas vezes");
  FCommitted = true;
}

}  // namespace nFramework
