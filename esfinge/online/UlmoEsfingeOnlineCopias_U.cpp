#include "UlmoEsfingeOnlineCopias_U.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <system_error>

#include "Clock_U.h"
#include "Configuracao_U.h"
#include "Exceptions_U.h"
#include "FileUtils_U.h"
#include "FormatUtils_U.h"
#include "TextUtils_U.h"
#include "TextoMensagem_U.h"

namespace nUlmoEsfingeOnline {

using namespace nFramework;
namespace fs = std::filesystem;

namespace {

constexpr std::string_view Prefixo = "JsonEnvioEsfingeOnline_";

}  // namespace

fs::path PastaCopias() {
  std::string configurada = Trim(nConfig().Valor(ChavePastaCopias));
  // The program's own temporary folder, open to all in earlier versions, is closed again; a
  // folder the user named is not changed behind their back.
  fs::path pasta = configurada.empty() ? CaminhoDirTemp() : CaminhoDeTexto(configurada);
  GarantirPastaPrivada(pasta, configurada.empty(), "A pasta das cópias dos lotes do e-Sfinge online",
                       " Apague-a ou informe outra pasta em " + std::string(ChavePastaCopias) + " no ulmo.toml.");
  return pasta;
}

int DiasCopias() {
  std::string v = Trim(nConfig().Valor(ChaveDiasCopias));
  if (v.empty()) return PadraoDiasCopias;
  bool digitos = v.size() <= 4;
  for (char c : v) digitos = digitos && c >= '0' && c <= '9';
  int dias = digitos ? std::stoi(v) : -1;
  if (dias < 0 || dias > 3650)
    throw Exception("Configuração inválida: " + std::string(ChaveDiasCopias) +
                    " deve ser um número inteiro de dias de 0 a 3650, e não \"" + CitarValor(v) + "\".");
  return dias;
}

void LimparCopiasAntigas(const fs::path& pasta, int dias) {
  const std::time_t limite = std::time(nullptr) - static_cast<std::time_t>(dias) * 86400;
  std::error_code ec;
  for (fs::directory_iterator it(pasta, ec), fim; !ec && it != fim; it.increment(ec)) {
    const std::string nome = it->path().filename().string();
    if (nome.rfind(Prefixo, 0) != 0 || nome.size() < 4 || nome.substr(nome.size() - 4) != ".txt") continue;
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (dias > 0 && st.st_mtime < limite)
      ::unlink(it->path().c_str());
    else if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
      ::chmod(it->path().c_str(), S_IRUSR | S_IWUSR);  // written open to all by earlier versions
  }
}

std::string GravarCopiaLote(std::string_view AJson) {
  const fs::path pasta = PastaCopias();
  LimparCopiasAntigas(pasta, DiasCopias());
  std::string base = IncludeTrailingPathDelimiter(pasta.string()) + std::string(Prefixo) +
                     FormatDateTime("yymmddhhnnsszzz", Now());
  // Two packages within the same millisecond must not overwrite each other's copy.
  std::string caminho = base + ".txt";
  for (int i = 2; fs::exists(caminho); ++i) caminho = base + "_" + std::to_string(i) + ".txt";
  GravarArquivo(caminho, AJson, fs::perms::owner_read | fs::perms::owner_write);
  return caminho;
}

}  // namespace nUlmoEsfingeOnline
