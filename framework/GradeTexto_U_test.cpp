#include "GradeTexto_U.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "TextUtils_U.h"

using namespace nFramework;

namespace {

// A rule grid: a hidden key, a read-only description, a tick, a value list, money, a rule.
struct TReceitas {
  TClientDataSet Ds;
  int Alteracoes = 0;

  TReceitas() {
    Ds.Name = "curDados";
    Ds.DisplayCaption = "Receitas";
    Ds.AddFieldDef("TIPO", TFieldType::ftInteger);
    Ds.AddFieldDef("SELECIONADO", TFieldType::ftSmallint);
    Ds.AddFieldDef("DESCRICAO", TFieldType::ftString, 60);
    Ds.AddFieldDef("NATUREZA", TFieldType::ftSmallint);
    Ds.AddFieldDef("VALOR", TFieldType::ftCurrency);
    Ds.AddFieldDef("REGRA", TFieldType::ftString, 100);
    Ds.AddFieldDef("DATA", TFieldType::ftDate);
    Ds.CreateDataSet();
    Ds.CampoMarca = "SELECIONADO";
    Ds.CamposChave = "TIPO";
    Ds.FieldByName("TIPO").Visible = false;
    Ds.FieldByName("SELECIONADO").DisplayLabel = "Selecionado";
    Ds.FieldByName("DESCRICAO").DisplayLabel = "Descrição";
    Ds.FieldByName("DESCRICAO").ReadOnly = true;
    Ds.FieldByName("NATUREZA").DisplayLabel = "Natureza";
    Ds.FieldByName("NATUREZA").ValueList = "Devedor=1;Credor=2";
    Ds.FieldByName("VALOR").DisplayLabel = "Valor";
    Ds.FieldByName("VALOR").DisplayFormat = "#,##0.00";
    Ds.FieldByName("REGRA").DisplayLabel = "Regra";
    Ds.FieldByName("DATA").DisplayLabel = "Data";
    Ds.AppendRecord({1, 0, "01 - Água; esgoto", 1, Currency::FromString("1500"), "SALDOATUAL(1)",
                     TVariant::FromDate(EncodeDate(2024, 1, 31))});
    Ds.AppendRecord({2, 1, "02 - Serviços \"extras\"", 2, Currency::FromString("-2.5"), Null, Null});
    Ds.AppendRecord({90, 0, "90 - Dedução", Null, Null, "DEBITO(3)\nCREDITO(4)", Null});
    for (int i = 0; i < Ds.FieldCount(); ++i) Ds.Fields(i).OnChange = [this](TField&) { ++Alteracoes; };
    Ds.FieldByName("REGRA").OnValidate = [](TField&, const std::string& t) {
      if (t == "?") throw Exception("Regra definida é inválida.");
    };
  }
  std::vector<std::string> Textos(TGradeDados& g) {
    std::vector<std::string> r;
    for (Ds.First(); !Ds.Eof(); Ds.Next())
      for (int i = 0; i < Ds.FieldCount(); ++i) r.push_back(g.TextoCSV(Ds.Fields(i)));
    return r;
  }
};

const char* kCSV =
    "TIPO;Selecionado;Descrição;Natureza;Valor;Regra;Data\n"
    "1;0;\"01 - Água; esgoto\";Devedor;1.500,00;SALDOATUAL(1);31/01/2024\n"
    "2;1;\"02 - Serviços \"\"extras\"\"\";Credor;-2,50;;\n"
    "90;0;90 - Dedução;;;\"DEBITO(3)\nCREDITO(4)\";\n";

std::string Importacao(TGradeDados& g, const std::string& csv) {
  try {
    auto r = g.Importar(LerCSV(csv, "f.csv"), "f.csv");
    return std::to_string(r.Linhas) + " linha(s), " + std::to_string(r.Celulas) + " célula(s)";
  } catch (const Exception& e) {
    return e.what();
  }
}

std::string Trocar(std::string s, const std::string& de, const std::string& para) {
  size_t p = s.find(de);
  EXPECT_NE(p, std::string::npos) << de;
  if (p != std::string::npos) s.replace(p, de.size(), para);
  return s;
}

}  // namespace

TEST(GradeTexto, TheCsvCarriesTheHiddenKeyAndTheGridsTexts) {
  TReceitas r;
  TGradeDados g(r.Ds);
  EXPECT_EQ(CSVGrade(g), kCSV);
  // A caption two columns share is told apart by the field name.
  r.Ds.FieldByName("DATA").DisplayLabel = "Valor";
  TGradeDados h(r.Ds);
  EXPECT_EQ(CSVGrade(h).substr(0, CSVGrade(h).find('\n')),
            "TIPO;Selecionado;Descrição;Natureza;Valor [VALOR];Regra;Valor [DATA]");
  EXPECT_EQ(h.Coluna("Valor [DATA]"), &r.Ds.FieldByName("DATA"));
}

TEST(GradeTexto, ACsvEditedAndImportedChangesExactlyTheEditedCell) {
  TReceitas r;
  TGradeDados g(r.Ds);
  const std::string csv = CSVGrade(g);
  const std::vector<std::string> antes = r.Textos(g);
  // Fed back unchanged, nothing is written: no cell, no change handler.
  EXPECT_EQ(Importacao(g, csv), "0 linha(s), 0 célula(s)");
  EXPECT_EQ(r.Alteracoes, 0);
  // One cell edited in the text, as a spreadsheet would; CRLF line ends and a BOM too.
  std::string editado = Trocar(csv, "-2,50", "1.234,56");
  std::string crlf = "\xEF\xBB\xBF";
  for (char c : editado) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(Importacao(g, crlf), "1 linha(s), 1 célula(s)");
  std::vector<std::string> depois = r.Textos(g);
  ASSERT_EQ(depois.size(), antes.size());
  std::vector<size_t> diferentes;
  for (size_t i = 0; i < antes.size(); ++i)
    if (antes[i] != depois[i]) diferentes.push_back(i);
  ASSERT_EQ(diferentes, std::vector<size_t>{7 + 4});  // row 2, VALOR
  EXPECT_EQ(depois[11], "1.234,56");
  r.Ds.Locate("TIPO", {2});
  EXPECT_EQ(r.Ds.FieldByName("VALOR").AsCurrency(), Currency::FromString("1234.56"));
  // A spreadsheet that drops the grouping and the trailing zero writes the same number: no
  // edit; and a number key written another way still names its row.
  EXPECT_EQ(Importacao(g, Trocar(CSVGrade(g), "1.500,00", "1500,0")), "0 linha(s), 0 célula(s)");
  EXPECT_EQ(Importacao(g, "TIPO;Valor\n0.090;1.500,00\n"), "Linha 2 de f.csv: nenhuma linha da grade tem TIPO = 0.090.");
  EXPECT_EQ(Importacao(g, "TIPO;Valor\n090;1,5\n"), "1 linha(s), 1 célula(s)");
  r.Ds.Locate("TIPO", {90});
  EXPECT_EQ(r.Ds.FieldByName("VALOR").AsCurrency(), Currency::FromString("1.5"));
  // Columns in another order, a caption, a value and a tick; the key by its field name.
  EXPECT_EQ(Importacao(g, "Regra;tipo;Natureza;Selecionado\nDEBITO(9);90;2;1\n"), "1 linha(s), 3 célula(s)");
  r.Ds.Locate("TIPO", {90});
  EXPECT_EQ(g.Texto(r.Ds.FieldByName("NATUREZA")), "Credor");
  EXPECT_TRUE(g.Marcada());
}

TEST(GradeTexto, AnImportThatDoesNotFitTheGridChangesNothing) {
  TReceitas r;
  TGradeDados g(r.Ds);
  const std::string csv = CSVGrade(g);
  const std::vector<std::string> antes = r.Textos(g);
  EXPECT_EQ(Importacao(g, Trocar(csv, "Regra", "Fórmula")),
            "Linha 1 de f.csv: coluna desconhecida \"Fórmula\". Colunas da grade Receitas: TIPO, SELECIONADO "
            "\"Selecionado\", DESCRICAO \"Descrição\", NATUREZA \"Natureza\", VALOR \"Valor\", REGRA \"Regra\", DATA \"Data\"");
  EXPECT_EQ(Importacao(g, "Regra\nX\n"), "Linha 1 de f.csv: falta a coluna-chave \"TIPO\".");
  EXPECT_EQ(Importacao(g, "TIPO;Regra;Regra\n1;X;Y\n"), "Linha 1 de f.csv: a coluna \"Regra\" aparece duas vezes.");
  EXPECT_EQ(Importacao(g, "TIPO;Regra\n1;X\n7;Y\n"), "Linha 3 de f.csv: nenhuma linha da grade tem TIPO = 7.");
  EXPECT_EQ(Importacao(g, "TIPO;Regra\n1;X\n1;Y\n"), "Linha 3 de f.csv: é a mesma linha da grade que a linha 2.");
  EXPECT_EQ(Importacao(g, "TIPO;Regra\n1;X;Z\n"), "Linha 2 de f.csv: tem 3 campos e o cabeçalho tem 2.");
  EXPECT_EQ(Importacao(g, ""), "O arquivo f.csv está vazio.");
  EXPECT_EQ(r.Textos(g), antes);
  EXPECT_EQ(r.Alteracoes, 0);
  // Read-only cells that were changed are refused like any edit; the lines before stay applied.
  EXPECT_EQ(Importacao(g, "TIPO;Regra\n1;\n2;?\n"),
            "Linha 3 de f.csv: Linha 2 (TIPO = 2), coluna \"Regra\": Regra definida é inválida.");
  r.Ds.Locate("TIPO", {1});
  EXPECT_EQ(r.Ds.FieldByName("REGRA").AsString(), "");
  EXPECT_EQ(Importacao(g, "TIPO;Descrição\n2;Outra\n"),
            "Linha 2 de f.csv: Linha 2 (TIPO = 2), coluna \"Descrição\": a coluna não pode ser alterada.");
  // Without key columns the read-only columns key the rows; without those either, no import.
  r.Ds.CamposChave.clear();
  EXPECT_EQ(Importacao(g, "Descrição;Regra\n90 - Dedução;DEBITO(1)\n"), "1 linha(s), 1 célula(s)");
  r.Ds.FieldByName("DESCRICAO").ReadOnly = false;
  EXPECT_EQ(Importacao(g, "Descrição;Regra\n90 - Dedução;DEBITO(1)\n"),
            "A grade Receitas não tem colunas-chave nem colunas somente leitura que identifiquem suas linhas: não é "
            "possível importar.");
}

TEST(GradeTexto, CsvTextIsSplitAsWrittenAndBadTextIsRefused) {
  using L = std::vector<std::vector<std::string>>;
  EXPECT_EQ(LerCSV("a;b\n1;\"x;\"\"y\"\"\nz\"\n", "f"), (L{{"a", "b"}, {"1", "x;\"y\"\nz"}}));
  EXPECT_EQ(LerCSV("a;b\r\n;\r\n\"\";2", "f"), (L{{"a", "b"}, {"", ""}, {"", "2"}}));
  EXPECT_EQ(LerCSV("\xEF\xBB\xBF" "a\n\nb", "f"), (L{{"a"}, {""}, {"b"}}));
  auto erro = [](const std::string& t) {
    try {
      LerCSV(t, "f.csv");
    } catch (const EGrade& e) {
      return std::string(e.what());
    }
    return std::string("(lido)");
  };
  EXPECT_EQ(erro("a\n\"b\nc"), "Linha 2 de f.csv: aspas abertas e não fechadas.");
  EXPECT_EQ(erro("a\n\"b\"c\n"), "Linha 2 de f.csv: texto depois das aspas que fecham uma célula.");
  EXPECT_NE(erro("a\nDedu\xE7\xE3o\n").find("f.csv, linha 2"), std::string::npos) << erro("a\nDedu\xE7\xE3o\n");
  EXPECT_NE(erro("a\nDedu\xE7\xE3o\n").find("salve o arquivo como CSV UTF-8"), std::string::npos);
}

TEST(GradeTexto, TheTableFitsTheWidthCuttingCellsAndLeavingColumnsOut) {
  TReceitas r;
  TGradeDados g(r.Ds);
  EXPECT_EQ(TabelaGrade(g, 100),
            "Receitas (curDados)\n"
            "Selecionado | Descrição              | Natureza |    Valor | Regra                | Data\n"
            "------------+------------------------+----------+----------+----------------------+-----------\n"
            "            | 01 - Água; esgoto      | Devedor  | 1.500,00 | SALDOATUAL(1)        | 31/01/2024\n"
            "✓           | 02 - Serviços \"extras\" | Credor   |    -2,50\n"
            "            | 90 - Dedução           |          |          | DEBITO(3) CREDITO(4)\n"
            "3 linha(s), 1 marcada(s)\n");
  // Narrowed to their captions first, then cut; what does not fit at all is named.
  EXPECT_EQ(TabelaGrade(g, 60),
            "Receitas (curDados)\n"
            "Selecionado | Descrição  | Natureza |    Valor | Regra\n"
            "------------+------------+----------+----------+------------\n"
            "            | 01 - Água… | Devedor  | 1.500,00 | SALDOATUAL…\n"
            "✓           | 02 - Serv… | Credor   |    -2,50\n"
            "            | 90 - Dedu… |          |          | DEBITO(3) …\n"
            "3 linha(s), 1 marcada(s)\n"
            "1 coluna(s) fora da largura: Data\n");
  for (int largura : {30, 45, 60, 80, 100}) {
    std::string t = TabelaGrade(g, largura);
    for (size_t i = 0, fim; (fim = t.find('\n', i)) != std::string::npos; i = fim + 1)
      EXPECT_LE(Utf8Length(t.substr(i, fim - i)), static_cast<size_t>(largura)) << t;
  }
}

TEST(GradeTexto, JsonGivesRawValuesAndTextsOfEveryColumn) {
  TReceitas r;
  TGradeDados g(r.Ds);
  auto j = nlohmann::json::parse(JSONGrades({&g}));
  ASSERT_EQ(j.size(), 1u);
  EXPECT_EQ(j[0]["grade"], "curDados");
  EXPECT_EQ(j[0]["titulo"], "Receitas");
  EXPECT_EQ(j[0]["colunas"][0]["campo"], "TIPO");
  EXPECT_EQ(j[0]["colunas"][0]["visivel"], false);
  EXPECT_EQ(j[0]["colunas"][0]["chave"], true);
  EXPECT_EQ(j[0]["colunas"][1]["marca"], true);
  EXPECT_EQ(j[0]["colunas"][2]["editavel"], false);
  EXPECT_EQ(j[0]["colunas"][3]["lista"][1], (nlohmann::json{{"titulo", "Credor"}, {"valor", "2"}}));
  EXPECT_EQ(j[0]["colunas"][4]["formato"], "#,##0.00");
  ASSERT_EQ(j[0]["linhas"].size(), 3u);
  const auto& l = j[0]["linhas"][0];
  EXPECT_EQ(l["valores"]["TIPO"], 1);
  EXPECT_EQ(l["valores"]["NATUREZA"], 1);
  EXPECT_EQ(l["textos"]["NATUREZA"], "Devedor");
  EXPECT_EQ(l["valores"]["VALOR"], "1500");  // money as decimal text
  EXPECT_EQ(l["textos"]["VALOR"], "1.500,00");
  // Raw money keeps the decimal point, whatever the grid shows.
  EXPECT_EQ(j[0]["linhas"][1]["valores"]["VALOR"], "-2.5");
  EXPECT_EQ(j[0]["linhas"][1]["textos"]["VALOR"], "-2,50");
  EXPECT_EQ(l["valores"]["DATA"], "2024-01-31");
  EXPECT_EQ(l["marcada"], false);
  EXPECT_TRUE(j[0]["linhas"][2]["valores"]["VALOR"].is_null());
  EXPECT_EQ(j[0]["linhas"][1]["marcada"], true);
  EXPECT_FALSE(l.contains("destaque"));
}
