#include "UlmoArqRSGerarArquivoBalancete_U.h"

#include "ClassRegistry_U.h"
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

void TUlmoArqRSGerarArquivoBalancete::CarregarSaldos() {
  TnDataModule* dm = CriarDM("TKaloDPGerarSaldoCtbIndividual", nullptr, "SaldoCtb");
  FDMSaldoCtb = dynamic_cast<TnDMPowerParam*>(dm);
  if (!FDMSaldoCtb) {
    DestruirDMDefinitivo(dm);
    throw EInternalError("TKaloDPGerarSaldoCtbIndividual não é um processo com parâmetros");
  }
  TnDMPowerParam& p = *FDMSaldoCtb;
  p.Param("pCodigoEmpresa").SetValue(std::to_string(FCodigoEmpresa));
  p.Param("pCodigoEstab").SetValue("");
  p.Param("pContaCtb").SetValue("");
  p.Param("pClassifConta").SetValue("");
  p.Param("pDataInicial").SetValue(DateToStr(FDataInicial));
  p.Param("pDataFinal").SetValue(DateToStr(FDataFinal));
  p.Param("pCodigoMoeda").SetValue("0");
  p.Param("pRelacionarEstab").SetValue("0");
  p.Param("pTipoAgruparData").SetValue("0");
  p.Param("pTotalizarSintetica").SetValue("1");
  p.Param("pConsiderarFiltroLctoCtb").SetValue("0");
  p.Param("pListarContasMovimentoZero").SetValue("1");
  p.Param("pFiltroOrigemLcto").SetValue("");
  p.Executar();
  cdsSaldoCtb = &p.ComponentByName<TClientDataSet>("nClientDataSet");
  cdsSaldoCtb->SetIndexFieldNames("CLASSIFCONTA;TIPOCONTA;CONTACTB");
  cdsSaldoCtb->First();
}

void TUlmoArqRSGerarArquivoBalancete::CarregarDados() {
  FNaturezaGrupo = LerGrupos("NATURGRUPO");
  FTipoGrupos = LerGrupos("TIPOGRUPO");
  CarregarEmpresa();
  CarregarSaldos();

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
  for (const char* n : {"SALDOANTERIOR", "DEBITO", "CREDITO", "MOVIMENTO", "SALDOATUAL", "SEMSALDOMOV"})
    s.AddFieldDef(n, TFieldType::ftCurrency);
  s.AddFieldDef("SINTFILIAL", TFieldType::ftInteger);
  s.AddFieldDef("TIPOCONTACALC", TFieldType::ftInteger);
  s.AddFieldDef("DESCRCONTA", TFieldType::ftString, 150);
  s.CreateDataSet();
  s.SetIndexFieldNames("CLASSIFCONTA");

  Montar(*planoConta, *planoClass);

  s.SetIndexFieldNames("CLASSIFCONTA;TIPOCONTA;CONTACTB");
  s.First();
}

void TUlmoArqRSGerarArquivoBalancete::Montar(TClientDataSet& planoConta, TClientDataSet& planoClass) {
  TClientDataSet& saldos = *cdsSaldoCtb;
  TClientDataSet& s = *curSaldoTCE;
  TMapCdsSaldo& b = FieldMapper().MapearFields<TMapCdsSaldo>(saldos);
  TMapPlanoTCE& w = FieldMapper().MapearFields<TMapPlanoTCE>(s);
  TField& pcClassif = planoConta.FieldByName("CLASSIFCONTA");
  TField& pcTipo = planoConta.FieldByName("TIPOCONTA");
  TField& clConta = planoClass.FieldByName("CONTACTB");
  TField& clTipo = planoClass.FieldByName("TIPOCONTA");
  TField& clDescr = planoClass.FieldByName("DESCRCONTA");
  auto valor = [](TField* f) { return f && !f->IsNull() ? f->AsCurrency() : Currency(); };
  // Exact sums: the cents are rounded once, when the line is written.
  auto somar = [&](TField* destino, TField* origem) {
    if (destino) destino->SetAsCurrency(valor(destino) + valor(origem));
  };
  const Currency zero;

  for (saldos.First(); !saldos.Eof(); saldos.Next()) {
    if (!planoConta.FindKey({b.CONTACTB->AsLargeInt()})) continue;
    if (pcTipo.AsInteger() != 2) continue;
    if (valor(b.SALDOANTERIOR) == zero && valor(b.DEBITO) == zero && valor(b.CREDITO) == zero &&
        valor(b.SALDOATUAL) == zero)
      continue;
    std::string c = pcClassif.AsString();
    while (!c.empty()) {
      int64_t conta = 0;
      if (planoClass.FindKey({TVariant(std::string_view(c))})) conta = clConta.AsLargeInt();
      if (conta != 0) {
        if (s.FindKey({TVariant(std::string_view(c))})) {
          s.Edit();
        } else {
          s.Append();
          for (TField* f : {w.SALDOANTERIOR, w.DEBITO, w.CREDITO, w.MOVIMENTO, w.SALDOATUAL, w.SEMSALDOMOV})
            f->SetAsCurrency(zero);
        }
        w.CONTACTB->SetAsInteger(conta);
        w.TIPOCONTA->SetAsInteger(clTipo.AsInteger());
        w.CLASSIFCONTA->SetAsString(c);
        w.DESCRCONTA->SetAsString(clDescr.AsString());
        if (b.CODIGOESTAB) w.CODIGOESTAB->SetAsInteger(b.CODIGOESTAB->AsInteger());
        if (b.DATASALDO) w.DATASALDO->SetAsDateTime(b.DATASALDO->AsDateTime());
        if (b.SINTFILIAL && !b.SINTFILIAL->IsNull()) w.SINTFILIAL->SetAsInteger(b.SINTFILIAL->AsLargeInt());
        if (b.TIPOCONTACALC && !b.TIPOCONTACALC->IsNull()) w.TIPOCONTACALC->SetAsInteger(b.TIPOCONTACALC->AsLargeInt());
        somar(w.SALDOANTERIOR, b.SALDOANTERIOR);
        somar(w.DEBITO, b.DEBITO);
        somar(w.CREDITO, b.CREDITO);
        somar(w.MOVIMENTO, b.MOVIMENTO);
        somar(w.SALDOATUAL, b.SALDOATUAL);
        somar(w.SEMSALDOMOV, b.SEMSALDOMOV);
        s.Post();
      }
      c = RetirarUltimoNivelClassificacao(c);
    }
  }
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

void TUlmoArqRSGerarArquivoBalancete::LiberarDados() {
  cdsSaldoCtb = nullptr;
  if (FDMSaldoCtb) DestruirDMDefinitivo(FDMSaldoCtb);
  curSaldoTCE.reset();
}

}  // namespace nUlmoRS
