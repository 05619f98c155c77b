#include "UlmoDireitoUsuario_U.h"

#include <gtest/gtest.h>

#include "Action_U.h"
#include "PeskPermissoes_U.h"

using namespace nFramework;
using nHost::TPeskPermissoes;

TEST(DireitoUsuarioTest, TheModulesRightsAreBuiltByTheHostsGeneratorUntilTheLibraryUnloads) {
  TPeskPermissoes::LimparDireitos();
  TnActionList lista;
  TnAction& controlada = lista.CriarAction();
  controlada.Name = "actTUlmoDPTCESagresPgto";
  TnAction& livre = lista.CriarAction();
  livre.Name = "actLivre";
  livre.SetControlaDireito(false);

  // Installed when the library loaded.
  ASSERT_TRUE(nGerarAcoesDireito(8, lista));
  ASSERT_EQ(TPeskPermissoes::Direitos().size(), 1u);
  EXPECT_EQ(TPeskPermissoes::Direitos()[0].Acao, "actTUlmoDPTCESagresPgto");
  EXPECT_FALSE(nGerarAcoesDireito(1, lista));

  nUlmo::DesinstalarDireitoUsuario();
  EXPECT_FALSE(nGerarAcoesDireito(8, lista));
  nUlmo::InstalarDireitoUsuario();
  EXPECT_TRUE(nGerarAcoesDireito(8, lista));
  TPeskPermissoes::LimparDireitos();
}
