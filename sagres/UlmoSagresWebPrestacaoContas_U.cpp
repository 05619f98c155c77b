#include "UlmoSagresWebPrestacaoContas_U.h"

#include "TextUtils_U.h"
#include "UlmoSagresWebConfiguracao_U.h"

namespace nUlmoSagres {

using namespace nFramework;

void TUlmoSagresWebPrestacaoContas::Executar() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  std::string empresa = ValorParaSQL(cfg.CodigoEmpresa, TFieldType::ftInteger);
  std::string nome = VarToStr(PegarValorCampo("ESTAB", "NOMEESTAB", "CODIGOEMPRESA = " + empresa + " and CODIGOESTAB = 1"));
  std::string contador = VarToStr(PegarValorCampo(
      "CONTADOR C", "C.INSCRFEDERAL",
      "C.CODIGOCONT = (select CFG.CONTADORRESPCNPJ from CFGEMPRESAGEM CFG where CFG.CODIGOEMPRESA = " + empresa + ")"));
  std::string gestor = VarToStr(PegarValorCampo(
      "SOCIO S join CFGEMPRESAGEM CFG on CFG.CODIGOEMPRESA = S.CODIGOEMPRESA and CFG.SOCIORESPCNPJ = S.CODIGOSOCIO",
      "S.INSCRFEDERAL", "S.CODIGOEMPRESA = " + empresa));

  TXMLPrestacaoContas_t pc = ListaExecucaoEmpresas.PrestacaoContas();
  pc.SetCodigoUnidGestora(cfg.UnidadeGestora);
  pc.SetNomeUnidGestora(nome);
  pc.SetCpfContador(LimparStrToInscricaoFederal(contador, ""));
  pc.SetCpfGestor(LimparStrToInscricaoFederal(gestor, ""));
  pc.SetAnoReferencia(YearOf(cfg.DataInicial));
  pc.SetMesReferencia(MonthOf(cfg.DataInicial));
  pc.SetVersaoXml(0);
  pc.SetDiaInicPresContas(DayOf(cfg.DataInicial));
  pc.SetDiaFinaPresContas(DayOf(cfg.DataFinal));
}

}  // namespace nUlmoSagres
