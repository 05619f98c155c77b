// fake_esfinge_online: a fake e-Sfinge online court on 127.0.0.1 for end-to-end tests of the
// ulmo program. Prints its address (the value for esfinge_online_url) on the first line of
// stdout, then serves until SIGTERM or SIGINT, or until its time limit.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>

#include "FakeEsfingeOnline_U.h"

namespace {

const char* const kUso =
    "Uso: fake_esfinge_online [--porta N] [--registro ARQUIVO] [--falhar CHAMADA[:AAAAMM]]... "
    "[--tempo-limite SEGUNDOS] [--sem-conferir]\n"
    "  --porta N            porta em 127.0.0.1 (padrão: uma livre, escolhida pelo sistema)\n"
    "  --registro ARQUIVO   acrescenta uma linha por requisição: \"MÉTODO alvo<TAB>corpo\"\n"
    "  --falhar CHAMADA     login, iniciarEnvio, enviarParcial, finalizarEnvio, cancelarEnvioParcial ou\n"
    "                       cancelarLote responde 400; com :AAAAMM, só para os pacotes desse mês\n"
    "  --tempo-limite S     termina sozinho depois de S segundos (padrão 600)\n"
    "  --sem-conferir       aceita os envios parciais sem lê-los nem guardar os corpos (para medir\n"
    "                       o tempo do envio)\n"
    "Escreve o endereço na primeira linha da saída (o valor de esfinge_online_url) e atende até\n"
    "receber SIGTERM ou SIGINT. GET /fake/estado devolve os pacotes recebidos em JSON.\n";

int Uso(const std::string& aErro) {
  std::cerr << "fake_esfinge_online: " << aErro << "\n" << kUso;
  return 2;
}

bool Inteiro(const std::string& aTexto, int& aValor) {
  char* fim = nullptr;
  long v = std::strtol(aTexto.c_str(), &fim, 10);
  if (aTexto.empty() || *fim != '\0' || v < 0 || v > 86400 * 7) return false;
  aValor = static_cast<int>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int porta = 0, limite = 600;
  bool semConferir = false;
  std::string registro;
  struct TFalha {
    std::string Chamada;
    int AnoMes;
  };
  std::vector<TFalha> falhas;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto valor = [&](std::string& aDestino) {
      if (i + 1 >= argc) return false;
      aDestino = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--ajuda" || a == "-h" || a == "--help") {
      std::cout << kUso;
      return 0;
    } else if (a == "--porta") {
      if (!valor(v) || !Inteiro(v, porta) || porta > 65535) return Uso("--porta pede um número de 0 a 65535");
    } else if (a == "--registro") {
      if (!valor(registro)) return Uso("--registro pede um arquivo");
    } else if (a == "--tempo-limite") {
      if (!valor(v) || !Inteiro(v, limite) || limite == 0) return Uso("--tempo-limite pede segundos (1 ou mais)");
    } else if (a == "--sem-conferir") {
      semConferir = true;
    } else if (a == "--falhar") {
      if (!valor(v)) return Uso("--falhar pede uma chamada");
      TFalha f{v, 0};
      if (auto p = v.find(':'); p != std::string::npos) {
        f.Chamada = v.substr(0, p);
        if (!Inteiro(v.substr(p + 1), f.AnoMes) || f.AnoMes < 100001) return Uso("--falhar CHAMADA:AAAAMM: mês inválido");
      }
      falhas.push_back(f);
    } else {
      return Uso("opção desconhecida: " + a);
    }
  }

  // The signals are taken by this thread alone, before the server starts its own.
  sigset_t sinais;
  sigemptyset(&sinais);
  sigaddset(&sinais, SIGTERM);
  sigaddset(&sinais, SIGINT);
  pthread_sigmask(SIG_BLOCK, &sinais, nullptr);

  try {
    nUlmoEsfingeTeste::TFakeEsfingeOnline fake(porta);
    for (const auto& f : falhas) fake.Falhar(f.Chamada, f.AnoMes);
    if (!registro.empty()) fake.Registrar(registro);
    if (semConferir) fake.SemConferir();
    std::cout << fake.Url() << std::endl;
    timespec espera{limite, 0};
    int sinal = sigtimedwait(&sinais, nullptr, &espera);
    if (sinal < 0) std::cerr << "fake_esfinge_online: tempo limite de " << limite << " s esgotado\n";
  } catch (const std::exception& e) {
    std::cerr << "fake_esfinge_online: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
