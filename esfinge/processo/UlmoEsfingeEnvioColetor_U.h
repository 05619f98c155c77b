// TColetorEnvioEsfinge: runs the queries of one e-Sfinge send and writes its court accounts and
// entries, typed, into the two grids, numbering the entries once per run.
#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>

#include "ClientDataSet_U.h"
#include "SQL_U.h"
#include "UlmoEsfingeEnvioLinhas_U.h"
#include "UlmoEsfingeEnvioPedido_U.h"

namespace nUlmoEsfinge {

class TColetorEnvioEsfinge {
 public:
  // The grids come from NovaGradeContas / NovaGradeLctos and must outlive the collector.
  TColetorEnvioEsfinge(const TPedidoEnvioEsfinge& pedido, nFramework::TClientDataSet& contas,
                       nFramework::TClientDataSet& lctos)
      : P(pedido), FContas(contas), FLctos(lctos) {}

  // Replaces the rows of both grids.
  // REQUIRES: a connection is open, inside a read transaction.
  void Executar();

 private:
  void PreencherContas();
  void PreencherLctos();
  void PreencherLctosAnoAnterior();
  void PreencherLctosImplantacao();
  TLinhaContaEsfinge LerConta(nFramework::TClientDataSet& c, const std::string& superior) const;
  std::string SuperiorDe(const std::string& classifLimpa) const;

  const TPedidoEnvioEsfinge& P;
  nFramework::TClientDataSet& FContas;
  nFramework::TClientDataSet& FLctos;
  int FNumeroSeq = 0;
  std::map<std::string, std::string> FContaSinteticaTce;  // cleaned classification -> classification
};

}  // namespace nUlmoEsfinge
