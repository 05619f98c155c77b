#include "InscricaoFederal_U.h"

#include <gtest/gtest.h>

using namespace nHost;

TEST(InscricaoFederal, GeneratesTheCheckDigitsOfKnownRegistrations) {
  EXPECT_EQ(GerarCNPJ(11222333, 1), "11.222.333/0001-81");
  EXPECT_EQ(GerarCPF(111444777), "111.444.777-35");
  EXPECT_EQ(GerarCNPJ(4252011, 1), "04.252.011/0001-10");  // a remainder below 2 gives 0
}

TEST(InscricaoFederal, ValidatesDigitsWhateverThePunctuation) {
  EXPECT_TRUE(CNPJValido("11222333000181"));
  EXPECT_FALSE(CNPJValido("11.222.333/0001-82"));
  EXPECT_FALSE(CNPJValido("11.222.333/0001"));
  EXPECT_FALSE(CNPJValido("00000000000000"));
  EXPECT_TRUE(CPFValido("111.444.777-35"));
  EXPECT_FALSE(CPFValido("111.444.777-53"));
  EXPECT_FALSE(CPFValido("11111111111"));
  for (uint32_t raiz : {1u, 7214389u, 99999999u}) EXPECT_TRUE(CNPJValido(GerarCNPJ(raiz, 3))) << raiz;
}
