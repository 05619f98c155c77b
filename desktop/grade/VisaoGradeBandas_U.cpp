#include "VisaoGradeBandas_U.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMetaMethod>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "ClientDataSet_U.h"
#include "Dicionario_U.h"
#include "Exceptions_U.h"
#include "ModeloDataSet_U.h"
#include "Classes_U.h"
#include "VisaoCabecalhoBandas_U.h"
#include "VisaoDelegado_U.h"
#include "VisaoPainelAgrupamento_U.h"
#include "VisaoProxyAgrupamento_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The widest a column starts, so that one long text does not push the others out of sight.
constexpr int kLarguraMaxima = 360;
constexpr int kLarguraMinima = 44;
// Rows measured for a column's starting width.
constexpr int kLinhasAmostra = 200;

}  // namespace

TVisaoGradeBandas::TVisaoGradeBandas(TnViewcxGrid& view, QWidget* pai)
    : QWidget(pai), FView(view), FModelo(std::make_unique<TModeloDataSet>(*view.DataSet)) {
  FModelo->SetEditavel(true);
  FPesquisa = new TProxyPesquisa(this);
  FPesquisa->setSourceModel(FModelo.get());
  FAgrupamento = new TProxyAgrupamento(this);
  FAgrupamento->setSourceModel(FPesquisa);

  auto* barra = new QWidget(this);
  MontarBarra(barra);
  FPainel = new TPainelAgrupamento(this);

  auto* moldura = new QFrame(this);
  moldura->setObjectName(QStringLiteral("MolduraGrade"));
  moldura->setFrameShape(QFrame::StyledPanel);
  auto* colunaGrade = new QVBoxLayout(moldura);
  colunaGrade->setContentsMargins(1, 1, 1, 1);
  colunaGrade->setSpacing(0);
  FArvore = new QTreeView(moldura);
  FArvore->setObjectName(QStringLiteral("Grade"));
  FArvore->setFrameShape(QFrame::NoFrame);
  FArvore->setModel(FAgrupamento);
  FArvore->setAlternatingRowColors(true);
  FArvore->setUniformRowHeights(true);
  FArvore->setAllColumnsShowFocus(true);
  FArvore->setSelectionBehavior(QAbstractItemView::SelectRows);
  FArvore->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FArvore->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
  FArvore->setIndentation(14);
  FArvore->setRootIsDecorated(false);
  FArvore->setExpandsOnDoubleClick(true);
  FArvore->setWordWrap(false);
  FArvore->setTextElideMode(Qt::ElideRight);
  FDelegado = new TDelegadoGrade(*FModelo, this);
  FArvore->setItemDelegate(FDelegado);
  QHeaderView* cabecalho = FArvore->header();
  cabecalho->setSectionsMovable(true);
  cabecalho->setSectionsClickable(true);
  cabecalho->setStretchLastSection(false);
  cabecalho->setHighlightSections(false);
  cabecalho->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  cabecalho->setContextMenuPolicy(Qt::CustomContextMenu);
  cabecalho->setSortIndicatorShown(true);
  // The dataset's own order until the user sorts by a column.
  cabecalho->setSortIndicator(-1, Qt::AscendingOrder);
  FArvore->setSortingEnabled(true);
  FBandas = new TCabecalhoBandas(cabecalho, moldura);
  FBandas->setObjectName(QStringLiteral("Bandas"));
  colunaGrade->addWidget(FBandas);
  colunaGrade->addWidget(FArvore, 1);

  FFaixaAviso = new QFrame(this);
  FFaixaAviso->setObjectName(QStringLiteral("FaixaAviso"));
  FFaixaAviso->setStyleSheet(QStringLiteral("#FaixaAviso { background: #fff4ce; border: 1px solid #e0b252; }"));
  auto* linhaAviso = new QHBoxLayout(FFaixaAviso);
  linhaAviso->setContentsMargins(8, 4, 4, 4);
  auto* icone = new QLabel(QStringLiteral("⚠"), FFaixaAviso);
  icone->setStyleSheet(QStringLiteral("color: #9a6700; font-weight: bold;"));
  FAviso = new QLabel(FFaixaAviso);
  FAviso->setObjectName(QStringLiteral("Aviso"));
  FAviso->setWordWrap(true);
  FAviso->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* fechar = new QToolButton(FFaixaAviso);
  fechar->setObjectName(QStringLiteral("FecharAviso"));
  fechar->setText(QStringLiteral("✕"));
  fechar->setToolTip(QStringLiteral("Fechar o aviso"));
  fechar->setAutoRaise(true);
  linhaAviso->addWidget(icone);
  linhaAviso->addWidget(FAviso, 1);
  linhaAviso->addWidget(fechar);
  FFaixaAviso->hide();
  connect(fechar, &QToolButton::clicked, this, [this] {
    FAviso->clear();
    FFaixaAviso->hide();
  });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  layout->addWidget(barra);
  auto* blocoGrade = new QVBoxLayout;
  blocoGrade->setSpacing(0);
  blocoGrade->addWidget(FPainel);
  blocoGrade->addWidget(moldura, 1);
  layout->addLayout(blocoGrade, 1);
  layout->addWidget(FFaixaAviso);

  connect(FModelo.get(), &TModeloDataSet::EdicaoRecusada, this, &TVisaoGradeBandas::MostrarRecusa);
  connect(FDelegado, &TDelegadoGrade::BotaoClicado, this, &TVisaoGradeBandas::BotaoClicado);
  connect(cabecalho, &QHeaderView::customContextMenuRequested, this, &TVisaoGradeBandas::MenuCabecalho);
  connect(cabecalho, &QHeaderView::sectionMoved, this, [this] {
    if (!FMovendo) JuntarBandas();
    AjustarColunaDaArvore();
  });
  connect(FAgrupamento, &QAbstractItemModel::modelReset, this, [this] { RestaurarGrupos(); });
  connect(FAgrupamento, &QAbstractItemModel::layoutChanged, this, [this] { RestaurarGrupos(); });
  auto lembrar = [this](const QModelIndex& i, bool expandido) {
    if (!FRestaurando) FExpansao.insert(i.data(TProxyAgrupamento::PapelCaminho).toString(), expandido);
  };
  connect(FArvore, &QTreeView::expanded, this, [lembrar](const QModelIndex& i) { lembrar(i, true); });
  connect(FArvore, &QTreeView::collapsed, this, [lembrar](const QModelIndex& i) { lembrar(i, false); });
  connect(FPainel, &TPainelAgrupamento::RemoverPedido, this, [this](int coluna) { RemoverAgrupamento(CampoDaColuna(coluna)); });
  connect(FPainel, &TPainelAgrupamento::MoverPedido, this, [this](int coluna, int delta) {
    QList<int> grupos = FAgrupamento->Agrupamento();
    const int de = static_cast<int>(grupos.indexOf(coluna));
    const int para = de + delta;
    if (de < 0 || para < 0 || para >= grupos.size()) return;
    grupos.move(de, para);
    AplicarAgrupamento(grupos);
  });
  connect(FPesquisa, &QAbstractItemModel::modelReset, this, &TVisaoGradeBandas::AtualizarBarra);
  connect(FPesquisa, &QAbstractItemModel::layoutChanged, this, &TVisaoGradeBandas::AtualizarBarra);
  connect(FPesquisa, &QAbstractItemModel::rowsInserted, this, &TVisaoGradeBandas::AtualizarBarra);
  connect(FPesquisa, &QAbstractItemModel::rowsRemoved, this, &TVisaoGradeBandas::AtualizarBarra);

  AplicarLayout();
}

TVisaoGradeBandas::~TVisaoGradeBandas() {
  // The views go before the models they show.
  FArvore->setModel(nullptr);
}

void TVisaoGradeBandas::MontarBarra(QWidget* barra) {
  auto* linha = new QHBoxLayout(barra);
  linha->setContentsMargins(0, 0, 0, 0);
  linha->setSpacing(6);
  FCaixaPesquisa = new QLineEdit(barra);
  FCaixaPesquisa->setObjectName(QStringLiteral("Pesquisa"));
  FCaixaPesquisa->setPlaceholderText(QStringLiteral("Pesquisar na grade..."));
  FCaixaPesquisa->setClearButtonEnabled(true);
  FCaixaPesquisa->setMinimumWidth(150);
  connect(FCaixaPesquisa, &QLineEdit::textChanged, this, [this](const QString& t) { FPesquisa->SetPesquisa(t); });
  linha->addWidget(FCaixaPesquisa);

  FBotoesMarca = new QWidget(barra);
  auto* marcas = new QHBoxLayout(FBotoesMarca);
  marcas->setContentsMargins(0, 0, 0, 0);
  marcas->setSpacing(4);
  auto botao = [&](QWidget* dono, QHBoxLayout* onde, const char* nome, const QString& texto, const QString& dica,
                   auto acao) {
    auto* b = new QPushButton(texto, dono);
    b->setObjectName(QLatin1String(nome));
    b->setToolTip(dica);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, acao);
    onde->addWidget(b);
    return b;
  };
  botao(FBotoesMarca, marcas, "MarcarTodos", QStringLiteral("Marcar"),
        QStringLiteral("Marca todas as linhas mostradas"), [this] { MarcarTodos(); });
  botao(FBotoesMarca, marcas, "DesmarcarTodos", QStringLiteral("Desmarcar"),
        QStringLiteral("Desmarca todas as linhas mostradas"), [this] { DesmarcarTodos(); });
  botao(FBotoesMarca, marcas, "InverterMarcas", QStringLiteral("Inverter"),
        QStringLiteral("Marca as linhas desmarcadas e desmarca as marcadas"), [this] { InverterMarcas(); });
  linha->addWidget(FBotoesMarca);

  auto* grupos = new QWidget(barra);
  grupos->setObjectName(QStringLiteral("BotoesGrupos"));
  auto* linhaGrupos = new QHBoxLayout(grupos);
  linhaGrupos->setContentsMargins(0, 0, 0, 0);
  linhaGrupos->setSpacing(4);
  botao(grupos, linhaGrupos, "ExpandirTodos", QStringLiteral("Expandir"), QStringLiteral("Abre todos os grupos"),
        [this] { ExpandirTodos(); });
  botao(grupos, linhaGrupos, "RecolherTodos", QStringLiteral("Recolher"), QStringLiteral("Fecha todos os grupos"),
        [this] { RecolherTodos(); });
  linha->addWidget(grupos);
  linha->addStretch(1);
  auto* contagem = new QLabel(barra);
  contagem->setObjectName(QStringLiteral("Contagem"));
  contagem->setStyleSheet(QStringLiteral("color: #5a6673;"));
  linha->addWidget(contagem);
}

void TVisaoGradeBandas::AtualizarBarra() {
  TField* marca = FModelo->Grade().Marca();
  FBotoesMarca->setVisible(marca && ColunaDoCampo(marca->FieldName()) >= 0 && FModelo->Grade().Editavel(*marca));
  if (QWidget* grupos = findChild<QWidget*>(QStringLiteral("BotoesGrupos")))
    grupos->setVisible(!FAgrupamento->Agrupamento().isEmpty());
  if (auto* contagem = findChild<QLabel*>(QStringLiteral("Contagem"))) {
    const int mostradas = FPesquisa->rowCount(), total = FModelo->rowCount();
    QString texto = mostradas == 1 ? QStringLiteral("1 registro") : QStringLiteral("%L1 registros").arg(mostradas);
    if (mostradas != total) texto += QStringLiteral(" de %L1").arg(total);
    contagem->setText(texto);
  }
}

QString TVisaoGradeBandas::Aviso() const { return FFaixaAviso->isVisible() ? FAviso->text() : QString(); }

void TVisaoGradeBandas::MostrarRecusa(const QString& motivo) {
  FAviso->setText(motivo);
  FFaixaAviso->show();
  emit EdicaoRecusada(motivo);
}

int TVisaoGradeBandas::ColunaDoCampo(const std::string& campo) const { return FModelo->ColunaDoCampo(Q(campo)); }

QString TVisaoGradeBandas::CampoDaColuna(int coluna) const {
  const TField* f = FModelo->Campo(coluna);
  return f ? Q(f->FieldName()) : QString();
}

void TVisaoGradeBandas::Recarregar() {
  const bool semLinhas = FModelo->rowCount() == 0;
  FModelo->Recarregar();
  if (semLinhas && FModelo->rowCount() > 0) {
    QHeaderView* h = FArvore->header();
    for (int c = 0; c < h->count() && c < static_cast<int>(FLarguraSemLinhas.size()); ++c) {
      const int antes = FLarguraSemLinhas[static_cast<size_t>(c)];
      if (antes > 0 && h->sectionSize(c) == antes) h->resizeSection(c, std::max(antes, LarguraPadrao(c)));
    }
    FLarguraSemLinhas.clear();
  }
  AtualizarBarra();
}

std::vector<int> TVisaoGradeBandas::LinhasMostradas() const {
  std::vector<int> r;
  r.reserve(static_cast<size_t>(FPesquisa->rowCount()));
  for (int i = 0; i < FPesquisa->rowCount(); ++i) r.push_back(FPesquisa->mapToSource(FPesquisa->index(i, 0)).row());
  return r;
}

void TVisaoGradeBandas::MarcarTodos() { FModelo->MarcarLinhas(LinhasMostradas(), TModeloDataSet::TMarcacao::Marcar); }
void TVisaoGradeBandas::DesmarcarTodos() {
  FModelo->MarcarLinhas(LinhasMostradas(), TModeloDataSet::TMarcacao::Desmarcar);
}
void TVisaoGradeBandas::InverterMarcas() {
  FModelo->MarcarLinhas(LinhasMostradas(), TModeloDataSet::TMarcacao::Inverter);
}

int TVisaoGradeBandas::LarguraPadrao(int coluna) const {
  const TField* f = FModelo->Campo(coluna);
  if (!f) return kLarguraMinima;
  QFont fonteCabecalho = FArvore->header()->font();
  const int titulo = QFontMetrics(fonteCabecalho).horizontalAdvance(FModelo->headerData(coluna, Qt::Horizontal).toString()) + 26;
  const QFontMetrics fm(FArvore->font());
  const bool marca = FModelo->rowCount() > 0 && FModelo->index(0, coluna).data(Qt::CheckStateRole).isValid();
  if (marca || f->DataType() == TFieldType::ftBoolean) return std::max(titulo, kLarguraMinima);
  const int botao = f->OnButtonClick ? TDelegadoGrade::RetanguloBotao(QRect(0, 0, 60, 20)).width() : 0;
  if (f->DisplayWidth > 0) return std::max(titulo, fm.averageCharWidth() * f->DisplayWidth + 16 + botao);
  int conteudo = 0;
  for (int i = 0; i < std::min(FModelo->rowCount(), kLinhasAmostra); ++i)
    conteudo = std::max(conteudo, fm.horizontalAdvance(FModelo->index(i, coluna).data().toString()));
  for (const auto& [legenda, valor] : ItensLista(f->ValueList))
    conteudo = std::max(conteudo, fm.horizontalAdvance(Q(legenda)) + 20);
  return std::max({titulo, kLarguraMinima, std::min(conteudo + 18 + botao, kLarguraMaxima)});
}

void TVisaoGradeBandas::JuntarBandas() {
  const QStringList& bandas = FBandas->Bandas();
  if (!FBandas->isVisibleTo(this) && !FView.Banded) return;
  QHeaderView* h = FArvore->header();
  std::vector<int> ordem;
  for (int v = 0; v < h->count(); ++v) ordem.push_back(h->logicalIndex(v));
  QStringList vistas;
  auto banda = [&](int logica) { return logica < bandas.size() ? bandas[logica] : QString(); };
  for (int l : ordem)
    if (!vistas.contains(banda(l))) vistas << banda(l);
  std::stable_sort(ordem.begin(), ordem.end(), [&](int a, int b) { return vistas.indexOf(banda(a)) < vistas.indexOf(banda(b)); });
  FMovendo = true;
  for (int v = 0; v < static_cast<int>(ordem.size()); ++v)
    if (h->visualIndex(ordem[static_cast<size_t>(v)]) != v) h->moveSection(h->visualIndex(ordem[static_cast<size_t>(v)]), v);
  FMovendo = false;
}

void TVisaoGradeBandas::AplicarLayout() {
  QHeaderView* h = FArvore->header();
  const int colunas = FModelo->columnCount();
  FMovendo = true;
  std::vector<int> ordem;
  std::vector<bool> posta(static_cast<size_t>(colunas), false);
  for (const TnColunaGrid& c : FView.Columns) {
    const int coluna = ColunaDoCampo(c.FieldName);
    if (coluna < 0 || posta[static_cast<size_t>(coluna)]) continue;
    ordem.push_back(coluna);
    posta[static_cast<size_t>(coluna)] = true;
  }
  for (int c = 0; c < colunas; ++c)
    if (!posta[static_cast<size_t>(c)]) ordem.push_back(c);
  for (int v = 0; v < static_cast<int>(ordem.size()); ++v)
    h->moveSection(h->visualIndex(ordem[static_cast<size_t>(v)]), v);

  QStringList bandas;
  bool temBanda = false;
  QSet<int> mescladas;
  for (int c = 0; c < colunas; ++c) {
    const TField* f = FModelo->Campo(c);
    bandas << Q(f->Band);
    temBanda = temBanda || !f->Band.empty();
    if (const TnColunaGrid* coluna = FView.ViewGetColumnByFieldName(f->FieldName()); coluna && coluna->MesclarCelulas)
      mescladas.insert(c);
  }
  FBandas->SetBandas(bandas);
  FBandas->setVisible(FView.Banded && temBanda);
  FDelegado->SetColunasMescladas(mescladas);
  FMovendo = false;
  if (FView.Banded && temBanda) JuntarBandas();

  FLarguraSemLinhas.assign(static_cast<size_t>(colunas), -1);
  for (int c = 0; c < colunas; ++c) {
    const TnColunaGrid* coluna = FView.ViewGetColumnByFieldName(FModelo->Campo(c)->FieldName());
    h->setSectionHidden(c, coluna && !coluna->Visible);
    const int largura = coluna && coluna->Width > 0 ? coluna->Width : LarguraPadrao(c);
    h->resizeSection(c, largura);
    // Fitted to the caption alone: the first rows fit it again, unless the user resizes it.
    if (FModelo->rowCount() == 0) FLarguraSemLinhas[static_cast<size_t>(c)] = largura;
  }

  QList<int> grupos;
  for (const std::string& campo : FView.ColunasAgrupadas())
    if (int c = ColunaDoCampo(campo); c >= 0) grupos << c;
  FExpandido = FView.Expandido;
  FExpansao.clear();
  AplicarAgrupamento(grupos);
  RestaurarGrupos();
}

void TVisaoGradeBandas::CapturarLayout() {
  QHeaderView* h = FArvore->header();
  const QList<int> grupos = FAgrupamento->Agrupamento();
  std::vector<TnColunaGrid> novas;
  std::vector<bool> usada(FView.Columns.size(), false);
  for (int v = 0; v < h->count(); ++v) {
    const int c = h->logicalIndex(v);
    const TField* f = FModelo->Campo(c);
    if (!f) continue;
    TnColunaGrid coluna;
    coluna.FieldName = f->FieldName();
    for (size_t i = 0; i < FView.Columns.size(); ++i) {
      if (!usada[i] && SameText(FView.Columns[i].FieldName, f->FieldName())) {
        coluna = FView.Columns[i];
        usada[i] = true;
        break;
      }
    }
    coluna.Visible = !h->isSectionHidden(c);
    if (coluna.Visible) coluna.Width = h->sectionSize(c);
    coluna.GroupIndex = static_cast<int>(grupos.indexOf(c));
    if (coluna.GroupIndex >= 0) coluna.AllowGroup = true;
    novas.push_back(std::move(coluna));
  }
  // Columns of fields the grid does not show keep what they had.
  for (size_t i = 0; i < FView.Columns.size(); ++i)
    if (!usada[i]) novas.push_back(FView.Columns[i]);
  FView.Columns = std::move(novas);
}

int TVisaoGradeBandas::AjustarColunaDaArvore() {
  // The group rows' arrows and indents sit in the first column shown, wherever it came from.
  QHeaderView* h = FArvore->header();
  for (int v = 0; v < h->count(); ++v) {
    const int c = h->logicalIndex(v);
    if (h->isSectionHidden(c)) continue;
    if (FArvore->treePosition() != c) FArvore->setTreePosition(c);
    return c;
  }
  return -1;
}

void TVisaoGradeBandas::AplicarAgrupamento(const QList<int>& colunas) {
  FAgrupamento->SetAgrupamento(colunas);
  FArvore->setRootIsDecorated(!colunas.isEmpty());
  QList<TPainelAgrupamento::TItem> itens;
  for (int c : FAgrupamento->Agrupamento()) itens.push_back({c, FModelo->headerData(c, Qt::Horizontal).toString()});
  FPainel->SetItens(itens);
  // The tree's column holds the indents of the group levels besides its own cells.
  QHeaderView* h = FArvore->header();
  const int arvore = AjustarColunaDaArvore();
  const int precisa = LarguraPadrao(arvore) + FArvore->indentation() * static_cast<int>(FAgrupamento->Agrupamento().size());
  if (arvore >= 0 && h->sectionSize(arvore) < precisa) h->resizeSection(arvore, precisa);
  AtualizarBarra();
}

void TVisaoGradeBandas::AgruparPor(const QString& campo) {
  const int c = FModelo->ColunaDoCampo(campo);
  QList<int> grupos = FAgrupamento->Agrupamento();
  if (c < 0 || grupos.contains(c)) return;
  grupos << c;
  AplicarAgrupamento(grupos);
}

void TVisaoGradeBandas::RemoverAgrupamento(const QString& campo) {
  const int c = FModelo->ColunaDoCampo(campo);
  QList<int> grupos = FAgrupamento->Agrupamento();
  if (c < 0 || !grupos.removeOne(c)) return;
  QHeaderView* h = FArvore->header();
  if (h->isSectionHidden(c)) {
    h->setSectionHidden(c, false);
    if (h->sectionSize(c) < kLarguraMinima) h->resizeSection(c, LarguraPadrao(c));
  }
  AplicarAgrupamento(grupos);
}

void TVisaoGradeBandas::ExpandirTodos() {
  FExpandido = true;
  FExpansao.clear();
  RestaurarGrupos();
}

void TVisaoGradeBandas::RecolherTodos() {
  FExpandido = false;
  FExpansao.clear();
  RestaurarGrupos();
}

void TVisaoGradeBandas::RestaurarGrupos() {
  if (FAgrupamento->Agrupamento().isEmpty()) return;
  FRestaurando = true;
  RestaurarGrupos(QModelIndex());
  FRestaurando = false;
}

void TVisaoGradeBandas::RestaurarGrupos(const QModelIndex& pai) {
  const int linhas = FAgrupamento->rowCount(pai);
  for (int i = 0; i < linhas; ++i) {
    QModelIndex grupo = FAgrupamento->index(i, 0, pai);
    if (!FAgrupamento->EhGrupo(grupo)) return;  // leaves: no groups below
    FArvore->setFirstColumnSpanned(i, pai, true);
    FArvore->setExpanded(grupo, FExpansao.value(grupo.data(TProxyAgrupamento::PapelCaminho).toString(), FExpandido));
    RestaurarGrupos(grupo);
  }
}

void TVisaoGradeBandas::BotaoClicado(const QModelIndex& indice) {
  const QModelIndex fonte = FPesquisa->mapToSource(FAgrupamento->mapToSource(indice));
  TField* f = FModelo->Campo(fonte.column());
  if (!fonte.isValid() || !f || !f->OnButtonClick) return;
  const int linha = fonte.row();
  TClientDataSet& dados = *FView.DataSet;
  if (!FModelo->Posicionar(linha)) {
    MostrarRecusa(QStringLiteral("A linha não está mais na grade."));
    Recarregar();
    return;
  }
  auto editando = [&] { return dados.State() == TDataSetState::dsEdit || dados.State() == TDataSetState::dsInsert; };
  try {
    f->OnButtonClick(*f);
    // A handler that left its edit open has it stored, through the row's checks.
    if (editando()) dados.Post();
  } catch (const EInternalError&) {
    if (editando()) dados.Cancel();
    throw;
  } catch (const Exception& e) {
    if (editando()) dados.Cancel();
    MostrarRecusa(Q(e.what()));
  }
  FModelo->RecarregarLinha(linha);
}

void TVisaoGradeBandas::MenuCabecalho(const QPoint& pos) {
  QHeaderView* h = FArvore->header();
  const int coluna = h->logicalIndexAt(pos);
  const QString campo = CampoDaColuna(coluna);
  const QString titulo = FModelo->headerData(coluna, Qt::Horizontal).toString();
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("MenuCabecalho"));
  if (coluna >= 0) {
    menu.addAction(QStringLiteral("Ordenar crescente"), this, [this, coluna] { FArvore->sortByColumn(coluna, Qt::AscendingOrder); });
    menu.addAction(QStringLiteral("Ordenar decrescente"), this, [this, coluna] { FArvore->sortByColumn(coluna, Qt::DescendingOrder); });
  }
  if (h->sortIndicatorSection() >= 0)
    menu.addAction(QStringLiteral("Remover ordenação"), this, [this] { FArvore->sortByColumn(-1, Qt::AscendingOrder); });
  menu.addSeparator();
  const QList<int> grupos = FAgrupamento->Agrupamento();
  if (coluna >= 0 && !grupos.contains(coluna))
    menu.addAction(QStringLiteral("Agrupar por esta coluna"), this, [this, campo] { AgruparPor(campo); });
  if (coluna >= 0 && grupos.contains(coluna))
    menu.addAction(QStringLiteral("Remover agrupamento"), this, [this, campo] { RemoverAgrupamento(campo); });
  if (!grupos.isEmpty()) {
    menu.addAction(QStringLiteral("Remover todos os agrupamentos"), this, [this] {
      for (int c : FAgrupamento->Agrupamento()) RemoverAgrupamento(CampoDaColuna(c));
    });
    menu.addAction(QStringLiteral("Expandir grupos"), this, [this] { ExpandirTodos(); });
    menu.addAction(QStringLiteral("Recolher grupos"), this, [this] { RecolherTodos(); });
  }
  menu.addSeparator();
  int visiveis = 0;
  for (int c = 0; c < h->count(); ++c) visiveis += h->isSectionHidden(c) ? 0 : 1;
  if (coluna >= 0) {
    QAction* ocultar = menu.addAction(QStringLiteral("Ocultar a coluna “%1”").arg(titulo), this,
                                      [this, h, coluna] {
      h->setSectionHidden(coluna, true);
      AjustarColunaDaArvore();
    });
    ocultar->setEnabled(visiveis > 1);
    menu.addAction(QStringLiteral("Ajustar a largura da coluna"), this, [this, coluna] {
      FArvore->resizeColumnToContents(coluna);
      FArvore->header()->resizeSection(coluna, std::max(FArvore->columnWidth(coluna) + 8, LarguraPadrao(coluna) / 2));
    });
  }
  QMenu* lista = menu.addMenu(QStringLiteral("Colunas"));
  lista->setObjectName(QStringLiteral("MenuColunas"));
  for (int v = 0; v < h->count(); ++v) {
    const int c = h->logicalIndex(v);
    QAction* a = lista->addAction(FModelo->headerData(c, Qt::Horizontal).toString());
    a->setCheckable(true);
    a->setChecked(!h->isSectionHidden(c));
    // The last column shown stays.
    a->setEnabled(h->isSectionHidden(c) || visiveis > 1);
    connect(a, &QAction::toggled, this, [this, h, c](bool mostrar) {
      h->setSectionHidden(c, !mostrar);
      AjustarColunaDaArvore();
      if (mostrar && h->sectionSize(c) < kLarguraMinima) h->resizeSection(c, LarguraPadrao(c));
    });
  }
  if (isSignalConnected(QMetaMethod::fromSignal(&TVisaoGradeBandas::RestaurarPadraoSolicitado))) {
    menu.addSeparator();
    menu.addAction(QStringLiteral("Restaurar layout padrão"), this, [this] { emit RestaurarPadraoSolicitado(); });
  }
  menu.exec(h->mapToGlobal(pos));
}

}  // namespace nDesktop
