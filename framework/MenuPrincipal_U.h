// The main menu's tree: the actions of a list under the levels of their category paths, in
// the order every front end shows them (levels by their leading number, actions by order).
#pragma once
#include <string>
#include <vector>

#include "Action_U.h"

namespace nFramework {

struct TnNoMenu {
  std::string Nome;                    // the level as the category writes it: "10 Cadastros"
  std::vector<TnNoMenu> Filhos;        // numbered levels by number ("20 ..." before "110 ..."), then by name
  std::vector<const TnAction*> Acoes;  // by order, then by caption
};

// The level a category without one hangs under.
inline constexpr const char* NivelSemCategoria = "(sem categoria)";

// "10 Cadastros\70 TCE/SE" -> {"10 Cadastros", "70 TCE/SE"}; empty levels dropped.
std::vector<std::string> nNiveisCategoria(const std::string& aCategoria);
// The level without its leading number: "110 Arquivos" -> "Arquivos".
std::string nNomeExibidoNivel(const std::string& aNivel);
// The root of the tree: no name and no actions of its own (actions without a category hang
// under NivelSemCategoria). The tree points into aLista, which must outlive it.
TnNoMenu nMontarMenu(const TnActionList& aLista);

}  // namespace nFramework
