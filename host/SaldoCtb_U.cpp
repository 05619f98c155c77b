#include "SaldoCtb_U.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "Classes_U.h"
#include "Conexao_U.h"
#include "Currency_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"

namespace nHost {

using namespace nFramework;

namespace {

const std::vector<TParamSaldoCtbDef> kParams = {
    {"pCodigoEmpresa", ""},
    {"pCodigoEstab", ""},
    {"pContaCtb", ""},
    {"pClassifConta", ""},
    {"pDataInicial", ""},
    {"pDataFinal", ""},
    {"pCodigoMoeda", "0"},
    {"pRelacionarEstab", "0"},
    {"pTipoAgruparData", "0"},
    {"pTotalizarSintetica", "1"},
    {"pConsiderarFiltroLctoCtb", "0"},
    {"pFiltroOrigemLcto", ""},
    {"pListarContasMovimentoZero", "0"},
    {"pTipoSaldoCtb", "0"},
};

std::vector<std::string> Itens(std::string_view texto, std::string_view separadores, std::string_view aparar) {
  std::vector<std::string> itens;
  size_t inicio = 0;
  while (inicio <= texto.size()) {
    size_t fim = texto.find_first_of(separadores, inicio);
    if (fim == std::string_view::npos) fim = texto.size();
    std::string_view item = texto.substr(inicio, fim - inicio);
    while (!item.empty() && aparar.find(item.front()) != std::string_view::npos) item.remove_prefix(1);
    while (!item.empty() && aparar.find(item.back()) != std::string_view::npos) item.remove_suffix(1);
    if (!item.empty()) itens.emplace_back(item);
    inicio = fim + 1;
  }
  return itens;
}

struct TConta {
  int64_t Codigo = 0;
  std::string Classif;
  int Tipo = 0;
  std::string Descr;
};

struct TMov {
  Currency Debito, Credito;
};

// What one account holds at one establishment: the opening (debits minus credits) and the
// debits and credits of each period.
struct TAcumulado {
  int Conta = 0;
  int Estab = 0;
  Currency Abertura;
  std::vector<TMov> Mov;
};

class TCalculo {
 public:
  explicit TCalculo(const TParamSaldoCtb& p) : P(p) {}

  void Executar(TClientDataSet& destino) {
    ChecarEmpresa();
    CarregarPeriodos();
    CarregarPlano();
    CarregarNaturezas();
    CarregarAbertura();
    CarregarMovimento();
    if (P.TotalizarSintetica) TotalizarSinteticas();
    if (P.ListarContasMovimentoZero) CompletarContasSemSaldo();
    MontarResultado(destino);
  }

 private:
  std::string CondEmpresa() const { return "CODIGOEMPRESA = " + ValorParaSQL(P.CodigoEmpresa, TFieldType::ftSmallint); }

  void ChecarEmpresa() {
    if (!PegarTemRegistro("EMPRESA", "CODIGOEMPRESA", CondEmpresa()))
      throw EParamSaldoCtb("pCodigoEmpresa", "Código da empresa inválido!");
  }

  void CarregarPeriodos() {
    if (P.TipoAgruparData != 2) {
      FDataSaldo.push_back(P.DataInicial);
      return;
    }
    int ano, mes, dia;
    DecodeDate(P.DataInicial, ano, mes, dia);
    FMesBase = ano * 12 + mes - 1;
    for (TDateTime d = StartOfTheMonth(P.DataInicial); d <= P.DataFinal; d = IncMonth(d)) FDataSaldo.push_back(d);
  }

  // The key the period query gives (yyyymm, or 0 for the whole period) as a period index.
  int Periodo(int64_t chave) const {
    if (P.TipoAgruparData != 2) return 0;
    int ano = static_cast<int>(chave / 100), mes = static_cast<int>(chave % 100);
    int i = ano * 12 + mes - 1 - FMesBase;
    if (i < 0 || i >= static_cast<int>(FDataSaldo.size())) throw EInternalError("mês fora do período no saldo contábil");
    return i;
  }

  void CarregarPlano() {
    std::string sql = "select CONTACTB, CLASSIFCONTA, TIPOCONTA, DESCRCONTA from PLANOESPEC where CODIGOEMPRESA = :pCodigoEmpresa";
    std::string filtroConta = FilterInterval("CONTACTB", P.ContaCtb);
    if (!filtroConta.empty()) sql += " and " + filtroConta;
    sql += " order by CLASSIFCONTA, TIPOCONTA, CONTACTB";
    auto plano = ExecutarSQL(sql, {P.CodigoEmpresa});
    TField& codigo = plano->FieldByName("CONTACTB");
    TField& classif = plano->FieldByName("CLASSIFCONTA");
    TField& tipo = plano->FieldByName("TIPOCONTA");
    TField& descr = plano->FieldByName("DESCRCONTA");
    for (plano->First(); !plano->Eof(); plano->Next()) {
      std::string c = classif.AsString();
      if (!P.ClassifConta.empty() &&
          std::none_of(P.ClassifConta.begin(), P.ClassifConta.end(), [&](const std::string& pre) { return c.rfind(pre, 0) == 0; }))
        continue;
      FIndiceConta[codigo.AsLargeInt()] = static_cast<int>(FContas.size());
      FMaiorCodigo = std::max(FMaiorCodigo, codigo.AsLargeInt());
      FContas.push_back({codigo.AsLargeInt(), std::move(c), tipo.AsInteger(), descr.AsString()});
    }
    FSlotsConta.resize(FContas.size());
    // Charts number their accounts densely: a table by code spares a hash per side of an entry.
    if (FMaiorCodigo < 4 * static_cast<int64_t>(FContas.size()) + 1024)
      FSlotSemEstab.assign(static_cast<size_t>(FMaiorCodigo) + 1, kSlotNaoVisto);
  }

  void CarregarNaturezas() {
    TVariant v = PegarValorCampo("CFGPLANOESPEC",
                                 "NATURGRUPO1,NATURGRUPO2,NATURGRUPO3,NATURGRUPO4,NATURGRUPO5,NATURGRUPO6,"
                                 "NATURGRUPO7,NATURGRUPO8,NATURGRUPO9",
                                 CondEmpresa());
    for (size_t i = 0; i < 9; ++i) FNatureza[i] = v.IsArray() ? VarToIntDef(v[i], 0) : 0;
  }

  int Natureza(const TConta& conta) const {
    char c = conta.Classif.empty() ? '1' : conta.Classif.front();
    int grupo = (c >= '0' && c <= '9') ? c - '0' : 1;
    if (grupo == 0)
      throw Exception("A conta " + std::to_string(conta.Codigo) + " tem a classificação " + conta.Classif +
                      ", fora dos grupos de 1 a 9 do plano!");
    int n = FNatureza[static_cast<size_t>(grupo - 1)];
    if (n != 1 && n != -1)
      throw Exception("Natureza do grupo " + std::to_string(grupo) + " não configurada no plano da empresa " +
                      std::to_string(P.CodigoEmpresa) + "!");
    return n;
  }

  static uint64_t Chave(int conta, int estab) {
    return (static_cast<uint64_t>(conta) << 32) | static_cast<uint32_t>(estab);
  }

  TAcumulado& Slot(int conta, int estab) {
    auto [it, novo] = FSlotIndice.try_emplace(Chave(conta, estab), FSlots.size());
    if (novo) {
      FSlots.push_back({conta, estab, Currency(), std::vector<TMov>(FDataSaldo.size())});
      FSlotsConta[static_cast<size_t>(conta)].push_back(it->second);
    }
    return FSlots[it->second];
  }

  // The account of a row of the queries, or -1 when it is not among the accounts asked for.
  int Conta(int64_t codigo) const {
    auto it = FIndiceConta.find(codigo);
    return it == FIndiceConta.end() ? -1 : it->second;
  }

  // An amount as the decimal it was written as, in cents as its NUMERIC(15,2) column holds it
  // (PostgreSQL rounds on insert, SQLite keeps a REAL as given), so every sum is exact and the
  // rows' cents add up: opening + debits - credits = closing.
  static Currency Valor(IStatement& s, int coluna) {
    switch (s.ColumnKind(coluna)) {
      case TColumnKind::Integer: return Currency::FromInt(s.ColumnInt64(coluna));
      case TColumnKind::Float: {
        // A double within a millionth of a cent of a whole cent is that cent, whatever its last
        // bits: the common case, without the decimal text.
        const double v = s.ColumnDouble(coluna), centavos = v * 100;
        if (std::fabs(v) < 1e12) {
          const double inteiro = std::nearbyint(centavos);
          if (std::fabs(centavos - inteiro) < 1e-6) return Currency::FromRaw(static_cast<int64_t>(inteiro) * (Currency::Scale / 100));
        }
        return Currency::FromDouble(v).Round(2);
      }
      case TColumnKind::Text: return Currency::FromString(std::string(s.ColumnText(coluna))).Round(2);
      default: return Currency();
    }
  }

  // The period index of a date column ("yyyy-mm-dd..."): always 0 for the whole period.
  int PeriodoDaData(IStatement& s, int coluna) const {
    if (P.TipoAgruparData != 2) return 0;
    std::string_view t = s.ColumnText(coluna);
    auto digito = [&](size_t i) {
      if (i >= t.size() || t[i] < '0' || t[i] > '9') throw EConvertError("\"" + std::string(t) + "\" não é uma data válida");
      return t[i] - '0';
    };
    int ano = digito(0) * 1000 + digito(1) * 100 + digito(2) * 10 + digito(3);
    int mes = digito(5) * 10 + digito(6);
    return Periodo(ano * 100 + mes);
  }

  void Percorrer(const std::string& sql, const std::function<void(IStatement&)>& linha) {
    TnDMConexao::TPrepared& p = Conexao().Preparar(sql);
    for (size_t i = 0; i < p.Nomes.size(); ++i) {
      const std::string& nome = p.Nomes[i];
      TVariant v = SameText(nome, "pCodigoEmpresa") ? TVariant(P.CodigoEmpresa)
                   : SameText(nome, "pDataInicial") ? TVariant::FromDate(P.DataInicial)
                   : SameText(nome, "pDataFinal")   ? TVariant::FromDate(P.DataFinal)
                                                    : throw EInternalError("parâmetro " + nome + " no saldo contábil");
      p.Stmt->Bind(static_cast<int>(i) + 1, v);
    }
    try {
      while (p.Stmt->Step()) linha(*p.Stmt);
    } catch (...) {
      p.Stmt->Reset();
      throw;
    }
    p.Stmt->Reset();
  }

  // The slot of an account code at an establishment, or -1 when the account is not among those
  // asked for: one look-up per side of an entry, an index into a table for the usual codes.
  int64_t SlotDoCodigo(IStatement& s, int colunaConta, int colunaEstab) {
    if (s.ColumnKind(colunaConta) == TColumnKind::Null) return -1;
    const int64_t codigo = s.ColumnInt64(colunaConta);
    const int64_t estab = P.RelacionarEstab ? s.ColumnInt64(colunaEstab) : 0;
    if (estab == 0 && codigo >= 0 && codigo < static_cast<int64_t>(FSlotSemEstab.size())) {
      int64_t& slot = FSlotSemEstab[static_cast<size_t>(codigo)];
      if (slot == kSlotNaoVisto) slot = ResolverSlot(codigo, 0);
      return slot;
    }
    auto [it, novo] = FSlotDoCodigo.try_emplace(TChaveCodigo{codigo, estab}, -1);
    if (novo) it->second = ResolverSlot(codigo, estab);
    return it->second;
  }

  int64_t ResolverSlot(int64_t codigo, int64_t estab) {
    int conta = Conta(codigo);
    if (conta < 0) return -1;
    Slot(conta, static_cast<int>(estab));
    return static_cast<int64_t>(FSlotIndice.at(Chave(conta, static_cast<int>(estab))));
  }

  // The period's entries (or those before it), each read once: its debit account, credit
  // account, establishment, date and amount; the database only filters, the sums are ours.
  std::string SQLLancamentos(const std::string& condicao) const {
    std::string estab = P.RelacionarEstab ? "coalesce(L.CODIGOESTAB, 0)" : "0";
    std::string sql = "select L.CONTACTBDEB, L.CONTACTBCRED, " + estab +
                      " ESTAB, L.DATALCTOCTB, L.VALORLCTOCTB from LCTOCTB L where L.CODIGOEMPRESA = :pCodigoEmpresa and " +
                      condicao;
    std::string filtroEstab = FilterInterval("L.CODIGOESTAB", P.CodigoEstab);
    if (!filtroEstab.empty()) sql += " and " + filtroEstab;
    return sql;
  }

  // Implanted balances, one row each: account, establishment, date, nature (1 debit), amount.
  std::string SQLImplantacao(const std::string& condicao) const {
    std::string estab = P.RelacionarEstab ? "I.CODIGOESTAB" : "0";
    std::string sql = "select I.CONTACTB, " + estab +
                      " ESTAB, I.DATASALDO, I.NATUREZASALDO, I.VALORSALDO from IMPLSALDOCTB I"
                      " where I.CODIGOEMPRESA = :pCodigoEmpresa and " + condicao;
    std::string filtroEstab = FilterInterval("I.CODIGOESTAB", P.CodigoEstab);
    if (!filtroEstab.empty()) sql += " and " + filtroEstab;
    return sql;
  }

  // Implanted balances up to the start and every entry before it, whatever their origin: the
  // closing of an earlier year must carry into the next.
  void CarregarAbertura() {
    Percorrer(SQLLancamentos("L.DATALCTOCTB < :pDataInicial"), [this](IStatement& s) {
      const int64_t deb = SlotDoCodigo(s, 0, 2), cred = SlotDoCodigo(s, 1, 2);
      if (deb < 0 && cred < 0) return;
      const Currency valor = Valor(s, 4);
      if (deb >= 0) FSlots[static_cast<size_t>(deb)].Abertura += valor;
      if (cred >= 0) FSlots[static_cast<size_t>(cred)].Abertura += -valor;
    });
    Percorrer(SQLImplantacao("I.DATASALDO <= :pDataInicial"), [this](IStatement& s) {
      const int64_t slot = SlotDoCodigo(s, 0, 1);
      if (slot < 0) return;
      const Currency valor = Valor(s, 4);
      FSlots[static_cast<size_t>(slot)].Abertura += s.ColumnInt64(3) == 1 ? valor : -valor;
    });
  }

  void CarregarMovimento() {
    std::string condicao = "L.DATALCTOCTB between :pDataInicial and :pDataFinal";
    if (P.ConsiderarFiltroLctoCtb && !P.FiltroOrigemLcto.empty()) {
      std::string lista;
      for (const auto& o : P.FiltroOrigemLcto) lista += (lista.empty() ? "" : ", ") + ValorParaSQL(o, TFieldType::ftString);
      condicao += " and (L.CODIGOORIGLCTOCTB is null or L.CODIGOORIGLCTOCTB not in (" + lista + "))";
    }
    Percorrer(SQLLancamentos(condicao), [this](IStatement& s) {
      const int64_t deb = SlotDoCodigo(s, 0, 2), cred = SlotDoCodigo(s, 1, 2);
      if (deb < 0 && cred < 0) return;
      const size_t periodo = static_cast<size_t>(PeriodoDaData(s, 3));
      const Currency valor = Valor(s, 4);
      if (deb >= 0) FSlots[static_cast<size_t>(deb)].Mov[periodo].Debito += valor;
      if (cred >= 0) FSlots[static_cast<size_t>(cred)].Mov[periodo].Credito += valor;
    });
    Percorrer(SQLImplantacao("I.DATASALDO > :pDataInicial and I.DATASALDO <= :pDataFinal"), [this](IStatement& s) {
      const int64_t slot = SlotDoCodigo(s, 0, 1);
      if (slot < 0) return;
      TMov& m = FSlots[static_cast<size_t>(slot)].Mov[static_cast<size_t>(PeriodoDaData(s, 2))];
      (s.ColumnInt64(3) == 1 ? m.Debito : m.Credito) += Valor(s, 4);
    });
  }

  // Every synthetic account above an account: for an analytic one, also the synthetic account
  // of the same classification, which the charts use as its direct parent.
  std::vector<int> Sinteticas(const TConta& conta) const {
    std::vector<int> r;
    auto juntar = [&](const std::string& classif) {
      auto it = FSinteticaPorClassif.find(classif);
      if (it != FSinteticaPorClassif.end()) r.insert(r.end(), it->second.begin(), it->second.end());
    };
    if (conta.Tipo != 1) juntar(conta.Classif);
    for (std::string c = RetirarUltimoNivelClassificacao(conta.Classif); !c.empty(); c = RetirarUltimoNivelClassificacao(c))
      juntar(c);
    return r;
  }

  void TotalizarSinteticas() {
    for (size_t i = 0; i < FContas.size(); ++i)
      if (FContas[i].Tipo == 1) FSinteticaPorClassif[FContas[i].Classif].push_back(static_cast<int>(i));
    // Only the accounts' own amounts are carried up, taken before any total lands on a synthetic
    // account that has entries of its own, so adding to every ancestor counts each amount once.
    const std::vector<TAcumulado> proprios = FSlots;
    for (const TAcumulado& origem : proprios) {
      for (int s : Sinteticas(FContas[static_cast<size_t>(origem.Conta)])) {
        TAcumulado& destino = Slot(s, origem.Estab);
        destino.Abertura += origem.Abertura;
        for (size_t m = 0; m < origem.Mov.size(); ++m) {
          destino.Mov[m].Debito += origem.Mov[m].Debito;
          destino.Mov[m].Credito += origem.Mov[m].Credito;
        }
      }
    }
  }

  void CompletarContasSemSaldo() {
    std::vector<int> estabs{0};
    if (P.RelacionarEstab) {
      estabs.clear();
      std::string sql = "select CODIGOESTAB from ESTAB where CODIGOEMPRESA = :pCodigoEmpresa";
      std::string filtro = FilterInterval("CODIGOESTAB", P.CodigoEstab);
      if (!filtro.empty()) sql += " and " + filtro;
      auto ds = ExecutarSQL(sql, {P.CodigoEmpresa});
      for (ds->First(); !ds->Eof(); ds->Next()) estabs.push_back(ds->Fields(0).AsInteger());
    }
    for (size_t i = 0; i < FContas.size(); ++i)
      for (int e : estabs) Slot(static_cast<int>(i), e);
  }

  // The rows go into the caller's dataset; one that already has the columns keeps its fields
  // (and so the maps bound to them) and only loses its rows.
  void MontarResultado(TClientDataSet& ds) {
    static const std::vector<TFieldDef> campos = {
        {"CONTACTB", TFieldType::ftLargeint},    {"CLASSIFCONTA", TFieldType::ftString, 30},
        {"TIPOCONTA", TFieldType::ftSmallint},   {"DESCRCONTA", TFieldType::ftString, 100},
        {"CODIGOESTAB", TFieldType::ftInteger},  {"DATASALDO", TFieldType::ftDate},
        {"SALDOANTERIOR", TFieldType::ftCurrency}, {"DEBITO", TFieldType::ftCurrency},
        {"CREDITO", TFieldType::ftCurrency},     {"MOVIMENTO", TFieldType::ftCurrency},
        {"SALDOATUAL", TFieldType::ftCurrency},  {"SEMSALDOMOV", TFieldType::ftCurrency},
        {"SINTFILIAL", TFieldType::ftCurrency},  {"TIPOCONTACALC", TFieldType::ftInteger},
    };
    // Every nature is checked before the dataset is touched: a refusal leaves it as it was.
    std::vector<int> naturezas(FContas.size(), 0);
    for (size_t i = 0; i < FContas.size(); ++i)
      if (!FSlotsConta[i].empty()) naturezas[i] = Natureza(FContas[i]);

    bool pronto = ds.Active() && ds.FieldCount() == static_cast<int>(campos.size());
    for (size_t i = 0; pronto && i < campos.size(); ++i)
      pronto = SameText(ds.Fields(static_cast<int>(i)).FieldName(), campos[i].Name) &&
               ds.Fields(static_cast<int>(i)).DataType() == campos[i].DataType;
    if (pronto) {
      ds.EmptyDataSet();
    } else {
      ds.Close();
      ds.FieldDefs() = campos;
      ds.CreateDataSet();
    }

    for (size_t i = 0; i < FContas.size(); ++i) {
      std::vector<size_t>& slots = FSlotsConta[i];
      if (slots.empty()) continue;
      std::sort(slots.begin(), slots.end(), [this](size_t a, size_t b) { return FSlots[a].Estab < FSlots[b].Estab; });
      const TConta& conta = FContas[i];
      int natureza = naturezas[i];
      for (size_t k : slots) {
        const TAcumulado& a = FSlots[k];
        Currency saldo = a.Abertura;  // debits minus credits so far
        for (size_t m = 0; m < FDataSaldo.size(); ++m) {
          const TMov& mov = a.Mov[m];
          Currency anterior = saldo;
          saldo += mov.Debito - mov.Credito;
          bool vazia = anterior == Currency() && mov.Debito == Currency() && mov.Credito == Currency();
          if (vazia && saldo == Currency() && !P.ListarContasMovimentoZero) continue;
          ds.Append();
          ds.Fields(0).SetAsInteger(conta.Codigo);
          ds.Fields(1).SetAsString(conta.Classif);
          ds.Fields(2).SetAsInteger(conta.Tipo);
          ds.Fields(3).SetAsString(conta.Descr);
          ds.Fields(4).SetAsInteger(a.Estab);
          ds.Fields(5).SetAsDateTime(FDataSaldo[m]);
          ds.Fields(6).SetAsCurrency(anterior * natureza);
          ds.Fields(7).SetAsCurrency(mov.Debito);
          ds.Fields(8).SetAsCurrency(mov.Credito);
          ds.Fields(9).SetAsCurrency((mov.Debito - mov.Credito) * natureza);
          ds.Fields(10).SetAsCurrency(saldo * natureza);
          ds.Fields(11).SetAsCurrency(Currency::FromInt(vazia ? 1 : 0));
          ds.Fields(12).SetAsCurrency(Currency());
          ds.Fields(13).SetAsInteger(natureza);
          ds.Post();
        }
      }
    }
    ds.First();
  }

  const TParamSaldoCtb& P;
  std::vector<TDateTime> FDataSaldo;  // one per period
  int FMesBase = 0;                   // year * 12 + month - 1 of the first month
  std::vector<TConta> FContas;        // the accounts asked for, in the result's order
  std::unordered_map<int64_t, int> FIndiceConta;
  int FNatureza[9] = {};
  std::vector<TAcumulado> FSlots;
  std::unordered_map<uint64_t, size_t> FSlotIndice;
  // The slot of each (account code, establishment) the queries give, -1 for accounts not asked for.
  struct TChaveCodigo {
    int64_t Codigo, Estab;
    bool operator==(const TChaveCodigo&) const = default;
  };
  struct THashCodigo {
    size_t operator()(const TChaveCodigo& c) const {
      return std::hash<int64_t>()(c.Codigo * 1000003 + c.Estab);
    }
  };
  std::unordered_map<TChaveCodigo, int64_t, THashCodigo> FSlotDoCodigo;
  static constexpr int64_t kSlotNaoVisto = -2;
  std::vector<int64_t> FSlotSemEstab;  // by account code, establishment 0
  int64_t FMaiorCodigo = 0;
  std::vector<std::vector<size_t>> FSlotsConta;
  std::unordered_map<std::string, std::vector<int>> FSinteticaPorClassif;
};

}  // namespace

const std::vector<TParamSaldoCtbDef>& ParamsSaldoCtb() { return kParams; }

TParamSaldoCtb LerParamSaldoCtb(const std::function<std::string(std::string_view)>& valor) {
  auto texto = [&](std::string_view alias) {
    std::string t = Trim(valor(alias));
    if (t.empty())
      for (const auto& d : kParams)
        if (alias == d.Alias) t = d.Padrao;
    return t;
  };
  auto inteiro = [&](const char* alias, const char* mensagem, int minimo, int maximo) {
    int64_t v;
    if (!TryStrToInt64(texto(alias), v) || v < minimo || v > maximo) throw EParamSaldoCtb(alias, mensagem);
    return static_cast<int>(v);
  };
  auto data = [&](const char* alias, const char* mensagem) {
    TDateTime d;
    if (!TryStrToDate(texto(alias), d)) throw EParamSaldoCtb(alias, mensagem);
    return d;
  };
  auto intervalo = [&](const char* alias) {
    std::string t = texto(alias);
    try {
      FilterInterval("X", t);
    } catch (const EInternalError&) {
      throw;
    } catch (const Exception& e) {
      throw EParamSaldoCtb(alias, e.Message());
    }
    return t;
  };
  auto simNao = [&](const char* alias) { return texto(alias) == "1"; };

  TParamSaldoCtb p;
  p.CodigoEmpresa = inteiro("pCodigoEmpresa", "Empresa inválida!", 1, 32767);
  p.CodigoEstab = intervalo("pCodigoEstab");
  p.ContaCtb = intervalo("pContaCtb");
  p.ClassifConta = Itens(texto("pClassifConta"), ";", " ");
  p.DataInicial = data("pDataInicial", "Data inicial inválida!");
  p.DataFinal = data("pDataFinal", "Data final inválida!");
  if (p.DataFinal < p.DataInicial) throw EParamSaldoCtb("pDataFinal", "A Data Final não pode ser menor que a Data Inicial!");
  p.CodigoMoeda = inteiro("pCodigoMoeda", "Moeda inválida!", 0, 0);
  p.RelacionarEstab = simNao("pRelacionarEstab");
  p.TipoAgruparData = inteiro("pTipoAgruparData", "Agrupamento por data inválido!", 0, 2);
  if (p.TipoAgruparData == 1) throw EParamSaldoCtb("pTipoAgruparData", "Agrupamento por data inválido!");
  p.TotalizarSintetica = simNao("pTotalizarSintetica");
  p.ConsiderarFiltroLctoCtb = simNao("pConsiderarFiltroLctoCtb");
  p.FiltroOrigemLcto = Itens(texto("pFiltroOrigemLcto"), ",;", " '");
  p.ListarContasMovimentoZero = simNao("pListarContasMovimentoZero");
  p.TipoSaldoCtb = inteiro("pTipoSaldoCtb", "Tipo de saldo inválido!", 0, 0);
  return p;
}

void GerarSaldoCtb(const TParamSaldoCtb& param, TClientDataSet& destino) {
  TnDMConexao& conexao = Conexao();
  conexao.StartTransactionRO(1);
  try {
    TCalculo(param).Executar(destino);
  } catch (...) {
    conexao.RollBackRO(1);
    throw;
  }
  conexao.CommitRO(1);
}

std::unique_ptr<TClientDataSet> GerarSaldoCtb(const TParamSaldoCtb& param) {
  auto resultado = std::make_unique<TClientDataSet>();
  GerarSaldoCtb(param, *resultado);
  return resultado;
}

}  // namespace nHost
