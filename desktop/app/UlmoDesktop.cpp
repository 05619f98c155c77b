// The program ulmo-desktop: the shared start-up under the desktop's front end, which its
// FrontEndDesktop_U unit installs.
#include "Inicio_U.h"

int main(int argc, char** argv) { return ExecutarUlmo(argc, argv); }
