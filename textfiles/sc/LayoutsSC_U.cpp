#include "LayoutsSC_U.h"

namespace nUlmoSC {

using namespace nFramework;

namespace {

constexpr TCampo Texto(const char* nome, int largura) { return {.Nome = nome, .Largura = largura}; }
constexpr TCampo Numero(const char* nome, int largura) {
  return {.Nome = nome, .Largura = largura, .Tipo = TTipoCampo::Numero};
}
constexpr TCampo Data(const char* nome) { return {.Nome = nome, .Largura = 8, .Tipo = TTipoCampo::Data}; }
// "1234.56", zero-filled on the left.
constexpr TCampo Valor(const char* nome) { return {.Nome = nome, .Largura = 16, .Tipo = TTipoCampo::Valor}; }

}  // namespace

const TLeiaute& LayoutLancamentoContabil() {
  static const TLeiaute l{.Nome = "LancamentoContabil",
                          .Campos = {Texto("Competência", 16), Numero("Sequencial", 8), Numero("Tipo de lançamento", 2),
                                     Numero("Tipo de movimento", 2), Numero("Ano da conta", 4),
                                     Texto("Classificação TCE", 50), Data("Data"), Valor("Valor"),
                                     Texto("Histórico", 150)}};
  return l;
}

const TLeiaute& LayoutMovimentoContabil() {
  static const TLeiaute l{.Nome = "MovimentoContabil",
                          .Campos = {Numero("Ano da conta", 4), Texto("Classificação TCE", 50),
                                     Numero("Tipo de movimento", 2), Numero("Competência", 6),
                                     Valor("Valor a débito"), Valor("Valor a crédito")}};
  return l;
}

const TLeiaute& LayoutAplicacaoFinanceira() {
  static const TLeiaute l{.Nome = "AplicacaoFinanceira",
                          .Campos = {Numero("Ano da conta", 4), Texto("Classificação TCE", 50), Numero("Competência", 6),
                                     Valor("Valor aplicado"), Valor("Valor resgatado"), Valor("Valor de rendimento")}};
  return l;
}

const TLeiaute& LayoutContaContabil() {
  static const TLeiaute l{
      .Nome = "ContaContabil",
      .Campos = {Numero("Ano da conta", 4), Texto("Classificação TCE", 50), Numero("Tipo da conta TCE", 2),
                 Texto("Descrição da conta TCE", 100), Texto("Descrição detalhada", 255), Texto("Conta analítica", 1),
                 Numero("Número de níveis", 2), Numero("Natureza do saldo", 2), Numero("Conta TCE", 4),
                 Texto("Conta sintética", 50), Numero("Banco", 4), Numero("Agência", 6), Texto("Número da conta", 10)}};
  return l;
}

}  // namespace nUlmoSC
