// What the command line puts behind the framework's services: dialogs answered from the
// options (never by reading a stdin that is not a terminal), progress on a terminal, and the
// printing of message trees.
#pragma once
#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>

#include "ControleMensagem_U.h"
#include "Dialogo_U.h"
#include "Progresso_U.h"

// How an overwrite question ("Sim", "Sim para todos", "Não") is answered.
enum class TRespostaSobrescrever { Sim, Todos, Nao };

struct TOpcoesDialogo {
  bool Sim = false;                                   // --yes: the affirmative answer to every question
  std::optional<TRespostaSobrescrever> Sobrescrever;  // --overwrite
  bool Interativo = false;                            // stdin and stderr are terminals: ask
};

// Answers in this order: --overwrite for an overwrite question (one that offers "Sim para
// todos"), --yes, a question put to the terminal, else the safe answer, reported on aErr.
class TDialogoTerminal : public nFramework::IDialogoService {
 public:
  TDialogoTerminal(TOpcoesDialogo aOpcoes, std::istream& aIn, std::ostream& aErr)
      : FOpcoes(aOpcoes), FIn(aIn), FErr(aErr) {}
  int Perguntar(const nFramework::TnDialogo& aDialogo) override;

 private:
  TOpcoesDialogo FOpcoes;
  std::istream& FIn;
  std::ostream& FErr;
};

// One status line, rewritten in place; a new line at most every 100 ms.
class TProgressoTerminal : public nFramework::IProgressoView {
 public:
  explicit TProgressoTerminal(std::ostream& aErr) : FErr(aErr) {}
  void Atualizar(const nFramework::TnFraProgresso& aFrame) override;
  void Ocultar(const nFramework::TnFraProgresso& aFrame) override;

 private:
  std::ostream& FErr;
  std::chrono::steady_clock::time_point FUltima{};
  bool FMostrando = false;
};

// The line a frame shows: its text, or its bars' texts and positions.
std::string TextoProgresso(const nFramework::TnFraProgresso& aFrame);

// "[ERRO] text (key)", children indented by two blanks per level.
void ImprimirArvore(const nFramework::ITreeMessager& aArvore, std::ostream& aOut);
