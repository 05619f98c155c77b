// TClientDataSet: the in-memory dataset of the platform. Typed fields with nulls, a cursor,
// Append/Insert/Edit/Post, index field names, key search, ranges, simple filters and clones.
// Rows live in a store shared by a dataset and its clones; each dataset keeps its own order
// (index, range, filter) and cursor. Reading a field of the current row allocates nothing.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "Currency_U.h"
#include "DateUtils_U.h"
#include "Variant_U.h"

namespace nFramework {

enum class TFieldType {
  ftUnknown,
  ftSmallint,
  ftInteger,
  ftLargeint,
  ftFloat,
  ftCurrency,
  ftString,
  ftFixedChar,
  ftDate,
  ftDateTime,
  ftBoolean
};

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum TLocateOption : unsigned { loCaseInsensitive = 1, loPartialKey = 2 };

bool IsTextType(TFieldType t);
bool IsIntegerType(TFieldType t);
std::string FieldTypeName(TFieldType t);

struct TFieldDef {
  std::string Name;
  TFieldType DataType = TFieldType::ftString;
  int Size = 0;  // characters, for text fields; 0 = unbounded
  bool Required = false;
};

class TClientDataSet;
struct TDataStore;

// One stored value. Text lives in the store's arena (offset and length in bytes).
// 12 bytes, aligned to 4: a grid of millions of rows is mostly cells.
struct __attribute__((packed, aligned(4))) TCell {
  union {
    int64_t I;
    double D;
    uint64_t Off;
  };
  uint32_t Len : 31 = 0;
  bool Null : 1 = true;
  TCell() : I(0) {}
};
static_assert(sizeof(TCell) == 12);

// A column of a dataset. Reads and writes the dataset's current row (or its edit buffer).
class TField {
 public:
  const std::string& FieldName() const { return FFieldName; }
  TFieldType DataType() const { return FDataType; }
  int Size() const { return FSize; }
  int Index() const { return FIndex; }
  TClientDataSet& DataSet() const { return *FDataSet; }
  bool IsLookup() const { return FLookup != nullptr; }

  bool IsNull() const;
  int AsInteger() const;
  int64_t AsLargeInt() const;
  double AsFloat() const;
  Currency AsCurrency() const;
  TDateTime AsDateTime() const;
  bool AsBoolean() const;
  std::string AsString() const;
  // Valid until the next write to the dataset or the next call on this field.
  std::string_view AsStringView() const;
  TVariant Value() const;

  // Writes need the dataset in edit or insert state.
  void SetAsInteger(int64_t v);
  void SetAsFloat(double v);
  void SetAsCurrency(Currency v);
  void SetAsDateTime(TDateTime v);
  void SetAsBoolean(bool v);
  void SetAsString(std::string_view v);  // text of a number or date is converted; "" gives Null
  void SetValue(const TVariant& v);
  void Clear();

  // Presentation and rules, used by registers and front ends.
  std::string DisplayLabel;
  bool Required = false;
  bool Visible = true;
  bool ReadOnly = false;
  std::function<void(TField&)> OnChange;

  // What a grid shows and how a cell is edited; the command line and the desktop read the same.
  // ValueList: "Caption=Value;..." -- the cell shows the caption and an edit takes either.
  std::string ValueList;
  // "#,##0.00", "#,###,###", "dd/mm/yyyy"; empty: the type's own text.
  std::string DisplayFormat;
  int DisplayWidth = 0;  // characters; 0: from the size and type
  std::string Band;      // caption of the band the column sits under; empty: none
  // A text typed into a grid cell is checked here before it is stored: raise to refuse it.
  std::function<void(TField&, const std::string& aTexto)> OnValidate;
  // The cell's ellipsis button, on the dataset's current row (a grid shows the button only
  // where this is set): the handler edits the row itself, as the rule editor does.
  std::function<void(TField&)> OnButtonClick;

 private:
  friend class TClientDataSet;
  struct TLookupDef {
    std::vector<int> KeyFields;  // in this dataset
    TClientDataSet* LookupDataSet = nullptr;
    std::string LookupKeyFields;
    std::string LookupResultField;
  };
  const TCell& Cell() const;
  TCell& WritableCell();
  void Changed();
  TVariant LookupValue() const;

  std::string FFieldName;
  TFieldType FDataType = TFieldType::ftUnknown;
  int FSize = 0;
  int FIndex = -1;
  TClientDataSet* FDataSet = nullptr;
  std::unique_ptr<TLookupDef> FLookup;
  mutable std::string FScratch;
};

class TClientDataSet {
 public:
  TClientDataSet();
  virtual ~TClientDataSet();
  TClientDataSet(const TClientDataSet&) = delete;
  TClientDataSet& operator=(const TClientDataSet&) = delete;

  std::string Name;  // component name, e.g. "nClientDataSet"
  std::string DisplayCaption;  // the title a grid shows for the dataset
  // Text longer than its field is cut to the field's size, as the platform does. A register
  // turns this off so that it can refuse such a value rather than store less than was typed.
  bool CortarTexto = true;

  // Grid roles of columns (field names; empty: none). CampoMarca is the tick column the user
  // marks rows with; CamposChave (';'-separated) name a row for an import; CampoEstilo is a
  // hidden column whose non-zero value highlights its row as EstiloDestaque says
  // ("negrito-verde": bold on light green; "fonte-verde": green font).
  std::string CampoMarca;
  std::string CamposChave;
  std::string CampoEstilo;
  std::string EstiloDestaque;

  // Structure: declare FieldDefs, then CreateDataSet.
  std::vector<TFieldDef>& FieldDefs() { return FFieldDefs; }
  void AddFieldDef(std::string name, TFieldType type, int size = 0, bool required = false);
  void CreateDataSet();
  bool Active() const { return FState != TDataSetState::dsInactive; }
  void Close();

  int FieldCount() const { return static_cast<int>(FFields.size()); }
  TField& Fields(int i) const { return *FFields[static_cast<size_t>(i)]; }
  TField* FindField(std::string_view name) const;  // ignores case; the first of duplicates
  TField& FieldByName(std::string_view name) const;  // raises when missing
  // A field whose value comes from another dataset: the row of lookupDataSet whose lookupKeyFields
  // equal this dataset's keyFields gives lookupResultField.
  TField& AddFieldLookup(std::string name, TFieldType type, int size, std::string_view keyFields,
                         TClientDataSet& lookupDataSet, std::string lookupKeyFields, std::string lookupResultField);

  // Cursor.
  TDataSetState State() const { return FState; }
  int RecordCount() const;
  int RecNo() const { return FRecNo + 1; }  // 1-based, 0 when empty
  bool IsEmpty() const { return RecordCount() == 0; }
  bool Eof() const;
  bool Bof() const { return FBof; }
  void First();
  void Last();
  void Next();
  void Prior();
  void MoveBy(int distance);
  using TBookmark = int64_t;
  TBookmark GetBookmark() const;
  bool GotoBookmark(TBookmark b);

  // Editing.
  void Append();
  void Insert();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  void EmptyDataSet();
  void AppendRecord(std::initializer_list<TVariant> values);

  // Order and search. Field names are ';'-separated and match without regard to case.
  void SetIndexFieldNames(std::string_view names);
  const std::string& IndexFieldNames() const { return FIndexFieldNames; }
  // Exact match on the first values.size() index fields; positions the cursor.
  bool FindKey(const std::vector<TVariant>& values);
  // The first row at or after the key.
  void FindNearest(const std::vector<TVariant>& values);
  bool Locate(std::string_view fieldNames, const std::vector<TVariant>& values, unsigned options = 0);
  // Value of resultFields (';'-separated gives an array) of the first row matching, Null when none.
  TVariant Lookup(std::string_view keyFields, const std::vector<TVariant>& values, std::string_view resultFields);
  // Restricts the rows to index keys between start and end (prefixes of the index fields).
  void SetRange(const std::vector<TVariant>& start, const std::vector<TVariant>& end);
  void CancelRange();

  // Filter text such as "ENVIAR = 1" or "SELECIONADO = 1 and STATUS = '1'".
  void SetFilter(std::string_view text);
  const std::string& Filter() const { return FFilterText; }
  void SetFiltered(bool on);
  bool Filtered() const { return FFiltered; }

  // Visits every row in the current order; the cursor returns where it was.
  void ForEach(const std::function<void(TClientDataSet&)>& callback);

  void DisableControls() { ++FDisableCount; }
  void EnableControls() {
    if (FDisableCount > 0) --FDisableCount;
  }
  bool ControlsDisabled() const { return FDisableCount > 0; }

  // Events.
  std::function<void(TClientDataSet&)> OnNewRecord;
  std::function<void(TClientDataSet&)> BeforePost;
  std::function<void(TClientDataSet&)> AfterPost;
  std::function<void(TClientDataSet&)> BeforeDelete;
  std::function<void(TClientDataSet&)> AfterScroll;

  // A dataset keeps one map object per map class, bound by the field mapper.
  template <class TMap>
  TMap* GetMap() const {
    auto it = FMaps.find(typeid(TMap));
    return it == FMaps.end() ? nullptr : static_cast<TMap*>(it->second.get());
  }
  template <class TMap>
  TMap& SetMap(std::unique_ptr<TMap> map) {
    TMap& ref = *map;
    FMaps[typeid(TMap)] = std::shared_ptr<void>(map.release(), [](void* p) { delete static_cast<TMap*>(p); });
    return ref;
  }

 public:
  struct TFilterNode;  // a parsed filter

 protected:
  // For query datasets: reload rows into the existing fields.
  friend class TSQLLoader;
  std::shared_ptr<TDataStore> Store() const { return FStore; }
  void ResetRows();
  void RowsLoaded();

 private:
  friend class TField;
  friend std::unique_ptr<TClientDataSet> CloneCDS(TClientDataSet& source);
  friend void CopyDataCDS(TClientDataSet& source, TClientDataSet& target);

  const TCell* CurrentRow() const;
  void BuildFields();
  void RebuildView();
  void SyncView() const;
  bool Accepts(uint32_t row) const;
  int CompareRows(uint32_t a, uint32_t b) const;
  int CompareRowKey(uint32_t row, const std::vector<TVariant>& key, size_t count) const;
  std::vector<int> ResolveFields(std::string_view names) const;
  void CheckActive() const;
  void CheckEditing() const;
  void ScrollTo(int recNo);
  void DoAfterScroll();
  bool RowMatches(const TCell* cells, const std::vector<int>& fields, const std::vector<TVariant>& values, unsigned options) const;

  std::vector<TFieldDef> FFieldDefs;
  std::vector<std::unique_ptr<TField>> FFields;
  std::unordered_map<std::string, int> FFieldIndex;  // upper-case name -> first field
  std::shared_ptr<TDataStore> FStore;
  TDataSetState FState = TDataSetState::dsInactive;

  // Order of this dataset: every live row sorted by the index (then by row id), and the visible
  // rows after range and filter.
  std::string FIndexFieldNames;
  std::vector<int> FIndexFields;
  std::vector<uint32_t> FSorted;
  std::vector<uint32_t> FView;
  bool FHasRange = false;
  std::vector<TVariant> FRangeStart, FRangeEnd;
  std::string FFilterText;
  bool FFiltered = false;
  std::shared_ptr<TFilterNode> FFilter;
  mutable uint64_t FViewGeneration = 0;

  int FRecNo = -1;  // position in FView
  bool FBof = true;
  bool FEofFlag = true;
  std::vector<TCell> FBuffer;  // edit/insert buffer
  int64_t FEditRow = -1;       // row being edited
  int FInsertAt = -1;
  int FDisableCount = 0;
  std::unordered_map<std::type_index, std::shared_ptr<void>> FMaps;
};

// A dataset with the same rows and its own index, range, filter and cursor.
std::unique_ptr<TClientDataSet> CloneCDS(TClientDataSet& source);
// Appends every visible row of source to target, matching fields by name; a target without
// fields takes the source's structure.
void CopyDataCDS(TClientDataSet& source, TClientDataSet& target);

}  // namespace nFramework
