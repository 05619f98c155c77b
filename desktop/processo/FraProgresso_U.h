// The desktop's progress frame: what a run's TnFraProgresso says, shown on the user-interface
// thread — a text, the total and partial bars with their captions — and the "Cancelar" button,
// which asks the run to stop at its next progress step.
#pragma once
#include <QFrame>
#include <string>

#include "Progresso_U.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace nDesktop {

// A frame as it stood at one moment, taken on the run's thread.
struct TEstadoProgresso {
  bool Multiplo = false, Circular = false, CircularParcial = false;
  std::string Texto{}, TextoTotal{}, TextoParcial{};
  int PosicaoTotal = 0, MaxTotal = 0, PosicaoParcial = 0, MaxParcial = 0;

  static TEstadoProgresso De(const nFramework::TnFraProgresso& aFrame);
  bool MesmosTextos(const TEstadoProgresso& aOutro) const {
    return Multiplo == aOutro.Multiplo && Texto == aOutro.Texto && TextoTotal == aOutro.TextoTotal &&
           TextoParcial == aOutro.TextoParcial;
  }
};

class TFraProgresso : public QFrame {
  Q_OBJECT
 public:
  explicit TFraProgresso(QWidget* aPai = nullptr);

  // The run the button cancels; nullptr between runs. REQUIRES: it outlives the run.
  void SetCancelamento(nFramework::TnCancelamento* aCancelamento);
  // Shows the state; the frame appears with its first state.
  void Mostrar(const TEstadoProgresso& aEstado);
  void Ocultar();

  QPushButton* BotaoCancelar() const { return FCancelar; }
  QProgressBar* BarraTotal() const { return FTotal; }
  QProgressBar* BarraParcial() const { return FParcial; }
  QString TextoTotal() const;
  QString TextoParcial() const;

 signals:
  // A state was shown.
  void Mostrado();

 private:
  void Cancelar();
  static void AplicarBarra(QProgressBar* aBarra, int aPosicao, int aMax, bool aCircular);

  nFramework::TnCancelamento* FCancelamento = nullptr;
  QLabel* FTexto;
  QLabel* FRotuloTotal;
  QProgressBar* FTotal;
  QLabel* FRotuloParcial;
  QProgressBar* FParcial;
  QPushButton* FCancelar;
};

}  // namespace nDesktop
