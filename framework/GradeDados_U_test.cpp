#include "GradeDados_U.h"

#include <gtest/gtest.h>

#include "FormatUtils_U.h"
#include "PowerParamCxGridConfigBase_U.h"

using namespace nFramework;

namespace {

// A grid of accounts as the settings grids build them: a tick, a read-only key, a value list,
// money and dates with formats, a lookup, a hidden column and a checked rule.
struct TContas {
  TClientDataSet Bancos;
  TClientDataSet Ds;
  std::vector<std::string> Validados;  // what OnValidate saw
  int Alteracoes = 0;                  // OnChange of NOME

  TContas() {
    Bancos.AddFieldDef("CODIGOBANCO", TFieldType::ftInteger);
    Bancos.AddFieldDef("NOMEBANCO", TFieldType::ftString, 30);
    Bancos.CreateDataSet();
    Bancos.AppendRecord({1, "Banco do Brasil"});
    Bancos.AppendRecord({104, "Caixa"});

    Ds.Name = "curContas";
    Ds.DisplayCaption = "Contas";
    Ds.AddFieldDef("ENVIAR", TFieldType::ftSmallint);
    Ds.AddFieldDef("CODIGO", TFieldType::ftInteger);
    Ds.AddFieldDef("NOME", TFieldType::ftString, 12);
    Ds.AddFieldDef("NATUREZA", TFieldType::ftSmallint);
    Ds.AddFieldDef("VALOR", TFieldType::ftCurrency);
    Ds.AddFieldDef("DATA", TFieldType::ftDate);
    Ds.AddFieldDef("QTD", TFieldType::ftInteger);
    Ds.AddFieldDef("REGRA", TFieldType::ftString, 30);
    Ds.AddFieldDef("CODIGOBANCO", TFieldType::ftInteger);
    Ds.AddFieldDef("OCULTO", TFieldType::ftInteger);
    Ds.CreateDataSet();
    Ds.AddFieldLookup("NOMEBANCO", TFieldType::ftString, 30, "CODIGOBANCO", Bancos, "CODIGOBANCO", "NOMEBANCO")
        .DisplayLabel = "Banco";
    Ds.CampoMarca = "ENVIAR";
    Ds.CamposChave = "CODIGO";
    Campo("ENVIAR").DisplayLabel = "Enviar";
    Campo("CODIGO").DisplayLabel = "Código";
    Campo("CODIGO").ReadOnly = true;
    Campo("NOME").DisplayLabel = "Nome";
    Campo("NATUREZA").DisplayLabel = "Natureza";
    Campo("NATUREZA").ValueList = "Devedor=1;Credor=2";
    Campo("VALOR").DisplayLabel = "Valor";
    Campo("VALOR").DisplayFormat = "#,##0.00";
    Campo("QTD").DisplayFormat = "#,###,###";
    Campo("REGRA").DisplayLabel = "Regra";
    Campo("CODIGOBANCO").Visible = false;
    Campo("OCULTO").Visible = false;
    Campo("REGRA").OnValidate = [this](TField&, const std::string& t) {
      Validados.push_back("REGRA:" + t);
      if (t.find('?') != std::string::npos) throw Exception("Regra definida é inválida.");
    };
    Campo("NATUREZA").OnValidate = [this](TField&, const std::string& t) { Validados.push_back("NATUREZA:" + t); };

    Ds.AppendRecord({0, 1, "Caixa", 1, Currency::FromString("1234.5"), TVariant::FromDate(EncodeDate(2024, 3, 5)),
                     1234567, "SALDOATUAL(1)", 1});
    Ds.AppendRecord({1, 2, "Bancos", 2, Currency::FromString("-10"), Null, 0, Null, 104});
    Ds.AppendRecord({Null, 3, "Aplicações", 9, Currency::FromString("0.125"), Null, Null, Null, 999});
    Campo("NOME").OnChange = [this](TField&) { ++Alteracoes; };
    // Row rules, checked when a row is posted.
    Ds.BeforePost = [](TClientDataSet& d) {
      if (d.FieldByName("NOME").AsString() == "") throw Exception("Informe o nome!");
      if (d.FieldByName("VALOR").AsCurrency() > Currency::FromInt(1000000))
        throw EnCampoGrid("VALOR", "O valor passa do limite.");
      if (d.FieldByName("CODIGO").AsInteger() == 3) d.FieldByName("ENVIAR").SetAsInteger(1);  // always sent
    };
  }
  TField& Campo(const char* n) { return Ds.FieldByName(n); }
  // Every cell of every row, as the grid shows it.
  std::vector<std::string> Textos(TGradeDados& g) {
    std::vector<std::string> r;
    for (Ds.First(); !Ds.Eof(); Ds.Next())
      for (int i = 0; i < Ds.FieldCount(); ++i) r.push_back(g.Texto(Ds.Fields(i)));
    return r;
  }
  void Linha(int codigo) { ASSERT_TRUE(Ds.Locate("CODIGO", {codigo})); }
};

std::string Recusa(const std::function<void()>& f) {
  try {
    f();
  } catch (const EGradeRecusa& e) {
    return e.what();
  }
  return "(aceito)";
}

}  // namespace

TEST(GradeDados, CellsShowCaptionsListsFormatsTicksAndLookups) {
  TContas c;
  TGradeDados g(c.Ds);
  std::vector<std::string> titulos;
  for (TField* f : g.Colunas()) titulos.push_back(TGradeDados::TituloColuna(*f));
  EXPECT_EQ(titulos, (std::vector<std::string>{"Enviar", "Código", "Nome", "Natureza", "Valor", "DATA", "QTD", "Regra",
                                               "Banco"}));
  EXPECT_EQ(g.Titulo(), "Contas");
  c.Linha(1);
  EXPECT_EQ(g.Texto(c.Campo("ENVIAR")), "");
  EXPECT_EQ(g.TextoCSV(c.Campo("ENVIAR")), "0");
  EXPECT_EQ(g.Texto(c.Campo("NATUREZA")), "Devedor");
  EXPECT_EQ(g.Texto(c.Campo("VALOR")), "1.234,50");
  EXPECT_EQ(g.Texto(c.Campo("DATA")), "05/03/2024");
  EXPECT_EQ(g.Texto(c.Campo("QTD")), "1.234.567");
  EXPECT_EQ(g.Texto(c.Campo("NOMEBANCO")), "Banco do Brasil");
  EXPECT_EQ(g.DescricaoLinha(), "Linha 1 (Código = 1)");
  c.Linha(2);
  EXPECT_EQ(g.Texto(c.Campo("ENVIAR")), "✓");
  EXPECT_EQ(g.TextoCSV(c.Campo("ENVIAR")), "1");
  EXPECT_EQ(g.Texto(c.Campo("NATUREZA")), "Credor");
  EXPECT_EQ(g.Texto(c.Campo("VALOR")), "-10,00");
  EXPECT_EQ(g.Texto(c.Campo("DATA")), "");
  EXPECT_EQ(g.Texto(c.Campo("QTD")), "");  // "#" writes nothing for zero
  EXPECT_EQ(g.Texto(c.Campo("NOMEBANCO")), "Caixa");
  c.Linha(3);
  EXPECT_EQ(g.Texto(c.Campo("NATUREZA")), "9");  // a value the list lacks shows as it is
  EXPECT_EQ(g.Texto(c.Campo("VALOR")), "0,13");
  EXPECT_EQ(g.Texto(c.Campo("NOMEBANCO")), "");

  // The grid's separators are its own: the process-wide ones, which the court files are
  // written with, neither change the grid nor are changed by it.
  c.Linha(1);
  EXPECT_EQ(FormatFloat("#,##0.00", c.Campo("VALOR").AsCurrency()), "1,234.50");
  TFormatSettings antes = FormatSettings;
  FormatSettings.DecimalSeparator = '!';
  FormatSettings.ThousandSeparator = '_';
  EXPECT_EQ(g.Texto(c.Campo("VALOR")), "1.234,50");
  EXPECT_EQ(g.Texto(c.Campo("QTD")), "1.234.567");
  FormatSettings = antes;

  // Without CamposChave the visible read-only columns name a row.
  c.Ds.CamposChave.clear();
  EXPECT_EQ(g.Chave().size(), 2u);  // Código and the lookup
  EXPECT_EQ(g.DescricaoLinha(), "Linha 1 (Código = 1; Banco = Banco do Brasil)");
  EXPECT_EQ(g.Coluna("banco"), &c.Campo("NOMEBANCO"));
  EXPECT_EQ(g.Coluna("natureza"), &c.Campo("NATUREZA"));
  EXPECT_EQ(g.Coluna("OCULTO"), nullptr);  // hidden: not a column of the grid
}

TEST(GradeDados, NumbersAreReadAsTheGridWritesThem) {
  EXPECT_EQ(NumeroDaGrade("1.234,50"), "1234.50");
  EXPECT_EQ(NumeroDaGrade("1234,5"), "1234.5");
  EXPECT_EQ(NumeroDaGrade(" -1234 "), "-1234");
  EXPECT_EQ(NumeroDaGrade("0,125"), "0.125");
  EXPECT_EQ(NumeroDaGrade("1,5"), "1.5");
  EXPECT_EQ(NumeroDaGrade("1.234.567"), "1234567");
  EXPECT_EQ(NumeroDaGrade("2.500"), "2500");  // a point between groups of three only groups
  EXPECT_EQ(NumeroDaGrade(",5"), "0.5");
  // A point that groups nothing is refused: "2.5" is read neither as 25 nor as 2.5, since
  // "2.500" is 2500. The English form is refused whole, never half read.
  for (const char* t : {"2.5", "1234.56", "1,234.50", "12.34.567", ".123", "1.2.3", "1,2,3", "R$ 10", "",
                        "-", "1e5"})
    EXPECT_THROW(NumeroDaGrade(t), EConvertError) << t;
  try {
    NumeroDaGrade("2.5");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "\"2.5\" não é um número (use \",\" para os decimais e \".\" só entre grupos de três dígitos)");
  }
  // The process-wide separators, which the court files are written with, do not change it.
  TFormatSettings antes = FormatSettings;
  FormatSettings.DecimalSeparator = '.';
  FormatSettings.ThousandSeparator = ',';
  EXPECT_EQ(NumeroDaGrade("1.234,56"), "1234.56");
  EXPECT_THROW(NumeroDaGrade("1,234.56"), EConvertError);
  FormatSettings = antes;
}

TEST(GradeDados, APointAfterALeadingZeroWasReadAsAThousandsSeparator) {
  // "0.125" typed for an eighth became 125.
  for (const char* t : {"0.125", "-0.500", "00.125", "0.125,5"}) EXPECT_THROW(NumeroDaGrade(t), EConvertError) << t;
  EXPECT_EQ(NumeroDaGrade("0,125"), "0.125");
  EXPECT_EQ(NumeroDaGrade("10.125"), "10125");
}

TEST(GradeDados, AnEditIsRefusedForEachReasonAndLeavesTheRowAsItWas) {
  TContas c;
  TGradeDados g(c.Ds);
  auto editar = [&](int codigo, const char* campo, const std::string& texto) {
    c.Linha(codigo);
    return Recusa([&] { g.EditarLinha({{&c.Campo(campo), texto}}); });
  };
  const std::vector<std::string> antes = c.Textos(g);
  EXPECT_EQ(editar(1, "CODIGO", "7"), "Linha 1 (Código = 1), coluna \"Código\": a coluna não pode ser alterada.");
  EXPECT_EQ(editar(1, "NOMEBANCO", "Itaú"), "Linha 1 (Código = 1), coluna \"Banco\": a coluna não pode ser alterada.");
  EXPECT_EQ(editar(2, "NATUREZA", "Ambos"),
            "Linha 2 (Código = 2), coluna \"Natureza\": \"Ambos\" não é um valor da lista: Devedor (1), Credor (2).");
  EXPECT_EQ(editar(1, "VALOR", "2.5"), "Linha 1 (Código = 1), coluna \"Valor\": \"2.5\" não é um número (use \",\" "
                                       "para os decimais e \".\" só entre grupos de três dígitos)");
  EXPECT_EQ(editar(1, "VALOR", "1,234.50"), "Linha 1 (Código = 1), coluna \"Valor\": \"1,234.50\" não é um número "
                                            "(use \",\" para os decimais e \".\" só entre grupos de três dígitos)");
  EXPECT_EQ(editar(1, "QTD", "2,5"), "Linha 1 (Código = 1), coluna \"QTD\": \"2,5\" não é um número inteiro.");
  EXPECT_EQ(editar(1, "NATUREZA", "40000"),
            "Linha 1 (Código = 1), coluna \"Natureza\": \"40000\" não é um valor da lista: Devedor (1), Credor (2).");
  EXPECT_EQ(editar(1, "OCULTO", "99999999999"), "Linha 1 (Código = 1), coluna \"OCULTO\": \"99999999999\" está fora "
                                                "dos limites da coluna.");
  EXPECT_EQ(editar(1, "DATA", "31/02/2024"),
            "Linha 1 (Código = 1), coluna \"DATA\": \"31/02/2024\" não é uma data (use dd/mm/aaaa).");
  EXPECT_EQ(editar(1, "NOME", "Caixa Econômica"),
            "Linha 1 (Código = 1), coluna \"Nome\": o texto tem 15 caracteres e a coluna aceita até 12.");
  EXPECT_EQ(editar(1, "REGRA", "SALDO?"), "Linha 1 (Código = 1), coluna \"Regra\": Regra definida é inválida.");
  EXPECT_EQ(editar(1, "ENVIAR", "talvez"), "Linha 1 (Código = 1), coluna \"Enviar\": \"talvez\" não é uma marcação (use 1 ou 0).");
  // Row rules at Post: one that names its field, one that does not.
  EXPECT_EQ(editar(1, "VALOR", "2.000.000"), "Linha 1 (Código = 1), coluna \"Valor\": O valor passa do limite.");
  EXPECT_EQ(editar(2, "NOME", ""), "Linha 2 (Código = 2), coluna \"Nome\": Informe o nome!");
  c.Linha(2);
  EXPECT_EQ(Recusa([&] { g.EditarLinha({{&c.Campo("NATUREZA"), "Devedor"}, {&c.Campo("NOME"), ""}}); }),
            "Linha 2 (Código = 2), colunas \"Natureza\", \"Nome\": Informe o nome!");
  EXPECT_EQ(c.Ds.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(c.Textos(g), antes);
}

TEST(GradeDados, AnAcceptedEditStoresTheValueThroughTheColumnsHandlers) {
  TContas c;
  TGradeDados g(c.Ds);
  c.Linha(1);
  g.EditarLinha({{&c.Campo("NATUREZA"), "credor"}, {&c.Campo("VALOR"), "2.500,75"}, {&c.Campo("NOME"), "Caixa Geral"},
                 {&c.Campo("DATA"), "2024-04-01"}, {&c.Campo("REGRA"), "DEBITO(1)"}});
  EXPECT_EQ(c.Campo("NATUREZA").AsInteger(), 2);  // a caption, without regard to case
  EXPECT_EQ(c.Campo("VALOR").AsCurrency(), Currency::FromString("2500.75"));
  EXPECT_EQ(g.Texto(c.Campo("DATA")), "01/04/2024");
  EXPECT_EQ(c.Alteracoes, 1);
  // Typed without grouping, as most people type; the column's check sees the canonical number.
  std::vector<std::string> valores;
  c.Campo("VALOR").OnValidate = [&](TField&, const std::string& t) { valores.push_back(t); };
  g.EditarLinha({{&c.Campo("VALOR"), "1234,5"}});
  EXPECT_EQ(c.Campo("VALOR").AsCurrency(), Currency::FromString("1234.5"));
  EXPECT_EQ(g.Texto(c.Campo("VALOR")), "1.234,50");
  g.EditarLinha({{&c.Campo("VALOR"), "-1.000,05"}});
  EXPECT_EQ(c.Campo("VALOR").AsCurrency(), Currency::FromString("-1000.05"));
  EXPECT_EQ(valores, (std::vector<std::string>{"1234.5", "-1000.05"}));
  g.EditarLinha({{&c.Campo("NATUREZA"), "1"}, {&c.Campo("DATA"), ""}});  // a value; "" clears
  EXPECT_EQ(g.Texto(c.Campo("NATUREZA")), "Devedor");
  EXPECT_TRUE(c.Campo("DATA").IsNull());
  g.EditarLinha({{&c.Campo("ENVIAR"), "Sim"}});
  EXPECT_TRUE(g.Marcada());
  g.EditarLinha({{&c.Campo("ENVIAR"), ""}});  // an empty tick cell is no tick
  EXPECT_FALSE(g.Marcada());
  EXPECT_EQ(c.Campo("ENVIAR").AsString(), "0");
  // OnValidate sees the value a caption stands for.
  EXPECT_EQ(c.Validados, (std::vector<std::string>{"NATUREZA:2", "REGRA:DEBITO(1)", "NATUREZA:1"}));
}

TEST(GradeDados, TicksFollowTheExpressionAndTheRowsOwnRules) {
  TContas c;
  TGradeDados g(c.Ds);
  EXPECT_EQ(g.Marcar("VALOR > 0", true), 2);  // rows 1 and 3; row 2 is negative
  EXPECT_EQ(g.Marcar("VALOR > 0", true), 0);  // already ticked
  EXPECT_EQ(g.Marcar("NOME like 'b%'", true), 0);  // already ticked
  // Unticking every row: row 3 is always sent, so its tick stays and it is not counted.
  EXPECT_EQ(g.Marcar("", false), 2);
  std::vector<std::string> marcas;
  for (c.Ds.First(); !c.Ds.Eof(); c.Ds.Next()) marcas.push_back(g.TextoCSV(c.Campo("ENVIAR")));
  EXPECT_EQ(marcas, (std::vector<std::string>{"0", "0", "1"}));

  const std::vector<std::string> antes = c.Textos(g);
  EXPECT_THROW(g.Marcar("VALOR >", true), EGrade);
  try {
    g.Marcar("NAOHA = 1", true);
    FAIL();
  } catch (const EGrade& e) {
    EXPECT_NE(std::string(e.what()).find("campo desconhecido NAOHA"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("Campos da grade Contas: ENVIAR, CODIGO, NOME"), std::string::npos) << e.what();
  }
  // A number typed in an expression as a cell shows it: the message says how to write it.
  auto erro = [&](const char* expressao) {
    try {
      g.Marcar(expressao, true);
    } catch (const EGrade& e) {
      return std::string(e.what());
    }
    return std::string("(aceita)");
  };
  EXPECT_NE(erro("VALOR > 1000,5").find("Nas expressões, os números usam ponto decimal e nada entre os milhares: "
                                        "VALOR > 1234.5."),
            std::string::npos)
      << erro("VALOR > 1000,5");
  EXPECT_EQ(erro("NOME = '1,5' and").find("ponto decimal"), std::string::npos) << erro("NOME = '1,5' and");
  EXPECT_EQ(erro("CODIGO in (1,2").find("ponto decimal"), std::string::npos) << erro("CODIGO in (1,2");
  EXPECT_EQ(c.Textos(g), antes);
  c.Ds.CampoMarca.clear();
  EXPECT_THROW(g.Marcar("", true), EGrade);
}

TEST(GradeDados, DefinirSetsTheMatchingRowsAndStopsAtTheFirstRefusal) {
  TContas c;
  TGradeDados g(c.Ds);
  EXPECT_EQ(g.Definir("CODIGO <= 2", {{"natureza", "Credor"}, {"Regra", "SALDOATUAL(2)"}}), 2);
  c.Linha(1);
  EXPECT_EQ(g.Texto(c.Campo("NATUREZA")), "Credor");
  EXPECT_EQ(g.Texto(c.Campo("REGRA")), "SALDOATUAL(2)");
  EXPECT_EQ(Recusa([&] { g.Definir("", {{"VALOR", "999.999,99"}, {"NOME", "Z"}}); }), "(aceito)");
  EXPECT_EQ(Recusa([&] { g.Definir("CODIGO > 0", {{"REGRA", "X"}, {"NOME", ""}}); }),
            "Linha 1 (Código = 1), colunas \"Regra\", \"Nome\": Informe o nome!");
  // The second row refuses its rule: its name stays as it was, and the third is not reached.
  EXPECT_EQ(Recusa([&] { g.Definir("CODIGO >= 2", {{"NOME", "Dois"}, {"REGRA", "?"}}); }),
            "Linha 2 (Código = 2), coluna \"Regra\": Regra definida é inválida.");
  c.Linha(2);
  EXPECT_EQ(g.Texto(c.Campo("NOME")), "Z");
  c.Linha(3);
  EXPECT_EQ(g.Texto(c.Campo("NOME")), "Z");
  EXPECT_THROW(g.Definir("", {{"NAOHA", "1"}}), EGrade);
  EXPECT_THROW(g.Definir("", {{"OCULTO", "1"}}), EGrade);
  EXPECT_THROW(g.Definir("", {{"NOME", "a"}, {"Nome", "b"}}), EGrade);
}

TEST(GradeDados, EditsThatMoveTheirRowsStillReachEveryRowOnce) {
  TContas c;
  TGradeDados g(c.Ds);
  int valores = 0;
  c.Campo("VALOR").OnChange = [&](TField&) { ++valores; };
  c.Ds.SetIndexFieldNames("ENVIAR;CODIGO");  // a tick moves its row to the end
  EXPECT_EQ(g.Marcar("", true), 2);
  EXPECT_EQ(g.Marcar("", false), 2);  // row 3 keeps its tick
  c.Ds.SetIndexFieldNames("VALOR");
  EXPECT_EQ(g.Definir("", {{"VALOR", "5"}}), 3);  // each edit reorders the rows
  EXPECT_EQ(valores, 3);
  for (c.Ds.First(); !c.Ds.Eof(); c.Ds.Next()) EXPECT_EQ(g.Texto(c.Campo("VALOR")), "5,00");
}
