// The grid view of one tab over a small dataset of entries: grouping, sorting, ticks, refused
// edits, the ellipsis button, bands and the user's layout kept across widgets and runs.
#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "Exceptions_U.h"
#include "FrmPowerParamcxGridCloseTab_U.h"
#include "ModeloDataSet_U.h"
#include "VisaoCabecalhoBandas_U.h"
#include "VisaoCapturas_U.h"
#include "VisaoDelegado_U.h"
#include "VisaoGradeBandas_U.h"
#include "VisaoLayoutUsuario_U.h"
#include "VisaoProxyAgrupamento_U.h"

using namespace nFramework;
using namespace nDesktop;

namespace {

// Entries of two slips: 202201 with three (two on 03/01), 202202 with two.
std::unique_ptr<TClientDataSet> Lancamentos() {
  auto d = std::make_unique<TClientDataSet>();
  d->AddFieldDef("Enviar", TFieldType::ftSmallint);
  d->AddFieldDef("NumeroSlip", TFieldType::ftString, 16);
  d->AddFieldDef("Seq", TFieldType::ftInteger);
  d->AddFieldDef("TipoLancamento", TFieldType::ftInteger);
  d->AddFieldDef("DataLancamento", TFieldType::ftDate);
  d->AddFieldDef("Valor", TFieldType::ftFloat);
  d->AddFieldDef("Historico", TFieldType::ftString, 60);
  d->AddFieldDef("Regra", TFieldType::ftString, 100);
  d->AddFieldDef("Estilo", TFieldType::ftSmallint);
  d->CreateDataSet();
  struct TLinha {
    const char* Slip;
    int Seq, Tipo, Dia, Mes;
    double Valor;
    const char* Historico;
    int Estilo;
  };
  const TLinha linhas[] = {{"202202", 4, 2, 1, 2, 50.0, "Aluguel de fevereiro", 0},
                           {"202201", 1, 2, 3, 1, 300.0, "Compra de material", 0},
                           {"202201", 2, 1, 3, 1, 100.0, "Pagamento a fornecedor", 1},
                           {"202201", 3, 2, 10, 1, 200.0, "Tarifa bancária", 0},
                           {"202202", 5, 1, 15, 2, 75.0, "Juros recebidos", 0}};
  for (const TLinha& l : linhas) {
    d->Append();
    d->FieldByName("Enviar").SetAsInteger(0);
    d->FieldByName("NumeroSlip").SetAsString(l.Slip);
    d->FieldByName("Seq").SetAsInteger(l.Seq);
    d->FieldByName("TipoLancamento").SetAsInteger(l.Tipo);
    d->FieldByName("DataLancamento").SetAsDateTime(EncodeDate(2022, l.Mes, l.Dia));
    d->FieldByName("Valor").SetAsFloat(l.Valor);
    d->FieldByName("Historico").SetAsString(l.Historico);
    d->FieldByName("Estilo").SetAsInteger(l.Estilo);
    d->Post();
  }
  d->First();
  const std::pair<const char*, const char*> rotulos[] = {
      {"Enviar", "Enviar"},          {"NumeroSlip", "Número do Slip"}, {"Seq", "Número Seqüencial"},
      {"TipoLancamento", "Tipo do Lançamento"}, {"DataLancamento", "Data Lançamento"}, {"Valor", "Valor Lançamento"},
      {"Historico", "Histórico"},    {"Regra", "Regra"}};
  for (const auto& [campo, rotulo] : rotulos) d->FieldByName(campo).DisplayLabel = rotulo;
  for (const char* c : {"NumeroSlip", "Seq", "TipoLancamento"}) d->FieldByName(c).Band = "Dados Lançamento TCE";
  for (const char* c : {"DataLancamento", "Valor", "Historico", "Regra"}) d->FieldByName(c).Band = "Dados Lançamento Contábil";
  d->FieldByName("TipoLancamento").ValueList = "Débito=2;Crédito=1";
  d->FieldByName("Valor").DisplayFormat = "#,##0.00";
  d->FieldByName("Historico").DisplayWidth = 30;
  d->FieldByName("Estilo").Visible = false;
  for (int i = 0; i < d->FieldCount(); ++i) d->Fields(i).ReadOnly = true;
  for (const char* c : {"Enviar", "Historico", "TipoLancamento", "Regra"}) d->FieldByName(c).ReadOnly = false;
  d->CampoMarca = "Enviar";
  d->CampoEstilo = "Estilo";
  d->EstiloDestaque = "negrito-verde";
  return d;
}

// Rows the tree shows now (groups and leaves), top to bottom; aGrupo stands for each group
// row when given.
QStringList Linhas(QTreeView* aArvore, int aColuna, const QString& aGrupo = {}) {
  QStringList r;
  for (QModelIndex i = aArvore->model()->index(0, aColuna); i.isValid(); i = aArvore->indexBelow(i)) {
    const bool grupo = i.data(TProxyAgrupamento::PapelGrupo).toBool();
    r << (grupo && !aGrupo.isEmpty() ? aGrupo : i.sibling(i.row(), aColuna).data().toString());
  }
  return r;
}

// The entries' view as the send form lays it out: grouped by the hidden slip, then the date.
struct TFormTeste {
  std::unique_ptr<TClientDataSet> Dados = Lancamentos();
  TnGerentecxGrid Gerente{"TFormTesteVisao"};
  TnViewcxGrid* View = nullptr;
  TFormTeste() {
    View = &Gerente.CriarTabSheetBanded("Lançamento Contábil", *Dados);
    Gerente.ConfigurarGridFields(true, false);
    View->ViewGetColumnByFieldName("NumeroSlip")->Visible = false;
    View->ViewGetColumnByFieldName("NumeroSlip")->GroupIndex = 0;
    View->ViewGetColumnByFieldName("DataLancamento")->GroupIndex = 1;
    View->ExpandirTodos();
    Gerente.StoreAsDefaultConfig();
    Gerente.RestoreFormIniFile();
  }
};

int Coluna(TVisaoGradeBandas& aVisao, const char* aCampo) { return aVisao.Modelo().ColunaDoCampo(aCampo); }

QStringList OrdemVisivel(TVisaoGradeBandas& aVisao) {
  QHeaderView* h = aVisao.Arvore()->header();
  QStringList r;
  for (int v = 0; v < h->count(); ++v)
    if (!h->isSectionHidden(h->logicalIndex(v)))
      r << QString::fromStdString(aVisao.Modelo().Campo(h->logicalIndex(v))->FieldName());
  return r;
}

// The leaf of the tree showing the dataset row whose Seq is aSeq.
QModelIndex FolhaDoSeq(TVisaoGradeBandas& aVisao, int aSeq, const char* aCampo) {
  QTreeView* arvore = aVisao.Arvore();
  const int seq = Coluna(aVisao, "Seq"), coluna = Coluna(aVisao, aCampo);
  for (QModelIndex i = arvore->model()->index(0, 0); i.isValid(); i = arvore->indexBelow(i))
    if (!aVisao.Agrupamento().EhGrupo(i) && i.sibling(i.row(), seq).data().toInt() == aSeq) return i.sibling(i.row(), coluna);
  return {};
}

int ValorDoSeq(TClientDataSet& aDados, int aSeq, const char* aCampo) {
  aDados.Locate("Seq", {TVariant(aSeq)});
  return aDados.FieldByName(aCampo).AsInteger();
}

}  // namespace

class TTesteVisaoGrade : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QCoreApplication::setOrganizationName(QStringLiteral("BrivoTeste"));
    QCoreApplication::setApplicationName(QStringLiteral("ulmo-desktop-visao-teste"));
  }

  void init() { TnGerentecxGrid::LimparLayoutsSalvos(); }
  void cleanup() {
    SetArmazenamentoLayout(nullptr);
    TnGerentecxGrid::LimparLayoutsSalvos();
  }

  void proxyDeAgrupamentoPassaNoTester() {
    auto dados = Lancamentos();
    TModeloDataSet modelo(*dados);
    modelo.SetEditavel(true);
    TProxyPesquisa pesquisa;
    pesquisa.setSourceModel(&modelo);
    TProxyAgrupamento agrupamento;
    agrupamento.setSourceModel(&pesquisa);
    QAbstractItemModelTester tester(&agrupamento, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const int slip = modelo.ColunaDoCampo("NumeroSlip"), data = modelo.ColunaDoCampo("DataLancamento");
    QCOMPARE(agrupamento.rowCount(), 5);
    agrupamento.SetAgrupamento({slip, data});
    QCOMPARE(agrupamento.rowCount(), 2);
    // 202201: 03/01 and 10/01; 202202: 01/02 and 15/02.
    QCOMPARE(agrupamento.QuantidadeGrupos(), 6);
    const QModelIndex primeiro = agrupamento.index(0, 0);
    QCOMPARE(primeiro.data().toString(), QString("Número do Slip: 202201 (3 registros)"));
    QCOMPARE(agrupamento.index(0, 0, primeiro).data().toString(), QString("Data Lançamento: 03/01/2022 (2 registros)"));
    QCOMPARE(agrupamento.index(1, 0, primeiro).data().toString(), QString("Data Lançamento: 10/01/2022 (1 registro)"));
    QVERIFY(agrupamento.index(0, 0, primeiro).data(Qt::FontRole).value<QFont>().bold());
    // Persistent indexes follow a sort, a search and a change of a grouping value.
    const QModelIndex folha = agrupamento.index(0, modelo.ColunaDoCampo("Historico"), agrupamento.index(1, 0, primeiro));
    QPersistentModelIndex persistente(folha);
    QCOMPARE(persistente.data().toString(), QString("Tarifa bancária"));
    agrupamento.sort(modelo.ColunaDoCampo("Valor"), Qt::DescendingOrder);
    QCOMPARE(persistente.data().toString(), QString("Tarifa bancária"));
    pesquisa.SetPesquisa("tarifa");
    QCOMPARE(agrupamento.QuantidadeGrupos(), 2);
    QCOMPARE(persistente.data().toString(), QString("Tarifa bancária"));
    pesquisa.SetPesquisa(QString());
    QCOMPARE(agrupamento.QuantidadeGrupos(), 6);
    agrupamento.SetOrdemGrupo(slip, Qt::DescendingOrder);
    QCOMPARE(agrupamento.index(0, 0).data(TProxyAgrupamento::PapelCaminho).toString(), QString("202202"));
    QVERIFY(modelo.setData(modelo.index(modelo.LinhaDoMarcador(0), modelo.ColunaDoCampo("Historico")), "Aluguel"));
    QVERIFY(modelo.setData(modelo.index(0, modelo.ColunaDoCampo("Enviar")), Qt::Checked, Qt::CheckStateRole));
    agrupamento.SetAgrupamento({modelo.ColunaDoCampo("Enviar")});
    QCOMPARE(agrupamento.index(0, 0).data().toString(), QString("Enviar: Não marcado (4 registros)"));
    QVERIFY(modelo.setData(modelo.index(1, modelo.ColunaDoCampo("Enviar")), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(agrupamento.index(1, 0).data().toString(), QString("Enviar: Marcado (2 registros)"));
    modelo.Recarregar();
    QCOMPARE(agrupamento.QuantidadeGrupos(), 2);
  }

  void agrupaPelaColunaOcultaEExpande() {
    TFormTeste f;
    TVisaoGradeBandas visao(*f.View);
    visao.resize(900, 400);
    visao.show();
    QVERIFY(visao.Arvore()->header()->isSectionHidden(Coluna(visao, "NumeroSlip")));
    QVERIFY(!OrdemVisivel(visao).contains("NumeroSlip"));
    // Everything expanded: 2 slips, 4 dates, 5 entries.
    QCOMPARE(Linhas(visao.Arvore(), 0).size(), 11);
    QCOMPARE(Linhas(visao.Arvore(), 0).first(), QString("Número do Slip: 202201 (3 registros)"));
    QVERIFY(visao.Arvore()->isFirstColumnSpanned(0, QModelIndex()));
    visao.RecolherTodos();
    QCOMPARE(Linhas(visao.Arvore(), 0).size(), 2);
    visao.Arvore()->expand(visao.Agrupamento().index(1, 0));
    QCOMPARE(Linhas(visao.Arvore(), 0).size(), 4);
    // What the user opened stays open when the rows are read again.
    visao.Recarregar();
    QCOMPARE(Linhas(visao.Arvore(), 0).size(), 4);
    visao.ExpandirTodos();
    QCOMPARE(Linhas(visao.Arvore(), 0).size(), 11);
    // Grouping taken off the hidden column shows it again.
    visao.RemoverAgrupamento("NumeroSlip");
    QVERIFY(!visao.Arvore()->header()->isSectionHidden(Coluna(visao, "NumeroSlip")));
    QCOMPARE(visao.Agrupamento().rowCount(), 4);
    visao.AgruparPor("TipoLancamento");
    // Four dates; two kinds on 03/01, one on each other date.
    QCOMPARE(visao.Agrupamento().QuantidadeGrupos(), 4 + 5);
  }

  void menuDoCabecalhoAgrupaEOfereceOPadrao() {
    TFormTeste f;
    TVisaoGradeBandas visao(*f.View);
    visao.resize(1400, 400);
    visao.show();
    QHeaderView* h = visao.Arvore()->header();
    const int tipo = Coluna(visao, "TipoLancamento");
    QStringList vistos;
    auto escolher = [&](const QString& aTexto) {
      QTimer::singleShot(0, [&vistos, aTexto] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* a : menu->actions()) {
          vistos << a->text();
          if (a->text() == aTexto) a->trigger();
        }
        menu->close();
      });
      // Grouping widens the tree's column: where the column is now.
      emit h->customContextMenuRequested(QPoint(h->sectionViewportPosition(tipo) + 5, h->height() / 2));
    };
    escolher("Agrupar por esta coluna");
    QCOMPARE(visao.Agrupamento().Agrupamento().last(), tipo);
    QVERIFY(!vistos.contains("Restaurar layout padrão"));
    QSignalSpy padrao(&visao, &TVisaoGradeBandas::RestaurarPadraoSolicitado);
    vistos.clear();
    escolher("Restaurar layout padrão");
    QCOMPARE(padrao.count(), 1);
    QVERIFY(vistos.contains("Remover agrupamento"));
    escolher("Remover agrupamento");
    QVERIFY(!visao.Agrupamento().Agrupamento().contains(tipo));
  }

  void ordenaDentroDosGrupos() {
    TFormTeste f;
    TVisaoGradeBandas visao(*f.View);
    visao.show();
    visao.RemoverAgrupamento("DataLancamento");
    const int valor = Coluna(visao, "Valor");
    visao.Arvore()->sortByColumn(valor, Qt::DescendingOrder);
    QCOMPARE(Linhas(visao.Arvore(), valor, "G"), QStringList({"G", "300,00", "200,00", "100,00", "G", "75,00", "50,00"}));
    visao.Arvore()->sortByColumn(valor, Qt::AscendingOrder);
    QCOMPARE(Linhas(visao.Arvore(), valor, "G"), QStringList({"G", "100,00", "200,00", "300,00", "G", "50,00", "75,00"}));
    // The grouping column's own header orders its groups.
    visao.Arvore()->sortByColumn(Coluna(visao, "NumeroSlip"), Qt::DescendingOrder);
    QCOMPARE(visao.Agrupamento().index(0, 0).data(TProxyAgrupamento::PapelCaminho).toString(), QString("202202"));
  }

  void marcaTodosNenhumEInverteAsLinhasMostradas() {
    TFormTeste f;
    TVisaoGradeBandas visao(*f.View);
    visao.show();
    auto marcadas = [&] {
      int n = 0;
      f.Dados->ForEach([&](TClientDataSet& d) { n += d.FieldByName("Enviar").AsInteger(); });
      return n;
    };
    QVERIFY(visao.findChild<QWidget*>("MarcarTodos")->isVisibleTo(&visao));
    visao.findChild<QLineEdit*>("Pesquisa")->setText("202201");
    visao.MarcarTodos();
    QCOMPARE(marcadas(), 3);
    QCOMPARE(ValorDoSeq(*f.Dados, 4, "Enviar"), 0);
    visao.findChild<QLineEdit*>("Pesquisa")->clear();
    visao.InverterMarcas();
    QCOMPARE(marcadas(), 2);
    QCOMPARE(ValorDoSeq(*f.Dados, 4, "Enviar"), 1);
    QCOMPARE(ValorDoSeq(*f.Dados, 1, "Enviar"), 0);
    visao.DesmarcarTodos();
    QCOMPARE(marcadas(), 0);
    visao.MarcarTodos();
    QCOMPARE(marcadas(), 5);
    // One click anywhere in the cell turns it over.
    QModelIndex celula = FolhaDoSeq(visao, 3, "Enviar");
    QVERIFY(celula.isValid());
    QRect r = visao.Arvore()->visualRect(celula);
    QTest::mouseClick(visao.Arvore()->viewport(), Qt::LeftButton, {}, r.topLeft() + QPoint(3, 3));
    QCOMPARE(ValorDoSeq(*f.Dados, 3, "Enviar"), 0);
    QCOMPARE(FolhaDoSeq(visao, 3, "Enviar").data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
  }

  void semColunaDeMarcaNaoHaBotoesDeMarca() {
    auto dados = Lancamentos();
    dados->CampoMarca.clear();
    TnViewcxGrid view;
    view.DataSet = dados.get();
    TVisaoGradeBandas visao(view);
    visao.show();
    QVERIFY(!visao.findChild<QWidget*>("MarcarTodos")->isVisibleTo(&visao));
    visao.MarcarTodos();
    int n = 0;
    dados->ForEach([&](TClientDataSet& d) { n += d.FieldByName("Enviar").AsInteger(); });
    QCOMPARE(n, 0);
  }

  void edicaoRecusadaMantemOValorEAvisa() {
    TFormTeste f;
    f.Dados->FieldByName("Historico").OnValidate = [](TField&, const std::string& aTexto) {
      if (aTexto.find("proibido") != std::string::npos) throw Exception("Histórico não permitido.");
    };
    TVisaoGradeBandas visao(*f.View);
    visao.show();
    QSignalSpy recusas(&visao, &TVisaoGradeBandas::EdicaoRecusada);
    QModelIndex celula = FolhaDoSeq(visao, 2, "Historico");
    QVERIFY(!visao.Arvore()->model()->setData(celula, "texto proibido"));
    QCOMPARE(recusas.count(), 1);
    QVERIFY2(recusas[0][0].toString().contains("Histórico não permitido."), qPrintable(recusas[0][0].toString()));
    QVERIFY(visao.Aviso().contains("Histórico não permitido."));
    QCOMPARE(FolhaDoSeq(visao, 2, "Historico").data().toString(), QString("Pagamento a fornecedor"));
    f.Dados->Locate("Seq", {TVariant(2)});
    QCOMPARE(f.Dados->FieldByName("Historico").AsString(), std::string("Pagamento a fornecedor"));
    // Read-only cells take no edit at all.
    QVERIFY(!(FolhaDoSeq(visao, 2, "Valor").flags() & Qt::ItemIsEditable));
    QVERIFY(visao.Arvore()->model()->setData(FolhaDoSeq(visao, 2, "Historico"), "Pagamento aceito"));
    QCOMPARE(FolhaDoSeq(visao, 2, "Historico").data().toString(), QString("Pagamento aceito"));
  }

  void listaDeValoresEditaPorCombo() {
    TFormTeste f;
    TVisaoGradeBandas visao(*f.View);
    visao.show();
    QModelIndex celula = FolhaDoSeq(visao, 1, "TipoLancamento");
    QCOMPARE(celula.data().toString(), QString("Débito"));
    visao.Arvore()->setCurrentIndex(celula);
    visao.Arvore()->edit(celula);
    auto* combo = visao.Arvore()->findChild<QComboBox*>("EditorLista");
    QVERIFY(combo);
    QCOMPARE(combo->currentText(), QString("Débito"));
    QVERIFY(combo->findText("Crédito") >= 0);
    combo->setCurrentIndex(combo->findText("Crédito"));
    emit combo->activated(combo->currentIndex());
    QCOMPARE(ValorDoSeq(*f.Dados, 1, "TipoLancamento"), 1);
    QCOMPARE(FolhaDoSeq(visao, 1, "TipoLancamento").data().toString(), QString("Crédito"));
  }

  void botaoDeReticenciasChamaOHandlerNaLinhaCerta() {
    TFormTeste f;
    int seqVisto = -1;
    f.Dados->FieldByName("Regra").OnButtonClick = [&seqVisto](TField& aCampo) {
      TClientDataSet& d = aCampo.DataSet();
      seqVisto = d.FieldByName("Seq").AsInteger();
      d.Edit();
      aCampo.SetAsString("SALDO(1.1.1)");
      d.Post();
    };
    TVisaoGradeBandas visao(*f.View);
    visao.resize(1400, 500);
    visao.show();
    // Sorted and grouped, the rows on screen are far from the dataset's order.
    visao.Arvore()->sortByColumn(Coluna(visao, "Valor"), Qt::DescendingOrder);
    QModelIndex celula = FolhaDoSeq(visao, 3, "Regra");
    QVERIFY(celula.isValid());
    visao.Arvore()->scrollTo(celula);
    QRect botao = TDelegadoGrade::RetanguloBotao(visao.Arvore()->visualRect(celula));
    QTest::mouseClick(visao.Arvore()->viewport(), Qt::LeftButton, {}, botao.center());
    QCOMPARE(seqVisto, 3);
    QCOMPARE(FolhaDoSeq(visao, 3, "Regra").data().toString(), QString("SALDO(1.1.1)"));
    QCOMPARE(FolhaDoSeq(visao, 1, "Regra").data().toString(), QString());
    // A handler that refuses: the row keeps its value and the message shows.
    f.Dados->FieldByName("Regra").OnButtonClick = [](TField& aCampo) {
      aCampo.DataSet().Edit();
      aCampo.SetAsString("X");
      throw Exception("Regra definida é inválida.");
    };
    QTest::mouseClick(visao.Arvore()->viewport(), Qt::LeftButton, {}, botao.center());
    QCOMPARE(visao.Aviso(), QString("Regra definida é inválida."));
    QCOMPARE(FolhaDoSeq(visao, 3, "Regra").data().toString(), QString("SALDO(1.1.1)"));
    QCOMPARE(f.Dados->State(), TDataSetState::dsBrowse);
  }

  // A grid laid out before its first load fitted its columns to their captions, and the rows
  // loaded later were cut ("01 - Rec...").
  void colunasAjustadasSemLinhasCabemAsPrimeirasLinhas() {
    auto dados = std::make_unique<TClientDataSet>();
    dados->AddFieldDef("Descricao", TFieldType::ftString, 60);
    dados->CreateDataSet();
    dados->FieldByName("Descricao").DisplayLabel = "Receita";
    TnGerentecxGrid gerente{"TFormTesteVisaoVazia"};
    TnViewcxGrid& view = gerente.CriarTabSheetBanded("Receitas", *dados);
    gerente.ConfigurarGridFields(true, false);
    TVisaoGradeBandas visao(view);
    visao.resize(900, 400);
    visao.AplicarLayout();
    const QString texto = QStringLiteral("12 - Subvenções para Cobertura de Custeio");
    dados->Append();
    dados->FieldByName("Descricao").SetAsString(texto.toStdString());
    dados->Post();
    visao.Recarregar();
    const int largura = visao.Arvore()->header()->sectionSize(Coluna(visao, "Descricao"));
    QVERIFY2(largura >= visao.Arvore()->fontMetrics().horizontalAdvance(texto),
             qPrintable(QStringLiteral("largura %1").arg(largura)));
    // A width the user set stays as the user left it on the next loads.
    visao.Arvore()->header()->resizeSection(Coluna(visao, "Descricao"), 120);
    visao.Recarregar();
    QCOMPARE(visao.Arvore()->header()->sectionSize(Coluna(visao, "Descricao")), 120);
  }

  void bandasCobremSuasColunasLadoALado() {
    TFormTeste f;
    TVisaoGradeBandas visao(*f.View);
    visao.resize(1400, 400);
    visao.show();
    QVERIFY(visao.Bandas()->isVisible());
    auto celulas = visao.Bandas()->Celulas();
    QCOMPARE(int(celulas.size()), 3);
    QCOMPARE(celulas[0].Banda, QString());  // the tick column's
    QCOMPARE(celulas[1].Banda, QString("Dados Lançamento TCE"));
    QCOMPARE(celulas[2].Banda, QString("Dados Lançamento Contábil"));
    QHeaderView* h = visao.Arvore()->header();
    const int seq = Coluna(visao, "Seq"), tipo = Coluna(visao, "TipoLancamento");
    QCOMPARE(celulas[1].X, h->sectionViewportPosition(seq));
    QCOMPARE(celulas[1].Largura, h->sectionSize(seq) + h->sectionSize(tipo));
    // A column dragged into another band goes back beside its own.
    h->moveSection(h->visualIndex(seq), h->visualIndex(Coluna(visao, "Valor")));
    celulas = visao.Bandas()->Celulas();
    QCOMPARE(int(celulas.size()), 3);
    QCOMPARE(std::abs(h->visualIndex(seq) - h->visualIndex(tipo)), 1);
    QVERIFY(h->visualIndex(seq) < h->visualIndex(Coluna(visao, "DataLancamento")));
    // Bold on light green: the highlighted row, through the proxies.
    QModelIndex destacada = FolhaDoSeq(visao, 2, "Historico");
    QVERIFY(destacada.data(Qt::FontRole).value<QFont>().bold());
    QVERIFY(destacada.data(Qt::BackgroundRole).isValid());
    QVERIFY(!FolhaDoSeq(visao, 1, "Historico").data(Qt::FontRole).value<QFont>().bold());
  }

  void layoutSalvoVenceOPadraoAoRecriarAVisao() {
    const int largura = 233;
    {
      TFormTeste f;
      TVisaoGradeBandas visao(*f.View);
      visao.show();
      QHeaderView* h = visao.Arvore()->header();
      h->moveSection(h->visualIndex(Coluna(visao, "Historico")), h->visualIndex(Coluna(visao, "DataLancamento")));
      h->resizeSection(Coluna(visao, "Valor"), largura);
      visao.RemoverAgrupamento("DataLancamento");
      visao.AgruparPor("TipoLancamento");
      h->setSectionHidden(Coluna(visao, "Seq"), true);
      visao.CapturarLayout();
      f.Gerente.SalvarFormIniFile();
    }
    TFormTeste f;
    TVisaoGradeBandas visao(*f.View);
    visao.show();
    QHeaderView* h = visao.Arvore()->header();
    QCOMPARE(OrdemVisivel(visao),
             QStringList({"Enviar", "TipoLancamento", "Historico", "DataLancamento", "Valor", "Regra"}));
    QCOMPARE(h->sectionSize(Coluna(visao, "Valor")), largura);
    QCOMPARE(visao.Agrupamento().Agrupamento(), QList<int>({Coluna(visao, "NumeroSlip"), Coluna(visao, "TipoLancamento")}));
    // The default is there to return to.
    f.Gerente.RestaurarPadrao();
    visao.AplicarLayout();
    QCOMPARE(OrdemVisivel(visao), QStringList({"Enviar", "Seq", "TipoLancamento", "DataLancamento", "Valor", "Historico",
                                               "Regra"}));
    QCOMPARE(visao.Agrupamento().Agrupamento(), QList<int>({Coluna(visao, "NumeroSlip"), Coluna(visao, "DataLancamento")}));
    QVERIFY(h->sectionSize(Coluna(visao, "Valor")) != largura);
  }

  void capturasGravamAsTelas() {
    QTemporaryDir pasta;
    auto arquivos = CapturarTelasVisao(pasta.filePath("telas").toStdString());
    QCOMPARE(int(arquivos.size()), 3);
    for (const auto& a : arquivos) QVERIFY2(QPixmap(QString::fromStdString(a.string())).width() > 800, a.c_str());
    if (qEnvironmentVariableIsSet("ULMO_TELAS")) CapturarTelasVisao(qEnvironmentVariable("ULMO_TELAS").toStdString());
  }

  // The program run twice with the same home: the layout saved by the first is the second's.
  void layoutSalvoSobreviveAoReinicio() {
    QTemporaryDir casa;
    QVERIFY(casa.isValid());
    auto rodar = [&](const char* aEtapa) {
      QProcess p;
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert("HOME", casa.path());
      env.remove("XDG_CONFIG_HOME");
      env.insert("ULMO_ETAPA_LAYOUT", "1");
      p.setProcessEnvironment(env);
      p.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(aEtapa)});
      QVERIFY(p.waitForFinished(60000));
      QVERIFY2(p.exitCode() == 0, qPrintable(p.readAllStandardOutput() + p.readAllStandardError()));
      QVERIFY2(!p.readAllStandardOutput().contains("SKIP"), aEtapa);
    };
    rodar("etapaGravarLayout");
    QVERIFY(QDir(casa.path()).exists(".config/BrivoTeste/ulmo-desktop-visao-teste.conf"));
    rodar("etapaLerLayout");
  }

  void etapaGravarLayout() {
    if (qEnvironmentVariableIsEmpty("ULMO_ETAPA_LAYOUT")) QSKIP("só dentro de layoutSalvoSobreviveAoReinicio");
    InstalarLayoutsDoUsuario();
    TFormTeste f;
    TVisaoGradeBandas visao(*f.View);
    visao.show();
    QHeaderView* h = visao.Arvore()->header();
    h->moveSection(h->visualIndex(Coluna(visao, "Valor")), h->visualIndex(Coluna(visao, "DataLancamento")));
    h->resizeSection(Coluna(visao, "Historico"), 321);
    visao.AgruparPor("TipoLancamento");
    visao.CapturarLayout();
    f.Gerente.SalvarFormIniFile();
  }

  void etapaLerLayout() {
    if (qEnvironmentVariableIsEmpty("ULMO_ETAPA_LAYOUT")) QSKIP("só dentro de layoutSalvoSobreviveAoReinicio");
    InstalarLayoutsDoUsuario();
    TFormTeste f;
    TVisaoGradeBandas visao(*f.View);
    visao.show();
    QHeaderView* h = visao.Arvore()->header();
    QVERIFY(h->visualIndex(Coluna(visao, "Valor")) < h->visualIndex(Coluna(visao, "DataLancamento")));
    QCOMPARE(h->sectionSize(Coluna(visao, "Historico")), 321);
    QCOMPARE(visao.Agrupamento().Agrupamento(),
             QList<int>({Coluna(visao, "NumeroSlip"), Coluna(visao, "DataLancamento"), Coluna(visao, "TipoLancamento")}));
  }
};

QTEST_MAIN(TTesteVisaoGrade)
#include "VisaoGradeBandas_U_test.moc"
