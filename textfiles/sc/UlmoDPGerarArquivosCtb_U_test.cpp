#include "BancoVazioTeste_U.h"
#include "ProcessoBancoTeste_U.h"
#include "UlmoDPGerarArquivosCtb_U.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ClassRegistry_U.h"
#include "ConjuntoArquivos_U.h"
#include "Contexto_U.h"
#include "Encoding_U.h"
#include "FalhaGravacaoTeste_U.h"
#include "LayoutsSC_U.h"
#include "SQL_U.h"
#include "Schema_U.h"
#include "TextUtils_U.h"

using namespace nFramework;
using namespace nUlmoSC;
namespace fs = std::filesystem;

namespace {

// A small SC company: three mapped accounts, two opening balances, three entries.
const char* const kDados = R"SQL(
insert into EMPRESA values (1, 'Prefeitura de Teste');
insert into ESTAB (CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB) values (1, 1, 'Sede');
insert into CFGPLANOESPEC (CODIGOEMPRESA, NATURGRUPO1, NATURGRUPO2, NATURGRUPO3, NATURGRUPO4)
  values (1, 1, -1, 1, -1);
insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA, DATAHORACADAST) values
  (1, 10, '1', 'ATIVO', 1, '2023-01-01 08:00:00.000'),
  (1, 11, '1.1', 'CIRCULANTE', 1, '2023-01-01 08:00:00.000'),
  (1, 12, '1.1.1', 'CAIXA', 2, '2024-12-31 23:59:00.000'),
  (1, 13, '1.1.2', 'BANCO AÇÃO', 2, null),
  (1, 20, '2', 'PASSIVO', 1, '2023-01-01 08:00:00.000'),
  (1, 21, '2.1', 'FORNECEDORES', 2, '2023-06-01 08:00:00.000');
insert into HISTORICOCTB values (1, 'PAGAMENTO');
insert into ORIGLCTOCTB values ('AP', 'Aplicação'), ('RE', 'Resgate'), ('1', 'Um'), ('10', 'Dez');
insert into TCESISTEMA values (1, 'e-Sfinge SC', 'SC', '9.9.9');
insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA) values
  (1, 111, 2, '1.1.1', 'Caixa e equivalentes'), (1, 112, 2, '1.1.2', 'Bancos conta movimento'),
  (1, 211, 2, '2.1.1', 'Fornecedores a pagar');
insert into TCETIPOCONTACTB values (1, 1, 'Normal', '0');
insert into TCETIPOMOVIMCTB values (1, 1, 'Saldo inicial'), (1, 2, 'Movimento');
insert into TCEORIGEMLCTOCTB values (1, 'AP', 2), (1, '10', 2);
insert into TCESISTEMAEMPRESA values (1, 1);
insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, DESCRDETALHCONTA, CODIGOSISTEMATCE,
  CONTATCE, TIPONATURSALDO, APLICFINANCEIRA, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE) values
  (1, 12, '2024-01-01', '2024-12-31', null, 1, 111, 1, '0', 'N', 1),
  (1, 13, '2024-01-01', '2024-12-31', 'Conta de aplicação', 1, 112, 1, '1', 'N', 1),
  (1, 21, '2024-01-01', '2024-12-31', null, 1, 211, 2, '0', 'N', 1);
insert into IMPLSALDOCTB values (1, 1, 12, '2024-01-01', 500, 1), (1, 1, 21, '2024-01-01', 500, -1);
insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, CODIGOHISTCTB,
  COMPLHIST, CODIGOORIGLCTOCTB) values
  (1, 1, '2024-03-10', 12, 21, 100, 1, 'NF 1', 'AP'),
  (1, 2, '2024-03-15', 21, 13, 30, 1, 'NF 2', 'AP'),
  (1, 3, '2024-04-01', 13, 12, 50, 1, 'Transferência', '1');
)SQL";

class GerarArquivosSCTest : public TTesteProcessoBanco<TUlmoDPGerarArquivosCtb> {
 protected:
  void SetUp() override {
    Preparar("ulmo_sc_", kDados);
    Set("pCompetInicial", "01/01/2024");
    Set("pCompetFinal", "31/12/2024");
    Set("pCodigoEmpresa", "1");
    Set("pIncluirImplSaldo", "1");
    Set("pDiretorio", (FPasta / "saida").string() + "/");
  }
  void Sql(const std::string& s) { FConexao->Driver().ExecuteScript(s); }
  fs::path Arquivo(const char* nome) { return FPasta / "saida" / (std::string(nome) + ".txt"); }
  std::vector<std::string> Linhas(const char* nome) {
    std::ifstream in(Arquivo(nome), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string bytes = ss.str();
    std::vector<std::string> r;
    size_t pos = 0;
    while (pos < bytes.size()) {
      size_t e = bytes.find("\r\n", pos);
      EXPECT_NE(e, std::string::npos) << "line without CRLF in " << nome;
      if (e == std::string::npos) break;
      r.push_back(bytes.substr(pos, e - pos));
      pos = e + 2;
    }
    return r;
  }
  std::vector<std::string> Mensagens(int tipo) {
    std::vector<std::string> r;
    for (const auto& n : FProcesso->GetMsgTreeLista()->Raizes())
      if (n->Tipo == tipo) r.push_back(n->Texto);
    return r;
  }
  bool AlgumArquivo() { return fs::exists(FPasta / "saida") && !fs::is_empty(FPasta / "saida"); }

};

}  // namespace

TEST_F(GerarArquivosSCTest, WritesTheFourFilesWithTheirWidthsInWindows1252) {
  FProcesso->Executar();
  EXPECT_EQ(Mensagens(tmConfirmacao).size(), 4u);
  struct {
    const char* Nome;
    size_t Largura;
  } arquivos[] = {{"LancamentoContabil", 256}, {"MovimentoContabil", 94}, {"AplicacaoFinanceira", 108}, {"ContaContabil", 490}};
  for (const auto& a : arquivos) {
    auto linhas = Linhas(a.Nome);
    for (const auto& l : linhas) EXPECT_EQ(l.size(), a.Largura) << a.Nome << ": " << l;
  }
  // "BANCO AÇÃO" is not written (the court description is), but the detail "Conta de aplicação" is: one byte for "ç".
  auto contas = Linhas("ContaContabil");
  ASSERT_EQ(contas.size(), 3u);
  EXPECT_NE(contas[1].find(Utf8ToWindows1252("Conta de aplicação", "")), std::string::npos);
}

TEST_F(GerarArquivosSCTest, OneCounterNumbersOpeningBalancesThenEntries) {
  FProcesso->Executar();
  auto l = Linhas("LancamentoContabil");
  ASSERT_EQ(l.size(), 6u);  // two opening balances, four entry sides of known origin
  // Sorted by the whole text: the January opening lines come first.
  EXPECT_EQ(l[0].substr(0, 24), FmtTexto("202401", 16) + "99900001");
  EXPECT_EQ(l[1].substr(0, 24), FmtTexto("202401", 16) + "99900002");
  std::vector<std::string> seq;
  for (size_t i = 2; i < l.size(); ++i) seq.push_back(l[i].substr(16, 8));
  std::sort(seq.begin(), seq.end());
  EXPECT_EQ(seq, (std::vector<std::string>{"00000003", "00000004", "00000005", "00000006"}));
  // Opening balance of account 12 (debit): side "2", movement "1", its court classification, 500.00, empty history.
  EXPECT_EQ(l[0].substr(24, 2), "02");
  EXPECT_EQ(l[0].substr(26, 2), "01");
  EXPECT_EQ(l[0].substr(28, 4), "2024");
  EXPECT_EQ(l[0].substr(32, 50), FmtTexto("1.1.1", 50));
  EXPECT_EQ(l[0].substr(82, 8), "20240101");
  EXPECT_EQ(l[0].substr(90, 16), "0000000000500.00");
  EXPECT_EQ(l[0].substr(106), std::string(150, ' '));
  EXPECT_EQ(l[1].substr(24, 2), "01");  // the credit opening of account 21
}

// The entries used to be numbered account by account in the order an unordered mapping query
// returned them, and a month's lines came in that order: now they come by date, entry and side
// (debit first), numbered in that order, and a month's opening balances follow its entries.
TEST_F(GerarArquivosSCTest, EntriesWereNumberedInTheOrderOfAnUnorderedMappingQuery) {
  Sql("insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, "
      "CODIGOHISTCTB, COMPLHIST, CODIGOORIGLCTOCTB) values (1, 9, '2024-01-20', 21, 12, 7, 1, 'NF 9', 'AP');");
  FProcesso->Executar();
  auto l = Linhas("LancamentoContabil");
  ASSERT_EQ(l.size(), 8u);
  auto linha = [](const char* compet, const char* seq, const char* lado, const char* classif) {
    return FmtTexto(compet, 16) + seq + lado + "022024" + FmtTexto(classif, 50);
  };
  EXPECT_EQ(l[0].substr(0, 82), linha("202401", "00000003", "02", "2.1.1"));
  EXPECT_EQ(l[1].substr(0, 82), linha("202401", "00000004", "01", "1.1.1"));
  EXPECT_EQ(l[2].substr(0, 24), FmtTexto("202401", 16) + "99900001");
  EXPECT_EQ(l[3].substr(0, 24), FmtTexto("202401", 16) + "99900002");
  EXPECT_EQ(l[4].substr(0, 82), linha("202403", "00000005", "02", "1.1.1"));
  EXPECT_EQ(l[5].substr(0, 82), linha("202403", "00000006", "01", "2.1.1"));
  EXPECT_EQ(l[6].substr(0, 82), linha("202403", "00000007", "02", "2.1.1"));
  EXPECT_EQ(l[7].substr(0, 82), linha("202403", "00000008", "01", "1.1.2"));
  EXPECT_EQ(l[4].substr(82, 24), "20240310" "0000000000100.00");
}

TEST_F(GerarArquivosSCTest, MovementsAggregateByAccountTypeAndMonth) {
  FProcesso->Executar();
  auto m = Linhas("MovimentoContabil");
  // 12: opening (Jan) and March debit; 13: March credit; 21: opening (Jan) and March debit+credit.
  std::vector<std::string> esperado = {
      "2024" + FmtTexto("1.1.1", 50) + "01202401" + "0000000000500.00" + "0000000000000.00",
      "2024" + FmtTexto("1.1.1", 50) + "02202403" + "0000000000100.00" + "0000000000000.00",
      "2024" + FmtTexto("1.1.2", 50) + "02202403" + "0000000000000.00" + "0000000000030.00",
      "2024" + FmtTexto("2.1.1", 50) + "01202401" + "0000000000000.00" + "0000000000500.00",
      "2024" + FmtTexto("2.1.1", 50) + "02202403" + "0000000000030.00" + "0000000000100.00",
  };
  EXPECT_EQ(m, esperado);
}

TEST_F(GerarArquivosSCTest, OriginsMatchAsWholeItemsAndUnrelatedOnesAreReportedOnce) {
  Set("pGeraAplicFinanceira", "1");
  Set("pOriLctoAplicado", "AP");
  Set("pOriLctoResgatado", "RE");
  Set("pOriLctoRendimento", "10");
  FProcesso->Executar();
  // Origin "1" is related to nothing ("10" is): reported once although two entry sides carry it.
  auto erros = Mensagens(tmErro);
  ASSERT_EQ(erros.size(), 1u);
  EXPECT_EQ(erros[0], "Origens contábeis encontradas em lançamentos e não relacionadas com tipo de movimento TCE: 1");
  EXPECT_EQ(Mensagens(tmAviso), (std::vector<std::string>{
                                    "Os lançamentos que possuem as origens citadas acima não foram gerados/apurados!"}));
  // Only account 13 takes part; the March credit of origin AP with nature 1 is -30, written as 30.00.
  // The April entry of origin "1" is no part of "10": no April row.
  auto a = Linhas("AplicacaoFinanceira");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0], "2024" + FmtTexto("1.1.2", 50) + "202403" + "0000000000030.00" + "0000000000000.00" + "0000000000000.00");
}

TEST_F(GerarArquivosSCTest, AccountFileFollowsTheCompanyClassificationAndFindsTheSyntheticParent) {
  Sql("update TCEPLANOPLESPEC set CODIGOBANCO = null");
  FProcesso->Executar();
  auto c = Linhas("ContaContabil");
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].substr(4, 50), FmtTexto("1.1.1", 50));
  EXPECT_EQ(c[2].substr(4, 50), FmtTexto("2.1.1", 50));
  // Field 5 repeats the court description when the mapping has none; field 6 "S" for an analytic account.
  EXPECT_EQ(c[0].substr(156, 255), FmtTexto("Caixa e equivalentes", 255));
  EXPECT_EQ(c[0].substr(411, 1), "S");
  EXPECT_EQ(c[0].substr(412, 2), "03");              // levels of 1.1.1
  EXPECT_EQ(c[0].substr(420, 50), FmtTexto("1.1", 50));  // synthetic parent in the company chart
  EXPECT_EQ(c[2].substr(420, 50), FmtTexto("2", 50));

  // Only accounts registered within the period; one registered on its last day counts.
  Set("pGerarContaIncAlt", "1");
  FProcesso->GetMsgTreeLista()->Clear();
  FProcesso->Executar();
  c = Linhas("ContaContabil");
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(c[0].substr(4, 5), "1.1.1");
}

TEST_F(GerarArquivosSCTest, AMappingExpiredBeforeThePeriodChangesNothing) {
  const char* nomes[] = {"LancamentoContabil", "MovimentoContabil", "AplicacaoFinanceira", "ContaContabil"};
  Set("pGeraAplicFinanceira", "1");
  Set("pOriLctoAplicado", "AP");
  Set("pOriLctoResgatado", "RE");
  Set("pOriLctoRendimento", "10");
  FProcesso->Executar();
  std::vector<std::vector<std::string>> antes;
  for (const char* n : nomes) antes.push_back(Linhas(n));
  Sql("insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE, "
      "TIPONATURSALDO, APLICFINANCEIRA, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE) values "
      "(1, 12, '2023-01-01', '2023-12-31', 1, 112, 1, '1', 'N', 1);");
  FProcesso->Executar();
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(Linhas(nomes[i]), antes[i]) << nomes[i];
  EXPECT_EQ(antes[0].size(), 6u);
}

// The lines of LancamentoContabil dated so and of that amount: side, year and court classification.
std::vector<std::string> LadosDe(const std::vector<std::string>& ALinhas, const std::string& AData,
                                 const std::string& AValor) {
  std::vector<std::string> r;
  for (const auto& l : ALinhas)
    if (l.substr(82, 8) == AData && l.substr(90, 16) == AValor) r.push_back(l.substr(24, 2) + " " + l.substr(28, 4) + " " + Trim(l.substr(32, 50)));
  std::sort(r.begin(), r.end());
  return r;
}

TEST_F(GerarArquivosSCTest, AMappingChangedInThePeriodCountsEachEntryAndOpeningBalanceOnce) {
  // Caixa moves from court account 1.1.1 to 1.1.2 on 1 April.
  Sql("update TCEPLANOPLESPEC set DATAFIMPLANO = '2024-03-31' where CONTACTB = 12;"
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE, "
      "TIPONATURSALDO, APLICFINANCEIRA, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE) values "
      "(1, 12, '2024-04-01', '2024-12-31', 1, 112, 1, '0', 'N', 1);"
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, "
      "CODIGOHISTCTB, CODIGOORIGLCTOCTB) values (1, 4, '2024-05-02', 12, 21, 70, 1, 'AP');");
  FProcesso->Executar();
  auto l = Linhas("LancamentoContabil");
  ASSERT_EQ(l.size(), 8u);  // two opening balances, six entry sides
  using V = std::vector<std::string>;
  // The opening balance under the mapping of the period's first day, once.
  EXPECT_EQ(LadosDe(l, "20240101", "0000000000500.00"), (V{"01 2024 2.1.1", "02 2024 1.1.1"}));
  // Each entry under the mapping of its date.
  EXPECT_EQ(LadosDe(l, "20240310", "0000000000100.00"), (V{"01 2024 2.1.1", "02 2024 1.1.1"}));
  EXPECT_EQ(LadosDe(l, "20240502", "0000000000070.00"), (V{"01 2024 2.1.1", "02 2024 1.1.2"}));
  auto m = Linhas("MovimentoContabil");
  EXPECT_EQ(m, (V{
                   "2024" + FmtTexto("1.1.1", 50) + "01202401" + "0000000000500.00" + "0000000000000.00",
                   "2024" + FmtTexto("1.1.1", 50) + "02202403" + "0000000000100.00" + "0000000000000.00",
                   "2024" + FmtTexto("1.1.2", 50) + "02202405" + "0000000000070.00" + "0000000000000.00",
                   "2024" + FmtTexto("1.1.2", 50) + "02202403" + "0000000000000.00" + "0000000000030.00",
                   "2024" + FmtTexto("2.1.1", 50) + "01202401" + "0000000000000.00" + "0000000000500.00",
                   "2024" + FmtTexto("2.1.1", 50) + "02202403" + "0000000000030.00" + "0000000000100.00",
                   "2024" + FmtTexto("2.1.1", 50) + "02202405" + "0000000000000.00" + "0000000000070.00",
               }));
  // The chart covers the period: each account once, under the mapping of its last day.
  auto contas = Linhas("ContaContabil");
  ASSERT_EQ(contas.size(), 3u);
  EXPECT_EQ(contas[0].substr(4, 50), FmtTexto("1.1.2", 50));
  EXPECT_EQ(contas[1].substr(4, 50), FmtTexto("1.1.2", 50));
  EXPECT_EQ(contas[2].substr(4, 50), FmtTexto("2.1.1", 50));
}

TEST_F(GerarArquivosSCTest, AMonthsMovementCountsUnderTheMappingOfItsLastDay) {
  // The change falls on 12 March: the entry of 10 March keeps its date's account, the month's
  // movement goes to the account of 31 March.
  Sql("update TCEPLANOPLESPEC set DATAFIMPLANO = '2024-03-11' where CONTACTB = 12;"
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE, "
      "TIPONATURSALDO, APLICFINANCEIRA, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE) values "
      "(1, 12, '2024-03-12', '2024-12-31', 1, 112, 1, '0', 'N', 1);");
  FProcesso->Executar();
  EXPECT_EQ(LadosDe(Linhas("LancamentoContabil"), "20240310", "0000000000100.00"),
            (std::vector<std::string>{"01 2024 2.1.1", "02 2024 1.1.1"}));
  auto m = Linhas("MovimentoContabil");
  ASSERT_EQ(m.size(), 5u);
  EXPECT_EQ(m[1], "2024" + FmtTexto("1.1.2", 50) + "02202403" + "0000000000100.00" + "0000000000000.00");
}

TEST_F(GerarArquivosSCTest, AnEntryWithoutHistoryRowIsWrittenWithAnEmptyHistory) {
  if (TestePostgreSQL()) GTEST_SKIP() << "the broken reference is made with a SQLite pragma; the server keeps its keys";
  Sql("PRAGMA foreign_keys = OFF; update LCTOCTB set CODIGOHISTCTB = 99, COMPLHIST = null where CHAVELCTOCTB = 1;"
      "PRAGMA foreign_keys = ON;");
  FProcesso->Executar();
  auto l = Linhas("LancamentoContabil");
  ASSERT_EQ(l.size(), 6u);
  int vazios = 0;
  for (const auto& x : l)
    if (x.substr(106) == std::string(150, ' ')) ++vazios;
  EXPECT_EQ(vazios, 4);  // two openings and both sides of entry 1
}

TEST_F(GerarArquivosSCTest, ParameterAndSetupErrorsWriteNoFile) {
  Set("pCompetInicial", "");
  try {
    FProcesso->Executar();
    FAIL();
  } catch (const EnParam& e) {
    EXPECT_EQ(e.Alias(), "pCompetInicial");
    EXPECT_STREQ(e.what(), "Data inicial inválida!");
  }
  Set("pCompetInicial", "01/01/2024");
  Set("pCodigoEmpresa", "x");
  EXPECT_THROW(FProcesso->Executar(), EnParam);
  Set("pCodigoEmpresa", "1");
  EXPECT_FALSE(AlgumArquivo());

  // No mapping valid in the period: only the error (no file is written, the run failed).
  Set("pCompetInicial", "01/01/2020");
  Set("pCompetFinal", "31/12/2020");
  FProcesso->Executar();
  EXPECT_EQ(Mensagens(tmErro),
            (std::vector<std::string>{"Nenhuma conta contábil relacionada foi encontrada no período selecionado!"}));
  EXPECT_FALSE(AlgumArquivo());

  // No origin related to the court system.
  FProcesso->GetMsgTreeLista()->Clear();
  Set("pCompetInicial", "01/01/2024");
  Set("pCompetFinal", "31/12/2024");
  Sql("delete from TCEORIGEMLCTOCTB");
  FProcesso->Executar();
  EXPECT_EQ(Mensagens(tmErro), (std::vector<std::string>{"Nenhuma origem contábil foi relacionada!"}));
  EXPECT_EQ(Mensagens(tmParada), (std::vector<std::string>{"Processo cancelado!"}));
  EXPECT_FALSE(AlgumArquivo());
}

TEST_F(GerarArquivosSCTest, AnEndBeforeTheStartIsRefusedAndWritesNoFile) {
  Set("pCompetInicial", "01/02/2024");
  Set("pCompetFinal", "31/01/2024");
  for (int i = 0; i < 2; ++i) {
    try {
      i == 0 ? FProcesso->ValidarDado() : FProcesso->Executar();
      FAIL() << "an end before the start was accepted";
    } catch (const EnParam& e) {
      EXPECT_EQ(e.Alias(), "pCompetFinal");
      EXPECT_STREQ(e.what(), "A Data Final não pode ser anterior à Data Inicial");
    }
  }
  EXPECT_FALSE(AlgumArquivo());
  Set("pCompetFinal", "01/02/2024");
  EXPECT_NO_THROW(FProcesso->ValidarDado());
}

TEST_F(GerarArquivosSCTest, AValueThatDoesNotFitStopsTheRunNamingTheAccountAndLeavesTheOldFiles) {
  FProcesso->Executar();
  auto antes = Linhas("LancamentoContabil");
  Sql("insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA) values "
      "(1, 12345, 2, '2.1.2', 'Conta longa');"
      "update TCEPLANOPLESPEC set CONTATCE = 12345 where CONTACTB = 21;");
  try {
    FProcesso->Executar();
    FAIL();
  } catch (const Exception& e) {
    std::string m = e.what();
    EXPECT_NE(m.find("ContaContabil"), std::string::npos) << m;
    EXPECT_NE(m.find("conta 21,"), std::string::npos) << m;
    EXPECT_NE(m.find("\"12345\""), std::string::npos) << m;
  }
  EXPECT_EQ(Linhas("LancamentoContabil"), antes);
  for (const auto& e : fs::directory_iterator(FPasta / "saida")) EXPECT_EQ(e.path().extension(), ".txt") << e.path();
}

// The four files used to be renamed one by one: a failure after the first rename left a new
// LancamentoContabil.txt beside the old other three.
TEST_F(GerarArquivosSCTest, AFileOperationFailingAtAnyPointLeftAMixedSet) {
  FProcesso->Executar();
  const auto antes = ConteudoPasta(FPasta / "saida");
  ASSERT_EQ(antes.size(), 4u);
  Sql("insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, "
      "CODIGOHISTCTB, COMPLHIST, CODIGOORIGLCTOCTB) values (1, 4, '2024-05-02', 12, 21, 7, 1, 'NF 4', 'AP');");
  const auto falhas = FalhasDeUmaExecucao([&] { FProcesso->Executar(); });
  const auto novo = ConteudoPasta(FPasta / "saida");
  ASSERT_FALSE(novo == antes);
  ASSERT_GE(falhas.size(), 12u);
  for (const TFalhaGravacao& falha : falhas) {
    fs::remove_all(FPasta / "saida");
    fs::create_directories(FPasta / "saida");
    for (const auto& [nome, bytes] : antes) WriteBytes(FPasta / "saida" / nome, bytes);
    FProcesso->GetMsgTreeLista()->Clear();
    nTesteGravacao::FalharNa(falha.Operacao, falha.Numero);
    try {
      FProcesso->Executar();
      // Only the tidying after the renames may fail that late: the new set is in place, and
      // the next run finishes the tidying.
      auto avisos = Mensagens(tmAviso);
      EXPECT_TRUE(std::any_of(avisos.begin(), avisos.end(),
                              [](const std::string& a) { return a.rfind("Os arquivos foram gravados, mas a limpeza", 0) == 0; }))
          << falha.Descricao();
      TConjuntoArquivos proximo(FPasta / "saida");
      EXPECT_TRUE(ConteudoPasta(FPasta / "saida") == novo) << DescreverPasta(ConteudoPasta(FPasta / "saida")) << falha.Descricao();
    } catch (const EFileError& e) {
      std::string m = e.what();
      EXPECT_TRUE(NomeiaOArquivo(m, {"LancamentoContabil.txt", "MovimentoContabil.txt", "AplicacaoFinanceira.txt",
                                     "ContaContabil.txt"}))
          << falha.Descricao() << ": " << m;
      EXPECT_TRUE(ConteudoPasta(FPasta / "saida") == antes) << DescreverPasta(ConteudoPasta(FPasta / "saida")) << falha.Descricao() << ": " << m;
      EXPECT_TRUE(Mensagens(tmConfirmacao).empty()) << falha.Descricao();
    }
    nTesteGravacao::Desligar();
  }
}

TEST_F(GerarArquivosSCTest, AGroupWithoutNatureStopsWithAMessageNamingTheAccount) {
  Sql("update CFGPLANOESPEC set NATURGRUPO2 = null");
  try {
    FProcesso->Executar();
    FAIL();
  } catch (const Exception& e) {
    std::string m = e.what();
    EXPECT_NE(m.find("NATURGRUPO2"), std::string::npos) << m;
    EXPECT_NE(m.find("conta contábil 21"), std::string::npos) << m;
  }
  EXPECT_FALSE(AlgumArquivo());
  Sql("delete from CFGPLANOESPEC");
  EXPECT_THROW(FProcesso->Executar(), Exception);
}

TEST_F(GerarArquivosSCTest, AnOpeningBalanceOfUnknownSideIsRefused) {
  if (TestePostgreSQL()) GTEST_SKIP() << "the forbidden side is stored with a SQLite pragma; the server keeps its checks";
  Sql("PRAGMA ignore_check_constraints = ON; update IMPLSALDOCTB set NATUREZASALDO = 0 where CONTACTB = 21;"
      "PRAGMA ignore_check_constraints = OFF;");
  try {
    FProcesso->Executar();
    FAIL();
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("conta contábil 21"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(AlgumArquivo());
}

TEST(SeqCompet, StoresOnGetAndChangesOnlyStoredCompetences) {
  auto p = nCriarObjeto<TUlmoDPGerarArquivosCtb>();
  EXPECT_EQ(p->GetSeqCompet(202401), 0);
  p->SetSeqCompet(202401, 7);
  EXPECT_EQ(p->GetSeqCompet(202401), 7);
  p->SetSeqCompet(202402, 3);
  EXPECT_EQ(p->cdsSeq().RecordCount(), 1);
}

TEST(LayoutsSC, WidthsAddUpToTheLineLengthsAndAmountsHaveNoSign) {
  EXPECT_EQ(LayoutLancamentoContabil().Largura(), 256);
  EXPECT_EQ(LayoutMovimentoContabil().Largura(), 94);
  EXPECT_EQ(LayoutAplicacaoFinanceira().Largura(), 108);
  EXPECT_EQ(LayoutContaContabil().Largura(), 490);
  TStringSink sink;
  TEscritorLeiaute e(sink, "MovimentoContabil.txt");
  e.Linha(LayoutMovimentoContabil())
      .Numero(2024)
      .Texto("1.1")
      .Numero(2)
      .Numero(202401)
      .Valor(Currency::FromString("1234.5"))
      .Valor(Currency())
      .Gravar();
  EXPECT_THROW(e.Linha(LayoutMovimentoContabil()).Numero(2024).Texto("1.1").Numero(2).Numero(202401).Valor(
                   Currency::FromInt(-1)),
               ENaoCabe);
  EXPECT_THROW(e.Linha(LayoutMovimentoContabil()).Numero(20245), ENaoCabe);
  // The largest amount the field holds, and a cent more.
  e.Linha(LayoutMovimentoContabil())
      .Numero(2024)
      .Texto("1.1")
      .Numero(2)
      .Numero(202401)
      .Valor(Currency::FromString("9999999999999.99"))
      .Valor(Currency::FromString("0.125"))
      .Gravar();
  EXPECT_THROW(e.Linha(LayoutMovimentoContabil()).Numero(2024).Texto("1.1").Numero(2).Numero(202401).Valor(
                   Currency::FromString("10000000000000")),
               ENaoCabe);
  e.Concluir();
  EXPECT_EQ(sink.Text(), "2024" + FmtTexto("1.1", 50) + "02202401" + "0000000001234.50" + "0000000000000.00\r\n" +
                             "2024" + FmtTexto("1.1", 50) + "02202401" + "9999999999999.99" + "0000000000000.13\r\n");
}

TEST_F(GerarArquivosSCTest, ANegativeOrUnknownCompanyRanIntoNoAccountFound) {
  // The selection gives the system, so nothing asks the company's link.
  TnSelecao::Params().Definir("CODIGOSISTEMATCE", 1);
  for (const char* empresa : {"-1", "77", "32768", "0", "", "1.5"}) {
    Set("pCodigoEmpresa", empresa);
    try {
      FProcesso->ValidarDado();
      ADD_FAILURE() << empresa << " passed";
    } catch (const EnParam& e) {
      EXPECT_EQ(e.Alias(), "pCodigoEmpresa") << empresa;
      EXPECT_STREQ(e.what(), "Empresa inválida!") << empresa;
    }
  }
  TnSelecao::Params().Limpar();
  EXPECT_FALSE(AlgumArquivo());
}
