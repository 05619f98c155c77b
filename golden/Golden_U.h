// The golden files: the fixture database, the runs of the ulmo program that write every court's
// files from it, and what a run leaves in its folder, read back as the bytes to compare with the
// expected ones. The test and the regenerating tool share it, so both see the same bytes.
// What a run wrote is read back and blanked by GoldenColeta_U.
//
// Blanking rule: what a run takes from the clock is blanked where it lands, nothing else.
// - the generation date of the TCE-RS headers (the DATAGERACAO field of both header layouts)
//   becomes as many '#' as the field is wide;
// - a ZIP is kept as the list of its member names in archive order ("NAME.zip.membros") and the
//   members' bytes ("NAME.zip/MEMBER"), not as its compressed bytes (each member carries its
//   modification time, and the deflate bytes belong to zlib);
// - the e-Sfinge online copies, named after the moment they were written, are named after their
//   package's month instead ("AAAAMM.json").
#pragma once
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace nGolden {

enum class TCorte { SC, RS, PR, SE, EsfingeOnline };

struct TCaso {
  std::string Nome;   // the expected files' folder under esperado/
  TCorte Corte;
  std::vector<std::string> Argumentos;  // after --config and --db
  std::string ParametroPasta;           // "pDiretorio=": the folder follows; empty for the online copies
};

const std::vector<TCaso>& Casos();
// Test names and messages show the case by its name.
inline std::ostream& operator<<(std::ostream& saida, const TCaso& caso) { return saida << caso.Nome; }

struct TExecucao {
  int Codigo = -1;  // -1: did not exit normally
  std::string Saida;  // stdout and stderr together
};

// The program and the folders a set of runs works in.
struct TAmbiente {
  std::filesystem::path Ulmo;
  std::filesystem::path FakeOnline;  // fake_esfinge_online
  std::filesystem::path Fixture;     // fixture.sql
  std::filesystem::path Pasta;       // holds the database, the configuration and the outputs
};

// Runs the program with these arguments after its --config and --db; the environment loses the
// test hooks (ULMO_TESTE_*) and gains `ambiente` when given.
// Without `config`, the plain configuration in the folder.
TExecucao Rodar(const TAmbiente& ambiente, const std::vector<std::string>& argumentos, const std::string& variavel = {},
                const std::filesystem::path& config = {});

// The demo database with fixture.sql applied. Raises std::runtime_error when it cannot be built.
void CriarBanco(const TAmbiente& ambiente);

// Runs the case into `saida` (created; for the e-Sfinge online case against a fake court started
// for the run) and returns the run. REQUIRES: CriarBanco.
TExecucao Executar(const TAmbiente& ambiente, const TCaso& caso, const std::filesystem::path& saida);
// The arguments of the case writing into `saida`.
std::vector<std::string> Argumentos(const TCaso& caso, const std::filesystem::path& saida);

}  // namespace nGolden
