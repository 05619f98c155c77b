#include "FileUtils_U.h"

#include <fmt/format.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "AtomicFile_U.h"
#include "Exceptions_U.h"
#include "TextoMensagem_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

namespace fs = std::filesystem;

namespace {

bool IsDelimiter(char c) { return c == '/' || c == '\\'; }

fs::path& DirTempOverride() {
  static fs::path folder;
  return folder;
}

}  // namespace

fs::path CaminhoDeTexto(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c == '\\') c = '/';
  return fs::path(s);
}

fs::path CombinarCaminho(const fs::path& folder, std::string_view name) {
  size_t start = 0;
  while (start < name.size() && IsDelimiter(name[start])) ++start;
  fs::path child = CaminhoDeTexto(name.substr(start));
  if (folder.empty()) return child;
  return CaminhoDeTexto(folder.string()) / child;
}

std::string IncludeTrailingPathDelimiter(std::string_view folder) {
  if (folder.empty()) return {};
  std::string s(folder);
  if (IsDelimiter(s.back()))
    s.back() = '/';
  else
    s += '/';
  return s;
}

std::string ExcludeTrailingPathDelimiter(std::string_view folder) {
  std::string s(folder);
  while (s.size() > 1 && IsDelimiter(s.back())) s.pop_back();
  if (s.size() == 1 && IsDelimiter(s[0])) s = "/";
  return s;
}

void ForceDirectories(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder, ec)) {
    if (ec) LogDebug(fmt::format("create_directories {}: {}", folder.string(), ec.message()));
    std::string reason = ec ? DescricaoErroSistema(ec) : "já existe um arquivo com esse nome";
    throw EFileError(fmt::format("Não foi possível criar a pasta \"{}\": {}", CitarCaminho(folder), reason));
  }
}

bool IsReadOnly(const fs::path& folder) {
  std::error_code ec;
  fs::path probe = folder.empty() ? fs::path(".") : fs::absolute(folder, ec);
  while (!fs::exists(probe, ec) && probe.has_relative_path()) probe = probe.parent_path();
  if (!fs::is_directory(probe, ec)) return true;
  return ::access(probe.c_str(), W_OK | X_OK) != 0;
}

void GarantirPastaPrivada(const fs::path& caminho, bool fechar, const std::string& descricao,
                          const std::string& conselho) {
  fs::path pasta = caminho;
  while (pasta.has_relative_path() && pasta.filename().empty()) pasta = pasta.parent_path();  // no trailing '/'
  auto recusar = [&](const std::string& motivo) {
    throw EFileError(fmt::format("{} \"{}\" não é segura: {}.{}", descricao, CitarCaminho(pasta), motivo, conselho));
  };
  bool criada = false;
  struct stat st {};
  if (::lstat(pasta.c_str(), &st) != 0 && errno == ENOENT) {
    if (pasta.has_parent_path()) ForceDirectories(pasta.parent_path());
    if (::mkdir(pasta.c_str(), S_IRWXU) == 0) criada = true;
    else if (errno != EEXIST)
      throw EFileError(
          fmt::format("Não foi possível criar a pasta \"{}\": {}", CitarCaminho(pasta), DescricaoErroSistema(errno)));
  }
  // Opened without following a link, then checked and closed through the descriptor: nobody
  // can swap the folder between the check and the change.
  int fd = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    int erro = errno;
    if (::lstat(pasta.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) recusar("é um link simbólico");
    if (erro == ENOTDIR) recusar("não é uma pasta");
    throw EFileError(
        fmt::format("Não foi possível abrir a pasta \"{}\": {}", CitarCaminho(pasta), DescricaoErroSistema(erro)));
  }
  struct TFechar {
    int Fd;
    ~TFechar() { ::close(Fd); }
  } guarda{fd};
  if (::fstat(fd, &st) != 0)
    throw EFileError(
        fmt::format("Não foi possível abrir a pasta \"{}\": {}", CitarCaminho(pasta), DescricaoErroSistema(errno)));
  if (st.st_uid != ::geteuid()) recusar("pertence a outro usuário");
  if ((st.st_mode & 07777) != S_IRWXU) {
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0 && !fechar && !criada) recusar("outros usuários têm acesso a ela");
    if (::fchmod(fd, S_IRWXU) != 0)
      throw EFileError(fmt::format("Não foi possível fechar a pasta \"{}\" a outros usuários: {}", CitarCaminho(pasta),
                                   DescricaoErroSistema(errno)));
  }
}

fs::path CaminhoDirTemp() {
  if (!DirTempOverride().empty()) return DirTempOverride();
  std::error_code ec;
  fs::path base = fs::temp_directory_path(ec);
  if (ec) base = "/tmp";
  // One folder per user: several users of one machine must not share (or block) each other's.
  return base / fmt::format("ulmo-{}", ::getuid());
}

std::string PegarDirTemp() {
  fs::path folder = CaminhoDirTemp();
  // Earlier versions made it open to all: the program's own folder is closed again.
  GarantirPastaPrivada(folder, true, "A pasta temporária do programa",
                       " Apague-a ou indique outra pasta temporária em TMPDIR.");
  return IncludeTrailingPathDelimiter(folder.string());
}

void SetDirTemp(const fs::path& folder) { DirTempOverride() = folder; }

void GravarConteudoEmArquivo(const TStringList& lines, const fs::path& path, bool& replaceAll,
                             std::string_view extension, TEncoding encoding) {
  (void)replaceAll;  // the overwrite question belongs to the dialog service
  fs::path target = CaminhoDeTexto(path.string());
  if (!extension.empty()) target += extension.front() == '.' ? std::string(extension) : "." + std::string(extension);
  TAtomicFile file(target);
  std::string name = target.filename().string();
  std::string buffer;
  for (size_t i = 0; i < lines.Count(); ++i) {
    buffer += CodificarTexto(lines[i], encoding, fmt::format("Arquivo \"{}\", linha {}", name, i + 1));
    buffer += "\r\n";
    if (buffer.size() >= (1u << 16)) {
      file.Write(buffer);
      buffer.clear();
    }
  }
  file.Write(buffer);
  file.Commit();
}

void GravarArquivo(const fs::path& path, std::string_view text, fs::perms permissoes) {
  fs::path target = CaminhoDeTexto(path.string());
  ValidarUtf8(text, fmt::format("Arquivo \"{}\"", target.filename().string()));
  TAtomicFile file(target, permissoes);
  file.Write(text);
  file.Commit();
}

}  // namespace nFramework
