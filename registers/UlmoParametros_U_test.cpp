#include "UlmoParametros_U.h"

#include <gtest/gtest.h>

#include "ClassRegistry_U.h"
#include "PowerParam_U.h"

using namespace nFramework;
using namespace nUlmo;

namespace {

class TProcessoDatas : public TnDMPowerParam {
 public:
  TProcessoDatas() {
    AddParam({.Alias = "pDataInicial", .Caption = "Data Inicial", .Dicionario = "DICDATA"});
    AddParam({.Alias = "pDataFinal", .Caption = "Data Final", .Dicionario = "DICDATA"});
  }
  std::string Erro(const std::string& AInicial, const std::string& AFinal) {
    Param("pDataInicial").SetValue(AInicial);
    Param("pDataFinal").SetValue(AFinal);
    try {
      LerPeriodoParametros(*this, "pDataInicial", "pDataFinal", "fim antes do início");
    } catch (const EnParam& e) {
      return e.Alias() + ": " + e.what();
    }
    return "";
  }
};

}  // namespace

TEST(UlmoParametros, EachDateOfAPeriodGetsItsOwnMessageBeforeTheirOrder) {
  TProcessoDatas p;
  EXPECT_EQ(p.Erro("01/01/2024", "31/12/2024"), "");
  EXPECT_EQ(p.Erro(" 31/12/2024 ", "31/12/2024"), "");
  EXPECT_EQ(p.Erro("", "31/12/2024"), "pDataInicial: Data inicial inválida!");
  EXPECT_EQ(p.Erro("01/01/2024", ""), "pDataFinal: Data final inválida!");
  EXPECT_EQ(p.Erro("01/01/2024", "31/02/2024"), "pDataFinal: Data final inválida!");
  EXPECT_EQ(p.Erro("01/01/2025", "31/12/2024"), "pDataFinal: fim antes do início");
  p.Param("pDataInicial").SetValue("29/02/2024");
  EXPECT_EQ(LerDataParametro(p, "pDataInicial", "x"), EncodeDate(2024, 2, 29));
}

TEST(UlmoParametros, AnOriginIsInAListOnlyAsAWholeItem) {
  using V = std::vector<std::string>;
  EXPECT_EQ(ItensOrigem("'ZZ'"), V{"ZZ"});
  EXPECT_EQ(ItensOrigem(" 'ZZ', '10' ;AP;; "), (V{"ZZ", "10", "AP"}));
  EXPECT_EQ(ItensOrigem(""), V{});
  EXPECT_TRUE(OrigemNaLista("10", ItensOrigem("'10'")));
  EXPECT_TRUE(OrigemNaLista(" ZZ", ItensOrigem("'ZZ','10'")));
  EXPECT_FALSE(OrigemNaLista("1", ItensOrigem("'10'")));
  EXPECT_FALSE(OrigemNaLista("Z", ItensOrigem("'ZZ'")));
  EXPECT_FALSE(OrigemNaLista("'", ItensOrigem("'ZZ'")));
  EXPECT_FALSE(OrigemNaLista("", ItensOrigem("'ZZ',,")));
}

TEST(UlmoParametros, APeriodFromYearOneOrTo9999PassedAsDates) {
  // 01/01/0001 made a monthly run walk 24,277 months; 31/12/9999 passed and then failed.
  TProcessoDatas p;
  EXPECT_EQ(p.Erro("01/01/0001", "31/12/2024"), "pDataInicial: Data inicial inválida!");
  EXPECT_EQ(p.Erro("31/12/1899", "31/12/2024"), "pDataInicial: Data inicial inválida!");
  EXPECT_EQ(p.Erro("01/01/2024", "31/12/9999"), "pDataFinal: Data final inválida!");
  EXPECT_EQ(p.Erro("01/01/2024", "01/01/2101"), "pDataFinal: Data final inválida!");
  // The first and last days of the years allowed pass.
  EXPECT_EQ(p.Erro("01/01/1900", "31/12/2100"), "");
}
