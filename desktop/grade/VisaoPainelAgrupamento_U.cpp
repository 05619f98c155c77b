#include "VisaoPainelAgrupamento_U.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace nDesktop {

TPainelAgrupamento::TPainelAgrupamento(QWidget* aPai) : QWidget(aPai) {
  setObjectName(QStringLiteral("PainelAgrupamento"));
  setAttribute(Qt::WA_StyledBackground, true);
  setStyleSheet(QStringLiteral("#PainelAgrupamento { background: #eef1f5; border: 1px solid #c9d0d8; border-bottom: none; }"));
  FLayout = new QHBoxLayout(this);
  FLayout->setContentsMargins(6, 3, 6, 3);
  FLayout->setSpacing(4);
  FDica = new QLabel(QStringLiteral("Para agrupar, clique com o botão direito no título de uma coluna e escolha "
                                    "“Agrupar por esta coluna”."),
                     this);
  FDica->setStyleSheet(QStringLiteral("color: #5a6673;"));
  FLayout->addWidget(FDica);
  FLayout->addStretch(1);
}

void TPainelAgrupamento::SetItens(const QList<TItem>& aItens) {
  FItens = aItens;
  for (QWidget* w : FPartes) delete w;
  FPartes.clear();
  FDica->setVisible(FItens.isEmpty());
  for (int i = 0; i < FItens.size(); ++i) {
    const TItem item = FItens[i];
    if (i > 0) {
      auto* seta = new QLabel(QStringLiteral("›"), this);
      seta->setStyleSheet(QStringLiteral("color: #5a6673; font-weight: bold;"));
      FLayout->insertWidget(FLayout->count() - 1, seta);
      FPartes << seta;
    }
    auto* botao = new QToolButton(this);
    botao->setObjectName(QStringLiteral("Grupo_") + QString::number(item.Coluna));
    botao->setText(item.Titulo);
    botao->setToolTip(QStringLiteral("Agrupado por %1").arg(item.Titulo));
    botao->setPopupMode(QToolButton::InstantPopup);
    botao->setStyleSheet(QStringLiteral("QToolButton { background: white; border: 1px solid #9aa7b5; border-radius: 2px; "
                                        "padding: 1px 6px; } QToolButton::menu-indicator { image: none; width: 0; }"));
    auto* menu = new QMenu(botao);
    QAction* remover = menu->addAction(QStringLiteral("Remover agrupamento"));
    connect(remover, &QAction::triggered, this, [this, item] { emit RemoverPedido(item.Coluna); });
    if (i > 0) {
      QAction* fora = menu->addAction(QStringLiteral("Agrupar antes"));
      connect(fora, &QAction::triggered, this, [this, item] { emit MoverPedido(item.Coluna, -1); });
    }
    if (i + 1 < FItens.size()) {
      QAction* dentro = menu->addAction(QStringLiteral("Agrupar depois"));
      connect(dentro, &QAction::triggered, this, [this, item] { emit MoverPedido(item.Coluna, 1); });
    }
    botao->setMenu(menu);
    FLayout->insertWidget(FLayout->count() - 1, botao);
    FPartes << botao;
  }
}

}  // namespace nDesktop
