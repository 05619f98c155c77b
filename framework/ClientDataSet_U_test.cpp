#include "ClientDataSet_U.h"

#include <gtest/gtest.h>

#include "Exceptions_U.h"
#include "Mapper_U.h"

using namespace nFramework;

namespace {

std::unique_ptr<TClientDataSet> Saldos() {
  auto ds = std::make_unique<TClientDataSet>();
  ds->AddFieldDef("DATASALDO", TFieldType::ftDate);
  ds->AddFieldDef("CLASSIFCONTA", TFieldType::ftString, 10);
  ds->AddFieldDef("VALOR", TFieldType::ftCurrency);
  ds->AddFieldDef("QTD", TFieldType::ftInteger);
  ds->CreateDataSet();
  auto add = [&](int month, const char* classif, double valor) {
    ds->Append();
    ds->FieldByName("DATASALDO").SetAsDateTime(EncodeDate(2024, month, 1));
    ds->FieldByName("classifconta").SetAsString(classif);
    ds->FieldByName("VALOR").SetAsFloat(valor);
    ds->Post();
  };
  add(3, "1.1", 30);
  add(1, "1.2", 10);
  add(2, "1.1", 20);
  add(1, "1.1", 11);
  add(2, "2.1", 21);
  return ds;
}

std::vector<std::string> Walk(TClientDataSet& ds, const char* field) {
  std::vector<std::string> r;
  for (ds.First(); !ds.Eof(); ds.Next()) r.push_back(ds.FieldByName(field).AsString());
  return r;
}

}  // namespace

TEST(ClientDataSet, NullsReadAsDefaultsAndTextIsCutToItsSize) {
  auto ds = Saldos();
  ds->First();
  EXPECT_TRUE(ds->FieldByName("QTD").IsNull());
  EXPECT_EQ(ds->FieldByName("QTD").AsInteger(), 0);
  EXPECT_EQ(ds->FieldByName("QTD").AsString(), "");
  EXPECT_FALSE(ds->FieldByName("QTD").AsBoolean());
  ds->Edit();
  ds->FieldByName("CLASSIFCONTA").SetAsString("1.2.3.4.5.6.7");
  ds->Post();
  EXPECT_EQ(ds->FieldByName("CLASSIFCONTA").AsString(), "1.2.3.4.5.");
  ds->Edit();
  ds->FieldByName("CLASSIFCONTA").SetAsString("ÇÃOÉÁÍÓÚÂÊÔ");  // counts characters, not bytes
  ds->Post();
  EXPECT_EQ(ds->FieldByName("CLASSIFCONTA").AsString(), "ÇÃOÉÁÍÓÚÂÊ");
  EXPECT_THROW(ds->FieldByName("QTD").SetAsInteger(1), EDatabaseError);  // not editing
  EXPECT_THROW(ds->FieldByName("NAOEXISTE"), EDatabaseError);
}

TEST(ClientDataSet, IndexOverSeveralFieldsRangesAndKeySearch) {
  auto ds = Saldos();
  ds->SetIndexFieldNames("datasaldo;CLASSIFCONTA");
  EXPECT_EQ(Walk(*ds, "VALOR"), (std::vector<std::string>{"11", "10", "20", "21", "30"}));

  ds->SetRange({TVariant::FromDate(EncodeDate(2024, 2, 1))}, {TVariant::FromDate(EncodeDate(2024, 2, 1))});
  EXPECT_EQ(ds->RecordCount(), 2);
  EXPECT_EQ(Walk(*ds, "CLASSIFCONTA"), (std::vector<std::string>{"1.1", "2.1"}));
  ds->CancelRange();
  EXPECT_EQ(ds->RecordCount(), 5);

  EXPECT_TRUE(ds->FindKey({TVariant::FromDate(EncodeDate(2024, 1, 1)), "1.2"}));
  EXPECT_EQ(ds->FieldByName("VALOR").AsFloat(), 10);
  EXPECT_FALSE(ds->FindKey({TVariant::FromDate(EncodeDate(2024, 1, 1)), "9.9"}));

  // An edit that changes the key moves the row to its new place.
  ASSERT_TRUE(ds->FindKey({TVariant::FromDate(EncodeDate(2024, 3, 1))}));
  ds->Edit();
  ds->FieldByName("DATASALDO").SetAsDateTime(EncodeDate(2023, 12, 1));
  ds->Post();
  EXPECT_EQ(ds->RecNo(), 1);
  EXPECT_EQ(Walk(*ds, "VALOR").front(), "30");
}

TEST(ClientDataSet, CloneSharesRowsButKeepsItsOwnIndexAndRange) {
  auto ds = Saldos();
  ds->SetIndexFieldNames("CLASSIFCONTA;DATASALDO");
  auto clone = CloneCDS(*ds);
  clone->SetIndexFieldNames("VALOR");
  clone->SetRange({15}, {25});
  EXPECT_EQ(Walk(*clone, "VALOR"), (std::vector<std::string>{"20", "21"}));
  EXPECT_EQ(ds->IndexFieldNames(), "CLASSIFCONTA;DATASALDO");
  EXPECT_EQ(ds->RecordCount(), 5);

  // Rows added through the original show in the clone; the clone outlives the original.
  ds->Append();
  ds->FieldByName("VALOR").SetAsFloat(22);
  ds->Post();
  ds.reset();
  EXPECT_EQ(Walk(*clone, "VALOR"), (std::vector<std::string>{"20", "21", "22"}));
}

TEST(ClientDataSet, FiltersOfTheFormsTheSystemUses) {
  TClientDataSet ds;
  ds.AddFieldDef("SELECIONADO", TFieldType::ftInteger);
  ds.AddFieldDef("STATUS", TFieldType::ftString, 1);
  ds.CreateDataSet();
  ds.AppendRecord({1, "1"});
  ds.AppendRecord({1, "0"});
  ds.AppendRecord({0, "1"});
  ds.AppendRecord({Null, "1"});
  ds.SetFilter("SELECIONADO = 1 and STATUS = '1'");
  EXPECT_EQ(ds.RecordCount(), 4);  // not yet filtered
  ds.SetFiltered(true);
  EXPECT_EQ(ds.RecordCount(), 1);
  ds.SetFilter("selecionado = 1 or status = '0'");
  EXPECT_EQ(ds.RecordCount(), 2);
  ds.SetFilter("SELECIONADO <> 1");
  EXPECT_EQ(ds.RecordCount(), 1);
  ds.SetFilter("SELECIONADO is null");
  EXPECT_EQ(ds.RecordCount(), 1);
  EXPECT_THROW(ds.SetFilter("SELECIONADO = "), EDatabaseError);
  EXPECT_THROW(ds.SetFilter("NAOEXISTE = 1"), EDatabaseError);
  ds.SetFiltered(false);
  EXPECT_EQ(ds.RecordCount(), 4);
}

// A compared value the field could not take ("DATA >= '2024-13-45'", money past its range) was
// accepted and raised at the row test instead: the dataset kept the filter, so every later move
// or count raised too, and a date filter over rows without dates broke at the first dated row.
TEST(ClientDataSet, AFilterWithAValueTheFieldCannotTakeBrokeTheDataset) {
  TClientDataSet ds;
  ds.AddFieldDef("DATA", TFieldType::ftDate);
  ds.AddFieldDef("SALDO", TFieldType::ftCurrency);
  ds.CreateDataSet();
  ds.AppendRecord({Null, Currency::FromString("12.5")});
  ds.SetFiltered(true);
  ds.SetFilter("SALDO > 0");
  for (const char* f : {"DATA >= '2024-13-45'", "DATA = 'ontem'", "SALDO > 1e300", "SALDO < 9223372036854775807",
                        "SALDO = '1e5'"}) {
    EXPECT_THROW(ds.SetFilter(f), EDatabaseError) << f;
    EXPECT_EQ(ds.Filter(), "SALDO > 0");
    EXPECT_EQ(ds.RecordCount(), 1);
  }
  try {
    ds.SetFilter("DATA >= '2024-13-45'");
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Filtro inválido ('2024-13-45' não é uma data válida para o campo DATA): DATA >= '2024-13-45'");
  }
  ds.AppendRecord({EncodeDate(2024, 1, 31), Currency::FromString("-1")});
  for (auto [f, linhas] : {std::pair{"DATA >= '2024-01-01'", 1}, std::pair{"DATA = '31/01/2024'", 1},
                           std::pair{"SALDO = '12.5'", 1}, std::pair{"SALDO <> 'x'", 2}, std::pair{"SALDO < 922337203685477", 2}}) {
    ds.SetFilter(f);
    EXPECT_EQ(ds.RecordCount(), linhas) << f;
  }
}

// A filter typed on the command line (--marcar) nesting "not" or parentheses a hundred thousand
// deep, or joining three hundred thousand conditions with "or", ran the parser, the row test or
// the tree's destruction out of stack; the error then quoted the whole filter.
TEST(ClientDataSet, DeeplyNestedOrLongFilterOverflowedTheStack) {
  TClientDataSet ds;
  ds.AddFieldDef("SELECIONADO", TFieldType::ftInteger);
  ds.AddFieldDef("STATUS", TFieldType::ftString, 1);
  ds.CreateDataSet();
  ds.AppendRecord({1, "1"});
  ds.AppendRecord({0, "0"});
  ds.AppendRecord({0, "1"});
  ds.SetFiltered(true);
  std::string nots;
  for (int i = 0; i < 100000; ++i) nots += "not ";
  for (const std::string& f : {nots + "SELECIONADO = 1",
                               std::string(200000, '(') + "SELECIONADO = 1" + std::string(200000, ')')}) {
    try {
      ds.SetFilter(f);
      ADD_FAILURE() << "sem erro";
    } catch (const EDatabaseError& e) {
      const std::string m = e.what();
      EXPECT_EQ(m.rfind("Filtro inválido (mais de 64 níveis de parênteses e \"not\" na posição ", 0), 0u) << m.substr(0, 200);
      EXPECT_LT(m.size(), 300u);
    }
  }
  EXPECT_EQ(ds.RecordCount(), 3);  // the refused filters changed nothing
  std::string ou, e;
  for (int i = 0; i < 300000; ++i) {
    ou += "SELECIONADO = 1 or ";
    e += "STATUS = '1' and ";
  }
  ds.SetFilter(ou + "STATUS = '0'");
  EXPECT_EQ(ds.RecordCount(), 2);
  ds.SetFilter(e + "SELECIONADO = 0");
  EXPECT_EQ(ds.RecordCount(), 1);
  ds.SetFilter("(SELECIONADO = 1 or STATUS = '0') and not (STATUS = '0' and SELECIONADO = 0) or SELECIONADO = 9");
  EXPECT_EQ(ds.RecordCount(), 1);
  std::string fundo;
  for (int i = 0; i < 32; ++i) fundo += "not (";
  ds.SetFilter(fundo + "SELECIONADO = 1" + std::string(32, ')'));
  EXPECT_EQ(ds.RecordCount(), 1);
  try {
    ds.SetFilter(std::string(5000, 'x') + " ~ 1");
    ADD_FAILURE() << "sem erro";
  } catch (const EDatabaseError& e) {
    EXPECT_LT(std::string(e.what()).size(), 300u);
  }
}

TEST(ClientDataSet, LikeMatchesPatternsWithoutRegardToCase) {
  TClientDataSet ds;
  ds.AddFieldDef("CLASSIFCONTA", TFieldType::ftString, 20);
  ds.AddFieldDef("NOME", TFieldType::ftString, 40);
  ds.AddFieldDef("CONTA", TFieldType::ftInteger);
  ds.CreateDataSet();
  ds.AppendRecord({"1.1.1", "Caixa", 111});
  ds.AppendRecord({"1.1.2", "Bancos Conta Movimento", 112});
  ds.AppendRecord({"1.2", "Créditos", 12});
  ds.AppendRecord({"2.1", "AÇÕES", 21});
  ds.AppendRecord({"11", Null, Null});
  ds.SetFiltered(true);
  auto contas = [&](const char* filtro) {
    ds.SetFilter(filtro);
    return Walk(ds, "CLASSIFCONTA");
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(contas("CLASSIFCONTA like '1.1%'"), (V{"1.1.1", "1.1.2"}));
  // "." is no wildcard: "11" does not match "1.1%".
  EXPECT_EQ(contas("CLASSIFCONTA like '1._'"), (V{"1.2"}));
  EXPECT_EQ(contas("CLASSIFCONTA like '%1'"), (V{"1.1.1", "2.1", "11"}));
  EXPECT_EQ(contas("NOME like 'ca%'"), (V{"1.1.1"}));
  EXPECT_EQ(contas("NOME LIKE '%CONTA%'"), (V{"1.1.2"}));
  EXPECT_EQ(contas("NOME like 'cré%'"), (V{"1.2"}));  // accented letters fold too
  EXPECT_EQ(contas("NOME like 'ações'"), (V{"2.1"}));
  EXPECT_EQ(contas("NOME like '%'"), (V{"1.1.1", "1.1.2", "1.2", "2.1"}));  // never a null
  EXPECT_EQ(contas("NOME not like '%a%' "), (V{"1.2"}));
  EXPECT_EQ(contas("CONTA like '11%' and not (CLASSIFCONTA like '%2')"), (V{"1.1.1"}));
  EXPECT_EQ(contas("CLASSIFCONTA like '1.1%' or CONTA = 21"), (V{"1.1.1", "1.1.2", "2.1"}));
  EXPECT_EQ(contas("CLASSIFCONTA like '1.1'"), V{});
  EXPECT_THROW(ds.SetFilter("CLASSIFCONTA like 1"), EDatabaseError);
  EXPECT_THROW(ds.SetFilter("CLASSIFCONTA like"), EDatabaseError);
  EXPECT_THROW(ds.SetFilter("CLASSIFCONTA not = '1'"), EDatabaseError);
}

TEST(ClientDataSet, LocateLookupForEachDeleteAndCopy) {
  auto ds = Saldos();
  EXPECT_TRUE(ds->Locate("CLASSIFCONTA;VALOR", {"2.1", 21}));
  EXPECT_EQ(ds->FieldByName("DATASALDO").AsDateTime(), EncodeDate(2024, 2, 1));
  EXPECT_TRUE(ds->Locate("CLASSIFCONTA", {"2."}, loPartialKey));
  EXPECT_FALSE(ds->Locate("CLASSIFCONTA", {"2."}));
  EXPECT_EQ(ds->Lookup("CLASSIFCONTA", {"1.2"}, "VALOR").AsFloat(), 10);
  EXPECT_TRUE(ds->Lookup("CLASSIFCONTA", {"9"}, "VALOR").IsNull());

  double sum = 0;
  ds->ForEach([&](TClientDataSet& d) { sum += d.FieldByName("VALOR").AsFloat(); });
  EXPECT_EQ(sum, 92);

  // Deleting inside ForEach visits every remaining row once.
  int visited = 0;
  ds->ForEach([&](TClientDataSet& d) {
    ++visited;
    if (d.FieldByName("CLASSIFCONTA").AsString() == "1.1") d.Delete();
  });
  EXPECT_EQ(visited, 5);
  EXPECT_EQ(ds->RecordCount(), 2);

  TClientDataSet target;
  target.AddFieldDef("VALOR", TFieldType::ftFloat);
  target.AddFieldDef("OUTRO", TFieldType::ftInteger);
  CopyDataCDS(*ds, target);
  EXPECT_EQ(Walk(target, "VALOR"), (std::vector<std::string>{"10", "21"}));
  target.EmptyDataSet();
  EXPECT_TRUE(target.IsEmpty());
}

TEST(ClientDataSet, CancelDiscardsAndAPostThatThrowsKeepsTheRowInEdit) {
  auto ds = Saldos();
  ds->SetIndexFieldNames("VALOR");
  ds->First();
  ds->Edit();
  ds->FieldByName("VALOR").SetAsFloat(999);
  ds->Cancel();
  EXPECT_EQ(ds->FieldByName("VALOR").AsFloat(), 10);

  ds->BeforePost = [](TClientDataSet& d) {
    if (d.FieldByName("VALOR").AsFloat() < 0) throw Exception("Valor negativo!");
  };
  ds->Append();
  ds->FieldByName("VALOR").SetAsFloat(-1);
  EXPECT_THROW(ds->Post(), Exception);
  EXPECT_EQ(ds->State(), TDataSetState::dsInsert);
  ds->Cancel();
  EXPECT_EQ(ds->RecordCount(), 5);
}

TEST(ClientDataSet, LookupFieldReadsFromTheOtherDataSet) {
  TClientDataSet contas;
  contas.AddFieldDef("CONTACTB", TFieldType::ftLargeint);
  contas.AddFieldDef("DESCRCONTA", TFieldType::ftString, 50);
  contas.CreateDataSet();
  contas.AppendRecord({10, "CAIXA"});
  contas.AppendRecord({20, "BANCOS"});
  auto ds = Saldos();
  ds->First();
  ds->Edit();
  ds->FieldByName("QTD").SetAsInteger(20);
  ds->Post();
  TField& f = ds->AddFieldLookup("DESCR", TFieldType::ftString, 50, "QTD", contas, "CONTACTB", "DESCRCONTA");
  ds->First();
  EXPECT_EQ(f.AsString(), "BANCOS");
  ds->Next();
  EXPECT_TRUE(f.IsNull());
}

ULMO_MAP_CLASS(TMapSaldo, TField, DATASALDO, ClassifConta, NAOHA);

TEST(FieldMapper, BindsMembersByNameIgnoringCaseAndKeepsOneMapPerClass) {
  auto ds = Saldos();
  TMapSaldo& m = FieldMapper().MapearFields<TMapSaldo>(*ds);
  EXPECT_EQ(m.ClassifConta, &ds->FieldByName("CLASSIFCONTA"));
  EXPECT_EQ(m.NAOHA, nullptr);
  EXPECT_EQ(&FieldMapper().MapearFields<TMapSaldo>(*ds), &m);
  ds->First();
  EXPECT_EQ(m.ClassifConta->AsString(), "1.1");
}

#include "Periodo_U.h"

TEST(GerarDataPeriodo, OneRowPerMonthWithTheEndsCutToThePeriod) {
  auto p = GerarDataPeriodo(EncodeDate(2023, 11, 15), EncodeDate(2024, 2, 10), 3);
  ASSERT_EQ(p->RecordCount(), 4);
  p->First();
  EXPECT_EQ(p->FieldByName("DATAINICIAL").AsDateTime(), EncodeDate(2023, 11, 15));
  EXPECT_EQ(p->FieldByName("DATAFINAL").AsDateTime(), EncodeDate(2023, 11, 30));
  p->Last();
  EXPECT_EQ(p->FieldByName("DATAINICIAL").AsDateTime(), EncodeDate(2024, 2, 1));
  EXPECT_EQ(p->FieldByName("DATAFINAL").AsDateTime(), EncodeDate(2024, 2, 10));
  EXPECT_EQ(GerarDataPeriodo(EncodeDate(2024, 5, 3), EncodeDate(2024, 5, 3))->RecordCount(), 1);
  EXPECT_THROW(GerarDataPeriodo(EncodeDate(2024, 5, 3), EncodeDate(2024, 5, 2)), Exception);
}

TEST(ClientDataSet, ATextSharedByManyRowsChangesOnlyInTheRowEdited) {
  // Past a few thousand rows a text already stored is shared by the rows that repeat it.
  TClientDataSet ds;
  ds.AddFieldDef("N", TFieldType::ftInteger);
  ds.AddFieldDef("CONTA", TFieldType::ftString, 100);
  ds.CreateDataSet();
  auto conta = [](int n) { return "1.1.1." + std::to_string(n % 7) + " Caixa e equivalentes de caixa da conta"; };
  const int linhas = 5000;
  for (int n = 0; n < linhas; ++n) {
    ds.Append();
    ds.FieldByName("N").SetAsInteger(n);
    ds.FieldByName("CONTA").SetAsString(conta(n));
    ds.Post();
  }
  ASSERT_TRUE(ds.Locate("N", {TVariant(4900)}));
  ds.Edit();
  ds.FieldByName("CONTA").SetAsString("outra");
  ds.Post();
  int n = 0;
  for (ds.First(); !ds.Eof(); ds.Next(), ++n)
    ASSERT_EQ(ds.FieldByName("CONTA").AsString(), n == 4900 ? "outra" : conta(n)) << n;
  EXPECT_EQ(n, linhas);
}

TEST(ClientDataSet, RowsAddedInAndOutOfKeyOrderKeepTheIndexOrderWithAndWithoutAFilter) {
  TClientDataSet ds;
  ds.AddFieldDef("SEQ", TFieldType::ftInteger);
  ds.AddFieldDef("ENVIAR", TFieldType::ftInteger);
  ds.CreateDataSet();
  ds.SetIndexFieldNames("SEQ");
  for (int s : {10, 20, 20, 30, 5, 25, 40, 1}) ds.AppendRecord({TVariant(s), TVariant(s % 2)});
  const std::vector<std::string> ordem{"1", "5", "10", "20", "20", "25", "30", "40"};
  EXPECT_EQ(Walk(ds, "SEQ"), ordem);
  ds.SetFilter("ENVIAR = 1");
  ds.SetFiltered(true);
  EXPECT_EQ(Walk(ds, "SEQ"), (std::vector<std::string>{"1", "5", "25"}));
  ds.AppendRecord({TVariant(3), TVariant(1)});
  EXPECT_EQ(Walk(ds, "SEQ"), (std::vector<std::string>{"1", "3", "5", "25"}));
  ds.SetFiltered(false);
  EXPECT_EQ(Walk(ds, "SEQ"), (std::vector<std::string>{"1", "3", "5", "10", "20", "20", "25", "30", "40"}));
}
