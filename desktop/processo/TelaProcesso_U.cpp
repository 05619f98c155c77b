#include "TelaProcesso_U.h"

#include <stdlib.h>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QSplitter>
#include <QStyle>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <atomic>

#include "ArvoreMensagens_U.h"
#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "Contexto_U.h"
#include "FraProgresso_U.h"
#include "PainelParametros_U.h"
#include "ServicosDesktop_U.h"
#include "TextoMensagem_U.h"
#include "Variant_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

std::atomic<int> gExecucoes{0};

QString Q(const std::string& s) { return QString::fromStdString(s); }

// What a selection key asks the user to pick, in words.
std::string NomeDaSelecao(const std::string& aChave) {
  if (SameText(aChave, "CodigoSistemaTCE")) return "o sistema TCE";
  if (SameText(aChave, "CodigoEmpresa")) return "a empresa";
  return aChave;
}

// While a run holds the database connection, the windows open when it started take no input:
// only the run's progress frame (its "Cancelar" button) and the windows opened since (the run's
// message boxes) do. The windows still repaint, move and resize; closing one waits for the run.
class TBloqueioEntrada : public QObject {
 public:
  TBloqueioEntrada(QWidget* aFrame, QObject* aPai) : QObject(aPai), FFrame(aFrame) {
    for (QWidget* w : QApplication::topLevelWidgets()) FJanelas.insert(w);
    qApp->installEventFilter(this);
  }
  ~TBloqueioEntrada() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* aObjeto, QEvent* aEvento) override {
    switch (aEvento->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ContextMenu:
      case QEvent::Shortcut:
      case QEvent::Close: break;
      default: return false;
    }
    auto* w = qobject_cast<QWidget*>(aObjeto);
    // Menu and toolbar shortcuts reach their actions, not a widget: they wait for the run.
    if (!w) return aEvento->type() == QEvent::Shortcut;
    if (!FJanelas.contains(w->window())) return false;
    if (w == FFrame || FFrame->isAncestorOf(w)) return false;
    aEvento->ignore();
    return true;
  }

 private:
  QWidget* FFrame;
  QSet<QWidget*> FJanelas;
};

}  // namespace

struct TTelaProcesso::TFim {
  enum class TTipo { Concluida, Parametro, Cancelada, Erro } Tipo = TTipo::Concluida;
  std::string Alias, Caption, Mensagem;
};

bool ExecucaoEmAndamento() { return gExecucoes > 0; }

TnDMPtr<TnDMPowerParam> PrepararProcesso(const std::string& aClasse) {
  TnDMPtr<TnDMPowerParam> p = nComoClasse<TnDMPowerParam>(nCriarInstancia(aClasse));
  if (!p) throw Exception(aClasse + " não é um processo com painel de parâmetros.");
  std::vector<std::string> faltam = SelecaoFaltante(p->PegarVerificaSelecao());
  if (!faltam.empty()) {
    std::string lista;
    for (size_t i = 0; i < faltam.size(); ++i)
      lista += (i == 0 ? "" : i + 1 == faltam.size() ? " e " : ", ") + NomeDaSelecao(faltam[i]);
    std::string nome = p->Caption().empty() ? aClasse : p->Caption();
    throw Exception("Para abrir \"" + nome + "\", selecione antes " + lista + " em \"Selecionar Sistema TCE\".");
  }
  // The screen is configured before the user fills it, and the selection fills what it can.
  p->AntesConfigurar(nullptr);
  p->DepoisConfigurar(nullptr);
  p->npqPowerParam.PreencherDaSelecao();
  return p;
}

QWidget* CriarTelaProcesso(const std::string& aClasse, QWidget* aPai) {
  return new TTelaProcesso(PrepararProcesso(aClasse), aPai);
}

TTelaProcesso::TTelaProcesso(TnDMPtr<TnDMPowerParam> aProcesso, QWidget* aPai)
    : QWidget(aPai), FProcesso(std::move(aProcesso)) {
  setObjectName(Q(std::string(FProcesso->ClassName())));
  const std::string caption = FProcesso->Caption().empty() ? std::string(FProcesso->ClassName()) : FProcesso->Caption();
  setWindowTitle(Q(caption));

  auto* titulo = new QLabel(Q(caption), this);
  titulo->setObjectName("lblTitulo");
  QFont f = titulo->font();
  f.setPointSizeF(f.pointSizeF() * 1.35);
  f.setBold(true);
  titulo->setFont(f);

  if (!FProcesso->npqPowerParam.Alerta.empty()) {
    FAlerta = new QLabel(Q(FProcesso->npqPowerParam.Alerta), this);
    FAlerta->setObjectName("lblAlerta");
    FAlerta->setWordWrap(true);
    FAlerta->setStyleSheet(
        "QLabel { background: #e8f1fb; border: 1px solid #9dbfe3; border-radius: 3px; color: #1d3f66; padding: 6px "
        "8px; }");
  }
  FPainel = new TPainelParametros(FProcesso->npqPowerParam, this);
  FMensagens = new TArvoreMensagens(this);
  FMensagens->hide();
  FDivisor = new QSplitter(Qt::Vertical, this);
  FDivisor->setChildrenCollapsible(false);
  FDivisor->addWidget(FPainel);
  FDivisor->addWidget(FMensagens);
  FDivisor->setStretchFactor(0, 3);
  FDivisor->setStretchFactor(1, 2);

  FProgresso = new TFraProgresso(this);

  FSituacao = new QLabel(this);
  FSituacao->setObjectName("lblSituacao");
  FSituacao->setWordWrap(true);
  FSituacao->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* botoes = FBotoes = new QHBoxLayout;
  botoes->setSpacing(8);
  botoes->addWidget(FSituacao, 1);
  for (TnAction* a : FProcesso->npqPowerParam.Acoes()) {
    auto* b = new QPushButton(Q(a->Caption.empty() ? a->Name : CaptionSemAtalho(a->Caption)), this);
    b->setObjectName(Q(a->Name));
    b->setToolTip(Q(a->Hint));
    b->setAutoDefault(false);
    std::string nome = a->Name;
    connect(b, &QPushButton::clicked, this, [this, nome] { ExecutarAcao(nome); });
    botoes->addWidget(b);
    FBotoesAcao.emplace_back(nome, b);
  }
  FExecutar = new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay), "Executar", this);
  FExecutar->setObjectName("btnExecutar");
  FExecutar->setDefault(true);
  FExecutar->setMinimumWidth(110);
  connect(FExecutar, &QPushButton::clicked, this, &TTelaProcesso::Executar);
  botoes->addWidget(FExecutar);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(14, 12, 14, 12);
  layout->setSpacing(10);
  layout->addWidget(titulo);
  if (FAlerta) layout->addWidget(FAlerta);
  layout->addWidget(FDivisor, 1);
  layout->addWidget(FProgresso);
  layout->addLayout(botoes);
}

TTelaProcesso::~TTelaProcesso() {
  EncerrarExecucao();
  // The panel's controls point into the process's items.
  delete FPainel;
  FPainel = nullptr;
}

void TTelaProcesso::EncerrarExecucao() {
  if (FThread) {
    // Going away mid-run: the run stops at its next step, its questions answered unasked.
    FContexto->Abandonada = true;
    FContexto->Cancelamento.Pedir();
    FThread->wait();
    delete FThread;
    FThread = nullptr;
    SetExecutando(false);
  }
}

QPushButton* TTelaProcesso::BotaoAcao(const std::string& aNome) const {
  for (const auto& [nome, b] : FBotoesAcao)
    if (SameText(nome, aNome)) return b;
  return nullptr;
}

int TTelaProcesso::CodigoSaida() const {
  switch (FResultado) {
    case TResultado::Nenhum:
    case TResultado::Sucesso: return 0;
    case TResultado::Parametro: return 2;
    default: return 1;
  }
}

void TTelaProcesso::Executar() {
  TnDMPowerParam* p = FProcesso.get();
  if (!FThread) FAcao.clear();
  Iniciar([p] { nExecutarProcesso(*p); });
}

void TTelaProcesso::ExecutarAcao(const std::string& aNome) {
  TnDMPowerParam* p = FProcesso.get();
  if (!FThread) FAcao = aNome;
  Iniciar([p, aNome] {
    p->GetMsgTreeLista()->Clear();
    p->ExecutarAcao(aNome);
  });
}

void TTelaProcesso::SetExecutando(bool aValor) {
  if (FPainel) FPainel->setEnabled(!aValor);
  FExecutar->setEnabled(!aValor);
  for (const auto& [nome, b] : FBotoesAcao) b->setEnabled(!aValor);
  if (aValor) {
    ++gExecucoes;
    FBloqueio = new TBloqueioEntrada(FProgresso, this);
    FDivisor->setCursor(Qt::BusyCursor);
  } else if (FBloqueio) {
    --gExecucoes;
    delete FBloqueio;
    FBloqueio = nullptr;
    FDivisor->unsetCursor();
  }
}

void TTelaProcesso::Iniciar(std::function<void()> aTrabalho) {
  if (FThread) return;
  FPainel->LimparErros();
  FSituacao->setText("Executando...");
  FSituacao->setStyleSheet(QString());
  FResultado = TResultado::Nenhum;
  nPrepararMensagensExecucao();
  FContexto = std::make_unique<TContextoExecucao>(FProgresso);
  FFim = std::make_unique<TFim>();
  FProgresso->SetCancelamento(&FContexto->Cancelamento);
  FProgresso->Mostrar(TEstadoProgresso{.Texto = "Executando..."});
  SetExecutando(true);
  TContextoExecucao* contexto = FContexto.get();
  TFim* fim = FFim.get();
  FThread = QThread::create([contexto, fim, trabalho = std::move(aTrabalho)] {
    TEscopoExecucao escopo(*contexto);
    using T = TFim::TTipo;
    try {
      trabalho();
    } catch (const EnParam& e) {
      *fim = TFim{T::Parametro, e.Alias(), e.Caption(), e.what()};
    } catch (const ECancelado& e) {
      *fim = TFim{T::Cancelada, {}, {}, e.what()};
    } catch (const std::exception& e) {
      // As the command line does: the message, said in Portuguese, ends the run as a failure.
      *fim = TFim{T::Erro, {}, {}, MensagemDeErro(e)};
    }
  });
  FThread->setObjectName("execucao");
  connect(FThread, &QThread::finished, this, &TTelaProcesso::Concluir);
  FThread->start();
}

void TTelaProcesso::Concluir() {
  if (!FThread) return;
  FThread->wait();
  delete FThread;
  FThread = nullptr;
  FProgresso->SetCancelamento(nullptr);
  FProgresso->Ocultar();
  SetExecutando(false);

  using T = TFim::TTipo;
  std::vector<std::pair<int, std::string>> antes;
  QString situacao;
  bool erro = true;
  switch (FFim->Tipo) {
    case T::Parametro: {
      FResultado = TResultado::Parametro;
      situacao = Q("Parâmetro \"" + FFim->Caption + "\": " + FFim->Mensagem);
      if (!FPainel->MostrarErro(FFim->Alias, FFim->Mensagem)) antes.emplace_back(tmErro, situacao.toStdString());
      break;
    }
    case T::Cancelada:
      FResultado = TResultado::Cancelada;
      antes.emplace_back(tmParada, FFim->Mensagem);
      situacao = Q(FFim->Mensagem);
      break;
    case T::Erro:
      FResultado = TResultado::Falha;
      antes.emplace_back(tmErro, FFim->Mensagem);
      situacao = Q("Erro: " + FFim->Mensagem);
      break;
    case T::Concluida:
      erro = nExecucaoFalhou(*FProcesso);
      FResultado = erro ? TResultado::Falha : TResultado::Sucesso;
      situacao = erro ? "A execução terminou com erro: veja as mensagens." : "Execução concluída.";
      break;
  }
  FMensagens->Mostrar(nArvoresDaExecucao(*FProcesso), antes);
  ControleMensagem().SetFraListaMensagemTree(nullptr);
  FMensagens->setVisible(FResultado != TResultado::Parametro || FMensagens->Arvore()->topLevelItemCount() > 0);
  FSituacao->setText(situacao);
  FSituacao->setStyleSheet(erro ? "color: #b01c1c; font-weight: bold;" : "color: #1b6e20; font-weight: bold;");
  FContexto.reset();
  emit Terminou();
}

// The program reaches the captures through a weak reference, which pulls no unit of its own
// out of a library: they live beside the screen the program does reach.
namespace {

class TPastaTemporaria {
 public:
  TPastaTemporaria() {
    std::string modelo = (std::filesystem::temp_directory_path() / "ulmo-capturas-XXXXXX").string();
    if (!::mkdtemp(modelo.data())) throw EFileError("Não foi possível criar a pasta temporária das capturas.");
    FCaminho = modelo;
  }
  ~TPastaTemporaria() {
    std::error_code ec;
    std::filesystem::remove_all(FCaminho, ec);
  }
  const std::filesystem::path& Caminho() const { return FCaminho; }

 private:
  std::filesystem::path FCaminho;
};

void Gravar(QWidget* aTela, const std::filesystem::path& aArquivo, std::vector<std::filesystem::path>& aGravados) {
  if (!aTela->grab().save(QString::fromStdString(aArquivo.string()), "PNG"))
    throw EFileError("Não foi possível gravar a captura " + aArquivo.string() + ".");
  aGravados.push_back(aArquivo);
}

void Digitar(TPainelParametros* aPainel, const std::string& aAlias, const QString& aTexto) {
  if (auto* e = qobject_cast<QLineEdit*>(aPainel->Controle(aAlias))) e->setText(aTexto);
}

}  // namespace

std::vector<std::filesystem::path> CapturarTelasProcesso(const std::filesystem::path& aPasta) {
  std::filesystem::create_directories(aPasta);
  TPastaTemporaria saida;
  std::unique_ptr<QWidget> widget(CriarTelaProcesso("TUlmoDPGerarArquivosCtb", nullptr));
  auto* tela = static_cast<TTelaProcesso*>(widget.get());
  tela->resize(920, 680);
  TPainelParametros* painel = tela->Painel();
  Digitar(painel, "pCompetInicial", "01/01/2024");
  Digitar(painel, "pCompetFinal", "31/12/2024");
  Digitar(painel, "pDiretorio", QString::fromStdString((saida.Caminho() / "TCE-SC").string()));
  tela->show();
  QApplication::processEvents();
  std::vector<std::filesystem::path> gravados;
  Gravar(tela, aPasta / "processo-parametros.png", gravados);

  // Mid-run: the first state with both bars moving, else the first one with both bars set; the
  // demo company is small, and its run shows few states.
  QPixmap meio;
  bool bom = false;
  QObject::connect(tela->Progresso(), &TFraProgresso::Mostrado, tela, [&] {
    TFraProgresso* f = tela->Progresso();
    if (bom || f->BarraTotal()->maximum() <= 0 || f->BarraTotal()->value() < 1 || f->BarraParcial()->maximum() <= 1 ||
        f->TextoParcial().isEmpty())
      return;
    bom = f->BarraParcial()->value() >= 1;
    if (bom || meio.isNull()) meio = tela->grab();
  });
  QEventLoop laco;
  QObject::connect(tela, &TTelaProcesso::Terminou, &laco, &QEventLoop::quit);
  tela->Executar();
  if (tela->Executando()) laco.exec();
  QApplication::processEvents();
  if (!meio.isNull()) {
    std::filesystem::path arquivo = aPasta / "processo-progresso.png";
    if (!meio.save(QString::fromStdString(arquivo.string()), "PNG"))
      throw EFileError("Não foi possível gravar a captura " + arquivo.string() + ".");
    gravados.push_back(arquivo);
  }
  Gravar(tela, aPasta / "processo-mensagens.png", gravados);
  return gravados;
}

}  // namespace nDesktop
