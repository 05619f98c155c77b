#include "RegraBaseCalculo_U.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <map>

#include "Classes_U.h"
#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

TnDMRegraBaseCalculo::TEditorFormulaCTB& Editor() {
  static TnDMRegraBaseCalculo::TEditorFormulaCTB editor;
  return editor;
}

// Signs and parentheses nested in a formula: a rule is a few levels deep, and each level is a
// few frames of the descent below.
constexpr int MaxNiveisFormula = 100;

// Recursive descent over the text; with no dataset it only checks the syntax.
class TAvaliador {
 public:
  TAvaliador(std::string_view aTexto, const std::set<std::string>& aFuncoes,
             const std::function<double(const std::string&, int64_t)>& aSaldo)
      : FTexto(aTexto), FFuncoes(aFuncoes), FSaldo(aSaldo) {}

  double Avaliar() {
    Espacos();
    if (FPos >= FTexto.size()) Erro("fórmula vazia");
    double v = Soma();
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
  double Soma() {
    double v = Produto();
    for (;;) {
      if (Aceitar('+'))
        v += Produto();
      else if (Aceitar('-'))
        v -= Produto();
      else
        return v;
    }
  }
  double Produto() {
    double v = Fator();
    for (;;) {
      if (Aceitar('*'))
        v *= Fator();
      else if (Aceitar('/'))
        v /= Fator();
      else
        return v;
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

  double Fator() {
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
      double v = Soma();
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
  double Numero() {
    size_t ini = FPos;
    while (FPos < FTexto.size() && (std::isdigit(static_cast<unsigned char>(FTexto[FPos])) || FTexto[FPos] == '.'))
      ++FPos;
    std::string t(FTexto.substr(ini, FPos - ini));
    char* fim = nullptr;
    double v = std::strtod(t.c_str(), &fim);
    if (t == "." || fim != t.c_str() + t.size()) Erro("número inválido '" + t + "'");
    return v;
  }
  double Funcao() {
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
    return FSaldo ? FSaldo(nome, conta) : 0.0;
  }

  std::string_view FTexto;
  const std::set<std::string>& FFuncoes;
  const std::function<double(const std::string&, int64_t)>& FSaldo;
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
    c.SaldoAnterior += valores[0]->AsFloat();
    c.Debito += valores[1]->AsFloat();
    c.Credito += valores[2]->AsFloat();
    c.Movimento += valores[3]->AsFloat();
    c.SaldoAtual += valores[4]->AsFloat();
  }
  d.GotoBookmark(pos);
  return contas;
}

std::string TnDMRegraBaseCalculo::MotivoFormulaInvalida(std::string_view aFormula) const {
  std::function<double(const std::string&, int64_t)> semSaldo;
  try {
    TAvaliador(aFormula, FFuncoes, semSaldo).Avaliar();
    return {};
  } catch (const Exception& e) {
    return e.what();
  }
}

bool TnDMRegraBaseCalculo::ValidarFormulaCTB(std::string_view aFormula) const {
  std::function<double(const std::string&, int64_t)> semSaldo;
  try {
    TAvaliador(aFormula, FFuncoes, semSaldo).Avaliar();
    return true;
  } catch (const Exception&) {
    return false;
  }
}

double TnDMRegraBaseCalculo::ExecutarFormulaCTB(std::string_view aFormula) const {
  std::function<double(const std::string&, int64_t)> saldo = [this](const std::string& aColuna, int64_t aConta) {
    if (!FCdsPlano || !FCdsPlano->Active()) return 0.0;
    // Rows split by establishment or month add up.
    double total = 0;
    TField& conta = FCdsPlano->FieldByName("CONTACTB");
    TField& valor = FCdsPlano->FieldByName(aColuna);
    TClientDataSet::TBookmark pos = FCdsPlano->GetBookmark();
    for (FCdsPlano->First(); !FCdsPlano->Eof(); FCdsPlano->Next())
      if (!conta.IsNull() && conta.AsLargeInt() == aConta) total += valor.AsFloat();
    FCdsPlano->GotoBookmark(pos);
    return total;
  };
  return TAvaliador(aFormula, FFuncoes, saldo).Avaliar();
}

std::string TnDMRegraBaseCalculo::MontarFormulaCTB(const std::string& aFormula) const {
  return Editor() ? Editor()(aFormula, *this) : aFormula;
}

}  // namespace nFramework
