#include "PowerParam_U.h"

#include <gtest/gtest.h>

#include "ClassRegistry_U.h"
#include "Contexto_U.h"
#include "Dialogo_U.h"

using namespace nFramework;

namespace {

// A process with every kind of item a panel can hold.
class TTesteDPArquivos : public TnDMPowerParam {
  N_CLASSE(TTesteDPArquivos)
 public:
  TTesteDPArquivos() {
    SetCaption("Gerar Arquivos de Teste");
    AddParam({.Alias = "pCodigoSistemaTCE", .Dicionario = "CODIGOSISTEMATCE", .Visivel = false});
    AddParam({.Alias = "pCompetInicial", .Caption = "Data Inicial", .Dicionario = "DICDATA", .Obrigatorio = true});
    AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA", .Obrigatorio = true});
    AddParam({.Alias = "pGeraAplicFinanceira", .Caption = "Gerar Arquivo de Aplicação Finaceira",
              .Dicionario = "DICSIMNAO", .Padrao = "0", .Obrigatorio = true});
    AddParam({.Alias = "pOriLctoAplicado", .Caption = "Origem Lançamentos Aplicados", .Dicionario = "CODIGOORIGLCTOCTB",
              .Obrigatorio = true, .ExpressaoHabilitado = "IGUAL(PGERAAPLICFINANCEIRA,1)",
              .ExpressaoObrigatorio = "IGUAL(PGERAAPLICFINANCEIRA,1)"});
    AddParam({.Alias = "pPlanoEstatal", .Caption = "Plano de Contas Estatal", .Padrao = "0", .Obrigatorio = true,
              .Lista = "Não=1;Movimento=2;Completo=3"});
    AddParam({.Alias = "pDiretorio", .Caption = "Pasta Destino", .Dicionario = "DICDIRETORIO"});
    auto& salvar = npqPowerParam.AddDatasetAction("nActSalvar");
    salvar.Caption = "Salvar";
    salvar.Confirmacao = "Deseja salvar?";
    salvar.OnExecute = [this](void*) { ++FSalvou; };
  }
  void ValidarDado() override {
    TnDMPowerParam::ValidarDado();
    Passos.push_back("validar");
  }
  void Executar() override {
    TnDMPowerParam::Executar();
    Passos.push_back("executar");
    MsgTree(tmConfirmacao, "feito");
  }
  std::vector<std::string> Passos;
  int FSalvou = 0;
};

struct TRespostas : IDialogoService {
  std::vector<int> Respostas;
  std::vector<TnDialogo> Perguntas;
  int Perguntar(const TnDialogo& d) override {
    Perguntas.push_back(d);
    int r = Respostas.front();
    Respostas.erase(Respostas.begin());
    return r;
  }
};

void Preencher(TTesteDPArquivos& p) {
  p.Param("pCompetInicial").SetValue("01/03/2024");
  p.Param("pCodigoEmpresa").SetValue("5");
}

std::string ErroParametro(TTesteDPArquivos& p, std::string* alias = nullptr) {
  try {
    nExecutarProcesso(p);
  } catch (const EnParam& e) {
    if (alias) *alias = e.Alias();
    return e.Caption() + ": " + e.what();
  }
  return "";
}

}  // namespace

TEST(PowerParam, TheRunChecksThePanelThenValidatesThenRuns) {
  auto p = nCriarObjeto<TTesteDPArquivos>();
  Preencher(*p);
  nExecutarProcesso(*p);
  EXPECT_EQ(p->Passos, (std::vector<std::string>{"validar", "executar"}));
  EXPECT_EQ(p->GetMsgTreeLista()->Contar(tmConfirmacao), 1u);
  // A second run starts from an empty tree.
  nExecutarProcesso(*p);
  EXPECT_EQ(p->GetMsgTreeLista()->Total(), 1u);
}

TEST(PowerParam, PanelErrorsNameTheParameterAndStopBeforeTheRun) {
  auto p = nCriarObjeto<TTesteDPArquivos>();
  std::string alias;
  EXPECT_EQ(ErroParametro(*p, &alias), "Data Inicial: Informe o parâmetro \"Data Inicial\"!");
  EXPECT_EQ(alias, "pCompetInicial");
  Preencher(*p);
  p->Param("pCompetInicial").SetValue("31/02/2024");
  EXPECT_EQ(ErroParametro(*p), "Data Inicial: Data inválida no parâmetro \"Data Inicial\": 31/02/2024 (use dd/mm/aaaa)!");
  p->Param("pCompetInicial").SetValue("01/03/2024");
  p->Param("pCodigoEmpresa").SetValue("cinco");
  EXPECT_EQ(ErroParametro(*p), "Empresa: Valor inteiro inválido no parâmetro \"Empresa\": cinco!");
  // The process's own checks came first each time; the run itself never started.
  EXPECT_EQ(p->Passos, (std::vector<std::string>{"validar", "validar", "validar"}));
}

TEST(PowerParam, APanelDateOfYearOneOr9999Passed) {
  // A process without a check of its own walked 24,277 months from 01/01/0001.
  auto p = nCriarObjeto<TTesteDPArquivos>();
  Preencher(*p);
  p->Param("pCompetInicial").SetValue("01/01/0001");
  EXPECT_EQ(ErroParametro(*p), "Data Inicial: Data inválida no parâmetro \"Data Inicial\": 01/01/0001 (o ano deve estar "
                               "entre 1900 e 2100)!");
  p->Param("pCompetInicial").SetValue("31/12/9999");
  EXPECT_NE(ErroParametro(*p), "");
  p->Param("pCompetInicial").SetValue("31/12/2100");
  EXPECT_EQ(ErroParametro(*p), "");
  p->Param("pCompetInicial").SetValue("01/01/1900");
  EXPECT_EQ(ErroParametro(*p), "");
}

TEST(PowerParam, AFolderWithALineBreakWasWrittenTo) {
  auto p = nCriarObjeto<TTesteDPArquivos>();
  Preencher(*p);
  p->Param("pDiretorio").SetValue("/tmp/saida\nsaida");
  EXPECT_EQ(ErroParametro(*p), "Pasta Destino: Pasta inválida no parâmetro \"Pasta Destino\": /tmp/saida\\nsaida (a "
                               "pasta não pode conter quebras de linha nem outros caracteres de controle)!");
  p->Param("pDiretorio").SetValue("/tmp/sa\tida");
  EXPECT_NE(ErroParametro(*p), "");
  // Blanks and line breaks around it are trimmed, as every value is; "..", quotes and spaces are a
  // folder's own.
  for (const char* pasta : {"/tmp/saida\r\n", "/tmp/a/../b", "/tmp/\"aspas\" 'simples'", " /tmp/com espaço "}) {
    p->Param("pDiretorio").SetValue(pasta);
    EXPECT_EQ(ErroParametro(*p), "") << pasta;
  }
}

TEST(PowerParam, RequiredAndEnabledExpressionsFollowTheOtherItems) {
  auto p = nCriarObjeto<TTesteDPArquivos>();
  Preencher(*p);
  TnParamItem& origem = p->Param("pOriLctoAplicado");
  EXPECT_FALSE(origem.Habilitado());
  EXPECT_FALSE(origem.Obrigatorio());
  EXPECT_EQ(ErroParametro(*p), "");
  p->Param("pGeraAplicFinanceira").SetValue("1");
  EXPECT_TRUE(origem.Obrigatorio());
  EXPECT_EQ(ErroParametro(*p), "Origem Lançamentos Aplicados: Informe o parâmetro \"Origem Lançamentos Aplicados\"!");
}

TEST(PowerParam, ACombosStoredDefaultStandsButATypedValueMustBeInTheList) {
  auto p = nCriarObjeto<TTesteDPArquivos>();
  Preencher(*p);
  EXPECT_EQ(ErroParametro(*p), "");  // "0" is outside the list, yet it is the stored default
  TnParamItem& plano = p->Param("pPlanoEstatal");
  EXPECT_EQ(p->npqPowerParam.NormalizarValor(plano, "movimento"), "2");
  plano.SetValue("7");
  EXPECT_EQ(ErroParametro(*p),
            "Plano de Contas Estatal: Valor inválido no parâmetro \"Plano de Contas Estatal\": 7 (valores: Não=1, "
            "Movimento=2, Completo=3)!");
  p->LimparParamsINI();
  EXPECT_EQ(plano.Value(), "0");
  EXPECT_EQ(p->Param("pCompetInicial").Value(), "");
}

TEST(PowerParam, EmptyItemsTakeTheSelectionsValue) {
  TnSelecao::Params().Limpar();
  TnSelecao::Params().Definir("CodigoSistemaTCE", TVariant(12));
  auto p = nCriarObjeto<TTesteDPArquivos>();
  Preencher(*p);
  p->Param("pCodigoEmpresa").SetValue("");
  TnSelecao::Params().Definir("CODIGOEMPRESA", TVariant(7));
  nExecutarProcesso(*p);
  EXPECT_EQ(p->GetControlValues("pCodigoSistemaTCE"), "12");
  EXPECT_EQ(p->GetControlValues("pcodigoempresa"), "7");
  EXPECT_EQ(SelecaoFaltante("CodigoSistemaTCE;CodigoEmpresa;CodigoEstab"), std::vector<std::string>{"CodigoEstab"});
  TnSelecao::Params().Limpar();
}

TEST(PowerParam, AnotherProcessSetsParametersByNameAndAnUndeclaredOneIsABug) {
  auto p = nCriarObjeto<TTesteDPArquivos>();
  p->Param("pCodigoEmpresa").SetValue("3");
  EXPECT_EQ(p->Param("PCODIGOEMPRESA").AsString(), "3");
  EXPECT_THROW(p->Param("pTotalizarSintetica"), EInternalError);
  EXPECT_EQ(p->Param("pCodigoEmpresa").Caption(), "Empresa");
  EXPECT_EQ(p->Param("pCodigoSistemaTCE").ClasseLookup(), "TUlmoDCSistema");
}

TEST(PowerParam, APanelActionAsksItsConfirmationFirst) {
  auto servico = std::make_shared<TRespostas>();
  SetDialogoService(servico);
  auto p = nCriarObjeto<TTesteDPArquivos>();
  servico->Respostas = {1, 0};
  EXPECT_FALSE(p->ExecutarAcao("nActSalvar"));
  EXPECT_EQ(p->FSalvou, 0);
  EXPECT_TRUE(p->ExecutarAcao("NACTSALVAR"));
  EXPECT_EQ(p->FSalvou, 1);
  ASSERT_EQ(servico->Perguntas.size(), 2u);
  EXPECT_EQ(servico->Perguntas[0].Texto, "Deseja salvar?");
  EXPECT_EQ(servico->Perguntas[0].Botoes, (std::vector<std::string>{"Sim", "Não"}));
  SetDialogoService(nullptr);
  // Without a service every question takes its safe answer.
  EXPECT_FALSE(p->ExecutarAcao("nActSalvar"));
  EXPECT_EQ(nMessageDlg("Substituir?", mtConfirmation, {"Sim", "Sim para &todos", "Não"}), 2);
}

TEST(PowerParam, TheProcessOwnsItsProgressFrameAndItsTreeOutlivesTheController) {
  auto p = nCriarObjeto<TTesteDPArquivos>();
  TnFraProgresso& f = p->GetProgresso();
  EXPECT_EQ(&p->GetProgresso(), &f);
  EXPECT_EQ(f.Owner(), p.get());
  ControleMensagem().SetFraListaMensagemTree(p->GetMsgTreeLista());
  ControleMensagem().AddErro("falhou");
  EXPECT_TRUE(p->GetMsgTreeLista()->Falhou());
  p.reset();
  EXPECT_EQ(ControleMensagem().FraListaMensagemTree(), nullptr);
}

TEST(PowerParam, ARunFailsByAnErrorInAnyTreeItsMessagesWentTo) {
  auto p = nCriarObjeto<TTesteDPArquivos>();
  nPrepararMensagensExecucao();
  p->MsgTree(tmConfirmacao, "Arquivo gerado");
  EXPECT_EQ(nArvoresDaExecucao(*p).size(), 2u);  // the process's tree and the controller's list
  EXPECT_FALSE(nExecucaoFalhou(*p));
  // A generator's error given while no tree is attached is kept, and fails the run.
  ControleMensagem().AddErro("Conta sem relacionamento");
  EXPECT_TRUE(nExecucaoFalhou(*p));
  nPrepararMensagensExecucao();
  EXPECT_FALSE(nExecucaoFalhou(*p));
  // Another tree attached to the controller is shown and counted too; the process's own once.
  auto outra = std::make_shared<TnMsgTreeLista>();
  ControleMensagem().SetFraListaMensagemTree(outra);
  ControleMensagem().AddAviso("Lote parcial");
  EXPECT_EQ(nArvoresDaExecucao(*p).size(), 3u);
  EXPECT_FALSE(nExecucaoFalhou(*p));
  outra->Add(tmParada, "Processo cancelado!");
  EXPECT_TRUE(nExecucaoFalhou(*p));
  ControleMensagem().SetFraListaMensagemTree(p->GetMsgTreeLista());
  EXPECT_EQ(nArvoresDaExecucao(*p).size(), 2u);
  nPrepararMensagensExecucao();
}
