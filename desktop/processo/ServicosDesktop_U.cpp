#include "ServicosDesktop_U.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QMessageBox>
#include <QSemaphore>
#include <QThread>
#include <memory>
#include <vector>

#include "Projeto_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

thread_local TContextoExecucao* tContexto = nullptr;

QMessageBox::Icon Icone(TMsgDlgType aTipo) {
  switch (aTipo) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
  }
}

bool NaThreadDaTela() { return qApp && QThread::currentThread() == qApp->thread(); }

// A question asked from a run's thread, answered on the user-interface thread.
struct TPedido {
  QSemaphore Pronto;
  std::atomic<bool> Abandonado{false};
  int Resposta = 0;
};

class TDialogoDesktop : public IDialogoService {
 public:
  int Perguntar(const TnDialogo& aDialogo) override {
    if (!qApp) return RespostaSegura(aDialogo);
    if (NaThreadDaTela()) return PerguntarNaTela(aDialogo);
    TContextoExecucao* contexto = tContexto;
    if (contexto && contexto->Abandonada) return RespostaSegura(aDialogo);
    auto pedido = std::make_shared<TPedido>();
    QMetaObject::invokeMethod(
        qApp,
        [pedido, aDialogo] {
          if (!pedido->Abandonado) pedido->Resposta = PerguntarNaTela(aDialogo);
          pedido->Pronto.release();
        },
        Qt::QueuedConnection);
    // A screen closing while its run waits for an answer must not wait on that run in turn.
    while (!pedido->Pronto.tryAcquire(1, 50))
      if (contexto && contexto->Abandonada) {
        pedido->Abandonado = true;
        return RespostaSegura(aDialogo);
      }
    return pedido->Resposta;
  }
};

}  // namespace

// Sends a frame's state to the run's frame widget: at most every 40 ms while only the bars
// move, at once when a text changes; a run of a million entries posts a few hundred updates.
class TProgressoDesktop : public IProgressoView {
 public:
  void Atualizar(const TnFraProgresso& aFrame) override {
    TContextoExecucao* c = tContexto;
    if (!c) return;  // a frame on the user-interface thread has nothing to draw it between steps
    auto agora = std::chrono::steady_clock::now();
    if (c->FEnviou && agora - c->FUltimaVez < std::chrono::milliseconds(40)) {
      if (c->FUltimo.Multiplo == aFrame.Multiplo() && c->FUltimo.Texto == aFrame.Texto() &&
          c->FUltimo.TextoTotal == aFrame.TextoTotal() && c->FUltimo.TextoParcial == aFrame.TextoParcial())
        return;
    }
    c->FUltimo = TEstadoProgresso::De(aFrame);
    c->FUltimaVez = agora;
    c->FEnviou = true;
    TFraProgresso* frame = c->FFrame;
    QMetaObject::invokeMethod(frame, [frame, e = c->FUltimo] { frame->Mostrar(e); }, Qt::QueuedConnection);
  }
  void Ocultar(const TnFraProgresso&) override {
    TContextoExecucao* c = tContexto;
    if (!c) return;
    c->FEnviou = false;
    TFraProgresso* frame = c->FFrame;
    QMetaObject::invokeMethod(frame, [frame] { frame->Ocultar(); }, Qt::QueuedConnection);
  }
};

TEscopoExecucao::TEscopoExecucao(TContextoExecucao& aContexto)
    : FCancelamento(aContexto.Cancelamento), FAnterior(tContexto) {
  tContexto = &aContexto;
}

TEscopoExecucao::~TEscopoExecucao() { tContexto = FAnterior; }

int PerguntarNaTela(const TnDialogo& aDialogo) {
  QWidget* pai = QApplication::activeModalWidget();
  if (!pai) pai = QApplication::activeWindow();
  QMessageBox caixa(Icone(aDialogo.Tipo), QString::fromStdString(Application().Title),
                    QString::fromStdString(aDialogo.Texto), QMessageBox::NoButton, pai);
  caixa.setObjectName("caixaPergunta");
  std::vector<QPushButton*> botoes;
  // One role for all keeps the buttons in the order the question gives them.
  for (const std::string& c : aDialogo.Botoes)
    botoes.push_back(caixa.addButton(QString::fromStdString(c), QMessageBox::ActionRole));
  int n = static_cast<int>(botoes.size());
  if (aDialogo.Padrao >= 0 && aDialogo.Padrao < n)
    caixa.setDefaultButton(botoes[static_cast<size_t>(aDialogo.Padrao)]);
  if (aDialogo.Cancelar >= 0 && aDialogo.Cancelar < n) caixa.setEscapeButton(botoes[static_cast<size_t>(aDialogo.Cancelar)]);
  caixa.exec();
  for (int i = 0; i < n; ++i)
    if (caixa.clickedButton() == botoes[static_cast<size_t>(i)]) return i;
  // Closed without a button: the answer that risks nothing.
  return RespostaSegura(aDialogo);
}

void InstalarServicosDesktop() {
  SetDialogoService(std::make_shared<TDialogoDesktop>());
  SetProgressoView(std::make_shared<TProgressoDesktop>());
}

}  // namespace nDesktop
