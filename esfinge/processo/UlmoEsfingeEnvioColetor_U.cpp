#include "UlmoEsfingeEnvioColetor_U.h"

#include <set>

#include "Conexao_U.h"
#include "FormatUtils_U.h"
#include "SaldoCtbTipado_U.h"
#include "TextUtils_U.h"
#include "UlmoEsfingeEnvioGrades_U.h"
#include "UlmoEsfingeEnvioLctos_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"
#include "UlmoEsfingeOnlineSql_U.h"
#include "UlmoFuncoes_U.h"
#include "UlmoSQLs_U.h"

namespace nUlmoEsfinge {

using namespace nFramework;
using nUlmoEsfingeOnline::TUlmoEsfingeFuncoes;

namespace {

const char* const kSQLContas =
    "select T.CONTACTB, T.DATAINICIOPLANO, T.CODIGOTIPOCONTATCE, TIPO.DESCRTIPOCONTATCE, TP.DESCRCONTA, "
    "T.DESCRDETALHCONTA, TP.TIPOCONTA, TP.CLASSIFCONTA CLASSIFCONTATCE, T.TIPONATURSALDO, T.CONTATCE, cast ('' as "
    "VarChar(50)) CONTASINTETICA, T.CODIGOBANCO, B.NOMEBANCO, T.NUMEROAGENCIA, A.NOMEAGENCIA, T.NUMEROCONTA, "
    "T.DATAFIMPLANO, T.APLICFINANCEIRA, P.DATAHORACADAST, P.CLASSIFCONTA, P.DESCRCONTA DESCRCONTAPLANOESPEC from "
    "TCEPLANO TP join TCEPLANOPLESPEC T on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and TP.CONTATCE = T.CONTATCE "
    "join PLANOESPEC P on T.CODIGOEMPRESA = P.CODIGOEMPRESA and T.CONTACTB = P.CONTACTB left join BANCO B on "
    "T.CODIGOBANCO = B.CODIGOBANCO left join AGENCIA A  on T.CODIGOBANCO = A.CODIGOBANCO and T.NUMEROAGENCIA = "
    "A.NUMEROAGENCIA left join TCETIPOCONTACTB TIPO  on TP.CODIGOSISTEMATCE = TIPO.CODIGOSISTEMATCE and "
    "T.CODIGOTIPOCONTATCE = TIPO.CODIGOTIPOCONTATCE ";

// Opening balances, under the mapping valid on the period's first day (one hole: that condition).
const char* const kSQLImplantacao =
    "select I.CONTACTB, I.DATASALDO, I.NATUREZASALDO, T.DATAINICIOPLANO, TP.CLASSIFCONTA, TP.DESCRCONTA "
    "DESCRCONTATCE, TP.CONTATCE, P.CLASSIFCONTA CLASSIFCONTAPLANOESPEC, P.DESCRCONTA DESCRCONTAPLANOESPEC, "
    "T.DATAFIMPLANO, sum(VALORSALDO) VALOR from IMPLSALDOCTB I join TCEPLANOPLESPEC T on I.CODIGOEMPRESA = "
    "T.CODIGOEMPRESA and I.CONTACTB = T.CONTACTB join TCEPLANO TP  on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and "
    "TP.CONTATCE = T.CONTATCE join PLANOESPEC P on I.CODIGOEMPRESA = P.CODIGOEMPRESA and I.CONTACTB = P.CONTACTB "
    "where I.CODIGOEMPRESA = :pCodigoEmpresa and T.CODIGOSISTEMATCE = :pCodigoSistema and %s group by "
    "I.CONTACTB,I.DATASALDO, I.NATUREZASALDO, T.DATAINICIOPLANO, TP.CLASSIFCONTA, "
    "TP.DESCRCONTA, TP.CONTATCE, P.CLASSIFCONTA, P.DESCRCONTA, T.DATAFIMPLANO ";

int Ano(const TField& f) { return f.IsNull() ? 0 : YearOf(f.AsDateTime()); }
std::string Slip(TDateTime d) { return FormatDateTime("yyyymm", d); }

std::optional<TDateTime> Data(const TField& f) {
  return f.IsNull() ? std::nullopt : std::optional<TDateTime>(f.AsDateTime());
}
std::optional<int64_t> Codigo(const TField& f) {
  return f.IsNull() ? std::nullopt : std::optional<int64_t>(f.AsLargeInt());
}
std::optional<int> Inteiro(const TField& f) {
  return f.IsNull() ? std::nullopt : std::optional<int>(f.AsInteger());
}

}  // namespace

void TColetorEnvioEsfinge::Executar() {
  FNumeroSeq = 0;
  FContaSinteticaTce.clear();
  PreencherContas();
  PreencherLctos();
  if (P.EnviarLancamentoAnoAnterior) PreencherLctosAnoAnterior();
  if (P.EnviarImplantacao) PreencherLctosImplantacao();
}

TLinhaContaEsfinge TColetorEnvioEsfinge::LerConta(TClientDataSet& c, const std::string& superior) const {
  auto s = [&c](const char* n) { return c.FieldByName(n).AsString(); };
  TLinhaContaEsfinge l;
  l.DataInicioPlanoTce = Data(c.FieldByName("DATAINICIOPLANO"));
  l.DataFimPlanoTce = Data(c.FieldByName("DATAFIMPLANO"));
  l.ContaTce = Codigo(c.FieldByName("CONTATCE"));
  l.ContaCtb = Codigo(c.FieldByName("CONTACTB"));
  l.CodigoConta = s("CLASSIFCONTATCE");
  l.TipoConta = c.FieldByName("TIPOCONTA").AsInteger();
  l.TipoContaContabil = Inteiro(c.FieldByName("CODIGOTIPOCONTATCE"));
  l.DescrTipoContaContabil = s("DESCRTIPOCONTATCE");
  l.NomeConta = s("DESCRCONTA");
  l.DescricaoConta = s("DESCRDETALHCONTA");
  l.Classificacao = s("CLASSIFCONTA");
  l.TipoNaturezaSaldo = Inteiro(c.FieldByName("TIPONATURSALDO"));
  l.CodigoContaSintetica = s("CONTASINTETICA");
  l.CodigoBanco = c.FieldByName("CODIGOBANCO").AsLargeInt();
  l.NomeBanco = s("NOMEBANCO");
  l.CodigoAgenciaBancaria = c.FieldByName("NUMEROAGENCIA").AsLargeInt();
  l.NomeAgencia = s("NOMEAGENCIA");
  l.CodigoContaBancaria = c.FieldByName("NUMEROCONTA").AsLargeInt();
  l.ClassifDescrContaCtb = s("CLASSIFCONTA") + " " + s("DESCRCONTAPLANOESPEC");
  l.CodigoContaSinteticaSuperiorTce = superior;
  return l;
}

// The parent of a court classification: the synthetic court account one level up.
std::string TColetorEnvioEsfinge::SuperiorDe(const std::string& classifLimpa) const {
  auto it = FContaSinteticaTce.find(RetirarUltimoNivelClassificacao(classifLimpa));
  return it == FContaSinteticaTce.end() ? std::string() : it->second;
}

void TColetorEnvioEsfinge::PreencherContas() {
  const std::string empresa = ValorParaSQL(P.CodigoEmpresa, TFieldType::ftInteger);
  const std::string sistema = ValorParaSQL(P.CodigoSistema, TFieldType::ftInteger);
  const std::string ini = ValorParaSQL(TVariant::FromDate(P.CompetInicial), TFieldType::ftDate);
  const std::string fim = ValorParaSQL(TVariant::FromDate(P.CompetFinal), TFieldType::ftDate);
  std::string sql = kSQLContas;
  if (P.SomenteContasComMovimento)
    sql += " join (select ESPEC.CODIGOEMPRESA, ESPEC.CONTACTB from LCTOCTB CTB join PLANOESPEC ESPEC on "
           "ESPEC.CODIGOEMPRESA = CTB.CODIGOEMPRESA and (ESPEC.CONTACTB = CTB.CONTACTBDEB or ESPEC.CONTACTB = "
           "CTB.CONTACTBCRED) where CTB.CODIGOEMPRESA = " + empresa + " and CTB.DATALCTOCTB between " + ini +
           " and " + fim + " group by ESPEC.CODIGOEMPRESA, ESPEC.CONTACTB) L  on T.CODIGOEMPRESA = "
           "L.CODIGOEMPRESA and T.CONTACTB = L.CONTACTB ";
  sql += " where T.CODIGOEMPRESA = " + empresa + "    and T.CODIGOSISTEMATCE = " + sistema + " ";
  if (!P.ExibirContasSinteticas) sql += " and TP.TIPOCONTA <> 1";
  // The accounts cover the period: each under the mapping valid on its last day.
  const std::string vigencia = nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", P.CompetInicial, P.CompetFinal);
  sql += " and " + vigencia + " order by T.DATAINICIOPLANO";
  std::unique_ptr<TSQLDataSet> contas = ExecutarSQL(sql);
  TSQLDataSet& c = *contas;

  // The company's synthetic parent of each account.
  {
    auto sinteticas = ExecutarSQL("SELECT CLASSIFCONTA, TIPOCONTA, CONTACTB, DESCRCONTA FROM PLANOESPEC WHERE "
                                  "CODIGOEMPRESA = " + empresa + " AND TIPOCONTA = 1 ORDER BY CLASSIFCONTA, TIPOCONTA");
    std::set<std::string> classifs;
    for (sinteticas->First(); !sinteticas->Eof(); sinteticas->Next())
      classifs.insert(sinteticas->FieldByName("CLASSIFCONTA").AsString());
    TField& classif = c.FieldByName("CLASSIFCONTA");
    for (c.First(); !c.Eof(); c.Next()) {
      std::string k = classif.AsString();
      if (QtdNiveis(k) <= 1) continue;
      std::string achada;
      if (c.FieldByName("TIPOCONTA").AsInteger() == 2 && classifs.count(k))
        achada = k;
      else if (std::string s = RetirarUltimoNivelClassificacao(k); classifs.count(s))
        achada = s;
      if (!achada.empty()) {
        c.Edit();
        c.FieldByName("CONTASINTETICA").SetAsString(achada);
        c.Post();
      }
    }
  }

  // The court's synthetic accounts, keyed by their court classification without zero levels.
  std::unique_ptr<TSQLDataSet> sinteticasTce =
      ExecutarSQL(nUlmo::FormatSQL(nUlmoEsfingeOnline::TUlmoEsfingeOnlineSql::GetSqlConsultaContaSintetica(),
                                   {empresa, sistema, vigencia}));
  TSQLDataSet& sint = *sinteticasTce;
  for (sint.First(); !sint.Eof(); sint.Next()) {
    const std::string classif = sint.FieldByName("CLASSIFCONTATCE").AsString();
    FContaSinteticaTce[TUlmoEsfingeFuncoes::LimparClassificacaoConta(classif)] = classif;
  }

  TClientDataSet& g = FContas;
  if (!g.IsEmpty()) g.EmptyDataSet();
  g.SetIndexFieldNames("ClassifDescrContaCtb");
  TGradeEmCarga carga(g);
  std::set<std::string> jaProcessadas;
  for (c.First(); !c.Eof(); c.Next()) {
    const std::string k = TUlmoEsfingeFuncoes::LimparClassificacaoConta(c.FieldByName("CLASSIFCONTATCE").AsString());
    EscreverConta(g, LerConta(c, SuperiorDe(k)));
    if (!P.SomenteContasComMovimento || !P.ExibirContasSinteticas) continue;
    // Listing only moving accounts would drop their synthetic ancestors: add each once.
    for (std::string a = RetirarUltimoNivelClassificacao(k); !a.empty() && jaProcessadas.insert(a).second;
         a = RetirarUltimoNivelClassificacao(a)) {
      auto it = FContaSinteticaTce.find(a);
      if (it != FContaSinteticaTce.end() && sint.Locate("CLASSIFCONTATCE", {it->second}))
        EscreverConta(g, LerConta(sint, SuperiorDe(a)));
    }
  }
}

void TColetorEnvioEsfinge::PreencherLctos() {
  TClientDataSet& g = FLctos;
  if (!g.IsEmpty()) g.EmptyDataSet();
  g.SetIndexFieldNames("DataLancamento;NumeroSequencial");
  TGradeEmCarga carga(g);
  TEscritorGradeLctos escritor(g);
  TLeitorLctosEsfinge(P).Ler(FNumeroSeq, [&escritor](const TLinhaLctoEsfinge& r) { escritor.Escrever(r); });
}

void TColetorEnvioEsfinge::PreencherLctosAnoAnterior() {
  const TDateTime inicioAno = EncodeDate(YearOf(P.CompetInicial), 1, 1);
  nUlmoSaldoCtb::TPedidoSaldoCtb pedido;
  pedido.CodigoEmpresa = P.CodigoEmpresa;
  pedido.ClassifConta = {"1", "2"};  // the balance-sheet groups carry a balance into the year
  pedido.DataInicial = pedido.DataFinal = inicioAno;
  pedido.TotalizarSintetica = false;
  const std::vector<nUlmoSaldoCtb::TLinhaSaldoCtb> saldos = nUlmoSaldoCtb::GerarSaldoCtbTipado(pedido);

  // The opening balance counts under the mapping valid on the period's first day.
  std::unique_ptr<TSQLDataSet> mapa = ExecutarSQL(
      "SELECT TE.CONTACTB, TP.CONTATCE, TP.CLASSIFCONTA CLASSIFCONTATCE, TP.DESCRCONTA DESCRCONTATCE, "
      "TE.DATAINICIOPLANO, TE.DATAFIMPLANO, TP.CLASSIFCONTA, P.NATURSALDO, P.CLASSIFCONTA CLASSIFCONTAPLANOESPEC, "
      "P.DESCRCONTA DESCRCONTAPLANOESPEC FROM TCEPLANO TP JOIN TCEPLANOPLESPEC TE ON TP.CODIGOSISTEMATCE = "
      "TE.CODIGOSISTEMATCE AND TP.CONTATCE = TE.CONTATCE JOIN PLANOESPEC P ON TE.CODIGOEMPRESA = P.CODIGOEMPRESA "
      "AND TE.CONTACTB = P.CONTACTB WHERE TE.CODIGOEMPRESA = " + ValorParaSQL(P.CodigoEmpresa, TFieldType::ftInteger) +
      " AND TE.CODIGOSISTEMATCE = " + ValorParaSQL(P.CodigoSistema, TFieldType::ftInteger) + " AND " +
      nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteInicioPeriodo("TE", P.CompetInicial, P.CompetFinal) +
      " ORDER BY TE.CONTACTB");
  TSQLDataSet& m = *mapa;
  m.SetIndexFieldNames("CONTACTB");

  TClientDataSet& g = FLctos;
  g.SetIndexFieldNames("DataLancamento;NumeroSequencial");
  TGradeEmCarga carga(g);
  auto s = [&m](const char* n) { return m.FieldByName(n).AsString(); };
  for (const nUlmoSaldoCtb::TLinhaSaldoCtb& saldo : saldos) {
    const Currency valor = saldo.SaldoAnterior;
    if (valor == Currency()) continue;
    if (!m.FindKey({TVariant(saldo.ContaCtb)})) continue;
    TLinhaLctoEsfinge r;
    r.NumeroSlip = Slip(inicioAno);
    r.NumeroSequencial = ++FNumeroSeq;
    r.ContaTce = Codigo(m.FieldByName("CONTATCE"));
    r.ClassifDescrContaContabil = s("CLASSIFCONTA") + " " + s("DESCRCONTATCE");
    r.TipoLancamento = m.FieldByName("NATURSALDO").AsInteger() > 0 ? 2 : 1;
    r.TipoMovimentoContabil = 1;
    r.DescrTipoMovimentoContabil = "Abertura do Exercício";
    r.AnoCriacaoConta = Ano(m.FieldByName("DATAINICIOPLANO"));
    r.CodigoContaContabil = s("CLASSIFCONTA");
    r.DataInicioPlanoTce = Data(m.FieldByName("DATAINICIOPLANO"));
    r.DataFimPlanoTce = Data(m.FieldByName("DATAFIMPLANO"));
    r.ContaCtb = Codigo(m.FieldByName("CONTACTB"));
    r.ClassifDescrContaCtb = s("CLASSIFCONTAPLANOESPEC") + " " + s("DESCRCONTAPLANOESPEC");
    r.DataLancamento = saldo.DataSaldo;
    r.ValorLancamento = valor < Currency() ? -valor : valor;
    r.HistoricoLancamento = "Saldo Inicial do Exercício Anterior";
    EscreverLcto(g, r);
  }
}

void TColetorEnvioEsfinge::PreencherLctosImplantacao() {
  std::unique_ptr<TSQLDataSet> implantacao = ExecutarSQL(
      nUlmo::FormatSQL(kSQLImplantacao,
                       {nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteInicioPeriodo("T", P.CompetInicial, P.CompetFinal)}),
      {P.CodigoEmpresa, P.CodigoSistema});
  TSQLDataSet& i = *implantacao;
  TClientDataSet& g = FLctos;
  g.SetIndexFieldNames("DataLancamento;NumeroSequencial");
  TGradeEmCarga carga(g);
  auto s = [&i](const char* n) { return i.FieldByName(n).AsString(); };
  for (i.First(); !i.Eof(); i.Next()) {
    ++FNumeroSeq;
    TLinhaLctoEsfinge r;
    r.NumeroSlip = Slip(i.FieldByName("DATASALDO").AsDateTime());
    // Left-padded so that the counters stay distinct (999 + five digits).
    r.NumeroSequencial = std::stoi("999" + PreencherEsquerda(std::to_string(FNumeroSeq), 5, "0"));
    r.ContaTce = Codigo(i.FieldByName("CONTATCE"));
    r.ClassifDescrContaContabil = s("CLASSIFCONTA") + " " + s("DESCRCONTATCE");
    r.TipoLancamento = i.FieldByName("NATUREZASALDO").AsInteger() == 1 ? 2 : 1;
    r.TipoMovimentoContabil = 1;
    r.DescrTipoMovimentoContabil = "Abertura do Exercício";
    r.AnoCriacaoConta = Ano(i.FieldByName("DATAINICIOPLANO"));
    r.CodigoContaContabil = s("CLASSIFCONTA");
    r.DataInicioPlanoTce = Data(i.FieldByName("DATAINICIOPLANO"));
    r.DataFimPlanoTce = Data(i.FieldByName("DATAFIMPLANO"));
    r.ContaCtb = Codigo(i.FieldByName("CONTACTB"));
    r.ClassifDescrContaCtb = s("CLASSIFCONTAPLANOESPEC") + " " + s("DESCRCONTAPLANOESPEC");
    r.DataLancamento = Data(i.FieldByName("DATASALDO"));
    r.ValorLancamento = i.FieldByName("VALOR").AsCurrency();
    EscreverLcto(g, r);
  }
}

}  // namespace nUlmoEsfinge
