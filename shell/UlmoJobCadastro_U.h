// TUlmoJobCadastro: the module's step after the framework converts a database; installed in
// FDepoisConverter by this unit's initialization. Never instantiated.
#pragma once

class TUlmoJobCadastro {
 public:
  TUlmoJobCadastro() = delete;
  static void DepoisConverter(void* aSender);
};
