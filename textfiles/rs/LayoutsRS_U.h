// The TCE-RS record layouts of "MOVIMENT.txt" and "BAL_VER.txt", as data shared by the
// generators and their tests, and the number columns' rendering. Every column is left-aligned
// text; numbers arrive already zero-filled, and one that does not fit its column raises
// ENaoCabeRS instead of being cut.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "Currency_U.h"
#include "Exceptions_U.h"
#include "GeneratorFile_U.h"

namespace nUlmoRS {

struct TCampoRS {
  const char* Nome;
  int Largura;
  char Preenchimento;  // '\0': the writer's default (blanks)
};

using TLayoutRS = std::vector<TCampoRS>;

const TLayoutRS& LayoutCabecalhoMovimento();  // CAB of MOVIMENT.txt, 118
const TLayoutRS& LayoutCabecalhoBalancete();  // CAB of BAL_VER.txt, 118
const TLayoutRS& LayoutMovimento();           // MOV, 260
const TLayoutRS& LayoutBalancete();           // BAL, 252
const TLayoutRS& LayoutFinalizador();         // FIN, 21
int LarguraLinha(const TLayoutRS& layout);

// Declares the layout's columns on the record, in order.
void DeclararCampos(nFramework::TRecord& record, const TLayoutRS& layout);

// A value that does not fit its column; the message names the file, the account (when there
// is one), the column and the value.
class ENaoCabeRS : public nFramework::Exception {
 public:
  ENaoCabeRS(const std::string& arquivo, const std::string& conta, const std::string& coluna,
             const std::string& valor, int largura);
};

// A negative amount: the court's amount columns have no sign, so it is refused rather than
// written as its opposite; the message names the file, the account or entry, the column and
// the value.
class EValorNegativoRS : public nFramework::Exception {
 public:
  EValorNegativoRS(const std::string& arquivo, const std::string& conta, const std::string& coluna,
                   const std::string& valor);
};

// Where a value goes, for the message of a value that does not fit.
struct TContextoRS {
  std::string Arquivo;
  std::string Conta;  // empty when the column belongs to no account
};

// The text zero-filled on the left to the width; raises when it is longer.
std::string NumeroRS(std::string_view texto, int largura, const TContextoRS& contexto, const char* coluna);
// An amount as the court wants it: hundredths, without separator, 13 digits. Raises ENaoCabeRS
// when it is longer and EValorNegativoRS when it is below zero (the column has no sign).
// Cents are rounded half away from zero first.
std::string ValorRS(nFramework::Currency valor, const TContextoRS& contexto, const char* coluna);

}  // namespace nUlmoRS
