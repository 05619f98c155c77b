#include "Zip_U.h"

#include <fmt/format.h>
#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

#include "AtomicFile_U.h"
#include "Exceptions_U.h"
#include "FileUtils_U.h"
#include "TextoMensagem_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

namespace fs = std::filesystem;

namespace {

struct TZipEntry {
  std::string Name;
  std::string Bytes;
  std::time_t ModTime;
  int Descritor = -1;  // when set, the bytes are this file's, read from its start
};

// What a libzip error means, in Portuguese; libzip's own text goes to the debug log.
std::string DescricaoErroZip(const zip_error_t* error) {
  zip_error_t copia;
  zip_error_init_with_code(&copia, zip_error_code_zip(error));
  LogDebug(fmt::format("libzip: {}", zip_error_strerror(&copia)));
  zip_error_fini(&copia);
  switch (zip_error_code_zip(error)) {
    case ZIP_ER_MEMORY: return "memória insuficiente";
    case ZIP_ER_NOENT: return "arquivo inexistente";
    case ZIP_ER_EXISTS: return "o arquivo já existe";
    case ZIP_ER_NOZIP: return "não é um arquivo ZIP";
    case ZIP_ER_INCONS:
    case ZIP_ER_CRC: return "o arquivo ZIP está danificado";
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_WRITE:
    case ZIP_ER_CLOSE:
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL:
    case ZIP_ER_REMOVE:
    case ZIP_ER_RENAME:
    case ZIP_ER_TMPOPEN: return DescricaoErroSistema(zip_error_code_system(error));
    default: return fmt::format("erro {} da biblioteca ZIP", zip_error_code_zip(error));
  }
}

[[noreturn]] void ZipError(const fs::path& zipPath, const std::string& detail) {
  throw EFileError(fmt::format("Erro ao compactar o arquivo \"{}\": {}", CitarCaminho(zipPath), detail));
}

// The archive's bytes, handed to `saida` in blocks. libzip writes into a buffer source that we
// keep past zip_close.
template <class TSaida>
void BuildArchive(const std::vector<TZipEntry>& entries, std::string_view comment, const fs::path& zipPath,
                  TSaida&& saida) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!buffer) ZipError(zipPath, DescricaoErroZip(&error));
  std::unique_ptr<zip_source_t, decltype(&zip_source_free)> bufferGuard(buffer, &zip_source_free);
  zip_source_keep(buffer);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  if (!archive) {
    zip_source_free(buffer);  // the reference taken by zip_source_keep
    ZipError(zipPath, DescricaoErroZip(&error));
  }
  auto fail = [&](const std::string& detail) {
    std::string message = detail + ": " + DescricaoErroZip(zip_get_error(archive));
    zip_discard(archive);
    ZipError(zipPath, message);
  };
  for (const auto& entry : entries) {
    zip_source_t* source = nullptr;
    if (entry.Descritor < 0) {
      source = zip_source_buffer(archive, entry.Bytes.data(), entry.Bytes.size(), 0);
    } else if (std::FILE* f = ::lseek(entry.Descritor, 0, SEEK_SET) == 0 ? ::fdopen(::dup(entry.Descritor), "rb") : nullptr) {
      source = zip_source_filep(archive, f, 0, -1);  // owns f from here on
      if (!source) std::fclose(f);
    }
    if (!source) fail(entry.Name);
    zip_int64_t index = zip_file_add(archive, entry.Name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      fail(entry.Name);
    }
    if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0) != 0 ||
        zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), entry.ModTime, 0) != 0)
      fail(entry.Name);
  }
  if (!comment.empty() && zip_set_archive_comment(archive, comment.data(), static_cast<zip_uint16_t>(comment.size())) != 0)
    fail("comentário");
  if (zip_close(archive) != 0) fail("gravação");

  if (zip_source_open(buffer) != 0) ZipError(zipPath, DescricaoErroZip(zip_source_error(buffer)));
  struct TFechar {
    zip_source_t* B;
    ~TFechar() { zip_source_close(B); }
  } fechar{buffer};
  std::string chunk(65536, '\0');
  zip_int64_t n;
  while ((n = zip_source_read(buffer, chunk.data(), chunk.size())) > 0)
    saida(std::string_view(chunk.data(), static_cast<size_t>(n)));
  if (n < 0) ZipError(zipPath, DescricaoErroZip(zip_source_error(buffer)));
}

std::string BuildArchive(const std::vector<TZipEntry>& entries, std::string_view comment, const fs::path& zipPath) {
  std::string bytes;
  BuildArchive(entries, comment, zipPath, [&](std::string_view b) { bytes.append(b); });
  return bytes;
}

void WriteArchive(const std::vector<TZipEntry>& entries, std::string_view comment, const fs::path& zipPath) {
  std::string bytes = BuildArchive(entries, comment, zipPath);
  TAtomicFile file(zipPath);
  file.Write(bytes);
  file.Commit();
}

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EFileError(fmt::format("Arquivo não encontrado para compactar: \"{}\"", CitarCaminho(path)));
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EFileError(fmt::format("Erro ao ler o arquivo \"{}\"", CitarCaminho(path)));
  return bytes;
}

std::time_t ModTimeOf(const fs::path& path) {
  std::error_code ec;
  auto t = fs::last_write_time(path, ec);
  if (ec) return std::time(nullptr);
  return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(t));
}

struct TZipCloser {
  void operator()(zip_t* z) const { zip_discard(z); }
};

std::unique_ptr<zip_t, TZipCloser> OpenForReading(const fs::path& zipPath) {
  int code = 0;
  zip_t* z = zip_open(zipPath.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (!z) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string message = DescricaoErroZip(&error);
    zip_error_fini(&error);
    throw EFileError(fmt::format("Erro ao abrir o arquivo compactado \"{}\": {}", CitarCaminho(zipPath), message));
  }
  return std::unique_ptr<zip_t, TZipCloser>(z);
}

}  // namespace

void Compress(std::string_view sourceBytes, const fs::path& targetPath, std::string_view comment,
              const std::string& entryName) {
  if (entryName.empty()) throw EFileError("Nome da entrada do arquivo compactado não informado");
  WriteArchive({{entryName, std::string(sourceBytes), std::time(nullptr)}}, comment, CaminhoDeTexto(targetPath.string()));
}

void CompressLista(const TStringList& names, const fs::path& folder, const fs::path& zipPath, bool replaceExisting) {
  fs::path target = CaminhoDeTexto(zipPath.string());
  if (names.Empty()) throw EFileError(fmt::format("Nenhum arquivo informado para compactar em \"{}\"", CitarCaminho(target)));
  if (!replaceExisting && fs::exists(target))
    throw EFileError(fmt::format("O arquivo compactado \"{}\" já existe", CitarCaminho(target)));
  std::vector<TZipEntry> entries;
  std::set<std::string> seen;
  for (const auto& name : names) {
    fs::path source = CombinarCaminho(folder, name);
    std::string bare = source.filename().string();
    if (!seen.insert(bare).second)
      throw EFileError(fmt::format("O arquivo \"{}\" aparece duas vezes na lista para compactar", bare));
    entries.push_back({bare, ReadWholeFile(source), ModTimeOf(source)});
  }
  WriteArchive(entries, {}, target);
}

void CompressArquivos(const std::vector<TArquivoZip>& arquivos, IOutputSink& saida, const fs::path& zipPath) {
  if (arquivos.empty())
    throw EFileError(fmt::format("Nenhum arquivo informado para compactar em \"{}\"", CitarCaminho(zipPath)));
  std::vector<TZipEntry> entries;
  std::set<std::string> seen;
  for (const auto& a : arquivos) {
    if (!seen.insert(a.Nome).second)
      throw EFileError(fmt::format("O arquivo \"{}\" aparece duas vezes na lista para compactar", a.Nome));
    entries.push_back({a.Nome, ReadWholeFile(a.Origem), ModTimeOf(a.Origem)});
  }
  saida.Write(BuildArchive(entries, {}, zipPath));
  saida.Commit();
}

TEntradaZip::TEntradaZip(IOutputSink& arquivo, fs::path zipPath, std::string nome)
    : FArquivo(arquivo), FZipPath(std::move(zipPath)), FNome(std::move(nome)) {
  if (FNome.empty()) throw EFileError("Nome da entrada do arquivo compactado não informado");
  fs::path pasta = FZipPath.parent_path().empty() ? fs::path(".") : FZipPath.parent_path();
  int erro = nTesteGravacao::DeveFalhar(nTesteGravacao::TOperacao::Criacao) ? EIO : 0;
  if (erro == 0) {
    FDescritor = ::open(pasta.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    // A file system without unnamed files: a named one, removed at once.
    if (FDescritor < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
      std::string modelo = (pasta / ".ulmo-entrada-zip.XXXXXX").string();
      FDescritor = ::mkstemp(modelo.data());
      if (FDescritor >= 0) ::unlink(modelo.c_str());
    }
    if (FDescritor < 0) erro = errno;
  }
  if (erro != 0)
    throw EFileError(fmt::format("Erro ao criar o arquivo temporário de \"{}\": {}", CitarCaminho(FZipPath),
                                 DescricaoErroSistema(erro)));
}

TEntradaZip::~TEntradaZip() {
  if (FDescritor >= 0) ::close(FDescritor);
}

void TEntradaZip::Write(std::string_view bytes) {
  if (FCommitted) throw EInternalError("entrada de arquivo compactado gravada após a conclusão");
  nArquivos::GravarTudo(FDescritor, bytes, FZipPath);
}

void TEntradaZip::Commit() {
  if (FCommitted) throw EInternalError("entrada de arquivo compactado concluída duas vezes");
  FCommitted = true;
  TZipEntry entrada{FNome, {}, std::time(nullptr), FDescritor};
  BuildArchive({entrada}, {}, FZipPath, [&](std::string_view b) { FArquivo.Write(b); });
  FArquivo.Commit();
}

std::vector<std::string> ListarEntradasZip(const fs::path& zipPath) {
  auto z = OpenForReading(zipPath);
  std::vector<std::string> names;
  zip_int64_t count = zip_get_num_entries(z.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) names.emplace_back(zip_get_name(z.get(), static_cast<zip_uint64_t>(i), 0));
  return names;
}

std::string LerEntradaZip(const fs::path& zipPath, const std::string& entryName) {
  auto z = OpenForReading(zipPath);
  zip_file_t* f = zip_fopen(z.get(), entryName.c_str(), 0);
  if (!f)
    throw EFileError(fmt::format("Entrada \"{}\" não encontrada em \"{}\"", entryName, CitarCaminho(zipPath)));
  std::string bytes;
  char chunk[65536];
  zip_int64_t n;
  while ((n = zip_fread(f, chunk, sizeof chunk)) > 0) bytes.append(chunk, static_cast<size_t>(n));
  zip_fclose(f);
  if (n < 0) throw EFileError(fmt::format("Erro ao ler \"{}\" em \"{}\"", entryName, CitarCaminho(zipPath)));
  return bytes;
}

}  // namespace nFramework
