#include "UlmoArqPRGerarArquivo_U.h"

#include <gtest/gtest.h>

#include "Leiaute_U.h"

#include <algorithm>
#include <map>

#include "ArqPRTeste_U.h"
#include "ClassRegistry_U.h"
#include "ConjuntoArquivos_U.h"
#include "Dialogo_U.h"
#include "FalhaGravacaoTeste_U.h"
#include "FormatUtils_U.h"
#include "Zip_U.h"

using namespace nFramework;
using namespace nUlmoPR;
using namespace nUlmoPRTeste;
namespace fs = std::filesystem;

namespace {

std::string LerTexto(const fs::path& ACaminho) {
  std::ifstream in(ACaminho, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class TDialogoFalso : public IDialogoService {
 public:
  std::vector<int> Respostas;
  std::vector<std::string> Perguntas;
  int Perguntar(const TnDialogo& aDialogo) override {
    Perguntas.push_back(aDialogo.Texto);
    int r = Respostas.empty() ? 0 : Respostas.front();
    if (!Respostas.empty()) Respostas.erase(Respostas.begin());
    return r;
  }
};

class GerarArquivoPRTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FArvore = std::make_shared<TnMsgTreeLista>();
    ControleMensagem().SetFraListaMensagemTree(FArvore);
    FDialogo = std::make_shared<TDialogoFalso>();
    SetDialogoService(FDialogo);
    nConfig().UsoInterno = false;
    nConfig().HttpExe = false;
    D.Requisicao.CodigoEmpresa = 1;
    D.Requisicao.DataInicial = EncodeDate(2024, 1, 1);
    D.Requisicao.DataFinal = EncodeDate(2024, 12, 31);
    D.Requisicao.IdPessoa = 123;
    D.Requisicao.IdPessoaEntidade = 45;
    D.Requisicao.TipoMovimentoCtb = 2;
    D.Requisicao.PlanoEstatal = 3;
    D.Requisicao.BalanceteEstatal = true;
    D.Requisicao.PastaDestino = (FPasta / "saida").string();
  }
  void TearDown() override {
    ControleMensagem().SetFraListaMensagemTree(nullptr);
    SetDialogoService(nullptr);
    nConfig().UsoInterno = false;
    nConfig().HttpExe = false;
  }
  void Todos() {
    TRequisicaoPR& r = D.Requisicao;
    r.GerarPessoa = r.GerarPlanoContas = r.GerarSaldoCtb = r.GerarMovimentoCtb = r.Bens = true;
  }
  std::vector<std::string> Linhas(const std::string& ANome) { return LerLinhas(FPasta / "saida" / (ANome + ".txt")); }
  // The folder's files; a ZIP by its entries, whose times vary from run to run.
  std::map<std::string, std::string> Conteudo() {
    auto r = ConteudoPasta(FPasta / "saida");
    for (auto& [nome, bytes] : r)
      if (nome.size() > 4 && nome.substr(nome.size() - 4) == ".zip") {
        bytes.clear();
        for (const auto& e : ListarEntradasZip(FPasta / "saida" / nome)) bytes += e + ":" + LerEntradaZip(FPasta / "saida" / nome, e);
      }
    return r;
  }
  std::vector<std::string> Mensagens() {
    std::vector<std::string> r;
    for (const auto& n : FArvore->Raizes()) r.push_back(std::string(NomeTipoMensagem(n->Tipo)) + " " + n->Texto);
    return r;
  }

  TBancoPR FBanco;
  TTestFolder FPasta;
  std::shared_ptr<TnMsgTreeLista> FArvore;
  std::shared_ptr<TDialogoFalso> FDialogo;
  TUlmoArqPRGerarArquivo D;
};

TEST_F(GerarArquivoPRTest, TodosOsArquivosLinhaALinha) {
  Todos();
  D.Requisicao.CompactarArq = true;
  D.GerarArquivos();
  EXPECT_EQ(Linhas("PessoaSEICED"),
            (std::vector<std::string>{
                "2|11222333000181|Município de Teste|Rua das Flores, Num 10, Bairro Centro|84010050|"}));
  // Mapped rows plus the parents found in the court chart; 1.1.1.0.0.00.00 is not in it.
  EXPECT_EQ(Linhas("PlanoContabil"), (std::vector<std::string>{
                                         "123|1|0|0|0|0|00|00||||||2024|Ativo|D|N||||",
                                         "123|1|1|0|0|0|00|00||||||2024|Ativo circulante|D|N||||",
                                         "123|1|1|1|1|0|00|00||||||2024|Caixa e equivalentes|D|N||||",
                                         "123|1|1|1|1|1|00|00||||||2024|Caixa e equivalentes em moeda|D|N|P|F|O|",
                                         "123|1|1|1|1|1|01|00||||||2024|Caixa da sede|D|S|P|F|O|",
                                         "123|1|1|1|1|1|02|00||||||2024|Bancos|D|S|P|F|O|",
                                         "123|2|0|0|0|0|00|00||||||2024|Passivo|C|N||||",
                                         "123|2|1|1|1|1|01|00||||||2024|Fornecedores|C|S|P|F|F|",
                                     }));
  // The credit balance is written without sign; the bank account without balance is left out.
  EXPECT_EQ(Linhas("SaldoContabilExercicioAnterior"), (std::vector<std::string>{
                                                          "123|45|1|1|1|1|1|01|00||2024|F|D|150.00|",
                                                          "123|45|2|1|1|1|1|01|00||2024|P|C|150.00|",
                                                      }));
  EXPECT_EQ(Linhas("MovimentoContabilMensal"), (std::vector<std::string>{
                                                   "123|1|1|1|1|1|01|00||||||2024|01|2|F|1|100.00|0.00|",
                                                   "123|2|1|1|1|1|01|00||||||2024|01|2|P|3|0.00|100.00|",
                                                   "123|1|1|1|1|1|01|00||||||2024|02|2|F|1|0.00|30.50|",
                                                   "123|1|1|1|1|1|02|00||||||2024|02|2||2|30.50|0.00|",
                                               }));
  EXPECT_EQ(Linhas("PlanoContabilEstatal"), (std::vector<std::string>{
                                                "123|11|2024|CIRCULANTE|D|S|",
                                                "123|111|2024|CAIXA|D|N|",
                                                "123|112|2024|BANCO|D|N|",
                                                "123|21|2024|FORNECEDORES|C|N|",
                                            }));
  EXPECT_EQ(Linhas("BalanceteMensalEstatalXPlanoContabil"),
            (std::vector<std::string>{
                "123|01|111|1|1|1|1|1|01|00||||||2024|100.00|0.00|",
                "123|01|21|2|1|1|1|1|01|00||||||2024|0.00|100.00|",
                "123|02|111|1|1|1|1|1|01|00||||||2024|0.00|30.50|",
                "123|02|112|1|1|1|1|1|02|00||||||2024|30.50|0.00|",
            }));
  // Acquired on the last day: in; the day after: out.
  EXPECT_EQ(Linhas("Bem"), (std::vector<std::string>{
                               "123|100|Computador|2|3|12|345|2|2024-03-10|",
                               "123|101|Veículo|1|2|12|345|1|2024-12-31|",
                           }));
  fs::path zip = FPasta / "saida" / "123-012024.zip";
  EXPECT_EQ(ListarEntradasZip(zip),
            (std::vector<std::string>{"PessoaSEICED.txt", "PlanoContabil.txt", "SaldoContabilExercicioAnterior.txt",
                                      "MovimentoContabilMensal.txt", "PlanoContabilEstatal.txt",
                                      "BalanceteMensalEstatalXPlanoContabil.txt", "Bem.txt"}));
  std::vector<std::string> m = Mensagens();
  ASSERT_EQ(m.size(), 8u);
  EXPECT_EQ(m[0], "OK Arquivo PessoaSEICED gerado com sucesso: " + (FPasta / "saida/PessoaSEICED.txt").string());
  EXPECT_EQ(m[7], "INFO Arquivos compactados com sucesso: " + zip.string());
  EXPECT_EQ(FArvore->Raizes()[7]->ImageIndex, 318);
}

TEST_F(GerarArquivoPRTest, SemArquivosNadaEscritoNemCompactado) {
  D.Requisicao.PlanoEstatal = 1;
  D.Requisicao.BalanceteEstatal = false;
  D.Requisicao.CompactarArq = true;
  D.GerarArquivos();
  EXPECT_TRUE(Mensagens().empty());
  EXPECT_TRUE(fs::is_empty(FPasta / "saida"));
}

TEST_F(GerarArquivoPRTest, PlanoEstatalPadraoZeroGeraPlanoEstatalEPeriodoFiltra) {
  D.Requisicao.PlanoEstatal = 0;
  D.Requisicao.BalanceteEstatal = false;
  D.GerarArquivos();
  EXPECT_EQ(Linhas("PlanoContabilEstatal").size(), 4u);
  // "Movimento": only the mappings starting within the period (13 started in 2023).
  D.Requisicao.PlanoEstatal = 2;
  D.GerarArquivos();
  EXPECT_EQ(Linhas("PlanoContabilEstatal").size(), 3u);
  D.Requisicao.DataInicial = EncodeDate(2024, 2, 1);
  D.GerarArquivos();
  EXPECT_TRUE(Linhas("PlanoContabilEstatal").empty());
}

TEST_F(GerarArquivoPRTest, ArquivoExistentePerguntaAntesDeSubstituir) {
  Todos();
  D.GerarArquivos();
  FArvore->Clear();
  std::string pessoa = (FPasta / "saida/PessoaSEICED.txt").string();
  {
    std::ofstream f(pessoa, std::ios::binary | std::ios::trunc);
    f << "antigo\r\n";
  }
  FDialogo->Respostas = {2, 0, 2, 2, 2, 2, 2};  // Não, Sim, then Não for the rest
  D.GerarArquivos();
  ASSERT_EQ(FDialogo->Perguntas.size(), 7u);
  EXPECT_EQ(FDialogo->Perguntas[0], "O arquivo " + pessoa + " já existe. Deseja substituí-lo?");
  EXPECT_EQ(LerLinhas(pessoa), std::vector<std::string>{"antigo"});
  ASSERT_NE(FArvore->EncontrarNode(pessoa), nullptr);
  EXPECT_EQ(FArvore->EncontrarNode(pessoa)->Texto, "Geração cancelada pelo usuário");
  EXPECT_EQ(FArvore->Contar(tmConfirmacao), 1u);
  EXPECT_EQ(FArvore->Contar(tmAviso), 6u);

  FDialogo->Perguntas.clear();
  FDialogo->Respostas = {1};  // Sim para todos
  D.GerarArquivos();
  EXPECT_EQ(FDialogo->Perguntas.size(), 1u);
  EXPECT_EQ(Linhas("PessoaSEICED").size(), 1u);
  EXPECT_NE(Linhas("PessoaSEICED")[0], "antigo");
}

TEST_F(GerarArquivoPRTest, ExecutavelWebNaoPerguntaESemCaminho) {
  D.Requisicao.GerarPessoa = true;
  D.Requisicao.PlanoEstatal = 1;
  D.Requisicao.BalanceteEstatal = false;
  D.GerarArquivos();
  nConfig().HttpExe = true;
  FArvore->Clear();
  D.GerarArquivos();
  EXPECT_TRUE(FDialogo->Perguntas.empty());
  EXPECT_EQ(Mensagens(), std::vector<std::string>{"OK Arquivo PessoaSEICED gerado com sucesso"});
}

// A failed file used to be left out of a ZIP written beside the other new files: a package that
// looked complete and was not. The others still run, for their messages, but nothing is written.
TEST_F(GerarArquivoPRTest, ArquivoQueFalhaDeixavaOsOutrosEUmZipSemEle) {
  D.Requisicao.GerarPessoa = D.Requisicao.GerarPlanoContas = true;
  D.Requisicao.PlanoEstatal = 1;
  D.Requisicao.BalanceteEstatal = false;
  D.Requisicao.CompactarArq = true;
  D.Requisicao.IdPessoa = 7;
  D.Requisicao.DataInicial = EncodeDate(2023, 11, 15);
  D.GerarArquivos();
  const auto antes = Conteudo();
  ASSERT_EQ(antes.size(), 3u);
  FArvore->Clear();
  // A CEP with letters cannot be a number: PessoaSEICED fails, PlanoContabil still runs.
  FBanco.Sql("update ESTAB set CEPENDERESTAB = '8401A' where CODIGOEMPRESA = 1");
  FBanco.Sql("update PLANOESPEC set DESCRCONTA = 'Caixa geral' where CONTACTB = 12");
  D.GerarArquivos();
  std::vector<std::string> m = Mensagens();
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].rfind("ERRO Erro ao tentar gerar arquivo PessoaSEICED: ", 0), 0u) << m[0];
  EXPECT_NE(FArvore->EncontrarNode("PessoaSEICED"), nullptr);
  EXPECT_EQ(m[1], "ERRO Nenhum arquivo foi gravado em \"" + D.Requisicao.PastaDestino +
                      "\": os arquivos anteriores ficaram como estavam.");
  EXPECT_TRUE(Conteudo() == antes) << DescreverPasta(Conteudo());
}

// A company that does not exist made empty PessoaSEICED.txt and Bem.txt and a ZIP of them, beside
// the errors of the other files.
TEST_F(GerarArquivoPRTest, EmpresaInexistenteDeixavaArquivosVaziosEUmZip) {
  TnSelecao::Params().Definir("CODIGOSISTEMATCE", 3);
  Todos();
  D.Requisicao.CodigoEmpresa = 999;
  D.Requisicao.CompactarArq = true;
  D.GerarArquivos();
  TnSelecao::Params().Limpar();
  EXPECT_GE(FArvore->Contar(tmErro), 1u);
  EXPECT_EQ(FArvore->Contar(tmConfirmacao), 0u);
  EXPECT_TRUE(fs::is_empty(FPasta / "saida")) << DescreverPasta(Conteudo());
}

// A company with no account mapped to the court in the period got every chart file empty, and
// a ZIP of them, reported as written.
TEST_F(GerarArquivoPRTest, SemContaRelacionadaNoPeriodoGeravaArquivosVaziosComSucesso) {
  FBanco.Sql("update TCEPLANOPLESPEC set DATAINICIOPLANO = '2020-01-01', DATAFIMPLANO = '2022-12-31'");
  Todos();
  D.Requisicao.CompactarArq = true;
  D.GerarArquivos();
  EXPECT_EQ(Mensagens(), std::vector<std::string>{"ERRO Nenhuma conta contábil relacionada foi encontrada no "
                                                  "período selecionado!"});
  EXPECT_TRUE(fs::is_empty(FPasta / "saida")) << DescreverPasta(Conteudo());
  // The files that need no chart are still written when only they are asked for.
  FArvore->Clear();
  D.Requisicao.GerarPlanoContas = D.Requisicao.GerarSaldoCtb = D.Requisicao.GerarMovimentoCtb = D.Requisicao.BalanceteEstatal = false;
  D.Requisicao.PlanoEstatal = 1;
  D.GerarArquivos();
  EXPECT_EQ(FArvore->Contar(tmErro), 0u);
  EXPECT_GE(FArvore->Contar(tmConfirmacao), 1u);
}

// The files and the ZIP used to be renamed one by one: a failure on the way left some new files
// beside old ones, or new files with the old ZIP.
TEST_F(GerarArquivoPRTest, FalhaDeGravacaoEmQualquerPontoDeixavaArquivosNovosEAntigosMisturados) {
  Todos();
  D.Requisicao.CompactarArq = true;
  D.GerarArquivos();
  const auto antes = Conteudo();
  const auto bytesAntes = ConteudoPasta(FPasta / "saida");
  ASSERT_EQ(antes.size(), 8u);
  FBanco.Sql("update PLANOESPEC set DESCRCONTA = 'Caixa geral' where CONTACTB = 12");
  FDialogo->Respostas.assign(100, 1);  // Sim para todos, every run
  const auto falhas = FalhasDeUmaExecucao([&] { D.GerarArquivos(); });
  const auto novo = Conteudo();
  ASSERT_FALSE(novo == antes);
  ASSERT_GE(falhas.size(), 30u);
  std::vector<std::string> nomes;
  for (const auto& [nome, bytes] : antes) nomes.push_back(nome);
  for (const TFalhaGravacao& falha : falhas) {
    fs::remove_all(FPasta / "saida");
    fs::create_directories(FPasta / "saida");
    for (const auto& [nome, bytes] : bytesAntes) WriteBytes(FPasta / "saida" / nome, bytes);
    FArvore->Clear();
    nTesteGravacao::FalharNa(falha.Operacao, falha.Numero);
    D.GerarArquivos();
    nTesteGravacao::Desligar();
    if (FArvore->Contar(tmErro) == 0) {
      // Only the tidying after the renames fails that late; the next run finishes it.
      EXPECT_EQ(FArvore->Contar(tmAviso), 1u) << falha.Descricao();
      TConjuntoArquivos proximo(FPasta / "saida");
      EXPECT_TRUE(Conteudo() == novo) << DescreverPasta(Conteudo()) << falha.Descricao();
      continue;
    }
    std::vector<std::string> m = Mensagens();
    EXPECT_TRUE(std::any_of(m.begin(), m.end(), [&](const std::string& t) { return NomeiaOArquivo(t, nomes); }))
        << falha.Descricao() << ": " << ::testing::PrintToString(m);
    EXPECT_EQ(FArvore->Contar(tmConfirmacao), 0u) << falha.Descricao();
    EXPECT_TRUE(Conteudo() == antes) << DescreverPasta(Conteudo()) << falha.Descricao() << ": " << ::testing::PrintToString(m);
  }
}

TEST_F(GerarArquivoPRTest, ValorMaiorQueOCampoParaAExecucaoSemCortarNemGravarArquivo) {
  Todos();
  D.Requisicao.CompactarArq = true;
  D.GerarArquivos();
  std::map<std::string, std::string> antes;
  for (const auto& e : fs::directory_iterator(FPasta / "saida")) antes[e.path().filename().string()] = LerTexto(e.path());
  ASSERT_EQ(antes.size(), 8u);
  FArvore->Clear();
  // Two debits of the largest amount the books hold make a January debit of 17 characters,
  // which used to be cut to 16 and reported as written.
  FBanco.Sql("insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, "
             "VALORLCTOCTB) values (1, 7, 1, '2024-01-20', 12, null, 9999999999999.99), "
             "(1, 8, 1, '2024-01-21', 12, null, 9999999999999.99);");
  FDialogo->Respostas = {1};  // Sim para todos
  try {
    D.GerarArquivos();
    FAIL() << "an amount wider than its field was written";
  } catch (const ENaoCabe& e) {
    std::string m = e.what();
    EXPECT_NE(m.find("MovimentoContabilMensal.txt"), std::string::npos) << m;
    EXPECT_NE(m.find("conta 1.1.1.1.1.01.00 (conta contábil 12)"), std::string::npos) << m;
    EXPECT_NE(m.find("campo vlDebito"), std::string::npos) << m;
    EXPECT_NE(m.find(": o valor \"2000000000"), std::string::npos) << m;
    EXPECT_NE(m.find("não cabe em 16 posições"), std::string::npos) << m;
  }
  std::map<std::string, std::string> depois;
  for (const auto& e : fs::directory_iterator(FPasta / "saida")) depois[e.path().filename().string()] = LerTexto(e.path());
  EXPECT_EQ(depois, antes);
  EXPECT_EQ(FArvore->Contar(tmConfirmacao), 0u);
}

TEST_F(GerarArquivoPRTest, PastaSomenteLeituraOuImpossivelNaoGeraNada) {
  D.Requisicao.GerarPessoa = true;
  D.Requisicao.PastaDestino = (FPasta / "nao" / "existe").string();
  D.GerarArquivos();
  ASSERT_EQ(Mensagens().size(), 1u);
  EXPECT_EQ(Mensagens()[0].rfind("ERRO Erro ao tentar criar diretório: ", 0), 0u);

  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  FArvore->Clear();
  fs::create_directories(FPasta / "ro");
  fs::permissions(FPasta / "ro", fs::perms::owner_read | fs::perms::owner_exec);
  D.Requisicao.PastaDestino = (FPasta / "ro").string();
  D.GerarArquivos();
  EXPECT_EQ(Mensagens(), std::vector<std::string>{"ERRO O diretório destino \"" + D.Requisicao.PastaDestino +
                                                  "\" é somente leitura"});
}

TEST_F(GerarArquivoPRTest, UmArquivoNoLugarDaPastaFoiChamadoDeSomenteLeitura) {
  D.Requisicao.GerarPessoa = true;
  std::ofstream(FPasta / "arquivo") << "x";
  D.Requisicao.PastaDestino = (FPasta / "arquivo").string();
  D.GerarArquivos();
  EXPECT_EQ(Mensagens(), std::vector<std::string>{"ERRO Erro ao tentar criar diretório: \"" + D.Requisicao.PastaDestino +
                                                  "\": já existe um arquivo com esse nome"});
  EXPECT_EQ(LerTexto(FPasta / "arquivo"), "x");
}

TEST_F(GerarArquivoPRTest, EmpresaSemSistemaLevantaESelecaoDecide) {
  FBanco.Sql("delete from TCESISTEMAEMPRESA");
  D.Requisicao.GerarPessoa = true;
  EXPECT_ANY_THROW(D.GerarArquivos());
  TnSelecao::Params().Definir("CODIGOSISTEMATCE", 3);
  FArvore->Clear();
  D.GerarArquivos();
  EXPECT_EQ(FArvore->Contar(tmConfirmacao), 3u);
  TnSelecao::Params().Limpar();
}

TEST_F(GerarArquivoPRTest, UsoInternoSubstituiSemPerguntarEAvisaDestruicao) {
  D.Requisicao.GerarPessoa = true;
  D.Requisicao.PlanoEstatal = 1;
  D.Requisicao.BalanceteEstatal = false;
  D.GerarArquivos();
  nConfig().UsoInterno = true;
  FArvore->Clear();
  D.GerarArquivos();
  EXPECT_TRUE(FDialogo->Perguntas.empty());
  EXPECT_EQ(Mensagens(), (std::vector<std::string>{
                             "OK Arquivo PessoaSEICED gerado com sucesso: " +
                                 (FPasta / "saida/PessoaSEICED.txt").string(),
                             "AVISO UsoInterno: Destruiu Gerador TUlmoArqPRGerarPessoaSEICED"}));
}

}  // namespace
