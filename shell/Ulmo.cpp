// The program ulmo: the shared start-up under the command line's front end, which its
// LinhaComando_U unit installs.
#include "Inicio_U.h"

int main(int argc, char** argv) { return ExecutarUlmo(argc, argv); }
