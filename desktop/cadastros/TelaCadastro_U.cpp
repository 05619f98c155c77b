#include "TelaCadastro_U.h"

#include <QLabel>

namespace nDesktop {

QWidget* CriarTelaCadastro(const std::string& aClasse, QWidget* aPai) {
  return new QLabel(QString::fromStdString(aClasse), aPai);
}

std::optional<std::string> EscolherDoCadastro(QWidget*, const std::string&, const std::string&, const std::string&) {
  return std::nullopt;
}

std::optional<std::vector<std::string>> EscolherVariosDoCadastro(QWidget*, const std::string&, const std::string&,
                                                                 const std::vector<std::string>&) {
  return std::nullopt;
}

}  // namespace nDesktop
