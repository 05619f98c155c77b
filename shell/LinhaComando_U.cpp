#include "LinhaComando_U.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <unistd.h>

#include "Classes_U.h"
#include "ComandoDemo_U.h"
#include "ComandosCli_U.h"
#include "ComandosRegister_U.h"
#include "Conexao_U.h"
#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "Dialogo_U.h"
#include "PostgreSQLDriver_U.h"
#include "Progresso_U.h"
#include "ServicosTerminal_U.h"
#include "TextoMensagem_U.h"
#include "Utilitarios_U.h"
#include "Variant_U.h"

using namespace nFramework;

std::optional<int> TLinhaComando::Preparar(TnAplicacao& aApp) {
  CLI::App app{aApp.Title + ": arquivos e envios aos Tribunais de Contas", "ulmo"};
  app.fallthrough();
  app.require_subcommand(1);
  TOpcoesInicio inicio;
  AdicionarOpcoesInicio(app, inicio);
  std::string sobrescrever;
  bool sim = false;
  app.add_option("--overwrite", sobrescrever, "Resposta às perguntas de substituir arquivo")
      ->check(CLI::IsMember({"yes", "all", "no"}));
  app.add_flag("--yes", sim, "Responde Sim a todas as perguntas");

  auto* menu = app.add_subcommand("menu", "Título, barra de status, barra de ferramentas e as ações do menu");
  auto* params = app.add_subcommand("params", "O painel de parâmetros de um processo");
  params->add_option("acao", FAlvo, "Classe, nome da ação (act + classe) ou título")->required();
  auto* run = app.add_subcommand("run", "Valida e executa um processo");
  run->add_option("acao", FAlvo, "Classe, nome da ação (act + classe) ou título")->required();
  run->add_option("parametros", FArgumentos, "alias=valor");
  run->add_option("--acao", FAcoesPainel, "Ação do painel a executar depois do processo e das opções de grade");
  // The grid options apply in the order given, so each one records its step as it is read.
  auto passo = [this](TPassoGrade::TTipo aTipo) {
    return [this, aTipo](const std::string& aTexto) { FGrade.Passos.push_back({aTipo, aTexto, {}}); };
  };
  run->add_option_function<std::string>("--grade", passo(TPassoGrade::Grade),
                                        "Grade das opções seguintes (nome ou título), quando o processo tem várias")
      ->trigger_on_parse();
  run->add_option_function<std::string>("--marcar", passo(TPassoGrade::Marcar),
                                        "Marca as linhas em que a expressão vale (ou todos)")
      ->trigger_on_parse();
  run->add_option_function<std::string>("--desmarcar", passo(TPassoGrade::Desmarcar),
                                        "Desmarca as linhas em que a expressão vale (ou todos)")
      ->trigger_on_parse();
  run->add_option_function<std::vector<std::string>>(
         "--definir",
         [this](const std::vector<std::string>& v) {
           FGrade.Passos.push_back({TPassoGrade::Definir, v.at(0), {v.begin() + 1, v.end()}});
         },
         "\"EXPR\" CAMPO=valor ...: define as células das linhas em que a expressão vale (ou todos)")
      ->expected(1, CLI::detail::expected_max_vector_size)
      ->trigger_on_parse();
  run->add_option_function<std::string>("--importar", passo(TPassoGrade::Importar),
                                        "Aplica um CSV da grade (o que --formato csv mostra), pelas colunas-chave")
      ->trigger_on_parse();
  auto* mostrar = run->add_option("--mostrar", FGrade.MostrarGrade, "Mostra as grades do processo (todas, ou a nomeada)")
                      ->expected(0, 1);
  auto* formato = run->add_option("--formato", FGrade.Formato, "Formato de --mostrar: tabela (padrão), csv ou json");
  auto* reg = app.add_subcommand("register", "Consulta e manutenção de um cadastro");
  reg->add_option("classe", FAlvo, "Classe do cadastro")->required();
  reg->add_option("operacao", FOperacao, "list, get, insert, update ou delete")
      ->required()
      ->check(CLI::IsMember({"list", "get", "insert", "update", "delete"}));
  reg->add_option("campos", FArgumentos, "CAMPO=valor (@CAMPO=valor escolhe o registro de update)");
  reg->add_option("--formato", FFormatoCadastro, "csv ou json: list e get com os valores gravados")
      ->check(CLI::IsMember({"csv", "json"}));
  auto* demo = app.add_subcommand("demo", "Cria ou renova o banco de demonstração, ou nele a empresa grande de teste");
  demo->add_option("--empresa", FDemo.Empresa, "Código da empresa grande (padrão: 100)");
  demo->add_option("--lancamentos", FDemo.Lancamentos, "Lançamentos da empresa grande (padrão: 1000000)");
  demo->add_option("--contas", FDemo.Contas, "Contas do plano da empresa grande (padrão: 2000)");
  demo->add_option("--tribunal", FDemo.Tribunal, "Tribunal a cujo plano a empresa grande é relacionada (padrão: SC)")
      ->check(CLI::IsMember({"SC", "RS", "PR", "SE"}));
  auto* classes = app.add_subcommand("classes", "As classes registradas e suas bibliotecas");
  auto* sobre = app.add_subcommand("sobre", "Os módulos da família");
  (void)menu, (void)classes, (void)sobre;

  std::vector<std::string> args = aApp.Argumentos();
  std::reverse(args.begin(), args.end());  // CLI11 takes them last first
  try {
    app.parse(args);
  } catch (const CLI::CallForHelp&) {
    FOut << app.help();
    return csSucesso;
  } catch (const CLI::CallForAllHelp&) {
    FOut << app.help("", CLI::AppFormatMode::All);
    return csSucesso;
  } catch (const CLI::ParseError& e) {
    FErr << e.what() << "\nUse ulmo --help.\n";
    return csParametro;
  }
  FComando = app.get_subcommands().front()->get_name();
  FGrade.Mostrar = mostrar->count() > 0 || formato->count() > 0;
  if (const char* colunas = std::getenv("COLUMNS"); colunas && StrToIntDef(colunas, 0) > 0)
    FGrade.Largura = StrToIntDef(colunas, 0);

  try {
    AplicarOpcoesInicio(inicio, FErr);
  } catch (const EUso& e) {
    FErr << e.what() << '\n';
    return csParametro;
  } catch (const std::exception& e) {
    FErr << MensagemDeErro(e) << '\n';
    return csFalha;
  }

  TOpcoesDialogo opcoes;
  opcoes.Sim = sim;
  if (sobrescrever == "yes") opcoes.Sobrescrever = TRespostaSobrescrever::Sim;
  if (sobrescrever == "all") opcoes.Sobrescrever = TRespostaSobrescrever::Todos;
  if (sobrescrever == "no") opcoes.Sobrescrever = TRespostaSobrescrever::Nao;
  opcoes.Interativo = isatty(STDIN_FILENO) && isatty(STDERR_FILENO) && &FIn == &std::cin;
  SetDialogoService(std::make_shared<TDialogoTerminal>(opcoes, FIn, FErr));
  if (isatty(STDERR_FILENO) && &FErr == &std::cerr) SetProgressoView(std::make_shared<TProgressoTerminal>(FErr));
  if (inicio.Debug) SetLogDebugSink([this](const std::string& l) { FErr << "[debug] " << l << '\n'; });
  return std::nullopt;
}

int TLinhaComando::Executar(TnFrmMenuBrivo& aMenu) {
  TnPerModulos modulos;
  for (int m : nConfig().Modulos) modulos.Incluir(m);
  try {
    if (FComando == "menu") {
      // Only the active court system's description needs the database.
      if (!ExternalVar("gCodigoSistemaTCEAtiva").empty()) AbrirBanco();
      return ComandoMenu(aMenu, modulos, FOut);
    }
    if (FComando == "params") return ComandoParams(FAlvo, modulos, FOut, FErr);
    if (FComando == "run") {
      AbrirBanco();
      return ComandoRun(FAlvo, FArgumentos, FAcoesPainel, FGrade, modulos, FOut, FErr);
    }
    if (FComando == "register") {
      AbrirBanco();
      return ComandoRegister(FAlvo, FOperacao, FArgumentos, FFormatoCadastro, modulos, FOut, FErr);
    }
    if (FComando == "demo") return ComandoDemo(FDemo, FOut, FErr);
    if (FComando == "classes") return ComandoClasses(FOut);
    if (FComando == "sobre") return ComandoSobre(FOut);
  } catch (const EUso& e) {
    FErr << e.what() << '\n';
    return csParametro;
  } catch (const EBancoInexistente& e) {
    // Most likely a mistyped --db: nothing was created.
    if (EnderecoPostgreSQL(e.Caminho())) {
      FErr << e.what() << " Confira --db, ULMO_DB ou o endereço em [banco] do ulmo.toml; um banco novo é criado no "
           << "servidor (createdb) e depois preenchido com: ulmo --db " << CitarCaminho(e.Caminho(), 4096) << " demo\n";
      return csParametro;
    }
    FErr << e.what() << " Confira --db, ULMO_DB ou o caminho em [banco] do ulmo.toml; para criar o banco de "
         << "demonstração use: ulmo --db " << CitarCaminho(e.Caminho(), 4096) << " demo\n";
    return csParametro;
  }
  FErr << "Comando desconhecido: " << FComando << '\n';
  return csParametro;
}

void TLinhaComando::MostrarErro(const std::string& aMensagem) { FErr << "Erro: " << aMensagem << '\n'; }

namespace {
// The command line is the program's front end from its first initialization.
struct TInstalacao {
  TInstalacao() { SetFrontEnd(std::make_shared<TLinhaComando>(std::cin, std::cout, std::cerr)); }
} gInstalacao;
}  // namespace
