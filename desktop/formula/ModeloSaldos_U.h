// TModeloSaldos: the accounts of a rule's balances as a read-only table (code, classification,
// description and the five balances the formula functions read), for the formula editor to
// list, search and insert from. A snapshot: the engine's dataset is read once, in the
// constructor, and never moved afterwards.
#pragma once
#include <QAbstractTableModel>
#include <vector>

#include "RegraBaseCalculo_U.h"

namespace nDesktop {

class TModeloSaldos : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum TColuna { colConta, colClassificacao, colDescricao, colSaldoAnterior, colDebito, colCredito, colMovimento,
                 colSaldoAtual, colQuantidade };

  explicit TModeloSaldos(std::vector<nFramework::TnDMRegraBaseCalculo::TSaldoConta> aContas, QObject* aPai = nullptr);

  int rowCount(const QModelIndex& aPai = {}) const override;
  int columnCount(const QModelIndex& aPai = {}) const override;
  QVariant data(const QModelIndex& aIndice, int aPapel = Qt::DisplayRole) const override;
  QVariant headerData(int aSecao, Qt::Orientation aOrientacao, int aPapel = Qt::DisplayRole) const override;

  // The account code of a row of this model, as a formula writes it.
  QString Conta(int aLinha) const;

 private:
  std::vector<nFramework::TnDMRegraBaseCalculo::TSaldoConta> FContas;
};

}  // namespace nDesktop
