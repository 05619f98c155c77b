#include "UlmoSagresWebGerador_U.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "FormatUtils_U.h"

using namespace nUlmoSagres;
using nFramework::Currency;

namespace {

using R = TUlmoSagresWebRegistro;

TEST(SagresValoresTest, AmountsHaveTwoDecimalsAndAPointWhateverTheLocale) {
  auto moeda = [](const char* v) { return R::Moeda(Currency::FromString(v)); };
  EXPECT_EQ(moeda("1234.5"), "1234.50");
  EXPECT_EQ(moeda("-10"), "-10.00");
  EXPECT_EQ(moeda("0.125"), "0.13");
  EXPECT_EQ(moeda("-0.125"), "-0.13");
  EXPECT_EQ(moeda("2.675"), "2.68");
  EXPECT_EQ(moeda("1234567.891"), "1234567.89");
  EXPECT_EQ(moeda("1000000000000"), "1000000000000.00");
  // The largest a currency holds.
  EXPECT_EQ(R::Moeda(Currency::FromRaw(INT64_MAX)), "922337203685477.58");
  EXPECT_EQ(R::Moeda(Currency::FromRaw(INT64_MIN + 1)), "-922337203685477.58");
}

TEST(SagresValoresTest, NumbersArePaddedAndCut) {
  EXPECT_EQ(R::Preencher("123", 10), "0000000123");
  EXPECT_EQ(R::Preencher("1", 3), "001");
  EXPECT_EQ(R::Preencher("12345678901", 10), "12345678901");
  EXPECT_EQ(R::Cortar("1234567", 6), "123456");
  EXPECT_EQ(R::Cortar("AB", 3), "AB");
  // Characters, not bytes: an accented name is not cut inside a letter.
  EXPECT_EQ(R::Cortar("AÇÃO", 3), "AÇÃ");
}

TEST(SagresValoresTest, DatesAreIso) {
  EXPECT_EQ(R::Data(nFramework::EncodeDate(2024, 3, 5)), "2024-03-05");
}

// A writer that records the root it was given and may fail.
struct TRegistroTeste : TUlmoSagresWebRegistro {
  explicit TRegistroTeste(std::vector<int>& ALog, int AId, bool AFalhar) : Log(ALog), Id(AId), Falhar(AFalhar) {}
  void Executar() override {
    EXPECT_TRUE(ListaExecucaoEmpresas.Node());
    Log.push_back(Id);
    if (Falhar) throw std::runtime_error("falhou");
  }
  std::vector<int>& Log;
  int Id;
  bool Falhar;
};

TEST(SagresGeradorTest, WritersRunInOrderAndTheFirstFailureStopsTheWalk) {
  TUlmoSagresWebGerador g;
  ASSERT_EQ(g.Count(), 8u);
  // Only the test writers: the eight of the document need a database.
  while (g.Count()) g.Remove(g.Registro(0));
  std::vector<int> log;
  g.Add(std::make_unique<TRegistroTeste>(log, 1, false));
  g.Add(std::make_unique<TRegistroTeste>(log, 2, true));
  g.Add(std::make_unique<TRegistroTeste>(log, 3, false));
  pugi::xml_document doc;
  g.ListaExecucaoEmpresas = PegarExecucaoEmpresas(doc);
  EXPECT_THROW(g.Executar(), std::runtime_error);
  EXPECT_EQ(log, (std::vector<int>{1, 2}));
}

}  // namespace
