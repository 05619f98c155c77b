#include "Fuzz_U.h"

#include "Encoding_U.h"

namespace nFuzz {

bool MensagemLimpa(std::string_view aMensagem) {
  for (unsigned char c : aMensagem)
    if (c < 0x20 || c == 0x7F) return false;
  try {
    nFramework::ValidarUtf8(aMensagem);
  } catch (const nFramework::EFileError&) {
    return false;
  }
  return true;
}

}  // namespace nFuzz
