#include "EscritorSC_U.h"

#include "LayoutsSC_U.h"

namespace nUlmoSC {

using namespace nFramework;

TEscritorSC::TEscritorSC(IOutputSink& lancamentos, IOutputSink& movimentos, IOutputSink& aplicacoes, IOutputSink& contas)
    : FLancamentos(lancamentos, "LancamentoContabil.txt"),
      FMovimentos(movimentos, "MovimentoContabil.txt"),
      FAplicacoes(aplicacoes, "AplicacaoFinanceira.txt"),
      FContas(contas, "ContaContabil.txt") {}

void TEscritorSC::Lancamento(const TLancamentoSC& l) {
  // yyyymm: six digits for the years the books hold.
  char competencia[6];
  for (int i = 5, c = l.Competencia; i >= 0; --i, c /= 10) competencia[i] = static_cast<char>('0' + c % 10);
  FLancamentos.Linha(LayoutLancamentoContabil(), l.Conta)
      .Texto(std::string_view(competencia, sizeof competencia))
      .Numero(l.Sequencial)
      .Numero(l.TipoLancamento)
      .Numero(l.TipoMovimento)
      .Numero(l.AnoConta)
      .Texto(l.ClassificacaoTCE)
      .Data(l.Data)
      .Valor(l.Valor)
      .Texto(l.Historico)
      .Gravar();
}

void TEscritorSC::Movimento(const TMovimentoSC& m) {
  FConta = std::to_string(m.Conta);
  FMovimentos.Linha(LayoutMovimentoContabil(), FConta)
      .Numero(m.AnoConta)
      .Texto(m.ClassificacaoTCE)
      .Numero(m.TipoMovimento)
      .Numero(m.Competencia)
      .Valor(m.Debito)
      .Valor(m.Credito)
      .Gravar();
}

void TEscritorSC::Aplicacao(const TAplicacaoSC& a) {
  FConta = std::to_string(a.Conta);
  FAplicacoes.Linha(LayoutAplicacaoFinanceira(), FConta)
      .Numero(a.AnoConta)
      .Texto(a.ClassificacaoTCE)
      .Numero(a.Competencia)
      .Valor(a.Aplicado)
      .Valor(a.Resgatado)
      .Valor(a.Rendimento)
      .Gravar();
}

void TEscritorSC::Conta(const TContaSC& c) {
  FContas.Linha(LayoutContaContabil(), c.Conta)
      .Numero(c.AnoConta)
      .Texto(c.ClassificacaoTCE)
      .Numero(c.TipoContaTCE)
      .Texto(c.Descricao)
      .Texto(c.DescricaoDetalhada)
      .Texto(c.Analitica ? "S" : "N")
      .Numero(c.Niveis)
      .Numero(c.Natureza)
      .Numero(c.ContaTCE)
      .Texto(c.ContaSintetica)
      .Numero(c.Banco)
      .Numero(c.Agencia)
      .Texto(c.NumeroConta)
      .Gravar();
}

void TEscritorSC::Concluir() {
  FLancamentos.Concluir();
  FMovimentos.Concluir();
  FAplicacoes.Concluir();
  FContas.Concluir();
}

}  // namespace nUlmoSC
