#include "ModeloDataSet_U.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <algorithm>

#include "Exceptions_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

bool Numerico(TFieldType t) {
  return IsIntegerType(t) || t == TFieldType::ftFloat || t == TFieldType::ftCurrency;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TModeloDataSet::TModeloDataSet(TClientDataSet& aDataSet, QObject* aPai)
    : QAbstractTableModel(aPai), FDataSet(aDataSet), FGrade(aDataSet) {
  Recarregar();
}

void TModeloDataSet::SetEditavel(bool aEditavel) {
  if (FEditavel == aEditavel) return;
  FEditavel = aEditavel;
  if (!FLinhas.empty() && !FColunas.empty())
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

bool TModeloDataSet::ColunaMarcavel(int aColuna) const {
  const TField* f = FColunas[static_cast<size_t>(aColuna)];
  return f == FGrade.Marca() || (f->DataType() == TFieldType::ftBoolean && f->ValueList.empty());
}

TModeloDataSet::TLinha TModeloDataSet::LerLinha() const {
  TLinha l;
  l.Marcador = FDataSet.GetBookmark();
  l.Destacada = FGrade.Destacada();
  for (size_t c = 0; c < FColunas.size(); ++c) {
    const TField& f = *FColunas[c];
    if (ColunaMarcavel(static_cast<int>(c))) {
      bool marcada = &f == FGrade.Marca() ? FGrade.Texto(f) == "✓" : (!f.IsNull() && f.AsBoolean());
      l.Textos.push_back(QString());
      l.Marcas.push_back(marcada ? 1 : 0);
      l.Ordem.emplace_back(marcada ? 1 : 0);
      continue;
    }
    QString texto = Q(FGrade.Texto(f));
    l.Textos.push_back(texto);
    l.Marcas.push_back(-1);
    const TFieldType t = f.DataType();
    if (f.IsNull()) l.Ordem.emplace_back();
    else if (!f.ValueList.empty()) l.Ordem.emplace_back(texto);
    else if (IsIntegerType(t)) l.Ordem.emplace_back(static_cast<qlonglong>(f.AsLargeInt()));
    else if (Numerico(t) || t == TFieldType::ftDate || t == TFieldType::ftDateTime) l.Ordem.emplace_back(f.AsFloat());
    else l.Ordem.emplace_back(texto);
  }
  return l;
}

void TModeloDataSet::Recarregar() {
  // Walking the rows would post a row in edit behind its form's back.
  if (FDataSet.State() == TDataSetState::dsEdit || FDataSet.State() == TDataSetState::dsInsert)
    throw EInternalError("grade relida com a linha em edição");
  beginResetModel();
  FColunas = FGrade.Colunas();
  FLinhas.clear();
  if (FDataSet.Active()) {
    FLinhas.reserve(static_cast<size_t>(FDataSet.RecordCount()));
    FGrade.ParaCadaLinha([this] { FLinhas.push_back(LerLinha()); });
  }
  endResetModel();
}

TField* TModeloDataSet::Campo(int aColuna) const {
  if (aColuna < 0 || aColuna >= static_cast<int>(FColunas.size())) return nullptr;
  return FColunas[static_cast<size_t>(aColuna)];
}

int TModeloDataSet::ColunaDoCampo(const QString& aNomeCampo) const {
  for (size_t c = 0; c < FColunas.size(); ++c)
    if (Q(FColunas[c]->FieldName()).compare(aNomeCampo, Qt::CaseInsensitive) == 0) return static_cast<int>(c);
  return -1;
}

TClientDataSet::TBookmark TModeloDataSet::Marcador(int aLinha) const {
  if (aLinha < 0 || aLinha >= rowCount()) return -1;
  return FLinhas[static_cast<size_t>(aLinha)].Marcador;
}

int TModeloDataSet::LinhaDoMarcador(TClientDataSet::TBookmark aMarcador) const {
  for (size_t i = 0; i < FLinhas.size(); ++i)
    if (FLinhas[i].Marcador == aMarcador) return static_cast<int>(i);
  return -1;
}

bool TModeloDataSet::Posicionar(int aLinha) {
  TClientDataSet::TBookmark m = Marcador(aLinha);
  if (m < 0) return false;
  return FDataSet.GetBookmark() == m || FDataSet.GotoBookmark(m);
}

void TModeloDataSet::RecarregarLinha(int aLinha) {
  if (aLinha < 0 || aLinha >= rowCount()) return;
  if (FDataSet.State() == TDataSetState::dsEdit || FDataSet.State() == TDataSetState::dsInsert)
    throw EInternalError("linha relida em edição");
  const TClientDataSet::TBookmark marcador = FLinhas[static_cast<size_t>(aLinha)].Marcador;
  // A row that moved (an index field changed) or went away: every row is read again.
  if (!FDataSet.GotoBookmark(marcador) || FDataSet.RecNo() != aLinha + 1) {
    Recarregar();
    return;
  }
  FLinhas[static_cast<size_t>(aLinha)] = LerLinha();
  emit dataChanged(index(aLinha, 0), index(aLinha, columnCount() - 1));
}

int TModeloDataSet::MarcarLinhas(const std::vector<int>& aLinhas, TMarcacao aMarcacao) {
  TField* marca = FGrade.Marca();
  const int coluna = marca ? ColunaDoCampo(Q(marca->FieldName())) : -1;
  if (coluna < 0 || !FGrade.Editavel(*marca)) return 0;
  int alteradas = 0;
  bool moveu = false;
  QString recusa;
  int primeira = rowCount(), ultima = -1;
  for (int linha : aLinhas) {
    if (linha < 0 || linha >= rowCount()) continue;
    const TLinha& l = FLinhas[static_cast<size_t>(linha)];
    const bool marcada = l.Marcas[static_cast<size_t>(coluna)] == 1;
    const bool querida = aMarcacao == TMarcacao::Marcar ? true : aMarcacao == TMarcacao::Desmarcar ? false : !marcada;
    if (marcada == querida || !FDataSet.GotoBookmark(l.Marcador)) continue;
    try {
      FGrade.EditarLinha({{marca, querida ? "1" : "0"}});
    } catch (const EGradeRecusa& e) {
      if (recusa.isEmpty()) recusa = Q(e.what());
      continue;
    }
    if (FDataSet.GetBookmark() != l.Marcador || FDataSet.RecNo() != linha + 1) {
      moveu = true;
    } else {
      FLinhas[static_cast<size_t>(linha)] = LerLinha();
      primeira = std::min(primeira, linha);
      ultima = std::max(ultima, linha);
    }
    if (FGrade.Marcada() == querida) ++alteradas;
  }
  if (moveu) Recarregar();
  else if (ultima >= 0) emit dataChanged(index(primeira, 0), index(ultima, columnCount() - 1));
  if (!recusa.isEmpty()) emit EdicaoRecusada(recusa);
  return alteradas;
}

int TModeloDataSet::rowCount(const QModelIndex& aPai) const {
  return aPai.isValid() ? 0 : static_cast<int>(FLinhas.size());
}

int TModeloDataSet::columnCount(const QModelIndex& aPai) const {
  return aPai.isValid() ? 0 : static_cast<int>(FColunas.size());
}

QVariant TModeloDataSet::data(const QModelIndex& aIndice, int aPapel) const {
  if (!aIndice.isValid() || !checkIndex(aIndice, CheckIndexOption::ParentIsInvalid)) return {};
  const TLinha& l = FLinhas[static_cast<size_t>(aIndice.row())];
  const size_t c = static_cast<size_t>(aIndice.column());
  const TField& f = *FColunas[c];
  switch (aPapel) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return l.Marcas[c] >= 0 ? QVariant() : QVariant(l.Textos[c]);
    case Qt::ToolTipRole:
      // A long text the column cuts is read whole in its tip.
      return l.Marcas[c] < 0 && l.Textos[c].size() > 30 ? QVariant(l.Textos[c]) : QVariant();
    case Qt::CheckStateRole:
      if (l.Marcas[c] < 0) return {};
      return l.Marcas[c] ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
      if (Numerico(f.DataType()) && f.ValueList.empty())
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
      return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::FontRole:
      if (l.Destacada && FDataSet.EstiloDestaque == "negrito-verde") {
        QFont negrito;
        negrito.setBold(true);
        return negrito;
      }
      return {};
    case Qt::BackgroundRole:
      if (l.Destacada && FDataSet.EstiloDestaque == "negrito-verde") return QBrush(QColor(0xdf, 0xf3, 0xdc));
      return {};
    case Qt::ForegroundRole:
      if (l.Destacada && FDataSet.EstiloDestaque == "fonte-verde") return QBrush(QColor(0x1b, 0x7a, 0x2e));
      return {};
    case PapelOrdem: return l.Ordem[c];
    case PapelMarcador: return QVariant::fromValue(static_cast<qlonglong>(l.Marcador));
    default: return {};
  }
}

QVariant TModeloDataSet::headerData(int aSecao, Qt::Orientation aOrientacao, int aPapel) const {
  if (aOrientacao == Qt::Vertical) {
    if (aPapel == Qt::DisplayRole && aSecao >= 0 && aSecao < rowCount()) return aSecao + 1;
    return {};
  }
  if (aSecao < 0 || aSecao >= columnCount()) return {};
  const TField& f = *FColunas[static_cast<size_t>(aSecao)];
  if (aPapel == Qt::DisplayRole) return Q(TGradeDados::TituloColuna(f));
  if (aPapel == Qt::ToolTipRole) return Q(f.FieldName());
  return {};
}

Qt::ItemFlags TModeloDataSet::flags(const QModelIndex& aIndice) const {
  if (!aIndice.isValid() || !checkIndex(aIndice, CheckIndexOption::ParentIsInvalid)) return Qt::NoItemFlags;
  Qt::ItemFlags r = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  const TField& f = *FColunas[static_cast<size_t>(aIndice.column())];
  if (FEditavel && FGrade.Editavel(f)) r |= ColunaMarcavel(aIndice.column()) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
  return r;
}

bool TModeloDataSet::setData(const QModelIndex& aIndice, const QVariant& aValor, int aPapel) {
  if (!aIndice.isValid() || !checkIndex(aIndice, CheckIndexOption::ParentIsInvalid)) return false;
  if (!(flags(aIndice) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable))) return false;
  const int coluna = aIndice.column();
  std::string texto;
  if (ColunaMarcavel(coluna)) {
    if (aPapel != Qt::CheckStateRole) return false;
    texto.assign(1, aValor.toInt() == Qt::Checked ? '1' : '0');
  } else {
    if (aPapel != Qt::EditRole) return false;
    texto = aValor.toString().toStdString();
  }
  const int linha = aIndice.row();
  if (!Posicionar(linha)) {
    emit EdicaoRecusada(QStringLiteral("A linha não está mais na grade."));
    Recarregar();
    return false;
  }
  try {
    FGrade.EditarLinha({{FColunas[static_cast<size_t>(coluna)], texto}});
  } catch (const EGradeRecusa& e) {
    emit EdicaoRecusada(Q(e.what()));
    return false;
  }
  // A changed index field can move the row: then every row is read again.
  if (FDataSet.GetBookmark() != FLinhas[static_cast<size_t>(linha)].Marcador || FDataSet.RecNo() != linha + 1) {
    Recarregar();
    return true;
  }
  FLinhas[static_cast<size_t>(linha)] = LerLinha();
  emit dataChanged(index(linha, 0), index(linha, columnCount() - 1));
  return true;
}

TProxyPesquisa::TProxyPesquisa(QObject* aPai) : QSortFilterProxyModel(aPai) {
  setSortRole(TModeloDataSet::PapelOrdem);
  setFilterKeyColumn(-1);
}

QString TProxyPesquisa::Normalizar(const QString& aTexto) {
  QString decomposto = aTexto.normalized(QString::NormalizationForm_D);
  QString r;
  r.reserve(decomposto.size());
  for (QChar c : decomposto)
    if (c.category() != QChar::Mark_NonSpacing) r.append(c);
  return r.toCaseFolded();
}

void TProxyPesquisa::SetPesquisa(const QString& aTexto) {
  QStringList palavras = Normalizar(aTexto).split(QChar(' '), Qt::SkipEmptyParts);
  if (palavras == FPalavras) return;
  // Qt 6.4 has no beginFilterChange; invalidateFilter() re-runs filterAcceptsRow.
  FPalavras = palavras;
  invalidateFilter();
}

bool TProxyPesquisa::filterAcceptsRow(int aLinha, const QModelIndex& aPai) const {
  if (FPalavras.isEmpty()) return true;
  QAbstractItemModel* m = sourceModel();
  QString linha;
  for (int c = 0; c < m->columnCount(aPai); ++c) linha += Normalizar(m->index(aLinha, c, aPai).data().toString()) + '\n';
  for (const QString& p : FPalavras)
    if (!linha.contains(p)) return false;
  return true;
}

bool TProxyPesquisa::lessThan(const QModelIndex& aEsquerda, const QModelIndex& aDireita) const {
  QVariant a = aEsquerda.data(sortRole()), b = aDireita.data(sortRole());
  // Empty cells first, as the grid of the platform sorts them.
  if (!a.isValid() || !b.isValid()) return !a.isValid() && b.isValid();
  const int ta = a.metaType().id(), tb = b.metaType().id();
  if (ta == QMetaType::QString || tb == QMetaType::QString)
    return QString::localeAwareCompare(a.toString(), b.toString()) < 0;
  if (ta == QMetaType::LongLong && tb == QMetaType::LongLong) return a.toLongLong() < b.toLongLong();
  return a.toDouble() < b.toDouble();
}

}  // namespace nDesktop
