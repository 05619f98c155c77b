#include "UlmoEnviarArquivosCtbeSFinge_U.h"

#include <algorithm>
#include <regex>
#include <unordered_map>

#include "UlmoEsfingeValor_U.h"
#include "Configuracao_U.h"
#include "Dialogo_U.h"
#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "HTTP_U.h"
#include "Mapper_U.h"
#include "SoapTransporte_U.h"
#include "UlmoRetornoSoap_U.h"
#include "UlmoContasTceUnicas_U.h"
#include "UlmoEnviarArquivosCtbeSFingeFuncoes_U.h"

namespace nUlmoEsfingeSoap {

using nFramework::ControleMensagem;
using nFramework::Exception;
using nFramework::TClientDataSet;
using nFramework::TDateTime;
using nFramework::TField;
using TFuncoes = TnEnviarArqEsfingeSoapFuncoes;

namespace {

constexpr char NsEnvelope[] = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr char NsSecext[] = "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";
constexpr char NsUtility[] = "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd";
constexpr char TipoPasswordText[] =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-username-token-profile-1.0#PasswordText";
constexpr char PadraoToken[] = "[a-zA-Z0-9]{8}-[a-zA-Z0-9]{4}-[a-zA-Z0-9]{4}-[a-zA-Z0-9]{4}-[a-zA-Z0-9]{12}";

// Typed values go into the envelope as text; a "&" or "<" in a password or user name would
// otherwise break the envelope or inject elements into it.
std::string EscaparXml(const std::string& aTexto) {
  std::string r;
  r.reserve(aTexto.size());
  for (char c : aTexto) {
    switch (c) {
      case '&': r += "&amp;"; break;
      case '<': r += "&lt;"; break;
      case '>': r += "&gt;"; break;
      case '"': r += "&quot;"; break;
      default: r += c;
    }
  }
  return r;
}

std::string SubstituirTodos(std::string aTexto, const std::string& aDe, const std::string& aPara) {
  for (size_t p = aTexto.find(aDe); p != std::string::npos; p = aTexto.find(aDe, p + aPara.size()))
    aTexto.replace(p, aDe.size(), aPara);
  return aTexto;
}

template <class TMap>
TMap& MapearExigindo(TClientDataSet& aDataSet, std::initializer_list<std::pair<const char*, TField* TMap::*>> aLidos) {
  TMap& map = nFramework::FieldMapper().MapearFields<TMap>(aDataSet);
  for (const auto& [nome, membro] : aLidos)
    if (!(map.*membro)) throw nFramework::EInternalError(std::string("Coluna ") + nome + " ausente no conjunto de dados");
  return map;
}

}  // namespace

TUlmoEnviarArquivosCtbeSFinge::TUlmoEnviarArquivosCtbeSFinge(std::string _AUsuario, std::string _ASenha,
                                                             std::string _AUnidadeGestora)
    : FSenha(std::move(_ASenha)), FUsuario(std::move(_AUsuario)), FUnidadeGestora(std::move(_AUnidadeGestora)) {
  FProgresso = nFramework::CriarProgresso(nullptr);
  FProgresso->SetEhCircular(true);
  FProgresso->MostrarSimples(nullptr);
  FProgresso->SetTextoTotal("Enviando Informações...");
  FProgresso->ConfigurarBtnCancel([this](void* aSender) { ConfirmarCancelamento(aSender); });
}

TUlmoEnviarArquivosCtbeSFinge::~TUlmoEnviarArquivosCtbeSFinge() { FMsgTreeLista.reset(); }

void TUlmoEnviarArquivosCtbeSFinge::SetMsgTreeLista(std::shared_ptr<nFramework::ITreeMessager> aTree) {
  FMsgTreeLista = std::move(aTree);
  ControleMensagem().SetFraListaMensagemTree(FMsgTreeLista);
  ControleMensagem().Clear();
  if (FMsgTreeLista) FMsgTreeLista->Notificar();
}

int TUlmoEnviarArquivosCtbeSFinge::PegarCompetencia(TDateTime aData) {
  int ano = 0, mes = 0, dia = 0;
  nFramework::DecodeDate(aData, ano, mes, dia);
  return ano * 100 + (mes + 1) / 2;
}

bool TUlmoEnviarArquivosCtbeSFinge::ContemTexto(const std::string& aTexto, const std::string& aPadrao) {
  return std::regex_search(aTexto, std::regex(aPadrao));
}

// ---- envelopes

std::string TUlmoEnviarArquivosCtbeSFinge::MontarEnvelope(int aTipo, const std::string& aCorpo) const {
  const auto& c = nFramework::nConfig();
  std::string prefixo, ns;
  switch (aTipo) {
    case 0: prefixo = "tok"; ns = c.Valor(ChaveNamespaceToken, PadraoNamespaceToken); break;
    case 1: prefixo = "con"; ns = c.Valor(ChaveNamespaceConta, PadraoNamespaceConta); break;
    case 2: prefixo = "lan"; ns = c.Valor(ChaveNamespaceLancamento, PadraoNamespaceLancamento); break;
    default: throw nFramework::EInternalError("Tipo de envelope inválido: " + std::to_string(aTipo));
  }
  return std::string("<soapenv:Envelope xmlns:soapenv=\"") + NsEnvelope + "\" xmlns:" + prefixo + "=\"" + ns + "\">" +
         MontarCabecalhoSeguranca() + aCorpo + "</soapenv:Envelope>";
}

std::string TUlmoEnviarArquivosCtbeSFinge::MontarCabecalhoSeguranca() const {
  return std::string("<soapenv:Header><wsse:Security soapenv:mustUnderstand=\"1\" xmlns:wsse=\"") + NsSecext +
         "\" xmlns:wsu=\"" + NsUtility + "\"><wsse:UsernameToken><wsse:Username>" + EscaparXml(FUsuario) +
         "</wsse:Username><wsse:Password Type=\"" + TipoPasswordText + "\">" + EscaparXml(FSenha) +
         "</wsse:Password></wsse:UsernameToken></wsse:Security></soapenv:Header>";
}

std::string TUlmoEnviarArquivosCtbeSFinge::EnvelopeObterToken() const {
  return MontarEnvelope(0, "<soapenv:Body><tok:obterToken><codigoUg>" + EscaparXml(FUnidadeGestora) +
                               "</codigoUg></tok:obterToken></soapenv:Body>");
}

std::string TUlmoEnviarArquivosCtbeSFinge::EnvelopeObterSituacaoToken() {
  std::string token = ObterToken();
  return MontarEnvelope(0, "<soapenv:Body><tok:obterSituacaoToken><chaveToken>" + EscaparXml(token) +
                               "</chaveToken></tok:obterSituacaoToken></soapenv:Body>");
}

std::string TUlmoEnviarArquivosCtbeSFinge::EnvelopeIniciarTransferencia() const {
  return MontarEnvelope(0, "<soapenv:Body><tok:iniciarTransferencia><chaveToken>" + EscaparXml(FToken) +
                               "</chaveToken></tok:iniciarTransferencia></soapenv:Body>");
}

std::string TUlmoEnviarArquivosCtbeSFinge::EnvelopeFinalizarTransferencia() const {
  return MontarEnvelope(0, "<soapenv:Body><tok:finalizarTransferencia><chaveToken>" + EscaparXml(FToken) +
                               "</chaveToken></tok:finalizarTransferencia></soapenv:Body>");
}

std::string TUlmoEnviarArquivosCtbeSFinge::EnvelopeCancelarTransferencia() const {
  return MontarEnvelope(0, "<soapenv:Body><tok:cancelarTransferencia><chaveToken>" + EscaparXml(FToken) +
                               "</chaveToken></tok:cancelarTransferencia></soapenv:Body>");
}

std::string TUlmoEnviarArquivosCtbeSFinge::EnvelopeContas(const IXMLEnviarTypeContaContabil& aDocumento) const {
  aDocumento.SetChaveToken(FToken);
  std::string env = MontarEnvelope(1, "<soapenv:Body>" + aDocumento.Xml() + "</soapenv:Body>");
  return SubstituirTodos(SubstituirTodos(env, "<enviar>", "<con:enviar>"), "</enviar>", "</con:enviar>");
}

std::string TUlmoEnviarArquivosCtbeSFinge::EnvelopeLancamentos(const IXMLEnviarTypeLancamento& aDocumento) const {
  aDocumento.SetChaveToken(FToken);
  std::string env = MontarEnvelope(2, "<soapenv:Body>" + aDocumento.Xml() + "</soapenv:Body>");
  return SubstituirTodos(SubstituirTodos(env, "<enviar>", "<lan:enviar>"), "</enviar>", "</lan:enviar>");
}

// ---- documents

IXMLEnviarTypeContaContabil TUlmoEnviarArquivosCtbeSFinge::NovoDocumentoContas(TDateTime aData) const {
  auto doc = nUlmoEsfingeXML::NewEnviarContaContabil();
  doc.SetChaveToken("null");
  doc.SetCompetencia(PegarCompetencia(aData));
  return doc;
}

IXMLEnviarTypeLancamento TUlmoEnviarArquivosCtbeSFinge::NovoDocumentoLancamentos(TDateTime aData) const {
  auto doc = nUlmoEsfingeXML::NewEnviarLancamento();
  doc.SetChaveToken("null");
  doc.SetCompetencia(PegarCompetencia(aData));
  return doc;
}

std::vector<IXMLEnviarTypeContaContabil> TUlmoEnviarArquivosCtbeSFinge::MontarDocumentosContas(TClientDataSet& aDataSet) {
  using M = nUlmoEsfingeMaps::TMapContas;
  FMapContas = &MapearExigindo<M>(
      aDataSet, {{"DATAINICIOPLANOTCE", &M::DATAINICIOPLANOTCE}, {"CODIGOCONTA", &M::CODIGOCONTA},
                 {"TIPOCONTACONTABIL", &M::TIPOCONTACONTABIL}, {"NOMECONTA", &M::NOMECONTA},
                 {"DESCRICAOCONTA", &M::DESCRICAOCONTA}, {"INDICATIVOCONTAANALITICA", &M::INDICATIVOCONTAANALITICA},
                 {"NUMERONIVEL", &M::NUMERONIVEL}, {"TIPONATUREZASALDO", &M::TIPONATUREZASALDO},
                 {"CODIGOCONTASINTETICA", &M::CODIGOCONTASINTETICA}, {"CODIGOBANCO", &M::CODIGOBANCO},
                 {"CODIGOAGENCIABANCARIA", &M::CODIGOAGENCIABANCARIA}, {"CODIGOCONTABANCARIA", &M::CODIGOCONTABANCARIA}});
  const M& m = *FMapContas;
  std::vector<IXMLEnviarTypeContaContabil> lista;
  aDataSet.SetIndexFieldNames("DATAINICIOPLANOTCE;CODIGOCONTA");
  aDataSet.First();
  if (aDataSet.Eof()) return lista;
  // The earliest row of a court account (the index puts it first) is the one sent.
  nUlmoEsfinge::TContasTceUnicas unicas;
  auto doc = NovoDocumentoContas(m.DATAINICIOPLANOTCE->AsDateTime());
  int qtd = 0;  // items of doc
  for (; !aDataSet.Eof(); aDataSet.Next()) {
    AvancarProgresso("Carregando informações Contas Contábeis! Aguarde...");
    const TDateTime inicio = m.DATAINICIOPLANOTCE->AsDateTime();
    const std::string codigo = m.CODIGOCONTA->AsString(), nome = m.NOMECONTA->AsString(),
                      indicativo = m.INDICATIVOCONTAANALITICA->AsString(), descricao = m.DESCRICAOCONTA->AsString(),
                      sintetica = m.CODIGOCONTASINTETICA->AsString(), contaBancaria = m.CODIGOCONTABANCARIA->AsString();
    const int tipo = m.TIPOCONTACONTABIL->AsInteger(), nivel = m.NUMERONIVEL->AsInteger(),
              natureza = m.TIPONATUREZASALDO->AsInteger(), banco = m.CODIGOBANCO->AsInteger(),
              agencia = m.CODIGOAGENCIABANCARIA->AsInteger();
    const std::string dados = std::to_string(tipo) + '\x1f' + nome + '\x1f' + indicativo + '\x1f' + std::to_string(nivel) +
                              '\x1f' + std::to_string(natureza) + '\x1f' + descricao + '\x1f' + sintetica + '\x1f' +
                              std::to_string(banco) + '\x1f' + std::to_string(agencia) + '\x1f' + contaBancaria;
    const int64_t contaCtb = m.CONTACTB && !m.CONTACTB->IsNull() ? m.CONTACTB->AsLargeInt() : 0;
    if (!unicas.Primeira(nFramework::YearOf(inicio), codigo, dados, contaCtb)) continue;
    if (qtd == MaxItensDocumento || doc.GetCompetencia() != PegarCompetencia(inicio)) {
      lista.push_back(doc);
      doc = NovoDocumentoContas(inicio);
      qtd = 0;
    }
    auto item = doc.GetContaContabil().Add();
    item.SetIdRetorno(++qtd);
    item.SetDataAnoCriacao(nFramework::YearOf(inicio));
    item.SetCodigoConta(codigo);
    item.SetTipoContaContabil(tipo);
    item.SetNomeConta(nome);
    item.SetIndicativoContaAnalitica(indicativo);
    item.SetNumeroNivel(nivel);
    item.SetTipoNaturezaSaldo(natureza);
    if (!descricao.empty()) item.SetDescricaoConta(descricao);
    if (!sintetica.empty()) item.SetCodigoContaSintetica(sintetica);
    if (banco != 0) item.SetCodigoBanco(banco);
    if (agencia != 0) item.SetCodigoAgenciaBancaria(agencia);
    if (!contaBancaria.empty()) item.SetCodigoContaBancaria(contaBancaria);
  }
  if (qtd > 0) lista.push_back(doc);
  unicas.Avisar();
  return lista;
}

std::vector<IXMLEnviarTypeLancamento> TUlmoEnviarArquivosCtbeSFinge::MontarDocumentosLancamentos(TClientDataSet& aDataSet) {
  using M = nUlmoEsfingeMaps::TMapLctos;
  FMapLctos = &MapearExigindo<M>(
      aDataSet, {{"NUMEROSLIP", &M::NUMEROSLIP}, {"NUMEROSEQUENCIAL", &M::NUMEROSEQUENCIAL},
                 {"TIPOLANCAMENTO", &M::TIPOLANCAMENTO}, {"TIPOMOVIMENTOCONTABIL", &M::TIPOMOVIMENTOCONTABIL},
                 {"ANOCRIACAOCONTA", &M::ANOCRIACAOCONTA}, {"CODIGOCONTACONTABIL", &M::CODIGOCONTACONTABIL},
                 {"VALORLANCAMENTO", &M::VALORLANCAMENTO}, {"HISTORICOLANCAMENTO", &M::HISTORICOLANCAMENTO},
                 {"DATALANCAMENTO", &M::DATALANCAMENTO}});
  const M& m = *FMapLctos;
  std::vector<IXMLEnviarTypeLancamento> lista;
  aDataSet.First();
  if (aDataSet.Eof()) return lista;
  auto doc = NovoDocumentoLancamentos(m.DATALANCAMENTO->AsDateTime());
  int qtd = 0;  // items of doc
  while (!aDataSet.Eof()) {
    AvancarProgresso("Carregando informações Lançamentos! Aguarde...");
    auto item = doc.GetLancamentoContabil().Add();
    item.SetIdRetorno(++qtd);
    item.SetNumeroSlip(m.NUMEROSLIP->AsString());
    item.SetNumeroSequencial(m.NUMEROSEQUENCIAL->AsInteger());
    item.SetTipoLancamento(m.TIPOLANCAMENTO->AsInteger());
    item.SetTipoMovimentoContabil(m.TIPOMOVIMENTOCONTABIL->AsInteger());
    item.SetAnoCriacaoConta(m.ANOCRIACAOCONTA->AsInteger());
    item.SetCodigoContaContabil(m.CODIGOCONTACONTABIL->AsString());
    item.SetDataLancamento(nFramework::FormatDateTime("yyyy-mm-dd", m.DATALANCAMENTO->AsDateTime()));
    item.SetValorLancamento(nUlmoEsfinge::ValorEsfinge(m.VALORLANCAMENTO->AsCurrency()));
    item.SetHistoricoLancamento(m.HISTORICOLANCAMENTO->AsString());
    aDataSet.Next();
    if (aDataSet.Eof() || qtd == MaxItensDocumento ||
        doc.GetCompetencia() != PegarCompetencia(m.DATALANCAMENTO->AsDateTime())) {
      lista.push_back(doc);
      if (!aDataSet.Eof()) doc = NovoDocumentoLancamentos(m.DATALANCAMENTO->AsDateTime());
      qtd = 0;
    }
  }
  return lista;
}

// ---- runs

void TUlmoEnviarArquivosCtbeSFinge::EnviarInformacoesContasWB(TClientDataSet& _ACDSInformacoes) {
  if (_ACDSInformacoes.IsEmpty()) return;
  EnviarDocumentosContas(MontarDocumentosContas(_ACDSInformacoes));
  AdicionarConfirmacao("Contas Contábeis enviadas com sucesso!");
}

void TUlmoEnviarArquivosCtbeSFinge::EnviarInformacoesLancamentosWB(TClientDataSet& _ACDSInformacoes) {
  if (_ACDSInformacoes.IsEmpty()) return;
  EnviarDocumentosLancamentos(MontarDocumentosLancamentos(_ACDSInformacoes));
  AdicionarConfirmacao("Lançamentos enviados com sucesso!");
}

void TUlmoEnviarArquivosCtbeSFinge::EnviarDocumentosContas(const std::vector<IXMLEnviarTypeContaContabil>& aDocumentos) {
  std::vector<std::string> finalizados;
  for (const auto& doc : aDocumentos) {
    const std::string descricao = Descricao(doc.GetCompetencia(), doc.GetContaContabil().Count());
    try {
      IniciarTransferencia();
      AvancarProgresso("Enviando Contas Contábeis! Aguarde...");
      std::string retorno = PostarSOAP(TFuncoes::GetURLEnviarContasContabeis(), EnvelopeContas(doc),
                                       "do e-Sfinge ao envio das contas contábeis");
      LerRetornoContas(doc, retorno);
      ConcluirTransferencia(retorno, descricao);
    } catch (const std::exception& e) {
      throw Exception(ErroDoEnvio("Erro ao enviar Contas Contábeis! ", e.what(), finalizados));
    }
    finalizados.push_back(descricao);
  }
}

void TUlmoEnviarArquivosCtbeSFinge::EnviarDocumentosLancamentos(const std::vector<IXMLEnviarTypeLancamento>& aDocumentos) {
  std::vector<std::string> finalizados;
  for (const auto& doc : aDocumentos) {
    const std::string descricao = Descricao(doc.GetCompetencia(), doc.GetLancamentoContabil().Count());
    try {
      IniciarTransferencia();
      AvancarProgresso("Enviando Lançamentos! Aguarde...");
      std::string retorno = PostarSOAP(TFuncoes::GetURLEnviarLancamentos(), EnvelopeLancamentos(doc),
                                       "do e-Sfinge ao envio dos lançamentos");
      LerRetornoLancamentos(doc, retorno);
      ConcluirTransferencia(retorno, descricao);
    } catch (const std::exception& e) {
      throw Exception(ErroDoEnvio("Erro ao enviar Lançamentos! ", e.what(), finalizados));
    }
    finalizados.push_back(descricao);
  }
}

std::string TUlmoEnviarArquivosCtbeSFinge::ErroDoEnvio(const std::string& aPrefixo, const std::string& aCausa,
                                                       const std::vector<std::string>& aFinalizados) {
  std::string r = aPrefixo + "\r\n" + aCausa;
  if (aFinalizados.empty()) return r;
  // A run stops at its first failure: the user must know what not to send again.
  r += "\r\nJá finalizados no e-Sfinge nesta execução: ";
  const size_t mostrados = std::min<size_t>(aFinalizados.size(), 5);
  for (size_t i = 0; i < mostrados; ++i) r += (i ? "; " : "") + aFinalizados[i];
  if (aFinalizados.size() > mostrados) r += " e outros " + std::to_string(aFinalizados.size() - mostrados);
  return r + ".";
}

std::string TUlmoEnviarArquivosCtbeSFinge::ObterToken() {
  AvancarProgresso("Obtendo Token! Aguarde...");
  std::string retorno = PostarSOAP(TFuncoes::GetURLToken(), EnvelopeObterToken(), "do e-Sfinge ao pedido de token");
  std::smatch achado;
  static const std::regex padrao(PadraoToken);
  if (!std::regex_search(retorno, achado, padrao))
    throw Exception("Erro ao recuperar Token! " + CortarResposta(PegarMensagem(retorno)));
  FToken = achado.str();
  return FToken;
}

bool TUlmoEnviarArquivosCtbeSFinge::ObterSituacaoToken() {
  AvancarProgresso("Obtendo Situação Token! Aguarde...");
  std::string envelope = EnvelopeObterSituacaoToken();
  return ContemTexto(PostarSOAP(TFuncoes::GetURLSitucaoToken(), envelope, "do e-Sfinge à consulta da situação do token"),
                     "Pronto para envio ou consulta");
}

void TUlmoEnviarArquivosCtbeSFinge::IniciarTransferencia() {
  std::string retorno;
  if (ObterSituacaoToken()) {
    AvancarProgresso("Iniciando Transferência! Aguarde...");
    retorno = PostarSOAP(TFuncoes::GetURLIniciarTransferencia(), EnvelopeIniciarTransferencia(),
                         "do e-Sfinge ao início da transferência");
  }
  if (!ContemTexto(retorno, "Início de transferência liberado")) throw Exception("Erro ao Inciar Transferência!");
}

void TUlmoEnviarArquivosCtbeSFinge::ConcluirTransferencia(const std::string& aRetorno, const std::string& aDocumento) {
  if (ContemTexto(aRetorno, "<status>OK</status>"))
    FinalizarTransferencia(aDocumento);
  else
    CancelarTransferencia(aRetorno, aDocumento);
}

std::string TUlmoEnviarArquivosCtbeSFinge::Descricao(int aCompetencia, int aItens) {
  return "documento da competência " + std::to_string(aCompetencia) + " (" + std::to_string(aItens) +
         (aItens == 1 ? " item)" : " itens)");
}

void TUlmoEnviarArquivosCtbeSFinge::FinalizarTransferencia(const std::string& aDocumento) {
  AvancarProgresso("Finalizando Transferência! Aguarde...");
  std::string retorno;
  try {
    retorno = PostarSOAP(TFuncoes::GetURLFinalizarTransferencia(), EnvelopeFinalizarTransferencia(),
                         "do e-Sfinge à finalização da transferência");
  } catch (const nFramework::EnHTTPError& e) {
    if (!e.PodeTerChegado()) throw;
    throw Exception(std::string(e.what()) + " A transferência do " + aDocumento +
                    " pode ter sido finalizada no e-Sfinge; confira-a antes de reenviar.");
  }
  if (!ContemTexto(retorno, "Finalizada com sucesso"))
    throw Exception("Erro ao Finalizar Transferência!" + CortarResposta(retorno));
}

void TUlmoEnviarArquivosCtbeSFinge::CancelarTransferencia(const std::string& aRetorno, const std::string& aDocumento) {
  AvancarProgresso("Cancelando Transferência! Aguarde...");
  const bool erro = ContemTexto(aRetorno, "<status>ERRO</status>");
  // Neither status: the court did not take the document, so the run must not confirm it.
  const std::string motivo = erro ? CortarResposta(PegarMensagem(aRetorno))
                                  : "O e-Sfinge não informou a situação do envio (status OK ou ERRO) do " + aDocumento;
  try {
    PostarSOAP(TFuncoes::GetURLCancelarTransferencia(), EnvelopeCancelarTransferencia(),
               "do e-Sfinge ao cancelamento da transferência");
  } catch (const Exception& e) {
    // The court's refusal of the document is what the user must read first.
    throw Exception(motivo + (erro ? "" : ".") + "\r\nO cancelamento da transferência também falhou, e ela pode ter " +
                    "ficado aberta no e-Sfinge: " + e.what());
  }
  throw Exception(erro ? motivo : motivo + "; a transferência foi cancelada.");
}

namespace {

// The items of a document by idRetorno (the first of a repeated number), built on the first
// rejection: a reply may reject thousands of items of a 5000-item document.
template <class TItem>
class TIndiceItens {
 public:
  TIndiceItens(const std::shared_ptr<pugi::xml_document>& aDocumento, pugi::xml_node aRaiz, const char* aNome)
      : FDocumento(aDocumento), FRaiz(aRaiz), FNome(aNome) {}
  const TItem* Achar(int aIdRetorno) {
    if (!FMontado) {
      for (auto n = FRaiz.child(FNome); n; n = n.next_sibling(FNome)) {
        TItem item(FDocumento, n);
        FItens.try_emplace(item.GetIdRetorno(), item);
      }
      FMontado = true;
    }
    auto it = FItens.find(aIdRetorno);
    return it == FItens.end() ? nullptr : &it->second;
  }

 private:
  std::shared_ptr<pugi::xml_document> FDocumento;
  pugi::xml_node FRaiz;
  const char* FNome;
  bool FMontado = false;
  std::unordered_map<int, TItem> FItens;
};

}  // namespace

void TUlmoEnviarArquivosCtbeSFinge::LerRetornoContas(const IXMLEnviarTypeContaContabil& aDocumento,
                                                     const std::string& aRetorno) {
  try {
    TIndiceItens<nUlmoEsfingeXML::TXMLContaContabilType> itens(aDocumento.Documento(), aDocumento.Node(),
                                                                "contaContabil");
    for (const TItemRejeitado& r : LerItensRejeitados(aRetorno))
      if (const auto* item = itens.Achar(r.Chave))
        AdicionarAviso(" Conta: " + item->GetCodigoConta() + " Retorno: " + r.Codigo + " - " + r.Mensagem, "CONTAS",
                       "Contas com falha no envio");
  } catch (const std::exception& e) {
    AdicionarAviso(std::string("Erro ao recuperar mensagens de retorno: ") + e.what(), "ERROS",
                   "Erros na recuperação dos retornos");
  }
}

void TUlmoEnviarArquivosCtbeSFinge::LerRetornoLancamentos(const IXMLEnviarTypeLancamento& aDocumento,
                                                          const std::string& aRetorno) {
  try {
    TIndiceItens<nUlmoEsfingeXML::TXMLLancamentoContabilType> itens(aDocumento.Documento(), aDocumento.Node(),
                                                                     "lancamentoContabil");
    for (const TItemRejeitado& r : LerItensRejeitados(aRetorno))
      if (const auto* item = itens.Achar(r.Chave))
        AdicionarAviso(" Lançamento: " + std::to_string(item->GetNumeroSequencial()) + " Conta: " +
                           item->GetCodigoContaContabil() + " Retorno: " + r.Codigo + " - " + r.Mensagem,
                       "LANCAMENTOS", "Lançamentos com falha no envio");
  } catch (const std::exception& e) {
    AdicionarAviso(std::string("Erro ao recuperar mensagens de retorno: ") + e.what(), "ERROS",
                   "Erros na recuperação dos retornos");
  }
}

// ---- messages and progress

void TUlmoEnviarArquivosCtbeSFinge::AvancarProgresso(const std::string& aPasso) {
  FProgresso->IncProgressoTotal(aPasso, 0);
  if (FCancelar) throw Exception("Processo finalizado pelo usuario!");
}

void TUlmoEnviarArquivosCtbeSFinge::AdicionarAviso(const std::string& aTexto, const std::string& aChaveGrupo,
                                                   const std::string& aTextoGrupo) {
  auto& controle = ControleMensagem();
  if (!controle.EncontrarNode(aChaveGrupo)) controle.AddAviso(aTextoGrupo, "", aChaveGrupo);
  controle.AddAviso(aTexto, aChaveGrupo, "");
}

void TUlmoEnviarArquivosCtbeSFinge::AdicionarConfirmacao(const std::string& aTexto) {
  if (FMsgTreeLista) ControleMensagem().AddConfirmacao(aTexto, "", "");
}

void TUlmoEnviarArquivosCtbeSFinge::ConfirmarCancelamento(void*) {
  int resposta = nFramework::nMessageDlg("Deseja cancelar o envio das informações ao e-Sfinge?",
                                         nFramework::mtConfirmation, {"Sim", "Não"}, 0, 1, 1);
  FCancelar = resposta == 0;
}

}  // namespace nUlmoEsfingeSoap
