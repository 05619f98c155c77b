#include "UlmoEsfingeOnlineClasses_U.h"

#include <nlohmann/json.hpp>

namespace nUlmoEsfingeOnline {

using TJson = nlohmann::ordered_json;

namespace {

TJson ParaJson(const TContaContabil& c) {
  TJson j;
  j["anoCriacao"] = c.FAnoCriacao;
  j["codigoAgencia"] = c.FCodigoAgencia;
  j["codigoBanco"] = c.FCodigoBanco;
  j["codigoConta"] = c.FCodigoConta;
  j["codigoContaContabil"] = c.FCodigoContaContabil;
  j["codigoContaSintetica"] = c.FCodigoContaSintetica;
  j["descricaoConta"] = c.FDescricaoConta;
  j["indicativoContaAnalitica"] = c.FIndicativoContaAnalitica;
  j["nomeConta"] = c.FNomeConta;
  j["numeroNivel"] = c.FNumeroNivel;
  j["tipoConta"] = c.FTipoConta;
  j["tipoNaturezaSaldo"] = c.FTipoNaturezaSaldo;
  return j;
}

TJson ParaJson(const TLancamentoContabil& l) {
  TJson j;
  j["anoCriacao"] = l.FAnoCriacao;
  j["codigoContaContabil"] = l.FCodigoContaContabil;
  j["dataLancamento"] = l.FDataLancamento;
  j["historicoLancamento"] = l.FHistoricoLancamento;
  j["numeroSequencial"] = l.FNumeroSequencial;
  j["numeroSlip"] = l.FNumeroSlip;
  j["tipoLancamento"] = l.FTipoLancamento;
  j["tipoMovimentoContabil"] = l.FTipoMovimentoContabil;
  j["valorLancamento"] = l.FValorLancamento;
  return j;
}

// Texts that are not valid UTF-8 are sent with the invalid bytes replaced, not refused.
std::string Serializar(const TJson& j) { return j.dump(-1, ' ', false, TJson::error_handler_t::replace); }

}  // namespace

std::string ObjectToJsonString(const TContaContabil& AObj) { return Serializar(ParaJson(AObj)); }
std::string ObjectToJsonString(const TLancamentoContabil& AObj) { return Serializar(ParaJson(AObj)); }

std::string ObjectToJsonString(const TEnvioLote& AObj) {
  TJson j;
  j["anoMes"] = AObj.FAnoMes;
  j["contasContabeis"] = TJson::array();
  for (const auto& c : AObj.FContasContabeis) j["contasContabeis"].push_back(ParaJson(c));
  j["lancamentosContabeis"] = TJson::array();
  for (const auto& l : AObj.FLancamentosContabeis) j["lancamentosContabeis"].push_back(ParaJson(l));
  return Serializar(j);
}

std::string ObjectToJsonString(const TFinalizaEnvioJson& AObj) {
  TJson j;
  j["chavePacote"] = AObj.FChavePacote;
  j["quantidadeContaContabil"] = AObj.FQuantidadeContaContabil;
  j["quantidadeLancamentoContabil"] = AObj.FQuantidadeLancamentoContabil;
  return Serializar(j);
}

std::string ObjectToJsonString(const TCancelarEnvioJson& AObj) {
  TJson j;
  j["codigoRegistro"] = AObj.FCodigoRegistro;
  j["justificativa"] = AObj.FJustificativa;
  return Serializar(j);
}

}  // namespace nUlmoEsfingeOnline
