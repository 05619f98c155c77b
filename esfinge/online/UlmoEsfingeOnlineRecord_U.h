// The e-Sfinge online run configuration (copied into every service) and one package receipt.
#pragma once
#include <string>

#include "DateUtils_U.h"

namespace nUlmoEsfingeOnline {

enum class TnStatusEnvio { tsCancelado = 0, tsFinalizado = 1 };

struct TRecConfig {
  int CodigoSistemaTce = 0;
  int CodigoEmpresa = 0;
  nFramework::TDateTime CompetenciaInicial = 0;
  nFramework::TDateTime CompetenciaFinal = 0;
  std::string CodigoAcesso;
  std::string CodigoUnidadeGestora;
  std::string DescricaoEmpresaTI;
  std::string DescritivoSoftware;
  std::string Senha;
};

// A row of TCEESFINGEONLINEENVIO.
struct TRecDadosEnvio {
  int CodigoEmpresa = 0;
  nFramework::TDateTime Competencia = 0;  // the first day of the package's month
  int Seq = 0;
  nFramework::TDateTime DataEnvio = 0;
  TnStatusEnvio Status = TnStatusEnvio::tsFinalizado;
  std::string ChavePacote;
  std::string CodigoRegistroInformacao;
};

}  // namespace nUlmoEsfingeOnline
