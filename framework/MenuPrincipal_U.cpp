#include "MenuPrincipal_U.h"

#include <algorithm>

#include "Classes_U.h"
#include "Variant_U.h"

namespace nFramework {

namespace {

int NumeroNivel(const std::string& aNivel) { return StrToIntDef(aNivel.substr(0, aNivel.find(' ')), -1); }

bool MenorNivel(const TnNoMenu& a, const TnNoMenu& b) {
  int na = NumeroNivel(a.Nome), nb = NumeroNivel(b.Nome);
  if (na != nb) return na < nb;
  return CompareTextNoCase(a.Nome, b.Nome) < 0;
}

TnNoMenu& Filho(TnNoMenu& aNo, const std::string& aNome) {
  for (auto& f : aNo.Filhos)
    if (CompareTextNoCase(f.Nome, aNome) == 0) return f;
  aNo.Filhos.push_back(TnNoMenu{aNome, {}, {}});
  return aNo.Filhos.back();
}

void Ordenar(TnNoMenu& aNo) {
  std::stable_sort(aNo.Acoes.begin(), aNo.Acoes.end(), [](const TnAction* a, const TnAction* b) {
    return a->Ordem != b->Ordem ? a->Ordem < b->Ordem : CompareTextNoCase(a->Caption, b->Caption) < 0;
  });
  std::stable_sort(aNo.Filhos.begin(), aNo.Filhos.end(), MenorNivel);
  for (auto& f : aNo.Filhos) Ordenar(f);
}

}  // namespace

std::vector<std::string> nNiveisCategoria(const std::string& aCategoria) {
  TStringList l;
  l.SetDelimitedText(aCategoria, '\\');
  std::vector<std::string> r;
  for (const auto& n : l)
    if (!Trim(n).empty()) r.push_back(n);
  return r;
}

std::string nNomeExibidoNivel(const std::string& aNivel) {
  auto espaco = aNivel.find(' ');
  if (espaco == std::string::npos || NumeroNivel(aNivel) < 0) return aNivel;
  std::string resto = Trim(aNivel.substr(espaco + 1));
  return resto.empty() ? aNivel : resto;
}

TnNoMenu nMontarMenu(const TnActionList& aLista) {
  TnNoMenu raiz;
  for (const auto& a : aLista) {
    TnNoMenu* no = &raiz;
    auto niveis = nNiveisCategoria(a->Category);
    if (niveis.empty()) niveis.push_back(NivelSemCategoria);
    for (const auto& nivel : niveis) no = &Filho(*no, nivel);
    no->Acoes.push_back(a.get());
  }
  Ordenar(raiz);
  return raiz;
}

}  // namespace nFramework
