#include "FileUtils_U.h"

#include <fmt/format.h>
#include <unistd.h>

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

std::string PegarDirTemp() {
  fs::path folder = DirTempOverride();
  if (folder.empty()) {
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec) base = "/tmp";
    // One folder per user: several users of one machine must not share (or block) each other's.
    folder = base / fmt::format("ulmo-{}", ::getuid());
  }
  ForceDirectories(folder);
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

void GravarArquivo(const fs::path& path, std::string_view text) {
  fs::path target = CaminhoDeTexto(path.string());
  ValidarUtf8(text, fmt::format("Arquivo \"{}\"", target.filename().string()));
  TAtomicFile file(target);
  file.Write(text);
  file.Commit();
}

}  // namespace nFramework
