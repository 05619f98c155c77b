#include "Sorteio_U.h"

namespace nHost {

uint64_t TSorteio::Proximo() {
  uint64_t z = (FEstado += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int64_t TSorteio::Inteiro(int64_t minimo, int64_t maximo) {
  uint64_t faixa = static_cast<uint64_t>(maximo - minimo) + 1;
  return minimo + static_cast<int64_t>(Proximo() % faixa);
}

bool TSorteio::Chance(int percentual) { return Inteiro(1, 100) <= percentual; }

}  // namespace nHost
