#include "AtomicFile_U.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <random>
#include <system_error>

#include "ConjuntoArquivos_U.h"
#include "Exceptions_U.h"
#include "FileUtils_U.h"
#include "TextoMensagem_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

namespace fs = std::filesystem;

namespace nTesteGravacao {

namespace {

constexpr int Kinds = 5;

struct TEstado {
  int Contagem[Kinds] = {};
  int Alvo[Kinds] = {};
  int Passos = 0;
  int Matar = -1;  // -1: not read from the environment yet
};

TEstado& Estado() {
  static TEstado estado;
  return estado;
}

}  // namespace

void FalharNa(TOperacao operacao, int n) {
  TEstado& e = Estado();
  int i = static_cast<int>(operacao);
  e.Alvo[i] = n > 0 ? e.Contagem[i] + n : 0;
}

void Desligar() {
  TEstado& e = Estado();
  int matar = e.Matar;
  e = TEstado();
  e.Matar = matar;
}

int Contagem(TOperacao operacao) { return Estado().Contagem[static_cast<int>(operacao)]; }

bool DeveFalhar(TOperacao operacao) {
  TEstado& e = Estado();
  int i = static_cast<int>(operacao);
  ++e.Contagem[i];
  if (e.Alvo[i] == 0 || e.Contagem[i] != e.Alvo[i]) return false;
  e.Alvo[i] = 0;
  return true;
}

void Passo() {
  TEstado& e = Estado();
  if (e.Matar < 0) {
    const char* v = std::getenv("ULMO_TESTE_MATAR_NA_GRAVACAO");
    e.Matar = v ? std::atoi(v) : 0;
  }
  ++e.Passos;
  if (e.Matar > 0 && e.Passos == e.Matar) ::raise(SIGKILL);
}

int Passos() { return Estado().Passos; }

void MatarNoPasso(int passo) { Estado().Matar = passo; }

}  // namespace nTesteGravacao

namespace nArquivos {

using nTesteGravacao::DeveFalhar;
using nTesteGravacao::TOperacao;

namespace {

std::string Alvo(const std::string& arquivo, std::string_view fim) {
  const size_t n = arquivo.size(), f = fim.size();
  if (n < 11 + f || arquivo[0] != '.' || arquivo.compare(n - f, f, fim) != 0 || arquivo[n - f - 9] != '.') return {};
  for (size_t i = n - f - 8; i < n - f; ++i) {
    char c = arquivo[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return {};
  }
  return arquivo.substr(1, n - f - 10);
}

}  // namespace

bool MesmoArquivo(int descritor, const fs::path& caminho) {
  struct stat a {}, b {};
  return ::fstat(descritor, &a) == 0 && ::lstat(caminho.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

namespace {

constexpr uint64_t P1 = 11400714785074694791ull, P2 = 14029467366897019727ull, P3 = 1609587929392839161ull,
                   P4 = 9650029242287828579ull, P5 = 2870177450012600261ull;

constexpr uint64_t Girar(uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }

// Little-endian words, whatever the machine: the digest is stored and read back by other runs.
uint64_t Ler64(const unsigned char* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}

uint32_t Ler32(const unsigned char* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap32(v);
  return v;
}

uint64_t Rodada(uint64_t acumulador, uint64_t palavra) { return Girar(acumulador + palavra * P2, 31) * P1; }

uint64_t Fundir(uint64_t h, uint64_t acumulador) { return (h ^ Rodada(0, acumulador)) * P1 + P4; }

}  // namespace

TResumo::TResumo() : FAcumulador{P1 + P2, P2, 0, uint64_t{0} - P1} {}

void TResumo::Acrescentar(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t n = bytes.size();
  FTotal += n;
  if (FNoResto > 0) {
    size_t k = std::min(n, sizeof FResto - FNoResto);
    std::memcpy(FResto + FNoResto, p, k);
    FNoResto += k, p += k, n -= k;
    if (FNoResto < sizeof FResto) return;
    for (int i = 0; i < 4; ++i) FAcumulador[i] = Rodada(FAcumulador[i], Ler64(FResto + 8 * i));
    FNoResto = 0;
  }
  uint64_t a = FAcumulador[0], b = FAcumulador[1], c = FAcumulador[2], d = FAcumulador[3];
  for (; n >= 32; p += 32, n -= 32) {
    a = Rodada(a, Ler64(p));
    b = Rodada(b, Ler64(p + 8));
    c = Rodada(c, Ler64(p + 16));
    d = Rodada(d, Ler64(p + 24));
  }
  FAcumulador[0] = a, FAcumulador[1] = b, FAcumulador[2] = c, FAcumulador[3] = d;
  std::memcpy(FResto, p, n);
  FNoResto = n;
}

uint64_t TResumo::Valor() const {
  const uint64_t* v = FAcumulador;
  uint64_t h;
  if (FTotal >= 32) {
    h = Girar(v[0], 1) + Girar(v[1], 7) + Girar(v[2], 12) + Girar(v[3], 18);
    for (int i = 0; i < 4; ++i) h = Fundir(h, v[i]);
  } else {
    h = v[2] + P5;  // the seed
  }
  h += FTotal;
  const unsigned char* p = FResto;
  size_t n = FNoResto;
  for (; n >= 8; p += 8, n -= 8) h = Girar(h ^ Rodada(0, Ler64(p)), 27) * P1 + P4;
  if (n >= 4) {
    h = Girar(h ^ (uint64_t{Ler32(p)} * P1), 23) * P2 + P3;
    p += 4, n -= 4;
  }
  for (; n > 0; ++p, --n) h = Girar(h ^ (*p * P5), 11) * P1;
  h ^= h >> 33;
  h *= P2;
  h ^= h >> 29;
  h *= P3;
  h ^= h >> 32;
  return h;
}

uint64_t Resumir(std::string_view bytes) {
  TResumo r;
  r.Acrescentar(bytes);
  return r.Valor();
}

uint64_t ResumirFnv(uint64_t resumo, std::string_view bytes) {
  for (unsigned char c : bytes) {
    resumo ^= c;
    resumo *= 1099511628211ull;
  }
  return resumo;
}

std::string NomeTemporario(const std::string& nome, uint32_t sufixo) { return fmt::format(".{}.{:08x}.tmp", nome, sufixo); }
std::string NomeAnterior(const std::string& nome, uint32_t sufixo) {
  return fmt::format(".{}.{:08x}.anterior", nome, sufixo);
}
std::string AlvoDoTemporario(const std::string& arquivo) { return Alvo(arquivo, ".tmp"); }
std::string AlvoDoAnterior(const std::string& arquivo) { return Alvo(arquivo, ".anterior"); }

std::vector<fs::path> CriarPastas(const fs::path& pasta) {
  std::vector<fs::path> novas;
  std::error_code ec;
  for (fs::path p = pasta; !p.empty() && !fs::exists(fs::symlink_status(p, ec)); p = p.parent_path()) {
    novas.insert(novas.begin(), p);
    if (p == p.parent_path()) break;
  }
  ForceDirectories(pasta);
  return novas;
}

void RemoverPastasVazias(const std::vector<fs::path>& pastas) noexcept {
  for (auto it = pastas.rbegin(); it != pastas.rend(); ++it)
    if (::rmdir(it->c_str()) != 0) break;
}

std::vector<std::string> RemoverTemporariosOrfaos(const fs::path& pasta, const std::string& alvo) {
  std::vector<std::string> removidos;
  std::error_code ec;
  // A commit left half done may still need its temporaries: the set that resolves it cleans up.
  if (fs::exists(fs::symlink_status((pasta.empty() ? fs::path(".") : pasta) / TConjuntoArquivos::NomeDiario, ec)))
    return removidos;
  fs::directory_iterator it(pasta.empty() ? fs::path(".") : pasta, ec), fim;
  for (; !ec && it != fim; it.increment(ec)) {
    const fs::path caminho = it->path();
    const std::string nome = caminho.filename().string();
    const std::string dono = AlvoDoTemporario(nome);
    if (dono.empty() || (!alvo.empty() && dono != alvo)) continue;
    struct stat st {};
    if (::lstat(caminho.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    int fd = ::open(caminho.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) continue;
    // A live run holds its temporary locked; a killed one's lock went with it. Where the file
    // system has no locks, nothing is removed.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && MesmoArquivo(fd, caminho) && ::unlink(caminho.c_str()) == 0)
      removidos.push_back(nome);
    ::close(fd);
  }
  return removidos;
}

void Renomear(const fs::path& de, const fs::path& para, const fs::path& arquivo) {
  int erro = DeveFalhar(TOperacao::Renomeacao) ? EIO : (::rename(de.c_str(), para.c_str()) == 0 ? 0 : errno);
  if (erro == 0) return;
  LogDebug(fmt::format("rename {} {}: {}", de.string(), para.string(), std::strerror(erro)));
  throw EFileError(
      fmt::format("Não foi possível substituir o arquivo \"{}\": {}", CitarCaminho(arquivo), DescricaoErroSistema(erro)));
}

void Remover(const fs::path& caminho) {
  int erro = DeveFalhar(TOperacao::Remocao) ? EIO : (::unlink(caminho.c_str()) == 0 ? 0 : errno);
  if (erro == 0 || erro == ENOENT) return;
  throw EFileError(
      fmt::format("Não foi possível remover o arquivo \"{}\": {}", CitarCaminho(caminho), DescricaoErroSistema(erro)));
}

void SincronizarArquivo(int descritor, const fs::path& arquivo) {
  int erro = DeveFalhar(TOperacao::Sincronizacao) ? EIO : (::fsync(descritor) == 0 ? 0 : errno);
  if (erro == 0 || erro == EINVAL) return;
  throw EFileError(fmt::format("Erro ao gravar o arquivo \"{}\": {}", CitarCaminho(arquivo), DescricaoErroSistema(erro)));
}

void SincronizarPasta(const fs::path& pasta) {
  int erro = 0;
  if (DeveFalhar(TOperacao::Sincronizacao)) {
    erro = EIO;
  } else {
    int fd = ::open(pasta.empty() ? "." : pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) erro = errno;
    if (fd >= 0) ::close(fd);
  }
  if (erro == 0 || erro == EINVAL || erro == ENOTSUP || erro == EROFS || erro == EACCES) return;
  throw EFileError(fmt::format("Erro ao gravar na pasta \"{}\": {}", CitarCaminho(pasta), DescricaoErroSistema(erro)));
}

void GravarTudo(int descritor, std::string_view bytes, const fs::path& arquivo) {
  int erro = DeveFalhar(TOperacao::Escrita) ? EIO : 0;
  while (erro == 0 && !bytes.empty()) {
    ssize_t n = ::write(descritor, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      erro = n < 0 ? errno : EIO;
      break;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  if (erro != 0)
    throw EFileError(
        fmt::format("Erro ao gravar o arquivo \"{}\": {}", CitarCaminho(arquivo), DescricaoErroSistema(erro)));
}

}  // namespace nArquivos

using nTesteGravacao::DeveFalhar;
using nTesteGravacao::TOperacao;

TAtomicFile::TAtomicFile(fs::path target, fs::perms permissoes)
    : FTarget(std::move(target)) {
  if (FTarget.filename().empty()) throw EFileError(fmt::format("Nome de arquivo inválido: \"{}\"", CitarCaminho(FTarget)));
  const fs::path folder = FTarget.parent_path();
  const std::string nome = FTarget.filename().string();
  if (!folder.empty()) FPastasCriadas = nArquivos::CriarPastas(folder);
  nArquivos::RemoverTemporariosOrfaos(folder, nome);
  // A hidden name beside the target: the rename stays on one file system, so it is atomic.
  std::random_device random;
  int erro = DeveFalhar(TOperacao::Criacao) ? EIO : 0;
  for (int attempt = 0; erro == 0 && attempt < 20 && !FFile; ++attempt) {
    fs::path caminho = folder / nArquivos::NomeTemporario(nome, random());
    int fd = ::open(caminho.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, static_cast<mode_t>(permissoes));
    if (fd < 0) {
      if (errno != EEXIST) erro = errno;
      continue;
    }
    // The lock tells a later run that this temporary is alive. A run cleaning the folder may
    // have taken the new name before the lock; then it removes it and another name is tried.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 ? !nArquivos::MesmoArquivo(fd, caminho) : errno == EWOULDBLOCK) {
      ::close(fd);
      continue;
    }
    FFile = ::fdopen(fd, "wb");
    if (!FFile) {
      erro = errno;
      ::close(fd);
      ::unlink(caminho.c_str());
      break;
    }
    FTempPath = caminho;
  }
  if (!FFile) {
    if (erro == 0) erro = EEXIST;
    nArquivos::RemoverPastasVazias(FPastasCriadas);
    throw EFileError(
        fmt::format("Não foi possível criar o arquivo \"{}\": {}", CitarCaminho(FTarget), DescricaoErroSistema(erro)));
  }
}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Write(std::string_view bytes) {
  if (!FFile || FConcluido) throw EInternalError("gravação em arquivo já fechado: " + FTarget.string());
  if (bytes.empty()) return;
  errno = 0;
  bool falhou = DeveFalhar(TOperacao::Escrita) ? (errno = EIO, true)
                                               : std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size();
  if (falhou)
    throw EFileError(fmt::format("Erro ao gravar o arquivo \"{}\": {}", CitarCaminho(FTarget), DescricaoErroSistema(errno)));
  FTamanho += bytes.size();
  FResumo.Acrescentar(bytes);
}

void TAtomicFile::Concluir() {
  if (!FFile || FConcluido) throw EInternalError("arquivo já fechado: " + FTarget.string());
  // Flushed and synced before any rename: a crash must not leave an empty file under the real name.
  if (std::fflush(FFile) != 0)
    throw EFileError(fmt::format("Erro ao gravar o arquivo \"{}\": {}", CitarCaminho(FTarget), DescricaoErroSistema(errno)));
  nArquivos::SincronizarArquivo(::fileno(FFile), FTarget);
  FConcluido = true;
  nTesteGravacao::Passo();
}

void TAtomicFile::Commit() {
  try {
    Concluir();
    nArquivos::Renomear(FTempPath, FTarget, FTarget);
  } catch (...) {
    Discard();
    throw;
  }
  MarcarRenomeado();
  // The content is synced; the folder's entry is the file system's to keep after this.
  int fd = ::open(FTarget.parent_path().empty() ? "." : FTarget.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

void TAtomicFile::MarcarRenomeado() noexcept {
  FCommitted = true;
  if (FFile) {
    std::fclose(FFile);
    FFile = nullptr;
  }
}

void TAtomicFile::Discard() noexcept {
  if (FFile) {
    std::fclose(FFile);
    FFile = nullptr;
  }
  if (!FCommitted && !FTempPath.empty()) {
    ::unlink(FTempPath.c_str());
    FTempPath.clear();
  }
  if (!FCommitted) {
    nArquivos::RemoverPastasVazias(FPastasCriadas);
    FPastasCriadas.clear();
  }
}

void TStringSink::Write(std::string_view bytes) {
  if (FCommitted) throw EInternalError("gravação após a confirmação da saída");
  FText.append(bytes);
}

void TStringSink::Commit() {
  if (FCommitted) throw EInternalError("saída confirmada duas vezes");
  FCommitted = true;
}

}  // namespace nFramework
