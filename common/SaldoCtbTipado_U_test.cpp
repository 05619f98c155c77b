#include "SaldoCtbTipado_U.h"

#include <gtest/gtest.h>

#include "BancoTeste_U.h"
#include "Demo_U.h"
#include "SaldoCtb_U.h"

using namespace nFramework;
using namespace nUlmoSaldoCtb;

namespace {

class SaldoCtbTipadoTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FBanco = new nHost::TBancoTeste("saldo_tipado");
    nHost::GerarDemo();
  }
  static void TearDownTestSuite() {
    delete FBanco;
    FBanco = nullptr;
  }
  void SetUp() override { SetConexao(&FBanco->Conexao()); }
  void TearDown() override { DestruirTodosDM(); }
  static nHost::TBancoTeste* FBanco;
};
nHost::TBancoTeste* SaldoCtbTipadoTest::FBanco = nullptr;

TPedidoSaldoCtb Ano2024(int empresa) {
  TPedidoSaldoCtb p;
  p.CodigoEmpresa = empresa;
  p.DataInicial = EncodeDate(2024, 1, 1);
  p.DataFinal = EncodeDate(2024, 12, 31);
  return p;
}

// The host's own rows for the same question, read column by column.
std::vector<TLinhaSaldoCtb> DoHost(const nHost::TParamSaldoCtb& param) {
  auto ds = nHost::GerarSaldoCtb(param);
  std::vector<TLinhaSaldoCtb> linhas;
  for (ds->First(); !ds->Eof(); ds->Next()) {
    TLinhaSaldoCtb l;
    l.ContaCtb = ds->FieldByName("CONTACTB").AsLargeInt();
    l.ClassifConta = ds->FieldByName("CLASSIFCONTA").AsString();
    l.TipoConta = ds->FieldByName("TIPOCONTA").AsInteger();
    l.DescrConta = ds->FieldByName("DESCRCONTA").AsString();
    l.CodigoEstab = ds->FieldByName("CODIGOESTAB").AsInteger();
    l.DataSaldo = ds->FieldByName("DATASALDO").AsDateTime();
    l.SaldoAnterior = ds->FieldByName("SALDOANTERIOR").AsCurrency();
    l.Debito = ds->FieldByName("DEBITO").AsCurrency();
    l.Credito = ds->FieldByName("CREDITO").AsCurrency();
    l.Movimento = ds->FieldByName("MOVIMENTO").AsCurrency();
    l.SaldoAtual = ds->FieldByName("SALDOATUAL").AsCurrency();
    l.SemSaldoMov = ds->FieldByName("SEMSALDOMOV").AsCurrency() != Currency();
    l.TipoContaCalc = ds->FieldByName("TIPOCONTACALC").AsInteger();
    linhas.push_back(l);
  }
  return linhas;
}

void EsperarIguais(const std::vector<TLinhaSaldoCtb>& obtidas, const std::vector<TLinhaSaldoCtb>& esperadas) {
  ASSERT_FALSE(esperadas.empty());
  ASSERT_EQ(obtidas.size(), esperadas.size());
  for (size_t i = 0; i < obtidas.size(); ++i) {
    const auto& a = obtidas[i];
    const auto& b = esperadas[i];
    SCOPED_TRACE("linha " + std::to_string(i) + ", conta " + std::to_string(b.ContaCtb));
    EXPECT_EQ(a.ContaCtb, b.ContaCtb);
    EXPECT_EQ(a.ClassifConta, b.ClassifConta);
    EXPECT_EQ(a.TipoConta, b.TipoConta);
    EXPECT_EQ(a.DescrConta, b.DescrConta);
    EXPECT_EQ(a.CodigoEstab, b.CodigoEstab);
    EXPECT_EQ(a.DataSaldo, b.DataSaldo);
    EXPECT_EQ(a.SaldoAnterior, b.SaldoAnterior);
    EXPECT_EQ(a.Debito, b.Debito);
    EXPECT_EQ(a.Credito, b.Credito);
    EXPECT_EQ(a.Movimento, b.Movimento);
    EXPECT_EQ(a.SaldoAtual, b.SaldoAtual);
    EXPECT_EQ(a.SemSaldoMov, b.SemSaldoMov);
    EXPECT_EQ(a.TipoContaCalc, b.TipoContaCalc);
  }
}

}  // namespace

// Each field of the request reaches its parameter: the rows are the host's for the same
// question, month by month, split by establishment, with origins left out.
TEST_F(SaldoCtbTipadoTest, EveryFieldOfTheRequestReachesTheProcess) {
  TPedidoSaldoCtb pedido = Ano2024(4);
  pedido.AgruparData = TAgruparData::Mes;
  pedido.RelacionarEstab = true;
  pedido.ClassifConta = {"1", "2"};
  pedido.ConsiderarFiltroLctoCtb = true;
  pedido.FiltroOrigemLcto = {"ZZ", "FP"};
  pedido.ListarContasMovimentoZero = true;
  pedido.TotalizarSintetica = false;

  nHost::TParamSaldoCtb param;
  param.CodigoEmpresa = 4;
  param.DataInicial = pedido.DataInicial;
  param.DataFinal = pedido.DataFinal;
  param.TipoAgruparData = 2;
  param.RelacionarEstab = true;
  param.ClassifConta = {"1", "2"};
  param.ConsiderarFiltroLctoCtb = true;
  param.FiltroOrigemLcto = {"ZZ", "FP"};
  param.ListarContasMovimentoZero = true;
  param.TotalizarSintetica = false;

  EsperarIguais(GerarSaldoCtbTipado(pedido), DoHost(param));
}

TEST_F(SaldoCtbTipadoTest, TheDefaultsAreTheHostsDefaults) {
  nHost::TParamSaldoCtb param;
  param.CodigoEmpresa = 2;
  param.DataInicial = EncodeDate(2024, 1, 1);
  param.DataFinal = EncodeDate(2024, 12, 31);
  EsperarIguais(GerarSaldoCtbTipado(Ano2024(2)), DoHost(param));
}

// One instance run twice: nothing of the first request stays behind in the second.
TEST_F(SaldoCtbTipadoTest, ASecondRunForgetsTheFirstRequest) {
  TSaldoCtbTipado saldo;
  TPedidoSaldoCtb todos = Ano2024(2);
  todos.ListarContasMovimentoZero = true;
  todos.AgruparData = TAgruparData::Mes;
  todos.ContaCtb = "8";
  saldo.Executar(todos);
  size_t comZeros = saldo.Linhas().size();
  saldo.Executar(Ano2024(2));
  nHost::TParamSaldoCtb param;
  param.CodigoEmpresa = 2;
  param.DataInicial = EncodeDate(2024, 1, 1);
  param.DataFinal = EncodeDate(2024, 12, 31);
  std::vector<TLinhaSaldoCtb> linhas = saldo.Linhas();
  EXPECT_NE(linhas.size(), comZeros);
  EsperarIguais(linhas, DoHost(param));
}

TEST_F(SaldoCtbTipadoTest, ARefusedRequestNamesTheParameterAndLeavesNoRows) {
  TSaldoCtbTipado saldo;
  saldo.Executar(Ano2024(2));
  ASSERT_TRUE(saldo.Apurado());
  TPedidoSaldoCtb errado = Ano2024(2);
  errado.DataFinal = EncodeDate(2023, 12, 31);
  try {
    saldo.Executar(errado);
    FAIL();
  } catch (const EnParam& e) {
    EXPECT_EQ(e.Alias(), "pDataFinal");
    EXPECT_STREQ(e.what(), "A Data Final não pode ser menor que a Data Inicial!");
  }
  EXPECT_FALSE(saldo.Apurado());
  EXPECT_THROW(saldo.Linhas(), EInternalError);
}

TEST_F(SaldoCtbTipadoTest, AMovedOwnerKeepsTheRows) {
  TSaldoCtbTipado primeiro;
  primeiro.Executar(Ano2024(2));
  size_t n = primeiro.Linhas().size();
  TSaldoCtbTipado segundo(std::move(primeiro));
  EXPECT_EQ(segundo.Linhas().size(), n);
  EXPECT_FALSE(primeiro.Apurado());  // NOLINT(bugprone-use-after-move): moved-from state is part of the contract
}
