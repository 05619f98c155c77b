#include "Demo_U.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "BancoTeste_U.h"
#include "DemoCadastros_U.h"
#include "DemoEmpresa_U.h"
#include "InscricaoFederal_U.h"
#include "SQL_U.h"
#include "SaldoCtb_U.h"

using namespace nFramework;
using namespace nHost;

namespace {

// Built once: the cases only read it.
class DemoTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FBanco = new TBancoTeste("demo");
    GerarDemo();
  }
  static void TearDownTestSuite() {
    delete FBanco;
    FBanco = nullptr;
  }
  void SetUp() override { SetConexao(&FBanco->Conexao()); }

  static std::unique_ptr<TClientDataSet> Saldo(int empresa, const std::string& inicio, const std::string& fim,
                                               std::map<std::string, std::string> mais = {}) {
    mais["pCodigoEmpresa"] = std::to_string(empresa);
    mais["pDataInicial"] = inicio;
    mais["pDataFinal"] = fim;
    return GerarSaldoCtb(LerParamSaldoCtb([&](std::string_view a) {
      auto it = mais.find(std::string(a));
      return it == mais.end() ? std::string() : it->second;
    }));
  }

  // Every row of every table, in key order, as text.
  static std::string Conteudo() {
    std::string r;
    for (const auto& tabela : TabelasDemo()) {
      int colunas = ExecutarSQL("select * from " + tabela + " where 1 = 0")->FieldCount();
      std::string ordem;
      for (int i = 1; i <= colunas; ++i) ordem += (i > 1 ? ", " : "") + std::to_string(i);
      auto ds = ExecutarSQL("select * from " + tabela + " order by " + ordem);
      r += tabela + "\n";
      for (ds->First(); !ds->Eof(); ds->Next()) {
        for (int i = 0; i < ds->FieldCount(); ++i) r += ds->Fields(i).AsString() + "|";
        r += "\n";
      }
    }
    return r;
  }

  static TBancoTeste* FBanco;
};
TBancoTeste* DemoTest::FBanco = nullptr;

}  // namespace

TEST_F(DemoTest, EveryCompanysBooksBalanceAtEveryMonthEnd) {
  for (const auto& e : EmpresasDemo()) {
    for (const char* fim : {"31/01/2024", "30/06/2024", "30/12/2024", "31/12/2024"}) {
      auto ds = Saldo(e.Codigo, "01/01/2024", fim, {{"pTotalizarSintetica", "0"}});
      int64_t soma = 0;
      int analiticas = 0;
      for (ds->First(); !ds->Eof(); ds->Next()) {
        if (ds->FieldByName("TIPOCONTA").AsInteger() != 2) continue;
        ++analiticas;
        soma += ds->FieldByName("SALDOATUAL").AsCurrency().Raw() * ds->FieldByName("TIPOCONTACALC").AsInteger();
      }
      EXPECT_GT(analiticas, 50) << e.Codigo;
      EXPECT_EQ(soma, 0) << "empresa " << e.Codigo << " em " << fim;
    }
  }
}

TEST_F(DemoTest, TheClosingOriginFilterRemovesExactlyTheClosingEntries) {
  for (const auto& e : EmpresasDemo()) {
    auto todos = Saldo(e.Codigo, "01/01/2024", "31/12/2024", {{"pTotalizarSintetica", "0"}});
    auto semZZ = Saldo(e.Codigo, "01/01/2024", "31/12/2024",
                       {{"pTotalizarSintetica", "0"}, {"pConsiderarFiltroLctoCtb", "1"}, {"pFiltroOrigemLcto", "ZZ"}});
    std::map<int64_t, std::pair<int64_t, int64_t>> encerramento;  // account: debits, credits of origin ZZ
    auto zz = ExecutarSQL(
        "select CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB from LCTOCTB where CODIGOEMPRESA = :E and CODIGOORIGLCTOCTB = 'ZZ'",
        {e.Codigo});
    ASSERT_GT(zz->RecordCount(), 20);
    for (zz->First(); !zz->Eof(); zz->Next()) {
      int64_t v = zz->Fields(2).AsCurrency().Raw();
      encerramento[zz->Fields(0).AsLargeInt()].first += v;
      encerramento[zz->Fields(1).AsLargeInt()].second += v;
    }
    semZZ->SetIndexFieldNames("CONTACTB");
    int resultado = 0;
    for (todos->First(); !todos->Eof(); todos->Next()) {
      int64_t conta = todos->FieldByName("CONTACTB").AsLargeInt();
      auto esperado = encerramento[conta];
      char grupo = todos->FieldByName("CLASSIFCONTA").AsString()[0];
      bool achou = semZZ->FindKey({static_cast<long long>(conta)});
      int64_t debito = achou ? semZZ->FieldByName("DEBITO").AsCurrency().Raw() : 0;
      int64_t credito = achou ? semZZ->FieldByName("CREDITO").AsCurrency().Raw() : 0;
      EXPECT_EQ(todos->FieldByName("DEBITO").AsCurrency().Raw() - debito, esperado.first) << conta;
      EXPECT_EQ(todos->FieldByName("CREDITO").AsCurrency().Raw() - credito, esperado.second) << conta;
      if (achou) {
        EXPECT_EQ(todos->FieldByName("SALDOANTERIOR").AsCurrency(), semZZ->FieldByName("SALDOANTERIOR").AsCurrency());
      }
      if (grupo == '3' || grupo == '4') {
        ++resultado;
        EXPECT_EQ(todos->FieldByName("SALDOATUAL").AsCurrency(), Currency()) << conta;  // closed
        EXPECT_TRUE(achou && semZZ->FieldByName("SALDOATUAL").AsCurrency() != Currency()) << conta;
      }
    }
    EXPECT_GT(resultado, 40);
  }
}

TEST_F(DemoTest, RefreshingGivesTheSameDatabase) {
  std::string antes = Conteudo();
  GerarDemo();
  EXPECT_EQ(Conteudo(), antes);
}

TEST_F(DemoTest, ARefreshEmptiesEveryTableItFills) {
  std::set<std::string> tabelas(TabelasDemo().begin(), TabelasDemo().end());
  for (const std::string& nome : TabelasBanco(Conexao())) {
    if (nome == "ESTADO" || nome == "SCHEMAVERSAO" || nome == "SCHEMAFKPENDENTE") continue;
    EXPECT_TRUE(tabelas.count(nome)) << nome << " is not emptied by a refresh";
  }
}

TEST_F(DemoTest, EachCompanyHasAYearOfEntriesAndAMappedChart) {
  for (const auto& e : EmpresasDemo()) {
    auto meses = ExecutarSQL(
        "select EXTRACT(MONTH FROM DATALCTOCTB) MES, count(*) QTD, count(distinct CODIGOORIGLCTOCTB) ORIGENS from LCTOCTB "
        "where CODIGOEMPRESA = :E group by 1 order by 1",
        {e.Codigo});
    ASSERT_EQ(meses->RecordCount(), 12) << e.Codigo;
    for (meses->First(); !meses->Eof(); meses->Next()) {
      EXPECT_GT(meses->FieldByName("QTD").AsInteger(), 150) << e.Codigo;
      EXPECT_GE(meses->FieldByName("ORIGENS").AsInteger(), 8) << e.Codigo;
    }
    int contas = PegarValorCampo("PLANOESPEC", "count(*)", "CODIGOEMPRESA = " + std::to_string(e.Codigo)).AsInteger();
    EXPECT_GE(contas, 140);
    EXPECT_LE(contas, 260);
    int semMapa = PegarValorCampo("PLANOESPEC P left join TCEPLANOPLESPEC T on T.CODIGOEMPRESA = P.CODIGOEMPRESA and "
                                  "T.CONTACTB = P.CONTACTB",
                                  "count(*)",
                                  "P.TIPOCONTA = 2 and T.CONTACTB is null and P.CODIGOEMPRESA = " + std::to_string(e.Codigo))
                      .AsInteger();
    // One analytic account is left unrelated, for the user to relate to its court account.
    EXPECT_EQ(semMapa, 1);
    // Analytic accounts go to analytic court accounts, synthetic ones to synthetic court accounts.
    int trocadas = PegarValorCampo("TCEPLANOPLESPEC T join PLANOESPEC P on P.CODIGOEMPRESA = T.CODIGOEMPRESA and "
                                   "P.CONTACTB = T.CONTACTB join TCEPLANO TP on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE "
                                   "and TP.CONTATCE = T.CONTATCE",
                                   "count(*)", "TP.TIPOCONTA <> P.TIPOCONTA and T.CODIGOEMPRESA = " + std::to_string(e.Codigo))
                       .AsInteger();
    EXPECT_EQ(trocadas, 0);
    EXPECT_EQ(PegarValorCampo("TCESISTEMAEMPRESA", "CODIGOSISTEMATCE", "CODIGOEMPRESA = " + std::to_string(e.Codigo)).AsInteger(),
              e.Sistema);
  }
}

TEST_F(DemoTest, FiscalRowsFollowTheirEntries) {
  // Each payment of a payable has an accounting entry on the same day for the same amount.
  int pagamentos = PegarValorCampo("DUPLICATAENTPGTO", "count(*)", "").AsInteger();
  EXPECT_GT(pagamentos, 400);
  int semLancamento =
      PegarValorCampo("DUPLICATAENTPGTO D",
                      "count(*)",
                      "not exists (select 1 from LCTOCTB L where L.CODIGOEMPRESA = D.CODIGOEMPRESA and "
                      "L.DATALCTOCTB = D.DATAPGTO and L.VALORLCTOCTB = D.VALORPAGO and L.CODIGOORIGLCTOCTB = 'CP')")
          .AsInteger();
  EXPECT_EQ(semLancamento, 0);
  EXPECT_GT(PegarValorCampo("LCTOFISENTRETIDO", "count(*)", "VALORIRRF <> 0 and VALORINSS <> 0").AsInteger(), 20);
  EXPECT_GT(PegarValorCampo("LCTOFISENTCFOP", "count(distinct CHAVELCTOFISENT)", "CODIGOCFOP = 1556").AsInteger(), 0);
  // Invoices with two operation codes exist (fuel with lubricants).
  EXPECT_GT(PegarValorCampo("(select CODIGOEMPRESA, CHAVELCTOFISENT from LCTOFISENTCFOP group by 1, 2 having count(*) > 1) X",
                            "count(*)", "")
                .AsInteger(),
            0);
  EXPECT_GT(PegarValorCampo("PATBEM", "count(*)", "DATAAQUISICAO between '2024-01-01' and '2024-12-31'").AsInteger(), 0);
}

TEST_F(DemoTest, RegistrationsCarryValidCheckDigits) {
  auto cnpj = ExecutarSQL("select INSCRFEDERAL from ESTAB union all select INSCRFEDERAL from PESSOA");
  ASSERT_GT(cnpj->RecordCount(), 20);
  for (cnpj->First(); !cnpj->Eof(); cnpj->Next()) EXPECT_TRUE(CNPJValido(cnpj->Fields(0).AsString())) << cnpj->Fields(0).AsString();
  auto cpf = ExecutarSQL("select INSCRFEDERAL from SOCIO union all select INSCRFEDERAL from CONTADOR");
  ASSERT_GT(cpf->RecordCount(), 8);
  for (cpf->First(); !cpf->Eof(); cpf->Next()) EXPECT_TRUE(CPFValido(cpf->Fields(0).AsString())) << cpf->Fields(0).AsString();
}

TEST(CriarBancoDemo, ReplacesTheFileOnlyWhenComplete) {
  auto caminho = std::filesystem::temp_directory_path() / ("ulmo_demo_" + std::to_string(::getpid()) + ".db");
  std::filesystem::remove(caminho);
  SetConexao(nullptr);
  CriarBancoDemo(caminho.string());
  EXPECT_FALSE(TemConexao());
  {
    auto conexao = TnDMConexao::AbrirSQLite(caminho.string());
    SetConexao(conexao.get());
    EXPECT_EQ(PegarValorCampo("EMPRESA", "count(*)", "").AsInteger(), 4);
    SetConexao(nullptr);
  }
  // A folder that cannot take the new file leaves the old one as it was.
  std::filesystem::path pasta = caminho.parent_path() / ("ulmo_demo_ro_" + std::to_string(::getpid()));
  std::filesystem::create_directories(pasta);
  std::filesystem::copy_file(caminho, pasta / "demo.db");
  std::filesystem::permissions(pasta, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (::geteuid() != 0) {  // root writes anywhere
    EXPECT_THROW(CriarBancoDemo((pasta / "demo.db").string()), Exception);
    EXPECT_EQ(std::filesystem::file_size(pasta / "demo.db"), std::filesystem::file_size(caminho));
    EXPECT_FALSE(std::filesystem::exists(pasta / "demo.db.novo"));
  }
  std::filesystem::permissions(pasta, std::filesystem::perms::owner_all);
  std::filesystem::remove_all(pasta);
  for (const char* sufixo : {"", "-wal", "-shm"}) std::filesystem::remove(caminho.string() + sufixo);
}
