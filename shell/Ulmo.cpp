// The program Ulmo: hands the framework the title, the splash and the main menu. Everything
// else (the front end, the module libraries, the menus) is the framework's.
#include "Projeto_U.h"
#include "UlmoSMenu_U.h"
#include "UlmoSSplash_U.h"

int main(int argc, char** argv) {
  nFramework::Application().Inicializar(argc, argv);
  nFramework::TnFrmMenuBrivo* FrmMenu = nullptr;
  nFramework::ExecutarProjeto("TCE - Brivo", nFramework::nClasseForm<TUlmoSSplash>(),
                              nFramework::nClasseForm<TUlmoSMenu>(), &FrmMenu, nullptr);
  return nFramework::Application().ExitCode;
}
