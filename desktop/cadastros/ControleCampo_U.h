// TControleCampo: the control that edits one field of a register's form, chosen by the
// field's definition and dictionary: a list by its captions, a lookup (its code, a pick
// button and its description), a date that may be empty, a tick, an integer, a number or a
// text. It shows the field's value and writes back what the user typed; the form around it
// runs the register's rules.
#pragma once
#include <QDateEdit>
#include <string>
#include <vector>

#include "DMClientDataSet_U.h"
#include "Dicionario_U.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace nDesktop {

// A date edit that can be empty: its minimum stands for no date, and its calendar opens on
// the current month rather than on the minimum.
class TEditorData : public QDateEdit {
 public:
  explicit TEditorData(QWidget* aPai);
  bool Vazia() const;
  void Limpar();

 protected:
  bool eventFilter(QObject* aObjeto, QEvent* aEvento) override;
};

struct TControleCampo {
  enum TTipo { Texto, Inteiro, Numero, Lista, Datas, Marca, Vinculo };

  const nFramework::TnCampoDef* Def = nullptr;
  nFramework::TField* Campo = nullptr;
  TTipo Tipo = Texto;
  bool Bloqueado = false;  // a selection key, or a key the register keeps once stored
  bool Chave = false;
  QLabel* Rotulo = nullptr;
  QLineEdit* Linha = nullptr;
  QComboBox* Combo = nullptr;
  TEditorData* Data = nullptr;
  QCheckBox* Caixa = nullptr;
  QToolButton* Botao = nullptr;
  QLabel* Descricao = nullptr;
  std::string Erro;  // the text typed is no value
  // The lookup of a linked field: its class, the fields of this register its row is found by,
  // and the lookup's fields that describe it.
  std::string ClasseLookup;
  std::vector<std::string> ChavesLookup;
  std::vector<std::string> Exibidos;
  nFramework::TnDMPtr<nFramework::TnDMClientDataSet> Lookup;

  // The widget that takes the focus and the value (the code's box of a lookup).
  QWidget* Foco() const;
  // Creates the control's widgets under aPai by Def, Campo and the dictionary entry, and gives
  // the one the form's row holds. Lookups need ClasseLookup set first.
  QWidget* CriarEditor(QWidget* aPai, const nFramework::TnEntradaDicionario* aEntrada);
  // The field's value into the control.
  void Mostrar();
  // The control's value into the field; the reason when the text typed is no value.
  std::string Ler();
};

}  // namespace nDesktop
