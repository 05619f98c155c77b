// TFormCadastro: the form that inserts or edits one row of a register, one control per field
// by its definition and dictionary (a lookup with its description and a pick button, a list
// by its captions, a date, a tick, a text or number). The register decides: after every change
// its rules run again and the form shows which fields are enabled and required; Gravar posts
// the row (the register's checks) and writes it, and a refusal is shown in the form with
// nothing saved. The form works on an instance of its own, as the command line does, so the
// screen's grid never holds a half-edited row.
//
// REQUIRES: a connection is open; the class is a registered register.
#pragma once
#include <QDialog>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "DMClientDataSet_U.h"
#include "Variant_U.h"

class QLabel;
class QFrame;
class QPushButton;

namespace nDesktop {

class TDialogoEscolha;
struct TControleCampo;

enum class TModoForm { Inclusao, Alteracao, Consulta };

class TFormCadastro : public QDialog {
  Q_OBJECT
 public:
  // aChave: the values of the register's key fields (ChavePrimaria order) of the row to edit
  // or view; empty for an insertion. Raises the framework's Exception when the class is not a
  // register or the row is gone.
  TFormCadastro(QWidget* aPai, const std::string& aClasse, TModoForm aModo,
                const std::vector<nFramework::TVariant>& aChave = {});
  ~TFormCadastro() override;

  TModoForm Modo() const { return FModo; }
  nFramework::TnDMClientDataSet& Cadastro() { return *FReg; }
  // The key of the row written, after a successful Gravar.
  const std::vector<nFramework::TVariant>& ChaveGravada() const { return FChaveGravada; }
  // The message of the last refusal shown; empty when none.
  QString Mensagem() const;
  // The pick dialog of a linked field, over the rows its other link keys allow; nullptr when
  // the field has no lookup.
  std::unique_ptr<TDialogoEscolha> CriarEscolha(const std::string& aCampo);

 public slots:
  // Posts and writes the row; accepts the dialog when the register took it.
  void Gravar();
  void reject() override;

 private:
  void CriarControles();
  void AoAlterar(TControleCampo& aControle);
  // Values, enabled and required state, descriptions of every control but aExceto's value.
  void Atualizar(const TControleCampo* aExceto);
  void AtualizarDescricao(TControleCampo& aControle);
  void Escolher(TControleCampo& aControle);
  std::unique_ptr<TDialogoEscolha> CriarEscolha(TControleCampo& aControle, std::string& aCampo);
  void MostrarMensagem(const QString& aTexto);

  TModoForm FModo;
  nFramework::TnDMPtr<nFramework::TnDMClientDataSet> FReg;
  std::vector<std::unique_ptr<TControleCampo>> FControles;
  std::vector<nFramework::TVariant> FChaveGravada;
  QFrame* FQuadroMensagem = nullptr;
  QLabel* FMensagem = nullptr;
  QPushButton* FGravar = nullptr;
  bool FAtualizando = false;
};

// The condition "CAMPO = valor and ..." of a register's key values (ChavePrimaria order).
std::string CondicaoChave(nFramework::TnDMClientDataSet& aReg, const std::vector<nFramework::TVariant>& aChave);

}  // namespace nDesktop
