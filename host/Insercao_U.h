// Inserts rows into one table through prepared statements, for the builders that write many
// rows (the demo database, the large company). Asked for batches, on a server it sends the rows
// several to one statement, so that a million rows are not a million round trips (on the
// embedded engine a statement is a call within the process, and each row goes on its own); a
// row held for its batch is not in the table yet.
// REQUIRES: a connection is open; the caller holds the write transaction, and ends the insertion
// (Concluir, or the destructor when no exception is under way) before committing.
#pragma once
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "Conexao_U.h"
#include "Variant_U.h"

namespace nHost {

class TInsercao {
 public:
  // `colunas` separated by commas, as in the statement.
  TInsercao(std::string tabela, std::string colunas, bool emLotes = false);
  // Writes the rows still held. Raises as Linha does; when an exception is already under way the
  // held rows are dropped, as the transaction they belong to is rolled back.
  ~TInsercao() noexcept(false);
  TInsercao(const TInsercao&) = delete;
  TInsercao& operator=(const TInsercao&) = delete;
  // One row, values in the order of the columns.
  void Linha(std::initializer_list<nFramework::TVariant> valores);
  void Linha(const std::vector<nFramework::TVariant>& valores);
  // Writes the rows still held.
  void Concluir();
  int64_t Quantidade() const { return FQuantidade; }

 private:
  template <class TLista>
  void Guardar(const TLista& valores);
  void Gravar(nFramework::IStatement& comando, size_t linhas);
  std::unique_ptr<nFramework::IStatement> Preparar(size_t linhas);
  std::string FTabela, FColunas;
  size_t FNumeroColunas = 0;
  size_t FLote = 1;  // rows to a statement
  std::unique_ptr<nFramework::IStatement> FComando;  // of a whole batch, prepared once
  std::vector<nFramework::TVariant> FValores;        // of the rows held
  int64_t FQuantidade = 0;                           // rows written
  int FExcecoes = 0;
};

}  // namespace nHost
