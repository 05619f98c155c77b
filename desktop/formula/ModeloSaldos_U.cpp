#include "ModeloSaldos_U.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include "FormatUtils_U.h"
#include "ModeloDataSet_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

Currency Valor(const TnDMRegraBaseCalculo::TSaldoConta& c, int aColuna) {
  switch (aColuna) {
    case TModeloSaldos::colSaldoAnterior: return c.SaldoAnterior;
    case TModeloSaldos::colDebito: return c.Debito;
    case TModeloSaldos::colCredito: return c.Credito;
    case TModeloSaldos::colMovimento: return c.Movimento;
    default: return c.SaldoAtual;
  }
}

}  // namespace

TModeloSaldos::TModeloSaldos(std::vector<TnDMRegraBaseCalculo::TSaldoConta> aContas, QObject* aPai)
    : QAbstractTableModel(aPai), FContas(std::move(aContas)) {}

int TModeloSaldos::rowCount(const QModelIndex& aPai) const {
  return aPai.isValid() ? 0 : static_cast<int>(FContas.size());
}

int TModeloSaldos::columnCount(const QModelIndex& aPai) const { return aPai.isValid() ? 0 : colQuantidade; }

QString TModeloSaldos::Conta(int aLinha) const {
  if (aLinha < 0 || aLinha >= rowCount()) return {};
  return QString::number(FContas[static_cast<size_t>(aLinha)].ContaCtb);
}

QVariant TModeloSaldos::data(const QModelIndex& aIndice, int aPapel) const {
  if (!checkIndex(aIndice, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const TnDMRegraBaseCalculo::TSaldoConta& c = FContas[static_cast<size_t>(aIndice.row())];
  const int coluna = aIndice.column();
  switch (aPapel) {
    case Qt::DisplayRole:
      switch (coluna) {
        case colConta: return QString::number(c.ContaCtb);
        case colClassificacao: return QString::fromStdString(c.Classificacao);
        case colDescricao: return QString::fromStdString(c.Descricao);
        default: return QString::fromStdString(FormatFloat("#,##0.00", Valor(c, coluna), FormatSettingsTela));
      }
    case TModeloDataSet::PapelOrdem:
      switch (coluna) {
        case colConta: return QVariant::fromValue<qlonglong>(c.ContaCtb);
        case colClassificacao: return QString::fromStdString(c.Classificacao);
        case colDescricao: return QString::fromStdString(c.Descricao);
        default: return QVariant::fromValue<qlonglong>(Valor(c, coluna).Raw());
      }
    case Qt::TextAlignmentRole:
      if (coluna == colClassificacao || coluna == colDescricao) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
      return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::FontRole:
      // Synthetic accounts carry their descendants' totals: bold, as in the chart.
      if (c.Sintetica) {
        QFont f;
        f.setBold(true);
        return f;
      }
      return {};
    case Qt::ForegroundRole:
      if (coluna >= colSaldoAnterior && Valor(c, coluna) < Currency()) return QBrush(QColor(0xb0, 0x1c, 0x1c));
      return {};
    case Qt::ToolTipRole:
      if (coluna == colDescricao) return QString::fromStdString(c.Descricao);
      return QStringLiteral("Clique duas vezes para inserir a conta %1 na fórmula").arg(c.ContaCtb);
    default: return {};
  }
}

QVariant TModeloSaldos::headerData(int aSecao, Qt::Orientation aOrientacao, int aPapel) const {
  if (aOrientacao != Qt::Horizontal || aSecao < 0 || aSecao >= colQuantidade) return {};
  if (aPapel == Qt::TextAlignmentRole)
    return QVariant((aSecao >= colSaldoAnterior || aSecao == colConta ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  if (aPapel != Qt::DisplayRole) return {};
  static const char* const kTitulos[] = {"Conta",   "Classificação", "Descrição", "Saldo Anterior",
                                         "Débito",  "Crédito",       "Movimento", "Saldo Atual"};
  return QString::fromUtf8(kTitulos[aSecao]);
}

}  // namespace nDesktop
