// TDialogoFormula: the formula editor of a calculation rule, behind the rule cell's button. The
// formula's text; the company's accounts with the balances the engine was handed, searchable;
// the functions the engine offers with their help; inserting either at the cursor; checking the
// text with the engine, and its value over those balances. OK refuses a formula the engine
// refuses ("Regra definida é inválida."); an empty text is no rule and passes.
//
// REQUIRES: the engine outlives the dialog (its balances are read once, when it opens).
#pragma once
#include <QDialog>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "RegraBaseCalculo_U.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTreeWidget;

namespace nDesktop {

class TModeloSaldos;
class TProxyPesquisa;

class TDialogoFormula : public QDialog {
  Q_OBJECT
 public:
  TDialogoFormula(const std::string& aFormula, const nFramework::TnDMRegraBaseCalculo& aRegra, QWidget* aPai = nullptr);

  // The text as the user leaves it: line breaks read as blanks, blanks trimmed at both ends;
  // the opening text itself when that is all that changed.
  std::string Formula() const;

  // Inserts at the cursor the account of the row the accounts' grid has current (a row of
  // the grid as shown: searched and sorted), or the function of the row of the functions'
  // list; a function wraps the selected text, if any, and leaves the cursor in its parentheses.
  void InserirContaAtual();
  void InserirFuncaoAtual();
  // Checks the text with the engine and shows the outcome, with the value when it passes.
  bool Verificar();
  void accept() override;

 private:
  void Inserir();
  void MostrarResultado(bool aValida, const QString& aTitulo, const QString& aDetalhe);
  QWidget* CriarContas();
  QWidget* CriarFuncoes();

  const nFramework::TnDMRegraBaseCalculo& FRegra;
  std::string FOriginal;
  QPlainTextEdit* FEditor;
  QLineEdit* FPesquisa = nullptr;
  QTableView* FContas = nullptr;
  QTreeWidget* FFuncoes = nullptr;
  QLabel* FResultado;
  TModeloSaldos* FModelo = nullptr;
  TProxyPesquisa* FProxy = nullptr;
  // The list "Inserir" takes from: the last one the user picked in.
  QWidget* FUltimaLista = nullptr;
};

// The editor, modal over aPai: the text the user confirms, or aFormula when cancelled.
std::string EditarFormula(const std::string& aFormula, const nFramework::TnDMRegraBaseCalculo& aRegra,
                          QWidget* aPai = nullptr);
// Installs EditarFormula as the framework's formula editor, over the active window.
void InstalarEditorFormula();

// Renders, offscreen, the editor over the first TCE-SE company's revenue rules with its
// balances ("formula-editor.png") and a refused formula ("formula-invalida.png") into aPasta,
// which is created when missing; returns the files. REQUIRES: a QApplication, an open
// connection, the grid classes registered (UlmoPkDevExpress loaded).
std::vector<std::filesystem::path> CapturarTelasFormula(const std::filesystem::path& aPasta);

}  // namespace nDesktop
