// TDialogoSelecao: the selection action "Selecionar Sistema TCE": picks the company and the
// court system the user works with, as --empresa and --sistema do on the command line.
#pragma once
#include <QDialog>

class QComboBox;
class QLabel;

namespace nDesktop {

class TDialogoSelecao : public QDialog {
  Q_OBJECT
 public:
  // Lists the companies and court systems of the open database, the current selection
  // preselected. aMotivo, when given, says why the dialog opened. REQUIRES: a database is open.
  explicit TDialogoSelecao(QWidget* aPai = nullptr, const QString& aMotivo = {});

  int Empresa() const;  // 0 when none
  int Sistema() const;  // 0 when none
  void SetEmpresa(int aCodigo);
  void SetSistema(int aCodigo);
  QComboBox* ComboEmpresa() const { return FEmpresa; }
  QComboBox* ComboSistema() const { return FSistema; }

  // Makes the dialog's choice the user's selection (keys and external variables).
  void Aplicar() const;

 private:
  void EmpresaEscolhida();

  QComboBox* FEmpresa;
  QComboBox* FSistema;
  QLabel* FVinculo;
};

}  // namespace nDesktop
