// TModeloDataSet: a framework dataset as a Qt table, through the grid model (TGradeDados) that
// the command line's --mostrar uses, so both show the same cells and an edit goes through the
// same checks. TProxyPesquisa sorts it by value and filters it by a search text.
//
// The model reads every row once (Recarregar) and keeps the texts: views, sorting and the
// search never move the dataset's cursor. Whoever changes the dataset behind the model's back
// (a reload, a row saved elsewhere) calls Recarregar.
//
// REQUIRES: the dataset is active, outlives the model and keeps its fields while the model lives.
#pragma once
#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "ClientDataSet_U.h"
#include "GradeDados_U.h"

namespace nDesktop {

class TModeloDataSet : public QAbstractTableModel {
  Q_OBJECT
 public:
  // The value a column sorts by: a number, a date as its day count, or the text.
  static constexpr int PapelOrdem = Qt::UserRole + 1;
  // The dataset's bookmark of the row.
  static constexpr int PapelMarcador = Qt::UserRole + 2;

  explicit TModeloDataSet(nFramework::TClientDataSet& aDataSet, QObject* aPai = nullptr);

  nFramework::TGradeDados& Grade() { return FGrade; }
  // Cells become editable (a grid screen); a register's screen edits in its form instead.
  void SetEditavel(bool aEditavel);
  bool Editavel() const { return FEditavel; }

  // Reads the rows again. REQUIRES: the dataset is not in edit or insert.
  void Recarregar();
  // The field shown in the column; nullptr outside the columns.
  nFramework::TField* Campo(int aColuna) const;
  int ColunaDoCampo(const QString& aNomeCampo) const;
  nFramework::TClientDataSet::TBookmark Marcador(int aLinha) const;
  // The row of a bookmark, -1 when the model has none.
  int LinhaDoMarcador(nFramework::TClientDataSet::TBookmark aMarcador) const;
  // Puts the dataset's cursor on the row; false when the row is no longer there.
  bool Posicionar(int aLinha);
  // Reads one row again after something edited it in the dataset (a cell's button handler).
  // REQUIRES: the dataset is not in edit or insert.
  void RecarregarLinha(int aLinha);

  enum class TMarcacao { Marcar, Desmarcar, Inverter };
  // The tick column on these rows, through the grid's checks: every row ticked, unticked or
  // each turned over. A refused row keeps its tick; the first refusal is emitted
  // (EdicaoRecusada) after the others are done. Gives the rows changed; 0 without a tick column.
  int MarcarLinhas(const std::vector<int>& aLinhas, TMarcacao aMarcacao);

  int rowCount(const QModelIndex& aPai = QModelIndex()) const override;
  int columnCount(const QModelIndex& aPai = QModelIndex()) const override;
  QVariant data(const QModelIndex& aIndice, int aPapel = Qt::DisplayRole) const override;
  QVariant headerData(int aSecao, Qt::Orientation aOrientacao, int aPapel = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& aIndice) const override;
  // An edit the grid refuses returns false and emits EdicaoRecusada with its message; the row
  // keeps its values.
  bool setData(const QModelIndex& aIndice, const QVariant& aValor, int aPapel = Qt::EditRole) override;

 signals:
  void EdicaoRecusada(const QString& aMotivo);

 private:
  struct TLinha {
    nFramework::TClientDataSet::TBookmark Marcador = -1;
    QStringList Textos;
    std::vector<QVariant> Ordem;
    std::vector<signed char> Marcas;  // -1: not a check column; else 0 or 1
    bool Destacada = false;
  };
  // Whether the column shows a check box rather than a text.
  bool ColunaMarcavel(int aColuna) const;
  TLinha LerLinha() const;

  nFramework::TClientDataSet& FDataSet;
  nFramework::TGradeDados FGrade;
  std::vector<nFramework::TField*> FColunas;
  std::vector<TLinha> FLinhas;
  bool FEditavel = false;
};

// Sorts by TModeloDataSet::PapelOrdem and keeps the rows where every word of the search text
// appears in some column, without regard to case or accents ("descricao" finds "Descrição").
class TProxyPesquisa : public QSortFilterProxyModel {
  Q_OBJECT
 public:
  explicit TProxyPesquisa(QObject* aPai = nullptr);
  void SetPesquisa(const QString& aTexto);
  // Lower case without accents: what the search compares.
  static QString Normalizar(const QString& aTexto);

 protected:
  bool filterAcceptsRow(int aLinha, const QModelIndex& aPai) const override;
  bool lessThan(const QModelIndex& aEsquerda, const QModelIndex& aDireita) const override;

 private:
  QStringList FPalavras;
};

}  // namespace nDesktop
