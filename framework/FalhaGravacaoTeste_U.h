// Test support for the file-failure tests of every generator: the operations of one whole run,
// to make each fail in turn, and what a folder holds, to compare before and after.
#pragma once
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "AtomicFile_U.h"
#include "TestFolder_U.h"

namespace nFramework {

struct TFalhaGravacao {
  nTesteGravacao::TOperacao Operacao;
  int Numero;
  std::string Descricao() const {
    static const char* const nomes[] = {"criação", "escrita", "sincronização", "renomeação", "remoção"};
    return std::string(nomes[static_cast<int>(Operacao)]) + " número " + std::to_string(Numero);
  }
};

// Runs `executar` once with no hook and returns every creation, write, sync and rename it made,
// one failure each.
inline std::vector<TFalhaGravacao> FalhasDeUmaExecucao(const std::function<void()>& executar) {
  using nTesteGravacao::TOperacao;
  nTesteGravacao::Desligar();
  executar();
  std::vector<TFalhaGravacao> r;
  for (TOperacao op : {TOperacao::Criacao, TOperacao::Escrita, TOperacao::Sincronizacao, TOperacao::Renomeacao})
    for (int n = 1; n <= nTesteGravacao::Contagem(op); ++n) r.push_back({op, n});
  nTesteGravacao::Desligar();
  return r;
}

// Every file under the folder (hidden ones included) by its path inside it, with its bytes.
inline std::map<std::string, std::string> ConteudoPasta(const std::filesystem::path& pasta) {
  std::map<std::string, std::string> r;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(pasta, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    r[std::filesystem::relative(it->path(), pasta).string() + (it->is_directory() ? "/" : "")] =
        it->is_directory() ? "" : ReadBytes(it->path());
  return r;
}

// Whether a file-failure message names one of the files (its quoted path ends in the name),
// the set's journal or the folder.
inline bool NomeiaOArquivo(const std::string& mensagem, const std::vector<std::string>& nomes) {
  for (const std::string& nome : nomes)
    if (mensagem.find("/" + nome + "\"") != std::string::npos) return true;
  return mensagem.find("/.ulmo-gravacao-em-andamento\"") != std::string::npos ||
         mensagem.find("na pasta \"") != std::string::npos;
}

// Names and sizes, for a readable failure.
inline std::string DescreverPasta(const std::map<std::string, std::string>& conteudo) {
  std::string r;
  for (const auto& [nome, bytes] : conteudo) r += nome + " (" + std::to_string(bytes.size()) + ") ";
  return r;
}

}  // namespace nFramework
