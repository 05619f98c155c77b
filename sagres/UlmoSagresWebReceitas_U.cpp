#include "UlmoSagresWebReceitas_U.h"

#include "CursorSQL_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebReceitas::Executar(const TMesSagres& mes, TEscritorSagres& escritor) {
  TCursorSQL c(Conexao(),
               "select TIPORECEITA, REGRACALCULOCTB from TCESESAGRESRECEITA where CODIGOEMPRESA = :pCodigoEmpresa "
               "order by TIPORECEITA",
               {mes.Requisicao.Empresa});
  while (c.Proximo()) {
    Currency x;
    if (!ValorDaRegra(mes, "Receita " + TEscritorSagres::Preencher(c.Texto(0), 2), std::string(c.Texto(1)), x)) continue;
    escritor.Receita(static_cast<int>(c.Inteiro(0)), x);
  }
}

}  // namespace nUlmoSagres
