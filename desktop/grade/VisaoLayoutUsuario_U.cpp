#include "VisaoLayoutUsuario_U.h"

#include <QSettings>
#include <QString>

namespace nDesktop {

namespace {

QString Chave(const std::string& form, const std::string& view) {
  return QStringLiteral("layouts/%1/%2").arg(QString::fromStdString(form), QString::fromStdString(view));
}

}  // namespace

std::optional<std::string> TArmazenamentoLayoutUsuario::Ler(const std::string& form, const std::string& view) {
  QVariant v = QSettings().value(Chave(form, view));
  if (!v.isValid()) return std::nullopt;
  return v.toString().toStdString();
}

void TArmazenamentoLayoutUsuario::Gravar(const std::string& form, const std::string& view, const std::string& texto) {
  QSettings s;
  s.setValue(Chave(form, view), QString::fromStdString(texto));
  // Written now: a program that ends without unwinding keeps the layout.
  s.sync();
}

void InstalarLayoutsDoUsuario() {
  static TArmazenamentoLayoutUsuario armazenamento;
  nFramework::SetArmazenamentoLayout(&armazenamento);
}

}  // namespace nDesktop
