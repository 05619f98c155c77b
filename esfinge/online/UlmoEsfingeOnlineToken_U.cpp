#include "UlmoEsfingeOnlineToken_U.h"

#include <nlohmann/json.hpp>

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
  try {
    TnHTTP http;
    http.AddToHeader("codigoAcesso", FConfig.CodigoAcesso);
    http.AddToHeader("senha", FConfig.Senha);
    http.SetSSLV3();
    http.SetContentType("application/json; charset=utf-8");
    std::string url = TUlmoEsfingeFuncoes::GetUrlToken() + "?codigoUg=" + TUlmoEsfingeFuncoes::ValorUrl(FConfig.CodigoUnidadeGestora) +
                      "&descricaoEmpresaTI=" + TUlmoEsfingeFuncoes::ValorUrl(FConfig.DescricaoEmpresaTI) +
                      "&descritivoSoftware=" + TUlmoEsfingeFuncoes::ValorUrl(FConfig.DescritivoSoftware);
    auto json = nlohmann::json::parse(http.Post(url, ""));
    if (!json.is_object()) throw Exception("A resposta do login não é um objeto JSON.");
    if (json.contains("chave")) {
      const auto& chave = json["chave"];
      FToken = chave.is_string() ? chave.get<std::string>() : chave.dump();
    }
  } catch (...) {
    throw Exception("Erro ao gerar o token. " + TUlmoEsfingeFuncoes::TratarErroRequest());
  }
  Gravar();
  return FToken;
}

void TUlmoEsfingeOnlineToken::Gravar() {
  std::string sql = TUlmoEsfingeFuncoes::TemRegistroCfgEmpresaTce(FConfig.CodigoEmpresa)
                        ? TUlmoEsfingeOnlineSql::GetSqlUpdateCfgEmpresaTce()
                        : TUlmoEsfingeOnlineSql::GetSqlInsertCfgEmpresaTce();
  sql = nUlmo::FormatSQL(sql, {ValorParaSQL(TVariant(FConfig.CodigoEmpresa), TFieldType::ftSmallint),
                               ValorParaSQL(TVariant(FToken), TFieldType::ftString)});
  EmTransacao([&] { ExecutarSQLDireto(sql); });
}

}  // namespace nUlmoEsfingeOnline
