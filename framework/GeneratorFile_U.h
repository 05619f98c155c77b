// TGeneratorFile: writes a text file of records, one line per filled record, either in fixed
// width (no separator: every field filled or cut to its width, counted in characters) or
// delimited (fields joined by the separator). Lines end in CRLF; the text is Windows-1252
// unless told otherwise. Generation writes into a sink: by default an atomic file at
// folder/name, so a failure half-way leaves no file and the previous one intact.
#pragma once
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "AtomicFile_U.h"
#include "Currency_U.h"
#include "DateUtils_U.h"
#include "Encoding_U.h"

namespace nFramework {

enum class TJustification { Left, Right };
enum class TFieldKind { String, Numeric, Currency, Date };

// How a field is rendered. Fill '\0' means the writer's default: zeros for a right-aligned
// currency, blanks otherwise. Widths only pad in fixed-width files, where a number or a date
// that does not fit is an error, never cut; in delimited files a text is still cut to its
// width (when it may be cut) and a zero-filled numeric still gets its zeros.
struct TFieldLayout {
  std::string Name;
  TFieldKind Kind = TFieldKind::String;
  int Width = 0;  // 0: written as it is, never filled or cut
  char Fill = '\0';
  TJustification Justification = TJustification::Left;
  bool Truncate = true;    // text longer than the width is cut; otherwise it is an error
  bool UpperCase = false;  // text written in capitals (ASCII and Latin-1 letters)
  int Decimals = 0;
  bool ZeroFill = true;            // numeric: zeros on the left up to the width
  std::string DecimalSeparator;    // empty: implied decimals ("12.50" with 2 decimals gives "1250")
  bool RoundValue = true;          // currency: round half away from zero; otherwise cut the extra decimals
  bool ThousandSeparator = false;  // currency: group thousands with the other of '.' and ','
  std::string Format;              // date: a FormatDateTime pattern ("YYYY-MM-DD", "DDMMYYYY")
  bool EmptyWhenZero = true;       // date: the zero date (30/12/1899) is written empty
};

// A field of a record and the value of the line being filled. Generators set values through
// map classes whose members point at these columns (RecordMapper).
class TColuna {
 public:
  explicit TColuna(TFieldLayout layout);

  const std::string& Name() const { return FLayout.Name; }
  const TFieldLayout& Layout() const { return FLayout; }

  void SetAsString(std::string_view value) { FValue = std::string(value); }
  void SetAsInteger(int value) { FValue = static_cast<int64_t>(value); }
  void SetAsInt64(int64_t value) { FValue = value; }
  void SetAsDateTime(TDateTime value) { FValue = TDateValue{value}; }
  void SetAsCurrency(Currency value) { FValue = value; }
  void Clear() { FValue = std::monostate{}; }
  bool IsEmpty() const { return std::holds_alternative<std::monostate>(FValue); }

  // The value as this field's kind renders it (UTF-8), before filling or cutting to the width.
  // Raises EFileError for a value the kind cannot take ("12a" in a numeric field).
  std::string Texto() const;

 private:
  struct TDateValue {
    TDateTime Value;
  };
  TFieldLayout FLayout;
  std::variant<std::monostate, std::string, int64_t, Currency, TDateValue> FValue;
};

class TRecord {
 public:
  // skip = true: no line for this call. more = true: the record is filled again for another line.
  using TFillEvent = std::function<void(TRecord& record, bool& skip)>;
  using TNextEvent = std::function<void(TRecord& record, bool& more)>;

  explicit TRecord(std::string name) : FName(std::move(name)) {}
  TRecord(const TRecord&) = delete;
  TRecord& operator=(const TRecord&) = delete;

  const std::string& Name() const { return FName; }

  // Fields in line order; a name may repeat (FieldByName finds the first).
  TColuna& CreateFieldToString(std::string name, int width, char fill = '\0',
                               TJustification justification = TJustification::Left, bool truncate = true,
                               bool upperCase = false);
  TColuna& CreateFieldToNumeric(std::string name, int width, int decimals = 0, bool zeroFill = true,
                                std::string decimalSeparator = "");
  TColuna& CreateFieldToCurrency(std::string name, int width, int decimals = 2, char fill = '\0',
                                 bool rightJustified = true, bool roundValue = true,
                                 std::string decimalSeparator = ",", bool thousandSeparator = false);
  TColuna& CreateFieldToDate(std::string name, std::string format, int width, bool emptyWhenZero = true);
  TColuna& AddField(TFieldLayout layout);

  // The first field of that name, ignoring case; nullptr when there is none.
  TColuna* FieldByName(std::string_view name);
  size_t FieldCount() const { return FFields.size(); }
  TColuna& Field(size_t index) { return FFields[index]; }
  const TColuna& Field(size_t index) const { return FFields[index]; }
  // Sum of the widths: the length of a fixed-width line.
  int Width() const;
  void ClearValues();

  void SetOnFill(TFillEvent handler) { FOnFill = std::move(handler); }
  void SetOnNext(TNextEvent handler) { FOnNext = std::move(handler); }
  const TFillEvent& OnFill() const { return FOnFill; }
  const TNextEvent& OnNext() const { return FOnNext; }

  int64_t LineCount() const { return FLineCount; }

 private:
  friend class TGeneratorFile;
  std::string FName;
  std::deque<TColuna> FFields;  // a deque keeps the columns where map classes point at them
  TFillEvent FOnFill;
  TNextEvent FOnNext;
  int64_t FLineCount = 0;
};

// The records of a file, written in the order they are created.
class TRecordList {
 public:
  TRecord& CreateRecord(std::string name);
  size_t Count() const { return FRecords.size(); }
  TRecord& operator[](size_t index) { return *FRecords[index]; }
  TRecord* Find(std::string_view name);  // ignoring case
  void Clear() { FRecords.clear(); }

 private:
  std::vector<std::unique_ptr<TRecord>> FRecords;
};

class TGeneratorFile {
 public:
  TGeneratorFile() = default;
  TGeneratorFile(std::string folder, std::string fileName, std::string separator = "");
  TGeneratorFile(const TGeneratorFile&) = delete;
  TGeneratorFile& operator=(const TGeneratorFile&) = delete;

  void SetFolder(std::string folder) { FFolder = std::move(folder); }
  void SetFileName(std::string fileName) { FFileName = std::move(fileName); }
  void SetSeparator(std::string separator) { FSeparator = std::move(separator); }
  void SetEncoding(TEncoding encoding) { FEncoding = encoding; }
  // The output to write into instead of the file (not owned); nullptr goes back to the file.
  void SetSink(IOutputSink* sink) { FSink = sink; }

  const std::string& Folder() const { return FFolder; }
  const std::string& FileName() const { return FFileName; }
  const std::string& Separator() const { return FSeparator; }
  bool FixedWidth() const { return FSeparator.empty(); }
  // Folder and name joined; a folder given as text may end in '\' or '/'.
  std::filesystem::path FullPath() const;

  TRecordList& Records() { return FRecords; }

  // Checks the settings and resets the counts. Raises EFileError without a file name (and no sink).
  void Preparar();
  // Writes every record in declaration order: per record, clears its values, raises its fill
  // event and writes a line unless skipped, then asks its next event whether another line
  // follows (no event, or an event that leaves `more` alone, means no). The fill event runs at
  // least once per record. The output is committed only when everything was written; an
  // exception leaves no file (a given sink is simply not committed).
  void Gerar();
  // Clears the values of the last line. Safe to call after a failed Gerar().
  void Finalizar();

  int64_t LineCount() const { return FLineCount; }

 private:
  void WriteRecord(TRecord& record, IOutputSink& out, const std::string& separator);
  std::string RenderLine(TRecord& record, const std::string& separator) const;

  std::string FFolder;
  std::string FFileName;
  std::string FSeparator;
  TEncoding FEncoding = TEncoding::Windows1252;
  IOutputSink* FSink = nullptr;
  TRecordList FRecords;
  int64_t FLineCount = 0;
};

// Binds map classes (ULMO_MAP_CLASS(..., TColuna, ...)) to record fields by name.
class TRecordMapper {
 public:
  // Each member points at the record's field named prefix + member name, ignoring case;
  // a member without such a field becomes nullptr.
  template <class TMap>
  void MapearFields(TRecord& record, TMap& map, std::string_view prefix = {}) const {
    static_assert(std::is_same_v<typename TMap::TTarget, TColuna>, "a record map holds TColuna members");
    for (const auto& [name, member] : TMap::Members()) {
      std::string fieldName(prefix);
      fieldName += name;
      map.*member = record.FieldByName(fieldName);
    }
  }
};

inline const TRecordMapper& RecordMapper() {
  static const TRecordMapper mapper;
  return mapper;
}

}  // namespace nFramework
