// SQL texts shared by the chart-mapping and asset processes and the TCE-PR generators.
// Holes "%s" and "%n:s" are filled with FormatSQL; ":CODIGOSISTEMA" and ":CODIGOEMPRESA" are
// query parameters. The texts are kept exactly, trailing blanks included.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace nUlmo {

class TUlmoSQLs {
 public:
  TUlmoSQLs() = delete;
  static std::string GetSQLSelectPlanoContabilEstatal();
  static std::string GetSQLSelectPlanoTCE();
  static std::string GetSQLSelectRelacBens();
  static std::string GetSQLSelectDadosPlanoPlEspec();
  static std::string GetSQLDeletePlanoPlEspec();
};

// Fills "%s" holes in order and "%n:s" holes by index, like the platform's Format; "%%" is a
// percent sign. Raises EInternalError when a hole has no argument.
std::string FormatSQL(std::string_view texto, const std::vector<std::string>& args);

}  // namespace nUlmo
