// TirnDPAgendaTributaria: the tax calendar of the product family, opened from the court
// module's toolbar. The calendar itself lives in another module; this process reports what it
// would open.
#pragma once
#include "PowerParam_U.h"

namespace nHost {

class TirnDPAgendaTributaria : public nFramework::TnDMPowerParam {
  N_CLASSE(TirnDPAgendaTributaria)
 public:
  TirnDPAgendaTributaria();
  // REQUIRES: a connection is open when a company is given.
  void Executar() override;
};

}  // namespace nHost
