#include "Contexto_U.h"

#include <algorithm>

#include "Classes_U.h"

namespace nFramework {

namespace {
std::map<std::string, std::string>& Vars() {
  static std::map<std::string, std::string> vars;
  return vars;
}
TnSelecaoParams& Selecao() {
  static TnSelecaoParams selecao;
  return selecao;
}
}  // namespace

std::string ExternalVar(std::string_view aName) {
  auto it = Vars().find(UpperCase(aName));
  return it == Vars().end() ? std::string() : it->second;
}

void SetExternalVar(std::string_view aName, std::string aValor) { Vars()[UpperCase(aName)] = std::move(aValor); }

void LimparExternalVars() { Vars().clear(); }

const TVariant* TnSelecaoParams::Encontrar(std::string_view aName) const {
  for (const auto& [nome, valor] : FItens)
    if (SameText(nome, aName)) return &valor;
  return nullptr;
}

TVariant TnSelecaoParams::Valor(std::string_view aName) const {
  const TVariant* v = Encontrar(aName);
  return v ? *v : TVariant();
}

void TnSelecaoParams::Definir(std::string_view aName, TVariant aValor) {
  for (auto& [nome, valor] : FItens)
    if (SameText(nome, aName)) {
      valor = std::move(aValor);
      return;
    }
  FItens.emplace_back(std::string(aName), std::move(aValor));
}

void TnSelecaoParams::Remover(std::string_view aName) {
  FItens.erase(std::remove_if(FItens.begin(), FItens.end(), [&](const auto& p) { return SameText(p.first, aName); }),
               FItens.end());
}

const TnSelecaoParams& TnSelecao::GetParams() { return Selecao(); }
TnSelecaoParams& TnSelecao::Params() { return Selecao(); }

std::vector<std::string> SelecaoFaltante(std::string_view aVerificaSelecao) {
  TStringList chaves;
  chaves.SetDelimitedText(aVerificaSelecao, ';');
  std::vector<std::string> r;
  for (const auto& c : chaves) {
    std::string chave = Trim(c);
    if (!chave.empty() && !TnSelecao::GetParams().Existe(chave)) r.push_back(chave);
  }
  return r;
}

}  // namespace nFramework
