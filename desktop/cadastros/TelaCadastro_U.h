// The screens of registers (DM) and lookups (DC): a grid of the register's rows with a search
// box and an edit form; and the pick dialog a lookup control opens.
#pragma once
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace nDesktop {

// The screen of the register or lookup class aClasse, ready to be shown in the main window's
// work area. Raises the framework's error when the class is not a register.
QWidget* CriarTelaCadastro(const std::string& aClasse, QWidget* aPai);

// The pick dialog over the lookup class aClasse: the user finds a row and picks it; returns
// the value of aCampo (the class's key when empty) of the row picked, nothing when cancelled.
// aAtual is the value the control holds, selected on opening.
std::optional<std::string> EscolherDoCadastro(QWidget* aPai, const std::string& aClasse, const std::string& aCampo,
                                              const std::string& aAtual);
// The same, with several rows picked (the multi-value lookups).
std::optional<std::vector<std::string>> EscolherVariosDoCadastro(QWidget* aPai, const std::string& aClasse,
                                                                 const std::string& aCampo,
                                                                 const std::vector<std::string>& aAtuais);

}  // namespace nDesktop
