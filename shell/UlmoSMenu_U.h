// TUlmoSMenu: the module's main menu. Shows the active court system in the status bar and
// adds the module's toolbar buttons after the framework's own.
#pragma once
#include "Projeto_U.h"

class TUlmoSMenu : public nFramework::TnFrmMenuBrivo {
 public:
  // The tax-calendar process of the product family that the fourth button opens.
  static constexpr const char* ClasseAgendaTributaria = "TirnDPAgendaTributaria";

  TUlmoSMenu();
  std::string_view ClassName() const override { return "TUlmoSMenu"; }

  void FormCreate() override;
  void EncontrarForms() override;
  // REQUIRES: a connection is open when a court system is selected.
  void ConfigurarVisualMenu() override;
  void CriarBtnToolBar() override;
};
