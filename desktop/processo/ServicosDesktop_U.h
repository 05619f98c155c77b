// The desktop's dialog service and progress view: questions asked as message boxes, progress
// shown in the running process's frame, both marshalled to the user-interface thread when a
// process runs off it.
#pragma once
#include <atomic>
#include <chrono>

#include "Dialogo_U.h"
#include "FraProgresso_U.h"
#include "Progresso_U.h"

class QWidget;

namespace nDesktop {

// Installs the services for the whole program. REQUIRES: a QApplication exists.
void InstalarServicosDesktop();

// One run off the user-interface thread: its cancel request, the frame its progress goes to,
// and whether its screen gave it up (then its questions take their safe answer unasked).
// REQUIRES: the frame outlives the run.
class TContextoExecucao {
 public:
  explicit TContextoExecucao(TFraProgresso* aFrame) : FFrame(aFrame) {}

  nFramework::TnCancelamento Cancelamento;
  std::atomic<bool> Abandonada{false};
  TFraProgresso* Frame() const { return FFrame; }

 private:
  friend class TProgressoDesktop;
  TFraProgresso* FFrame;
  // Touched only on the run's thread: what was last sent to the frame, and when.
  TEstadoProgresso FUltimo;
  std::chrono::steady_clock::time_point FUltimaVez{};
  bool FEnviou = false;
};

// Ties the calling thread to a run while in scope: its progress goes to the run's frame and its
// progress steps answer the run's cancel request.
class TEscopoExecucao {
 public:
  explicit TEscopoExecucao(TContextoExecucao& aContexto);
  ~TEscopoExecucao();
  TEscopoExecucao(const TEscopoExecucao&) = delete;
  TEscopoExecucao& operator=(const TEscopoExecucao&) = delete;

 private:
  nFramework::TnEscopoCancelamento FCancelamento;
  TContextoExecucao* FAnterior;
};

// The question as a message box over the active window, on the calling (user-interface) thread.
int PerguntarNaTela(const nFramework::TnDialogo& aDialogo);

}  // namespace nDesktop
