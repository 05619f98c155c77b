// The rows of the e-Sfinge send grids, typed: a court account and an accounting entry (or an
// opening of the year) as the collector gathers them and the grids show them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "Currency_U.h"
#include "DateUtils_U.h"

namespace nUlmoEsfinge {

struct TLinhaContaEsfinge {
  std::optional<nFramework::TDateTime> DataInicioPlanoTce, DataFimPlanoTce;
  std::optional<int64_t> ContaTce, ContaCtb;
  std::string CodigoConta;  // the court classification
  int TipoConta = 0;        // 1 synthetic, 2 analytic
  std::optional<int> TipoContaContabil;
  std::string DescrTipoContaContabil, NomeConta, DescricaoConta, Classificacao, ClassifDescrContaCtb;
  std::optional<int> TipoNaturezaSaldo;
  std::string CodigoContaSintetica, CodigoContaSinteticaSuperiorTce;
  int64_t CodigoBanco = 0, CodigoAgenciaBancaria = 0, CodigoContaBancaria = 0;  // 0: none
  std::string NomeBanco, NomeAgencia;
};

struct TLinhaLctoEsfinge {
  std::string NumeroSlip;  // yyyymm
  int NumeroSequencial = 0;
  std::optional<int64_t> ChaveLctoCtb;  // none for openings
  std::optional<int64_t> ContaTce, ContaCtb;
  std::string ClassifDescrContaContabil;
  int TipoLancamento = 0;  // 2 debit, 1 credit
  std::optional<int> TipoMovimentoContabil;
  std::string DescrTipoMovimentoContabil;
  int AnoCriacaoConta = 0;
  std::string CodigoContaContabil;
  std::optional<nFramework::TDateTime> DataInicioPlanoTce, DataFimPlanoTce, DataLancamento;
  std::string ClassifDescrContaCtb;
  nFramework::Currency ValorLancamento;
  std::optional<std::string> HistoricoLancamento;  // openings implanted carry none
};

}  // namespace nUlmoEsfinge
