#include "VisaoProxyAgrupamento_U.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <algorithm>

#include "ModeloDataSet_U.h"

namespace nDesktop {

namespace {

// As the table sorts: empty values first, texts as the locale orders them, numbers by value.
bool Menor(const QVariant& a, const QVariant& b) {
  if (!a.isValid() || !b.isValid()) return !a.isValid() && b.isValid();
  const int ta = a.metaType().id(), tb = b.metaType().id();
  if (ta == QMetaType::QString || tb == QMetaType::QString) return QString::localeAwareCompare(a.toString(), b.toString()) < 0;
  if (ta == QMetaType::LongLong && tb == QMetaType::LongLong) return a.toLongLong() < b.toLongLong();
  return a.toDouble() < b.toDouble();
}

const QChar kSeparadorCaminho(0x1f);

}  // namespace

TProxyAgrupamento::TProxyAgrupamento(QObject* aPai) : QAbstractProxyModel(aPai), FRaiz(std::make_unique<TNo>()) {}

TProxyAgrupamento::~TProxyAgrupamento() = default;

void TProxyAgrupamento::setSourceModel(QAbstractItemModel* aFonte) {
  beginResetModel();
  for (const auto& c : FConexoes) disconnect(c);
  FConexoes.clear();
  QAbstractProxyModel::setSourceModel(aFonte);
  if (aFonte) {
    auto ligar = [&](auto sinal, auto acao) { FConexoes << connect(aFonte, sinal, this, acao); };
    ligar(&QAbstractItemModel::modelAboutToBeReset, [this] { ComecarReinicio(); });
    ligar(&QAbstractItemModel::modelReset, [this] { TerminarReinicio(); });
    ligar(&QAbstractItemModel::layoutAboutToBeChanged, [this] { ComecarMudanca(); });
    ligar(&QAbstractItemModel::layoutChanged, [this] { TerminarMudanca(); });
    ligar(&QAbstractItemModel::rowsAboutToBeInserted, [this] { ComecarMudanca(); });
    ligar(&QAbstractItemModel::rowsInserted, [this] { TerminarMudanca(); });
    ligar(&QAbstractItemModel::rowsAboutToBeRemoved, [this] { ComecarMudanca(); });
    ligar(&QAbstractItemModel::rowsRemoved, [this] { TerminarMudanca(); });
    ligar(&QAbstractItemModel::rowsAboutToBeMoved, [this] { ComecarMudanca(); });
    ligar(&QAbstractItemModel::rowsMoved, [this] { TerminarMudanca(); });
    ligar(&QAbstractItemModel::columnsAboutToBeInserted, [this] { ComecarReinicio(); });
    ligar(&QAbstractItemModel::columnsInserted, [this] { TerminarReinicio(); });
    ligar(&QAbstractItemModel::columnsAboutToBeRemoved, [this] { ComecarReinicio(); });
    ligar(&QAbstractItemModel::columnsRemoved, [this] { TerminarReinicio(); });
    ligar(&QAbstractItemModel::dataChanged, [this](const QModelIndex& de, const QModelIndex& ate, const QList<int>& papeis) {
      DadosAlterados(de, ate, papeis);
    });
    ligar(&QAbstractItemModel::headerDataChanged, [this](Qt::Orientation o, int de, int ate) {
      if (o == Qt::Horizontal) emit headerDataChanged(o, de, ate);
    });
  }
  Construir();
  endResetModel();
}

void TProxyAgrupamento::SetAgrupamento(const QList<int>& aColunas) {
  if (aColunas == FColunas) return;
  beginResetModel();
  FColunas = aColunas;
  Construir();
  endResetModel();
}

void TProxyAgrupamento::SetOrdemGrupo(int aColuna, Qt::SortOrder aOrdem) {
  if (FOrdemGrupo.value(aColuna, Qt::AscendingOrder) == aOrdem) return;
  FOrdemGrupo[aColuna] = aOrdem;
  if (!FColunas.contains(aColuna)) return;
  ComecarMudanca();
  TerminarMudanca();
}

QString TProxyAgrupamento::TextoValor(int aLinhaFonte, int aColuna) const {
  QModelIndex i = sourceModel()->index(aLinhaFonte, aColuna);
  QVariant marca = i.data(Qt::CheckStateRole);
  if (marca.isValid()) return marca.toInt() == Qt::Checked ? QStringLiteral("Marcado") : QStringLiteral("Não marcado");
  return i.data(Qt::DisplayRole).toString();
}

void TProxyAgrupamento::Construir() {
  FNos.clear();
  FGrupoPorCaminho.clear();
  FRaiz = std::make_unique<TNo>();
  FFolhaDaLinha.clear();
  QAbstractItemModel* fonte = sourceModel();
  if (!fonte) return;
  const int linhas = fonte->rowCount();
  const int colunas = fonte->columnCount();
  // A grouping column the table no longer has is left out.
  QList<int> validas;
  for (int c : FColunas)
    if (c >= 0 && c < colunas && !validas.contains(c)) validas << c;
  FColunas = validas;
  FFolhaDaLinha.assign(static_cast<size_t>(linhas), nullptr);
  std::vector<int> todas(static_cast<size_t>(linhas));
  for (int i = 0; i < linhas; ++i) todas[static_cast<size_t>(i)] = i;
  ConstruirNivel(FRaiz.get(), todas, 0);
}

void TProxyAgrupamento::ConstruirNivel(TNo* aPai, const std::vector<int>& aLinhas, int aNivel) {
  if (aNivel >= FColunas.size()) {
    for (int linha : aLinhas) {
      auto folha = std::make_unique<TNo>();
      folha->Pai = aPai;
      folha->Linha = static_cast<int>(aPai->Filhos.size());
      folha->LinhaFonte = linha;
      aPai->Filhos.push_back(folha.get());
      FFolhaDaLinha[static_cast<size_t>(linha)] = folha.get();
      FNos.push_back(std::move(folha));
    }
    return;
  }
  const int coluna = FColunas[aNivel];
  struct TBalde {
    QString Texto;
    QVariant Ordem;
    std::vector<int> Linhas;
  };
  std::vector<TBalde> baldes;
  QHash<QString, size_t> porTexto;
  for (int linha : aLinhas) {
    QString texto = TextoValor(linha, coluna);
    auto it = porTexto.find(texto);
    if (it == porTexto.end()) {
      it = porTexto.insert(texto, baldes.size());
      baldes.push_back({texto, sourceModel()->index(linha, coluna).data(TModeloDataSet::PapelOrdem), {}});
    }
    baldes[*it].Linhas.push_back(linha);
  }
  const bool decrescente = FOrdemGrupo.value(coluna, Qt::AscendingOrder) == Qt::DescendingOrder;
  std::stable_sort(baldes.begin(), baldes.end(), [&](const TBalde& a, const TBalde& b) {
    return decrescente ? Menor(b.Ordem, a.Ordem) : Menor(a.Ordem, b.Ordem);
  });
  for (TBalde& balde : baldes) {
    auto grupo = std::make_unique<TNo>();
    grupo->Pai = aPai;
    grupo->Linha = static_cast<int>(aPai->Filhos.size());
    grupo->Nivel = aNivel;
    grupo->Texto = balde.Texto;
    grupo->Caminho = (aPai == FRaiz.get() ? QString() : aPai->Caminho + kSeparadorCaminho) + balde.Texto;
    grupo->Contagem = static_cast<int>(balde.Linhas.size());
    TNo* no = grupo.get();
    aPai->Filhos.push_back(no);
    FGrupoPorCaminho.insert(no->Caminho, no);
    FNos.push_back(std::move(grupo));
    ConstruirNivel(no, balde.Linhas, aNivel + 1);
  }
}

void TProxyAgrupamento::ComecarReinicio() { beginResetModel(); }

void TProxyAgrupamento::TerminarReinicio() {
  Construir();
  endResetModel();
}

void TProxyAgrupamento::ComecarMudanca() {
  if (FMudando++ > 0) return;
  emit layoutAboutToBeChanged();
  FPersistentes = persistentIndexList();
  FGuardados.clear();
  FGuardados.reserve(static_cast<size_t>(FPersistentes.size()));
  for (const QModelIndex& p : FPersistentes) {
    TGuardado g;
    g.Coluna = p.column();
    if (TNo* no = No(p); no && no->LinhaFonte < 0) g.Caminho = no->Caminho;
    else g.Fonte = QPersistentModelIndex(mapToSource(p));
    FGuardados.push_back(std::move(g));
  }
}

void TProxyAgrupamento::TerminarMudanca() {
  if (FMudando == 0 || --FMudando > 0) return;
  Construir();
  QModelIndexList novos;
  novos.reserve(FPersistentes.size());
  for (const TGuardado& g : FGuardados) {
    if (!g.Caminho.isEmpty() || !g.Fonte.isValid()) {
      TNo* grupo = g.Caminho.isEmpty() ? nullptr : FGrupoPorCaminho.value(g.Caminho, nullptr);
      novos << (grupo ? createIndex(grupo->Linha, g.Coluna, grupo->Pai) : QModelIndex());
    } else {
      novos << mapFromSource(g.Fonte);
    }
  }
  changePersistentIndexList(FPersistentes, novos);
  FPersistentes.clear();
  FGuardados.clear();
  emit layoutChanged();
}

void TProxyAgrupamento::DadosAlterados(const QModelIndex& aDe, const QModelIndex& aAte, const QList<int>& aPapeis) {
  if (!aDe.isValid() || !aAte.isValid() || FMudando > 0) return;
  for (int c : FColunas) {
    if (c >= aDe.column() && c <= aAte.column()) {
      // The row may now belong to another group.
      ComecarMudanca();
      TerminarMudanca();
      return;
    }
  }
  for (int linha = aDe.row(); linha <= aAte.row(); ++linha) {
    QModelIndex de = mapFromSource(sourceModel()->index(linha, aDe.column()));
    QModelIndex ate = mapFromSource(sourceModel()->index(linha, aAte.column()));
    if (de.isValid() && ate.isValid()) emit dataChanged(de, ate, aPapeis);
  }
}

TProxyAgrupamento::TNo* TProxyAgrupamento::No(const QModelIndex& aIndice) const {
  if (!aIndice.isValid()) return FRaiz.get();
  auto* pai = static_cast<TNo*>(aIndice.internalPointer());
  if (!pai || aIndice.row() < 0 || static_cast<size_t>(aIndice.row()) >= pai->Filhos.size()) return nullptr;
  return pai->Filhos[static_cast<size_t>(aIndice.row())];
}

bool TProxyAgrupamento::EhGrupo(const QModelIndex& aIndice) const {
  TNo* no = aIndice.isValid() ? No(aIndice) : nullptr;
  return no && no->LinhaFonte < 0;
}

QModelIndex TProxyAgrupamento::index(int aLinha, int aColuna, const QModelIndex& aPai) const {
  if (aLinha < 0 || aColuna < 0 || aColuna >= columnCount(aPai)) return {};
  if (aPai.isValid() && aPai.column() != 0) return {};
  TNo* pai = No(aPai);
  if (!pai || static_cast<size_t>(aLinha) >= pai->Filhos.size()) return {};
  return createIndex(aLinha, aColuna, pai);
}

QModelIndex TProxyAgrupamento::parent(const QModelIndex& aFilho) const {
  if (!aFilho.isValid()) return {};
  auto* pai = static_cast<TNo*>(aFilho.internalPointer());
  if (!pai || pai == FRaiz.get()) return {};
  return createIndex(pai->Linha, 0, pai->Pai);
}

int TProxyAgrupamento::rowCount(const QModelIndex& aPai) const {
  if (aPai.isValid() && aPai.column() != 0) return 0;
  TNo* no = No(aPai);
  return no ? static_cast<int>(no->Filhos.size()) : 0;
}

int TProxyAgrupamento::columnCount(const QModelIndex&) const { return sourceModel() ? sourceModel()->columnCount() : 0; }

bool TProxyAgrupamento::hasChildren(const QModelIndex& aPai) const { return rowCount(aPai) > 0; }

QModelIndex TProxyAgrupamento::sibling(int aLinha, int aColuna, const QModelIndex& aIndice) const {
  return aIndice.isValid() ? index(aLinha, aColuna, aIndice.parent()) : QModelIndex();
}

QVariant TProxyAgrupamento::data(const QModelIndex& aIndice, int aPapel) const {
  TNo* no = aIndice.isValid() ? No(aIndice) : nullptr;
  if (!no) return {};
  if (no->LinhaFonte >= 0) {
    if (aPapel == PapelGrupo) return false;
    return sourceModel()->index(no->LinhaFonte, aIndice.column()).data(aPapel);
  }
  switch (aPapel) {
    case Qt::DisplayRole: {
      // Every cell of a group row carries its text: the view spans whichever comes first.
      QString titulo = sourceModel()->headerData(FColunas[no->Nivel], Qt::Horizontal).toString();
      QString contagem = no->Contagem == 1 ? QStringLiteral("1 registro") : QStringLiteral("%1 registros").arg(no->Contagem);
      QString valor = no->Texto.isEmpty() ? QStringLiteral("(vazio)") : no->Texto;
      return QStringLiteral("%1: %2 (%3)").arg(titulo, valor, contagem);
    }
    case Qt::FontRole: {
      QFont negrito;
      negrito.setBold(true);
      return negrito;
    }
    case Qt::BackgroundRole: return QBrush(no->Nivel == 0 ? QColor(0xe4, 0xe9, 0xf0) : QColor(0xee, 0xf1, 0xf5));
    case Qt::ForegroundRole: return QBrush(QColor(0x1f, 0x2d, 0x3d));
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case PapelGrupo: return true;
    case PapelCaminho: return no->Caminho;
    case PapelContagem: return no->Contagem;
    default: return {};
  }
}

QVariant TProxyAgrupamento::headerData(int aSecao, Qt::Orientation aOrientacao, int aPapel) const {
  if (!sourceModel() || aOrientacao != Qt::Horizontal) return {};
  return sourceModel()->headerData(aSecao, aOrientacao, aPapel);
}

Qt::ItemFlags TProxyAgrupamento::flags(const QModelIndex& aIndice) const {
  TNo* no = aIndice.isValid() ? No(aIndice) : nullptr;
  if (!no) return Qt::NoItemFlags;
  if (no->LinhaFonte < 0) return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  return sourceModel()->flags(mapToSource(aIndice));
}

QModelIndex TProxyAgrupamento::mapToSource(const QModelIndex& aIndice) const {
  TNo* no = aIndice.isValid() ? No(aIndice) : nullptr;
  if (!no || no->LinhaFonte < 0 || !sourceModel()) return {};
  return sourceModel()->index(no->LinhaFonte, aIndice.column());
}

QModelIndex TProxyAgrupamento::mapFromSource(const QModelIndex& aIndiceFonte) const {
  if (!aIndiceFonte.isValid() || aIndiceFonte.model() != sourceModel()) return {};
  const auto linha = static_cast<size_t>(aIndiceFonte.row());
  if (linha >= FFolhaDaLinha.size() || !FFolhaDaLinha[linha]) return {};
  TNo* folha = FFolhaDaLinha[linha];
  return createIndex(folha->Linha, aIndiceFonte.column(), folha->Pai);
}

void TProxyAgrupamento::sort(int aColuna, Qt::SortOrder aOrdem) {
  if (!sourceModel()) return;
  if (FColunas.contains(aColuna) && FOrdemGrupo.value(aColuna, Qt::AscendingOrder) != aOrdem) {
    ComecarMudanca();
    FOrdemGrupo[aColuna] = aOrdem;
    sourceModel()->sort(aColuna, aOrdem);
    TerminarMudanca();
    return;
  }
  sourceModel()->sort(aColuna, aOrdem);
}

}  // namespace nDesktop
