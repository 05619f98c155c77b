#include "ColetaSC_U.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "Classes_U.h"
#include "Contexto_U.h"
#include "CursorSQL_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"
#include "UlmoSQLs_U.h"

namespace nUlmoSC {

using namespace nFramework;

namespace {

// Column positions of the account list, in the order of its query.
enum TColConta {
  cCONTACTB,
  cDATAINICIOPLANO,
  cCODIGOTIPOCONTATCE,
  cDESCRCONTA,
  cDESCRDETALHCONTA,
  cTIPOCONTA,
  cCLASSIFCONTATCE,
  cTIPONATURSALDO,
  cCONTATCE,
  cCONTASINTETICA,
  cCODIGOBANCO,
  cNUMEROAGENCIA,
  cNUMEROCONTA,
  cDATAFIMPLANO,
  cAPLICFINANCEIRA,
  cDATAHORACADAST,
  cCLASSIFCONTA
};

// The mapped accounts with their court account and attributes; a condition on the mapping
// follows: the one of the period's last day (the account file), or kSQLMapeamentosDoPeriodo,
// every row valid in part of the period.
const char* const kSQLContas =
    "select T.CONTACTB, T.DATAINICIOPLANO, T.CODIGOTIPOCONTATCE, TP.DESCRCONTA, T.DESCRDETALHCONTA, P.TIPOCONTA, "
    "TP.CLASSIFCONTA CLASSIFCONTATCE, T.TIPONATURSALDO, T.CONTATCE, cast ('' as VarChar(50)) CONTASINTETICA, "
    "T.CODIGOBANCO, T.NUMEROAGENCIA, T.NUMEROCONTA, T.DATAFIMPLANO, T.APLICFINANCEIRA, P.DATAHORACADAST, "
    "P.CLASSIFCONTA from TCEPLANO TP join TCEPLANOPLESPEC T on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and "
    "TP.CONTATCE = T.CONTATCE join PLANOESPEC P on T.CODIGOEMPRESA = P.CODIGOEMPRESA and T.CONTACTB = P.CONTACTB "
    "where T.CODIGOEMPRESA = :pCodigoEmpresa and T.CODIGOSISTEMATCE = :pCodigoSistema ";

const char* const kSQLMapeamentosDoPeriodo =
    "and ( (T.DATAINICIOPLANO "
    "between :pDataInicial and :pDataFinal or T.DATAFIMPLANO between :pDataInicial and :pDataFinal) or "
    "(:pDataInicial between T.DATAINICIOPLANO and T.DATAFIMPLANO or :pDataFinal between T.DATAINICIOPLANO and "
    "T.DATAFIMPLANO) ) ";

// The court account of each company account for one month (the month's movements and
// applications count under the mapping valid on its last day).
const char* const kSQLMapeamentoMes =
    "select T.CONTACTB, T.DATAINICIOPLANO, T.APLICFINANCEIRA, TP.CLASSIFCONTA CLASSIFCONTATCE from TCEPLANOPLESPEC T "
    "join TCEPLANO TP on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and TP.CONTATCE = T.CONTATCE "
    "where T.CODIGOEMPRESA = :pCodigoEmpresa and T.CODIGOSISTEMATCE = :pCodigoSistema and ";

const char* const kSQLPlanoEmpresa =
    "select CLASSIFCONTA, TIPOCONTA, CONTACTB from PLANOESPEC  where CODIGOEMPRESA = :pCodigoEmpresa ";

const char* const kSQLOrigens =
    "select CODIGOORIGLCTOCTB, CODIGOTIPOMOVIMCTB from TCEORIGEMLCTOCTB where CODIGOSISTEMATCE = :pCodigoSistema";

// Opening balances, under the mapping valid on the period's first day: each counted once.
const char* const kSQLImplantacao =
    "select I.CONTACTB, I.DATASALDO, I.NATUREZASALDO, T.DATAINICIOPLANO, TP.CLASSIFCONTA, sum(VALORSALDO) VALOR from "
    "IMPLSALDOCTB I join TCEPLANOPLESPEC T on I.CODIGOEMPRESA = T.CODIGOEMPRESA and I.CONTACTB = T.CONTACTB join "
    "TCEPLANO TP  on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and TP.CONTATCE = T.CONTATCE join PLANOESPEC P on "
    "I.CODIGOEMPRESA = P.CODIGOEMPRESA and I.CONTACTB = P.CONTACTB where I.CODIGOEMPRESA = :pCodigoEmpresa and "
    "T.CODIGOSISTEMATCE = :pCodigoSistema and %s group by I.CONTACTB "
    ",I.DATASALDO, I.NATUREZASALDO, T.DATAINICIOPLANO, TP.CLASSIFCONTA order by I.CONTACTB, I.DATASALDO";

// Blanks and control characters off both ends, as Trim, without a copy.
std::string_view TrimView(std::string_view t) {
  while (!t.empty() && static_cast<unsigned char>(t.front()) <= ' ') t.remove_prefix(1);
  while (!t.empty() && static_cast<unsigned char>(t.back()) <= ' ') t.remove_suffix(1);
  return t;
}

int Competencia(TDateTime d) {
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  return y * 100 + m;
}

// The mapping of a company account that a month's movements and applications count under.
struct TMapeamentoMes {
  int Ano = 0;  // year of its start
  std::string Classif;
  bool AplicFinanceira = false;
};

// A mapping row valid in part of the period, with what its entries need.
struct TMapeamento {
  TDateTime Inicio = 0;
  TMapeamentoMes Proprio;
  int Natureza = 0;  // of the account's group: 1 debit, -1 credit
  std::string Conta;
};

// A mapping row as stored, listed or not.
struct TPlano {
  TDateTime Inicio = 0, Fim = 0;
  bool SemFim = false;
  const TMapeamento* Mapeado = nullptr;  // the listed mapping it is, if any
};

// What the scan of the entries needs of one company account, found with one look-up a side:
// its mapping rows, and for the month under way its mapping and the totals its entries went to.
struct TContaLctos {
  std::vector<TPlano> Planos;
  int Competencia = 0;  // the month the two below are for
  const TMapeamentoMes* DoMes = nullptr;
  struct TTotal {
    int Ano, Tipo;
    TMovimentoSC* Movimento;
  };
  std::vector<TTotal> Totais;
};

// Year of the account, account, movement type (0 for the applications) and competence.
struct TChave {
  int Ano = 0;
  int64_t Conta = 0;
  int Tipo = 0, Competencia = 0;
  auto operator<=>(const TChave&) const = default;
};

struct THashChave {
  size_t operator()(const TChave& c) const noexcept {
    uint64_t h = static_cast<uint64_t>(c.Conta) * 0x9E3779B97F4A7C15ull;
    h ^= (static_cast<uint64_t>(c.Ano) << 40) ^ (static_cast<uint64_t>(c.Tipo) << 24) ^ static_cast<uint64_t>(c.Competencia);
    return static_cast<size_t>(h * 0xBF58476D1CE4E5B9ull);
  }
};

template <class T>
std::vector<const T*> EmOrdem(const std::unordered_map<TChave, T, THashChave>& m) {
  std::vector<std::pair<TChave, const T*>> v;
  v.reserve(m.size());
  for (const auto& [k, x] : m) v.emplace_back(k, &x);
  std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<const T*> r;
  r.reserve(v.size());
  for (const auto& p : v) r.push_back(p.second);
  return r;
}

struct TTipoMovimento {
  int Codigo = 0;
  std::string Texto;
};

// An opening balance waits for the end of its month's entries.
struct TImplantacao {
  int Competencia = 0;
  std::string Sequencial, Classif, Conta;
  int TipoLancamento = 0, Ano = 0;
  TDateTime Data = 0;
  Currency Valor;
};

}  // namespace

struct TColetaSC::TDados {
  TVariant Naturezas;
  std::unique_ptr<TClientDataSet> Contas;       // the chart: one row per account
  std::unique_ptr<TClientDataSet> Mapeamentos;  // every mapping row valid in part of the period
  std::unordered_map<int64_t, std::vector<TMapeamento>> PorConta;
  std::unordered_map<int64_t, TContaLctos> Planos;
  std::map<int, std::unordered_map<int64_t, TMapeamentoMes>> Meses;  // competence -> account -> mapping
  std::unordered_map<std::string, TTipoMovimento> Origens;
  // Keyed as their files are ordered; hashed while the entries come, sorted once at the end.
  std::unordered_map<TChave, TMovimentoSC, THashChave> Movimentos;
  std::unordered_map<TChave, TAplicacaoSC, THashChave> Aplicacoes;
  std::vector<TImplantacao> Implantacoes;
  size_t ProximaImplantacao = 0;
  int Contador = 0;
};

namespace {

std::unique_ptr<TClientDataSet> ListaContas(const std::string& sql, const TValores& valores) {
  auto contas = ExecutarSQL(sql, valores);
  auto plano = ExecutarSQL(kSQLPlanoEmpresa, {valores.at(0)});
  plano->SetIndexFieldNames("CLASSIFCONTA;TIPOCONTA");
  if (!contas->IsEmpty()) {
    TField& classif = contas->Fields(cCLASSIFCONTA);
    TField& tipo = contas->Fields(cTIPOCONTA);
    TField& sintetica = contas->Fields(cCONTASINTETICA);
    for (contas->First(); !contas->Eof(); contas->Next()) {
      std::string c = classif.AsString();
      if (QtdNiveis(c) < 2) continue;
      std::string superior;
      if (tipo.AsInteger() == 2 && plano->FindKey({c, 1}))
        superior = c;
      else if (std::string s = RetirarUltimoNivelClassificacao(c); plano->FindKey({s, 1}))
        superior = s;
      if (superior.empty()) continue;
      contas->Edit();
      sintetica.SetAsString(superior);
      contas->Post();
    }
  }
  return CloneCDS(*contas);
}

}  // namespace

TColetaSC::TColetaSC(const TRequisicaoSC& requisicao) : FRequisicao(requisicao), FDados(std::make_unique<TDados>()) {
  const TRequisicaoSC& r = FRequisicao;
  TDados& d = *FDados;
  d.Naturezas = PegarValorCampo(
      "CFGPLANOESPEC", "NATURGRUPO1,NATURGRUPO2,NATURGRUPO3,NATURGRUPO4,NATURGRUPO5,NATURGRUPO6,NATURGRUPO7,NATURGRUPO8,NATURGRUPO9",
      "CODIGOEMPRESA = " + ValorParaSQL(r.Empresa, TFieldType::ftInteger));
  // The chart covers the period: each account under the mapping valid on its last day.
  d.Contas = ListaContas(std::string(kSQLContas) + "and " +
                             nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", r.Inicio, r.Fim),
                         {r.Empresa, r.Sistema});
  TVariant ini = TVariant::FromDate(r.Inicio), fim = TVariant::FromDate(r.Fim);
  d.Mapeamentos = ListaContas(std::string(kSQLContas) + kSQLMapeamentosDoPeriodo + "order by T.CONTACTB, T.DATAINICIOPLANO",
                              {r.Empresa, r.Sistema, ini, fim, ini, fim, ini, fim});
  auto origens = ExecutarSQL(kSQLOrigens, {r.Sistema});
  for (origens->First(); !origens->Eof(); origens->Next())
    d.Origens.emplace(origens->Fields(0).AsString(),
                      TTipoMovimento{origens->Fields(1).AsInteger(), origens->Fields(1).AsString()});

  for (TDateTime mes = StartOfTheMonth(r.Inicio); mes <= r.Fim; mes = IncMonth(mes)) {
    TDateTime inicio = std::max(mes, DateOf(r.Inicio)), fimMes = std::min(EndOfTheMonth(mes), DateOf(r.Fim));
    auto ds = ExecutarSQL(std::string(kSQLMapeamentoMes) +
                              nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", inicio, fimMes),
                          {r.Empresa, r.Sistema});
    auto& contas = d.Meses[Competencia(mes)];
    TField& conta = ds->FieldByName("CONTACTB");
    TField& inicioPlano = ds->FieldByName("DATAINICIOPLANO");
    TField& aplic = ds->FieldByName("APLICFINANCEIRA");
    TField& classif = ds->FieldByName("CLASSIFCONTATCE");
    for (ds->First(); !ds->Eof(); ds->Next())
      contas[conta.AsLargeInt()] = {YearOf(inicioPlano.AsDateTime()), classif.AsString(), aplic.AsString() == "1"};
  }
}

TColetaSC::~TColetaSC() = default;

bool TColetaSC::SemContas() const { return FDados->Contas->IsEmpty(); }
bool TColetaSC::SemOrigens() const { return FDados->Origens.empty(); }

void TColetaSC::Coletar(TEscritorSC& escritor, TnFraProgresso* progresso) {
  TDados& d = *FDados;
  const int empresa = FRequisicao.Empresa;
  TClientDataSet& m = *d.Mapeamentos;
  // The account's group nature: NATURGRUPOk, k the first digit of its classification (1 for a
  // letter). A company without the settings, or a group without a nature, stops the run here
  // with a message that says what to fix.
  for (m.First(); !m.Eof(); m.Next()) {
    std::string classif = m.Fields(cCLASSIFCONTA).AsString();
    std::string contaCtb = m.Fields(cCONTACTB).AsString();
    int k = (!classif.empty() && classif[0] >= '0' && classif[0] <= '9') ? classif[0] - '0' : 1;
    if (!d.Naturezas.IsArray())
      throw Exception("A configuração do plano de contas da empresa " + std::to_string(empresa) +
                      " (naturezas dos grupos NATURGRUPO1 a NATURGRUPO9) não foi encontrada. Nenhum arquivo foi gerado.");
    if (k == 0)
      throw Exception("A conta contábil " + contaCtb + " (" + classif +
                      ") começa pelo dígito 0, que não tem natureza de grupo na configuração do plano de contas da "
                      "empresa " +
                      std::to_string(empresa) + ". Nenhum arquivo foi gerado.");
    const TVariant& natGrupo = d.Naturezas[static_cast<size_t>(k - 1)];
    int64_t n64;
    if (natGrupo.IsNull() || !TryStrToInt64(natGrupo.AsString(), n64))
      throw Exception("A natureza do grupo " + std::to_string(k) + " (NATURGRUPO" + std::to_string(k) +
                      ") não está informada na configuração do plano de contas da empresa " + std::to_string(empresa) +
                      "; ela é necessária para a conta contábil " + contaCtb + " (" + classif +
                      "). Nenhum arquivo foi gerado.");
    TDateTime inicio = m.Fields(cDATAINICIOPLANO).AsDateTime();
    d.PorConta[m.Fields(cCONTACTB).AsLargeInt()].push_back(
        {inicio,
         {YearOf(inicio), m.Fields(cCLASSIFCONTATCE).AsString(), m.Fields(cAPLICFINANCEIRA).AsString() == "1"},
         static_cast<int>(n64),
         contaCtb});
  }
  if (FRequisicao.IncluirImplantacao) Implantacao(escritor);
  Lancamentos(escritor, progresso);
  for (const TMovimentoSC* mov : EmOrdem(d.Movimentos)) escritor.Movimento(*mov);
  // The court takes the applications' amounts without their sign.
  for (const TAplicacaoSC* a : EmOrdem(d.Aplicacoes)) {
    TAplicacaoSC apl = *a;
    for (Currency* v : {&apl.Aplicado, &apl.Resgatado, &apl.Rendimento})
      if (*v < Currency()) *v = -*v;
    escritor.Aplicacao(apl);
  }
  Contas(escritor);
}

void TColetaSC::Implantacao(TEscritorSC& escritor) {
  (void)escritor;
  TDados& d = *FDados;
  auto imp = ExecutarSQL(
      nUlmo::FormatSQL(kSQLImplantacao, {nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteInicioPeriodo(
                                            "T", FRequisicao.Inicio, FRequisicao.Fim)}),
      {FRequisicao.Empresa, FRequisicao.Sistema});
  TField& conta = imp->FieldByName("CONTACTB");
  TField& data = imp->FieldByName("DATASALDO");
  TField& natureza = imp->FieldByName("NATUREZASALDO");
  TField& inicio = imp->FieldByName("DATAINICIOPLANO");
  TField& classif = imp->FieldByName("CLASSIFCONTA");
  TField& valor = imp->FieldByName("VALOR");
  for (imp->First(); !imp->Eof(); imp->Next()) {
    // The side of an opening balance must be known: both files take it from the same value.
    int nat = natureza.AsInteger();
    if (natureza.IsNull() || (nat != 1 && nat != -1))
      throw Exception("O saldo implantado da conta contábil " + conta.AsString() + " em " + DateToStr(data.AsDateTime()) +
                      " tem natureza \"" + natureza.AsString() +
                      "\"; informe 1 (devedora) ou -1 (credora). Nenhum arquivo foi gerado.");
    ++d.Contador;
    // Opening balances are numbered 999nnnnn: five digits of their own.
    std::string sequencial = std::to_string(d.Contador);
    if (sequencial.size() > 5)
      throw ENaoCabe("LancamentoContabil.txt", "LancamentoContabil", conta.AsString(), "Sequencial", sequencial, 5, false);
    const int compet = Competencia(data.AsDateTime());
    const Currency v = valor.AsCurrency();
    d.Implantacoes.push_back({compet, "999" + FmtNumero(sequencial, 5), classif.AsString(), conta.AsString(),
                              nat == 1 ? 2 : 1, YearOf(inicio.AsDateTime()), data.AsDateTime(), v});
    const int ano = YearOf(inicio.AsDateTime());
    const int64_t codigo = conta.AsLargeInt();
    TMovimentoSC& mov = d.Movimentos[TChave{ano, codigo, 1, compet}];
    if (mov.AnoConta == 0) mov = {ano, codigo, 1, compet, classif.AsString(), {}, {}};
    (nat == -1 ? mov.Credito : mov.Debito) += v;
  }
  // Each month's opening balances follow its entries, in the order numbered.
  std::stable_sort(d.Implantacoes.begin(), d.Implantacoes.end(),
                   [](const TImplantacao& a, const TImplantacao& b) { return a.Competencia < b.Competencia; });
}

void TColetaSC::Lancamentos(TEscritorSC& escritor, TnFraProgresso* progresso) {
  TDados& d = *FDados;
  const TRequisicaoSC& r = FRequisicao;
  auto implantacoesAte = [&](int competencia) {
    for (; d.ProximaImplantacao < d.Implantacoes.size() &&
           d.Implantacoes[d.ProximaImplantacao].Competencia < competencia;
         ++d.ProximaImplantacao) {
      const TImplantacao& i = d.Implantacoes[d.ProximaImplantacao];
      escritor.Lancamento({i.Competencia, i.Sequencial, i.TipoLancamento, "1", i.Ano, i.Classif, i.Data, i.Valor, "",
                           i.Conta});
    }
  };
  // Every mapping row of the company (listed or not): an entry counts under the row valid on its
  // date that started last, and only when that row is a listed mapping with an end.
  {
    TCursorSQL planos(Conexao(),
                      "select CONTACTB, DATAINICIOPLANO, DATAFIMPLANO from TCEPLANOPLESPEC where CODIGOEMPRESA = "
                      ":pCodigoEmpresa and CODIGOSISTEMATCE = :pCodigoSistema",
                      {r.Empresa, r.Sistema});
    while (planos.Proximo()) {
      TPlano p{planos.Data(1), planos.Data(2), planos.Nulo(2), nullptr};
      const int64_t conta = planos.Inteiro(0);
      if (auto it = d.PorConta.find(conta); it != d.PorConta.end())
        for (const TMapeamento& m : it->second)
          if (m.Inicio == p.Inicio) p.Mapeado = &m;
      d.Planos[conta].Planos.push_back(p);
    }
  }
  auto mapeamento = [&](const TContaLctos& c, TDateTime data) -> const TMapeamento* {
    const TPlano* vigente = nullptr;
    for (const TPlano& p : c.Planos)
      if (p.Inicio <= data && (p.SemFim || p.Fim >= data) && (!vigente || p.Inicio > vigente->Inicio)) vigente = &p;
    return vigente && !vigente->SemFim ? vigente->Mapeado : nullptr;
  };

  TVariant ini = TVariant::FromDate(r.Inicio), fim = TVariant::FromDate(r.Fim);
  // The entries of each month, for its progress bar.
  std::map<int, int> porMes;
  {
    TCursorSQL dias(Conexao(),
                    "select DATALCTOCTB, count(*) from LCTOCTB where CODIGOEMPRESA = :pCodigoEmpresa and "
                    "DATALCTOCTB between :pDataInicial and :pDataFinal group by DATALCTOCTB",
                    {r.Empresa, ini, fim});
    while (dias.Proximo()) porMes[Competencia(dias.Data(0))] += static_cast<int>(dias.Inteiro(1));
  }
  if (progresso) progresso->SetMaxTotal(static_cast<int>(porMes.size()));
  int competAtual = 0;
  const std::unordered_map<int64_t, TMapeamentoMes>* doMesAtual = nullptr;
  // The origin of the entry before: most entries repeat one of a few.
  std::string ultimaOrigem;
  const TTipoMovimento* ultimoTipo = nullptr;
  // The entries in the file's order: date, entry; each gives its debit line, then its credit line.
  TCursorSQL l(Conexao(),
               "select L.DATALCTOCTB, L.CHAVELCTOCTB, L.CONTACTBDEB, L.CONTACTBCRED, L.VALORLCTOCTB, "
               "L.CODIGOORIGLCTOCTB, H.DESCRHISTCTB, L.COMPLHIST from LCTOCTB L left join historicoctb H on "
               "H.CODIGOHISTCTB = L.CODIGOHISTCTB where L.CODIGOEMPRESA = :pCodigoEmpresa and L.DATALCTOCTB "
               "between :pDataInicial and :pDataFinal order by L.DATALCTOCTB, L.CHAVELCTOCTB",
               {r.Empresa, ini, fim});
  std::string historico, sequencial;
  TDateTime dataAnterior = -1;
  int compet = 0;
  while (l.Proximo()) {
    const TDateTime data = l.Data(0);
    if (data != dataAnterior) compet = Competencia(data), dataAnterior = data;
    if (compet != competAtual && progresso) {
      if (competAtual != 0) progresso->IncProgressoTotal(0);
      progresso->SetMaxParcial(porMes[compet]);
      progresso->SetTextoParcial("Apurando competência " + FormatDateTime("mm/yyyy", data));
    }
    if (compet != competAtual) {
      auto mes = d.Meses.find(compet);
      doMesAtual = mes == d.Meses.end() ? nullptr : &mes->second;
    }
    competAtual = compet;
    implantacoesAte(compet);
    const Currency v = l.Moeda(4);
    const std::string_view origem = l.Texto(5);
    if (origem != ultimaOrigem || origem.empty()) {
      ultimaOrigem.assign(origem);
      auto o = origem.empty() ? d.Origens.end() : d.Origens.find(ultimaOrigem);
      ultimoTipo = o == d.Origens.end() ? nullptr : &o->second;
    }
    for (int tipo = 2; tipo >= 1; --tipo) {
      const int coluna = tipo == 2 ? 2 : 3;
      if (l.Nulo(coluna)) continue;
      const int64_t conta = l.Inteiro(coluna);
      auto planos = d.Planos.find(conta);
      if (planos == d.Planos.end()) continue;
      TContaLctos& c = planos->second;
      const TMapeamento* map = mapeamento(c, data);
      if (map == nullptr) continue;
      if (c.Competencia != compet) {
        c.Competencia = compet;
        c.Totais.clear();
        c.DoMes = nullptr;
        if (doMesAtual)
          if (auto it = doMesAtual->find(conta); it != doMesAtual->end()) c.DoMes = &it->second;
      }
      // A month's movements and applications count under the mapping valid on its last day;
      // this row stands in should the month have none (it is valid on the entry's date).
      const TMapeamentoMes* doMes = c.DoMes ? c.DoMes : &map->Proprio;
      const int anoMes = doMes->Ano;

      // Financial applications: the entry counts when its origin is one of the three chosen
      // origins (a whole item; an empty origin never matches).
      const std::string_view aparada = TrimView(origem);
      if (r.GerarAplicacao && doMes->AplicFinanceira && !aparada.empty()) {
        Currency TAplicacaoSC::* campo = aparada == r.OrigemAplicado     ? &TAplicacaoSC::Aplicado
                                         : aparada == r.OrigemResgatado  ? &TAplicacaoSC::Resgatado
                                         : aparada == r.OrigemRendimento ? &TAplicacaoSC::Rendimento
                                                                         : nullptr;
        if (campo) {
          TAplicacaoSC& a = d.Aplicacoes[TChave{anoMes, conta, 0, compet}];
          if (a.AnoConta == 0) a = {anoMes, conta, compet, doMes->Classif, {}, {}, {}};
          const int n = map->Natureza;
          if ((tipo == 2 && n == 1) || (tipo == 1 && n == -1))
            a.*campo += v;
          else if ((tipo == 2 && n == -1) || (tipo == 1 && n == 1))
            a.*campo -= v;
        }
      }

      // The entry's court movement type comes from its origin.
      if (const TTipoMovimento* o = ultimoTipo) {
        ++d.Contador;
        sequencial = std::to_string(d.Contador);
        // The history: its description, a blank and the complement, trimmed.
        historico.assign(l.Texto(6));
        if (std::string_view complemento = l.Texto(7); !complemento.empty()) {
          historico += ' ';
          historico.append(complemento);
        }
        escritor.Lancamento({compet, sequencial, tipo, o->Texto, map->Proprio.Ano, map->Proprio.Classif, data,
                             v, TrimView(historico), map->Conta});
        auto total = std::find_if(c.Totais.begin(), c.Totais.end(), [&](const TContaLctos::TTotal& t) {
          return t.Ano == anoMes && t.Tipo == o->Codigo;
        });
        if (total == c.Totais.end()) {
          // The map keeps its values in place: the pointer stays good as it grows.
          TMovimentoSC& mov = d.Movimentos[TChave{anoMes, conta, o->Codigo, compet}];
          if (mov.AnoConta == 0) mov = {anoMes, conta, o->Codigo, compet, doMes->Classif, {}, {}};
          total = c.Totais.insert(c.Totais.end(), {anoMes, o->Codigo, &mov});
        }
        TMovimentoSC& mov = *total->Movimento;
        (tipo == 1 ? mov.Credito : mov.Debito) += v;
      } else {
        // Reported once per origin, compared as whole items without regard to case.
        bool listada = std::any_of(FOrigensNaoRelacionadas.begin(), FOrigensNaoRelacionadas.end(),
                                   [&](const std::string& x) { return SameText(x, origem); });
        if (!listada) FOrigensNaoRelacionadas.emplace_back(origem);
      }
    }
    if (progresso) progresso->IncProgressoParcial(0);
  }
  implantacoesAte(999999);
}

void TColetaSC::Contas(TEscritorSC& escritor) {
  TClientDataSet& c = *FDados->Contas;
  c.SetIndexFieldNames("CLASSIFCONTA;CONTACTB");
  for (c.First(); !c.Eof(); c.Next()) {
    if (FRequisicao.SomenteIncluidasAlteradas) {
      TField& cadastro = c.Fields(cDATAHORACADAST);
      TDateTime dia = DateOf(cadastro.AsDateTime());
      if (cadastro.IsNull() || dia < DateOf(FRequisicao.Inicio) || dia > DateOf(FRequisicao.Fim)) continue;
    }
    TField& detalhe = c.Fields(cDESCRDETALHCONTA);
    escritor.Conta({c.Fields(cCONTACTB).AsString(),
                    YearOf(c.Fields(cDATAINICIOPLANO).AsDateTime()),
                    c.Fields(cCLASSIFCONTATCE).AsStringView(),
                    c.Fields(cCODIGOTIPOCONTATCE).AsStringView(),
                    c.Fields(cDESCRCONTA).AsStringView(),
                    detalhe.IsNull() ? c.Fields(cDESCRCONTA).AsStringView() : detalhe.AsStringView(),
                    c.Fields(cTIPOCONTA).AsInteger() != 1,
                    QtdNiveis(c.Fields(cCLASSIFCONTATCE).AsStringView()),
                    c.Fields(cTIPONATURSALDO).AsStringView(),
                    c.Fields(cCONTATCE).AsStringView(),
                    c.Fields(cCONTASINTETICA).AsStringView(),
                    c.Fields(cCODIGOBANCO).AsStringView(),
                    c.Fields(cNUMEROAGENCIA).AsStringView(),
                    c.Fields(cNUMEROCONTA).AsStringView()});
  }
}

}  // namespace nUlmoSC
