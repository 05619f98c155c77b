#include "Conexao_U.h"

#include <algorithm>

#include <fmt/format.h>

#include "Classes_U.h"
#include "Exceptions_U.h"
#include "PostgreSQLDriver_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {
TnDMConexao* gConexao = nullptr;

bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
}  // namespace

EBancoInexistente::EBancoInexistente(std::string caminho)
    : EDatabaseError(fmt::format("O banco de dados \"{}\" não existe.", CitarCaminho(caminho))),
      FCaminho(std::move(caminho)) {}

std::string MensagemBancoSomenteLeitura(const std::string& caminho) {
  return fmt::format(
      "O banco de dados \"{}\" está aberto somente para leitura (o arquivo, ou a sua pasta, não pode ser gravado): "
      "nada foi gravado.",
      CitarCaminho(caminho));
}

TnDMConexao& Conexao() {
  if (!gConexao) throw EDatabaseError("Nenhuma conexão com o banco de dados está aberta");
  return *gConexao;
}

bool TemConexao() { return gConexao != nullptr; }
void SetConexao(TnDMConexao* conexao) { gConexao = conexao; }

size_t FimCitacaoSQL(std::string_view sql, size_t inicio) {
  const char aspa = sql[inicio];
  size_t j = inicio + 1;
  while (j < sql.size()) {
    if (sql[j] == aspa) {
      if (j + 1 < sql.size() && sql[j + 1] == aspa) {
        j += 2;
        continue;
      }
      return j + 1;
    }
    ++j;
  }
  return sql.size();
}

TSQLParametrizado ParametrizarSQL(std::string_view sql) {
  TSQLParametrizado r;
  r.Texto.reserve(sql.size());
  size_t i = 0;
  while (i < sql.size()) {
    char c = sql[i];
    if (c == '\'' || c == '"') {  // literal or quoted name: copy to its end
      const size_t fim = FimCitacaoSQL(sql, i);
      r.Texto.append(sql.substr(i, fim - i));
      i = fim;
      continue;
    }
    if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      size_t j = sql.find('\n', i);
      j = j == std::string_view::npos ? sql.size() : j;
      r.Texto.append(sql.substr(i, j - i));
      i = j;
      continue;
    }
    if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      size_t j = sql.find("*/", i + 2);
      j = j == std::string_view::npos ? sql.size() : j + 2;
      r.Texto.append(sql.substr(i, j - i));
      i = j;
      continue;
    }
    if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {  // a cast, not a parameter
      r.Texto.append("::");
      i += 2;
      continue;
    }
    if (c == ':' && i + 1 < sql.size() && (std::isalpha(static_cast<unsigned char>(sql[i + 1])) || sql[i + 1] == '_') &&
        (i == 0 || !IsIdentChar(sql[i - 1]))) {
      size_t j = i + 1;
      while (j < sql.size() && IsIdentChar(sql[j])) ++j;
      std::string name = UpperCase(sql.substr(i + 1, j - i - 1));
      auto it = std::find(r.Nomes.begin(), r.Nomes.end(), name);
      size_t index = static_cast<size_t>(it - r.Nomes.begin());
      if (it == r.Nomes.end()) r.Nomes.push_back(name);
      r.Texto += "?" + std::to_string(index + 1);
      i = j;
      continue;
    }
    r.Texto += c;
    ++i;
  }
  return r;
}

TnDMConexao::TnDMConexao(std::unique_ptr<IDriver> driver) : FDriver(std::move(driver)), FDriverName(FDriver->Name()) {}

TnDMConexao::~TnDMConexao() {
  FCache.clear();
  if (!FFrames.empty() || FReadOpen) {
    try {
      FDriver->RollbackTx();
    } catch (...) {
    }
  }
  if (gConexao == this) gConexao = nullptr;
}

std::unique_ptr<TnDMConexao> TnDMConexao::AbrirSQLite(const std::string& path, const TOpcoesBanco& opcoes) {
  return std::make_unique<TnDMConexao>(CriarDriverSQLite(path, opcoes));
}

std::unique_ptr<TnDMConexao> TnDMConexao::Abrir(const std::string& endereco, const TOpcoesBanco& opcoes) {
  if (EnderecoPostgreSQL(endereco)) return std::make_unique<TnDMConexao>(CriarDriverPostgreSQL(endereco, opcoes));
  return AbrirSQLite(endereco, opcoes);
}

bool TnDMConexao::InTransaction() const {
  return std::any_of(FFrames.begin(), FFrames.end(), [](const TFrame& f) { return f.Write; });
}

void TnDMConexao::BeginRead() {
  FDriver->Begin(false);
  FReadOpen = true;
}

void TnDMConexao::StartTransaction() {
  if (FDriver->SomenteLeitura()) throw EDatabaseError(MensagemBancoSomenteLeitura(FDriver->Caminho()));
  TFrame f;
  f.Write = true;
  if (InTransaction()) {
    f.SavepointName = "SP" + std::to_string(++FSavepointSeq);
    FDriver->Savepoint(f.SavepointName);
  } else {
    // Writes made while only read-only frames are open must become durable at their own
    // Commit, not when the outer read ends: close the read transaction and open a write one.
    if (FReadOpen) {
      FDriver->CommitTx();
      FReadOpen = false;
    }
    FDriver->Begin(true);
    f.OwnsBegin = true;
  }
  FFrames.push_back(f);
}

void TnDMConexao::Commit() {
  auto it = std::find_if(FFrames.rbegin(), FFrames.rend(), [](const TFrame& f) { return f.Write; });
  if (it == FFrames.rend()) throw EDatabaseError("Nenhuma transação aberta para confirmar");
  TFrame f = *it;
  FFrames.erase(std::next(it).base());
  if (!f.SavepointName.empty()) {
    FDriver->Release(f.SavepointName);
  } else {
    FDriver->CommitTx();
    if (!FFrames.empty()) BeginRead();  // read-only frames go on
  }
}

void TnDMConexao::RollBack() {
  auto it = std::find_if(FFrames.rbegin(), FFrames.rend(), [](const TFrame& f) { return f.Write; });
  if (it == FFrames.rend()) return;  // nothing to undo
  TFrame f = *it;
  FFrames.erase(std::next(it).base());
  if (!f.SavepointName.empty()) {
    FDriver->RollbackTo(f.SavepointName);
    FDriver->Release(f.SavepointName);
  } else {
    FDriver->RollbackTx();
    if (!FFrames.empty()) BeginRead();
  }
}

void TnDMConexao::StartTransactionRO(int id) {
  for (auto& f : FFrames)
    if (!f.Write && f.Id == id) {
      ++f.Count;
      return;
    }
  TFrame f;
  f.Id = id;
  if (FFrames.empty()) {
    BeginRead();
    f.OwnsBegin = true;
  }
  FFrames.push_back(f);
}

void TnDMConexao::CommitRO(int id) {
  auto it = std::find_if(FFrames.begin(), FFrames.end(), [id](const TFrame& f) { return !f.Write && f.Id == id; });
  if (it == FFrames.end()) return;
  if (--it->Count > 0) return;
  FFrames.erase(it);
  if (FFrames.empty() && FReadOpen) {
    FReadOpen = false;
    FDriver->CommitTx();
  }
}

void TnDMConexao::RollBackRO(int id) {
  // A read-only transaction has nothing of its own to undo: ending it is the same as committing.
  CommitRO(id);
}

TnDMConexao::TPrepared& TnDMConexao::Preparar(std::string_view sql) {
  std::string key(sql);
  auto it = FCache.find(key);
  if (it != FCache.end()) {
    it->second->Stmt->Reset();
    it->second->Stmt->ClearBindings();
    return *it->second;
  }
  if (FCache.size() > 256) FCache.clear();
  TSQLParametrizado p = ParametrizarSQL(sql);
  auto prepared = std::make_unique<TPrepared>();
  prepared->Stmt = FDriver->Prepare(FDriver->TranslateSQL(p.Texto));
  prepared->Nomes = std::move(p.Nomes);
  return *FCache.emplace(std::move(key), std::move(prepared)).first->second;
}

}  // namespace nFramework
