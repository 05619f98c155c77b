#include "Leiaute_U.h"

#include <gtest/gtest.h>

#include "AtomicFile_U.h"

namespace nFramework {
namespace {

const TLeiaute& Fixo() {
  static const TLeiaute l{.Nome = "REG",
                          .Campos = {{.Nome = "Codigo", .Largura = 4, .Tipo = TTipoCampo::Numero},
                           {.Nome = "Nome", .Largura = 6},
                           {.Nome = "Data", .Largura = 8, .Tipo = TTipoCampo::Data},
                           {.Nome = "Valor", .Largura = 10, .Tipo = TTipoCampo::Valor}}};
  return l;
}

const TLeiaute& Delimitado() {
  static const TLeiaute l{.Nome = "REC",
                          .Campos = {{.Nome = "Conta", .Largura = 3, .Tipo = TTipoCampo::Numero, .Preenchimento = '0'},
                           {.Nome = "Nome", .Largura = 5},
                           {.Nome = "Valor", .Tipo = TTipoCampo::Valor, .Sinal = true}},
                          .Separador = "|",
                          .SeparadorNoFim = true};
  return l;
}

class TSinkFalho : public IOutputSink {
 public:
  void Write(std::string_view) override { throw EFileError("disco cheio"); }
  void Commit() override {}
};

TEST(FormatarValor, EveryCourtFormatRoundsHalfAwayFromZero) {
  EXPECT_EQ(FormatarValor(Currency::FromString("0.125"), TFormatoValor::Ponto), "0.13");
  EXPECT_EQ(FormatarValor(Currency::FromString("2.675"), TFormatoValor::Ponto), "2.68");
  EXPECT_EQ(FormatarValor(Currency::FromDouble(2.675), TFormatoValor::Virgula), "2,68");
  EXPECT_EQ(FormatarValor(Currency::FromString("-0.125"), TFormatoValor::Ponto), "-0.13");
  EXPECT_EQ(FormatarValor(Currency::FromString("-0.004"), TFormatoValor::Ponto), "0.00");
  EXPECT_EQ(FormatarValor(Currency::FromInt(1000000000000), TFormatoValor::Ponto), "1000000000000.00");
  EXPECT_EQ(FormatarValor(Currency::FromString("1234.5"), TFormatoValor::Centavos), "123450");
  EXPECT_EQ(FormatarValor(Currency::FromString("0.07"), TFormatoValor::Centavos), "007");
  EXPECT_EQ(FormatarValor(Currency::FromRaw(INT64_MIN), TFormatoValor::Ponto), "-922337203685477.58");
}

TEST(FormatarValor, AMillionTenthsSumExactly) {
  Currency soma;
  const Currency decimo = Currency::FromString("0.1");
  for (int i = 0; i < 1000000; ++i) soma += decimo;
  EXPECT_EQ(FormatarValor(soma, TFormatoValor::Ponto), "100000.00");
}

TEST(TEscritorLeiaute, FixedWidthLinesInWindows1252WithCrlf) {
  TStringSink sink;
  TEscritorLeiaute e(sink, "Teste.txt");
  e.Linha(Fixo()).Numero(12).Texto("Ação").Data(2024, 1, 31).Valor(Currency::FromString("2.675")).Gravar();
  e.Linha(Fixo()).Numero("7").Texto("Descrição longa").Data(2024, 12, 1).Valor(Currency()).Gravar();
  EXPECT_EQ(sink.Text(), "") << "nothing reaches the sink before the block fills or Concluir";
  e.Concluir();
  EXPECT_EQ(sink.Text(),
            "0012A\xE7\xE3o  202401310000002.68\r\n"
            "0007Descri202412010000000.00\r\n");
  EXPECT_EQ(e.Linhas(), 2);
  EXPECT_EQ(e.Bytes(), sink.Text().size());
  EXPECT_FALSE(sink.Committed());
}

TEST(TEscritorLeiaute, DelimitedFieldsAreFilledOnlyWhenAsked) {
  TStringSink sink;
  TEscritorLeiaute e(sink, "Teste.txt");
  e.Linha(Delimitado()).Numero(5).Texto("abcdefg").Valor(Currency::FromString("-1.5")).Gravar();
  e.Linha(Delimitado()).Numero(123).Vazio().Valor(Currency::FromInt(1000000000000)).Gravar();
  e.Concluir();
  EXPECT_EQ(sink.Text(), "005|abcde|-1.50|\r\n123||1000000000000.00|\r\n");
}

TEST(TEscritorLeiaute, ValueThatDoesNotFitNamesFileRecordAccountFieldAndValue) {
  TStringSink sink;
  TEscritorLeiaute e(sink, "Teste.txt");
  e.Linha(Fixo()).Numero(1).Texto("a").Data(2024, 1, 1).Valor(Currency::FromString("1")).Gravar();
  try {
    e.Linha(Fixo(), "1.1.1").Numero(12345);
    FAIL() << "a five-digit code in a four-digit field";
  } catch (const ENaoCabe& erro) {
    EXPECT_EQ(erro.Arquivo, "Teste.txt");
    EXPECT_EQ(erro.Registro, "REG");
    EXPECT_EQ(erro.Conta, "1.1.1");
    EXPECT_EQ(erro.Campo, "Codigo");
    EXPECT_EQ(erro.Valor, "12345");
    EXPECT_STREQ(erro.what(),
                 "Arquivo Teste.txt, registro REG, conta 1.1.1, campo Codigo: o valor \"12345\" não cabe em 4 posições");
  }
  // The largest amount the field holds fits; a cent more does not.
  e.Linha(Fixo()).Numero(2).Texto("b").Data(2024, 1, 1).Valor(Currency::FromString("9999999.99")).Gravar();
  EXPECT_THROW(e.Linha(Fixo()).Numero(3).Texto("c").Data(2024, 1, 1).Valor(Currency::FromString("10000000.00")),
               ENaoCabe);
  EXPECT_THROW(e.Linha(Fixo()).Numero(3).Texto("c").Data(2024, 1, 1).Valor(Currency::FromString("-1")), ENaoCabe);
  e.Concluir();
  EXPECT_EQ(sink.Text(), "0001a     202401010000001.00\r\n0002b     202401019999999.99\r\n")
      << "a failed line leaves nothing behind";
}

TEST(TEscritorLeiaute, NegativeCodeAndAmountNeedASign) {
  TStringSink sink;
  TEscritorLeiaute e(sink, "Teste.txt");
  try {
    e.Linha(Fixo(), "9").Numero(-1);
    FAIL();
  } catch (const ENaoCabe& erro) {
    EXPECT_TRUE(erro.Negativo);
    EXPECT_NE(std::string(erro.what()).find("é negativo e o campo não tem sinal"), std::string::npos);
  }
}

// A field of bare hundredths ("123456") still names the amount as money when it does not fit
// or is negative: "1234.56", as the other money formats show it.
TEST(TEscritorLeiaute, HundredthsThatDoNotFitAreShownAsMoney) {
  static const TLeiaute centavos{
      .Nome = "MOV",
      .Campos = {{.Nome = "Valor", .Largura = 6, .Tipo = TTipoCampo::Valor, .FormatoValor = TFormatoValor::Centavos}}};
  TStringSink sink;
  TEscritorLeiaute e(sink, "MOVIMENT.txt");
  e.Linha(centavos).Valor(Currency::FromString("9999.994")).Gravar();
  e.Linha(centavos).Valor(Currency::FromString("-0.004")).Gravar();
  try {
    e.Linha(centavos, "1.1.1").Valor(Currency::FromString("9999.995"));
    FAIL() << "seven digits in a six-digit field";
  } catch (const ENaoCabe& erro) {
    EXPECT_FALSE(erro.Negativo);
    EXPECT_EQ(erro.Valor, "10000.00");
    EXPECT_STREQ(erro.what(),
                 "Arquivo MOVIMENT.txt, registro MOV, conta 1.1.1, campo Valor: o valor \"10000.00\" não cabe em 6 "
                 "posições");
  }
  try {
    e.Linha(centavos, "1.1.1").Valor(Currency::FromString("-12.345"));
    FAIL() << "a negative amount in a field without sign";
  } catch (const ENaoCabe& erro) {
    EXPECT_TRUE(erro.Negativo);
    EXPECT_EQ(erro.Valor, "-12.35");
  }
  e.Concluir();
  EXPECT_EQ(sink.Text(), "999999\r\n000000\r\n");
}

TEST(TEscritorLeiaute, TextRefusesLineBreaksSeparatorsAndCharactersOutsideTheCodePage) {
  TStringSink sink;
  TEscritorLeiaute e(sink, "Teste.txt");
  EXPECT_THROW(e.Linha(Fixo()).Numero(1).Texto("a\r\nb"), EFileError);
  EXPECT_THROW(e.Linha(Delimitado()).Numero(1).Texto("a|b"), EFileError);
  EXPECT_THROW(e.Linha(Fixo()).Numero(1).Texto("\xE2\x82\xAC\xE2\x98\x83"), EFileError);  // "€☃": no snowman
  e.Linha(Fixo()).Numero(1).Texto("\xE2\x82\xAC").Data(2024, 1, 1).Valor(Currency()).Gravar();
  e.Concluir();
  EXPECT_EQ(sink.Text(), "0001\x80     202401010000000.00\r\n");
}

TEST(TEscritorLeiaute, MissingOrExtraFieldIsOurBug) {
  TStringSink sink;
  TEscritorLeiaute e(sink, "Teste.txt");
  EXPECT_THROW(e.Linha(Fixo()).Numero(1).Gravar(), EInternalError);
  EXPECT_THROW(e.Linha(Fixo()).Valor(Currency()), EInternalError);
  TLinha& l = e.Linha(Delimitado()).Numero(1).Texto("a").Valor(Currency());
  EXPECT_THROW(l.Texto("x"), EInternalError);
}

TEST(TEscritorLeiaute, LinesStreamInBlocksAndASinkFailurePasses) {
  TStringSink sink;
  TEscritorLeiaute e(sink, "Teste.txt");
  for (int i = 0; i < 5000; ++i) e.Linha(Fixo()).Numero(i).Texto("x").Data(2024, 1, 1).Valor(Currency()).Gravar();
  EXPECT_GT(sink.Text().size(), 0u) << "full blocks go to the sink as the lines come";
  EXPECT_LT(sink.Text().size(), 5000u * 30);
  e.Concluir();
  ASSERT_EQ(sink.Text().size(), 5000u * 30);

  TSinkFalho falho;
  TEscritorLeiaute f(falho, "Falho.txt");
  f.Linha(Fixo()).Numero(1).Texto("x").Data(2024, 1, 1).Valor(Currency()).Gravar();
  EXPECT_THROW(f.Concluir(), EFileError);
}

}  // namespace
}  // namespace nFramework
