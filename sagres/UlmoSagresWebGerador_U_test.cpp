#include "UlmoSagresWebGerador_U.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "AtomicFile_U.h"
#include "BancoVazioTeste_U.h"
#include "Conexao_U.h"
#include "Schema_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"

using namespace nUlmoSagres;
using namespace nFramework;

namespace {

// A collector that records its turn, writes one revenue and may fail.
struct TRegistroTeste : TUlmoSagresWebRegistro {
  explicit TRegistroTeste(std::vector<int>& ALog, int AId, bool AFalhar) : Log(ALog), Id(AId), Falhar(AFalhar) {}
  void Executar(const TMesSagres&, TEscritorSagres& escritor) override {
    Log.push_back(Id);
    if (Falhar) throw std::runtime_error("falhou");
    escritor.Receita(Id, Currency::FromInt(Id));
  }
  std::vector<int>& Log;
  int Id;
  bool Falhar;
};

struct TPrestacaoTeste : TUlmoSagresWebRegistro {
  void Executar(const TMesSagres& mes, TEscritorSagres& escritor) override {
    escritor.PrestacaoContas({"UG", "", "", "", mes.Inicio, mes.Fim});
  }
};

class SagresGeradorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FConexao = nFramework::AbrirBancoTeste();
    SetConexao(FConexao.get());
    AtualizarEsquema(*FConexao);
  }
  void TearDown() override { SetConexao(nullptr); }
  std::unique_ptr<TnDMConexao> FConexao;
};

TEST_F(SagresGeradorTest, CollectorsRunInOrderAndTheFirstFailureStopsTheWalk) {
  TUlmoSagresWebGerador g;
  ASSERT_EQ(g.Count(), 8u);
  // Only the test collectors: the eight of the document need a company.
  while (g.Count()) g.Remove(g.Registro(0));
  std::vector<int> log;
  g.Add(std::make_unique<TPrestacaoTeste>());
  g.Add(std::make_unique<TRegistroTeste>(log, 1, false));
  g.Add(std::make_unique<TRegistroTeste>(log, 2, false));
  TRequisicaoSagres r;
  TUlmoSagresWebRegraCalculoCtb regras;
  const TMesSagres mes{r, EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31), regras};
  TStringSink saida;
  g.GerarDocumento(mes, saida);
  EXPECT_EQ(log, (std::vector<int>{1, 2}));
  EXPECT_NE(saida.Text().find("<exec:tipoReceita>2</exec:tipoReceita>"), std::string::npos);
  EXPECT_NE(saida.Text().find("</exec:ExecucaoEmpresas>\n"), std::string::npos);

  g.Add(std::make_unique<TRegistroTeste>(log, 3, true));
  g.Add(std::make_unique<TRegistroTeste>(log, 4, false));
  log.clear();
  TStringSink falha;
  EXPECT_THROW(g.GerarDocumento(mes, falha), std::runtime_error);
  EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(falha.Text().find("</exec:ExecucaoEmpresas>"), std::string::npos) << "a failed document is never closed";
}

}  // namespace
