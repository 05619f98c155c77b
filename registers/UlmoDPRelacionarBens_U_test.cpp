#include "UlmoDPRelacionarBens_U.h"

#include <gtest/gtest.h>

#include <sstream>

#include "CadastrosTeste_U.h"
#include "CelulaTeste_U.h"
#include "Demo_U.h"
#include "Encoding_U.h"
#include "TestFolder_U.h"

using namespace nFramework;
using namespace nUlmo;
using namespace nUlmoTeste;

namespace {

// Company 1 has its establishment 1 in PR, company 2 in SC. Company 1 has three assets acquired
// in 2024 (1 and 2 unclassified, 3 classified) and one acquired in 2023.
class RelacionarBensTest : public CadastrosTest {
 protected:
  void SetUp() override {
    CadastrosTest::SetUp();
    Executar(
        "insert into EMPRESA values (1, 'Um'), (2, 'Dois');"
        "insert into ESTAB (CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB, SIGLAESTADO) values (1, 1, 'Sede', 'PR'),"
        " (2, 1, 'Sede', 'SC');"
        "insert into PATBEM values (1, 1, 101, 'Mesa', '2024-02-01'), (1, 2, 102, 'Cadeira', '2024-03-01'),"
        " (1, 3, 103, 'Sala', '2024-04-01'), (1, 4, 104, 'Carro', '2023-05-01');"
        "insert into PATBEMTIPOCATEGORIABEM values (1, 'Categoria'); insert into PATBEMTIPODETALHAMENTOBEM values"
        " (1, 'Detalhe');"
        "insert into PATBEMRELACTCE values (1, 3, 1, 2, 1, 1, 3);");
    FProcesso = nCriarObjeto<TUlmoDPRelacionarBens>();
    FProcesso->Param("pCodigoEmpresa").SetValue("1");
    FProcesso->Param("pDataInicial").SetValue("01/01/2024");
    FProcesso->Param("pDataFinal").SetValue("31/12/2024");
  }
  void Carregar(const char* aListar) {
    FProcesso->Param("pListarConfiguradas").SetValue(aListar);
    nExecutarProcesso(*FProcesso);
  }
  TClientDataSet& Grid() { return FProcesso->nClientDataSet(); }
  // Classifies the grid row of that asset number as the user does in the grid.
  void Classificar(double aNumero, std::initializer_list<int> aValores) {
    ASSERT_TRUE(Grid().Locate("CodigoBem", {aNumero}));
    Grid().Edit();
    const char* campos[] = {"PropriedadeBem", "NaturezaBem", "CategoriaBem", "DetalhamentoBem", "UtilizacaoBem"};
    int i = 0;
    for (int v : aValores) Grid().FieldByName(campos[i++]).SetAsInteger(v);
    Grid().Post();
  }
  // Ticks (or unticks) the grid row of that asset number.
  void Marcar(double aNumero, int aMarca) {
    ASSERT_TRUE(Grid().Locate("CodigoBem", {aNumero}));
    Grid().Edit();
    Grid().FieldByName("GRAVAR").SetAsInteger(aMarca);
    Grid().Post();
  }
  // The messages given since the last call.
  std::string Mensagens() {
    std::string r;
    for (const auto& n : FProcesso->GetMsgTreeLista()->Raizes()) r += std::to_string(n->Tipo) + ":" + n->Texto + "\n";
    FProcesso->GetMsgTreeLista()->Clear();
    return r;
  }
  std::string Numeros() {
    std::string r;
    for (Grid().First(); !Grid().Eof(); Grid().Next())
      r += Grid().FieldByName("CodigoBem").AsString() + ":" + Grid().FieldByName("GRAVAR").AsString() + " ";
    return r;
  }
  std::unique_ptr<TUlmoDPRelacionarBens> FProcesso;
};

}  // namespace

TEST_F(RelacionarBensTest, OnlyForCompaniesWhoseFirstEstablishmentIsInParana) {
  FProcesso->Param("pCodigoEmpresa").SetValue("2");
  try {
    Carregar("0");
    FAIL() << "loaded for an SC company";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Esta rotina é somente utilizada para o TCE/PR.");
  }
  EXPECT_TRUE(Grid().IsEmpty());
}

TEST_F(RelacionarBensTest, AStartAfterTheEndOrAnUnknownCompanyListedNothingWithoutAWord) {
  auto erro = [&] {
    try {
      Carregar("0");
    } catch (const EnParam& e) {
      return e.Alias() + ": " + e.what();
    }
    return std::string();
  };
  FProcesso->Param("pDataInicial").SetValue("01/01/2025");
  EXPECT_EQ(erro(), "pDataFinal: A Data Final não pode ser anterior à Data Inicial");
  FProcesso->Param("pDataInicial").SetValue("01/01/0001");
  EXPECT_EQ(erro(), "pDataInicial: Data inicial inválida!");
  FProcesso->Param("pDataInicial").SetValue("01/01/2024");
  FProcesso->Param("pDataFinal").SetValue("31/12/9999");
  EXPECT_EQ(erro(), "pDataFinal: Data final inválida!");
  FProcesso->Param("pDataFinal").SetValue("31/12/2024");
  for (const char* empresa : {"77", "-1", "0"}) {
    FProcesso->Param("pCodigoEmpresa").SetValue(empresa);
    EXPECT_EQ(erro(), "pCodigoEmpresa: Empresa inválida!") << empresa;
  }
  EXPECT_TRUE(Grid().IsEmpty());
}

TEST_F(RelacionarBensTest, ListsUnclassifiedOrClassifiedAssetsOfThePeriod) {
  Carregar("0");
  EXPECT_EQ(Numeros(), "101:0 102:0 ");
  Carregar("1");
  EXPECT_EQ(Numeros(), "103:0 ");  // a loaded row is not marked until the user touches it
  EXPECT_EQ(Grid().FieldByName("PossuiRelac").AsInteger(), 1);
  EXPECT_EQ(Grid().FieldByName("ChaveLcto").AsInteger(), 3);
  EXPECT_EQ(Grid().FieldByName("DescricaoBem").AsString(), "Sala");
  FProcesso->Param("pDataInicial").SetValue("01/01/2025");
  FProcesso->Param("pDataFinal").SetValue("31/12/2025");
  Carregar("0");
  EXPECT_TRUE(Grid().IsEmpty());
}

TEST_F(RelacionarBensTest, SavingWritesOnlyCompleteRowsAndReloads) {
  Carregar("0");
  Classificar(101, {1, 1, 1, 1, 2});
  Classificar(102, {2, 1, 1, 1, 0});  // use not assigned: never written
  EXPECT_EQ(Numeros(), "101:1 102:0 ");
  ASSERT_TRUE(FProcesso->ExecutarAcao("nActSalvar"));
  EXPECT_EQ(Conteudo("PATBEMRELACTCE"), "1|1|1|1|1|1|2\n1|3|1|2|1|1|3\n");
  EXPECT_EQ(Numeros(), "102:0 ");  // the grid reloaded without the asset just classified

  Carregar("1");
  Classificar(101, {2, 3, 1, 1, 1});
  ASSERT_TRUE(FProcesso->ExecutarAcao("nActSalvar"));
  EXPECT_EQ(Conteudo("PATBEMRELACTCE"), "1|1|2|3|1|1|1\n1|3|1|2|1|1|3\n");
}

TEST_F(RelacionarBensTest, ExcludingDeletesTheMarkedRowsOnly) {
  Executar("insert into PATBEMRELACTCE values (1, 1, 1, 1, 1, 1, 1);");
  Carregar("1");
  Classificar(101, {1, 1, 1, 1, 0});  // unmarked
  Marcar(103, 1);
  ASSERT_TRUE(FProcesso->ExecutarAcao("ActExcluirRelac"));
  EXPECT_EQ(Conteudo("PATBEMRELACTCE"), "1|1|1|1|1|1|1\n");
  EXPECT_FALSE(FProcesso->EhAcaoExclusao());
}

TEST_F(RelacionarBensTest, ExcludingDeletesOnlyTheRowsTheUserTickedOrChangedNotEveryLoadedOne) {
  Executar("insert into PATBEMRELACTCE values (1, 1, 1, 1, 1, 1, 1), (1, 2, 2, 2, 1, 1, 2);");
  const std::string todos = Conteudo("PATBEMRELACTCE");
  Carregar("1");
  EXPECT_EQ(Numeros(), "101:0 102:0 103:0 ");
  ASSERT_TRUE(FProcesso->ExecutarAcao("ActExcluirRelac"));
  EXPECT_EQ(Conteudo("PATBEMRELACTCE"), todos);
  EXPECT_EQ(Mensagens(), "0:Nenhum bem marcado: marque os bens cuja classificação deve ser excluída.\n");

  Marcar(101, 1);
  Marcar(102, 1);
  Marcar(102, 0);  // ticked, then unticked
  Classificar(103, {2, 1, 1, 1, 3});
  EXPECT_EQ(Numeros(), "101:1 102:0 103:1 ");
  ASSERT_TRUE(FProcesso->ExecutarAcao("ActExcluirRelac"));
  EXPECT_EQ(Conteudo("PATBEMRELACTCE"), "1|2|2|2|1|1|2\n");
  EXPECT_EQ(Mensagens(), "5:2 relacionamentos excluídos.\n");
  EXPECT_EQ(Numeros(), "102:0 ");

  Marcar(102, 1);
  ASSERT_TRUE(FProcesso->ExecutarAcao("ActExcluirRelac"));
  EXPECT_EQ(Conteudo("PATBEMRELACTCE"), "");
  EXPECT_EQ(Mensagens(), "5:1 relacionamento excluído.\n");
}

TEST_F(RelacionarBensTest, ExcludingFromTheUnclassifiedListingWritesNothing) {
  Carregar("0");
  Classificar(101, {1, 1, 1, 1, 1});
  ASSERT_TRUE(FProcesso->ExecutarAcao("ActExcluirRelac"));
  EXPECT_EQ(Conteudo("PATBEMRELACTCE"), "1|3|1|2|1|1|3\n");
}

TEST_F(RelacionarBensTest, ADatabaseErrorKeepsNothingOfTheSaveAndNoExclusionMode) {
  Carregar("0");
  Classificar(101, {1, 1, 1, 1, 1});
  Classificar(102, {1, 1, 9, 1, 1});  // no category 9
  try {
    FProcesso->ExecutarAcao("nActSalvar");
    FAIL() << "saved a row with an unknown category";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Problema ao gravar os registros no Banco de Dados! Mensagem original: ", 0), 0u)
        << e.what();
  }
  EXPECT_EQ(Conteudo("PATBEMRELACTCE"), "1|3|1|2|1|1|3\n");
  EXPECT_EQ(Numeros(), "101:1 102:1 ");  // the user's edits are kept

  CriarGatilhoFalha(*FConexao, "FALHA", "delete", "PATBEMRELACTCE", "falha");
  Carregar("1");
  Marcar(103, 1);
  EXPECT_THROW(FProcesso->ExecutarAcao("ActExcluirRelac"), Exception);
  EXPECT_FALSE(FProcesso->EhAcaoExclusao());
  EXPECT_EQ(Conteudo("PATBEMRELACTCE"), "1|3|1|2|1|1|3\n");
}

TEST_F(RelacionarBensTest, TheGridShowsItsListsByCaptionAndTheTypesDescriptions) {
  Carregar("0");
  EXPECT_EQ(FProcesso->DataSetsGrade(), std::vector<std::string>{"nClientDataSet"});
  TClientDataSet& d = Grid();
  EXPECT_EQ(d.CampoMarca, "GRAVAR");
  EXPECT_EQ(d.CamposChave, "ChaveLcto");
  ASSERT_TRUE(d.Locate("CodigoBem", {101.0}));
  DigitarCelula(d, "PropriedadeBem", "Terceiro");
  DigitarCelula(d, "NaturezaBem", "Intangíveis");
  DigitarCelula(d, "UtilizacaoBem", "2");
  DigitarCelula(d, "CategoriaBem", "1");
  EXPECT_EQ(d.FieldByName("PropriedadeBem").AsInteger(), 2);
  EXPECT_EQ(d.FieldByName("NaturezaBem").AsInteger(), 3);
  EXPECT_EQ(d.FieldByName("UtilizacaoBem").AsInteger(), 2);
  EXPECT_EQ(d.FieldByName("DescrCategoriaBem").AsString(), "Categoria");
  EXPECT_TRUE(d.FieldByName("DescrDetalhamentoBem").IsNull());
  EXPECT_EQ(d.FieldByName("DataAquisicao").DisplayFormat, "dd/mm/yyyy");
  EXPECT_FALSE(d.FieldByName("PossuiRelac").Visible);
}

TEST_F(RelacionarBensTest, ACellRefusesAnUnknownTypeAndTheColumnsThatNameTheAsset) {
  Carregar("0");
  TClientDataSet& d = Grid();
  ASSERT_TRUE(d.Locate("CodigoBem", {101.0}));
  try {
    DigitarCelula(d, "CategoriaBem", "9");
    FAIL() << "took a category the register lacks";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "O valor do campo Categoria do Bem não está cadastrado: 9!");
  }
  EXPECT_THROW(DigitarCelula(d, "DetalhamentoBem", "7"), Exception);
  EXPECT_NO_THROW(DigitarCelula(d, "DetalhamentoBem", "1"));
  EXPECT_NO_THROW(DigitarCelula(d, "CategoriaBem", "0"));  // not assigned
  for (const char* campo : {"ChaveLcto", "CodigoEmpresa", "CodigoBem", "DescricaoBem", "DataAquisicao"})
    EXPECT_THROW(DigitarCelula(d, campo, "5"), Exception) << campo;
  EXPECT_EQ(d.FieldByName("ChaveLcto").AsInteger(), 1);
  EXPECT_EQ(d.FieldByName("CodigoEmpresa").AsInteger(), 1);
  EXPECT_EQ(d.State(), TDataSetState::dsBrowse);
}

TEST_F(RelacionarBensTest, ACompleteRowTheUserUnticksIsNotSaved) {
  Carregar("0");
  Classificar(101, {1, 1, 1, 1, 2});
  Classificar(102, {2, 1, 1, 1, 3});
  ASSERT_TRUE(Grid().Locate("CodigoBem", {102.0}));
  DigitarCelula(Grid(), "GRAVAR", "0");
  EXPECT_EQ(Numeros(), "101:1 102:0 ");
  ASSERT_TRUE(FProcesso->ExecutarAcao("nActSalvar"));
  EXPECT_EQ(Conteudo("PATBEMRELACTCE"), "1|1|1|1|1|1|2\n1|3|1|2|1|1|3\n");
  EXPECT_EQ(Mensagens(), "5:1 relacionamento salvo.\n");
}

TEST_F(RelacionarBensTest, SavingWithNothingMarkedSaysSoAndKeepsTheGrid) {
  Carregar("0");
  Classificar(101, {1, 1, 1, 1, 0});  // incomplete: never marked
  const std::string antes = Conteudo("PATBEMRELACTCE");
  ASSERT_TRUE(FProcesso->ExecutarAcao("nActSalvar"));
  EXPECT_EQ(Conteudo("PATBEMRELACTCE"), antes);
  EXPECT_TRUE(FProcesso->GetMsgTreeLista()->Falhou());
  EXPECT_EQ(Mensagens(),
            "0:Nenhum bem marcado para salvar: marque os bens com propriedade, natureza, categoria, detalhamento e "
            "utilização informados.\n");
  ASSERT_TRUE(Grid().Locate("CodigoBem", {101.0}));
  EXPECT_EQ(Grid().FieldByName("PropriedadeBem").AsInteger(), 1);  // the user's edit is still there
}

namespace {

// The demo database, whose PR company (3) has every asset classified but two bought in 2024.
class RelacionarBensDemoTest : public CadastrosTest {
 protected:
  void SetUp() override {
    CadastrosTest::SetUp();
    nHost::GerarDemo();
    Executar("delete from PATBEMRELACTCE where CODIGOEMPRESA = 3 and CODIGOBEM in (104, 105);");
  }
  TTestFolder FPasta;
};

// The lines of a TCE-PR file that name an asset number.
std::vector<std::string> LinhasDoBem(const std::string& aConteudo, const std::string& aNumero) {
  std::vector<std::string> r;
  std::istringstream in(aConteudo);
  for (std::string linha; std::getline(in, linha);)
    if (linha.find("|" + aNumero + "|") != std::string::npos) r.push_back(linha);
  return r;
}

}  // namespace

TEST_F(RelacionarBensDemoTest, TwoAssetsClassifiedInTheGridReachTheTCEPRAssetFile) {
  auto p = nCriarObjeto<TUlmoDPRelacionarBens>();
  p->Param("pCodigoEmpresa").SetValue("3");
  p->Param("pDataInicial").SetValue("01/01/2024");
  p->Param("pDataFinal").SetValue("31/12/2024");
  p->Param("pListarConfiguradas").SetValue("0");
  nExecutarProcesso(*p);
  TClientDataSet& d = p->nClientDataSet();
  ASSERT_EQ(d.RecordCount(), 2);
  const std::vector<std::pair<double, std::vector<std::pair<const char*, const char*>>>> classificacoes = {
      {104, {{"PropriedadeBem", "Terceiro"}, {"NaturezaBem", "Bens Móveis"}, {"CategoriaBem", "2"},
             {"DetalhamentoBem", "201"}, {"UtilizacaoBem", "Bens de Uso Especial"}}},
      {105, {{"PropriedadeBem", "Próprio"}, {"NaturezaBem", "Intangíveis"}, {"CategoriaBem", "1"},
             {"DetalhamentoBem", "101"}, {"UtilizacaoBem", "Bens Dominicais"}}}};
  for (const auto& [chave, celulas] : classificacoes) {
    ASSERT_TRUE(d.Locate("ChaveLcto", {chave}));
    for (const auto& [campo, texto] : celulas) DigitarCelula(d, campo, texto);
  }
  ASSERT_TRUE(p->ExecutarAcao("nActSalvar"));
  EXPECT_FALSE(p->GetMsgTreeLista()->Falhou());
  EXPECT_TRUE(d.IsEmpty());  // reloaded: nothing left unclassified

  auto* pr = dynamic_cast<TnDMPowerParam*>(CriarDMNovo("TUlmoDPGerarArquivosCtbPR", nullptr));
  ASSERT_NE(pr, nullptr);
  for (const auto& [alias, valor] : std::vector<std::pair<const char*, std::string>>{
           {"pCodigoEmpresa", "3"}, {"pDataInicial", "01/01/2024"}, {"pDataFinal", "31/12/2024"},
           {"pIdPessoa", "7"}, {"pPlanoEstatal", "0"}, {"pBalanceteEstatal", "0"}, {"pBens", "1"},
           {"pPastaDestino", FPasta.Path().string()}})
    pr->Param(alias).SetValue(valor);
  nExecutarProcesso(*pr);
  EXPECT_FALSE(pr->GetMsgTreeLista()->Falhou());
  TnDataModule* dm = pr;
  DestruirDMDefinitivo(dm);
  std::string bens = Windows1252ToUtf8(ReadBytes(FPasta / "Bem.txt"));
  EXPECT_EQ(LinhasDoBem(bens, "2024004"),
            std::vector<std::string>{"7|2024004|Caminhonete cabine dupla 4x4|2|1|2|201|3|2024-06-12|\r"})
      << bens;
  EXPECT_EQ(LinhasDoBem(bens, "2024005"),
            std::vector<std::string>{"7|2024005|Conjunto de mesa e cadeiras para sala de reuniões|1|3|1|101|1|2024-09-12|\r"})
      << bens;
}

TEST(RelacionarMenu, TheFourClassesAreRegisteredAndOfferTheirActionsToTheirModules) {
  TnActionList principal, areaTrabalho;
  nGerarPrincActions(principal, TNotifyEvent(), TnPerModulos{8});
  nGerarPrincActions(areaTrabalho, TNotifyEvent(), TnPerModulos{1});
  for (const char* classe : {"TUlmoDPRelacionarBens", "TUlmoDPRelacionarPlanoPlEspec"}) {
    EXPECT_TRUE(nClasseRegistrada(classe));
    EXPECT_NE(principal.FindAction(std::string("act") + classe), nullptr) << classe;
    EXPECT_EQ(areaTrabalho.FindAction(std::string("act") + classe), nullptr) << classe;
    std::string variante = std::string("act") + classe + "AreaTrabalho";
    ASSERT_NE(areaTrabalho.FindAction(variante), nullptr) << variante;
    EXPECT_EQ(areaTrabalho.FindAction(variante)->ClasseContainer, "TKaloDPAreaTrabalhoTCE");
    EXPECT_EQ(principal.FindAction(variante), nullptr) << variante;
  }
  EXPECT_EQ(principal.FindAction("actTUlmoDPRelacionarBens")->Category, "10 Cadastros\\80 TCE/PR");
  EXPECT_TRUE(principal.FindAction("actTUlmoDPRelacionarBens")->ControlaDireito());
  EXPECT_EQ(principal.FindAction("actTUlmoDPRelacionarPlanoPlEspec")->Caption, "Relacionar Plano TCE");
}
