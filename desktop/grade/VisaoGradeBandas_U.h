// TVisaoGradeBandas: one tab of a process's grid form: the framework's view (its dataset,
// columns, bands and grouping) drawn as a grid the user reads, ticks and edits in place. Edits
// go through the dataset's own checks (the table model); nothing here decides a rule.
//
// Above the grid: a search box, the tick buttons (when the dataset has a tick column) and the
// group panel; over the column headers, the bands. The header's context menu sorts, groups,
// hides and shows columns; columns are moved and resized by hand. The view's columns hold
// the layout: AplicarLayout draws them, CapturarLayout writes the user's changes back.
#pragma once
#include <QHash>
#include <QWidget>
#include <memory>
#include <vector>

#include "FrmPowerParamcxGridCloseTab_U.h"

class QLabel;
class QLineEdit;
class QModelIndex;
class QToolButton;
class QTreeView;

namespace nDesktop {

class TCabecalhoBandas;
class TDelegadoGrade;
class TModeloDataSet;
class TPainelAgrupamento;
class TProxyAgrupamento;
class TProxyPesquisa;

class TVisaoGradeBandas : public QWidget {
  Q_OBJECT
 public:
  // REQUIRES: the view and its dataset outlive the widget; the dataset is active.
  explicit TVisaoGradeBandas(nFramework::TnViewcxGrid& view, QWidget* pai = nullptr);
  ~TVisaoGradeBandas() override;

  nFramework::TnViewcxGrid& View() const { return FView; }
  TModeloDataSet& Modelo() const { return *FModelo; }
  // Reads the dataset again, as after an action changed it.
  void Recarregar();
  // The tick column on the rows the search shows: every row, none, or each the other way.
  void MarcarTodos();
  void DesmarcarTodos();
  void InverterMarcas();
  // The view's columns (order, visibility, widths, grouping) drawn; and the user's changes
  // written back into them, so the grid manager can save them.
  void AplicarLayout();
  void CapturarLayout();

  // Grouping by a column's field, appended as the innermost level; and taken away (a column
  // hidden for its grouping is shown again).
  void AgruparPor(const QString& campo);
  void RemoverAgrupamento(const QString& campo);
  void ExpandirTodos();
  void RecolherTodos();

  // The parts, for the form and the tests.
  QTreeView* Arvore() const { return FArvore; }
  TProxyAgrupamento& Agrupamento() const { return *FAgrupamento; }
  TProxyPesquisa& Pesquisa() const { return *FPesquisa; }
  TCabecalhoBandas* Bandas() const { return FBandas; }
  // The notice of the last refused edit; empty when none is shown.
  QString Aviso() const;

 signals:
  void EdicaoRecusada(const QString& motivo);
  // The header menu's "Restaurar layout padrão": the form restores its manager's default and
  // draws it again (the entry shows only when this is connected).
  void RestaurarPadraoSolicitado();

 private:
  void MontarBarra(QWidget* barra);
  void MenuCabecalho(const QPoint& pos);
  void MostrarRecusa(const QString& motivo);
  // The model's columns: by field name (case ignored); -1 when the model lacks it.
  int ColunaDoCampo(const std::string& campo) const;
  QString CampoDaColuna(int coluna) const;
  int LarguraPadrao(int coluna) const;
  // The visual order kept with each band's columns side by side.
  void JuntarBandas();
  void AplicarAgrupamento(const QList<int>& colunas);
  // The logical column that draws the tree; -1 when none is shown.
  int AjustarColunaDaArvore();
  // After the tree is rebuilt: group rows spanned, each expanded or not as last left.
  void RestaurarGrupos();
  void RestaurarGrupos(const QModelIndex& pai);
  void BotaoClicado(const QModelIndex& indice);
  std::vector<int> LinhasMostradas() const;
  void AtualizarBarra();

  nFramework::TnViewcxGrid& FView;
  std::unique_ptr<TModeloDataSet> FModelo;
  TProxyPesquisa* FPesquisa = nullptr;
  TProxyAgrupamento* FAgrupamento = nullptr;
  QTreeView* FArvore = nullptr;
  TCabecalhoBandas* FBandas = nullptr;
  TDelegadoGrade* FDelegado = nullptr;
  TPainelAgrupamento* FPainel = nullptr;
  QLineEdit* FCaixaPesquisa = nullptr;
  QWidget* FBotoesMarca = nullptr;
  QLabel* FAviso = nullptr;
  QWidget* FFaixaAviso = nullptr;
  // Groups by path: expanded or not, as the user left them; the others as FExpandido says.
  QHash<QString, bool> FExpansao;
  bool FExpandido = false;
  // Widths fitted while the grid had no rows, per column (-1: set otherwise).
  std::vector<int> FLarguraSemLinhas;
  bool FRestaurando = false;
  bool FMovendo = false;
};

}  // namespace nDesktop
