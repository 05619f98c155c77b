// TColetaSC: gathers one company's TCE-SC data for a period and hands the rows to the writer
// as they are produced: the entries straight from one scan the database sorts by date and
// entry (each side numbered as written, debit first), then the movement and application totals
// (a few per account and month) and the chart. Nothing it holds grows with the entries.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ClientDataSet_U.h"
#include "DateUtils_U.h"
#include "EscritorSC_U.h"
#include "Progresso_U.h"
#include "Variant_U.h"

namespace nUlmoSC {

// The run as the panel asked for it, checked once.
struct TRequisicaoSC {
  int Empresa = 0;
  int Sistema = 0;
  nFramework::TDateTime Inicio = 0, Fim = 0;
  bool IncluirImplantacao = false;
  bool GerarAplicacao = false;
  std::string OrigemAplicado, OrigemResgatado, OrigemRendimento;  // trimmed
  bool SomenteIncluidasAlteradas = false;
  std::string PastaTexto;  // as typed, for the messages
  std::filesystem::path Pasta;
};

class TColetaSC {
 public:
  // Reads the chart, the mappings and the origins. REQUIRES: a read-only transaction is open
  // for the collector's lifetime.
  explicit TColetaSC(const TRequisicaoSC& requisicao);
  ~TColetaSC();

  bool SemContas() const;
  bool SemOrigens() const;
  // Checks every mapping's group nature, then writes all four files' rows. Raises, naming the
  // account, when the company's settings lack what an account needs.
  void Coletar(TEscritorSC& escritor, nFramework::TnFraProgresso* progresso);
  // The origins met in entries and not related to a court movement type, in order met.
  const std::vector<std::string>& OrigensNaoRelacionadas() const { return FOrigensNaoRelacionadas; }

 private:
  struct TDados;
  void Implantacao(TEscritorSC& escritor);
  void Lancamentos(TEscritorSC& escritor, nFramework::TnFraProgresso* progresso);
  void Contas(TEscritorSC& escritor);

  const TRequisicaoSC& FRequisicao;
  std::unique_ptr<TDados> FDados;
  std::vector<std::string> FOrigensNaoRelacionadas;
};

}  // namespace nUlmoSC
