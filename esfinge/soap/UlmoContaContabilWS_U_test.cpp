#include <gtest/gtest.h>

#include "Exceptions_U.h"
#include "UlmoContaContabilWS_U.h"
#include "UlmoLancamentoContabilWS_U.h"

using namespace nUlmoEsfingeXML;

TEST(EsfingeDocumentos, NewDocumentSerialisesRootAloneWithoutDeclaration) {
  auto doc = NewEnviarContaContabil();
  doc.SetChaveToken("null");
  doc.SetCompetencia(202102);
  EXPECT_EQ(doc.Xml(), "<enviar><chaveToken>null</chaveToken><competencia>202102</competencia></enviar>");
  EXPECT_EQ(doc.GetContaContabil().Count(), 0);

  auto lctos = NewEnviarLancamento();
  EXPECT_EQ(lctos.Node().parent().type(), pugi::node_document);
  EXPECT_STREQ(lctos.Node().name(), "enviar");
}

TEST(EsfingeDocumentos, ChildrenAppearInOrderOfFirstAccessAndKeepTheirPlace) {
  auto doc = NewEnviarLancamento();
  doc.SetChaveToken("null");
  doc.SetCompetencia(202104);
  auto item = doc.GetLancamentoContabil().Add();
  item.SetValorLancamento("1.00");
  item.SetIdRetorno(1);
  doc.SetChaveToken("abc");  // rewriting keeps the element first
  EXPECT_EQ(doc.Xml(),
            "<enviar><chaveToken>abc</chaveToken><competencia>202104</competencia><lancamentoContabil>"
            "<valorLancamento>1.00</valorLancamento><idRetorno>1</idRetorno></lancamentoContabil></enviar>");
  // A read of a missing child creates it, empty.
  EXPECT_EQ(item.GetHistoricoLancamento(), "");
  EXPECT_NE(doc.Xml().find("<historicoLancamento/>"), std::string::npos);
}

TEST(EsfingeDocumentos, ListAddsInsertsAndIndexes) {
  auto doc = NewEnviarContaContabil();
  auto lista = doc.GetContaContabil();
  lista.Add().SetCodigoConta("A");
  lista.Add().SetCodigoConta("C");
  lista.Insert(1).SetCodigoConta("B");
  lista.Insert(3).SetCodigoConta("D");
  ASSERT_EQ(lista.Count(), 4);
  EXPECT_EQ(lista[0].GetCodigoConta(), "A");
  EXPECT_EQ(lista[1].GetCodigoConta(), "B");
  EXPECT_EQ(lista.Items(2).GetCodigoConta(), "C");
  EXPECT_EQ(lista.Items(3).GetCodigoConta(), "D");
  EXPECT_THROW(lista.Items(4), std::out_of_range);
}

TEST(EsfingeDocumentos, IntegersReadBackAndNonNumbersRaise) {
  auto doc = NewEnviarContaContabil();
  auto item = doc.GetContaContabil().Add();
  item.SetNumeroNivel(-3);
  EXPECT_EQ(item.GetNumeroNivel(), -3);
  item.SetCodigoConta("x");
  EXPECT_THROW(item.GetCodigoBanco(), nFramework::EConvertError);  // empty
  doc.SetChaveToken("12a");
  EXPECT_EQ(doc.GetChaveToken(), "12a");
  EXPECT_THROW(doc.GetCompetencia(), nFramework::EConvertError);
}

TEST(EsfingeDocumentos, TextIsEscaped) {
  auto doc = NewEnviarContaContabil();
  auto item = doc.GetContaContabil().Add();
  item.SetNomeConta("Caixa <geral> & bancos");
  EXPECT_NE(doc.Xml().find("<nomeConta>Caixa &lt;geral&gt; &amp; bancos</nomeConta>"), std::string::npos);
  EXPECT_EQ(item.GetNomeConta(), "Caixa <geral> & bancos");
}
