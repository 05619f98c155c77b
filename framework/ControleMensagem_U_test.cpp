#include "ControleMensagem_U.h"

#include <gtest/gtest.h>

using namespace nFramework;

TEST(ControleMensagem, MessagesGoToTheAttachedTreeUnderTheirParentKey) {
  auto arvore = std::make_shared<TnMsgTreeLista>();
  TnControleMensagem c;
  c.SetFraListaMensagemTree(arvore);
  EXPECT_EQ(c.EncontrarNode("CONTAS"), nullptr);
  c.AddAviso("Contas com falha no envio", "", "CONTAS");
  c.AddAviso(" Conta: 1 Retorno: 12 - recusada", "CONTAS");
  c.AddAviso(" Conta: 2 Retorno: 12 - recusada", "CONTAS");
  c.AddConfirmacao("Arquivo /tmp/MOVIMENT.txt", "", "MOVIMENT.txt");
  c.AddErro("sem pai", "NAOHA");
  ASSERT_EQ(arvore->Raizes().size(), 3u);
  EXPECT_EQ(c.EncontrarNode("CONTAS")->Filhos.size(), 2u);
  EXPECT_EQ(arvore->Contar(tmAviso), 3u);
  EXPECT_TRUE(arvore->Falhou());
  c.ExpandAll();
  EXPECT_TRUE(arvore->Raizes()[0]->Expandido);
  c.Clear();
  EXPECT_EQ(arvore->Total(), 0u);
}

TEST(ControleMensagem, WithoutATreeNothingIsLostAndDetachingKeepsTheTree) {
  TnControleMensagem c;
  c.AddInformacao("antes");
  c.AddMesagemImageIndex("Arquivos compactados com sucesso: /tmp/1-032024.zip", 318);
  EXPECT_EQ(c.ListaMensagem().Total(), 2u);
  EXPECT_EQ(c.ListaMensagem().Raizes()[1]->ImageIndex, 318);
  EXPECT_FALSE(c.ListaMensagem().Falhou());
  auto arvore = std::make_shared<TnMsgTreeLista>();
  c.SetFraListaMensagemTree(arvore);
  c.AddInformacao("durante");
  c.SetFraListaMensagemTree(nullptr);
  c.AddInformacao("depois");
  EXPECT_EQ(arvore->Total(), 1u);
  EXPECT_EQ(c.ListaMensagem().Total(), 3u);
  c.LimparListaMensagem();
  EXPECT_EQ(c.ListaMensagem().Total(), 0u);
}

TEST(ControleMensagem, AStopCountsAsAFailureAndAWarningDoesNot) {
  TnMsgTreeLista t;
  TnMsgNode* mes = t.AddImageIndex(77, "Competência: 2024/03");
  t.Add(tmAviso, "aviso", mes);
  EXPECT_FALSE(t.Falhou());
  t.Add(tmParada, "Processo cancelado!");
  EXPECT_TRUE(t.Falhou());
  EXPECT_EQ(mes->Filhos[0]->Pai, mes);
}
