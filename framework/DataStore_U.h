// The rows of a dataset, shared by the dataset and its clones. Internal to the data layer.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "ClientDataSet_U.h"

namespace nFramework {

struct TDataStore {
  std::vector<TFieldDef> Defs;
  size_t Stride = 0;
  std::vector<TCell> Cells;
  std::vector<uint8_t> Deleted;
  std::string Arena;
  uint64_t Generation = 1;

  uint32_t RowCount() const { return static_cast<uint32_t>(Deleted.size()); }
  TCell* Row(uint32_t r) { return Cells.data() + static_cast<size_t>(r) * Stride; }
  const TCell* Row(uint32_t r) const { return Cells.data() + static_cast<size_t>(r) * Stride; }
  uint32_t AddRow() {
    Cells.resize(Cells.size() + Stride);
    Deleted.push_back(0);
    return RowCount() - 1;
  }
  std::string_view Text(const TCell& c) const {
    return c.Null ? std::string_view() : std::string_view(Arena.data() + c.Off, c.Len);
  }
  void SetText(TCell& c, std::string_view v) {
    c.Off = Arena.size();
    c.Len = static_cast<uint32_t>(v.size());
    c.Null = false;
    Arena.append(v);
  }
  void Clear() {
    Cells.clear();
    Deleted.clear();
    Arena.clear();
    ++Generation;
  }
};

}  // namespace nFramework
