// The user's context: the external variables of the data model (the active court system and
// company, as text) and the current selection, whose keys match without regard to case.
#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Variant_U.h"

namespace nFramework {

// The text of an external variable; empty when unset.
std::string ExternalVar(std::string_view aName);
void SetExternalVar(std::string_view aName, std::string aValor);
void LimparExternalVars();

// The data model that holds the external variables.
class TnDMDBXDataModel {
 public:
  static std::string ExternalVar(std::string_view aName) { return nFramework::ExternalVar(aName); }
};

// The parameters of a selection: named values, names without regard to case, in the order set.
class TnSelecaoParams {
 public:
  bool Existe(std::string_view aName) const { return Encontrar(aName) != nullptr; }
  // nullptr when the selection has no parameter of that name.
  const TVariant* Encontrar(std::string_view aName) const;
  // The value, Null when absent.
  TVariant Valor(std::string_view aName) const;
  void Definir(std::string_view aName, TVariant aValor);
  void Remover(std::string_view aName);
  void Limpar() { FItens.clear(); }
  size_t Count() const { return FItens.size(); }
  const std::vector<std::pair<std::string, TVariant>>& Itens() const { return FItens; }

 private:
  std::vector<std::pair<std::string, TVariant>> FItens;
};

// The current selection of the user (the court system, the company...).
class TnSelecao {
 public:
  static const TnSelecaoParams& GetParams();
  static TnSelecaoParams& Params();  // for the front ends that set it
};

// Keys of the ';'-separated selection text (a class's PegarVerificaSelecao) that the current
// selection lacks, in their order and spelling.
std::vector<std::string> SelecaoFaltante(std::string_view aVerificaSelecao);

}  // namespace nFramework
