#include "FieldExpression_U.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "Exceptions_U.h"

namespace nFramework {

namespace {

struct TNo {
  enum TTipo { Texto, Numero, Nome, Chamada, Lista } Tipo = Texto;
  std::string Valor;  // text, number text, name or function name
  std::vector<std::unique_ptr<TNo>> Args;
};

class TParser {
 public:
  explicit TParser(std::string_view AText) : FText(AText) {}

  std::unique_ptr<TNo> Parse() {
    auto no = Expr();
    Blank();
    if (FPos != FText.size()) Falhar("texto inesperado");
    return no;
  }

 private:
  [[noreturn]] void Falhar(const std::string& AMotivo) const {
    throw Exception("Expressão inválida: " + std::string(FText) + " (" + AMotivo + " na posição " +
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

  std::vector<std::unique_ptr<TNo>> Itens(char AFim) {
    std::vector<std::unique_ptr<TNo>> r;
    if (Aceitar(AFim)) return r;
    do {
      r.push_back(Expr());
    } while (Aceitar(','));
    Esperar(AFim);
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
      Falhar(std::string("caractere inesperado '") + c + "'");
    }
    return no;
  }

  std::string_view FText;
  size_t FPos = 0;
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
  TAvaliador(std::string_view AExpr, const TnResolvedorNome& AResolvedor) : FExpr(AExpr), FResolvedor(AResolvedor) {}

  TVariant Avaliar(const TNo& ANo) {
    switch (ANo.Tipo) {
      case TNo::Texto: return TVariant(ANo.Valor);
      case TNo::Numero: {
        int64_t i;
        if (TryStrToInt64(ANo.Valor, i)) return TVariant(static_cast<long long>(i));
        double d;
        if (TryStrToFloat(ANo.Valor, d)) return TVariant(d);
        Falhar("número inválido " + ANo.Valor);
      }
      case TNo::Nome: {
        std::optional<TVariant> v = FResolvedor ? FResolvedor(ANo.Valor) : std::nullopt;
        if (!v) Falhar("nome desconhecido " + ANo.Valor);
        return *v;
      }
      case TNo::Lista: {
        std::vector<TVariant> itens;
        for (const auto& a : ANo.Args) itens.push_back(Avaliar(*a));
        return TVariant::FromArray(std::move(itens));
      }
      case TNo::Chamada: return Chamar(ANo);
    }
    return TVariant();
  }

 private:
  [[noreturn]] void Falhar(const std::string& AMotivo) const {
    throw Exception("Expressão inválida: " + std::string(FExpr) + " (" + AMotivo + ")");
  }
  void Aridade(const TNo& ANo, size_t AMin, size_t AMax) const {
    if (ANo.Args.size() < AMin || ANo.Args.size() > AMax)
      Falhar(ANo.Valor + " com " + std::to_string(ANo.Args.size()) + " argumento(s)");
  }

  TVariant Chamar(const TNo& ANo) {
    const std::string& f = ANo.Valor;
    if (f == "NOT" || f == "NAO") {
      Aridade(ANo, 1, 1);
      return TVariant(!VariantVerdadeiro(Avaliar(*ANo.Args[0])));
    }
    if (f == "IGUAL" || f == "DIFERENTE") {
      Aridade(ANo, 2, 2);
      bool igual = Iguais(Avaliar(*ANo.Args[0]), Avaliar(*ANo.Args[1]));
      return TVariant(f == "IGUAL" ? igual : !igual);
    }
    if (f == "E" || f == "AND" || f == "OU" || f == "OR") {
      Aridade(ANo, 1, 64);
      bool e = f == "E" || f == "AND";
      for (const auto& a : ANo.Args) {
        bool v = VariantVerdadeiro(Avaliar(*a));
        if (e && !v) return TVariant(false);
        if (!e && v) return TVariant(true);
      }
      return TVariant(e);
    }
    if (f == "VAZIO") {
      Aridade(ANo, 1, 1);
      return TVariant(Trim(TextoDe(Avaliar(*ANo.Args[0]))).empty());
    }
    if (f == "EXTERNO") {
      Aridade(ANo, 1, 2);
      std::string nome = TextoDe(Avaliar(*ANo.Args[0]));
      std::vector<std::string> args;
      if (ANo.Args.size() == 2) {
        TVariant v = Avaliar(*ANo.Args[1]);
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

std::shared_ptr<const TNo> Compilar(std::string_view AExpressao) {
  static std::map<std::string, std::shared_ptr<const TNo>, std::less<>> cache;
  auto it = cache.find(AExpressao);
  if (it != cache.end()) return it->second;
  std::shared_ptr<const TNo> no = TParser(AExpressao).Parse();
  cache.emplace(std::string(AExpressao), no);
  return no;
}

}  // namespace

void TnFieldExpressionFunctions::RegisterFunction(std::string_view AName, TnFuncaoExpressao AFuncao) {
  UnRegisterFunction(AName);
  FFuncoes.push_back(TEntrada{UpperCase(AName), std::move(AFuncao), nBibliotecaCarregando()});
}

void TnFieldExpressionFunctions::UnRegisterFunction(std::string_view AName) {
  std::string nome = UpperCase(AName);
  FFuncoes.erase(std::remove_if(FFuncoes.begin(), FFuncoes.end(), [&](const TEntrada& e) { return e.Nome == nome; }),
                 FFuncoes.end());
}

bool TnFieldExpressionFunctions::Existe(std::string_view AName) const {
  std::string nome = UpperCase(AName);
  return std::any_of(FFuncoes.begin(), FFuncoes.end(), [&](const TEntrada& e) { return e.Nome == nome; });
}

TVariant TnFieldExpressionFunctions::Chamar(std::string_view AName, const std::vector<std::string>& AArgs) const {
  std::string nome = UpperCase(AName);
  for (const auto& e : FFuncoes)
    if (e.Nome == nome) return e.Funcao(AArgs);
  throw Exception("Função de expressão não registrada: " + std::string(AName));
}

void TnFieldExpressionFunctions::RemoverDaBiblioteca(const std::string& ABiblioteca) {
  if (ABiblioteca.empty()) return;
  FFuncoes.erase(std::remove_if(FFuncoes.begin(), FFuncoes.end(),
                                [&](const TEntrada& e) { return e.Biblioteca == ABiblioteca; }),
                 FFuncoes.end());
}

TnFieldExpressionFunctions& FieldExpressionFunctions() {
  static auto* funcoes = new TnFieldExpressionFunctions;
  return *funcoes;
}

bool VariantVerdadeiro(const TVariant& AValor) {
  switch (AValor.Kind()) {
    case TVarKind::Null: return false;
    case TVarKind::Boolean: return AValor.AsBoolean();
    case TVarKind::String: {
      std::string t = Trim(AValor.AsString());
      if (SameText(t, "true")) return true;
      double d;
      return TryStrToFloat(t, d) && d != 0;
    }
    case TVarKind::Array: return AValor.Count() > 0;
    default: return AValor.AsFloat() != 0;
  }
}

TVariant AvaliarExpressao(std::string_view AExpressao, const TnResolvedorNome& AResolvedor) {
  auto no = Compilar(AExpressao);
  return TAvaliador(AExpressao, AResolvedor).Avaliar(*no);
}

bool AvaliarCondicao(std::string_view AExpressao, const TnResolvedorNome& AResolvedor) {
  return VariantVerdadeiro(AvaliarExpressao(AExpressao, AResolvedor));
}

}  // namespace nFramework
