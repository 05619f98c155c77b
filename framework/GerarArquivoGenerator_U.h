// TnDPGerarArquivoGenerator: the base of a file generator that a process runs for one file.
// Executar builds the file; GetFileNameArquivo names it (without folder) for messages.
#pragma once
#include <string>

#include "PowerParam_U.h"

namespace nFramework {

class TnDPGerarArquivoGenerator : public TnDMPowerParam {
  N_CLASSE(TnDPGerarArquivoGenerator)
 public:
  ~TnDPGerarArquivoGenerator() override;
  virtual std::string GetFileNameArquivo() const = 0;
};

}  // namespace nFramework
