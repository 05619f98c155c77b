#include "UlmoSagresWebDespesas_U.h"

#include "CursorSQL_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebDespesas::Executar(const TMesSagres& mes, TEscritorSagres& escritor) {
  TCursorSQL c(Conexao(),
               "select TIPODESPESA, REGRACALCULOCTB from TCESESAGRESDESPESA where CODIGOEMPRESA = :pCodigoEmpresa "
               "order by TIPODESPESA",
               {mes.Requisicao.Empresa});
  while (c.Proximo()) {
    Currency x;
    if (!ValorDaRegra(mes, "Despesa " + TEscritorSagres::Preencher(c.Texto(0), 2), std::string(c.Texto(1)), x)) continue;
    escritor.Despesa(static_cast<int>(c.Inteiro(0)), x);
  }
}

}  // namespace nUlmoSagres
