#include "UlmoSagresWebRegraCalculoCtb_U.h"

#include <cmath>

#include <memory>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "UlmoSagresWebConfiguracao_U.h"

namespace nUlmoSagres {

using namespace nFramework;

namespace {
std::unique_ptr<TUlmoSagresWebRegraCalculoCtb> gInstancia;
}

TUlmoSagresWebRegraCalculoCtb& TUlmoSagresWebRegraCalculoCtb::Instance() {
  if (!gInstancia) gInstancia.reset(new TUlmoSagresWebRegraCalculoCtb());
  return *gInstancia;
}

void TUlmoSagresWebRegraCalculoCtb::Destruir() { gInstancia.reset(); }

TUlmoSagresWebRegraCalculoCtb::TUlmoSagresWebRegraCalculoCtb() {
  FRegra.RegistrarCTB();
  TnDataModule* dm = CriarDMNovo("TKaloDPGerarSaldoCtbIndividual", nullptr);
  FDMSaldo = dynamic_cast<TnDMPowerParam*>(dm);
  if (!FDMSaldo) {
    DestruirDMDefinitivo(dm);
    throw EInternalError("TKaloDPGerarSaldoCtbIndividual não é um processo com parâmetros");
  }
}

TUlmoSagresWebRegraCalculoCtb::~TUlmoSagresWebRegraCalculoCtb() {
  FRegra.SetcdsPlano(nullptr);
  if (FDMSaldo) DestruirDMDefinitivo(FDMSaldo);
}

void TUlmoSagresWebRegraCalculoCtb::ExecutarGerarSaldoCtb() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  TnDMPowerParam& p = *FDMSaldo;
  // Until the new balances stand, nothing may read last month's.
  FSaldos = nullptr;
  FRegra.SetcdsPlano(nullptr);
  p.LimparParamsINI();
  p.Param("pTipoSaldoCtb").SetValue("0");
  p.Param("pCodigoEmpresa").SetValue(std::to_string(cfg.CodigoEmpresa));
  p.Param("pDataInicial").SetValue(DateToStr(cfg.DataInicial));
  p.Param("pDataFinal").SetValue(DateToStr(cfg.DataFinal));
  p.Param("pTipoAgruparData").SetValue("0");
  p.Param("pConsiderarFiltroLctoCtb").SetValue("1");
  p.Param("pFiltroOrigemLcto").SetValue("ZZ");
  p.Param("pListarContasMovimentoZero").SetValue("0");
  p.Executar();
  FSaldos = &p.ComponentByName<TClientDataSet>("nClientDataSet");
  FSaldos->SetIndexFieldNames("CONTACTB");
  FRegra.SetcdsPlano(FSaldos);
}

bool TUlmoSagresWebRegraCalculoCtb::EncontrarContaCTB(double AConta) {
  if (!FSaldos) throw EInternalError("Saldos contábeis consultados antes de serem apurados");
  return FSaldos->FindKey({TVariant(AConta)});
}

double TUlmoSagresWebRegraCalculoCtb::GetSaldoContaCTB(int ATipo) const {
  static const char* const kColunas[] = {"SALDOANTERIOR", "DEBITO", "CREDITO", "MOVIMENTO", "SALDOATUAL"};
  if (ATipo < 0 || ATipo > 4 || !FSaldos) return 0;
  return FSaldos->FieldByName(kColunas[ATipo]).AsFloat();
}

TUlmoSagresWebRegraCalculoCtb::TnResultadoRegra TUlmoSagresWebRegraCalculoCtb::ValorDaRegra(
    const std::string& AFormula, double& AValor) const {
  AValor = 0;
  if (Trim(AFormula).empty()) return TnResultadoRegra::SemRegra;
  if (!ValidarFormulaCTB(AFormula)) return TnResultadoRegra::Invalida;
  double x = std::fabs(ExecutarFormulaCTB(AFormula));
  if (!std::isfinite(x)) return TnResultadoRegra::NaoNumerica;
  if (x == 0) return TnResultadoRegra::Zero;
  AValor = x;
  return TnResultadoRegra::Valor;
}

}  // namespace nUlmoSagres
