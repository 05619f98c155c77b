#include "UlmoDPGerarArquivosCtbPR_U.h"

#include <gtest/gtest.h>

#include "ArqPRTeste_U.h"
#include "ClassRegistry_U.h"
#include "Zip_U.h"

using namespace nFramework;
using namespace nUlmoPR;
using namespace nUlmoPRTeste;
namespace fs = std::filesystem;

namespace {

class ProcessoPRTest : public ::testing::Test {
 protected:
  void SetUp() override {
    nConfig().UsoInterno = false;
    nConfig().HttpExe = false;
    TnDataModule* dm = CriarDMNovo("TUlmoDPGerarArquivosCtbPR", nullptr);
    P = dynamic_cast<TUlmoDPGerarArquivosCtbPR*>(dm);
    ASSERT_NE(P, nullptr);
    Set("pCodigoEmpresa", "1");
    Set("pDataInicial", "01/01/2024");
    Set("pDataFinal", "31/12/2024");
    Set("pIdPessoa", "7");
    Set("pPastaDestino", "  " + (FPasta / "saida").string() + "  ");
  }
  void TearDown() override {
    TnDataModule* dm = P;
    if (dm) DestruirDMDefinitivo(dm);
    ControleMensagem().SetFraListaMensagemTree(nullptr);
  }
  void Set(const char* AAlias, const std::string& AValor) { P->Param(AAlias).SetValue(AValor); }

  TBancoPR FBanco;
  TTestFolder FPasta;
  TUlmoDPGerarArquivosCtbPR* P = nullptr;
};

TEST_F(ProcessoPRTest, PainelEPeriodo) {
  EXPECT_EQ(P->Caption(), "Gerar Arquivos Contábeis - PR");
  EXPECT_TRUE(P->MsgTreeExibir());
  std::vector<std::string> aliases;
  for (const auto& item : P->npqPowerParam.Itens()) aliases.push_back(item->Alias());
  EXPECT_EQ(aliases, (std::vector<std::string>{"pCodigoEmpresa", "pDataInicial", "pDataFinal", "pIdPessoa",
                                               "pIdPessoaEntidade", "pGerarPessoa", "pGerarPlanoContas",
                                               "pGerarSaldoCtb", "pGerarMovimentoCtb", "pTipoMovimentoCtb",
                                               "pPlanoEstatal", "pBalanceteEstatal", "pBens", "pCompactarArq",
                                               "pPastaDestino"}));
  EXPECT_FALSE(P->Param("pTipoMovimentoCtb").Obrigatorio());
  Set("pGerarMovimentoCtb", "1");
  EXPECT_TRUE(P->Param("pTipoMovimentoCtb").Obrigatorio());

  Set("pDataInicial", "01/02/2024");
  Set("pDataFinal", "31/01/2024");
  try {
    P->ValidarDado();
    FAIL() << "a start after the end must be refused";
  } catch (const EnParam& e) {
    EXPECT_EQ(e.Alias(), "pDataFinal");
    EXPECT_STREQ(e.what(), "A Data Final não pode ser anterior à Data Inicial");
  }
  Set("pDataFinal", "01/02/2024");
  EXPECT_NO_THROW(P->ValidarDado());
}

TEST_F(ProcessoPRTest, DataVaziaOuImpossivelTemAMensagemDaPropriaData) {
  auto erro = [this] {
    try {
      P->ValidarDado();
    } catch (const EnParam& e) {
      return e.Alias() + ": " + e.what();
    }
    return std::string();
  };
  Set("pDataFinal", "");
  EXPECT_EQ(erro(), "pDataFinal: Data final inválida!");
  Set("pDataFinal", "31/02/2024");
  EXPECT_EQ(erro(), "pDataFinal: Data final inválida!");
  Set("pDataFinal", "31/12/2024");
  Set("pDataInicial", "01/13/2024");
  EXPECT_EQ(erro(), "pDataInicial: Data inicial inválida!");
  Set("pDataInicial", "01/01/2024");
  EXPECT_EQ(erro(), "");
}

TEST_F(ProcessoPRTest, UmaEmpresaInexistenteOuZeroGerouArquivosMesmoAssim) {
  auto erro = [this] {
    try {
      P->ValidarDado();
    } catch (const EnParam& e) {
      return e.Alias() + ": " + e.what();
    }
    return std::string();
  };
  for (const char* empresa : {"0", "-1", "77", "32768", "x", ""}) {
    Set("pCodigoEmpresa", empresa);
    EXPECT_EQ(erro(), "pCodigoEmpresa: Empresa inválida!") << empresa;
  }
  Set("pCodigoEmpresa", "1");
  EXPECT_EQ(erro(), "");
}

TEST_F(ProcessoPRTest, UmIdentificadorZeroOuComDecimaisDeuONomeDoZip0) {
  // "1.5", "-1" or a number past 32 bits all became 0: the court's files and the ZIP named 0.
  auto erro = [this] {
    try {
      P->ValidarDado();
    } catch (const EnParam& e) {
      return e.Alias() + ": " + e.what();
    }
    return std::string();
  };
  for (const char* id : {"0", "-1", "1.5", "2147483648", "99999999999999999999", "x", ""}) {
    Set("pIdPessoa", id);
    EXPECT_EQ(erro(), "pIdPessoa: Identificador Pessoa/TCE inválido!") << id;
  }
  Set("pIdPessoa", " 2147483647 ");
  EXPECT_EQ(erro(), "");
  for (const char* id : {"0", "-3", "2.5", "x"}) {
    Set("pIdPessoaEntidade", id);
    EXPECT_EQ(erro(), "pIdPessoaEntidade: Identificador Pessoa Entidade/TCE inválido!") << id;
  }
  Set("pIdPessoaEntidade", "");  // not asked for
  EXPECT_EQ(erro(), "");
  Set("pIdPessoaEntidade", "45");
  EXPECT_EQ(erro(), "");
}

TEST_F(ProcessoPRTest, ExecucaoComPadroesGeraPlanoEstatalEBalanceteECompacta) {
  Set("pCompactarArq", "1");
  Set("pDataInicial", "15/11/2024");
  nExecutarProcesso(*P);
  auto arvore = P->GetMsgTreeLista();
  EXPECT_EQ(arvore->Contar(tmConfirmacao), 2u);
  EXPECT_FALSE(arvore->Falhou());
  EXPECT_EQ(ListarEntradasZip(FPasta / "saida" / "7-112024.zip"),
            (std::vector<std::string>{"PlanoContabilEstatal.txt", "BalanceteMensalEstatalXPlanoContabil.txt"}));
  EXPECT_TRUE(arvore->Raizes()[0]->Expandido);
}

TEST_F(ProcessoPRTest, EmpresaSemSistemaDesfazATransacaoELevanta) {
  FBanco.Sql("delete from TCESISTEMAEMPRESA");
  EXPECT_ANY_THROW(nExecutarProcesso(*P));
  // The read-only transaction was closed: a write goes through.
  EXPECT_NO_THROW(FBanco.Sql("insert into TCESISTEMAEMPRESA values (3, 1)"));
  EXPECT_NO_THROW(nExecutarProcesso(*P));
}

}  // namespace
