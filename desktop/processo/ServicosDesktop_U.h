// The desktop's dialog service and progress view: questions asked as message boxes, progress
// shown in the running process's frame, both marshalled to the user-interface thread when a
// process runs off it.
#pragma once

namespace nDesktop {

// Installs the services for the whole program. REQUIRES: a QApplication exists.
void InstalarServicosDesktop();

}  // namespace nDesktop
