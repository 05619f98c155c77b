// XML data binding of the e-Sfinge accounts document: root `enviar` with `chaveToken`,
// `competencia` and the repeated `contaContabil` items. Handles share their document.
#pragma once
#include <string>

#include "UlmoXMLNode_U.h"

namespace nUlmoEsfingeXML {

class TXMLContaContabilType : public TXMLNodeBinding {
 public:
  using TXMLNodeBinding::TXMLNodeBinding;
  int GetIdRetorno() const { return LerInteiro("idRetorno"); }
  int GetMensagemProcessamento() const { return LerInteiro("mensagemProcessamento"); }
  int GetCodigoProcessamento() const { return LerInteiro("codigoProcessamento"); }
  int GetDataAnoCriacao() const { return LerInteiro("dataAnoCriacao"); }
  std::string GetCodigoConta() const { return LerTexto("codigoConta"); }
  int GetTipoContaContabil() const { return LerInteiro("tipoContaContabil"); }
  std::string GetNomeConta() const { return LerTexto("nomeConta"); }
  std::string GetDescricaoConta() const { return LerTexto("descricaoConta"); }
  std::string GetIndicativoContaAnalitica() const { return LerTexto("indicativoContaAnalitica"); }
  int GetNumeroNivel() const { return LerInteiro("numeroNivel"); }
  int GetTipoNaturezaSaldo() const { return LerInteiro("tipoNaturezaSaldo"); }
  std::string GetCodigoContaSintetica() const { return LerTexto("codigoContaSintetica"); }
  int GetCodigoBanco() const { return LerInteiro("codigoBanco"); }
  int GetCodigoAgenciaBancaria() const { return LerInteiro("codigoAgenciaBancaria"); }
  std::string GetCodigoContaBancaria() const { return LerTexto("codigoContaBancaria"); }
  void SetIdRetorno(int aValor) const { GravarInteiro("idRetorno", aValor); }
  void SetMensagemProcessamento(int aValor) const { GravarInteiro("mensagemProcessamento", aValor); }
  void SetCodigoProcessamento(int aValor) const { GravarInteiro("codigoProcessamento", aValor); }
  void SetDataAnoCriacao(int aValor) const { GravarInteiro("dataAnoCriacao", aValor); }
  void SetCodigoConta(const std::string& aValor) const { GravarTexto("codigoConta", aValor); }
  void SetTipoContaContabil(int aValor) const { GravarInteiro("tipoContaContabil", aValor); }
  void SetNomeConta(const std::string& aValor) const { GravarTexto("nomeConta", aValor); }
  void SetDescricaoConta(const std::string& aValor) const { GravarTexto("descricaoConta", aValor); }
  void SetIndicativoContaAnalitica(const std::string& aValor) const { GravarTexto("indicativoContaAnalitica", aValor); }
  void SetNumeroNivel(int aValor) const { GravarInteiro("numeroNivel", aValor); }
  void SetTipoNaturezaSaldo(int aValor) const { GravarInteiro("tipoNaturezaSaldo", aValor); }
  void SetCodigoContaSintetica(const std::string& aValor) const { GravarTexto("codigoContaSintetica", aValor); }
  void SetCodigoBanco(int aValor) const { GravarInteiro("codigoBanco", aValor); }
  void SetCodigoAgenciaBancaria(int aValor) const { GravarInteiro("codigoAgenciaBancaria", aValor); }
  void SetCodigoContaBancaria(const std::string& aValor) const { GravarTexto("codigoContaBancaria", aValor); }
};
using IXMLContaContabilType = TXMLContaContabilType;
using TXMLContaContabilTypeList = TXMLNodeCollection<TXMLContaContabilType>;
using IXMLContaContabilTypeList = TXMLContaContabilTypeList;

class TXMLEnviarTypeContaContabil : public TXMLNodeBinding {
 public:
  using TXMLNodeBinding::TXMLNodeBinding;
  std::string GetChaveToken() const { return LerTexto("chaveToken"); }
  int GetCompetencia() const { return LerInteiro("competencia"); }
  TXMLContaContabilTypeList GetContaContabil() const { return TXMLContaContabilTypeList(FDocumento, FNode, "contaContabil"); }
  void SetChaveToken(const std::string& aValor) const { GravarTexto("chaveToken", aValor); }
  void SetCompetencia(int aValor) const { GravarInteiro("competencia", aValor); }
};
using IXMLEnviarTypeContaContabil = TXMLEnviarTypeContaContabil;

// A new XML 1.0 document with `enviar` (no namespace) as its root.
IXMLEnviarTypeContaContabil NewEnviarContaContabil();

}  // namespace nUlmoEsfingeXML
