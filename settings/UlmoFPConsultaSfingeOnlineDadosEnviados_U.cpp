#include "UlmoFPConsultaSfingeOnlineDadosEnviados_U.h"

#include "ClassRegistry_U.h"

using namespace nFramework;

namespace nUlmoSettings {

void TUlmoFPConsultaSfingeOnlineDadosEnviados::Configurar() { TnFrmPowerParamcxGridCloseTab::Configurar(); }

static TnRegistroUnidade gRegistro{nClasse<TUlmoFPConsultaSfingeOnlineDadosEnviados>()};

}  // namespace nUlmoSettings
