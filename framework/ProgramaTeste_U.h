// Test support: starts a program the way a user's shell would, for the tests that run the real
// executable (and may kill it). Its output and errors go to one file; it reads nothing; the
// environment is the test's, without the test hooks (ULMO_TESTE_*), plus one entry if given.
#pragma once
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace nFramework {

// The child's pid, or -1 when it could not be started.
inline pid_t IniciarPrograma(std::vector<std::string> aArgumentos, const std::filesystem::path& aSaida,
                             const std::string& aVariavel = {}) {
  std::vector<char*> argv;
  for (auto& a : aArgumentos) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("ULMO_TESTE_", 0) != 0) env.emplace_back(*e);
  if (!aVariavel.empty()) env.push_back(aVariavel);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  const std::string saida = aSaida.string();
  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_addopen(&acoes, 1, saida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&acoes, 1, 2);
  posix_spawn_file_actions_addopen(&acoes, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = -1;
  const int erro = ::posix_spawn(&pid, argv[0], &acoes, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&acoes);
  return erro == 0 ? pid : -1;
}

}  // namespace nFramework
