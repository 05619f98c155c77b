// The e-Sfinge online workflow as the command line drives it, on the demo database against a
// fake court: the send process fills its grids, the January and March entries are ticked and
// sent, the consultation lists the receipts, one is cancelled and its status changes.
#include <gtest/gtest.h>

#include <map>

#include "BancoVazioTeste_U.h"
#include "ClassRegistry_U.h"
#include "Clock_U.h"
#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "ControleMensagem_U.h"
#include "DateUtils_U.h"
#include "Demo_U.h"
#include "Dicionario_U.h"
#include "FakeEsfingeOnline_U.h"
#include "FileUtils_U.h"
#include "SQL_U.h"
#include "Schema_U.h"
#include "TestFolder_U.h"
#include "UlmoDPConsultaSfingeOnlineDadosEnviados_U.h"
#include "UlmoDPEnviarArquivosCtbeSFinge_U.h"

using namespace nFramework;

namespace {

class FluxoEsfingeOnlineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RestaurarConfiguracao();
    FConexao = nFramework::AbrirBancoTeste();
    SetConexao(FConexao.get());
    AtualizarEsquema(*FConexao);
    nHost::GerarDemo();
    nConfig().UrlEsfingeOnline = FCorte.Url();
    SetDirTemp(FPasta.Path());
    SetClockFixo(EncodeDate(2025, 2, 10) + 0.5);
    TnSelecao::Params().Limpar();
  }
  void TearDown() override {
    SetClockFixo(std::nullopt);
    SetDirTemp({});
    ControleMensagem().SetFraListaMensagemTree(nullptr);
    SetConexao(nullptr);
    RestaurarConfiguracao();
  }

  // What `run ACTION alias=value...` does before its options and actions.
  template <class T>
  std::unique_ptr<T> Rodar(std::initializer_list<std::pair<const char*, const char*>> aParams) {
    auto p = nCriarObjeto<T>();
    for (const auto& [alias, valor] : aParams) p->Param(alias).SetValue(valor);
    nExecutarProcesso(*p);
    return p;
  }
  // Ticks the rows where the filter holds, one edit each, as the grid's tick does.
  static int Marcar(TClientDataSet& aDs, const std::string& aFiltro) {
    aDs.SetFilter(aFiltro);
    aDs.SetFiltered(true);
    std::vector<TClientDataSet::TBookmark> linhas;
    aDs.ForEach([&](TClientDataSet& d) { linhas.push_back(d.GetBookmark()); });
    aDs.SetFiltered(false);
    aDs.SetFilter("");
    for (auto b : linhas) {
      EXPECT_TRUE(aDs.GotoBookmark(b));
      aDs.Edit();
      aDs.FieldByName(aDs.CampoMarca).SetAsInteger(1);
      aDs.Post();
    }
    return static_cast<int>(linhas.size());
  }
  static std::vector<std::string> Mensagens(const TnDMPowerParam& aProcesso) {
    std::vector<std::string> r;
    for (const auto& n : aProcesso.GetMsgTreeLista()->Raizes())
      r.push_back(std::string(NomeTipoMensagem(n->Tipo)) + " " + n->Texto);
    return r;
  }
  static std::string Mostrado(const TField& f) {
    for (const auto& [caption, valor] : ItensLista(f.ValueList))
      if (valor == f.AsString()) return caption;
    return f.AsString();
  }

  nUlmoEsfingeTeste::TFakeEsfingeOnline FCorte;
  TTestFolder FPasta;
  std::unique_ptr<TnDMConexao> FConexao;
};

TEST_F(FluxoEsfingeOnlineTest, JanuaryAndMarchSentListedAndOneCancelled) {
  using nUlmoEsfinge::TUlmoDPEnviarArquivosCtbeSFinge;
  using nUlmoEsfingeOnline::TUlmoDPConsultaSfingeOnlineDadosEnviados;
  auto envio = Rodar<TUlmoDPEnviarArquivosCtbeSFinge>({{"pCodigoSistemaTCE", "1"},
                                                       {"pCodigoEmpresa", "1"},
                                                       {"pCompetInicial", "01/01/2024"},
                                                       {"pCompetFinal", "31/03/2024"},
                                                       {"pUsuario", "usuario"},
                                                       {"pSenha", "senha"},
                                                       {"pUnidadeGestora", "UG1"}});
  auto& contas = envio->nClientDataSetConta();
  auto& lctos = envio->nClientDataSetLcto();
  ASSERT_GT(contas.RecordCount(), 0);
  const int marcadasContas = Marcar(contas, "Enviar = 0");
  const int janeiro = Marcar(lctos, "NumeroSlip = '202401'");
  const int marco = Marcar(lctos, "NumeroSlip = '202403'");
  ASSERT_GT(janeiro, 0);
  ASSERT_GT(marco, 0);

  ASSERT_TRUE(envio->ExecutarAcao("actEnviarInfEsfingeOnline"));
  // The demo maps some court accounts from several company accounts: a warning, not an error.
  std::vector<std::string> confirmados;
  for (const auto& m : Mensagens(*envio)) {
    EXPECT_NE(m.rfind("ERRO", 0), 0u) << m;
    if (m.rfind("OK", 0) == 0) confirmados.push_back(m);
  }
  EXPECT_EQ(confirmados, (std::vector<std::string>{"OK Lote 202401: Envio parcial realizado com sucesso.",
                                                   "OK Lote 202403: Envio parcial realizado com sucesso."}));
  auto pacotes = FCorte.Pacotes();
  ASSERT_EQ(pacotes.size(), 2u);
  EXPECT_EQ(pacotes[0].AnoMes, 202401);
  EXPECT_EQ(pacotes[0].Estado, "finalizado");
  EXPECT_EQ(pacotes[0].Lancamentos, janeiro);
  EXPECT_EQ(pacotes[1].AnoMes, 202403);
  EXPECT_EQ(pacotes[1].Lancamentos, marco);
  // Each package carries every ticked account once.
  EXPECT_GT(pacotes[0].Contas, 0);
  EXPECT_LE(pacotes[0].Contas, marcadasContas);
  EXPECT_EQ(pacotes[1].Contas, pacotes[0].Contas);
  // The run's login token, stored for the company, went with every call after the login.
  const std::string token = PegarValorCampo("CFGEMPRESATCE", "TOKENESFINGE", "CODIGOEMPRESA = 1").AsString();
  ASSERT_FALSE(token.empty());
  auto reqs = FCorte.Requisicoes();
  ASSERT_EQ(reqs.size(), 7u);
  for (size_t i = 1; i < reqs.size(); ++i) EXPECT_EQ(reqs[i].Token, token) << reqs[i].Alvo;

  auto consulta = Rodar<TUlmoDPConsultaSfingeOnlineDadosEnviados>({{"pCodigoSistemaTCE", "1"},
                                                                   {"pCodigoEmpresa", "1"},
                                                                   {"pCompetenciaInicial", "01/01/2024"},
                                                                   {"pCompetenciaFinal", "31/12/2024"},
                                                                   {"pUsuario", "usuario"},
                                                                   {"pSenha", "senha"},
                                                                   {"pUnidadeGestora", "UG1"}});
  auto& recibos = consulta->nClientDataSet();
  std::map<int, std::pair<std::string, std::string>> lista;  // LOTE -> (status shown, receipt)
  auto listar = [&] {
    lista.clear();
    for (recibos.First(); !recibos.Eof(); recibos.Next())
      lista[recibos.FieldByName("LOTE").AsInteger()] = {Mostrado(recibos.FieldByName("STATUS")),
                                                        recibos.FieldByName("CODIGOREGISTROINFORMACAO").AsString()};
  };
  listar();
  using TLista = std::map<int, std::pair<std::string, std::string>>;
  EXPECT_EQ(lista, (TLista{{202401, {"Finalizado", pacotes[0].Recibo}}, {202403, {"Finalizado", pacotes[1].Recibo}}}));

  ASSERT_EQ(Marcar(recibos, "LOTE = 202403"), 1);
  ASSERT_TRUE(consulta->ExecutarAcao("ActCancelarRemessa"));
  ASSERT_EQ(Mensagens(*consulta).size(), 1u);
  EXPECT_EQ(Mensagens(*consulta)[0].rfind("OK Lote cancelado com sucesso (Data: 01/03/2024 - Seq: 1 - Recibo: " +
                                              pacotes[1].Recibo + ")",
                                          0),
            0u)
      << Mensagens(*consulta)[0];
  listar();
  EXPECT_EQ(lista, (TLista{{202401, {"Finalizado", pacotes[0].Recibo}}, {202403, {"Cancelado", pacotes[1].Recibo}}}));
  EXPECT_EQ(FCorte.Pacotes()[1].Estado, "cancelado");
  EXPECT_EQ(FCorte.Pacotes()[0].Estado, "finalizado");

  // Cancelled, the package cannot be cancelled again: ticking it alone says so and calls nothing.
  const size_t chamadas = FCorte.Chamadas().size();
  ASSERT_EQ(Marcar(recibos, "LOTE = 202403"), 1);
  ASSERT_TRUE(consulta->ExecutarAcao("ActCancelarRemessa"));
  EXPECT_EQ(Mensagens(*consulta), (std::vector<std::string>{"ERRO Nenhum lote finalizado marcado para cancelamento: "
                                                             "os lotes marcados já estão cancelados."}));
  EXPECT_EQ(FCorte.Chamadas().size(), chamadas);
}

}  // namespace
