// The process screen against a temporary demo database with the module libraries open.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <filesystem>
#include <memory>

#include "ArvoreMensagens_U.h"
#include "ClassRegistry_U.h"
#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "ControleMensagem_U.h"
#include "Demo_U.h"
#include "Dialogo_U.h"
#include "EmpresaGrande_U.h"
#include "FraProgresso_U.h"
#include "ModuleLoader_U.h"
#include "PainelParametros_U.h"
#include "Projeto_U.h"
#include "ServicosDesktop_U.h"
#include "TelaProcesso_U.h"
#include "TestFolder_U.h"
#include "Variant_U.h"

using namespace nFramework;
using namespace nDesktop;

namespace {

const char* const ClasseSC = "TUlmoDPGerarArquivosCtb";
const char* const ArquivosSC[] = {"LancamentoContabil.txt", "MovimentoContabil.txt", "AplicacaoFinanceira.txt",
                                  "ContaContabil.txt"};

std::unique_ptr<TTelaProcesso> AbrirSC() {
  auto* w = CriarTelaProcesso(ClasseSC, nullptr);
  auto* t = qobject_cast<TTelaProcesso*>(w);
  if (!t) delete w;
  return std::unique_ptr<TTelaProcesso>(t);
}

QLineEdit* Edit(TTelaProcesso& aTela, const char* aAlias) {
  return qobject_cast<QLineEdit*>(aTela.Painel()->Controle(aAlias));
}

// Types into the control as a user does: focus, select what is there, type.
void Digitar(TTelaProcesso& aTela, const char* aAlias, const QString& aTexto) {
  QLineEdit* e = Edit(aTela, aAlias);
  QVERIFY(e);
  e->setFocus();
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Backspace);
  QTest::keyClicks(e, aTexto);
}

bool EsperarFim(TTelaProcesso& aTela, int aMs = 60000) {
  if (!aTela.Executando()) return true;
  QSignalSpy fim(&aTela, &TTelaProcesso::Terminou);
  return fim.wait(aMs);
}

QStringList Textos(const QTreeWidget* aArvore) {
  QStringList r;
  for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(aArvore)); *it; ++it) r << (*it)->text(0);
  return r;
}

// A process with what the TCE-SC panel lacks: pages, separators, a tick, a competence, a
// number, a password, a multi-value lookup, and a check on a hidden item.
class TTesteDPPaginas : public TnDMPowerParam {
  N_CLASSE(TTesteDPPaginas)
 public:
  TTesteDPPaginas() {
    SetCaption("Processo de Teste");
    AddParam({.Alias = "pCompet", .Caption = "Competência", .Dicionario = "DICDATAMESANO", .Obrigatorio = true});
    AddParam({.Alias = "pValor", .Caption = "Valor Mínimo", .Dicionario = "DICNUMERICO"});
    AddParam({.Alias = "pMarcar", .Caption = "Somente Marcados", .Dicionario = "DICSELECIONADO", .Padrao = "0",
              .Separador = "Filtros"});
    AddParam({.Alias = "pEstab", .Caption = "Estabelecimentos", .Dicionario = "CODIGOESTAB",
              .ExpressaoHabilitado = "IGUAL(PMARCAR,1)", .MultiplosValores = true});
    AddParam({.Alias = "pSenha", .Caption = "Senha", .Dicionario = "DICSENHA", .Pagina = "Acesso"});
    AddParam({.Alias = "pOculto", .Visivel = false});
  }
  void ValidarDado() override {
    TnDMPowerParam::ValidarDado();
    if (Param("pOculto").Value().empty()) throw EnParam(Param("pOculto"), "Sem o código oculto!");
  }
};

}  // namespace

class TTelaProcessoTest : public QObject {
  Q_OBJECT
 private:
  std::unique_ptr<TTestFolder> FPasta;
  TnBibliotecas FBibliotecas;

 private slots:
  void initTestCase() {
    FPasta = std::make_unique<TTestFolder>();
    std::string banco = (FPasta->Path() / "demo.db").string();
    nHost::CriarBancoDemo(banco);
    nConfig().Banco = banco;
    AbrirBanco();
    FBibliotecas.Carregar({"UlmoPkPb"}, ULMO_PASTA_BIBLIOTECAS);
    Application().Title = "TCE - Brivo";
    InstalarServicosDesktop();
  }

  void init() {
    TnSelecao::Params().Limpar();
    TnSelecao::Params().Definir("CODIGOSISTEMATCE", TVariant(1));
    TnSelecao::Params().Definir("CODIGOEMPRESA", TVariant(1));
  }

  void cleanupTestCase() {
    FBibliotecas.Descarregar();
    FecharBanco();
  }

  void oPainelDoTceScSegueOsItensEAsRegrasAoVivo() {
    auto tela = AbrirSC();
    QVERIFY(tela);
    TPainelParametros* p = tela->Painel();
    QCOMPARE(p->Paginas()->count(), 1);
    QCOMPARE(p->Paginas()->tabText(0), QString("Parâmetros"));
    QVERIFY(!p->Controle("pCodigoSistemaTCE"));  // hidden
    QVERIFY(p->Rotulo("pCompetInicial")->text().startsWith("Data Inicial"));
    QVERIFY(p->Rotulo("pCompetInicial")->text().contains("*"));
    QCOMPARE(p->Controle("pCompetFinal")->toolTip(), QString("Informe a data final para geração"));
    QCOMPARE(Edit(*tela, "pCompetInicial")->inputMask(), QString("99/99/9999;_"));
    // The selection fills the company in; its lookup has a search button.
    QCOMPARE(Edit(*tela, "pCodigoEmpresa")->text(), QString("1"));
    QVERIFY(p->Botao("pCodigoEmpresa"));
    // The lookup shows its description of the value, read through the lookup class.
    QCOMPARE(p->Descricao("pCodigoEmpresa")->text(), QString("Companhia de Desenvolvimento Urbano de Joinville S.A."));
    Digitar(*tela, "pCodigoEmpresa", "999");
    QCOMPARE(p->Descricao("pCodigoEmpresa")->text(), QString());
    Digitar(*tela, "pCodigoEmpresa", "1");
    QVERIFY(p->Botao("pDiretorio"));

    auto* aplic = qobject_cast<QComboBox*>(p->Controle("pGeraAplicFinanceira"));
    QVERIFY(aplic);
    QCOMPARE(aplic->currentText(), QString("Não"));
    QVERIFY(!p->Controle("pOriLctoAplicado")->isEnabled());
    QVERIFY(!p->Rotulo("pOriLctoAplicado")->text().contains("*"));
    // "Sim" enables the three origins and makes them required, through the item's expressions.
    aplic->setCurrentIndex(aplic->findText("Sim"));
    QCOMPARE(tela->Processo().Param("pGeraAplicFinanceira").Value(), std::string("1"));
    for (const char* a : {"pOriLctoAplicado", "pOriLctoResgatado", "pOriLctoRendimento"}) {
      QVERIFY2(p->Controle(a)->isEnabled(), a);
      QVERIFY2(p->Botao(a)->isEnabled(), a);
      QVERIFY2(p->Rotulo(a)->text().contains("*"), a);
    }
    aplic->setCurrentIndex(aplic->findText("Não"));
    QVERIFY(!p->Controle("pOriLctoRendimento")->isEnabled());
    // Typed dates go to the item as the control shows them; an emptied one leaves it empty.
    Digitar(*tela, "pCompetInicial", "01022024");
    QCOMPARE(tela->Processo().Param("pCompetInicial").Value(), std::string("01/02/2024"));
    Digitar(*tela, "pCompetInicial", "");
    QCOMPARE(tela->Processo().Param("pCompetInicial").Value(), std::string());
    QCOMPARE(tela->BotaoExecutar()->text(), QString("Executar"));
  }

  void paginasSeparadoresEOsOutrosControles() {
    TTelaProcesso tela(TnDMPtr<TnDMPowerParam>(nCriarObjeto<TTesteDPPaginas>().release()));
    TPainelParametros* p = tela.Painel();
    QCOMPARE(p->Paginas()->count(), 2);
    QCOMPARE(p->Paginas()->tabText(0), QString("Parâmetros"));
    QCOMPARE(p->Paginas()->tabText(1), QString("Acesso"));
    QStringList rotulos;
    for (QLabel* l : p->Paginas()->widget(0)->findChildren<QLabel*>()) rotulos << l->text();
    QVERIFY(rotulos.contains("Filtros"));
    QVERIFY(p->Paginas()->widget(1)->isAncestorOf(p->Controle("pSenha")));
    QCOMPARE(qobject_cast<QLineEdit*>(p->Controle("pSenha"))->echoMode(), QLineEdit::Password);
    QCOMPARE(qobject_cast<QLineEdit*>(p->Controle("pCompet"))->inputMask(), QString("99/9999;_"));
    // A number takes digits and a decimal comma, nothing else.
    QLineEdit* valor = qobject_cast<QLineEdit*>(p->Controle("pValor"));
    QTest::keyClicks(valor, "12a,5");
    QCOMPARE(tela.Processo().Param("pValor").Value(), std::string("12,5"));
    // The tick enables the multi-value lookup, which has its search button and no description.
    auto* marcar = qobject_cast<QCheckBox*>(p->Controle("pMarcar"));
    QVERIFY(marcar);
    QVERIFY(!p->Controle("pEstab")->isEnabled());
    marcar->click();
    QCOMPARE(tela.Processo().Param("pMarcar").Value(), std::string("1"));
    QVERIFY(p->Controle("pEstab")->isEnabled());
    QVERIFY(p->Botao("pEstab"));
    QVERIFY(!p->Descricao("pEstab"));
    // An error at a hidden item has no control to show it: the message tree says it.
    QTest::keyClicks(qobject_cast<QLineEdit*>(p->Controle("pCompet")), "032024");
    QCOMPARE(QString::fromStdString(tela.Processo().Param("pCompet").Value()), QString("03/2024"));
    tela.Executar();
    QVERIFY(EsperarFim(tela));
    QCOMPARE(int(tela.Resultado()), int(TTelaProcesso::TResultado::Parametro));
    QVERIFY(Textos(tela.Mensagens()->Arvore()).contains("Parâmetro \"pOculto\": Sem o código oculto!"));
    QVERIFY(tela.Mensagens()->isVisibleTo(&tela));
  }

  void umaDataVaziaRecebeODigitadoDesdeOPrimeiroDigito() {
    // Clicked at its end, or typed into without a click, an empty masked date took nothing.
    auto tela = AbrirSC();
    tela->show();
    QLineEdit* e = Edit(*tela, "pCompetFinal");
    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(e->width() - 4, e->height() / 2));
    QTest::keyClicks(e, "31122024");
    QCOMPARE(QString::fromStdString(tela->Processo().Param("pCompetFinal").Value()), QString("31/12/2024"));
    QLineEdit* inicio = Edit(*tela, "pCompetInicial");
    inicio->setCursorPosition(8);
    QTest::keyClicks(inicio, "01012024");
    QCOMPARE(QString::fromStdString(tela->Processo().Param("pCompetInicial").Value()), QString("01/01/2024"));
  }

  void umProcessoQueExigeSelecaoNaoAbreSemEla() {
    TnSelecao::Params().Limpar();
    try {
      std::unique_ptr<QWidget> w(CriarTelaProcesso(ClasseSC, nullptr));
      QFAIL("abriu sem a seleção");
    } catch (const Exception& e) {
      QCOMPARE(QString::fromStdString(e.what()),
               QString("Para abrir \"Gerar Arquivos Contábeis - SC\", selecione antes o sistema TCE em \"Selecionar "
                       "Sistema TCE\"."));
    }
    QVERIFY_THROWS_EXCEPTION(Exception, CriarTelaProcesso("TUlmoDMPlano", nullptr));
  }

  void oTceScPreenchidoPelosControlesGravaOsQuatroArquivos() {
    auto tela = AbrirSC();
    tela->resize(900, 640);
    tela->show();
    TTestFolder saida;
    std::filesystem::path pasta = saida / "SC 2024";
    Digitar(*tela, "pCompetInicial", "01/01/2024");
    Digitar(*tela, "pCompetFinal", "31122024");
    Digitar(*tela, "pDiretorio", QString::fromStdString(pasta.string()));
    auto* saldo = qobject_cast<QComboBox*>(tela->Painel()->Controle("pIncluirImplSaldo"));
    saldo->setFocus();
    QTest::keyClick(saldo, Qt::Key_Down);  // "Sim"
    QCOMPARE(tela->Processo().Param("pIncluirImplSaldo").Value(), std::string("1"));
    QTest::mouseClick(tela->BotaoExecutar(), Qt::LeftButton);
    QVERIFY(tela->Executando());
    QVERIFY(!tela->Painel()->isEnabled());
    QVERIFY(EsperarFim(*tela));
    QVERIFY(tela->Painel()->isEnabled());
    QCOMPARE(tela->Situacao()->text(), QString("Execução concluída."));
    QCOMPARE(int(tela->Resultado()), int(TTelaProcesso::TResultado::Sucesso));
    QCOMPARE(tela->CodigoSaida(), 0);
    for (const char* a : ArquivosSC) QVERIFY2(std::filesystem::exists(pasta / a), a);
    QVERIFY(std::filesystem::file_size(pasta / "LancamentoContabil.txt") > 0);
    TArvoreMensagens* m = tela->Mensagens();
    QVERIFY(m->isVisible());
    QCOMPARE(m->Contar(tmConfirmacao), 4);
    QCOMPARE(m->Contar(tmErro), 0);
    QStringList textos = Textos(m->Arvore());
    QVERIFY(textos.contains(QString::fromStdString("Arquivo de lançamentos contábeis gerado em " + pasta.string())));
    QVERIFY(textos.contains(QString::fromStdString("Arquivo de contas contábeis gerado em " + pasta.string())));
    QVERIFY(!tela->Progresso()->isVisible());
  }

  void umErroDeParametroFocaSeuItemEMostraAMensagem() {
    auto tela = AbrirSC();
    tela->show();
    tela->activateWindow();
    TTestFolder saida;
    Digitar(*tela, "pCompetInicial", "01/01/2024");
    Digitar(*tela, "pCompetFinal", "31/02/2024");
    Digitar(*tela, "pDiretorio", QString::fromStdString(saida.Path().string()));
    tela->Painel()->Controle("pDiretorio")->setFocus();
    QTest::mouseClick(tela->BotaoExecutar(), Qt::LeftButton);
    QVERIFY(EsperarFim(*tela));
    QCOMPARE(int(tela->Resultado()), int(TTelaProcesso::TResultado::Parametro));
    QCOMPARE(tela->CodigoSaida(), 2);
    QWidget* final = tela->Painel()->Controle("pCompetFinal");
    // The window's focus, whether or not a window manager made the window active.
    QCOMPARE(tela->focusWidget(), final);
    QLabel* erro = tela->Painel()->Erro("pCompetFinal");
    QVERIFY(erro->isVisible());
    QCOMPARE(erro->text(), QString("Data final inválida!"));
    QVERIFY(!tela->Painel()->Erro("pCompetInicial")->isVisible());
    QVERIFY(tela->Situacao()->text().contains("Data final inválida!"));
    QVERIFY(saida.Entries().empty());
    // Mending the value clears the message.
    Digitar(*tela, "pCompetFinal", "29/02/2024");
    QVERIFY(!erro->isVisible());
  }

  void cancelarDuranteAExecucaoNaoDeixaArquivo() {
    nHost::TParamEmpresaGrande grande;
    grande.CodigoEmpresa = 100;
    grande.Lancamentos = 300000;
    grande.Contas = 400;
    nHost::GerarEmpresaGrande(grande);
    TnSelecao::Params().Definir("CODIGOEMPRESA", TVariant(100));
    auto tela = AbrirSC();
    tela->resize(900, 640);
    tela->show();
    QCOMPARE(Edit(*tela, "pCodigoEmpresa")->text(), QString("100"));
    TTestFolder saida;
    std::filesystem::path pasta = saida / "grande";
    Digitar(*tela, "pCompetInicial", "01/01/2024");
    Digitar(*tela, "pCompetFinal", "31/12/2024");
    Digitar(*tela, "pDiretorio", QString::fromStdString(pasta.string()));
    // The window goes on handling its events while the run works.
    int batidas = 0;
    QTimer relogio;
    connect(&relogio, &QTimer::timeout, [&] { ++batidas; });
    relogio.start(10);
    // Another window of the program, say the main window's toolbar.
    std::unique_ptr<QPushButton> outra = std::make_unique<QPushButton>("Plano TCE");
    outra->show();
    QSignalSpy cliques(outra.get(), &QPushButton::clicked);
    TFraProgresso* f = tela->Progresso();
    tela->Executar();
    QTRY_VERIFY_WITH_TIMEOUT(f->BarraTotal()->value() >= 2 && !f->TextoParcial().isEmpty(), 30000);
    QVERIFY(tela->Executando());
    QVERIFY(f->isVisible() && f->BarraParcial()->isVisible());
    QCOMPARE(f->TextoTotal(), QString("Apurando Contas Contábeis..."));
    QVERIFY(f->TextoParcial().startsWith("Apurando competência "));
    QVERIFY(batidas > 0);
    // Input outside the progress frame waits for the run, in every window open when it began.
    QTest::mouseClick(outra.get(), Qt::LeftButton);
    QCOMPARE(cliques.count(), 0);
    QVERIFY(!tela->close());
    QVERIFY(tela->isVisible());
    QTest::mouseClick(f->BotaoCancelar(), Qt::LeftButton);
    QCOMPARE(f->BotaoCancelar()->text(), QString("Cancelando..."));
    QVERIFY(EsperarFim(*tela));
    QCOMPARE(int(tela->Resultado()), int(TTelaProcesso::TResultado::Cancelada));
    QCOMPARE(tela->CodigoSaida(), 1);
    QCOMPARE(tela->Mensagens()->Contar(tmParada), 1);
    QVERIFY(Textos(tela->Mensagens()->Arvore()).contains("Processo cancelado pelo usuário!"));
    QVERIFY(!std::filesystem::exists(pasta));
    QVERIFY(saida.Entries().empty());
    QVERIFY(!f->isVisible());
    QTest::mouseClick(outra.get(), Qt::LeftButton);
    QCOMPARE(cliques.count(), 1);
  }

  void umaTelaFechadaNoMeioDaExecucaoParaNoProximoPasso() {
    TnSelecao::Params().Definir("CODIGOEMPRESA", TVariant(100));
    auto tela = AbrirSC();
    TTestFolder saida;
    Digitar(*tela, "pCompetInicial", "01/01/2024");
    Digitar(*tela, "pCompetFinal", "31/12/2024");
    Digitar(*tela, "pDiretorio", QString::fromStdString(saida.Path().string()));
    tela->Executar();
    QTRY_VERIFY_WITH_TIMEOUT(tela->Progresso()->BarraTotal()->value() >= 1, 30000);
    auto inicio = std::chrono::steady_clock::now();
    tela.reset();
    QVERIFY(std::chrono::steady_clock::now() - inicio < std::chrono::seconds(2));
    QVERIFY(!ExecucaoEmAndamento());
    QVERIFY(saida.Entries().empty());
  }

  void asAcoesDoProcessoViramBotoesQueConfirmamAntes() {
    std::unique_ptr<QWidget> w(CriarTelaProcesso("TUlmoDPRelacionarPlanoPlEspec", nullptr));
    auto* tela = qobject_cast<TTelaProcesso*>(w.get());
    QVERIFY(tela);
    tela->show();
    QPushButton* excluir = tela->BotaoAcao("ActExcluirRelac");
    QVERIFY(excluir);
    QCOMPARE(excluir->text(), QString("Excluir Relacionamentos"));
    QCOMPARE(tela->BotaoAcao("nActSalvar")->text(), QString("Salvar Relacionamentos"));
    // The confirmation is asked from the run's thread on the screen's; "Não" runs nothing.
    QString pergunta;
    QTimer vigia;
    connect(&vigia, &QTimer::timeout, [&] {
      auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!caixa || !caixa->isVisible()) return;
      vigia.stop();
      pergunta = caixa->text();
      for (QAbstractButton* b : caixa->buttons())
        if (b->text() == "Não") b->click();
    });
    vigia.start(20);
    QTest::mouseClick(excluir, Qt::LeftButton);
    QVERIFY(EsperarFim(*tela));
    QCOMPARE(pergunta, QString("Deseja excluir os registros selecionados?"));
    QCOMPARE(int(tela->Resultado()), int(TTelaProcesso::TResultado::Sucesso));
    QCOMPARE(tela->Mensagens()->Contar(tmErro), 0);
  }

  void aPerguntaDoServicoViraCaixaDeMensagemNaTela() {
    struct TCaso {
      const char* Clique;  // nullptr: Escape
      int Esperado;
    };
    for (TCaso caso : {TCaso{"Sim para todos", 1}, TCaso{nullptr, 2}}) {
      QString texto, titulo;
      QStringList botoes;
      QString padrao;
      bool naTela = false;
      QTimer vigia;
      connect(&vigia, &QTimer::timeout, [&] {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caixa || !caixa->isVisible()) return;
        vigia.stop();
        naTela = QThread::currentThread() == qApp->thread();
        texto = caixa->text();
        titulo = caixa->windowTitle();
        for (QAbstractButton* b : caixa->buttons()) botoes << b->text();
        padrao = caixa->defaultButton() ? caixa->defaultButton()->text() : QString();
        if (!caso.Clique) {
          QTest::keyClick(caixa, Qt::Key_Escape);
          // A box Escape does not close would hold the test: its first button answers instead.
          QTimer::singleShot(2000, caixa, [caixa] {
            if (caixa->isVisible()) caixa->buttons().first()->click();
          });
          return;
        }
        for (QAbstractButton* b : caixa->buttons())
          if (b->text().remove('&') == caso.Clique) b->click();
      });
      vigia.start(20);
      // Asked from a run's thread, the question is answered on the screen's.
      int resposta = -1;
      std::unique_ptr<QThread> t(QThread::create([&] {
        resposta = nMessageDlg("O arquivo X.txt já existe. Deseja substituí-lo?", mtConfirmation,
                               {"Sim", "Sim para &todos", "Não"}, 0, 2);
      }));
      t->start();
      QTRY_VERIFY_WITH_TIMEOUT(t->isFinished(), 10000);
      QVERIFY(naTela);
      QCOMPARE(resposta, caso.Esperado);
      QCOMPARE(texto, QString("O arquivo X.txt já existe. Deseja substituí-lo?"));
      QCOMPARE(titulo, QString("TCE - Brivo"));
      QCOMPARE(botoes, (QStringList{"Sim", "Sim para &todos", "Não"}));
      QCOMPARE(padrao, QString("Sim"));
    }
  }

  void umaTelaFechadaDuranteAPerguntaNaoTravaAExecucao() {
    // The run asks, and its screen goes away before anyone answers: the run takes the safe answer.
    TFraProgresso frame;
    TContextoExecucao contexto(&frame);
    std::atomic<int> resposta{-1};
    std::unique_ptr<QThread> t(QThread::create([&] {
      TEscopoExecucao escopo(contexto);
      resposta = nMessageDlg("Deseja continuar?", mtConfirmation, {"Sim", "Não"}, 0, 1);
    }));
    t->start();
    contexto.Abandonada = true;
    QVERIFY(t->wait(5000));
    QCOMPARE(resposta.load(), 1);
    QCoreApplication::processEvents();
    QVERIFY(!QApplication::activeModalWidget());
  }

  void oFrameDeProgressoMostraBarrasComFimSemFimEVazias() {
    TFraProgresso f;
    TEstadoProgresso e;
    e.Multiplo = true;
    e.TextoTotal = "Apurando Contas Contábeis...";
    e.MaxTotal = 217;
    e.PosicaoTotal = 3;
    e.TextoParcial = "Apurando conta: 2";
    f.Mostrar(e);
    QCOMPARE(f.BarraTotal()->maximum(), 217);
    QCOMPARE(f.BarraTotal()->value(), 3);
    QCOMPARE(f.BarraTotal()->text(), QString("3 de 217 (1%)"));
    // An account without entries: an empty bar; steps without a total, or a circular one: busy.
    QCOMPARE(f.BarraParcial()->maximum(), 1);
    QCOMPARE(f.BarraParcial()->value(), 0);
    e.PosicaoParcial = 4;
    f.Mostrar(e);
    QCOMPARE(f.BarraParcial()->maximum(), 0);
    e.Circular = true;
    f.Mostrar(e);
    QCOMPARE(f.BarraTotal()->maximum(), 0);
    QVERIFY(f.BarraParcial()->isVisibleTo(&f));
    e.Multiplo = false;
    f.Mostrar(e);
    QVERIFY(!f.BarraParcial()->isVisibleTo(&f));
    QCOMPARE(f.TextoTotal(), QString("Apurando Contas Contábeis..."));
  }

  void aArvoreMostraCadaTipoAninhadaECopiaComoTexto() {
    TnMsgTreeLista lista;
    TnMsgNode* grupo = lista.Add(tmAviso, "Lançamentos com falha no envio", nullptr, "LANCAMENTOS");
    lista.Add(tmErro, "Conta 1.1.1 sem relacionamento", grupo, "C111");
    lista.Add(tmConfirmacao, "Arquivo gerado em /tmp/x");
    lista.Add(tmInformacao, "Competência 01/2024");
    TArvoreMensagens arvore;
    arvore.Mostrar({&lista}, {{tmParada, "Processo cancelado pelo usuário!"}});
    QTreeWidget* t = arvore.Arvore();
    QCOMPARE(t->topLevelItemCount(), 4);
    QTreeWidgetItem* aviso = t->topLevelItem(1);
    QCOMPARE(aviso->childCount(), 1);
    QVERIFY(aviso->isExpanded());
    QCOMPARE(aviso->child(0)->toolTip(0), QString("Conta 1.1.1 sem relacionamento\nC111"));
    QSet<QRgb> cores;
    for (QTreeWidgetItemIterator it(t); *it; ++it) {
      QVERIFY(!(*it)->icon(0).isNull());
      cores.insert((*it)->foreground(0).color().rgb());
    }
    QCOMPARE(cores.size(), 4);  // the stop and the error share their red
    QCOMPARE(arvore.Contar(tmErro), 1);
    const QString esperado =
        "[PARADA] Processo cancelado pelo usuário!\n[AVISO] Lançamentos com falha no envio\n  [ERRO] Conta 1.1.1 sem "
        "relacionamento\n[OK] Arquivo gerado em /tmp/x\n[INFO] Competência 01/2024\n";
    QCOMPARE(arvore.Texto(), esperado);
    QTest::mouseClick(arvore.BotaoCopiar(), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), esperado);
    TTestFolder pasta;
    arvore.SalvarEm(QString::fromStdString((pasta / "mensagens.txt").string()));
    QCOMPARE(QString::fromStdString(ReadBytes(pasta / "mensagens.txt")), esperado);
    QVERIFY_THROWS_EXCEPTION(EFileError, arvore.SalvarEm(QString::fromStdString((pasta / "mensagens.txt" / "x").string())));
    arvore.Limpar();
    QVERIFY(!arvore.BotaoSalvar()->isEnabled());
  }

  void asCapturasDoProcessoSaemEmPng() {
    TnSelecao::Params().Definir("CODIGOEMPRESA", TVariant(1));
    TTestFolder temporaria;
    std::filesystem::path pasta = temporaria.Path();
    if (const char* d = std::getenv("ULMO_CAPTURAS"); d && *d) pasta = d;
    auto gravados = CapturarTelasProcesso(pasta);
    QCOMPARE(gravados.size(), size_t(3));
    for (const char* n : {"processo-parametros.png", "processo-progresso.png", "processo-mensagens.png"}) {
      QImage img(QString::fromStdString((pasta / n).string()));
      QVERIFY2(!img.isNull(), n);
      QVERIFY(img.width() >= 800);
    }
  }
};

QTEST_MAIN(TTelaProcessoTest)
#include "TelaProcesso_U_test.moc"
