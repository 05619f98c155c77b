#include "UlmoEsfingeOnlineToken_U.h"

#include <nlohmann/json.hpp>

#include "Classes_U.h"
#include "Exceptions_U.h"
#include "HTTP_U.h"
#include "SQL_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"
#include "UlmoEsfingeOnlineSql_U.h"
#include "UlmoSQLs_U.h"

namespace nUlmoEsfingeOnline {

using namespace nFramework;

std::shared_ptr<IGerarToken> TUlmoEsfingeOnlineToken::New() { return std::make_shared<TUlmoEsfingeOnlineToken>(); }

IGerarToken& TUlmoEsfingeOnlineToken::Config(const TRecConfig& AConfig) {
  FConfig = AConfig;
  return *this;
}

std::string TUlmoEsfingeOnlineToken::Token() {
  std::string token;
  try {
    const std::string nome = "do e-Sfinge ao login";
    auto http = TUlmoEsfingeFuncoes::NovoHTTP(nome);
    http->AddToHeader("codigoAcesso", FConfig.CodigoAcesso);
    http->AddToHeader("senha", FConfig.Senha);
    std::string url = TUlmoEsfingeFuncoes::GetUrlToken() + "?codigoUg=" + TUlmoEsfingeFuncoes::ValorUrl(FConfig.CodigoUnidadeGestora) +
                      "&descricaoEmpresaTI=" + TUlmoEsfingeFuncoes::ValorUrl(FConfig.DescricaoEmpresaTI) +
                      "&descritivoSoftware=" + TUlmoEsfingeFuncoes::ValorUrl(FConfig.DescritivoSoftware);
    auto json = TUlmoEsfingeFuncoes::LerJsonResposta(http->Post(url, ""), nome);
    if (json.is_discarded() || !json.is_object()) throw Exception("A resposta do login não é um objeto JSON.");
    // Without a key every later call would go out unauthenticated, and storing it would lose
    // the token of the last good login.
    const auto chave = json.find("chave");
    if (chave != json.end() && chave->is_string()) token = chave->get<std::string>();
    else if (chave != json.end() && chave->is_number_integer()) token = chave->dump();
    if (Trim(token).empty()) throw Exception("O e-Sfinge não retornou a chave de acesso.");
    // The key goes into the header of every later call: a line break in it would write headers.
    if (TemCaractereControle(token))
      throw Exception("O e-Sfinge retornou uma chave de acesso com quebra de linha ou outro caractere de controle.");
  } catch (...) {
    throw Exception("Erro ao gerar o token. " + TUlmoEsfingeFuncoes::TratarErroRequest());
  }
  FToken = token;
  Gravar();
  return FToken;
}

void TUlmoEsfingeOnlineToken::Gravar() {
  auto gravar = [&](const std::string& sql) {
    ExecutarSQLDireto(nUlmo::FormatSQL(sql, {ValorParaSQL(TVariant(FConfig.CodigoEmpresa), TFieldType::ftSmallint),
                                             ValorParaSQL(TVariant(FToken), TFieldType::ftString)}));
  };
  EmTransacao([&] {
    if (TUlmoEsfingeFuncoes::TemRegistroCfgEmpresaTce(FConfig.CodigoEmpresa))
      return gravar(TUlmoEsfingeOnlineSql::GetSqlUpdateCfgEmpresaTce());
    // Another run of the same company may store its first token at the same time.
    try {
      EmTransacao([&] { gravar(TUlmoEsfingeOnlineSql::GetSqlInsertCfgEmpresaTce()); });
    } catch (const EDatabaseError& e) {
      if (e.Tipo() != TTipoErroBanco::ChaveDuplicada) throw;
      gravar(TUlmoEsfingeOnlineSql::GetSqlUpdateCfgEmpresaTce());
    }
  });
}

}  // namespace nUlmoEsfingeOnline
