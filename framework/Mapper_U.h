// FieldMapper binds a map class (ULMO_MAP_CLASS(..., TField, ...)) to a dataset's columns by name,
// ignoring case; a member without a column of its name stays nullptr. A dataset keeps one map
// per map class, so binding twice gives the same object.
#pragma once
#include <memory>

#include "ClientDataSet_U.h"
#include "MapClass_U.h"

namespace nFramework {

class TFieldMapper {
 public:
  // Binds `map` to the dataset's fields (it stays owned by the caller).
  template <class TMap>
  void MapearFields(TClientDataSet& dataset, TMap& map) const {
    for (const auto& [name, member] : TMap::Members()) map.*member = dataset.FindField(name);
  }
  // The dataset's own map of that class, bound on first use.
  template <class TMap>
  TMap& MapearFields(TClientDataSet& dataset) const {
    if (TMap* existing = dataset.GetMap<TMap>()) return *existing;
    auto map = std::make_unique<TMap>();
    MapearFields(dataset, *map);
    return dataset.SetMap(std::move(map));
  }
};

inline const TFieldMapper& FieldMapper() {
  static const TFieldMapper mapper;
  return mapper;
}

}  // namespace nFramework
