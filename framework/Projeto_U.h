// The program's frame: the application object, the main-menu and splash form bases, the
// status-bar and toolbar models the main menu fills, the front end that stands in for the
// message loop, and ExecutarProjeto, which runs a program from start-up to exit.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Action_U.h"

namespace nFramework {

class TnForm {
 public:
  virtual ~TnForm() = default;
  virtual std::string_view ClassName() const { return "TnForm"; }
  std::string Caption;
};

struct TnStatusPanel {
  std::string Text{};
  int Width = 0;
};

// A status bar: panels side by side, each with a text and a width in pixels.
class TnStatusBar {
 public:
  explicit TnStatusBar(int aWidth = 800) : FWidth(aWidth) {}
  int Width() const { return FWidth; }
  void SetWidth(int aWidth) { FWidth = aWidth; }
  // Appends a panel; it becomes the last index.
  TnStatusPanel& AddPanel();
  TnStatusPanel& Panels(int aIndex);
  const TnStatusPanel& Panels(int aIndex) const;
  int PanelCount() const { return static_cast<int>(FPanels.size()); }

 private:
  int FWidth;
  std::vector<TnStatusPanel> FPanels;
};

// A toolbar button that opens the registered class of its name when pressed.
struct TnToolButton {
  std::string Classe{};
  std::string Descricao{};  // the hint
  bool AbrirComoProcesso = false;  // the flag of CriarToolButtonMain: a process rather than a register
  std::string Caption{};
  int Numero = 0;
};

// The main-menu form. The framework creates it at start-up (FormCreate, EncontrarForms) and
// a front end that shows it calls Configurar (ConfigurarVisualMenu, CriarBtnToolBar).
class TnFrmMenuBrivo : public TnForm {
 public:
  static constexpr int LarguraStatusBar = 800;
  static constexpr int LarguraPainel0 = 250;
  static constexpr int LarguraPainel1 = 250;

  TnFrmMenuBrivo();
  std::string_view ClassName() const override { return "TnFrmMenuBrivo"; }

  TnStatusBar nStatusBar;       // starts with two panels
  TnActionList nActionList;     // the form's own actions
  TnAction* actTnDMSelecao;     // the selection action: the user picks the active court system
  std::vector<TnToolButton> ToolBar;

  virtual void FormCreate() {}
  virtual void EncontrarForms() {}
  // The menu's look: the base writes the database and the active company into panels 0 and 1.
  virtual void ConfigurarVisualMenu();
  // The base adds the framework's own buttons.
  virtual void CriarBtnToolBar();
  void Configurar() {
    ConfigurarVisualMenu();
    CriarBtnToolBar();
  }
  void CriarToolButtonMain(const std::string& aClasse, const std::string& aDescricao, bool aFlag,
                           const std::string& aCaption, int aNumero);
};

class TnFrmSplashBrivo : public TnForm {
 public:
  std::string_view ClassName() const override { return "TnFrmSplashBrivo"; }
  // Captions the splash shows; the base shows none.
  virtual std::vector<std::string> GetListaSplashItens() const { return {}; }
};

// The running program.
class TnAplicacao {
 public:
  void Inicializar(int argc, const char* const* argv);
  const std::vector<std::string>& Argumentos() const { return FArgumentos; }  // without the program
  std::string ExeName() const { return FExeName; }
  std::string Title;
  int ExitCode = 0;
  std::vector<std::string> ItensSplash;

 private:
  std::vector<std::string> FArgumentos;
  std::string FExeName;
};
TnAplicacao& Application();

// The user's side of the program: a command line today, a desktop later.
class IFrontEnd {
 public:
  virtual ~IFrontEnd() = default;
  // Reads the program's arguments and settles the configuration (nConfig) before anything
  // opens. Returns an exit code to end at once (help, a usage error), or nullopt to go on.
  virtual std::optional<int> Preparar(TnAplicacao& aApp) = 0;
  // Does the user's work with the main form; returns the exit code.
  virtual int Executar(TnFrmMenuBrivo& aMenu) = 0;
  // Tells the user why start-up failed.
  virtual void MostrarErro(const std::string& aMensagem) = 0;
  // Shows the splash's captions while the module libraries load; the default shows nothing.
  virtual void MostrarSplash(const std::vector<std::string>& aItens) { (void)aItens; }
  // The default login: settles the database to open (nConfig().Banco) before the libraries
  // load. False ends the program without an error, as when the user gives up. The default
  // asks nothing.
  virtual bool Entrar() { return true; }
};
void SetFrontEnd(std::shared_ptr<IFrontEnd> aFrontEnd);

// Opens the configured database (nConfig().Banco), brings its schema up to date, running
// FDepoisConverter after a conversion, and makes it the program's connection. Nothing when
// one is already open. A missing file raises EBancoInexistente unless aCriar; one that cannot
// be written opens read-only when its schema is current; a schema newer than the program's
// is refused.
void AbrirBanco(bool aCriar = false);
void FecharBanco();

using TnClasseSplash = std::function<std::unique_ptr<TnFrmSplashBrivo>()>;
using TnClasseMenu = std::function<std::unique_ptr<TnFrmMenuBrivo>()>;
using TnClasseLogin = std::function<std::unique_ptr<TnForm>()>;
template <class T>
std::function<std::unique_ptr<T>()> nClasseForm() {
  return [] { return std::make_unique<T>(); };
}

// Runs the program: the front end reads the arguments, the splash gives its captions and the
// front end shows them, the login (none: the front end's default), the module libraries open, the main
// form is created into *aMainForm, the front end works, and everything closes in reverse
// order. Returns the exit code, also kept in Application().ExitCode.
int ExecutarProjeto(const std::string& aTitulo, TnClasseSplash aSplash, TnClasseMenu aMenu,
                    TnFrmMenuBrivo** aMainForm, TnClasseLogin aLogin);

}  // namespace nFramework
