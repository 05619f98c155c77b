#include "BancoVazioTeste_U.h"
#include "UlmoDPEnviarArquivosCtbeSFinge_U.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "ClassRegistry_U.h"
#include "Configuracao_U.h"
#include "Clock_U.h"
#include "Contexto_U.h"
#include "ControleMensagem_U.h"
#include "Dicionario_U.h"
#include "FakeServidorHTTP_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"
#include "Schema_U.h"
#include "TextUtils_U.h"
#include "UlmoEnviarArquivosCtbeSFingeFuncoes_U.h"
#include "UlmoSQLs_U.h"

using namespace nFramework;
using namespace nUlmoEsfinge;

namespace {

// One SC company: court accounts 111/112 analytic and 100 synthetic, four 2024 entries (one of an
// origin with no court movement type), two opening balances and 2023 entries for the opening.
const char* const kDados = R"SQL(
insert into EMPRESA values (1, 'Prefeitura de Teste');
insert into ESTAB (CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB) values (1, 1, 'Sede');
insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA, NATURSALDO) values
  (1, 10, '1', 'ATIVO', 1, 1), (1, 11, '1.1', 'CIRCULANTE', 1, 1), (1, 12, '1.1.1', 'CAIXA', 2, 1),
  (1, 13, '1.1.2', 'BANCO', 2, 1), (1, 21, '2.1', 'FORNECEDORES', 2, -1), (1, 22, '2.2', 'SEM TCE', 2, -1);
insert into CFGPLANOESPEC (CODIGOEMPRESA, NATURGRUPO1, NATURGRUPO2) values (1, 1, -1);
insert into HISTORICOCTB values (1, 'PAGAMENTO');
insert into ORIGLCTOCTB values ('AP', 'Aplicação'), ('XX', 'Sem tipo');
insert into BANCO values (1, 'Banco do Brasil');
insert into AGENCIA values (1, 3582, 'Centro');
insert into TCESISTEMA values (1, 'e-Sfinge SC', 'SC', '9.9.9');
insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA) values
  (1, 100, 1, '1.1', 'Caixa e bancos'), (1, 111, 2, '1.1.1', 'Caixa'), (1, 112, 2, '1.1.2', 'Bancos'),
  (1, 211, 2, '2.1.1', 'Fornecedores');
insert into TCETIPOCONTACTB values (1, 1, 'Normal', '0');
insert into TCETIPOMOVIMCTB values (1, 2, 'Movimento');
insert into TCEORIGEMLCTOCTB values (1, 'AP', 2);
insert into TCESISTEMAEMPRESA values (1, 1);
insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, DESCRDETALHCONTA, CODIGOSISTEMATCE,
  CONTATCE, TIPONATURSALDO, APLICFINANCEIRA, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE, CODIGOBANCO, NUMEROAGENCIA,
  NUMEROCONTA) values
  (1, 11, '2023-01-01', '2024-12-31', null, 1, 100, 1, '0', 'N', 1, null, null, null),
  (1, 12, '2023-01-01', '2024-12-31', null, 1, 111, 1, '0', 'N', 1, null, null, null),
  (1, 13, '2024-01-01', '2024-12-31', 'Conta movimento', 1, 112, 1, '0', 'N', 1, 1, 3582, 123456),
  (1, 21, '2023-01-01', '2024-12-31', null, 1, 211, 2, '0', 'N', 1, null, null, null);
insert into IMPLSALDOCTB values (1, 1, 12, '2024-01-01', 500, 1), (1, 1, 21, '2024-01-01', 500, -1);
insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, CODIGOHISTCTB,
  COMPLHIST, CODIGOORIGLCTOCTB) values
  (1, 1, '2024-03-10', 12, 21, 100, 1, 'NF 1', 'AP'),
  (1, 2, '2024-03-05', 21, 12, 30, 1, 'NF 2', 'AP'),
  (1, 3, '2024-04-01', 13, 12, 50, 1, 'Sem tipo', 'XX'),
  (1, 4, '2024-05-01', 22, 12, 70, 1, 'Sem TCE', 'AP'),
  (1, 9, '2023-06-01', 12, 21, 80, 1, 'Ano anterior', 'AP');
)SQL";

class EnviarEsfingeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RestaurarConfiguracao();
    FConexao = nFramework::AbrirBancoTeste();
    SetConexao(FConexao.get());
    AtualizarEsquema(*FConexao);
    FConexao->Driver().ExecuteScript(kDados);
    TnSelecao::Params().Limpar();
    FProcesso = nCriarObjeto<TUlmoDPEnviarArquivosCtbeSFinge>();
    Set("pCompetInicial", "01/01/2024");
    Set("pCompetFinal", "31/12/2024");
    Set("pCodigoEmpresa", "1");
    Set("pUsuario", " usuario ");
    Set("pSenha", "senha");
    Set("pUnidadeGestora", "1234");
  }
  void TearDown() override {
    FProcesso.reset();
    SetConexao(nullptr);
    RestaurarConfiguracao();
  }
  void Set(const char* alias, const std::string& v) { FProcesso->Param(alias).SetValue(v); }
  void Rodar() {
    FProcesso->ValidarDado();
    FProcesso->Executar();
  }
  std::string Erro(const std::function<void()>& aAcao) {
    try {
      aAcao();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "(sem erro)";
  }
  // Column values of the entry grid in its index order.
  std::vector<std::string> Coluna(TClientDataSet& ds, const char* campo) {
    std::vector<std::string> r;
    for (ds.First(); !ds.Eof(); ds.Next()) r.push_back(ds.FieldByName(campo).AsString());
    return r;
  }

  std::unique_ptr<TnDMConexao> FConexao;
  std::unique_ptr<TUlmoDPEnviarArquivosCtbeSFinge> FProcesso;
};

TEST_F(EnviarEsfingeTest, ValidationChecksSystemDatesAndCompanyInOrder) {
  Set("pCompetFinal", "01/12/2023");
  EXPECT_EQ(Erro([&] { FProcesso->ValidarDado(); }), "A data final não pode ser menor que a data inicial!");
  Set("pCompetFinal", "31/12/2024");
  Set("pCodigoSistemaTCE", "0");
  FConexao->Driver().ExecuteScript("delete from TCESISTEMAEMPRESA;");
  EXPECT_NE(Erro([&] { FProcesso->ValidarDado(); }), "(sem erro)");  // company not linked
  TnSelecao::Params().Definir("CODIGOSISTEMATCE", 1);
  FProcesso->ValidarDado();
  EXPECT_EQ(FProcesso->CodigoSistema(), 1);
  TnSelecao::Params().Limpar();
  Set("pCodigoSistemaTCE", "1");
  Set("pCodigoEmpresa", "x");
  EXPECT_EQ(Erro([&] { FProcesso->ValidarDado(); }), "Empresa inválida!");
}

TEST_F(EnviarEsfingeTest, AnEmptyOrImpossibleDateGetsItsOwnMessage) {
  Set("pCompetFinal", "");
  EXPECT_EQ(Erro([&] { FProcesso->ValidarDado(); }), "Data final inválida!");
  Set("pCompetFinal", "30/02/2024");
  EXPECT_EQ(Erro([&] { FProcesso->ValidarDado(); }), "Data final inválida!");
  Set("pCompetFinal", "31/12/2024");
  Set("pCompetInicial", "");
  EXPECT_EQ(Erro([&] { FProcesso->ValidarDado(); }), "Data inicial inválida!");
  Set("pCompetInicial", "01/01/2024");
  EXPECT_EQ(Erro([&] { FProcesso->ValidarDado(); }), "(sem erro)");
}

// "usuario\r\nX-Injected: 1" as pUsuario passed validation and reached the online court as a
// header of its own; the password and the managing unit go into headers and URLs too.
TEST_F(EnviarEsfingeTest, AccessValueWithALineBreakReachedTheCourtAsAHeader) {
  for (const char* alias : {"pUsuario", "pSenha", "pUnidadeGestora"})
    for (const std::string& valor : {std::string("usuario\r\nX-Injected: 1"), std::string("a\nb"), std::string("a\tb"),
                                     std::string("a\0b", 3)}) {
      Set(alias, valor);
      try {
        FProcesso->ValidarDado();
        ADD_FAILURE() << alias << " aceito";
      } catch (const EnParam& e) {
        EXPECT_EQ(e.Alias(), alias);
        EXPECT_EQ(e.Message(), "O valor de \"" + e.Caption() +
                                   "\" não pode ter quebra de linha, tabulação nem outro caractere de controle.");
      }
      Set(alias, "válido 1");
    }
  EXPECT_EQ(Erro([&] { FProcesso->ValidarDado(); }), "(sem erro)");
}

TEST_F(EnviarEsfingeTest, AccountsHideSyntheticsAndFollowTheMovementOption) {
  Rodar();
  auto& c = FProcesso->nClientDataSetConta();
  EXPECT_EQ(Coluna(c, "ContaTce"), (std::vector<std::string>{"111", "112", "211"}));
  ASSERT_TRUE(c.Locate("ContaTce", {112.0}));
  EXPECT_EQ(c.FieldByName("ClassifNomeConta").AsString(), "1.1.2 Bancos");
  EXPECT_EQ(c.FieldByName("ClassifDescrContaCtb").AsString(), "1.1.2 BANCO");
  EXPECT_EQ(c.FieldByName("IndicativoContaAnalitica").AsString(), "S");
  EXPECT_EQ(c.FieldByName("NumeroNivel").AsInteger(), 3);
  EXPECT_EQ(c.FieldByName("CodigoContaSintetica").AsString(), "1.1");
  EXPECT_EQ(c.FieldByName("NomeBanco").AsString(), "Banco do Brasil");
  EXPECT_EQ(c.FieldByName("CodigoAgenciaBancaria").AsInteger(), 3582);
  EXPECT_EQ(c.FieldByName("CodigoContaBancaria").AsString(), "123456");
  ASSERT_TRUE(c.Locate("ContaTce", {111.0}));
  EXPECT_TRUE(c.FieldByName("CodigoBanco").IsNull());
  EXPECT_EQ(c.FieldByName("CodigoContaSinteticaSuperiorTce").AsString(), "1.1");
  ASSERT_TRUE(c.Locate("ContaTce", {211.0}));
  EXPECT_EQ(c.FieldByName("CodigoContaSinteticaSuperiorTce").AsString(), "");  // no court 2.1

  Set("pExibirContasSinteticas", "1");
  Rodar();
  EXPECT_EQ(FProcesso->nClientDataSetConta().RecordCount(), 4);
  // Account 13 moves only through an origin without type, but it moves: still listed.
  FConexao->Driver().ExecuteScript("delete from LCTOCTB where CHAVELCTOCTB = 3;");
  Set("pExibirContasSinteticas", "0");
  Set("pEnviarSomenteContasComMovimento", "1");
  Rodar();
  EXPECT_EQ(Coluna(FProcesso->nClientDataSetConta(), "ContaTce"), (std::vector<std::string>{"111", "211"}));
  // Shown synthetics come back as ancestors of the moving accounts, once each.
  FConexao->Driver().ExecuteScript(
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, "
      "CODIGOHISTCTB, CODIGOORIGLCTOCTB) values (1, 5, '2024-06-01', 13, 21, 10, 1, 'AP');");
  Set("pExibirContasSinteticas", "1");
  Rodar();
  EXPECT_EQ(Coluna(FProcesso->nClientDataSetConta(), "ContaTce"),
            (std::vector<std::string>{"100", "111", "112", "211"}));
}

TEST_F(EnviarEsfingeTest, EntriesGiveOneRowPerMappedSideOfAConfiguredOrigin) {
  Rodar();
  auto& l = FProcesso->nClientDataSetLcto();
  // Ordered by date then key: entry 2 (05/03) before entry 1 (10/03); entry 3 has no court
  // movement type and entry 4's debit account has no court mapping.
  EXPECT_EQ(Coluna(l, "ChaveLctoCtb"), (std::vector<std::string>{"2", "2", "1", "1", "4"}));
  EXPECT_EQ(Coluna(l, "NumeroSequencial"), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  // Each entry's two sides take consecutive numbers, debit 2 and credit 1, on the mapped accounts.
  std::map<int, std::vector<std::pair<int, std::string>>> lados;
  for (l.First(); !l.Eof(); l.Next())
    lados[l.FieldByName("ChaveLctoCtb").AsInteger()].push_back(
        {l.FieldByName("TipoLancamento").AsInteger(), l.FieldByName("ContaTce").AsString()});
  for (auto& [chave, v] : lados) std::sort(v.begin(), v.end());
  using TLados = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(lados[1], (TLados{{1, "211"}, {2, "111"}}));
  EXPECT_EQ(lados[2], (TLados{{1, "111"}, {2, "211"}}));
  EXPECT_EQ(lados[4], (TLados{{1, "111"}}));
  ASSERT_TRUE(l.Locate("ChaveLctoCtb;TipoLancamento", {2, 2}));
  EXPECT_EQ(l.FieldByName("NumeroSlip").AsString(), "202403");
  EXPECT_EQ(l.FieldByName("TipoMovimentoContabil").AsInteger(), 2);
  EXPECT_EQ(l.FieldByName("DescrTipoMovimentoContabil").AsString(), "Movimento");
  EXPECT_EQ(l.FieldByName("AnoCriacaoConta").AsInteger(), 2023);
  EXPECT_EQ(l.FieldByName("ClassifDescrContaContabil").AsString(), "2.1.1 Fornecedores");
  EXPECT_EQ(l.FieldByName("ClassifDescrContaCtb").AsString(), "2.1 FORNECEDORES");
  EXPECT_DOUBLE_EQ(l.FieldByName("ValorLancamento").AsFloat(), 30);
  EXPECT_EQ(l.FieldByName("Enviar").AsInteger(), 0);

  // A second validation starts the numbering again.
  Rodar();
  l.First();
  EXPECT_EQ(l.FieldByName("NumeroSequencial").AsInteger(), 1);
}

// The entry grid is read in one scan with the mappings held in memory; the list it replaces was
// this join of both sides, each under the mapping valid on its date that started last. Both
// must list the same rows in the same order, mapping overlaps and same-day entries included.
TEST_F(EnviarEsfingeTest, ScannedEntriesAreTheRowsOfTheJoinOfBothSides) {
  FConexao->Driver().ExecuteScript(
      // Banco overlaps itself from 15 March (the later start wins) and ends in June.
      "update TCEPLANOPLESPEC set DATAFIMPLANO = '2024-06-30' where CONTACTB = 13;"
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE, "
      "TIPONATURSALDO, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE) values (1, 13, '2024-03-15', '2024-04-30', 1, 111, 1, "
      "'N', 1);"
      "insert into TCEORIGEMLCTOCTB values (1, 'XX', 2);"
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, "
      "CODIGOHISTCTB, COMPLHIST, CODIGOORIGLCTOCTB) values "
      "(1, 20, '2024-03-14', 13, 12, 1.25, 1, null, 'AP'), (1, 7, '2024-03-15', 12, 13, 2, 1, '', 'XX'),"
      "(1, 6, '2024-03-15', 13, 13, 3, 1, 'mesma conta', 'AP'), (1, 8, '2024-05-02', 13, null, 4, 1, 'NF', 'AP'),"
      "(1, 30, '2024-07-01', 13, 21, 5, 1, 'sem plano', 'AP');");
  Rodar();
  auto lado = [](const char* tipo, const char* conta) {
    return std::string("select L.CHAVELCTOCTB, L.DATALCTOCTB, CAST(") + tipo + " as SmallInt) TIPOLCTO, " +
           "L.VALORLCTOCTB, L.CODIGOORIGLCTOCTB, H.DESCRHISTCTB, L.COMPLHIST, TP.CONTATCE, TP.CLASSIFCONTA, TP.DESCRCONTA, "
           "P.CONTACTB, P.CLASSIFCONTA CLASSIFESPEC, P.DESCRCONTA DESCRESPEC, T.DATAINICIOPLANO from LCTOCTB L join "
           "PLANOESPEC P on L.CODIGOEMPRESA = P.CODIGOEMPRESA and L." + conta + " = P.CONTACTB join TCEPLANOPLESPEC T on "
           "T.CODIGOEMPRESA = P.CODIGOEMPRESA and T.CONTACTB = P.CONTACTB and T.CODIGOSISTEMATCE = 1 and " +
           nUlmo::TUlmoSQLs::GetSQLCondPlanoVigenteNaData("T", "L.DATALCTOCTB") +
           " join TCEPLANO TP on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and TP.CONTATCE = T.CONTATCE join "
           "HISTORICOCTB H on H.CODIGOHISTCTB = L.CODIGOHISTCTB join TCEORIGEMLCTOCTB O on O.CODIGOSISTEMATCE = 1 and "
           "O.CODIGOORIGLCTOCTB = L.CODIGOORIGLCTOCTB where L.CODIGOEMPRESA = 1 and L." + conta + " is not null and "
           "L.DATALCTOCTB between '2024-01-01' and '2024-12-31' ";
  };
  auto juncao = ExecutarSQL(lado("2", "CONTACTBDEB") + "union " + lado("1", "CONTACTBCRED") + "order by 2, 1, 3");
  std::vector<std::string> esperado, obtido;
  for (juncao->First(); !juncao->Eof(); juncao->Next()) {
    auto f = [&](const char* n) { return juncao->FieldByName(n).AsString(); };
    esperado.push_back(f("CHAVELCTOCTB") + "|" + f("TIPOLCTO") + "|" + f("CONTATCE") + " " + f("CLASSIFCONTA") + " " +
                       f("DESCRCONTA") + "|" + FormatDateTime("yyyy", juncao->FieldByName("DATAINICIOPLANO").AsDateTime()) +
                       "|" + f("CONTACTB") + " " + f("CLASSIFESPEC") + " " + f("DESCRESPEC") + "|" +
                       FormatDateTime("dd/mm/yyyy", juncao->FieldByName("DATALCTOCTB").AsDateTime()) + "|" +
                       FormatFloat("0.00", juncao->FieldByName("VALORLCTOCTB").AsCurrency()) + "|" +
                       MontarHist(f("DESCRHISTCTB"), f("COMPLHIST")));
  }
  auto& l = FProcesso->nClientDataSetLcto();
  int seq = 0;
  for (l.First(); !l.Eof(); l.Next()) {
    auto f = [&](const char* n) { return l.FieldByName(n).AsString(); };
    EXPECT_EQ(l.FieldByName("NumeroSequencial").AsInteger(), ++seq);
    obtido.push_back(f("ChaveLctoCtb") + "|" + f("TipoLancamento") + "|" + f("ContaTce") + " " +
                     f("ClassifDescrContaContabil") + "|" + f("AnoCriacaoConta") + "|" + f("ContaCtb") + " " +
                     f("ClassifDescrContaCtb") + "|" + f("DataLancamento") + "|" +
                     FormatFloat("0.00", l.FieldByName("ValorLancamento").AsCurrency()) + "|" + f("HistoricoLancamento"));
  }
  ASSERT_GE(esperado.size(), 12u);
  EXPECT_EQ(obtido, esperado);
}

TEST_F(EnviarEsfingeTest, ImplantationRowsKeepDistinctNumbersAfter999) {
  Set("pEnviarImplSaldo", "1");
  Rodar();
  auto& l = FProcesso->nClientDataSetLcto();
  ASSERT_EQ(l.RecordCount(), 7);
  l.First();  // 01/01/2024 comes first
  std::vector<int> numeros;
  for (int i = 0; i < 2; ++i, l.Next()) {
    numeros.push_back(l.FieldByName("NumeroSequencial").AsInteger());
    EXPECT_EQ(l.FieldByName("DescrTipoMovimentoContabil").AsString(), "Abertura do Exercício");
    EXPECT_DOUBLE_EQ(l.FieldByName("ValorLancamento").AsFloat(), 500);
    EXPECT_EQ(l.FieldByName("TipoLancamento").AsInteger(),
              l.FieldByName("ContaCtb").AsInteger() == 12 ? 2 : 1);  // debit balance: 2
  }
  std::sort(numeros.begin(), numeros.end());
  EXPECT_EQ(numeros, (std::vector<int>{99900006, 99900007}));
}

TEST_F(EnviarEsfingeTest, PreviousYearBalancesBecomeOpeningRows) {
  Set("pEnviarLancamentoAnoAnterior", "1");
  Rodar();
  auto& l = FProcesso->nClientDataSetLcto();
  std::vector<std::string> hist;
  for (l.First(); !l.Eof(); l.Next()) {
    if (l.FieldByName("HistoricoLancamento").AsString() != "Saldo Inicial do Exercício Anterior") continue;
    hist.push_back(l.FieldByName("ContaTce").AsString());
    // 2023 movement of 80 and the opening of 500; the credit balance goes out positive.
    EXPECT_DOUBLE_EQ(l.FieldByName("ValorLancamento").AsFloat(), 580);
    EXPECT_EQ(l.FieldByName("NumeroSlip").AsString(), "202401");
    EXPECT_EQ(l.FieldByName("TipoLancamento").AsInteger(), l.FieldByName("ContaTce").AsInteger() == 111 ? 2 : 1);
  }
  std::sort(hist.begin(), hist.end());
  // Account 13 had no balance before 2024: no row.
  EXPECT_EQ(hist, (std::vector<std::string>{"111", "211"}));
}

// Every row of both grids as text, in their index order.
std::vector<std::string> Grades(TUlmoDPEnviarArquivosCtbeSFinge& AProcesso) {
  std::vector<std::string> r;
  for (TClientDataSet* d : {&AProcesso.nClientDataSetConta(), &AProcesso.nClientDataSetLcto()}) {
    r.push_back("--");
    for (d->First(); !d->Eof(); d->Next()) {
      std::string linha;
      for (int i = 0; i < d->FieldCount(); ++i) linha += d->Fields(i).AsString() + "|";
      r.push_back(linha);
    }
  }
  return r;
}

TEST_F(EnviarEsfingeTest, AMappingExpiredBeforeThePeriodChangesNeitherGrid) {
  Set("pExibirContasSinteticas", "1");
  Set("pEnviarImplSaldo", "1");
  Set("pEnviarLancamentoAnoAnterior", "1");
  Rodar();
  auto antes = Grades(*FProcesso);
  // Caixa was mapped to the banks account in 2022: its entries used to come twice.
  FConexao->Driver().ExecuteScript(
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE, "
      "TIPONATURSALDO, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE) values (1, 12, '2022-01-01', '2022-12-31', 1, 112, 1, "
      "'N', 1);");
  Rodar();
  EXPECT_EQ(Grades(*FProcesso), antes);
  EXPECT_EQ(antes.size(), 2u + 4 + 9);
}

TEST_F(EnviarEsfingeTest, AMappingChangedInThePeriodPutsEachRowUnderTheRightCourtAccount) {
  // Caixa moves from court account 111 to 112 on 1 April.
  FConexao->Driver().ExecuteScript(
      "update TCEPLANOPLESPEC set DATAFIMPLANO = '2024-03-31' where CONTACTB = 12;"
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE, "
      "TIPONATURSALDO, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE) values (1, 12, '2024-04-01', '2024-12-31', 1, 112, 1, "
      "'N', 1);");
  Set("pEnviarImplSaldo", "1");
  Set("pEnviarLancamentoAnoAnterior", "1");
  Rodar();
  // The accounts cover the period: Caixa once, under the mapping of the last day.
  auto& c = FProcesso->nClientDataSetConta();
  EXPECT_EQ(c.RecordCount(), 3);
  ASSERT_TRUE(c.Locate("ContaCtb", {12.0}));
  EXPECT_EQ(c.FieldByName("ContaTce").AsString(), "112");
  EXPECT_EQ(c.FieldByName("DataInicioPlanoTce").AsDateTime(), StrToDate("01/04/2024"));
  // Each entry once under its date's mapping; the opening rows under the first day's.
  auto& l = FProcesso->nClientDataSetLcto();
  std::vector<std::string> caixa;
  for (l.First(); !l.Eof(); l.Next())
    if (l.FieldByName("ContaCtb").AsInteger() == 12)
      caixa.push_back(l.FieldByName("DataLancamento").AsString() + " " + l.FieldByName("ValorLancamento").AsString() +
                      " " + l.FieldByName("ContaTce").AsString());
  EXPECT_EQ(caixa, (std::vector<std::string>{"01/01/2024 580 111", "01/01/2024 500 111", "05/03/2024 30 111",
                                             "10/03/2024 100 111", "01/05/2024 70 112"}));
}

TEST_F(EnviarEsfingeTest, APreviousYearBalanceCountsUnderTheMappingOfThePeriodsFirstDay) {
  // Banco was mapped to the cash account in 2023; from 2024 to the banks account.
  FConexao->Driver().ExecuteScript(
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE, "
      "TIPONATURSALDO, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE) values (1, 13, '2023-01-01', '2023-12-31', 1, 111, 1, "
      "'N', 1);"
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, "
      "CODIGOHISTCTB, CODIGOORIGLCTOCTB) values (1, 10, '2023-07-01', 13, 21, 40, 1, 'AP');");
  Set("pEnviarLancamentoAnoAnterior", "1");
  Rodar();
  auto& l = FProcesso->nClientDataSetLcto();
  ASSERT_TRUE(l.Locate("ContaCtb;HistoricoLancamento", {13.0, "Saldo Inicial do Exercício Anterior"}));
  EXPECT_EQ(l.FieldByName("ContaTce").AsString(), "112");
  EXPECT_DOUBLE_EQ(l.FieldByName("ValorLancamento").AsFloat(), 40);
  EXPECT_EQ(l.FieldByName("AnoCriacaoConta").AsInteger(), 2024);
}

TEST_F(EnviarEsfingeTest, FailingBalanceProcessEndsTheRunKeepingTheRowsAlreadyAdded) {
  FConexao->Driver().ExecuteScript("delete from CFGPLANOESPEC;");
  Set("pEnviarLancamentoAnoAnterior", "1");
  FProcesso->ValidarDado();
  EXPECT_NE(Erro([&] { FProcesso->Executar(); }), "(sem erro)");
  EXPECT_EQ(FProcesso->nClientDataSetLcto().RecordCount(), 5);
  // The read-only transaction was closed: the next run works.
  Set("pEnviarLancamentoAnoAnterior", "0");
  Rodar();
  EXPECT_EQ(FProcesso->nClientDataSetLcto().RecordCount(), 5);
}

TEST_F(EnviarEsfingeTest, HomologationNamesBothAddresses) {
  Rodar();
  EXPECT_EQ(FProcesso->GetMsgTreeLista()->Total(), 0u);
  nConfig().Homologacao = true;
  Rodar();
  const auto& raizes = FProcesso->GetMsgTreeLista()->Raizes();
  ASSERT_EQ(raizes.size(), 2u);
  EXPECT_EQ(raizes[0]->Texto.rfind("Enviar Informações API SOAP: Ambiente de homologação: - URL: https://", 0), 0u);
  EXPECT_EQ(raizes[1]->Texto.rfind("Enviar Informações e-Sfinge Online API REST: Ambiente de homologação: - URL: ", 0),
            0u);
}

TEST_F(EnviarEsfingeTest, ActionsFollowTheStartDateAndNeedARun) {
  Set("pCompetInicial", "31/12/2021");
  FProcesso->ValidarDado();
  EXPECT_EQ(Erro([&] { FProcesso->actEnviarInfExecute(nullptr); }),
            "Ação disponível apenas após execução do processo.");
  Set("pCompetInicial", "01/01/2022");
  FProcesso->ValidarDado();
  EXPECT_EQ(Erro([&] { FProcesso->actEnviarInfEsfingeOnlineExecute(nullptr); }),
            "Ação disponível apenas após execução do processo.");
  EXPECT_EQ(Erro([&] { FProcesso->actEnviarInfExecute(nullptr); }),
            "Ação disponível apenas para período anterior a 01/01/2022.");
  Set("pCompetInicial", "31/12/2021");
  FProcesso->ValidarDado();
  EXPECT_EQ(Erro([&] { FProcesso->actEnviarInfEsfingeOnlineExecute(nullptr); }),
            "Ação disponível apenas para período posterior a 01/01/2022.");
}

TEST_F(EnviarEsfingeTest, SoapSendSeesOnlyMarkedRowsAndRestoresTheGridsAfterAFailure) {
  using namespace nUlmoEsfingeSoap;
  nConfig().SetValor(ChaveProtocolo, "http");
  nConfig().SetValor(ChaveHostProducao, "127.0.0.1:1");  // nothing listens there
  nConfig().SetValor(ChaveTimeoutConexao, "1");
  Rodar();
  // The grids keep their rows until the next run; the action reads the validated start.
  Set("pCompetInicial", "01/01/2021");
  FProcesso->ValidarDado();
  auto& c = FProcesso->nClientDataSetConta();
  auto& l = FProcesso->nClientDataSetLcto();
  ASSERT_FALSE(c.IsEmpty());
  // Nothing marked: it says so, and no connection is tried.
  EXPECT_EQ(Erro([&] { FProcesso->actEnviarInfExecute(nullptr); }), "Nenhum registro marcado para envio.");
  EXPECT_FALSE(c.Filtered());
  c.First();
  c.Edit();
  c.FieldByName("Enviar").SetAsInteger(1);  // left in edit: the send posts it
  EXPECT_NE(Erro([&] { FProcesso->actEnviarInfExecute(nullptr); }), "(sem erro)");
  EXPECT_FALSE(c.Filtered());
  EXPECT_FALSE(l.Filtered());
  EXPECT_EQ(c.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(c.RecordCount(), 3);
  c.First();
  EXPECT_EQ(c.FieldByName("Enviar").AsInteger(), 1);
}

// Records what the process hands to the online sender.
class TEnvioFalso : public nUlmoEsfingeOnline::IEnviarInfoContabil {
 public:
  nUlmoEsfingeOnline::TRecConfig Cfg;
  int Contas = -1, Lctos = -1;
  std::vector<std::string> Chamadas;
  bool Falhar = false;
  TClientDataSet *C = nullptr, *L = nullptr;
  IEnviarInfoContabil& Config(const nUlmoEsfingeOnline::TRecConfig& a) override {
    Cfg = a;
    Chamadas.push_back("Config");
    return *this;
  }
  IEnviarInfoContabil& DataSets(TClientDataSet& c, TClientDataSet& l) override {
    C = &c;
    L = &l;
    Chamadas.push_back("DataSets");
    return *this;
  }
  IEnviarInfoContabil& MsgTree(std::shared_ptr<ITreeMessager>) override {
    Chamadas.push_back("MsgTree");
    return *this;
  }
  IEnviarInfoContabil& Progresso(TnFraProgresso&) override {
    Chamadas.push_back("Progresso");
    return *this;
  }
  void Enviar() override {
    Chamadas.push_back("Enviar");
    Contas = C->RecordCount();
    Lctos = L->RecordCount();
    if (Falhar) throw Exception("falha do envio");
  }
};

class TFabricaFalsa : public nUlmoEsfingeOnline::IFactory {
 public:
  std::shared_ptr<TEnvioFalso> Envio = std::make_shared<TEnvioFalso>();
  std::shared_ptr<nUlmoEsfingeOnline::IEnviarInfoContabil> EnviarInfoContabil() override { return Envio; }
  std::shared_ptr<nUlmoEsfingeOnline::IGerarToken> GerarToken() override { return nullptr; }
  std::shared_ptr<nUlmoEsfingeOnline::IGerarDadosEnvio> GerarDadosEnvio() override { return nullptr; }
  std::shared_ptr<nUlmoEsfingeOnline::ILoteEnviado> LoteEnviado() override { return nullptr; }
  std::shared_ptr<nUlmoEsfingeOnline::ICancelarLote> CancelarLote() override { return nullptr; }
};

TEST_F(EnviarEsfingeTest, OnlineSendGetsTheRunConfigurationAndOnlyMarkedRows) {
  auto fabrica = std::make_shared<TFabricaFalsa>();
  FProcesso->SetFabricaOnline([fabrica] { return fabrica; });
  Rodar();
  auto& l = FProcesso->nClientDataSetLcto();
  l.First();
  l.Edit();
  l.FieldByName("Enviar").SetAsInteger(1);
  l.Post();
  l.Next();
  l.Edit();
  l.FieldByName("Enviar").SetAsInteger(1);
  FProcesso->actEnviarInfEsfingeOnlineExecute(nullptr);
  const TEnvioFalso& e = *fabrica->Envio;
  EXPECT_EQ(e.Chamadas, (std::vector<std::string>{"Progresso", "MsgTree", "Config", "DataSets", "Enviar"}));
  EXPECT_EQ(e.Contas, 0);
  EXPECT_EQ(e.Lctos, 2);
  EXPECT_EQ(e.Cfg.CodigoSistemaTce, 1);
  EXPECT_EQ(e.Cfg.CodigoEmpresa, 1);
  EXPECT_EQ(e.Cfg.CodigoAcesso, "usuario");  // trimmed
  EXPECT_EQ(e.Cfg.Senha, "senha");
  EXPECT_EQ(e.Cfg.CodigoUnidadeGestora, "1234");
  EXPECT_EQ(e.Cfg.CompetenciaInicial, StrToDate("01/01/2024"));
  EXPECT_EQ(e.Cfg.CompetenciaFinal, StrToDate("31/12/2024"));
  EXPECT_FALSE(e.Cfg.DescricaoEmpresaTI.empty());
  EXPECT_FALSE(l.Filtered());

  fabrica->Envio->Falhar = true;
  EXPECT_EQ(Erro([&] { FProcesso->actEnviarInfEsfingeOnlineExecute(nullptr); }), "falha do envio");
  EXPECT_FALSE(l.Filtered());
  EXPECT_FALSE(FProcesso->nClientDataSetConta().Filtered());
  EXPECT_EQ(l.RecordCount(), 5);
}

}  // namespace

namespace {

// The caption a grid shows for the current row's value of a column with a value list.
std::string Mostrado(const TField& f) {
  for (const auto& [caption, valor] : ItensLista(f.ValueList))
    if (valor == f.AsString()) return caption;
  return "(sem rótulo para " + f.AsString() + ")";
}

// The key of every row, joined; a key that names two rows appears once.
std::set<std::string> Chaves(TClientDataSet& ds) {
  std::set<std::string> r;
  for (ds.First(); !ds.Eof(); ds.Next()) {
    std::string k;
    for (const auto& campo : ItensLista(ds.CamposChave)) k += ds.FieldByName(campo.first).AsString() + "|";
    r.insert(k);
  }
  return r;
}

TEST_F(EnviarEsfingeTest, DebitSideReadsDebitoAndCreditSideCreditoAsSentToTheCourt) {
  Rodar();
  auto& l = FProcesso->nClientDataSetLcto();
  // Entry 1: debit 12 (court 111), credit 21 (court 211).
  ASSERT_TRUE(l.Locate("ChaveLctoCtb;ContaTce", {1, 111.0}));
  EXPECT_EQ(l.FieldByName("TipoLancamento").AsInteger(), 2);
  EXPECT_EQ(Mostrado(l.FieldByName("TipoLancamento")), "Débito");
  ASSERT_TRUE(l.Locate("ChaveLctoCtb;ContaTce", {1, 211.0}));
  EXPECT_EQ(Mostrado(l.FieldByName("TipoLancamento")), "Crédito");
  // Opening rows follow the balance's nature: implantation of account 12 (nature 1) is a debit.
  Set("pEnviarImplSaldo", "1");
  Rodar();
  ASSERT_TRUE(l.Locate("ContaCtb;DescrTipoMovimentoContabil", {12.0, "Abertura do Exercício"}));
  EXPECT_EQ(Mostrado(l.FieldByName("TipoLancamento")), "Débito");

  auto& c = FProcesso->nClientDataSetConta();
  ASSERT_TRUE(c.Locate("ContaTce", {211.0}));
  EXPECT_EQ(Mostrado(c.FieldByName("TipoNaturezaSaldo")), "Credor");
  EXPECT_EQ(Mostrado(c.FieldByName("TipoConta")), "A");
}

TEST_F(EnviarEsfingeTest, OnlyTheTickIsEditableAndTheKeysNameOneRowEach) {
  Set("pExibirContasSinteticas", "1");
  Set("pEnviarImplSaldo", "1");
  Rodar();
  ASSERT_EQ(FProcesso->DataSetsGrade(), (std::vector<std::string>{"nClientDataSetConta", "nClientDataSetLcto"}));
  for (const auto& nome : FProcesso->DataSetsGrade()) {
    auto& ds = FProcesso->ComponentByName<TClientDataSet>(nome);
    SCOPED_TRACE(nome);
    EXPECT_EQ(ds.CampoMarca, "Enviar");
    for (int i = 0; i < ds.FieldCount(); ++i)
      EXPECT_EQ(ds.Fields(i).ReadOnly, ds.Fields(i).FieldName() != "Enviar") << ds.Fields(i).FieldName();
    ASSERT_GT(ds.RecordCount(), 3);
    EXPECT_EQ(static_cast<int>(Chaves(ds).size()), ds.RecordCount());
    EXPECT_EQ(ds.FieldByName("Enviar").DisplayLabel, "Selecionado");
  }
}

TEST_F(EnviarEsfingeTest, SyntheticAccountRowsAreHighlightedAndHiddenColumnsStayOutOfSight) {
  Set("pExibirContasSinteticas", "1");
  Rodar();
  auto& c = FProcesso->nClientDataSetConta();
  ASSERT_FALSE(c.CampoEstilo.empty());
  EXPECT_EQ(c.EstiloDestaque, "negrito-verde");
  EXPECT_FALSE(c.FieldByName(c.CampoEstilo).Visible);
  std::vector<std::string> destaque;
  for (c.First(); !c.Eof(); c.Next())
    if (c.FieldByName(c.CampoEstilo).AsInteger() != 0) destaque.push_back(c.FieldByName("ContaTce").AsString());
  EXPECT_EQ(destaque, (std::vector<std::string>{"100"}));
  for (const char* oculto : {"CodigoConta", "TipoContaContabil", "NomeConta", "IndicativoContaAnalitica",
                             "CodigoContaSintetica", "CodigoContaSinteticaSuperiorTce"})
    EXPECT_FALSE(c.FieldByName(oculto).Visible) << oculto;
  EXPECT_EQ(c.FieldByName("ClassifDescrContaCtb").Band, "Plano Específico");
  EXPECT_EQ(FProcesso->nClientDataSetLcto().FieldByName("ValorLancamento").DisplayFormat, "#,##0.00");
}

// The online send over the court's own services, against a fake court.
class EnviarEsfingeOnlineTest : public EnviarEsfingeTest {
 protected:
  void SetUp() override {
    EnviarEsfingeTest::SetUp();
    nConfig().UrlEsfingeOnline = FFake.Url();
    FConexao->Driver().ExecuteScript("insert into CFGEMPRESATCE (CODIGOEMPRESA, TOKENESFINGE) values (1, 'ANTIGO');");
    SetClockFixo(EncodeDate(2024, 6, 10));
  }
  void TearDown() override {
    SetClockFixo(std::nullopt);
    ControleMensagem().SetFraListaMensagemTree(nullptr);
    EnviarEsfingeTest::TearDown();
  }
  std::string Token() { return PegarValorCampo("CFGEMPRESATCE", "TOKENESFINGE", "CODIGOEMPRESA = 1").AsString(); }
  void Marcar(TClientDataSet& ds, const std::string& filtro) {
    ds.SetFilter(filtro);
    ds.SetFiltered(true);
    std::vector<TClientDataSet::TBookmark> linhas;
    ds.ForEach([&](TClientDataSet& d) { linhas.push_back(d.GetBookmark()); });
    ds.SetFiltered(false);
    for (auto b : linhas) {
      ds.GotoBookmark(b);
      ds.Edit();
      ds.FieldByName("Enviar").SetAsInteger(1);
      ds.Post();
    }
  }
  std::vector<std::string> Mensagens() {
    std::vector<std::string> r;
    for (const auto& n : FProcesso->GetMsgTreeLista()->Raizes())
      r.push_back(std::string(NomeTipoMensagem(n->Tipo)) + " " + n->Texto);
    return r;
  }

  TFakeServidorHTTP FFake;
};

TEST_F(EnviarEsfingeOnlineTest, NothingTickedSaysSoAndNeverLogsInNorTouchesTheStoredToken) {
  Rodar();
  EXPECT_EQ(Erro([&] { FProcesso->actEnviarInfEsfingeOnlineExecute(nullptr); }), "Nenhum registro marcado para envio.");
  EXPECT_FALSE(FProcesso->nClientDataSetLcto().Filtered());

  // Accounts alone make no package: the court takes them with a month's entries.
  Marcar(FProcesso->nClientDataSetConta(), "ContaTce = 111");
  FProcesso->actEnviarInfEsfingeOnlineExecute(nullptr);
  EXPECT_EQ(Mensagens(), (std::vector<std::string>{
                             "ERRO Nenhum lançamento marcado para envio. O e-Sfinge online recebe as contas marcadas "
                             "junto com os lançamentos de cada mês: marque os lançamentos dos meses a enviar."}));

  // Entries of a month not yet begun make none either.
  SetClockFixo(EncodeDate(2024, 2, 15));
  Marcar(FProcesso->nClientDataSetLcto(), "NumeroSlip = '202403'");
  FProcesso->actEnviarInfEsfingeOnlineExecute(nullptr);
  EXPECT_EQ(Mensagens(), (std::vector<std::string>{
                             "ERRO Nenhum mês a enviar: nenhum dos lançamentos marcados é de um mês de 01/2024 a "
                             "02/2024 (os meses do período até o mês atual)."}));
  Set("pCompetInicial", "01/03/2024");
  Rodar();
  Marcar(FProcesso->nClientDataSetLcto(), "NumeroSlip = '202403'");
  FProcesso->actEnviarInfEsfingeOnlineExecute(nullptr);
  EXPECT_EQ(Mensagens(), (std::vector<std::string>{
                             "ERRO Nenhum mês a enviar: o período começa em 03/2024, depois do mês atual (02/2024)."}));

  EXPECT_TRUE(FFake.Chamadas().empty());
  EXPECT_EQ(Token(), "ANTIGO");
}

TEST_F(EnviarEsfingeOnlineTest, TickedEntriesThatNoPackageCarriesAreNamedNotDroppedSilently) {
  SetClockFixo(EncodeDate(2024, 4, 15));
  Rodar();
  Marcar(FProcesso->nClientDataSetLcto(), "NumeroSlip = '202403' or NumeroSlip = '202405'");
  FFake.Responder(200, R"({"chave":"TK"})");
  FFake.Responder(200, R"({"chavePacote":"P1"})");
  FFake.Responder(200, "");
  FFake.Responder(200, R"({"codigoRegistroInformacao":"R1"})");
  FProcesso->actEnviarInfEsfingeOnlineExecute(nullptr);
  EXPECT_EQ(Mensagens(), (std::vector<std::string>{
                             "AVISO 1 lançamento marcado não é de um mês de 01/2024 a 04/2024 e não vai no envio "
                             "(Número Seqüencial 5).",
                             "OK Lote 202403: Envio parcial realizado com sucesso."}));
  ASSERT_EQ(FFake.Chamadas().size(), 4u);
  EXPECT_EQ(FFake.Chamadas()[1], "GET /esfingeonline/v6/registroscontabeis/empresas/iniciarEnvio?anoMes=202403");
  EXPECT_EQ(Token(), "TK");
}

}  // namespace

TEST_F(EnviarEsfingeTest, ANegativeOrUnknownCompanyFilledEmptyGrids) {
  Set("pCodigoSistemaTCE", "1");
  for (const char* empresa : {"-1", "77", "32768"}) {
    Set("pCodigoEmpresa", empresa);
    EXPECT_EQ(Erro([&] { FProcesso->ValidarDado(); }), "Empresa inválida!") << empresa;
  }
  Set("pCodigoEmpresa", "1");
  Set("pCompetInicial", "01/01/0001");
  EXPECT_EQ(Erro([&] { FProcesso->ValidarDado(); }), "Data inicial inválida!");
  Set("pCompetInicial", "01/01/2024");
  Set("pCompetFinal", "31/12/9999");
  EXPECT_EQ(Erro([&] { FProcesso->ValidarDado(); }), "Data final inválida!");
}
