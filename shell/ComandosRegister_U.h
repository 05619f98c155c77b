// `ulmo register CLASS list|get|insert|update|delete`: any registered register, through its
// own checks. FIELD=value pairs name the fields (a combo takes its caption too, a date is
// dd/mm/yyyy): list filters by them, get and delete take the key, insert gives the new row.
// For update the key fields pick the row and the others are set; to change a key, pick the
// row with @KEY=value pairs and set KEY=new value. A lookup (kind 2) answers list and get only.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

int ComandoRegister(const std::string& aClasse, const std::string& aOperacao, const std::vector<std::string>& aCampos,
                    std::ostream& aOut, std::ostream& aErr);
