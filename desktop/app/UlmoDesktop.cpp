// The program ulmo-desktop: the shared start-up under the desktop's front end, which its
// FrontEndDesktop_U unit installs.
#include "FrontEndDesktop_U.h"
#include "Inicio_U.h"

int main(int argc, char** argv) {
  int codigo = ExecutarUlmo(argc, argv);
  nDesktop::EncerrarFrontEnd();
  return codigo;
}
