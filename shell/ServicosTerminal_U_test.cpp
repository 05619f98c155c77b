#include "ServicosTerminal_U.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace nFramework;

namespace {

const TnDialogo kSubstituir{"O arquivo /tmp/BAL_VER.txt já existe. Deseja substituí-lo?", mtConfirmation,
                            {"Sim", "Sim para &todos", "Não"}};
const TnDialogo kCancelarEnvio{"Deseja cancelar o envio?", mtConfirmation, {"Sim", "Não"}, 0, 1};

int Responder(TOpcoesDialogo aOpcoes, const TnDialogo& aDialogo, std::string* aErr = nullptr,
              const std::string& aEntrada = "") {
  std::istringstream in(aEntrada);
  std::ostringstream err;
  TDialogoTerminal d(aOpcoes, in, err);
  int r = d.Perguntar(aDialogo);
  if (aErr) *aErr = err.str();
  return r;
}

}  // namespace

TEST(DialogoTerminal, OverwriteQuestionsFollowTheOverwriteOption) {
  TOpcoesDialogo o;
  o.Sobrescrever = TRespostaSobrescrever::Todos;
  EXPECT_EQ(Responder(o, kSubstituir), 1);
  o.Sobrescrever = TRespostaSobrescrever::Sim;
  EXPECT_EQ(Responder(o, kSubstituir), 0);
  o.Sobrescrever = TRespostaSobrescrever::Nao;
  o.Sim = true;  // --overwrite wins over --yes for the question it names
  EXPECT_EQ(Responder(o, kSubstituir), 2);
  // Other questions are no overwrite question: --yes answers them.
  EXPECT_EQ(Responder(o, kCancelarEnvio), 0);
}

TEST(DialogoTerminal, WithoutAnAnswerTheSafeOneIsTakenAndSaid) {
  std::string err;
  EXPECT_EQ(Responder({}, kSubstituir, &err, "1\n"), 2);  // stdin is not read when not interactive
  EXPECT_NE(err.find("respondida \"Não\" sem perguntar"), std::string::npos);
  EXPECT_EQ(Responder({}, kCancelarEnvio), 1);
  EXPECT_EQ(RespostaSegura({"Aviso", mtInformation, {"OK"}}), 0);
}

TEST(DialogoTerminal, AnInteractiveTerminalIsAskedByNumberOrCaption) {
  TOpcoesDialogo o;
  o.Interativo = true;
  std::string err;
  EXPECT_EQ(Responder(o, kSubstituir, &err, "2\n"), 1);
  EXPECT_NE(err.find("[1=Sim, 2=Sim para todos, 3=Não]"), std::string::npos);
  EXPECT_EQ(Responder(o, kSubstituir, nullptr, "x\nnão\n"), 2);
  EXPECT_EQ(Responder(o, kCancelarEnvio, nullptr, ""), 1);  // end of input: the safe answer
}

TEST(ServicosTerminal, TheTreePrintsKindsIndentedWithKeysAsDetail) {
  TnMsgTreeLista t;
  TnMsgNode* grupo = t.Add(tmAviso, "Contas com falha no envio", nullptr, "CONTAS");
  t.Add(tmAviso, " Conta: 1 Retorno: 12", grupo);
  t.Add(tmConfirmacao, "Arquivo /tmp/MOVIMENT.txt", nullptr, "MOVIMENT.txt");
  t.Add(tmAviso, "Geração cancelada pelo usuário", nullptr, "/tmp/Bem.txt");
  t.Add(tmParada, "Processo cancelado!");
  std::ostringstream out;
  ImprimirArvore(t, out);
  EXPECT_EQ(out.str(),
            "[AVISO] Contas com falha no envio (CONTAS)\n"
            "  [AVISO]  Conta: 1 Retorno: 12\n"
            "[OK] Arquivo /tmp/MOVIMENT.txt\n"
            "[AVISO] Geração cancelada pelo usuário (/tmp/Bem.txt)\n"
            "[PARADA] Processo cancelado!\n");
}

TEST(ServicosTerminal, AProgressLineShowsTheBarsItUses) {
  TnFraProgresso f;
  f.MostrarMultiplo();
  f.SetTextoTotal("Apurando Contas Contábeis...");
  f.SetMaxTotal(3);
  f.IncProgressoTotal(0);
  f.SetTextoParcial("Apurando conta: 11");
  f.IncProgressoParcial(0);
  EXPECT_EQ(TextoProgresso(f), "Apurando Contas Contábeis... 1/3 | Apurando conta: 11 1");
  f.SetEhCircularParcial(true);
  EXPECT_EQ(TextoProgresso(f), "Apurando Contas Contábeis... 1/3 | Apurando conta: 11");
  TnFraProgresso t;
  t.MostrarTexto("Carregando dados enviados ao e-Sfinge online! Aguarde...");
  EXPECT_EQ(TextoProgresso(t), "Carregando dados enviados ao e-Sfinge online! Aguarde...");
}
