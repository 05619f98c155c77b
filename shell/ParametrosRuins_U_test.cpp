// Bad values typed into the parameters of every process, given to the real program over the demo
// database. Each row says what it checks; a bad value must get its message and exit code (2 for a
// parameter, 1 for a run that fails), leave no new file or folder, and change no row of the
// database. A folder path with ".." or quotes is the user's own and must work; a line break or
// another control character in a folder is refused.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Conexao_U.h"

namespace fs = std::filesystem;

namespace {

using TValores = std::vector<std::pair<std::string, std::string>>;

struct TSaida {
  int Codigo = -1;
  std::string Out, Err;
};

// A process and a run of it that works on the demo database.
struct TProcesso {
  std::string Nome;
  std::vector<std::string> Opcoes;  // before "run": the selection
  std::string Classe;
  TValores Parametros;
  std::vector<std::string> Depois;  // after the parameters: the actions a good run would take
};

struct TCaso {
  std::string Nome;                    // what the row checks
  TValores Valores;                    // the parameters changed from the good run
  int Codigo;                          // the exit code
  std::vector<std::string> Mensagens;  // one of them is printed
};

std::string Ler(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool Contem(const std::string& aTexto, const std::string& aParte) { return aTexto.find(aParte) != std::string::npos; }

// The message a parameter error prints: the alias, then the process's text.
std::string NoParametro(const std::string& aAlias, const std::string& aMensagem) {
  return "(" + aAlias + "): " + aMensagem;
}

class ParametrosRuinsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FBase = fs::temp_directory_path() / ("ulmo_parametros_" + std::to_string(::getpid()));
    fs::remove_all(FBase);
    fs::create_directories(FBase);
    // A send that got past its checks must not leave the machine.
    std::ofstream(FBase / "ulmo.toml") << "[banco]\ncaminho = \"" << (FBase / "demo.db").string() << "\"\n"
                                       << "[ambiente]\nesfinge_online_url = \"http://127.0.0.1:9\"\n";
    TSaida s = Rodar({"demo"});
    ASSERT_EQ(s.Codigo, 0) << s.Out << s.Err;
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    fs::remove_all(FBase, ec);
  }

  void SetUp() override {
    FPasta = FBase / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(FPasta);
    fs::create_directories(FPasta / "saida");
    std::ofstream(FPasta / "arquivo") << "x";
  }
  void TearDown() override {
    if (!FMontada.empty()) std::system(("umount '" + FMontada.string() + "' 2>/dev/null").c_str());
    std::error_code ec;
    if (fs::exists(FPasta / "sem_escrita", ec)) fs::permissions(FPasta / "sem_escrita", fs::perms::owner_all, ec);
    fs::remove_all(FPasta, ec);
  }

  // The program with these arguments, each passed as it is (no shell between).
  static TSaida Rodar(const std::vector<std::string>& aArgs) {
    std::vector<std::string> todos = {ULMO_EXE, "--config", (FBase / "ulmo.toml").string()};
    todos.insert(todos.end(), aArgs.begin(), aArgs.end());
    std::vector<char*> argv;
    for (std::string& a : todos) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string out = (FBase / "out").string(), err = (FBase / "err").string();
    pid_t pid = ::fork();
    if (pid == 0) {
      int entrada = ::open("/dev/null", O_RDONLY);
      int saida = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      int erro = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(entrada, 0);
      ::dup2(saida, 1);
      ::dup2(erro, 2);
      ::alarm(60);  // a run that walks thousands of months is a failure, not a hang
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    int estado = 0;
    ::waitpid(pid, &estado, 0);
    TSaida s;
    s.Codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    s.Out = Ler(out);
    s.Err = Ler(err);
    return s;
  }

  static std::vector<std::string> Argumentos(const TProcesso& aProcesso, const TValores& aValores) {
    std::vector<std::string> args = aProcesso.Opcoes;
    args.push_back("run");
    args.push_back(aProcesso.Classe);
    std::map<std::string, std::string> trocados(aValores.begin(), aValores.end());
    for (const auto& [alias, valor] : aProcesso.Parametros) {
      auto t = trocados.find(alias);
      args.push_back(alias + "=" + (t == trocados.end() ? valor : t->second));
      if (t != trocados.end()) trocados.erase(t);
    }
    for (const auto& [alias, valor] : trocados) args.push_back(alias + "=" + valor);
    args.insert(args.end(), aProcesso.Depois.begin(), aProcesso.Depois.end());
    return args;
  }

  // Every file and folder under the test's folder, with its size and time.
  std::map<std::string, std::string> Arquivos() const {
    std::map<std::string, std::string> r;
    std::error_code ec;
    for (auto i = fs::recursive_directory_iterator(FPasta, fs::directory_options::skip_permission_denied, ec);
         i != fs::recursive_directory_iterator(); i.increment(ec)) {
      struct stat st {};
      if (::lstat(i->path().c_str(), &st) != 0) continue;
      r[i->path().string()] = std::to_string(st.st_mode) + " " + std::to_string(st.st_size) + " " +
                              std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
    }
    return r;
  }

  // Each table of the database with a digest of its rows; SQLite's own (the planner's statistics,
  // which a closing connection may refresh) are no rows of ours.
  static std::map<std::string, std::string> Banco() {
    auto conexao = nFramework::TnDMConexao::AbrirSQLite((FBase / "demo.db").string(),
                                                         {.Criar = false, .SomenteLeitura = true});
    auto& driver = conexao->Driver();
    std::vector<std::string> tabelas;
    auto t = driver.Prepare("select name from sqlite_master where type = 'table' and name not like 'sqlite%' order by name");
    while (t->Step()) tabelas.emplace_back(t->ColumnText(0));
    std::map<std::string, std::string> r;
    for (const std::string& tabela : tabelas) {
      auto q = driver.Prepare("select * from \"" + tabela + "\"");
      size_t linhas = 0, resumo = 0;
      while (q->Step()) {
        ++linhas;
        std::string linha;
        for (int i = 0; i < q->ColumnCount(); ++i) {
          linha += q->ColumnKind(i) == nFramework::TColumnKind::Null ? std::string("\x01") : std::string(q->ColumnText(i));
          linha += '\x1f';
        }
        resumo = resumo * 1000003u ^ std::hash<std::string>()(linha);
      }
      r[tabela] = std::to_string(linhas) + " linha(s), resumo " + std::to_string(resumo);
    }
    return r;
  }

  static std::string Diferencas(const std::map<std::string, std::string>& aAntes,
                                const std::map<std::string, std::string>& aDepois) {
    std::string r;
    int n = 0;
    for (const auto& [k, v] : aDepois) {
      auto a = aAntes.find(k);
      if (a == aAntes.end() || a->second != v) {
        if (++n <= 5) r += "  " + k + ": " + (a == aAntes.end() ? "(novo)" : a->second) + " -> " + v + "\n";
      }
    }
    for (const auto& [k, v] : aAntes)
      if (!aDepois.count(k) && ++n <= 5) r += "  " + k + ": removido\n";
    if (n > 5) r += "  ... e mais " + std::to_string(n - 5) + "\n";
    return r;
  }

  // One row: its message and exit code, nothing written, no row changed.
  void Conferir(const TProcesso& aProcesso, const TCaso& aCaso) {
    SCOPED_TRACE(aProcesso.Nome + ": " + aCaso.Nome);
    const auto arquivos = Arquivos();
    const auto banco = Banco();
    TSaida s = Rodar(Argumentos(aProcesso, aCaso.Valores));
    EXPECT_EQ(s.Codigo, aCaso.Codigo) << s.Out << s.Err;
    bool disse = false;
    for (const std::string& m : aCaso.Mensagens) disse = disse || Contem(s.Out + s.Err, m);
    EXPECT_TRUE(disse) << "esperado: " << aCaso.Mensagens.front() << "\nsaída:\n" << s.Out << s.Err;
    std::string arquivosNovos = Diferencas(arquivos, Arquivos());
    EXPECT_TRUE(arquivosNovos.empty()) << "a execução deixou arquivos:\n" << arquivosNovos;
    std::string linhasMudadas = Diferencas(banco, Banco());
    EXPECT_TRUE(linhasMudadas.empty()) << "a execução mudou o banco:\n" << linhasMudadas;
  }
  void Conferir(const TProcesso& aProcesso, const std::vector<TCaso>& aCasos) {
    for (const TCaso& c : aCasos) Conferir(aProcesso, c);
  }

  std::string Saida() const { return (FPasta / "saida").string(); }

  // A folder the program cannot write into; the empty path, and why, when none can be made (as
  // root only a read-only mount refuses a write).
  fs::path PastaSemEscrita(std::string& aMotivo) {
    fs::path pasta = FPasta / "sem_escrita";
    fs::create_directories(pasta);
    if (::geteuid() != 0) {
      fs::permissions(pasta, fs::perms::owner_read | fs::perms::owner_exec);
      return pasta;
    }
    fs::path fonte = FPasta / "sem_escrita_fonte";
    fs::create_directories(fonte);
    std::string montar = "mount --bind '" + fonte.string() + "' '" + pasta.string() + "' 2>/dev/null && mount -o " +
                         "remount,ro,bind '" + pasta.string() + "' 2>/dev/null";
    int rc = std::system(montar.c_str());
    if (rc == 0) FMontada = pasta;
    if (rc != 0 || ::access(pasta.c_str(), W_OK) == 0) {
      aMotivo = "rodando como root, sem poder montar uma pasta somente leitura";
      return {};
    }
    return pasta;
  }

  // The processes, each with a run that works on the demo database.
  TProcesso SC() const {
    return {"TCE-SC",
            {"--sistema", "1"},
            "TUlmoDPGerarArquivosCtb",
            {{"pCompetInicial", "01/01/2024"}, {"pCompetFinal", "31/01/2024"}, {"pCodigoEmpresa", "1"},
             {"pIncluirImplSaldo", "1"}, {"pGeraAplicFinanceira", "0"}, {"pDiretorio", Saida()}},
            {}};
  }
  TProcesso RS() const {
    return {"TCE-RS",
            {"--sistema", "2"},
            "TUlmoDPGerarArquivosCtbRS",
            {{"pDataInicial", "01/01/2024"}, {"pDataFinal", "31/01/2024"}, {"pCodigoEmpresa", "2"}, {"pDiretorio", Saida()}},
            {}};
  }
  TProcesso PR() const {
    return {"TCE-PR",
            {"--sistema", "3"},
            "TUlmoDPGerarArquivosCtbPR",
            {{"pCodigoEmpresa", "3"}, {"pDataInicial", "01/01/2024"}, {"pDataFinal", "31/01/2024"}, {"pIdPessoa", "123"},
             {"pGerarPessoa", "1"}, {"pGerarPlanoContas", "1"}, {"pBens", "1"}, {"pCompactarArq", "1"},
             {"pPastaDestino", Saida()}},
            {}};
  }
  TProcesso Esfinge() const {
    return {"e-Sfinge envio",
            {"--sistema", "1"},
            "TUlmoDPEnviarArquivosCtbeSFinge",
            {{"pCompetInicial", "01/01/2024"}, {"pCompetFinal", "31/01/2024"}, {"pCodigoEmpresa", "1"},
             {"pUsuario", "usuario"}, {"pSenha", "senha"}, {"pUnidadeGestora", "UG"}},
            {"--acao", "actEnviarInfEsfingeOnline"}};
  }
  TProcesso Consulta() const {
    return {"e-Sfinge consulta",
            {"--sistema", "1", "--empresa", "1"},
            "TUlmoDPConsultaSfingeOnlineDadosEnviados",
            {{"pCodigoEmpresa", "1"}, {"pCompetenciaInicial", "01/01/2024"}, {"pCompetenciaFinal", "31/12/2024"},
             {"pUsuario", "usuario"}, {"pSenha", "senha"}, {"pUnidadeGestora", "UG"}},
            {"--marcar", "todos", "--acao", "ActCancelarRemessa"}};
  }
  TProcesso Sagres() const {
    return {"SAGRES",
            {"--sistema", "4"},
            "TUlmoDPGerarArquivosCtbSagresWebSE",
            {{"pDataInicial", "01/01/2024"}, {"pDataFinal", "31/01/2024"}, {"pCodigoEmpresa", "4"},
             {"pUnidadeGestora", "UG1"}, {"pContaCtbAlmoxarifado", "37"}, {"pPastaDestino", Saida()}},
            {}};
  }
  TProcesso Bens() const {
    return {"Relacionar Bens",
            {},
            "TUlmoDPRelacionarBens",
            {{"pCodigoEmpresa", "3"}, {"pDataInicial", "01/01/2024"}, {"pDataFinal", "31/12/2024"},
             {"pListarConfiguradas", "0"}},
            {"--acao", "nActSalvar"}};
  }
  TProcesso Plano() const {
    return {"Relacionar Plano TCE",
            {},
            "TUlmoDPRelacionarPlanoPlEspec",
            {{"pCodigoEmpresa", "1"}, {"pNivelConta", "10"}, {"pListarConfiguradas", "0"}},
            {"--acao", "nActSalvar"}};
  }
  TProcesso Saldo() const {
    return {"Saldo contábil",
            {},
            "TKaloDPGerarSaldoCtbIndividual",
            {{"pCodigoEmpresa", "1"}, {"pDataInicial", "01/01/2024"}, {"pDataFinal", "31/12/2024"}},
            {}};
  }
  TProcesso Grade(const std::string& aClasse) const {
    TProcesso p{aClasse, {"--empresa", "4"}, aClasse, {{"pCodigoEmpresa", "4"}}, {"--acao", "actSalvar"}};
    if (aClasse == "TUlmoDPTCESagresPgto") p.Parametros.push_back({"pCodigoEstab", "1"});
    return p;
  }

  static fs::path FBase;
  fs::path FPasta;
  fs::path FMontada;
};

fs::path ParametrosRuinsTest::FBase;

// The bad dates of a period for a process that reads it from two parameters.
struct TDatas {
  std::string Inicial, Final;                    // the aliases
  std::string MsgInicial, MsgFinal, MsgOrdem;    // the process's own messages
};

std::vector<TCaso> CasosDeDatas(const TDatas& d) {
  const std::vector<std::pair<std::string, std::string>> ruins = {
      {"vazia", ""},
      {"31 de fevereiro", "31/02/2024"},
      {"dia zero", "00/01/2024"},
      {"mês 13", "01/13/2024"},
      {"escrita como ISO", "2024-01-01"},
      {"por extenso", "amanhã"},
      {"números enormes", "99999999999999999999"},
      {"do ano 1", "01/01/0001"},
      {"antes de 1900", "31/12/1899"},
      {"depois de 2100", "01/01/2101"},
      {"o último dia do ano 9999", "31/12/9999"},
  };
  std::vector<TCaso> casos;
  for (const auto& [nome, valor] : ruins) {
    casos.push_back({"data inicial " + nome, {{d.Inicial, valor}}, 2, {NoParametro(d.Inicial, d.MsgInicial)}});
    casos.push_back({"data final " + nome, {{d.Final, valor}}, 2, {NoParametro(d.Final, d.MsgFinal)}});
  }
  casos.push_back({"início depois do fim", {{d.Inicial, "01/02/2024"}, {d.Final, "31/01/2024"}}, 2,
                   {NoParametro(d.Final, d.MsgOrdem)}});
  casos.push_back({"início em 2100 e fim em 1900", {{d.Inicial, "31/12/2100"}, {d.Final, "01/01/1900"}}, 2,
                   {NoParametro(d.Final, d.MsgOrdem)}});
  return casos;
}

// The bad company codes; aDaSelecao: the process takes an empty code from the selection.
std::vector<TCaso> CasosDeEmpresa(const std::string& aMensagem, const std::string& aDesconhecida,
                                  bool aDaSelecao = false) {
  const std::vector<std::pair<std::string, std::string>> ruins = {
      {"vazia", ""},           {"não numérica", "abc"},    {"negativa", "-1"},
      {"zero", "0"},           {"com decimais", "1.5"},    {"enorme", "99999999999999999999"},
  };
  std::vector<TCaso> casos;
  for (const auto& [nome, valor] : ruins)
    if (!(aDaSelecao && valor.empty()))
      casos.push_back({"empresa " + nome, {{"pCodigoEmpresa", valor}}, 2, {NoParametro("pCodigoEmpresa", aMensagem)}});
  casos.push_back({"empresa que não existe", {{"pCodigoEmpresa", "77"}}, 2, {NoParametro("pCodigoEmpresa", aDesconhecida)}});
  // Past the host's codes: refused as either.
  casos.push_back({"empresa acima de 32767", {{"pCodigoEmpresa", "32768"}}, 2,
                   {NoParametro("pCodigoEmpresa", aMensagem), NoParametro("pCodigoEmpresa", aDesconhecida)}});
  return casos;
}

}  // namespace

TEST_F(ParametrosRuinsTest, EachProcessRunsWithTheGoodValues) {
  // The rows below change one value of these runs: each must work as it stands.
  for (const TProcesso& p : {SC(), RS(), PR(), Sagres(), Consulta(), Bens(), Plano(), Saldo(),
                             Grade("TUlmoDPTCESagresPgto"), Grade("TUlmoDPTCESESagresReceita")}) {
    SCOPED_TRACE(p.Nome);
    TProcesso semAcoes = p;
    semAcoes.Depois.clear();
    TSaida s = Rodar(Argumentos(semAcoes, {}));
    EXPECT_EQ(s.Codigo, 0) << s.Out << s.Err;
  }
  TSaida s = Rodar(Argumentos(Esfinge(), {}));
  EXPECT_EQ(s.Codigo, 1) << s.Out << s.Err;  // the send itself fails: no court at that address
  EXPECT_FALSE(Contem(s.Err, "Parâmetro")) << s.Err;
}

// Split by process group so the suite's longest runs (under the sanitizers) go in parallel.
TEST_F(ParametrosRuinsTest, BadDatesGetEachCourtFilesProcessOwnMessage) {
  const std::string ini = "Data inicial inválida!", fim = "Data final inválida!";
  Conferir(SC(), CasosDeDatas({"pCompetInicial", "pCompetFinal", ini, fim, "A Data Final não pode ser anterior à Data Inicial"}));
  Conferir(RS(), CasosDeDatas({"pDataInicial", "pDataFinal", ini, fim, "A Data Final não pode ser anterior à Data Inicial"}));
  Conferir(PR(), CasosDeDatas({"pDataInicial", "pDataFinal", ini, fim, "A Data Final não pode ser anterior à Data Inicial"}));
}

TEST_F(ParametrosRuinsTest, BadDatesGetEachOtherProcessOwnMessage) {
  const std::string ini = "Data inicial inválida!", fim = "Data final inválida!";
  Conferir(Esfinge(), CasosDeDatas({"pCompetInicial", "pCompetFinal", ini, fim,
                                    "A data final não pode ser menor que a data inicial!"}));
  Conferir(Consulta(), CasosDeDatas({"pCompetenciaInicial", "pCompetenciaFinal", ini, fim,
                                     "A Data Final não pode ser anterior à Data Inicial"}));
  Conferir(Sagres(), CasosDeDatas({"pDataInicial", "pDataFinal", ini, fim, "A Data Final não pode ser menor que a Data Inicial!"}));
  Conferir(Bens(), CasosDeDatas({"pDataInicial", "pDataFinal", ini, fim, "A Data Final não pode ser anterior à Data Inicial"}));
  Conferir(Saldo(), CasosDeDatas({"pDataInicial", "pDataFinal", ini, fim, "A Data Final não pode ser menor que a Data Inicial!"}));
}

TEST_F(ParametrosRuinsTest, BadCompanyCodesAreRefusedByTheCourtFilesProcesses) {
  Conferir(SC(), CasosDeEmpresa("Empresa inválida!", "Empresa inválida!"));
  Conferir(RS(), CasosDeEmpresa("Empresa inválida!", "Empresa inválida!"));
  Conferir(PR(), CasosDeEmpresa("Empresa inválida!", "Empresa inválida!"));
}

TEST_F(ParametrosRuinsTest, BadCompanyCodesAreRefusedByTheOtherProcesses) {
  Conferir(Esfinge(), CasosDeEmpresa("Empresa inválida!", "Empresa inválida!"));
  Conferir(Consulta(), CasosDeEmpresa("Empresa inválida!", "Empresa inválida!", true));
  Conferir(Sagres(), CasosDeEmpresa("Código da empresa inválido!", "Código da empresa inválido!"));
  Conferir(Bens(), CasosDeEmpresa("Empresa inválida!", "Empresa inválida!"));
  Conferir(Plano(), CasosDeEmpresa("Empresa inválida!", "Empresa inválida!"));
  Conferir(Saldo(), CasosDeEmpresa("Empresa inválida!", "Código da empresa inválido!"));
  for (const char* grade : {"TUlmoDPTCESagresPgto", "TUlmoDPTCESESagresReceita", "TUlmoDPTCESagresDespesa",
                            "TUlmoDPTCESagresPatrimonio"})
    Conferir(Grade(grade), CasosDeEmpresa("Informe a empresa!", "Código da empresa inválido!", true));
}

TEST_F(ParametrosRuinsTest, BadFoldersAreRefusedAndLeaveNothing) {
  std::string motivo;
  const fs::path semEscrita = PastaSemEscrita(motivo);
  const std::string arquivo = (FPasta / "arquivo").string();
  const std::string nomeLongo = (FPasta / std::string(NAME_MAX + 1, 'n')).string();
  std::string caminhoLongo = FPasta.string();
  while (caminhoLongo.size() <= PATH_MAX) caminhoLongo += "/" + std::string(200, 'c');
  const std::vector<std::string> naoEPasta = {"não é uma pasta", "já existe um arquivo com esse nome"};
  const std::vector<std::string> semPermissao = {"somente leitura", "permissão negada"};

  for (const auto& [processo, alias] : {std::pair{SC(), "pDiretorio"}, std::pair{RS(), "pDiretorio"},
                                        std::pair{PR(), "pPastaDestino"}, std::pair{Sagres(), "pPastaDestino"}}) {
    std::vector<TCaso> casos = {
        {"pasta vazia", {{alias, ""}}, 2, {NoParametro(alias, "Informe o parâmetro \"Pasta Destino\"!")}},
        {"um arquivo no lugar da pasta", {{alias, arquivo}}, 1, naoEPasta},
        {"pasta dentro de um arquivo", {{alias, arquivo + "/sub"}}, 1, naoEPasta},
        {"nome de pasta maior que NAME_MAX", {{alias, nomeLongo}}, 1, {"nome longo demais"}},
        {"caminho maior que PATH_MAX", {{alias, caminhoLongo}}, 1, {"nome longo demais"}},
        {"quebra de linha na pasta", {{alias, Saida() + "\nsaida"}}, 2,
         {NoParametro(alias, "Pasta inválida no parâmetro \"Pasta Destino\": ")}},
        {"tabulação na pasta", {{alias, Saida() + "\tx"}}, 2,
         {NoParametro(alias, "Pasta inválida no parâmetro \"Pasta Destino\": ")}},
    };
    if (!semEscrita.empty()) {
      casos.push_back({"pasta sem permissão de escrita", {{alias, semEscrita.string()}}, 1, semPermissao});
      casos.push_back({"pasta nova dentro de uma sem escrita", {{alias, (semEscrita / "nova").string()}}, 1, semPermissao});
    }
    Conferir(processo, casos);
  }
  if (semEscrita.empty()) std::cout << "[ IGNORADO ] a pasta sem permissão de escrita: " << motivo << "\n";
}

TEST_F(ParametrosRuinsTest, FoldersWithDotsOrQuotesAreTheUsersOwn) {
  // ".." that resolves to a real folder and quotes in a folder's name are legitimate.
  fs::create_directories(FPasta / "a" / "b");
  for (const auto& [processo, alias, arquivoGerado] :
       {std::tuple{SC(), "pDiretorio", "ContaContabil.txt"}, std::tuple{RS(), "pDiretorio", "MOVIMENT.txt"},
        std::tuple{PR(), "pPastaDestino", "123-012024.zip"},
        std::tuple{Sagres(), "pPastaDestino", "2024_01/ExecucaoEmpresas.zip"}}) {
    SCOPED_TRACE(processo.Nome);
    const fs::path comPontos = FPasta / "a" / "b" / ".." / ".." / ("pontos " + processo.Nome);
    TSaida s = Rodar(Argumentos(processo, {{alias, comPontos.string()}}));
    EXPECT_EQ(s.Codigo, 0) << s.Out << s.Err;
    EXPECT_TRUE(fs::exists(FPasta / ("pontos " + processo.Nome) / arquivoGerado));
    const fs::path comAspas = FPasta / ("aspas \"duplas\" e 'simples' " + processo.Nome);
    s = Rodar(Argumentos(processo, {{alias, comAspas.string()}}));
    EXPECT_EQ(s.Codigo, 0) << s.Out << s.Err;
    EXPECT_TRUE(fs::exists(comAspas / arquivoGerado));
  }
}

TEST_F(ParametrosRuinsTest, OtherBadValuesOfEachProcess) {
  auto valorInvalido = [](const std::string& aAlias, const std::string& aCaption) {
    return NoParametro(aAlias, "Valor inválido no parâmetro \"" + aCaption + "\": ");
  };
  Conferir(SC(), {
      {"aplicação financeira fora da lista", {{"pGeraAplicFinanceira", "2"}}, 2,
       {valorInvalido("pGeraAplicFinanceira", "Gerar Arquivo de Aplicação Finaceira")}},
      {"implantação de saldo não numérica", {{"pIncluirImplSaldo", "talvez"}}, 2,
       {valorInvalido("pIncluirImplSaldo", "Incluir Implantação de Saldo")}},
  });
  const std::string idPessoa = "Identificador Pessoa/TCE inválido!";
  const std::string idEntidade = "Identificador Pessoa Entidade/TCE inválido!";
  Conferir(PR(), {
      {"identificador vazio", {{"pIdPessoa", ""}}, 2, {NoParametro("pIdPessoa", idPessoa)}},
      {"identificador não numérico", {{"pIdPessoa", "abc"}}, 2, {NoParametro("pIdPessoa", idPessoa)}},
      {"identificador negativo", {{"pIdPessoa", "-1"}}, 2, {NoParametro("pIdPessoa", idPessoa)}},
      {"identificador zero", {{"pIdPessoa", "0"}}, 2, {NoParametro("pIdPessoa", idPessoa)}},
      {"identificador com decimais", {{"pIdPessoa", "1.5"}}, 2, {NoParametro("pIdPessoa", idPessoa)}},
      {"identificador enorme", {{"pIdPessoa", "99999999999999999999"}}, 2, {NoParametro("pIdPessoa", idPessoa)}},
      {"identificador acima de 32 bits", {{"pIdPessoa", "2147483648"}}, 2, {NoParametro("pIdPessoa", idPessoa)}},
      {"identificador da entidade negativo", {{"pIdPessoaEntidade", "-5"}}, 2,
       {NoParametro("pIdPessoaEntidade", idEntidade)}},
      {"identificador da entidade não numérico", {{"pIdPessoaEntidade", "x1"}}, 2,
       {NoParametro("pIdPessoaEntidade", idEntidade)}},
      {"tipo de movimento fora da lista", {{"pGerarMovimentoCtb", "1"}, {"pTipoMovimentoCtb", "5"}}, 2,
       {valorInvalido("pTipoMovimentoCtb", "Tipo Movimento Contábil")}},
      {"compactar fora da lista", {{"pCompactarArq", "2"}}, 2, {valorInvalido("pCompactarArq", "Compactar Arquivos")}},
  });
  const std::string almoxarifado = "Conta contábil do almoxarifado inválida!";
  Conferir(Sagres(), {
      {"unidade gestora vazia", {{"pUnidadeGestora", ""}}, 2,
       {NoParametro("pUnidadeGestora", "Informe o parâmetro \"Unidade Gestora\"!")}},
      {"quebra de linha na unidade gestora", {{"pUnidadeGestora", "UG\n1"}}, 2,
       {NoParametro("pUnidadeGestora", "Unidade gestora inválida!")}},
      {"conta do almoxarifado não numérica", {{"pContaCtbAlmoxarifado", "abc"}}, 2,
       {NoParametro("pContaCtbAlmoxarifado", almoxarifado)}},
      {"conta do almoxarifado negativa", {{"pContaCtbAlmoxarifado", "-37"}}, 2,
       {NoParametro("pContaCtbAlmoxarifado", almoxarifado)}},
      {"conta do almoxarifado zero", {{"pContaCtbAlmoxarifado", "0"}}, 2,
       {NoParametro("pContaCtbAlmoxarifado", almoxarifado)}},
      {"conta do almoxarifado com decimais", {{"pContaCtbAlmoxarifado", "37.5"}}, 2,
       {NoParametro("pContaCtbAlmoxarifado", almoxarifado)}},
      {"conta do almoxarifado enorme", {{"pContaCtbAlmoxarifado", "99999999999999999999"}}, 2,
       {NoParametro("pContaCtbAlmoxarifado", almoxarifado)}},
      {"conta do almoxarifado fora do plano da empresa", {{"pContaCtbAlmoxarifado", "123456"}}, 2,
       {NoParametro("pContaCtbAlmoxarifado", almoxarifado)}},
  });
  Conferir(Esfinge(), {
      {"usuário vazio", {{"pUsuario", ""}}, 2, {NoParametro("pUsuario", "Informe o parâmetro \"Usuário\"!")}},
      {"implantação de saldo fora da lista", {{"pEnviarImplSaldo", "2"}}, 2,
       {valorInvalido("pEnviarImplSaldo", "Incluir Implantação de Saldo")}},
  });
  Conferir(Bens(), {{"listagem fora da lista", {{"pListarConfiguradas", "2"}}, 2,
                     {valorInvalido("pListarConfiguradas", "Listar Somente Configurados")}}});
  Conferir(Plano(), {
      {"nível não numérico", {{"pNivelConta", "abc"}}, 2, {valorInvalido("pNivelConta", "Nível Conta")}},
      {"nível zero", {{"pNivelConta", "0"}}, 2, {valorInvalido("pNivelConta", "Nível Conta")}},
      {"nível 11", {{"pNivelConta", "11"}}, 2, {valorInvalido("pNivelConta", "Nível Conta")}},
  });
  const std::string filial = "Filial Inválida! Verifique...";
  Conferir(Grade("TUlmoDPTCESagresPgto"), {
      {"estabelecimento vazio", {{"pCodigoEstab", ""}}, 2, {NoParametro("pCodigoEstab", filial)}},
      {"estabelecimento não numérico", {{"pCodigoEstab", "abc"}}, 2, {NoParametro("pCodigoEstab", filial)}},
      {"estabelecimento negativo", {{"pCodigoEstab", "-1"}}, 2, {NoParametro("pCodigoEstab", filial)}},
      {"estabelecimento zero", {{"pCodigoEstab", "0"}}, 2, {NoParametro("pCodigoEstab", filial)}},
      {"estabelecimento enorme", {{"pCodigoEstab", "99999999999999999999"}}, 2, {NoParametro("pCodigoEstab", filial)}},
      {"estabelecimento que a empresa não tem", {{"pCodigoEstab", "77"}}, 2, {NoParametro("pCodigoEstab", filial)}},
      {"CFOP não numérico", {{"pCodigoCFOP", "abc"}}, 2, {NoParametro("pCodigoCFOP", "Intervalo inválido")}},
      {"somente configurados fora da lista", {{"pSomenteConfigurados", "2"}}, 2,
       {valorInvalido("pSomenteConfigurados", "Exibir Somente Configurados")}},
  });
}
