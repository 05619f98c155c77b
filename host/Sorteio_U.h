// A seeded pseudo-random sequence (splitmix64) that gives the same numbers on every machine and
// every run: the builders of sample data draw from it instead of the standard distributions,
// whose results differ between library implementations.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace nHost {

class TSorteio {
 public:
  explicit TSorteio(uint64_t semente) : FEstado(semente) {}
  uint64_t Proximo();
  // A whole number from `minimo` to `maximo`, both included.
  int64_t Inteiro(int64_t minimo, int64_t maximo);
  // True with the given chance, in percent.
  bool Chance(int percentual);
  template <class T>
  const T& Escolher(const std::vector<T>& itens) {
    return itens[static_cast<size_t>(Inteiro(0, static_cast<int64_t>(itens.size()) - 1))];
  }

 private:
  uint64_t FEstado;
};

}  // namespace nHost
