// Test support: runs the real ulmo program in a test's folder, with an ulmo.toml naming the
// database and the test's module library, and gives back its exit code and what it printed.
#pragma once
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

struct TSaida {
  int Codigo = -1;
  std::string Out, Err;
};

inline std::string Ler(const std::filesystem::path& p) {
  std::ifstream in(p);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// pasta/ulmo.toml: the database at endereco, then the further lines of [banco] in maisBanco.
inline void ConfigurarUlmoTeste(const std::filesystem::path& pasta, const std::string& endereco,
                                const std::string& maisBanco = "") {
  std::ofstream(pasta / "ulmo.toml") << "[banco]\ncaminho = \"" << endereco << "\"\n"
                                     << maisBanco
                                     << "[modulos]\nbibliotecas = [\"UlmoPkPb\", \"UlmoPkPbDevExpress\", "
                                        "\"UlmoPkDevExpress\", \"UlmoPk\", \""
                                     << ULMO_MODULO_CLI << "\"]\n";
}

// The command line that runs ulmo with pasta/ulmo.toml, its output in pasta/nome.out and .err;
// antes: a command the program runs under.
inline std::string ComandoUlmoTeste(const std::filesystem::path& pasta, const std::string& args,
                                    const std::string& nome, const std::string& antes = "") {
  return antes + std::string(ULMO_EXE) + " --config " + (pasta / "ulmo.toml").string() + " " + args + " >" +
         (pasta / (nome + ".out")).string() + " 2>" + (pasta / (nome + ".err")).string() + " </dev/null";
}

inline TSaida SaidaUlmoTeste(int rc, const std::filesystem::path& pasta, const std::string& nome) {
  TSaida s;
  s.Codigo = rc;
  s.Out = Ler(pasta / (nome + ".out"));
  s.Err = Ler(pasta / (nome + ".err"));
  return s;
}

inline TSaida RodarUlmoTeste(const std::filesystem::path& pasta, const std::string& args, const std::string& antes = "") {
  const int rc = std::system(ComandoUlmoTeste(pasta, args, "ulmo", antes).c_str());
  return SaidaUlmoTeste(WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, pasta, "ulmo");
}
