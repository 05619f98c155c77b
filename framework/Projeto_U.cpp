#include "Projeto_U.h"

#include "ClassRegistry_U.h"
#include "Configuracao_U.h"
#include "Conexao_U.h"
#include "Contexto_U.h"
#include "Exceptions_U.h"
#include "ModuleLoader_U.h"
#include "Nutil_U.h"
#include "Schema_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

namespace {

std::shared_ptr<IFrontEnd>& FrontEnd() {
  static std::shared_ptr<IFrontEnd> frontEnd;
  return frontEnd;
}

std::unique_ptr<TnDMConexao>& Banco() {
  static std::unique_ptr<TnDMConexao> banco;
  return banco;
}

}  // namespace

TnStatusPanel& TnStatusBar::AddPanel() {
  FPanels.emplace_back();
  return FPanels.back();
}

TnStatusPanel& TnStatusBar::Panels(int AIndex) {
  if (AIndex < 0 || AIndex >= PanelCount()) throw EInternalError("painel inexistente: " + std::to_string(AIndex));
  return FPanels[static_cast<size_t>(AIndex)];
}

const TnStatusPanel& TnStatusBar::Panels(int AIndex) const { return const_cast<TnStatusBar*>(this)->Panels(AIndex); }

TnFrmMenuBrivo::TnFrmMenuBrivo() : nStatusBar(LarguraStatusBar) {
  nStatusBar.AddPanel().Width = LarguraPainel0;
  nStatusBar.AddPanel().Width = LarguraPainel1;
  actTnDMSelecao = &nActionList.CriarAction();
  actTnDMSelecao->Name = "actTnDMSelecao";
  actTnDMSelecao->Caption = "Seleção";
  actTnDMSelecao->Hint = "Seleção";
}

void TnFrmMenuBrivo::ConfigurarVisualMenu() {
  nStatusBar.Panels(0).Text = "Banco: " + nConfig().Banco;
  std::string empresa = ExternalVar("gCodigoEmpresaAtiva");
  nStatusBar.Panels(1).Text = empresa.empty() ? "Nenhuma empresa selecionada" : "Empresa: " + empresa;
}

void TnFrmMenuBrivo::CriarBtnToolBar() {
  CriarToolButtonMain("TnDMSelecao", "Seleção do sistema e da empresa", false, "Seleção", 0);
  CriarToolButtonMain("TnFrmMensagens", "Mensagens da última execução", false, "Mensagens", 0);
}

void TnFrmMenuBrivo::CriarToolButtonMain(const std::string& AClasse, const std::string& ADescricao, bool AFlag,
                                         const std::string& ACaption, int ANumero) {
  ToolBar.push_back(TnToolButton{AClasse, ADescricao, AFlag, ACaption, ANumero});
}

void TnAplicacao::Inicializar(int argc, const char* const* argv) {
  FExeName = argc > 0 && argv[0] ? argv[0] : "";
  FArgumentos.clear();
  for (int i = 1; i < argc; ++i) FArgumentos.emplace_back(argv[i]);
}

TnAplicacao& Application() {
  static TnAplicacao app;
  return app;
}

void SetFrontEnd(std::shared_ptr<IFrontEnd> AFrontEnd) { FrontEnd() = std::move(AFrontEnd); }

void AbrirBanco() {
  if (Banco()) return;
  auto conexao = TnDMConexao::AbrirSQLite(nConfig().Banco);
  TnDMConexao* c = conexao.get();
  AtualizarEsquema(*conexao, [c] {
    if (FDepoisConverter) FDepoisConverter(c);
  });
  Banco() = std::move(conexao);
  SetConexao(Banco().get());
}

void FecharBanco() {
  if (!Banco()) return;
  SetConexao(nullptr);
  Banco().reset();
}

int ExecutarProjeto(const std::string& ATitulo, TnClasseSplash ASplash, TnClasseMenu AMenu,
                    TnFrmMenuBrivo** AMainForm, TnClasseLogin ALogin) {
  TnAplicacao& app = Application();
  app.Title = ATitulo;
  std::shared_ptr<IFrontEnd> fe = FrontEnd();
  if (!fe) throw EInternalError("nenhuma interface de usuário instalada");
  if (auto saida = fe->Preparar(app)) return app.ExitCode = *saida;

  TnBibliotecas bibliotecas;
  std::unique_ptr<TnFrmMenuBrivo> menu;
  try {
    if (ASplash) app.ItensSplash = ASplash()->GetListaSplashItens();
    if (ALogin) ALogin();
    std::filesystem::path pasta =
        nConfig().PastaBibliotecas.empty() ? PastaPadraoBibliotecas() : std::filesystem::path(nConfig().PastaBibliotecas);
    bibliotecas.Carregar(nConfig().Bibliotecas, pasta);
    menu = AMenu();
    menu->Caption = menu->Caption.empty() ? ATitulo : menu->Caption;
    if (AMainForm) *AMainForm = menu.get();
    menu->FormCreate();
    menu->EncontrarForms();
    app.ExitCode = fe->Executar(*menu);
  } catch (const std::exception& e) {
    fe->MostrarErro(e.what());
    app.ExitCode = 1;
  }
  // Closing in reverse: the form, the instances and utilities, the libraries, the database.
  if (AMainForm) *AMainForm = nullptr;
  menu.reset();
  DestruirTodosDM();
  LiberarUtilitarios();
  bibliotecas.Descarregar();
  FecharBanco();
  return app.ExitCode;
}

}  // namespace nFramework
