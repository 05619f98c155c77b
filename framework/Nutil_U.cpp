#include "Nutil_U.h"

#include "Configuracao_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

TNotifyEvent FDepoisConverter;

namespace {
int gExecucoesJobCadastro = 0;
}

bool EhHttpExe() { return nConfig().HttpExe; }
bool EhUsoInterno() { return nConfig().UsoInterno; }
bool EhCloud() { return nConfig().Cloud; }

void TnInserirOuAtualizarJobCadastroPadrao::Executar(void* aSender) {
  ++gExecucoesJobCadastro;
  LogDebug("Jobs de cadastro padrão conferidos após a conversão do banco", aSender);
}

int TnInserirOuAtualizarJobCadastroPadrao::Execucoes() { return gExecucoesJobCadastro; }

}  // namespace nFramework
