// TJanelaPrincipal: the main window over the main-menu form (TUlmoSMenu): its title, the menu
// built from the registered actions of the active module set, the toolbar and the status bar
// the form fills, and a work area of closable tabs where the screens of processes and
// registers open.
#pragma once
#include <QMainWindow>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "Action_U.h"
#include "MenuPrincipal_U.h"
#include "Projeto_U.h"

class QLabel;
class QMenu;
class QStackedWidget;
class QToolBar;
class QTabWidget;

namespace nDesktop {

// What a registered class opens as, decided by its instance's kind as the command line does.
enum class TTipoTela { Processo, Cadastro, Nenhum };
// Creates an instance of the class to ask. Raises the framework's error for a class not registered.
TTipoTela TipoDaClasse(const std::string& aClasse);

class TJanelaPrincipal : public QMainWindow {
  Q_OBJECT
 public:
  // REQUIRES: aMenu outlives the window and has not been configured yet; a database is open.
  TJanelaPrincipal(nFramework::TnFrmMenuBrivo& aMenu, const nFramework::TnPerModulos& aModulos,
                   QWidget* aPai = nullptr);
  ~TJanelaPrincipal() override;

  QTabWidget* Abas() const { return FAbas; }
  QToolBar* BarraFerramentas() const { return FToolBar; }
  // The status bar's panels, in the form's order.
  const std::vector<QLabel*>& Paineis() const { return FPaineis; }
  // The menu of a main action, by its name ("act" + class); nullptr when absent.
  QAction* AcaoDoMenu(const QString& aNome) const;

  // Opens the class's screen in a tab (or brings forward the one already open) and returns it;
  // nullptr when it could not open (the user was told why). The tab's widget carries the
  // properties "classe" and "tipoTela" ("processo", "grade" for a grid process, or "cadastro").
  QWidget* AbrirClasse(const std::string& aClasse, const QString& aTitulo, const QString& aDica = {},
                       const std::string& aVerificaSelecao = {});
  // The selection dialog; true when the user picked.
  bool Selecionar(const QString& aMotivo = {});
  // The status bar and the menu after the selection changed.
  void SelecaoAlterada();

 protected:
  void closeEvent(QCloseEvent* aEvento) override;

 private:
  void MontarMenu();
  void PreencherMenu(QMenu* aMenu, const std::vector<const nFramework::TnNoMenu*>& aNos);
  void MontarBarraFerramentas();
  void MontarBarraStatus();
  void AbrirAcao(const nFramework::TnAction& aAcao);
  void BotaoPressionado(const nFramework::TnToolButton& aBotao);
  void MostrarMensagens();
  void FecharAba(int aIndice);
  void Sobre();
  void AtualizarAreaVazia();

  nFramework::TnFrmMenuBrivo& FMenu;
  nFramework::TnPerModulos FModulos;
  nFramework::TnStatusBar FStatusBarInicial;
  std::shared_ptr<nFramework::TnActionList> FAcoes;  // the registered classes' actions the menu shows
  QToolBar* FToolBar = nullptr;
  QStackedWidget* FCentro = nullptr;
  QTabWidget* FAbas = nullptr;
  std::vector<QLabel*> FPaineis;
};

}  // namespace nDesktop
