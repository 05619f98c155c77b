// The accounting module's balance process reached through one typed call: a request struct in,
// typed rows out (money as Currency, codes as integers). The process is created by name from
// the class registry, since no module library links the host; TSaldoCtbTipado owns the
// instance and frees it however the caller leaves.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ClassRegistry_U.h"
#include "ClientDataSet_U.h"
#include "Currency_U.h"
#include "DateUtils_U.h"
#include "FormatUtils_U.h"
#include "Exceptions_U.h"
#include "PowerParam_U.h"

namespace nUlmoSaldoCtb {

inline constexpr std::string_view kClasseSaldoCtb = "TKaloDPGerarSaldoCtbIndividual";

enum class TAgruparData { Periodo = 0, Mes = 2 };

// What the balance is asked for. Every field is sent on every run, so two callers asking the
// same thing get the same rows whatever ran before them.
struct TPedidoSaldoCtb {
  int CodigoEmpresa = 0;
  nFramework::TDateTime DataInicial = 0;
  nFramework::TDateTime DataFinal = 0;
  std::string CodigoEstab;                // interval text ("1,3-5"); empty: every establishment
  std::string ContaCtb;                   // interval text ("10,20-30"); empty: every account
  std::vector<std::string> ClassifConta;  // classification prefixes; empty: every account
  bool RelacionarEstab = false;           // one row per establishment
  TAgruparData AgruparData = TAgruparData::Periodo;
  bool TotalizarSintetica = true;  // synthetic accounts carry their descendants' totals
  bool ConsiderarFiltroLctoCtb = false;
  std::vector<std::string> FiltroOrigemLcto;  // origins left out when ConsiderarFiltroLctoCtb
  bool ListarContasMovimentoZero = false;     // also rows whose values are all zero
};

// One balance row, in the nature of the account's group (TipoContaCalc, 1 or -1).
struct TLinhaSaldoCtb {
  int64_t ContaCtb = 0;
  std::string ClassifConta;
  int TipoConta = 0;  // 1 synthetic, 2 analytic
  std::string DescrConta;
  int CodigoEstab = 0;                   // 0 when not split by establishment
  nFramework::TDateTime DataSaldo = 0;  // first day of the period, or of the month
  nFramework::Currency SaldoAnterior, Debito, Credito, Movimento, SaldoAtual;
  bool SemSaldoMov = false;  // no opening balance and no movement
  int TipoContaCalc = 1;
};

namespace detalhe {

inline std::string Juntar(const std::vector<std::string>& itens, char separador) {
  std::string t;
  for (const auto& i : itens) {
    if (!t.empty()) t += separador;
    t += i;
  }
  return t;
}

inline const char* SimNao(bool v) { return v ? "1" : "0"; }

}  // namespace detalhe

// Owns one instance of the balance process. Not copyable; movable.
class TSaldoCtbTipado {
 public:
  // Raises "Classe não registrada: ..." when the host is not loaded.
  TSaldoCtbTipado() {
    FDM = nFramework::nComoClasse<nFramework::TnDMPowerParam>(nFramework::nCriarInstancia(kClasseSaldoCtb));
    if (!FDM) throw nFramework::EInternalError(std::string(kClasseSaldoCtb) + " não é um processo com parâmetros");
  }
  TSaldoCtbTipado(TSaldoCtbTipado&& o) noexcept
      : FDM(std::move(o.FDM)), FDados(std::exchange(o.FDados, nullptr)) {}
  TSaldoCtbTipado& operator=(TSaldoCtbTipado&& o) noexcept {
    FDM = std::move(o.FDM);
    FDados = std::exchange(o.FDados, nullptr);
    return *this;
  }

  // Runs the balance; the rows of the previous run are gone. A refused parameter raises the
  // process's EnParam (its alias and message) and leaves no rows.
  void Executar(const TPedidoSaldoCtb& pedido) {
    using nFramework::DateToStr;
    FDados = nullptr;
    nFramework::TnDMPowerParam& p = *FDM;
    p.LimparParamsINI();
    p.Param("pCodigoEmpresa").SetValue(std::to_string(pedido.CodigoEmpresa));
    p.Param("pCodigoEstab").SetValue(pedido.CodigoEstab);
    p.Param("pContaCtb").SetValue(pedido.ContaCtb);
    p.Param("pClassifConta").SetValue(detalhe::Juntar(pedido.ClassifConta, ';'));
    p.Param("pDataInicial").SetValue(DateToStr(pedido.DataInicial));
    p.Param("pDataFinal").SetValue(DateToStr(pedido.DataFinal));
    p.Param("pCodigoMoeda").SetValue("0");
    p.Param("pRelacionarEstab").SetValue(detalhe::SimNao(pedido.RelacionarEstab));
    p.Param("pTipoAgruparData").SetValue(std::to_string(static_cast<int>(pedido.AgruparData)));
    p.Param("pTotalizarSintetica").SetValue(detalhe::SimNao(pedido.TotalizarSintetica));
    p.Param("pConsiderarFiltroLctoCtb").SetValue(detalhe::SimNao(pedido.ConsiderarFiltroLctoCtb));
    p.Param("pFiltroOrigemLcto").SetValue(detalhe::Juntar(pedido.FiltroOrigemLcto, ','));
    p.Param("pListarContasMovimentoZero").SetValue(detalhe::SimNao(pedido.ListarContasMovimentoZero));
    p.Param("pTipoSaldoCtb").SetValue("0");
    p.Executar();
    FDados = &p.ComponentByName<nFramework::TClientDataSet>("nClientDataSet");
  }

  // Visits the rows of the last run in the process's order (classification, account type,
  // account, establishment, month) without copying them all.
  // REQUIRES: Executar has run.
  template <class F>
  void ParaCada(F&& visitar) const {
    nFramework::TClientDataSet& d = Dados();
    const nFramework::TField& conta = d.FieldByName("CONTACTB");
    const nFramework::TField& classif = d.FieldByName("CLASSIFCONTA");
    const nFramework::TField& tipo = d.FieldByName("TIPOCONTA");
    const nFramework::TField& descr = d.FieldByName("DESCRCONTA");
    const nFramework::TField& estab = d.FieldByName("CODIGOESTAB");
    const nFramework::TField& data = d.FieldByName("DATASALDO");
    const nFramework::TField& anterior = d.FieldByName("SALDOANTERIOR");
    const nFramework::TField& debito = d.FieldByName("DEBITO");
    const nFramework::TField& credito = d.FieldByName("CREDITO");
    const nFramework::TField& movimento = d.FieldByName("MOVIMENTO");
    const nFramework::TField& atual = d.FieldByName("SALDOATUAL");
    const nFramework::TField& semSaldo = d.FieldByName("SEMSALDOMOV");
    const nFramework::TField& natureza = d.FieldByName("TIPOCONTACALC");
    TLinhaSaldoCtb l;
    for (d.First(); !d.Eof(); d.Next()) {
      l.ContaCtb = conta.AsLargeInt();
      l.ClassifConta = classif.AsString();
      l.TipoConta = tipo.AsInteger();
      l.DescrConta = descr.AsString();
      l.CodigoEstab = estab.AsInteger();
      l.DataSaldo = data.AsDateTime();
      l.SaldoAnterior = anterior.AsCurrency();
      l.Debito = debito.AsCurrency();
      l.Credito = credito.AsCurrency();
      l.Movimento = movimento.AsCurrency();
      l.SaldoAtual = atual.AsCurrency();
      l.SemSaldoMov = semSaldo.AsCurrency() != nFramework::Currency();
      l.TipoContaCalc = natureza.AsInteger();
      visitar(std::as_const(l));
    }
  }

  // The rows of the last run.
  // REQUIRES: Executar has run.
  std::vector<TLinhaSaldoCtb> Linhas() const {
    std::vector<TLinhaSaldoCtb> linhas;
    linhas.reserve(static_cast<size_t>(Dados().RecordCount()));
    ParaCada([&](const TLinhaSaldoCtb& l) { linhas.push_back(l); });
    return linhas;
  }

  // The process's own dataset, for callers that index or search it (the formula engine);
  // valid until the next Executar or the end of this object.
  // REQUIRES: Executar has run.
  nFramework::TClientDataSet& Dados() const {
    if (!FDados) throw nFramework::EInternalError("Saldos contábeis lidos antes de serem apurados");
    return *FDados;
  }
  bool Apurado() const { return FDados != nullptr; }

 private:
  nFramework::TnDMPtr<nFramework::TnDMPowerParam> FDM;
  nFramework::TClientDataSet* FDados = nullptr;
};

// One run, its rows.
inline std::vector<TLinhaSaldoCtb> GerarSaldoCtbTipado(const TPedidoSaldoCtb& pedido) {
  TSaldoCtbTipado saldo;
  saldo.Executar(pedido);
  return saldo.Linhas();
}

}  // namespace nUlmoSaldoCtb
