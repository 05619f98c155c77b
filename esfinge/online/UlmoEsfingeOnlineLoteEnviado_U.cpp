#include "UlmoEsfingeOnlineLoteEnviado_U.h"

#include "SQL_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"
#include "UlmoEsfingeOnlineSql_U.h"
#include "UlmoSQLs_U.h"

namespace nUlmoEsfingeOnline {

using namespace nFramework;

std::shared_ptr<ILoteEnviado> TUlmoEsfingeOnlineLoteEnviado::New() {
  return std::make_shared<TUlmoEsfingeOnlineLoteEnviado>();
}

ILoteEnviado& TUlmoEsfingeOnlineLoteEnviado::Config(const TRecConfig& AConfig) {
  FConfig = AConfig;
  return *this;
}

ILoteEnviado& TUlmoEsfingeOnlineLoteEnviado::Dados(const TRecDadosEnvio& ADados) {
  FDados = ADados;
  return *this;
}

ILoteEnviado& TUlmoEsfingeOnlineLoteEnviado::Gravar() {
  // Another run may store a receipt of the same month at the same time: the number is the first
  // one free when the row goes in.
  FDados.Seq = TUlmoEsfingeFuncoes::GravarComSeqLivre(FDados.CodigoEmpresa, FDados.Competencia, FDados.Seq, [&](int seq) {
    ExecutarSQLDireto(nUlmo::FormatSQL(
        TUlmoEsfingeOnlineSql::GetSqlInsertTceEsfingeOnlineEnvio(),
        {ValorParaSQL(TVariant(FDados.CodigoEmpresa), TFieldType::ftSmallint),
         ValorParaSQL(TVariant::FromDate(DateOf(FDados.Competencia)), TFieldType::ftDate),
         ValorParaSQL(TVariant(seq), TFieldType::ftInteger),
         ValorParaSQL(TVariant::FromDate(DateOf(FDados.DataEnvio)), TFieldType::ftDate),
         ValorParaSQL(TVariant(static_cast<int>(FDados.Status)), TFieldType::ftSmallint),
         ValorParaSQL(TVariant(FDados.ChavePacote), TFieldType::ftString),
         ValorParaSQL(TVariant(FDados.CodigoRegistroInformacao), TFieldType::ftString)}));
  });
  return *this;
}

ILoteEnviado& TUlmoEsfingeOnlineLoteEnviado::AtualizarStatus() {
  std::string sql = nUlmo::FormatSQL(TUlmoEsfingeOnlineSql::GetSqlUpdateTceEsfingeOnlineEnvio(),
                                     {ValorParaSQL(TVariant(static_cast<int>(FDados.Status)), TFieldType::ftSmallint),
                                      ValorParaSQL(TVariant(FDados.CodigoEmpresa), TFieldType::ftSmallint),
                                      ValorParaSQL(TVariant::FromDate(DateOf(FDados.Competencia)), TFieldType::ftDate),
                                      ValorParaSQL(TVariant(FDados.Seq), TFieldType::ftInteger)});
  EmTransacao([&] { ExecutarSQLDireto(sql); });
  return *this;
}

}  // namespace nUlmoEsfingeOnline
