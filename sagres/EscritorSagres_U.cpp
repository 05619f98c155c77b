#include "EscritorSagres_U.h"

#include <algorithm>

#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "TextUtils_U.h"

namespace nUlmoSagres {

using namespace nFramework;

namespace {
constexpr size_t kTamanhoBloco = 64 * 1024;
constexpr std::string_view kIndentacao = "  ";
}  // namespace

std::string TEscritorSagres::Moeda(Currency valor) {
  std::string s = FormatFloat("0.00", valor);
  if (auto p = s.find(','); p != std::string::npos) s[p] = '.';
  return s;
}

std::string TEscritorSagres::Data(TDateTime data) { return FormatDateTime("yyyy-mm-dd", data); }

std::string TEscritorSagres::Preencher(std::string_view s, int n) { return PreencherEsquerda(s, n, "0"); }

std::string TEscritorSagres::Cortar(std::string_view s, size_t n) {
  // Counted in characters, not bytes: a name must not be cut inside an accented letter.
  size_t bytes = 0, chars = 0;
  while (bytes < s.size() && chars < n) {
    unsigned char c = static_cast<unsigned char>(s[bytes]);
    bytes += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ++chars;
  }
  return std::string(s.substr(0, std::min(bytes, s.size())));
}

void TEscritorSagres::Escapar(std::string& saida, std::string_view texto) {
  for (char ch : texto) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == 0) break;
    if (c == '&') {
      saida += "&amp;";
    } else if (c == '<') {
      saida += "&lt;";
    } else if (c == '>') {
      saida += "&gt;";
    } else if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      saida += "&#";
      saida += static_cast<char>('0' + c / 10);
      saida += static_cast<char>('0' + c % 10);
      saida += ';';
    } else {
      saida += ch;
    }
  }
}

TEscritorSagres::TEscritorSagres(IOutputSink& saida) : FSaida(saida) {
  FBloco.reserve(kTamanhoBloco + 4096);
  FBloco += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<exec:ExecucaoEmpresas xmlns:exec=\"http://";
  FBloco += kHostSagres;
  FBloco += "/sagres2017/xml/ExecucaoEmpresas\" xmlns:genEmp=\"http://";
  FBloco += kHostSagres;
  FBloco += "/sagres2017/xml/GenericosEmpresas\"";
}

void TEscritorSagres::Registro(TOrdem ordem, const char* nome) {
  if (FConcluido) throw EInternalError("registro SAGRES gravado após o fim do documento");
  if (ordem < FOrdem || (ordem == FOrdem && (ordem == oPrestacao || ordem == oAlmoxarifado)) ||
      (FOrdem < 0 && ordem != oPrestacao))
    throw EInternalError(std::string("registro SAGRES fora de ordem: ") + nome);
  if (FOrdem < 0) FBloco += '>';
  FOrdem = ordem;
  Abrir(1, nome);
  FAberto = nome;
}

void TEscritorSagres::Abrir(int nivel, std::string_view nome) {
  FBloco += '\n';
  for (int i = 0; i < nivel; ++i) FBloco += kIndentacao;
  FBloco += '<';
  FBloco += nome;
  FBloco += '>';
}

void TEscritorSagres::Fechar(int nivel, std::string_view nome) {
  FBloco += '\n';
  for (int i = 0; i < nivel; ++i) FBloco += kIndentacao;
  FBloco += "</";
  FBloco += nome;
  FBloco += '>';
}

void TEscritorSagres::Elemento(int nivel, std::string_view nome, std::string_view texto) {
  Abrir(nivel, nome);
  Escapar(FBloco, texto);
  FBloco += "</";
  FBloco += nome;
  FBloco += '>';
}

void TEscritorSagres::Elemento(int nivel, std::string_view nome, int64_t valor) {
  Elemento(nivel, nome, std::to_string(valor));
}

void TEscritorSagres::Descarregar() {
  if (FAberto) {
    Fechar(1, FAberto);
    FAberto = nullptr;
  }
  if (FBloco.size() < kTamanhoBloco) return;
  FSaida.Write(FBloco);
  FBytes += FBloco.size();
  FBloco.clear();
}

void TEscritorSagres::PrestacaoContas(const TPrestacaoContasSagres& p) {
  Registro(oPrestacao, "exec:PrestacaoContas");
  Elemento(2, "exec:codigoUnidGestora", p.CodigoUnidGestora);
  Elemento(2, "exec:nomeUnidGestora", p.NomeUnidGestora);
  Elemento(2, "exec:cpfContador", p.CpfContador);
  Elemento(2, "exec:cpfGestor", p.CpfGestor);
  Elemento(2, "exec:anoReferencia", YearOf(p.Inicio));
  Elemento(2, "exec:mesReferencia", MonthOf(p.Inicio));
  Elemento(2, "exec:versaoXml", 0);
  Elemento(2, "exec:diaInicPresContas", DayOf(p.Inicio));
  Elemento(2, "exec:diaFinaPresContas", DayOf(p.Fim));
  Descarregar();
}

void TEscritorSagres::Pagamento(const TPagamentoSagres& p) {
  Registro(oPagamento, "exec:Pagamento");
  Elemento(2, "exec:numeroPagamento", Preencher(Cortar(p.Numero, 10), 10));
  Elemento(2, "exec:anoPagamento", YearOf(p.Data));
  Elemento(2, "exec:dataPagamento", Data(p.Data));
  Elemento(2, "exec:valorPagamento", Moeda(p.Valor));
  Elemento(2, "exec:naturezaPagamento", p.Natureza);
  Elemento(2, "exec:cpfCnpjCredor", p.CpfCnpjCredor);
  Elemento(2, "exec:nomeRazaoSocialCredor", Cortar(p.NomeCredor, 100));
  Abrir(2, "exec:TipoDocumentoPagamento");
  Abrir(3, "genEmp:NotaFiscal");
  Elemento(4, "genEmp:dataEmissaoNota", Data(p.EmissaoNota));
  Elemento(4, "genEmp:numeroNotaFiscal", Preencher(std::to_string(p.NumeroNota), 10));
  Elemento(4, "genEmp:nrSerieNotaFiscal", Cortar(p.SerieNota, 3));
  Fechar(3, "genEmp:NotaFiscal");
  Fechar(2, "exec:TipoDocumentoPagamento");
  Descarregar();
}

void TEscritorSagres::Retencao(const TRetencaoSagres& r) {
  Registro(oRetencao, "exec:Retencao");
  Elemento(2, "exec:numeroPagamento", Preencher(std::to_string(r.NumeroNota), 10));
  Elemento(2, "exec:anoPagamento", YearOf(r.Data));
  Elemento(2, "exec:tipoRetencao", r.Tipo);
  Elemento(2, "exec:valorRetencao", Moeda(r.Valor));
  Descarregar();
}

void TEscritorSagres::Receita(int tipo, Currency valor) {
  Registro(oReceita, "exec:Receita");
  Elemento(2, "exec:tipoReceita", tipo);
  Elemento(2, "exec:valorArrecadadoNoMes", Moeda(valor));
  Descarregar();
}

void TEscritorSagres::Despesa(int tipo, Currency valor) {
  Registro(oDespesa, "exec:Despesa");
  Elemento(2, "exec:tipoDespesa", tipo);
  Elemento(2, "exec:valorDespesaNoMes", Moeda(valor));
  Descarregar();
}

void TEscritorSagres::ContaBancaria(const TContaBancariaSagres& c) {
  Registro(oConta, "exec:ContaBancaria");
  Elemento(2, "exec:codigoBanco", Preencher(std::to_string(c.Banco), 3));
  Elemento(2, "exec:codigoAgencia", Cortar(std::to_string(c.Agencia), 6));
  Elemento(2, "exec:numeroContaBancaria", c.Conta);
  Elemento(2, "exec:valorSaldoInicialNoMes", Moeda(c.Anterior));
  // The court reads the bank's side: the account's credits are the bank's debits.
  Elemento(2, "exec:valorTotalDebitos", Moeda(c.Credito));
  Elemento(2, "exec:valorTotalCreditos", Moeda(c.Debito));
  Elemento(2, "exec:valorConciliacao", Moeda(c.Atual));
  Descarregar();
}

void TEscritorSagres::Patrimonio(std::string_view tipo, std::string_view lancamento, Currency valor) {
  Registro(oPatrimonio, "exec:Patrimonio");
  Elemento(2, "exec:tipoPatrimonio", tipo);
  Elemento(2, "exec:tipoLancamento", lancamento);
  Elemento(2, "exec:vl_Lancamento", Moeda(valor));
  Descarregar();
}

void TEscritorSagres::Almoxarifado(const TAlmoxarifadoSagres& a) {
  Registro(oAlmoxarifado, "exec:Almoxarifado");
  Elemento(2, "exec:vl_SaldoInicial", Moeda(a.Anterior));
  Elemento(2, "exec:vl_Entrada", Moeda(a.Debito));
  Elemento(2, "exec:vl_Saida", Moeda(a.Credito));
  Elemento(2, "exec:vl_SaldoFinal", Moeda(a.Atual));
  Descarregar();
}

void TEscritorSagres::Concluir() {
  if (FConcluido) throw EInternalError("documento SAGRES concluído duas vezes");
  FConcluido = true;
  // A root without records is an empty element.
  FBloco += FOrdem < 0 ? " />\n" : "\n</exec:ExecucaoEmpresas>\n";
  FSaida.Write(FBloco);
  FBytes += FBloco.size();
  FBloco.clear();
}

}  // namespace nUlmoSagres
