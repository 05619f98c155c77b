// TCabecalhoBandas: the row above a grid's column headers where each band's caption spans the
// columns under it, kept in step with the header as columns move, resize, hide and scroll.
// Neighbouring visible columns of one band share one cell; a band without a caption shows
// an empty cell (the tick column's selection band).
#pragma once
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QHeaderView;

namespace nDesktop {

class TCabecalhoBandas : public QWidget {
  Q_OBJECT
 public:
  // REQUIRES: the header outlives this widget.
  TCabecalhoBandas(QHeaderView* aCabecalho, QWidget* aPai = nullptr);

  // The band of each logical column of the header.
  void SetBandas(const QStringList& aBandas);
  const QStringList& Bandas() const { return FBandas; }

  struct TCelula {
    QString Banda;
    int X = 0;  // in the header's viewport
    int Largura = 0;
    int Primeira = 0, Ultima = 0;  // visual indexes of the first and last column under it
  };
  // The band cells as drawn now, left to right.
  std::vector<TCelula> Celulas() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* aEvento) override;

 private:
  QHeaderView* FCabecalho;
  QStringList FBandas;
};

}  // namespace nDesktop
