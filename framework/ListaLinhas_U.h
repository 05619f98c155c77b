// TListaLinhas: many text lines kept in large blocks, without an allocation per line, for court
// files of millions of lines that must be sorted before they are written.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nFramework {

class TListaLinhas {
 public:
  void Add(std::string_view linha);
  size_t Count() const { return FLinhas.size(); }
  bool Empty() const { return FLinhas.empty(); }
  std::string_view operator[](size_t i) const { return {FLinhas[i].Texto, FLinhas[i].Tamanho}; }
  // Ascending by the whole text without regard to case; equal lines keep their order.
  void Sort();
  void Clear();
  size_t Bytes() const { return FBytes; }

 private:
  struct TLinha {
    // The first 24 characters, upper-cased, big-endian: most comparisons end here, without
    // touching the line itself.
    std::array<uint64_t, 3> Chave;
    const char* Texto;
    uint32_t Tamanho;
  };
  static constexpr size_t TamanhoBloco = 16u << 20;
  std::vector<std::unique_ptr<char[]>> FBlocos;
  size_t FUsado = 0, FCapacidade = 0;  // of the last block
  size_t FBytes = 0;
  std::vector<TLinha> FLinhas;
};

}  // namespace nFramework
