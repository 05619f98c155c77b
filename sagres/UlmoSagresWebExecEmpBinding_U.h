// Typed access to the SAGRES Web document "ExecucaoEmpresas" over pugixml: one node class per
// element type, a read and a write accessor per child, lists for the repeated records. A child is
// created as the node's last child on its first access, so children appear in first-access order.
// Nodes are light handles; the pugi::xml_document owns the tree.
#pragma once
#include <string>

#include <pugixml.hpp>

namespace nUlmoSagres {

class TXMLNodeSagres {
 public:
  TXMLNodeSagres() = default;
  explicit TXMLNodeSagres(pugi::xml_node ANode) : FNode(ANode) {}
  pugi::xml_node Node() const { return FNode; }

 protected:
  // The child of that qualified name, created as the last child when absent.
  pugi::xml_node Filho(const char* AName) const;
  std::string Texto(const char* AName) const;
  void SetTexto(const char* AName, const std::string& AValue) const;
  // Raises EConvertError for a text that is not a 32-bit integer.
  int Inteiro(const char* AName) const;
  void SetInteiro(const char* AName, int AValue) const;

  mutable pugi::xml_node FNode;
};

#define SAGRES_TEXTO(Nome, Elemento)                                         \
  std::string Nome() const { return Texto(Elemento); }                      \
  void Set##Nome(const std::string& AValue) const { SetTexto(Elemento, AValue); }
#define SAGRES_INTEIRO(Nome, Elemento)                                       \
  int Nome() const { return Inteiro(Elemento); }                            \
  void Set##Nome(int AValue) const { SetInteiro(Elemento, AValue); }

class TXMLPrestacaoContas_t : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  SAGRES_TEXTO(CodigoUnidGestora, "exec:codigoUnidGestora")
  SAGRES_TEXTO(NomeUnidGestora, "exec:nomeUnidGestora")
  SAGRES_TEXTO(CpfContador, "exec:cpfContador")
  SAGRES_TEXTO(CpfGestor, "exec:cpfGestor")
  SAGRES_INTEIRO(AnoReferencia, "exec:anoReferencia")
  SAGRES_INTEIRO(MesReferencia, "exec:mesReferencia")
  SAGRES_INTEIRO(VersaoXml, "exec:versaoXml")
  SAGRES_INTEIRO(DiaInicPresContas, "exec:diaInicPresContas")
  SAGRES_INTEIRO(DiaFinaPresContas, "exec:diaFinaPresContas")
};

class TXMLNotaFiscal_t_genEmp : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  SAGRES_TEXTO(DataEmissaoNota, "genEmp:dataEmissaoNota")
  SAGRES_TEXTO(NumeroNotaFiscal, "genEmp:numeroNotaFiscal")
  SAGRES_TEXTO(NrSerieNotaFiscal, "genEmp:nrSerieNotaFiscal")
};

class TXMLOutrosDocumentos_t_genEmp : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  SAGRES_TEXTO(NomeDocumento, "genEmp:nomeDocumento")
  SAGRES_TEXTO(DataEmissaoDocumento, "genEmp:dataEmissaoDocumento")
  SAGRES_TEXTO(NumeroDocumento, "genEmp:numeroDocumento")
};

class TXMLTipoDocumentoPagamento_t_genEmp : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  TXMLNotaFiscal_t_genEmp NotaFiscal() const { return TXMLNotaFiscal_t_genEmp(Filho("genEmp:NotaFiscal")); }
  TXMLOutrosDocumentos_t_genEmp OutrosDocumentos() const {
    return TXMLOutrosDocumentos_t_genEmp(Filho("genEmp:OutrosDocumentos"));
  }
};

class TXMLPagamento_t : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  SAGRES_TEXTO(NumeroPagamento, "exec:numeroPagamento")
  SAGRES_INTEIRO(AnoPagamento, "exec:anoPagamento")
  SAGRES_TEXTO(DataPagamento, "exec:dataPagamento")
  SAGRES_TEXTO(ValorPagamento, "exec:valorPagamento")
  SAGRES_INTEIRO(NaturezaPagamento, "exec:naturezaPagamento")
  SAGRES_TEXTO(CpfCnpjCredor, "exec:cpfCnpjCredor")
  SAGRES_TEXTO(NomeRazaoSocialCredor, "exec:nomeRazaoSocialCredor")
  TXMLTipoDocumentoPagamento_t_genEmp TipoDocumentoPagamento() const {
    return TXMLTipoDocumentoPagamento_t_genEmp(Filho("exec:TipoDocumentoPagamento"));
  }
};

class TXMLRetencao_t : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  SAGRES_TEXTO(NumeroPagamento, "exec:numeroPagamento")
  SAGRES_INTEIRO(AnoPagamento, "exec:anoPagamento")
  SAGRES_TEXTO(TipoRetencao, "exec:tipoRetencao")
  SAGRES_TEXTO(ValorRetencao, "exec:valorRetencao")
};

class TXMLReceita_t : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  SAGRES_INTEIRO(TipoReceita, "exec:tipoReceita")
  SAGRES_TEXTO(ValorArrecadadoNoMes, "exec:valorArrecadadoNoMes")
};

class TXMLDespesa_t : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  SAGRES_INTEIRO(TipoDespesa, "exec:tipoDespesa")
  SAGRES_TEXTO(ValorDespesaNoMes, "exec:valorDespesaNoMes")
};

class TXMLContaBancaria_t : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  SAGRES_TEXTO(CodigoBanco, "exec:codigoBanco")
  SAGRES_TEXTO(CodigoAgencia, "exec:codigoAgencia")
  SAGRES_TEXTO(NumeroContaBancaria, "exec:numeroContaBancaria")
  SAGRES_TEXTO(ValorSaldoInicialNoMes, "exec:valorSaldoInicialNoMes")
  SAGRES_TEXTO(ValorTotalDebitos, "exec:valorTotalDebitos")
  SAGRES_TEXTO(ValorTotalCreditos, "exec:valorTotalCreditos")
  SAGRES_TEXTO(ValorConciliacao, "exec:valorConciliacao")
};

class TXMLPatrimonio_t : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  SAGRES_TEXTO(TipoPatrimonio, "exec:tipoPatrimonio")
  SAGRES_TEXTO(TipoLancamento, "exec:tipoLancamento")
  SAGRES_TEXTO(Vl_Lancamento, "exec:vl_Lancamento")
};

class TXMLAlmoxarifado_t : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  SAGRES_TEXTO(Vl_SaldoInicial, "exec:vl_SaldoInicial")
  SAGRES_TEXTO(Vl_Entrada, "exec:vl_Entrada")
  SAGRES_TEXTO(Vl_Saida, "exec:vl_Saida")
  SAGRES_TEXTO(Vl_SaldoFinal, "exec:vl_SaldoFinal")
};

#undef SAGRES_TEXTO
#undef SAGRES_INTEIRO

// The root's children of one element name, as a list of T.
template <class T>
class TXMLListaSagres {
 public:
  TXMLListaSagres(pugi::xml_node ARaiz, const char* AName) : FRaiz(ARaiz), FName(AName) {}
  int Count() const {
    int n = 0;
    for (auto c = FRaiz.child(FName); c; c = c.next_sibling(FName)) ++n;
    return n;
  }
  // A new item after the existing items (the root's last child when there is none).
  T Add() const {
    pugi::xml_node ultimo;
    for (auto c = FRaiz.child(FName); c; c = c.next_sibling(FName)) ultimo = c;
    return T(ultimo ? FRaiz.insert_child_after(FName, ultimo) : FRaiz.append_child(FName));
  }
  // A new item at AIndex among the items; at or past the end it is appended.
  T Insert(int AIndex) const {
    pugi::xml_node c = Item(AIndex).Node();
    return c ? T(FRaiz.insert_child_before(FName, c)) : Add();
  }
  // The item at AIndex, counted from 0; an empty handle past the end.
  T Item(int AIndex) const {
    auto c = FRaiz.child(FName);
    for (int i = 0; c && i < AIndex; ++i) c = c.next_sibling(FName);
    return T(c);
  }

 private:
  mutable pugi::xml_node FRaiz;
  const char* FName;
};

using TXMLPagamento_tList = TXMLListaSagres<TXMLPagamento_t>;
using TXMLRetencao_tList = TXMLListaSagres<TXMLRetencao_t>;
using TXMLReceita_tList = TXMLListaSagres<TXMLReceita_t>;
using TXMLDespesa_tList = TXMLListaSagres<TXMLDespesa_t>;
using TXMLContaBancaria_tList = TXMLListaSagres<TXMLContaBancaria_t>;
using TXMLPatrimonio_tList = TXMLListaSagres<TXMLPatrimonio_t>;

class TXMLListaExecucaoEmpresas_t : public TXMLNodeSagres {
 public:
  using TXMLNodeSagres::TXMLNodeSagres;
  TXMLPrestacaoContas_t PrestacaoContas() const { return TXMLPrestacaoContas_t(Filho("exec:PrestacaoContas")); }
  TXMLPagamento_tList Pagamento() const { return {FNode, "exec:Pagamento"}; }
  TXMLRetencao_tList Retencao() const { return {FNode, "exec:Retencao"}; }
  TXMLReceita_tList Receita() const { return {FNode, "exec:Receita"}; }
  TXMLDespesa_tList Despesa() const { return {FNode, "exec:Despesa"}; }
  TXMLContaBancaria_tList ContaBancaria() const { return {FNode, "exec:ContaBancaria"}; }
  TXMLPatrimonio_tList Patrimonio() const { return {FNode, "exec:Patrimonio"}; }
  TXMLAlmoxarifado_t Almoxarifado() const { return TXMLAlmoxarifado_t(Filho("exec:Almoxarifado")); }
};

// The element interfaces: the handles themselves.
using IXMLListaExecucaoEmpresas_t = TXMLListaExecucaoEmpresas_t;
using IXMLPrestacaoContas_t = TXMLPrestacaoContas_t;
using IXMLPagamento_t = TXMLPagamento_t;
using IXMLPagamento_tList = TXMLPagamento_tList;
using IXMLTipoDocumentoPagamento_t_genEmp = TXMLTipoDocumentoPagamento_t_genEmp;
using IXMLNotaFiscal_t_genEmp = TXMLNotaFiscal_t_genEmp;
using IXMLOutrosDocumentos_t_genEmp = TXMLOutrosDocumentos_t_genEmp;
using IXMLRetencao_t = TXMLRetencao_t;
using IXMLRetencao_tList = TXMLRetencao_tList;
using IXMLReceita_t = TXMLReceita_t;
using IXMLReceita_tList = TXMLReceita_tList;
using IXMLDespesa_t = TXMLDespesa_t;
using IXMLDespesa_tList = TXMLDespesa_tList;
using IXMLContaBancaria_t = TXMLContaBancaria_t;
using IXMLContaBancaria_tList = TXMLContaBancaria_tList;
using IXMLPatrimonio_t = TXMLPatrimonio_t;
using IXMLPatrimonio_tList = TXMLPatrimonio_tList;
using IXMLAlmoxarifado_t = TXMLAlmoxarifado_t;

// The document element "exec:ExecucaoEmpresas", created when the document is empty.
TXMLListaExecucaoEmpresas_t PegarExecucaoEmpresas(pugi::xml_document& ADocument);

}  // namespace nUlmoSagres
