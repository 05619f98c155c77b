// The message tree of a run: errors, warnings, confirmations and information with an icon and
// a colour per kind, nested as the run made them, expanded; copied or saved as text.
#pragma once
#include <QWidget>
#include <string>
#include <vector>

#include "ControleMensagem_U.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace nDesktop {

class TArvoreMensagens : public QWidget {
  Q_OBJECT
 public:
  explicit TArvoreMensagens(QWidget* aPai = nullptr);

  // Shows the trees in order, after the lines aAntes (a run's own failure, say), all expanded.
  // The trees are copied: the view keeps nothing of them.
  void Mostrar(const std::vector<const nFramework::ITreeMessager*>& aArvores,
               const std::vector<std::pair<int, std::string>>& aAntes = {});
  void Limpar();

  // "[ERRO] text", children indented by two blanks per level, as the command line prints it.
  QString Texto() const;
  QTreeWidget* Arvore() const { return FArvore; }
  // Lines of a kind shown.
  int Contar(int aTipo) const;
  QPushButton* BotaoCopiar() const { return FCopiar; }
  QPushButton* BotaoSalvar() const { return FSalvar; }
  // Writes Texto() to the file, whole or not at all; raises the framework's EFileError.
  void SalvarEm(const QString& aCaminho) const;

 private:
  QTreeWidgetItem* Adicionar(QTreeWidgetItem* aPai, int aTipo, const std::string& aTexto, const std::string& aChave);
  void AdicionarNo(QTreeWidgetItem* aPai, const nFramework::TnMsgNode& aNo);
  void AtualizarResumo();
  void Copiar();
  void Salvar();

  QLabel* FResumo;
  QTreeWidget* FArvore;
  QPushButton* FCopiar;
  QPushButton* FSalvar;
};

}  // namespace nDesktop
