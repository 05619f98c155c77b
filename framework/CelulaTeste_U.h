// Test support: a text typed into a grid cell, the way the grid model edits one, so a process's
// tests can show what its column metadata does to an edit. Never included by production code.
#pragma once
#include <string>

#include "ClientDataSet_U.h"
#include "Dicionario_U.h"
#include "Exceptions_U.h"
#include "Classes_U.h"

namespace nFramework {

// Types aTexto into the column aCampo of the current row: Edit, a read-only column refused, a
// value list taking a caption or a value, OnValidate, the value stored, Post. A refusal cancels
// the row and is raised.
inline void DigitarCelula(TClientDataSet& aDados, const std::string& aCampo, const std::string& aTexto) {
  TField& f = aDados.FieldByName(aCampo);
  aDados.Edit();
  try {
    if (f.ReadOnly) throw Exception("A coluna " + f.DisplayLabel + " não pode ser alterada.");
    std::string valor = Trim(aTexto);
    if (!f.ValueList.empty() && !valor.empty()) {
      bool naLista = false;
      for (const auto& [caption, v] : ItensLista(f.ValueList))
        if (caption == valor || v == valor) {
          valor = v;
          naLista = true;
          break;
        }
      if (!naLista) throw Exception("Valor fora da lista da coluna " + f.DisplayLabel + ": " + valor);
    }
    if (f.OnValidate) f.OnValidate(f, aTexto);
    f.SetAsString(valor);
    aDados.Post();
  } catch (...) {
    aDados.Cancel();
    throw;
  }
}

}  // namespace nFramework
