#include "UlmoDPGerarArquivosCtbSagresWebSE_U.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "SagresTeste_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"

using namespace nFramework;
using namespace nUlmoSagres;
using nUlmoSagresTeste::GerarSagresTest;
namespace fs = std::filesystem;

namespace {

TEST_F(GerarSagresTest, AMonthIsWrittenAsOneZippedDocumentWithEveryRecord) {
  Rodar();
  ASSERT_TRUE(fs::exists(Zip("2024_03")));
  EXPECT_EQ(ListarEntradasZip(Zip("2024_03")), std::vector<std::string>{"ExecucaoEmpresas.xml"});
  EXPECT_EQ(LerEntradaZip(Zip("2024_03"), "ExecucaoEmpresas.xml").rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u);
  pugi::xml_node r = Raiz("2024_03");
  EXPECT_STREQ(r.name(), "exec:ExecucaoEmpresas");
  EXPECT_EQ(std::string(r.attribute("xmlns:exec").value()), "http://www.tce.se.gov.br/sagres2017/xml/ExecucaoEmpresas");
  EXPECT_EQ(std::string(r.attribute("xmlns:genEmp").value()), "http://www.tce.se.gov.br/sagres2017/xml/GenericosEmpresas");
  std::vector<std::string> ordem;
  for (auto c : r.children()) ordem.push_back(c.name());
  EXPECT_EQ(ordem, (std::vector<std::string>{"exec:PrestacaoContas", "exec:Pagamento", "exec:Retencao", "exec:Receita",
                                             "exec:Despesa", "exec:ContaBancaria", "exec:Patrimonio",
                                             "exec:Almoxarifado"}));

  pugi::xml_node pc = r.child("exec:PrestacaoContas");
  EXPECT_EQ(Val(pc, "exec:codigoUnidGestora"), "UG01");
  EXPECT_EQ(Val(pc, "exec:nomeUnidGestora"), "Sede Aracaju");
  EXPECT_EQ(Val(pc, "exec:cpfContador"), "12345678909");
  EXPECT_EQ(Val(pc, "exec:cpfGestor"), "98765432100");
  EXPECT_EQ(Val(pc, "exec:anoReferencia"), "2024");
  EXPECT_EQ(Val(pc, "exec:mesReferencia"), "3");
  EXPECT_EQ(Val(pc, "exec:versaoXml"), "0");
  EXPECT_EQ(Val(pc, "exec:diaInicPresContas"), "1");
  EXPECT_EQ(Val(pc, "exec:diaFinaPresContas"), "31");

  // One payment although its invoice has two configured CFOPs: the greater nature wins.
  pugi::xml_node pg = r.child("exec:Pagamento");
  EXPECT_FALSE(pg.next_sibling("exec:Pagamento"));
  EXPECT_EQ(Val(pg, "exec:numeroPagamento"), "0000000123");
  EXPECT_EQ(Val(pg, "exec:anoPagamento"), "2024");
  EXPECT_EQ(Val(pg, "exec:dataPagamento"), "2024-03-20");
  EXPECT_EQ(Val(pg, "exec:valorPagamento"), "1234.50");
  EXPECT_EQ(Val(pg, "exec:naturezaPagamento"), "5");
  EXPECT_EQ(Val(pg, "exec:cpfCnpjCredor"), "12345678000190");
  EXPECT_EQ(Val(pg, "exec:nomeRazaoSocialCredor"), "Fornecedor Ltda");
  EXPECT_EQ(Val(pg, "exec:TipoDocumentoPagamento/genEmp:NotaFiscal/genEmp:dataEmissaoNota"), "2024-03-01");
  EXPECT_EQ(Val(pg, "exec:TipoDocumentoPagamento/genEmp:NotaFiscal/genEmp:numeroNotaFiscal"), "0000000123");
  EXPECT_EQ(Val(pg, "exec:TipoDocumentoPagamento/genEmp:NotaFiscal/genEmp:nrSerieNotaFiscal"), "ABC");

  pugi::xml_node ret = r.child("exec:Retencao");
  EXPECT_EQ(Val(ret, "exec:numeroPagamento"), "0000000123");
  EXPECT_EQ(Val(ret, "exec:tipoRetencao"), "1");
  EXPECT_EQ(Val(ret, "exec:valorRetencao"), "10.00");

  // Only the valid, non-zero revenue rule is written; the expense is written as its absolute value.
  pugi::xml_node rec = r.child("exec:Receita");
  EXPECT_FALSE(rec.next_sibling("exec:Receita"));
  EXPECT_EQ(Val(rec, "exec:tipoReceita"), "4");
  EXPECT_EQ(Val(rec, "exec:valorArrecadadoNoMes"), "50.00");
  EXPECT_EQ(Val(r, "exec:Despesa/exec:valorDespesaNoMes"), "50.00");

  // Bank account 11: opening 100, debits 50, credits 30, closing 120; the bank's sides are swapped.
  pugi::xml_node cb = r.child("exec:ContaBancaria");
  EXPECT_EQ(Val(cb, "exec:codigoBanco"), "001");
  EXPECT_EQ(Val(cb, "exec:codigoAgencia"), "123456");
  EXPECT_EQ(Val(cb, "exec:numeroContaBancaria"), "12345-6");
  EXPECT_EQ(Val(cb, "exec:valorSaldoInicialNoMes"), "100.00");
  EXPECT_EQ(Val(cb, "exec:valorTotalDebitos"), "30.00");
  EXPECT_EQ(Val(cb, "exec:valorTotalCreditos"), "50.00");
  EXPECT_EQ(Val(cb, "exec:valorConciliacao"), "120.00");

  EXPECT_EQ(Val(r, "exec:Patrimonio/exec:tipoPatrimonio"), "1");
  EXPECT_EQ(Val(r, "exec:Patrimonio/exec:tipoLancamento"), "P");
  EXPECT_EQ(Val(r, "exec:Patrimonio/exec:vl_Lancamento"), "30.00");

  pugi::xml_node al = r.child("exec:Almoxarifado");
  EXPECT_EQ(Val(al, "exec:vl_SaldoInicial"), "0.00");
  EXPECT_EQ(Val(al, "exec:vl_Entrada"), "30.00");
  EXPECT_EQ(Val(al, "exec:vl_Saida"), "0.00");
  EXPECT_EQ(Val(al, "exec:vl_SaldoFinal"), "30.00");

  EXPECT_EQ(Textos(tmConfirmacao), std::vector<std::string>{"Arquivo gerado: " + Zip("2024_03").string()});
}

TEST_F(GerarSagresTest, APeriodAcrossTheYearYieldsOneFolderPerMonth) {
  Set("pDataInicial", "15/11/2023");
  Set("pDataFinal", "10/02/2024");
  Rodar();
  for (const char* m : {"2023_11", "2023_12", "2024_01", "2024_02"}) EXPECT_TRUE(fs::exists(Zip(m))) << m;
  std::vector<std::string> meses;
  for (const auto& n : FProcesso->GetMsgTreeLista()->Raizes()) meses.push_back(n->Texto);
  EXPECT_EQ(meses, (std::vector<std::string>{"Competência: 2023/11", "Competência: 2023/12", "Competência: 2024/01",
                                             "Competência: 2024/02"}));
  // A month without data holds its accounts-rendered record; the first month starts on the 15th.
  pugi::xml_node r = Raiz("2023_11");
  EXPECT_EQ(Val(r, "exec:PrestacaoContas/exec:diaInicPresContas"), "15");
  EXPECT_FALSE(r.child("exec:Pagamento"));
  EXPECT_FALSE(r.child("exec:Almoxarifado"));
}

TEST_F(GerarSagresTest, TwoInstalmentsPaidTheSameDayForTheSameAmountWereMergedIntoOnePayment) {
  // A second instalment of the same bill, and a second bill of the same number on the same
  // invoice, each paid on the same day for the same amount as the first.
  FConexao->Driver().ExecuteScript(
      "insert into DUPLICATAENTPGTO values (1, 1, 7, 2, '2024-03-20', 1234.5);"
      "insert into DUPLICATAENT values (1, 1, 8, '12/3-A', 100);"
      "insert into DUPLICATAENTPGTO values (1, 1, 8, 1, '2024-03-20', 1234.5);");
  Rodar();
  pugi::xml_node r = Raiz("2024_03");
  int pagamentos = 0;
  for (pugi::xml_node pg = r.child("exec:Pagamento"); pg; pg = pg.next_sibling("exec:Pagamento")) {
    ++pagamentos;
    EXPECT_EQ(Val(pg, "exec:numeroPagamento"), "0000000123");
    EXPECT_EQ(Val(pg, "exec:valorPagamento"), "1234.50");
    // Still the greatest nature of the invoice's CFOPs, not one element per CFOP.
    EXPECT_EQ(Val(pg, "exec:naturezaPagamento"), "5");
  }
  EXPECT_EQ(pagamentos, 3);
}

TEST_F(GerarSagresTest, RunningTwiceReplacesTheArchiveAndStartsAfresh) {
  Rodar();
  FConexao->Driver().ExecuteScript("update TCESESAGRESDESPESA set REGRACALCULOCTB = '7';");
  Set("pUnidadeGestora", "UG02");
  Rodar();
  pugi::xml_node r = Raiz("2024_03");
  EXPECT_EQ(Val(r, "exec:PrestacaoContas/exec:codigoUnidGestora"), "UG02");
  EXPECT_EQ(Val(r, "exec:Despesa/exec:valorDespesaNoMes"), "7.00");
}

TEST_F(GerarSagresTest, ValidationMessages) {
  Set("pDataFinal", "28/02/2024");
  EXPECT_EQ(Validacao(), "A Data Final não pode ser menor que a Data Inicial!");
  Set("pDataFinal", "01/03/2024");
  EXPECT_EQ(Validacao(), "");
  Set("pCodigoSistemaTCE", "0");
  EXPECT_EQ(Validacao(), "Sistema inválido!");
  FConexao->Driver().ExecuteScript("delete from TCESISTEMAEMPRESA;");
  EXPECT_EQ(Validacao(),
            "Necessário realizar cadastro do sistema vinculado a empresa em Áreas de Trabalho / TCE / Plano de Contas!");
}

TEST_F(GerarSagresTest, AStartInYearOneWroteAFolderPerMonth) {
  Set("pDataInicial", "01/01/0001");
  EXPECT_EQ(Validacao(), "Data inicial inválida!");
  Set("pDataInicial", "01/03/2024");
  Set("pDataFinal", "31/12/9999");  // passed, and the run then failed past its last month
  EXPECT_EQ(Validacao(), "Data final inválida!");
  Set("pDataFinal", "31/12/2100");
  EXPECT_EQ(Validacao(), "");
  EXPECT_FALSE(fs::exists(FPasta / "saida"));
}

TEST_F(GerarSagresTest, AStoresAccountOutsideTheChartLeftTheStoresOutWithoutAWord) {
  for (const char* conta : {"999", "0", "-12", "12.5", "abc", "99999999999999999999", ""}) {
    Set("pContaCtbAlmoxarifado", conta);
    EXPECT_EQ(Validacao(), "Conta contábil do almoxarifado inválida!") << conta;
  }
  Set("pContaCtbAlmoxarifado", " 12 ");
  EXPECT_EQ(Validacao(), "");
}

TEST_F(GerarSagresTest, AManagingUnitWithALineBreakWentIntoTheDocument) {
  for (const char* ug : {"UG\n01", "UG\t01", "U\rG"}) {
    Set("pUnidadeGestora", ug);
    EXPECT_EQ(Validacao(), "Unidade gestora inválida!");
  }
  Set("pUnidadeGestora", "\tUG 01\r\n");  // trimmed, as every value is
  EXPECT_EQ(Validacao(), "");
}

TEST_F(GerarSagresTest, TheCompanysLinkWasNotCheckedWhenASystemWasSelected) {
  const char* const kSemVinculo =
      "Necessário realizar cadastro do sistema vinculado a empresa em Áreas de Trabalho / TCE / Plano de Contas!";
  TnSelecao::Params().Definir("CODIGOSISTEMATCE", 4);
  EXPECT_EQ(Validacao(), "");
  FConexao->Driver().ExecuteScript("delete from TCESISTEMAEMPRESA;");
  EXPECT_EQ(Validacao(), kSemVinculo);
  // Linked, but to another court's system.
  FConexao->Driver().ExecuteScript(
      "insert into TCESISTEMA values (1, 'e-Sfinge SC', 'SC', '9.9'); insert into TCESISTEMAEMPRESA values (1, 1);");
  EXPECT_EQ(Validacao(), kSemVinculo);
}

TEST_F(GerarSagresTest, ACompanyThatDoesNotExistRanEveryMonthIntoAnInformation) {
  TnSelecao::Params().Definir("CODIGOSISTEMATCE", 4);
  Set("pCodigoEmpresa", "99");
  try {
    FProcesso->ValidarDado();
    FAIL() << "a company that does not exist passed";
  } catch (const EnParam& e) {
    EXPECT_EQ(e.Alias(), "pCodigoEmpresa");
    EXPECT_STREQ(e.what(), "Código da empresa inválido!");
  }
}

TEST_F(GerarSagresTest, RulesReadTheMonthsBalancesOfTheCompany) {
  TUlmoSagresWebRegraCalculoCtb regras;
  regras.ExecutarGerarSaldoCtb(1, EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31));
  ASSERT_TRUE(regras.EncontrarContaCTB(11));
  EXPECT_EQ(regras.GetSaldoContaCTB(tpSaldoAnterior), Currency::FromInt(100));
  EXPECT_EQ(regras.GetSaldoContaCTB(tpDebito), Currency::FromInt(50));
  EXPECT_EQ(regras.GetSaldoContaCTB(tpCredito), Currency::FromInt(30));
  EXPECT_EQ(regras.GetSaldoContaCTB(tpMovimento), Currency::FromInt(20));
  EXPECT_EQ(regras.GetSaldoContaCTB(tpSaldoAtual), Currency::FromInt(120));
  EXPECT_EQ(regras.GetSaldoContaCTB(7), Currency::FromInt(0));
  EXPECT_FALSE(regras.EncontrarContaCTB(99));
  EXPECT_EQ(regras.ExecutarFormulaCTB("SALDOATUAL(11) - SALDOATUAL(12)"), Currency::FromInt(90));
  EXPECT_FALSE(regras.ValidarFormulaCTB("SALDOATUAL(11"));
}

TEST_F(GerarSagresTest, AccountsWithoutMovementOrZeroSumAreLeftOut) {
  // Opening 100 and closing -100 sum to zero; the stores account is not in the balances at all.
  FConexao->Driver().ExecuteScript(
      "delete from LCTOCTB; delete from IMPLSALDOCTB;"
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB) values"
      " (1, 1, '2024-03-10', 31, 11, 100);"
      "update TCESESAGRESCONTABANC set CONTACTB = 11;");
  Set("pContaCtbAlmoxarifado", "12");  // in the chart, without a balance now
  Rodar();
  pugi::xml_node r = Raiz("2024_03");
  // Account 11: previous 0, debits 0, credits 100, current -100: the sum is 0.
  EXPECT_FALSE(r.child("exec:ContaBancaria"));
  EXPECT_FALSE(r.child("exec:Almoxarifado"));
}

TEST_F(GerarSagresTest, AnInvalidRuleVanishedWithoutAWord) {
  // Revenue 6 holds "CREDITO(31": left out, and said so under its month.
  Rodar();
  pugi::xml_node r = Raiz("2024_03");
  for (pugi::xml_node rec = r.child("exec:Receita"); rec; rec = rec.next_sibling("exec:Receita"))
    EXPECT_NE(Val(rec, "exec:tipoReceita"), "6");
  EXPECT_EQ(Textos(tmAviso),
            std::vector<std::string>{"Receita 06: a regra de cálculo \"CREDITO(31\" é inválida; o item não foi gerado."});
  const auto& mes = FProcesso->GetMsgTreeLista()->Raizes();
  ASSERT_EQ(mes.size(), 1u);
  ASSERT_EQ(mes[0]->Filhos.size(), 2u);
  EXPECT_EQ(mes[0]->Filhos[0]->Tipo, tmAviso);
  EXPECT_FALSE(FProcesso->GetMsgTreeLista()->Falhou());
}

TEST_F(GerarSagresTest, ARuleWithoutAFiniteResultFailedItsWholeMonth) {
  FConexao->Driver().ExecuteScript(
      "update TCESESAGRESDESPESA set REGRACALCULOCTB = 'DEBITO(31) / DEBITO(31)';"
      "update TCESESAGRESPATRIMONIO set REGRACALCULOCTB = '1 / DEBITO(31)';"
      "update TCESESAGRESRECEITA set REGRACALCULOCTB = 'CREDITO(31)' where TIPORECEITA = 6;");
  Rodar();
  // The month is written without the two items, never with "nan" or "inf".
  pugi::xml_node r = Raiz("2024_03");
  EXPECT_FALSE(r.child("exec:Despesa"));
  EXPECT_FALSE(r.child("exec:Patrimonio"));
  EXPECT_TRUE(r.child("exec:Receita"));
  EXPECT_EQ(Textos(tmAviso),
            (std::vector<std::string>{
                "Despesa 01: a regra de cálculo \"DEBITO(31) / DEBITO(31)\" não resultou em um valor numérico; o item "
                "não foi gerado.",
                "Patrimônio 1, lançamento P: a regra de cálculo \"1 / DEBITO(31)\" não resultou em um valor numérico; o "
                "item não foi gerado."}));
  EXPECT_TRUE(Textos(tmErro).empty());
}

// A rule of 60,000 minus signs in REGRACALCULOCTB ended the whole run with a stack overflow.
TEST_F(GerarSagresTest, ADeeplyNestedRuleKilledTheRun) {
  FConexao->Driver().ExecuteScript("update TCESESAGRESRECEITA set REGRACALCULOCTB = '" + std::string(60000, '-') +
                                   "CREDITO(31)' where TIPORECEITA = 6;");
  Rodar();
  EXPECT_TRUE(Raiz("2024_03").child("exec:Receita"));
  EXPECT_EQ(Textos(tmAviso), std::vector<std::string>{"Receita 06: a regra de cálculo \"" + std::string(79, '-') +
                                                      "…\" é inválida; o item não foi gerado."});
  EXPECT_TRUE(Textos(tmErro).empty());
}

TEST_F(GerarSagresTest, AnEmptyRuleIsLeftOutSilently) {
  FConexao->Driver().ExecuteScript(
      "update TCESESAGRESRECEITA set REGRACALCULOCTB = '  ' where TIPORECEITA = 6;"
      "update TCESESAGRESDESPESA set REGRACALCULOCTB = null;");
  Rodar();
  EXPECT_FALSE(Raiz("2024_03").child("exec:Despesa"));
  EXPECT_TRUE(Textos(tmAviso).empty());
}

}  // namespace

namespace {

// Every balance of every account, month by month, as the rules read them.
std::vector<std::string> SaldosDoAno(bool preparado) {
  TUlmoSagresWebRegraCalculoCtb regras;
  bool preparou = preparado && regras.PrepararPeriodo(1, EncodeDate(2024, 1, 10), EncodeDate(2024, 12, 31));
  std::vector<std::string> r{preparou ? "preparado" : "mês a mês"};
  for (int mes = 1; mes <= 12; ++mes) {
    TDateTime inicio = mes == 1 ? EncodeDate(2024, 1, 10) : EncodeDate(2024, mes, 1);
    regras.ExecutarGerarSaldoCtb(1, inicio, EndOfTheMonth(inicio));
    for (int64_t conta : {10, 11, 12, 30, 31}) {
      std::string t = std::to_string(mes) + "/" + std::to_string(conta) + ":";
      if (regras.EncontrarContaCTB(conta))
        for (int tipo = tpSaldoAnterior; tipo <= tpSaldoAtual; ++tipo) t += " " + regras.GetSaldoContaCTB(tipo).ToString();
      r.push_back(t);
    }
  }
  return r;
}

}  // namespace

// The year's balances from two runs over the whole period are the months' own: a closing entry
// in June counts in July's opening but in no month's movement, an entry before the period in
// the opening; a balance implanted on the first of a month (which that month's run counts in
// the opening) leaves each month to its own run.
TEST_F(GerarSagresTest, ThePeriodsBalancesAreTheMonthsOwn) {
  FConexao->Driver().ExecuteScript(
      "insert into ORIGLCTOCTB values ('ZZ', 'Encerramento');"
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB,"
      " CODIGOORIGLCTOCTB) values (1, 3, '2024-06-15', 31, 11, 7.25, 'ZZ'), (1, 4, '2024-01-05', 11, 31, 0.1, null),"
      " (1, 5, '2024-08-31', 12, 11, 2.68, null), (1, 6, '2024-12-31', 31, 12, 1, 'ZZ');"
      "insert into IMPLSALDOCTB values (1, 1, 12, '2024-05-20', 3.5, 1);");
  std::vector<std::string> mesAMes = SaldosDoAno(false);
  std::vector<std::string> preparado = SaldosDoAno(true);
  ASSERT_EQ(preparado.front(), "preparado");
  ASSERT_EQ(preparado.size(), mesAMes.size());
  for (size_t i = 1; i < preparado.size(); ++i) EXPECT_EQ(preparado[i], mesAMes[i]);
  EXPECT_NE(std::find(mesAMes.begin(), mesAMes.end(), "7/11: 112.85 0 0 0 112.85"), mesAMes.end());

  FConexao->Driver().ExecuteScript("insert into IMPLSALDOCTB values (1, 1, 11, '2024-04-01', 5, 1);");
  mesAMes = SaldosDoAno(false);
  preparado = SaldosDoAno(true);
  EXPECT_EQ(preparado.front(), "mês a mês");
  EXPECT_EQ(std::vector<std::string>(preparado.begin() + 1, preparado.end()),
            std::vector<std::string>(mesAMes.begin() + 1, mesAMes.end()));
}

