// TUlmoArqPRGerarArquivo: one TCE-PR run. Checks the folder, builds the run's shared data,
// creates the generators the options ask for in their fixed order, writes each file (asking
// before overwriting one), reports each through the message controller, and packs the files
// written into one ZIP. A failed file is reported and skipped; the others still run. An amount
// wider than its field stops the whole run: its files replace the old ones only together,
// once every generator is done.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Classes_U.h"
#include "DateUtils_U.h"
#include "Progresso_U.h"
#include "UlmoArqPRControleDados_U.h"
#include "UlmoArqPRGerarBase_U.h"

namespace nUlmoPR {

class TUlmoArqPRGerarArquivo {
 public:
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
  nFramework::TnFraProgresso* Progresso = nullptr;  // not owned

  // The whole run; reports through ControleMensagem(). The company's missing court system,
  // an amount that does not fit (EValorNaoCabePR) and other failures outside a file leave as
  // exceptions, with no file of the run written.
  // REQUIRES: a connection is open (the process holds a read-only transaction).
  void GerarArquivos();

  // The files written by the last run, bare names in the order written.
  const nFramework::TStringList& ArquivosGerados() const { return FArquivosGerados; }
  // PastaDestino + IdPessoa-MMYYYY.zip, month and year of DataInicial.
  std::string NomeArquivoCompactado() const;

 private:
  bool ValidarPastaDestino();
  void CriarControleDados();
  void CriarGeradores();
  void ExecutarGeradores();
  // Whether the file may be written: asks before replacing one, unless told to replace all.
  bool PodeGravarArquivo(const std::string& ACaminho);
  void CompactarArquivos();

  bool FSubstituirTodos = false;
  std::unique_ptr<TUlmoArqPRControleDados> FControleDados;
  std::vector<std::unique_ptr<TUlmoArqPRGerarBase>> FLstGeradores;
  nFramework::TStringList FArquivosGerados;
};

}  // namespace nUlmoPR
