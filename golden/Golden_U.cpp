#include "Golden_U.h"

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "ProgramaTeste_U.h"
#include "TribunalFalsoTeste_U.h"

namespace nGolden {

namespace fs = std::filesystem;

namespace {

std::string Ler(const fs::path& arquivo) {
  std::ifstream in(arquivo, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void Gravar(const fs::path& arquivo, const std::string& texto) {
  std::ofstream out(arquivo, std::ios::binary);
  out << texto;
  if (!out.flush()) throw std::runtime_error("não foi possível gravar " + arquivo.string());
}


}  // namespace

const std::vector<TCaso>& Casos() {
  static const std::vector<TCaso> casos = {
      // The year with opening balances and the financial applications: the four files.
      {"sc-ano",
       TCorte::SC,
       {"--sistema", "1", "--empresa", "1", "run", "Gerar Arquivos Contábeis - SC", "pCompetInicial=01/01/2024",
        "pCompetFinal=31/12/2024", "pIncluirImplSaldo=1", "pGeraAplicFinanceira=1", "pOriLctoAplicado=AP",
        "pOriLctoResgatado=RF", "pOriLctoRendimento=RA"},
       "pDiretorio="},
      // February (no entries) and March, under the cash account's second mapping, no opening balances.
      {"sc-fevereiro-marco",
       TCorte::SC,
       {"--sistema", "1", "--empresa", "1", "run", "Gerar Arquivos Contábeis - SC", "pCompetInicial=01/02/2024",
        "pCompetFinal=31/03/2024", "pIncluirImplSaldo=0", "pGeraAplicFinanceira=0"},
       "pDiretorio="},
      {"rs-ano",
       TCorte::RS,
       {"--sistema", "2", "--empresa", "2", "run", "Gerar Arquivos Contábeis - RS", "pDataInicial=01/01/2024",
        "pDataFinal=31/12/2024"},
       "pDiretorio="},
      {"rs-marco",
       TCorte::RS,
       {"--sistema", "2", "--empresa", "2", "run", "Gerar Arquivos Contábeis - RS", "pDataInicial=01/03/2024",
        "pDataFinal=31/03/2024"},
       "pDiretorio="},
      {"pr-ano",
       TCorte::PR,
       {"--sistema", "3", "--empresa", "3", "run", "Gerar Arquivos Contábeis - PR", "pDataInicial=01/01/2024",
        "pDataFinal=31/12/2024", "pIdPessoa=123", "pGerarPessoa=1", "pGerarPlanoContas=1", "pGerarSaldoCtb=1",
        "pGerarMovimentoCtb=1", "pTipoMovimentoCtb=1", "pBens=1", "pCompactarArq=1"},
       "pPastaDestino="},
      {"se-trimestre",
       TCorte::SE,
       {"--sistema", "4", "--empresa", "4", "run", "Gerar Arquivos Contábeis Sagres Web - SE", "pDataInicial=01/01/2024",
        "pDataFinal=31/03/2024", "pUnidadeGestora=UG1", "pContaCtbAlmoxarifado=37"},
       "pPastaDestino="},
      // Every account and entry of the quarter ticked and sent: one package per month with entries.
      {"esfinge-online-trimestre",
       TCorte::EsfingeOnline,
       {"--sistema", "1", "--empresa", "1", "run", "Enviar Arquivos Contábeis e-Sfinge Web - SC",
        "pCompetInicial=01/01/2024", "pCompetFinal=31/03/2024", "pUsuario=u", "pSenha=s", "pUnidadeGestora=ug",
        "--grade", "nClientDataSetConta", "--marcar", "todos", "--grade", "nClientDataSetLcto", "--marcar", "todos",
        "--acao", "actEnviarInfEsfingeOnline"},
       ""},
  };
  return casos;
}

TExecucao Rodar(const TAmbiente& ambiente, const std::vector<std::string>& argumentos, const std::string& variavel,
                const fs::path& config) {
  std::vector<std::string> todos = {ambiente.Ulmo.string(), "--config",
                                    (config.empty() ? ambiente.Pasta / "ulmo.toml" : config).string(), "--db",
                                    (ambiente.Pasta / "golden.db").string()};
  todos.insert(todos.end(), argumentos.begin(), argumentos.end());
  const std::string saida = (ambiente.Pasta / "saida-do-programa.txt").string();
  const pid_t pid = nFramework::IniciarPrograma(todos, saida, variavel);
  TExecucao r;
  int estado = 0;
  if (pid < 0 || ::waitpid(pid, &estado, 0) != pid) {
    r.Saida = "não foi possível executar " + todos[0];
    return r;
  }
  r.Codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
  r.Saida = Ler(saida);
  return r;
}

void CriarBanco(const TAmbiente& ambiente) {
  fs::create_directories(ambiente.Pasta);
  Gravar(ambiente.Pasta / "ulmo.toml", "");
  fs::remove(ambiente.Pasta / "golden.db");
  TExecucao demo = Rodar(ambiente, {"demo"});
  if (demo.Codigo != 0) throw std::runtime_error("ulmo demo falhou: " + demo.Saida);

  const std::string script = Ler(ambiente.Fixture);
  if (script.empty()) throw std::runtime_error("fixture vazia ou ausente: " + ambiente.Fixture.string());
  sqlite3* banco = nullptr;
  if (sqlite3_open((ambiente.Pasta / "golden.db").c_str(), &banco) != SQLITE_OK) {
    sqlite3_close(banco);
    throw std::runtime_error("não foi possível abrir o banco da fixture");
  }
  char* erro = nullptr;
  const std::string transacao = "BEGIN;\n" + script + "\nCOMMIT;";
  const int rc = sqlite3_exec(banco, transacao.c_str(), nullptr, nullptr, &erro);
  const std::string mensagem = erro ? erro : "";
  sqlite3_free(erro);
  sqlite3_close(banco);
  if (rc != SQLITE_OK) throw std::runtime_error("fixture.sql: " + mensagem);
}

std::vector<std::string> Argumentos(const TCaso& caso, const fs::path& saida) {
  std::vector<std::string> r = caso.Argumentos;
  if (!caso.ParametroPasta.empty()) r.insert(r.begin() + 6, caso.ParametroPasta + saida.string());
  return r;
}

TExecucao Executar(const TAmbiente& ambiente, const TCaso& caso, const fs::path& saida) {
  fs::create_directories(saida);
  if (caso.Corte != TCorte::EsfingeOnline) return Rodar(ambiente, Argumentos(caso, saida));
  // The copies' folder must be the user's alone.
  fs::permissions(saida, fs::perms::owner_all);
  TTribunalFalso tribunal(ambiente.FakeOnline.string(), {"--tempo-limite", "60"});
  if (tribunal.Url().rfind("http://127.0.0.1:", 0) != 0)
    throw std::runtime_error("o tribunal falso não iniciou: " + tribunal.Url());
  const fs::path config = ambiente.Pasta / "online.toml";
  Gravar(config, "[ambiente]\nesfinge_online_url = \"" + tribunal.Url() +
                     "\"\n[instalacao]\nesfinge.copias_dias = 0\nesfinge.pasta_copias = \"" + saida.string() + "\"\n");
  return Rodar(ambiente, Argumentos(caso, saida), {}, config);
}

}  // namespace nGolden
