// TTelaGrade: the closable-tab grid form of a process on screen (the framework's
// TnFrmPowerParamcxGridCloseTab): the parameter panel beside one tab per visible view of the
// form's grid manager, the process's actions and "Executar" run off the user-interface thread as
// TTelaProcesso runs them, the message tree below. A process without a registered form shows
// one tab per grid dataset (DataSetsGrade) under the dataset's title.
//
// Layouts: the manager's default layout is the one the form sets up (a form whose panel action
// lays the tabs out stores it itself, after the first run), the user's saved layout is restored
// over it, and the views as the user left them are saved when the screen goes away.
#pragma once
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "FrmPowerParamcxGridCloseTab_U.h"
#include "TelaProcesso_U.h"

class QPushButton;
class QStackedWidget;
class QTabWidget;

namespace nDesktop {

class TVisaoGradeBandas;

// Whether the process opens in the grid form: it has a registered form or grid datasets.
bool EhProcessoGrade(const nFramework::TnDMPowerParam& aProcesso);

// Renders into aPasta each grid screen on the demo data: the e-Sfinge send form on both tabs,
// the consultation of packages sent, the asset classification, the chart relation, the SAGRES
// revenue rules and the payment natures. Each screen's user layout is left as it was.
// REQUIRES: every module library is open, the database holds the demo, a QApplication exists.
// Returns the PNGs written.
std::vector<std::filesystem::path> CapturarTelasGrade(const std::filesystem::path& aPasta);

class TTelaGrade : public TTelaProcesso {
  Q_OBJECT
 public:
  // Takes the process. REQUIRES: PrepararProcesso made it; EhProcessoGrade holds.
  explicit TTelaGrade(nFramework::TnDMPtr<nFramework::TnDMPowerParam> aProcesso, QWidget* aPai = nullptr);
  ~TTelaGrade() override;

  nFramework::TnGerentecxGrid& Gerente() const { return *FGerente; }
  // nullptr for a process without a registered form.
  nFramework::TnFrmPowerParamcxGridCloseTab* Formulario() const { return FForm.get(); }
  QTabWidget* Abas() const { return FAbas; }
  // The view of the tab of that caption; nullptr when no such tab is shown.
  TVisaoGradeBandas* Visao(const QString& aCaption) const;
  TVisaoGradeBandas* VisaoAtual() const;
  QPushButton* BotaoRestaurarLayout() const { return FRestaurar; }

  // The views read their datasets again, tabs shown or dropped as the views' levels say.
  void Recarregar();
  // The views as they stand become the form's saved user layout.
  void SalvarLayout();
  // Back to the layout the form set up ("Restaurar layout padrão").
  void RestaurarLayoutPadrao();
  // False: the screen goes away without saving its layout (a screenshot).
  void SetGuardarLayout(bool aGuardar) { FGuardarLayout = aGuardar; }

 protected:
  void SetExecutando(bool aValor) override;

 private:
  void MontarAbas();
  void AposExecucao();
  void FecharAba(int aIndice);
  void AtualizarBotoes();
  // The columns whose cells a settings grid merges get the view's flag; true when one changed.
  bool MarcarMescladas(nFramework::TnViewcxGrid& aView) const;
  // The panel actions the form added (its layout action); run after the first fill.
  std::vector<nFramework::TnAction*> AcoesDoFormulario() const;

  nFramework::TnDMPtr<nFramework::TnFrmPowerParamcxGridCloseTab> FForm;
  std::unique_ptr<nFramework::TnGerentecxGrid> FGerenteProprio;
  nFramework::TnGerentecxGrid* FGerente = nullptr;
  std::vector<TVisaoGradeBandas*> FVisoes;
  bool FLayoutMontado = false;
  bool FGuardarLayout = true;
  bool FDivisorAjustado = false;
  QWidget* FAreaGrade = nullptr;
  QStackedWidget* FPilha = nullptr;
  QTabWidget* FAbas = nullptr;
  QPushButton* FRestaurar = nullptr;
};

}  // namespace nDesktop
