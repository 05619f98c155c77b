#include "RegraBaseCalculo_U.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <map>

#include "Classes_U.h"
#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

using TFuncaoSaldo = std::function<Currency(const std::string&, int64_t)>;

TnDMRegraBaseCalculo::TEditorFormulaCTB& Editor() {
  static TnDMRegraBaseCalculo::TEditorFormulaCTB editor;
  return editor;
}

// Signs and parentheses nested in a formula: a rule is a few levels deep, and each level is a
// few frames of the descent below.
constexpr int MaxNiveisFormula = 100;

[[noreturn]] void SemValor(const char* aMotivo) { throw EFormulaSemValor(std::string("Sem valor: ") + aMotivo); }

// Ten-thousandths of a product or quotient, rounded half away from zero as the platform's
// currency does.
Currency Arredondado(__int128 numerador, __int128 denominador) {
  if (denominador < 0) numerador = -numerador, denominador = -denominador;
  __int128 q = numerador / denominador, r = numerador % denominador;
  if (2 * (r < 0 ? -r : r) >= denominador) q += numerador < 0 ? -1 : 1;
  if (q > INT64_MAX || q <= INT64_MIN) SemValor("resultado fora do alcance");
  return Currency::FromRaw(static_cast<int64_t>(q));
}

Currency Somar(Currency a, Currency b) {
  int64_t r;
  if (__builtin_add_overflow(a.Raw(), b.Raw(), &r)) SemValor("resultado fora do alcance");
  return Currency::FromRaw(r);
}

// Recursive descent over the text; with no dataset it only checks the syntax.
class TAvaliador {
 public:
  TAvaliador(std::string_view aTexto, const std::set<std::string>& aFuncoes,
             const TFuncaoSaldo& aSaldo)
      : FTexto(aTexto), FFuncoes(aFuncoes), FSaldo(aSaldo) {}

  Currency Avaliar() {
    Espacos();
    if (FPos >= FTexto.size()) Erro("fórmula vazia");
    Currency v = Soma();
    Espacos();
    if (FPos < FTexto.size()) Erro("caractere inesperado '" + CitarCaractere(FTexto, FPos) + "'");
    return v;
  }

 private:
  [[noreturn]] void Erro(const std::string& aMotivo) const {
    throw Exception("Fórmula inválida (posição " + std::to_string(FPos + 1) + "): " + aMotivo);
  }
  void Espacos() {
    while (FPos < FTexto.size() && std::isspace(static_cast<unsigned char>(FTexto[FPos]))) ++FPos;
  }
  bool Aceitar(char c) {
    Espacos();
    if (FPos < FTexto.size() && FTexto[FPos] == c) {
      ++FPos;
      return true;
    }
    return false;
  }
  // Checking the syntax only, the values are all zero and no arithmetic is done.
  bool Calcula() const { return static_cast<bool>(FSaldo); }
  Currency Soma() {
    Currency v = Produto();
    for (;;) {
      if (Aceitar('+')) {
        Currency b = Produto();
        if (Calcula()) v = Somar(v, b);
      } else if (Aceitar('-')) {
        Currency b = Produto();
        if (Calcula()) v = Somar(v, -b);
      } else {
        return v;
      }
    }
  }
  Currency Produto() {
    Currency v = Fator();
    for (;;) {
      if (Aceitar('*')) {
        Currency b = Fator();
        if (Calcula()) v = Arredondado(static_cast<__int128>(v.Raw()) * b.Raw(), Currency::Scale);
      } else if (Aceitar('/')) {
        Currency b = Fator();
        if (!Calcula()) continue;
        if (b == Currency()) SemValor("divisão por zero");
        v = Arredondado(static_cast<__int128>(v.Raw()) * Currency::Scale, b.Raw());
      } else {
        return v;
      }
    }
  }
  // One level of signs or parentheses, refused past MaxNiveisFormula.
  struct TNivel {
    explicit TNivel(TAvaliador& aAvaliador) : FAvaliador(aAvaliador) {
      if (++FAvaliador.FNivel > MaxNiveisFormula)
        FAvaliador.Erro("mais de " + std::to_string(MaxNiveisFormula) + " níveis de parênteses e sinais.");
    }
    ~TNivel() { --FAvaliador.FNivel; }
    TNivel(const TNivel&) = delete;
    TNivel& operator=(const TNivel&) = delete;
    TAvaliador& FAvaliador;
  };

  Currency Fator() {
    if (Aceitar('-')) {
      TNivel nivel(*this);
      return -Fator();
    }
    if (Aceitar('+')) {
      TNivel nivel(*this);
      return Fator();
    }
    if (Aceitar('(')) {
      TNivel nivel(*this);
      Currency v = Soma();
      if (!Aceitar(')')) Erro("falta ')'");
      return v;
    }
    Espacos();
    if (FPos >= FTexto.size()) Erro("fim inesperado");
    unsigned char c = static_cast<unsigned char>(FTexto[FPos]);
    if (std::isdigit(c) || c == '.') return Numero();
    if (std::isalpha(c) || c == '_') return Funcao();
    Erro("caractere inesperado '" + CitarCaractere(FTexto, FPos) + "'");
  }
  // A decimal as written, rounded at the fourth place.
  Currency Numero() {
    size_t ini = FPos;
    while (FPos < FTexto.size() && (std::isdigit(static_cast<unsigned char>(FTexto[FPos])) || FTexto[FPos] == '.'))
      ++FPos;
    std::string t(FTexto.substr(ini, FPos - ini));
    size_t ponto = t.find('.');
    if (t == "." || (ponto != std::string::npos && t.find('.', ponto + 1) != std::string::npos))
      Erro("número inválido '" + t + "'");
    // A currency holds 922,337,203,685,477 and some ten-thousandths.
    std::string inteiro = t.substr(0, ponto);
    inteiro.erase(0, std::min(inteiro.find_first_not_of('0'), inteiro.size()));
    if (inteiro.size() > 15 || (inteiro.size() == 15 && inteiro >= "922337203685477"))
      Erro("número fora do alcance '" + t + "'");
    return Currency::FromString(t);
  }
  Currency Funcao() {
    size_t ini = FPos;
    while (FPos < FTexto.size() && (std::isalnum(static_cast<unsigned char>(FTexto[FPos])) || FTexto[FPos] == '_')) ++FPos;
    std::string nome = UpperCase(FTexto.substr(ini, FPos - ini));
    if (!FFuncoes.count(nome)) Erro("função desconhecida " + nome);
    if (!Aceitar('(')) Erro("falta '(' depois de " + nome);
    Espacos();
    size_t iniConta = FPos;
    while (FPos < FTexto.size() && std::isdigit(static_cast<unsigned char>(FTexto[FPos]))) ++FPos;
    int64_t conta = 0;
    auto [p, ec] = std::from_chars(FTexto.data() + iniConta, FTexto.data() + FPos, conta);
    if (FPos == iniConta || ec != std::errc() || p != FTexto.data() + FPos) Erro("conta inválida em " + nome);
    if (!Aceitar(')')) Erro("falta ')' em " + nome);
    return FSaldo ? FSaldo(nome, conta) : Currency();
  }

  std::string_view FTexto;
  const std::set<std::string>& FFuncoes;
  const TFuncaoSaldo& FSaldo;
  size_t FPos = 0;
  int FNivel = 0;
};

}  // namespace

void TnDMRegraBaseCalculo::SetEditorFormula(TEditorFormula aEditor) {
  if (!aEditor) return SetEditorFormula(nullptr);
  Editor() = [editor = std::move(aEditor)](const std::string& aFormula, const TnDMRegraBaseCalculo&) {
    return editor(aFormula);
  };
}

void TnDMRegraBaseCalculo::SetEditorFormula(TEditorFormulaCTB aEditor) { Editor() = std::move(aEditor); }

void TnDMRegraBaseCalculo::SetEditorFormula(std::nullptr_t) { Editor() = nullptr; }

void TnDMRegraBaseCalculo::RegistrarCTB() {
  // The names are the balance columns the functions read.
  FFuncoesCTB = {
      {"SALDOANTERIOR", "conta", "Saldo da conta no início do período"},
      {"DEBITO", "conta", "Débitos da conta no período"},
      {"CREDITO", "conta", "Créditos da conta no período"},
      {"MOVIMENTO", "conta", "Movimento da conta no período"},
      {"SALDOATUAL", "conta", "Saldo da conta no fim do período"},
  };
  FFuncoes.clear();
  for (const auto& f : FFuncoesCTB) FFuncoes.insert(f.Nome);
}

std::vector<TnDMRegraBaseCalculo::TSaldoConta> TnDMRegraBaseCalculo::SaldosCTB() const {
  std::vector<TSaldoConta> contas;
  if (!TemPlano()) return contas;
  TClientDataSet& d = *FCdsPlano;
  TField& conta = d.FieldByName("CONTACTB");
  TField* classif = d.FindField("CLASSIFCONTA");
  TField* descr = d.FindField("DESCRCONTA");
  TField* tipo = d.FindField("TIPOCONTA");
  TField* valores[] = {&d.FieldByName("SALDOANTERIOR"), &d.FieldByName("DEBITO"), &d.FieldByName("CREDITO"),
                       &d.FieldByName("MOVIMENTO"), &d.FieldByName("SALDOATUAL")};
  std::map<int64_t, size_t> posicao;
  TClientDataSet::TBookmark pos = d.GetBookmark();
  for (d.First(); !d.Eof(); d.Next()) {
    if (conta.IsNull()) continue;
    auto [it, nova] = posicao.emplace(conta.AsLargeInt(), contas.size());
    if (nova) {
      TSaldoConta c;
      c.ContaCtb = conta.AsLargeInt();
      if (classif) c.Classificacao = classif->AsString();
      if (descr) c.Descricao = descr->AsString();
      // The host's account types: 1 synthetic, 2 analytic.
      if (tipo) c.Sintetica = !tipo->IsNull() && tipo->AsInteger() == 1;
      contas.push_back(std::move(c));
    }
    // Rows split by establishment or month add up, as the formulas add them.
    TSaldoConta& c = contas[it->second];
    c.SaldoAnterior += valores[0]->AsCurrency();
    c.Debito += valores[1]->AsCurrency();
    c.Credito += valores[2]->AsCurrency();
    c.Movimento += valores[3]->AsCurrency();
    c.SaldoAtual += valores[4]->AsCurrency();
  }
  d.GotoBookmark(pos);
  return contas;
}

std::string TnDMRegraBaseCalculo::MotivoFormulaInvalida(std::string_view aFormula) const {
  TFuncaoSaldo semSaldo;
  try {
    TAvaliador(aFormula, FFuncoes, semSaldo).Avaliar();
    return {};
  } catch (const Exception& e) {
    return e.what();
  }
}

bool TnDMRegraBaseCalculo::ValidarFormulaCTB(std::string_view aFormula) const {
  TFuncaoSaldo semSaldo;
  try {
    TAvaliador(aFormula, FFuncoes, semSaldo).Avaliar();
    return true;
  } catch (const Exception&) {
    return false;
  }
}

Currency TnDMRegraBaseCalculo::ExecutarFormulaCTB(std::string_view aFormula) const {
  // The whole text is read first: a division by zero met on the way must not hide that the
  // rule itself is invalid.
  if (std::string motivo = MotivoFormulaInvalida(aFormula); !motivo.empty()) throw Exception(motivo);
  TFuncaoSaldo saldo = [this](const std::string& aColuna, int64_t aConta) {
    if (!FCdsPlano || !FCdsPlano->Active()) return Currency();
    // Rows split by establishment or month add up.
    Currency total;
    TField& conta = FCdsPlano->FieldByName("CONTACTB");
    TField& valor = FCdsPlano->FieldByName(aColuna);
    TClientDataSet::TBookmark pos = FCdsPlano->GetBookmark();
    for (FCdsPlano->First(); !FCdsPlano->Eof(); FCdsPlano->Next())
      if (!conta.IsNull() && conta.AsLargeInt() == aConta) total = Somar(total, valor.AsCurrency());
    FCdsPlano->GotoBookmark(pos);
    return total;
  };
  return TAvaliador(aFormula, FFuncoes, saldo).Avaliar();
}

std::string TnDMRegraBaseCalculo::MontarFormulaCTB(const std::string& aFormula) const {
  return Editor() ? Editor()(aFormula, *this) : aFormula;
}

}  // namespace nFramework
