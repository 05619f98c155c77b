// The data dictionary: named entries that give a parameter or a field its caption, control
// and value list, so a panel item or a register field that names an entry ("DICSIMNAO",
// "CODIGOEMPRESA") needs nothing else. Names match without regard to case; modules may add
// entries of their own.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace nFramework {

// The control that edits a value, and so what a value must look like.
enum class TnControle {
  Texto,
  Inteiro,     // a whole number
  Numerico,    // a number, decimal comma or point
  Data,        // dd/mm/yyyy
  DataMesAno,  // mm/yyyy
  Diretorio,   // a folder
  Senha,       // a text never shown back
  Combo,       // one of the list's values
  Selecionado  // 0 or 1, a tick
};

struct TnEntradaDicionario {
  std::string Nome{};
  std::string Caption{};
  TnControle Controle = TnControle::Texto;
  std::string Lista{};          // "Caption=Value;..." for a combo
  std::string ClasseLookup{};   // the lookup that offers the values ("TirnDCEmpresa")
  std::string CampoLookup{};    // the lookup's field that gives the value ("CodigoEmpresa")
  std::string CampoExibido{};   // the lookup's field shown beside it ("NomeEmpresa")
  std::string Hint{};
  int Tamanho = 0;            // text size, 0 when free
};

class TnDicionario {
 public:
  TnDicionario();
  // Replaces an entry of the same name.
  void Registrar(TnEntradaDicionario aEntrada);
  // nullptr for an unknown name.
  const TnEntradaDicionario* Encontrar(std::string_view aNome) const;
  const std::vector<TnEntradaDicionario>& Entradas() const { return FEntradas; }

 private:
  std::vector<TnEntradaDicionario> FEntradas;
};

TnDicionario& Dicionario();

// A combo list "Caption=Value;..." as (caption, value) pairs; an item without '=' is both.
std::vector<std::pair<std::string, std::string>> ItensLista(std::string_view aLista);

}  // namespace nFramework
