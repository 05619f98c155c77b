// TUlmoArqRSGerarArquivo: one TCE-RS run: streams "MOVIMENT.txt" and then "BAL_VER.txt" into
// one file set and commits both only when both are complete, so a failure writes neither. A
// "Não" to replacing "BAL_VER.txt" still commits the movement file, which is complete by then.
#pragma once
#include <memory>
#include <string>

#include "ConjuntoArquivos_U.h"
#include "DateUtils_U.h"
#include "UlmoArqRSGerarArquivoBalancete_U.h"
#include "UlmoArqRSGerarArquivoMovimento_U.h"

namespace nUlmoRS {

class TUlmoArqRSGerarArquivo {
 public:
  // REQUIRES: the fields are set; a connection is open.
  void GerarArquivos();

  int FCodigoEmpresa = 0;
  int FCodigoSistema = 0;
  nFramework::TDateTime FDataInicial = 0;
  nFramework::TDateTime FDataFinal = 0;
  std::string FPastaDestino;
  std::string FOrigem;

 private:
  void GerarArquivoMovimento(nFramework::TConjuntoArquivos& conjunto);
  void GerarArquivoBalancete(nFramework::TConjuntoArquivos& conjunto);

  std::unique_ptr<TUlmoArqRSGerarArquivoMovimento> FUlmoArquivoMovimento;
  std::unique_ptr<TUlmoArqRSGerarArquivoBalancete> FUlmoArquivoBalanco;
};

}  // namespace nUlmoRS
