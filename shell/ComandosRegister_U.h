// `ulmo register CLASS list|get|insert|update|delete`: any registered register, through its
// own checks. FIELD=value pairs name the fields (a combo takes its caption too, a date is
// dd/mm/yyyy): list filters by them, get and delete take the key, insert gives the new row.
// For update the key fields pick the row and the others are set; to change a key, pick the
// row with @KEY=value pairs and set KEY=new value. A lookup (kind 2) answers list and get only.
// CLASS is a class name, an action name or a menu caption, as for run. The register's
// selection keys (--sistema, --empresa) filter every operation and fill a new row. The table
// shows a value list's caption; aFormato "csv" or "json" gives list and get as raw values.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "Action_U.h"

int ComandoRegister(const std::string& aClasse, const std::string& aOperacao, const std::vector<std::string>& aCampos,
                    const std::string& aFormato, const nFramework::TnPerModulos& aModulos, std::ostream& aOut,
                    std::ostream& aErr);
