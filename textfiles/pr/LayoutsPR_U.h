// The TCE-PR records, one "|"-separated record per file, declared once as tables of fields and
// shared by the generators and their tests. Codes of a fixed number of digits are zero-filled,
// other numbers and texts are written as they are, amounts with a point and two decimals; every
// line ends in the empty field "Fim", so in "|".
#pragma once
#include "Leiaute_U.h"

namespace nUlmoPR {

const nFramework::TLeiaute& LayoutPessoaSEICED();
const nFramework::TLeiaute& LayoutPlanoContabil();
const nFramework::TLeiaute& LayoutSaldoCtbExercAnt();
const nFramework::TLeiaute& LayoutMovCtbMensal();
const nFramework::TLeiaute& LayoutPlanoContabilEstatal();
const nFramework::TLeiaute& LayoutBalanceteMensalEstatal();
const nFramework::TLeiaute& LayoutBens();

}  // namespace nUlmoPR
