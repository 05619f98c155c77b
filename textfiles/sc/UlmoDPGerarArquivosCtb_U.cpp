#include "UlmoDPGerarArquivosCtb_U.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <unordered_map>

#include "ClassRegistry_U.h"
#include "ConjuntoArquivos_U.h"
#include "Contexto_U.h"
#include "Encoding_U.h"
#include "FileUtils_U.h"
#include "FormatUtils_U.h"
#include "LayoutsSC_U.h"
#include "ListaLinhas_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"
#include "UlmoFuncoes_U.h"
#include "UlmoParametros_U.h"
#include "UlmoSQLs_U.h"
#include "UlmoMenuRegra_U.h"

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

// Column positions of CDSMovimento, in declaration order.
enum TColMovimento { mANOCONTA, mCONTACTB, mTIPOMOVIM, mCOMPET, mVALORDEB, mVALORCRED, mCLASSIF };

// The mapped accounts with their court account and attributes; a condition on the mapping
// follows: the one of the period's last day (the account file), or kSQLMapeamentosDoPeriodo,
// every row valid in part of the period (the entries are read row by row).
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
    ",I.DATASALDO, I.NATUREZASALDO, T.DATAINICIOPLANO, TP.CLASSIFCONTA ";

// Entries of one account within its mapping's validity and the period, debit side (2) and credit
// side (1), each only when this mapping is the one valid on its date, so an entry counts once
// however the account's mappings overlap. The history is a left join: an entry whose history
// code has no row is still exported, with an empty history.
std::string SQLLancamentos() {
  auto lado = [](const char* tipo, const char* conta, const char* parametro) {
    std::string c = conta;
    return std::string(" select  L.CHAVELCTOCTB ,L.DATALCTOCTB ,L.CODIGOLOTECTB ,CAST(") + tipo +
           " as SmallInt) TIPOLCTO ,L.VALORLCTOCTB ,L.CODIGOORIGLCTOCTB ,H.DESCRHISTCTB ,L.COMPLHIST from LCTOCTB L  "
           "left join historicoctb H  on H.CODIGOHISTCTB = L.CODIGOHISTCTB where L." + c + " is not null and L." + c +
           " = :" + parametro +
           " and L.CODIGOEMPRESA = :pCodigoEmpresa and L.DATALCTOCTB between :pDataIniPlano and :pDataFimPlano and "
           "L.DATALCTOCTB between :pDataInicial and :pDataFinal and " +
           nUlmo::TUlmoSQLs::GetSQLCondSemPlanoPosteriorNaData("L.CODIGOEMPRESA", "L." + c, ":pCodigoSistema",
                                                               ":pDataIniPlano", "L.DATALCTOCTB");
  };
  return lado("2", "CONTACTBDEB", "pContaCtb1") + " union" + lado("1", "CONTACTBCRED", "pContaCtb2") + " order by 2, 1 ";
}

int Ano(TDateTime d) { return YearOf(d); }

// The competence yyyymm of a date, as a number and as text.
int Competencia(TDateTime d) {
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  return y * 100 + m;
}

std::string_view CompetenciaTexto(TDateTime d, char (&buf)[16]) {
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  int n = std::snprintf(buf, sizeof buf, "%04d%02d", y, m);
  return std::string_view(buf, static_cast<size_t>(n));
}

// Keeps the fixed-width lines written into it, to be written in order once all are known.
class TLinhasOrdenadas final : public IOutputSink {
 public:
  explicit TLinhasOrdenadas(size_t largura) : FLargura(largura + 2) {}
  void Write(std::string_view bytes) override {
    if (bytes.size() % FLargura != 0) throw EInternalError("linha de largura errada no arquivo LancamentoContabil");
    for (size_t i = 0; i < bytes.size(); i += FLargura) FLinhas.Add(bytes.substr(i, FLargura - 2));
  }
  void Commit() override {}
  // Sorted by competence and sequence: the lines' first characters.
  void GravarEm(IOutputSink& saida) {
    FLinhas.Sort();
    std::string bloco;
    for (size_t i = 0; i < FLinhas.Count(); ++i) {
      bloco.append(FLinhas[i]);
      bloco += "\r\n";
      if (bloco.size() > (1 << 20)) {
        saida.Write(bloco);
        bloco.clear();
      }
    }
    saida.Write(bloco);
  }

 private:
  size_t FLargura;
  TListaLinhas FLinhas;  // millions of lines: one buffer
};

}  // namespace

// The mapping of a company account that a month's movements and applications count under.
struct TMapeamentoMes {
  int Ano = 0;  // year of its start
  std::string Classif;
  bool AplicFinanceira = false;
};

// Everything one run holds; freed when the run ends, however it ends.
struct TUlmoDPGerarArquivosCtb::TExecucao {
  int Empresa = 0;
  int Contador = 0;
  TLinhasOrdenadas Lancamentos{static_cast<size_t>(LayoutLancamentoContabil().Largura())};
  TEscritorLeiaute EscritorLancamentos{Lancamentos, "LancamentoContabil.txt"};
  std::vector<std::string> OrigensNaoRelacionadas;
  std::string OrigAplicado, OrigResgatado, OrigRendimento;
  bool GerarAplicacao = false;
  TVariant Naturezas;
  std::unique_ptr<TClientDataSet> Contas;       // the chart: one row per account
  std::unique_ptr<TClientDataSet> Mapeamentos;  // every mapping row valid in part of the period
  std::map<int, std::unordered_map<int64_t, TMapeamentoMes>> Meses;  // competence -> account -> mapping
  std::unique_ptr<TClientDataSet> Origens;
  std::unique_ptr<TSQLDataSet> Lctos;
  std::unique_ptr<TSQLDataSet> Implantacao;
  std::unique_ptr<TnFraProgresso> Progresso;
  // Reused for every entry: no allocation per key search or history.
  std::vector<TVariant> ChaveOrigem{Null}, ChaveMov{Null, Null, Null, Null}, ChaveFin{Null, Null, Null};
  std::string Historico;
  // The movement row last written and its key.
  int64_t MovAtual = -1;
  int MovAno = 0, MovTipo = 0, MovCompet = 0;
  int64_t MovConta = 0;
};

TUlmoDPGerarArquivosCtb::TUlmoDPGerarArquivosCtb() {
  SetCaption("Gerar Arquivos Contábeis - SC");
  AddParam({.Alias = "pCodigoSistemaTCE", .Dicionario = "CODIGOSISTEMATCE", .Visivel = false});
  AddParam({.Alias = "pCompetInicial", .Caption = "Data Inicial", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data inicial para geração"});
  AddParam({.Alias = "pCompetFinal", .Caption = "Data Final", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data final para geração"});
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA", .Obrigatorio = true,
            .Hint = "Informe as empresas para geração"});
  AddParam({.Alias = "pIncluirImplSaldo", .Caption = "Incluir Implantação de Saldo", .Dicionario = "DICSIMNAO",
            .Padrao = "0", .Obrigatorio = true, .Hint = "Informe se é para apurar as implantaçãoes de saldos"});
  AddParam({.Alias = "pGeraAplicFinanceira", .Caption = "Gerar Arquivo de Aplicação Finaceira", .Dicionario = "DICSIMNAO",
            .Padrao = "0", .Obrigatorio = true,
            .Hint = "Deseja gerar o arquivo de aplicação finaceira, informe \"Sim\" caso contrário informe \"Não\""});
  AddParam({.Alias = "pGerarContaIncAlt", .Caption = "Gerar Somente Contas Incluídas/Alteradas",
            .Dicionario = "DICSIMNAO", .Padrao = "0", .Obrigatorio = true,
            .Hint = "Informe se é para gerar os arquivos somente com as contas Incluídas e Alteradas"});
  const char* origemExpr = "IGUAL(PGERAAPLICFINANCEIRA,1)";
  AddParam({.Alias = "pOriLctoAplicado", .Caption = "Origem Lançamentos Aplicados", .Dicionario = "CODIGOORIGLCTOCTB",
            .Hint = "Informe a origem para o filtro dos lançamentos aplicados", .ExpressaoHabilitado = origemExpr,
            .ExpressaoObrigatorio = origemExpr, .ClasseLookup = "KaloDCOrigemLctoCtb", .CampoLookup = "CodigoOrigLctoCtb"});
  AddParam({.Alias = "pOriLctoResgatado", .Caption = "Origem Lançamentos Resgatados", .Dicionario = "CODIGOORIGLCTOCTB",
            .Hint = "Informe a origem para o filtro dos lançamentos resgatados", .ExpressaoHabilitado = origemExpr,
            .ExpressaoObrigatorio = origemExpr, .ClasseLookup = "KaloDCOrigemLctoCtb", .CampoLookup = "CodigoOrigLctoCtb"});
  AddParam({.Alias = "pOriLctoRendimento", .Caption = "Origem Lançamentos Rendimentos",
            .Dicionario = "CODIGOORIGLCTOCTB", .Hint = "Informe a origem para o filtro dos lançamentos rendimentos",
            .ExpressaoHabilitado = origemExpr, .ExpressaoObrigatorio = origemExpr,
            .ClasseLookup = "KaloDCOrigemLctoCtb", .CampoLookup = "CodigoOrigLctoCtb"});
  AddParam({.Alias = "pDiretorio", .Caption = "Pasta Destino", .Dicionario = "DICDIRETORIO", .Obrigatorio = true,
            .Hint = "Informe a pasta onde serão gerados os arquivos"});

  auto mov = std::make_unique<TClientDataSet>();
  mov->AddFieldDef("ANOCONTA", TFieldType::ftInteger);
  mov->AddFieldDef("CONTACTB", TFieldType::ftLargeint);
  mov->AddFieldDef("TIPOMOVIM", TFieldType::ftSmallint);
  mov->AddFieldDef("COMPET", TFieldType::ftInteger);
  mov->AddFieldDef("VALORDEB", TFieldType::ftCurrency);
  mov->AddFieldDef("VALORCRED", TFieldType::ftCurrency);
  mov->AddFieldDef("CLASSIF", TFieldType::ftString, 50);
  mov->CreateDataSet();
  FCDSMovimento = &AddComponent("CDSMovimento", std::move(mov));

  auto fin = std::make_unique<TClientDataSet>();
  fin->AddFieldDef("AnoConta", TFieldType::ftInteger);
  fin->AddFieldDef("CodContaCtb", TFieldType::ftLargeint);
  fin->AddFieldDef("Classificacao", TFieldType::ftString, 50);
  fin->AddFieldDef("Competencia", TFieldType::ftInteger);
  fin->AddFieldDef("VlrAplicado", TFieldType::ftCurrency);
  fin->AddFieldDef("VlrResgatado", TFieldType::ftCurrency);
  fin->AddFieldDef("VlrRendimento", TFieldType::ftCurrency);
  fin->CreateDataSet();
  FcdsFinanceira = &AddComponent("cdsFinanceira", std::move(fin));

  auto seq = std::make_unique<TClientDataSet>();
  seq->AddFieldDef("CHAVE", TFieldType::ftInteger);
  seq->AddFieldDef("SEQ", TFieldType::ftInteger);
  seq->CreateDataSet();
  FcdsSeq = &AddComponent("cdsSeq", std::move(seq));
}

void TUlmoDPGerarArquivosCtb::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                               const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPGerarArquivosCtb::DataModuleCreate() {
  TnDMPowerParam::DataModuleCreate();
  SetMsgExibir(true);
  SetBooleanoBase(false);
}

void TUlmoDPGerarArquivosCtb::ValidarParametros(int& AEmpresa) {
  nUlmo::TPeriodoParametros periodo = nUlmo::LerPeriodoParametros(*this, "pCompetInicial", "pCompetFinal");
  FCompetInicial = periodo.Inicio;
  FCompetFinal = periodo.Fim;
  AEmpresa = nUlmo::LerEmpresaParametro(*this);

  int sistema = StrToIntDef(Param("pCodigoSistemaTCE").AsString(), 0);
  if (sistema < 1) {
    if (const TVariant* sel = TnSelecao::GetParams().Encontrar("CODIGOSISTEMATCE"))
      sistema = VarToIntDef(*sel, 0);
    else
      sistema = nUlmo::TUlmoFuncoes::GetSistemaTCE(AEmpresa);
  }
  FCodigoSistema = sistema;
  if (FCodigoSistema == 0) throw EnParam(Param("pCompetInicial"), "Sistema inválido!");
}

void TUlmoDPGerarArquivosCtb::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  int empresa;
  ValidarParametros(empresa);
}

void TUlmoDPGerarArquivosCtb::Executar() {
  TnDMPowerParam::Executar();
  TExecucao exec;
  if (!FCDSMovimento->IsEmpty()) FCDSMovimento->EmptyDataSet();
  if (!FcdsSeq->IsEmpty()) FcdsSeq->EmptyDataSet();
  if (!FcdsFinanceira->IsEmpty()) FcdsFinanceira->EmptyDataSet();

  ValidarParametros(exec.Empresa);

  exec.GerarAplicacao = StrToInt(Trim(Param("pGeraAplicFinanceira").AsString())) == 1;
  if (exec.GerarAplicacao) {
    exec.OrigRendimento = Trim(Param("pOriLctoRendimento").AsString());
    exec.OrigResgatado = Trim(Param("pOriLctoResgatado").AsString());
    exec.OrigAplicado = Trim(Param("pOriLctoAplicado").AsString());
  }
  FGerarContaIncAlt = StrToIntDef(Trim(Param("pGerarContaIncAlt").AsString()), 0) == 1;

  exec.Naturezas = PegarValorCampo(
      "CFGPLANOESPEC", "NATURGRUPO1,NATURGRUPO2,NATURGRUPO3,NATURGRUPO4,NATURGRUPO5,NATURGRUPO6,NATURGRUPO7,NATURGRUPO8,NATURGRUPO9",
      "CODIGOEMPRESA = " + ValorParaSQL(exec.Empresa, TFieldType::ftInteger));

  exec.Contas = CriarListaContas(exec.Empresa);
  exec.Mapeamentos = CriarListaMapeamentos(exec.Empresa);

  // The run's objects are freed before its read-only transaction ends, however the run ends.
  TTransacaoRO transacao(Conexao(), 1);
  struct TFechamento {
    TExecucao& E;
    ~TFechamento() {
      E.Contas.reset();
      E.Mapeamentos.reset();
      E.Origens.reset();
      E.Lctos.reset();
      E.Implantacao.reset();
      if (E.Progresso) E.Progresso->Hide();
      E.Progresso.reset();
    }
  } fechamento{exec};

  if (exec.Contas->IsEmpty()) {
    // An error: no file is written, so the run did not do what was asked.
    MsgTree(tmErro, "Nenhuma conta contábil relacionada foi encontrada no período selecionado!");
    return;
  }
  exec.Origens = CriarListaOrigens();
  if (exec.Origens->IsEmpty()) {
    MsgTree(tmErro, "Nenhuma origem contábil foi relacionada!");
    MsgTree(tmParada, "Processo cancelado!");
    return;
  }
  exec.Origens->SetIndexFieldNames("CODIGOORIGLCTOCTB");

  bool incluirImplantacao = StrToIntDef(Trim(Param("pIncluirImplSaldo").AsString()), 0) == 1;
  if (incluirImplantacao) {
    exec.Implantacao = ExecutarSQL(
        nUlmo::FormatSQL(kSQLImplantacao,
                         {nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteInicioPeriodo("T", FCompetInicial, FCompetFinal)}),
        {exec.Empresa, FCodigoSistema});
    exec.Implantacao->SetIndexFieldNames("CONTACTB;DATASALDO");
    exec.Implantacao->First();
  }

  FCDSMovimento->SetIndexFieldNames("ANOCONTA;CONTACTB;TIPOMOVIM;COMPET");
  FcdsFinanceira->SetIndexFieldNames("ANOCONTA;CODCONTACTB;COMPETENCIA");

  CarregarMapeamentosMes(exec);

  exec.Progresso = CriarProgresso(this);
  exec.Progresso->MostrarMultiplo();
  exec.Progresso->SetMaxTotal(exec.Mapeamentos->RecordCount());
  exec.Progresso->SetTextoTotal("Apurando Contas Contábeis...");

  if (incluirImplantacao) ProcessarSaldosImplantados(exec);

  for (exec.Mapeamentos->First(); !exec.Mapeamentos->Eof(); exec.Mapeamentos->Next()) {
    ProcessarConta(exec);
    exec.Progresso->IncProgressoTotal(0);
  }
  GravarArquivos(exec);


  if (!exec.OrigensNaoRelacionadas.empty()) {
    std::string lista;
    for (const auto& o : exec.OrigensNaoRelacionadas) lista += (lista.empty() ? "" : ";") + (o.empty() ? std::string("(sem origem)") : o);
    MsgTree(tmErro, "Origens contábeis encontradas em lançamentos e não relacionadas com tipo de movimento TCE: " + lista);
    MsgTree(tmAviso, "Os lançamentos que possuem as origens citadas acima não foram gerados/apurados!");
  }
}

std::unique_ptr<TClientDataSet> TUlmoDPGerarArquivosCtb::CriarListaContas(int ACodigoEmpresa) {
  // The chart covers the period: each account under the mapping valid on its last day.
  return ListaContas(std::string(kSQLContas) + "and " +
                         nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", FCompetInicial, FCompetFinal),
                     {ACodigoEmpresa, FCodigoSistema});
}

std::unique_ptr<TClientDataSet> TUlmoDPGerarArquivosCtb::CriarListaMapeamentos(int ACodigoEmpresa) {
  TVariant ini = TVariant::FromDate(FCompetInicial), fim = TVariant::FromDate(FCompetFinal);
  return ListaContas(std::string(kSQLContas) + kSQLMapeamentosDoPeriodo,
                     {ACodigoEmpresa, FCodigoSistema, ini, fim, ini, fim, ini, fim});
}

std::unique_ptr<TClientDataSet> TUlmoDPGerarArquivosCtb::ListaContas(const std::string& ASQL, const TValores& AValores) {
  TTransacaoRO transacao(Conexao(), 1);
  auto contas = ExecutarSQL(ASQL, AValores);
  auto plano = ExecutarSQL(kSQLPlanoEmpresa, {AValores.at(0)});
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
  auto copia = CloneCDS(*contas);
  copia->Name = "ListaContas";
  return copia;
}

void TUlmoDPGerarArquivosCtb::CarregarMapeamentosMes(TExecucao& AExec) {
  for (TDateTime mes = StartOfTheMonth(FCompetInicial); mes <= FCompetFinal; mes = IncMonth(mes)) {
    TDateTime inicio = std::max(mes, DateOf(FCompetInicial)), fim = std::min(EndOfTheMonth(mes), DateOf(FCompetFinal));
    auto ds = ExecutarSQL(std::string(kSQLMapeamentoMes) +
                              nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", inicio, fim),
                          {AExec.Empresa, FCodigoSistema});
    auto& contas = AExec.Meses[Competencia(mes)];
    TField& conta = ds->FieldByName("CONTACTB");
    TField& inicioPlano = ds->FieldByName("DATAINICIOPLANO");
    TField& aplic = ds->FieldByName("APLICFINANCEIRA");
    TField& classif = ds->FieldByName("CLASSIFCONTATCE");
    for (ds->First(); !ds->Eof(); ds->Next())
      contas[conta.AsLargeInt()] = {Ano(inicioPlano.AsDateTime()), classif.AsString(), aplic.AsString() == "1"};
  }
}

std::unique_ptr<TClientDataSet> TUlmoDPGerarArquivosCtb::CriarListaOrigens() {
  TTransacaoRO transacao(Conexao(), 1);
  auto origens = ExecutarSQL(kSQLOrigens, {FCodigoSistema});
  auto copia = CloneCDS(*origens);
  copia->Name = "ListaOrigens";
  return copia;
}

void TUlmoDPGerarArquivosCtb::ProcessarSaldosImplantados(TExecucao& AExec) {
  TClientDataSet& imp = *AExec.Implantacao;
  if (imp.IsEmpty()) return;
  TField& conta = imp.FieldByName("CONTACTB");
  TField& data = imp.FieldByName("DATASALDO");
  TField& natureza = imp.FieldByName("NATUREZASALDO");
  TField& inicio = imp.FieldByName("DATAINICIOPLANO");
  TField& classif = imp.FieldByName("CLASSIFCONTA");
  TField& valor = imp.FieldByName("VALOR");
  TClientDataSet& mov = *FCDSMovimento;
  for (imp.First(); !imp.Eof(); imp.Next()) {
    // The side of an opening balance must be known: both files take it from the same value.
    int nat = natureza.AsInteger();
    if (natureza.IsNull() || (nat != 1 && nat != -1))
      throw Exception("O saldo implantado da conta contábil " + conta.AsString() + " em " + DateToStr(data.AsDateTime()) +
                      " tem natureza \"" + natureza.AsString() +
                      "\"; informe 1 (devedora) ou -1 (credora). Nenhum arquivo foi gerado.");
    ++AExec.Contador;
    const std::string contaTexto = conta.AsString();
    // Opening balances are numbered 999nnnnn: five digits of their own.
    const std::string sequencial = std::to_string(AExec.Contador);
    if (sequencial.size() > 5)
      throw ENaoCabe("LancamentoContabil.txt", LayoutLancamentoContabil().Nome, contaTexto, "Sequencial", sequencial, 5,
                     false);
    const Currency v = valor.AsCurrency();
    AExec.EscritorLancamentos.Linha(LayoutLancamentoContabil(), contaTexto)
        .Texto(FormatDateTime("yyyymm", data.AsDateTime()))
        .Numero("999" + FmtNumero(sequencial, 5))
        .Numero(nat == 1 ? 2 : 1)
        .Numero(1)
        .Numero(Ano(inicio.AsDateTime()))
        .Texto(classif.AsStringView())
        .Data(data.AsDateTime())
        .Valor(v)
        .Texto("")
        .Gravar();

    int ano = Ano(inicio.AsDateTime());
    int compet = Competencia(data.AsDateTime());
    const int64_t contaCodigo = conta.AsLargeInt();
    if (mov.FindKey({ano, contaCodigo, 1, compet})) {
      mov.Edit();
    } else {
      mov.Append();
      mov.Fields(mANOCONTA).SetAsInteger(ano);
      mov.Fields(mCONTACTB).SetAsInteger(contaCodigo);
      mov.Fields(mTIPOMOVIM).SetAsInteger(1);
      mov.Fields(mCOMPET).SetAsInteger(compet);
      mov.Fields(mCLASSIF).SetAsString(classif.AsStringView());
      if (nat == -1)
        mov.Fields(mVALORDEB).SetAsCurrency(Currency());
      else
        mov.Fields(mVALORCRED).SetAsCurrency(Currency());
    }
    TField& lado = mov.Fields(nat == -1 ? mVALORCRED : mVALORDEB);
    lado.SetAsCurrency(lado.AsCurrency() + v);
    mov.Post();
  }
}

void TUlmoDPGerarArquivosCtb::ProcessarConta(TExecucao& AExec) {
  TClientDataSet& contas = *AExec.Mapeamentos;
  std::string classif = contas.Fields(cCLASSIFCONTA).AsString();
  std::string contaCtb = contas.Fields(cCONTACTB).AsString();
  const int64_t contaValor = contas.Fields(cCONTACTB).AsLargeInt();
  TDateTime iniPlano = contas.Fields(cDATAINICIOPLANO).AsDateTime();
  TDateTime fimPlano = contas.Fields(cDATAFIMPLANO).AsDateTime();
  std::string classifTCE = contas.Fields(cCLASSIFCONTATCE).AsString();
  bool aplicFinanceira = contas.Fields(cAPLICFINANCEIRA).AsString() == "1";
  int ano = Ano(iniPlano);

  // The account's group nature: NATURGRUPOk, k the first digit of its classification (1 for a
  // letter). A company without the settings, or a group without a nature, stops the run here
  // with a message that says what to fix.
  int k = (!classif.empty() && classif[0] >= '0' && classif[0] <= '9') ? classif[0] - '0' : 1;
  if (!AExec.Naturezas.IsArray())
    throw Exception("A configuração do plano de contas da empresa " + std::to_string(AExec.Empresa) +
                    " (naturezas dos grupos NATURGRUPO1 a NATURGRUPO9) não foi encontrada. Nenhum arquivo foi gerado.");
  if (k == 0)
    throw Exception("A conta contábil " + contaCtb + " (" + classif +
                    ") começa pelo dígito 0, que não tem natureza de grupo na configuração do plano de contas da empresa " +
                    std::to_string(AExec.Empresa) + ". Nenhum arquivo foi gerado.");
  const TVariant& natGrupo = AExec.Naturezas[static_cast<size_t>(k - 1)];
  int64_t n64;
  if (natGrupo.IsNull() || !TryStrToInt64(natGrupo.AsString(), n64))
    throw Exception("A natureza do grupo " + std::to_string(k) + " (NATURGRUPO" + std::to_string(k) +
                    ") não está informada na configuração do plano de contas da empresa " + std::to_string(AExec.Empresa) +
                    "; ela é necessária para a conta contábil " + contaCtb + " (" + classif + "). Nenhum arquivo foi gerado.");
  int n = static_cast<int>(n64);

  TValores todos = {TVariant(contaValor),
                    AExec.Empresa,
                    TVariant::FromDate(iniPlano),
                    TVariant::FromDate(fimPlano),
                    TVariant::FromDate(FCompetInicial),
                    TVariant::FromDate(FCompetFinal),
                    FCodigoSistema,
                    TVariant(contaValor)};
  if (!AExec.Lctos)
    AExec.Lctos = ExecutarSQL(SQLLancamentos(), todos);
  else
    RefreshSQL(*AExec.Lctos, todos, true);

  TClientDataSet& l = *AExec.Lctos;
  AExec.Progresso->SetMaxParcial(l.RecordCount());
  AExec.Progresso->SetTextoParcial("Apurando conta: " + contaCtb);
  if (l.IsEmpty()) return;

  TField& fData = l.FieldByName("DATALCTOCTB");
  TField& fTipo = l.FieldByName("TIPOLCTO");
  TField& fValor = l.FieldByName("VALORLCTOCTB");
  TField& fOrigem = l.FieldByName("CODIGOORIGLCTOCTB");
  TField& fDescr = l.FieldByName("DESCRHISTCTB");
  TField& fCompl = l.FieldByName("COMPLHIST");
  TClientDataSet& origens = *AExec.Origens;
  TField& oTipoMovim = origens.FieldByName("CODIGOTIPOMOVIMCTB");
  TClientDataSet& mov = *FCDSMovimento;
  TClientDataSet& fin = *FcdsFinanceira;
  TField& finAplicado = fin.FieldByName("VlrAplicado");
  TField& finResgatado = fin.FieldByName("VlrResgatado");
  TField& finRendimento = fin.FieldByName("VlrRendimento");

  // A month's movements and applications count under the mapping valid on its last day; this
  // row stands in should the month have none (it is valid on the entry's date).
  const TMapeamentoMes desteMapeamento{ano, classifTCE, aplicFinanceira};
  const int64_t contaChave = contaValor;
  int competMes = -1;
  const TMapeamentoMes* doMes = &desteMapeamento;

  for (l.First(); !l.Eof(); l.Next()) {
    TDateTime data = fData.AsDateTime();
    int tipo = fTipo.AsInteger();
    const Currency v = fValor.AsCurrency();
    std::string origem(fOrigem.AsStringView());
    std::string origemAparada = Trim(origem);
    const int compet = Competencia(data);
    if (compet != competMes) {
      competMes = compet;
      doMes = &desteMapeamento;
      if (auto m = AExec.Meses.find(competMes); m != AExec.Meses.end())
        if (auto it = m->second.find(contaChave); it != m->second.end()) doMes = &it->second;
    }
    const int anoMes = doMes->Ano;

    // Financial applications: the entry counts when its origin is one of the three chosen
    // origins (a whole item; an empty origin never matches).
    if (AExec.GerarAplicacao && doMes->AplicFinanceira && !origemAparada.empty()) {
      TField* coluna = nullptr;
      if (origemAparada == AExec.OrigAplicado) coluna = &finAplicado;
      else if (origemAparada == AExec.OrigResgatado) coluna = &finResgatado;
      else if (origemAparada == AExec.OrigRendimento) coluna = &finRendimento;
      if (coluna) {
        AExec.ChaveFin[0] = anoMes;
        AExec.ChaveFin[1] = contaValor;
        AExec.ChaveFin[2] = compet;
        if (fin.FindKey(AExec.ChaveFin)) {
          fin.Edit();
        } else {
          fin.Append();
          fin.FieldByName("AnoConta").SetAsInteger(anoMes);
          fin.FieldByName("CodContaCtb").SetAsInteger(contaValor);
          fin.FieldByName("Competencia").SetAsInteger(compet);
          fin.FieldByName("Classificacao").SetAsString(doMes->Classif);
        }
        const Currency atual = coluna->AsCurrency();
        if ((tipo == 2 && n == 1) || (tipo == 1 && n == -1))
          coluna->SetAsCurrency(atual + v);
        else if ((tipo == 2 && n == -1) || (tipo == 1 && n == 1))
          coluna->SetAsCurrency(atual - v);
        fin.Post();
      }
    }

    // The entry's court movement type comes from its origin.
    AExec.ChaveOrigem[0] = TVariant(std::string_view(origem));
    if (!origem.empty() && origens.FindKey(AExec.ChaveOrigem)) {
      int m = oTipoMovim.AsInteger();
      ++AExec.Contador;
      {
        char compBuf[16];
        // The history: its description, a blank and the complement, trimmed (MontarHist).
        AExec.Historico.assign(fDescr.AsStringView());
        std::string_view complemento = fCompl.AsStringView();
        if (!complemento.empty()) {
          AExec.Historico += ' ';
          AExec.Historico.append(complemento);
        }
        std::string_view hist = AExec.Historico;
        while (!hist.empty() && static_cast<unsigned char>(hist.front()) <= ' ') hist.remove_prefix(1);
        while (!hist.empty() && static_cast<unsigned char>(hist.back()) <= ' ') hist.remove_suffix(1);
        AExec.EscritorLancamentos.Linha(LayoutLancamentoContabil(), contaCtb)
            .Texto(CompetenciaTexto(data, compBuf))
            .Numero(AExec.Contador)
            .Numero(tipo)
            .Numero(oTipoMovim.AsStringView())
            .Numero(ano)
            .Texto(classifTCE)
            .Data(data)
            .Valor(v)
            .Texto(hist)
            .Gravar();
      }
      // An account's entries come by date: most find the movement row of the entry before.
      bool mesmaLinha = AExec.MovAtual >= 0 && AExec.MovAno == anoMes && AExec.MovConta == contaValor &&
                        AExec.MovTipo == m && AExec.MovCompet == compet && mov.GetBookmark() == AExec.MovAtual;
      AExec.ChaveMov[0] = anoMes;
      AExec.ChaveMov[1] = contaValor;
      AExec.ChaveMov[2] = m;
      AExec.ChaveMov[3] = compet;
      if (mesmaLinha || mov.FindKey(AExec.ChaveMov)) {
        mov.Edit();
      } else {
        mov.Append();
        mov.Fields(mANOCONTA).SetAsInteger(anoMes);
        mov.Fields(mCONTACTB).SetAsInteger(contaValor);
        mov.Fields(mTIPOMOVIM).SetAsInteger(m);
        mov.Fields(mCOMPET).SetAsInteger(compet);
        mov.Fields(mCLASSIF).SetAsString(doMes->Classif);
        if (tipo == 1)
          mov.Fields(mVALORDEB).SetAsCurrency(Currency());
        else
          mov.Fields(mVALORCRED).SetAsCurrency(Currency());
      }
      TField& lado = mov.Fields(tipo == 1 ? mVALORCRED : mVALORDEB);
      lado.SetAsCurrency(lado.AsCurrency() + v);
      mov.Post();
      AExec.MovAtual = mov.GetBookmark();
      AExec.MovAno = anoMes;
      AExec.MovConta = contaValor;
      AExec.MovTipo = m;
      AExec.MovCompet = compet;
    } else {
      // Reported once per origin, compared as whole items without regard to case.
      bool listada = std::any_of(AExec.OrigensNaoRelacionadas.begin(), AExec.OrigensNaoRelacionadas.end(),
                                 [&](const std::string& o) { return SameText(o, origem); });
      if (!listada) AExec.OrigensNaoRelacionadas.push_back(origem);
    }
    AExec.Progresso->IncProgressoParcial(0);
  }
}

void TUlmoDPGerarArquivosCtb::GravarLinhas(TClientDataSet& ACDS, TEscritorLeiaute& AEscritor, int AFormato) {
  for (ACDS.First(); !ACDS.Eof(); ACDS.Next()) {
    if (AFormato == 1) {
      const std::string conta = ACDS.Fields(cCONTACTB).AsString();
      if (FGerarContaIncAlt) {
        TField& cadastro = ACDS.Fields(cDATAHORACADAST);
        TDateTime d = DateOf(cadastro.AsDateTime());
        if (cadastro.IsNull() || d < DateOf(FCompetInicial) || d > DateOf(FCompetFinal)) continue;
      }
      TField& detalhe = ACDS.Fields(cDESCRDETALHCONTA);
      AEscritor.Linha(LayoutContaContabil(), conta)
          .Numero(Ano(ACDS.Fields(cDATAINICIOPLANO).AsDateTime()))
          .Texto(ACDS.Fields(cCLASSIFCONTATCE).AsStringView())
          .Numero(ACDS.Fields(cCODIGOTIPOCONTATCE).AsStringView())
          .Texto(ACDS.Fields(cDESCRCONTA).AsStringView())
          .Texto(detalhe.IsNull() ? ACDS.Fields(cDESCRCONTA).AsStringView() : detalhe.AsStringView())
          .Texto(ACDS.Fields(cTIPOCONTA).AsInteger() == 1 ? "N" : "S")
          .Numero(QtdNiveis(ACDS.Fields(cCLASSIFCONTATCE).AsStringView()))
          .Numero(ACDS.Fields(cTIPONATURSALDO).AsStringView())
          .Numero(ACDS.Fields(cCONTATCE).AsStringView())
          .Texto(ACDS.Fields(cCONTASINTETICA).AsStringView())
          .Numero(ACDS.Fields(cCODIGOBANCO).AsStringView())
          .Numero(ACDS.Fields(cNUMEROAGENCIA).AsStringView())
          .Texto(ACDS.Fields(cNUMEROCONTA).AsStringView())
          .Gravar();
    } else if (AFormato == 2) {
      const std::string conta = ACDS.Fields(mCONTACTB).AsString();
      AEscritor.Linha(LayoutMovimentoContabil(), conta)
          .Numero(ACDS.Fields(mANOCONTA).AsInteger())
          .Texto(ACDS.Fields(mCLASSIF).AsStringView())
          .Numero(ACDS.Fields(mTIPOMOVIM).AsInteger())
          .Numero(ACDS.Fields(mCOMPET).AsInteger())
          .Valor(ACDS.Fields(mVALORDEB).AsCurrency())
          .Valor(ACDS.Fields(mVALORCRED).AsCurrency())
          .Gravar();
    } else if (AFormato == 3) {
      const std::string conta = ACDS.FieldByName("CodContaCtb").AsString();
      AEscritor.Linha(LayoutAplicacaoFinanceira(), conta)
          .Numero(ACDS.FieldByName("AnoConta").AsInteger())
          .Texto(ACDS.FieldByName("Classificacao").AsStringView())
          .Numero(ACDS.FieldByName("Competencia").AsInteger())
          .Valor(ACDS.FieldByName("VlrAplicado").AsCurrency())
          .Valor(ACDS.FieldByName("VlrResgatado").AsCurrency())
          .Valor(ACDS.FieldByName("VlrRendimento").AsCurrency())
          .Gravar();
    }
  }
}

void TUlmoDPGerarArquivosCtb::GravarArquivos(TExecucao& AExec) {
  AExec.EscritorLancamentos.Concluir();
  // The court takes the applications' amounts without their sign.
  for (FcdsFinanceira->First(); !FcdsFinanceira->Eof(); FcdsFinanceira->Next()) {
    bool mudou = false;
    for (const char* nome : {"VlrAplicado", "VlrResgatado", "VlrRendimento"}) {
      TField& f = FcdsFinanceira->FieldByName(nome);
      if (f.AsCurrency() >= Currency()) continue;
      if (!mudou) FcdsFinanceira->Edit();
      mudou = true;
      f.SetAsCurrency(-f.AsCurrency());
    }
    if (mudou) FcdsFinanceira->Post();
  }
  FCDSMovimento->SetIndexFieldNames("ANOCONTA;CONTACTB;TIPOMOVIM;COMPET");
  FcdsFinanceira->SetIndexFieldNames("ANOCONTA;CODCONTACTB;COMPETENCIA");
  AExec.Contas->SetIndexFieldNames("CLASSIFCONTA;CONTACTB");

  std::string pastaTexto = Param("pDiretorio").AsString();
  std::filesystem::path pasta = CaminhoDeTexto(ExcludeTrailingPathDelimiter(Trim(pastaTexto)));
  const char* const mensagens[] = {"Arquivo de lançamentos contábeis gerado em ", "Arquivo de movimento contábil gerado em ",
                                   "Arquivo de aplicação financeira gerado em ", "Arquivo de contas contábeis gerado em "};
  // One set: after a crash the folder keeps the four old files or gets the four new ones; a
  // value that does not fit stops the run with none of them replaced.
  TConjuntoArquivos conjunto(pasta);
  for (const std::string& aviso : conjunto.TomarAvisos()) MsgTree(tmAviso, aviso);
  IOutputSink& lancamentos = conjunto.Novo("LancamentoContabil.txt");
  AExec.Lancamentos.GravarEm(lancamentos);
  lancamentos.Commit();
  auto escrever = [&](const char* nome, TClientDataSet& dados, int formato) {
    IOutputSink& saida = conjunto.Novo(nome);
    TEscritorLeiaute escritor(saida, nome);
    GravarLinhas(dados, escritor, formato);
    escritor.Concluir();
    saida.Commit();
  };
  escrever("MovimentoContabil.txt", *FCDSMovimento, 2);
  escrever("AplicacaoFinanceira.txt", *FcdsFinanceira, 3);
  escrever("ContaContabil.txt", *AExec.Contas, 1);
  conjunto.Confirmar();
  for (const std::string& aviso : conjunto.TomarAvisos()) MsgTree(tmAviso, aviso);
  for (const char* mensagem : mensagens) MsgTree(tmConfirmacao, mensagem + pastaTexto);
}

int TUlmoDPGerarArquivosCtb::GetSeqCompet(int ACompet) {
  if (FcdsSeq->IndexFieldNames() != "CHAVE") FcdsSeq->SetIndexFieldNames("CHAVE");
  if (FcdsSeq->FindKey({ACompet})) return FcdsSeq->FieldByName("SEQ").AsInteger();
  FcdsSeq->Append();
  FcdsSeq->FieldByName("CHAVE").SetAsInteger(ACompet);
  FcdsSeq->FieldByName("SEQ").SetAsInteger(0);
  FcdsSeq->Post();
  return 0;
}

void TUlmoDPGerarArquivosCtb::SetSeqCompet(int ACompet, int ASeq) {
  if (FcdsSeq->IndexFieldNames() != "CHAVE") FcdsSeq->SetIndexFieldNames("CHAVE");
  if (!FcdsSeq->FindKey({ACompet})) return;
  FcdsSeq->Edit();
  FcdsSeq->FieldByName("SEQ").SetAsInteger(ASeq);
  FcdsSeq->Post();
}

static nFramework::TnRegistroUnidade gRegistro{nClasse<TUlmoDPGerarArquivosCtb>(),
                                               nClasse<TUlmoDPGerarArquivosCtbAreaTrabalho>()};

}  // namespace nUlmoSC
