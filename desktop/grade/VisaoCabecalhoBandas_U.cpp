#include "VisaoCabecalhoBandas_U.h"

#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>

namespace nDesktop {

TCabecalhoBandas::TCabecalhoBandas(QHeaderView* aCabecalho, QWidget* aPai) : QWidget(aPai), FCabecalho(aCabecalho) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  auto atualizar = [this] { update(); };
  connect(FCabecalho, &QHeaderView::sectionResized, this, atualizar);
  connect(FCabecalho, &QHeaderView::sectionMoved, this, atualizar);
  connect(FCabecalho, &QHeaderView::sectionCountChanged, this, atualizar);
  connect(FCabecalho, &QHeaderView::geometriesChanged, this, atualizar);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(FCabecalho->parentWidget()))
    connect(area->horizontalScrollBar(), &QScrollBar::valueChanged, this, atualizar);
}

void TCabecalhoBandas::SetBandas(const QStringList& aBandas) {
  FBandas = aBandas;
  update();
}

std::vector<TCabecalhoBandas::TCelula> TCabecalhoBandas::Celulas() const {
  std::vector<TCelula> r;
  bool continua = false;
  for (int v = 0; v < FCabecalho->count(); ++v) {
    const int logica = FCabecalho->logicalIndex(v);
    if (FCabecalho->isSectionHidden(logica)) continue;
    const QString banda = logica < FBandas.size() ? FBandas[logica] : QString();
    const int x = FCabecalho->sectionViewportPosition(logica);
    const int largura = FCabecalho->sectionSize(logica);
    if (continua && r.back().Banda == banda) {
      r.back().Largura = x + largura - r.back().X;
      r.back().Ultima = v;
    } else {
      r.push_back({banda, x, largura, v, v});
      continua = true;
    }
  }
  return r;
}

QSize TCabecalhoBandas::sizeHint() const {
  return {FCabecalho->sizeHint().width(), FCabecalho->sizeHint().height()};
}

void TCabecalhoBandas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int deslocamento = FCabecalho->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
  QFont fonte = font();
  fonte.setBold(true);
  p.setFont(fonte);
  int fim = 0;
  for (const TCelula& c : Celulas()) {
    QStyleOptionHeader opcao;
    opcao.initFrom(this);
    opcao.rect = QRect(deslocamento + c.X, 0, c.Largura, height());
    opcao.text = c.Banda;
    opcao.textAlignment = Qt::AlignCenter;
    opcao.position = QStyleOptionHeader::Middle;
    opcao.orientation = Qt::Horizontal;
    opcao.state |= QStyle::State_Raised | QStyle::State_Horizontal;
    style()->drawControl(QStyle::CE_Header, &opcao, &p, this);
    fim = std::max(fim, opcao.rect.right() + 1);
  }
  // What lies right of the last band is the header's empty area.
  if (fim < width()) {
    QStyleOptionHeader vazio;
    vazio.initFrom(this);
    vazio.rect = QRect(fim, 0, width() - fim, height());
    vazio.orientation = Qt::Horizontal;
    vazio.state |= QStyle::State_Horizontal;
    style()->drawControl(QStyle::CE_HeaderEmptyArea, &vazio, &p, this);
  }
}

}  // namespace nDesktop
