// The progress frame a long run shows: a text, or one or two bars (total and partial), an
// optional circular indicator, and a cancel button that calls the run's handler. The frame
// reports every change to the progress view the front end installed; nothing here draws.
#pragma once
#include <atomic>
#include <memory>
#include <string>

#include "Action_U.h"
#include "Exceptions_U.h"

namespace nFramework {

class TnFraProgresso;

// A request to stop a run: a front end's cancel button sets it from any thread; the progress
// frames of the thread that runs under it (TnEscopoCancelamento) answer it at their next step.
class TnCancelamento {
 public:
  void Pedir() { FPedido = true; }
  void Retirar() { FPedido = false; }
  bool Pedido() const { return FPedido; }

 private:
  std::atomic<bool> FPedido{false};
};

// The run stopped at the user's request. Nothing it left half done stays: files are written
// whole or not at all, transactions roll back as for any other exception.
class ECancelado : public Exception {
 public:
  ECancelado() : Exception("Processo cancelado pelo usuário!") {}
};

// Ties the calling thread's progress steps to aCancelamento while in scope. At a step with the
// request set, a frame with its own cancel handler (ConfigurarBtnCancel) withdraws the request
// and calls the handler on this thread, which decides; any other frame raises ECancelado.
class TnEscopoCancelamento {
 public:
  explicit TnEscopoCancelamento(TnCancelamento& aCancelamento);
  ~TnEscopoCancelamento();
  TnEscopoCancelamento(const TnEscopoCancelamento&) = delete;
  TnEscopoCancelamento& operator=(const TnEscopoCancelamento&) = delete;

 private:
  TnCancelamento* FAnterior;
};

// Implemented by a front end; called on the thread that runs the process, which need not be
// the user-interface thread.
class IProgressoView {
 public:
  virtual ~IProgressoView() = default;
  virtual void Atualizar(const TnFraProgresso& aFrame) = 0;
  virtual void Ocultar(const TnFraProgresso& aFrame) = 0;
};
// nullptr: progress is not shown.
void SetProgressoView(std::shared_ptr<IProgressoView> aView);

class TnFraProgresso {
 public:
  explicit TnFraProgresso(const void* aOwner = nullptr) : FOwner(aOwner) {}
  ~TnFraProgresso();
  TnFraProgresso(const TnFraProgresso&) = delete;
  TnFraProgresso& operator=(const TnFraProgresso&) = delete;

  // A step: MostrarTexto and the Inc... calls answer a pending cancel request (see
  // TnEscopoCancelamento) before they change anything.
  // Shows a text alone, without bars.
  void MostrarTexto(const std::string& aTexto);
  // Shows one bar, or two (total and partial). The parent is the form it covers.
  void MostrarSimples(const void* aParent = nullptr);
  void MostrarMultiplo(const void* aParent = nullptr);
  void SetEhCircular(bool aValor);         // the total indicator turns without an end
  void SetEhCircularParcial(bool aValor);  // the partial one does
  void SetTextoTotal(const std::string& aTexto);
  void SetTextoParcial(const std::string& aTexto);
  void SetMaxTotal(int aMax);
  void SetMaxParcial(int aMax);  // also restarts the partial bar
  // One step of a bar; the text form also shows the step's text. The number is the
  // framework's refresh hint and changes nothing here.
  void IncProgressoTotal(int aRedesenho = 0);
  void IncProgressoTotal(const std::string& aTexto, int aRedesenho = 0);
  void IncProgressoParcial(int aRedesenho = 0);
  void IncProgressoParcial(const std::string& aTexto, int aRedesenho = 0);
  // Clears both bars and the text.
  void LimparProgresso();
  // Shows the cancel button; pressing it calls aHandler with the frame as sender.
  void ConfigurarBtnCancel(TNotifyEvent aHandler);
  // The front end's cancel button.
  void PressionarCancelar();
  void Hide();

  const void* Owner() const { return FOwner; }
  bool Visivel() const { return FVisivel; }
  bool Multiplo() const { return FMultiplo; }
  bool Circular() const { return FCircular; }
  bool CircularParcial() const { return FCircularParcial; }
  bool Cancelavel() const { return static_cast<bool>(FOnCancelar); }
  const std::string& Texto() const { return FTexto; }
  const std::string& TextoTotal() const { return FTextoTotal; }
  const std::string& TextoParcial() const { return FTextoParcial; }
  int PosicaoTotal() const { return FPosicaoTotal; }
  int MaxTotal() const { return FMaxTotal; }
  int PosicaoParcial() const { return FPosicaoParcial; }
  int MaxParcial() const { return FMaxParcial; }

 private:
  void Notificar();
  void Passo();

  const void* FOwner;
  bool FVisivel = false, FMultiplo = false, FCircular = false, FCircularParcial = false;
  std::string FTexto, FTextoTotal, FTextoParcial;
  int FPosicaoTotal = 0, FMaxTotal = 0, FPosicaoParcial = 0, FMaxParcial = 0;
  TNotifyEvent FOnCancelar;
};

// A new frame for the owner; the caller frees it.
std::unique_ptr<TnFraProgresso> CriarProgresso(const void* aOwner = nullptr);

}  // namespace nFramework
