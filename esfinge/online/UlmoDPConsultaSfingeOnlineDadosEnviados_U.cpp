#include "UlmoDPConsultaSfingeOnlineDadosEnviados_U.h"

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "Configuracao_U.h"
#include "FormatUtils_U.h"
#include "Mapper_U.h"
#include "SQL_U.h"
#include "UlmoEsfingeGrade_U.h"
#include "UlmoEsfingeOnlineFactory_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"
#include "UlmoEsfingeOnlineMaps_U.h"
#include "UlmoParametros_U.h"
#include "UlmoEsfingeOnlineSql_U.h"
#include "UlmoMenuRegra_U.h"
#include "UlmoSQLs_U.h"
#include "Variant_U.h"

namespace nUlmoEsfingeOnline {

using namespace nFramework;

TUlmoDPConsultaSfingeOnlineDadosEnviados::TUlmoDPConsultaSfingeOnlineDadosEnviados() {
  SetCaption("Consulta Arquivos Contábeis e-Sfinge Online");
  AddParam({.Alias = "pCodigoSistemaTCE", .Dicionario = "CODIGOSISTEMATCE", .Obrigatorio = true, .Visivel = false});
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CodigoEmpresa", .Obrigatorio = true});
  AddParam({.Alias = "pCompetenciaInicial", .Caption = "Competência Incial", .Dicionario = "DICDATA", .Obrigatorio = true});
  AddParam({.Alias = "pCompetenciaFinal", .Caption = "Competência Final", .Dicionario = "DICDATA", .Obrigatorio = true});
  AddParam({.Alias = "pUsuario", .Caption = "Usuário"});
  AddParam({.Alias = "pSenha", .Caption = "Senha", .Dicionario = "DICSENHA"});
  AddParam({.Alias = "pUnidadeGestora", .Caption = "Unidade Gestora"});

  auto cds = std::make_unique<TClientDataSet>();
  cds->Name = "nClientDataSet";
  cds->AddFieldDef("SELECIONADO", TFieldType::ftSmallint);
  cds->AddFieldDef("CODIGOEMPRESA", TFieldType::ftSmallint);
  cds->AddFieldDef("COMPETENCIA", TFieldType::ftDate);
  cds->AddFieldDef("LOTE", TFieldType::ftInteger);
  cds->AddFieldDef("SEQ", TFieldType::ftInteger);
  cds->AddFieldDef("DATAENVIO", TFieldType::ftDate);
  cds->AddFieldDef("STATUS", TFieldType::ftString, 10);
  cds->AddFieldDef("CHAVEPACOTE", TFieldType::ftString, 300);
  cds->AddFieldDef("CODIGOREGISTROINFORMACAO", TFieldType::ftString, 300);
  cds->CreateDataSet();
  const char* data = "dd/mm/yyyy";
  ConfigurarGrade(*cds, "SELECIONADO",
                  {TColunaGrade{.Nome = "CODIGOEMPRESA", .Visivel = false},
                   {.Nome = "COMPETENCIA", .Rotulo = "Competência", .Formato = data},
                   {.Nome = "LOTE", .Rotulo = "Lote"},
                   {.Nome = "SEQ", .Rotulo = "Seq"},
                   {.Nome = "DATAENVIO", .Rotulo = "Data de Envio", .Formato = data},
                   {.Nome = "STATUS", .Rotulo = "Status", .Lista = "Cancelado=0;Finalizado=1"},
                   {.Nome = "CHAVEPACOTE", .Rotulo = "Chave do Pacote"},
                   {.Nome = "CODIGOREGISTROINFORMACAO", .Rotulo = "Recibo de Fechamento"}});
  cds->DisplayCaption = "Dados";
  // The company is the run's: a month and its sequence name a package.
  cds->CamposChave = "LOTE;SEQ";
  FnClientDataSet = &AddComponent("nClientDataSet", std::move(cds));

  auto& cancelar = npqPowerParam.AddDatasetAction("ActCancelarRemessa");
  cancelar.Caption = "Cancelar Lote";
  cancelar.Hint = "Cancelar Lote";
  cancelar.ImageIndex = 9;
  cancelar.DataSet = "nClientDataSet";
  cancelar.SetControlaDireito(false);
  cancelar.Log = false;
  cancelar.OnExecute = [this](void*) { ActCancelarRemessaExecute(); };
}

void TUlmoDPConsultaSfingeOnlineDadosEnviados::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                               const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPConsultaSfingeOnlineDadosEnviados::DataModuleCreate() {
  TnDMPowerParam::DataModuleCreate();
  SetMsgTreeExibir(true);
  SetMsgExibir(true);
  SetBooleanoBase(false);
}

void TUlmoDPConsultaSfingeOnlineDadosEnviados::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  // A range that ends before it starts, or a code of no company, listed nothing without a word.
  nUlmo::LerEmpresaParametro(*this);
  nUlmo::LerPeriodoParametros(*this, "pCompetenciaInicial", "pCompetenciaFinal");
  TUlmoEsfingeFuncoes::VerificarParametrosAcesso(*this);
}

void TUlmoDPConsultaSfingeOnlineDadosEnviados::MostrarProgresso(const std::string& ATexto) {
  GetProgresso().LimparProgresso();
  GetProgresso().MostrarTexto(ATexto);
}

void TUlmoDPConsultaSfingeOnlineDadosEnviados::Executar() {
  TnDMPowerParam::Executar();
  ControleMensagem().SetFraListaMensagemTree(GetMsgTreeLista());
  ControleMensagem().Clear();
  ControleMensagem().LimparListaMensagem();
  MostrarProgresso("Carregando dados enviados ao e-Sfinge online! Aguarde...");
  try {
    TRecConfig c;
    c.CodigoSistemaTce = StrToIntDef(Trim(Param("pCodigoSistemaTCE").AsString()), 0);
    c.CodigoEmpresa = StrToIntDef(Trim(Param("pCodigoEmpresa").AsString()), 0);
    c.CompetenciaInicial = StrToDateDef(Param("pCompetenciaInicial").AsString(), 0);
    c.CompetenciaFinal = StrToDateDef(Param("pCompetenciaFinal").AsString(), 0);
    c.CodigoAcesso = Trim(Param("pUsuario").AsString());
    c.CodigoUnidadeGestora = Trim(Param("pUnidadeGestora").AsString());
    c.Senha = Trim(Param("pSenha").AsString());
    c.DescricaoEmpresaTI = nConfig().Valor("software.empresa_ti", "Ulmo Sistemas");
    c.DescritivoSoftware = nConfig().Valor("software.descritivo", "Ulmo");
    FConfigParam = c;
    Carregar();
    ControleMensagem().AddInformacao("Dados carregados com sucesso!");
  } catch (const std::exception& e) {
    ControleMensagem().AddErro("Problema ao carregar os Dados Enviados! Mensagem Original: " + std::string(e.what()));
  }
  GetProgresso().Hide();
  ControleMensagem().SetFraListaMensagemTree(nullptr);
}

void TUlmoDPConsultaSfingeOnlineDadosEnviados::Carregar() {
  TTransacaoRO transacao(Conexao(), 1);
  FnClientDataSet->EmptyDataSet();
  std::string sql = nUlmo::FormatSQL(
      TUlmoEsfingeOnlineSql::GetSqlConsultaTceEsfingeOnlineEnvio(),
      {ValorParaSQL(TVariant(FConfigParam.CodigoEmpresa), TFieldType::ftInteger),
       ValorParaSQL(TVariant::FromDate(FConfigParam.CompetenciaInicial), TFieldType::ftDate),
       ValorParaSQL(TVariant::FromDate(FConfigParam.CompetenciaFinal), TFieldType::ftDate)});
  auto dados = ExecutarSQL(sql);
  CopyDataCDS(*dados, *FnClientDataSet);
}

bool TUlmoDPConsultaSfingeOnlineDadosEnviados::VerificarMarcados() {
  TClientDataSet& cds = *FnClientDataSet;
  if (cds.State() == TDataSetState::dsEdit || cds.State() == TDataSetState::dsInsert) cds.Post();
  int finalizados = 0;
  std::vector<std::string> cancelados;
  cds.ForEach([&](TClientDataSet& d) {
    if (d.FieldByName("SELECIONADO").AsInteger() != 1) return;
    if (Trim(d.FieldByName("STATUS").AsString()) == "1")
      ++finalizados;
    else
      cancelados.push_back("Lote " + d.FieldByName("LOTE").AsString() + " (Seq " + d.FieldByName("SEQ").AsString() + ")");
  });
  if (finalizados == 0) {
    ControleMensagem().AddErro(cancelados.empty()
                                   ? "Nenhum lote marcado para cancelamento."
                                   : "Nenhum lote finalizado marcado para cancelamento: os lotes marcados já estão "
                                     "cancelados.");
    return false;
  }
  for (const std::string& c : cancelados) ControleMensagem().AddAviso(c + " já está cancelado: não foi enviado de novo.");
  return true;
}

void TUlmoDPConsultaSfingeOnlineDadosEnviados::ActCancelarRemessaExecute() {
  ControleMensagem().SetFraListaMensagemTree(GetMsgTreeLista());
  ControleMensagem().Clear();
  if (Trim(FConfigParam.CodigoAcesso).empty() || Trim(FConfigParam.CodigoUnidadeGestora).empty() ||
      Trim(FConfigParam.Senha).empty()) {
    // An error: nothing was cancelled.
    ControleMensagem().AddErro("Para realizar o cancelamento é necessário preencher os parâmetros de acesso.");
    return;
  }
  if (!VerificarMarcados()) return;
  MostrarProgresso("Realizando cancelamento dos lotes, aguarde...");
  TClientDataSet& cds = *FnClientDataSet;
  cds.DisableControls();
  auto terminar = [&] {
    cds.SetFiltered(false);
    cds.SetFilter("");
    cds.EnableControls();
    GetProgresso().Hide();
    ControleMensagem().SetFraListaMensagemTree(nullptr);
    Carregar();
  };
  try {
    cds.SetFilter("SELECIONADO = 1 and STATUS = " + ValorParaFiltro(TVariant("1"), TFieldType::ftString));
    cds.SetFiltered(true);
    TMapDadosEnviados map;
    FieldMapper().MapearFields(cds, map);
    cds.ForEach([&](TClientDataSet&) {
      TRecDadosEnvio d;
      d.CodigoEmpresa = map.CODIGOEMPRESA->AsInteger();
      d.Competencia = map.COMPETENCIA->AsDateTime();
      d.Seq = map.SEQ->AsInteger();
      d.DataEnvio = map.DATAENVIO->IsNull() ? 0 : map.DATAENVIO->AsDateTime();
      d.Status = StrToIntDef(map.STATUS->AsString(), 0) == 1 ? TnStatusEnvio::tsFinalizado : TnStatusEnvio::tsCancelado;
      d.ChavePacote = map.CHAVEPACOTE->AsString();
      d.CodigoRegistroInformacao = map.CODIGOREGISTROINFORMACAO->AsString();
      Factory()->CancelarLote()->Config(FConfigParam).Dados(d).Executar();
    });
  } catch (...) {
    terminar();
    throw;
  }
  terminar();
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDPConsultaSfingeOnlineDadosEnviados>(),
                                   nClasse<TUlmoDPConsultaSfingeOnlineDadosEnviadosAreaTrabalho>()};

}  // namespace nUlmoEsfingeOnline
