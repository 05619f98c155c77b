// TVisaoGradeBandas: one tab of a process's grid form: the framework's view (its dataset,
// columns, bands and grouping) drawn as a grid the user reads, ticks and edits in place. Edits
// go through the dataset's own checks (the table model); nothing here decides a rule.
#pragma once
#include <QWidget>
#include <memory>

#include "FrmPowerParamcxGridCloseTab_U.h"

namespace nDesktop {

class TModeloDataSet;

class TVisaoGradeBandas : public QWidget {
  Q_OBJECT
 public:
  // REQUIRES: the view and its dataset outlive the widget; the dataset is active.
  explicit TVisaoGradeBandas(nFramework::TnViewcxGrid& aView, QWidget* aPai = nullptr);
  ~TVisaoGradeBandas() override;

  nFramework::TnViewcxGrid& View() const { return FView; }
  TModeloDataSet& Modelo() const { return *FModelo; }
  // Reads the dataset again, as after an action changed it.
  void Recarregar();
  // The tick column: every row, none, or each the other way.
  void MarcarTodos();
  void DesmarcarTodos();
  void InverterMarcas();
  // The view's columns (order, visibility, widths, grouping) drawn; and the user's changes
  // written back into them, so the grid manager can save them.
  void AplicarLayout();
  void CapturarLayout();

 signals:
  void EdicaoRecusada(const QString& aMotivo);

 private:
  nFramework::TnViewcxGrid& FView;
  std::unique_ptr<TModeloDataSet> FModelo;
  QWidget* FGrade = nullptr;
};

}  // namespace nDesktop
