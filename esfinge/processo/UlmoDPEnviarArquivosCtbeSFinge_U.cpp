#include "UlmoDPEnviarArquivosCtbeSFinge_U.h"

#include <memory>
#include <map>
#include <set>

#include "ClassRegistry_U.h"
#include "Configuracao_U.h"
#include "Conexao_U.h"
#include "Contexto_U.h"
#include "DateUtils_U.h"
#include "FormatUtils_U.h"
#include "Nutil_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"
#include "UlmoEnviarArquivosCtbeSFingeFuncoes_U.h"
#include "UlmoEnviarArquivosCtbeSFinge_U.h"
#include "UlmoEsfingeOnlineFactory_U.h"
#include "UlmoEsfingeGrade_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"
#include "UlmoEsfingeOnlineSql_U.h"
#include "SaldoCtbTipado_U.h"
#include "UlmoFuncoes_U.h"
#include "UlmoParametros_U.h"
#include "UlmoSQLs_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmoEsfinge {

using namespace nFramework;

namespace {

const char* const kSQLOrigens =
    "select O.CODIGOORIGLCTOCTB, O.CODIGOTIPOMOVIMCTB, T.DESCRTIPOMOVIM from TCEORIGEMLCTOCTB O left join "
    "TCETIPOMOVIMCTB T on O.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and O.CODIGOTIPOMOVIMCTB = T.CODIGOTIPOMOVIMCTB "
    "where O.CODIGOSISTEMATCE = :pCodigoSistema order by O.CODIGOORIGLCTOCTB ";

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

// Both sides of the entries, each under the court account of the mapping valid on its date.
std::string SQLLctos() {
  auto lado = [](const char* tipo, const char* conta) {
    std::string c = conta;
    return std::string("select L.CHAVELCTOCTB, L.DATALCTOCTB, L.CODIGOLOTECTB, CAST(") + tipo +
           " as SmallInt) TIPOLCTO, L.VALORLCTOCTB, L.CODIGOORIGLCTOCTB, H.DESCRHISTCTB, L.COMPLHIST, TP.CONTATCE, "
           "TP.CLASSIFCONTA CLASSIFCONTATCE, TP.DESCRCONTA, P.CONTACTB, P.CLASSIFCONTA CLASSIFCONTAPLANOESPEC, "
           "P.DESCRCONTA DESCRCONTAPLANOESPEC, T.DATAINICIOPLANO, T.DATAFIMPLANO from LCTOCTB L join PLANOESPEC P on "
           "L.CODIGOEMPRESA = P.CODIGOEMPRESA and L." + c + " = P.CONTACTB join TCEPLANOPLESPEC T on T.CODIGOEMPRESA = "
           "P.CODIGOEMPRESA and T.CONTACTB = P.CONTACTB and T.CODIGOSISTEMATCE = :pCodigoSistema and " +
           nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteNaData("T", "L.DATALCTOCTB") +
           " join TCEPLANO TP on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and TP.CONTATCE = T.CONTATCE join "
           "HISTORICOCTB H on H.CODIGOHISTCTB = L.CODIGOHISTCTB where L.CODIGOEMPRESA = :pCodigoEmpresa and L." + c +
           " is not null and L.DATALCTOCTB between :pDataInicial and :pDataFinal ";
  };
  return lado("2", "CONTACTBDEB") + "union " + lado("1", "CONTACTBCRED") + "order by 2, 1 ";
}

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
TDateTime Limite2022() { return EncodeDate(2022, 1, 1); }


// A grid's controls stay off while rows are added; on the first row again however it ends.
struct TControlesDesligados {
  TClientDataSet& G;
  explicit TControlesDesligados(TClientDataSet& g) : G(g) { G.DisableControls(); }
  ~TControlesDesligados() {
    G.First();
    G.EnableControls();
  }
};

using nUlmoEsfingeOnline::TColunaGrade;

const char* const kData = "dd/mm/yyyy";
const char* const kCodigo = "0";

void ConfigurarGradeConta(TClientDataSet& g) {
  const char* tce = "Plano de Contas do TCE";
  const char* espec = "Plano Específico";
  g.DisplayCaption = "Conta Contábil";
  nUlmoEsfingeOnline::ConfigurarGrade(
      g, "Enviar",
      {TColunaGrade{.Nome = "DataInicioPlanoTce", .Rotulo = "Data Início Conta TCE", .Formato = kData, .Banda = tce},
       {.Nome = "DataFimPlanoTce", .Rotulo = "Data Fim Conta TCE", .Formato = kData, .Banda = tce},
       {.Nome = "ContaTce", .Rotulo = "Conta TCE", .Formato = kCodigo, .Banda = tce},
       {.Nome = "ContaCtb", .Rotulo = "Conta Contábil", .Formato = kCodigo, .Banda = espec},
       {.Nome = "CodigoConta", .Rotulo = "Código Conta", .Visivel = false},
       {.Nome = "TipoConta", .Rotulo = "S/A", .Lista = "A=2;S=1", .Banda = tce},
       {.Nome = "TipoContaContabil", .Rotulo = "Tipo Conta Contábil", .Visivel = false},
       {.Nome = "DescrTipoContaContabil", .Rotulo = "Tipo Conta Contábil", .Banda = tce},
       {.Nome = "ClassifNomeConta", .Rotulo = "Classificação / Descrição Conta TCE", .Banda = tce},
       {.Nome = "NomeConta", .Rotulo = "Nome Conta", .Visivel = false},
       {.Nome = "DescricaoConta", .Rotulo = "Descrição Conta", .Banda = tce},
       {.Nome = "IndicativoContaAnalitica", .Rotulo = "Indicativo Conta Analítica", .Visivel = false},
       {.Nome = "NumeroNivel", .Rotulo = "Nível Conta TCE", .Banda = tce},
       {.Nome = "TipoNaturezaSaldo", .Rotulo = "Tipo Natureza Saldo", .Lista = "Devedor=1;Credor=2;Misto=3", .Banda = tce},
       {.Nome = "CodigoContaSintetica", .Rotulo = "Código Conta Sintética", .Visivel = false},
       {.Nome = "CodigoBanco", .Rotulo = "Código Banco", .Banda = tce},
       {.Nome = "NomeBanco", .Rotulo = "Descrição Banco", .Banda = tce},
       {.Nome = "CodigoAgenciaBancaria", .Rotulo = "Código Agência", .Banda = tce},
       {.Nome = "NomeAgencia", .Rotulo = "Descrição Agência", .Banda = tce},
       {.Nome = "CodigoContaBancaria", .Rotulo = "Conta Bancária", .Banda = tce},
       {.Nome = "ClassifDescrContaCtb", .Rotulo = "Classificação / Descrição Conta Contábil", .Banda = espec},
       {.Nome = "CodigoContaSinteticaSuperiorTce", .Visivel = false},
       {.Nome = "EstiloLinha", .Visivel = false}});
  // A court account is mapped once per company account and validity.
  g.CamposChave = "ContaTce;ContaCtb;DataInicioPlanoTce";
  // Synthetic accounts (S) stand out.
  g.CampoEstilo = "EstiloLinha";
  g.EstiloDestaque = "negrito-verde";
}

void ConfigurarGradeLcto(TClientDataSet& g) {
  const char* tce = "Dados Lançamento TCE";
  const char* ctb = "Dados Lançamento Contábil";
  g.DisplayCaption = "Lançamento Contábil";
  nUlmoEsfingeOnline::ConfigurarGrade(
      g, "Enviar",
      {TColunaGrade{.Nome = "NumeroSlip", .Rotulo = "Número do Slip", .Banda = tce},
       {.Nome = "NumeroSequencial", .Rotulo = "Número Seqüencial", .Banda = tce},
       {.Nome = "ChaveLctoCtb", .Rotulo = "Sequência Lançamento", .Banda = ctb},
       {.Nome = "ContaTce", .Rotulo = "Conta TCE", .Formato = kCodigo, .Banda = tce},
       // The rows carry 2 on the debit side and 1 on the credit side, and that value goes to
       // the court as it is: the captions follow the values, so a debit row reads "Débito".
       {.Nome = "TipoLancamento", .Rotulo = "Tipo do Lançamento", .Lista = "Débito=2;Crédito=1", .Banda = tce},
       {.Nome = "TipoMovimentoContabil", .Rotulo = "Tipo de Movimento Contábil", .Visivel = false},
       {.Nome = "DescrTipoMovimentoContabil", .Rotulo = "Tipo Movimento Contábil", .Banda = tce},
       {.Nome = "AnoCriacaoConta", .Rotulo = "Ano Criação Conta", .Visivel = false},
       {.Nome = "CodigoContaContabil", .Rotulo = "Código Conta Contábil", .Visivel = false},
       {.Nome = "ClassifDescrContaContabil", .Rotulo = "Classificação / Descrição Conta TCE", .Banda = tce},
       {.Nome = "DataLancamento", .Rotulo = "Data Lançamento Contábil", .Formato = kData, .Banda = ctb},
       {.Nome = "ValorLancamento", .Rotulo = "Valor Lançamento", .Formato = "#,##0.00", .Banda = ctb},
       {.Nome = "HistoricoLancamento", .Rotulo = "Histórico Lançamento", .Banda = ctb},
       {.Nome = "DataInicioPlanoTce", .Rotulo = "Data Início Plano TCE", .Formato = kData, .Banda = tce},
       {.Nome = "DataFimPlanoTce", .Rotulo = "Data Fim Plano TCE", .Formato = kData, .Banda = tce},
       {.Nome = "ContaCtb", .Rotulo = "Conta Contábil", .Formato = kCodigo, .Banda = ctb},
       {.Nome = "ClassifDescrContaCtb", .Rotulo = "Classificação / Descrição Conta", .Banda = ctb}});
  // Numbered once per run, entry rows and opening rows alike.
  g.CamposChave = "NumeroSequencial";
}

}  // namespace

// The query results of one run; freed however the run ends.
struct TUlmoDPEnviarArquivosCtbeSFinge::TExecucao {
  std::unique_ptr<TSQLDataSet> Origens, Contas, Lctos, Implantacao, ContasAnoAnterior, ContasSinteticasPlanoTce;
  std::map<std::string, std::string> ListaContaSinteticaTce;  // cleaned classification -> classification
  std::set<std::string> ListaContaJaProcessada;
};

TUlmoDPEnviarArquivosCtbeSFinge::TUlmoDPEnviarArquivosCtbeSFinge() {
  SetCaption("Enviar Arquivos Contábeis e-Sfinge Web - SC");
  npqPowerParam.Alerta =
      "A partir de Janeiro/2022 os Registros Contábeis devem ser enviados mensalmente através da e-Sfinge Online. "
      "Antes de iniciar o envio online é necessário encerrar o envio das competências anteriores, enviando os dados "
      "bimestralmente através do WS.";
  AddParam({.Alias = "pCodigoSistemaTCE", .Dicionario = "CODIGOSISTEMATCE", .Visivel = false});
  AddParam({.Alias = "pCompetInicial", .Caption = "Data Inicial", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data inicial para geração"});
  AddParam({.Alias = "pCompetFinal", .Caption = "Data Final", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data final para geração"});
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA", .Obrigatorio = true,
            .Hint = "Informe as empresas para geração"});
  AddParam({.Alias = "pExibirContasSinteticas", .Caption = "Exibir Contas Sintéticas", .Dicionario = "DICSIMNAO",
            .Padrao = "0", .Obrigatorio = true});
  AddParam({.Alias = "pEnviarImplSaldo", .Caption = "Incluir Implantação de Saldo", .Dicionario = "DICSIMNAO",
            .Padrao = "0", .Obrigatorio = true, .Hint = "Informe se é para apurar as implantaçãoes de saldos"});
  AddParam({.Alias = "pEnviarLancamentoAnoAnterior", .Caption = "Gerar Lançamento do Ano Anterior",
            .Dicionario = "DICSIMNAO", .Padrao = "0", .Obrigatorio = true,
            .Hint = "Informe se é para gerar lançamentos do ano anterior"});
  AddParam({.Alias = "pEnviarSomenteContasComMovimento", .Caption = "Gerar Somente Contas Com Movimento",
            .Dicionario = "DICSIMNAO", .Padrao = "0", .Obrigatorio = true,
            .Hint = "Informe se é para gerar somente contas com movimento"});
  AddParam({.Alias = "pUsuario", .Caption = "Usuário", .Obrigatorio = true,
            .Hint = "Informe o nome do usuário de conexão"});
  AddParam({.Alias = "pSenha", .Caption = "Senha", .Dicionario = "DICSENHA", .Obrigatorio = true,
            .Hint = "Informe a senha de conexão"});
  AddParam({.Alias = "pUnidadeGestora", .Caption = "Unidade Gestora", .Obrigatorio = true,
            .Hint = "Informe o código da unidade gestora"});

  auto conta = std::make_unique<TClientDataSet>();
  conta->Name = "nClientDataSetConta";
  conta->AddFieldDef("Enviar", TFieldType::ftSmallint);
  conta->AddFieldDef("DataInicioPlanoTce", TFieldType::ftDate);
  conta->AddFieldDef("DataFimPlanoTce", TFieldType::ftDate);
  conta->AddFieldDef("ContaTce", TFieldType::ftLargeint);
  conta->AddFieldDef("ContaCtb", TFieldType::ftLargeint);
  conta->AddFieldDef("CodigoConta", TFieldType::ftString, 50);
  conta->AddFieldDef("TipoConta", TFieldType::ftInteger);
  conta->AddFieldDef("TipoContaContabil", TFieldType::ftInteger);
  conta->AddFieldDef("DescrTipoContaContabil", TFieldType::ftString, 100);
  conta->AddFieldDef("ClassifNomeConta", TFieldType::ftString, 150);
  conta->AddFieldDef("NomeConta", TFieldType::ftString, 100);
  conta->AddFieldDef("DescricaoConta", TFieldType::ftString, 255);
  conta->AddFieldDef("IndicativoContaAnalitica", TFieldType::ftString, 1);
  conta->AddFieldDef("NumeroNivel", TFieldType::ftInteger);
  conta->AddFieldDef("TipoNaturezaSaldo", TFieldType::ftInteger);
  conta->AddFieldDef("CodigoContaSintetica", TFieldType::ftString, 50);
  conta->AddFieldDef("CodigoBanco", TFieldType::ftInteger);
  conta->AddFieldDef("NomeBanco", TFieldType::ftString, 30);
  conta->AddFieldDef("CodigoAgenciaBancaria", TFieldType::ftInteger);
  conta->AddFieldDef("NomeAgencia", TFieldType::ftString, 50);
  conta->AddFieldDef("CodigoContaBancaria", TFieldType::ftString, 10);
  conta->AddFieldDef("ClassifDescrContaCtb", TFieldType::ftString, 100);
  conta->AddFieldDef("CodigoContaSinteticaSuperiorTce", TFieldType::ftString, 50);
  conta->AddFieldDef("EstiloLinha", TFieldType::ftSmallint);
  conta->CreateDataSet();
  ConfigurarGradeConta(*conta);
  FConta = &AddComponent("nClientDataSetConta", std::move(conta));

  auto lcto = std::make_unique<TClientDataSet>();
  lcto->Name = "nClientDataSetLcto";
  lcto->AddFieldDef("Enviar", TFieldType::ftSmallint);
  lcto->AddFieldDef("NumeroSlip", TFieldType::ftString, 16);
  lcto->AddFieldDef("NumeroSequencial", TFieldType::ftInteger);
  lcto->AddFieldDef("ChaveLctoCtb", TFieldType::ftInteger);
  lcto->AddFieldDef("ContaTce", TFieldType::ftLargeint);
  lcto->AddFieldDef("TipoLancamento", TFieldType::ftInteger);
  lcto->AddFieldDef("TipoMovimentoContabil", TFieldType::ftInteger);
  lcto->AddFieldDef("DescrTipoMovimentoContabil", TFieldType::ftString, 100);
  lcto->AddFieldDef("AnoCriacaoConta", TFieldType::ftInteger);
  lcto->AddFieldDef("CodigoContaContabil", TFieldType::ftString, 50);
  lcto->AddFieldDef("ClassifDescrContaContabil", TFieldType::ftString, 150);
  lcto->AddFieldDef("DataLancamento", TFieldType::ftDateTime);
  lcto->AddFieldDef("ValorLancamento", TFieldType::ftCurrency);
  lcto->AddFieldDef("HistoricoLancamento", TFieldType::ftString, 150);
  lcto->AddFieldDef("DataInicioPlanoTce", TFieldType::ftDate);
  lcto->AddFieldDef("DataFimPlanoTce", TFieldType::ftDate);
  lcto->AddFieldDef("ContaCtb", TFieldType::ftLargeint);
  lcto->AddFieldDef("ClassifDescrContaCtb", TFieldType::ftString, 150);
  lcto->CreateDataSet();
  ConfigurarGradeLcto(*lcto);
  FLcto = &AddComponent("nClientDataSetLcto", std::move(lcto));

  auto& soap = npqPowerParam.AddDatasetAction("actEnviarInf");
  soap.Caption = soap.Hint = "Enviar Informações";
  soap.ShortCut = "Ctrl+G";
  soap.ImageIndex = 329;
  soap.DataSet = "nClientDataSetConta;nClientDataSetLcto";
  soap.SetControlaDireito(false);
  soap.OnExecute = [this](void* s) { actEnviarInfExecute(s); };
  auto& online = npqPowerParam.AddDatasetAction("actEnviarInfEsfingeOnline");
  online.Caption = online.Hint = "Enviar Informações e-Sfinge Online";
  online.ShortCut = "Ctrl+J";
  online.ImageIndex = 398;
  online.DataSet = "nClientDataSetConta;nClientDataSetLcto";
  online.SetControlaDireito(false);
  online.OnExecute = [this](void* s) { actEnviarInfEsfingeOnlineExecute(s); };
}

void TUlmoDPEnviarArquivosCtbeSFinge::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                       const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPEnviarArquivosCtbeSFinge::DataModuleCreate() {
  TnDMPowerParam::DataModuleCreate();
  SetMsgTreeExibir(true);
  SetOpcoesProcesso({1, 0, 2, 2});
  if (EhHttpExe()) {
    npqPowerParam.FindAction("actEnviarInf")->ImageIndex = 130;
    npqPowerParam.FindAction("actEnviarInfEsfingeOnline")->ImageIndex = 131;
  }
}

void TUlmoDPEnviarArquivosCtbeSFinge::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  auto inteiro = [this](const char* a) { return StrToIntDef(Trim(Param(a).AsString()), 0); };
  FNumeroSeq = 0;
  FSenha = Trim(Param("pSenha").AsString());
  FUsuario = Trim(Param("pUsuario").AsString());
  FUnidadeGestora = Trim(Param("pUnidadeGestora").AsString());
  FCodigoEmpresa = inteiro("pCodigoEmpresa");
  FCodigoSistema = inteiro("pCodigoSistemaTCE");
  FCompetInicial = StrToDateDef(Param("pCompetInicial").AsString(), 0);
  FCompetFinal = StrToDateDef(Param("pCompetFinal").AsString(), 0);
  FEnviarLCTOSImplantacao = inteiro("pEnviarImplSaldo") == 1;
  FEnviarLancamentoAnoAnterior = inteiro("pEnviarLancamentoAnoAnterior") == 1;
  FEnviarSomenteContasComMovimentos = inteiro("pEnviarSomenteContasComMovimento") == 1;
  FExibirContasSinteticas = inteiro("pExibirContasSinteticas") == 1;

  if (FCodigoSistema < 1) {
    if (const TVariant* sel = TnSelecao::GetParams().Encontrar("CODIGOSISTEMATCE"))
      FCodigoSistema = VarToIntDef(*sel, 0);
    else
      FCodigoSistema = nUlmo::TUlmoFuncoes::GetSistemaTCE(FCodigoEmpresa);
  }
  if (FCodigoSistema == 0) throw EnParam(Param("pCompetInicial"), "Sistema inválido!");
  // Each date first: an empty or impossible end date is no end before the start.
  nUlmo::TPeriodoParametros periodo = nUlmo::LerPeriodoParametros(
      *this, "pCompetInicial", "pCompetFinal", "A data final não pode ser menor que a data inicial!");
  FCompetInicial = periodo.Inicio;
  FCompetFinal = periodo.Fim;
  FCodigoEmpresa = nUlmo::LerEmpresaParametro(*this);
  nUlmoEsfingeOnline::TUlmoEsfingeFuncoes::VerificarParametrosAcesso(*this);
}

void TUlmoDPEnviarArquivosCtbeSFinge::Executar() {
  TnDMPowerParam::Executar();
  if (EhUsoInterno() || nConfig().GetHomologacao()) {
    MsgTree(tmInformacao, "Enviar Informações API SOAP: Ambiente de homologação: - URL: " +
                         nUlmoEsfingeSoap::TnEnviarArqEsfingeSoapFuncoes::GetUrlBase());
    MsgTree(tmInformacao, "Enviar Informações e-Sfinge Online API REST: Ambiente de homologação: - URL: " +
                              nUlmoEsfingeOnline::TUlmoEsfingeFuncoes::GetUrlBase());
  }
  TExecucao exec;
  TTransacaoRO transacao(Conexao(), 1);
  exec.Origens = ExecutarSQL(kSQLOrigens, {FCodigoSistema});
  PreencherContas(exec);
  PreencherLctos(exec);
  if (FEnviarLancamentoAnoAnterior) PreencherLctosAnoAnterior(exec);
  if (FEnviarLCTOSImplantacao) PreencherLctosImplantacao(exec);
}

void TUlmoDPEnviarArquivosCtbeSFinge::PreencherContas(TExecucao& AExec) {
  const std::string empresa = ValorParaSQL(FCodigoEmpresa, TFieldType::ftInteger);
  const std::string sistema = ValorParaSQL(FCodigoSistema, TFieldType::ftInteger);
  const std::string ini = ValorParaSQL(TVariant::FromDate(FCompetInicial), TFieldType::ftDate);
  const std::string fim = ValorParaSQL(TVariant::FromDate(FCompetFinal), TFieldType::ftDate);
  std::string sql = kSQLContas;
  if (FEnviarSomenteContasComMovimentos)
    sql += " join (select ESPEC.CODIGOEMPRESA, ESPEC.CONTACTB from LCTOCTB CTB join PLANOESPEC ESPEC on "
           "ESPEC.CODIGOEMPRESA = CTB.CODIGOEMPRESA and (ESPEC.CONTACTB = CTB.CONTACTBDEB or ESPEC.CONTACTB = "
           "CTB.CONTACTBCRED) where CTB.CODIGOEMPRESA = " + empresa + " and CTB.DATALCTOCTB between " + ini +
           " and " + fim + " group by ESPEC.CODIGOEMPRESA, ESPEC.CONTACTB) L  on T.CODIGOEMPRESA = "
           "L.CODIGOEMPRESA and T.CONTACTB = L.CONTACTB ";
  sql += " where T.CODIGOEMPRESA = " + empresa + "    and T.CODIGOSISTEMATCE = " + sistema + " ";
  if (!FExibirContasSinteticas) sql += " and TP.TIPOCONTA <> 1";
  // The accounts cover the period: each under the mapping valid on its last day.
  const std::string vigencia = nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo("T", FCompetInicial, FCompetFinal);
  sql += " and " + vigencia + " order by T.DATAINICIOPLANO";
  AExec.Contas = ExecutarSQL(sql);
  TSQLDataSet& c = *AExec.Contas;

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
  AExec.ContasSinteticasPlanoTce =
      ExecutarSQL(nUlmo::FormatSQL(nUlmoEsfingeOnline::TUlmoEsfingeOnlineSql::GetSqlConsultaContaSintetica(),
                                   {empresa, sistema, vigencia}));
  for (AExec.ContasSinteticasPlanoTce->First(); !AExec.ContasSinteticasPlanoTce->Eof();
       AExec.ContasSinteticasPlanoTce->Next()) {
    const std::string classif = AExec.ContasSinteticasPlanoTce->FieldByName("CLASSIFCONTATCE").AsString();
    AExec.ListaContaSinteticaTce[nUlmoEsfingeOnline::TUlmoEsfingeFuncoes::LimparClassificacaoConta(classif)] = classif;
  }

  TClientDataSet& g = *FConta;
  if (!g.IsEmpty()) g.EmptyDataSet();
  g.SetIndexFieldNames("ClassifDescrContaCtb");
  TControlesDesligados desligados(g);
  auto adicionar = [&g](TClientDataSet& c, const std::string& superior) {
    auto s = [&c](const char* n) { return c.FieldByName(n).AsString(); };
    g.Append();
      g.FieldByName("Enviar").SetAsInteger(0);
      g.FieldByName("DataInicioPlanoTce").SetValue(c.FieldByName("DATAINICIOPLANO").Value());
      g.FieldByName("DataFimPlanoTce").SetValue(c.FieldByName("DATAFIMPLANO").Value());
      g.FieldByName("ContaTce").SetValue(c.FieldByName("CONTATCE").Value());
      g.FieldByName("ContaCtb").SetValue(c.FieldByName("CONTACTB").Value());
      g.FieldByName("CodigoConta").SetAsString(s("CLASSIFCONTATCE"));
      const int tipo = c.FieldByName("TIPOCONTA").AsInteger();
      g.FieldByName("TipoConta").SetAsInteger(tipo);
      g.FieldByName("TipoContaContabil").SetValue(c.FieldByName("CODIGOTIPOCONTATCE").Value());
      g.FieldByName("DescrTipoContaContabil").SetAsString(s("DESCRTIPOCONTATCE"));
      g.FieldByName("ClassifNomeConta").SetAsString(s("CLASSIFCONTATCE") + " " + s("DESCRCONTA"));
      g.FieldByName("NomeConta").SetAsString(s("DESCRCONTA"));
      g.FieldByName("DescricaoConta").SetAsString(s("DESCRDETALHCONTA"));
      g.FieldByName("IndicativoContaAnalitica").SetAsString(tipo == 2 ? "S" : "N");
      g.FieldByName("NumeroNivel").SetAsInteger(QtdNiveis(s("CLASSIFCONTA")));
      g.FieldByName("TipoNaturezaSaldo").SetValue(c.FieldByName("TIPONATURSALDO").Value());
      g.FieldByName("CodigoContaSintetica").SetAsString(s("CONTASINTETICA"));
      if (c.FieldByName("CODIGOBANCO").AsLargeInt() > 0)
        g.FieldByName("CodigoBanco").SetAsInteger(c.FieldByName("CODIGOBANCO").AsInteger());
      g.FieldByName("NomeBanco").SetAsString(s("NOMEBANCO"));
      if (c.FieldByName("NUMEROAGENCIA").AsLargeInt() > 0)
        g.FieldByName("CodigoAgenciaBancaria").SetAsInteger(c.FieldByName("NUMEROAGENCIA").AsInteger());
      g.FieldByName("NomeAgencia").SetAsString(s("NOMEAGENCIA"));
      if (int64_t n = c.FieldByName("NUMEROCONTA").AsLargeInt(); n > 0)
        g.FieldByName("CodigoContaBancaria").SetAsString(std::to_string(n));
      g.FieldByName("ClassifDescrContaCtb").SetAsString(s("CLASSIFCONTA") + " " + s("DESCRCONTAPLANOESPEC"));
      g.FieldByName("CodigoContaSinteticaSuperiorTce").SetAsString(superior);
      g.FieldByName("EstiloLinha").SetAsInteger(tipo == 1 ? 1 : 0);
    g.Post();
  };
  // The parent of a court classification: the synthetic court account one level up.
  auto superiorDe = [&AExec](const std::string& k) {
    auto it = AExec.ListaContaSinteticaTce.find(RetirarUltimoNivelClassificacao(k));
    return it == AExec.ListaContaSinteticaTce.end() ? std::string() : it->second;
  };
  TSQLDataSet& sint = *AExec.ContasSinteticasPlanoTce;
  for (c.First(); !c.Eof(); c.Next()) {
    const std::string k = nUlmoEsfingeOnline::TUlmoEsfingeFuncoes::LimparClassificacaoConta(
        c.FieldByName("CLASSIFCONTATCE").AsString());
    adicionar(c, superiorDe(k));
    if (!FEnviarSomenteContasComMovimentos || !FExibirContasSinteticas) continue;
    // Listing only moving accounts would drop their synthetic ancestors: add each once.
    for (std::string a = RetirarUltimoNivelClassificacao(k); !a.empty() && AExec.ListaContaJaProcessada.insert(a).second;
         a = RetirarUltimoNivelClassificacao(a)) {
      auto it = AExec.ListaContaSinteticaTce.find(a);
      if (it != AExec.ListaContaSinteticaTce.end() && sint.Locate("CLASSIFCONTATCE", {it->second}))
        adicionar(sint, superiorDe(a));
    }
  }
}

void TUlmoDPEnviarArquivosCtbeSFinge::PreencherLctos(TExecucao& AExec) {
  TClientDataSet& g = *FLcto;
  if (!g.IsEmpty()) g.EmptyDataSet();
  g.SetIndexFieldNames("DataLancamento;NumeroSequencial");
  TVariant ini = TVariant::FromDate(FCompetInicial), fim = TVariant::FromDate(FCompetFinal);
  AExec.Lctos = ExecutarSQL(SQLLctos(), {FCodigoSistema, FCodigoEmpresa, ini, fim});
  TSQLDataSet& l = *AExec.Lctos;
  TSQLDataSet& o = *AExec.Origens;
  o.SetIndexFieldNames("CODIGOORIGLCTOCTB");
  TControlesDesligados desligados(g);
  auto s = [&l](const char* n) { return l.FieldByName(n).AsString(); };
  for (l.First(); !l.Eof(); l.Next()) {
    if (!o.FindKey({l.FieldByName("CODIGOORIGLCTOCTB").Value()})) continue;
    ++FNumeroSeq;
    g.Append();
    g.FieldByName("Enviar").SetAsInteger(0);
    g.FieldByName("NumeroSlip").SetAsString(Slip(l.FieldByName("DATALCTOCTB").AsDateTime()));
    g.FieldByName("NumeroSequencial").SetAsInteger(FNumeroSeq);
    g.FieldByName("ChaveLctoCtb").SetValue(l.FieldByName("CHAVELCTOCTB").Value());
    g.FieldByName("ContaTce").SetValue(l.FieldByName("CONTATCE").Value());
    g.FieldByName("ClassifDescrContaContabil").SetAsString(s("CLASSIFCONTATCE") + " " + s("DESCRCONTA"));
    g.FieldByName("TipoLancamento").SetAsInteger(l.FieldByName("TIPOLCTO").AsInteger());
    g.FieldByName("TipoMovimentoContabil").SetValue(o.FieldByName("CODIGOTIPOMOVIMCTB").Value());
    g.FieldByName("DescrTipoMovimentoContabil").SetAsString(o.FieldByName("DESCRTIPOMOVIM").AsString());
    g.FieldByName("AnoCriacaoConta").SetAsInteger(Ano(l.FieldByName("DATAINICIOPLANO")));
    g.FieldByName("CodigoContaContabil").SetAsString(s("CLASSIFCONTATCE"));
    g.FieldByName("DataInicioPlanoTce").SetValue(l.FieldByName("DATAINICIOPLANO").Value());
    g.FieldByName("DataFimPlanoTce").SetValue(l.FieldByName("DATAFIMPLANO").Value());
    g.FieldByName("ContaCtb").SetValue(l.FieldByName("CONTACTB").Value());
    g.FieldByName("ClassifDescrContaCtb").SetAsString(s("CLASSIFCONTAPLANOESPEC") + " " + s("DESCRCONTAPLANOESPEC"));
    g.FieldByName("DataLancamento").SetAsDateTime(l.FieldByName("DATALCTOCTB").AsDateTime());
    g.FieldByName("ValorLancamento").SetAsCurrency(l.FieldByName("VALORLCTOCTB").AsCurrency());
    g.FieldByName("HistoricoLancamento").SetAsString(MontarHist(s("DESCRHISTCTB"), s("COMPLHIST")));
    g.Post();
  }
}

void TUlmoDPEnviarArquivosCtbeSFinge::PreencherLctosAnoAnterior(TExecucao& AExec) {
  const TDateTime inicioAno = EncodeDate(YearOf(FCompetInicial), 1, 1);
  nUlmoSaldoCtb::TPedidoSaldoCtb pedido;
  pedido.CodigoEmpresa = FCodigoEmpresa;
  pedido.ClassifConta = {"1", "2"};  // the balance-sheet groups carry a balance into the year
  pedido.DataInicial = pedido.DataFinal = inicioAno;
  pedido.TotalizarSintetica = false;
  const std::vector<nUlmoSaldoCtb::TLinhaSaldoCtb> saldos = nUlmoSaldoCtb::GerarSaldoCtbTipado(pedido);

  // The opening balance counts under the mapping valid on the period's first day.
  AExec.ContasAnoAnterior = ExecutarSQL(
      "SELECT TE.CONTACTB, TP.CONTATCE, TP.CLASSIFCONTA CLASSIFCONTATCE, TP.DESCRCONTA DESCRCONTATCE, "
      "TE.DATAINICIOPLANO, TE.DATAFIMPLANO, TP.CLASSIFCONTA, P.NATURSALDO, P.CLASSIFCONTA CLASSIFCONTAPLANOESPEC, "
      "P.DESCRCONTA DESCRCONTAPLANOESPEC FROM TCEPLANO TP JOIN TCEPLANOPLESPEC TE ON TP.CODIGOSISTEMATCE = "
      "TE.CODIGOSISTEMATCE AND TP.CONTATCE = TE.CONTATCE JOIN PLANOESPEC P ON TE.CODIGOEMPRESA = P.CODIGOEMPRESA "
      "AND TE.CONTACTB = P.CONTACTB WHERE TE.CODIGOEMPRESA = " + ValorParaSQL(FCodigoEmpresa, TFieldType::ftInteger) +
      " AND TE.CODIGOSISTEMATCE = " + ValorParaSQL(FCodigoSistema, TFieldType::ftInteger) + " AND " +
      nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteInicioPeriodo("TE", FCompetInicial, FCompetFinal) +
      " ORDER BY TE.CONTACTB");
  TSQLDataSet& m = *AExec.ContasAnoAnterior;
  m.SetIndexFieldNames("CONTACTB");

  TClientDataSet& g = *FLcto;
  g.SetIndexFieldNames("DataLancamento;NumeroSequencial");
  TControlesDesligados desligados(g);
  auto s = [&m](const char* n) { return m.FieldByName(n).AsString(); };
  for (const nUlmoSaldoCtb::TLinhaSaldoCtb& saldo : saldos) {
    const Currency valor = saldo.SaldoAnterior;
    if (valor == Currency()) continue;
    if (!m.FindKey({TVariant(saldo.ContaCtb)})) continue;
    ++FNumeroSeq;
    g.Append();
    g.FieldByName("Enviar").SetAsInteger(0);
    g.FieldByName("NumeroSlip").SetAsString(Slip(inicioAno));
    g.FieldByName("NumeroSequencial").SetAsInteger(FNumeroSeq);
    g.FieldByName("ContaTce").SetValue(m.FieldByName("CONTATCE").Value());
    g.FieldByName("ClassifDescrContaContabil").SetAsString(s("CLASSIFCONTA") + " " + s("DESCRCONTATCE"));
    g.FieldByName("TipoLancamento").SetAsInteger(m.FieldByName("NATURSALDO").AsInteger() > 0 ? 2 : 1);
    g.FieldByName("TipoMovimentoContabil").SetAsInteger(1);
    g.FieldByName("DescrTipoMovimentoContabil").SetAsString("Abertura do Exercício");
    g.FieldByName("AnoCriacaoConta").SetAsInteger(Ano(m.FieldByName("DATAINICIOPLANO")));
    g.FieldByName("CodigoContaContabil").SetAsString(s("CLASSIFCONTA"));
    g.FieldByName("DataInicioPlanoTce").SetValue(m.FieldByName("DATAINICIOPLANO").Value());
    g.FieldByName("DataFimPlanoTce").SetValue(m.FieldByName("DATAFIMPLANO").Value());
    g.FieldByName("ContaCtb").SetValue(m.FieldByName("CONTACTB").Value());
    g.FieldByName("ClassifDescrContaCtb").SetAsString(s("CLASSIFCONTAPLANOESPEC") + " " + s("DESCRCONTAPLANOESPEC"));
    g.FieldByName("DataLancamento").SetAsDateTime(saldo.DataSaldo);
    g.FieldByName("ValorLancamento").SetAsCurrency(valor < Currency() ? -valor : valor);
    g.FieldByName("HistoricoLancamento").SetAsString("Saldo Inicial do Exercício Anterior");
    g.Post();
  }
}

void TUlmoDPEnviarArquivosCtbeSFinge::PreencherLctosImplantacao(TExecucao& AExec) {
  AExec.Implantacao = ExecutarSQL(
      nUlmo::FormatSQL(kSQLImplantacao,
                       {nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteInicioPeriodo("T", FCompetInicial, FCompetFinal)}),
      {FCodigoEmpresa, FCodigoSistema});
  TSQLDataSet& i = *AExec.Implantacao;
  TClientDataSet& g = *FLcto;
  g.SetIndexFieldNames("DataLancamento;NumeroSequencial");
  TControlesDesligados desligados(g);
  auto s = [&i](const char* n) { return i.FieldByName(n).AsString(); };
  for (i.First(); !i.Eof(); i.Next()) {
    ++FNumeroSeq;
    g.Append();
    g.FieldByName("Enviar").SetAsInteger(0);
    g.FieldByName("NumeroSlip").SetAsString(Slip(i.FieldByName("DATASALDO").AsDateTime()));
    // Left-padded so that the counters stay distinct (999 + five digits).
    g.FieldByName("NumeroSequencial").SetAsInteger(std::stoi("999" + PreencherEsquerda(std::to_string(FNumeroSeq), 5, "0")));
    g.FieldByName("ContaTce").SetValue(i.FieldByName("CONTATCE").Value());
    g.FieldByName("ClassifDescrContaContabil").SetAsString(s("CLASSIFCONTA") + " " + s("DESCRCONTATCE"));
    g.FieldByName("TipoLancamento").SetAsInteger(i.FieldByName("NATUREZASALDO").AsInteger() == 1 ? 2 : 1);
    g.FieldByName("TipoMovimentoContabil").SetAsInteger(1);
    g.FieldByName("DescrTipoMovimentoContabil").SetAsString("Abertura do Exercício");
    g.FieldByName("AnoCriacaoConta").SetAsInteger(Ano(i.FieldByName("DATAINICIOPLANO")));
    g.FieldByName("CodigoContaContabil").SetAsString(s("CLASSIFCONTA"));
    g.FieldByName("DataInicioPlanoTce").SetValue(i.FieldByName("DATAINICIOPLANO").Value());
    g.FieldByName("DataFimPlanoTce").SetValue(i.FieldByName("DATAFIMPLANO").Value());
    g.FieldByName("ContaCtb").SetValue(i.FieldByName("CONTACTB").Value());
    g.FieldByName("ClassifDescrContaCtb").SetAsString(s("CLASSIFCONTAPLANOESPEC") + " " + s("DESCRCONTAPLANOESPEC"));
    g.FieldByName("DataLancamento").SetValue(i.FieldByName("DATASALDO").Value());
    g.FieldByName("ValorLancamento").SetAsCurrency(i.FieldByName("VALOR").AsCurrency());
    g.Post();
  }
}

void TUlmoDPEnviarArquivosCtbeSFinge::VerificarGrades() const {
  if (FConta->IsEmpty() && FLcto->IsEmpty()) throw Exception("Ação disponível apenas após execução do processo.");
}

void TUlmoDPEnviarArquivosCtbeSFinge::VerificarMarcados() const {
  if (FConta->IsEmpty() && FLcto->IsEmpty()) throw Exception("Nenhum registro marcado para envio.");
}

namespace {
// Shows only the marked rows while a send runs; restores the grids however it ends.
struct TSomenteMarcados {
  TClientDataSet& A;
  TClientDataSet& B;
  TSomenteMarcados(TClientDataSet& a, TClientDataSet& b) : A(a), B(b) {
    for (TClientDataSet* d : {&A, &B}) {
      d->DisableControls();
      if (d->State() == TDataSetState::dsEdit || d->State() == TDataSetState::dsInsert) d->Post();
      d->SetFilter("ENVIAR = 1");
      d->SetFiltered(true);
    }
  }
  ~TSomenteMarcados() {
    for (TClientDataSet* d : {&A, &B}) {
      d->SetFiltered(false);
      d->EnableControls();
    }
  }
};
}  // namespace

void TUlmoDPEnviarArquivosCtbeSFinge::actEnviarInfExecute(void*) {
  if (FCompetInicial >= Limite2022()) throw Exception("Ação disponível apenas para período anterior a 01/01/2022.");
  VerificarGrades();
  if (auto tree = GetMsgTreeLista()) tree->Clear();
  nUlmoEsfingeSoap::TUlmoEnviarArquivosCtbeSFinge envio(FUsuario, FSenha, FUnidadeGestora);
  envio.SetMsgTreeLista(GetMsgTreeLista());
  TSomenteMarcados marcados(*FConta, *FLcto);
  VerificarMarcados();
  envio.EnviarInformacoesContasWB(*FConta);
  envio.EnviarInformacoesLancamentosWB(*FLcto);
}

void TUlmoDPEnviarArquivosCtbeSFinge::actEnviarInfEsfingeOnlineExecute(void*) {
  if (FCompetInicial < Limite2022()) throw Exception("Ação disponível apenas para período posterior a 01/01/2022.");
  VerificarGrades();
  if (auto tree = GetMsgTreeLista()) tree->Clear();
  TSomenteMarcados marcados(*FConta, *FLcto);
  // Before the sender logs in: a login with nothing to send would still replace the stored token.
  VerificarMarcados();
  nUlmoEsfingeOnline::TRecConfig config;
  config.CodigoSistemaTce = FCodigoSistema;
  config.CodigoEmpresa = FCodigoEmpresa;
  config.CompetenciaInicial = FCompetInicial;
  config.CompetenciaFinal = FCompetFinal;
  config.CodigoAcesso = FUsuario;
  config.CodigoUnidadeGestora = FUnidadeGestora;
  config.DescricaoEmpresaTI = nConfig().Valor("software.empresa_ti", "Ulmo Sistemas");
  config.DescritivoSoftware = nConfig().Valor("software.descritivo", "Ulmo");
  config.Senha = FSenha;
  auto envio = FFabrica ? FFabrica()->EnviarInfoContabil() : nUlmoEsfingeOnline::TUlmoEsfingeOnlineFactory::New()->EnviarInfoContabil();
  envio->Progresso(GetProgresso()).MsgTree(GetMsgTreeLista()).Config(config).DataSets(*FConta, *FLcto).Enviar();
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDPEnviarArquivosCtbeSFinge>(),
                                   nClasse<TUlmoDPEnviarArquivosCtbeSFingeAreaTrabalho>()};

}  // namespace nUlmoEsfinge
