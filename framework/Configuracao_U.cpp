#include "Configuracao_U.h"

#include <fstream>
#include <sstream>
#include <toml++/toml.h>

#include "Exceptions_U.h"

namespace nFramework {

namespace {

TnConfig& Config() {
  static TnConfig config;
  return config;
}

[[noreturn]] void Falhar(std::string_view AOrigem, const std::string& AMensagem) {
  throw Exception("Configuração inválida em " + std::string(AOrigem) + ": " + AMensagem);
}

std::string Texto(const toml::node& ANo, std::string_view AOrigem, const std::string& AChave) {
  if (auto s = ANo.value<std::string>(); s && ANo.is_string()) return *s;
  Falhar(AOrigem, AChave + " deve ser um texto");
}

bool Logico(const toml::node& ANo, std::string_view AOrigem, const std::string& AChave) {
  if (auto b = ANo.value<bool>(); b && ANo.is_boolean()) return *b;
  Falhar(AOrigem, AChave + " deve ser true ou false");
}

std::vector<std::string> ListaTextos(const toml::node& ANo, std::string_view AOrigem, const std::string& AChave) {
  const toml::array* a = ANo.as_array();
  if (!a) Falhar(AOrigem, AChave + " deve ser uma lista de textos");
  std::vector<std::string> r;
  for (const auto& item : *a) r.push_back(Texto(item, AOrigem, AChave));
  return r;
}

std::vector<int> ListaModulos(const toml::node& ANo, std::string_view AOrigem, const std::string& AChave) {
  const toml::array* a = ANo.as_array();
  if (!a) Falhar(AOrigem, AChave + " deve ser uma lista de números de módulo");
  std::vector<int> r;
  for (const auto& item : *a) {
    auto v = item.value<int64_t>();
    if (!v || !item.is_integer() || *v < 0 || *v > 191) Falhar(AOrigem, AChave + " aceita números de 0 a 191");
    r.push_back(static_cast<int>(*v));
  }
  return r;
}

void Achatar(const toml::table& ATabela, const std::string& APrefixo, std::map<std::string, std::string>& ADestino,
             std::string_view AOrigem) {
  for (const auto& [k, v] : ATabela) {
    std::string chave = APrefixo.empty() ? std::string(k.str()) : APrefixo + "." + std::string(k.str());
    if (const toml::table* t = v.as_table()) {
      Achatar(*t, chave, ADestino, AOrigem);
    } else if (v.is_string()) {
      ADestino[chave] = *v.value<std::string>();
    } else if (v.is_boolean()) {
      ADestino[chave] = *v.value<bool>() ? "true" : "false";
    } else if (v.is_integer()) {
      ADestino[chave] = std::to_string(*v.value<int64_t>());
    } else {
      Falhar(AOrigem, chave + " deve ser texto, número inteiro ou lógico");
    }
  }
}

void Aplicar(const toml::table& ARaiz, std::string_view AOrigem) {
  TnConfig novo = Config();
  for (const auto& [k, v] : ARaiz) {
    std::string secao(k.str());
    const toml::table* t = v.as_table();
    if (!t) Falhar(AOrigem, secao + " deve ser uma seção [" + secao + "]");
    if (secao == "instalacao") {
      Achatar(*t, "", novo.Valores, AOrigem);
      continue;
    }
    for (const auto& [kk, vv] : *t) {
      std::string chave(kk.str()), nome = secao + "." + chave;
      if (nome == "banco.caminho") novo.Banco = Texto(vv, AOrigem, nome);
      else if (nome == "modulos.bibliotecas") novo.Bibliotecas = ListaTextos(vv, AOrigem, nome);
      else if (nome == "modulos.pasta") novo.PastaBibliotecas = Texto(vv, AOrigem, nome);
      else if (nome == "modulos.numeros") novo.Modulos = ListaModulos(vv, AOrigem, nome);
      else if (nome == "ambiente.homologacao") novo.Homologacao = Logico(vv, AOrigem, nome);
      else if (nome == "ambiente.uso_interno") novo.UsoInterno = Logico(vv, AOrigem, nome);
      else if (nome == "ambiente.http_exe") novo.HttpExe = Logico(vv, AOrigem, nome);
      else if (nome == "ambiente.cloud") novo.Cloud = Logico(vv, AOrigem, nome);
      else if (nome == "ambiente.esfinge_online_url") novo.UrlEsfingeOnline = Texto(vv, AOrigem, nome);
      else Falhar(AOrigem, "chave desconhecida " + nome);
    }
  }
  Config() = std::move(novo);
}

}  // namespace

std::string TnConfig::Valor(std::string_view AChave, std::string_view APadrao) const {
  auto it = Valores.find(std::string(AChave));
  return it == Valores.end() ? std::string(APadrao) : it->second;
}

TnConfig& nConfig() { return Config(); }

void RestaurarConfiguracao() { Config() = TnConfig(); }

void CarregarConfiguracaoTexto(std::string_view ATexto, std::string_view AOrigem) {
  toml::table raiz;
  try {
    raiz = toml::parse(ATexto, AOrigem);
  } catch (const toml::parse_error& e) {
    const auto& src = e.source();
    Falhar(AOrigem, std::string(e.description()) + " (linha " + std::to_string(src.begin.line) + ")");
  }
  Aplicar(raiz, AOrigem);
}

void CarregarConfiguracao(const std::filesystem::path& AArquivo) {
  std::ifstream in(AArquivo, std::ios::binary);
  if (!in) throw Exception("Não foi possível ler o arquivo de configuração " + AArquivo.string());
  std::ostringstream ss;
  ss << in.rdbuf();
  CarregarConfiguracaoTexto(ss.str(), AArquivo.string());
}

}  // namespace nFramework
