// TConjuntoArquivos: files written into one folder and committed as a whole (a court's file
// set, a ZIP with its files). Each new file goes to a temporary file beside its target; the
// commit writes a journal naming every file before its first rename, moves the old files to
// backups, the new ones into place, and removes backups and journal. The next set opened on
// the folder finishes a commit that a journal shows half done when every new file is there, and
// undoes it otherwise: once that has run, the folder holds the whole old set or the whole new one.
#pragma once
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "AtomicFile_U.h"

namespace nFramework {

class TConjuntoArquivos {
 public:
  // The journal's name in the folder, while a commit is under way or left half done.
  static constexpr const char* NomeDiario = ".ulmo-gravacao-em-andamento";

  // Creates the folder when missing, finishes or undoes a commit an earlier run left half done
  // there and removes the temporary files killed runs left (TomarAvisos says what was done).
  // Waits up to `espera` for a commit another run is making there. Raises EFileError when the
  // folder cannot be used or a half-done commit cannot be resolved.
  explicit TConjuntoArquivos(std::filesystem::path pasta, std::chrono::milliseconds espera = std::chrono::seconds(30));
  // Without Confirmar every new file is dropped and the folder stays as it was.
  ~TConjuntoArquivos();
  TConjuntoArquivos(const TConjuntoArquivos&) = delete;
  TConjuntoArquivos& operator=(const TConjuntoArquivos&) = delete;

  // A new file `nome` (a bare name) of the set. Its Commit() marks it complete, without putting
  // it in place. The set owns it. Raises EFileError as TAtomicFile does, or for a repeated name.
  IOutputSink& Novo(const std::string& nome, std::filesystem::perms permissoes = TAtomicFile::PermissoesPadrao);
  // The temporary of a completed file, to be read back (the TCE-PR ZIP packs the run's files).
  const std::filesystem::path& Temporario(const std::string& nome) const;
  // Puts every file in place together, replacing the old ones. REQUIRES: every file complete.
  // On failure the old files are back and the EFileError names the file that failed.
  void Confirmar();
  // Drops every new file now; the folder stays as it was.
  void Descartar() noexcept;

  const std::filesystem::path& Pasta() const { return FPasta; }
  // What the set did besides the commit (a half-done commit resolved, temporaries removed),
  // as messages for the run's tree; taken once.
  std::vector<std::string> TomarAvisos();

 private:
  class TMembro;
  struct TEntrada;
  int AbrirDiarioExistente();
  void Recuperar(int diario);
  void Resolver(const std::vector<TEntrada>& entradas);
  void Desfazer(const std::vector<TEntrada>& entradas, size_t comAnterior, size_t renomeados);

  std::filesystem::path FPasta;
  std::chrono::milliseconds FEspera;
  std::vector<std::filesystem::path> FPastasCriadas;
  std::vector<std::unique_ptr<TMembro>> FMembros;
  std::vector<std::string> FAvisos;
  bool FConfirmado = false;
};

}  // namespace nFramework
