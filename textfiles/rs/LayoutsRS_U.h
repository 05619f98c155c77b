// The TCE-RS records of "MOVIMENT.txt" and "BAL_VER.txt", declared once as tables of fields and
// shared by the generators and their tests. Codes are zero-filled on the left, amounts are
// hundredths in 13 digits without sign, texts are filled with blanks on the right.
#pragma once
#include <string>
#include <string_view>

#include "Currency_U.h"
#include "Leiaute_U.h"

namespace nUlmoRS {

const nFramework::TLeiaute& LayoutCabecalhoMovimento();  // CAB of MOVIMENT.txt, 118
const nFramework::TLeiaute& LayoutCabecalhoBalancete();  // CAB of BAL_VER.txt, 118
const nFramework::TLeiaute& LayoutMovimento();           // MOV, 260
const nFramework::TLeiaute& LayoutBalancete();           // BAL, 252
const nFramework::TLeiaute& LayoutFinalizador();         // FIN, 21

// Refuses an amount the court's 13 digits without sign cannot hold, naming it as the user knows
// it ("-15.50", not the "-1550" the file would hold): ENaoCabe with the file, the record, the
// account, the field and the amount.
void ConferirValorRS(nFramework::Currency valor, const std::string& arquivo, const nFramework::TLeiaute& registro,
                     std::string_view conta, const char* campo);

}  // namespace nUlmoRS
