#include "UlmoArqPRControleDados_U.h"

#include <gtest/gtest.h>

#include "ArqPRTeste_U.h"
#include "FormatUtils_U.h"

using namespace nFramework;
using namespace nUlmoPR;
using namespace nUlmoPRTeste;

namespace {

class ControleDadosPRTest : public ::testing::Test {
 protected:
  void SetUp() override {
    C.SetCodigoEmpresa(1);
    C.SetCodigoSistema(3);
    C.SetDataInicial(EncodeDate(2024, 1, 1));
    C.SetDataFinal(EncodeDate(2024, 12, 31));
    C.SetPlanoEstatal(3);
  }
  // "classification month debit credit previous" of each row, in the dataset's order.
  static std::vector<std::string> Saldos(TClientDataSet& ADados) {
    std::vector<std::string> r;
    for (ADados.First(); !ADados.Eof(); ADados.Next())
      r.push_back(ADados.FieldByName("CLASSIFCONTA").AsString() + " " +
                  FormatDateTime("mm", ADados.FieldByName("DATASALDO").AsDateTime()) + " " +
                  FormatFloat("0.00", ADados.FieldByName("DEBITO").AsFloat()) + " " +
                  FormatFloat("0.00", ADados.FieldByName("CREDITO").AsFloat()) + " " +
                  FormatFloat("0.00", ADados.FieldByName("SALDOANTERIOR").AsFloat()));
    return r;
  }

  TBancoPR FBanco;
  TUlmoArqPRControleDados C;
};

TEST_F(ControleDadosPRTest, SaldosSoDeContasAnaliticasComMovimentoEUmaCargaPorExecucao) {
  TClientDataSet& saldo = C.curSaldoTCE();
  saldo.SetIndexFieldNames("DATASALDO;CLASSIFCONTA");
  saldo.SetRange({TVariant::FromDate(EncodeDate(2024, 1, 1))}, {TVariant::FromDate(EncodeDate(2024, 2, 1))});
  // The synthetic mapping (1.1.1.1.1.00.00) contributes no rows; the bank account starts in
  // February; the credit account's previous balance is kept without sign.
  EXPECT_EQ(Saldos(saldo), (std::vector<std::string>{
                               "1.1.1.1.1.01.00 01 100.00 0.00 150.00",
                               "2.1.1.1.1.01.00 01 0.00 100.00 150.00",
                               "1.1.1.1.1.01.00 02 0.00 30.50 250.00",
                               "1.1.1.1.1.02.00 02 30.50 0.00 0.00",
                               "2.1.1.1.1.01.00 02 0.00 0.00 250.00",
                           }));
  saldo.CancelRange();
  EXPECT_EQ(saldo.RecordCount(), 12 + 11 + 12);
  EXPECT_EQ(saldo.FieldByName("ESCRITURACAO").AsString(), "S");
  C.curPlanoTCE();
  C.curPlanoCtbEstatal();
  C.curSaldoBalancetePlanoCtbEstatal();
  EXPECT_EQ(C.SaldoContabil().Carregamentos(), 1);
  // A new period is a new key.
  C.SetDataFinal(EncodeDate(2024, 1, 31));
  EXPECT_EQ(C.curSaldoTCE().RecordCount(), 2);
  EXPECT_EQ(C.SaldoContabil().Carregamentos(), 2);
}

TEST_F(ControleDadosPRTest, ContasSuperioresCompletadasSoQuandoExistemNoPlanoDoTribunal) {
  TClientDataSet& plano = C.curPlanoTCE();
  std::vector<std::string> r;
  for (plano.First(); !plano.Eof(); plano.Next())
    r.push_back(plano.FieldByName("CLASSIFCONTA").AsString() + " " + plano.FieldByName("CONTACTB").AsString());
  EXPECT_EQ(r, (std::vector<std::string>{"1.0.0.0.0.00.00 -1", "1.1.0.0.0.00.00 -1", "1.1.1.1.0.00.00 -1",
                                         "1.1.1.1.1.00.00 11", "1.1.1.1.1.01.00 12", "1.1.1.1.1.02.00 13",
                                         "2.0.0.0.0.00.00 -1", "2.1.1.1.1.01.00 21"}));
}

TEST_F(ControleDadosPRTest, ClassificacaoCurtaProcuraOsNiveisCompletadosComZeros) {
  FBanco.Sql("insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA) values "
             "(3, 12, 2, '1.2', 'Curta'), (3, 120, 1, '1.2.0.0.0.00.00', 'Pai da curta');"
             "insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values "
             "(1, 14, '1.2', 'OUTROS', 2);"
             "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, "
             "CONTATCE, TIPONATURSALDO, TIPOSUPERAVITFINANC) values (1, 14, '2024-01-01', '2024-12-31', 3, 12, 1, 'N');");
  TClientDataSet& plano = C.curPlanoTCE();
  plano.SetIndexFieldNames("CLASSIFCONTA");
  EXPECT_TRUE(plano.FindKey({"1.2.0.0.0.00.00"}));
  EXPECT_EQ(plano.FieldByName("DESCRCONTA").AsString(), "Pai da curta");
}

TEST_F(ControleDadosPRTest, PlanoEstatalMovimentoSoComInicioNoPeriodo) {
  C.SetPlanoEstatal(2);
  EXPECT_EQ(C.curPlanoCtbEstatal().RecordCount(), 3);
  // The trial-balance chart keeps every mapping: the bank account (mapped in 2023) is there.
  TClientDataSet& balancete = C.curSaldoBalancetePlanoCtbEstatal();
  balancete.SetIndexFieldNames("CLASSIFCONTA");
  EXPECT_TRUE(balancete.FindKey({"1.1.2"}));
}

TEST_F(ControleDadosPRTest, CargaQueFalhaETentadaDeNovoPorInteiro) {
  FBanco.Sql("alter table TCEPLANOPLESPEC rename to TCEPLANOPLESPEC_X");
  EXPECT_ANY_THROW(C.curPlanoTCE());
  FBanco.Sql("alter table TCEPLANOPLESPEC_X rename to TCEPLANOPLESPEC");
  EXPECT_EQ(C.curSaldoTCE().RecordCount(), 35);
  EXPECT_EQ(C.SaldoContabil().Carregamentos(), 1);
}

}  // namespace
