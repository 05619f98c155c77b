#include "GerarArquivoGenerator_U.h"

namespace nFramework {

TnDPGerarArquivoGenerator::~TnDPGerarArquivoGenerator() = default;

}  // namespace nFramework
