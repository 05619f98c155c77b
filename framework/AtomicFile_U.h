// Outputs that generators write into. TAtomicFile writes a temporary file beside the target
// and renames it into place only on Commit(), so a failed run never leaves a half file and
// never destroys the previous good one. TStringSink keeps the bytes in memory for tests.
// A set of files committed as a whole is TConjuntoArquivos (ConjuntoArquivos_U.h).
#pragma once
#include <cstdint>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace nFramework {

namespace nArquivos {

// The digest of a file's content, fed piece by piece as it is written: XXH64 with seed 0, so it
// takes 32 bytes a step and costs little beside the write itself.
class TResumo {
 public:
  TResumo();
  void Acrescentar(std::string_view bytes);
  // The digest of everything fed so far; more may be fed after.
  uint64_t Valor() const;

 private:
  uint64_t FAcumulador[4];
  uint64_t FTotal = 0;
  unsigned char FResto[32];
  size_t FNoResto = 0;
};

}  // namespace nArquivos

class IOutputSink {
 public:
  virtual ~IOutputSink() = default;
  virtual void Write(std::string_view bytes) = 0;
  // Makes everything written visible at once. REQUIRES: not committed yet.
  virtual void Commit() = 0;
};

class TAtomicFile final : public IOutputSink {
 public:
  static constexpr auto PermissoesPadrao = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read | std::filesystem::perms::group_write |
                                           std::filesystem::perms::others_read | std::filesystem::perms::others_write;

  // Creates the target's folder with its parents when missing, removes the temporary files
  // that killed runs left for this target, and opens (and locks) a new temporary file with
  // these permissions (less the umask). Raises EFileError when any of it cannot be done.
  explicit TAtomicFile(std::filesystem::path target, std::filesystem::perms permissoes = PermissoesPadrao);
  // Without a Commit() the temporary file is removed, the target left as it was, and the
  // folders this file created are removed again when they are empty.
  ~TAtomicFile() override;
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  void Write(std::string_view bytes) override;
  // Concluir(), then the rename into place and the folder's sync.
  void Commit() override;
  // Flushes and syncs the temporary file and keeps it, open and locked, for a file set to
  // rename. REQUIRES: not concluded yet.
  void Concluir();
  // Drops what was written; the target stays as it was. Harmless after Commit().
  void Discard() noexcept;
  // The temporary file was renamed into place by its owner's set: nothing to remove any more.
  void MarcarRenomeado() noexcept;

  const std::filesystem::path& Target() const { return FTarget; }
  const std::filesystem::path& TempPath() const { return FTempPath; }
  bool Committed() const { return FCommitted; }
  bool Concluido() const { return FConcluido; }
  // Bytes written and their digest (nArquivos::TResumo): a file set's journal records both, so
  // that a recovery can tell the new content from the old.
  uint64_t Tamanho() const { return FTamanho; }
  uint64_t Resumo() const { return FResumo.Valor(); }

 private:
  std::filesystem::path FTarget;
  std::filesystem::path FTempPath;
  std::vector<std::filesystem::path> FPastasCriadas;  // innermost last
  std::FILE* FFile = nullptr;
  bool FCommitted = false;
  bool FConcluido = false;
  uint64_t FTamanho = 0;
  nArquivos::TResumo FResumo;
};

class TStringSink final : public IOutputSink {
 public:
  void Write(std::string_view bytes) override;
  void Commit() override;

  const std::string& Text() const { return FText; }
  bool Committed() const { return FCommitted; }

 private:
  std::string FText;
  bool FCommitted = false;
};

// The file-system steps of the atomic file and of the file set, each failing with EFileError
// that names its path. They carry the test hooks below.
namespace nArquivos {

// TResumo of the bytes at once.
uint64_t Resumir(std::string_view bytes);

// FNV-1a 64, byte by byte, continued from `resumo` (start with ResumoInicialFnv): the digest the
// journals of version 1 recorded; kept to resolve a commit such a run left half done.
constexpr uint64_t ResumoInicialFnv = 14695981039346656037ull;
uint64_t ResumirFnv(uint64_t resumo, std::string_view bytes);

// ".NAME.1a2b3c4d.tmp" and ".NAME.1a2b3c4d.anterior" beside NAME: our temporaries and backups.
std::string NomeTemporario(const std::string& nome, uint32_t sufixo);
std::string NomeAnterior(const std::string& nome, uint32_t sufixo);
// The NAME of one of our temporaries (or backups); empty when `arquivo` is not one.
std::string AlvoDoTemporario(const std::string& arquivo);
std::string AlvoDoAnterior(const std::string& arquivo);

// Whether the name still points at the file the descriptor opened (not removed nor replaced).
bool MesmoArquivo(int descritor, const std::filesystem::path& caminho);

// Creates the folder with its missing parents and returns those it created, outermost first.
std::vector<std::filesystem::path> CriarPastas(const std::filesystem::path& pasta);
// Removes the folders (innermost first) that are empty; never raises.
void RemoverPastasVazias(const std::vector<std::filesystem::path>& pastas) noexcept;

// Removes the temporary files of dead runs from the folder: only names of our own pattern,
// only regular files of this user, only those no live run holds (a live run keeps a lock on
// its temporary), and nothing while the folder holds a half-done commit's journal. With `alvo`
// given, only the temporaries of that target. Returns the names removed.
std::vector<std::string> RemoverTemporariosOrfaos(const std::filesystem::path& pasta, const std::string& alvo = {});

// The errors name `arquivo`, the file the user knows (a rename to a backup names the target).
void Renomear(const std::filesystem::path& de, const std::filesystem::path& para, const std::filesystem::path& arquivo);
// A missing file counts as removed.
void Remover(const std::filesystem::path& caminho);
void SincronizarArquivo(int descritor, const std::filesystem::path& arquivo);
// File systems that cannot sync a folder are let be.
void SincronizarPasta(const std::filesystem::path& pasta);
void GravarTudo(int descritor, std::string_view bytes, const std::filesystem::path& arquivo);

}  // namespace nArquivos

// Test hooks of the file layer; nothing in production sets them.
namespace nTesteGravacao {

enum class TOperacao { Criacao, Escrita, Sincronizacao, Renomeacao, Remocao };
// The nth operation of that kind from now on fails as a full or broken disk would (EIO); 0 turns
// it off. Several kinds may be armed at once.
void FalharNa(TOperacao operacao, int n);
// Turns every hook off and the counts back to zero.
void Desligar();
// How many operations of that kind ran since the last Desligar (to size a loop over them).
int Contagem(TOperacao operacao);
// Counts one operation of that kind; true when a hook makes it fail.
bool DeveFalhar(TOperacao operacao);
// A numbered step of a commit. With ULMO_TESTE_MATAR_NA_GRAVACAO=k in the environment (or
// MatarNoPasso(k)) the process kills itself with SIGKILL at the kth step, as a kill -9 would.
void Passo();
int Passos();
void MatarNoPasso(int passo);

}  // namespace nTesteGravacao

}  // namespace nFramework
