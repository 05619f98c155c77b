#include "FrmPowerParamcxGridCloseTab_U.h"

#include <gtest/gtest.h>

#include "ClassRegistry_U.h"
#include "Exceptions_U.h"

using namespace nFramework;

namespace {

TEST(ConvertCaptionEmNomeTest, KeepsLettersAndDigitsWithoutAccents) {
  EXPECT_EQ(ConvertCaptionEmNome("Lançamento Contábil", 0), "LancamentoContabil");
  EXPECT_EQ(ConvertCaptionEmNome("Ações (2024) - Índice nº 1", 0), "Acoes2024Indicen1");
  EXPECT_EQ(ConvertCaptionEmNome("Conta Contábil", 5), "Conta");
  EXPECT_EQ(ConvertCaptionEmNome("€ —", 0), "");
}

class TProcessoSemForm : public TnDMPowerParam {};
class TProcessoComDM : public TnDMPowerParam {
 public:
  std::string GetFormClass() const override { return "TnDMPowerParam"; }
};

TEST(CriarFormularioProcessoTest, RefusesAProcessWithoutAGridForm) {
  TProcessoSemForm semForm;
  EXPECT_THROW(nCriarFormularioProcesso(semForm), EInternalError);
  nRegisterClass<TnDMPowerParam>();
  TProcessoComDM comDM;
  EXPECT_THROW(nCriarFormularioProcesso(comDM), EInternalError);
  nUnRegisterClass<TnDMPowerParam>();
}

TEST(GerentecxGridTest, ViewsAreFoundByNameTheLastOneWinning) {
  TClientDataSet a, b;
  a.AddFieldDef("X", TFieldType::ftInteger);
  a.CreateDataSet();
  TnGerentecxGrid gerente("TFormTeste");
  gerente.CriarTabSheetBanded("Aba", a);
  gerente.ConfigurarGridFields(false, true);
  gerente.CriarTabSheetBanded("Aba", b);
  EXPECT_EQ(gerente.FindView("ABA")->DataSet, &b);
  EXPECT_EQ(gerente.FindView("Outra"), nullptr);
  EXPECT_THROW(gerente.GetDetalhes("Outra"), EInternalError);
  ASSERT_EQ(gerente.Views()[0]->Columns.size(), 1u);
  EXPECT_FALSE(gerente.Views()[0]->Columns[0].Visible);
  EXPECT_TRUE(gerente.Views()[0]->Columns[0].AllowGroup);
}

}  // namespace
