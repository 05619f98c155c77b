#include "FrontEndDesktop_U.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QMessageBox>
#include <iostream>
#include <sstream>
#include <unistd.h>

#include "Capturas_U.h"
#include "Configuracao_U.h"
#include "DialogoBanco_U.h"
#include "DialogoFormula_U.h"
#include "Inicio_U.h"
#include "JanelaPrincipal_U.h"
#include "ServicosDesktop_U.h"
#include "SplashDesktop_U.h"
#include "TextoMensagem_U.h"
#include "Utilitarios_U.h"
#include "VisaoLayoutUsuario_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool TelaDeVerdade() {
  QString p = QGuiApplication::platformName();
  return p != QLatin1String("offscreen") && p != QLatin1String("minimal");
}

TnPerModulos ModulosConfigurados() {
  TnPerModulos m;
  for (int i : nConfig().Modulos) m.Incluir(i);
  return m;
}

}  // namespace

void EncerrarFrontEnd() { SetFrontEnd(nullptr); }

TFrontEndDesktop::TFrontEndDesktop() = default;
TFrontEndDesktop::~TFrontEndDesktop() {
  FSplash.reset();  // before the application object
}

std::optional<int> TFrontEndDesktop::Preparar(TnAplicacao& aApp) {
  // Qt takes its own options (-platform, -style...) first; the rest are the program's.
  FArgs.clear();
  FArgs.push_back(aApp.ExeName().empty() ? "ulmo-desktop" : aApp.ExeName());
  for (const auto& a : aApp.Argumentos()) FArgs.push_back(a);
  FArgv.clear();
  for (auto& a : FArgs) FArgv.push_back(a.data());
  FArgv.push_back(nullptr);
  FArgc = static_cast<int>(FArgs.size());
  QApplication::setOrganizationName(QStringLiteral("Brivo"));
  QApplication::setApplicationName(QStringLiteral("ulmo-desktop"));
  QApplication::setApplicationDisplayName(Q(aApp.Title));
  FQApp = std::make_unique<QApplication>(FArgc, FArgv.data());

  CLI::App app{aApp.Title + ": arquivos e envios aos Tribunais de Contas", "ulmo-desktop"};
  TOpcoesInicio inicio;
  AdicionarOpcoesInicio(app, inicio);
  std::string capturas;
  app.add_option("--capturas", capturas, "Grava as telas em PNG nesta pasta e termina")->group("");
  QStringList qargs = QApplication::arguments();
  std::vector<std::string> args;
  for (int i = qargs.size() - 1; i >= 1; --i) args.push_back(qargs[i].toStdString());  // CLI11 takes them last first
  try {
    app.parse(args);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return csSucesso;
  } catch (const CLI::ParseError& e) {
    Avisar(QStringLiteral("Opção inválida"), Q(e.what()) + QStringLiteral("\nUse ulmo-desktop --help."));
    return csParametro;
  }
  FCapturas = Q(capturas);
  std::ostringstream avisos;
  try {
    AplicarOpcoesInicio(inicio, avisos);
  } catch (const EUso& e) {
    Avisar(QStringLiteral("Opção inválida"), Q(e.what()));
    return csParametro;
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    Avisar(QStringLiteral("Configuração"), Q(MensagemDeErro(e)));
    return csFalha;
  }
  if (!avisos.str().empty()) std::cerr << avisos.str();
  // A database the user named: the option, ULMO_DB or the configuration file's own.
  FBancoDado = inicio.Banco;
  if (FBancoDado.empty() && nConfig().Banco != TnConfig().Banco) FBancoDado = nConfig().Banco;
  if (inicio.Debug) SetLogDebugSink([](const std::string& l) { std::cerr << "[debug] " << l << '\n'; });
  InstalarServicosDesktop();
  InstalarLayoutsDoUsuario();
  InstalarEditorFormula();
  return std::nullopt;
}

void TFrontEndDesktop::MostrarSplash(const std::vector<std::string>& aItens) {
  QStringList itens;
  for (const auto& i : aItens) itens << Q(i);
  FSplash = std::make_unique<TSplashDesktop>(Q(Application().Title), itens);
  if (!FCapturas.isEmpty()) return;  // rendered later, into its file
  FSplash->show();
  QApplication::processEvents();
}

bool TFrontEndDesktop::Entrar() {
  QString erro;
  if (!FBancoDado.empty()) {
    if (TentarAbrirBanco(erro)) {
      TDialogoBanco::Lembrar(Q(nConfig().Banco));
      return true;
    }
  }
  if (!FCapturas.isEmpty() || !TelaDeVerdade()) {
    // Nobody to ask.
    throw EUso(FBancoDado.empty() ? "Informe o banco de dados com --db." : erro.toStdString());
  }
  if (FSplash) FSplash->hide();
  bool entrou = EscolherEAbrirBanco(nullptr, Q(FBancoDado), erro);
  if (entrou && FSplash) {
    FSplash->SetMensagem(QStringLiteral("Carregando os módulos..."));
    FSplash->show();
    QApplication::processEvents();
  }
  return entrou;
}

int TFrontEndDesktop::Executar(TnFrmMenuBrivo& aMenu) {
  if (!FCapturas.isEmpty()) return Capturar(FCapturas, aMenu, ModulosConfigurados(), *FSplash);
  TJanelaPrincipal janela(aMenu, ModulosConfigurados());
  if (FSplash && FSplash->isVisible()) {
    FSplash->SetMensagem(QStringLiteral("Abrindo a janela principal..."));
    QApplication::processEvents();
  }
  janela.show();
  if (FSplash) FSplash->close();
  return QApplication::exec();
}

void TFrontEndDesktop::MostrarErro(const std::string& aMensagem) {
  if (FSplash) FSplash->hide();
  Avisar(QStringLiteral("Erro"), Q(aMensagem));
}

void TFrontEndDesktop::Avisar(const QString& aTitulo, const QString& aTexto) {
  std::cerr << aTexto.toStdString() << '\n';
  if (FQApp && TelaDeVerdade() && FCapturas.isEmpty() && !isatty(STDERR_FILENO))
    QMessageBox::warning(nullptr, Q(Application().Title) + QStringLiteral(" - ") + aTitulo, aTexto);
}

}  // namespace nDesktop

namespace {
// The desktop is the program's front end from its first initialization.
struct TInstalacao {
  TInstalacao() { nFramework::SetFrontEnd(std::make_shared<nDesktop::TFrontEndDesktop>()); }
} gInstalacao;
}  // namespace
