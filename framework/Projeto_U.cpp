#include "Projeto_U.h"

#include "ClassRegistry_U.h"
#include "Conexao_U.h"
#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "Exceptions_U.h"
#include "ModuleLoader_U.h"
#include "Nutil_U.h"
#include "Schema_U.h"
#include "TextoMensagem_U.h"
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

TnStatusPanel& TnStatusBar::Panels(int aIndex) {
  if (aIndex < 0 || aIndex >= PanelCount()) throw EInternalError("painel inexistente: " + std::to_string(aIndex));
  return FPanels[static_cast<size_t>(aIndex)];
}

const TnStatusPanel& TnStatusBar::Panels(int aIndex) const { return const_cast<TnStatusBar*>(this)->Panels(aIndex); }

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

void TnFrmMenuBrivo::CriarToolButtonMain(const std::string& aClasse, const std::string& aDescricao, bool aFlag,
                                         const std::string& aCaption, int aNumero) {
  ToolBar.push_back(TnToolButton{aClasse, aDescricao, aFlag, aCaption, aNumero});
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

void SetFrontEnd(std::shared_ptr<IFrontEnd> aFrontEnd) { FrontEnd() = std::move(aFrontEnd); }

void AbrirBanco(bool aCriar) {
  if (Banco()) return;
  TOpcoesBanco opcoes;
  opcoes.Criar = aCriar;
  opcoes.SomenteLeitura = nConfig().BancoSomenteLeitura;
  opcoes.EsperaBloqueioMs = nConfig().EsperaBloqueioMs;
  auto conexao = TnDMConexao::Abrir(nConfig().Banco, opcoes);
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

int ExecutarProjeto(const std::string& aTitulo, TnClasseSplash aSplash, TnClasseMenu aMenu,
                    TnFrmMenuBrivo** aMainForm, TnClasseLogin aLogin) {
  TnAplicacao& app = Application();
  app.Title = aTitulo;
  std::shared_ptr<IFrontEnd> fe = FrontEnd();
  if (!fe) throw EInternalError("nenhuma interface de usuário instalada");
  if (auto saida = fe->Preparar(app)) return app.ExitCode = *saida;

  TnBibliotecas bibliotecas;
  std::unique_ptr<TnFrmMenuBrivo> menu;
  try {
    if (aSplash) app.ItensSplash = aSplash()->GetListaSplashItens();
    fe->MostrarSplash(app.ItensSplash);
    bool entrou = true;
    if (aLogin) aLogin();
    else entrou = fe->Entrar();
    if (entrou) {
      std::filesystem::path pasta = nConfig().PastaBibliotecas.empty() ? PastaPadraoBibliotecas()
                                                                       : std::filesystem::path(nConfig().PastaBibliotecas);
      bibliotecas.Carregar(nConfig().Bibliotecas, pasta);
      menu = aMenu();
      menu->Caption = menu->Caption.empty() ? aTitulo : menu->Caption;
      if (aMainForm) *aMainForm = menu.get();
      menu->FormCreate();
      menu->EncontrarForms();
      app.ExitCode = fe->Executar(*menu);
    } else {
      app.ExitCode = 0;
    }
  } catch (const std::exception& e) {
    fe->MostrarErro(MensagemDeErro(e));
    app.ExitCode = 1;
  }
  // Closing in reverse: the form, the instances and utilities, the libraries, the database.
  if (aMainForm) *aMainForm = nullptr;
  menu.reset();
  DestruirTodosDM();
  LiberarUtilitarios();
  bibliotecas.Descarregar();
  FecharBanco();
  return app.ExitCode;
}

}  // namespace nFramework
