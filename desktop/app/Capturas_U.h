// The screenshots mode (ulmo-desktop --capturas DIR): renders the program's screens offscreen
// into PNG files for review by eye.
#pragma once
#include <QString>

#include "Action_U.h"
#include "Projeto_U.h"

namespace nDesktop {

class TSplashDesktop;

// Writes the splash, the main window (also with a menu open), the selection and database
// dialogs, the TCE-SC process opened from its menu and the chart-mapping register opened from
// the toolbar, then the process screens' own captures when that library offers them. Selects
// the TCE-SC company of the demo when nothing is selected. Returns the exit code.
// REQUIRES: a database is open and the module libraries are loaded.
int Capturar(const QString& aPasta, nFramework::TnFrmMenuBrivo& aMenu, const nFramework::TnPerModulos& aModulos,
             TSplashDesktop& aSplash);

}  // namespace nDesktop
