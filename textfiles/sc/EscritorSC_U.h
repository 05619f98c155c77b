// TEscritorSC: renders the TCE-SC rows into the four files' sinks through the court's layout
// tables. Lines go to the sinks as they come; the caller commits the sinks (as one set).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "AtomicFile_U.h"
#include "Currency_U.h"
#include "DateUtils_U.h"
#include "Leiaute_U.h"

namespace nUlmoSC {

struct TLancamentoSC {
  int Competencia = 0;          // yyyymm
  std::string_view Sequencial;  // digits
  int TipoLancamento = 0;       // 1 credit, 2 debit
  std::string_view TipoMovimento;
  int AnoConta = 0;
  std::string_view ClassificacaoTCE;
  nFramework::TDateTime Data = 0;
  nFramework::Currency Valor;
  std::string_view Historico;
  std::string_view Conta;  // the company account, for messages
};

struct TMovimentoSC {
  int AnoConta = 0;
  int64_t Conta = 0;
  int TipoMovimento = 0;
  int Competencia = 0;
  std::string ClassificacaoTCE;
  nFramework::Currency Debito, Credito;
};

struct TAplicacaoSC {
  int AnoConta = 0;
  int64_t Conta = 0;
  int Competencia = 0;
  std::string ClassificacaoTCE;
  nFramework::Currency Aplicado, Resgatado, Rendimento;
};

struct TContaSC {
  std::string Conta;  // the company account, for messages
  int AnoConta = 0;
  std::string_view ClassificacaoTCE, TipoContaTCE, Descricao, DescricaoDetalhada;
  bool Analitica = false;
  int Niveis = 0;
  std::string_view Natureza, ContaTCE, ContaSintetica, Banco, Agencia, NumeroConta;
};

class TEscritorSC {
 public:
  // REQUIRES: the sinks outlive the writer.
  TEscritorSC(nFramework::IOutputSink& lancamentos, nFramework::IOutputSink& movimentos,
              nFramework::IOutputSink& aplicacoes, nFramework::IOutputSink& contas);

  void Lancamento(const TLancamentoSC& l);
  void Movimento(const TMovimentoSC& m);
  void Aplicacao(const TAplicacaoSC& a);
  void Conta(const TContaSC& c);
  // Writes what the four files still hold in memory into their sinks.
  void Concluir();

 private:
  nFramework::TEscritorLeiaute FLancamentos, FMovimentos, FAplicacoes, FContas;
  std::string FConta;
};

}  // namespace nUlmoSC
