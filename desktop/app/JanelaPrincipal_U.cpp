#include "JanelaPrincipal_U.h"

#include <QAction>
#include <algorithm>
#include <functional>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ClassRegistry_U.h"
#include "Contexto_U.h"
#include "ControleMensagem_U.h"
#include "DMClientDataSet_U.h"
#include "DialogoSelecao_U.h"
#include "Exceptions_U.h"
#include "PowerParam_U.h"
#include "TelaCadastro_U.h"
#include "TelaGrade_U.h"
#include "TelaProcesso_U.h"
#include "TextoMensagem_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// An action's caption as a menu shows it: an ampersand is text, not a mnemonic.
QString TextoMenu(const std::string& aCaption) { return Q(aCaption).replace(QLatin1Char('&'), QStringLiteral("&&")); }

QString TituloAplicacao() {
  return Application().Title.empty() ? QStringLiteral("TCE - Brivo") : Q(Application().Title);
}

QString NomeSelecao(const std::string& aChave) {
  if (SameText(aChave, "CodigoSistemaTCE")) return QStringLiteral("Sistema TCE");
  if (SameText(aChave, "CodigoEmpresa")) return QStringLiteral("Empresa");
  return Q(aChave);
}

QString ListaSelecao(const std::vector<std::string>& aChaves) {
  QStringList l;
  for (const auto& c : aChaves) l << NomeSelecao(c);
  return l.join(QStringLiteral(" e "));
}

QIcon IconeBotao(const QStyle* aStyle, const std::string& aClasse) {
  QStyle::StandardPixmap p = QStyle::SP_FileIcon;
  if (aClasse == "TnDMSelecao") p = QStyle::SP_DirHomeIcon;
  else if (aClasse == "TnFrmMensagens") p = QStyle::SP_MessageBoxInformation;
  else if (aClasse == "TUlmoDMPlano") p = QStyle::SP_FileDialogDetailedView;
  else if (aClasse == "TUlmoDMPlanoPlEspec") p = QStyle::SP_FileDialogContentsView;
  else if (aClasse == "TKaloDMPlanoEspec") p = QStyle::SP_FileDialogListView;
  else if (aClasse.find("DP") != std::string::npos) p = QStyle::SP_FileDialogInfoView;
  return aStyle->standardIcon(p);
}

QIcon IconeMensagem(const QStyle* aStyle, int aTipo) {
  switch (aTipo) {
    case tmErro:
    case tmParada: return aStyle->standardIcon(QStyle::SP_MessageBoxCritical);
    case tmAviso: return aStyle->standardIcon(QStyle::SP_MessageBoxWarning);
    case tmConfirmacao: return aStyle->standardIcon(QStyle::SP_DialogApplyButton);
    default: return aStyle->standardIcon(QStyle::SP_MessageBoxInformation);
  }
}

void PreencherArvore(QTreeWidgetItem* aPai, QTreeWidget* aArvore, const std::vector<std::unique_ptr<TnMsgNode>>& aNos) {
  for (const auto& n : aNos) {
    auto* item = aPai ? new QTreeWidgetItem(aPai) : new QTreeWidgetItem(aArvore);
    item->setText(0, Q(n->Texto));
    item->setIcon(0, IconeMensagem(aArvore->style(), n->Tipo));
    PreencherArvore(item, aArvore, n->Filhos);
  }
}

// The framework's own toolbar buttons: the form's first ones, set apart from the module's.
size_t BotoesDoFramework(const TnFrmMenuBrivo& aMenu) {
  TnFrmMenuBrivo base;
  base.TnFrmMenuBrivo::CriarBtnToolBar();
  size_t n = 0;
  while (n < base.ToolBar.size() && n < aMenu.ToolBar.size() && base.ToolBar[n].Classe == aMenu.ToolBar[n].Classe) ++n;
  return n;
}

}  // namespace

TTipoTela TipoDaClasse(const std::string& aClasse) {
  TnDMPtr<> dm = nCriarInstancia(aClasse);
  if (dynamic_cast<TnDMPowerParam*>(dm.get())) return TTipoTela::Processo;
  if (dynamic_cast<TnDMClientDataSet*>(dm.get())) return TTipoTela::Cadastro;
  return TTipoTela::Nenhum;
}

TJanelaPrincipal::TJanelaPrincipal(TnFrmMenuBrivo& aMenu, const TnPerModulos& aModulos, QWidget* aPai)
    : QMainWindow(aPai), FMenu(aMenu), FModulos(aModulos), FStatusBarInicial(aMenu.nStatusBar) {
  setObjectName(Q(std::string(aMenu.ClassName())));
  setWindowTitle(Q(aMenu.Caption));
  FMenu.Configurar();

  FCentro = new QStackedWidget;
  auto* vazio = new QLabel(QStringLiteral("<p style='font-size:15pt'>%1</p><p>Escolha uma ação no menu ou na barra "
                                          "de ferramentas.</p>")
                               .arg(Q(aMenu.Caption).toHtmlEscaped()));
  vazio->setObjectName(QStringLiteral("areaVazia"));
  vazio->setAlignment(Qt::AlignCenter);
  vazio->setStyleSheet(QStringLiteral("color: palette(mid);"));
  FAbas = new QTabWidget;
  FAbas->setObjectName(QStringLiteral("areaTrabalho"));
  FAbas->setDocumentMode(true);
  FAbas->setTabsClosable(true);
  FAbas->setMovable(true);
  FAbas->setElideMode(Qt::ElideNone);
  FCentro->addWidget(vazio);
  FCentro->addWidget(FAbas);
  setCentralWidget(FCentro);
  connect(FAbas, &QTabWidget::tabCloseRequested, this, &TJanelaPrincipal::FecharAba);

  MontarMenu();
  MontarBarraFerramentas();
  MontarBarraStatus();
  resize(1180, 760);
}

TJanelaPrincipal::~TJanelaPrincipal() = default;

void TJanelaPrincipal::MontarMenu() {
  for (QAction* a : menuBar()->actions()) {
    menuBar()->removeAction(a);
    if (QMenu* m = a->menu()) m->deleteLater();
  }
  // The actions live as long as their menu entries: the old list goes with the old menus.
  auto acoes = std::make_shared<TnActionList>();
  nGerarPrincActions(*acoes, [this](void* aSender) { AbrirAcao(*static_cast<TnAction*>(aSender)); }, FModulos);
  FAcoes = acoes;

  QMenu* arquivo = menuBar()->addMenu(QStringLiteral("&Arquivo"));
  arquivo->setObjectName(QStringLiteral("menuArquivo"));
  for (const auto& a : FMenu.nActionList) {
    QAction* qa = arquivo->addAction(TextoMenu(a->Caption));
    qa->setObjectName(Q(a->Name));
    qa->setStatusTip(Q(a->Hint));
    TnAction* acao = a.get();
    if (acao == FMenu.actTnDMSelecao) {
      qa->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
      connect(qa, &QAction::triggered, this, [this] { Selecionar(); });
    } else {
      connect(qa, &QAction::triggered, this, [acao] { acao->Execute(); });
    }
  }
  arquivo->addSeparator();
  QAction* sair = arquivo->addAction(QStringLiteral("&Sair"), QKeySequence::Quit, this, &QWidget::close);
  sair->setObjectName(QStringLiteral("actSair"));

  TnNoMenu raiz = nMontarMenu(*acoes);
  std::vector<std::pair<QString, std::vector<const TnNoMenu*>>> grupos;
  // Entries without a category last, in a menu of their own.
  std::stable_partition(raiz.Filhos.begin(), raiz.Filhos.end(),
                        [](const TnNoMenu& f) { return f.Nome != NivelSemCategoria; });
  for (const auto& f : raiz.Filhos) {
    QString nome = f.Nome == NivelSemCategoria ? QStringLiteral("Outros") : Q(nNomeExibidoNivel(f.Nome));
    auto it = std::find_if(grupos.begin(), grupos.end(), [&](const auto& g) { return g.first == nome; });
    if (it == grupos.end()) grupos.push_back({nome, {&f}});
    else it->second.push_back(&f);
  }
  for (const auto& [nome, nos] : grupos) {
    QMenu* m = menuBar()->addMenu(nome);
    m->setObjectName(QStringLiteral("menu") + nome);
    PreencherMenu(m, nos);
  }

  QMenu* janela = menuBar()->addMenu(QStringLiteral("&Janela"));
  janela->setObjectName(QStringLiteral("menuJanela"));
  janela->addAction(QStringLiteral("&Fechar aba"), QKeySequence::Close, this, [this] {
    if (FAbas->currentIndex() >= 0) FecharAba(FAbas->currentIndex());
  });
  janela->addAction(QStringLiteral("Fechar &todas as abas"), this, [this] {
    for (int i = FAbas->count() - 1; i >= 0; --i) FecharAba(i);
  });
  QMenu* ajuda = menuBar()->addMenu(QStringLiteral("Aj&uda"));
  ajuda->setObjectName(QStringLiteral("menuAjuda"));
  ajuda->addAction(QStringLiteral("&Sobre o %1").arg(TituloAplicacao()), this, &TJanelaPrincipal::Sobre);
}

void TJanelaPrincipal::PreencherMenu(QMenu* aMenu, const std::vector<const TnNoMenu*>& aNos) {
  // Levels of the same name ("01 Cadastros", "10 Cadastros") share one menu, their groups
  // of actions apart.
  for (const TnNoMenu* no : aNos) {
    if (no->Acoes.empty()) continue;
    if (!aMenu->isEmpty()) aMenu->addSeparator();
    for (const TnAction* a : no->Acoes) {
      QAction* qa = aMenu->addAction(TextoMenu(a->Caption));
      qa->setObjectName(Q(a->Name));
      qa->setProperty("ordem", a->Ordem);
      QString dica = Q(a->Hint.empty() ? a->Caption : a->Hint);
      auto faltam = SelecaoFaltante(a->VerificaSelecao);
      if (!faltam.empty()) dica += QStringLiteral(" (exige a seleção de %1)").arg(ListaSelecao(faltam));
      qa->setStatusTip(dica);
      TnAction* acao = const_cast<TnAction*>(a);
      connect(qa, &QAction::triggered, this, [acao] { acao->Execute(); });
    }
  }
  std::vector<std::pair<QString, std::vector<const TnNoMenu*>>> grupos;
  for (const TnNoMenu* no : aNos)
    for (const auto& f : no->Filhos) {
      QString nome = Q(nNomeExibidoNivel(f.Nome));
      auto it = std::find_if(grupos.begin(), grupos.end(), [&](const auto& g) { return g.first == nome; });
      if (it == grupos.end()) grupos.push_back({nome, {&f}});
      else it->second.push_back(&f);
    }
  if (!grupos.empty() && !aMenu->isEmpty()) aMenu->addSeparator();
  for (const auto& [nome, nos] : grupos) PreencherMenu(aMenu->addMenu(nome), nos);
}

QAction* TJanelaPrincipal::AcaoDoMenu(const QString& aNome) const {
  // The menus shown now, not the ones a rebuild left for deletion.
  std::function<QAction*(const QList<QAction*>&)> procurar = [&](const QList<QAction*>& aAcoes) -> QAction* {
    for (QAction* a : aAcoes) {
      if (a->menu()) {
        if (QAction* r = procurar(a->menu()->actions())) return r;
      } else if (a->objectName() == aNome) {
        return a;
      }
    }
    return nullptr;
  };
  return procurar(menuBar()->actions());
}

void TJanelaPrincipal::MontarBarraFerramentas() {
  FToolBar = addToolBar(QStringLiteral("Barra de ferramentas"));
  FToolBar->setObjectName(QStringLiteral("nToolBar"));
  FToolBar->setMovable(false);
  FToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  FToolBar->setIconSize(QSize(24, 24));
  size_t framework = BotoesDoFramework(FMenu);
  for (size_t i = 0; i < FMenu.ToolBar.size(); ++i) {
    const TnToolButton b = FMenu.ToolBar[i];
    if (i == framework && i > 0) FToolBar->addSeparator();
    QAction* qa = FToolBar->addAction(IconeBotao(style(), b.Classe), TextoMenu(b.Caption));
    qa->setObjectName(QStringLiteral("btn") + Q(b.Classe));
    qa->setToolTip(Q(b.Descricao));
    qa->setStatusTip(Q(b.Descricao));
    qa->setData(Q(b.Classe));
    connect(qa, &QAction::triggered, this, [this, b] { BotaoPressionado(b); });
  }
}

void TJanelaPrincipal::MontarBarraStatus() {
  for (QLabel* l : FPaineis) {
    statusBar()->removeWidget(l);
    l->deleteLater();
  }
  FPaineis.clear();
  for (int i = 0; i < FMenu.nStatusBar.PanelCount(); ++i) {
    const TnStatusPanel& p = FMenu.nStatusBar.Panels(i);
    auto* l = new QLabel(Q(p.Text));
    l->setObjectName(QStringLiteral("painel%1").arg(i));
    l->setToolTip(Q(p.Text));
    l->setContentsMargins(6, 1, 6, 1);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    l->setProperty("largura", p.Width);
    // The form's widths are proportions of its own bar's width.
    statusBar()->addWidget(l, std::max(1, p.Width));
    FPaineis.push_back(l);
  }
}

void TJanelaPrincipal::SelecaoAlterada() {
  FMenu.nStatusBar = FStatusBarInicial;
  FMenu.ConfigurarVisualMenu();
  MontarBarraStatus();
  // Not now: the selection may have been asked from inside a menu entry's own handler.
  QTimer::singleShot(0, this, [this] { MontarMenu(); });
}

bool TJanelaPrincipal::Selecionar(const QString& aMotivo) {
  try {
    TDialogoSelecao dialogo(this, aMotivo);
    if (dialogo.exec() != QDialog::Accepted) return false;
    dialogo.Aplicar();
    SelecaoAlterada();
    return true;
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    QMessageBox::warning(this, TituloAplicacao(), Q(MensagemDeErro(e)));
    return false;
  }
}

void TJanelaPrincipal::AbrirAcao(const TnAction& aAcao) {
  // Copies: asking for the selection rebuilds the menu and its actions.
  std::string classe = nNomeRegistrado(aAcao.Name.size() > 3 ? aAcao.Name.substr(3) : aAcao.Name);
  std::string selecao = aAcao.VerificaSelecao;
  QString titulo = Q(aAcao.Caption), dica = Q(aAcao.Hint.empty() ? aAcao.Caption : aAcao.Hint);
  AbrirClasse(classe.empty() ? aAcao.Name.substr(3) : classe, titulo, dica, selecao);
}

void TJanelaPrincipal::BotaoPressionado(const TnToolButton& aBotao) {
  if (aBotao.Classe == "TnDMSelecao") {
    Selecionar();
    return;
  }
  if (aBotao.Classe == "TnFrmMensagens") {
    MostrarMensagens();
    return;
  }
  // The selection a button's class asks for is its menu action's, when it has one.
  std::string selecao;
  if (const TnAction* a = FAcoes->FindAction("act" + aBotao.Classe)) selecao = a->VerificaSelecao;
  AbrirClasse(aBotao.Classe, Q(aBotao.Caption), Q(aBotao.Descricao), selecao);
}

QWidget* TJanelaPrincipal::AbrirClasse(const std::string& aClasse, const QString& aTitulo, const QString& aDica,
                                       const std::string& aVerificaSelecao) {
  for (int i = 0; i < FAbas->count(); ++i)
    if (SameText(FAbas->widget(i)->property("classe").toString().toStdString(), aClasse)) {
      FAbas->setCurrentIndex(i);
      return FAbas->widget(i);
    }
  try {
    auto faltam = SelecaoFaltante(aVerificaSelecao);
    if (!faltam.empty()) {
      QString motivo = QStringLiteral("\"%1\" exige a seleção de %2.").arg(aTitulo, ListaSelecao(faltam));
      if (!Selecionar(motivo)) return nullptr;
      faltam = SelecaoFaltante(aVerificaSelecao);
      if (!faltam.empty()) {
        QMessageBox::information(this, TituloAplicacao(),
                                 QStringLiteral("\"%1\" não foi aberto: selecione %2.").arg(aTitulo, ListaSelecao(faltam)));
        return nullptr;
      }
    }
    TTipoTela tipo = TipoDaClasse(aClasse);
    QWidget* tela = nullptr;
    bool grade = false;
    if (tipo == TTipoTela::Processo) {
      TnDMPtr<TnDMPowerParam> p = PrepararProcesso(aClasse);
      grade = EhProcessoGrade(*p);
      tela = grade ? static_cast<QWidget*>(new TTelaGrade(std::move(p), FAbas)) : new TTelaProcesso(std::move(p), FAbas);
    } else if (tipo == TTipoTela::Cadastro) tela = CriarTelaCadastro(aClasse, FAbas);
    else {
      QMessageBox::warning(this, TituloAplicacao(),
                           QStringLiteral("%1 não é um processo nem um cadastro.").arg(Q(aClasse)));
      return nullptr;
    }
    tela->setProperty("classe", Q(aClasse));
    tela->setProperty("tipoTela", grade                        ? QStringLiteral("grade")
                                  : tipo == TTipoTela::Processo ? QStringLiteral("processo")
                                                                : QStringLiteral("cadastro"));
    int i = FAbas->addTab(tela, aTitulo.isEmpty() ? Q(aClasse) : aTitulo);
    FAbas->setTabToolTip(i, aDica);
    FAbas->setCurrentIndex(i);
    AtualizarAreaVazia();
    return tela;
  } catch (const EInternalError& e) {
    QMessageBox::critical(this, TituloAplicacao(), QStringLiteral("Erro interno: %1").arg(Q(e.what())));
  } catch (const Exception& e) {
    QMessageBox::warning(this, TituloAplicacao(), Q(MensagemDeErro(e)));
  }
  return nullptr;
}

void TJanelaPrincipal::FecharAba(int aIndice) {
  QWidget* tela = FAbas->widget(aIndice);
  if (!tela || !tela->close()) return;  // a screen may refuse, as during a run
  FAbas->removeTab(aIndice);
  tela->deleteLater();
  AtualizarAreaVazia();
}

void TJanelaPrincipal::AtualizarAreaVazia() { FCentro->setCurrentIndex(FAbas->count() > 0 ? 1 : 0); }

void TJanelaPrincipal::MostrarMensagens() {
  auto arvore = ControleMensagem().FraListaMensagemTree();
  const ITreeMessager& lista = arvore && arvore->Total() > 0 ? *arvore : ControleMensagem().ListaMensagem();
  if (lista.Total() == 0) {
    QMessageBox::information(this, TituloAplicacao(), QStringLiteral("Nenhuma mensagem desde o início desta sessão."));
    return;
  }
  QDialog dialogo(this);
  dialogo.setWindowTitle(QStringLiteral("Mensagens da última execução"));
  auto* layout = new QVBoxLayout(&dialogo);
  auto* tree = new QTreeWidget;
  tree->setHeaderHidden(true);
  PreencherArvore(nullptr, tree, lista.Raizes());
  tree->expandAll();
  layout->addWidget(tree);
  auto* botoes = new QDialogButtonBox(QDialogButtonBox::Close);
  botoes->button(QDialogButtonBox::Close)->setText(QStringLiteral("Fechar"));
  connect(botoes, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
  layout->addWidget(botoes);
  dialogo.resize(720, 460);
  dialogo.exec();
}

void TJanelaPrincipal::Sobre() {
  QStringList itens;
  for (const auto& i : Application().ItensSplash) itens << Q(i).toHtmlEscaped();
  QMessageBox::about(this, QStringLiteral("Sobre o %1").arg(TituloAplicacao()),
                     QStringLiteral("<h3>%1</h3><p>%2</p><p>Módulos da família: %3.</p>")
                         .arg(TituloAplicacao().toHtmlEscaped(), Q(FMenu.Caption).toHtmlEscaped(), itens.join(", ")));
}

void TJanelaPrincipal::closeEvent(QCloseEvent* aEvento) {
  for (int i = FAbas->count() - 1; i >= 0; --i) {
    FecharAba(i);
    if (FAbas->count() > i) {
      aEvento->ignore();
      return;
    }
  }
  aEvento->accept();
}

}  // namespace nDesktop
