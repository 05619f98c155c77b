#include "EmpresaGrande_U.h"

#include <gtest/gtest.h>

#include "BancoTeste_U.h"
#include "Demo_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"
#include "SaldoCtb_U.h"

using namespace nFramework;
using namespace nHost;

namespace {

int Contar(const std::string& tabela, const std::string& condicao) {
  return PegarValorCampo(tabela, "count(*)", condicao).AsInteger();
}

std::unique_ptr<TClientDataSet> SaldoDoAno(int empresa) {
  return GerarSaldoCtb(LerParamSaldoCtb([&](std::string_view a) -> std::string {
    if (a == "pCodigoEmpresa") return std::to_string(empresa);
    if (a == "pDataInicial") return "01/01/2024";
    if (a == "pDataFinal") return "31/12/2024";
    if (a == "pTotalizarSintetica") return "0";
    return "";
  }));
}

}  // namespace

TEST(EmpresaGrande, BuildsTheSizeAskedForWithBalancedClosedBooks) {
  TBancoTeste banco("grande");
  TParamEmpresaGrande p;
  p.CodigoEmpresa = 50;
  p.Lancamentos = 5000;
  p.Contas = 300;
  GerarEmpresaGrande(p);
  EXPECT_EQ(Contar("PLANOESPEC", "CODIGOEMPRESA = 50"), 300);
  EXPECT_EQ(Contar("LCTOCTB", "CODIGOEMPRESA = 50 and CODIGOORIGLCTOCTB <> 'ZZ'"), 5000);
  EXPECT_EQ(Contar("LCTOCTB", "CODIGOEMPRESA = 50 and DATALCTOCTB = '2024-12-31'") > 0, true);
  EXPECT_EQ(Contar("LCTOCTB", "CODIGOEMPRESA = 50 and DATALCTOCTB = '2024-01-01'") > 0, true);
  // Every analytic account is mapped to an analytic account of the TCE-SC chart.
  EXPECT_EQ(Contar("PLANOESPEC P", "P.CODIGOEMPRESA = 50 and P.TIPOCONTA = 2 and not exists (select 1 from "
                                   "TCEPLANOPLESPEC T join TCEPLANO TP on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and "
                                   "TP.CONTATCE = T.CONTATCE where T.CODIGOEMPRESA = 50 and T.CONTACTB = P.CONTACTB and "
                                   "T.CODIGOSISTEMATCE = 1 and TP.TIPOCONTA = 2)"),
            0);
  EXPECT_EQ(PegarValorCampo("TCESISTEMAEMPRESA", "CODIGOSISTEMATCE", "CODIGOEMPRESA = 50").AsInteger(), 1);
  // The indexes the load set aside are back.
  if (Conexao().DriverName() == "SQLite") {
    EXPECT_EQ(Contar("SQLITE_MASTER", "TYPE = 'index' and NAME like 'IX_LCTOCTB_%'"), 3);
  } else {
    EXPECT_EQ(Contar("PG_INDEXES", "SCHEMANAME = current_schema() and INDEXNAME like 'ix_lctoctb_%'"), 3);
    EXPECT_EQ(Contar("PG_CONSTRAINT", "CONRELID = to_regclass('lctoctb') and CONTYPE = 'f'"), 6);  // and the keys
  }

  auto saldo = SaldoDoAno(50);
  int64_t soma = 0;
  for (saldo->First(); !saldo->Eof(); saldo->Next()) {
    soma += saldo->FieldByName("SALDOATUAL").AsCurrency().Raw() * saldo->FieldByName("TIPOCONTACALC").AsInteger();
    char grupo = saldo->FieldByName("CLASSIFCONTA").AsString()[0];
    if (grupo == '3' || grupo == '4') {
      EXPECT_EQ(saldo->FieldByName("SALDOATUAL").AsCurrency(), Currency());
    }
  }
  EXPECT_EQ(soma, 0);
}

TEST(EmpresaGrande, ABuildReplacesTheEarlierOneAndLeavesTheDemoAlone) {
  TBancoTeste banco("grande2");
  GerarDemo();
  int demo = Contar("LCTOCTB", "");
  TParamEmpresaGrande p;
  p.CodigoEmpresa = 77;
  p.Lancamentos = 2000;
  p.Contas = 120;
  GerarEmpresaGrande(p);
  p.Lancamentos = 1500;
  GerarEmpresaGrande(p);
  EXPECT_EQ(Contar("LCTOCTB", "CODIGOEMPRESA = 77 and CODIGOORIGLCTOCTB <> 'ZZ'"), 1500);
  EXPECT_EQ(Contar("LCTOCTB", "CODIGOEMPRESA <> 77"), demo);

  p.CodigoEmpresa = 2;
  EXPECT_THROW(GerarEmpresaGrande(p), Exception);
  p.CodigoEmpresa = 78;
  p.Contas = 59;
  EXPECT_THROW(GerarEmpresaGrande(p), Exception);
  EXPECT_EQ(Contar("EMPRESA", "CODIGOEMPRESA = 78"), 0);
}
