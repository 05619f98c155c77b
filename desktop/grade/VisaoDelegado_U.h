// TDelegadoGrade: how a grouped grid's cells look and are edited, from the field under each
// column: a tick or boolean as a centred check box that one click or the space bar turns over;
// a value list as a combo of its captions; a field with a button handler (OnButtonClick) with
// an ellipsis button at the cell's right; a merged column with the repeated values of
// neighbouring rows left blank. What an edit may store is the model's to decide.
#pragma once
#include <QSet>
#include <QStyledItemDelegate>

namespace nDesktop {

class TModeloDataSet;

class TDelegadoGrade : public QStyledItemDelegate {
  Q_OBJECT
 public:
  // REQUIRES: the model outlives the delegate; the view's columns are the model's.
  explicit TDelegadoGrade(TModeloDataSet& aModelo, QObject* aPai = nullptr);

  void SetColunasMescladas(const QSet<int>& aColunas) { FMescladas = aColunas; }
  // Whether the column's cells carry the ellipsis button.
  bool TemBotao(int aColuna) const;
  // Where the ellipsis button of a cell lies.
  static QRect RetanguloBotao(const QRect& aCelula);

  QSize sizeHint(const QStyleOptionViewItem& aOpcao, const QModelIndex& aIndice) const override;
  void paint(QPainter* aPintor, const QStyleOptionViewItem& aOpcao, const QModelIndex& aIndice) const override;
  QWidget* createEditor(QWidget* aPai, const QStyleOptionViewItem& aOpcao, const QModelIndex& aIndice) const override;
  void setEditorData(QWidget* aEditor, const QModelIndex& aIndice) const override;
  void setModelData(QWidget* aEditor, QAbstractItemModel* aModelo, const QModelIndex& aIndice) const override;
  void updateEditorGeometry(QWidget* aEditor, const QStyleOptionViewItem& aOpcao, const QModelIndex& aIndice) const override;

 signals:
  // The ellipsis button of the cell (an index of the view's model) was clicked.
  void BotaoClicado(const QModelIndex& aIndice);

 protected:
  bool editorEvent(QEvent* aEvento, QAbstractItemModel* aModelo, const QStyleOptionViewItem& aOpcao,
                   const QModelIndex& aIndice) override;

 private:
  bool EhGrupo(const QModelIndex& aIndice) const;
  bool EhMarca(const QModelIndex& aIndice) const;
  bool Repetida(const QModelIndex& aIndice) const;

  TModeloDataSet& FModelo;
  QSet<int> FMescladas;
};

}  // namespace nDesktop
