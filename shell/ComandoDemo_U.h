// `ulmo demo`: creates or refreshes the demo database (one company per court with a year of
// bookkeeping), or, given a size, builds the large synthetic company into the database.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

struct TOpcoesDemo {
  std::optional<int> Empresa;          // the large company's code
  std::optional<int64_t> Lancamentos;  // its entries
  std::optional<int> Contas;           // its chart's size
  std::optional<std::string> Tribunal;  // the court whose chart it is mapped to: SC, RS, PR or SE
  bool EmpresaGrande() const { return Empresa || Lancamentos || Contas || Tribunal; }
};

// REQUIRES: the configuration is settled (nConfig().Banco names the database).
int ComandoDemo(const TOpcoesDemo& aOpcoes, std::ostream& aOut, std::ostream& aErr);
