#include "UlmoSagresWebGerador_U.h"

#include <algorithm>

#include "UlmoSagresWebAlmoxarifados_U.h"
#include "UlmoSagresWebContasBancarias_U.h"
#include "UlmoSagresWebDespesas_U.h"
#include "UlmoSagresWebPagamentos_U.h"
#include "UlmoSagresWebPatrimonios_U.h"
#include "UlmoSagresWebPrestacaoContas_U.h"
#include "UlmoSagresWebReceitas_U.h"
#include "UlmoSagresWebRetencoes_U.h"

namespace nUlmoSagres {

TUlmoSagresWebGerador::TUlmoSagresWebGerador() {
  Add(std::make_unique<TUlmoSagresWebPrestacaoContas>());
  Add(std::make_unique<TUlmoSagresWebPagamentos>());
  Add(std::make_unique<TUlmoSagresWebRetencoes>());
  Add(std::make_unique<TUlmoSagresWebReceitas>());
  Add(std::make_unique<TUlmoSagresWebDespesas>());
  Add(std::make_unique<TUlmoSagresWebContasBancarias>());
  Add(std::make_unique<TUlmoSagresWebPatrimonios>());
  Add(std::make_unique<TUlmoSagresWebAlmoxarifados>());
}

void TUlmoSagresWebGerador::Add(std::unique_ptr<TUlmoSagresWebRegistro> ARegistro) {
  FLstRegistros.push_back(std::move(ARegistro));
}

void TUlmoSagresWebGerador::Remove(TUlmoSagresWebRegistro* ARegistro) {
  std::erase_if(FLstRegistros, [&](const auto& r) { return r.get() == ARegistro; });
}

void TUlmoSagresWebGerador::Executar(const TMesSagres& mes, TEscritorSagres& escritor) {
  for (auto& r : FLstRegistros) r->Executar(mes, escritor);
}

void TUlmoSagresWebGerador::GerarDocumento(const TMesSagres& mes, nFramework::IOutputSink& saida) {
  TEscritorSagres escritor(saida);
  Executar(mes, escritor);
  escritor.Concluir();
}

}  // namespace nUlmoSagres
