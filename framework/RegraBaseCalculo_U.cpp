#include "RegraBaseCalculo_U.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "Exceptions_U.h"

namespace nFramework {

namespace {

class EFormula : public Exception {
 public:
  using Exception::Exception;
};

// Recursive descent over the text; with AAvaliar false it only checks the syntax.
class TAnalisador {
 public:
  TAnalisador(std::string_view AFormula, bool ACTB, bool AAvaliar, TClientDataSet* APlano)
      : FTexto(AFormula), FCTB(ACTB), FAvaliar(AAvaliar), FPlano(APlano) {}

  double Executar() {
    Espacos();
    if (FPos >= FTexto.size()) throw EFormula("fórmula vazia");
    double v = Expressao();
    Espacos();
    if (FPos < FTexto.size()) Erro("caractere inesperado '" + std::string(1, FTexto[FPos]) + "'");
    return v;
  }

 private:
  [[noreturn]] void Erro(const std::string& AMotivo) {
    throw EFormula(AMotivo + " na posição " + std::to_string(FPos + 1));
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
  double Expressao() {
    double v = Termo();
    for (;;) {
      if (Aceitar('+')) v += Termo();
      else if (Aceitar('-')) v -= Termo();
      else return v;
    }
  }
  double Termo() {
    double v = Fator();
    for (;;) {
      if (Aceitar('*')) {
        v *= Fator();
      } else if (Aceitar('/')) {
        size_t pos = FPos;
        double d = Fator();
        if (FAvaliar && d == 0) {
          FPos = pos;
          Erro("divisão por zero");
        }
        if (FAvaliar) v /= d;
      } else {
        return v;
      }
    }
  }
  double Numero() {
    size_t ini = FPos;
    while (FPos < FTexto.size() && (std::isdigit(static_cast<unsigned char>(FTexto[FPos])) || FTexto[FPos] == '.')) ++FPos;
    std::string t(FTexto.substr(ini, FPos - ini));
    char* fim = nullptr;
    double v = std::strtod(t.c_str(), &fim);
    if (t.empty() || fim != t.c_str() + t.size()) {
      FPos = ini;
      Erro("número inválido");
    }
    return v;
  }
  double Fator() {
    Espacos();
    if (FPos >= FTexto.size()) Erro("fim inesperado da fórmula");
    char c = FTexto[FPos];
    if (c == '-') {
      ++FPos;
      return -Fator();
    }
    if (c == '+') {
      ++FPos;
      return Fator();
    }
    if (c == '(') {
      ++FPos;
      double v = Expressao();
      if (!Aceitar(')')) Erro("falta ')'");
      return v;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') return Numero();
    if (std::isalpha(static_cast<unsigned char>(c))) return Funcao();
    Erro("caractere inesperado '" + std::string(1, c) + "'");
  }
  double Funcao() {
    size_t ini = FPos;
    while (FPos < FTexto.size() && (std::isalnum(static_cast<unsigned char>(FTexto[FPos])) || FTexto[FPos] == '_')) ++FPos;
    std::string nome(FTexto.substr(ini, FPos - ini));
    for (auto& ch : nome) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    static const std::vector<std::string> kFuncoes = {"SALDOANTERIOR", "DEBITO", "CREDITO", "MOVIMENTO", "SALDOATUAL"};
    bool conhecida = false;
    for (const auto& f : kFuncoes) conhecida = conhecida || f == nome;
    if (!conhecida || !FCTB) {
      FPos = ini;
      Erro("função desconhecida '" + nome + "'");
    }
    if (!Aceitar('(')) Erro("falta '(' após " + nome);
    Espacos();
    double conta = Numero();
    if (!Aceitar(')')) Erro("falta ')'");
    if (!FAvaliar) return 0;
    if (!FPlano) throw EFormula("não há saldos contábeis para avaliar " + nome);
    if (!FPlano->FindKey({TVariant(conta)})) return 0;
    return FPlano->FieldByName(nome).AsFloat();
  }

  std::string_view FTexto;
  size_t FPos = 0;
  bool FCTB, FAvaliar;
  TClientDataSet* FPlano;
};

}  // namespace

bool TnDMRegraBaseCalculo::ValidarFormulaCTB(std::string_view AFormula, std::string* AMensagem) const {
  try {
    TAnalisador(AFormula, FCTBRegistrado, false, nullptr).Executar();
    return true;
  } catch (const EFormula& e) {
    if (AMensagem) *AMensagem = "Fórmula inválida: " + std::string(e.what());
    return false;
  }
}

double TnDMRegraBaseCalculo::ExecutarFormulaCTB(std::string_view AFormula) const {
  try {
    return TAnalisador(AFormula, FCTBRegistrado, true, FcdsPlano).Executar();
  } catch (const EFormula& e) {
    throw Exception("Fórmula \"" + std::string(AFormula) + "\" inválida: " + e.what());
  }
}

}  // namespace nFramework
