// Every court's files for the golden fixture, written by the ulmo program, compared byte for byte
// with the expected ones; then the rules every generator shares, checked over the same files.
#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "Encoding_U.h"
#include "GoldenColeta_U.h"
#include "LayoutsRS_U.h"
#include "LayoutsSC_U.h"
#include "TestFolder_U.h"

namespace fs = std::filesystem;
using namespace nGolden;

namespace {

struct TResultado {
  TExecucao Execucao;
  TArquivos Arquivos;
};

// The fixture is built and every case run once for the whole program.
class TGolden {
 public:
  static TGolden& Instancia() {
    static TGolden g;
    return g;
  }
  const TResultado& Resultado(const std::string& caso) { return FResultados.at(caso); }
  const std::string& Erro() const { return FErro; }

 private:
  TGolden() {
    TAmbiente ambiente{ULMO_EXE, FAKE_ESFINGE_ONLINE, GOLDEN_DIR "/fixture.sql", FPasta.Path()};
    try {
      CriarBanco(ambiente);
      for (const TCaso& caso : Casos()) {
        TResultado& r = FResultados[caso.Nome];
        r.Execucao = Executar(ambiente, caso, FPasta / ("saida-" + caso.Nome));
        r.Arquivos = Coletar(caso, FPasta / ("saida-" + caso.Nome));
      }
    } catch (const std::exception& e) {
      FErro = e.what();
    }
  }
  nFramework::TTestFolder FPasta;
  std::map<std::string, TResultado> FResultados;
  std::string FErro;
};

std::vector<std::string> Linhas(const std::string& bytes) {
  std::vector<std::string> r;
  size_t inicio = 0;
  while (inicio < bytes.size()) {
    size_t fim = bytes.find("\r\n", inicio);
    if (fim == std::string::npos) fim = bytes.size();
    r.push_back(bytes.substr(inicio, fim - inicio));
    inicio = fim + 2;
  }
  return r;
}

// The first line where the two differ, for a readable failure.
std::string PrimeiraDiferenca(const std::string& esperado, const std::string& obtido) {
  size_t i = 0;
  while (i < esperado.size() && i < obtido.size() && esperado[i] == obtido[i]) ++i;
  auto linha = [&](const std::string& s) {
    size_t a = s.rfind('\n', i == 0 ? 0 : i - 1);
    a = a == std::string::npos ? 0 : a + 1;
    return s.substr(a, s.find('\n', a) - a);
  };
  return "byte " + std::to_string(i) + " (linha " + std::to_string(std::count(esperado.begin(), esperado.begin() + i, '\n') + 1) +
         ")\n  esperado: " + linha(esperado) + "\n  obtido:   " + linha(obtido);
}

class GoldenTest : public ::testing::TestWithParam<TCaso> {};

// The files a case wrote are the expected ones, no more and no fewer, byte for byte.
TEST_P(GoldenTest, ArquivosIguaisAosEsperados) {
  TGolden& g = TGolden::Instancia();
  ASSERT_EQ(g.Erro(), "");
  const TResultado& r = g.Resultado(GetParam().Nome);
  ASSERT_EQ(r.Execucao.Codigo, 0) << r.Execucao.Saida;
  const TArquivos esperados = LerPasta(fs::path(GOLDEN_DIR) / "esperado" / GetParam().Nome);
  ASSERT_FALSE(esperados.empty()) << "sem arquivos esperados: rode golden/atualizar.sh";
  std::vector<std::string> nomesEsperados, nomesObtidos;
  for (const auto& [nome, bytes] : esperados) nomesEsperados.push_back(nome);
  for (const auto& [nome, bytes] : r.Arquivos) nomesObtidos.push_back(nome);
  EXPECT_EQ(nomesObtidos, nomesEsperados);
  for (const auto& [nome, bytes] : esperados) {
    auto it = r.Arquivos.find(nome);
    if (it == r.Arquivos.end()) continue;
    EXPECT_TRUE(it->second == bytes) << nome << ": " << PrimeiraDiferenca(bytes, it->second);
  }
}

INSTANTIATE_TEST_SUITE_P(Casos, GoldenTest, ::testing::ValuesIn(Casos()),
                         [](const ::testing::TestParamInfo<TCaso>& i) {
                           std::string n = i.param.Nome;
                           std::replace(n.begin(), n.end(), '-', '_');
                           return n;
                         });

// The conformance of every generator, over the files the cases wrote.
class ConformidadeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(TGolden::Instancia().Erro(), "");
    for (const TCaso& caso : Casos()) ASSERT_EQ(TGolden::Instancia().Resultado(caso.Nome).Execucao.Codigo, 0) << caso.Nome;
  }
  // The court text files of the cases of these courts (the ZIPs' members included).
  static std::vector<std::pair<std::string, const std::string*>> Textos(std::initializer_list<TCorte> cortes) {
    std::vector<std::pair<std::string, const std::string*>> r;
    for (const TCaso& caso : Casos()) {
      if (std::find(cortes.begin(), cortes.end(), caso.Corte) == cortes.end()) continue;
      for (const auto& [nome, bytes] : TGolden::Instancia().Resultado(caso.Nome).Arquivos)
        if (nome.size() > 4 && nome.compare(nome.size() - 4, 4, ".txt") == 0) r.emplace_back(caso.Nome + "/" + nome, &bytes);
    }
    return r;
  }
  static std::string Nome(const std::string& caminho) { return caminho.substr(caminho.rfind('/') + 1); }
};

TEST_F(ConformidadeTest, TextosEmWindows1252ComFinsDeLinhaCRLF) {
  const auto textos = Textos({TCorte::SC, TCorte::RS, TCorte::PR});
  ASSERT_GE(textos.size(), 4u + 2 + 7 + 7);
  size_t acentuados = 0;
  for (const auto& [nome, bytes] : textos) {
    if (bytes->empty()) continue;  // the loops below see to the files that must have lines
    EXPECT_EQ(bytes->substr(bytes->size() - 2), "\r\n") << nome;
    for (size_t i = 0; i < bytes->size(); ++i) {
      const unsigned char c = static_cast<unsigned char>((*bytes)[i]);
      // Undefined in Windows-1252.
      ASSERT_TRUE(c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D) << nome << " byte " << i;
      // A UTF-8 lead byte and its continuation: text that was not converted.
      if (c >= 0xC2 && c <= 0xF4 && i + 1 < bytes->size()) {
        const unsigned char d = static_cast<unsigned char>((*bytes)[i + 1]);
        ASSERT_FALSE(d >= 0x80 && d <= 0xBF) << nome << ": UTF-8 no byte " << i;
      }
      if (c == '\n') {
        ASSERT_TRUE(i > 0 && (*bytes)[i - 1] == '\r') << nome << ": LF sem CR no byte " << i;
      }
      if (c == '\r') {
        ASSERT_TRUE(i + 1 < bytes->size() && (*bytes)[i + 1] == '\n') << nome << ": CR sem LF no byte " << i;
      }
    }
    const bool historicos = nome.find("/LancamentoContabil") != std::string::npos || nome.find("/MOVIMENT") != std::string::npos;
    if (historicos && bytes->find(nFramework::Utf8ToWindows1252("espécie")) != std::string::npos) ++acentuados;
  }
  // The fixture's accented histories reach the files as Windows-1252.
  EXPECT_GE(acentuados, 2u);
}

TEST_F(ConformidadeTest, CadaLinhaSCTemALarguraDoSeuLeiaute) {
  const std::map<std::string, const nFramework::TLeiaute*> leiautes = {
      {"LancamentoContabil.txt", &nUlmoSC::LayoutLancamentoContabil()},
      {"MovimentoContabil.txt", &nUlmoSC::LayoutMovimentoContabil()},
      {"AplicacaoFinanceira.txt", &nUlmoSC::LayoutAplicacaoFinanceira()},
      {"ContaContabil.txt", &nUlmoSC::LayoutContaContabil()}};
  const auto textos = Textos({TCorte::SC});
  ASSERT_EQ(textos.size(), 4u * 2);
  for (const auto& [nome, bytes] : textos) {
    const std::vector<std::string> linhas = Linhas(*bytes);
    // Without the financial applications asked for, their file is written empty.
    if (nome == "sc-fevereiro-marco/AplicacaoFinanceira.txt") {
      EXPECT_EQ(linhas.size(), 0u);
      continue;
    }
    ASSERT_GT(linhas.size(), 0u) << nome;
    const size_t largura = static_cast<size_t>(leiautes.at(Nome(nome))->Largura());
    for (size_t i = 0; i < linhas.size(); ++i) ASSERT_EQ(linhas[i].size(), largura) << nome << " linha " << i + 1;
  }
}

// Header, detail records of one layout, and the closing record counting the details.
TEST_F(ConformidadeTest, CadaRegistroRSTemALarguraDoSeuLeiauteEOFinalizadorContaOsDetalhes) {
  const auto textos = Textos({TCorte::RS});
  ASSERT_EQ(textos.size(), 2u * 2);
  for (const auto& [nome, bytes] : textos) {
    const bool movimento = Nome(nome) == "MOVIMENT.txt";
    const std::vector<std::string> linhas = Linhas(*bytes);
    ASSERT_GE(linhas.size(), 3u) << nome;
    const auto largura = [](const nFramework::TLeiaute& l) { return static_cast<size_t>(l.Largura()); };
    EXPECT_EQ(linhas.front().size(),
              largura(movimento ? nUlmoRS::LayoutCabecalhoMovimento() : nUlmoRS::LayoutCabecalhoBalancete()))
        << nome;
    for (size_t i = 1; i + 1 < linhas.size(); ++i)
      ASSERT_EQ(linhas[i].size(), largura(movimento ? nUlmoRS::LayoutMovimento() : nUlmoRS::LayoutBalancete()))
          << nome << " linha " << i + 1;
    const std::string& fin = linhas.back();
    ASSERT_EQ(fin.size(), largura(nUlmoRS::LayoutFinalizador())) << nome;
    const size_t descricao = static_cast<size_t>(nUlmoRS::LayoutFinalizador().Campos.front().Largura);
    EXPECT_EQ(fin.substr(0, descricao), "FINALIZADOR") << nome;
    EXPECT_EQ(std::stoul(fin.substr(descricao)), linhas.size() - 2) << nome;
  }
}

// A "|"-separated record ends in "|", and every record of a file has the same number of fields.
TEST_F(ConformidadeTest, CadaRegistroPRTemOsCamposDoSeuArquivo) {
  const auto textos = Textos({TCorte::PR});
  ASSERT_EQ(textos.size(), 7u * 2);
  for (const auto& [nome, bytes] : textos) {
    const std::vector<std::string> linhas = Linhas(*bytes);
    ASSERT_GT(linhas.size(), 0u) << nome;
    const auto campos = std::count(linhas[0].begin(), linhas[0].end(), '|');
    EXPECT_GE(campos, 2) << nome;
    for (size_t i = 0; i < linhas.size(); ++i) {
      ASSERT_EQ(std::count(linhas[i].begin(), linhas[i].end(), '|'), campos) << nome << " linha " << i + 1;
      ASSERT_EQ(linhas[i].back(), '|') << nome << " linha " << i + 1;
    }
  }
}

// The ZIP holds the seven files as they were written beside it, in the order of the parameters.
TEST_F(ConformidadeTest, ZipPRGuardaOsArquivosGerados) {
  const TArquivos& a = TGolden::Instancia().Resultado("pr-ano").Arquivos;
  ASSERT_TRUE(a.count("123-012024.zip.membros"));
  EXPECT_EQ(a.at("123-012024.zip.membros"),
            "PessoaSEICED.txt\nPlanoContabil.txt\nSaldoContabilExercicioAnterior.txt\nMovimentoContabilMensal.txt\n"
            "PlanoContabilEstatal.txt\nBalanceteMensalEstatalXPlanoContabil.txt\nBem.txt\n");
  for (const auto& [nome, bytes] : a)
    if (nome.rfind("123-012024.zip/", 0) == 0) {
      ASSERT_TRUE(a.count(Nome(nome))) << nome;
      EXPECT_TRUE(a.at(Nome(nome)) == bytes) << nome;
    }
}

TEST_F(ConformidadeTest, XmlSagresEmUtf8) {
  const TArquivos& a = TGolden::Instancia().Resultado("se-trimestre").Arquivos;
  size_t documentos = 0;
  for (const auto& [nome, bytes] : a) {
    if (nome.size() < 4 || nome.compare(nome.size() - 4, 4, ".xml") != 0) continue;
    ++documentos;
    EXPECT_NO_THROW(nFramework::ValidarUtf8(bytes)) << nome;
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u) << nome;
    EXPECT_NE(bytes.find("ExecucaoEmpresas"), std::string::npos) << nome;
  }
  EXPECT_EQ(documentos, 3u);
  // A supplier's accented name as UTF-8.
  EXPECT_NE(a.at("2024_02/ExecucaoEmpresas.zip/ExecucaoEmpresas.xml").find(">Manutenção Predial"), std::string::npos);
}

// One package per month with entries (February has none), each UTF-8 JSON of its own month.
TEST_F(ConformidadeTest, PacotesOnlineEmJsonUtf8UmPorMesComLancamentos) {
  const TArquivos& a = TGolden::Instancia().Resultado("esfinge-online-trimestre").Arquivos;
  std::vector<std::string> nomes;
  for (const auto& [nome, bytes] : a) {
    nomes.push_back(nome);
    EXPECT_NO_THROW(nFramework::ValidarUtf8(bytes)) << nome;
    const nlohmann::json j = nlohmann::json::parse(bytes, nullptr, false);
    ASSERT_FALSE(j.is_discarded()) << nome;
    EXPECT_EQ(std::to_string(j.at("anoMes").get<int>()) + ".json", nome);
    EXPECT_FALSE(j.at("lancamentosContabeis").empty()) << nome;
  }
  EXPECT_EQ(nomes, (std::vector<std::string>{"202401.json", "202403.json"}));
}

}  // namespace
