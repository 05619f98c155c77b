// TUlmoArqRSGerarArquivoMovimento: writes "MOVIMENT.txt", one MOV line per debit or credit side
// of each entry of the period whose account is mapped to the court system's chart.
#pragma once
#include <memory>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "ClientDataSet_U.h"
#include "Currency_U.h"
#include "CursorSQL_U.h"
#include "MapClass_U.h"
#include "UlmoArqRSGerador_U.h"

namespace nUlmoRS {

namespace nMovimento {
ULMO_MAP_CLASS(TMapHistorico, nFramework::TField, CODIGOHISTCTB, DESCRHISTCTB);
}  // namespace nMovimento

// One mapping of a company account onto the court chart.
struct TVigenciaRS {
  nFramework::TDateTime Inicio = 0, Fim = 0;
  bool TemFim = false;
  bool TemConta = false;     // the court chart has the account
  std::string ClassifConta;  // the court account's classification
};

// One side of an entry, as it is written.
struct TLinhaMovimentoRS {
  int64_t ChaveLcto = 0;
  int64_t ContaCtb = 0;
  const std::string* ClassifConta = nullptr;  // the court account's classification
  bool TemLote = false;
  int64_t Lote = 0;
  std::string LoteTexto;
  nFramework::TDateTime Data = 0;
  const char* Origem = "";  // "D" or "C"
  std::string OrigemLcto;
  nFramework::Currency Valor;
  bool TemHistorico = false;
  int64_t Historico = 0;
  std::string ComplHist;
  std::string HistoricoTexto;    // the history as written, description and complement
  bool ZeramentoOrigem = false;  // the entry's origin is one of the zeroing ones
};

class TUlmoArqRSGerarArquivoMovimento : public TUlmoArqRSGerador {
  N_CLASSE(TUlmoArqRSGerarArquivoMovimento)
 public:
  // The entry origins that mark zeroing entries, as typed ("'ZZ'", "'10','20'").
  std::string FOrigem;


 protected:
  std::string NomeArquivo() const override { return "MOVIMENT.txt"; }
  void CarregarDados() override;
  const nFramework::TLeiaute& LayoutCabecalho() const override { return LayoutCabecalhoMovimento(); }
  void EscreverDetalhes(nFramework::TEscritorLeiaute& escritor) override;
  void LiberarDados() override;

 private:
  // The mapping of the account valid on the day; nullptr when none maps it to a court account.
  const TVigenciaRS* Mapeamento(int64_t conta, nFramework::TDateTime data) const;
  // Renders one side of an entry.
  void Escrever(nFramework::TEscritorLeiaute& escritor, const TLinhaMovimentoRS& linha);
  // TIPOGRUPOn of the company's chart, read once; raises naming the line's account when unset.
  int TipoGrupo(int grupo, const std::string& conta);

  // The period's entries, read as they are written: the year's entries are never all in memory.
  std::unique_ptr<nFramework::TCursorSQL> curSaldo;
  // Each account's mappings, latest start first; found by account code in FListaPorCodigo, or
  // in FListaFora for codes outside that table.
  std::vector<std::vector<TVigenciaRS>> FMapeamentos;
  std::vector<int64_t> FListaPorCodigo;  // -1: no mapping
  std::unordered_map<int64_t, size_t> FListaFora;
  std::vector<bool> FTipoGrupoLido;
  std::vector<int> FTipoGrupoValor;
  std::string FRotulo;  // the account of the line being written, for messages
  std::unordered_map<int64_t, std::string> FHistoricos;  // code -> description
  std::vector<std::string> FItensOrigem;                     // the items of FOrigem
};

}  // namespace nUlmoRS
