#include "BancoVazioTeste_U.h"
#include "UlmoDPGerarArquivosCtbSagresWebSE_U.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <pugixml.hpp>

#include "ClassRegistry_U.h"
#include "Conexao_U.h"
#include "Contexto_U.h"
#include "FalhaGravacaoTeste_U.h"
#include "Schema_U.h"
#include "UlmoSagresWebConfiguracao_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"
#include "Zip_U.h"

using namespace nFramework;
using namespace nUlmoSagres;
namespace fs = std::filesystem;

namespace {

// One SE company with a bank account, a stores account, a revenue account, a payment, a
// withholding and a few rules; entries in March 2024.
const char* const kDados = R"SQL(
insert into EMPRESA values (1, 'Companhia de Teste');
insert into ESTAB (CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB) values (1, 1, 'Sede Aracaju');
insert into CFGPLANOESPEC (CODIGOEMPRESA, NATURGRUPO1, NATURGRUPO2, NATURGRUPO3) values (1, 1, -1, -1);
insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values
  (1, 10, '1', 'ATIVO', 1), (1, 11, '1.1', 'BANCO', 2), (1, 12, '1.2', 'ALMOXARIFADO', 2),
  (1, 30, '3', 'RECEITA', 1), (1, 31, '3.1', 'VENDAS', 2);
insert into TCESISTEMA values (4, 'Sagres SE', 'SE', '9.9');
insert into TCESISTEMAEMPRESA values (4, 1);
insert into IMPLSALDOCTB values (1, 1, 11, '2024-01-01', 100, 1);
insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB) values
  (1, 1, '2024-03-10', 11, 31, 50), (1, 2, '2024-03-12', 12, 11, 30);
insert into BANCO values (1, 'Banco Um');
insert into AGENCIA values (1, 1234567, 'Centro');
insert into TCESESAGRESCONTABANC values (1, 1, 1234567, '12345-6', 11);
insert into TCESESAGRESRECEITA values (1, 4, 'CREDITO(31)'), (1, 5, 'SALDOATUAL(99)'), (1, 6, 'CREDITO(31');
insert into TCESESAGRESDESPESA values (1, 1, '-20 * 2.5');
insert into TCESESAGRESPATRIMONIO values (1, 1, 'P', 'SALDOATUAL(12)');
insert into PESSOA values (1, 'Fornecedor Ltda', '12.345.678/0001-90');
insert into CFOP values (1, 1, 1102, 'Compra'), (1, 1, 1556, 'Uso e consumo');
insert into LCTOFISENT values (1, 100, 1, 1, 123, 'ABCD', '2024-03-01', '2024-03-01');
insert into LCTOFISENTCFOP values (1, 100, 1, 1102), (1, 100, 1, 1556);
insert into TCESESAGRESPGTO values (1, 1, 1102, 3), (1, 1, 1556, 5);
insert into DUPLICATAENT values (1, 1, 7, '12/3-A', 100);
insert into DUPLICATAENTPGTO values (1, 1, 7, 1, '2024-03-20', 1234.5);
insert into LCTOFISENTRETIDO (CODIGOEMPRESA, CHAVELCTOFISENT, NUMERONF, DATALCTOFIS, VALORISSQN, VALORINSS)
  values (1, 100, 123, '2024-03-01', 10, 0);
insert into CONTADOR values (1, 'Contador', '123.456.789-09');
insert into SOCIO values (1, 1, 'Gestor', '987.654.321-00');
insert into CFGEMPRESAGEM values (1, 1, 1);
)SQL";

class GerarSagresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPasta = fs::temp_directory_path() / ("ulmo_sagres_" + std::to_string(::getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(FPasta);
    FConexao = nFramework::AbrirBancoTeste();
    SetConexao(FConexao.get());
    AtualizarEsquema(*FConexao);
    FConexao->Driver().ExecuteScript(kDados);
    TnSelecao::Params().Limpar();
    FProcesso = nCriarObjeto<TUlmoDPGerarArquivosCtbSagresWebSE>();
    Set("pCodigoSistemaTCE", "4");
    Set("pDataInicial", "01/03/2024");
    Set("pDataFinal", "31/03/2024");
    Set("pCodigoEmpresa", "1");
    Set("pUnidadeGestora", " UG01 ");
    Set("pContaCtbAlmoxarifado", "12");
    Set("pPastaDestino", (FPasta / "saida").string());
  }
  void TearDown() override {
    FProcesso.reset();
    SetConexao(nullptr);
    fs::remove_all(FPasta);
  }
  void Set(const char* alias, const std::string& v) { FProcesso->Param(alias).SetValue(v); }
  void Rodar() {
    FProcesso->ValidarDado();
    FProcesso->Executar();
  }
  fs::path Zip(const char* mes) { return FPasta / "saida" / mes / "ExecucaoEmpresas.zip"; }
  pugi::xml_node Raiz(const char* mes) {
    std::string xml = LerEntradaZip(Zip(mes), "ExecucaoEmpresas.xml");
    EXPECT_TRUE(FDoc.load_string(xml.c_str()));
    return FDoc.document_element();
  }
  std::string Val(pugi::xml_node n, const char* path) { return n.first_element_by_path(path).text().get(); }
  std::vector<std::string> Textos(int tipo) {
    std::vector<std::string> r;
    std::function<void(const TnMsgNode&)> andar = [&](const TnMsgNode& n) {
      if (n.Tipo == tipo) r.push_back(n.Texto);
      for (const auto& f : n.Filhos) andar(*f);
    };
    for (const auto& n : FProcesso->GetMsgTreeLista()->Raizes()) andar(*n);
    return r;
  }
  // Every file under the output folder; an archive by its entries, whose times vary by run.
  std::map<std::string, std::string> Conteudo() {
    auto r = ConteudoPasta(FPasta / "saida");
    for (auto& [nome, bytes] : r)
      if (nome.size() > 4 && nome.substr(nome.size() - 4) == ".zip") {
        bytes.clear();
        for (const auto& e : ListarEntradasZip(FPasta / "saida" / nome))
          bytes += e + ":" + LerEntradaZip(FPasta / "saida" / nome, e);
      }
    return r;
  }
  std::string Validacao() {
    try {
      FProcesso->ValidarDado();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }

  fs::path FPasta;
  std::unique_ptr<TnDMConexao> FConexao;
  std::unique_ptr<TUlmoDPGerarArquivosCtbSagresWebSE> FProcesso;
  pugi::xml_document FDoc;
};

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

TEST_F(GerarSagresTest, AFailedMonthWasReportedAsAnInformationInsteadOfAnError) {
  Set("pDataInicial", "01/02/2024");
  Set("pDataFinal", "30/04/2024");
  // A file where March's folder should be: March cannot be written.
  fs::create_directories(FPasta / "saida");
  { std::ofstream(FPasta / "saida" / "2024_03") << "x"; }
  Rodar();
  EXPECT_TRUE(fs::exists(Zip("2024_02")));
  EXPECT_TRUE(fs::exists(Zip("2024_04")));
  // The error hangs under March's node (after the warning of the invalid revenue rule); the
  // other months are confirmed.
  const auto& meses = FProcesso->GetMsgTreeLista()->Raizes();
  ASSERT_EQ(meses.size(), 3u);
  ASSERT_FALSE(meses[1]->Filhos.empty());
  const TnMsgNode& erro = *meses[1]->Filhos.back();
  EXPECT_EQ(erro.Tipo, tmErro);
  EXPECT_EQ(erro.Texto.rfind("Ocorreu um problema ao gerar o arquivo! Menssagem original: ", 0), 0u) << erro.Texto;
  EXPECT_EQ(Textos(tmErro).size(), 1u);
  EXPECT_TRUE(Textos(tmInformacao).size() == 3u);  // the three month headings only
  EXPECT_EQ(Textos(tmConfirmacao).size(), 2u);
  EXPECT_TRUE(FProcesso->GetMsgTreeLista()->Falhou());
}

// Each month's archive is one file: a failing write, sync, rename or creation keeps that month's
// old archive, names it, and leaves no temporary; the other months are written. The month's
// folder used to be made before its archive and stayed, empty, when the archive failed.
TEST_F(GerarSagresTest, AFileOperationFailingInAMonthLeftAnEmptyFolderOrATemporary) {
  Set("pDataInicial", "01/02/2024");
  Set("pDataFinal", "30/04/2024");
  const auto falhasSemPasta = FalhasDeUmaExecucao([&] { Rodar(); });
  const auto novo = Conteudo();
  ASSERT_EQ(novo.size(), 6u);  // three folders, three archives
  for (const TFalhaGravacao& falha : falhasSemPasta) {
    fs::remove_all(FPasta / "saida");
    FProcesso->GetMsgTreeLista()->Clear();
    nTesteGravacao::FalharNa(falha.Operacao, falha.Numero);
    Rodar();
    nTesteGravacao::Desligar();
    ASSERT_EQ(Textos(tmErro).size(), 1u) << falha.Descricao();
    EXPECT_NE(Textos(tmErro)[0].find("/ExecucaoEmpresas.zip\""), std::string::npos) << Textos(tmErro)[0];
    // Two months in place, the failed one without folder or temporary.
    auto agora = Conteudo();
    EXPECT_EQ(agora.size(), 4u) << falha.Descricao() << ": " << DescreverPasta(agora);
    for (const auto& [nome, bytes] : agora) EXPECT_EQ(bytes, novo.at(nome)) << nome;
  }

  // Over an earlier good run: the failed month keeps its old archive.
  fs::remove_all(FPasta / "saida");
  FConexao->Driver().ExecuteScript("update TCESESAGRESDESPESA set REGRACALCULOCTB = '7';");
  Rodar();
  const auto antes = Conteudo();
  const auto bytesAntes = ConteudoPasta(FPasta / "saida");
  ASSERT_FALSE(antes == novo);
  FConexao->Driver().ExecuteScript("update TCESESAGRESDESPESA set REGRACALCULOCTB = '8';");
  const auto falhas = FalhasDeUmaExecucao([&] { Rodar(); });
  const auto depois = Conteudo();
  ASSERT_GE(falhas.size(), 12u);
  for (const TFalhaGravacao& falha : falhas) {
    fs::remove_all(FPasta / "saida");
    for (const auto& [nome, bytes] : bytesAntes) {
      if (nome.back() == '/') continue;
      fs::create_directories((FPasta / "saida" / nome).parent_path());
      WriteBytes(FPasta / "saida" / nome, bytes);
    }
    FProcesso->GetMsgTreeLista()->Clear();
    nTesteGravacao::FalharNa(falha.Operacao, falha.Numero);
    Rodar();
    nTesteGravacao::Desligar();
    ASSERT_EQ(Textos(tmErro).size(), 1u) << falha.Descricao();
    auto agora = Conteudo();
    ASSERT_EQ(agora.size(), 6u) << falha.Descricao() << ": " << DescreverPasta(agora);
    int antigos = 0;
    for (const auto& [nome, bytes] : agora) {
      EXPECT_TRUE(bytes == depois.at(nome) || bytes == antes.at(nome)) << nome;
      antigos += nome.back() != '/' && bytes == antes.at(nome);
    }
    EXPECT_EQ(antigos, 1) << falha.Descricao();
  }
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

TEST_F(GerarSagresTest, RunningTwiceReplacesTheArchiveAndStartsFromFreshSingletons) {
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

TEST_F(GerarSagresTest, RulesReadTheMonthsBalancesOfTheConfiguredCompany) {
  TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  cfg.CodigoEmpresa = 1;
  cfg.DataInicial = EncodeDate(2024, 3, 1);
  cfg.DataFinal = EncodeDate(2024, 3, 31);
  TUlmoSagresWebRegraCalculoCtb& regras = TUlmoSagresWebRegraCalculoCtb::Instance();
  regras.ExecutarGerarSaldoCtb();
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
  TUlmoSagresWebRegraCalculoCtb::Destruir();
  TUlmoSagresWebConfiguracao::Destruir();
  // A new run starts from zeros.
  EXPECT_EQ(TUlmoSagresWebConfiguracao::Instance().CodigoEmpresa, 0);
  TUlmoSagresWebConfiguracao::Destruir();
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
  TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  cfg.CodigoEmpresa = 1;
  TUlmoSagresWebRegraCalculoCtb& regras = TUlmoSagresWebRegraCalculoCtb::Instance();
  bool preparou = preparado && regras.PrepararPeriodo(EncodeDate(2024, 1, 10), EncodeDate(2024, 12, 31));
  std::vector<std::string> r{preparou ? "preparado" : "mês a mês"};
  for (int mes = 1; mes <= 12; ++mes) {
    cfg.DataInicial = mes == 1 ? EncodeDate(2024, 1, 10) : EncodeDate(2024, mes, 1);
    cfg.DataFinal = EndOfTheMonth(cfg.DataInicial);
    regras.ExecutarGerarSaldoCtb();
    for (int64_t conta : {10, 11, 12, 30, 31}) {
      std::string t = std::to_string(mes) + "/" + std::to_string(conta) + ":";
      if (regras.EncontrarContaCTB(conta))
        for (int tipo = tpSaldoAnterior; tipo <= tpSaldoAtual; ++tipo) t += " " + regras.GetSaldoContaCTB(tipo).ToString();
      r.push_back(t);
    }
  }
  TUlmoSagresWebRegraCalculoCtb::Destruir();
  TUlmoSagresWebConfiguracao::Destruir();
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
