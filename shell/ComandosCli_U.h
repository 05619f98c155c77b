// The commands of the command line: the main menu, a process's parameter panel, a process's
// run, the registered classes, and the maintenance of a register. Each writes its output to
// aOut and its errors to aErr and returns the exit code.
#pragma once
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "Action_U.h"
#include "Exceptions_U.h"
#include "Inicio_U.h"
#include "Projeto_U.h"

struct TOpcoesGrade;  // ComandoGrade_U.h

// What an ACTION argument named: a registered class and, when it offers one, its action.
struct TAlvo {
  std::string Classe;
  std::shared_ptr<nFramework::TnActionList> Acoes;  // keeps Acao alive
  nFramework::TnAction* Acao = nullptr;
};
// ACTION is a class name, an action name ("act" + class) or a caption, without regard to
// case; captions are looked up among the actions of aModulos first, then of every module.
// Raises EUso naming the nearest names when nothing matches, or the candidates of an
// ambiguous caption.
TAlvo ResolverAlvo(const std::string& aAcao, const nFramework::TnPerModulos& aModulos);
// The registered class names, action names and captions nearest to a text (at most three).
std::vector<std::string> NomesProximos(const std::string& aTexto);

int ComandoMenu(nFramework::TnFrmMenuBrivo& aMenu, const nFramework::TnPerModulos& aModulos, std::ostream& aOut);
int ComandoParams(const std::string& aAcao, const nFramework::TnPerModulos& aModulos, std::ostream& aOut,
                  std::ostream& aErr);
// aAtribuicoes: "alias=value"; after Executar, the grid options of aGrade in their order, then
// the panel actions aAcoesPainel in order, then the grids --mostrar asks for. A run whose
// messages hold an error applies neither; a refused edit stops before any action (exit 1).
int ComandoRun(const std::string& aAcao, const std::vector<std::string>& aAtribuicoes,
               const std::vector<std::string>& aAcoesPainel, const TOpcoesGrade& aGrade,
               const nFramework::TnPerModulos& aModulos, std::ostream& aOut, std::ostream& aErr);
int ComandoClasses(std::ostream& aOut);
int ComandoSobre(std::ostream& aOut);
