#include "Action_U.h"

#include <string>

#include "Classes_U.h"
#include "Exceptions_U.h"

namespace nFramework {

std::array<TnGerarPrincActionMod, TnPerModulos::MaxModulo + 1> FOnGerarPrincActionMods;

bool nGerarAcoesDireito(int aModulo, TnActionList& aActionList) {
  if (aModulo < 0 || aModulo > TnPerModulos::MaxModulo) return false;
  const auto& gerador = FOnGerarPrincActionMods[static_cast<size_t>(aModulo)];
  if (!gerador) return false;
  gerador(aActionList);
  return true;
}

TnPerModulos::TnPerModulos(std::initializer_list<int> modulos) {
  for (int m : modulos) Incluir(m);
}

void TnPerModulos::Incluir(int modulo) {
  if (modulo < 0 || modulo > MaxModulo)
    throw EInternalError("módulo fora do intervalo 0 a 191: " + std::to_string(modulo));
  FBits.set(static_cast<size_t>(modulo));
}

bool TnPerModulos::Contem(int modulo) const {
  return modulo >= 0 && modulo <= MaxModulo && FBits.test(static_cast<size_t>(modulo));
}

TnPerModulos TnPerModulos::operator*(const TnPerModulos& outro) const {
  TnPerModulos r;
  r.FBits = FBits & outro.FBits;
  return r;
}

std::vector<int> TnPerModulos::Modulos() const {
  std::vector<int> r;
  for (int m = 0; m <= MaxModulo; ++m)
    if (FBits.test(static_cast<size_t>(m))) r.push_back(m);
  return r;
}

std::string TnPerModulos::Texto() const {
  std::string r = "{";
  bool primeiro = true;
  for (int m : Modulos()) {
    if (!primeiro) r += ", ";
    r += std::to_string(m);
    primeiro = false;
  }
  return r + "}";
}

TnAction* TnActionList::FindAction(const std::string& aName) const {
  for (const auto& a : FActions)
    if (SameText(a->Name, aName)) return a.get();
  return nullptr;
}

}  // namespace nFramework
