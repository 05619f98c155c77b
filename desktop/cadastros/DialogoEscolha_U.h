// TDialogoEscolha: a lookup as a pick dialog. A search box over the lookup's grid; OK, Enter
// or a double click picks the current row; in the multi-value variant a check box per row
// marks the rows picked.
//
// REQUIRES: a connection is open; the class is a registered register or lookup.
#pragma once
#include <QDialog>
#include <QSet>
#include <string>
#include <vector>

#include "DMClientDataSet_U.h"

class QLabel;
class QLineEdit;
class QTableView;

namespace nDesktop {

class TModeloDataSet;
class TProxyPesquisa;
class TProxyMarcas;

class TDialogoEscolha : public QDialog {
  Q_OBJECT
 public:
  // aCampo: the lookup's field whose value is returned (its key's last field when empty);
  // aCondicao: a condition over the lookup's columns that narrows its rows (empty: all).
  // Raises the framework's Exception when the class is not a register.
  TDialogoEscolha(QWidget* aPai, const std::string& aClasse, const std::string& aCampo, bool aVarios,
                  const std::string& aCondicao = {});
  ~TDialogoEscolha() override;

  // Marks (several) or selects (one) the rows whose value is among aValores.
  void Selecionar(const std::vector<std::string>& aValores);
  // The value of the current row (one) or of the marked rows in grid order (several).
  std::vector<std::string> Escolhidos() const;
  QTableView* Grade() const { return FGrade; }
  QLineEdit* Pesquisa() const { return FPesquisa; }

 protected:
  bool eventFilter(QObject* aObjeto, QEvent* aEvento) override;

 private:
  std::string Valor(int aLinhaModelo) const;
  void AtualizarContagem();

  nFramework::TnDMPtr<nFramework::TnDMClientDataSet> FLookup;
  nFramework::TField* FCampo = nullptr;
  bool FVarios;
  TModeloDataSet* FModelo = nullptr;
  TProxyMarcas* FMarcas = nullptr;
  TProxyPesquisa* FProxy = nullptr;
  QTableView* FGrade = nullptr;
  QLineEdit* FPesquisa = nullptr;
  QLabel* FContagem = nullptr;
};

}  // namespace nDesktop
