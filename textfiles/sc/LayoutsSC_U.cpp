#include "LayoutsSC_U.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "DateUtils_U.h"
#include "FormatUtils_U.h"
#include "TextUtils_U.h"

namespace nUlmoSC {

using namespace nFramework;

const TLayoutSC& LayoutLancamentoContabil() {
  static const TLayoutSC l = {
      {"Competência", 16, TTipoCampoSC::T},   {"Sequencial", 8, TTipoCampoSC::N},
      {"Tipo de lançamento", 2, TTipoCampoSC::N}, {"Tipo de movimento", 2, TTipoCampoSC::N},
      {"Ano da conta", 4, TTipoCampoSC::N},   {"Classificação TCE", 50, TTipoCampoSC::T},
      {"Data", 8, TTipoCampoSC::D8},          {"Valor", 16, TTipoCampoSC::Money},
      {"Histórico", 150, TTipoCampoSC::T}};
  return l;
}

const TLayoutSC& LayoutMovimentoContabil() {
  static const TLayoutSC l = {{"Ano da conta", 4, TTipoCampoSC::N},      {"Classificação TCE", 50, TTipoCampoSC::T},
                              {"Tipo de movimento", 2, TTipoCampoSC::N}, {"Competência", 6, TTipoCampoSC::N},
                              {"Valor a débito", 16, TTipoCampoSC::Money}, {"Valor a crédito", 16, TTipoCampoSC::Money}};
  return l;
}

const TLayoutSC& LayoutAplicacaoFinanceira() {
  static const TLayoutSC l = {{"Ano da conta", 4, TTipoCampoSC::N},        {"Classificação TCE", 50, TTipoCampoSC::T},
                              {"Competência", 6, TTipoCampoSC::N},         {"Valor aplicado", 16, TTipoCampoSC::Money},
                              {"Valor resgatado", 16, TTipoCampoSC::Money}, {"Valor de rendimento", 16, TTipoCampoSC::Money}};
  return l;
}

const TLayoutSC& LayoutContaContabil() {
  static const TLayoutSC l = {
      {"Ano da conta", 4, TTipoCampoSC::N},        {"Classificação TCE", 50, TTipoCampoSC::T},
      {"Tipo da conta TCE", 2, TTipoCampoSC::N},   {"Descrição da conta TCE", 100, TTipoCampoSC::T},
      {"Descrição detalhada", 255, TTipoCampoSC::T}, {"Conta analítica", 1, TTipoCampoSC::T},
      {"Número de níveis", 2, TTipoCampoSC::N},    {"Natureza do saldo", 2, TTipoCampoSC::N},
      {"Conta TCE", 4, TTipoCampoSC::N},           {"Conta sintética", 50, TTipoCampoSC::T},
      {"Banco", 4, TTipoCampoSC::N},               {"Agência", 6, TTipoCampoSC::N},
      {"Número da conta", 10, TTipoCampoSC::T}};
  return l;
}

int LarguraLinha(const TLayoutSC& layout) {
  int w = 0;
  for (const auto& c : layout) w += c.Largura;
  return w;
}

ECampoNaoCabe::ECampoNaoCabe(std::string campo, std::string valor, int largura, std::string motivo)
    : Exception("O valor \"" + valor + "\" do campo " + campo + " " + motivo + " (" + std::to_string(largura) + " posições)"),
      Campo(std::move(campo)),
      Valor(std::move(valor)),
      Motivo(std::move(motivo)),
      Largura(largura) {}

const TCampoSC& TLinhaSC::Proximo(TTipoCampoSC esperado) {
  if (FCampo >= FLayout.size()) throw EInternalError("campo a mais na linha");
  const TCampoSC& c = FLayout[FCampo++];
  bool ok = c.Tipo == esperado || (esperado == TTipoCampoSC::N && c.Tipo == TTipoCampoSC::T);
  if (!ok) throw EInternalError(std::string("tipo inesperado para o campo ") + c.Nome);
  return c;
}

namespace {

// Characters (not bytes) of UTF-8 text within `limit`, and the bytes they take.
size_t PrefixoEmCaracteres(std::string_view v, size_t limit, size_t& chars) {
  size_t i = 0;
  chars = 0;
  while (i < v.size() && chars < limit) {
    unsigned char c = static_cast<unsigned char>(v[i]);
    i += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ++chars;
  }
  return std::min(i, v.size());
}

}  // namespace

// Lines are built in place, without a string per field: the files have millions of them.
TLinhaSC& TLinhaSC::Add(std::string_view valor) {
  const TCampoSC& c = Proximo(TTipoCampoSC::N);
  size_t largura = static_cast<size_t>(c.Largura);
  size_t chars;
  if (c.Tipo == TTipoCampoSC::N) {
    size_t bytes = PrefixoEmCaracteres(valor, largura + 1, chars);
    if (chars > largura || bytes < valor.size())
      throw ECampoNaoCabe(c.Nome, std::string(valor), c.Largura, "não cabe no arquivo");
    if (!valor.empty() && valor.front() == '-')
      throw ECampoNaoCabe(c.Nome, std::string(valor), c.Largura, "é negativo e o campo não tem sinal");
    FTexto.append(largura - chars, '0');
    FTexto.append(valor);
  } else {
    size_t bytes = PrefixoEmCaracteres(valor, largura, chars);
    FTexto.append(valor.data(), bytes);
    FTexto.append(largura - chars, ' ');
  }
  return *this;
}

TLinhaSC& TLinhaSC::AddData(double data) {
  Proximo(TTipoCampoSC::D8);
  int y, m, d;
  DecodeDate(data, y, m, d);
  char buf[16];
  int n = std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
  FTexto.append(buf, static_cast<size_t>(n));
  return *this;
}

TLinhaSC& TLinhaSC::AddValor(double valor) {
  const TCampoSC& c = Proximo(TTipoCampoSC::Money);
  // Amounts of two decimals (all that the books hold) are written from their cents; any other
  // goes through FormatFloat, whose rounding they share.
  double centavos = valor * 100;
  double inteiro = std::nearbyint(centavos);
  std::string t;
  if (std::fabs(centavos - inteiro) < 1e-6 && std::fabs(inteiro) < 1e15) {
    long long cents = static_cast<long long>(inteiro);
    char buf[40];
    long long a = cents < 0 ? -cents : cents;
    int n = std::snprintf(buf, sizeof buf, "%s%lld.%02lld", cents < 0 ? "-" : "", a / 100, a % 100);
    t.assign(buf, static_cast<size_t>(n));
  } else {
    t = FormatFloat("0.00", valor);
  }
  if (!t.empty() && t.front() == '-') throw ECampoNaoCabe(c.Nome, t, c.Largura, "é negativo e o campo não tem sinal");
  if (t.size() > static_cast<size_t>(c.Largura)) throw ECampoNaoCabe(c.Nome, t, c.Largura, "não cabe no arquivo");
  FTexto.append(static_cast<size_t>(c.Largura) - t.size(), '0');
  for (char ch : t) FTexto += ch == ',' ? '.' : ch;
  return *this;
}

std::string TLinhaSC::Texto() const {
  if (FCampo != FLayout.size()) throw EInternalError("linha com campos faltando");
  return FTexto;
}

std::string_view TLinhaSC::Linha() const {
  if (FCampo != FLayout.size()) throw EInternalError("linha com campos faltando");
  return FTexto;
}

std::string TLinhaSC::Extrair() {
  if (FCampo != FLayout.size()) throw EInternalError("linha com campos faltando");
  return std::move(FTexto);
}

}  // namespace nUlmoSC
