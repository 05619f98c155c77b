// The SAGRES run's writing: each month's document streams into its archive, which is put in
// place whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "AtomicFile_U.h"
#include "FalhaGravacaoTeste_U.h"
#include "SQL_U.h"
#include "SagresTeste_U.h"
#include "UlmoSagresWebGerador_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"
#include "Zip_U.h"

using namespace nFramework;
using namespace nUlmoSagres;
using nUlmoSagresTeste::GerarSagresTest;
namespace fs = std::filesystem;

namespace {

TEST_F(GerarSagresTest, AFailedMonthWasReportedAsAnInformationInsteadOfAnError) {
  Set("pDataInicial", "01/02/2024");
  Set("pDataFinal", "30/04/2024");
  // A file where March's folder should be: March cannot be written.
  fs::create_directories(FPasta / "saida");
  { std::ofstream(FPasta / "saida" / "2024_03") << "x"; }
  Rodar();
  EXPECT_TRUE(fs::exists(Zip("2024_02")));
  EXPECT_TRUE(fs::exists(Zip("2024_04")));
  // The error hangs under March's node; the other months are confirmed.
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

// The March document of the fixture as the DOM writer wrote it before the document streamed.
const char* const kMarcoEsperado = R"X(<?xml version="1.0" encoding="utf-8"?>
<exec:ExecucaoEmpresas xmlns:exec="http://www.tce.se.gov.br/sagres2017/xml/ExecucaoEmpresas" xmlns:genEmp="http://www.tce.se.gov.br/sagres2017/xml/GenericosEmpresas">
  <exec:PrestacaoContas>
    <exec:codigoUnidGestora>UG01</exec:codigoUnidGestora>
    <exec:nomeUnidGestora>Sede Aracaju</exec:nomeUnidGestora>
    <exec:cpfContador>12345678909</exec:cpfContador>
    <exec:cpfGestor>98765432100</exec:cpfGestor>
    <exec:anoReferencia>2024</exec:anoReferencia>
    <exec:mesReferencia>3</exec:mesReferencia>
    <exec:versaoXml>0</exec:versaoXml>
    <exec:diaInicPresContas>1</exec:diaInicPresContas>
    <exec:diaFinaPresContas>31</exec:diaFinaPresContas>
  </exec:PrestacaoContas>
  <exec:Pagamento>
    <exec:numeroPagamento>0000000123</exec:numeroPagamento>
    <exec:anoPagamento>2024</exec:anoPagamento>
    <exec:dataPagamento>2024-03-20</exec:dataPagamento>
    <exec:valorPagamento>1234.50</exec:valorPagamento>
    <exec:naturezaPagamento>5</exec:naturezaPagamento>
    <exec:cpfCnpjCredor>12345678000190</exec:cpfCnpjCredor>
    <exec:nomeRazaoSocialCredor>Fornecedor Ltda</exec:nomeRazaoSocialCredor>
    <exec:TipoDocumentoPagamento>
      <genEmp:NotaFiscal>
        <genEmp:dataEmissaoNota>2024-03-01</genEmp:dataEmissaoNota>
        <genEmp:numeroNotaFiscal>0000000123</genEmp:numeroNotaFiscal>
        <genEmp:nrSerieNotaFiscal>ABC</genEmp:nrSerieNotaFiscal>
      </genEmp:NotaFiscal>
    </exec:TipoDocumentoPagamento>
  </exec:Pagamento>
  <exec:Retencao>
    <exec:numeroPagamento>0000000123</exec:numeroPagamento>
    <exec:anoPagamento>2024</exec:anoPagamento>
    <exec:tipoRetencao>1</exec:tipoRetencao>
    <exec:valorRetencao>10.00</exec:valorRetencao>
  </exec:Retencao>
  <exec:Receita>
    <exec:tipoReceita>4</exec:tipoReceita>
    <exec:valorArrecadadoNoMes>50.00</exec:valorArrecadadoNoMes>
  </exec:Receita>
  <exec:Despesa>
    <exec:tipoDespesa>1</exec:tipoDespesa>
    <exec:valorDespesaNoMes>50.00</exec:valorDespesaNoMes>
  </exec:Despesa>
  <exec:ContaBancaria>
    <exec:codigoBanco>001</exec:codigoBanco>
    <exec:codigoAgencia>123456</exec:codigoAgencia>
    <exec:numeroContaBancaria>12345-6</exec:numeroContaBancaria>
    <exec:valorSaldoInicialNoMes>100.00</exec:valorSaldoInicialNoMes>
    <exec:valorTotalDebitos>30.00</exec:valorTotalDebitos>
    <exec:valorTotalCreditos>50.00</exec:valorTotalCreditos>
    <exec:valorConciliacao>120.00</exec:valorConciliacao>
  </exec:ContaBancaria>
  <exec:Patrimonio>
    <exec:tipoPatrimonio>1</exec:tipoPatrimonio>
    <exec:tipoLancamento>P</exec:tipoLancamento>
    <exec:vl_Lancamento>30.00</exec:vl_Lancamento>
  </exec:Patrimonio>
  <exec:Almoxarifado>
    <exec:vl_SaldoInicial>0.00</exec:vl_SaldoInicial>
    <exec:vl_Entrada>30.00</exec:vl_Entrada>
    <exec:vl_Saida>0.00</exec:vl_Saida>
    <exec:vl_SaldoFinal>30.00</exec:vl_SaldoFinal>
  </exec:Almoxarifado>
</exec:ExecucaoEmpresas>
)X";

TEST_F(GerarSagresTest, AMemorySinkReceivesTheMonthsDocumentByteForByte) {
  Rodar();
  EXPECT_EQ(LerEntradaZip(Zip("2024_03"), "ExecucaoEmpresas.xml"), kMarcoEsperado);

  TUlmoSagresWebRegraCalculoCtb regras;
  TUlmoSagresWebGerador gerador;
  TStringSink saida;
  const TMesSagres mes{FProcesso->Requisicao(), EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31), regras};
  {
    TTransacaoRO transacao(Conexao(), 1);
    regras.ExecutarGerarSaldoCtb(1, mes.Inicio, mes.Fim);
    gerador.GerarDocumento(mes, saida);
  }
  EXPECT_EQ(saida.Text(), kMarcoEsperado);
  EXPECT_FALSE(saida.Committed());
}

// Enough payments in March for its document to reach its archive in many writes.
void MuitosPagamentos(TnDMConexao& conexao, int n) {
  const std::string ate = std::to_string(n);
  conexao.Driver().ExecuteScript(
      "with recursive n(i) as (select 1 union all select i + 1 from n where i < " + ate +
      ") insert into DUPLICATAENT select 1, 1, 100 + i, 'D-' || i, 100 from n;"
      "with recursive n(i) as (select 1 union all select i + 1 from n where i < " + ate +
      ") insert into DUPLICATAENTPGTO select 1, 1, 100 + i, 1, '2024-03-21', i from n;");
}

TEST_F(GerarSagresTest, AWriteFailingMidMonthLeavesNoArchiveAndSaysSo) {
  MuitosPagamentos(*FConexao, 3000);
  nTesteGravacao::Desligar();
  Rodar();
  const int escritas = nTesteGravacao::Contagem(nTesteGravacao::TOperacao::Escrita);
  ASSERT_GE(escritas, 10) << "the document must reach its archive in many writes";
  pugi::xml_node r = Raiz("2024_03");
  int pagamentos = 0;
  for (pugi::xml_node pg = r.child("exec:Pagamento"); pg; pg = pg.next_sibling("exec:Pagamento")) ++pagamentos;
  EXPECT_EQ(pagamentos, 3001);

  for (int n : {2, escritas / 2}) {
    fs::remove_all(FPasta / "saida");
    FProcesso->GetMsgTreeLista()->Clear();
    nTesteGravacao::Desligar();
    nTesteGravacao::FalharNa(nTesteGravacao::TOperacao::Escrita, n);
    Rodar();
    nTesteGravacao::Desligar();
    // Neither the archive nor its folder nor a temporary: the folder the run made is gone.
    EXPECT_FALSE(fs::exists(FPasta / "saida")) << n << ": " << DescreverPasta(ConteudoPasta(FPasta / "saida"));
    ASSERT_EQ(Textos(tmErro).size(), 1u) << n;
    EXPECT_NE(Textos(tmErro)[0].find("/2024_03/ExecucaoEmpresas.zip\""), std::string::npos) << Textos(tmErro)[0];
    EXPECT_TRUE(Textos(tmConfirmacao).empty());
    EXPECT_TRUE(FProcesso->GetMsgTreeLista()->Falhou());
  }
}

}  // namespace
