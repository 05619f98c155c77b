// Test support: the fake e-Sfinge online court as a program of its own, for tests that run the
// real program against it, for as long as the object lives. It logs each request it gets into the
// file named and gives up after the time limit, so a test that hangs does not leave it behind.
#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

class TTribunalFalso {
 public:
  explicit TTribunalFalso(const std::filesystem::path& registro, int tempoLimiteSegundos = 60) {
    int canal[2];
    if (pipe(canal) != 0) return;
    const std::string limite = std::to_string(tempoLimiteSegundos);
    FPid = fork();
    if (FPid == 0) {
      dup2(canal[1], STDOUT_FILENO);
      close(canal[0]);
      close(canal[1]);
      execl(FAKE_ESFINGE_ONLINE, FAKE_ESFINGE_ONLINE, "--registro", registro.c_str(), "--tempo-limite", limite.c_str(),
            nullptr);
      _exit(127);
    }
    close(canal[1]);
    // Its first line is its address; nothing when it could not start.
    char c;
    while (FPid > 0 && read(canal[0], &c, 1) == 1 && c != '\n') FUrl += c;
    close(canal[0]);
  }
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
