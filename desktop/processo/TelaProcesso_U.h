// The screen of a process (DP): its parameter panel, its actions as buttons, its run off the
// user-interface thread with the progress frame, and its message tree.
#pragma once
#include <string>

class QWidget;

namespace nDesktop {

// The screen of the process class aClasse, ready to be shown in the main window's work area.
// Raises the framework's error when the class is not a process.
QWidget* CriarTelaProcesso(const std::string& aClasse, QWidget* aPai);

}  // namespace nDesktop
