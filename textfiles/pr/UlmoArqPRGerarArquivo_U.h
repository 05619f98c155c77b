// TUlmoArqPRGerarArquivo: one TCE-PR run. Checks the folder, builds the run's shared data,
// creates the generators the options ask for in their fixed order, writes each file (asking
// before overwriting one), packs the files written into one ZIP, and commits the files and the
// ZIP as one set, reporting each through the message controller. A failed file is reported and
// the other generators still run, but then no file of the run is written: a package that lacks
// a file must not look complete. A value wider than its field stops the whole run.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Classes_U.h"
#include "ConjuntoArquivos_U.h"
#include "DateUtils_U.h"
#include "Progresso_U.h"
#include "UlmoArqPRControleDados_U.h"
#include "UlmoArqPRGerarBase_U.h"

namespace nUlmoPR {

// What one run is asked for, read once from the panel.
struct TRequisicaoPR {
  int CodigoEmpresa = 0;
  nFramework::TDateTime DataInicial = 0;
  nFramework::TDateTime DataFinal = 0;
  int IdPessoa = 0;
  int IdPessoaEntidade = 0;
  bool GerarPessoa = false;
  bool GerarPlanoContas = false;
  bool GerarSaldoCtb = false;
  bool GerarMovimentoCtb = false;
  bool BalanceteEstatal = false;
  bool Bens = false;
  bool CompactarArq = false;
  int TipoMovimentoCtb = 0;
  int PlanoEstatal = 0;
  std::string PastaDestino;
};

class TUlmoArqPRGerarArquivo {
 public:
  TRequisicaoPR Requisicao;
  nFramework::TnFraProgresso* Progresso = nullptr;  // not owned

  // The whole run; reports through ControleMensagem(). The company's missing court system,
  // a value that does not fit its field (ENaoCabe) and other failures outside a file leave as
  // exceptions, with no file of the run written.
  // REQUIRES: a connection is open (the process holds a read-only transaction).
  void GerarArquivos();

  // The files written by the last run, bare names in the order written.
  const nFramework::TStringList& ArquivosGerados() const { return FArquivosGerados; }
  // The folder + IdPessoa-MMYYYY.zip, month and year of the start date.
  std::string NomeArquivoCompactado() const;

 private:
  bool ValidarPastaDestino();
  void CriarControleDados();
  void CriarGeradores();
  // Runs the generators into the set, packs the ZIP and commits the set, or drops it on any failure.
  void ExecutarGeradores(nFramework::TConjuntoArquivos& AConjunto);
  // Whether the file may be written: asks before replacing one, unless told to replace all.
  bool PodeGravarArquivo(const std::string& ACaminho);

  bool FSubstituirTodos = false;
  std::unique_ptr<TUlmoArqPRControleDados> FControleDados;
  std::vector<std::unique_ptr<TUlmoArqPRGerarBase>> FLstGeradores;
  nFramework::TStringList FArquivosGerados;
};

}  // namespace nUlmoPR
