#include "VisaoDelegado_U.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "Dicionario_U.h"
#include "ModeloDataSet_U.h"
#include "VisaoProxyAgrupamento_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool TemLista(const TField* f) { return f && !f->ValueList.empty(); }

// The grid's faint lines at a cell's right and bottom.
void Linhas(QPainter* p, const QRect& r) {
  p->save();
  p->setPen(QColor(0xdc, 0xe1, 0xe6));
  p->drawLine(r.topRight(), r.bottomRight());
  p->drawLine(r.bottomLeft(), r.bottomRight());
  p->restore();
}

}  // namespace

TDelegadoGrade::TDelegadoGrade(TModeloDataSet& aModelo, QObject* aPai) : QStyledItemDelegate(aPai), FModelo(aModelo) {}

bool TDelegadoGrade::TemBotao(int aColuna) const {
  const TField* f = FModelo.Campo(aColuna);
  return f && static_cast<bool>(f->OnButtonClick);
}

QRect TDelegadoGrade::RetanguloBotao(const QRect& aCelula) {
  const int largura = std::min(22, aCelula.width() / 2);
  return QRect(aCelula.right() - largura, aCelula.top() + 1, largura, aCelula.height() - 2);
}

bool TDelegadoGrade::EhGrupo(const QModelIndex& aIndice) const {
  return aIndice.data(TProxyAgrupamento::PapelGrupo).toBool();
}

bool TDelegadoGrade::EhMarca(const QModelIndex& aIndice) const {
  return !EhGrupo(aIndice) && aIndice.data(Qt::CheckStateRole).isValid();
}

bool TDelegadoGrade::Repetida(const QModelIndex& aIndice) const {
  if (!FMescladas.contains(aIndice.column()) || aIndice.row() == 0 || EhGrupo(aIndice)) return false;
  QModelIndex acima = aIndice.sibling(aIndice.row() - 1, aIndice.column());
  return acima.isValid() && !EhGrupo(acima) && acima.data().toString() == aIndice.data().toString();
}

void TDelegadoGrade::paint(QPainter* aPintor, const QStyleOptionViewItem& aOpcao, const QModelIndex& aIndice) const {
  if (EhGrupo(aIndice)) {
    QStyledItemDelegate::paint(aPintor, aOpcao, aIndice);
    return;
  }
  QStyleOptionViewItem opcao(aOpcao);
  initStyleOption(&opcao, aIndice);
  const QWidget* widget = opcao.widget;
  QStyle* estilo = widget ? widget->style() : QApplication::style();
  if (EhMarca(aIndice)) {
    // The check box alone, centred as the grids accountants know draw it.
    const QSize tamanho = estilo->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opcao, widget).size();
    const Qt::CheckState estado = opcao.checkState;
    QStyleOptionViewItem fundo(opcao);
    fundo.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    fundo.text.clear();
    estilo->drawControl(QStyle::CE_ItemViewItem, &fundo, aPintor, widget);
    QStyleOptionViewItem caixa(opcao);
    caixa.rect = QStyle::alignedRect(opcao.direction, Qt::AlignCenter, tamanho, opcao.rect);
    caixa.state = caixa.state & ~QStyle::State_HasFocus;
    caixa.state |= estado == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    if (!(aIndice.flags() & Qt::ItemIsUserCheckable)) caixa.state &= ~QStyle::State_Enabled;
    estilo->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &caixa, aPintor, widget);
    Linhas(aPintor, opcao.rect);
    return;
  }
  if (Repetida(aIndice)) opcao.text.clear();
  if (TemBotao(aIndice.column())) {
    const QRect botao = RetanguloBotao(opcao.rect);
    QStyleOptionViewItem fundo(opcao);
    fundo.text.clear();
    estilo->drawControl(QStyle::CE_ItemViewItem, &fundo, aPintor, widget);
    // The text stops short of the button.
    opcao.rect.setRight(botao.left() - 1);
    estilo->drawControl(QStyle::CE_ItemViewItem, &opcao, aPintor, widget);
    QStyleOptionButton b;
    b.rect = botao;
    b.text = QStringLiteral("…");
    b.state = QStyle::State_Enabled | QStyle::State_Raised;
    b.palette = opcao.palette;
    b.fontMetrics = opcao.fontMetrics;
    estilo->drawControl(QStyle::CE_PushButton, &b, aPintor, widget);
    Linhas(aPintor, fundo.rect);
    return;
  }
  estilo->drawControl(QStyle::CE_ItemViewItem, &opcao, aPintor, widget);
  Linhas(aPintor, opcao.rect);
}

QSize TDelegadoGrade::sizeHint(const QStyleOptionViewItem& aOpcao, const QModelIndex& aIndice) const {
  QSize s = QStyledItemDelegate::sizeHint(aOpcao, aIndice);
  // Compact rows, tall enough for a check box and an editor.
  s.setHeight(std::max(s.height(), aOpcao.fontMetrics.height() + 6));
  return s;
}

bool TDelegadoGrade::editorEvent(QEvent* aEvento, QAbstractItemModel* aModelo, const QStyleOptionViewItem& aOpcao,
                                 const QModelIndex& aIndice) {
  if (EhGrupo(aIndice)) return false;
  const QEvent::Type tipo = aEvento->type();
  const bool mouse = tipo == QEvent::MouseButtonPress || tipo == QEvent::MouseButtonRelease ||
                     tipo == QEvent::MouseButtonDblClick;
  if (EhMarca(aIndice)) {
    if (!(aIndice.flags() & Qt::ItemIsUserCheckable)) return false;
    bool virar = false;
    if (mouse) {
      auto* m = static_cast<QMouseEvent*>(aEvento);
      if (m->button() != Qt::LeftButton || !aOpcao.rect.contains(m->position().toPoint())) return false;
      // One click anywhere in the cell: the press and the double click are taken, the release turns it.
      virar = tipo == QEvent::MouseButtonRelease;
      if (!virar) return true;
    } else if (tipo == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(aEvento);
      virar = k->key() == Qt::Key_Space || k->key() == Qt::Key_Select;
    }
    if (!virar) return false;
    const bool marcada = aIndice.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    aModelo->setData(aIndice, marcada ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    return true;
  }
  if (mouse && TemBotao(aIndice.column())) {
    auto* m = static_cast<QMouseEvent*>(aEvento);
    if (m->button() == Qt::LeftButton && RetanguloBotao(aOpcao.rect).contains(m->position().toPoint())) {
      if (tipo == QEvent::MouseButtonRelease) emit BotaoClicado(aIndice);
      return true;
    }
  }
  return QStyledItemDelegate::editorEvent(aEvento, aModelo, aOpcao, aIndice);
}

QWidget* TDelegadoGrade::createEditor(QWidget* aPai, const QStyleOptionViewItem& aOpcao, const QModelIndex& aIndice) const {
  const TField* f = FModelo.Campo(aIndice.column());
  if (!TemLista(f) || EhMarca(aIndice)) return QStyledItemDelegate::createEditor(aPai, aOpcao, aIndice);
  auto* combo = new QComboBox(aPai);
  combo->setObjectName(QStringLiteral("EditorLista"));
  if (!f->Required) combo->addItem(QString());
  for (const auto& [titulo, valor] : ItensLista(f->ValueList)) combo->addItem(Q(titulo), Q(valor));
  // A choice is an edit: stored as soon as it is made.
  connect(combo, &QComboBox::activated, this, [this, combo] {
    auto* self = const_cast<TDelegadoGrade*>(this);
    emit self->commitData(combo);
    emit self->closeEditor(combo);
  });
  return combo;
}

void TDelegadoGrade::setEditorData(QWidget* aEditor, const QModelIndex& aIndice) const {
  if (auto* combo = qobject_cast<QComboBox*>(aEditor)) {
    combo->setCurrentIndex(std::max(0, combo->findText(aIndice.data(Qt::EditRole).toString())));
    return;
  }
  QStyledItemDelegate::setEditorData(aEditor, aIndice);
}

void TDelegadoGrade::setModelData(QWidget* aEditor, QAbstractItemModel* aModelo, const QModelIndex& aIndice) const {
  if (auto* combo = qobject_cast<QComboBox*>(aEditor)) {
    if (combo->currentText() != aIndice.data(Qt::EditRole).toString()) aModelo->setData(aIndice, combo->currentText());
    return;
  }
  if (QVariant editor = aEditor->property("text"); editor.isValid() && editor.toString() == aIndice.data(Qt::EditRole).toString())
    return;  // nothing typed: no edit to check
  QStyledItemDelegate::setModelData(aEditor, aModelo, aIndice);
}

void TDelegadoGrade::updateEditorGeometry(QWidget* aEditor, const QStyleOptionViewItem& aOpcao, const QModelIndex& aIndice) const {
  QStyledItemDelegate::updateEditorGeometry(aEditor, aOpcao, aIndice);
  // The ellipsis button stays clickable beside the text being typed.
  if (TemBotao(aIndice.column())) aEditor->setGeometry(aOpcao.rect.adjusted(0, 0, -RetanguloBotao(aOpcao.rect).width(), 0));
}

}  // namespace nDesktop
