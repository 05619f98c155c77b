// The start-up both front ends share: the options that settle the configuration and the
// user's selection before anything opens (--db, --config, --sistema, --empresa, --modules,
// --homologacao, --debug, with ULMO_DB, ULMO_CONFIG and ./ulmo.toml), the exit codes, and the
// program's main, which hands the framework the title, the splash and the main menu.
#pragma once
#include <iosfwd>
#include <string>

#include "Exceptions_U.h"

namespace CLI {
class App;
}

// Exit codes.
enum TCodigoSaida : int {
  csSucesso = 0,
  csFalha = 1,      // the run failed: an exception, or an error or stop in its messages
  csParametro = 2,  // bad usage or a parameter error
};

// A mistake in the command itself (unknown action, unknown parameter, bad option): exit code 2.
class EUso : public nFramework::Exception {
 public:
  using Exception::Exception;
};

struct TOpcoesInicio {
  std::string Banco;
  std::string Configuracao;
  std::string Modulos;
  std::string Sistema;
  std::string Empresa;
  bool TemModulos = false;  // --modules given, even empty
  bool Homologacao = false;
  bool Debug = false;
};

// Declares the shared options on aApp, read into aOpcoes.
void AdicionarOpcoesInicio(CLI::App& aApp, TOpcoesInicio& aOpcoes);
// After parsing: loads the configuration file, applies the database, the homologation flag,
// the module set and the selection. A code that selects nothing is said on aAvisos. Raises
// EUso on a bad option, the configuration's own error on a bad file.
void AplicarOpcoesInicio(TOpcoesInicio& aOpcoes, std::ostream& aAvisos);

// Selects a court system and a company as --sistema and --empresa do: the selection keys and
// the external variables. An empty text leaves that one as it is; a code that is not a whole
// number of at least 1 clears it and is said on aAvisos.
void SelecionarSistemaEmpresa(const std::string& aSistema, const std::string& aEmpresa, std::ostream& aAvisos);

// The program: runs the framework's project with the module's title, splash and main menu
// under whichever front end the executable installed. Returns the exit code.
int ExecutarUlmo(int argc, char** argv);
