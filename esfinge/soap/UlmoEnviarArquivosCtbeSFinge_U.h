// SOAP sender of the e-Sfinge web services (TCE-SC): cuts the accounts and entries datasets
// into documents of at most 5000 items of one two-month period and sends each in a transfer
// cycle of its own (token, situation, start, data, finish or cancel). Rejected items become
// warnings; any other failure ends the run with an error. Writes nothing to the database.
// One sender serves one run; it owns its progress frame, not the message tree.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ClientDataSet_U.h"
#include "ControleMensagem_U.h"
#include "Progresso_U.h"
#include "UlmoContaContabilWS_U.h"
#include "UlmoEsfingeMaps_U.h"
#include "UlmoLancamentoContabilWS_U.h"

namespace nUlmoEsfingeSoap {

using nUlmoEsfingeXML::IXMLEnviarTypeContaContabil;
using nUlmoEsfingeXML::IXMLEnviarTypeLancamento;

inline constexpr int MaxItensDocumento = 5000;

class TUlmoEnviarArquivosCtbeSFinge {
 public:
  TUlmoEnviarArquivosCtbeSFinge(std::string _AUsuario, std::string _ASenha, std::string _AUnidadeGestora);
  ~TUlmoEnviarArquivosCtbeSFinge();
  TUlmoEnviarArquivosCtbeSFinge(const TUlmoEnviarArquivosCtbeSFinge&) = delete;
  TUlmoEnviarArquivosCtbeSFinge& operator=(const TUlmoEnviarArquivosCtbeSFinge&) = delete;

  // Hands the tree to the message control, clears it and notifies the tree.
  void SetMsgTreeLista(std::shared_ptr<nFramework::ITreeMessager> aTree);
  // REQUIRES: the dataset holds only the rows to send. Empty: nothing is posted.
  // Re-sorts the accounts by DATAINICIOPLANOTCE;CODIGOCONTA and leaves that index.
  void EnviarInformacoesContasWB(nFramework::TClientDataSet& _ACDSInformacoes);
  void EnviarInformacoesLancamentosWB(nFramework::TClientDataSet& _ACDSInformacoes);

  // Year × 100 + the two-month period (1..6) of the date.
  static int PegarCompetencia(nFramework::TDateTime aData);
  // Case-sensitive regular-expression search anywhere in the text.
  static bool ContemTexto(const std::string& aTexto, const std::string& aPadrao);

  // Envelopes (kind 0 token service, 1 accounts, 2 entries).
  std::string MontarEnvelope(int aTipo, const std::string& aCorpo) const;
  std::string MontarCabecalhoSeguranca() const;
  std::string EnvelopeObterToken() const;
  std::string EnvelopeObterSituacaoToken();  // obtains a fresh token first
  std::string EnvelopeIniciarTransferencia() const;
  std::string EnvelopeFinalizarTransferencia() const;
  std::string EnvelopeCancelarTransferencia() const;
  std::string EnvelopeContas(const IXMLEnviarTypeContaContabil& aDocumento) const;
  std::string EnvelopeLancamentos(const IXMLEnviarTypeLancamento& aDocumento) const;

  // Documents of a dataset, as they would be sent (chaveToken still "null").
  std::vector<IXMLEnviarTypeContaContabil> MontarDocumentosContas(nFramework::TClientDataSet& aDataSet);
  std::vector<IXMLEnviarTypeLancamento> MontarDocumentosLancamentos(nFramework::TClientDataSet& aDataSet);

  const std::string& Token() const { return FToken; }
  bool Cancelar() const { return FCancelar; }
  nFramework::TnFraProgresso& Progresso() const { return *FProgresso; }

 private:
  IXMLEnviarTypeContaContabil NovoDocumentoContas(nFramework::TDateTime aData) const;
  IXMLEnviarTypeLancamento NovoDocumentoLancamentos(nFramework::TDateTime aData) const;
  void EnviarDocumentosContas(const std::vector<IXMLEnviarTypeContaContabil>& aDocumentos);
  void EnviarDocumentosLancamentos(const std::vector<IXMLEnviarTypeLancamento>& aDocumentos);
  std::string ObterToken();
  bool ObterSituacaoToken();
  void IniciarTransferencia();
  // aDocumento names the document in the error of a reply with neither status.
  void ConcluirTransferencia(const std::string& aRetorno, const std::string& aDocumento);
  // aDocumento names the document when the finish reply is lost.
  void FinalizarTransferencia(const std::string& aDocumento);
  // Cancels, then raises: the court's message for status ERRO, else that the reply had no status.
  void CancelarTransferencia(const std::string& aRetorno, const std::string& aDocumento);
  static std::string Descricao(int aCompetencia, int aItens);
  // The error of a document's cycle: "Erro ao enviar ...! " + CR LF + the cause, and the
  // documents the court had already finished in this run.
  static std::string ErroDoEnvio(const std::string& aPrefixo, const std::string& aCausa,
                                 const std::vector<std::string>& aFinalizados);
  void LerRetornoContas(const IXMLEnviarTypeContaContabil& aDocumento, const std::string& aRetorno);
  void LerRetornoLancamentos(const IXMLEnviarTypeLancamento& aDocumento, const std::string& aRetorno);
  void AvancarProgresso(const std::string& aPasso);
  void AdicionarAviso(const std::string& aTexto, const std::string& aChaveGrupo, const std::string& aTextoGrupo);
  void AdicionarConfirmacao(const std::string& aTexto);
  void ConfirmarCancelamento(void* aSender);

  std::string FToken;
  std::string FSenha;
  std::string FUsuario;
  bool FCancelar = false;
  std::string FUnidadeGestora;
  std::unique_ptr<nFramework::TnFraProgresso> FProgresso;
  std::shared_ptr<nFramework::ITreeMessager> FMsgTreeLista;
  nUlmoEsfingeMaps::TMapLctos* FMapLctos = nullptr;
  nUlmoEsfingeMaps::TMapContas* FMapContas = nullptr;
};

}  // namespace nUlmoEsfingeSoap
