#include "ServicosDesktop_U.h"

namespace nDesktop {

void InstalarServicosDesktop() {}

}  // namespace nDesktop
