#include "ListaLinhas_U.h"

#include <algorithm>
#include <cstring>

#include "Classes_U.h"

namespace nFramework {

void TListaLinhas::Add(std::string_view linha) {
  if (FBlocos.empty() || linha.size() > FCapacidade - FUsado) {
    FCapacidade = std::max(TamanhoBloco, linha.size());
    FBlocos.emplace_back(new char[FCapacidade]);
    FUsado = 0;
  }
  char* destino = FBlocos.back().get() + FUsado;
  if (!linha.empty()) std::memcpy(destino, linha.data(), linha.size());
  FUsado += linha.size();
  FBytes += linha.size();
  TLinha l{};
  for (size_t i = 0; i < 24 && i < linha.size(); ++i) {
    auto c = static_cast<unsigned char>(linha[i]);
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 32);
    l.Chave[i / 8] |= static_cast<uint64_t>(c) << (8 * (7 - i % 8));
  }
  l.Texto = destino;
  l.Tamanho = static_cast<uint32_t>(linha.size());
  FLinhas.push_back(l);
}

void TListaLinhas::Sort() {
  std::stable_sort(FLinhas.begin(), FLinhas.end(), [](const TLinha& a, const TLinha& b) {
    if (a.Chave != b.Chave) return a.Chave < b.Chave;
    return CompareTextNoCase({a.Texto, a.Tamanho}, {b.Texto, b.Tamanho}) < 0;
  });
}

void TListaLinhas::Clear() {
  FBlocos.clear();
  FLinhas.clear();
  FUsado = FCapacidade = 0;
  FBytes = 0;
}

}  // namespace nFramework
