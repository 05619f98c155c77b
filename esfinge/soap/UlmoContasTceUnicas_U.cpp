#include "UlmoContasTceUnicas_U.h"

#include "ControleMensagem_U.h"

namespace nUlmoEsfinge {

bool TContasTceUnicas::Primeira(int aAno, const std::string& aCodigo, const std::string& aDados, int64_t aContaCtb) {
  auto chave = std::make_pair(aAno, aCodigo);
  auto [it, nova] = FContas.try_emplace(chave);
  if (nova) {
    it->second.Dados = aDados;
    it->second.ContaCtb = aContaCtb;
    FOrdem.push_back(chave);
    return true;
  }
  if (aDados != it->second.Dados) {
    it->second.AlgumDiferente = true;
    if (aContaCtb != 0) it->second.Diferentes.push_back(aContaCtb);
  }
  return false;
}

void TContasTceUnicas::Avisar() const {
  auto& controle = nFramework::ControleMensagem();
  for (const auto& chave : FOrdem) {
    const TConta& c = FContas.at(chave);
    if (!c.AlgumDiferente) continue;
    std::string texto = " Conta TCE " + chave.second + " (" + std::to_string(chave.first) + "): enviada uma vez, ";
    if (c.ContaCtb != 0 && !c.Diferentes.empty()) {
      std::string outras;
      for (int64_t conta : c.Diferentes) outras += (outras.empty() ? "" : ", ") + std::to_string(conta);
      texto += "com os dados da conta contábil " + std::to_string(c.ContaCtb) +
               (c.Diferentes.size() == 1 ? "; a conta contábil " + outras + " tem"
                                         : "; as contas contábeis " + outras + " têm");
    } else {
      texto += "com os dados da primeira conta contábil que a usa; as demais têm";
    }
    texto += " outros dados (descrição, natureza ou dados bancários), que não foram enviados.";
    if (!controle.EncontrarNode("CONTASTCEREPETIDAS"))
      controle.AddAviso("Contas TCE de várias contas contábeis, enviadas com os dados da primeira", "",
                        "CONTASTCEREPETIDAS");
    controle.AddAviso(texto, "CONTASTCEREPETIDAS", "");
  }
}

}  // namespace nUlmoEsfinge
