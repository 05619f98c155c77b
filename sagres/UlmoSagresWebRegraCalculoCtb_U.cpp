#include "UlmoSagresWebRegraCalculoCtb_U.h"

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

TUlmoSagresWebRegraCalculoCtb::TUlmoSagresWebRegraCalculoCtb() { FRegra.RegistrarCTB(); }

TUlmoSagresWebRegraCalculoCtb::~TUlmoSagresWebRegraCalculoCtb() { FRegra.SetcdsPlano(nullptr); }

void TUlmoSagresWebRegraCalculoCtb::ExecutarGerarSaldoCtb() {
  const TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  // Until the new balances stand, nothing may read last month's.
  FSaldos = nullptr;
  FRegra.SetcdsPlano(nullptr);
  nUlmoSaldoCtb::TPedidoSaldoCtb pedido;
  pedido.CodigoEmpresa = cfg.CodigoEmpresa;
  pedido.DataInicial = cfg.DataInicial;
  pedido.DataFinal = cfg.DataFinal;
  // The closing entries (origin ZZ) would zero the result accounts the rules read.
  pedido.ConsiderarFiltroLctoCtb = true;
  pedido.FiltroOrigemLcto = {"ZZ"};
  FSaldo.Executar(pedido);
  FSaldos = &FSaldo.Dados();
  FSaldos->SetIndexFieldNames("CONTACTB");
  FRegra.SetcdsPlano(FSaldos);
}

bool TUlmoSagresWebRegraCalculoCtb::EncontrarContaCTB(int64_t AConta) {
  if (!FSaldos) throw EInternalError("Saldos contábeis consultados antes de serem apurados");
  return FSaldos->FindKey({TVariant(AConta)});
}

Currency TUlmoSagresWebRegraCalculoCtb::GetSaldoContaCTB(int ATipo) const {
  static const char* const kColunas[] = {"SALDOANTERIOR", "DEBITO", "CREDITO", "MOVIMENTO", "SALDOATUAL"};
  if (ATipo < 0 || ATipo > 4 || !FSaldos) return Currency();
  return FSaldos->FieldByName(kColunas[ATipo]).AsCurrency();
}

TUlmoSagresWebRegraCalculoCtb::TnResultadoRegra TUlmoSagresWebRegraCalculoCtb::ValorDaRegra(
    const std::string& AFormula, Currency& AValor) const {
  AValor = Currency();
  if (Trim(AFormula).empty()) return TnResultadoRegra::SemRegra;
  if (!ValidarFormulaCTB(AFormula)) return TnResultadoRegra::Invalida;
  Currency x;
  try {
    x = ExecutarFormulaCTB(AFormula);
  } catch (const EFormulaSemValor&) {
    return TnResultadoRegra::NaoNumerica;
  }
  if (x < Currency()) x = -x;
  if (x == Currency()) return TnResultadoRegra::Zero;
  AValor = x;
  return TnResultadoRegra::Valor;
}

}  // namespace nUlmoSagres
