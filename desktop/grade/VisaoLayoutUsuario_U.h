// The user's grid layouts kept in the desktop's settings (QSettings, so per user of the
// machine), one entry per form class and view: "layouts/<form class>/<view>".
#pragma once
#include "FrmPowerParamcxGridCloseTab_U.h"

namespace nDesktop {

class TArmazenamentoLayoutUsuario : public nFramework::IArmazenamentoLayout {
 public:
  std::optional<std::string> Ler(const std::string& form, const std::string& view) override;
  void Gravar(const std::string& form, const std::string& view, const std::string& texto) override;
};

// Hands the grid managers of the whole program the user's settings as their layout storage.
// REQUIRES: the application's organisation and name are set (they name the settings file).
void InstalarLayoutsDoUsuario();

}  // namespace nDesktop
