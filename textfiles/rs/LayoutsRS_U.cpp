#include "LayoutsRS_U.h"

#include "FormatUtils_U.h"
#include "TextUtils_U.h"

namespace nUlmoRS {

using namespace nFramework;

const TLayoutRS& LayoutCabecalhoMovimento() {
  static const TLayoutRS l = {
      {"CNPJ", 14, '\0'}, {"DATAINICIAL", 8, '\0'}, {"DATAFINAL", 8, '\0'}, {"DATAGERACAO", 8, '\0'}, {"SETOR", 80, '\0'}};
  return l;
}

const TLayoutRS& LayoutCabecalhoBalancete() {
  static const TLayoutRS l = {
      {"CNPJ", 14, '\0'}, {"DATAINICIAL", 8, '\0'}, {"DATAFINAL", 8, '\0'}, {"DATAGERACAO", 8, '\0'}, {"SETOR", 80, ' '}};
  return l;
}

const TLayoutRS& LayoutMovimento() {
  // Two columns share the name CHAVELCTO: the court's layout has both, only the first is filled.
  static const TLayoutRS l = {{"CONTA", 20, '\0'},   {"LOTE", 10, '\0'},  {"CHAVELCTO", 10, '\0'},
                              {"CHAVELCTO", 10, '\0'}, {"DATA", 8, '\0'},   {"TIPOLCTO", 8, '\0'},
                              {"VALOR", 13, '\0'},   {"HISTORICO", 180, ' '}, {"ZERAMENTO", 1, '\0'}};
  return l;
}

const TLayoutRS& LayoutBalancete() {
  static const TLayoutRS l = {{"CONTA", 20, '\0'},         {"SALDOANTERIORDEV", 13, '\0'}, {"SALDOANTERIORCRED", 13, '\0'},
                              {"MOVDEBITO", 13, '\0'},     {"MOVCREDITO", 13, '\0'},       {"SALDOATUALDEB", 13, '\0'},
                              {"SALDOATUALCRED", 13, '\0'}, {"ESPEC", 150, ' '},            {"TIPOPNIVEL", 1, '\0'},
                              {"NUMERONIVEL", 2, '\0'},    {"SISTEMACONTABIL", 1, '\0'}};
  return l;
}

const TLayoutRS& LayoutFinalizador() {
  static const TLayoutRS l = {{"DESCRICAO", 11, '\0'}, {"QTDE", 10, '\0'}};
  return l;
}

int LarguraLinha(const TLayoutRS& layout) {
  int w = 0;
  for (const auto& c : layout) w += c.Largura;
  return w;
}

void DeclararCampos(TRecord& record, const TLayoutRS& layout) {
  for (const auto& c : layout) record.CreateFieldToString(c.Nome, c.Largura, c.Preenchimento, TJustification::Left, true, false);
}

ENaoCabeRS::ENaoCabeRS(const std::string& arquivo, const std::string& conta, const std::string& coluna,
                       const std::string& valor, int largura)
    : Exception("Arquivo " + arquivo + (conta.empty() ? std::string() : ", conta " + conta) + ": o valor " + valor +
                " não cabe na coluna " + coluna + " (" + std::to_string(largura) +
                " posições). Nenhum arquivo foi gerado.") {}

EValorNegativoRS::EValorNegativoRS(const std::string& arquivo, const std::string& conta, const std::string& coluna,
                                   const std::string& valor)
    : Exception("Arquivo " + arquivo + (conta.empty() ? std::string() : ", conta " + conta) + ": o valor " + valor +
                " da coluna " + coluna + " é negativo, e a coluna não tem sinal. Nenhum arquivo foi gerado.") {}

std::string NumeroRS(std::string_view texto, int largura, const TContextoRS& contexto, const char* coluna) {
  if (static_cast<int>(Utf8Length(texto)) > largura)
    throw ENaoCabeRS(contexto.Arquivo, contexto.Conta, coluna, std::string(texto), largura);
  return PreencherEsquerda(texto, largura, "0");
}

std::string ValorRS(Currency valor, const TContextoRS& contexto, const char* coluna) {
  const Currency centavos = valor.Round(2);
  // A sum that rounds to zero is no negative amount, whatever its sign before rounding.
  if (centavos < Currency())
    throw EValorNegativoRS(contexto.Arquivo, contexto.Conta, coluna, FormatFloat("0.00", centavos));
  std::string digitos = std::to_string(centavos.Raw() / (Currency::Scale / 100));
  if (digitos.size() > 13) throw ENaoCabeRS(contexto.Arquivo, contexto.Conta, coluna, FormatFloat("0.00", centavos), 13);
  return PreencherEsquerda(digitos, 13, "0");
}

}  // namespace nUlmoRS
