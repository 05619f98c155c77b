#include "Configuracao_U.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <toml++/toml.h>

#include "Exceptions_U.h"
#include "TextoMensagem_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

namespace {

TnConfig& Config() {
  static TnConfig config;
  return config;
}

[[noreturn]] void Falhar(std::string_view aOrigem, const std::string& aMensagem) {
  throw Exception("Configuração inválida em " + std::string(aOrigem) + ": " + aMensagem);
}

// A configuration file is a few dozen lines; past these bounds it is not one.
constexpr size_t MaxTamanhoConfiguracao = 1u << 20;
constexpr int MaxNiveisChave = 32;

// The most levels a dotted key of the text has ("a.b.c" has three), counted without parsing.
// toml++ builds and destroys the tables of a key recursively, one level per part: a key of a
// hundred thousand parts ends the program. Bare parts, quoted parts and the dots between them
// are followed; texts and comments skipped. A float ("1.5") counts as a key of two levels.
int NiveisChave(std::string_view aTexto, int& aLinha) {
  int maximo = 0, pontos = 0, linha = 1;
  bool parte = false;  // the last token was a key part
  aLinha = 1;
  for (size_t i = 0; i < aTexto.size(); ++i) {
    const char c = aTexto[i];
    if (c == '\n') {
      ++linha;
      pontos = 0;
      parte = false;
    } else if (c == '#') {
      while (i + 1 < aTexto.size() && aTexto[i + 1] != '\n') ++i;
    } else if (c == '"' || c == '\'') {
      for (++i; i < aTexto.size() && aTexto[i] != c && aTexto[i] != '\n'; ++i)
        if (c == '"' && aTexto[i] == '\\') ++i;
      if (i < aTexto.size() && aTexto[i] == '\n') --i;
      parte = true;
    } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-') {
      parte = true;
    } else if (c == '.' && parte) {
      parte = false;
      if (++pontos + 1 > maximo) {
        maximo = pontos + 1;
        aLinha = linha;
      }
    } else if (c != ' ' && c != '\t') {
      pontos = 0;
      parte = false;
    }
  }
  return maximo;
}

std::string Texto(const toml::node& aNo, std::string_view aOrigem, const std::string& aChave) {
  if (aNo.is_string()) return *aNo.value<std::string>();
  Falhar(aOrigem, aChave + " deve ser um texto");
}

bool Logico(const toml::node& aNo, std::string_view aOrigem, const std::string& aChave) {
  if (aNo.is_boolean()) return *aNo.value<bool>();
  Falhar(aOrigem, aChave + " deve ser true ou false");
}

int Inteiro(const toml::node& aNo, std::string_view aOrigem, const std::string& aChave, int64_t aMin, int64_t aMax) {
  // The type first: toml++ converts a float to an integer with a cast that overflows past 2^63.
  if (aNo.is_integer()) {
    const int64_t v = *aNo.value<int64_t>();
    if (v >= aMin && v <= aMax) return static_cast<int>(v);
  }
  Falhar(aOrigem, aChave + " deve ser um número inteiro de " + std::to_string(aMin) + " a " + std::to_string(aMax));
}

std::vector<std::string> ListaTextos(const toml::node& aNo, std::string_view aOrigem, const std::string& aChave) {
  const toml::array* a = aNo.as_array();
  if (!a) Falhar(aOrigem, aChave + " deve ser uma lista de textos");
  std::vector<std::string> r;
  for (const auto& item : *a) r.push_back(Texto(item, aOrigem, aChave));
  return r;
}

std::vector<int> ListaModulos(const toml::node& aNo, std::string_view aOrigem, const std::string& aChave) {
  const toml::array* a = aNo.as_array();
  if (!a) Falhar(aOrigem, aChave + " deve ser uma lista de números de módulo");
  std::vector<int> r;
  for (const auto& item : *a) {
    const int64_t v = item.is_integer() ? *item.value<int64_t>() : -1;
    if (v < 0 || v > 191) Falhar(aOrigem, aChave + " aceita números de 0 a 191");
    r.push_back(static_cast<int>(v));
  }
  return r;
}

void Achatar(const toml::table& aTabela, const std::string& aPrefixo, std::map<std::string, std::string>& aDestino,
             std::string_view aOrigem) {
  for (const auto& [k, v] : aTabela) {
    std::string chave = aPrefixo.empty() ? std::string(k.str()) : aPrefixo + "." + std::string(k.str());
    if (const toml::table* t = v.as_table()) {
      Achatar(*t, chave, aDestino, aOrigem);
    } else if (v.is_string()) {
      aDestino[chave] = *v.value<std::string>();
    } else if (v.is_boolean()) {
      aDestino[chave] = *v.value<bool>() ? "true" : "false";
    } else if (v.is_integer()) {
      aDestino[chave] = std::to_string(*v.value<int64_t>());
    } else {
      Falhar(aOrigem, chave + " deve ser texto, número inteiro ou lógico");
    }
  }
}

void Aplicar(const toml::table& aRaiz, std::string_view aOrigem) {
  TnConfig novo = Config();
  for (const auto& [k, v] : aRaiz) {
    std::string secao(k.str());
    const toml::table* t = v.as_table();
    if (!t) Falhar(aOrigem, secao + " deve ser uma seção [" + secao + "]");
    if (secao == "instalacao") {
      Achatar(*t, "", novo.Valores, aOrigem);
      continue;
    }
    for (const auto& [kk, vv] : *t) {
      std::string chave(kk.str()), nome = secao + "." + chave;
      if (nome == "banco.caminho") novo.Banco = Texto(vv, aOrigem, nome);
      else if (nome == "banco.espera_bloqueio_ms") novo.EsperaBloqueioMs = Inteiro(vv, aOrigem, nome, 0, 3600000);
      else if (nome == "banco.somente_leitura") novo.BancoSomenteLeitura = Logico(vv, aOrigem, nome);
      else if (nome == "modulos.bibliotecas") novo.Bibliotecas = ListaTextos(vv, aOrigem, nome);
      else if (nome == "modulos.pasta") novo.PastaBibliotecas = Texto(vv, aOrigem, nome);
      else if (nome == "modulos.numeros") novo.Modulos = ListaModulos(vv, aOrigem, nome);
      else if (nome == "ambiente.homologacao") novo.Homologacao = Logico(vv, aOrigem, nome);
      else if (nome == "ambiente.uso_interno") novo.UsoInterno = Logico(vv, aOrigem, nome);
      else if (nome == "ambiente.http_exe") novo.HttpExe = Logico(vv, aOrigem, nome);
      else if (nome == "ambiente.cloud") novo.Cloud = Logico(vv, aOrigem, nome);
      else if (nome == "ambiente.esfinge_online_url") novo.UrlEsfingeOnline = Texto(vv, aOrigem, nome);
      else Falhar(aOrigem, "chave desconhecida " + nome);
    }
  }
  Config() = std::move(novo);
}

}  // namespace

std::string TnConfig::Valor(std::string_view aChave, std::string_view aPadrao) const {
  auto it = Valores.find(std::string(aChave));
  return it == Valores.end() ? std::string(aPadrao) : it->second;
}

TnConfig& nConfig() { return Config(); }

void RestaurarConfiguracao() { Config() = TnConfig(); }

void CarregarConfiguracaoTexto(std::string_view aTexto, std::string_view aOrigem) {
  if (aTexto.size() > MaxTamanhoConfiguracao)
    Falhar(aOrigem, "o arquivo passa de " + std::to_string(MaxTamanhoConfiguracao >> 20) + " MB");
  int linha = 0;
  if (NiveisChave(aTexto, linha) > MaxNiveisChave)
    Falhar(aOrigem, "chave de mais de " + std::to_string(MaxNiveisChave) + " níveis (linha " + std::to_string(linha) + ")");
  toml::table raiz;
  try {
    raiz = toml::parse(aTexto, aOrigem);
  } catch (const toml::parse_error& e) {
    const auto& src = e.source();
    LogDebug("toml++: " + std::string(e.description()));
    Falhar(aOrigem, "erro de sintaxe (linha " + std::to_string(src.begin.line) + ", coluna " +
                        std::to_string(src.begin.column) + ")");
  }
  Aplicar(raiz, aOrigem);
}

void CarregarConfiguracao(const std::filesystem::path& aArquivo) {
  std::ifstream in(aArquivo, std::ios::binary);
  if (!in)
    throw Exception("Não foi possível ler o arquivo de configuração \"" + CitarCaminho(aArquivo) +
                    "\": " + DescricaoErroSistema(errno));
  // One byte past the bound is enough to refuse it; a device that never ends is not read on.
  std::string texto(MaxTamanhoConfiguracao + 1, '\0');
  in.read(texto.data(), static_cast<std::streamsize>(texto.size()));
  texto.resize(static_cast<size_t>(in.gcount()));
  CarregarConfiguracaoTexto(texto, aArquivo.string());
}

}  // namespace nFramework
