#include "UlmoArqRSGerarArquivoBalancete_U.h"

#include "FormatUtils_U.h"
#include "Mapper_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"
#include "UlmoSQLs_U.h"

namespace nUlmoRS {

using namespace nFramework;
using namespace nBalancete;

namespace {

// The court account of each company account: the trial balance covers the period, so the
// mapping valid on its last day.
std::string SQLPlanoTCE(TDateTime AInicio, TDateTime AFim) {
  return "select T.CONTACTB, TP.CONTATCE, TP.CLASSIFCONTA, TP.TIPOCONTA, T.TIPONATURSALDO NATUREZA, "
         "CASE WHEN T.TIPOSUPERAVITFINANC <> 'N' THEN T.TIPOSUPERAVITFINANC END TIPOSUPERAVITFINANC, "
         "COALESCE(T.DESCRDETALHCONTA, TP.DESCRCONTA) DESCRCONTA from TCEPLANOPLESPEC T "
         "join TCEPLANO TP on T.CODIGOSISTEMATCE = TP.CODIGOSISTEMATCE and T.CONTATCE = TP.CONTATCE "
         "where T.CODIGOSISTEMATCE = :CODIGOSISTEMA and T.CODIGOEMPRESA = :CODIGOEMPRESA and " +
         nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", AInicio, AFim) + " order by T.CONTACTB";
}

}  // namespace

TUlmoArqRSGerarArquivoBalancete::~TUlmoArqRSGerarArquivoBalancete() { LiberarDados(); }

void TUlmoArqRSGerarArquivoBalancete::CarregarDados() {
  FNaturezaGrupo = LerGrupos("NATURGRUPO");
  FTipoGrupos = LerGrupos("TIPOGRUPO");
  CarregarEmpresa();
  nUlmoSaldoCtb::TSaldoCtbTipado saldos;
  nUlmoSaldoCtb::TPedidoSaldoCtb pedido;
  pedido.CodigoEmpresa = FCodigoEmpresa;
  pedido.DataInicial = FDataInicial;
  pedido.DataFinal = FDataFinal;
  pedido.AgruparData = nUlmoSaldoCtb::TAgruparData::Periodo;
  pedido.TotalizarSintetica = true;
  pedido.ListarContasMovimentoZero = true;
  saldos.Executar(pedido);

  std::unique_ptr<TClientDataSet> planoConta = ExecutarSQL(SQLPlanoTCE(FDataInicial, FDataFinal), {FCodigoSistema, FCodigoEmpresa});
  planoConta->SetIndexFieldNames("CONTACTB");
  planoConta->First();
  std::unique_ptr<TClientDataSet> planoClass = CloneCDS(*planoConta);
  planoClass->SetIndexFieldNames("CLASSIFCONTA");
  planoClass->First();

  curSaldoTCE = std::make_unique<TClientDataSet>();
  TClientDataSet& s = *curSaldoTCE;
  s.AddFieldDef("CONTACTB", TFieldType::ftLargeint);
  s.AddFieldDef("CLASSIFCONTA", TFieldType::ftString, 50);
  s.AddFieldDef("TIPOCONTA", TFieldType::ftInteger);
  s.AddFieldDef("CODIGOESTAB", TFieldType::ftInteger);
  s.AddFieldDef("DATASALDO", TFieldType::ftDateTime);
  for (const char* n : {"SALDOANTERIOR", "DEBITO", "CREDITO", "MOVIMENTO", "SALDOATUAL"})
    s.AddFieldDef(n, TFieldType::ftCurrency);
  s.AddFieldDef("TIPOCONTACALC", TFieldType::ftInteger);
  s.AddFieldDef("DESCRCONTA", TFieldType::ftString, 150);
  s.CreateDataSet();
  s.SetIndexFieldNames("CLASSIFCONTA");

  Montar(saldos, *planoConta, *planoClass);

  s.SetIndexFieldNames("CLASSIFCONTA;TIPOCONTA;CONTACTB");
  s.First();
}

void TUlmoArqRSGerarArquivoBalancete::Montar(const nUlmoSaldoCtb::TSaldoCtbTipado& saldos, TClientDataSet& planoConta,
                                             TClientDataSet& planoClass) {
  TClientDataSet& s = *curSaldoTCE;
  TMapPlanoTCE& w = FieldMapper().MapearFields<TMapPlanoTCE>(s);
  TField& pcClassif = planoConta.FieldByName("CLASSIFCONTA");
  TField& pcTipo = planoConta.FieldByName("TIPOCONTA");
  TField& clConta = planoClass.FieldByName("CONTACTB");
  TField& clTipo = planoClass.FieldByName("TIPOCONTA");
  TField& clDescr = planoClass.FieldByName("DESCRCONTA");
  // Exact sums: the cents are rounded once, when the line is written.
  auto somar = [](TField* destino, Currency valor) { destino->SetAsCurrency(destino->AsCurrency() + valor); };
  const Currency zero;

  saldos.ParaCada([&](const nUlmoSaldoCtb::TLinhaSaldoCtb& b) {
    if (!planoConta.FindKey({b.ContaCtb})) return;
    if (pcTipo.AsInteger() != 2) return;
    if (b.SaldoAnterior == zero && b.Debito == zero && b.Credito == zero && b.SaldoAtual == zero) return;
    std::string c = pcClassif.AsString();
    while (!c.empty()) {
      int64_t conta = 0;
      if (planoClass.FindKey({TVariant(std::string_view(c))})) conta = clConta.AsLargeInt();
      if (conta != 0) {
        if (s.FindKey({TVariant(std::string_view(c))})) {
          s.Edit();
        } else {
          s.Append();
          for (TField* f : {w.SALDOANTERIOR, w.DEBITO, w.CREDITO, w.MOVIMENTO, w.SALDOATUAL}) f->SetAsCurrency(zero);
        }
        w.CONTACTB->SetAsInteger(conta);
        w.TIPOCONTA->SetAsInteger(clTipo.AsInteger());
        w.CLASSIFCONTA->SetAsString(c);
        w.DESCRCONTA->SetAsString(clDescr.AsString());
        w.CODIGOESTAB->SetAsInteger(b.CodigoEstab);
        w.DATASALDO->SetAsDateTime(b.DataSaldo);
        w.TIPOCONTACALC->SetAsInteger(b.TipoContaCalc);
        somar(w.SALDOANTERIOR, b.SaldoAnterior);
        somar(w.DEBITO, b.Debito);
        somar(w.CREDITO, b.Credito);
        somar(w.MOVIMENTO, b.Movimento);
        somar(w.SALDOATUAL, b.SaldoAtual);
        s.Post();
      }
      c = RetirarUltimoNivelClassificacao(c);
    }
  });
}

void TUlmoArqRSGerarArquivoBalancete::EscreverDetalhes(TEscritorLeiaute& escritor) {
  TClientDataSet& s = *curSaldoTCE;
  TMapPlanoTCE& w = FieldMapper().MapearFields<TMapPlanoTCE>(s);
  for (s.First(); !s.Eof(); s.Next()) {
    const std::string classif = w.CLASSIFCONTA->AsString();
    const int grupo = Grupo(classif, classif);
    const int natureza = ValorGrupo(FNaturezaGrupo, grupo, "NATURGRUPO", classif);
    const int tipoGrupo = ValorGrupo(FTipoGrupos, grupo, "TIPOGRUPO", classif);
    const Currency anterior = w.SALDOANTERIOR->AsCurrency(), atual = w.SALDOATUAL->AsCurrency();
    TRecDadosSaldoCTB d;
    // A positive balance is a debit one in a debit-nature group, a credit one otherwise.
    const bool devedora = natureza == 1;
    if ((anterior >= Currency()) == devedora)
      d.SaldoAnteriorDev = devedora ? anterior : -anterior;
    else
      d.SaldoAnteriorCred = devedora ? -anterior : anterior;
    if ((atual >= Currency()) == devedora)
      d.SaldoAtualDeb = devedora ? atual : -atual;
    else
      d.SaldoAtualCred = devedora ? -atual : atual;
    d.SaldoMovDebito = w.DEBITO->AsCurrency();
    d.SaldoMovCredito = w.CREDITO->AsCurrency();
    ++FContador;

    const TLeiaute& bal = LayoutBalancete();
    ConferirValorRS(d.SaldoAnteriorDev, FNomeArquivo, bal, classif, "SALDOANTERIORDEV");
    ConferirValorRS(d.SaldoAnteriorCred, FNomeArquivo, bal, classif, "SALDOANTERIORCRED");
    ConferirValorRS(d.SaldoMovDebito, FNomeArquivo, bal, classif, "MOVDEBITO");
    ConferirValorRS(d.SaldoMovCredito, FNomeArquivo, bal, classif, "MOVCREDITO");
    ConferirValorRS(d.SaldoAtualDeb, FNomeArquivo, bal, classif, "SALDOATUALDEB");
    ConferirValorRS(d.SaldoAtualCred, FNomeArquivo, bal, classif, "SALDOATUALCRED");
    escritor.Linha(bal, classif)
        .Numero(LimparStrToInteger(classif, "0"))
        .Valor(d.SaldoAnteriorDev)
        .Valor(d.SaldoAnteriorCred)
        .Valor(d.SaldoMovDebito)
        .Valor(d.SaldoMovCredito)
        .Valor(d.SaldoAtualDeb)
        .Valor(d.SaldoAtualCred)
        .Texto(w.DESCRCONTA->AsString())
        .Texto(w.TIPOCONTA->AsInteger() == 1 ? "S" : "A")
        .Numero(QtdNiveis(classif))
        .Texto(tipoGrupo == 3 ? "R" : "P")
        .Gravar();
  }
}

void TUlmoArqRSGerarArquivoBalancete::LiberarDados() { curSaldoTCE.reset(); }

}  // namespace nUlmoRS
