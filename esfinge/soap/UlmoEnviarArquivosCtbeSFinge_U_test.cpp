#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "Configuracao_U.h"
#include "Dialogo_U.h"
#include "Exceptions_U.h"
#include "FakeEsfingeSoap_U.h"
#include "FakeServidorHTTP_U.h"
#include "FormatUtils_U.h"
#include "HTTP_U.h"
#include "SoapTransporte_U.h"
#include "UlmoEnviarArquivosCtbeSFingeFuncoes_U.h"
#include "UlmoEnviarArquivosCtbeSFinge_U.h"

using namespace nUlmoEsfingeSoap;
using namespace nFramework;

namespace {

using nUlmoEsfingeTeste::TFakeTribunal;

class TRespostaFixa : public IDialogoService {
 public:
  explicit TRespostaFixa(int aResposta) : FResposta(aResposta) {}
  int Perguntar(const TnDialogo& aDialogo) override {
    Perguntas.push_back(aDialogo);
    return FResposta;
  }
  std::vector<TnDialogo> Perguntas;

 private:
  int FResposta;
};

std::unique_ptr<TClientDataSet> NovasContas() {
  auto ds = std::make_unique<TClientDataSet>();
  ds->AddFieldDef("Enviar", TFieldType::ftInteger);
  ds->AddFieldDef("DataInicioPlanoTCE", TFieldType::ftDate);
  ds->AddFieldDef("CodigoConta", TFieldType::ftString, 50);
  ds->AddFieldDef("NomeConta", TFieldType::ftString, 100);
  ds->AddFieldDef("TipoContaContabil", TFieldType::ftInteger);
  ds->AddFieldDef("DescricaoConta", TFieldType::ftString, 255);
  ds->AddFieldDef("IndicativoContaAnalitica", TFieldType::ftString, 1);
  ds->AddFieldDef("NumeroNivel", TFieldType::ftInteger);
  ds->AddFieldDef("TipoNaturezaSaldo", TFieldType::ftInteger);
  ds->AddFieldDef("CodigoContaSintetica", TFieldType::ftString, 50);
  ds->AddFieldDef("CodigoBanco", TFieldType::ftInteger);
  ds->AddFieldDef("CodigoAgenciaBancaria", TFieldType::ftInteger);
  ds->AddFieldDef("CodigoContaBancaria", TFieldType::ftString, 10);
  ds->CreateDataSet();
  return ds;
}

void AddConta(TClientDataSet& ds, TDateTime aInicio, const std::string& aCodigo, const std::string& aDescricao = {},
              int aBanco = 0) {
  ds.Append();
  ds.FieldByName("Enviar").SetAsInteger(1);
  ds.FieldByName("DataInicioPlanoTCE").SetAsDateTime(aInicio);
  ds.FieldByName("CodigoConta").SetAsString(aCodigo);
  ds.FieldByName("NomeConta").SetAsString("Conta " + aCodigo);
  ds.FieldByName("TipoContaContabil").SetAsInteger(2);
  ds.FieldByName("DescricaoConta").SetAsString(aDescricao);
  ds.FieldByName("IndicativoContaAnalitica").SetAsString("S");
  ds.FieldByName("NumeroNivel").SetAsInteger(7);
  ds.FieldByName("TipoNaturezaSaldo").SetAsInteger(1);
  ds.FieldByName("CodigoContaSintetica").SetAsString("");
  ds.FieldByName("CodigoBanco").SetAsInteger(aBanco);
  ds.FieldByName("CodigoAgenciaBancaria").SetAsInteger(0);
  ds.FieldByName("CodigoContaBancaria").SetAsString("");
  ds.Post();
}

std::string Codigo(int i) {
  char b[16];
  std::snprintf(b, sizeof b, "1.%05d", i);
  return b;
}

std::unique_ptr<TClientDataSet> NovosLancamentos() {
  auto ds = std::make_unique<TClientDataSet>();
  ds->AddFieldDef("Enviar", TFieldType::ftInteger);
  ds->AddFieldDef("NumeroSlip", TFieldType::ftString, 16);
  ds->AddFieldDef("NumeroSequencial", TFieldType::ftInteger);
  ds->AddFieldDef("TipoLancamento", TFieldType::ftInteger);
  ds->AddFieldDef("TipoMovimentoContabil", TFieldType::ftInteger);
  ds->AddFieldDef("AnoCriacaoConta", TFieldType::ftInteger);
  ds->AddFieldDef("CodigoContaContabil", TFieldType::ftString, 50);
  ds->AddFieldDef("ValorLancamento", TFieldType::ftFloat);
  ds->AddFieldDef("HistoricoLancamento", TFieldType::ftString, 150);
  ds->AddFieldDef("DataLancamento", TFieldType::ftDateTime);
  ds->CreateDataSet();
  return ds;
}

void AddLancamento(TClientDataSet& ds, TDateTime aData, int aSeq, double aValor, const std::string& aHist = "Hist") {
  ds.Append();
  ds.FieldByName("Enviar").SetAsInteger(1);
  ds.FieldByName("NumeroSlip").SetAsString("S" + std::to_string(aSeq));
  ds.FieldByName("NumeroSequencial").SetAsInteger(aSeq);
  ds.FieldByName("TipoLancamento").SetAsInteger(1);
  ds.FieldByName("TipoMovimentoContabil").SetAsInteger(2);
  ds.FieldByName("AnoCriacaoConta").SetAsInteger(2020);
  ds.FieldByName("CodigoContaContabil").SetAsString("111" + std::to_string(aSeq));
  ds.FieldByName("ValorLancamento").SetAsFloat(aValor);
  ds.FieldByName("HistoricoLancamento").SetAsString(aHist);
  ds.FieldByName("DataLancamento").SetAsDateTime(aData);
  ds.Post();
}

class EsfingeSoap : public ::testing::Test {
 protected:
  void SetUp() override {
    RestaurarConfiguracao();
    nConfig().SetValor(ChaveProtocolo, "http");
    nConfig().SetValor(ChaveHostProducao, "127.0.0.1:" + std::to_string(FTribunal.Porta()));
    nConfig().SetValor(ChaveHostHomologacao, "homolog.invalid");
    FArvore = std::make_shared<TnMsgTreeLista>();
    FSender = std::make_unique<TUlmoEnviarArquivosCtbeSFinge>("usuario", "s&nha<1>", "1234");
    FSender->SetMsgTreeLista(FArvore);
  }
  void TearDown() override {
    FSender.reset();
    ControleMensagem().SetFraListaMensagemTree(nullptr);
    SetDialogoService(nullptr);
    RestaurarConfiguracao();
  }
  // Texts of the warnings under a group node.
  std::vector<std::string> Avisos(const std::string& aGrupo) {
    std::vector<std::string> r;
    if (auto* n = FArvore->EncontrarNode(aGrupo))
      for (const auto& f : n->Filhos) r.push_back(f->Texto);
    return r;
  }
  std::string Erro(const std::function<void()>& aAcao) {
    try {
      aAcao();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "(sem erro)";
  }

  TFakeTribunal FTribunal;
  std::shared_ptr<TnMsgTreeLista> FArvore;
  std::unique_ptr<TUlmoEnviarArquivosCtbeSFinge> FSender;
};

const std::vector<std::string> Ciclo(const std::string& aDados, const std::string& aFim = "finalizarTransferencia") {
  return {"obterToken", "obterSituacaoToken", "iniciarTransferencia", aDados, aFim};
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> aPartes) {
  std::vector<std::string> r;
  for (const auto& p : aPartes) r.insert(r.end(), p.begin(), p.end());
  return r;
}

}  // namespace

TEST_F(EsfingeSoap, AddressesFollowHomologationAndInternalUse) {
  nConfig().SetValor(ChaveProtocolo, "https");
  nConfig().SetValor(ChaveHostProducao, "prod.example");
  EXPECT_EQ(TnEnviarArqEsfingeSoapFuncoes::GetURLToken(), "https://prod.example/esfinge/services/tokenWS");
  EXPECT_EQ(TnEnviarArqEsfingeSoapFuncoes::GetURLEnviarContasContabeis(),
            "https://prod.example/esfinge/services/contaContabilWS");
  EXPECT_EQ(TnEnviarArqEsfingeSoapFuncoes::GetURLEnviarLancamentos(),
            "https://prod.example/esfinge/services/lancamentoContabilWS");
  nConfig().Homologacao = true;
  EXPECT_EQ(TnEnviarArqEsfingeSoapFuncoes::GetURLToken(), "https://homolog.invalid/esfinge/services/tokenWS");
  nConfig().Homologacao = false;
  nConfig().UsoInterno = true;
  EXPECT_EQ(TnEnviarArqEsfingeSoapFuncoes::GetURLCancelarTransferencia(),
            "https://homolog.invalid/esfinge/services/tokenWS");
}

TEST_F(EsfingeSoap, TokenEnvelopeHasHeaderBodyAndOneServicePrefix) {
  std::string env = FSender->EnvelopeObterToken();
  nConfig().SetValor(ChaveNamespaceToken, "http://tok.example/");
  env = FSender->EnvelopeObterToken();
  EXPECT_EQ(env,
            "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
            "xmlns:tok=\"http://tok.example/\"><soapenv:Header><wsse:Security soapenv:mustUnderstand=\"1\" "
            "xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd\" "
            "xmlns:wsu=\"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd\">"
            "<wsse:UsernameToken><wsse:Username>usuario</wsse:Username><wsse:Password "
            "Type=\"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-username-token-profile-1.0#PasswordText\">"
            "s&amp;nha&lt;1&gt;</wsse:Password></wsse:UsernameToken></wsse:Security></soapenv:Header>"
            "<soapenv:Body><tok:obterToken><codigoUg>1234</codigoUg></tok:obterToken></soapenv:Body>"
            "</soapenv:Envelope>");
  pugi::xml_document doc;
  EXPECT_TRUE(doc.load_string(env.c_str()));  // a password with "&" and "<" no longer breaks it
}

TEST_F(EsfingeSoap, DataEnvelopePrefixesOnlyTheRoot) {
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 3, 1), "1.1", "A <b> & c");
  auto docs = FSender->MontarDocumentosContas(*contas);
  ASSERT_EQ(docs.size(), 1u);
  std::string env = FSender->EnvelopeContas(docs[0]);
  auto conta = [&](const std::string& s) {
    size_t n = 0;
    for (size_t p = env.find(s); p != std::string::npos; p = env.find(s, p + 1)) ++n;
    return n;
  };
  EXPECT_EQ(conta("<con:enviar>"), 1u);
  EXPECT_EQ(conta("</con:enviar>"), 1u);
  EXPECT_EQ(conta("<enviar"), 0u);
  EXPECT_NE(env.find("<soapenv:Body><con:enviar><chaveToken></chaveToken><competencia>202102</competencia>"
                     "<contaContabil><idRetorno>1</idRetorno>"),
            std::string::npos);
  EXPECT_NE(env.find("xmlns:con=\""), std::string::npos);
  EXPECT_EQ(env.find("xmlns:tok"), std::string::npos);
  pugi::xml_document doc;
  EXPECT_TRUE(doc.load_string(env.c_str()));
}

TEST_F(EsfingeSoap, AccountWithoutOptionalValuesHasEightElements) {
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 1, 10), "1.1");
  AddConta(*contas, EncodeDate(2021, 1, 10), "1.2", "Descr", 1);
  auto docs = FSender->MontarDocumentosContas(*contas);
  ASSERT_EQ(docs.size(), 1u);
  EXPECT_EQ(docs[0].Xml(),
            "<enviar><chaveToken>null</chaveToken><competencia>202101</competencia><contaContabil>"
            "<idRetorno>1</idRetorno><dataAnoCriacao>2021</dataAnoCriacao><codigoConta>1.1</codigoConta>"
            "<tipoContaContabil>2</tipoContaContabil><nomeConta>Conta 1.1</nomeConta>"
            "<indicativoContaAnalitica>S</indicativoContaAnalitica><numeroNivel>7</numeroNivel>"
            "<tipoNaturezaSaldo>1</tipoNaturezaSaldo></contaContabil><contaContabil><idRetorno>2</idRetorno>"
            "<dataAnoCriacao>2021</dataAnoCriacao><codigoConta>1.2</codigoConta><tipoContaContabil>2"
            "</tipoContaContabil><nomeConta>Conta 1.2</nomeConta><indicativoContaAnalitica>S"
            "</indicativoContaAnalitica><numeroNivel>7</numeroNivel><tipoNaturezaSaldo>1</tipoNaturezaSaldo>"
            "<descricaoConta>Descr</descricaoConta><codigoBanco>1</codigoBanco></contaContabil></enviar>");
}

TEST_F(EsfingeSoap, EntryValueAndDateFormatsIgnoreTheLocale) {
  auto lctos = NovosLancamentos();
  AddLancamento(*lctos, EncodeDate(2021, 1, 5) + 0.5, 1, 1234.5);
  auto salvo = FormatSettings;
  for (char sep : {',', '.'}) {
    FormatSettings.DecimalSeparator = sep;
    FormatSettings.ThousandSeparator = sep == ',' ? '.' : ',';
    auto docs = FSender->MontarDocumentosLancamentos(*lctos);
    ASSERT_EQ(docs.size(), 1u);
    auto item = docs[0].GetLancamentoContabil()[0];
    EXPECT_EQ(item.GetValorLancamento(), "1234.50") << sep;
    EXPECT_EQ(item.GetDataLancamento(), "2021-01-05");
    EXPECT_EQ(docs[0].Xml(),
              "<enviar><chaveToken>null</chaveToken><competencia>202101</competencia><lancamentoContabil>"
              "<idRetorno>1</idRetorno><numeroSlip>S1</numeroSlip><numeroSequencial>1</numeroSequencial>"
              "<tipoLancamento>1</tipoLancamento><tipoMovimentoContabil>2</tipoMovimentoContabil>"
              "<anoCriacaoConta>2020</anoCriacaoConta><codigoContaContabil>1111</codigoContaContabil>"
              "<dataLancamento>2021-01-05</dataLancamento><valorLancamento>1234.50</valorLancamento>"
              "<historicoLancamento>Hist</historicoLancamento></lancamentoContabil></enviar>");
  }
  FormatSettings = salvo;
}

TEST_F(EsfingeSoap, CompetenciaIsTheTwoMonthPeriod) {
  EXPECT_EQ(TUlmoEnviarArquivosCtbeSFinge::PegarCompetencia(EncodeDate(2021, 3, 15)), 202102);
  EXPECT_EQ(TUlmoEnviarArquivosCtbeSFinge::PegarCompetencia(EncodeDate(2021, 8, 31)), 202104);
  EXPECT_EQ(TUlmoEnviarArquivosCtbeSFinge::PegarCompetencia(EncodeDate(2021, 9, 1)), 202105);
  EXPECT_EQ(TUlmoEnviarArquivosCtbeSFinge::PegarCompetencia(EncodeDate(2021, 1, 1)), 202101);
  EXPECT_EQ(TUlmoEnviarArquivosCtbeSFinge::PegarCompetencia(EncodeDate(2021, 12, 31)), 202106);
}

TEST_F(EsfingeSoap, DocumentsHoldAtMost5000ItemsOfOnePeriod) {
  auto contas = NovasContas();
  for (int i = 0; i < 5001; ++i) AddConta(*contas, EncodeDate(2021, 1, 1), Codigo(i));
  auto docs = FSender->MontarDocumentosContas(*contas);
  ASSERT_EQ(docs.size(), 2u);
  auto l0 = docs[0].GetContaContabil();
  EXPECT_EQ(l0.Count(), 5000);
  EXPECT_EQ(l0[0].GetIdRetorno(), 1);
  EXPECT_EQ(l0[4999].GetIdRetorno(), 5000);
  ASSERT_EQ(docs[1].GetContaContabil().Count(), 1);
  EXPECT_EQ(docs[1].GetContaContabil()[0].GetIdRetorno(), 1);
  EXPECT_EQ(docs[1].GetCompetencia(), 202101);

  contas->EmptyDataSet();
  for (int i = 0; i < 5000; ++i) AddConta(*contas, EncodeDate(2021, 2, 1), Codigo(i));
  EXPECT_EQ(FSender->MontarDocumentosContas(*contas).size(), 1u);
}

TEST_F(EsfingeSoap, PeriodChangesCloseDocuments) {
  // Accounts are sorted by chart start, so two charts make two documents however they come.
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 5, 1), "2");
  AddConta(*contas, EncodeDate(2021, 1, 1), "1");
  AddConta(*contas, EncodeDate(2021, 5, 1), "3");
  auto docs = FSender->MontarDocumentosContas(*contas);
  ASSERT_EQ(docs.size(), 2u);
  EXPECT_EQ(docs[0].GetCompetencia(), 202101);
  EXPECT_EQ(docs[1].GetCompetencia(), 202103);
  EXPECT_EQ(docs[1].GetContaContabil().Count(), 2);
  EXPECT_EQ(contas->IndexFieldNames(), "DATAINICIOPLANOTCE;CODIGOCONTA");

  // Entries keep their order: every change between neighbours closes a document.
  auto lctos = NovosLancamentos();
  AddLancamento(*lctos, EncodeDate(2021, 8, 31), 1, 1);
  AddLancamento(*lctos, EncodeDate(2021, 9, 1), 2, 1);
  AddLancamento(*lctos, EncodeDate(2021, 8, 1), 3, 1);
  AddLancamento(*lctos, EncodeDate(2021, 7, 1), 4, 1);
  auto ld = FSender->MontarDocumentosLancamentos(*lctos);
  ASSERT_EQ(ld.size(), 3u);
  EXPECT_EQ(ld[0].GetCompetencia(), 202104);
  EXPECT_EQ(ld[1].GetCompetencia(), 202105);
  EXPECT_EQ(ld[2].GetCompetencia(), 202104);
  EXPECT_EQ(ld[2].GetLancamentoContabil().Count(), 2);
}

TEST_F(EsfingeSoap, MissingColumnIsReportedNotCrashed) {
  TClientDataSet ds;
  ds.AddFieldDef("CodigoConta", TFieldType::ftString, 10);
  ds.CreateDataSet();
  ds.AppendRecord({"1"});
  EXPECT_EQ(Erro([&] { FSender->EnviarInformacoesContasWB(ds); }),
            "Erro interno: Coluna DATAINICIOPLANOTCE ausente no conjunto de dados");
  EXPECT_TRUE(FTribunal.Requisicoes().empty());
}

TEST_F(EsfingeSoap, SendsEachDocumentInItsOwnTransferCycle) {
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 1, 1), "1");
  AddConta(*contas, EncodeDate(2021, 3, 1), "2");
  auto lctos = NovosLancamentos();
  AddLancamento(*lctos, EncodeDate(2021, 1, 5), 7, 10.25);
  FSender->EnviarInformacoesContasWB(*contas);
  FSender->EnviarInformacoesLancamentosWB(*lctos);

  EXPECT_EQ(FTribunal.Operacoes(), Concat({Ciclo("contas"), Ciclo("contas"), Ciclo("lancamentos")}));
  auto reqs = FTribunal.Requisicoes();
  std::vector<std::string> caminhos;
  for (const auto& r : reqs) caminhos.push_back(r.Caminho);
  EXPECT_EQ(caminhos[0], "/esfinge/services/tokenWS");
  EXPECT_EQ(caminhos[3], "/esfinge/services/contaContabilWS");
  EXPECT_EQ(caminhos[13], "/esfinge/services/lancamentoContabilWS");
  for (const auto& r : reqs) {
    EXPECT_EQ(r.ContentType, "text/xml; charset=UTF-8");
    EXPECT_EQ(r.UserAgent.rfind("Mozilla/5.0 (Windows NT 10.0; Win64; x64)", 0), 0u);
    EXPECT_NE(r.AcceptEncoding.find("gzip"), std::string::npos);
    EXPECT_FALSE(r.SoapAction);
    EXPECT_NE(r.Corpo.find("<wsse:Username>usuario</wsse:Username>"), std::string::npos);
  }
  // A fresh token per document, used by every later call of its cycle.
  EXPECT_NE(reqs[1].Corpo.find("<chaveToken>" + TFakeTribunal::Token(1) + "</chaveToken>"), std::string::npos);
  EXPECT_NE(reqs[3].Corpo.find("<chaveToken>" + TFakeTribunal::Token(1) + "</chaveToken>"), std::string::npos);
  EXPECT_NE(reqs[9].Corpo.find("<chaveToken>" + TFakeTribunal::Token(2) + "</chaveToken>"), std::string::npos);
  EXPECT_NE(reqs[13].Corpo.find("<valorLancamento>10.25</valorLancamento>"), std::string::npos);
  EXPECT_EQ(FSender->Token(), TFakeTribunal::Token(3));
  EXPECT_NE(reqs[4].Corpo.find("</soapenv:Header><soapenv:Body><tok:finalizarTransferencia><chaveToken>" +
                               TFakeTribunal::Token(1) +
                               "</chaveToken></tok:finalizarTransferencia></soapenv:Body></soapenv:Envelope>"),
            std::string::npos);

  ASSERT_EQ(FArvore->Raizes().size(), 2u);
  EXPECT_EQ(FArvore->Raizes()[0]->Texto, "Contas Contábeis enviadas com sucesso!");
  EXPECT_EQ(FArvore->Raizes()[0]->Tipo, tmConfirmacao);
  EXPECT_EQ(FArvore->Raizes()[1]->Texto, "Lançamentos enviados com sucesso!");
  EXPECT_TRUE(FSender->Progresso().Circular());
  EXPECT_TRUE(FSender->Progresso().Cancelavel());
}

TEST_F(EsfingeSoap, EmptyAccountsSendOnlyTheEntries) {
  auto contas = NovasContas();
  auto lctos = NovosLancamentos();
  AddLancamento(*lctos, EncodeDate(2021, 1, 5), 1, 1);
  FSender->EnviarInformacoesContasWB(*contas);
  FSender->EnviarInformacoesLancamentosWB(*lctos);
  EXPECT_EQ(FTribunal.Operacoes(), Ciclo("lancamentos"));
  ASSERT_EQ(FArvore->Raizes().size(), 1u);
  EXPECT_EQ(FArvore->Raizes()[0]->Texto, "Lançamentos enviados com sucesso!");
}

TEST_F(EsfingeSoap, RejectedItemsBecomeWarningsAndTheDocumentIsFinished) {
  auto lctos = NovosLancamentos();
  for (int i = 1; i <= 3; ++i) AddLancamento(*lctos, EncodeDate(2021, 1, 5), 10 + i, 1);
  FTribunal.Responder("lancamentos", 200,
                      "<S:Envelope xmlns:S=\"s\"><S:Body><ns2:r xmlns:ns2=\"n\"><return><status>OK</status>"
                      "<ns2:dados><entry><key>3</key><value><codigo>12</codigo><mensagem>Conta inexistente</mensagem>"
                      "</value></entry><entry><key>1</key><value><codigo>0</codigo><mensagem>ok</mensagem></value>"
                      "</entry><entry><key>2</key><value><codigo>x</codigo><mensagem>?</mensagem></value></entry>"
                      "<entry><key>9</key><value><codigo>5</codigo><mensagem>sem item</mensagem></value></entry>"
                      "</ns2:dados></return></ns2:r></S:Body></S:Envelope>");
  FSender->EnviarInformacoesLancamentosWB(*lctos);
  EXPECT_EQ(FTribunal.Operacoes(), Ciclo("lancamentos"));
  EXPECT_EQ(Avisos("LANCAMENTOS"),
            std::vector<std::string>{" Lançamento: 13 Conta: 11113 Retorno: 12 - Conta inexistente"});
  EXPECT_EQ(FArvore->EncontrarNode("LANCAMENTOS")->Texto, "Lançamentos com falha no envio");
}

// The court writes its reply on one line: the run's error is the first message alone.
TEST_F(EsfingeSoap, RejectedAccountsNameTheirCodeAndTheErrorKeepsOnlyTheFirstMessage) {
  auto contas = NovasContas();
  for (int i = 0; i < 3; ++i) AddConta(*contas, EncodeDate(2021, 1, 1), Codigo(i));
  FTribunal.Responder("contas", 200,
                      "<return><status>ERRO</status><mensagem>Itens com erro</mensagem><dados>"
                      "<e><key>2</key><value><codigo>7</codigo><mensagem>Nível inválido</mensagem></value></e>"
                      "<e><key>1</key><value><codigo>3</codigo><mensagem>Nome vazio</mensagem></value></e>"
                      "</dados></return>");
  EXPECT_EQ(Erro([&] { FSender->EnviarInformacoesContasWB(*contas); }),
            "Erro ao enviar Contas Contábeis! \r\nItens com erro");
  EXPECT_EQ(Avisos("CONTAS"), (std::vector<std::string>{" Conta: 1.00001 Retorno: 7 - Nível inválido",
                                                        " Conta: 1.00000 Retorno: 3 - Nome vazio"}));
  EXPECT_EQ(FArvore->EncontrarNode("CONTAS")->Texto, "Contas com falha no envio");
}

TEST_F(EsfingeSoap, UnreadableReplyWarnsAndCycleGoesOn) {
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 1, 1), "1");
  FTribunal.Responder("contas", 200, "<status>OK</status> sem xml <");
  FSender->EnviarInformacoesContasWB(*contas);
  EXPECT_EQ(FTribunal.Operacoes(), Ciclo("contas"));
  auto avisos = Avisos("ERROS");
  ASSERT_EQ(avisos.size(), 1u);
  EXPECT_EQ(avisos[0].rfind("Erro ao recuperar mensagens de retorno: ", 0), 0u);
  EXPECT_EQ(FArvore->EncontrarNode("ERROS")->Texto, "Erros na recuperação dos retornos");
}

// A reply that says neither OK nor ERRO leaves the court with a cancelled transfer: that
// document was not sent, whatever the rest of the run does.
TEST_F(EsfingeSoap, DataReplyWithNeitherStatusIsAnErrorAfterTheCancelNotASuccess) {
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 1, 1), "1");
  AddConta(*contas, EncodeDate(2021, 3, 1), "2");
  FTribunal.Responder("contas", 200, "<return/>");
  EXPECT_EQ(Erro([&] { FSender->EnviarInformacoesContasWB(*contas); }),
            "Erro ao enviar Contas Contábeis! \r\nO e-Sfinge não informou a situação do envio (status OK ou ERRO) do "
            "documento da competência 202101 (1 item); a transferência foi cancelada.");
  EXPECT_EQ(FTribunal.Operacoes(), Ciclo("contas", "cancelarTransferencia"));
  EXPECT_TRUE(FArvore->Raizes().empty());

  auto lctos = NovosLancamentos();
  AddLancamento(*lctos, EncodeDate(2021, 1, 5), 1, 1);
  FTribunal.Responder("lancamentos", 200, "<status>ok</status> <");
  EXPECT_EQ(Erro([&] { FSender->EnviarInformacoesLancamentosWB(*lctos); }),
            "Erro ao enviar Lançamentos! \r\nO e-Sfinge não informou a situação do envio (status OK ou ERRO) do "
            "documento da competência 202101 (1 item); a transferência foi cancelada.");
  for (const auto& n : FArvore->Raizes()) EXPECT_NE(n->Tipo, tmConfirmacao) << n->Texto;
}

// Several company accounts mapped to one court account: the court gets that account once, with
// the data of the first; the user is told when the others carried different data.
TEST_F(EsfingeSoap, CourtAccountOfSeveralCompanyAccountsGoesOnce) {
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 1, 1), "1", "Caixa", 1);
  AddConta(*contas, EncodeDate(2021, 1, 1), "1", "Caixa", 1);
  AddConta(*contas, EncodeDate(2021, 3, 1), "1", "Caixa", 2);
  AddConta(*contas, EncodeDate(2021, 1, 20), "2");
  AddConta(*contas, EncodeDate(2020, 12, 1), "2");
  auto docs = FSender->MontarDocumentosContas(*contas);
  std::vector<std::string> itens;
  for (const auto& d : docs)
    for (int i = 0; i < d.GetContaContabil().Count(); ++i)
      itens.push_back(std::to_string(d.GetCompetencia()) + " " + d.GetContaContabil()[i].GetCodigoConta() + " " +
                      std::to_string(d.GetContaContabil()[i].GetIdRetorno()));
  EXPECT_EQ(itens, (std::vector<std::string>{"202006 2 1", "202101 1 1", "202101 2 2"}));
  EXPECT_EQ(contas->RecordCount(), 5);
  EXPECT_EQ(Avisos("CONTASTCEREPETIDAS"),
            std::vector<std::string>{" Conta TCE 1 (2021): enviada uma vez, com os dados da primeira conta contábil "
                                     "que a usa; as demais têm outros dados (descrição, natureza ou dados bancários), "
                                     "que não foram enviados."});

  FSender->EnviarInformacoesContasWB(*contas);
  EXPECT_EQ(FTribunal.Operacoes(), Concat({Ciclo("contas"), Ciclo("contas")}));
  EXPECT_EQ(FTribunal.Requisicoes()[8].Corpo.find("<codigoConta>1</codigoConta>"),
            FTribunal.Requisicoes()[8].Corpo.rfind("<codigoConta>1</codigoConta>"));
}

TEST_F(EsfingeSoap, CredentialsNeverGoOverPlainHttpToAnotherMachine) {
  nConfig().SetValor(ChaveHostProducao, "192.0.2.1");
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 1, 1), "1");
  EXPECT_EQ(Erro([&] { FSender->EnviarInformacoesContasWB(*contas); }),
            "Erro ao enviar Contas Contábeis! \r\nEndereço recusado: http://192.0.2.1 não usa https://, e a chamada "
            "levaria usuário, senha ou token sem criptografia. Use https:// (http:// só é aceito para este computador: "
            "127.0.0.1, ::1 ou localhost).");
  std::string erro = Erro([] { PostarSOAP("file:///etc/passwd", "<a/>"); });
  EXPECT_EQ(erro.rfind("Endereço recusado: file://", 0), 0u) << erro;
}

TEST_F(EsfingeSoap, ExtraAuthorityAndTimeoutsComeFromTheConfiguration) {
  TFakeServidorHTTP tls(true);
  tls.Responder(200, "<ok/>");
  std::string erro = Erro([&] { PostarSOAP(tls.Url() + "/esfinge/services/tokenWS", "<a/>"); });
  EXPECT_NE(erro.find("o certificado do servidor não foi aceito"), std::string::npos) << erro;
  nConfig().SetValor(ChaveCaExtra, tls.CaArquivo());
  EXPECT_EQ(PostarSOAP(tls.Url() + "/esfinge/services/tokenWS", "<a/>"), "<ok/>");
  nConfig().SetValor(ChaveTimeoutConexao, "0");
  EXPECT_EQ(Erro([&] { PostarSOAP(tls.Url() + "/x", "<a/>"); }),
            "Configuração inválida: esfinge.soap_timeout_conexao deve ser um número inteiro de segundos de 1 a 86400, e "
            "não \"0\".");
}

TEST_F(EsfingeSoap, ErrorStatusCancelsThenRaisesTheCourtsMessage) {
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 1, 1), "1");
  AddConta(*contas, EncodeDate(2021, 3, 1), "2");
  auto lctos = NovosLancamentos();
  AddLancamento(*lctos, EncodeDate(2021, 1, 5), 1, 1);
  FTribunal.Responder("contas", 200, "<return><status>ERRO</status><mensagem>Competência fechada</mensagem></return>");
  EXPECT_EQ(Erro([&] {
              FSender->EnviarInformacoesContasWB(*contas);
              FSender->EnviarInformacoesLancamentosWB(*lctos);
            }),
            "Erro ao enviar Contas Contábeis! \r\nCompetência fechada");
  EXPECT_EQ(FTribunal.Operacoes(), Ciclo("contas", "cancelarTransferencia"));
  EXPECT_TRUE(FArvore->Raizes().empty());
}

TEST_F(EsfingeSoap, TokenSituationStartAndFinishFailures) {
  auto lctos = NovosLancamentos();
  AddLancamento(*lctos, EncodeDate(2021, 1, 5), 1, 1);
  auto enviar = [&] { FSender->EnviarInformacoesLancamentosWB(*lctos); };

  FTribunal.Responder("obterToken", 200, "<return>\n<mensagem>Unidade gestora sem permissão</mensagem></return>\n");
  EXPECT_EQ(Erro(enviar), "Erro ao enviar Lançamentos! \r\nErro ao recuperar Token! Unidade gestora sem permissão");

  FTribunal.Responder("obterSituacaoToken", 200, "<mensagem>Token expirado</mensagem>");
  EXPECT_EQ(Erro(enviar), "Erro ao enviar Lançamentos! \r\nErro ao Inciar Transferência!");

  FTribunal.Responder("iniciarTransferencia", 200, "<mensagem>Transferência em andamento</mensagem>");
  EXPECT_EQ(Erro(enviar), "Erro ao enviar Lançamentos! \r\nErro ao Inciar Transferência!");

  FTribunal.Responder("finalizarTransferencia", 200, "<mensagem>Falhou</mensagem>");
  EXPECT_EQ(Erro(enviar), "Erro ao enviar Lançamentos! \r\nErro ao Finalizar Transferência!<mensagem>Falhou</mensagem>");

  EXPECT_EQ(FTribunal.Operacoes(),
            Concat({{"obterToken"},
                    {"obterToken", "obterSituacaoToken"},
                    {"obterToken", "obterSituacaoToken", "iniciarTransferencia"},
                    Ciclo("lancamentos")}));
}

TEST_F(EsfingeSoap, HttpErrorStatusesGiveTheirMessages) {
  auto lctos = NovosLancamentos();
  AddLancamento(*lctos, EncodeDate(2021, 1, 5), 1, 1);
  auto enviar = [&] { FSender->EnviarInformacoesLancamentosWB(*lctos); };
  FTribunal.Responder("obterToken", 500,
                      "<soap:Fault><faultstring>The security token could not be authenticated or authorized"
                      "</faultstring></soap:Fault>");
  EXPECT_EQ(Erro(enviar), "Erro ao enviar Lançamentos! \r\nUsuário ou Senha Inválidos!");
  FTribunal.Responder("obterToken", 500, "<soap:Fault>outra</soap:Fault>");
  EXPECT_EQ(Erro(enviar), "Erro ao enviar Lançamentos! \r\nProblema ao enviar mensagem SOAP!\r\n<soap:Fault>outra</soap:Fault>");
}

TEST_F(EsfingeSoap, TransportFailuresPassThrough) {
  // Nothing listens on the discard port: a connection failure, not an HTTP error.
  std::string erro = Erro([] { PostarSOAP("http://127.0.0.1:9/x", "<a/>"); });
  EXPECT_EQ(erro.find("Problema ao enviar"), std::string::npos);
  EXPECT_NE(erro.find("127.0.0.1:9"), std::string::npos);

  // A reply that never comes is dropped after the read time-out.
  nConfig().SetValor(ChaveTimeoutLeitura, "1");
  FTribunal.Antes([] { std::this_thread::sleep_for(std::chrono::milliseconds(3500)); });
  auto inicio = std::chrono::steady_clock::now();
  erro = Erro([] { PostarSOAP(TnEnviarArqEsfingeSoapFuncoes::GetURLToken(), "<tok:obterToken>"); });
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::milliseconds(3400));
  EXPECT_NE(erro, "(sem erro)");
  FTribunal.Antes(nullptr);
}

// A reply of any size was read whole and a fault's body went whole into the message.
TEST_F(EsfingeSoap, SoapReplyPastTheSizeLimitWasReadWholeAndDumpedIntoTheMessage) {
  auto lctos = NovosLancamentos();
  AddLancamento(*lctos, EncodeDate(2021, 1, 5), 1, 1);
  FTribunal.Responder("obterToken", 200, "<r>" + std::string(nFramework::MaxCorpoResposta, 'x') + "</r>");
  EXPECT_EQ(Erro([&] { FSender->EnviarInformacoesLancamentosWB(*lctos); }),
            "Erro ao enviar Lançamentos! \r\nResposta do e-Sfinge ao pedido de token recusada: passa de 32 MB, o limite "
            "de uma resposta.");
  const std::string falha = "<soap:Fault>" + std::string(5000, 'y') + "</soap:Fault>";
  FTribunal.Responder("obterToken", 500, falha);
  EXPECT_EQ(Erro([&] { FSender->EnviarInformacoesLancamentosWB(*lctos); }),
            "Erro ao enviar Lançamentos! \r\nProblema ao enviar mensagem SOAP!\r\n" + falha.substr(0, 2000) +
                "… (resposta de 5025 bytes, cortada)");
  // The cut falls inside the "ç" and keeps the character whole.
  FTribunal.Responder("finalizarTransferencia", 200, "<mensagem>" + std::string(1989, 'z') + "ção</mensagem>");
  const std::string fim = "z… (resposta de 2015 bytes, cortada)";
  std::string erro = Erro([&] { FSender->EnviarInformacoesLancamentosWB(*lctos); });
  EXPECT_EQ(erro.substr(erro.size() - fim.size()), fim);
}

// Nothing of ours walks a reply's tree recursively: a data reply nested a million levels deep
// is read like any other, without a crash.
TEST_F(EsfingeSoap, DeeplyNestedDataReplyIsReadWithoutRecursion) {
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 1, 1), "1");
  const size_t niveis = 1000000;
  std::string fundo;
  for (size_t i = 0; i < niveis; ++i) fundo += "<a>";
  fundo += "<dados><e><key>1</key><value><codigo>4</codigo><mensagem>Fundo</mensagem></value></e></dados>";
  for (size_t i = 0; i < niveis; ++i) fundo += "</a>";
  FTribunal.Responder("contas", 200, "<return><status>OK</status>" + fundo + "</return>");
  FSender->EnviarInformacoesContasWB(*contas);
  EXPECT_EQ(Avisos("CONTAS"), std::vector<std::string>{" Conta: 1 Retorno: 4 - Fundo"});
  EXPECT_EQ(FTribunal.Operacoes(), Ciclo("contas"));
}

TEST_F(EsfingeSoap, CompressedRepliesAreDecoded) {
  std::string grande(20000, 'x');
  FTribunal.Responder("obterToken", 200, "<r>" + grande + "</r>");
  EXPECT_EQ(PostarSOAP(TnEnviarArqEsfingeSoapFuncoes::GetURLToken(), "<tok:obterToken>"), "<r>" + grande + "</r>");
}

TEST_F(EsfingeSoap, CancelWhileBuildingIsRawAndPostsNothing) {
  auto dialogo = std::make_shared<TRespostaFixa>(0);
  SetDialogoService(dialogo);
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 1, 1), "1");
  FSender->Progresso().PressionarCancelar();
  ASSERT_EQ(dialogo->Perguntas.size(), 1u);
  EXPECT_EQ(dialogo->Perguntas[0].Botoes, (std::vector<std::string>{"Sim", "Não"}));
  EXPECT_TRUE(FSender->Cancelar());
  EXPECT_EQ(Erro([&] { FSender->EnviarInformacoesContasWB(*contas); }), "Processo finalizado pelo usuario!");
  EXPECT_TRUE(FTribunal.Requisicoes().empty());
}

TEST_F(EsfingeSoap, CancelDuringACycleIsWrappedAfterTheCallUnderWay) {
  auto dialogo = std::make_shared<TRespostaFixa>(0);
  SetDialogoService(dialogo);
  auto contas = NovasContas();
  AddConta(*contas, EncodeDate(2021, 1, 1), "1");
  // The cancel button pressed while obterToken is under way.
  FTribunal.Antes([this] { FSender->Progresso().PressionarCancelar(); });
  EXPECT_EQ(Erro([&] { FSender->EnviarInformacoesContasWB(*contas); }),
            "Erro ao enviar Contas Contábeis! \r\nProcesso finalizado pelo usuario!");
  FTribunal.Antes(nullptr);
  // The situation call follows the token call without a step between them.
  EXPECT_EQ(FTribunal.Operacoes(), (std::vector<std::string>{"obterToken", "obterSituacaoToken"}));
}

TEST_F(EsfingeSoap, AnsweringNoKeepsTheRunGoing) {
  EXPECT_EQ(FSender->Progresso().TextoTotal(), "Enviando Informações...");
  EXPECT_TRUE(FSender->Progresso().Visivel());
  auto dialogo = std::make_shared<TRespostaFixa>(1);
  SetDialogoService(dialogo);
  FSender->Progresso().PressionarCancelar();
  EXPECT_FALSE(FSender->Cancelar());
}
