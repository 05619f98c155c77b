#include "UlmoDMCfgEmpresaTce_U.h"

#include <gtest/gtest.h>

#include "ClassRegistry_U.h"
#include "SettingsTeste_U.h"
#include "UlmoDMTceESfingeOnlineEnvio_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nSettingsTeste;

namespace {

class CfgEmpresaTceTest : public SettingsTest {
 protected:
  // Posts the row in edit and writes it; the refusal's message (the row cancelled), or "".
  static std::string Gravar(TnDMClientDataSet& aReg) {
    try {
      aReg.nClientDataSet().Post();
    } catch (const std::exception& e) {
      aReg.nClientDataSet().Cancel();
      return e.what();
    }
    if (aReg.ApplyUpdates(0) > 0) return aReg.ErrosApplyUpdates().front();
    return "";
  }
};

const char* const kTokenFixo = "O campo \"Token e-Sfinge On-line\" não pode ser alterado!";

}  // namespace

TEST_F(CfgEmpresaTceTest, TheTokenIsShownButNeverWrittenThroughTheRegister) {
  auto reg = nCriarObjeto<TUlmoDMCfgEmpresaTce>();
  reg->Abrir();
  TClientDataSet& d = reg->nClientDataSet();
  EXPECT_TRUE(d.FieldByName("TOKENESFINGE").ReadOnly);
  d.Append();
  d.FieldByName("CODIGOEMPRESA").SetAsString("5");
  d.FieldByName("TOKENESFINGE").SetAsString("forjado");
  EXPECT_EQ(Gravar(*reg), kTokenFixo);
  EXPECT_EQ(Conteudo("CFGEMPRESATCE", "1"), "");

  // The login stores a token; the register may move the row but keeps the token as stored.
  Executar("insert into CFGEMPRESATCE values (5, 'tok-123');");
  reg->Abrir();
  d.Edit();
  d.FieldByName("TOKENESFINGE").SetAsString("outro");
  EXPECT_EQ(Gravar(*reg), kTokenFixo);
  reg->Abrir();
  d.Edit();
  d.FieldByName("CODIGOEMPRESA").SetAsString("6");
  EXPECT_EQ(Gravar(*reg), kTokenFixo);  // company 6 has no token of its own
  EXPECT_EQ(Conteudo("CFGEMPRESATCE", "1"), "5|tok-123\n");
}

TEST_F(CfgEmpresaTceTest, TheCompanyMustExistAndFitItsRange) {
  auto reg = nCriarObjeto<TUlmoDMCfgEmpresaTce>();
  reg->Abrir();
  TClientDataSet& d = reg->nClientDataSet();
  d.Append();
  d.FieldByName("CODIGOEMPRESA").SetAsString("32768");
  EXPECT_EQ(Gravar(*reg), "Código da empresa inválido!");
  d.Append();
  d.FieldByName("CODIGOEMPRESA").SetAsString("7");
  EXPECT_NE(Gravar(*reg), "");
  d.Append();
  d.FieldByName("CODIGOEMPRESA").SetAsString("6");
  EXPECT_EQ(Gravar(*reg), "");
  EXPECT_EQ(Conteudo("CFGEMPRESATCE", "1"), "6|\n");
}

TEST_F(CfgEmpresaTceTest, ABatchIsKeyedByCompanyMonthAndSequence) {
  Executar("insert into TCEESFINGEONLINEENVIO values (5, '2024-03-01', 1, '2024-04-02', 1, 'k1', 'r1');");
  auto reg = nCriarObjeto<TUlmoDMTceESfingeOnlineEnvio>();
  reg->Abrir();
  TClientDataSet& d = reg->nClientDataSet();
  ASSERT_EQ(d.RecordCount(), 1);
  EXPECT_FALSE(d.FieldByName("CODIGOEMPRESA").Visible);
  EXPECT_EQ(d.FieldByName("CHAVEPACOTE").AsString(), "k1");
  d.Append();
  d.FieldByName("CODIGOEMPRESA").SetAsString("5");
  d.FieldByName("COMPETENCIA").SetAsString("2024-03-01");
  d.FieldByName("SEQ").SetAsString("1");
  EXPECT_NE(Gravar(*reg), "");
  d.Append();
  d.FieldByName("CODIGOEMPRESA").SetAsString("5");
  d.FieldByName("COMPETENCIA").SetAsString("2024-03-01");
  d.FieldByName("SEQ").SetAsString("2");
  d.FieldByName("STATUS").SetAsString("0");
  EXPECT_EQ(Gravar(*reg), "");
  EXPECT_EQ(Conteudo("TCEESFINGEONLINEENVIO"), "5|01/03/2024|1|02/04/2024|1|k1|r1\n5|01/03/2024|2||0||\n");
}
