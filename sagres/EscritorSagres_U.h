// TEscritorSagres: renders one month's SAGRES Web document "ExecucaoEmpresas" (UTF-8, two-blank
// indent, as the court reads it) into an output sink, record by record as the collector hands
// them over. Memory holds one block, never the document. The sink is not committed here.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "AtomicFile_U.h"
#include "Currency_U.h"
#include "DateUtils_U.h"

namespace nUlmoSagres {

// The court's host in the document's namespace URIs.
inline constexpr const char* kHostSagres = "www.tce.se.gov.br";

struct TPrestacaoContasSagres {
  std::string CodigoUnidGestora, NomeUnidGestora;
  std::string CpfContador, CpfGestor;  // digits
  nFramework::TDateTime Inicio = 0, Fim = 0;
};

struct TPagamentoSagres {
  std::string Numero;  // the bill's digits, as many as it has
  nFramework::TDateTime Data = 0;
  nFramework::Currency Valor;
  int Natureza = 0;
  std::string CpfCnpjCredor;  // digits
  std::string NomeCredor;
  nFramework::TDateTime EmissaoNota = 0;
  int64_t NumeroNota = 0;
  std::string SerieNota;
};

struct TRetencaoSagres {
  int64_t NumeroNota = 0;
  nFramework::TDateTime Data = 0;
  std::string Tipo;
  nFramework::Currency Valor;
};

struct TContaBancariaSagres {
  int64_t Banco = 0, Agencia = 0;
  std::string Conta;
  // The account's own balances; the document gives the bank's side.
  nFramework::Currency Anterior, Debito, Credito, Atual;
};

struct TAlmoxarifadoSagres {
  nFramework::Currency Anterior, Debito, Credito, Atual;
};

class TEscritorSagres {
 public:
  // Writes the declaration and opens the root. REQUIRES: the sink outlives the writer.
  explicit TEscritorSagres(nFramework::IOutputSink& saida);
  TEscritorSagres(const TEscritorSagres&) = delete;
  TEscritorSagres& operator=(const TEscritorSagres&) = delete;

  // The records, in the document's order: the accounts rendered once and first, then the
  // payments, withholdings, revenues, expenses, bank accounts, assets and the stores at most
  // once. A record out of that order is our bug (EInternalError).
  void PrestacaoContas(const TPrestacaoContasSagres& p);
  void Pagamento(const TPagamentoSagres& p);
  void Retencao(const TRetencaoSagres& r);
  void Receita(int tipo, nFramework::Currency valor);
  void Despesa(int tipo, nFramework::Currency valor);
  void ContaBancaria(const TContaBancariaSagres& c);
  void Patrimonio(std::string_view tipo, std::string_view lancamento, nFramework::Currency valor);
  void Almoxarifado(const TAlmoxarifadoSagres& a);
  // Closes the root and writes what the block still holds into the sink.
  void Concluir();

  uint64_t Bytes() const { return FBytes; }

  // Value rules of the document.
  static std::string Moeda(nFramework::Currency valor);     // "0.00", always a point
  static std::string Data(nFramework::TDateTime data);      // yyyy-mm-dd
  static std::string Preencher(std::string_view s, int n);  // zeros on the left, never cut
  static std::string Cortar(std::string_view s, size_t n);  // the first n characters
  // Element text as the document escapes it: &, <, > and control characters as references;
  // the text ends at a NUL.
  static void Escapar(std::string& saida, std::string_view texto);

 private:
  enum TOrdem { oPrestacao, oPagamento, oRetencao, oReceita, oDespesa, oConta, oPatrimonio, oAlmoxarifado };
  void Registro(TOrdem ordem, const char* nome);
  void Abrir(int nivel, std::string_view nome);
  void Fechar(int nivel, std::string_view nome);
  void Elemento(int nivel, std::string_view nome, std::string_view texto);
  void Elemento(int nivel, std::string_view nome, int64_t valor);
  void Descarregar();

  nFramework::IOutputSink& FSaida;
  std::string FBloco;
  const char* FAberto = nullptr;  // the record element still open
  int FOrdem = -1;
  bool FConcluido = false;
  uint64_t FBytes = 0;
};

}  // namespace nUlmoSagres
