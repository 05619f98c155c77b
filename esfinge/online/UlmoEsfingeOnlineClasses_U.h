// The JSON objects of the e-Sfinge online API (a package, the finish and the cancel request)
// and their serialisation: compact, keys in declaration order, every key always present.
#pragma once
#include <string>
#include <vector>

namespace nUlmoEsfingeOnline {

struct TContaContabil {
  int FAnoCriacao = 0;
  int FCodigoAgencia = 0;
  int FCodigoBanco = 0;
  int FCodigoConta = 0;
  std::string FCodigoContaContabil;
  std::string FCodigoContaSintetica;
  std::string FDescricaoConta;
  std::string FIndicativoContaAnalitica;
  std::string FNomeConta;
  int FNumeroNivel = 0;
  int FTipoConta = 0;
  int FTipoNaturezaSaldo = 0;
};

struct TLancamentoContabil {
  int FAnoCriacao = 0;
  std::string FCodigoContaContabil;
  std::string FDataLancamento;
  std::string FHistoricoLancamento;
  int FNumeroSequencial = 0;
  std::string FNumeroSlip;
  int FTipoLancamento = 0;
  int FTipoMovimentoContabil = 0;
  std::string FValorLancamento;
};

struct TEnvioLote {
  int FAnoMes = 0;
  std::vector<TContaContabil> FContasContabeis;
  std::vector<TLancamentoContabil> FLancamentosContabeis;
};

struct TFinalizaEnvioJson {
  std::string FChavePacote;
  int FQuantidadeContaContabil = 0;
  int FQuantidadeLancamentoContabil = 0;
};

struct TCancelarEnvioJson {
  std::string FCodigoRegistro;
  std::string FJustificativa;
};

std::string ObjectToJsonString(const TContaContabil& AObj);
std::string ObjectToJsonString(const TLancamentoContabil& AObj);
std::string ObjectToJsonString(const TEnvioLote& AObj);
std::string ObjectToJsonString(const TFinalizaEnvioJson& AObj);
std::string ObjectToJsonString(const TCancelarEnvioJson& AObj);

}  // namespace nUlmoEsfingeOnline
