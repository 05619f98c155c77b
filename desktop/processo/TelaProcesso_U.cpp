#include "TelaProcesso_U.h"

#include <QLabel>

namespace nDesktop {

QWidget* CriarTelaProcesso(const std::string& aClasse, QWidget* aPai) {
  return new QLabel(QString::fromStdString(aClasse), aPai);
}

}  // namespace nDesktop
