#include "UlmoEsfingeGrade_U.h"

#include "Classes_U.h"
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
  const TnEntradaDicionario* dic = Dicionario().Encontrar("DICSELECIONADO");
  if (marca.DisplayLabel.empty() && dic) marca.DisplayLabel = dic->Caption;
  std::string nome = aCampoMarca;
  marca.OnValidate = [dic, nome](TField&, const std::string& aTexto) {
    const std::string t = Trim(aTexto);
    if (t == "0" || t == "1") return;
    if (dic)
      for (const auto& [caption, valor] : ItensLista(dic->Lista))
        if (SameText(t, caption)) return;
    throw Exception("Valor inválido para a marcação (" + nome + "): use 1 para marcar ou 0 para desmarcar.");
  };
  aDataSet.CampoMarca = aCampoMarca;
}

}  // namespace nUlmoEsfingeOnline
