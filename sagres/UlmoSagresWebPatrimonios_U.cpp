#include "UlmoSagresWebPatrimonios_U.h"

#include "CursorSQL_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebPatrimonios::Executar(const TMesSagres& mes, TEscritorSagres& escritor) {
  TCursorSQL c(Conexao(),
               "select TIPOPATRIMONIO, TIPOLANCAMENTO, REGRACALCULOCTB from TCESESAGRESPATRIMONIO where CODIGOEMPRESA = "
               ":pCODIGOEMPRESA order by TIPOPATRIMONIO, TIPOLANCAMENTO",
               {mes.Requisicao.Empresa});
  while (c.Proximo()) {
    std::string tipo(c.Texto(0)), lancamento(c.Texto(1));
    Currency x;
    if (!ValorDaRegra(mes, "Patrimônio " + tipo + ", lançamento " + lancamento, std::string(c.Texto(2)), x)) continue;
    escritor.Patrimonio(tipo, lancamento, x);
  }
}

}  // namespace nUlmoSagres
