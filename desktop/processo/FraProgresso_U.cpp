#include "FraProgresso_U.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace nDesktop {

TEstadoProgresso TEstadoProgresso::De(const nFramework::TnFraProgresso& aFrame) {
  TEstadoProgresso e;
  e.Multiplo = aFrame.Multiplo();
  e.Circular = aFrame.Circular();
  e.CircularParcial = aFrame.CircularParcial();
  e.Texto = aFrame.Texto();
  e.TextoTotal = aFrame.TextoTotal();
  e.TextoParcial = aFrame.TextoParcial();
  e.PosicaoTotal = aFrame.PosicaoTotal();
  e.MaxTotal = aFrame.MaxTotal();
  e.PosicaoParcial = aFrame.PosicaoParcial();
  e.MaxParcial = aFrame.MaxParcial();
  return e;
}

TFraProgresso::TFraProgresso(QWidget* aPai) : QFrame(aPai) {
  setObjectName("fraProgresso");
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);

  FTexto = new QLabel(this);
  FTexto->setWordWrap(true);
  QFont negrito = FTexto->font();
  negrito.setBold(true);
  FTexto->setFont(negrito);
  FRotuloTotal = new QLabel(this);
  FTotal = new QProgressBar(this);
  FRotuloParcial = new QLabel(this);
  FParcial = new QProgressBar(this);
  for (QProgressBar* b : {FTotal, FParcial}) {
    b->setTextVisible(true);
    b->setMinimumWidth(360);
  }
  FCancelar = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cancelar", this);
  FCancelar->setObjectName("btnCancelar");
  FCancelar->setToolTip("Interrompe a execução no próximo passo; nenhum arquivo pela metade fica gravado");
  connect(FCancelar, &QPushButton::clicked, this, &TFraProgresso::Cancelar);

  auto* barras = new QVBoxLayout;
  barras->setSpacing(4);
  barras->addWidget(FTexto);
  barras->addWidget(FRotuloTotal);
  barras->addWidget(FTotal);
  barras->addSpacing(4);
  barras->addWidget(FRotuloParcial);
  barras->addWidget(FParcial);
  auto* botao = new QVBoxLayout;
  botao->addStretch();
  botao->addWidget(FCancelar);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setSpacing(16);
  layout->addLayout(barras, 1);
  layout->addLayout(botao);
  hide();
}

void TFraProgresso::SetCancelamento(nFramework::TnCancelamento* aCancelamento) {
  FCancelamento = aCancelamento;
  FCancelar->setEnabled(true);
  FCancelar->setText("Cancelar");
}

void TFraProgresso::AplicarBarra(QProgressBar* aBarra, int aPosicao, int aMax, bool aCircular) {
  if (aCircular || (aMax <= 0 && aPosicao > 0)) {
    // A bar without an end, or steps counted without a total: Qt draws a busy bar for an
    // empty range.
    aBarra->setRange(0, 0);
    return;
  }
  if (aMax <= 0) {
    // Nothing to go through (an account without entries): an empty bar, not a busy one.
    aBarra->setRange(0, 1);
    aBarra->setValue(0);
    aBarra->setFormat(QString());
    return;
  }
  aBarra->setRange(0, aMax);
  aBarra->setValue(std::min(aPosicao, aMax));
  aBarra->setFormat("%v de %m (%p%)");
}

void TFraProgresso::Mostrar(const TEstadoProgresso& aEstado) {
  FTexto->setText(QString::fromStdString(aEstado.Texto));
  FTexto->setVisible(!aEstado.Texto.empty());
  bool comBarras = aEstado.Multiplo || !aEstado.TextoTotal.empty() || aEstado.MaxTotal > 0 || aEstado.Circular ||
                   aEstado.Texto.empty();
  FRotuloTotal->setText(QString::fromStdString(aEstado.TextoTotal));
  FRotuloTotal->setVisible(comBarras && !aEstado.TextoTotal.empty());
  FTotal->setVisible(comBarras);
  AplicarBarra(FTotal, aEstado.PosicaoTotal, aEstado.MaxTotal, aEstado.Circular);
  FRotuloParcial->setText(QString::fromStdString(aEstado.TextoParcial));
  FRotuloParcial->setVisible(aEstado.Multiplo && !aEstado.TextoParcial.empty());
  FParcial->setVisible(aEstado.Multiplo);
  AplicarBarra(FParcial, aEstado.PosicaoParcial, aEstado.MaxParcial, aEstado.CircularParcial);
  // A frame with its own cancel handler withdraws the request and asks; the button comes back.
  if (FCancelamento && !FCancelamento->Pedido() && !FCancelar->isEnabled()) {
    FCancelar->setEnabled(true);
    FCancelar->setText("Cancelar");
  }
  show();
  emit Mostrado();
}

void TFraProgresso::Ocultar() { hide(); }

void TFraProgresso::Cancelar() {
  if (!FCancelamento) return;
  FCancelamento->Pedir();
  FCancelar->setEnabled(false);
  FCancelar->setText("Cancelando...");
}

QString TFraProgresso::TextoTotal() const { return FRotuloTotal->text(); }
QString TFraProgresso::TextoParcial() const { return FRotuloParcial->text(); }

}  // namespace nDesktop
