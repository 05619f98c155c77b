#include "UlmoDPRelacionarPlanoPlEspec_U.h"

#include <utility>
#include <vector>

#include "ClassRegistry_U.h"
#include "Conexao_U.h"
#include "Dicionario_U.h"
#include "FormatUtils_U.h"
#include "Nutil_U.h"
#include "UlmoFuncoes_U.h"
#include "UlmoMenuRegra_U.h"
#include "UlmoParametros_U.h"
#include "UlmoSQLs_U.h"

namespace nUlmo {

using namespace nFramework;

namespace {

const char* const kMsgSemVinculo =
    "A empresa selecionada não está vinculada ao Sistema e ao Plano de Contas do TCE. Acesse a rotina Plano de "
    "Contas e informe o código da empresa no campo Cadastro da Empresa.";

const char* const kObrigatorios[] = {"CONTACTB", "DATAINICIOPLANO", "DATAFIMPLANO", "TIPONATURSALDO",
                                     "TIPOSUPERAVITFINANC"};

bool Preenchido(const TField& f) { return !f.IsNull() && !f.AsString().empty(); }

// The captions of the required columns a row lacks, when the row is a relation begun or a
// stored one with a column cleared; empty for an untouched unrelated row and a complete one.
std::string FaltandoNaLinha(const TClientDataSet& d) {
  std::string faltam;
  bool algum = d.FieldByName("RELACIONADO").AsInteger() == 1;
  for (const char* campo : kObrigatorios) {
    const TField& f = d.FieldByName(campo);
    if (Preenchido(f))
      algum = true;
    else
      faltam += (faltam.empty() ? "" : ", ") + (f.DisplayLabel.empty() ? f.FieldName() : f.DisplayLabel);
  }
  return algum ? faltam : std::string();
}

// Copies a number of the query only when it is positive: 0 and Null both mean "not related".
void CopiarPositivo(const TClientDataSet& AOrigem, TClientDataSet& ADestino, const char* ACampo) {
  const TField& f = AOrigem.FieldByName(ACampo);
  if (!f.IsNull() && f.AsFloat() > 0) ADestino.FieldByName(ACampo).SetValue(f.Value());
}

}  // namespace

TUlmoDPRelacionarPlanoPlEspec::TUlmoDPRelacionarPlanoPlEspec() {
  SetCaption("Relacionar Plano TCE");
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA", .Obrigatorio = true});
  std::string niveis;
  for (int i = 1; i <= 10; ++i) niveis += (i > 1 ? ";" : "") + ("Nível " + std::to_string(i) + "=" + std::to_string(i));
  AddParam({.Alias = "pNivelConta", .Caption = "Nível Conta", .Obrigatorio = true, .Lista = niveis});
  AddParam({.Alias = "pListarConfiguradas", .Caption = "Listar Somente Configurados", .Dicionario = "DICSIMNAO",
            .Padrao = "0", .Obrigatorio = true, .Lista = "Não=0;Sim=1"});
  AddParam({.Alias = "pTeveAlteracao", .Visivel = false});

  auto cds = std::make_unique<TClientDataSet>();
  cds->Name = "nClientDataSet";
  FnClientDataSet = &AddComponent("nClientDataSet", std::move(cds));
  auto aux = std::make_unique<TClientDataSet>();
  aux->Name = "nClientDataSetAux";
  FnClientDataSetAux = &AddComponent("nClientDataSetAux", std::move(aux));

  auto& salvar = npqPowerParam.AddDatasetAction("nActSalvar");
  salvar.Caption = "Salvar Relacionamentos";
  salvar.ImageIndex = 8;
  salvar.DataSet = "nClientDataSet";
  salvar.SetControlaDireito(false);
  salvar.OnExecute = [this](void*) { nActSalvarExecute(); };
  auto& excluir = npqPowerParam.AddDatasetAction("ActExcluirRelac");
  excluir.Caption = "Excluir Relacionamentos";
  excluir.ImageIndex = 6;
  excluir.DataSet = "nClientDataSet";
  excluir.Confirmacao = "Deseja excluir os registros selecionados?";
  excluir.SetControlaDireito(false);
  excluir.OnExecute = [this](void*) { ActExcluirRelacExecute(); };
}

void TUlmoDPRelacionarPlanoPlEspec::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                     const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPRelacionarPlanoPlEspecAreaTrabalho::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                                 const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPRelacionarPlanoPlEspec::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  // A code of no company was told it has no court system.
  nUlmo::LerEmpresaParametro(*this);
}

void TUlmoDPRelacionarPlanoPlEspec::DataModuleCreate() {
  TnDMPowerParam::DataModuleCreate();
  SetOpcoesProcesso({0, 0, 1, 1});
  SetMsgTreeExibir(true);
  if (EhHttpExe()) {
    npqPowerParam.FindAction("ActExcluirRelac")->ImageIndex = 102;
    npqPowerParam.FindAction("nActSalvar")->ImageIndex = 128;
  }
  nClientDataSetBeforeOpen(*FnClientDataSetAux);
  nClientDataSetBeforeOpen(*FnClientDataSet);
  ConfigurarGrade();
}

void TUlmoDPRelacionarPlanoPlEspec::nClientDataSetBeforeOpen(TClientDataSet& d) {
  d.AddFieldDef("GRAVAR", TFieldType::ftSmallint);
  d.AddFieldDef("CODIGOEMPRESA", TFieldType::ftSmallint);
  d.AddFieldDef("CONTATCE", TFieldType::ftFloat);
  d.AddFieldDef("TIPOCONTATCE", TFieldType::ftSmallint);
  d.AddFieldDef("CLASSIFDESCRTCE", TFieldType::ftString, 500);
  d.AddFieldDef("CONTACTB", TFieldType::ftFloat);
  d.AddFieldDef("DATAINICIOPLANO", TFieldType::ftDate);
  d.AddFieldDef("DATAFIMPLANO", TFieldType::ftDate);
  d.AddFieldDef("CODIGOSISTEMATCE", TFieldType::ftSmallint);
  d.AddFieldDef("TIPONATURSALDO", TFieldType::ftSmallint);
  d.AddFieldDef("APLICFINANCEIRA", TFieldType::ftString, 20);
  d.AddFieldDef("TIPOSUPERAVITFINANC", TFieldType::ftFixedChar, 1);
  d.AddFieldDef("CODIGOTIPOCONTATCE", TFieldType::ftSmallint);
  d.AddFieldDef("CODIGOBANCO", TFieldType::ftSmallint);
  d.AddFieldDef("NUMEROAGENCIA", TFieldType::ftInteger);
  d.AddFieldDef("NUMEROCONTA", TFieldType::ftFloat);
  d.AddFieldDef("IDENTIFIPATQUALITATIVA", TFieldType::ftSmallint);
  d.AddFieldDef("RELACIONADO", TFieldType::ftSmallint);
  d.AddFieldDef("STYLE", TFieldType::ftSmallint);
  // The stored relation's key as loaded (empty for a court account without one): with the
  // court account it names a row, whatever the user types in the relation's own columns.
  d.AddFieldDef("CONTACTBRELAC", TFieldType::ftFloat);
  d.AddFieldDef("DATAINICIORELAC", TFieldType::ftDate);
  d.CreateDataSet();
  d.DisplayCaption = "Dados";
  d.CampoMarca = "GRAVAR";
  d.CamposChave = "CONTATCE;CONTACTBRELAC;DATAINICIORELAC";
  d.CampoEstilo = "STYLE";
  d.EstiloDestaque = "negrito-verde";

  auto dicionario = [&d](const char* ACampo, const char* AEntrada) {
    const TnEntradaDicionario* e = Dicionario().Encontrar(AEntrada);
    if (!e) throw EInternalError(std::string("dicionário sem a entrada ") + AEntrada);
    TField& f = d.FieldByName(ACampo);
    f.DisplayLabel = e->Caption;
    f.ValueList = e->Lista;
  };
  dicionario("GRAVAR", "DICSELECIONADO");
  dicionario("CODIGOEMPRESA", "CODIGOEMPRESA");
  dicionario("CONTACTB", "CONTACTB");
  dicionario("APLICFINANCEIRA", "DICSIMNAO");
  dicionario("CODIGOTIPOCONTATCE", "CODIGOTIPOCONTATCE");
  dicionario("CODIGOBANCO", "CODIGOBANCO");
  dicionario("NUMEROAGENCIA", "NUMEROAGENCIA");
  dicionario("NUMEROCONTA", "NUMEROCONTA");
  dicionario("IDENTIFIPATQUALITATIVA", "IDENTIFIPATQUALITATIVA");
  const std::pair<const char*, const char*> labels[] = {
      {"CONTATCE", "Conta TCE"},
      {"TIPOCONTATCE", "S/A"},
      {"CLASSIFDESCRTCE", "Classificação - Descrição"},
      {"DATAINICIOPLANO", "Data Início Plano"},
      {"DATAFIMPLANO", "Data Fim Plano"},
      {"TIPONATURSALDO", "Tipo Natureza Saldo"},
      {"APLICFINANCEIRA", "Gerar Aplicação Financeira"},
      {"TIPOSUPERAVITFINANC", "Tipo de Superávit Financeiro"},
      {"CONTACTBRELAC", "Conta Relacionada"},
      {"DATAINICIORELAC", "Início Relacionamento"}};
  for (const auto& [campo, label] : labels) d.FieldByName(campo).DisplayLabel = label;
  d.FieldByName("TIPOCONTATCE").ValueList = "A=2;S=1";
  d.FieldByName("TIPONATURSALDO").ValueList = "Devedor=1;Credor=2;Misto=3";
  d.FieldByName("TIPOSUPERAVITFINANC").ValueList =
      "Nenhum=N;Financeiro=F;Patrimonial=P;Mista/Híbrida=X;Financeiro - 'F'=1;Permanente – 'P'=2;"
      "Permanente – 'P' – Dívida Fundada=3;Outros=9";
  for (const char* campo : {"DATAINICIOPLANO", "DATAFIMPLANO", "DATAINICIORELAC"})
    d.FieldByName(campo).DisplayFormat = "dd/mm/yyyy";
  d.FieldByName("CLASSIFDESCRTCE").DisplayWidth = 60;
  for (const char* campo : {"CODIGOEMPRESA", "CONTATCE", "TIPOCONTATCE", "CLASSIFDESCRTCE", "CODIGOSISTEMATCE",
                            "RELACIONADO", "STYLE", "CONTACTBRELAC", "DATAINICIORELAC"})
    d.FieldByName(campo).ReadOnly = true;
  for (const char* campo : {"CODIGOEMPRESA", "CODIGOSISTEMATCE", "RELACIONADO", "STYLE"})
    d.FieldByName(campo).Visible = false;
  const std::pair<const char*, std::vector<const char*>> bandas[] = {
      {"Plano TCE", {"GRAVAR", "CONTATCE", "TIPOCONTATCE", "CLASSIFDESCRTCE"}},
      {"Plano Contábil", {"CONTACTB", "CONTACTBRELAC", "DATAINICIORELAC"}},
      {"Dados TCE", {"DATAINICIOPLANO", "DATAFIMPLANO", "TIPONATURSALDO", "TIPOSUPERAVITFINANC"}},
      {"Informações TCE", {"APLICFINANCEIRA", "CODIGOTIPOCONTATCE", "CODIGOBANCO", "NUMEROAGENCIA", "NUMEROCONTA"}},
      {"Informações TCE/PR", {"IDENTIFIPATQUALITATIVA"}}};
  for (const auto& [banda, campos] : bandas)
    for (const char* campo : campos) d.FieldByName(campo).Band = banda;
}

namespace {

// The dataset a lookup reads, with these columns (loaded at each load).
std::unique_ptr<TClientDataSet> Consulta(std::initializer_list<std::pair<const char*, TFieldType>> ACampos) {
  auto d = std::make_unique<TClientDataSet>();
  for (const auto& [nome, tipo] : ACampos) d->AddFieldDef(nome, tipo, IsTextType(tipo) ? 200 : 0);
  d->CreateDataSet();
  return d;
}

// A date as a cell takes it: dd/mm/yyyy or ISO.
bool DataDoTexto(const std::string& ATexto, TDateTime& AData) {
  std::string t = Trim(ATexto);
  if (TryStrToDate(t, AData)) return true;
  if (auto d = TryISOToDateTime(t)) {
    AData = *d;
    return true;
  }
  return false;
}

// The value a cell's text holds, the caption of its value list taken for its value.
std::string ValorDaLista(const TField& AField, const std::string& ATexto) {
  std::string t = Trim(ATexto);
  for (const auto& [caption, valor] : ItensLista(AField.ValueList))
    if (SameText(caption, t)) return valor;
  return t;
}

}  // namespace

void TUlmoDPRelacionarPlanoPlEspec::ConfigurarGrade() {
  TClientDataSet& d = *FnClientDataSet;
  FPlanoEmpresa = Consulta({{"CONTACTB", TFieldType::ftLargeint},
                            {"DESCRCONTA", TFieldType::ftString},
                            {"TIPOCONTA", TFieldType::ftSmallint}});
  FTiposConta = Consulta({{"CODIGOSISTEMATCE", TFieldType::ftSmallint},
                          {"CODIGOTIPOCONTATCE", TFieldType::ftSmallint},
                          {"DESCRTIPOCONTATCE", TFieldType::ftString}});
  FBancos = Consulta({{"CODIGOBANCO", TFieldType::ftSmallint}, {"NOMEBANCO", TFieldType::ftString}});
  FAgencias = Consulta({{"CODIGOBANCO", TFieldType::ftSmallint},
                        {"NUMEROAGENCIA", TFieldType::ftInteger},
                        {"NOMEAGENCIA", TFieldType::ftString}});
  struct TConsultaGrade {
    const char *Nome, *Label, *Banda, *Chaves;
    TClientDataSet* Origem;
    const char *ChavesOrigem, *Resultado;
    TFieldType Tipo;
  };
  const TConsultaGrade consultas[] = {
      {"DESCRCONTAAUX", "Descrição Conta Contábil", "Plano Contábil", "CONTACTB", FPlanoEmpresa.get(), "CONTACTB",
       "DESCRCONTA", TFieldType::ftString},
      {"TIPOCONTAAUX", "S/A Conta Contábil", "Plano Contábil", "CONTACTB", FPlanoEmpresa.get(), "CONTACTB",
       "TIPOCONTA", TFieldType::ftSmallint},
      {"DESCRTIPOCONTATCE", "Descrição Tipo Conta TCE", "Informações TCE", "CODIGOSISTEMATCE;CODIGOTIPOCONTATCE",
       FTiposConta.get(), "CODIGOSISTEMATCE;CODIGOTIPOCONTATCE", "DESCRTIPOCONTATCE", TFieldType::ftString},
      {"NOMEBANCO", "Nome do Banco", "Informações TCE", "CODIGOBANCO", FBancos.get(), "CODIGOBANCO", "NOMEBANCO",
       TFieldType::ftString},
      {"NOMEAGENCIA", "Nome da Agência", "Informações TCE", "CODIGOBANCO;NUMEROAGENCIA", FAgencias.get(),
       "CODIGOBANCO;NUMEROAGENCIA", "NOMEAGENCIA", TFieldType::ftString},
  };
  for (const auto& c : consultas) {
    TField& f = d.AddFieldLookup(c.Nome, c.Tipo, IsTextType(c.Tipo) ? 200 : 0, c.Chaves, *c.Origem, c.ChavesOrigem,
                                 c.Resultado);
    f.DisplayLabel = c.Label;
    f.Band = c.Banda;
  }
  d.FieldByName("DESCRCONTAAUX").DisplayWidth = 40;
  d.FieldByName("TIPOCONTAAUX").ValueList = "A=2;S=1";
  d.FieldByName("TIPOCONTAAUX").Visible = false;

  // A code its register lacks would stop the whole save at the register's check; say so on the cell.
  auto cadastrado = [](TClientDataSet& AOrigem, const char* AChave, bool APorSistema) {
    return [&AOrigem, AChave, APorSistema](TField& AField, const std::string& ATexto) {
      std::string t = Trim(ATexto);
      double numero = 0;
      if (t.empty() || !TryStrToFloat(t, numero)) return;
      TVariant codigo(static_cast<int64_t>(numero));
      bool achou = APorSistema ? AOrigem.Locate(std::string("CODIGOSISTEMATCE;") + AChave,
                                                {AField.DataSet().FieldByName("CODIGOSISTEMATCE").Value(), codigo})
                               : AOrigem.Locate(AChave, {codigo});
      if (!achou) throw Exception("O valor do campo " + AField.DisplayLabel + " não está cadastrado: " + t + "!");
    };
  };
  auto contaCadastrada = cadastrado(*FPlanoEmpresa, "CONTACTB", false);
  // A stored relation keeps its company account and start date (the register's key): the save
  // would find nothing to edit, and a deletion would take another relation.
  d.FieldByName("CONTACTB").OnValidate = [contaCadastrada](TField& AField, const std::string& ATexto) {
    TClientDataSet& linha = AField.DataSet();
    if (linha.FieldByName("RELACIONADO").AsInteger() == 1) {
      double conta = 0;
      if (!TryStrToFloat(Trim(ATexto), conta) || conta != linha.FieldByName("CONTACTBRELAC").AsFloat())
        throw Exception("O relacionamento gravado não pode mudar de conta contábil: exclua-o e relacione a conta TCE "
                        "de novo.");
    }
    contaCadastrada(AField, ATexto);
  };
  d.FieldByName("DATAINICIOPLANO").OnValidate = [](TField& AField, const std::string& ATexto) {
    TClientDataSet& linha = AField.DataSet();
    if (linha.FieldByName("RELACIONADO").AsInteger() != 1) return;
    TDateTime data = 0;
    if (!DataDoTexto(ATexto, data) || data != linha.FieldByName("DATAINICIORELAC").AsDateTime())
      throw Exception("O relacionamento gravado não pode mudar de data início: exclua-o e relacione a conta TCE de "
                      "novo.");
  };
  d.FieldByName("CODIGOTIPOCONTATCE").OnValidate = cadastrado(*FTiposConta, "CODIGOTIPOCONTATCE", true);
  d.FieldByName("CODIGOBANCO").OnValidate = cadastrado(*FBancos, "CODIGOBANCO", false);
  // The register's rule for the surplus type, at the cell rather than for the whole save.
  d.FieldByName("TIPOSUPERAVITFINANC").OnValidate = [this](TField& AField, const std::string& ATexto) {
    std::string v = ValorDaLista(AField, ATexto);
    if (v.empty()) return;
    bool codigoPR = SameText(v, "1") || SameText(v, "2") || SameText(v, "3") || SameText(v, "9");
    if (FUFSistema == "PR" && !codigoPR)
      throw Exception(
          "Para o estado do Paraná, selecionar uma das opções válidas para o campo Superávit Financeiro: Financeiro - "
          "\"F\", Permanente – \"P\", Permanente – \"P\" – Dívida Fundada ou Outros.");
    if (FUFSistema != "PR" && codigoPR)
      throw Exception(
          "Opção selecionada para o campo Superávit Financeiro válida apenas para o estado do Paraná, favor selecionar "
          "outra: Nenhum, Financeiro, Patrimonial, Mista/Híbrida");
  };

  FGuardado = CloneCDS(d);
  // GRAVAR is forced on every edit of a grid row: only a complete row is marked; the load leaves
  // it at 0, a row the user changes is marked, and a row the user ticks or unticks keeps that.
  d.BeforePost = [this](TClientDataSet& ds) {
    if (FCarregando) return;
    bool completo = true;
    for (const char* campo : kObrigatorios) completo = completo && Preenchido(ds.FieldByName(campo));
    int marca = 1;
    if (ds.State() == TDataSetState::dsEdit && FGuardado->GotoBookmark(ds.GetBookmark())) {
      bool mudou = false;
      for (int i = 0; i < FGuardado->FieldCount(); ++i) {
        const std::string& nome = FGuardado->Fields(i).FieldName();
        if (nome != "GRAVAR" && !(ds.FieldByName(nome).Value() == FGuardado->Fields(i).Value())) mudou = true;
      }
      int antes = FGuardado->FieldByName("GRAVAR").AsInteger(), agora = ds.FieldByName("GRAVAR").AsInteger();
      marca = agora != antes ? agora : mudou ? 1 : antes;
    }
    ds.FieldByName("GRAVAR").SetAsInteger(completo && marca != 0 ? 1 : 0);
  };
}

void TUlmoDPRelacionarPlanoPlEspec::CarregarConsultas(int AEmpresa) {
  auto copiar = [](std::unique_ptr<TSQLDataSet> AConsulta, TClientDataSet& ADestino) {
    ADestino.EmptyDataSet();
    CopyDataCDS(*AConsulta, ADestino);
  };
  int sistema = VarToIntDef(PegarValorCampo("TCESISTEMAEMPRESA", "CODIGOSISTEMATCE",
                                            "CODIGOEMPRESA = " + ValorParaSQL(AEmpresa, TFieldType::ftSmallint)),
                            0);
  copiar(ExecutarSQL("select CONTACTB, DESCRCONTA, TIPOCONTA from PLANOESPEC where CODIGOEMPRESA = :CODIGOEMPRESA",
                     {AEmpresa}),
         *FPlanoEmpresa);
  copiar(ExecutarSQL("select CODIGOSISTEMATCE, CODIGOTIPOCONTATCE, DESCRTIPOCONTATCE from TCETIPOCONTACTB where "
                     "CODIGOSISTEMATCE = :CODIGOSISTEMATCE",
                     {sistema}),
         *FTiposConta);
  copiar(ExecutarSQL("select CODIGOBANCO, NOMEBANCO from BANCO"), *FBancos);
  copiar(ExecutarSQL("select CODIGOBANCO, NUMEROAGENCIA, NOMEAGENCIA from AGENCIA"), *FAgencias);
}

int TUlmoDPRelacionarPlanoPlEspec::CodigoEmpresa() const {
  return StrToIntDef(GetControlValues("pCodigoEmpresa"), 0);
}

bool TUlmoDPRelacionarPlanoPlEspec::ListarConfigurados() const {
  return StrToIntDef(GetControlValues("pListarConfiguradas"), 0) == 1;
}

std::string TUlmoDPRelacionarPlanoPlEspec::PegarUFSistema() const {
  TVariant sistema = PegarValorCampo("TCESISTEMAEMPRESA", "CODIGOSISTEMATCE",
                                     "CODIGOEMPRESA = " + ValorParaSQL(CodigoEmpresa(), TFieldType::ftSmallint));
  return TUlmoFuncoes::GetUFSistema(VarToIntDef(sistema, 0));
}

void TUlmoDPRelacionarPlanoPlEspec::Executar() {
  TnDMPowerParam::Executar();
  int empresa = CodigoEmpresa();
  if (!PegarTemRegistro("TCESISTEMAEMPRESA", "CODIGOSISTEMATCE",
                        "CODIGOEMPRESA = " + ValorParaFiltro(empresa, TFieldType::ftInteger)))
    throw Exception(kMsgSemVinculo);
  FUFSistema = PegarUFSistema();

  TClientDataSet& aux = *FnClientDataSetAux;
  aux.DisableControls();
  aux.EmptyDataSet();
  auto progresso = CriarProgresso(this);
  struct TFinal {
    TUlmoDPRelacionarPlanoPlEspec& P;
    TnFraProgresso& Progresso;
    ~TFinal() {
      P.FcurDados.reset();
      P.FCarregando = false;
      P.FnClientDataSetAux->First();
      P.FnClientDataSetAux->EnableControls();
      Progresso.Hide();
    }
  } final{*this, *progresso};
  progresso->MostrarTexto("Carregando dados, aguarde...");

  {
    TTransacaoRO transacao(Conexao(), 1);
    FcurDados = ExecutarSQL(FormatSQL(TUlmoSQLs::GetSQLSelectDadosPlanoPlEspec(),
                                      {ListarConfigurados() ? "" : "left", ValorParaSQL(empresa, TFieldType::ftInteger),
                                       ValorParaSQL(GetControlValues("pNivelConta") + "%", TFieldType::ftString)}));
    CarregarConsultas(empresa);
  }

  TSQLDataSet& q = *FcurDados;
  for (q.First(); !q.Eof(); q.Next()) {
    aux.Append();
    aux.FieldByName("GRAVAR").SetAsInteger(0);
    aux.FieldByName("RELACIONADO").SetAsInteger(0);
    aux.FieldByName("STYLE").SetAsInteger(0);
    for (const char* campo : {"CODIGOEMPRESA", "CODIGOSISTEMATCE", "CONTATCE", "TIPOCONTATCE"})
      aux.FieldByName(campo).SetValue(q.FieldByName(campo).Value());
    aux.FieldByName("CLASSIFDESCRTCE")
        .SetAsString(q.FieldByName("CLASSIFCONTATCE").AsString() + " - " + q.FieldByName("DESCRCONTATCE").AsString());
    aux.FieldByName("APLICFINANCEIRA").SetValue(q.FieldByName("APLICFINANCEIRA").Value());
    aux.FieldByName("TIPOSUPERAVITFINANC").SetAsString(q.FieldByName("TIPOSUPERAVITFINANC").AsString());
    aux.FieldByName("IDENTIFIPATQUALITATIVA").SetValue(q.FieldByName("IDENTIFIPATQUALITATIVA").Value());
    for (const char* campo : {"CONTACTB", "DATAINICIOPLANO", "DATAFIMPLANO", "TIPONATURSALDO"})
      CopiarPositivo(q, aux, campo);
    if (!q.FieldByName("CONTACTB").IsNull() && q.FieldByName("CONTACTB").AsFloat() > 0) {
      aux.FieldByName("RELACIONADO").SetAsInteger(1);
      aux.FieldByName("CONTACTBRELAC").SetValue(aux.FieldByName("CONTACTB").Value());
      aux.FieldByName("DATAINICIORELAC").SetValue(aux.FieldByName("DATAINICIOPLANO").Value());
    }
    for (const char* campo : {"CODIGOTIPOCONTATCE", "CODIGOBANCO", "NUMEROAGENCIA", "NUMEROCONTA"})
      CopiarPositivo(q, aux, campo);
    if (q.FieldByName("TIPOCONTATCE").AsInteger() == 1) aux.FieldByName("STYLE").SetAsInteger(1);
    aux.Post();
  }
  FcurDados.reset();

  // The grid takes the new rows in place of the old ones, as loaded (GRAVAR stays 0).
  FCarregando = true;
  FnClientDataSet->EmptyDataSet();
  CopyDataCDS(aux, *FnClientDataSet);
  FnClientDataSet->First();
}

void TUlmoDPRelacionarPlanoPlEspec::CopiarParaCadastro(TClientDataSet& ALinha, const std::string& APrefixo,
                                                      std::vector<std::pair<int, std::string>>& AMensagens) {
  TClientDataSet& r = FDMPlanoPlEspec->nClientDataSet();
  bool pr = FUFSistema == "PR";
  r.FieldByName("CONTACTB").SetAsFloat(ALinha.FieldByName("CONTACTB").AsFloat());
  r.FieldByName("DATAFIMPLANO").SetAsDateTime(ALinha.FieldByName("DATAFIMPLANO").AsDateTime());
  r.FieldByName("CODIGOSISTEMATCE").SetAsInteger(ALinha.FieldByName("CODIGOSISTEMATCE").AsInteger());
  r.FieldByName("CONTATCE").SetAsFloat(ALinha.FieldByName("CONTATCE").AsFloat());
  r.FieldByName("TIPONATURSALDO").SetAsInteger(ALinha.FieldByName("TIPONATURSALDO").AsInteger());
  r.FieldByName("TIPOSUPERAVITFINANC").SetAsString(ALinha.FieldByName("TIPOSUPERAVITFINANC").AsString());
  // The court of PR takes no financial-application flag; the others get what the user chose.
  if (pr)
    r.FieldByName("APLICFINANCEIRA").Clear();
  else
    r.FieldByName("APLICFINANCEIRA").SetAsString(Trim(ALinha.FieldByName("APLICFINANCEIRA").AsString()));
  if (!pr) {
    if (!ALinha.FieldByName("CODIGOTIPOCONTATCE").AsString().empty())
      r.FieldByName("CODIGOTIPOCONTATCE").SetAsInteger(ALinha.FieldByName("CODIGOTIPOCONTATCE").AsInteger());
    for (const char* campo : {"CODIGOBANCO", "NUMEROAGENCIA", "NUMEROCONTA"})
      if (ALinha.FieldByName(campo).AsFloat() > 0) r.FieldByName(campo).SetAsFloat(ALinha.FieldByName(campo).AsFloat());
  } else if (ALinha.FieldByName("IDENTIFIPATQUALITATIVA").AsInteger() != 0) {
    r.FieldByName("IDENTIFIPATQUALITATIVA").SetAsInteger(ALinha.FieldByName("IDENTIFIPATQUALITATIVA").AsInteger());
  } else {
    // The warning promises "Incorporação de Ativo" to a row that has no identifier yet; the
    // register would otherwise refuse it as required and the whole save would be lost.
    if (r.FieldByName("IDENTIFIPATQUALITATIVA").IsNull()) r.FieldByName("IDENTIFIPATQUALITATIVA").SetAsInteger(1);
    AMensagens.emplace_back(tmAviso, APrefixo +
                                         "O Campo Identificador da Variação Patrimonial Qualitativa deve ser preenchido "
                                         "para UF Paraná, atribuído por padrão Incorporação de Ativo, para alterar, "
                                         "editar o relacionamento");
  }
}

void TUlmoDPRelacionarPlanoPlEspec::nActSalvarExecute() {
  const char* const classe = "TUlmoDMPlanoPlEspecAreaTrabalho";
  const char* const contexto = "PlanoPlEspec";
  int empresa = CodigoEmpresa();
  int marcados = 0;
  std::vector<std::string> incompletas;
  FnClientDataSet->ForEach([&](TClientDataSet& d) {
    marcados += d.FieldByName("GRAVAR").AsInteger() == 1;
    if (std::string faltam = FaltandoNaLinha(d); !faltam.empty())
      incompletas.push_back("Conta TCE " + FloatToStr(d.FieldByName("CONTATCE").AsFloat()) + ": falta informar " +
                            faltam + "; a linha não foi gravada.");
  });
  // A row begun but not finished is never written: say which, so the edit is not lost unseen.
  for (const auto& texto : incompletas) MsgTree(marcados == 0 ? tmErro : tmAviso, texto);
  if (marcados == 0) {
    if (incompletas.empty())
      MsgTree(tmErro, "Nenhuma conta TCE marcada para salvar: marque as contas com conta contábil, data início, data "
                      "fim, natureza do saldo e superávit financeiro informados.");
    return;
  }
  // Held back until the outcome is known: a confirmation must not announce a row that the
  // rollback of a later failure takes away.
  std::vector<std::pair<int, std::string>> mensagens;
  std::string linhaAtual;  // names the row a refusal came from
  TnDMConexao& conexao = Conexao();
  conexao.StartTransaction();
  try {
    FDMPlanoPlEspec = dynamic_cast<TnDMClientDataSet*>(CriarDM(classe, nullptr, contexto));
    if (!FDMPlanoPlEspec) throw EInternalError(std::string(classe) + " não é um cadastro");
    FDMPlanoPlEspec->ConfigSobDemanda();
    if (FDMPlanoPlEspec->Aberto())
      FDMPlanoPlEspec->Refresh();
    else
      FDMPlanoPlEspec->Abrir();
    if (FUFSistema.empty()) FUFSistema = PegarUFSistema();
    TClientDataSet& reg = FDMPlanoPlEspec->nClientDataSet();

    // Writes the register's pending row; a failed row is dropped from the register so that it
    // does not fail again with every row after it.
    auto gravarLinha = [&](const std::string& AErro, const std::string& AOk) {
      reg.Post();
      if (FDMPlanoPlEspec->ApplyUpdates(0) != 0) {
        mensagens.emplace_back(tmErro, AErro);
        FDMPlanoPlEspec->Refresh();
      } else {
        mensagens.emplace_back(tmConfirmacao, AOk);
      }
    };

    FnClientDataSet->ForEach([&](TClientDataSet& d) {
      std::string n = FloatToStr(d.FieldByName("CONTATCE").AsFloat());
      std::string prefixo = "Conta TCE " + n + " ";
      linhaAtual = "Conta TCE " + n + ": ";
      if (FUFSistema == "PR") {
        bool banco = false;
        for (const char* campo : {"CODIGOTIPOCONTATCE", "CODIGOBANCO", "NUMEROAGENCIA", "NUMEROCONTA"})
          banco = banco || !d.FieldByName(campo).AsString().empty();
        if (banco)
          mensagens.emplace_back(tmAviso, prefixo +
                                              "Os campos Gera Aplicação Financeira, Tipo Conta TCE, Banco, Agência e "
                                              "Número da Conta não devem ser preenchidos para UF Paraná, dados salvos "
                                              "em branco.");
      } else if (d.FieldByName("IDENTIFIPATQUALITATIVA").AsInteger() != 0) {
        mensagens.emplace_back(tmAviso, prefixo +
                                            "O Campo Identificador da Variação Patrimonial Qualitativa não deve "
                                            "preenchido para demais estados além do Paraná.");
      }
      if (d.FieldByName("GRAVAR").AsInteger() != 1) return;

      if (d.FieldByName("RELACIONADO").AsInteger() == 0) {
        reg.Insert();
        reg.FieldByName("CODIGOEMPRESA").SetAsInteger(empresa);
        reg.FieldByName("DATAINICIOPLANO").SetAsDateTime(d.FieldByName("DATAINICIOPLANO").AsDateTime());
        CopiarParaCadastro(d, prefixo, mensagens);
        gravarLinha("Erro ao inserir relacionamento Conta TCE " + n,
                    "Relacionamento da Conta TCE " + n + " inserido com sucesso.");
        return;
      }
      TVariant contaCtb = d.FieldByName("CONTACTB").Value();
      TVariant inicio = TVariant::FromDate(d.FieldByName("DATAINICIOPLANO").AsDateTime());
      FDMPlanoPlEspec->FetchRegistros("CODIGOEMPRESA = " + ValorParaFiltro(empresa, TFieldType::ftInteger) +
                                      " and CONTACTB = " + ValorParaFiltro(contaCtb, TFieldType::ftFloat) +
                                      " and DATAINICIOPLANO = " + ValorParaFiltro(inicio, TFieldType::ftDate));
      if (!reg.Locate("CODIGOEMPRESA;CONTACTB;DATAINICIOPLANO", {TVariant(empresa), contaCtb, inicio})) {
        // The company account or start date of a stored relation was changed in the grid: the
        // stored row is not found and nothing is written; say so rather than drop the edit unseen.
        mensagens.emplace_back(tmAviso, prefixo + "O relacionamento com a conta contábil " + contaCtb.AsString() +
                                            " e data início " + DateToStr(inicio.AsDateTime()) +
                                            " não foi encontrado; a alteração não foi gravada.");
        return;
      }
      reg.Edit();
      CopiarParaCadastro(d, prefixo, mensagens);
      gravarLinha("Erro ao editar relacionamento Conta TCE " + n,
                  "Relacionamento da Conta TCE " + n + " editado com sucesso.");
    });
    linhaAtual.clear();
    conexao.Commit();
    DestruirDM(classe, contexto);
    FDMPlanoPlEspec = nullptr;
    for (const auto& [tipo, texto] : mensagens) MsgTree(tipo, texto);
  } catch (const std::exception& e) {
    DestruirDM(classe, contexto);
    FDMPlanoPlEspec = nullptr;
    conexao.RollBack();
    for (const auto& [tipo, texto] : mensagens)
      if (tipo != tmConfirmacao) MsgTree(tipo, texto);
    MsgTree(tmErro, linhaAtual + e.what());
  }
  Executar();
}

void TUlmoDPRelacionarPlanoPlEspec::ActExcluirRelacExecute() {
  FBlockCommand = std::make_unique<TBlockCommand>();
  struct TLiberar {
    std::unique_ptr<TBlockCommand>& Block;
    ~TLiberar() { Block.reset(); }
  } liberar{FBlockCommand};

  std::vector<std::string> excluidos;
  // The relation as stored, not as the grid's columns may have been typed over since.
  FnClientDataSet->ForEach([&](TClientDataSet& d) {
    if (d.FieldByName("GRAVAR").AsInteger() != 1 || d.FieldByName("RELACIONADO").AsInteger() != 1) return;
    FBlockCommand->Add(FormatSQL(
        TUlmoSQLs::GetSQLDeletePlanoPlEspec(),
        {ValorParaSQL(d.FieldByName("CODIGOEMPRESA").Value(), TFieldType::ftInteger),
         ValorParaSQL(d.FieldByName("CONTACTBRELAC").Value(), TFieldType::ftFloat),
         ValorParaSQL(TVariant::FromDate(d.FieldByName("DATAINICIORELAC").AsDateTime()), TFieldType::ftDate)}));
    excluidos.push_back("Excluído relacionamento Conta TCE " + FloatToStr(d.FieldByName("CONTATCE").AsFloat()));
  });
  if (excluidos.empty()) {
    MsgTree(tmErro, "Nenhum relacionamento marcado para excluir: marque as contas TCE já relacionadas.");
    return;
  }

  try {
    FBlockCommand->Executar();
  } catch (const std::exception& e) {
    throw Exception(std::string("Problema ao excluir os registros na relação TCEPLANOPLESPEC! Mensagem original: ") +
                    e.what());
  }
  // Announced only once they are gone: a rolled-back deletion deleted nothing.
  for (const auto& texto : excluidos) MsgTree(tmConfirmacao, texto);
  Executar();
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDPRelacionarPlanoPlEspec>(),
                                   nClasse<TUlmoDPRelacionarPlanoPlEspecAreaTrabalho>()};

}  // namespace nUlmo
