// Test support: the fake e-Sfinge online court as a program of its own, for tests that run the
// real program against it, for as long as the object lives. It is given a time limit, so a test
// that hangs does not leave it behind.
#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

class TTribunalFalso {
 public:
  // The fake at programa, with these arguments after its name.
  TTribunalFalso(const std::string& programa, const std::vector<std::string>& argumentos) {
    int canal[2];
    if (pipe(canal) != 0) return;
    std::vector<char*> argv{const_cast<char*>(programa.c_str())};
    for (const std::string& a : argumentos) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    FPid = fork();
    if (FPid == 0) {
      dup2(canal[1], STDOUT_FILENO);
      close(canal[0]);
      close(canal[1]);
      execv(programa.c_str(), argv.data());
      _exit(127);
    }
    close(canal[1]);
    // Its first line is its address; nothing when it could not start.
    char c;
    while (FPid > 0 && read(canal[0], &c, 1) == 1 && c != '\n') FUrl += c;
    close(canal[0]);
  }
#ifdef FAKE_ESFINGE_ONLINE
  // The fake of this build, logging each request it gets into the file named.
  explicit TTribunalFalso(const std::filesystem::path& registro, int tempoLimiteSegundos = 60)
      : TTribunalFalso(FAKE_ESFINGE_ONLINE,
                       {"--registro", registro.string(), "--tempo-limite", std::to_string(tempoLimiteSegundos)}) {}
#endif
  ~TTribunalFalso() {
    if (FPid > 0) {
      kill(FPid, SIGTERM);
      waitpid(FPid, nullptr, 0);
    }
  }
  TTribunalFalso(const TTribunalFalso&) = delete;
  TTribunalFalso& operator=(const TTribunalFalso&) = delete;
  const std::string& Url() const { return FUrl; }

 private:
  pid_t FPid = -1;
  std::string FUrl;
};
