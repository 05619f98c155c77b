#include "ArvoreMensagens_U.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "AtomicFile_U.h"
#include "Exceptions_U.h"
#include "Projeto_U.h"
#include "TextoMensagem_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

constexpr int PapelTipo = Qt::UserRole + 1;

QStyle::StandardPixmap IconeDoTipo(int aTipo) {
  switch (aTipo) {
    case tmErro: return QStyle::SP_MessageBoxCritical;
    case tmParada: return QStyle::SP_BrowserStop;
    case tmAviso: return QStyle::SP_MessageBoxWarning;
    case tmConfirmacao: return QStyle::SP_DialogApplyButton;
    default: return QStyle::SP_MessageBoxInformation;
  }
}

// Dark enough to read on white, apart enough to tell at a glance.
QColor CorDoTipo(int aTipo, const QPalette& aPaleta) {
  switch (aTipo) {
    case tmErro:
    case tmParada: return QColor(0xb0, 0x1c, 0x1c);
    case tmAviso: return QColor(0x9a, 0x5b, 0x00);
    case tmConfirmacao: return QColor(0x1b, 0x6e, 0x20);
    default: return aPaleta.color(QPalette::Text);
  }
}

QString Plural(int n, const char* singular, const char* plural) {
  return QString::number(n) + " " + QString::fromUtf8(n == 1 ? singular : plural);
}

void TextoDoItem(const QTreeWidgetItem* aItem, int aNivel, QString& aTexto) {
  aTexto += QString(aNivel * 2, ' ') + "[" + QString::fromUtf8(NomeTipoMensagem(aItem->data(0, PapelTipo).toInt())) +
            "] " + aItem->text(0) + "\n";
  for (int i = 0; i < aItem->childCount(); ++i) TextoDoItem(aItem->child(i), aNivel + 1, aTexto);
}

int ContarItem(const QTreeWidgetItem* aItem, int aTipo) {
  int n = aItem->data(0, PapelTipo).toInt() == aTipo ? 1 : 0;
  for (int i = 0; i < aItem->childCount(); ++i) n += ContarItem(aItem->child(i), aTipo);
  return n;
}

}  // namespace

TArvoreMensagens::TArvoreMensagens(QWidget* aPai) : QWidget(aPai) {
  setObjectName("arvoreMensagens");
  auto* titulo = new QLabel("Mensagens", this);
  QFont negrito = titulo->font();
  negrito.setBold(true);
  titulo->setFont(negrito);
  FResumo = new QLabel(this);
  FResumo->setObjectName("lblResumoMensagens");
  FArvore = new QTreeWidget(this);
  FArvore->setObjectName("treeMensagens");
  FArvore->setHeaderHidden(true);
  FArvore->setColumnCount(1);
  FArvore->setUniformRowHeights(true);
  FArvore->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FArvore->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  FArvore->header()->setStretchLastSection(true);
  FArvore->setMinimumHeight(140);
  FCopiar = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogDetailedView), "Copiar", this);
  FCopiar->setObjectName("btnCopiar");
  FCopiar->setToolTip("Copia as mensagens para a área de transferência");
  FSalvar = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), "Salvar como texto", this);
  FSalvar->setObjectName("btnSalvarTexto");
  FSalvar->setToolTip("Grava as mensagens num arquivo de texto");
  connect(FCopiar, &QPushButton::clicked, this, &TArvoreMensagens::Copiar);
  connect(FSalvar, &QPushButton::clicked, this, &TArvoreMensagens::Salvar);

  auto* cabecalho = new QHBoxLayout;
  cabecalho->addWidget(titulo);
  cabecalho->addSpacing(12);
  cabecalho->addWidget(FResumo, 1);
  cabecalho->addWidget(FCopiar);
  cabecalho->addWidget(FSalvar);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(6);
  layout->addLayout(cabecalho);
  layout->addWidget(FArvore, 1);
  AtualizarResumo();
}

QTreeWidgetItem* TArvoreMensagens::Adicionar(QTreeWidgetItem* aPai, int aTipo, const std::string& aTexto,
                                             const std::string& aChave) {
  auto* item = aPai ? new QTreeWidgetItem(aPai) : new QTreeWidgetItem(FArvore);
  item->setText(0, QString::fromStdString(aTexto));
  item->setData(0, PapelTipo, aTipo);
  item->setIcon(0, style()->standardIcon(IconeDoTipo(aTipo)));
  item->setForeground(0, CorDoTipo(aTipo, palette()));
  // The key is the detail the command line prints beside a line that does not contain it.
  QString dica = QString::fromStdString(aTexto);
  if (!aChave.empty() && aTexto.find(aChave) == std::string::npos) dica += "\n" + QString::fromStdString(aChave);
  item->setToolTip(0, dica);
  return item;
}

void TArvoreMensagens::AdicionarNo(QTreeWidgetItem* aPai, const TnMsgNode& aNo) {
  QTreeWidgetItem* item = Adicionar(aPai, aNo.Tipo, aNo.Texto, aNo.Chave);
  for (const auto& f : aNo.Filhos) AdicionarNo(item, *f);
}

void TArvoreMensagens::Mostrar(const std::vector<const ITreeMessager*>& aArvores,
                               const std::vector<std::pair<int, std::string>>& aAntes) {
  FArvore->clear();
  for (const auto& [tipo, texto] : aAntes) Adicionar(nullptr, tipo, texto, {});
  for (const ITreeMessager* a : aArvores)
    for (const auto& n : a->Raizes()) AdicionarNo(nullptr, *n);
  FArvore->expandAll();
  AtualizarResumo();
}

void TArvoreMensagens::Limpar() {
  FArvore->clear();
  AtualizarResumo();
}

int TArvoreMensagens::Contar(int aTipo) const {
  int n = 0;
  for (int i = 0; i < FArvore->topLevelItemCount(); ++i) n += ContarItem(FArvore->topLevelItem(i), aTipo);
  return n;
}

void TArvoreMensagens::AtualizarResumo() {
  int erros = Contar(tmErro) + Contar(tmParada), avisos = Contar(tmAviso), ok = Contar(tmConfirmacao);
  int info = Contar(tmInformacao);
  if (FArvore->topLevelItemCount() == 0) {
    FResumo->setText("Nenhuma mensagem.");
  } else {
    QStringList partes;
    if (erros) partes << Plural(erros, "erro", "erros");
    if (avisos) partes << Plural(avisos, "aviso", "avisos");
    if (ok) partes << Plural(ok, "confirmação", "confirmações");
    if (info) partes << Plural(info, "informação", "informações");
    FResumo->setText(partes.join(", "));
  }
  FCopiar->setEnabled(FArvore->topLevelItemCount() > 0);
  FSalvar->setEnabled(FArvore->topLevelItemCount() > 0);
}

QString TArvoreMensagens::Texto() const {
  QString r;
  for (int i = 0; i < FArvore->topLevelItemCount(); ++i) TextoDoItem(FArvore->topLevelItem(i), 0, r);
  return r;
}

void TArvoreMensagens::Copiar() { QApplication::clipboard()->setText(Texto()); }

void TArvoreMensagens::SalvarEm(const QString& aCaminho) const {
  TAtomicFile arquivo(std::filesystem::path(aCaminho.toStdString()));
  arquivo.Write(Texto().toStdString());
  arquivo.Commit();
}

void TArvoreMensagens::Salvar() {
  QString caminho = QFileDialog::getSaveFileName(this, "Salvar mensagens como texto",
                                                 QDir::home().filePath("Mensagens.txt"),
                                                 "Arquivos de texto (*.txt);;Todos os arquivos (*)");
  if (caminho.isEmpty()) return;
  try {
    SalvarEm(caminho);
  } catch (const EFileError& e) {
    QMessageBox::critical(this, QString::fromStdString(Application().Title),
                          QString::fromStdString(MensagemDeErro(e)));
  }
}

}  // namespace nDesktop
