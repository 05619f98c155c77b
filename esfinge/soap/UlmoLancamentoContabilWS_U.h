// XML data binding of the e-Sfinge entries document: root `enviar` with `chaveToken`,
// `competencia` and the repeated `lancamentoContabil` items. Handles share their document.
#pragma once
#include <string>

#include "UlmoXMLNode_U.h"

namespace nUlmoEsfingeXML {

class TXMLLancamentoContabilType : public TXMLNodeBinding {
 public:
  using TXMLNodeBinding::TXMLNodeBinding;
  int GetIdRetorno() const { return LerInteiro("idRetorno"); }
  int GetMensagemProcessamento() const { return LerInteiro("mensagemProcessamento"); }
  int GetCodigoProcessamento() const { return LerInteiro("codigoProcessamento"); }
  std::string GetNumeroSlip() const { return LerTexto("numeroSlip"); }
  int GetNumeroSequencial() const { return LerInteiro("numeroSequencial"); }
  int GetTipoLancamento() const { return LerInteiro("tipoLancamento"); }
  int GetTipoMovimentoContabil() const { return LerInteiro("tipoMovimentoContabil"); }
  int GetAnoCriacaoConta() const { return LerInteiro("anoCriacaoConta"); }
  std::string GetCodigoContaContabil() const { return LerTexto("codigoContaContabil"); }
  std::string GetDataLancamento() const { return LerTexto("dataLancamento"); }
  std::string GetValorLancamento() const { return LerTexto("valorLancamento"); }
  std::string GetHistoricoLancamento() const { return LerTexto("historicoLancamento"); }
  void SetIdRetorno(int aValor) const { GravarInteiro("idRetorno", aValor); }
  void SetMensagemProcessamento(int aValor) const { GravarInteiro("mensagemProcessamento", aValor); }
  void SetCodigoProcessamento(int aValor) const { GravarInteiro("codigoProcessamento", aValor); }
  void SetNumeroSlip(const std::string& aValor) const { GravarTexto("numeroSlip", aValor); }
  void SetNumeroSequencial(int aValor) const { GravarInteiro("numeroSequencial", aValor); }
  void SetTipoLancamento(int aValor) const { GravarInteiro("tipoLancamento", aValor); }
  void SetTipoMovimentoContabil(int aValor) const { GravarInteiro("tipoMovimentoContabil", aValor); }
  void SetAnoCriacaoConta(int aValor) const { GravarInteiro("anoCriacaoConta", aValor); }
  void SetCodigoContaContabil(const std::string& aValor) const { GravarTexto("codigoContaContabil", aValor); }
  void SetDataLancamento(const std::string& aValor) const { GravarTexto("dataLancamento", aValor); }
  void SetValorLancamento(const std::string& aValor) const { GravarTexto("valorLancamento", aValor); }
  void SetHistoricoLancamento(const std::string& aValor) const { GravarTexto("historicoLancamento", aValor); }
};
using IXMLLancamentoContabilType = TXMLLancamentoContabilType;
using TXMLLancamentoContabilTypeList = TXMLNodeCollection<TXMLLancamentoContabilType>;
using IXMLLancamentoContabilTypeList = TXMLLancamentoContabilTypeList;

class TXMLEnviarTypeLancamento : public TXMLNodeBinding {
 public:
  using TXMLNodeBinding::TXMLNodeBinding;
  std::string GetChaveToken() const { return LerTexto("chaveToken"); }
  int GetCompetencia() const { return LerInteiro("competencia"); }
  TXMLLancamentoContabilTypeList GetLancamentoContabil() const { return TXMLLancamentoContabilTypeList(FDocumento, FNode, "lancamentoContabil"); }
  void SetChaveToken(const std::string& aValor) const { GravarTexto("chaveToken", aValor); }
  void SetCompetencia(int aValor) const { GravarInteiro("competencia", aValor); }
};
using IXMLEnviarTypeLancamento = TXMLEnviarTypeLancamento;

// A new XML 1.0 document with `enviar` (no namespace) as its root.
IXMLEnviarTypeLancamento NewEnviarLancamento();

}  // namespace nUlmoEsfingeXML
