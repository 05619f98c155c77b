#include "EscritorSagres_U.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <pugixml.hpp>
#include <sstream>
#include <vector>

#include "Exceptions_U.h"

using namespace nUlmoSagres;
using namespace nFramework;

namespace {

using E = TEscritorSagres;

TEST(SagresValoresTest, AmountsHaveTwoDecimalsAndAPointWhateverTheLocale) {
  auto moeda = [](const char* v) { return E::Moeda(Currency::FromString(v)); };
  EXPECT_EQ(moeda("1234.5"), "1234.50");
  EXPECT_EQ(moeda("-10"), "-10.00");
  EXPECT_EQ(moeda("0.125"), "0.13");
  EXPECT_EQ(moeda("-0.125"), "-0.13");
  EXPECT_EQ(moeda("2.675"), "2.68");
  EXPECT_EQ(moeda("1234567.891"), "1234567.89");
  EXPECT_EQ(moeda("1000000000000"), "1000000000000.00");
  // The largest a currency holds.
  EXPECT_EQ(E::Moeda(Currency::FromRaw(INT64_MAX)), "922337203685477.58");
  EXPECT_EQ(E::Moeda(Currency::FromRaw(INT64_MIN + 1)), "-922337203685477.58");
}

TEST(SagresValoresTest, NumbersArePaddedAndCutAndDatesAreIso) {
  EXPECT_EQ(E::Preencher("123", 10), "0000000123");
  EXPECT_EQ(E::Preencher("1", 3), "001");
  EXPECT_EQ(E::Preencher("12345678901", 10), "12345678901");
  EXPECT_EQ(E::Cortar("1234567", 6), "123456");
  EXPECT_EQ(E::Cortar("AB", 3), "AB");
  // Characters, not bytes: an accented name is not cut inside a letter.
  EXPECT_EQ(E::Cortar("AÇÃO", 3), "AÇÃ");
  EXPECT_EQ(E::Data(EncodeDate(2024, 3, 5)), "2024-03-05");
}

// The document as the DOM the writer replaced rendered it: each child appended in order.
class TDom {
 public:
  TDom() { FRaiz = FDoc.append_child("exec:ExecucaoEmpresas"); }
  pugi::xml_node Registro(const char* nome) { return FRaiz.append_child(nome); }
  static pugi::xml_node Texto(pugi::xml_node pai, const char* nome, const std::string& valor) {
    pugi::xml_node n = pai.append_child(nome);
    n.text().set(valor.c_str());
    return n;
  }
  static void Inteiro(pugi::xml_node pai, const char* nome, int64_t valor) {
    pai.append_child(nome).text().set(static_cast<long long>(valor));
  }
  std::string Bytes() {
    FRaiz.append_attribute("xmlns:exec") = "http://www.tce.se.gov.br/sagres2017/xml/ExecucaoEmpresas";
    FRaiz.append_attribute("xmlns:genEmp") = "http://www.tce.se.gov.br/sagres2017/xml/GenericosEmpresas";
    pugi::xml_node d = FDoc.prepend_child(pugi::node_declaration);
    d.append_attribute("version") = "1.0";
    d.append_attribute("encoding") = "utf-8";
    std::ostringstream xml;
    FDoc.save(xml, "  ", pugi::format_default, pugi::encoding_utf8);
    return xml.str();
  }

 private:
  pugi::xml_document FDoc;
  pugi::xml_node FRaiz;
};

// Every byte a database text may hold, a NUL inside, markup characters and accents.
std::string TextoDificil() {
  std::string s = "A & B <C> \"D\" 'E' São João — ";
  for (int c = 1; c < 256; ++c) s += static_cast<char>(c);
  s += std::string("\0depois", 7);
  return s;
}

TEST(EscritorSagresTest, TheDocumentIsByteForByteWhatTheDomWrote) {
  const std::string dificil = TextoDificil();
  const TDateTime inicio = EncodeDate(2024, 3, 1), fim = EncodeDate(2024, 3, 31);
  TStringSink saida;
  TEscritorSagres e(saida);
  TDom dom;

  e.PrestacaoContas({"UG01", dificil, "12345678909", "", inicio, fim});
  pugi::xml_node pc = dom.Registro("exec:PrestacaoContas");
  TDom::Texto(pc, "exec:codigoUnidGestora", "UG01");
  TDom::Texto(pc, "exec:nomeUnidGestora", dificil);
  TDom::Texto(pc, "exec:cpfContador", "12345678909");
  TDom::Texto(pc, "exec:cpfGestor", "");
  TDom::Inteiro(pc, "exec:anoReferencia", 2024);
  TDom::Inteiro(pc, "exec:mesReferencia", 3);
  TDom::Inteiro(pc, "exec:versaoXml", 0);
  TDom::Inteiro(pc, "exec:diaInicPresContas", 1);
  TDom::Inteiro(pc, "exec:diaFinaPresContas", 31);

  for (const std::string& nome : {std::string("Fornecedor Ltda"), dificil, std::string(150, 'x')}) {
    TPagamentoSagres p{"123456789012", EncodeDate(2024, 3, 20), Currency::FromString("1234.5"), 5, "12345678000190",
                       nome, EncodeDate(2024, 3, 1), 123, "ABCD"};
    e.Pagamento(p);
    pugi::xml_node pg = dom.Registro("exec:Pagamento");
    TDom::Texto(pg, "exec:numeroPagamento", "1234567890");
    TDom::Inteiro(pg, "exec:anoPagamento", 2024);
    TDom::Texto(pg, "exec:dataPagamento", "2024-03-20");
    TDom::Texto(pg, "exec:valorPagamento", "1234.50");
    TDom::Inteiro(pg, "exec:naturezaPagamento", 5);
    TDom::Texto(pg, "exec:cpfCnpjCredor", "12345678000190");
    TDom::Texto(pg, "exec:nomeRazaoSocialCredor", E::Cortar(nome, 100));
    pugi::xml_node nf = pg.append_child("exec:TipoDocumentoPagamento").append_child("genEmp:NotaFiscal");
    TDom::Texto(nf, "genEmp:dataEmissaoNota", "2024-03-01");
    TDom::Texto(nf, "genEmp:numeroNotaFiscal", "0000000123");
    TDom::Texto(nf, "genEmp:nrSerieNotaFiscal", "ABC");
  }

  e.Retencao({123, EncodeDate(2024, 3, 1), "22", Currency::FromString("-0.125")});
  pugi::xml_node rt = dom.Registro("exec:Retencao");
  TDom::Texto(rt, "exec:numeroPagamento", "0000000123");
  TDom::Inteiro(rt, "exec:anoPagamento", 2024);
  TDom::Texto(rt, "exec:tipoRetencao", "22");
  TDom::Texto(rt, "exec:valorRetencao", "-0.13");

  e.Receita(4, Currency::FromInt(50));
  pugi::xml_node rc = dom.Registro("exec:Receita");
  TDom::Inteiro(rc, "exec:tipoReceita", 4);
  TDom::Texto(rc, "exec:valorArrecadadoNoMes", "50.00");
  e.Despesa(-1, Currency::FromString("2.675"));
  pugi::xml_node dp = dom.Registro("exec:Despesa");
  TDom::Inteiro(dp, "exec:tipoDespesa", -1);
  TDom::Texto(dp, "exec:valorDespesaNoMes", "2.68");

  e.ContaBancaria({1, 1234567, dificil, Currency::FromInt(100), Currency::FromInt(50), Currency::FromInt(30),
                   Currency::FromInt(120)});
  pugi::xml_node cb = dom.Registro("exec:ContaBancaria");
  TDom::Texto(cb, "exec:codigoBanco", "001");
  TDom::Texto(cb, "exec:codigoAgencia", "123456");
  TDom::Texto(cb, "exec:numeroContaBancaria", dificil);
  TDom::Texto(cb, "exec:valorSaldoInicialNoMes", "100.00");
  TDom::Texto(cb, "exec:valorTotalDebitos", "30.00");
  TDom::Texto(cb, "exec:valorTotalCreditos", "50.00");
  TDom::Texto(cb, "exec:valorConciliacao", "120.00");

  e.Patrimonio("1", "<P>", Currency::FromInt(30));
  pugi::xml_node pt = dom.Registro("exec:Patrimonio");
  TDom::Texto(pt, "exec:tipoPatrimonio", "1");
  TDom::Texto(pt, "exec:tipoLancamento", "<P>");
  TDom::Texto(pt, "exec:vl_Lancamento", "30.00");

  e.Almoxarifado({Currency(), Currency::FromInt(30), Currency(), Currency::FromInt(-30)});
  pugi::xml_node al = dom.Registro("exec:Almoxarifado");
  TDom::Texto(al, "exec:vl_SaldoInicial", "0.00");
  TDom::Texto(al, "exec:vl_Entrada", "30.00");
  TDom::Texto(al, "exec:vl_Saida", "0.00");
  TDom::Texto(al, "exec:vl_SaldoFinal", "-30.00");

  e.Concluir();
  EXPECT_EQ(saida.Text(), dom.Bytes());
  EXPECT_EQ(e.Bytes(), saida.Text().size());
  EXPECT_FALSE(saida.Committed());  // its owner commits it
}

TEST(EscritorSagresTest, ADocumentWithoutRecordsIsAnEmptyRoot) {
  TStringSink saida;
  TEscritorSagres e(saida);
  e.Concluir();
  EXPECT_EQ(saida.Text(), TDom().Bytes());
}

TEST(EscritorSagresTest, ARecordOutOfTheDocumentsOrderIsOurBug) {
  auto tenta = [](auto&& escrever) {
    TStringSink saida;
    TEscritorSagres e(saida);
    try {
      escrever(e);
    } catch (const EInternalError&) {
      return true;
    }
    return false;
  };
  const TPrestacaoContasSagres pc{"UG", "", "", "", EncodeDate(2024, 1, 1), EncodeDate(2024, 1, 31)};
  EXPECT_TRUE(tenta([](TEscritorSagres& e) { e.Receita(1, Currency()); }));  // before the accounts rendered
  EXPECT_TRUE(tenta([&](TEscritorSagres& e) {
    e.PrestacaoContas(pc);
    e.PrestacaoContas(pc);
  }));
  EXPECT_TRUE(tenta([&](TEscritorSagres& e) {
    e.PrestacaoContas(pc);
    e.Despesa(1, Currency());
    e.Receita(1, Currency());
  }));
  EXPECT_TRUE(tenta([&](TEscritorSagres& e) {
    e.PrestacaoContas(pc);
    e.Almoxarifado({});
    e.Almoxarifado({});
  }));
  EXPECT_TRUE(tenta([&](TEscritorSagres& e) {
    e.PrestacaoContas(pc);
    e.Concluir();
    e.Receita(1, Currency());
  }));
  EXPECT_FALSE(tenta([&](TEscritorSagres& e) {
    e.PrestacaoContas(pc);
    e.Receita(1, Currency());
    e.Receita(2, Currency());
    e.Patrimonio("1", "P", Currency());
    e.Almoxarifado({});
    e.Concluir();
  }));
}

// Records what reaches it, write by write; fails the write numbered FalharNa.
class TSinkGravado : public IOutputSink {
 public:
  void Write(std::string_view bytes) override {
    if (++FEscritas == FalharNa) throw EFileError("Erro ao gravar o arquivo \"x.zip\": disco cheio");
    Tamanhos.push_back(bytes.size());
    Texto.append(bytes);
  }
  void Commit() override { Committed = true; }
  std::vector<size_t> Tamanhos;
  std::string Texto;
  int FalharNa = 0;
  bool Committed = false;

 private:
  int FEscritas = 0;
};

TPagamentoSagres UmPagamento(int i) {
  return {std::to_string(i), EncodeDate(2024, 3, 20), Currency::FromInt(i), 1, "12345678000190",
          "Fornecedor " + std::to_string(i), EncodeDate(2024, 3, 1), i, "A"};
}

TEST(EscritorSagresTest, RowsReachTheSinkAsTheyComeInBlocksNotAtTheEnd) {
  TSinkGravado saida;
  TEscritorSagres e(saida);
  e.PrestacaoContas({"UG", "", "", "", EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31)});
  for (int i = 0; i < 20000; ++i) e.Pagamento(UmPagamento(i));
  // Before the end, most of the document is in the sink already, block by block.
  ASSERT_GE(saida.Tamanhos.size(), 100u);
  for (size_t t : saida.Tamanhos) EXPECT_LT(t, 72u * 1024) << "one block and one record at most";
  const size_t antes = saida.Texto.size();
  e.Concluir();
  EXPECT_LT(saida.Texto.size() - antes, 72u * 1024);
  EXPECT_EQ(e.Bytes(), saida.Texto.size());
  EXPECT_EQ(saida.Texto.substr(saida.Texto.size() - 26), "\n</exec:ExecucaoEmpresas>\n");
}

TEST(EscritorSagresTest, ASinkFailingMidDocumentStopsTheWriterWithItsError) {
  TSinkGravado saida;
  saida.FalharNa = 3;
  TEscritorSagres e(saida);
  e.PrestacaoContas({"UG", "", "", "", EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31)});
  int escritos = 0;
  try {
    for (; escritos < 20000; ++escritos) e.Pagamento(UmPagamento(escritos));
    FAIL() << "the failure did not reach the caller";
  } catch (const EFileError& erro) {
    EXPECT_NE(std::string(erro.what()).find("x.zip"), std::string::npos);
  }
  EXPECT_GT(escritos, 0);
  EXPECT_LT(escritos, 20000);
  EXPECT_EQ(saida.Tamanhos.size(), 2u);
  EXPECT_FALSE(saida.Committed);
}

}  // namespace
