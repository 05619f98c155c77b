#include "UlmoDPTCESagresPgto_U.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "CelulaTeste_U.h"
#include "ClassRegistry_U.h"
#include "Demo_U.h"
#include "ModuleLoader_U.h"
#include "TestFolder_U.h"
#include "UlmoDPTCESESagresReceita_U.h"
#include "Zip_U.h"
#include "SettingsTeste_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nSettingsTeste;

namespace {

class PgtoTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    Executar(
        "insert into CFOP values (5, 1, 1102, 'Compra'), (5, 1, 1556, 'Uso e consumo'),"
        " (5, 1, 2102, 'Compra fora'), (5, 2, 1102, 'Compra filial');"
        "insert into TCESESAGRESPGTO values (5, 1, 1556, 4), (5, 1, 2102, 3), (5, 2, 1102, 6);");
  }
  std::unique_ptr<TUlmoDPTCESagresPgto> Carregar(const char* aEstab, const char* aSomente = "0",
                                                 const char* aCFOP = "") {
    auto g = nCriarObjeto<TUlmoDPTCESagresPgto>();
    g->Param("pCodigoEmpresa").SetValue("5");
    g->Param("pCodigoEstab").SetValue(aEstab);
    g->Param("pSomenteConfigurados").SetValue(aSomente);
    g->Param("pCodigoCFOP").SetValue(aCFOP);
    nExecutarProcesso(*g);
    return g;
  }
  // The grid as "cfop=nature" (empty nature: none).
  static std::string Grade(TClientDataSet& d) {
    std::string r;
    for (d.First(); !d.Eof(); d.Next())
      r += (r.empty() ? "" : " ") + d.FieldByName("CodigoCFOP").AsString() + "=" + d.FieldByName("NaturezaPgto").AsString();
    return r;
  }
};

}  // namespace

TEST_F(PgtoTest, EveryCfopOfTheEstablishmentOrOnlyTheConfiguredOnes) {
  auto todos = Carregar("1");
  EXPECT_EQ(Grade(todos->curDados), "1102= 1556=4 2102=3");
  todos->curDados.First();
  EXPECT_EQ(todos->curDados.FieldByName("DescrCFOP").AsString(), "Compra");
  EXPECT_EQ(todos->curDados.FieldByName("CodigoEstab").AsInteger(), 1);
  EXPECT_EQ(Grade(Carregar("1", "1")->curDados), "1556=4 2102=3");
  EXPECT_EQ(Grade(Carregar("2")->curDados), "1102=6");
  EXPECT_EQ(Grade(Carregar("1", "0", "1000-1999")->curDados), "1102= 1556=4");
}

TEST_F(PgtoTest, WithoutAnEstablishmentNothingIsLoaded) {
  auto g = nCriarObjeto<TUlmoDPTCESagresPgto>();
  g->Param("pCodigoEmpresa").SetValue("5");
  g->Param("pCodigoEstab").SetValue("x");
  try {
    nExecutarProcesso(*g);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Filial Inválida! Verifique...");
  }
  EXPECT_EQ(g->curDados.RecordCount(), 0);
  g->Param("pCodigoEstab").SetValue("1");
  g->Param("pCodigoCFOP").SetValue("1102; delete from CFOP");
  EXPECT_THROW(nExecutarProcesso(*g), EnParam);
  EXPECT_EQ(g->curDados.RecordCount(), 0);
}

TEST_F(PgtoTest, AnEstablishmentTheCompanyHasNotShowedAnEmptyGrid) {
  // -1 and 9 passed and listed nothing; an empty, zero or unreadable one stopped as a run's failure.
  for (const char* estab : {"-1", "9", "0", "", "x", "99999999999999999999"}) {
    auto g = nCriarObjeto<TUlmoDPTCESagresPgto>();
    g->Param("pCodigoEmpresa").SetValue("5");
    g->Param("pCodigoEstab").SetValue(estab);
    try {
      nExecutarProcesso(*g);
      ADD_FAILURE() << estab << " passed";
    } catch (const EnParam& e) {
      EXPECT_EQ(e.Alias(), "pCodigoEstab") << estab;
      EXPECT_STREQ(e.what(), "Filial Inválida! Verifique...") << estab;
    }
  }
  // Establishment 2 is the company's own; 1 of company 6 is not.
  EXPECT_EQ(Grade(Carregar("2")->curDados), "1102=6");
  auto g = nCriarObjeto<TUlmoDPTCESagresPgto>();
  g->Param("pCodigoEmpresa").SetValue("6");
  g->Param("pCodigoEstab").SetValue("1");
  EXPECT_THROW(nExecutarProcesso(*g), EnParam);
}

TEST_F(PgtoTest, ANatureOfZeroIsNoNatureAndASaveStoresOnlyTheRowsWithOne) {
  auto g = Carregar("1");
  TClientDataSet& d = g->curDados;
  ASSERT_TRUE(d.Locate("CodigoCFOP", {1556}));
  d.Edit();
  d.FieldByName("NaturezaPgto").SetAsInteger(0);
  d.Post();
  EXPECT_TRUE(d.FieldByName("NaturezaPgto").IsNull());
  ASSERT_TRUE(d.Locate("CodigoCFOP", {1102}));
  d.Edit();
  d.FieldByName("NaturezaPgto").SetAsInteger(8);
  d.Post();
  g->Salvar();
  EXPECT_EQ(Conteudo("TCESESAGRESPGTO"), "5|1|1102|8\n5|1|2102|3\n5|2|1102|6\n");

  d.Edit();
  d.FieldByName("NaturezaPgto").SetAsInteger(9);
  d.Post();
  EXPECT_THROW(g->Salvar(), EnCampoGrid);
  EXPECT_EQ(Conteudo("TCESESAGRESPGTO"), "5|1|1102|8\n5|1|2102|3\n5|2|1102|6\n");
}

TEST_F(PgtoTest, ASaveOfAChosenCfopKeepsTheNaturesOfTheOthers) {
  auto g = Carregar("1", "0", "1556");
  TClientDataSet& d = g->curDados;
  ASSERT_EQ(Grade(d), "1556=4");
  d.First();
  d.Edit();
  d.FieldByName("NaturezaPgto").SetAsInteger(5);
  d.Post();
  g->Salvar();
  EXPECT_EQ(Conteudo("TCESESAGRESPGTO"), "5|1|1556|5\n5|1|2102|3\n5|2|1102|6\n");
}

TEST_F(PgtoTest, ASaveThatFailsHalfwayLeavesTheStoredNaturesAsTheyWere) {
  auto g = Carregar("1");
  TClientDataSet& d = g->curDados;
  // Another user removes a CFOP the grid still shows.
  Executar("delete from CFOP where CODIGOEMPRESA = 5 and CODIGOESTAB = 1 and CODIGOCFOP = 1102;");
  ASSERT_TRUE(d.Locate("CodigoCFOP", {1102}));
  d.Edit();
  d.FieldByName("NaturezaPgto").SetAsInteger(2);
  d.Post();
  EXPECT_THROW(g->Salvar(), Exception);
  EXPECT_EQ(Conteudo("TCESESAGRESPGTO"), "5|1|1556|4\n5|1|2102|3\n5|2|1102|6\n");
  EXPECT_TRUE(g->Alterado());
}

TEST_F(PgtoTest, ANatureIsOneToEightByCaptionOrValueAndZeroIsNone) {
  auto g = Carregar("1");
  TClientDataSet& d = g->curDados;
  EXPECT_EQ(d.CamposChave, "CodigoCFOP");
  EXPECT_EQ(d.FieldByName("CodigoCFOP").DisplayFormat, "#,###,###");
  EXPECT_EQ(d.FieldByName("CodigoCFOP").DisplayLabel, "Natureza");
  EXPECT_EQ(d.CampoEstilo, "Alterado");
  ASSERT_TRUE(d.Locate("CodigoCFOP", {1102}));
  TField& natureza = d.FieldByName("NaturezaPgto");
  DigitarCelula(d, "NaturezaPgto", "Investimentos");
  EXPECT_EQ(natureza.AsInteger(), 3);
  DigitarCelula(d, "NaturezaPgto", "8");
  EXPECT_EQ(natureza.AsInteger(), 8);
  try {
    natureza.OnValidate(natureza, "9");
    FAIL() << "nature 9 was taken";
  } catch (const EnCampoGrid& e) {
    EXPECT_STREQ(e.what(), "Natureza do pagamento inválida: 9!");
    EXPECT_EQ(e.Campo(), "NaturezaPgto");
  }
  EXPECT_THROW(natureza.OnValidate(natureza, "-1"), EnCampoGrid);
  EXPECT_THROW(natureza.OnValidate(natureza, "Outra"), EnCampoGrid);
  EXPECT_NO_THROW(natureza.OnValidate(natureza, "Retençoes"));
  EXPECT_NO_THROW(natureza.OnValidate(natureza, "consumo"));
  EXPECT_NO_THROW(natureza.OnValidate(natureza, ""));
  // 0 is no nature: the post clears it.
  natureza.OnValidate(natureza, "0");
  d.Edit();
  natureza.SetAsString("0");
  d.Post();
  EXPECT_TRUE(natureza.IsNull());
  for (const char* campo : {"CodigoCFOP", "DescrCFOP", "CodigoEstab", "CodigoEmpresa"})
    EXPECT_THROW(DigitarCelula(d, campo, "1"), Exception) << campo;
  EXPECT_EQ(d.FieldByName("CodigoCFOP").AsInteger(), 1102);
}

TEST_F(PgtoTest, ASaveWithNothingChangedWarnsAndWritesNothing) {
  // A stored nature 0 loads as none: any save would drop it.
  Executar("insert into CFOP values (5, 1, 5933, 'Serviço'); insert into TCESESAGRESPGTO values (5, 1, 5933, 0);");
  const std::string antes = Conteudo("TCESESAGRESPGTO");
  auto g = Carregar("1");
  g->GetMsgTreeLista()->Clear();
  g->Salvar();
  EXPECT_EQ(Conteudo("TCESESAGRESPGTO"), antes);
  EXPECT_EQ(g->GetMsgTreeLista()->Contar(tmAviso), 1u);
  EXPECT_EQ(g->GetMsgTreeLista()->Contar(tmConfirmacao), 0u);
}

namespace {

// The demo database; its SE company (4) is sent to SAGRES by the module that writes the
// document, opened as the program opens it.
class SagresDemoTest : public SettingsTest {
 protected:
  static void SetUpTestSuite() { FModulos.CarregarBiblioteca(ULMO_MODULO_SAGRES); }
  static void TearDownTestSuite() { FModulos.Descarregar(); }
  void SetUp() override {
    SettingsTest::SetUp();
    nHost::GerarDemo();
  }
  // The document of March 2024.
  pugi::xml_node Documento() {
    auto* p = dynamic_cast<TnDMPowerParam*>(CriarDMNovo("TUlmoDPGerarArquivosCtbSagresWebSE", nullptr));
    EXPECT_NE(p, nullptr);
    if (!p) return {};
    for (const auto& [alias, valor] : std::vector<std::pair<const char*, std::string>>{
             {"pCodigoSistemaTCE", "4"}, {"pDataInicial", "01/03/2024"}, {"pDataFinal", "31/03/2024"},
             {"pCodigoEmpresa", "4"}, {"pUnidadeGestora", "UG01"}, {"pContaCtbAlmoxarifado", "33"},
             {"pPastaDestino", FPasta.Path().string()}})
      p->Param(alias).SetValue(valor);
    nExecutarProcesso(*p);
    EXPECT_FALSE(p->GetMsgTreeLista()->Falhou());
    TnDataModule* dm = p;
    DestruirDMDefinitivo(dm);
    std::string xml = LerEntradaZip(FPasta / "2024_03" / "ExecucaoEmpresas.zip", "ExecucaoEmpresas.xml");
    EXPECT_TRUE(FXml.load_string(xml.c_str()));
    return FXml.document_element();
  }
  // "invoice=naturezaPagamento" of the payments of these invoice numbers.
  static std::string Naturezas(pugi::xml_node aDoc, std::initializer_list<const char*> aNotas) {
    std::string r;
    for (const char* nota : aNotas)
      for (auto pg : aDoc.children("exec:Pagamento"))
        if (std::string(pg.first_element_by_path("exec:TipoDocumentoPagamento/genEmp:NotaFiscal/genEmp:numeroNotaFiscal")
                            .child_value()) == nota)
          r += std::string(nota) + "=" + pg.child_value("exec:naturezaPagamento") + " ";
    return r;
  }

  static TnBibliotecas FModulos;
  TTestFolder FPasta;
  pugi::xml_document FXml;
};
TnBibliotecas SagresDemoTest::FModulos;

}  // namespace

// Invoice 3925 has only CFOP 2653 (Consumo), invoice 16119 only 1933 (Manutençao); both are paid
// in March 2024. Revenue type 01 has no rule.
TEST_F(SagresDemoTest, ARevenueRuleAndTwoNaturesEnteredInTheGridsReachTheSagresDocument) {
  pugi::xml_node antes = Documento();
  EXPECT_EQ(Naturezas(antes, {"0000003925", "0000016119"}), "0000003925=4 0000016119=5 ");
  EXPECT_FALSE(antes.find_child(
      [](pugi::xml_node n) { return std::string(n.child_value("exec:tipoReceita")) == "1"; }));

  auto receitas = nCriarObjeto<TUlmoDPTCESESagresReceita>();
  receitas->Param("pCodigoEmpresa").SetValue("4");
  nExecutarProcesso(*receitas);
  ASSERT_TRUE(receitas->curDados.Locate("TipoReceita", {1}));
  EXPECT_THROW(DigitarCelula(receitas->curDados, "RegraCalculo", "CREDITO(186"), EnCampoGrid);
  DigitarCelula(receitas->curDados, "RegraCalculo", "1003 / 2 + SALDOATUAL(99999)");
  ASSERT_TRUE(receitas->ExecutarAcao("actSalvar"));
  EXPECT_FALSE(receitas->GetMsgTreeLista()->Falhou());

  auto pagamentos = nCriarObjeto<TUlmoDPTCESagresPgto>();
  pagamentos->Param("pCodigoEmpresa").SetValue("4");
  pagamentos->Param("pCodigoEstab").SetValue("1");
  nExecutarProcesso(*pagamentos);
  TClientDataSet& d = pagamentos->curDados;
  ASSERT_TRUE(d.Locate("CodigoCFOP", {2653}));
  DigitarCelula(d, "NaturezaPgto", "Tributos");
  ASSERT_TRUE(d.Locate("CodigoCFOP", {1933}));
  DigitarCelula(d, "NaturezaPgto", "2");
  ASSERT_TRUE(pagamentos->ExecutarAcao("actSalvar"));
  EXPECT_FALSE(pagamentos->GetMsgTreeLista()->Falhou());

  pugi::xml_node depois = Documento();
  EXPECT_EQ(Naturezas(depois, {"0000003925", "0000016119"}), "0000003925=7 0000016119=2 ");
  pugi::xml_node receita = depois.find_child(
      [](pugi::xml_node n) { return std::string(n.child_value("exec:tipoReceita")) == "1"; });
  ASSERT_TRUE(receita);
  EXPECT_STREQ(receita.child_value("exec:valorArrecadadoNoMes"), "501.50");
}
