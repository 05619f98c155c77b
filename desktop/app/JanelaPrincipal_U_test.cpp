// The main window against a temporary demo database: its menu, toolbar and status bar match
// what `ulmo menu` prints for the same options, the selection follows the dialog, and an
// action opens a tab of its class's kind.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <map>
#include <memory>

#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "Demo_U.h"
#include "DialogoBanco_U.h"
#include "DialogoSelecao_U.h"
#include "JanelaPrincipal_U.h"
#include "MenuPrincipal_U.h"
#include "ModuleLoader_U.h"
#include "TelaGrade_U.h"
#include "UlmoSMenu_U.h"

using namespace nFramework;
using namespace nDesktop;

namespace {

// One entry as both front ends show it: the menu path by the levels' shown names, then
// "ordem  caption  (name)".
using TMenu = std::map<QString, QStringList>;

QString Caminho(const QStringList& aNiveis) { return aNiveis.join(QStringLiteral(" > ")); }

QString SemMnemonico(QString aTexto) {
  aTexto.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  aTexto.remove(QLatin1Char('&'));
  aTexto.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return aTexto;
}

// The "Menu" section of `ulmo menu`, each level's number dropped as the desktop shows it.
TMenu MenuDaLinhaDeComando(const QString& aSaida, int& aTotal) {
  TMenu menu;
  QStringList linhas = aSaida.split(QLatin1Char('\n'));
  int i = 0;
  while (i < linhas.size() && !linhas[i].startsWith(QStringLiteral("Menu ("))) ++i;
  if (i == linhas.size()) return menu;
  aTotal = linhas[i].section(QLatin1Char('('), 1).section(QLatin1Char(' '), 0, 0).toInt();
  QStringList niveis;
  for (++i; i < linhas.size() && !linhas[i].isEmpty(); ++i) {
    const QString& l = linhas[i];
    int recuo = 0;
    while (recuo < l.size() && l[recuo] == QLatin1Char(' ')) ++recuo;
    int nivel = recuo / 2 - 1;
    QString texto = l.mid(recuo);
    int nome = texto.indexOf(QStringLiteral("  (act"));
    if (nome < 0) {
      niveis = niveis.mid(0, nivel);
      std::string n = texto.toStdString();
      niveis << (n == NivelSemCategoria ? QStringLiteral("Outros") : QString::fromStdString(nNomeExibidoNivel(n)));
      continue;
    }
    QString entrada = texto.left(texto.indexOf(QLatin1Char(')'), nome) + 1);
    menu[Caminho(niveis.mid(0, nivel))] << entrada;
  }
  return menu;
}

void LerMenu(QMenu* aMenu, QStringList aNiveis, TMenu& aMenuLido, int& aTotal) {
  aNiveis << SemMnemonico(aMenu->title());
  for (QAction* a : aMenu->actions()) {
    if (a->menu()) {
      LerMenu(a->menu(), aNiveis, aMenuLido, aTotal);
      continue;
    }
    if (a->isSeparator() || !a->property("ordem").isValid()) continue;
    aMenuLido[Caminho(aNiveis)] << QStringLiteral("%1  %2  (%3)").arg(a->property("ordem").toInt()).arg(SemMnemonico(a->text()), a->objectName());
    ++aTotal;
  }
}

QString Ulmo(const QStringList& aArgs) {
  QProcess p;
  p.start(QStringLiteral(ULMO_EXE), aArgs);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return QString::fromUtf8("falhou: " + p.readAllStandardError());
  return QString::fromUtf8(p.readAllStandardOutput());
}

void LimparSelecao() {
  TnSelecao::Params().Limpar();
  SetExternalVar("gCodigoSistemaTCEAtiva", "");
  SetExternalVar("gCodigoEmpresaAtiva", "");
}

// Answers the next modal dialog with aResposta once it shows.
// The pending timer holds the try; the try knows itself only weakly, or it would never be freed.
void QuandoAbrirDialogo(std::function<void(QDialog&)> aResposta) {
  auto tentar = std::make_shared<std::function<void()>>();
  std::weak_ptr<std::function<void()>> proprio = tentar;
  *tentar = [aResposta, proprio] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      aResposta(*d);
      return;
    }
    if (auto t = proprio.lock()) QTimer::singleShot(20, [t] { (*t)(); });
  };
  QTimer::singleShot(20, [tentar] { (*tentar)(); });
}

}  // namespace

class TJanelaPrincipalTeste : public QObject {
  Q_OBJECT
  QTemporaryDir FPasta;
  QString FBanco;
  TnBibliotecas FBibliotecas;

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(FPasta.isValid());
    FBanco = FPasta.filePath(QStringLiteral("demo.db"));
    nHost::CriarBancoDemo(FBanco.toStdString());
    FBibliotecas.Carregar(nConfig().Bibliotecas, PastaPadraoBibliotecas());
  }

  void cleanupTestCase() {
    FecharBanco();
    FBibliotecas.Descarregar();
  }

  // A database that is not there is said, by its path, and nothing is created in its place.
  void bancoInexistenteNaoCriaArquivo() {
    QString nenhum = FPasta.filePath(QStringLiteral("nao-existe.db"));
    nConfig().Banco = nenhum.toStdString();
    QString erro;
    QVERIFY(!TentarAbrirBanco(erro));
    QVERIFY2(erro.contains(QStringLiteral("não existe")) && erro.contains(nenhum), qPrintable(erro));
    QVERIFY(!QFileInfo::exists(nenhum));
    nConfig().Banco = FBanco.toStdString();
    QVERIFY(TentarAbrirBanco(erro));
  }

  void bancosRecentesDoMaisNovo() {
    QSettings().clear();
    for (int i = 0; i < 10; ++i) TDialogoBanco::Lembrar(FPasta.filePath(QStringLiteral("b%1.db").arg(i)));
    TDialogoBanco::Lembrar(FPasta.filePath(QStringLiteral("b5.db")));
    QStringList r = TDialogoBanco::Recentes();
    QCOMPARE(r.size(), 8);
    QCOMPARE(r.first(), FPasta.filePath(QStringLiteral("b5.db")));
    QCOMPARE(r.count(FPasta.filePath(QStringLiteral("b5.db"))), 1);
    QCOMPARE(r.at(1), FPasta.filePath(QStringLiteral("b9.db")));
    TDialogoBanco dialogo({}, {});
    QCOMPARE(dialogo.Caminho(), r.first());  // the last used, preselected
  }

  void enderecoDeServidorNoDialogo() {
    QSettings().clear();
    const QString endereco = QStringLiteral("postgresql://contador@servidor/escritorio");
    TDialogoBanco::Lembrar(endereco);
    QCOMPARE(TDialogoBanco::Recentes().first(), endereco);  // an address is not a file to make absolute
    TDialogoBanco dialogo({}, {});
    auto* servidor = dialogo.findChild<QRadioButton*>(QStringLiteral("servidor"));
    auto* campo = dialogo.findChild<QLineEdit*>(QStringLiteral("endereco"));
    QVERIFY(servidor && campo);
    QVERIFY(servidor->isChecked() && campo->isEnabled());
    QCOMPARE(dialogo.Caminho(), endereco);
    campo->setText(QStringLiteral("escritorio.db"));
    QMetaObject::invokeMethod(dialogo.findChild<QDialogButtonBox*>(), "accepted");
    QVERIFY2(dialogo.Erro().contains(QStringLiteral("postgresql://")), qPrintable(dialogo.Erro()));
    QCOMPARE(dialogo.result(), 0);
  }

  void menuIgualAoDaLinhaDeComando_data() {
    QTest::addColumn<QString>("modulos");
    QTest::newRow("módulo 8") << QStringLiteral("8");
    QTest::newRow("contabilidade (áreas de trabalho)") << QStringLiteral("1");
    QTest::newRow("os dois") << QStringLiteral("1,8");
  }
  void menuIgualAoDaLinhaDeComando() {
    QFETCH(QString, modulos);
    LimparSelecao();
    QString saida = Ulmo({QStringLiteral("--db"), FBanco, QStringLiteral("--modules"), modulos, QStringLiteral("menu")});
    int totalCli = -1;
    TMenu cli = MenuDaLinhaDeComando(saida, totalCli);
    QVERIFY2(totalCli > 0, qPrintable(saida));

    TnPerModulos m;
    for (const auto& n : modulos.split(QLatin1Char(','))) m.Incluir(n.toInt());
    TUlmoSMenu form;
    TJanelaPrincipal janela(form, m);
    TMenu lido;
    int total = 0;
    for (QAction* a : janela.menuBar()->actions())
      if (a->menu()) LerMenu(a->menu(), {}, lido, total);
    QCOMPARE(total, totalCli);
    for (const auto& [caminho, entradas] : cli) QCOMPARE(lido[caminho], entradas);
    QCOMPARE(lido.size(), cli.size());

    // The toolbar: captions, classes and hints, in order.
    QStringList botoes, botoesCli;
    for (QAction* a : janela.BarraFerramentas()->actions())
      if (!a->isSeparator())
        botoes << QStringLiteral("%1. %2  (%3) - %4").arg(botoes.size() + 1).arg(SemMnemonico(a->text()), a->data().toString(), a->toolTip());
    bool naBarra = false;
    for (const QString& l : saida.split(QLatin1Char('\n'))) {
      if (l.startsWith(QStringLiteral("Barra de ferramentas"))) naBarra = true;
      else if (naBarra && l.isEmpty()) break;
      else if (naBarra) botoesCli << l.trimmed();
    }
    QCOMPARE(botoes.size(), 6);
    QCOMPARE(botoes, botoesCli);
    QCOMPARE(janela.windowTitle(), QStringLiteral("Tribunal de Contas do Estado - Brivo"));
    QVERIFY(janela.AcaoDoMenu(QStringLiteral("actTnDMSelecao")));
  }

  // The status bar shows what the form's does for the same selection, panel widths included.
  void barraDeStatusIgualADaLinhaDeComando() {
    LimparSelecao();
    SetExternalVar("gCodigoSistemaTCEAtiva", "2");
    SetExternalVar("gCodigoEmpresaAtiva", "2");
    QString saida = Ulmo({QStringLiteral("--db"), FBanco, QStringLiteral("--sistema"), QStringLiteral("2"),
                          QStringLiteral("--empresa"), QStringLiteral("2"), QStringLiteral("menu")});
    TUlmoSMenu form;
    TJanelaPrincipal janela(form, TnPerModulos{8});
    QCOMPARE(janela.Paineis().size(), size_t(3));
    for (size_t i = 0; i < janela.Paineis().size(); ++i) {
      QLabel* p = janela.Paineis()[i];
      QString linha = QStringLiteral("  [%1] %2  %3").arg(i).arg(p->property("largura").toInt()).arg(p->text());
      QVERIFY2(saida.contains(linha + QLatin1Char('\n')), qPrintable(linha + QStringLiteral(" em\n") + saida));
    }
    QVERIFY(janela.Paineis()[2]->text().startsWith(QStringLiteral("0002 ")));
  }

  // Picking a company in the dialog brings its court system; the status bar and the menu follow.
  void selecaoMudaBarraDeStatusEMenu() {
    LimparSelecao();
    TUlmoSMenu form;
    TJanelaPrincipal janela(form, TnPerModulos{8});
    QCOMPARE(janela.Paineis().size(), size_t(2));
    QCOMPARE(janela.Paineis()[1]->text(), QStringLiteral("Nenhuma empresa selecionada"));
    QVERIFY(janela.AcaoDoMenu(QStringLiteral("actTUlmoDPGerarArquivosCtb"))->statusTip().contains(QStringLiteral("exige a seleção")));

    int sistemaEscolhido = -1;
    QuandoAbrirDialogo([&](QDialog& d) {
      auto* s = qobject_cast<TDialogoSelecao*>(&d);
      QVERIFY(s);
      s->SetEmpresa(3);
      sistemaEscolhido = s->Sistema();
      d.accept();
    });
    QAction* botao = janela.BarraFerramentas()->findChild<QAction*>(QStringLiteral("btnTnDMSelecao"));
    QVERIFY(botao);
    botao->trigger();
    QCOMPARE(sistemaEscolhido, 3);  // the company's linked system
    QCOMPARE(ExternalVar("gCodigoEmpresaAtiva"), std::string("3"));
    QCOMPARE(TnSelecao::GetParams().Valor("CODIGOSISTEMATCE").AsInteger(), 3);
    QCOMPARE(janela.Paineis().size(), size_t(3));
    QCOMPARE(janela.Paineis()[1]->text(), QStringLiteral("Empresa: 3"));
    QVERIFY2(janela.Paineis()[2]->text().startsWith(QStringLiteral("0003 ")), qPrintable(janela.Paineis()[2]->text()));
    QCoreApplication::processEvents();  // the menu is rebuilt after the handler returns
    QAction* sc = janela.AcaoDoMenu(QStringLiteral("actTUlmoDPGerarArquivosCtb"));
    QVERIFY(sc);
    QVERIFY2(!sc->statusTip().contains(QStringLiteral("exige a seleção")), qPrintable(sc->statusTip()));

    // Cancelled, nothing changes.
    QuandoAbrirDialogo([](QDialog& d) {
      qobject_cast<TDialogoSelecao*>(&d)->SetEmpresa(1);
      d.reject();
    });
    QVERIFY(!janela.Selecionar());
    QCOMPARE(ExternalVar("gCodigoEmpresaAtiva"), std::string("3"));
  }

  void acaoAbreAbaDoTipoCerto() {
    LimparSelecao();
    SetExternalVar("gCodigoSistemaTCEAtiva", "1");
    SetExternalVar("gCodigoEmpresaAtiva", "1");
    TnSelecao::Params().Definir("CODIGOSISTEMATCE", TVariant(1LL));
    TnSelecao::Params().Definir("CODIGOEMPRESA", TVariant(1LL));
    TUlmoSMenu form;
    TJanelaPrincipal janela(form, TnPerModulos{8});
    QTabWidget* abas = janela.Abas();
    QCOMPARE(abas->count(), 0);

    janela.AcaoDoMenu(QStringLiteral("actTUlmoDPGerarArquivosCtb"))->trigger();
    QCOMPARE(abas->count(), 1);
    QCOMPARE(abas->tabText(0), QStringLiteral("Gerar Arquivos Contábeis - SC"));
    QCOMPARE(abas->widget(0)->property("tipoTela").toString(), QStringLiteral("processo"));
    QCOMPARE(abas->widget(0)->property("classe").toString(), QStringLiteral("TUlmoDPGerarArquivosCtb"));
    janela.AcaoDoMenu(QStringLiteral("actTUlmoDPGerarArquivosCtb"))->trigger();
    QCOMPARE(abas->count(), 1);  // brought forward, not opened twice

    janela.BarraFerramentas()->findChild<QAction*>(QStringLiteral("btnTUlmoDMPlanoPlEspec"))->trigger();
    QCOMPARE(abas->count(), 2);
    QCOMPARE(abas->currentIndex(), 1);
    QCOMPARE(abas->tabText(1), QStringLiteral("Relacionamento"));
    QCOMPARE(abas->widget(1)->property("tipoTela").toString(), QStringLiteral("cadastro"));

    janela.AcaoDoMenu(QStringLiteral("actTUlmoDCSistema"))->trigger();
    QCOMPARE(abas->widget(2)->property("tipoTela").toString(), QStringLiteral("cadastro"));
    QVERIFY(TipoDaClasse("TirnDPAgendaTributaria") == TTipoTela::Processo);
    QVERIFY(TipoDaClasse("TKaloDMPlanoEspec") == TTipoTela::Cadastro);
    // A process with a grid form opens in the grid form.
    janela.AcaoDoMenu(QStringLiteral("actTUlmoDPEnviarArquivosCtbeSFinge"))->trigger();
    QCOMPARE(abas->widget(3)->property("tipoTela").toString(), QStringLiteral("grade"));
    QVERIFY(qobject_cast<TTelaGrade*>(abas->widget(3)));
    emit abas->tabCloseRequested(3);

    emit abas->tabCloseRequested(0);
    QCOMPARE(abas->count(), 2);
    QCOMPARE(abas->widget(0)->property("classe").toString(), QStringLiteral("TUlmoDMPlanoPlEspec"));
  }

  // An action whose selection is missing asks for it first; given up, nothing opens.
  void acaoSemSelecaoPedeSelecao() {
    LimparSelecao();
    TUlmoSMenu form;
    TJanelaPrincipal janela(form, TnPerModulos{8});
    bool perguntou = false;
    QuandoAbrirDialogo([&](QDialog& d) {
      perguntou = d.findChild<QLabel*>(QStringLiteral("motivo")) != nullptr;
      d.reject();
    });
    janela.AcaoDoMenu(QStringLiteral("actTUlmoDPGerarArquivosCtb"))->trigger();
    QVERIFY(perguntou);
    QCOMPARE(janela.Abas()->count(), 0);

    QuandoAbrirDialogo([](QDialog& d) {
      qobject_cast<TDialogoSelecao*>(&d)->SetEmpresa(1);
      d.accept();
    });
    janela.AcaoDoMenu(QStringLiteral("actTUlmoDPGerarArquivosCtb"))->trigger();
    QCOMPARE(janela.Abas()->count(), 1);
  }
};

QTEST_MAIN(TJanelaPrincipalTeste)
#include "JanelaPrincipal_U_test.moc"
