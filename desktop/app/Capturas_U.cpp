#include "Capturas_U.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QThread>
#include <QToolBar>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <vector>

#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "DialogoBanco_U.h"
#include "DialogoFormula_U.h"
#include "DialogoSelecao_U.h"
#include "Inicio_U.h"
#include "JanelaPrincipal_U.h"
#include "SQL_U.h"
#include "SplashDesktop_U.h"
#include "TelaCadastro_U.h"
#include "TelaGrade_U.h"
#include "TelaProcesso_U.h"
#include "VisaoCapturas_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

void Esperar(int aMs = 50) {
  for (int i = 0; i < 5; ++i) {
    QApplication::processEvents();
    QThread::msleep(static_cast<unsigned long>(aMs / 5));
  }
}

bool Gravar(const QPixmap& aImagem, const QDir& aPasta, const QString& aNome) {
  QString caminho = aPasta.filePath(aNome);
  if (!aImagem.save(caminho, "PNG")) {
    std::cerr << "Não foi possível gravar " << caminho.toStdString() << '\n';
    return false;
  }
  std::cout << caminho.toStdString() << '\n';
  return true;
}

// A window with its popup menus painted in place: a grab of the window alone leaves them out.
QPixmap ComMenusAbertos(QWidget& aJanela, const std::vector<QMenu*>& aMenus) {
  QPixmap imagem = aJanela.grab();
  QPainter p(&imagem);
  for (QMenu* m : aMenus) p.drawPixmap(aJanela.mapFromGlobal(m->pos()), m->grab());
  return imagem;
}

void SelecionarEmpresaSC() {
  if (!ExternalVar("gCodigoEmpresaAtiva").empty()) return;
  auto ds = ExecutarSQL(
      "select T.CODIGOSISTEMATCE, T.CODIGOEMPRESA from TCESISTEMAEMPRESA T join TCESISTEMA S on S.CODIGOSISTEMATCE = "
      "T.CODIGOSISTEMATCE where S.SIGLAESTADO = 'SC' order by T.CODIGOEMPRESA");
  if (ds->Eof()) return;
  std::ostringstream avisos;
  SelecionarSistemaEmpresa(ds->Fields(0).AsString(), ds->Fields(1).AsString(), avisos);
}

}  // namespace

int Capturar(const QString& aPasta, TnFrmMenuBrivo& aMenu, const TnPerModulos& aModulos, TSplashDesktop& aSplash) {
  QDir pasta(aPasta);
  if (!pasta.mkpath(QStringLiteral("."))) {
    std::cerr << "Não foi possível criar a pasta " << aPasta.toStdString() << '\n';
    return 1;
  }
  bool ok = true;
  aSplash.SetMensagem(QStringLiteral("Carregando os módulos..."));
  ok &= Gravar(aSplash.grab(), pasta, QStringLiteral("01-splash.png"));

  SelecionarEmpresaSC();
  TJanelaPrincipal janela(aMenu, aModulos);
  janela.resize(1180, 760);
  janela.show();
  Esperar();
  ok &= Gravar(janela.grab(), pasta, QStringLiteral("02-janela-principal.png"));

  // The "Arquivos" menu open, its entry highlighted.
  if (QMenu* arquivos = janela.menuBar()->findChild<QMenu*>(QStringLiteral("menuArquivos"))) {
    janela.menuBar()->setActiveAction(arquivos->menuAction());
    Esperar(100);
    if (!arquivos->actions().isEmpty()) arquivos->setActiveAction(arquivos->actions().first());
    Esperar();
    ok &= Gravar(ComMenusAbertos(janela, {arquivos}), pasta, QStringLiteral("03-menu-arquivos.png"));
    arquivos->hide();
    Esperar();
  }
  if (QMenu* cadastros = janela.menuBar()->findChild<QMenu*>(QStringLiteral("menuCadastros"))) {
    janela.menuBar()->setActiveAction(cadastros->menuAction());
    Esperar(100);
    ok &= Gravar(ComMenusAbertos(janela, {cadastros}), pasta, QStringLiteral("04-menu-cadastros.png"));
    cadastros->hide();
    Esperar();
  }

  {
    TDialogoSelecao selecao(&janela);
    selecao.show();
    Esperar();
    ok &= Gravar(selecao.grab(), pasta, QStringLiteral("05-selecao.png"));
  }
  {
    TDialogoBanco banco(QString::fromStdString(nConfig().Banco), {}, &janela);
    banco.show();
    Esperar();
    ok &= Gravar(banco.grab(), pasta, QStringLiteral("06-banco.png"));
  }

  // The TCE-SC process from its menu entry, and the chart-mapping register from the toolbar.
  if (QAction* sc = janela.AcaoDoMenu(QStringLiteral("actTUlmoDPGerarArquivosCtb"))) {
    sc->trigger();
    Esperar(200);
    ok &= Gravar(janela.grab(), pasta, QStringLiteral("07-processo-sc.png"));
  }
  if (QAction* rel = janela.BarraFerramentas()->findChild<QAction*>(QStringLiteral("btnTUlmoDMPlanoPlEspec"))) {
    rel->trigger();
    Esperar(200);
    ok &= Gravar(janela.grab(), pasta, QStringLiteral("08-cadastro-relacionamento.png"));
  }

  // The screens' own captures: a process's panel filled, its run's progress and messages; a
  // register, its edit form, a pick dialog and a refusal.
  for (const auto& p : CapturarTelasProcesso(pasta.absolutePath().toStdString())) std::cout << p.string() << '\n';
  for (const auto& p : CapturarTelasCadastro(pasta.absolutePath().toStdString())) std::cout << p.string() << '\n';
  for (const auto& p : CapturarTelasVisao(pasta.absolutePath().toStdString())) std::cout << p.string() << '\n';
  for (const auto& p : CapturarTelasFormula(pasta.absolutePath().toStdString())) std::cout << p.string() << '\n';
  for (const auto& p : CapturarTelasGrade(pasta.absolutePath().toStdString())) std::cout << p.string() << '\n';
  return ok ? 0 : 1;
}

}  // namespace nDesktop
