#include "DialogoBanco_U.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

#include "Conexao_U.h"
#include "Configuracao_U.h"
#include "Exceptions_U.h"
#include "PostgreSQLDriver_U.h"
#include "Projeto_U.h"
#include "TextoMensagem_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {
const char* ChaveRecentes = "banco/recentes";
constexpr int MaximoRecentes = 8;
}  // namespace

TDialogoBanco::TDialogoBanco(const QString& aSugerido, const QString& aErro, QWidget* aPai) : QDialog(aPai) {
  setObjectName(QStringLiteral("TDialogoBanco"));
  setWindowTitle(QStringLiteral("Abrir banco de dados"));
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(10);
  auto* intro = new QLabel(QStringLiteral("Escolha o banco de dados da contabilidade com que o programa vai trabalhar."));
  intro->setWordWrap(true);
  layout->addWidget(intro);

  auto* grupo = new QGroupBox(QStringLiteral("Banco de dados"));
  auto* grade = new QGridLayout(grupo);
  grade->setHorizontalSpacing(8);
  grade->setVerticalSpacing(8);
  FArquivo = new QRadioButton(QStringLiteral("Arquivo local (SQLite):"));
  FArquivo->setChecked(true);
  FCaminho = new QComboBox;
  FCaminho->setObjectName(QStringLiteral("caminho"));
  FCaminho->setEditable(true);
  FCaminho->setInsertPolicy(QComboBox::NoInsert);
  FCaminho->setMinimumContentsLength(42);
  FCaminho->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  for (const QString& r : Recentes())
    if (!EnderecoPostgreSQL(r.toStdString())) FCaminho->addItem(r);
  auto* procurar = new QPushButton(QStringLiteral("Procurar..."));
  procurar->setObjectName(QStringLiteral("procurar"));
  grade->addWidget(FArquivo, 0, 0);
  grade->addWidget(FCaminho, 0, 1);
  grade->addWidget(procurar, 0, 2);
  FServidor = new QRadioButton(QStringLiteral("Servidor (PostgreSQL):"));
  FServidor->setObjectName(QStringLiteral("servidor"));
  FEndereco = new QLineEdit;
  FEndereco->setObjectName(QStringLiteral("endereco"));
  FEndereco->setPlaceholderText(QStringLiteral("postgresql://usuario@servidor/banco"));
  FEndereco->setToolTip(QStringLiteral("A senha não vai no endereço: ela vem da variável PGPASSWORD ou do arquivo "
                                       "~/.pgpass."));
  FEndereco->setEnabled(false);
  connect(FServidor, &QRadioButton::toggled, this, [this](bool aServidor) {
    FEndereco->setEnabled(aServidor);
    FCaminho->setEnabled(!aServidor);
  });
  grade->addWidget(FServidor, 1, 0);
  grade->addWidget(FEndereco, 1, 1, 1, 2);
  grade->setColumnStretch(1, 1);
  layout->addWidget(grupo);

  FErro = new QLabel;
  FErro->setObjectName(QStringLiteral("erro"));
  FErro->setWordWrap(true);
  FErro->setStyleSheet(QStringLiteral("color: #b00020;"));
  FErro->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(FErro);
  layout->addStretch(1);

  auto* botoes = new QDialogButtonBox;
  auto* abrir = botoes->addButton(QStringLiteral("Abrir"), QDialogButtonBox::AcceptRole);
  abrir->setDefault(true);
  botoes->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
  layout->addWidget(botoes);

  connect(procurar, &QPushButton::clicked, this, &TDialogoBanco::Procurar);
  connect(botoes, &QDialogButtonBox::accepted, this, &TDialogoBanco::Validar);
  connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);

  if (!aSugerido.isEmpty()) SetCaminho(aSugerido);
  else if (!Recentes().isEmpty()) SetCaminho(Recentes().first());
  SetErro(aErro);
  setMinimumWidth(620);
}

QString TDialogoBanco::Caminho() const {
  return FServidor->isChecked() ? FEndereco->text().trimmed() : FCaminho->currentText().trimmed();
}

void TDialogoBanco::SetCaminho(const QString& aCaminho) {
  if (EnderecoPostgreSQL(aCaminho.toStdString())) {
    FServidor->setChecked(true);
    FEndereco->setText(aCaminho);
    return;
  }
  FArquivo->setChecked(true);
  int i = FCaminho->findText(aCaminho);
  if (i >= 0) FCaminho->setCurrentIndex(i);
  else FCaminho->setEditText(aCaminho);
}

void TDialogoBanco::SetErro(const QString& aErro) {
  FErro->setText(aErro);
  FErro->setVisible(!aErro.isEmpty());
}

QString TDialogoBanco::Erro() const { return FErro->text(); }

void TDialogoBanco::Procurar() {
  QString inicio = Caminho().isEmpty() ? QDir::currentPath() : QFileInfo(Caminho()).absolutePath();
  QString escolhido = QFileDialog::getOpenFileName(this, QStringLiteral("Escolher o banco de dados"), inicio,
                                                   QStringLiteral("Bancos de dados (*.db *.sqlite);;Todos os arquivos (*)"));
  if (!escolhido.isEmpty()) SetCaminho(QDir::toNativeSeparators(escolhido));
}

void TDialogoBanco::Validar() {
  if (Caminho().isEmpty()) {
    SetErro(FServidor->isChecked() ? QStringLiteral("Informe o endereço do servidor do banco de dados.")
                                   : QStringLiteral("Informe o arquivo do banco de dados."));
    if (FServidor->isChecked()) FEndereco->setFocus();
    else FCaminho->setFocus();
    return;
  }
  if (FServidor->isChecked() && !EnderecoPostgreSQL(Caminho().toStdString())) {
    SetErro(QStringLiteral("O endereço do servidor começa por postgresql:// (postgresql://usuario@servidor/banco)."));
    FEndereco->setFocus();
    return;
  }
  accept();
}

QStringList TDialogoBanco::Recentes() {
  QStringList l = QSettings().value(ChaveRecentes).toStringList();
  l.removeAll(QString());
  return l;
}

void TDialogoBanco::Lembrar(const QString& aCaminho) {
  QString absoluto = EnderecoPostgreSQL(aCaminho.toStdString()) ? aCaminho : QFileInfo(aCaminho).absoluteFilePath();
  QStringList l = Recentes();
  l.removeAll(absoluto);
  l.prepend(absoluto);
  while (l.size() > MaximoRecentes) l.removeLast();
  QSettings().setValue(ChaveRecentes, l);
}

bool TentarAbrirBanco(QString& aErro) {
  try {
    AbrirBanco();
    return true;
  } catch (const EBancoInexistente& e) {
    aErro = QStringLiteral("O banco de dados não existe: %1. Escolha outro arquivo; para criar o banco de "
                           "demonstração use: ulmo --db %1 demo")
                .arg(QString::fromStdString(e.Caminho()));
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    aErro = QString::fromStdString(MensagemDeErro(e));
  }
  return false;
}

bool EscolherEAbrirBanco(QWidget* aPai, const QString& aSugerido, const QString& aErro) {
  QString sugerido = aSugerido.isEmpty() && !TDialogoBanco::Recentes().isEmpty() ? TDialogoBanco::Recentes().first()
                                                                               : aSugerido;
  TDialogoBanco dialogo(sugerido, aErro, aPai);
  for (;;) {
    if (dialogo.exec() != QDialog::Accepted) return false;
    nConfig().Banco = dialogo.Caminho().toStdString();
    QString erro;
    if (TentarAbrirBanco(erro)) {
      TDialogoBanco::Lembrar(dialogo.Caminho());
      return true;
    }
    dialogo.SetErro(erro);
  }
}

}  // namespace nDesktop
