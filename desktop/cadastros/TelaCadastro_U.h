// The screens of registers (DM) and lookups (DC): a grid of the register's rows with a search
// box and an edit form; and the pick dialog a lookup control opens.
#pragma once
#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "DMClientDataSet_U.h"
#include "Variant_U.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace nDesktop {

class TModeloDataSet;
class TProxyPesquisa;
class TFormCadastro;
enum class TModoForm;

// The screen of the register or lookup class aClasse, ready to be shown in the main window's
// work area. Raises the framework's error when the class is not a register.
QWidget* CriarTelaCadastro(const std::string& aClasse, QWidget* aPai);

// The pick dialog over the lookup class aClasse: the user finds a row and picks it; returns
// the value of aCampo (the class's key when empty) of the row picked, nothing when cancelled.
// aAtual is the value the control holds, selected on opening.
std::optional<std::string> EscolherDoCadastro(QWidget* aPai, const std::string& aClasse, const std::string& aCampo,
                                              const std::string& aAtual);
// The same over the rows that meet aCondicao (the lookup's columns, as a register's fetch
// takes them: "CODIGOEMPRESA = 1").
std::optional<std::string> EscolherDoCadastro(QWidget* aPai, const std::string& aClasse, const std::string& aCampo,
                                              const std::string& aAtual, const std::string& aCondicao);
// The same, with several rows picked (the multi-value lookups).
std::optional<std::vector<std::string>> EscolherVariosDoCadastro(QWidget* aPai, const std::string& aClasse,
                                                                 const std::string& aCampo,
                                                                 const std::vector<std::string>& aAtuais);
std::optional<std::vector<std::string>> EscolherVariosDoCadastro(QWidget* aPai, const std::string& aClasse,
                                                                 const std::string& aCampo,
                                                                 const std::vector<std::string>& aAtuais,
                                                                 const std::string& aCondicao);

// Renders, offscreen, the register's screen ("cadastro.png"), the edit form of its first row
// ("cadastro-formulario.png"), the pick dialog of its field aCampoEscolha
// ("cadastro-escolha.png") and a new row refused on save ("cadastro-recusa.png") into
// aPasta, which is created when missing; returns the files.
// Selection keys the user has not chosen take the values of the register's first row for the
// capture. REQUIRES: a QApplication, an open connection, the register's classes registered.
std::vector<std::filesystem::path> CapturarTelasCadastro(const std::filesystem::path& aPasta,
                                                         const std::string& aClasse = "TUlmoDMPlanoPlEspec",
                                                         const std::string& aCampoEscolha = "CONTATCE");

// The screen: the rows of the register under the user's selection, as the command line's
// `register list` gives them, sortable by any column and narrowed by the search box; a
// register's rows are inserted, edited and deleted through TFormCadastro and the register's
// rules; a lookup's are only viewed.
class TTelaCadastro : public QWidget {
  Q_OBJECT
 public:
  // Raises the framework's Exception when the class is not a register, or when the user's
  // selection lacks one of the register's selection keys.
  TTelaCadastro(const std::string& aClasse, QWidget* aPai = nullptr);
  ~TTelaCadastro() override;

  nFramework::TnDMClientDataSet& Cadastro() { return *FReg; }
  TModeloDataSet* Modelo() const { return FModelo; }
  TProxyPesquisa* Proxy() const { return FProxy; }
  QTableView* Grade() const { return FGrade; }
  QLineEdit* Pesquisa() const { return FPesquisa; }
  // The form open now, nullptr when none.
  TFormCadastro* Formulario() const { return FFormulario; }
  // The key values of the row selected in the grid; empty when none.
  std::vector<nFramework::TVariant> ChaveSelecionada() const;
  // Selects the row with those key values; false when the grid does not show it.
  bool SelecionarChave(const std::vector<nFramework::TVariant>& aChave);

 public slots:
  // Reads the register's rows again under the user's current selection, keeping the selected
  // row when it is still there.
  void Recarregar();
  void Incluir();
  void Alterar();
  // Asks for confirmation, then deletes the selected row through the register.
  void Excluir();

 private:
  void AbrirFormulario(TModoForm aModo);
  void ExcluirConfirmado(const std::vector<nFramework::TVariant>& aChave);
  void Avisar(const QString& aTexto);
  void AtualizarBotoes();
  QString DescricaoChave(const std::vector<nFramework::TVariant>& aChave) const;
  // The condition of the current selection into FCondicao, its text into aTexto; the keys
  // it lacks (nothing changed) when it is not complete.
  std::optional<std::string> LerSelecao(std::string& aTexto);

  std::string FClasse;
  nFramework::TnDMPtr<nFramework::TnDMClientDataSet> FReg;
  std::string FCondicao;
  QString FCaption;
  TModeloDataSet* FModelo = nullptr;
  TProxyPesquisa* FProxy = nullptr;
  QTableView* FGrade = nullptr;
  QLineEdit* FPesquisa = nullptr;
  QLabel* FContagem = nullptr;
  QLabel* FSelecao = nullptr;
  QPushButton* FIncluir = nullptr;
  QPushButton* FAlterar = nullptr;
  QPushButton* FExcluir = nullptr;
  TFormCadastro* FFormulario = nullptr;
};

}  // namespace nDesktop
