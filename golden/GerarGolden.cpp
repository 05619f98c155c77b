// golden_gerar PASTA: writes the golden files of every case into PASTA/CASE/, blanked, as the
// test would compare them. atualizar.sh runs it to regenerate the expected files on purpose.
#include <iostream>

#include "GoldenColeta_U.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Uso: golden_gerar PASTA\n";
    return 2;
  }
  const fs::path destino = fs::absolute(argv[1]);
  const fs::path trabalho = destino / ".trabalho";
  try {
    nGolden::TAmbiente ambiente{ULMO_EXE, FAKE_ESFINGE_ONLINE, GOLDEN_DIR "/fixture.sql", trabalho};
    fs::remove_all(trabalho);
    nGolden::CriarBanco(ambiente);
    for (const nGolden::TCaso& caso : nGolden::Casos()) {
      const fs::path saida = trabalho / caso.Nome;
      nGolden::TExecucao r = nGolden::Executar(ambiente, caso, saida);
      if (r.Codigo != 0) {
        std::cerr << caso.Nome << ": o programa terminou com " << r.Codigo << "\n" << r.Saida;
        return 1;
      }
      nGolden::GravarPasta(nGolden::Coletar(caso, saida), destino / caso.Nome);
    }
    fs::remove_all(trabalho);
  } catch (const std::exception& e) {
    std::cerr << "golden_gerar: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
