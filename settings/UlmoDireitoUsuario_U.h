// The module's user-rights hook: when the framework builds the rights actions of this module
// (element 8), the product family's rights generator records them from the module's actions.
#pragma once

namespace nUlmo {

// Installs the hook; the unit's initialization calls it when the library loads.
void InstalarDireitoUsuario();
// Removes it; the unit's finalization calls it when the library unloads.
void DesinstalarDireitoUsuario();

}  // namespace nUlmo
