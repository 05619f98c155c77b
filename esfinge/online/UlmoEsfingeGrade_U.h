// What the e-Sfinge grids show of their columns: captions, hidden columns, value lists, formats
// and bands, with every column read-only but the tick column the user marks rows with. The send
// and the consultation processes describe their datasets with it once, when they create them.
#pragma once
#include <initializer_list>
#include <string>

#include "ClientDataSet_U.h"

namespace nUlmoEsfingeOnline {

struct TColunaGrade {
  const char* Nome;
  const char* Rotulo = "";
  bool Visivel = true;
  const char* Lista = "";    // "Caption=Value;..."
  const char* Formato = "";  // "#,##0.00", "dd/mm/yyyy"
  const char* Banda = "";
};

// REQUIRES: the dataset is created and has every column named. The tick column takes the
// caption of the "DICSELECIONADO" dictionary entry.
void ConfigurarGrade(nFramework::TClientDataSet& aDataSet, const std::string& aCampoMarca,
                     std::initializer_list<TColunaGrade> aColunas);

}  // namespace nUlmoEsfingeOnline
