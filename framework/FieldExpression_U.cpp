#include "FieldExpression_U.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

// Calls and lists nested in an expression. Parsing, evaluating and freeing the tree each recurse
// once per level; a register's expression is two or three deep.
constexpr int MaxNiveisExpressao = 64;

struct TNo {
  enum TTipo { Texto, Numero, Nome, Chamada, Lista } Tipo = Texto;
  std::string Valor;  // text, number text, name or function name
  std::vector<std::unique_ptr<TNo>> Args;
};

class TParser {
 public:
  explicit TParser(std::string_view aText) : FText(aText) {}

  std::unique_ptr<TNo> Parse() {
    auto no = Expr();
    Blank();
    if (FPos != FText.size()) Falhar("texto inesperado");
    return no;
  }

 private:
  [[noreturn]] void Falhar(const std::string& aMotivo) const {
    throw Exception("Expressão inválida: " + CitarValor(FText) + " (" + aMotivo + " na posição " +
                    std::to_string(FPos + 1) + ")");
  }
  void Blank() {
    while (FPos < FText.size() && static_cast<unsigned char>(FText[FPos]) <= ' ') ++FPos;
  }
  bool Aceitar(char c) {
    Blank();
    if (FPos < FText.size() && FText[FPos] == c) {
      ++FPos;
      return true;
    }
    return false;
  }
  void Esperar(char c) {
    if (!Aceitar(c)) Falhar(std::string("esperava '") + c + "'");
  }
  static bool InicioNome(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
  static bool ParteNome(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

  std::vector<std::unique_ptr<TNo>> Itens(char aFim) {
    if (++FNivel > MaxNiveisExpressao)
      Falhar("mais de " + std::to_string(MaxNiveisExpressao) + " chamadas e listas aninhadas");
    std::vector<std::unique_ptr<TNo>> r;
    if (Aceitar(aFim)) {
      --FNivel;
      return r;
    }
    do {
      r.push_back(Expr());
    } while (Aceitar(','));
    Esperar(aFim);
    --FNivel;
    return r;
  }

  std::unique_ptr<TNo> Expr() {
    Blank();
    if (FPos >= FText.size()) Falhar("expressão incompleta");
    auto no = std::make_unique<TNo>();
    char c = FText[FPos];
    if (c == '"' || c == '\'') {
      ++FPos;
      size_t fim = FText.find(c, FPos);
      if (fim == std::string_view::npos) Falhar("texto sem aspas de fechamento");
      no->Tipo = TNo::Texto;
      no->Valor = std::string(FText.substr(FPos, fim - FPos));
      FPos = fim + 1;
    } else if (c == '[') {
      ++FPos;
      no->Tipo = TNo::Lista;
      no->Args = Itens(']');
    } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+') {
      size_t ini = FPos++;
      while (FPos < FText.size() && (std::isdigit(static_cast<unsigned char>(FText[FPos])) || FText[FPos] == '.'))
        ++FPos;
      no->Tipo = TNo::Numero;
      no->Valor = std::string(FText.substr(ini, FPos - ini));
    } else if (InicioNome(c)) {
      size_t ini = FPos;
      while (FPos < FText.size() && ParteNome(FText[FPos])) ++FPos;
      no->Valor = std::string(FText.substr(ini, FPos - ini));
      if (Aceitar('(')) {
        no->Tipo = TNo::Chamada;
        no->Valor = UpperCase(no->Valor);
        no->Args = Itens(')');
      } else {
        no->Tipo = TNo::Nome;
      }
    } else {
      Falhar("caractere inesperado '" + CitarCaractere(FText, FPos) + "'");
    }
    return no;
  }

  std::string_view FText;
  size_t FPos = 0;
  int FNivel = 0;
};

std::string TextoDe(const TVariant& v) {
  if (v.Kind() == TVarKind::Boolean) return v.AsBoolean() ? "True" : "False";
  return VarToStr(v);
}

bool Iguais(const TVariant& a, const TVariant& b) {
  std::string ta = TextoDe(a), tb = TextoDe(b);
  double da, db;
  if (TryStrToFloat(ta, da) && TryStrToFloat(tb, db)) return da == db;
  return ta == tb;
}

class TAvaliador {
 public:
  TAvaliador(std::string_view aExpr, const TnResolvedorNome& aResolvedor) : FExpr(aExpr), FResolvedor(aResolvedor) {}

  TVariant Avaliar(const TNo& aNo) {
    switch (aNo.Tipo) {
      case TNo::Texto: return TVariant(aNo.Valor);
      case TNo::Numero: {
        int64_t i;
        if (TryStrToInt64(aNo.Valor, i)) return TVariant(static_cast<long long>(i));
        double d;
        if (TryStrToFloat(aNo.Valor, d)) return TVariant(d);
        Falhar("número inválido " + aNo.Valor);
      }
      case TNo::Nome: {
        std::optional<TVariant> v = FResolvedor ? FResolvedor(aNo.Valor) : std::nullopt;
        if (!v) Falhar("nome desconhecido " + aNo.Valor);
        return *v;
      }
      case TNo::Lista: {
        std::vector<TVariant> itens;
        for (const auto& a : aNo.Args) itens.push_back(Avaliar(*a));
        return TVariant::FromArray(std::move(itens));
      }
      case TNo::Chamada: return Chamar(aNo);
    }
    return TVariant();
  }

 private:
  [[noreturn]] void Falhar(const std::string& aMotivo) const {
    throw Exception("Expressão inválida: " + CitarValor(FExpr) + " (" + aMotivo + ")");
  }
  void Aridade(const TNo& aNo, size_t aMin, size_t aMax) const {
    if (aNo.Args.size() < aMin || aNo.Args.size() > aMax)
      Falhar(aNo.Valor + " com " + std::to_string(aNo.Args.size()) + " argumento(s)");
  }

  TVariant Chamar(const TNo& aNo) {
    const std::string& f = aNo.Valor;
    if (f == "NOT" || f == "NAO") {
      Aridade(aNo, 1, 1);
      return TVariant(!VariantVerdadeiro(Avaliar(*aNo.Args[0])));
    }
    if (f == "IGUAL" || f == "DIFERENTE") {
      Aridade(aNo, 2, 2);
      bool igual = Iguais(Avaliar(*aNo.Args[0]), Avaliar(*aNo.Args[1]));
      return TVariant(f == "IGUAL" ? igual : !igual);
    }
    if (f == "E" || f == "AND" || f == "OU" || f == "OR") {
      Aridade(aNo, 1, 64);
      bool e = f == "E" || f == "AND";
      for (const auto& a : aNo.Args) {
        bool v = VariantVerdadeiro(Avaliar(*a));
        if (e && !v) return TVariant(false);
        if (!e && v) return TVariant(true);
      }
      return TVariant(e);
    }
    if (f == "VAZIO") {
      Aridade(aNo, 1, 1);
      return TVariant(Trim(TextoDe(Avaliar(*aNo.Args[0]))).empty());
    }
    if (f == "EXTERNO") {
      Aridade(aNo, 1, 2);
      std::string nome = TextoDe(Avaliar(*aNo.Args[0]));
      std::vector<std::string> args;
      if (aNo.Args.size() == 2) {
        TVariant v = Avaliar(*aNo.Args[1]);
        if (v.IsArray())
          for (size_t i = 0; i < v.Count(); ++i) args.push_back(TextoDe(v[i]));
        else
          args.push_back(TextoDe(v));
      }
      return FieldExpressionFunctions().Chamar(nome, args);
    }
    Falhar("função desconhecida " + f);
  }

  std::string_view FExpr;
  const TnResolvedorNome& FResolvedor;
};

std::shared_ptr<const TNo> Compilar(std::string_view aExpressao) {
  static std::map<std::string, std::shared_ptr<const TNo>, std::less<>> cache;
  auto it = cache.find(aExpressao);
  if (it != cache.end()) return it->second;
  std::shared_ptr<const TNo> no = TParser(aExpressao).Parse();
  cache.emplace(std::string(aExpressao), no);
  return no;
}

}  // namespace

void TnFieldExpressionFunctions::RegisterFunction(std::string_view aName, TnFuncaoExpressao aFuncao) {
  UnRegisterFunction(aName);
  FFuncoes.push_back(TEntrada{UpperCase(aName), std::move(aFuncao), nBibliotecaCarregando()});
}

void TnFieldExpressionFunctions::UnRegisterFunction(std::string_view aName) {
  std::string nome = UpperCase(aName);
  FFuncoes.erase(std::remove_if(FFuncoes.begin(), FFuncoes.end(), [&](const TEntrada& e) { return e.Nome == nome; }),
                 FFuncoes.end());
}

bool TnFieldExpressionFunctions::Existe(std::string_view aName) const {
  std::string nome = UpperCase(aName);
  return std::any_of(FFuncoes.begin(), FFuncoes.end(), [&](const TEntrada& e) { return e.Nome == nome; });
}

TVariant TnFieldExpressionFunctions::Chamar(std::string_view aName, const std::vector<std::string>& aArgs) const {
  std::string nome = UpperCase(aName);
  for (const auto& e : FFuncoes)
    if (e.Nome == nome) return e.Funcao(aArgs);
  throw Exception("Função de expressão não registrada: " + CitarValor(aName));
}

void TnFieldExpressionFunctions::RemoverDaBiblioteca(const std::string& aBiblioteca) {
  if (aBiblioteca.empty()) return;
  FFuncoes.erase(std::remove_if(FFuncoes.begin(), FFuncoes.end(),
                                [&](const TEntrada& e) { return e.Biblioteca == aBiblioteca; }),
                 FFuncoes.end());
}

TnFieldExpressionFunctions& FieldExpressionFunctions() {
  static auto* funcoes = new TnFieldExpressionFunctions;
  return *funcoes;
}

bool VariantVerdadeiro(const TVariant& aValor) {
  switch (aValor.Kind()) {
    case TVarKind::Null: return false;
    case TVarKind::Boolean: return aValor.AsBoolean();
    case TVarKind::String: {
      std::string t = Trim(aValor.AsString());
      if (SameText(t, "true")) return true;
      double d;
      return TryStrToFloat(t, d) && d != 0;
    }
    case TVarKind::Array: return aValor.Count() > 0;
    default: return aValor.AsFloat() != 0;
  }
}

TVariant AvaliarExpressao(std::string_view aExpressao, const TnResolvedorNome& aResolvedor) {
  auto no = Compilar(aExpressao);
  return TAvaliador(aExpressao, aResolvedor).Avaliar(*no);
}

bool AvaliarCondicao(std::string_view aExpressao, const TnResolvedorNome& aResolvedor) {
  return VariantVerdadeiro(AvaliarExpressao(aExpressao, aResolvedor));
}

}  // namespace nFramework
