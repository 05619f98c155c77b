// TFrontEndDesktop: the desktop's front end, installed in place of the command line's: a
// QApplication, the shared start-up options, the splash while the libraries load, the
// database dialog as the default login, and the main window with its event loop. A hidden
// option, --capturas DIR, renders the screens to PNG files instead of running the loop.
#pragma once
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Projeto_U.h"

class QApplication;

namespace nDesktop {

class TSplashDesktop;

// Frees the installed front end and its QApplication while the program's main still runs;
// the application object must not outlive main.
void EncerrarFrontEnd();

class TFrontEndDesktop : public nFramework::IFrontEnd {
 public:
  TFrontEndDesktop();
  ~TFrontEndDesktop() override;

  std::optional<int> Preparar(nFramework::TnAplicacao& aApp) override;
  void MostrarSplash(const std::vector<std::string>& aItens) override;
  bool Entrar() override;
  int Executar(nFramework::TnFrmMenuBrivo& aMenu) override;
  void MostrarErro(const std::string& aMensagem) override;

 private:
  // A message for the user before the main window exists: stderr, and a message box when
  // no terminal would show it.
  void Avisar(const QString& aTitulo, const QString& aTexto);

  std::vector<std::string> FArgs;
  std::vector<char*> FArgv;
  int FArgc = 0;
  std::unique_ptr<QApplication> FQApp;
  std::unique_ptr<TSplashDesktop> FSplash;
  std::string FBancoDado;  // the database the options named; empty when none
  QString FCapturas;
};

}  // namespace nDesktop
