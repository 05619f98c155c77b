#include "UlmoSMenu_U.h"

#include "Contexto_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"
#include "Variant_U.h"

using namespace nFramework;

TUlmoSMenu::TUlmoSMenu() {
  Caption = "Tribunal de Contas do Estado - Brivo";
  actTnDMSelecao->Caption = "Selecionar Sistema TCE";
  actTnDMSelecao->Hint = "Selecionar Sistema TCE";
}

void TUlmoSMenu::FormCreate() { TnFrmMenuBrivo::FormCreate(); }

void TUlmoSMenu::EncontrarForms() { TnFrmMenuBrivo::EncontrarForms(); }

void TUlmoSMenu::ConfigurarVisualMenu() {
  TnFrmMenuBrivo::ConfigurarVisualMenu();
  std::string codigo = ExternalVar("gCodigoSistemaTCEAtiva");
  if (codigo.empty()) return;
  int sistema = StrToIntDef(codigo, 0);
  if (sistema == 0) return;
  TVariant descricao =
      PegarValorCampo("TCESISTEMA", "DESCRSISTEMATCE", "CODIGOSISTEMATCE = " + std::to_string(sistema));
  if (descricao.IsNull()) return;
  std::string texto = FormatFloat("0000", static_cast<double>(sistema)) + " " + VarToStr(descricao);
  TnStatusPanel& painel = nStatusBar.AddPanel();
  painel.Text = texto;
  nStatusBar.Panels(1).Width = nStatusBar.Width() / 2;
  nStatusBar.Panels(2).Width = nStatusBar.Width() - nStatusBar.Panels(0).Width - nStatusBar.Panels(1).Width;
}

void TUlmoSMenu::CriarBtnToolBar() {
  TnFrmMenuBrivo::CriarBtnToolBar();
  CriarToolButtonMain("TUlmoDMPlano", "Cadastro do Plano de Contas TCE", false, "Plano TCE", 0);
  CriarToolButtonMain("TUlmoDMPlanoPlEspec", "Cadastro do Relacionamento de Contas", false, "Relacionamento", 0);
  CriarToolButtonMain("TKaloDMPlanoEspec", "Cadastro do Plano de Contas Específico", false, "Plano Contas", 0);
  CriarToolButtonMain(ClasseAgendaTributaria, "Agenda Tributária", true, "Agenda Tributária", 0);
}
