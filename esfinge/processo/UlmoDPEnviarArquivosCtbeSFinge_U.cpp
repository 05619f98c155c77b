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
#include "UlmoEsfingeEnvioColetor_U.h"
#include "UlmoEsfingeEnvioGrades_U.h"
#include "UlmoEnviarArquivosCtbeSFinge_U.h"
#include "UlmoEsfingeOnlineFactory_U.h"
#include "UlmoEsfingeGrade_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"
#include "UlmoFuncoes_U.h"
#include "UlmoParametros_U.h"
#include "UlmoSQLs_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmoEsfinge {

using namespace nFramework;

namespace {

TDateTime Limite2022() { return EncodeDate(2022, 1, 1); }

}  // namespace

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

  FConta = &AddComponent("nClientDataSetConta", NovaGradeContas());

  FLcto = &AddComponent("nClientDataSetLcto", NovaGradeLctos());

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
  TPedidoEnvioEsfinge p;
  p.Senha = Trim(Param("pSenha").AsString());
  p.Usuario = Trim(Param("pUsuario").AsString());
  p.UnidadeGestora = Trim(Param("pUnidadeGestora").AsString());
  p.CodigoEmpresa = inteiro("pCodigoEmpresa");
  p.CodigoSistema = inteiro("pCodigoSistemaTCE");
  p.EnviarImplantacao = inteiro("pEnviarImplSaldo") == 1;
  p.EnviarLancamentoAnoAnterior = inteiro("pEnviarLancamentoAnoAnterior") == 1;
  p.SomenteContasComMovimento = inteiro("pEnviarSomenteContasComMovimento") == 1;
  p.ExibirContasSinteticas = inteiro("pExibirContasSinteticas") == 1;
  if (p.CodigoSistema < 1) {
    if (const TVariant* sel = TnSelecao::GetParams().Encontrar("CODIGOSISTEMATCE"))
      p.CodigoSistema = VarToIntDef(*sel, 0);
    else
      p.CodigoSistema = nUlmo::TUlmoFuncoes::GetSistemaTCE(p.CodigoEmpresa);
  }
  if (p.CodigoSistema == 0) throw EnParam(Param("pCompetInicial"), "Sistema inválido!");
  // Each date first: an empty or impossible end date is no end before the start.
  nUlmo::TPeriodoParametros periodo = nUlmo::LerPeriodoParametros(
      *this, "pCompetInicial", "pCompetFinal", "A data final não pode ser menor que a data inicial!");
  p.CompetInicial = periodo.Inicio;
  p.CompetFinal = periodo.Fim;
  p.CodigoEmpresa = nUlmo::LerEmpresaParametro(*this);
  nUlmoEsfingeOnline::TUlmoEsfingeFuncoes::VerificarParametrosAcesso(*this);
  FPedido = std::move(p);
}

void TUlmoDPEnviarArquivosCtbeSFinge::Executar() {
  TnDMPowerParam::Executar();
  if (EhUsoInterno() || nConfig().GetHomologacao()) {
    MsgTree(tmInformacao, "Enviar Informações API SOAP: Ambiente de homologação: - URL: " +
                         nUlmoEsfingeSoap::TnEnviarArqEsfingeSoapFuncoes::GetUrlBase());
    MsgTree(tmInformacao, "Enviar Informações e-Sfinge Online API REST: Ambiente de homologação: - URL: " +
                              nUlmoEsfingeOnline::TUlmoEsfingeFuncoes::GetUrlBase());
  }
  TTransacaoRO transacao(Conexao(), 1);
  TColetorEnvioEsfinge(FPedido, *FConta, *FLcto).Executar();
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
  if (FPedido.CompetInicial >= Limite2022()) throw Exception("Ação disponível apenas para período anterior a 01/01/2022.");
  VerificarGrades();
  if (auto tree = GetMsgTreeLista()) tree->Clear();
  nUlmoEsfingeSoap::TUlmoEnviarArquivosCtbeSFinge envio(FPedido.Usuario, FPedido.Senha, FPedido.UnidadeGestora);
  envio.SetMsgTreeLista(GetMsgTreeLista());
  TSomenteMarcados marcados(*FConta, *FLcto);
  VerificarMarcados();
  envio.EnviarInformacoesContasWB(*FConta);
  envio.EnviarInformacoesLancamentosWB(*FLcto);
}

void TUlmoDPEnviarArquivosCtbeSFinge::actEnviarInfEsfingeOnlineExecute(void*) {
  if (FPedido.CompetInicial < Limite2022()) throw Exception("Ação disponível apenas para período posterior a 01/01/2022.");
  VerificarGrades();
  if (auto tree = GetMsgTreeLista()) tree->Clear();
  TSomenteMarcados marcados(*FConta, *FLcto);
  // Before the sender logs in: a login with nothing to send would still replace the stored token.
  VerificarMarcados();
  nUlmoEsfingeOnline::TRecConfig config;
  config.CodigoSistemaTce = FPedido.CodigoSistema;
  config.CodigoEmpresa = FPedido.CodigoEmpresa;
  config.CompetenciaInicial = FPedido.CompetInicial;
  config.CompetenciaFinal = FPedido.CompetFinal;
  config.CodigoAcesso = FPedido.Usuario;
  config.CodigoUnidadeGestora = FPedido.UnidadeGestora;
  config.DescricaoEmpresaTI = nConfig().Valor("software.empresa_ti", "Ulmo Sistemas");
  config.DescritivoSoftware = nConfig().Valor("software.descritivo", "Ulmo");
  config.Senha = FPedido.Senha;
  auto envio = FFabrica ? FFabrica()->EnviarInfoContabil() : nUlmoEsfingeOnline::TUlmoEsfingeOnlineFactory::New()->EnviarInfoContabil();
  envio->Progresso(GetProgresso()).MsgTree(GetMsgTreeLista()).Config(config).DataSets(*FConta, *FLcto).Enviar();
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDPEnviarArquivosCtbeSFinge>(),
                                   nClasse<TUlmoDPEnviarArquivosCtbeSFingeAreaTrabalho>()};

}  // namespace nUlmoEsfinge
