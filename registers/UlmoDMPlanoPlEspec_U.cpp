#include "UlmoDMPlanoPlEspec_U.h"

#include "ClassRegistry_U.h"
#include "Exceptions_U.h"
#include "UlmoDMSistema_U.h"
#include "UlmoFuncoes_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

namespace {

const std::string kPR = "EXTERNO(\"VALIDARUFTCE\" , [CODIGOSISTEMATCE, \"PR\"])";
const std::string kNaoPR = "NOT(" + kPR + ")";
const std::string kBancaria = "EXTERNO(\"EHCONTATCEBANCARIA\" , [CODIGOSISTEMATCE, CODIGOTIPOCONTATCE])";

}  // namespace

TUlmoDMPlanoPlEspec::TUlmoDMPlanoPlEspec() {
  SetCommandText(
      "Select t_t.CODIGOEMPRESA,t_t.CONTACTB,t_t.DATAINICIOPLANO,t_t.DATAFIMPLANO,t_t.DESCRDETALHCONTA,"
      "t_t.CODIGOSISTEMATCE,t_t.CONTATCE,t_t.TIPONATURSALDO,t_t.APLICFINANCEIRA,t_t.TIPOSUPERAVITFINANC,"
      "t_t.CODIGOTIPOCONTATCE,t_t.CODIGOBANCO,t_t.NUMEROAGENCIA,t_t.NUMEROCONTA,t_t.IDENTIFIPATQUALITATIVA from "
      "TCEPLANOPLESPEC t_t ORDER BY T_T.CODIGOEMPRESA,T_T.CONTACTB,T_T.DATAINICIOPLANO");
  SetCaption("Plano de Contas Específico TCE");
  SetOrdem("CodigoEmpresa, ContaCtb, DataInicioPlano");
  SetCadCons("TUlmoDCPlanoPlEspec");
  SetPodeAlterarChave(false);
  AddCampo({.Nome = "CODIGOEMPRESA",
            .Tipo = TFieldType::ftSmallint,
            .Dicionario = "CODIGOEMPRESA",
            .Obrigatorio = true,
            .LinkCadastro = "TirnDMEmpresa",
            .LinkConsulta = "TirnDCEmpresa",
            .LinkTabela = "EMPRESA"});
  AddCampo({.Nome = "CONTACTB",
            .Tipo = TFieldType::ftLargeint,
            .Dicionario = "CONTACTB",
            .Obrigatorio = true,
            .LinkCadastro = "TKaloDMPlanoEspec",
            .LinkConsulta = "TKaloDCPlanoEspec",
            .LinkTabela = "PLANOESPEC",
            .LinkChaves = "CODIGOEMPRESA;CONTACTB",
            .LinkResultado = "DescrContaAux;TIPOCONTAAUX"});
  AddCampo({.Nome = "DATAINICIOPLANO",
            .Tipo = TFieldType::ftDate,
            .Label = "Data Início Plano",
            .Hint = "Informe a data de início do plano",
            .Dicionario = "DICDATA",
            .Obrigatorio = true});
  AddCampo({.Nome = "DATAFIMPLANO",
            .Tipo = TFieldType::ftDate,
            .Label = "Data Fim Plano",
            .Hint = "Informe a data do fim do plano",
            .Dicionario = "DICDATA",
            .Obrigatorio = true});
  AddCampo({.Nome = "DESCRDETALHCONTA",
            .Tipo = TFieldType::ftString,
            .Tamanho = 255,
            .Label = "Descrição Detalhe Conta",
            .Hint = "Descrição do detalhe da conta"});
  TnCampoDef sistema = CampoSistemaTCE();
  sistema.ExpressaoValue = "EXTERNO(\"PEGARSISTEMATCE\" , [CODIGOEMPRESA])";
  sistema.ForcarValor = true;
  AddCampo(sistema);
  AddCampo({.Nome = "CONTATCE",
            .Tipo = TFieldType::ftLargeint,
            .Dicionario = "CONTATCE",
            .Obrigatorio = true,
            .LinkCadastro = "TUlmoDMPlano",
            .LinkConsulta = "TUlmoDCPlano",
            .LinkTabela = "TCEPLANO",
            .LinkChaves = "CODIGOSISTEMATCE;CONTATCE",
            .LinkResultado = "CLASSIFCONTA;DESCRCONTA"});
  AddCampo({.Nome = "TIPONATURSALDO",
            .Tipo = TFieldType::ftSmallint,
            .Label = "Tipo Natureza Saldo",
            .Obrigatorio = true,
            .Lista = "Devedor=1;Credor=2;Misto=3"});
  AddCampo({.Nome = "APLICFINANCEIRA",
            .Tipo = TFieldType::ftString,
            .Tamanho = 1,
            .Label = "Gera Aplicação Financeira",
            .Hint = "Esta conta participa do arquivo de aplicação financeira, informe \"Sim\" caso contrário informe "
                    "\"Não\"",
            .Dicionario = "DICSIMNAO",
            .Grupo = "Informações TCE",
            .ExpressaoHabilitado = kNaoPR,
            .ExpressaoLimpar = kPR});
  AddCampo({.Nome = "TIPOSUPERAVITFINANC",
            .Tipo = TFieldType::ftFixedChar,
            .Tamanho = 1,
            .Label = "Tipo de Superávit Financeiro",
            .Obrigatorio = true,
            .Lista = "Nenhum=N;Financeiro=F;Patrimonial=P;Mista/Híbrida=X;Financeiro - 'F'=1;Permanente – 'P'=2;"
                     "Permanente – 'P' – Dívida Fundada=3;Outros=9"});
  AddCampo({.Nome = "CODIGOTIPOCONTATCE",
            .Tipo = TFieldType::ftSmallint,
            .Dicionario = "CODIGOTIPOCONTATCE",
            .LinkCadastro = "TUlmoDMTipoContaCtb",
            .LinkConsulta = "TUlmoDCTipoContaCtb",
            .LinkTabela = "TCETIPOCONTACTB",
            .LinkChaves = "CODIGOSISTEMATCE;CODIGOTIPOCONTATCE",
            .ExpressaoHabilitado = kNaoPR,
            .ExpressaoObrigatorio = kNaoPR});
  AddCampo({.Nome = "CODIGOBANCO",
            .Tipo = TFieldType::ftSmallint,
            .Dicionario = "CODIGOBANCO",
            .LinkConsulta = "TirnDCBanco",
            .LinkTabela = "BANCO",
            .ExpressaoHabilitado = kNaoPR,
            .ExpressaoObrigatorio = kBancaria});
  AddCampo({.Nome = "NUMEROAGENCIA",
            .Tipo = TFieldType::ftInteger,
            .Dicionario = "NUMEROAGENCIA",
            .Maximo = 999999999,
            .LinkConsulta = "TirnDCAgencia",
            .LinkTabela = "AGENCIA",
            .LinkChaves = "CODIGOBANCO;NUMEROAGENCIA",
            .ExpressaoHabilitado = kNaoPR,
            .ExpressaoObrigatorio = kBancaria});
  AddCampo({.Nome = "NUMEROCONTA",
            .Tipo = TFieldType::ftLargeint,
            .Label = "Número da Conta",
            .Hint = "Informe o número da conta",
            .ExpressaoHabilitado = kNaoPR,
            .ExpressaoObrigatorio = kBancaria});
  AddCampo({.Nome = "IDENTIFIPATQUALITATIVA",
            .Tipo = TFieldType::ftSmallint,
            .Dicionario = "IDENTIFIPATQUALITATIVA",
            .Grupo = "Informações TCE/PR",
            .Lista = "Incorporação de Ativo=1;Desincorporação de Passivo=2;Incorporação de Passivo=3;"
                     "Desincorporação de Ativo=4;Outros Registros Contábeis=99",
            .ExpressaoHabilitado = kPR,
            .ExpressaoObrigatorio = kPR,
            .ExpressaoLimpar = kNaoPR});
}

void TUlmoDMPlanoPlEspec::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                           const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDMPlanoPlEspec::AntesConfigurar(void* AForm) {
  TnDMClientDataSet::AntesConfigurar(AForm);
  LiberarCampoSistemaTCE();
  if (TField* f = nClientDataSet().FindField("CODIGOTIPOCONTATCE"))
    f->OnChange = [this](TField& aSender) { nClientDataSetCODIGOTIPOCONTATCEChange(aSender); };
}

void TUlmoDMPlanoPlEspec::LiberarCampoSistemaTCE() {
  TnCampoDef& d = Definicao("CODIGOSISTEMATCE");
  d.ExpressaoValue.clear();
  d.ForcarValor = false;
}

void TUlmoDMPlanoPlEspec::nClientDataSetCODIGOTIPOCONTATCEChange(TField& Sender) { ChecarConfigurarCampo(Sender); }

void TUlmoDMPlanoPlEspec::ValidarDado() {
  TnDMClientDataSet::ValidarDado();
  TClientDataSet& d = nClientDataSet();
  bool pr = TUlmoFuncoes::GetUFSistema(d.FieldByName("CODIGOSISTEMATCE").AsInteger()) == "PR";
  std::string superavit = d.FieldByName("TIPOSUPERAVITFINANC").AsString();
  bool codigoPR = false;
  for (const char* c : {"1", "2", "3", "9"}) codigoPR = codigoPR || SameText(superavit, c);
  if (pr && !codigoPR)
    throw Exception(
        "Para o estado do Paraná, selecionar uma das opções válidas para o campo Superávit Financeiro: Financeiro - "
        "\"F\", Permanente – \"P\", Permanente – \"P\" – Dívida Fundada ou Outros.");
  if (!pr && codigoPR)
    throw Exception(
        "Opção selecionada para o campo Superávit Financeiro válida apenas para o estado do Paraná, favor selecionar "
        "outra: Nenhum, Financeiro, Patrimonial, Mista/Híbrida");
}

void TUlmoDMPlanoPlEspec::DataModuleCreate() {
  TnDMClientDataSet::DataModuleCreate();
  SetBooleanoBase(false);
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDMPlanoPlEspec>(), nClasse<TUlmoDMPlanoPlEspecAreaTrabalho>()};

}  // namespace nUlmo
