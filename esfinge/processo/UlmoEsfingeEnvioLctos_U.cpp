#include "UlmoEsfingeEnvioLctos_U.h"

#include "Conexao_U.h"
#include "CursorSQL_U.h"
#include "DateUtils_U.h"
#include "FormatUtils_U.h"
#include "TextUtils_U.h"

namespace nUlmoEsfinge {

using namespace nFramework;

namespace {

// Every mapping row of the company for the system: the valid one is chosen among all of them,
// and only then must its court account and company account exist (the joins of the list).
const char* const kSQLPlanos =
    "select T.CONTACTB, T.DATAINICIOPLANO, T.DATAFIMPLANO, TP.CONTATCE, TP.CLASSIFCONTA, TP.DESCRCONTA, "
    "P.CONTACTB, P.CLASSIFCONTA, P.DESCRCONTA from TCEPLANOPLESPEC T left join TCEPLANO TP on "
    "TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and TP.CONTATCE = T.CONTATCE left join PLANOESPEC P on "
    "P.CODIGOEMPRESA = T.CODIGOEMPRESA and P.CONTACTB = T.CONTACTB where T.CODIGOEMPRESA = :pCodigoEmpresa and "
    "T.CODIGOSISTEMATCE = :pCodigoSistema";

const char* const kSQLOrigens =
    "select O.CODIGOORIGLCTOCTB, O.CODIGOTIPOMOVIMCTB, T.DESCRTIPOMOVIM from TCEORIGEMLCTOCTB O left join "
    "TCETIPOMOVIMCTB T on O.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and O.CODIGOTIPOMOVIMCTB = T.CODIGOTIPOMOVIMCTB "
    "where O.CODIGOSISTEMATCE = :pCodigoSistema";

// Entries without a history are not listed (an inner join, as the list always had).
const char* const kSQLLctos =
    "select L.CHAVELCTOCTB, L.DATALCTOCTB, L.CONTACTBDEB, L.CONTACTBCRED, L.VALORLCTOCTB, L.CODIGOORIGLCTOCTB, "
    "H.DESCRHISTCTB, L.COMPLHIST from LCTOCTB L join HISTORICOCTB H on H.CODIGOHISTCTB = L.CODIGOHISTCTB where "
    "L.CODIGOEMPRESA = :pCodigoEmpresa and L.DATALCTOCTB between :pDataInicial and :pDataFinal "
    "order by L.DATALCTOCTB, L.CHAVELCTOCTB";

std::optional<TDateTime> DataOpcional(TCursorSQL& c, int coluna) {
  return c.Nulo(coluna) ? std::nullopt : std::optional<TDateTime>(c.Data(coluna));
}

}  // namespace

void TLeitorLctosEsfinge::CarregarPlanos() {
  FPlanos.clear();
  TCursorSQL c(Conexao(), kSQLPlanos, {P.CodigoEmpresa, P.CodigoSistema});
  while (c.Proximo()) {
    if (c.Nulo(0) || c.Nulo(1)) continue;
    TPlano p;
    p.Inicio.assign(c.Texto(1));
    p.Fim.assign(c.Texto(2));
    p.SemFim = c.Nulo(2);
    p.Completo = !c.Nulo(3) && !c.Nulo(6);
    p.DataInicio = DataOpcional(c, 1);
    p.DataFim = DataOpcional(c, 2);
    if (p.Completo) {
      p.ContaTce = c.Inteiro(3);
      p.ContaCtb = c.Inteiro(6);
      p.AnoCriacao = YearOf(*p.DataInicio);
      p.ClassifTce.assign(c.Texto(4));
      p.ClassifDescrTce = p.ClassifTce + " " + std::string(c.Texto(5));
      p.ClassifDescrCtb = std::string(c.Texto(7)) + " " + std::string(c.Texto(8));
    }
    FPlanos[c.Inteiro(0)].push_back(std::move(p));
  }
}

void TLeitorLctosEsfinge::CarregarOrigens() {
  FOrigens.clear();
  TCursorSQL c(Conexao(), kSQLOrigens, {P.CodigoSistema});
  while (c.Proximo()) {
    TOrigem o;
    if (!c.Nulo(1)) o.TipoMovimento = static_cast<int>(c.Inteiro(1));
    o.Descricao.assign(c.Texto(2));
    FOrigens.emplace(std::string(c.Texto(0)), std::move(o));
  }
}

// Valid on the day, and no row valid that day that started later.
const TLeitorLctosEsfinge::TPlano* TLeitorLctosEsfinge::Vigente(int64_t conta, std::string_view data) const {
  auto it = FPlanos.find(conta);
  if (it == FPlanos.end()) return nullptr;
  const TPlano* vigente = nullptr;
  for (const TPlano& p : it->second)
    if (std::string_view(p.Inicio) <= data && (p.SemFim || std::string_view(p.Fim) >= data) &&
        (!vigente || p.Inicio > vigente->Inicio))
      vigente = &p;
  return vigente && vigente->Completo ? vigente : nullptr;
}

void TLeitorLctosEsfinge::Ler(int& aNumeroSeq, const std::function<void(const TLinhaLctoEsfinge&)>& aLinha) {
  CarregarPlanos();
  CarregarOrigens();
  TCursorSQL l(Conexao(), kSQLLctos,
               {P.CodigoEmpresa, TVariant::FromDate(P.CompetInicial), TVariant::FromDate(P.CompetFinal)});
  TLinhaLctoEsfinge r;
  std::string origem, slipDe;
  const TOrigem* tipo = nullptr;
  while (l.Proximo()) {
    // Most entries repeat one of a few origins.
    if (l.Nulo(5)) continue;
    if (std::string_view o = l.Texto(5); o != origem || !tipo) {
      origem.assign(o);
      auto it = FOrigens.find(origem);
      tipo = it == FOrigens.end() ? nullptr : &it->second;
    }
    if (!tipo) continue;
    const std::string data(l.Texto(1));
    const TDateTime quando = l.Data(1);
    bool preenchida = false;
    for (int coluna : {3, 2}) {  // credit, then debit
      if (l.Nulo(coluna)) continue;
      const TPlano* plano = Vigente(l.Inteiro(coluna), data);
      if (!plano) continue;
      if (!preenchida) {
        if (data.compare(0, 7, slipDe) != 0) {
          slipDe = data.substr(0, 7);
          r.NumeroSlip = FormatDateTime("yyyymm", quando);
        }
        r.ChaveLctoCtb = l.Inteiro(0);
        r.TipoMovimentoContabil = tipo->TipoMovimento;
        r.DescrTipoMovimentoContabil = tipo->Descricao;
        r.DataLancamento = quando;
        r.ValorLancamento = l.Moeda(4);
        r.HistoricoLancamento = MontarHist(l.Texto(6), l.Texto(7));
        preenchida = true;
      }
      r.NumeroSequencial = ++aNumeroSeq;
      r.ContaTce = plano->ContaTce;
      r.ContaCtb = plano->ContaCtb;
      r.ClassifDescrContaContabil = plano->ClassifDescrTce;
      r.TipoLancamento = coluna == 2 ? 2 : 1;
      r.AnoCriacaoConta = plano->AnoCriacao;
      r.CodigoContaContabil = plano->ClassifTce;
      r.DataInicioPlanoTce = plano->DataInicio;
      r.DataFimPlanoTce = plano->DataFim;
      r.ClassifDescrContaCtb = plano->ClassifDescrCtb;
      aLinha(r);
    }
  }
}

}  // namespace nUlmoEsfinge
