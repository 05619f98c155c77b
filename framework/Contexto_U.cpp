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

std::string ExternalVar(std::string_view AName) {
  auto it = Vars().find(UpperCase(AName));
  return it == Vars().end() ? std::string() : it->second;
}

void SetExternalVar(std::string_view AName, std::string AValor) { Vars()[UpperCase(AName)] = std::move(AValor); }

void LimparExternalVars() { Vars().clear(); }

const TVariant* TnSelecaoParams::Encontrar(std::string_view AName) const {
  for (const auto& [nome, valor] : FItens)
    if (SameText(nome, AName)) return &valor;
  return nullptr;
}

TVariant TnSelecaoParams::Valor(std::string_view AName) const {
  const TVariant* v = Encontrar(AName);
  return v ? *v : TVariant();
}

void TnSelecaoParams::Definir(std::string_view AName, TVariant AValor) {
  for (auto& [nome, valor] : FItens)
    if (SameText(nome, AName)) {
      valor = std::move(AValor);
      return;
    }
  FItens.emplace_back(std::string(AName), std::move(AValor));
}

void TnSelecaoParams::Remover(std::string_view AName) {
  FItens.erase(std::remove_if(FItens.begin(), FItens.end(), [&](const auto& p) { return SameText(p.first, AName); }),
               FItens.end());
}

const TnSelecaoParams& TnSelecao::GetParams() { return Selecao(); }
TnSelecaoParams& TnSelecao::Params() { return Selecao(); }

std::vector<std::string> SelecaoFaltante(std::string_view AVerificaSelecao) {
  TStringList chaves;
  chaves.SetDelimitedText(AVerificaSelecao, ';');
  std::vector<std::string> r;
  for (const auto& c : chaves) {
    std::string chave = Trim(c);
    if (!chave.empty() && !TnSelecao::GetParams().Existe(chave)) r.push_back(chave);
  }
  return r;
}

}  // namespace nFramework
