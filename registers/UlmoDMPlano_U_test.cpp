#include "UlmoDMPlano_U.h"

#include <gtest/gtest.h>

#include "CadastrosTeste_U.h"
#include "UlmoDCPlano_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nUlmoTeste;

namespace {

class PlanoTest : public CadastrosTest {
 protected:
  std::string Conta(TnDMClientDataSet& aReg, const char* aSistema, const char* aTipo, TCampos aPR = {}) {
    TCampos campos{{"CODIGOSISTEMATCE", aSistema}, {"TIPOCONTA", aTipo}, {"CLASSIFCONTA", "1"}, {"DESCRCONTA", "ATIVO"}};
    campos.insert(campos.end(), aPR.begin(), aPR.end());
    return Incluir(aReg, campos);
  }
};

}  // namespace

TEST_F(PlanoTest, TheAdditionalInformationIsRequiredForPRAndEmptiedForAnyOtherCourt) {
  auto r = Abrir<TUlmoDMPlano>();
  // Typed for an SC account, and emptied all the same.
  ASSERT_EQ(Conta(*r, "1", "1", {{"NATUREZAINFORMACAO", "C"}, {"INDSUPERAVIT", "X"}}), "");
  // A PR account starts from the defaults; without one of them it is refused.
  const std::string antes = Conteudo("TCEPLANO");
  EXPECT_EQ(Conta(*r, "2", "1", {{"TIPOCONTROLECONTA", ""}}), "O campo \"TIPOCONTROLECONTA\" deve ser informado!");
  EXPECT_EQ(Conteudo("TCEPLANO"), antes);
  EXPECT_EQ(Conta(*r, "2", "1", {{"INDSUPERAVIT", "X"}}), "");
  // "pr" is not a TCE-PR system either.
  EXPECT_EQ(Conta(*r, "3", "2", {{"NATUREZAINFORMACAO", "P"}}), "");
  EXPECT_EQ(Conteudo("TCEPLANO"), "1|1|1|1|ATIVO|||\n2|1|1|1|ATIVO|O|X|O\n3|1|2|1|ATIVO|||\n");
}

TEST_F(PlanoTest, CodesArePerSystemWithinTheirRangeAndTheKeyStaysPut) {
  auto r = Abrir<TUlmoDMPlano>();
  ASSERT_EQ(Conta(*r, "1", "2"), "");
  ASSERT_EQ(Conta(*r, "1", "2"), "");
  ASSERT_EQ(Conta(*r, "2", "2"), "");
  EXPECT_EQ(Conteudo("TCEPLANO").substr(0, 6), "1|1|2|");
  EXPECT_EQ(Incluir(*r, {{"CODIGOSISTEMATCE", "1"}, {"CONTATCE", "10000000000"}, {"TIPOCONTA", "2"},
                         {"CLASSIFCONTA", "9"}, {"DESCRCONTA", "X"}}),
            "Conta TCE inválida!");
  EXPECT_EQ(Incluir(*r, {{"CODIGOSISTEMATCE", "1"}, {"TIPOCONTA", "3"}, {"CLASSIFCONTA", "9"}, {"DESCRCONTA", "X"}}),
            "Valor inválido no campo \"Tipo Conta\": 3 (valores: Analítica=2, Sintética=1)!");
  EXPECT_EQ(Conta(*r, "7", "2"), "O valor do campo \"Sistema TCE\" não está cadastrado: 7!");
  r->Abrir();
  r->nClientDataSet().Edit();
  r->nClientDataSet().FieldByName("CONTATCE").SetAsInteger(50);
  EXPECT_EQ(Gravar(*r), "A chave do registro não pode ser alterada (CODIGOSISTEMATCE;CONTATCE)!");
}

TEST_F(PlanoTest, TheLookupShowsTheAccountKindAfterTheDescription) {
  Executar(
      "insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA)"
      " values (1, 1, 1, '1', 'ATIVO'), (1, 2, 2, '1.1', 'CAIXA');");
  auto c = Abrir<TUlmoDCPlano>();
  TClientDataSet& d = c->nClientDataSet();
  ASSERT_EQ(d.RecordCount(), 2);
  EXPECT_EQ(d.FieldByName("DESCRCONTA").AsString(), "ATIVO | S");
  d.Next();
  EXPECT_EQ(d.FieldByName("DESCRCONTA").AsString(), "CAIXA | A");
  EXPECT_EQ(c->PegarTipoObjeto(), 2);
}
