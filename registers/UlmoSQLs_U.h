// SQL texts shared by the chart-mapping and asset processes and the TCE-PR generators.
// Holes "%s" and "%n:s" are filled with FormatSQL; ":CODIGOSISTEMA" and ":CODIGOEMPRESA" are
// query parameters. The texts are kept exactly, trailing blanks included.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "DateUtils_U.h"

namespace nUlmo {

class TUlmoSQLs {
 public:
  TUlmoSQLs() = delete;
  static std::string GetSQLSelectPlanoContabilEstatal();
  static std::string GetSQLSelectPlanoTCE();
  static std::string GetSQLSelectRelacBens();
  static std::string GetSQLSelectDadosPlanoPlEspec();
  static std::string GetSQLDeletePlanoPlEspec();
  // GetSQLSelectPlanoTCE with one more hole before its order: a condition on the mapping "T"
  // (one of the validity conditions below).
  static std::string GetSQLSelectPlanoTCEVigente();

  // Which mapping row of a company account counts, in every court's queries. An account may be
  // mapped to one court system more than once, each row valid from DATAINICIOPLANO to
  // DATAFIMPLANO (both days included; the column is required, so an open end is a far date, and
  // a null one would read as open). The rule:
  // - an entry counts under the mapping valid on its date;
  // - an opening balance under the mapping valid on the period's first day;
  // - a chart, balance or movement record that covers a period (or a month) under the mapping
  //   valid on that period's last day.
  // At most one row is chosen: among rows valid on the day, the one that starts last. When no
  // row is valid on the first (last) day, the row valid in the period that starts first (last)
  // stands in, so an account mapped only within the period still counts once. A row not valid
  // in the period is never chosen. Each function returns a condition on the mapping row of the
  // alias AAlias (a TCEPLANOPLESPEC), to be joined with "and".
  // AData: an SQL date expression (a column such as "L.DATALCTOCTB").
  static std::string GetSQLCondPlanoVigenteNaData(const std::string& AAlias, const std::string& AData);
  // The same for one mapping row given by its columns or parameters (company, account, system,
  // start) and already known valid on AData: no other row of the account valid on AData starts
  // later. For a query that reads the entries of one mapping row.
  static std::string GetSQLCondSemPlanoPosteriorNaData(const std::string& AEmpresa, const std::string& AConta,
                                                       const std::string& ASistema, const std::string& AInicio,
                                                       const std::string& AData);
  static std::string GetSQLCondPlanoVigenteInicioPeriodo(const std::string& AAlias, nFramework::TDateTime AInicio,
                                                          nFramework::TDateTime AFim);
  static std::string GetSQLCondPlanoVigenteFimPeriodo(const std::string& AAlias, nFramework::TDateTime AInicio,
                                                       nFramework::TDateTime AFim);
};

// Fills "%s" holes in order and "%n:s" holes by index, like the platform's Format; "%%" is a
// percent sign. Raises EInternalError when a hole has no argument.
std::string FormatSQL(std::string_view texto, const std::vector<std::string>& args);

}  // namespace nUlmo
