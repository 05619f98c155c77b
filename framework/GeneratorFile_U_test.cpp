#include "GeneratorFile_U.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "Exceptions_U.h"
#include "MapClass_U.h"
#include "TestFolder_U.h"

using namespace nFramework;
using ::testing::HasSubstr;

namespace {

// One record "R" filled once by `fill`, rendered into memory.
std::string RenderOnce(const std::string& separator, const std::function<void(TRecord&)>& declare,
                       const std::function<void(TRecord&)>& fill) {
  TGeneratorFile gen("", "teste.txt", separator);
  TStringSink sink;
  gen.SetSink(&sink);
  TRecord& rec = gen.Records().CreateRecord("R");
  declare(rec);
  rec.SetOnFill([&](TRecord& r, bool&) { fill(r); });
  gen.Gerar();
  EXPECT_TRUE(sink.Committed());
  return sink.Text();
}

std::string FieldError(const std::function<void(TRecord&)>& declare, const std::function<void(TRecord&)>& fill,
                       const std::string& separator = "") {
  try {
    RenderOnce(separator, declare, fill);
  } catch (const EFileError& e) {
    return e.Message();
  }
  return "no error";
}

}  // namespace

TEST(GeneratorFile, FixedWidthNumericAndTextFillToTheirWidths) {
  std::string line = RenderOnce(
      "",
      [](TRecord& r) {
        r.CreateFieldToNumeric("N", 10);
        r.CreateFieldToString("T", 5);
      },
      [](TRecord& r) {
        r.FieldByName("N")->SetAsInteger(123);
        r.FieldByName("T")->SetAsString("ABC");
      });
  EXPECT_EQ(line, "0000000123ABC  \r\n");
}

TEST(GeneratorFile, FixedWidthTextFillCutAndJustification) {
  std::string line = RenderOnce(
      "",
      [](TRecord& r) {
        r.CreateFieldToString("A", 5, '\0', TJustification::Left, true, false);
        r.CreateFieldToString("B", 4, '*', TJustification::Right);
        r.CreateFieldToString("C", 3, ' ', TJustification::Left, true, true);
        r.CreateFieldToString("NUNCA", 2);
        r.CreateFieldToString("LIVRE", 0);
      },
      [](TRecord& r) {
        r.FieldByName("A")->SetAsString("São Paulo");
        r.FieldByName("B")->SetAsInteger(7);
        r.FieldByName("C")->SetAsString("ção");
        r.FieldByName("LIVRE")->SetAsString("sem largura");
      });
  // Widths count characters: "São P" is five characters and five bytes in Windows-1252.
  EXPECT_EQ(line, "S\xE3o P***7\xC7\xC3O  sem largura\r\n");
  EXPECT_THAT(FieldError([](TRecord& r) { r.CreateFieldToString("X", 2, ' ', TJustification::Left, false); },
                         [](TRecord& r) { r.FieldByName("X")->SetAsString("abc"); }),
              HasSubstr("campo X: o valor \"abc\" não cabe em 2 caracteres"));
}

TEST(GeneratorFile, NumbersAreNeverCutAndKeepTheirSignBeforeTheZeros) {
  auto declare = [](TRecord& r) {
    r.CreateFieldToNumeric("N", 3);
    r.CreateFieldToCurrency("V", 9, 2, '\0', true, true, ",", false);
    r.CreateFieldToNumeric("I", 6, 2, true, "");
    r.CreateFieldToNumeric("B", 4, 0, false);
  };
  std::string line = RenderOnce("", declare, [](TRecord& r) {
    r.FieldByName("N")->SetAsString("007");
    r.FieldByName("V")->SetAsCurrency(Currency::FromString("-12.345"));
    r.FieldByName("I")->SetAsString("12,5");
    r.FieldByName("B")->SetAsInteger(42);
  });
  EXPECT_EQ(line, "007-00012,35001250  42\r\n");
  EXPECT_THAT(FieldError(declare, [](TRecord& r) { r.FieldByName("N")->SetAsInt64(12345); }),
              HasSubstr("registro R, linha 1, campo N: o valor \"12345\" não cabe em 3 caracteres"));
  EXPECT_THAT(FieldError(declare, [](TRecord& r) { r.FieldByName("N")->SetAsString("1a"); }),
              HasSubstr("\"1a\" não é um número válido para o campo N"));
}

TEST(GeneratorFile, CurrencyRoundingCuttingAndThousands) {
  std::string line = RenderOnce(
      ";",
      [](TRecord& r) {
        r.CreateFieldToCurrency("A", 10, 2);
        r.CreateFieldToCurrency("B", 10, 2, '\0', true, false);
        r.CreateFieldToCurrency("C", 20, 2, '\0', true, true, ",", true);
        r.CreateFieldToCurrency("D", 50, 0, '\0', true, true, ",", false);
        r.CreateFieldToCurrency("E", 7, 0);
      },
      [](TRecord& r) {
        r.FieldByName("A")->SetAsCurrency(Currency::FromString("0.125"));
        r.FieldByName("B")->SetAsCurrency(Currency::FromString("0.129"));
        r.FieldByName("C")->SetAsCurrency(Currency::FromString("-1234567.891"));
        r.FieldByName("D")->SetAsInt64(9101234567890123456);  // beyond Currency, still exact
        r.FieldByName("E")->SetAsCurrency(Currency::FromString("-0.4"));
      });
  EXPECT_EQ(line, "0,13;0,12;-1.234.567,89;9101234567890123456;0\r\n");
}

TEST(GeneratorFile, DelimitedLikeTheParanaFiles) {
  TGeneratorFile gen("", "Bem.txt", "|");
  TStringSink sink;
  gen.SetSink(&sink);
  TRecord& rec = gen.Records().CreateRecord("REC");
  rec.CreateFieldToString("idPessoa", 7, '\0', TJustification::Left, true, false);
  rec.CreateFieldToCurrency("idTipo", 2, 0, '\0', true, true, ",", false);
  rec.CreateFieldToNumeric("cdClasse", 1, 0, true, "");
  rec.CreateFieldToNumeric("cdItem", 2, 0, true, "");
  rec.CreateFieldToNumeric("cdSubItem", 2, 0, true, "");
  rec.CreateFieldToNumeric("cdCEP", 8, 0, true, "");
  rec.CreateFieldToString("dsBem", 5, '\0', TJustification::Left, true, false);
  rec.CreateFieldToDate("dtOperacao", "YYYY-MM-DD", 8, true);
  rec.CreateFieldToString("vlDebito", 16, '\0', TJustification::Left, true, false);
  rec.CreateFieldToString("Fim", 0, '\0', TJustification::Left, true, false);
  rec.SetOnFill([](TRecord& r, bool&) {
    r.FieldByName("idPessoa")->SetAsString("123");
    r.FieldByName("idTipo")->SetAsInteger(98);
    r.FieldByName("cdClasse")->SetAsString("1");
    r.FieldByName("cdItem")->SetAsString("1");
    r.FieldByName("cdSubItem")->SetAsString("");
    r.FieldByName("cdCEP")->SetAsInteger(1310100);
    r.FieldByName("dsBem")->SetAsString("Mesa de escritório");
    r.FieldByName("dtOperacao")->SetAsDateTime(EncodeDate(2024, 3, 5));
    r.FieldByName("vlDebito")->SetAsString("1234.50");
  });
  gen.Gerar();
  // No padding between separators, texts cut to their width, dates whole, the closing field empty.
  EXPECT_EQ(sink.Text(), "123|98|1|01||01310100|Mesa |2024-03-05|1234.50|\r\n");
}

TEST(GeneratorFile, ValuesThatWouldBreakTheLineAreRefused) {
  auto declare = [](TRecord& r) { r.CreateFieldToString("dsConta", 250); };
  EXPECT_THAT(FieldError(declare, [](TRecord& r) { r.FieldByName("dsConta")->SetAsString("a|b"); }, "|"),
              HasSubstr("campo dsConta: o valor \"a|b\" contém o separador \"|\""));
  EXPECT_THAT(FieldError(declare, [](TRecord& r) { r.FieldByName("dsConta")->SetAsString("a\r\nb"); }),
              HasSubstr("quebra de linha"));
  EXPECT_THAT(FieldError(declare, [](TRecord& r) { r.FieldByName("dsConta")->SetAsString("Gdańsk"); }),
              HasSubstr("Arquivo \"teste.txt\", registro R, linha 1, campo dsConta: o caractere \"ń\""));
}

TEST(GeneratorFile, DatesFormatAndZeroDateIsEmpty) {
  std::string line = RenderOnce(
      ";",
      [](TRecord& r) {
        r.CreateFieldToDate("A", "DDMMYYYY", 8);
        r.CreateFieldToDate("B", "yyyymm", 6);
        r.CreateFieldToDate("C", "dd/mm/yyyy hh:nn", 16);
        r.CreateFieldToDate("D", "DDMMYYYY", 8, true);
        r.CreateFieldToDate("E", "DDMMYYYY", 8, false);
      },
      [](TRecord& r) {
        r.FieldByName("A")->SetAsDateTime(EncodeDate(2023, 11, 7));
        r.FieldByName("B")->SetAsString("2024-03-31");
        r.FieldByName("C")->SetAsDateTime(EncodeDate(2024, 2, 29) + EncodeTime(13, 5, 0, 0));
        r.FieldByName("D")->SetAsDateTime(0);
        r.FieldByName("E")->SetAsDateTime(0);
      });
  EXPECT_EQ(line, "07112023;202403;29/02/2024 13:05;;30121899\r\n");
}

namespace {

// A movement file in miniature: header, one detail per row, closing line with the count.
struct TMovimentoFixture {
  std::vector<std::string> Rows;
  size_t Current = 0;
  int Filled = 0;

  void Declare(TGeneratorFile& gen) {
    TRecord& cab = gen.Records().CreateRecord("CAB");
    cab.CreateFieldToString("TIPO", 3);
    cab.SetOnFill([](TRecord& r, bool&) { r.FieldByName("TIPO")->SetAsString("CAB"); });
    cab.SetOnNext([](TRecord&, bool& more) { more = false; });

    TRecord& mov = gen.Records().CreateRecord("MOV");
    mov.CreateFieldToString("VALOR", 6, ' ', TJustification::Right);
    mov.SetOnFill([this](TRecord& r, bool& skip) {
      if (Current >= Rows.size()) {  // the writer fills once even without rows
        skip = true;
        return;
      }
      ++Filled;
      r.FieldByName("VALOR")->SetAsString(Rows[Current]);
    });
    mov.SetOnNext([this](TRecord&, bool& more) { more = ++Current < Rows.size(); });

    TRecord& fin = gen.Records().CreateRecord("FIN");
    fin.CreateFieldToNumeric("QTDE", 4);
    fin.SetOnFill([this](TRecord& r, bool&) { r.FieldByName("QTDE")->SetAsInteger(Filled); });
  }
};

}  // namespace

TEST(GeneratorFile, RecordsInDeclarationOrderWithFillAndNextEvents) {
  TMovimentoFixture data{{"10", "20", "30"}};
  TGeneratorFile gen("", "MOVIMENT.txt");
  TStringSink sink;
  gen.SetSink(&sink);
  data.Declare(gen);
  gen.Preparar();
  gen.Gerar();
  gen.Finalizar();
  EXPECT_EQ(sink.Text(), "CAB\r\n    10\r\n    20\r\n    30\r\n0003\r\n");
  EXPECT_EQ(gen.LineCount(), 5);
  EXPECT_EQ(gen.Records().Find("mov")->LineCount(), 3);

  TMovimentoFixture empty;
  TGeneratorFile gen2("", "MOVIMENT.txt");
  TStringSink sink2;
  gen2.SetSink(&sink2);
  empty.Declare(gen2);
  gen2.Gerar();
  EXPECT_EQ(sink2.Text(), "CAB\r\n0000\r\n");
}

TEST(GeneratorFile, ValuesOfOneLineDoNotLeakIntoTheNext) {
  TGeneratorFile gen("", "x.txt", ";");
  TStringSink sink;
  gen.SetSink(&sink);
  TRecord& rec = gen.Records().CreateRecord("R");
  rec.CreateFieldToString("A", 3);
  rec.CreateFieldToString("B", 3);
  int line = 0;
  rec.SetOnFill([&](TRecord& r, bool&) {
    r.FieldByName("A")->SetAsInteger(++line);
    if (line == 1) r.FieldByName("B")->SetAsString("só1");
  });
  rec.SetOnNext([&](TRecord&, bool& more) { more = line < 2; });
  gen.Gerar();
  EXPECT_EQ(sink.Text(), "1;s\xF3\x31\r\n2;\r\n");
}

TEST(GeneratorFile, FailureHalfWayKeepsThePreviousFileAndLeavesNoTemporary) {
  TTestFolder dir;
  WriteBytes(dir / "MOVIMENT.txt", "arquivo anterior\r\n");
  TGeneratorFile gen(dir.Path().string() + "\\", "MOVIMENT.txt");
  TRecord& rec = gen.Records().CreateRecord("MOV");
  rec.CreateFieldToString("X", 2);
  int calls = 0;
  rec.SetOnFill([&](TRecord& r, bool&) {
    if (++calls == 3) throw std::runtime_error("falha no banco");
    r.FieldByName("X")->SetAsString("ok");
  });
  rec.SetOnNext([](TRecord&, bool& more) { more = true; });
  gen.Preparar();
  EXPECT_THROW(gen.Gerar(), std::runtime_error);
  gen.Finalizar();
  EXPECT_EQ(ReadBytes(dir / "MOVIMENT.txt"), "arquivo anterior\r\n");
  EXPECT_EQ(dir.Entries(), std::set<std::string>{"MOVIMENT.txt"});

  // The same run without the fault replaces the file whole.
  calls = -100;
  rec.SetOnNext([&](TRecord&, bool& more) { more = calls < -98; });
  gen.Gerar();
  EXPECT_EQ(ReadBytes(dir / "MOVIMENT.txt"), "ok\r\nok\r\n");
  EXPECT_EQ(dir.Entries(), std::set<std::string>{"MOVIMENT.txt"});
}

ULMO_MAP_CLASS(TMapRecordMov, TColuna, CONTA, CHAVELCTO, HISTORICO, FINALIZADOR);

TEST(RecordMapper, BindsMembersByNameIgnoringCaseFirstFieldWins) {
  TRecord rec("MOV");
  TColuna& conta = rec.CreateFieldToString("Conta", 4, '0', TJustification::Right);
  TColuna& chave1 = rec.CreateFieldToString("CHAVELCTO", 3);
  rec.CreateFieldToString("CHAVELCTO", 3);
  TColuna& historico = rec.CreateFieldToString("xHISTORICO", 5);
  TMapRecordMov map;
  RecordMapper().MapearFields(rec, map);
  EXPECT_EQ(map.CONTA, &conta);
  EXPECT_EQ(map.CHAVELCTO, &chave1);
  EXPECT_EQ(map.HISTORICO, nullptr);
  EXPECT_EQ(map.FINALIZADOR, nullptr);
  RecordMapper().MapearFields(rec, map, "X");
  EXPECT_EQ(map.HISTORICO, &historico);
  EXPECT_EQ(map.CONTA, nullptr);
  EXPECT_EQ(rec.Width(), 15);
}

TEST(RecordMapper, TheSecondOfTwoSameNamedColumnsStaysBlank) {
  TGeneratorFile gen("", "MOVIMENT.txt");
  TStringSink sink;
  gen.SetSink(&sink);
  TRecord& rec = gen.Records().CreateRecord("MOV");
  rec.CreateFieldToString("CONTA", 4, '0', TJustification::Right);
  rec.CreateFieldToString("CHAVELCTO", 3);
  rec.CreateFieldToString("CHAVELCTO", 3);
  rec.CreateFieldToString("HISTORICO", 5);
  TMapRecordMov map;
  RecordMapper().MapearFields(rec, map);
  rec.SetOnFill([&](TRecord&, bool&) {
    map.CONTA->SetAsString("12");
    map.CHAVELCTO->SetAsString("007");
    map.HISTORICO->SetAsString("Pgto");
  });
  gen.Gerar();
  EXPECT_EQ(sink.Text(), "0012007   Pgto \r\n");
}
