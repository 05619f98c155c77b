// Inserts rows into one table through one prepared statement, for the builders that write many
// rows (the demo database, the large company).
// REQUIRES: a connection is open; the caller holds the write transaction.
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
  TInsercao(std::string tabela, std::string colunas);
  // One row, values in the order of the columns.
  void Linha(std::initializer_list<nFramework::TVariant> valores);
  void Linha(const std::vector<nFramework::TVariant>& valores);
  int64_t Quantidade() const { return FQuantidade; }

 private:
  template <class TLista>
  void Gravar(const TLista& valores);
  std::string FTabela;
  std::unique_ptr<nFramework::IStatement> FComando;  // its own, prepared once
  size_t FColunas = 0;
  int64_t FQuantidade = 0;
};

}  // namespace nHost
