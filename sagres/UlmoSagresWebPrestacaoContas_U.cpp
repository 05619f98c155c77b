#include "UlmoSagresWebPrestacaoContas_U.h"

#include "TextUtils_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebPrestacaoContas::Executar(const TMesSagres& mes, TEscritorSagres& escritor) {
  std::string empresa = ValorParaSQL(mes.Requisicao.Empresa, TFieldType::ftInteger);
  TPrestacaoContasSagres p;
  p.CodigoUnidGestora = mes.Requisicao.UnidadeGestora;
  p.NomeUnidGestora =
      VarToStr(PegarValorCampo("ESTAB", "NOMEESTAB", "CODIGOEMPRESA = " + empresa + " and CODIGOESTAB = 1"));
  p.CpfContador = LimparStrToInscricaoFederal(
      VarToStr(PegarValorCampo("CONTADOR C", "C.INSCRFEDERAL",
                               "C.CODIGOCONT = (select CFG.CONTADORRESPCNPJ from CFGEMPRESAGEM CFG where "
                               "CFG.CODIGOEMPRESA = " + empresa + ")")),
      "");
  p.CpfGestor = LimparStrToInscricaoFederal(
      VarToStr(PegarValorCampo(
          "SOCIO S join CFGEMPRESAGEM CFG on CFG.CODIGOEMPRESA = S.CODIGOEMPRESA and CFG.SOCIORESPCNPJ = S.CODIGOSOCIO",
          "S.INSCRFEDERAL", "S.CODIGOEMPRESA = " + empresa)),
      "");
  p.Inicio = mes.Inicio;
  p.Fim = mes.Fim;
  escritor.PrestacaoContas(p);
}

}  // namespace nUlmoSagres
