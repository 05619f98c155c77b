#include "LayoutsRS_U.h"

namespace nUlmoRS {

using namespace nFramework;

namespace {

constexpr TCampo Texto(const char* nome, int largura) { return {.Nome = nome, .Largura = largura}; }
// Text that must not be cut: a registration cut short would name another one.
constexpr TCampo TextoInteiro(const char* nome, int largura) {
  return {.Nome = nome, .Largura = largura, .Corta = false};
}
constexpr TCampo Codigo(const char* nome, int largura) {
  return {.Nome = nome, .Largura = largura, .Tipo = TTipoCampo::Numero};
}
constexpr TCampo Data(const char* nome) {
  return {.Nome = nome, .Largura = 8, .Tipo = TTipoCampo::Data, .FormatoData = TFormatoData::DDMMAAAA};
}
constexpr TCampo Valor(const char* nome) {
  return {.Nome = nome, .Largura = 13, .Tipo = TTipoCampo::Valor, .FormatoValor = TFormatoValor::Centavos};
}

TLeiaute Cabecalho() {
  return {"CAB", {TextoInteiro("CNPJ", 14), Data("DATAINICIAL"), Data("DATAFINAL"), Data("DATAGERACAO"), Texto("SETOR", 80)}};
}

}  // namespace

const TLeiaute& LayoutCabecalhoMovimento() {
  static const TLeiaute l = Cabecalho();
  return l;
}

const TLeiaute& LayoutCabecalhoBalancete() {
  static const TLeiaute l = Cabecalho();
  return l;
}

const TLeiaute& LayoutMovimento() {
  // Two columns share the name CHAVELCTO: the court's layout has both, only the first is filled.
  static const TLeiaute l = {"MOV",
                             {Codigo("CONTA", 20), Codigo("LOTE", 10), Codigo("CHAVELCTO", 10), Texto("CHAVELCTO", 10),
                              Data("DATA"), Texto("TIPOLCTO", 8), Valor("VALOR"), Texto("HISTORICO", 180),
                              Texto("ZERAMENTO", 1)}};
  return l;
}

const TLeiaute& LayoutBalancete() {
  static const TLeiaute l = {"BAL",
                             {Codigo("CONTA", 20), Valor("SALDOANTERIORDEV"), Valor("SALDOANTERIORCRED"),
                              Valor("MOVDEBITO"), Valor("MOVCREDITO"), Valor("SALDOATUALDEB"), Valor("SALDOATUALCRED"),
                              Texto("ESPEC", 150), Texto("TIPOPNIVEL", 1), Codigo("NUMERONIVEL", 2),
                              Texto("SISTEMACONTABIL", 1)}};
  return l;
}

const TLeiaute& LayoutFinalizador() {
  static const TLeiaute l = {"FIN", {Texto("DESCRICAO", 11), Codigo("QTDE", 10)}};
  return l;
}

void ConferirValorRS(Currency valor, const std::string& arquivo, const TLeiaute& registro, std::string_view conta,
                     const char* campo) {
  static const Currency Maior = Currency::FromString("99999999999.99");
  const Currency centavos = valor.Round(2);
  if (centavos < Currency() || centavos > Maior)
    throw ENaoCabe(arquivo, registro.Nome, std::string(conta), campo, FormatarValor(valor, TFormatoValor::Ponto), 13,
                   centavos < Currency());
}

}  // namespace nUlmoRS
