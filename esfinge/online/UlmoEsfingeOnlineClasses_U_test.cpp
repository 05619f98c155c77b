#include "UlmoEsfingeOnlineClasses_U.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

using namespace nUlmoEsfingeOnline;
using TJson = nlohmann::ordered_json;

namespace {

// The document the packages were built as before they were written as text: the court has
// always received its compact dump, invalid UTF-8 replaced.
TJson Documento(const TContaContabil& c) {
  return TJson{{"anoCriacao", c.FAnoCriacao}, {"codigoAgencia", c.FCodigoAgencia}, {"codigoBanco", c.FCodigoBanco},
               {"codigoConta", c.FCodigoConta}, {"codigoContaContabil", c.FCodigoContaContabil},
               {"codigoContaSintetica", c.FCodigoContaSintetica}, {"descricaoConta", c.FDescricaoConta},
               {"indicativoContaAnalitica", c.FIndicativoContaAnalitica}, {"nomeConta", c.FNomeConta},
               {"numeroNivel", c.FNumeroNivel}, {"tipoConta", c.FTipoConta}, {"tipoNaturezaSaldo", c.FTipoNaturezaSaldo}};
}
TJson Documento(const TLancamentoContabil& l) {
  return TJson{{"anoCriacao", l.FAnoCriacao}, {"codigoContaContabil", l.FCodigoContaContabil},
               {"dataLancamento", l.FDataLancamento}, {"historicoLancamento", l.FHistoricoLancamento},
               {"numeroSequencial", l.FNumeroSequencial}, {"numeroSlip", l.FNumeroSlip},
               {"tipoLancamento", l.FTipoLancamento}, {"tipoMovimentoContabil", l.FTipoMovimentoContabil},
               {"valorLancamento", l.FValorLancamento}};
}
std::string Dump(const TJson& j) { return j.dump(-1, ' ', false, TJson::error_handler_t::replace); }

}  // namespace

TEST(EsfingeOnlineJson, TextIsEscapedByteForByteAsTheJsonLibraryDumpsIt) {
  const std::vector<std::string> textos = {
      "",  "Pagamento NF 123", "aspas \" e barra \\ e /", "linha\nretorno\rtab\tbs\bff\f", std::string("nulo\0x", 6),
      "\x01\x1f\x7f", "acentuação ÇÃO €", "inválido \xC3( e \xFF\xFE fim", "corte no fim \xE2\x82"};
  for (const std::string& t : textos) {
    std::string s;
    EscreverTextoJson(s, t);
    EXPECT_EQ(s, Dump(TJson(t))) << t;
  }
}

TEST(EsfingeOnlineJson, APackageWrittenAsItsRowsComeIsTheDocumentsDump) {
  TEnvioLote lote;
  lote.FAnoMes = 202403;
  lote.FContasContabeis = {{2023, 3582, 1, 123456, "1.1.2", "1.1.0", "Conta \"movimento\"", "S", "Bancos", 3, 1, 1},
                           {-1, 0, 0, 0, "1.1.1", "1.1.0", "Caixa\tgeral", "S", "Caixa", 3, 1, 2}};
  lote.FLancamentosContabeis = {{2023, "1.1.1", "2024-03-05", "PAGAMENTO NF \xC3", 1, "202403", 2, 2, "30.00"},
                                {2023, "2.1.1", "2024-03-05", "", 2, "202403", 1, 2, "-0.13"}};
  TJson j;
  j["anoMes"] = lote.FAnoMes;
  j["contasContabeis"] = TJson::array();
  for (const auto& c : lote.FContasContabeis) j["contasContabeis"].push_back(Documento(c));
  j["lancamentosContabeis"] = TJson::array();
  for (const auto& l : lote.FLancamentosContabeis) j["lancamentosContabeis"].push_back(Documento(l));
  EXPECT_EQ(ObjectToJsonString(lote), Dump(j));
  EXPECT_EQ(ObjectToJsonString(lote.FContasContabeis[1]), Dump(Documento(lote.FContasContabeis[1])));

  // Empty lists too, and the counts the finish call reports.
  std::string s;
  TEscritorLote vazio(s, 202404, "", 0);
  vazio.Fechar();
  EXPECT_EQ(s, R"({"anoMes":202404,"contasContabeis":[],"lancamentosContabeis":[]})");
  std::string t;
  TEscritorLote dois(t, 202403, "{}", 1);
  for (const auto& l : lote.FLancamentosContabeis) dois.Lancamento(l);
  dois.Fechar();
  EXPECT_EQ(dois.QuantidadeContas(), 1);
  EXPECT_EQ(dois.QuantidadeLancamentos(), 2);
}
