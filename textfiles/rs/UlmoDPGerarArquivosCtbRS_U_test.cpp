#include "BancoVazioTeste_U.h"
#include "ProcessoBancoTeste_U.h"
#include "UlmoDPGerarArquivosCtbRS_U.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ClassRegistry_U.h"
#include "Clock_U.h"
#include "Conexao_U.h"
#include "ConjuntoArquivos_U.h"
#include "Contexto_U.h"
#include "Dialogo_U.h"
#include "FalhaGravacaoTeste_U.h"
#include "Leiaute_U.h"
#include "LayoutsRS_U.h"
#include "Schema_U.h"

using namespace nFramework;
using namespace nUlmoRS;
namespace fs = std::filesystem;

namespace {

// A small RS company: a court chart with two synthetic levels, four mapped analytic accounts,
// one opening balance, three entries.
const char* const kDados = R"SQL(
insert into EMPRESA values (1, 'Prefeitura de São Teste');
insert into ESTAB (CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB, INSCRFEDERAL) values (1, 1, 'Sede', '12.345.678/0001-90');
insert into CFGPLANOESPEC (CODIGOEMPRESA, NATURGRUPO1, NATURGRUPO2, NATURGRUPO3, TIPOGRUPO1, TIPOGRUPO2, TIPOGRUPO3)
  values (1, 1, -1, -1, 1, 1, 3);
insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values
  (1, 10, '1', 'ATIVO', 1), (1, 11, '1.1', 'CIRCULANTE', 1), (1, 12, '1.1.1', 'CAIXA', 2),
  (1, 13, '1.1.2', 'BANCO', 2), (1, 21, '2.1', 'FORNECEDORES', 2), (1, 31, '3.1', 'RECEITA', 2);
insert into HISTORICOCTB values (1, 'PAGAMENTO');
insert into ORIGLCTOCTB values ('1', 'Um'), ('10', 'Dez'), ('ZZ', 'Zeramento');
insert into TCESISTEMA values (2, 'TCE-RS', 'RS', '9.9.9');
insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA) values
  (2, 100, 1, '1', 'Ativo'), (2, 110, 1, '1.1', 'Ativo circulante'), (2, 111, 2, '1.1.1', 'Caixa'),
  (2, 112, 2, '1.1.2', 'Bancos'), (2, 211, 2, '2.1.1', 'Fornecedores'), (2, 311, 2, '3.1.1', 'Receitas');
insert into TCESISTEMAEMPRESA values (2, 1);
insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, DESCRDETALHCONTA, CODIGOSISTEMATCE,
  CONTATCE, TIPONATURSALDO, APLICFINANCEIRA, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE) values
  (1, 10, '2024-01-01', '2024-12-31', null, 2, 100, 1, '0', 'N', null),
  (1, 11, '2024-01-01', '2024-12-31', null, 2, 110, 1, '0', 'N', null),
  (1, 12, '2024-01-01', '2024-12-31', null, 2, 111, 1, '0', 'N', null),
  (1, 13, '2024-01-01', '2024-12-31', 'Banco do Estado', 2, 112, 1, '0', 'N', null),
  (1, 21, '2024-01-01', '2024-12-31', null, 2, 211, 2, '0', 'N', null),
  (1, 31, '2024-01-01', '2024-12-31', null, 2, 311, 2, '0', 'N', null);
insert into IMPLSALDOCTB values (1, 1, 12, '2024-01-01', 500, 1);
insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, CODIGOHISTCTB,
  COMPLHIST, CODIGOLOTECTB, CODIGOORIGLCTOCTB) values
  (1, 1, '2024-03-10', 12, 21, 100, 1, 'NF 1', 5, '1'),
  (1, 2, '2024-03-15', 21, 13, 1234.5, null, 'NF 2', null, '10'),
  (1, 3, '2024-04-01', 13, 31, 50, 1, null, 0, 'ZZ');
)SQL";

// Answers every question with the button of that caption and counts the questions.
class TDialogoFixo : public IDialogoService {
 public:
  explicit TDialogoFixo(std::vector<std::string> respostas) : FRespostas(std::move(respostas)) {}
  int Perguntar(const TnDialogo& d) override {
    Perguntas.push_back(d.Texto);
    std::string r = FRespostas.at(std::min(Perguntas.size() - 1, FRespostas.size() - 1));
    for (size_t i = 0; i < d.Botoes.size(); ++i)
      if (CaptionSemAtalho(d.Botoes[i]) == r) return static_cast<int>(i);
    return -1;
  }
  std::vector<std::string> Perguntas;

 private:
  std::vector<std::string> FRespostas;
};

std::string Pad(std::string s, size_t w) {
  s.resize(w, ' ');
  return s;
}

class GerarArquivosRSTest : public TTesteProcessoBanco<TUlmoDPGerarArquivosCtbRS> {
 protected:
  void SetUp() override {
    SetClockFixo(EncodeDate(2025, 1, 15));
    Preparar("ulmo_rs_", kDados);
    Set("pDataInicial", "01/01/2024");
    Set("pDataFinal", "31/12/2024");
    Set("pCodigoEmpresa", "1");
    Set("pDiretorio", (FPasta / "saida").string() + "/");
  }
  void TearDown() override {
    FProcesso.reset();
    SetDialogoService(nullptr);
    SetClockFixo(std::nullopt);
    TTesteProcessoBanco::TearDown();
  }
  void Sql(const std::string& s) { FConexao->Driver().ExecuteScript(s); }
  void Rodar() { nExecutarProcesso(*FProcesso); }
  fs::path Arquivo(const char* nome) { return FPasta / "saida" / nome; }
  std::string Bytes(const char* nome) {
    std::ifstream in(Arquivo(nome), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::vector<std::string> Linhas(const char* nome) {
    std::string bytes = Bytes(nome);
    std::vector<std::string> r;
    size_t pos = 0;
    while (pos < bytes.size()) {
      size_t e = bytes.find("\r\n", pos);
      EXPECT_NE(e, std::string::npos) << "line without CRLF in " << nome;
      if (e == std::string::npos) break;
      r.push_back(bytes.substr(pos, e - pos));
      pos = e + 2;
    }
    return r;
  }
  std::string ErroDaExecucao() {
    try {
      Rodar();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
  bool AlgumArquivo() { return fs::exists(FPasta / "saida") && !fs::is_empty(FPasta / "saida"); }
  void Escrever(const char* nome, const std::string& texto) {
    fs::create_directories(FPasta / "saida");
    std::ofstream(Arquivo(nome), std::ios::binary) << texto;
  }

};

TEST(LayoutsRS, WidthsAddUpToTheCourtsLineLengths) {
  EXPECT_EQ(LayoutCabecalhoMovimento().Largura(), 118);
  EXPECT_EQ(LayoutCabecalhoBalancete().Largura(), 118);
  EXPECT_EQ(LayoutMovimento().Largura(), 260);
  EXPECT_EQ(LayoutBalancete().Largura(), 252);
  EXPECT_EQ(LayoutFinalizador().Largura(), 21);
}

Currency Valor(const char* texto) { return Currency::FromString(texto); }

// The VALOR column of one MOV line written with the amount.
std::string ColunaValor(Currency valor) {
  TStringSink saida;
  TEscritorLeiaute escritor(saida, "MOVIMENT.txt");
  escritor.Linha(LayoutMovimento(), "1.1.1")
      .Numero(111)
      .Numero(202403)
      .Numero(1)
      .Vazio()
      .Data(EncodeDate(2024, 3, 10))
      .Texto("D")
      .Valor(valor)
      .Texto("")
      .Texto("N")
      .Gravar();
  escritor.Concluir();
  EXPECT_EQ(saida.Text().size(), 262u);
  return saida.Text().substr(20 + 10 + 10 + 10 + 8 + 8, 13);
}

TEST(LayoutsRS, AmountsAreHundredthsNeverCutNorNegative) {
  EXPECT_EQ(ColunaValor(Valor("1234.5")), "0000000123450");
  EXPECT_EQ(ColunaValor(Valor("0")), "0000000000000");
  EXPECT_EQ(ColunaValor(Valor("-0.004")), "0000000000000");
  EXPECT_EQ(ColunaValor(Valor("0.125")), "0000000000013");
  EXPECT_EQ(ColunaValor(Valor("2.675")), "0000000000268");
  EXPECT_EQ(ColunaValor(Valor("99999999999.99")), "9999999999999");
  EXPECT_EQ(ColunaValor(Valor("99999999999.994")), "9999999999999");
  EXPECT_THROW(ColunaValor(Valor("99999999999.995")), ENaoCabe);
  EXPECT_THROW(ColunaValor(Valor("1000000000000")), ENaoCabe);
  EXPECT_THROW(ColunaValor(Valor("-50")), ENaoCabe);

  const TLeiaute& mov = LayoutMovimento();
  EXPECT_NO_THROW(ConferirValorRS(Valor("99999999999.994"), "MOVIMENT.txt", mov, "1.1.1", "VALOR"));
  EXPECT_NO_THROW(ConferirValorRS(Valor("-0.004"), "MOVIMENT.txt", mov, "1.1.1", "VALOR"));
  try {
    ConferirValorRS(Valor("100000000000"), "MOVIMENT.txt", mov, "1.1.1", "VALOR");
    FAIL() << "an amount of 14 digits was accepted";
  } catch (const ENaoCabe& e) {
    EXPECT_FALSE(e.Negativo);
    EXPECT_EQ(e.Conta, "1.1.1");
    EXPECT_EQ(e.Campo, "VALOR");
    EXPECT_EQ(e.Valor, "100000000000.00");
  }
  try {
    ConferirValorRS(Valor("-0.005"), "MOVIMENT.txt", mov, "1.1.1", "VALOR");
    FAIL() << "a negative amount was accepted";
  } catch (const ENaoCabe& e) {
    EXPECT_TRUE(e.Negativo);
    EXPECT_EQ(e.Valor, "-0.01");
  }
}

TEST(LayoutsRS, AMillionTimesTenCentsIsExactlyOneHundredThousand) {
  Currency soma;
  for (int i = 0; i < 1000000; ++i) soma += Valor("0.1");
  EXPECT_EQ(ColunaValor(soma), "0000010000000");
}

TEST_F(GerarArquivosRSTest, MovementFileHasTheCourtsLines) {
  Rodar();
  std::string bytes = Bytes("MOVIMENT.txt");
  EXPECT_NE(bytes.find("S\xE3o"), std::string::npos) << "company name not in Windows-1252";
  std::vector<std::string> l = Linhas("MOVIMENT.txt");
  ASSERT_EQ(l.size(), 8u);
  EXPECT_EQ(l[0], "12345678000190" "01012024" "31122024" "15012025" + Pad("Prefeitura de S\xE3o Teste", 80));
  std::string branco(10, ' ');
  EXPECT_EQ(l[1], "00000000000000000111" "0000000005" "0000000001" + branco + "10032024" "D       " "0000000010000" +
                      Pad("PAGAMENTO NF 1", 180) + "N");
  EXPECT_EQ(l[2], "00000000000000000211" "0000000005" "0000000001" + branco + "10032024" "C       " "0000000010000" +
                      Pad("PAGAMENTO NF 1", 180) + "N");
  // No batch: the entry's year and month; no history row: a blank history.
  EXPECT_EQ(l[3], "00000000000000000211" "0000202403" "0000000002" + branco + "15032024" "D       " "0000000123450" +
                      std::string(180, ' ') + "N");
  EXPECT_EQ(l[4].substr(0, 30), "00000000000000000112" "0000202403");
  // Batch 0 counts as none; origin ZZ is inside the default "'ZZ'"; group 3 is a result group.
  EXPECT_EQ(l[5], "00000000000000000112" "0000202404" "0000000003" + branco + "01042024" "D       " "0000000005000" +
                      Pad("PAGAMENTO", 180) + "S");
  EXPECT_EQ(l[6].substr(0, 20), "00000000000000000311");
  EXPECT_EQ(l[6].back(), 'S');
  EXPECT_EQ(l[7], "FINALIZADOR0000000006");
  for (size_t i = 1; i < 7; ++i) EXPECT_EQ(l[i].size(), 260u) << i;
}

TEST_F(GerarArquivosRSTest, AZeroingOriginMatchesOnlyAWholeItemOfTheTypedList) {
  Set("pOriLcto", " '10' ");
  Rodar();
  std::vector<std::string> l = Linhas("MOVIMENT.txt");
  ASSERT_EQ(l.size(), 8u);
  EXPECT_EQ(l[1].back(), 'N');  // origin 1 is no item of '10'
  EXPECT_EQ(l[3].back(), 'S');  // origin 10 is
  EXPECT_EQ(l[5].back(), 'N');  // ZZ is no longer a zeroing origin, and group 1 is not a result group
  Set("pOriLcto", "'ZZ';'1'");
  SetDialogoService(std::make_shared<TDialogoFixo>(std::vector<std::string>{"Sim"}));
  Rodar();
  l = Linhas("MOVIMENT.txt");
  ASSERT_EQ(l.size(), 8u);
  EXPECT_EQ(l[1].back(), 'S');
  EXPECT_EQ(l[3].back(), 'N');
  EXPECT_EQ(l[5].back(), 'S');
}

TEST_F(GerarArquivosRSTest, TrialBalanceCarriesBalancesUpTheCourtChart) {
  Rodar();
  std::vector<std::string> l = Linhas("BAL_VER.txt");
  ASSERT_EQ(l.size(), 8u);
  EXPECT_EQ(l[0], "12345678000190" "01012024" "31122024" "15012025" + Pad("Prefeitura de S\xE3o Teste", 80));
  std::string z(13, '0');
  // Synthetic 1 and 1.1 carry caixa and banco; "2.1" has no mapping row, so no line.
  EXPECT_EQ(l[1], "00000000000000000001" "0000000050000" + z + "0000000015000" "0000000123450" + z +
                      "0000000058450" + Pad("Ativo", 150) + "S" "01" "P");
  EXPECT_EQ(l[2].substr(0, 20), "00000000000000000011");
  EXPECT_EQ(l[3], "00000000000000000111" "0000000050000" + z + "0000000010000" + z + "0000000060000" + z +
                      Pad("Caixa", 150) + "A" "03" "P");
  EXPECT_EQ(l[4], "00000000000000000112" + z + z + "0000000005000" "0000000123450" + z + "0000000118450" +
                      Pad("Banco do Estado", 150) + "A" "03" "P");
  // Credit nature: a negative balance is a debit one.
  EXPECT_EQ(l[5], "00000000000000000211" + z + z + "0000000123450" "0000000010000" "0000000113450" + z +
                      Pad("Fornecedores", 150) + "A" "03" "P");
  EXPECT_EQ(l[6], "00000000000000000311" + z + z + z + "0000000005000" + z + "0000000005000" +
                      Pad("Receitas", 150) + "A" "03" "R");
  EXPECT_EQ(l[7], "FINALIZADOR0000000006");
  for (size_t i = 1; i < 7; ++i) EXPECT_EQ(l[i].size(), 252u) << i;
  // Confirmations only for files really written.
  size_t confirmacoes = 0;
  for (const auto& n : FProcesso->GetMsgTreeLista()->Raizes())
    if (n->Tipo == tmConfirmacao && n->Texto.rfind("Arquivo ", 0) == 0) ++confirmacoes;
  EXPECT_EQ(confirmacoes, 2u);
}

TEST_F(GerarArquivosRSTest, TwoAccountsMappedToOneCourtAccountGiveOneSummedLine) {
  Sql("insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values "
      "(1, 14, '1.1.3', 'CAIXA 2', 2);"
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE, "
      "TIPONATURSALDO, TIPOSUPERAVITFINANC) values (1, 14, '2024-01-01', '2024-12-31', 2, 111, 1, 'N');"
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB) values "
      "(1, 4, '2024-05-01', 14, 31, 0.01);");
  Rodar();
  std::vector<std::string> l = Linhas("BAL_VER.txt");
  ASSERT_EQ(l.size(), 8u);
  EXPECT_EQ(l[3].substr(0, 20 + 13 * 6), "00000000000000000111" "0000000050000" "0000000000000" "0000000010001"
                                         "0000000000000" "0000000060001" "0000000000000");
}

TEST_F(GerarArquivosRSTest, AMappingExpiredBeforeThePeriodChangesNothing) {
  Rodar();
  const std::string movimento = Bytes("MOVIMENT.txt"), balancete = Bytes("BAL_VER.txt");
  // Caixa was a bank account in the court's chart of 2023; listed first, it used to take the
  // balance, and each of its entries was written twice.
  Sql("insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE, "
      "TIPONATURSALDO, TIPOSUPERAVITFINANC) values (1, 12, '2023-01-01', '2023-12-31', 2, 112, 1, 'N');");
  SetDialogoService(std::make_shared<TDialogoFixo>(std::vector<std::string>{"Sim"}));
  Rodar();
  EXPECT_EQ(Bytes("MOVIMENT.txt"), movimento);
  EXPECT_EQ(Bytes("BAL_VER.txt"), balancete);
}

TEST_F(GerarArquivosRSTest, AMappingChangedInThePeriodCountsEachEntryOnceUnderItsDatesAccount) {
  // Caixa moves from court account 1.1.1 to 1.1.2 on 1 April.
  Sql("update TCEPLANOPLESPEC set DATAFIMPLANO = '2024-03-31' where CONTACTB = 12;"
      "insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE, "
      "TIPONATURSALDO, TIPOSUPERAVITFINANC) values (1, 12, '2024-04-01', '2024-12-31', 2, 112, 1, 'N');"
      "insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, "
      "CODIGOHISTCTB) values (1, 4, '2024-05-02', 12, 31, 70, 1);");
  Rodar();
  std::vector<std::string> m = Linhas("MOVIMENT.txt");
  ASSERT_EQ(m.size(), 10u);  // header, four entries of two sides, closing
  EXPECT_EQ(m[1].substr(0, 20) + m[1].substr(40, 26), "00000000000000000111" "          10032024D       ");
  EXPECT_EQ(m[7].substr(0, 20) + m[7].substr(40, 26), "00000000000000000112" "          02052024D       ");
  EXPECT_EQ(m[7].substr(66, 13), "0000000007000");
  EXPECT_EQ(m[9], "FINALIZADOR0000000008");
  // The trial balance covers the period: all of Caixa under the account of its last day, added
  // to Banco's (opening 500, debits 100 + 70 + 50, credit 1234.50: a credit balance of 514.50).
  std::vector<std::string> b = Linhas("BAL_VER.txt");
  ASSERT_EQ(b.size(), 7u);
  std::string z(13, '0');
  EXPECT_EQ(b[3].substr(0, 20 + 13 * 6), "00000000000000000112" "0000000050000" + z + "0000000022000" "0000000123450" + z +
                                             "0000000051450");
  for (const auto& l : b) EXPECT_NE(l.substr(0, 20), "00000000000000000111");
}

TEST_F(GerarArquivosRSTest, DatesOfTheSameDayPassAndAReversedPeriodIsRefused) {
  Set("pDataInicial", "31/12/2024");
  EXPECT_NO_THROW(FProcesso->ValidarDado());
  Set("pDataInicial", "01/01/2025");
  try {
    FProcesso->ValidarDado();
    FAIL() << "a start after the end was accepted";
  } catch (const EnParam& e) {
    EXPECT_EQ(e.Alias(), "pDataFinal");
    EXPECT_NE(std::string(e.what()).find("A Data Final não pode ser anterior à Data Inicial"), std::string::npos);
  }
}

TEST_F(GerarArquivosRSTest, CourtSystemComesFromParameterSelectionOrCompany) {
  EXPECT_EQ(FProcesso->SistemaDaExecucao(1), 2);  // the company's link
  TnSelecao::Params().Definir("CODIGOSISTEMATCE", 7);
  Set("pCodigoSistemaTCE", "0");
  EXPECT_EQ(FProcesso->SistemaDaExecucao(1), 7);
  Set("pCodigoSistemaTCE", "5");
  EXPECT_EQ(FProcesso->SistemaDaExecucao(1), 5);
  TnSelecao::Params().Limpar();
  Set("pCodigoSistemaTCE", "");
  Sql("delete from TCESISTEMAEMPRESA;");
  EXPECT_ANY_THROW(FProcesso->SistemaDaExecucao(1));
}

TEST_F(GerarArquivosRSTest, AnAmountThatDoesNotFitStopsTheRunAndWritesNoFile) {
  Escrever("MOVIMENT.txt", "velho");
  SetDialogoService(std::make_shared<TDialogoFixo>(std::vector<std::string>{"Sim"}));
  Sql("insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB) values "
      "(1, 9, '2024-06-01', 12, null, 100000000000);");
  std::string erro = ErroDaExecucao();
  EXPECT_NE(erro.find("MOVIMENT.txt"), std::string::npos) << erro;
  EXPECT_NE(erro.find("1.1.1"), std::string::npos) << erro;
  EXPECT_NE(erro.find("campo VALOR"), std::string::npos) << erro;
  EXPECT_NE(erro.find("100000000000.00"), std::string::npos) << erro;
  EXPECT_EQ(Bytes("MOVIMENT.txt"), "velho");
  EXPECT_FALSE(fs::exists(Arquivo("BAL_VER.txt")));
}

TEST_F(GerarArquivosRSTest, ANegativeAmountIsRefusedNamingTheEntryAndWritesNoFile) {
  Escrever("MOVIMENT.txt", "velho");
  SetDialogoService(std::make_shared<TDialogoFixo>(std::vector<std::string>{"Sim"}));
  // It used to be written as a debit of +15.50.
  Sql("insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB) values "
      "(1, 9, '2024-06-01', 12, null, -15.5);");
  std::string erro = ErroDaExecucao();
  EXPECT_NE(erro.find("MOVIMENT.txt"), std::string::npos) << erro;
  EXPECT_NE(erro.find("lançamento 9"), std::string::npos) << erro;
  EXPECT_NE(erro.find("campo VALOR"), std::string::npos) << erro;
  EXPECT_NE(erro.find("-15.50"), std::string::npos) << erro;
  EXPECT_NE(erro.find("negativo"), std::string::npos) << erro;
  EXPECT_EQ(Bytes("MOVIMENT.txt"), "velho");
  EXPECT_FALSE(fs::exists(Arquivo("BAL_VER.txt")));
  EXPECT_EQ(FProcesso->GetMsgTreeLista()->Contar(tmConfirmacao), 0u);
}

TEST_F(GerarArquivosRSTest, ABalanceThatDoesNotFitLeavesTheMovementFileUnwrittenToo) {
  // Each entry fits the movement file; their sum does not fit BAL_VER.
  Sql("insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB) values "
      "(1, 8, '2024-06-01', 13, null, 99999999999.99), (1, 9, '2024-06-02', 13, null, 1);");
  std::string erro = ErroDaExecucao();
  EXPECT_NE(erro.find("BAL_VER.txt, registro BAL, conta 1,"), std::string::npos) << erro;
  EXPECT_NE(erro.find("campo MOVDEBITO"), std::string::npos) << erro;
  EXPECT_NE(erro.find("100000000150.99"), std::string::npos) << erro;
  EXPECT_FALSE(AlgumArquivo());
  EXPECT_EQ(FProcesso->GetMsgTreeLista()->Contar(tmConfirmacao), 0u);
}

// MOVIMENT.txt and BAL_VER.txt used to be renamed one after the other: a failure between the
// two left a new movement file beside the old trial balance.
TEST_F(GerarArquivosRSTest, AFileOperationFailingAtAnyPointLeftAMixedPair) {
  SetDialogoService(std::make_shared<TDialogoFixo>(std::vector<std::string>{"Sim"}));
  Rodar();
  const auto antes = ConteudoPasta(FPasta / "saida");
  ASSERT_EQ(antes.size(), 2u);
  Sql("insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB) values "
      "(1, 9, '2024-06-01', 12, null, 7);");
  const auto falhas = FalhasDeUmaExecucao([&] { Rodar(); });
  const auto novo = ConteudoPasta(FPasta / "saida");
  ASSERT_FALSE(novo == antes);
  ASSERT_GE(falhas.size(), 8u);
  for (const TFalhaGravacao& falha : falhas) {
    fs::remove_all(FPasta / "saida");
    for (const auto& [nome, bytes] : antes) Escrever(nome.c_str(), bytes);
    FProcesso->GetMsgTreeLista()->Clear();
    nTesteGravacao::FalharNa(falha.Operacao, falha.Numero);
    std::string erro = ErroDaExecucao();
    nTesteGravacao::Desligar();
    if (erro.empty()) {
      // Only the tidying after the renames fails that late; the next run finishes it.
      EXPECT_EQ(FProcesso->GetMsgTreeLista()->Contar(tmAviso), 1u) << falha.Descricao();
      TConjuntoArquivos proximo(FPasta / "saida");
      EXPECT_TRUE(ConteudoPasta(FPasta / "saida") == novo) << DescreverPasta(ConteudoPasta(FPasta / "saida")) << falha.Descricao();
      continue;
    }
    EXPECT_TRUE(NomeiaOArquivo(erro, {"MOVIMENT.txt", "BAL_VER.txt"})) << falha.Descricao() << ": " << erro;
    EXPECT_TRUE(ConteudoPasta(FPasta / "saida") == antes) << DescreverPasta(ConteudoPasta(FPasta / "saida")) << falha.Descricao() << ": " << erro;
    EXPECT_EQ(FProcesso->GetMsgTreeLista()->Contar(tmConfirmacao), 0u) << falha.Descricao();
  }
}

// A company whose accounts are mapped to another court, or only outside the period, got a
// MOVIMENT.txt and a BAL_VER.txt of a header and a closing line, reported as written.
TEST_F(GerarArquivosRSTest, ACompanyWithNoMappingInThePeriodGotFilesWithoutAccountsReportedOk) {
  Sql("update TCEPLANOPLESPEC set DATAINICIOPLANO = '2020-01-01', DATAFIMPLANO = '2022-12-31';");
  Rodar();
  const auto& raizes = FProcesso->GetMsgTreeLista()->Raizes();
  ASSERT_EQ(raizes.size(), 1u);
  EXPECT_EQ(raizes[0]->Tipo, tmErro);
  EXPECT_EQ(raizes[0]->Texto, "Nenhuma conta contábil relacionada foi encontrada no período selecionado!");
  EXPECT_EQ(FProcesso->GetMsgTreeLista()->Contar(tmConfirmacao), 0u);
  EXPECT_FALSE(AlgumArquivo());
}

TEST_F(GerarArquivosRSTest, CompanyWithoutChartSettingsGetsAClearMessage) {
  Sql("delete from CFGPLANOESPEC;");
  std::string erro = ErroDaExecucao();
  EXPECT_NE(erro.find("CFGPLANOESPEC"), std::string::npos) << erro;
  EXPECT_FALSE(AlgumArquivo());
}

TEST_F(GerarArquivosRSTest, ExistingFilesAreAskedForOneByOne) {
  Escrever("MOVIMENT.txt", "velho");
  Escrever("BAL_VER.txt", "velho");
  auto dialogo = std::make_shared<TDialogoFixo>(std::vector<std::string>{"Sim para todos", "Sim"});
  SetDialogoService(dialogo);
  Rodar();
  ASSERT_EQ(dialogo->Perguntas.size(), 2u);
  EXPECT_NE(dialogo->Perguntas[0].find("MOVIMENT.txt"), std::string::npos);
  EXPECT_NE(dialogo->Perguntas[1].find("BAL_VER.txt"), std::string::npos);
  EXPECT_EQ(Linhas("BAL_VER.txt").size(), 8u);
}

TEST_F(GerarArquivosRSTest, NoAtTheMovementFileWritesNothing) {
  Escrever("MOVIMENT.txt", "velho");
  SetDialogoService(std::make_shared<TDialogoFixo>(std::vector<std::string>{"Não"}));
  std::string erro = ErroDaExecucao();
  EXPECT_NE(erro.find("MOVIMENT.txt"), std::string::npos) << erro;
  EXPECT_EQ(Bytes("MOVIMENT.txt"), "velho");
  EXPECT_FALSE(fs::exists(Arquivo("BAL_VER.txt")));
}

TEST_F(GerarArquivosRSTest, NoAtTheTrialBalanceKeepsItAndWritesTheMovementFile) {
  Escrever("BAL_VER.txt", "velho");
  SetDialogoService(std::make_shared<TDialogoFixo>(std::vector<std::string>{"Não"}));
  std::string erro = ErroDaExecucao();
  EXPECT_NE(erro.find("BAL_VER.txt"), std::string::npos) << erro;
  EXPECT_EQ(Bytes("BAL_VER.txt"), "velho");
  EXPECT_EQ(Linhas("MOVIMENT.txt").size(), 8u);
}

// The group types are read once per run: an unset one still stops the run at the first line
// that needs it, naming that line's account and entry.
TEST_F(GerarArquivosRSTest, AnUnsetGroupTypeIsNamedWithTheLineThatNeedsIt) {
  Sql("update CFGPLANOESPEC set TIPOGRUPO2 = null;");
  std::string erro = ErroDaExecucao();
  EXPECT_NE(erro.find("conta 2.1.1 (conta contábil 21, lançamento 1)"), std::string::npos) << erro;
  EXPECT_NE(erro.find("TIPOGRUPO2"), std::string::npos) << erro;
  EXPECT_FALSE(AlgumArquivo());
}

TEST_F(GerarArquivosRSTest, ClassificationStartingWithZeroIsNamed) {
  Sql("update TCEPLANO set CLASSIFCONTA = '0.1.1' where CONTATCE = 111;");
  std::string erro = ErroDaExecucao();
  EXPECT_NE(erro.find("0.1.1"), std::string::npos) << erro;
  EXPECT_FALSE(AlgumArquivo());
}

TEST_F(GerarArquivosRSTest, WorkAreaVariantHasNoSelectionKeys) {
  auto p = nCriarObjeto<TUlmoDPGerarArquivosCtbRSAreaTrabalho>();
  EXPECT_EQ(p->PegarVerificaSelecao(), "");
  EXPECT_EQ(FProcesso->PegarVerificaSelecao(), "CodigoSistemaTCE");
  EXPECT_EQ(p->Param("pOriLcto").Value(), "'ZZ'");
}

}  // namespace

TEST_F(GerarArquivosRSTest, AnUnknownCompanyFailedOnItsChartSettings) {
  for (const char* empresa : {"77", "32768", "-1", "x"}) {
    Set("pCodigoEmpresa", empresa);
    try {
      FProcesso->ValidarDado();
      ADD_FAILURE() << empresa << " passed";
    } catch (const EnParam& e) {
      EXPECT_EQ(e.Alias(), "pCodigoEmpresa") << empresa;
      EXPECT_STREQ(e.what(), "Empresa inválida!") << empresa;
    }
  }
  EXPECT_FALSE(AlgumArquivo());
}
