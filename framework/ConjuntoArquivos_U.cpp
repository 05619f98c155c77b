#include "ConjuntoArquivos_U.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <thread>

#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace fs = std::filesystem;
using nTesteGravacao::Passo;

namespace {

// Version 2 records each file's TResumo; version 1, its FNV digest (still read, from older runs).
constexpr std::string_view Cabecalho = "ulmo-conjunto-arquivos 2";
constexpr std::string_view CabecalhoFnv = "ulmo-conjunto-arquivos 1";
constexpr size_t MaxDiario = 1 << 20;

// Names go into the journal one per field: tabs, line ends and '%' are escaped.
std::string Escapar(std::string_view texto) {
  std::string r;
  for (char c : texto) {
    if (c == '%' || c == '\t' || c == '\n' || c == '\r')
      r += fmt::format("%{:02X}", static_cast<unsigned char>(c));
    else
      r += c;
  }
  return r;
}

bool Desescapar(std::string_view texto, std::string& r) {
  r.clear();
  for (size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] != '%') {
      r += texto[i];
      continue;
    }
    if (i + 2 >= texto.size()) return false;
    std::string hex(texto.substr(i + 1, 2));
    if (hex != "25" && hex != "09" && hex != "0A" && hex != "0D") return false;
    r += static_cast<char>(std::stoi(hex, nullptr, 16));
    i += 2;
  }
  return true;
}

std::vector<std::string_view> Separar(std::string_view texto, char separador) {
  std::vector<std::string_view> partes;
  size_t inicio = 0;
  for (;;) {
    size_t fim = texto.find(separador, inicio);
    partes.push_back(texto.substr(inicio, fim == std::string_view::npos ? std::string_view::npos : fim - inicio));
    if (fim == std::string_view::npos) return partes;
    inicio = fim + 1;
  }
}

bool Numero(std::string_view texto, int base, uint64_t& valor) {
  if (texto.empty() || texto.size() > (base == 16 ? 16u : 19u)) return false;
  for (char c : texto)
    if (!(c >= '0' && c <= '9') && !(base == 16 && c >= 'a' && c <= 'f')) return false;
  valor = std::stoull(std::string(texto), nullptr, base);
  return true;
}

bool NomeSimples(const std::string& nome) {
  return !nome.empty() && nome != "." && nome != ".." && nome.find('/') == std::string::npos &&
         nome.find('\0') == std::string::npos && nome != TConjuntoArquivos::NomeDiario;
}

bool Existe(const fs::path& caminho) {
  struct stat st {};
  return ::lstat(caminho.c_str(), &st) == 0;
}

// Whether the path is a regular file with this size and digest.
bool TemConteudo(const fs::path& caminho, uint64_t tamanho, uint64_t resumo, bool fnv) {
  int fd = ::open(caminho.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool igual = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) == tamanho;
  uint64_t rFnv = nArquivos::ResumoInicialFnv;
  nArquivos::TResumo r;
  char bloco[65536];
  ssize_t n = 0;
  while (igual && (n = ::read(fd, bloco, sizeof bloco)) > 0) {
    const std::string_view lido(bloco, static_cast<size_t>(n));
    if (fnv)
      rFnv = nArquivos::ResumirFnv(rFnv, lido);
    else
      r.Acrescentar(lido);
  }
  ::close(fd);
  return igual && n == 0 && (fnv ? rFnv : r.Valor()) == resumo;
}

std::string Lista(const std::vector<std::string>& nomes) {
  std::string r;
  for (size_t i = 0; i < nomes.size() && i < 10; ++i) r += (i ? ", " : "") + nomes[i];
  if (nomes.size() > 10) r += fmt::format(" e outros {}", nomes.size() - 10);
  return r;
}

struct TDescritor {
  int Fd = -1;
  ~TDescritor() {
    if (Fd >= 0) ::close(Fd);
  }
};

}  // namespace

struct TConjuntoArquivos::TEntrada {
  std::string Nome, Temporario;
  std::string Anterior;  // the backup of the old file; empty when there was none
  uint64_t Tamanho = 0, Resumo = 0;
  bool Fnv = false;  // Resumo is the FNV digest of a version 1 journal
};

class TConjuntoArquivos::TMembro final : public IOutputSink {
 public:
  TMembro(std::string nome, const fs::path& pasta, fs::perms permissoes)
      : Nome(std::move(nome)), Arquivo(pasta / Nome, permissoes) {}
  void Write(std::string_view bytes) override { Arquivo.Write(bytes); }
  // Complete, still under its temporary name: the set renames it.
  void Commit() override { Arquivo.Concluir(); }

  std::string Nome;
  TAtomicFile Arquivo;
};

TConjuntoArquivos::TConjuntoArquivos(fs::path pasta, std::chrono::milliseconds espera)
    : FPasta(pasta.empty() ? fs::path(".") : std::move(pasta)), FEspera(espera) {
  FPastasCriadas = nArquivos::CriarPastas(FPasta);
  int diario = AbrirDiarioExistente();
  if (diario >= 0) Recuperar(diario);
  std::vector<std::string> orfaos = nArquivos::RemoverTemporariosOrfaos(FPasta);
  if (!orfaos.empty())
    FAvisos.push_back(fmt::format("Arquivos temporários de uma gravação interrompida foram removidos da pasta \"{}\": {}.",
                                  CitarCaminho(FPasta), Lista(orfaos)));
  Passo();
}

TConjuntoArquivos::~TConjuntoArquivos() {
  if (!FConfirmado) Descartar();
}

IOutputSink& TConjuntoArquivos::Novo(const std::string& nome, fs::perms permissoes) {
  if (FConfirmado) throw EInternalError("arquivo novo num conjunto já confirmado: " + nome);
  if (!NomeSimples(nome)) throw EFileError(fmt::format("Nome de arquivo inválido: \"{}\"", CitarValor(nome)));
  for (const auto& m : FMembros)
    if (m->Nome == nome) throw EInternalError("arquivo repetido no conjunto: " + nome);
  FMembros.push_back(std::make_unique<TMembro>(nome, FPasta, permissoes));
  return *FMembros.back();
}

const fs::path& TConjuntoArquivos::Temporario(const std::string& nome) const {
  for (const auto& m : FMembros)
    if (m->Nome == nome && m->Arquivo.Concluido() && !m->Arquivo.Committed()) return m->Arquivo.TempPath();
  throw EInternalError("arquivo do conjunto não concluído: " + nome);
}

std::vector<std::string> TConjuntoArquivos::TomarAvisos() {
  std::vector<std::string> r;
  r.swap(FAvisos);
  return r;
}

void TConjuntoArquivos::Descartar() noexcept {
  FMembros.clear();
  if (!FConfirmado) {
    nArquivos::RemoverPastasVazias(FPastasCriadas);
    FPastasCriadas.clear();
  }
}

int TConjuntoArquivos::AbrirDiarioExistente() {
  const fs::path caminho = FPasta / NomeDiario;
  const auto limite = std::chrono::steady_clock::now() + FEspera;
  for (;;) {
    int fd = ::open(caminho.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
      if (errno == ENOENT) return -1;
      throw EFileError(fmt::format("Não foi possível ler o registro de gravação \"{}\": {}", CitarCaminho(caminho),
                                   DescricaoErroSistema(errno)));
    }
    // The run that writes a journal holds it locked until it removes it; a killed run's lock
    // went with it. Where the file system has no locks the journal is taken as left behind.
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR)) {
      if (std::chrono::steady_clock::now() >= limite) {
        ::close(fd);
        throw EFileError(fmt::format("Outra geração está gravando arquivos na pasta \"{}\" neste momento; gere de novo "
                                     "quando ela terminar.",
                                     CitarCaminho(FPasta)));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (nArquivos::MesmoArquivo(fd, caminho)) return fd;
    ::close(fd);  // finished and removed meanwhile, or replaced by a newer one
  }
}

void TConjuntoArquivos::Recuperar(int diario) {
  TDescritor guarda{diario};
  const fs::path caminho = FPasta / NomeDiario;
  std::string texto;
  char bloco[65536];
  ssize_t n;
  while (texto.size() <= MaxDiario && (n = ::read(diario, bloco, sizeof bloco)) > 0) texto.append(bloco, static_cast<size_t>(n));

  // A journal counts only when it ends in its "fim" line: the renames start after that.
  std::vector<TEntrada> entradas;
  bool valido = texto.size() <= MaxDiario && !texto.empty() && texto.back() == '\n';
  std::vector<std::string_view> linhas = Separar(std::string_view(texto).substr(0, texto.empty() ? 0 : texto.size() - 1), '\n');
  valido = valido && linhas.size() >= 2 && (linhas.front() == Cabecalho || linhas.front() == CabecalhoFnv);
  const bool fnv = valido && linhas.front() == CabecalhoFnv;
  for (size_t i = 1; valido && i + 1 < linhas.size(); ++i) {
    std::vector<std::string_view> campos = Separar(linhas[i], '\t');
    TEntrada e;
    e.Fnv = fnv;
    valido = campos.size() == 5 && Desescapar(campos[0], e.Nome) && Desescapar(campos[1], e.Temporario) &&
             Desescapar(campos[2], e.Anterior) && Numero(campos[3], 10, e.Tamanho) && Numero(campos[4], 16, e.Resumo) &&
             NomeSimples(e.Nome) && nArquivos::AlvoDoTemporario(e.Temporario) == e.Nome &&
             (e.Anterior.empty() || nArquivos::AlvoDoAnterior(e.Anterior) == e.Nome);
    entradas.push_back(std::move(e));
  }
  uint64_t contagem = 0;
  valido = valido && linhas.back().substr(0, 4) == "fim " && Numero(linhas.back().substr(4), 10, contagem) &&
           contagem == entradas.size() && contagem > 0;

  try {
    if (!valido) {
      // Cut short before its end: nothing was renamed yet, the old files are all in place. Its
      // temporaries are removed with the other strays.
      nArquivos::Remover(caminho);
      nArquivos::SincronizarPasta(FPasta);
      FAvisos.push_back(fmt::format("Uma gravação anterior interrompida foi desfeita: os arquivos da pasta \"{}\" "
                                    "ficaram como estavam antes dela.",
                                    CitarCaminho(FPasta)));
      return;
    }
    Resolver(entradas);
  } catch (const EFileError& e) {
    throw EFileError(fmt::format("Não foi possível resolver a gravação interrompida na pasta \"{}\": {}",
                                 CitarCaminho(FPasta), e.what()));
  }
}

void TConjuntoArquivos::Resolver(const std::vector<TEntrada>& entradas) {
  const fs::path diario = FPasta / NomeDiario;
  std::vector<bool> noTemporario;
  bool todos = true;
  std::vector<std::string> nomes;
  for (const TEntrada& e : entradas) {
    noTemporario.push_back(TemConteudo(FPasta / e.Temporario, e.Tamanho, e.Resumo, e.Fnv));
    todos = todos && (noTemporario.back() || TemConteudo(FPasta / e.Nome, e.Tamanho, e.Resumo, e.Fnv));
    nomes.push_back(e.Nome);
  }
  if (todos) {
    // Every new file is there, in place or still temporary: finish the commit.
    for (size_t i = 0; i < entradas.size(); ++i)
      if (noTemporario[i])
        nArquivos::Renomear(FPasta / entradas[i].Temporario, FPasta / entradas[i].Nome, FPasta / entradas[i].Nome);
    nArquivos::SincronizarPasta(FPasta);
    for (const TEntrada& e : entradas)
      if (!e.Anterior.empty()) nArquivos::Remover(FPasta / e.Anterior);
  } else {
    // A new file is missing (an undo had begun): bring every old file back.
    for (const TEntrada& e : entradas) {
      if (!e.Anterior.empty() && Existe(FPasta / e.Anterior))
        nArquivos::Renomear(FPasta / e.Anterior, FPasta / e.Nome, FPasta / e.Nome);
      else if (e.Anterior.empty() && TemConteudo(FPasta / e.Nome, e.Tamanho, e.Resumo, e.Fnv))
        nArquivos::Remover(FPasta / e.Nome);
    }
    for (const TEntrada& e : entradas) nArquivos::Remover(FPasta / e.Temporario);
  }
  nArquivos::SincronizarPasta(FPasta);
  nArquivos::Remover(diario);
  nArquivos::SincronizarPasta(FPasta);
  if (todos)
    FAvisos.push_back(fmt::format("Uma gravação anterior interrompida foi concluída: {} (pasta \"{}\").", Lista(nomes),
                                  CitarCaminho(FPasta)));
  else
    FAvisos.push_back(fmt::format("Uma gravação anterior interrompida foi desfeita: {} ficaram como estavam antes dela "
                                  "(pasta \"{}\").",
                                  Lista(nomes), CitarCaminho(FPasta)));
}

void TConjuntoArquivos::Desfazer(const std::vector<TEntrada>& entradas, size_t comAnterior, size_t renomeados) {
  // The renamed new files make way for their backups (or go, where there was no old file);
  // the backups of the files not renamed yet come back.
  for (size_t i = renomeados; i-- > 0;) {
    const TEntrada& e = entradas[i];
    if (!e.Anterior.empty())
      nArquivos::Renomear(FPasta / e.Anterior, FPasta / e.Nome, FPasta / e.Nome);
    else
      nArquivos::Remover(FPasta / e.Nome);
    Passo();
  }
  for (size_t i = renomeados; i < comAnterior; ++i) {
    const TEntrada& e = entradas[i];
    if (e.Anterior.empty()) continue;
    nArquivos::Renomear(FPasta / e.Anterior, FPasta / e.Nome, FPasta / e.Nome);
    Passo();
  }
  nArquivos::SincronizarPasta(FPasta);
  nArquivos::Remover(FPasta / NomeDiario);
  nArquivos::SincronizarPasta(FPasta);
}

void TConjuntoArquivos::Confirmar() {
  if (FConfirmado) throw EInternalError("conjunto de arquivos confirmado duas vezes");
  for (const auto& m : FMembros)
    if (!m->Arquivo.Concluido()) throw EInternalError("arquivo do conjunto não concluído: " + m->Nome);
  if (FMembros.empty()) {
    FConfirmado = true;
    return;
  }
  // The temporaries' names must be on disk before a journal names them.
  nArquivos::SincronizarPasta(FPasta);
  Passo();

  std::vector<TEntrada> entradas;
  std::random_device random;
  for (const auto& m : FMembros) {
    TEntrada e{m->Nome, m->Arquivo.TempPath().filename().string(), {}, m->Arquivo.Tamanho(), m->Arquivo.Resumo(), false};
    struct stat st {};
    if (::lstat((FPasta / e.Nome).c_str(), &st) == 0) {
      if (S_ISDIR(st.st_mode))
        throw EFileError(fmt::format("Não foi possível substituir o arquivo \"{}\": {}", CitarCaminho(FPasta / e.Nome),
                                     DescricaoErroSistema(EISDIR)));
      do e.Anterior = nArquivos::NomeAnterior(e.Nome, random());
      while (Existe(FPasta / e.Anterior));
    }
    entradas.push_back(std::move(e));
  }

  // The journal: created anew, locked while this commit runs. One a dead run left is resolved first.
  const fs::path caminhoDiario = FPasta / NomeDiario;
  TDescritor diario;
  const auto limite = std::chrono::steady_clock::now() + FEspera;
  while (diario.Fd < 0) {
    int erro = nTesteGravacao::DeveFalhar(nTesteGravacao::TOperacao::Criacao) ? EIO : 0;
    int fd = erro ? -1 : ::open(caminhoDiario.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0 && !erro) erro = errno;
    if (fd >= 0) {
      // Another run may have opened the new journal to resolve it before the lock: it removes
      // it as cut short, and a new one is made.
      if (::flock(fd, LOCK_EX | LOCK_NB) == 0 ? nArquivos::MesmoArquivo(fd, caminhoDiario) : errno != EWOULDBLOCK)
        diario.Fd = fd;
      else
        ::close(fd);
    } else if (erro == EEXIST) {
      int outro = AbrirDiarioExistente();
      if (outro >= 0) Recuperar(outro);
    } else {
      throw EFileError(fmt::format("Não foi possível criar o arquivo \"{}\": {}", CitarCaminho(caminhoDiario),
                                   DescricaoErroSistema(erro)));
    }
    if (diario.Fd < 0 && std::chrono::steady_clock::now() >= limite)
      throw EFileError(fmt::format("Outra geração está gravando arquivos na pasta \"{}\" neste momento; gere de novo "
                                   "quando ela terminar.",
                                   CitarCaminho(FPasta)));
  }
  Passo();
  try {
    std::string corpo = std::string(Cabecalho) + "\n";
    for (const TEntrada& e : entradas)
      corpo += fmt::format("{}\t{}\t{}\t{}\t{:016x}\n", Escapar(e.Nome), Escapar(e.Temporario), Escapar(e.Anterior),
                           e.Tamanho, e.Resumo);
    nArquivos::GravarTudo(diario.Fd, corpo, caminhoDiario);
    Passo();
    nArquivos::GravarTudo(diario.Fd, fmt::format("fim {}\n", entradas.size()), caminhoDiario);
    nArquivos::SincronizarArquivo(diario.Fd, caminhoDiario);
    nArquivos::SincronizarPasta(FPasta);
  } catch (const EFileError&) {
    ::unlink(caminhoDiario.c_str());  // nothing renamed: a journal cut short would only be undone
    throw;
  }
  Passo();

  size_t comAnterior = 0, renomeados = 0;
  try {
    for (; comAnterior < entradas.size(); ++comAnterior) {
      const TEntrada& e = entradas[comAnterior];
      if (e.Anterior.empty()) continue;
      nArquivos::Renomear(FPasta / e.Nome, FPasta / e.Anterior, FPasta / e.Nome);
      Passo();
    }
    for (; renomeados < entradas.size(); ++renomeados) {
      const TEntrada& e = entradas[renomeados];
      nArquivos::Renomear(FPasta / e.Temporario, FPasta / e.Nome, FPasta / e.Nome);
      FMembros[renomeados]->Arquivo.MarcarRenomeado();
      Passo();
    }
    nArquivos::SincronizarPasta(FPasta);
    Passo();
  } catch (const EFileError& erro) {
    try {
      Desfazer(entradas, comAnterior, renomeados);
    } catch (const EFileError& outro) {
      // The journal stays for the next run, and so do the temporaries it may need.
      for (auto& m : FMembros) m->Arquivo.MarcarRenomeado();
      throw EFileError(fmt::format("{} A gravação ficou pela metade e não pôde ser desfeita ({}); a próxima geração na "
                                   "pasta \"{}\" vai concluí-la ou desfazê-la.",
                                   erro.what(), outro.what(), CitarCaminho(FPasta)));
    }
    throw;
  }
  FConfirmado = true;

  // The new set is in place; what is left is tidying, which the next run finishes if need be.
  try {
    for (const TEntrada& e : entradas) {
      if (e.Anterior.empty()) continue;
      nArquivos::Remover(FPasta / e.Anterior);
      Passo();
    }
    nArquivos::SincronizarPasta(FPasta);
    nArquivos::Remover(caminhoDiario);
    Passo();
    nArquivos::SincronizarPasta(FPasta);
  } catch (const EFileError& e) {
    FAvisos.push_back(fmt::format("Os arquivos foram gravados, mas a limpeza da gravação na pasta \"{}\" não terminou ({}); "
                                  "a próxima geração nesta pasta vai terminá-la.",
                                  CitarCaminho(FPasta), e.what()));
  }
  FMembros.clear();
}

}  // namespace nFramework
