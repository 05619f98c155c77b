#include "ListaLinhas_U.h"

#include <gtest/gtest.h>

using namespace nFramework;

TEST(ListaLinhas, SortsWithoutRegardToCaseAndKeepsTheOrderOfEqualLines) {
  TListaLinhas l;
  for (const char* t : {"b2", "A1", "a1", "B1", "", "ção"}) l.Add(t);
  l.Sort();
  std::vector<std::string> r;
  for (size_t i = 0; i < l.Count(); ++i) r.emplace_back(l[i]);
  EXPECT_EQ(r, (std::vector<std::string>{"", "A1", "a1", "B1", "b2", "ção"}));
  EXPECT_EQ(l.Bytes(), 13u);
  l.Clear();
  EXPECT_TRUE(l.Empty());
}

TEST(ListaLinhas, LinesAcrossBlocksAndLongCommonPrefixesKeepTheirOrder) {
  TListaLinhas l;
  std::string base(30, 'x');  // longer than the compared prefix
  for (int i = 9999; i >= 0; --i) l.Add(base + std::to_string(i % 10) + std::string(2000, 'y'));
  l.Add(std::string(20u << 20, 'z'));  // larger than a block
  l.Sort();
  EXPECT_EQ(l[0].substr(30, 1), "0");
  EXPECT_EQ(l[9999].substr(30, 1), "9");
  EXPECT_EQ(l[10000].size(), 20u << 20);
}
