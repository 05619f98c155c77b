// The dataset table model: what each cell shows and sorts by, and edits through the grid's checks.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include "ClientDataSet_U.h"
#include "Currency_U.h"
#include "DateUtils_U.h"
#include "ModeloDataSet_U.h"

using namespace nFramework;
using nDesktop::TModeloDataSet;
using nDesktop::TProxyPesquisa;

namespace {

// Three rows of every kind a grid shows: the second has the newest date and the largest
// amount, so a text sort and a value sort disagree on both.
void Preencher(TClientDataSet& ds) {
  ds.AddFieldDef("CODIGO", TFieldType::ftInteger);
  ds.AddFieldDef("NOME", TFieldType::ftString, 40);
  ds.AddFieldDef("VALOR", TFieldType::ftCurrency);
  ds.AddFieldDef("DATA", TFieldType::ftDate);
  ds.AddFieldDef("ATIVO", TFieldType::ftBoolean);
  ds.AddFieldDef("TIPO", TFieldType::ftSmallint);
  ds.AddFieldDef("OCULTO", TFieldType::ftString, 10);
  ds.CreateDataSet();
  ds.FieldByName("CODIGO").DisplayLabel = "Código";
  ds.FieldByName("CODIGO").ReadOnly = true;
  ds.FieldByName("NOME").DisplayLabel = "Descrição";
  ds.FieldByName("VALOR").DisplayLabel = "Valor";
  ds.FieldByName("DATA").DisplayLabel = "Data";
  ds.FieldByName("TIPO").DisplayLabel = "Tipo";
  ds.FieldByName("TIPO").ValueList = "Débito=1;Crédito=2";
  ds.FieldByName("OCULTO").Visible = false;
  struct {
    int codigo;
    const char* nome;
    const char* valor;
    TDateTime data;
    bool ativo;
    int tipo;
  } linhas[] = {{1, "Caixa Geral", "9.5", EncodeDate(2024, 3, 15), true, 1},
                {2, "Conta Corrente Bancária", "1234.5", EncodeDate(2025, 1, 2), false, 2},
                {3, "Aplicação", "10", EncodeDate(2023, 12, 31), true, 1}};
  for (const auto& l : linhas) {
    ds.Append();
    ds.FieldByName("CODIGO").SetAsInteger(l.codigo);
    ds.FieldByName("NOME").SetAsString(l.nome);
    ds.FieldByName("VALOR").SetAsCurrency(Currency::FromString(l.valor));
    ds.FieldByName("DATA").SetAsDateTime(l.data);
    ds.FieldByName("ATIVO").SetAsBoolean(l.ativo);
    ds.FieldByName("TIPO").SetAsInteger(l.tipo);
    ds.FieldByName("OCULTO").SetAsString("x");
    ds.Post();
  }
}

QString Celula(const QAbstractItemModel& m, int linha, int coluna, int papel = Qt::DisplayRole) {
  return m.index(linha, coluna).data(papel).toString();
}

QStringList Coluna(const QAbstractItemModel& m, int coluna) {
  QStringList r;
  for (int i = 0; i < m.rowCount(); ++i) r << Celula(m, i, coluna);
  return r;
}

}  // namespace

class TTesteModeloDataSet : public QObject {
  Q_OBJECT
 private slots:
  void colunasETextosComoAGrade() {
    TClientDataSet ds;
    Preencher(ds);
    TModeloDataSet modelo(ds);
    QAbstractItemModelTester tester(&modelo, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // The hidden column is left out; captions are the fields' labels.
    QCOMPARE(modelo.columnCount(), 6);
    QStringList titulos;
    for (int c = 0; c < modelo.columnCount(); ++c) titulos << modelo.headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titulos, QStringList({"Código", "Descrição", "Valor", "Data", "ATIVO", "Tipo"}));
    QCOMPARE(modelo.rowCount(), 3);
    // Brazilian money and dates, a list's caption, a Boolean as a check box without text.
    QCOMPARE(Celula(modelo, 1, 2), QString("1.234,50"));
    QCOMPARE(Celula(modelo, 1, 3), QString("02/01/2025"));
    QCOMPARE(Celula(modelo, 1, 5), QString("Crédito"));
    QCOMPARE(modelo.index(0, 4).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(modelo.index(1, 4).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QVERIFY(!modelo.index(0, 4).data(Qt::DisplayRole).isValid());
    QVERIFY(!modelo.index(0, 1).data(Qt::CheckStateRole).isValid());
    auto alinhamento = [&](int c) { return modelo.index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>(); };
    QVERIFY(alinhamento(2) & Qt::AlignRight);
    QVERIFY(alinhamento(1) & Qt::AlignLeft);
    QVERIFY(alinhamento(5) & Qt::AlignLeft);  // a list's caption is a text
    // Reading the rows leaves the dataset's cursor alone.
    ds.Last();
    modelo.Recarregar();
    QCOMPARE(ds.RecNo(), 3);
  }

  void ordenaPeloValorEPesquisaSemAcentos() {
    TClientDataSet ds;
    Preencher(ds);
    TModeloDataSet modelo(ds);
    TProxyPesquisa proxy;
    proxy.setSourceModel(&modelo);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // By value: "9,50" < "10,00" < "1.234,50", which a text sort would put as 10,00, 1.234,50, 9,50.
    proxy.sort(2, Qt::AscendingOrder);
    QCOMPARE(Coluna(proxy, 2), QStringList({"9,50", "10,00", "1.234,50"}));
    proxy.sort(3, Qt::AscendingOrder);
    QCOMPARE(Coluna(proxy, 3), QStringList({"31/12/2023", "15/03/2024", "02/01/2025"}));
    // Words in any column and order, without regard to case or accents.
    proxy.SetPesquisa("bancaria CORRENTE");
    QCOMPARE(Coluna(proxy, 1), QStringList({"Conta Corrente Bancária"}));
    proxy.SetPesquisa("aplicacao");
    QCOMPARE(Coluna(proxy, 1), QStringList({"Aplicação"}));
    proxy.SetPesquisa("crédito");
    QCOMPARE(Coluna(proxy, 0), QStringList({"2"}));
    proxy.SetPesquisa("nada assim");
    QCOMPARE(proxy.rowCount(), 0);
    proxy.SetPesquisa("");
    QCOMPARE(proxy.rowCount(), 3);
  }

  void edicaoPassaPelasChecagensDaGrade() {
    TClientDataSet ds;
    Preencher(ds);
    TModeloDataSet modelo(ds);
    modelo.SetEditavel(true);
    QAbstractItemModelTester tester(&modelo, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy recusas(&modelo, &TModeloDataSet::EdicaoRecusada);
    QVERIFY(!(modelo.flags(modelo.index(0, 0)) & Qt::ItemIsEditable));  // read-only column
    QVERIFY(modelo.flags(modelo.index(0, 4)) & Qt::ItemIsUserCheckable);

    // A value as the grid writes it, a list by its caption.
    QVERIFY(modelo.setData(modelo.index(0, 2), "2.500,75"));
    QCOMPARE(Celula(modelo, 0, 2), QString("2.500,75"));
    QVERIFY(modelo.setData(modelo.index(0, 5), "crédito"));
    ds.First();
    QCOMPARE(ds.FieldByName("TIPO").AsInteger(), 2);
    QCOMPARE(ds.FieldByName("VALOR").AsCurrency(), Currency::FromString("2500.75"));
    QVERIFY(modelo.setData(modelo.index(1, 4), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(modelo.index(1, 4).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));

    // Refusals keep the row as it was and say why, naming the row and the column.
    QVERIFY(!modelo.setData(modelo.index(0, 2), "2.5"));
    QVERIFY(!modelo.setData(modelo.index(0, 5), "Outro"));
    QVERIFY(!modelo.setData(modelo.index(0, 3), "31/02/2024"));
    QCOMPARE(recusas.count(), 3);
    QVERIFY(recusas.at(1).at(0).toString().contains("coluna \"Tipo\""));
    QVERIFY(recusas.at(1).at(0).toString().contains("não é um valor da lista"));
    QCOMPARE(Celula(modelo, 0, 2), QString("2.500,75"));
    ds.First();
    QCOMPARE(ds.FieldByName("TIPO").AsInteger(), 2);
    QCOMPARE(ds.State(), TDataSetState::dsBrowse);
  }

  void edicaoQueMoveALinhaReleAGrade() {
    TClientDataSet ds;
    Preencher(ds);
    ds.SetIndexFieldNames("NOME");  // Aplicação, Caixa Geral, Conta Corrente Bancária
    ds.FieldByName("CODIGO").ReadOnly = false;
    TModeloDataSet modelo(ds);
    modelo.SetEditavel(true);
    QAbstractItemModelTester tester(&modelo, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(Celula(modelo, 0, 1), QString("Aplicação"));
    QVERIFY(modelo.setData(modelo.index(0, 1), "Zeladoria"));
    QCOMPARE(Coluna(modelo, 1), QStringList({"Caixa Geral", "Conta Corrente Bancária", "Zeladoria"}));
    QCOMPARE(Celula(modelo, 2, 0), QString("3"));
  }
};

QTEST_MAIN(TTesteModeloDataSet)
#include "ModeloDataSet_U_test.moc"
