#include "PeskPermissoes_U.h"

#include <algorithm>

#include "Classes_U.h"

namespace nHost {

using namespace nFramework;

namespace {
std::vector<TDireitoAcao>& Lista() {
  static std::vector<TDireitoAcao> direitos;
  return direitos;
}
}  // namespace

void TPeskPermissoes::PeskDoGerarPrincAction(TnActionList& aActionList) {
  for (const auto& a : aActionList) {
    if (!a->ControlaDireito()) continue;
    TDireitoAcao direito{a->Name, a->Caption, a->Category};
    auto& lista = Lista();
    auto it = std::find_if(lista.begin(), lista.end(), [&](const TDireitoAcao& d) { return SameText(d.Acao, a->Name); });
    if (it == lista.end())
      lista.push_back(std::move(direito));
    else
      *it = std::move(direito);
  }
}

const std::vector<TDireitoAcao>& TPeskPermissoes::Direitos() { return Lista(); }

void TPeskPermissoes::LimparDireitos() { Lista().clear(); }

}  // namespace nHost
