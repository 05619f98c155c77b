#include "UlmoFPEnviarArquivosCtbeSFinge_U.h"

#include "ClassRegistry_U.h"
#include "Nutil_U.h"

using namespace nFramework;

namespace nUlmoSettings {

const std::array<TRecFieldAgrupamento, 2> FCamposAgrupamento = {{
    {"NumeroSlip", false, 0},
    {"DataLancamento", true, 1},
}};

TUlmoFPEnviarArquivoCtbeSFinge::TUlmoFPEnviarArquivoCtbeSFinge() : actConfigurarCxGrid(ActionList.CriarAction()) {
  Caption = "UlmoFPEnviarArquivoCtbeSFinge";
  actConfigurarCxGrid.Name = "actConfigurarCxGrid";
  actConfigurarCxGrid.Caption = "actConfigurarCxGrid";
  actConfigurarCxGrid.OnExecute = [this](void* Sender) { actConfigurarCxGridExecute(Sender); };
}

TUlmoFPEnviarArquivoCtbeSFinge::~TUlmoFPEnviarArquivoCtbeSFinge() {
  if (TemDMPower()) GetDMPower().npqPowerParam.RemoverAction(actConfigurarCxGrid);
}

void TUlmoFPEnviarArquivoCtbeSFinge::AfterConstruction() {
  TnFrmPowerParamcxGridCloseTab::AfterConstruction();
  FByteFlag = 1;
}

void TUlmoFPEnviarArquivoCtbeSFinge::ConfigurarGerente() {
  TnFrmPowerParamcxGridCloseTab::ConfigurarGerente();
  // Configured again (the process refilled), the panel must not list the action twice.
  TnPowerParamPanel& painel = GetDMPower().npqPowerParam;
  if (painel.FindAction(actConfigurarCxGrid.Name) != &actConfigurarCxGrid) painel.AddAction(actConfigurarCxGrid);
  EsconderLevels();
  if (EhCloud()) DataSource = nullptr;
}

void TUlmoFPEnviarArquivoCtbeSFinge::EsconderLevels() {
  for (const auto& view : Gerente().Views()) view->LevelVisible = false;
}

void TUlmoFPEnviarArquivoCtbeSFinge::MostrarAba(const std::string& AComponente, const std::string& ACaption) {
  TClientDataSet& dataSet = DataSetDoProcesso(AComponente);
  if (TnViewcxGrid* view = Gerente().FindView(ConvertCaptionEmNome(ACaption, 0))) {
    view->DataSet = &dataSet;
    view->LevelVisible = true;
    return;
  }
  dataSet.DisplayCaption = ACaption;
  dataSet.Name = AComponente;
  Gerente().CriarTabSheetBanded(ACaption, dataSet);
  Gerente().ConfigurarGridFields(true, false);
}

void TUlmoFPEnviarArquivoCtbeSFinge::Agrupar(TnViewcxGrid& ADetalhe) {
  for (const auto& campo : FCamposAgrupamento) {
    TnColunaGrid* coluna = ADetalhe.ViewGetColumnByFieldName(campo.Name);
    // A dataset without the column has nothing to group by it.
    if (!coluna) continue;
    coluna->AllowGroup = true;
    coluna->GroupIndex = campo.GroupIndex;
    coluna->Visible = campo.Visible;
  }
  ADetalhe.ExpandirTodos();
}

void TUlmoFPEnviarArquivoCtbeSFinge::actConfigurarCxGridExecute(void*) {
  EsconderLevels();
  MostrarAba("nClientDataSetConta", "Conta Contábil");
  MostrarAba("nClientDataSetLcto", "Lançamento Contábil");
  Agrupar(Gerente().GetDetalhes("Lançamento Contábil"));
  Gerente().StoreAsDefaultConfig();
  Gerente().RestoreFormIniFile();
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoFPEnviarArquivoCtbeSFinge>()};

}  // namespace nUlmoSettings
