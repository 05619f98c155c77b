// TUlmoFPConsultaSfingeOnlineDadosEnviados: the grid form of the consultation of e-Sfinge
// online packages sent; the base form as it is.
#pragma once
#include "FrmPowerParamcxGridCloseTab_U.h"

namespace nUlmoSettings {

class TUlmoFPConsultaSfingeOnlineDadosEnviados : public nFramework::TnFrmPowerParamcxGridCloseTab {
  N_CLASSE(TUlmoFPConsultaSfingeOnlineDadosEnviados)
 public:
  void Configurar() override;
};

}  // namespace nUlmoSettings
