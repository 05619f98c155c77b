// TUlmoEsfingeOnlineLoteEnviado: the receipt row (TCEESFINGEONLINEENVIO) of a package the
// court finished, and its status change when the package is cancelled.
#pragma once
#include <memory>

#include "UlmoEsfingeOnlineInterfaces_U.h"

namespace nUlmoEsfingeOnline {

class TUlmoEsfingeOnlineLoteEnviado : public ILoteEnviado {
 public:
  static std::shared_ptr<ILoteEnviado> New();
  ILoteEnviado& Config(const TRecConfig& AConfig) override;
  ILoteEnviado& Dados(const TRecDadosEnvio& ADados) override;
  // Each runs in a transaction of its own (a savepoint inside the caller's); Gravar stores the
  // receipt under the next free sequence when another run took the one in the data meanwhile.
  // REQUIRES: a connection is open.
  ILoteEnviado& Gravar() override;
  ILoteEnviado& AtualizarStatus() override;

 private:
  TRecConfig FConfig;
  TRecDadosEnvio FDados;
};

}  // namespace nUlmoEsfingeOnline
