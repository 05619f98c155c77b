#include "UlmoDPRelacionarBens_U.h"

#include "ClassRegistry_U.h"
#include "Conexao_U.h"
#include "Dicionario_U.h"
#include "FormatUtils_U.h"
#include "Nutil_U.h"
#include "UlmoMenuRegra_U.h"
#include "UlmoParametros_U.h"
#include "UlmoSQLs_U.h"

namespace nUlmo {

using namespace nFramework;

namespace {

const char* const kSQLBens =
    "select B.CODIGOBEM, B.NUMEROBEM, B.DESCRISAO DESCRICAO, B.CODIGOEMPRESA, B.DATAAQUISICAO, BR.PROPRIEDADEBEM, "
    "BR.NATUREZABEM, BR.IDTIPOCATEGORIABEM, BR.IDTIPODETALHAMENTOBEM, BR.UTILIZACAOBEM from PATBEM B %s join "
    "PATBEMRELACTCE BR on B.CODIGOEMPRESA = BR.CODIGOEMPRESA and B.CODIGOBEM = BR.CODIGOBEM where B.CODIGOEMPRESA = "
    "%s and B.DATAAQUISICAO between %s and %s";

const char* const kSQLExcluir = "delete from PATBEMRELACTCE where CODIGOEMPRESA = %s and CODIGOBEM = %s";

const char* const kSQLAlterar =
    "update PATBEMRELACTCE set PROPRIEDADEBEM = %s , NATUREZABEM = %s , IDTIPOCATEGORIABEM = %s , "
    "IDTIPODETALHAMENTOBEM = %s, UTILIZACAOBEM = %s where CODIGOEMPRESA = %s and CODIGOBEM = %s ";

const char* const kSQLIncluir =
    "insert into PATBEMRELACTCE (CODIGOBEM, CODIGOEMPRESA, PROPRIEDADEBEM, NATUREZABEM, IDTIPOCATEGORIABEM, "
    "IDTIPODETALHAMENTOBEM, UTILIZACAOBEM ) values (%s, %s, %s, %s, %s, %s, %s)";

const char* const kClassificacao[] = {"PropriedadeBem", "NaturezaBem", "CategoriaBem", "DetalhamentoBem",
                                      "UtilizacaoBem"};

std::string Inteiro(const TClientDataSet& d, const char* aCampo) {
  return ValorParaSQL(d.FieldByName(aCampo).AsInteger(), TFieldType::ftInteger);
}

}  // namespace

TUlmoDPRelacionarBens::TUlmoDPRelacionarBens() {
  SetCaption("Relacionar Bens");
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA", .Obrigatorio = true});
  AddParam({.Alias = "pDataInicial", .Caption = "Data Inicial", .Dicionario = "DICDATA", .Obrigatorio = true});
  AddParam({.Alias = "pDataFinal", .Caption = "Data Final", .Dicionario = "DICDATA", .Obrigatorio = true});
  AddParam({.Alias = "pListarConfiguradas", .Caption = "Listar Somente Configurados", .Dicionario = "DICSIMNAO",
            .Padrao = "0", .Obrigatorio = true, .Lista = "Não=0;Sim=1"});

  auto cds = std::make_unique<TClientDataSet>();
  cds->Name = "nClientDataSet";
  FnClientDataSet = &AddComponent("nClientDataSet", std::move(cds));

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
  excluir.SetControlaDireito(false);
  excluir.OnExecute = [this](void*) { ActExcluirRelacExecute(); };
}

void TUlmoDPRelacionarBens::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                             const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPRelacionarBensAreaTrabalho::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                         const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPRelacionarBens::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  // A period that ends before it starts, or a code of no company, listed nothing without a word.
  nUlmo::LerEmpresaParametro(*this);
  nUlmo::LerPeriodoParametros(*this, "pDataInicial", "pDataFinal");
}

void TUlmoDPRelacionarBens::DataModuleCreate() {
  TnDMPowerParam::DataModuleCreate();
  SetOpcoesProcesso({0, 0, 1, 1});
  SetMsgTreeExibir(true);  // the actions say how many classifications they wrote or removed
  if (EhHttpExe()) {
    npqPowerParam.FindAction("ActExcluirRelac")->ImageIndex = 102;
    npqPowerParam.FindAction("nActSalvar")->ImageIndex = 128;
  }
  nClientDataSetBeforeOpen();
}

void TUlmoDPRelacionarBens::nClientDataSetBeforeOpen() {
  TClientDataSet& d = *FnClientDataSet;
  d.AddFieldDef("GRAVAR", TFieldType::ftSmallint);
  d.AddFieldDef("CodigoEmpresa", TFieldType::ftSmallint);
  d.AddFieldDef("ChaveLcto", TFieldType::ftFloat);
  d.AddFieldDef("CodigoBem", TFieldType::ftFloat);
  d.AddFieldDef("DescricaoBem", TFieldType::ftString, 200);
  d.AddFieldDef("DataAquisicao", TFieldType::ftDate);
  for (const char* campo : kClassificacao) d.AddFieldDef(campo, TFieldType::ftSmallint);
  d.AddFieldDef("PossuiRelac", TFieldType::ftSmallint);
  d.CreateDataSet();
  d.DisplayCaption = "Dados";
  d.CampoMarca = "GRAVAR";
  // The asset's internal code: what the statements write by, unique in the company.
  d.CamposChave = "ChaveLcto";
  const TnEntradaDicionario* selecionado = Dicionario().Encontrar("DICSELECIONADO");
  d.FieldByName("GRAVAR").DisplayLabel = selecionado->Caption;
  d.FieldByName("GRAVAR").ValueList = selecionado->Lista;
  d.FieldByName("CodigoEmpresa").DisplayLabel = Dicionario().Encontrar("CODIGOEMPRESA")->Caption;
  d.FieldByName("ChaveLcto").DisplayLabel = "Chave Lançamento";
  // The company and the key say where a row is written: never typed over.
  d.FieldByName("CodigoEmpresa").ReadOnly = true;
  d.FieldByName("ChaveLcto").ReadOnly = true;
  const std::pair<const char*, const char*> somenteLeitura[] = {
      {"CodigoBem", "Código do Bem"}, {"DescricaoBem", "Descrição do Bem"}, {"DataAquisicao", "Data da Aquisição"}};
  for (const auto& [campo, label] : somenteLeitura) {
    d.FieldByName(campo).DisplayLabel = label;
    d.FieldByName(campo).ReadOnly = true;
  }
  d.FieldByName("DescricaoBem").DisplayWidth = 40;
  d.FieldByName("DataAquisicao").DisplayFormat = "dd/mm/yyyy";
  d.FieldByName("PropriedadeBem").DisplayLabel = "Propriedade do Bem";
  d.FieldByName("PropriedadeBem").ValueList = "Não Atribuído=0;Próprio=1;Terceiro=2";
  d.FieldByName("NaturezaBem").DisplayLabel = "Natureza do Bem";
  d.FieldByName("NaturezaBem").ValueList = "Não Atribuído=0;Bens Móveis=1;Bens Imóveis=2;Intangíveis=3";
  d.FieldByName("CategoriaBem").DisplayLabel = "Categoria do Bem";
  d.FieldByName("DetalhamentoBem").DisplayLabel = "Detalhamento do Bem";
  d.FieldByName("UtilizacaoBem").DisplayLabel = "Utilização do Bem";
  d.FieldByName("UtilizacaoBem").ValueList =
      "Não Atribuído=0;Bens Dominicais=1;Bens de Uso Comum=2;Bens de Uso Especial=3";
  d.FieldByName("PossuiRelac").Visible = false;
  d.FieldByName("PossuiRelac").ReadOnly = true;

  FCategorias = std::make_unique<TClientDataSet>();
  FCategorias->AddFieldDef("IDTIPOCATEGORIABEM", TFieldType::ftSmallint);
  FCategorias->AddFieldDef("DESCRTIPOCATEGORIABEM", TFieldType::ftString, 200);
  FCategorias->CreateDataSet();
  FDetalhamentos = std::make_unique<TClientDataSet>();
  FDetalhamentos->AddFieldDef("IDTIPODETALHAMENTOBEM", TFieldType::ftSmallint);
  FDetalhamentos->AddFieldDef("DESCRICAO", TFieldType::ftString, 200);
  FDetalhamentos->CreateDataSet();
  d.AddFieldLookup("DescrCategoriaBem", TFieldType::ftString, 200, "CategoriaBem", *FCategorias, "IDTIPOCATEGORIABEM",
                   "DESCRTIPOCATEGORIABEM")
      .DisplayLabel = "Descrição da Categoria";
  d.AddFieldLookup("DescrDetalhamentoBem", TFieldType::ftString, 200, "DetalhamentoBem", *FDetalhamentos,
                   "IDTIPODETALHAMENTOBEM", "DESCRICAO")
      .DisplayLabel = "Descrição do Detalhamento";
  // A type the register lacks would only be refused by the database at the save, for the whole
  // save; 0 stays "not assigned".
  auto tipoCadastrado = [](TClientDataSet& ATipos, const char* AChave) {
    return [&ATipos, AChave](TField& AField, const std::string& ATexto) {
      int64_t codigo = 0;
      std::string t = Trim(ATexto);
      if (t.empty() || !TryStrToInt64(t, codigo) || codigo == 0) return;
      if (!ATipos.Locate(AChave, {TVariant(codigo)}))
        throw Exception("O valor do campo " + AField.DisplayLabel + " não está cadastrado: " + t + "!");
    };
  };
  d.FieldByName("CategoriaBem").OnValidate = tipoCadastrado(*FCategorias, "IDTIPOCATEGORIABEM");
  d.FieldByName("DetalhamentoBem").OnValidate = tipoCadastrado(*FDetalhamentos, "IDTIPODETALHAMENTOBEM");

  d.SetIndexFieldNames("CodigoBem");
  FGuardado = CloneCDS(d);
  // GRAVAR marks what the user touched: the load leaves every row unmarked, so that deleting
  // never takes the whole period. A row the user ticks or unticks keeps that mark; a row whose
  // classification the user changes is marked; a row not complete (a null reads as 0, "Não
  // Atribuído") is never marked.
  d.BeforePost = [this](TClientDataSet& ds) {
    if (FCarregando) return;
    bool completo = true;
    for (const char* campo : kClassificacao) completo = completo && ds.FieldByName(campo).AsInteger() != 0;
    int marca = 1;
    if (ds.State() == TDataSetState::dsEdit && FGuardado->GotoBookmark(ds.GetBookmark())) {
      bool mudou = false;
      for (const char* campo : kClassificacao)
        mudou = mudou || !(ds.FieldByName(campo).Value() == FGuardado->FieldByName(campo).Value());
      int antes = FGuardado->FieldByName("GRAVAR").AsInteger(), agora = ds.FieldByName("GRAVAR").AsInteger();
      marca = agora != antes ? agora : mudou ? 1 : antes;
    }
    ds.FieldByName("GRAVAR").SetAsInteger(completo && marca != 0 ? 1 : 0);
  };
}

void TUlmoDPRelacionarBens::CarregarTipos() {
  auto copiar = [this](const char* ASQL, TClientDataSet& ADestino) {
    ADestino.EmptyDataSet();
    std::unique_ptr<TSQLDataSet> q = ExecutarSQLRO(ASQL);
    for (q->First(); !q->Eof(); q->Next()) ADestino.AppendRecord({q->Fields(0).Value(), q->Fields(1).Value()});
  };
  copiar("select IDTIPOCATEGORIABEM, DESCRTIPOCATEGORIABEM from PATBEMTIPOCATEGORIABEM", *FCategorias);
  copiar("select IDTIPODETALHAMENTOBEM, DESCRICAO from PATBEMTIPODETALHAMENTOBEM", *FDetalhamentos);
}

void TUlmoDPRelacionarBens::ValidarEstado(int AEmpresa) {
  TVariant uf = PegarValorCampo("ESTAB", "SIGLAESTADO",
                                FormatSQL("CODIGOEMPRESA = %s and CODIGOESTAB = %s",
                                          {ValorParaSQL(AEmpresa, TFieldType::ftInteger),
                                           ValorParaSQL(1, TFieldType::ftInteger)}));
  if (VarToStr(uf) != "PR") throw Exception("Esta rotina é somente utilizada para o TCE/PR.");
}

void TUlmoDPRelacionarBens::Executar() {
  TnDMPowerParam::Executar();
  int empresa = StrToIntDef(Param("pCodigoEmpresa").AsString(), 0);
  ValidarEstado(empresa);
  Carregar(empresa);
  FEhAcaoExclusao = false;
}

void TUlmoDPRelacionarBens::Carregar(int AEmpresa) {
  TDateTime inicial = StrToDateDef(Param("pDataInicial").AsString(), 0);
  if (inicial == 0) throw EnParam(Param("pDataInicial"), "Data inicial inválida!");
  TDateTime final_ = StrToDateDef(Param("pDataFinal").AsString(), 0);
  if (final_ == 0) throw EnParam(Param("pDataFinal"), "Data final inválida!");
  bool somenteConfigurados = StrToIntDef(Param("pListarConfiguradas").AsString(), 0) == 1;

  TClientDataSet& d = *FnClientDataSet;
  d.EmptyDataSet();
  d.DisableControls();
  auto progresso = CriarProgresso(this);
  struct TFinal {
    TUlmoDPRelacionarBens& P;
    TnFraProgresso& Progresso;
    ~TFinal() {
      P.FCarregando = false;
      P.FnClientDataSet->First();
      P.FnClientDataSet->EnableControls();
      Progresso.Hide();
      P.FcurDadosBens.reset();
    }
  } final{*this, *progresso};
  progresso->MostrarTexto("Carregando dados, aguarde...");

  {
    TTransacaoRO transacao(Conexao(), 1);
    std::string sql = FormatSQL(kSQLBens, {somenteConfigurados ? "" : "left", ValorParaSQL(AEmpresa, TFieldType::ftInteger),
                                           ValorParaSQL(TVariant::FromDate(inicial), TFieldType::ftDate),
                                           ValorParaSQL(TVariant::FromDate(final_), TFieldType::ftDate)});
    if (!somenteConfigurados) sql += " and BR.PROPRIEDADEBEM is null";
    FcurDadosBens = ExecutarSQLRO(sql);
    CarregarTipos();
  }

  FCarregando = true;
  TSQLDataSet& q = *FcurDadosBens;
  const char* const colunas[] = {"PROPRIEDADEBEM", "NATUREZABEM", "IDTIPOCATEGORIABEM", "IDTIPODETALHAMENTOBEM",
                                 "UTILIZACAOBEM"};
  for (q.First(); !q.Eof(); q.Next()) {
    d.Append();
    d.FieldByName("GRAVAR").SetAsInteger(0);
    d.FieldByName("CodigoEmpresa").SetValue(q.FieldByName("CODIGOEMPRESA").Value());
    d.FieldByName("ChaveLcto").SetAsFloat(q.FieldByName("CODIGOBEM").AsFloat());
    d.FieldByName("CodigoBem").SetAsFloat(q.FieldByName("NUMEROBEM").AsFloat());
    d.FieldByName("DescricaoBem").SetAsString(q.FieldByName("DESCRICAO").AsString());
    d.FieldByName("DataAquisicao").SetAsDateTime(q.FieldByName("DATAAQUISICAO").AsDateTime());
    for (size_t i = 0; i < std::size(colunas); ++i)
      d.FieldByName(kClassificacao[i]).SetValue(q.FieldByName(colunas[i]).Value());
    d.FieldByName("PossuiRelac").SetAsInteger(somenteConfigurados ? 1 : 0);
    d.Post();
  }
}

bool TUlmoDPRelacionarBens::Gravar() {
  bool somenteConfigurados = StrToIntDef(Param("pListarConfiguradas").AsString(), 0) == 1;
  int marcados = 0;
  FnClientDataSet->ForEach([&](TClientDataSet& d) { marcados += d.FieldByName("GRAVAR").AsInteger() == 1; });
  if (marcados == 0) {
    MsgTree(tmErro, FEhAcaoExclusao ? "Nenhum bem marcado: marque os bens cuja classificação deve ser excluída."
                                    : "Nenhum bem marcado para salvar: marque os bens com propriedade, natureza, "
                                      "categoria, detalhamento e utilização informados.");
    return false;
  }
  FBlockCommand = std::make_unique<TBlockCommand>();
  struct TLiberar {
    std::unique_ptr<TBlockCommand>& Block;
    ~TLiberar() { Block.reset(); }
  } liberar{FBlockCommand};

  FnClientDataSet->ForEach([&](TClientDataSet& d) {
    if (d.FieldByName("GRAVAR").AsInteger() != 1) return;
    std::string empresa = Inteiro(d, "CodigoEmpresa"), bem = Inteiro(d, "ChaveLcto");
    if (FEhAcaoExclusao) {
      // The listing of unclassified assets has nothing to delete: excluding must never write.
      if (somenteConfigurados) FBlockCommand->Add(FormatSQL(kSQLExcluir, {empresa, bem}));
      return;
    }
    std::string p = Inteiro(d, "PropriedadeBem"), n = Inteiro(d, "NaturezaBem"), c = Inteiro(d, "CategoriaBem"),
                t = Inteiro(d, "DetalhamentoBem"), u = Inteiro(d, "UtilizacaoBem");
    if (d.FieldByName("PossuiRelac").AsInteger() == 1)
      FBlockCommand->Add(FormatSQL(kSQLAlterar, {p, n, c, t, u, empresa, bem}));
    else
      FBlockCommand->Add(FormatSQL(kSQLIncluir, {bem, empresa, p, n, c, t, u}));
  });

  int64_t alteradas = 0;
  try {
    alteradas = FBlockCommand->Executar();
  } catch (const std::exception& e) {
    throw Exception(std::string("Problema ao gravar os registros no Banco de Dados! Mensagem original: ") + e.what());
  }
  // Counted in rows written, not in statements: a row may have gone already.
  if (!FEhAcaoExclusao)
    MsgTree(tmConfirmacao, alteradas == 1 ? std::string("1 relacionamento salvo.")
                                          : std::to_string(alteradas) + " relacionamentos salvos.");
  else if (alteradas == 0)
    MsgTree(tmAviso, "Nenhum relacionamento excluído: os bens marcados não têm classificação gravada.");
  else
    MsgTree(tmConfirmacao, alteradas == 1 ? std::string("1 relacionamento excluído.")
                                          : std::to_string(alteradas) + " relacionamentos excluídos.");
  return true;
}

void TUlmoDPRelacionarBens::nActSalvarExecute() {
  FEhAcaoExclusao = false;
  if (Gravar()) Executar();
}

void TUlmoDPRelacionarBens::ActExcluirRelacExecute() {
  FEhAcaoExclusao = true;
  struct TRestaurar {
    bool& Flag;
    ~TRestaurar() { Flag = false; }
  } restaurar{FEhAcaoExclusao};
  if (Gravar()) Executar();
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDPRelacionarBens>(), nClasse<TUlmoDPRelacionarBensAreaTrabalho>()};

}  // namespace nUlmo
