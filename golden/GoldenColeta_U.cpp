#include "GoldenColeta_U.h"

#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "LayoutsRS_U.h"
#include "Zip_U.h"

namespace nGolden {

namespace fs = std::filesystem;

namespace {

std::string Ler(const fs::path& arquivo) {
  std::ifstream in(arquivo, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Where a field starts in its layout.
size_t Inicio(const nFramework::TLeiaute& layout, std::string_view campo, size_t& largura) {
  size_t inicio = 0;
  for (const auto& c : layout.Campos) {
    if (campo == c.Nome) {
      largura = static_cast<size_t>(c.Largura);
      return inicio;
    }
    inicio += static_cast<size_t>(c.Largura);
  }
  throw std::logic_error("campo ausente do leiaute: " + std::string(campo));
}

// The header is the file's first line; a date of the right form is blanked, anything else is
// left for the comparison to show.
void ApagarDataGeracao(std::string& bytes, const nFramework::TLeiaute& cabecalho) {
  size_t largura = 0;
  const size_t inicio = Inicio(cabecalho, "DATAGERACAO", largura);
  const size_t fim = bytes.find("\r\n");
  if (fim == std::string::npos || inicio + largura > fim) return;
  for (size_t i = inicio; i < inicio + largura; ++i)
    if (bytes[i] < '0' || bytes[i] > '9') return;
  bytes.replace(inicio, largura, largura, '#');
}

}  // namespace

TArquivos LerPasta(const fs::path& pasta) {
  TArquivos r;
  if (!fs::is_directory(pasta)) return r;
  for (const auto& e : fs::recursive_directory_iterator(pasta))
    if (e.is_regular_file()) r[fs::relative(e.path(), pasta).generic_string()] = Ler(e.path());
  return r;
}

void GravarPasta(const TArquivos& arquivos, const fs::path& pasta) {
  fs::remove_all(pasta);
  for (const auto& [nome, bytes] : arquivos) {
    const fs::path arquivo = pasta / nome;
    fs::create_directories(arquivo.parent_path());
    std::ofstream out(arquivo, std::ios::binary);
    out << bytes;
    if (!out.flush()) throw std::runtime_error("não foi possível gravar " + arquivo.string());
  }
}

TArquivos Coletar(const TCaso& caso, const fs::path& saida) {
  TArquivos r;
  for (auto& [nome, bytes] : LerPasta(saida)) {
    if (caso.Corte == TCorte::EsfingeOnline) {
      static const std::regex anoMes(R"(^\{"anoMes":(\d{6}),)");
      std::smatch m;
      if (std::regex_search(bytes, m, anoMes))
        r[m[1].str() + ".json"] = bytes;
      else
        r[nome] = bytes;  // shown as unexpected by the comparison
      continue;
    }
    if (nome.size() > 4 && nome.compare(nome.size() - 4, 4, ".zip") == 0) {
      std::string lista;
      for (const std::string& membro : nFramework::ListarEntradasZip(saida / nome)) {
        lista += membro + "\n";
        r[nome + "/" + membro] = nFramework::LerEntradaZip(saida / nome, membro);
      }
      r[nome + ".membros"] = lista;
      continue;
    }
    if (caso.Corte == TCorte::RS && nome == "MOVIMENT.txt") ApagarDataGeracao(bytes, nUlmoRS::LayoutCabecalhoMovimento());
    if (caso.Corte == TCorte::RS && nome == "BAL_VER.txt") ApagarDataGeracao(bytes, nUlmoRS::LayoutCabecalhoBalancete());
    r[nome] = bytes;
  }
  return r;
}

}  // namespace nGolden
