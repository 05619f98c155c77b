// The rows of a dataset, shared by the dataset and its clones. Internal to the data layer.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ClientDataSet_U.h"

namespace nFramework {

struct TDataStore {
  std::vector<TFieldDef> Defs;
  size_t Stride = 0;
  std::vector<uint8_t> Deleted;
  std::string Arena;
  uint64_t Generation = 1;

  uint32_t RowCount() const { return static_cast<uint32_t>(Deleted.size()); }
  TCell* Row(uint32_t r) { return FChunks[r >> kChunkBits].get() + static_cast<size_t>(r & kChunkMask) * Stride; }
  const TCell* Row(uint32_t r) const {
    return FChunks[r >> kChunkBits].get() + static_cast<size_t>(r & kChunkMask) * Stride;
  }
  uint32_t AddRow() {
    const uint32_t r = RowCount();
    if ((r & kChunkMask) == 0) FChunks.emplace_back(new TCell[Stride << kChunkBits]);
    Deleted.push_back(0);
    return r;
  }
  std::string_view Text(const TCell& c) const {
    return c.Null ? std::string_view() : std::string_view(Arena.data() + c.Off, c.Len);
  }
  // Texts are never changed in place, so a text already in the arena is shared: a grid's
  // columns repeat a few hundred account names and descriptions over millions of rows.
  void SetText(TCell& c, std::string_view v) {
    c.Len = static_cast<uint32_t>(v.size());
    c.Null = false;
    if (v.empty() || v.size() > kMaxShared || Arena.size() < kShareFrom) {
      c.Off = Append(v);
      return;
    }
    if (!FShared) FShared = std::make_unique<std::array<TShared, kSharedSlots>>();
    TShared& s = (*FShared)[Hash(v) & (kSharedSlots - 1)];
    if (s.Len == v.size() && std::string_view(Arena.data() + s.Off, s.Len) == v) {
      c.Off = s.Off;
      return;
    }
    c.Off = Append(v);
    s.Off = c.Off;
    s.Len = c.Len;
  }
  void Clear() {
    FChunks.clear();
    Deleted.clear();
    Arena.clear();
    FShared.reset();
    ++Generation;
  }

 private:
  // Rows live in fixed chunks: growing never moves them, and the peak is what the rows take.
  static constexpr uint32_t kChunkBits = 10, kChunkMask = (1u << kChunkBits) - 1;
  // Small stores are not worth the table; texts longer than a name or description rarely repeat.
  static constexpr size_t kShareFrom = 1 << 16, kMaxShared = 255, kSharedSlots = 1 << 16;
  struct TShared {
    uint64_t Off = 0;
    uint32_t Len = UINT32_MAX;
  };
  uint64_t Append(std::string_view v) {
    const uint64_t off = Arena.size();
    Arena.append(v);
    return off;
  }
  static uint64_t Hash(std::string_view v) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char ch : v) h = (h ^ ch) * 1099511628211ull;
    return h ^ (h >> 29);
  }
  std::vector<std::unique_ptr<TCell[]>> FChunks;
  std::unique_ptr<std::array<TShared, kSharedSlots>> FShared;
};

}  // namespace nFramework
