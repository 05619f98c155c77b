// TProxyAgrupamento: a flat table (the search proxy over a dataset's model) as the tree a
// grouped grid shows: one level of group rows per grouping column, outermost first, each
// reading "Caption: valor (n registros)", and the table's rows as leaves in the table's own
// order, so a sort of the table sorts the rows within their groups. Groups follow the order of
// their values (PapelOrdem), ascending unless SetOrdemGrupo says otherwise.
//
// Source rows moved, filtered or changed in a grouping column rebuild the tree as a layout
// change: persistent indexes of leaves follow their rows, those of groups their values.
//
// REQUIRES: the source is flat (no children) and gives TModeloDataSet's PapelOrdem.
#pragma once
#include <QAbstractProxyModel>
#include <QHash>
#include <QList>
#include <QPersistentModelIndex>
#include <memory>
#include <vector>

namespace nDesktop {

class TProxyAgrupamento : public QAbstractProxyModel {
  Q_OBJECT
 public:
  // true on a group row.
  static constexpr int PapelGrupo = Qt::UserRole + 20;
  // A group's values from the outermost level down: stable across rebuilds.
  static constexpr int PapelCaminho = Qt::UserRole + 21;
  // The number of table rows under a group.
  static constexpr int PapelContagem = Qt::UserRole + 22;

  explicit TProxyAgrupamento(QObject* aPai = nullptr);
  ~TProxyAgrupamento() override;

  void setSourceModel(QAbstractItemModel* aFonte) override;
  // The source columns grouped by, outermost first; empty: the table as it is.
  void SetAgrupamento(const QList<int>& aColunas);
  const QList<int>& Agrupamento() const { return FColunas; }
  void SetOrdemGrupo(int aColuna, Qt::SortOrder aOrdem);
  // Every group row, at every level.
  int QuantidadeGrupos() const { return static_cast<int>(FGrupoPorCaminho.size()); }
  bool EhGrupo(const QModelIndex& aIndice) const;

  QModelIndex index(int aLinha, int aColuna, const QModelIndex& aPai = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& aFilho) const override;
  int rowCount(const QModelIndex& aPai = QModelIndex()) const override;
  int columnCount(const QModelIndex& aPai = QModelIndex()) const override;
  bool hasChildren(const QModelIndex& aPai = QModelIndex()) const override;
  QVariant data(const QModelIndex& aIndice, int aPapel = Qt::DisplayRole) const override;
  QVariant headerData(int aSecao, Qt::Orientation aOrientacao, int aPapel = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& aIndice) const override;
  QModelIndex sibling(int aLinha, int aColuna, const QModelIndex& aIndice) const override;
  QModelIndex mapToSource(const QModelIndex& aIndice) const override;
  QModelIndex mapFromSource(const QModelIndex& aIndiceFonte) const override;
  // Sorts the table (so the rows within each group); a grouping column's groups too.
  void sort(int aColuna, Qt::SortOrder aOrdem = Qt::AscendingOrder) override;

 private:
  struct TNo {
    TNo* Pai = nullptr;
    int Linha = 0;        // among the parent's children
    int LinhaFonte = -1;  // a leaf's source row; -1 on groups
    int Nivel = -1;       // a group's level; -1 on the root and leaves
    QString Texto;        // a group's value as the table shows it
    QString Caminho;
    int Contagem = 0;
    std::vector<TNo*> Filhos;
  };

  TNo* No(const QModelIndex& aIndice) const;
  void Construir();
  void ConstruirNivel(TNo* aPai, const std::vector<int>& aLinhas, int aNivel);
  QString TextoValor(int aLinhaFonte, int aColuna) const;
  void ComecarMudanca();
  void TerminarMudanca();
  void ComecarReinicio();
  void TerminarReinicio();
  void DadosAlterados(const QModelIndex& aDe, const QModelIndex& aAte, const QList<int>& aPapeis);

  QList<int> FColunas;
  QHash<int, Qt::SortOrder> FOrdemGrupo;
  std::unique_ptr<TNo> FRaiz;
  std::vector<std::unique_ptr<TNo>> FNos;
  std::vector<TNo*> FFolhaDaLinha;
  QHash<QString, TNo*> FGrupoPorCaminho;
  QList<QMetaObject::Connection> FConexoes;
  // What the persistent indexes pointed at across a layout change.
  struct TGuardado {
    QPersistentModelIndex Fonte;  // a leaf's source cell
    QString Caminho;              // else a group's path
    int Coluna = 0;
  };
  QModelIndexList FPersistentes;
  std::vector<TGuardado> FGuardados;
  int FMudando = 0;
};

}  // namespace nDesktop
