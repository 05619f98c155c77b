// TDialogoBanco: the desktop's default login, which picks the database the program opens: a
// database file (the last ones used are remembered per user and the last one preselected) or a
// PostgreSQL server's address.
#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace nDesktop {

class TDialogoBanco : public QDialog {
  Q_OBJECT
 public:
  // aSugerido: the path shown first (the last used when empty); aErro: why the dialog opened
  // (a database given that does not exist), shown above the buttons.
  TDialogoBanco(const QString& aSugerido, const QString& aErro, QWidget* aPai = nullptr);

  QString Caminho() const;
  void SetCaminho(const QString& aCaminho);
  void SetErro(const QString& aErro);
  QString Erro() const;

  // The database files used last, the most recent first (QSettings, per user).
  static QStringList Recentes();
  // Remembers a database that opened.
  static void Lembrar(const QString& aCaminho);

 private:
  void Procurar();
  void Validar();

  QRadioButton* FArquivo;
  QRadioButton* FServidor;
  QComboBox* FCaminho;
  QLineEdit* FEndereco;
  QLabel* FErro;
};

// The login: shows the dialog until a database opens (AbrirBanco) or the user gives up
// (false). A database that opens is remembered.
bool EscolherEAbrirBanco(QWidget* aPai, const QString& aSugerido, const QString& aErro);
// Opens the configured database; on a failure the user can fix, its Portuguese message in
// aErro and false. Internal errors pass.
bool TentarAbrirBanco(QString& aErro);

}  // namespace nDesktop
