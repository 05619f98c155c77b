// TPainelAgrupamento: the strip above a grid naming the columns it is grouped by, outermost
// first, each with a menu to take it away or move it a level; empty, it tells how to group.
#pragma once
#include <QList>
#include <QString>
#include <QWidget>

class QHBoxLayout;
class QLabel;

namespace nDesktop {

class TPainelAgrupamento : public QWidget {
  Q_OBJECT
 public:
  explicit TPainelAgrupamento(QWidget* aPai = nullptr);

  struct TItem {
    int Coluna = -1;
    QString Titulo;
  };
  void SetItens(const QList<TItem>& aItens);
  const QList<TItem>& Itens() const { return FItens; }

 signals:
  void RemoverPedido(int aColuna);
  // aDelta -1: one level out; +1: one level in.
  void MoverPedido(int aColuna, int aDelta);

 private:
  QHBoxLayout* FLayout;
  QLabel* FDica;
  QList<TItem> FItens;
  QList<QWidget*> FPartes;
};

}  // namespace nDesktop
