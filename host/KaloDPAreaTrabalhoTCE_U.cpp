#include "KaloDPAreaTrabalhoTCE_U.h"

#include <algorithm>
#include <map>

#include "ClassRegistry_U.h"
#include "ControleMensagem_U.h"

namespace nHost {

using namespace nFramework;

namespace {
const TnRegistroUnidade gRegistro{nClasse<TKaloDPAreaTrabalhoTCE>()};

// The category below the work area's ("10 Cadastros" of "00 Áreas...\06 Tribunal...\10 Cadastros").
std::string SubCategoria(const std::string& aCategoria) {
  std::string prefixo = std::string(TKaloDPAreaTrabalhoTCE::Categoria) + "\\";
  return aCategoria.rfind(prefixo, 0) == 0 ? aCategoria.substr(prefixo.size()) : aCategoria;
}
}  // namespace

TKaloDPAreaTrabalhoTCE::TKaloDPAreaTrabalhoTCE() { SetCaption("Tribunal de Contas (TCE)"); }

void TKaloDPAreaTrabalhoTCE::GerarPrincAction(TnActionList& aActionList, TNotifyEvent aOnExecute,
                                              const TnPerModulos& aModulos) {
  if (!aModulos.Contem(1)) return;
  TnAction& a = aActionList.CriarAction();
  a.Category = Categoria;
  a.Caption = "Tribunal de Contas (TCE)";
  a.Name = "act" + std::string(ClassName());
  a.OnExecute = aOnExecute;
  a.Ordem = 0;
  a.AreaTrabalho = true;
  a.Flag2 = false;
}

std::vector<const TnAction*> TKaloDPAreaTrabalhoTCE::AcoesDaArea(const TnActionList& aActionList) {
  std::vector<const TnAction*> r;
  for (const auto& a : aActionList)
    if (SameText(a->ClasseContainer, StaticClassName())) r.push_back(a.get());
  std::stable_sort(r.begin(), r.end(), [](const TnAction* a, const TnAction* b) {
    if (a->Category != b->Category) return CompareTextNoCase(a->Category, b->Category) < 0;
    return a->Ordem < b->Ordem;
  });
  return r;
}

void TKaloDPAreaTrabalhoTCE::Executar() {
  TnDMPowerParam::Executar();
  TnActionList lista;
  nGerarPrincActions(lista, TNotifyEvent(), TnPerModulos{1});
  std::vector<const TnAction*> acoes = AcoesDaArea(lista);
  if (acoes.empty()) {
    MsgTree(tmAviso, "Nenhuma ação da área de trabalho do TCE está disponível: as bibliotecas do módulo não foram abertas.");
    return;
  }
  std::map<std::string, TnMsgNode*> nos;
  for (const TnAction* a : acoes) {
    std::string sub = SubCategoria(a->Category);
    auto [it, novo] = nos.try_emplace(sub, nullptr);
    if (novo) it->second = MsgTree(tmInformacao, sub);
    MsgTree(tmInformacao, std::to_string(a->Ordem) + "  " + a->Caption + "  (" + a->Name + ")", it->second);
  }
}

}  // namespace nHost
