// TRequisicaoSagres: the run as the panel asked for it, checked once; TMesSagres: the month the
// record collectors are gathering, with the balances its rules read.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "DateUtils_U.h"

namespace nUlmoSagres {

class TUlmoSagresWebRegraCalculoCtb;

struct TRequisicaoSagres {
  int Sistema = 0;
  nFramework::TDateTime Inicio = 0, Fim = 0;
  int Empresa = 0;
  std::string UnidadeGestora;  // trimmed, one line
  int64_t ContaAlmoxarifado = 0;
  std::string PastaTexto;  // as typed, trimmed
  std::filesystem::path Pasta;
};

struct TMesSagres {
  const TRequisicaoSagres& Requisicao;
  nFramework::TDateTime Inicio = 0, Fim = 0;  // within the period
  // REQUIRES: holds this month's balances (ExecutarGerarSaldoCtb ran for it).
  TUlmoSagresWebRegraCalculoCtb& Regras;
};

// The heading of a month in the run's messages, "Competência: yyyy/mm"; also the key of its
// node, under which the collectors' warnings hang.
std::string TextoCompetencia(nFramework::TDateTime mes);

}  // namespace nUlmoSagres
