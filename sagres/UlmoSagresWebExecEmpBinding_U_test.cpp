#include "UlmoSagresWebExecEmpBinding_U.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace nUlmoSagres;

namespace {

std::string Nomes(pugi::xml_node ANode) {
  std::string s;
  for (auto c : ANode.children()) s += std::string(s.empty() ? "" : " ") + c.name();
  return s;
}

TEST(SagresBindingTest, BindingAnEmptyDocumentCreatesOnlyTheRoot) {
  pugi::xml_document doc;
  auto raiz = PegarExecucaoEmpresas(doc);
  EXPECT_STREQ(doc.document_element().name(), "exec:ExecucaoEmpresas");
  EXPECT_EQ(Nomes(doc), "exec:ExecucaoEmpresas");
  EXPECT_EQ(Nomes(raiz.Node()), "");
  // Binding again finds the same element.
  EXPECT_EQ(PegarExecucaoEmpresas(doc).Node(), raiz.Node());
}

TEST(SagresBindingTest, ChildrenKeepFirstAccessOrderAndAreReplacedInPlace) {
  pugi::xml_document doc;
  auto pc = PegarExecucaoEmpresas(doc).PrestacaoContas();
  pc.SetCodigoUnidGestora("U1");
  pc.SetNomeUnidGestora("Nome");
  pc.SetAnoReferencia(2024);
  pc.SetCodigoUnidGestora("U2");
  EXPECT_EQ(Nomes(pc.Node()), "exec:codigoUnidGestora exec:nomeUnidGestora exec:anoReferencia");
  EXPECT_EQ(pc.CodigoUnidGestora(), "U2");
  EXPECT_EQ(pc.AnoReferencia(), 2024);
}

TEST(SagresBindingTest, ReadingAStoresElementCreatesIt) {
  pugi::xml_document doc;
  auto raiz = PegarExecucaoEmpresas(doc);
  raiz.Almoxarifado();
  EXPECT_EQ(Nomes(raiz.Node()), "exec:Almoxarifado");
}

TEST(SagresBindingTest, ListsAppendInCallOrderAndInsertAtAnIndex) {
  pugi::xml_document doc;
  auto raiz = PegarExecucaoEmpresas(doc);
  raiz.PrestacaoContas();
  raiz.Pagamento().Add().SetNumeroPagamento("1");
  raiz.Pagamento().Add().SetNumeroPagamento("2");
  raiz.Retencao().Add();
  raiz.Pagamento().Add().SetNumeroPagamento("3");
  raiz.Pagamento().Insert(0).SetNumeroPagamento("0");
  auto lista = raiz.Pagamento();
  EXPECT_EQ(lista.Count(), 4);
  EXPECT_EQ(lista.Item(1).NumeroPagamento(), "1");
  EXPECT_EQ(lista.Item(3).NumeroPagamento(), "3");
  // A later payment still goes after the earlier ones, before the withholding.
  EXPECT_EQ(Nomes(raiz.Node()),
            "exec:PrestacaoContas exec:Pagamento exec:Pagamento exec:Pagamento exec:Pagamento exec:Retencao");
  EXPECT_FALSE(lista.Item(9).Node());
}

TEST(SagresBindingTest, DocumentTypeChildrenCarryTheGenEmpPrefix) {
  pugi::xml_document doc;
  auto pg = PegarExecucaoEmpresas(doc).Pagamento().Add();
  pg.TipoDocumentoPagamento().NotaFiscal().SetNumeroNotaFiscal("0000000123");
  auto outros = pg.TipoDocumentoPagamento().OutrosDocumentos();
  EXPECT_STREQ(outros.Node().name(), "genEmp:OutrosDocumentos");
  EXPECT_EQ(Nomes(pg.TipoDocumentoPagamento().Node()), "genEmp:NotaFiscal genEmp:OutrosDocumentos");
  EXPECT_EQ(pg.TipoDocumentoPagamento().NotaFiscal().NumeroNotaFiscal(), "0000000123");
}

TEST(SagresBindingTest, ANonNumericIntegerChildFailsOnReading) {
  pugi::xml_document doc;
  auto pc = PegarExecucaoEmpresas(doc).PrestacaoContas();
  pc.Node().append_child("exec:anoReferencia").text().set("x");
  EXPECT_ANY_THROW(pc.AnoReferencia());
}

}  // namespace
