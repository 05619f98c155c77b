#include "UlmoEsfingeGrade_U.h"

#include "Dicionario_U.h"
#include "Exceptions_U.h"

namespace nUlmoEsfingeOnline {

using namespace nFramework;

void ConfigurarGrade(TClientDataSet& aDataSet, const std::string& aCampoMarca,
                     std::initializer_list<TColunaGrade> aColunas) {
  for (int i = 0; i < aDataSet.FieldCount(); ++i) aDataSet.Fields(i).ReadOnly = true;
  for (const TColunaGrade& c : aColunas) {
    TField* f = aDataSet.FindField(c.Nome);
    if (!f) throw EInternalError(aDataSet.Name + " sem a coluna " + c.Nome);
    f->DisplayLabel = c.Rotulo;
    f->Visible = c.Visivel;
    f->ValueList = c.Lista;
    f->DisplayFormat = c.Formato;
    f->Band = c.Banda;
  }
  TField& marca = aDataSet.FieldByName(aCampoMarca);
  marca.ReadOnly = false;
  if (const TnEntradaDicionario* dic = Dicionario().Encontrar("DICSELECIONADO")) marca.DisplayLabel = dic->Caption;
  aDataSet.CampoMarca = aCampoMarca;
}

}  // namespace nUlmoEsfingeOnline
