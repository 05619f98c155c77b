// TUlmoEsfingeOnlineSql: the SQL texts of the e-Sfinge online client and of its processes.
// Templates with "%s" / "%n:s" holes for literals rendered by ValorParaSQL (see FormatSQL).
#pragma once
#include <string>

namespace nUlmoEsfingeOnline {

class TUlmoEsfingeOnlineSql {
 public:
  static std::string GetSqlInsertCfgEmpresaTce();
  static std::string GetSqlUpdateCfgEmpresaTce();
  static std::string GetSqlInsertTceEsfingeOnlineEnvio();
  static std::string GetSqlUpdateTceEsfingeOnlineEnvio();
  // Holes: company, first and last competence.
  static std::string GetSqlConsultaTceEsfingeOnlineEnvio();
  // Holes: company, court system, a condition on the mapping "T" (which row of an account counts).
  static std::string GetSqlConsultaContaSintetica();
};

}  // namespace nUlmoEsfingeOnline
