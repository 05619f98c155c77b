#include "UlmoDPTCESagresPgto_U.h"

#include <gtest/gtest.h>

#include "CelulaTeste_U.h"
#include "ClassRegistry_U.h"
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
