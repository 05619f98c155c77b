#include "VisaoGradeBandas_U.h"

#include <QTableView>
#include <QVBoxLayout>

#include "ModeloDataSet_U.h"
#include "VisaoGrade_U.h"

namespace nDesktop {

TVisaoGradeBandas::TVisaoGradeBandas(nFramework::TnViewcxGrid& aView, QWidget* aPai)
    : QWidget(aPai), FView(aView), FModelo(std::make_unique<TModeloDataSet>(*aView.DataSet)) {
  FModelo->SetEditavel(true);
  auto* grade = new QTableView(this);
  ConfigurarGrade(grade);
  grade->setModel(FModelo.get());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grade);
  FGrade = grade;
  connect(FModelo.get(), &TModeloDataSet::EdicaoRecusada, this, &TVisaoGradeBandas::EdicaoRecusada);
}

TVisaoGradeBandas::~TVisaoGradeBandas() = default;

void TVisaoGradeBandas::Recarregar() { FModelo->Recarregar(); }
void TVisaoGradeBandas::MarcarTodos() {}
void TVisaoGradeBandas::DesmarcarTodos() {}
void TVisaoGradeBandas::InverterMarcas() {}
void TVisaoGradeBandas::AplicarLayout() {}
void TVisaoGradeBandas::CapturarLayout() {}

}  // namespace nDesktop
