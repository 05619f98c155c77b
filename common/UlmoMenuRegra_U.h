// The one rule by which a module class contributes its menu action: each class's
// GerarPrincAction override calls GerarPrincAction(*this, ...), which finds the class's row
// in LinhasMenu and applies it in eight steps.
#pragma once
#include <string>
#include <string_view>

#include "Action_U.h"
#include "Classes_U.h"
#include "DataModule_U.h"
#include "Exceptions_U.h"
#include "UlmoMenuTabela_U.h"

namespace nUlmoMenu {

// The row of a class, without regard to case; nullptr when the table has none.
inline const TLinhaMenu* EncontrarLinha(std::string_view aClasse) {
  for (const auto& l : LinhasMenu)
    if (nFramework::SameText(l.Classe, aClasse)) return &l;
  return nullptr;
}

// K of a row: work-area rows always {1}.
inline nFramework::TnPerModulos ModulosDaLinha(const TLinhaMenu& aLinha) {
  nFramework::TnPerModulos k;
  if (aLinha.Tipo == tlAreaTrabalho) {
    k.Incluir(1);
    return k;
  }
  if (aLinha.Modulos & K1) k.Incluir(1);
  if (aLinha.Modulos & K8) k.Incluir(8);
  return k;
}

inline std::string CategoriaDaLinha(const TLinhaMenu& aLinha) {
  if (aLinha.Tipo == tlAreaTrabalho) return std::string(CategoriaAreaTrabalho) + std::string(aLinha.Categoria);
  return std::string(aLinha.Categoria);
}

// REQUIRES: aSelf's class has a row with an action (a class without one must not call this).
inline void GerarPrincAction(const nFramework::TnDataModule& aSelf, nFramework::TnActionList& aActionList,
                             const nFramework::TNotifyEvent& aOnExecute, const nFramework::TnPerModulos& aModulos) {
  const TLinhaMenu* linha = EncontrarLinha(aSelf.ClassName());
  if (!linha || linha->Tipo == tlSemAcao)
    throw nFramework::EInternalError(std::string(aSelf.ClassName()) + " não tem linha de menu");
  // 1. Only when the class's set meets the given one.
  if ((ModulosDaLinha(*linha) * aModulos).Vazio()) return;
  // 2. An action owned by and attached to the list.
  nFramework::TnAction& a = aActionList.CriarAction();
  // 3. Category and caption.
  a.Category = CategoriaDaLinha(*linha);
  a.Caption = std::string(linha->Caption);
  // 4. The name embeds the object's class, so the names are unique.
  a.Name = "act" + std::string(aSelf.ClassName());
  // 5.
  a.OnExecute = aOnExecute;
  // 6.
  if (linha->Ordem) a.Ordem = *linha->Ordem;
  if (linha->Imagem) a.ImageIndex = *linha->Imagem;
  // 7. A virtual call: a subclass's override counts.
  a.VerificaSelecao = aSelf.PegarVerificaSelecao();
  // 8. The row's remaining values.
  if (linha->Tipo == tlAreaTrabalho) {
    a.Flag2 = false;
    a.AreaTrabalho = true;
    a.ClasseContainer = std::string(ContainerAreaTrabalho);
  }
  if (linha->Flag1) a.Flag1 = *linha->Flag1;
  if (linha->Flag2) a.Flag2 = *linha->Flag2;
  if (linha->AreaTrabalho) a.AreaTrabalho = *linha->AreaTrabalho;
  if (linha->ControlaDireito) a.SetControlaDireito(*linha->ControlaDireito);
  if (linha->Limpar) a.SetClasseContainer({}, {});
}

}  // namespace nUlmoMenu
