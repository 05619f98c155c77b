// The framework's run-time switches (web executable, internal use, cloud) and the hook it
// runs after converting a database to the current schema.
#pragma once
#include "Action_U.h"

namespace nFramework {

bool EhHttpExe();    // running as the web executable: no dialogs
bool EhUsoInterno();  // the maker's internal use: test endpoints, no overwrite questions
bool EhCloud();

// Run by the schema runner after it has converted a database; the sender is the connection.
extern TNotifyEvent FDepoisConverter;

// The framework's step after a conversion: makes sure the default registration jobs exist.
class TnInserirOuAtualizarJobCadastroPadrao {
 public:
  static void Executar(void* aSender);
  static int Execucoes();  // how many times it ran in this process
};

}  // namespace nFramework
