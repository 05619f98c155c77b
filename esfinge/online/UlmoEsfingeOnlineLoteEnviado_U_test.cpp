// The receipt of a finished package when other runs store receipts of the same month: on the
// suite's engine (SQLite, or the server of ULMO_TESTE_PG) and, on a server, from a second
// connection at the same time.
#include "UlmoEsfingeOnlineLoteEnviado_U.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "BancoVazioTeste_U.h"
#include "Exceptions_U.h"
#include "PostgreSQLDriver_U.h"
#include "SQL_U.h"
#include "Schema_U.h"
#include "UlmoEsfingeOnlineFuncoes_U.h"

using namespace nFramework;
using namespace nUlmoEsfingeOnline;

namespace {

class LoteEnviadoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FConexao = AbrirBancoTeste();
    SetConexao(FConexao.get());
    AtualizarEsquema(*FConexao);
    ExecutarSQLDireto("insert into EMPRESA (CODIGOEMPRESA, NOMEEMPRESA) values (1, 'A')");
    ExecutarSQLDireto("insert into TCEESFINGEONLINEENVIO values (1, '2024-03-01', 1, '2024-04-02', 0, 'K1', 'R1'), "
                      "(1, '2024-03-01', 2, '2024-04-03', 1, 'K2', 'R2')");
  }
  void TearDown() override { SetConexao(nullptr); }

  static TRecDadosEnvio Recibo(int seq, const std::string& chave) {
    TRecDadosEnvio d;
    d.CodigoEmpresa = 1;
    d.Competencia = EncodeDate(2024, 3, 1);
    d.Seq = seq;
    d.DataEnvio = EncodeDate(2024, 4, 10);
    d.ChavePacote = chave;
    d.CodigoRegistroInformacao = "REC-" + chave;
    return d;
  }
  // SEQ:CHAVEPACOTE of the month's receipts, in order.
  static std::string Recibos() {
    auto ds = ExecutarSQL("select SEQ, CHAVEPACOTE from TCEESFINGEONLINEENVIO where CODIGOEMPRESA = 1 and "
                          "COMPETENCIA = '2024-03-01' order by SEQ");
    std::string r;
    for (ds->First(); !ds->Eof(); ds->Next())
      r += (r.empty() ? "" : " ") + ds->Fields(0).AsString() + ":" + ds->Fields(1).AsString();
    return r;
  }

  std::unique_ptr<TnDMConexao> FConexao;
};

}  // namespace

// The number read before the court's reply was taken by another run when the row goes in.
TEST_F(LoteEnviadoTest, ANumberTakenMeanwhileGivesTheNextAndTheRunsTransactionGoesOn) {
  const int seq = TUlmoEsfingeFuncoes::GetProximoSeqTceEsfingeOnlineEnvio(1, EncodeDate(2024, 3, 1));
  ASSERT_EQ(seq, 3);
  ExecutarSQLDireto("insert into TCEESFINGEONLINEENVIO values (1, '2024-03-01', 3, '2024-04-10', 0, 'OUTRA', 'R')");
  EmTransacao([&] {
    ExecutarSQLDireto("insert into CFGEMPRESATCE (CODIGOEMPRESA, TOKENESFINGE) values (1, 'T')");
    TUlmoEsfingeOnlineLoteEnviado().Dados(Recibo(seq, "NOSSA")).Gravar();
  });
  EXPECT_EQ(Recibos(), "1:K1 2:K2 3:OUTRA 4:NOSSA");
  EXPECT_EQ(PegarValorCampo("CFGEMPRESATCE", "TOKENESFINGE", "CODIGOEMPRESA = 1").AsString(), "T");
}

TEST_F(LoteEnviadoTest, TheTriesAreBoundedAndAnotherFailureIsNotRetried) {
  int tentativas = 0;
  EmTransacao([&] {
    try {
      TUlmoEsfingeFuncoes::GravarComSeqLivre(1, EncodeDate(2024, 3, 1), 1, [&](int) {
        ++tentativas;
        ExecutarSQLDireto("insert into TCEESFINGEONLINEENVIO (CODIGOEMPRESA, COMPETENCIA, SEQ) values (1, '2024-03-01', 1)");
      });
      ADD_FAILURE() << "gravou";
    } catch (const EDatabaseError&) {
      ADD_FAILURE() << "o erro do banco saiu sem a mensagem da gravação";
    } catch (const Exception& e) {
      EXPECT_NE(std::string(e.what()).find("Outras execuções gravaram 20 recibos da empresa 1 na competência 03/2024"),
                std::string::npos)
          << e.what();
    }
    // The transaction is still usable after the failed tries.
    ExecutarSQLDireto("insert into CFGEMPRESATCE (CODIGOEMPRESA, TOKENESFINGE) values (1, 'T')");
  });
  EXPECT_EQ(tentativas, MaxTentativasSeqRecibo);
  EXPECT_EQ(Recibos(), "1:K1 2:K2");
  EXPECT_EQ(PegarValorCampo("CFGEMPRESATCE", "TOKENESFINGE", "CODIGOEMPRESA = 1").AsString(), "T");

  tentativas = 0;
  EXPECT_THROW(TUlmoEsfingeFuncoes::GravarComSeqLivre(1, EncodeDate(2024, 3, 1), 3,
                                                      [&](int) {
                                                        ++tentativas;
                                                        throw EDatabaseError("sem disco", TTipoErroBanco::Outro);
                                                      }),
               EDatabaseError);
  EXPECT_EQ(tentativas, 1);
}

// A second connection holds the number in a transaction not yet committed: the insert waits for
// it, meets the duplicate once it commits, and takes the next number.
TEST_F(LoteEnviadoTest, OnAServerTwoConnectionsStoringTheSameMonthAtOnceGetDistinctNumbers) {
  if (!TestePostgreSQL()) GTEST_SKIP() << "sem servidor PostgreSQL (ULMO_TESTE_PG)";
  const std::string esquema = ExecutarSQL("select current_schema()")->Fields(0).AsString();
  auto outra = CriarDriverPostgreSQL(EnderecoEsquemaTeste(ServidorTeste(), esquema));
  std::promise<void> inserido;
  std::thread outraExecucao([&] {
    outra->Begin(true);
    outra->ExecuteScript("insert into TCEESFINGEONLINEENVIO values (1, '2024-03-01', 3, '2024-04-10', 0, 'OUTRA', 'R')");
    inserido.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    outra->CommitTx();
  });
  inserido.get_future().wait();
  const int seq = TUlmoEsfingeFuncoes::GetProximoSeqTceEsfingeOnlineEnvio(1, EncodeDate(2024, 3, 1));
  EXPECT_EQ(seq, 3);  // the other row is not committed yet
  auto inicio = std::chrono::steady_clock::now();
  EXPECT_NO_THROW(TUlmoEsfingeOnlineLoteEnviado().Dados(Recibo(seq, "NOSSA")).Gravar());
  EXPECT_GE(std::chrono::steady_clock::now() - inicio, std::chrono::milliseconds(200));  // it waited for the other
  outraExecucao.join();
  EXPECT_EQ(Recibos(), "1:K1 2:K2 3:OUTRA 4:NOSSA");
}
