// The screen of a process (DP): its parameter panel, its actions as buttons, its run off the
// user-interface thread with the progress frame, and its message tree.
#pragma once
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PowerParam_U.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QSplitter;
class QThread;

namespace nDesktop {

class TArvoreMensagens;
class TContextoExecucao;
class TFraProgresso;
class TPainelParametros;

// The process of class aClasse as a screen takes it: created, configured and filled from the
// selection. Raises the framework's error when the class is not a process, or when the
// selection it asks for (PegarVerificaSelecao) has not been made.
nFramework::TnDMPtr<nFramework::TnDMPowerParam> PrepararProcesso(const std::string& aClasse);

// The screen of the process class aClasse (PrepararProcesso), ready to be shown in the main
// window's work area.
QWidget* CriarTelaProcesso(const std::string& aClasse, QWidget* aPai);

// Whether a run is under way anywhere: its thread holds the database connection until it ends.
bool ExecucaoEmAndamento();

// Renders into aPasta the TCE-SC panel filled for the demo ("processo-parametros.png"), its
// progress frame during a run ("processo-progresso.png") and the message tree after the run
// ("processo-mensagens.png"); the run's files go to a temporary folder that is removed.
// REQUIRES: the module libraries are open, the database holds the demo, a QApplication exists,
// and the selection names the TCE-SC system and company. Returns the PNGs written.
std::vector<std::filesystem::path> CapturarTelasProcesso(const std::filesystem::path& aPasta);

class TTelaProcesso : public QWidget {
  Q_OBJECT
 public:
  // How the last run ended; the exit code the command line gives for it.
  enum class TResultado { Nenhum, Sucesso, Falha, Parametro, Cancelada };

  // Takes the process. REQUIRES: it was created and configured (AntesConfigurar, DepoisConfigurar).
  TTelaProcesso(nFramework::TnDMPtr<nFramework::TnDMPowerParam> aProcesso, QWidget* aPai = nullptr);
  ~TTelaProcesso() override;

  // Runs the process ("Executar"), or one of its panel actions, off the user-interface thread;
  // nothing when a run is under way.
  void Executar();
  void ExecutarAcao(const std::string& aNome);
  bool Executando() const { return FThread != nullptr; }
  // The panel action the last run ran; empty for "Executar".
  const std::string& AcaoExecutada() const { return FAcao; }

  TResultado Resultado() const { return FResultado; }
  int CodigoSaida() const;
  nFramework::TnDMPowerParam& Processo() const { return *FProcesso; }
  TPainelParametros* Painel() const { return FPainel; }
  TFraProgresso* Progresso() const { return FProgresso; }
  TArvoreMensagens* Mensagens() const { return FMensagens; }
  QPushButton* BotaoExecutar() const { return FExecutar; }
  QPushButton* BotaoAcao(const std::string& aNome) const;
  QLabel* Situacao() const { return FSituacao; }
  // The process's notice above its panel; nullptr when it has none.
  QLabel* Alerta() const { return FAlerta; }

 signals:
  // The run ended, its messages shown.
  void Terminou();

 protected:
  // For screens built around the panel: the vertical splitter of the panel (index 0) over the
  // messages, and the row of buttons.
  QSplitter* Divisor() const { return FDivisor; }
  QHBoxLayout* LinhaBotoes() const { return FBotoes; }
  // Controls that must not take input while a run holds the process; overrides add theirs.
  virtual void SetExecutando(bool aValor);
  // Stops a run under way and waits for it (a screen going away); its questions take their safe
  // answer unasked.
  void EncerrarExecucao();

 private:
  struct TFim;
  void Iniciar(std::function<void()> aTrabalho);
  void Concluir();

  nFramework::TnDMPtr<nFramework::TnDMPowerParam> FProcesso;
  TPainelParametros* FPainel;
  TFraProgresso* FProgresso;
  TArvoreMensagens* FMensagens;
  QSplitter* FDivisor;
  QLabel* FSituacao;
  QLabel* FAlerta = nullptr;
  QHBoxLayout* FBotoes;
  QPushButton* FExecutar;
  std::vector<std::pair<std::string, QPushButton*>> FBotoesAcao;
  std::unique_ptr<TContextoExecucao> FContexto;
  std::unique_ptr<TFim> FFim;
  QThread* FThread = nullptr;
  QObject* FBloqueio = nullptr;
  TResultado FResultado = TResultado::Nenhum;
  std::string FAcao;
};

}  // namespace nDesktop
