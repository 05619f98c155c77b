#include "Encoding_U.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Exceptions_U.h"

using namespace nFramework;
using ::testing::HasSubstr;

TEST(Encoding, PortugueseTextAndTheEuroTakeOneBytePerCharacter) {
  std::string bytes = Utf8ToWindows1252("São Ação € “x” Œ");
  EXPECT_EQ(bytes, "S\xE3o A\xE7\xE3o \x80 \x93x\x94 \x8C");
  EXPECT_EQ(Windows1252ToUtf8(bytes), "São Ação € “x” Œ");
  EXPECT_EQ(Windows1252ToUtf8("\xFF\xA0"), "ÿ\u00A0");
  EXPECT_THROW(Windows1252ToUtf8("a\x81"), EFileError);  // one of the five undefined bytes
}

TEST(Encoding, CharacterOutsideTheCodePageIsRefusedNamingTextAndCharacter) {
  try {
    Utf8ToWindows1252("Rua Łódź", "Arquivo \"Bem.txt\", linha 3");
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_THAT(e.Message(), HasSubstr("Arquivo \"Bem.txt\", linha 3"));
    EXPECT_THAT(e.Message(), HasSubstr("\"Ł\" (U+0141)"));
    EXPECT_THAT(e.Message(), HasSubstr("Rua Łódź"));
  }
  EXPECT_THROW(Utf8ToWindows1252("東京"), EFileError);
  EXPECT_THROW(Utf8ToWindows1252("\xC2\x81"), EFileError);  // U+0081: its byte means nothing in the code page
  EXPECT_EQ(CodificarTexto("Łódź", TEncoding::Utf8), "Łódź");
}

TEST(Encoding, MalformedUtf8IsRefused) {
  for (std::string bad : {"ab\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "x\xFFy", "\xE2\x82"}) {
    EXPECT_THROW(Utf8ToWindows1252(bad), EFileError) << bad;
    EXPECT_THROW(ValidarUtf8(bad), EFileError) << bad;
  }
  EXPECT_NO_THROW(ValidarUtf8("ok \xF0\x9F\x98\x80"));
}

TEST(Encoding, AMalformedByteAfterLongAsciiIsFoundAtItsPosition) {
  // Long ASCII stretches are checked a block at a time: a bad byte at any offset of a block,
  // or in the tail after the last whole block, is still found and named by its position.
  for (size_t at = 0; at < 40; ++at) {
    std::string t(41, 'a');
    t[at] = '\xFF';
    try {
      ValidarUtf8(t);
      ADD_FAILURE() << "aceito com o byte inválido na posição " << at + 1;
    } catch (const EFileError& e) {
      EXPECT_NE(std::string(e.what()).find("na posição " + std::to_string(at + 1) + ")"), std::string::npos) << e.what();
    }
  }
  EXPECT_NO_THROW(ValidarUtf8(std::string(1000, 'x') + "ção" + std::string(13, 'y')));
  EXPECT_THROW(ValidarUtf8(std::string(16, 'x') + "\xC3"), EFileError);
}
