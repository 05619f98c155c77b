// The JSON objects of the e-Sfinge online API (a package, the finish and the cancel request)
// and their serialisation: compact, keys in declaration order, every key always present.
// Accounts and entries are written as text straight into a buffer, so that a package of a
// month streams row by row; the bytes are those of nlohmann's compact dump.
#pragma once
#include <string>
#include <string_view>
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

// Appends the object's JSON text to the buffer.
void EscreverJson(std::string& saida, const TContaContabil& AObj);
void EscreverJson(std::string& saida, const TLancamentoContabil& AObj);
// A JSON string literal, quotes included; invalid UTF-8 bytes are replaced, not refused.
void EscreverTextoJson(std::string& saida, std::string_view texto);

// A month's package written as its entries come: the head with the accounts (their JSON text,
// written once per run), then each entry, then Fechar. REQUIRES: Fechar once, last.
class TEscritorLote {
 public:
  TEscritorLote(std::string& saida, int anoMes, std::string_view contasJson, int quantidadeContas);
  void Lancamento(const TLancamentoContabil& l);
  void Fechar();
  int QuantidadeContas() const { return FContas; }
  int QuantidadeLancamentos() const { return FLancamentos; }

 private:
  std::string& FSaida;
  int FContas = 0;
  int FLancamentos = 0;
};

std::string ObjectToJsonString(const TContaContabil& AObj);
std::string ObjectToJsonString(const TLancamentoContabil& AObj);
std::string ObjectToJsonString(const TEnvioLote& AObj);
std::string ObjectToJsonString(const TFinalizaEnvioJson& AObj);
std::string ObjectToJsonString(const TCancelarEnvioJson& AObj);

}  // namespace nUlmoEsfingeOnline
