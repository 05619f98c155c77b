#include "ClientDataSet_U.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "Classes_U.h"
#include "DataStore_U.h"
#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

const TCell kNullCells[64];

std::string Upper(std::string_view s) { return UpperCase(s); }

// Cuts UTF-8 text to at most n characters.
std::string_view CutChars(std::string_view s, int n) {
  if (n <= 0) return s;
  size_t chars = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (chars == static_cast<size_t>(n)) return s.substr(0, i);
      ++chars;
    }
  }
  return s;
}

std::string FormatDate(TDateTime d, bool withTime) {
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  char buf[40];
  int len = std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", dd, m, y);
  if (withTime) {
    int h, mi, s, ms;
    DecodeTime(d, h, mi, s, ms);
    if (h || mi || s) std::snprintf(buf + len, sizeof buf - static_cast<size_t>(len), " %02d:%02d:%02d", h, mi, s);
  }
  return buf;
}

// The code points of UTF-8 text folded to upper case (ASCII and the accented Latin letters),
// so that like matches without regard to case as the platform's filters do. A byte that
// starts no valid sequence stands for itself.
std::vector<char32_t> Dobrar(std::string_view s) {
  std::vector<char32_t> r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp = c;
    size_t n = 1;
    if (c >= 0xC0 && c < 0xE0) n = 2, cp = c & 0x1F;
    else if (c >= 0xE0 && c < 0xF0) n = 3, cp = c & 0x0F;
    else if (c >= 0xF0 && c < 0xF8) n = 4, cp = c & 0x07;
    bool valido = n == 1 || i + n <= s.size();
    for (size_t k = 1; valido && k < n; ++k) {
      unsigned char d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) valido = false;
      else cp = (cp << 6) | (d & 0x3F);
    }
    if (!valido) n = 1, cp = c;
    if (cp >= 'a' && cp <= 'z') cp -= 0x20;
    else if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) cp -= 0x20;
    r.push_back(cp);
    i += n;
  }
  return r;
}

// SQL's like: % any run of characters (none too), _ exactly one.
bool CasaLike(const std::vector<char32_t>& texto, const std::vector<char32_t>& padrao) {
  size_t t = 0, p = 0, estrela = std::string::npos, volta = 0;
  while (t < texto.size()) {
    if (p < padrao.size() && (padrao[p] == U'_' || (padrao[p] != U'%' && padrao[p] == texto[t]))) {
      ++t, ++p;
    } else if (p < padrao.size() && padrao[p] == U'%') {
      estrela = p++;
      volta = t;
    } else if (estrela != std::string::npos) {
      p = estrela + 1;
      t = ++volta;
    } else {
      return false;
    }
  }
  while (p < padrao.size() && padrao[p] == U'%') ++p;
  return p == padrao.size();
}

// The text a field of that type shows for a stored value (as TField::AsString gives it).
std::string TextoDaCelula(const TDataStore& store, TFieldType t, const TCell& c) {
  switch (t) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint: return std::to_string(c.I);
    case TFieldType::ftFloat: {
      char buf[64];
      auto r = std::to_chars(buf, buf + sizeof buf, c.D);
      return std::string(buf, r.ptr);
    }
    case TFieldType::ftCurrency: return Currency::FromRaw(c.I).ToString();
    case TFieldType::ftDate: return FormatDate(c.D, false);
    case TFieldType::ftDateTime: return FormatDate(c.D, true);
    case TFieldType::ftBoolean: return c.I ? "True" : "False";
    default: return std::string(store.Text(c));
  }
}

}  // namespace

bool IsTextType(TFieldType t) { return t == TFieldType::ftString || t == TFieldType::ftFixedChar; }

bool IsIntegerType(TFieldType t) {
  return t == TFieldType::ftSmallint || t == TFieldType::ftInteger || t == TFieldType::ftLargeint;
}

std::string FieldTypeName(TFieldType t) {
  switch (t) {
    case TFieldType::ftSmallint: return "smallint";
    case TFieldType::ftInteger: return "integer";
    case TFieldType::ftLargeint: return "largeint";
    case TFieldType::ftFloat: return "float";
    case TFieldType::ftCurrency: return "currency";
    case TFieldType::ftString: return "string";
    case TFieldType::ftFixedChar: return "fixedchar";
    case TFieldType::ftDate: return "date";
    case TFieldType::ftDateTime: return "datetime";
    case TFieldType::ftBoolean: return "boolean";
    case TFieldType::ftUnknown: break;
  }
  return "unknown";
}

// ---------------------------------------------------------------- filter

struct TClientDataSet::TFilterNode {
  enum TKind { And, Or, Not, Cmp, IsNull, NotNull, Like } Kind = Cmp;
  std::string Op;
  int Field = -1;
  TVariant Literal;
  std::vector<char32_t> Padrao;  // of like, folded once
  std::shared_ptr<TFilterNode> A;  // of not
  // Of and, or: every operand of a run, so that a long chain adds no depth to the tree.
  std::vector<std::shared_ptr<TFilterNode>> Operandos;
};

namespace {

// Parentheses and "not" nested in a filter: the parser, the row test and the tree's destruction
// recurse once per level.
constexpr int MaxNiveisFiltro = 64;

struct TFilterParser {
  std::string_view T;
  size_t P = 0;
  const std::function<int(std::string_view)>& Resolve;
  int Nivel = 0;
  // Turns a compared literal into the field's type once (by field index); raises EConvertError
  // for one the field cannot be compared with.
  const std::function<void(int, TVariant&)>* Preparar = nullptr;

  [[noreturn]] void Fail(const std::string& why) const {
    throw EDatabaseError("Filtro inválido (" + why + "): " + CitarValor(T));
  }
  void Descer() {
    if (++Nivel > MaxNiveisFiltro)
      Fail("mais de " + std::to_string(MaxNiveisFiltro) + " níveis de parênteses e \"not\" na posição " +
           std::to_string(P + 1));
  }
  void Skip() {
    while (P < T.size() && (T[P] == ' ' || T[P] == '\t' || T[P] == '\r' || T[P] == '\n')) ++P;
  }
  bool Keyword(std::string_view k) {
    Skip();
    if (P + k.size() > T.size() || !SameText(T.substr(P, k.size()), k)) return false;
    size_t e = P + k.size();
    if (e < T.size() && (std::isalnum(static_cast<unsigned char>(T[e])) || T[e] == '_')) return false;
    P = e;
    return true;
  }
  using Node = std::shared_ptr<TClientDataSet::TFilterNode>;
  Node Expr() {
    Node l = Term();
    if (!Keyword("or")) return l;
    auto n = std::make_shared<TClientDataSet::TFilterNode>();
    n->Kind = TClientDataSet::TFilterNode::Or;
    n->Operandos.push_back(l);
    do {
      n->Operandos.push_back(Term());
    } while (Keyword("or"));
    return n;
  }
  Node Term() {
    Node l = Factor();
    if (!Keyword("and")) return l;
    auto n = std::make_shared<TClientDataSet::TFilterNode>();
    n->Kind = TClientDataSet::TFilterNode::And;
    n->Operandos.push_back(l);
    do {
      n->Operandos.push_back(Factor());
    } while (Keyword("and"));
    return n;
  }
  Node Factor() {
    if (Keyword("not")) {
      Descer();
      auto n = std::make_shared<TClientDataSet::TFilterNode>();
      n->Kind = TClientDataSet::TFilterNode::Not;
      n->A = Factor();
      --Nivel;
      return n;
    }
    Skip();
    if (P < T.size() && T[P] == '(') {
      Descer();
      ++P;
      Node n = Expr();
      Skip();
      if (P >= T.size() || T[P] != ')') Fail("falta ')'");
      ++P;
      --Nivel;
      return n;
    }
    return Comparison();
  }
  Node Comparison() {
    Skip();
    size_t s = P;
    while (P < T.size() && (std::isalnum(static_cast<unsigned char>(T[P])) || T[P] == '_' || T[P] == '.')) ++P;
    if (s == P) Fail("campo esperado");
    const size_t nome = P - s;
    auto n = std::make_shared<TClientDataSet::TFilterNode>();
    n->Field = Resolve(T.substr(s, P - s));
    if (n->Field < 0) Fail("campo desconhecido " + CitarValor(T.substr(s, P - s)));
    if (Keyword("is")) {
      bool negate = Keyword("not");
      if (!Keyword("null")) Fail("null esperado");
      n->Kind = negate ? TClientDataSet::TFilterNode::NotNull : TClientDataSet::TFilterNode::IsNull;
      return n;
    }
    // "like" and "not like" with % (any run of characters) and _ (one character).
    size_t antesNot = P;
    bool negarLike = Keyword("not");
    if (Keyword("like")) {
      n->Kind = TClientDataSet::TFilterNode::Like;
      n->Op = negarLike ? "not like" : "like";
      n->Literal = Literal();
      if (n->Literal.Kind() != TVarKind::String) Fail("texto entre aspas esperado após like");
      n->Padrao = Dobrar(n->Literal.AsString());
      return n;
    }
    P = antesNot;
    Skip();
    static const char* ops[] = {"<>", "!=", "<=", ">=", "=", "<", ">"};
    for (const char* op : ops) {
      size_t len = std::strlen(op);
      if (T.substr(P, len) == op) {
        n->Op = op;
        P += len;
        break;
      }
    }
    if (n->Op.empty()) Fail("operador esperado");
    if (n->Op == "!=") n->Op = "<>";
    n->Literal = Literal();
    if (Preparar) {
      try {
        (*Preparar)(n->Field, n->Literal);
      } catch (const EConvertError& e) {
        Fail(std::string(e.what()) + " para o campo " + std::string(T.substr(s, nome)));
      }
    }
    return n;
  }
  TVariant Literal() {
    Skip();
    if (P < T.size() && T[P] == '\'') {
      std::string v;
      ++P;
      while (true) {
        if (P >= T.size()) Fail("texto sem fim");
        if (T[P] == '\'') {
          if (P + 1 < T.size() && T[P + 1] == '\'') {
            v += '\'';
            P += 2;
            continue;
          }
          ++P;
          break;
        }
        v += T[P++];
      }
      return TVariant(v);
    }
    if (Keyword("null")) return Null;
    size_t s = P;
    if (P < T.size() && (T[P] == '-' || T[P] == '+')) ++P;
    while (P < T.size() && (std::isdigit(static_cast<unsigned char>(T[P])) || T[P] == '.')) ++P;
    std::string_view num = T.substr(s, P - s);
    int64_t i;
    if (TryStrToInt64(num, i)) return TVariant(static_cast<long long>(i));
    double d;
    if (TryStrToFloat(num, d)) return TVariant(d);
    Fail("valor esperado");
  }
};

}  // namespace

// ---------------------------------------------------------------- field

const TCell& TField::Cell() const {
  const TCell* row = FDataSet->CurrentRow();
  return row[FIndex];
}

TCell& TField::WritableCell() {
  FDataSet->CheckEditing();
  if (FLookup) throw EDatabaseError("O campo '" + FFieldName + "' não pode ser alterado");
  return FDataSet->FBuffer[static_cast<size_t>(FIndex)];
}

void TField::Changed() {
  if (OnChange) OnChange(*this);
}

TVariant TField::LookupValue() const {
  std::vector<TVariant> keys;
  keys.reserve(FLookup->KeyFields.size());
  for (int k : FLookup->KeyFields) keys.push_back(FDataSet->Fields(k).Value());
  return FLookup->LookupDataSet->Lookup(FLookup->LookupKeyFields, keys, FLookup->LookupResultField);
}

bool TField::IsNull() const {
  if (FLookup) return LookupValue().IsNull();
  return Cell().Null;
}

int64_t TField::AsLargeInt() const {
  if (FLookup) return LookupValue().AsInt64();
  const TCell& c = Cell();
  if (c.Null) return 0;
  switch (FDataType) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint:
    case TFieldType::ftBoolean: return c.I;
    case TFieldType::ftCurrency: return Currency::FromRaw(c.I).Round(0).Raw() / Currency::Scale;
    case TFieldType::ftFloat: return static_cast<int64_t>(std::llround(c.D));
    case TFieldType::ftDate:
    case TFieldType::ftDateTime: return static_cast<int64_t>(std::floor(c.D));
    default: {
      std::string_view t = FDataSet->FStore->Text(c);
      int64_t v;
      if (TryStrToInt64(t, v)) return v;
      throw EConvertError("'" + CitarValor(t) + "' não é um valor inteiro válido (campo " + FFieldName + ")");
    }
  }
}

int TField::AsInteger() const { return static_cast<int>(AsLargeInt()); }

double TField::AsFloat() const {
  if (FLookup) return LookupValue().AsFloat();
  const TCell& c = Cell();
  if (c.Null) return 0;
  switch (FDataType) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint:
    case TFieldType::ftBoolean: return static_cast<double>(c.I);
    case TFieldType::ftCurrency: return Currency::FromRaw(c.I).ToDouble();
    case TFieldType::ftFloat:
    case TFieldType::ftDate:
    case TFieldType::ftDateTime: return c.D;
    default: {
      std::string_view t = FDataSet->FStore->Text(c);
      double v;
      if (TryStrToFloat(t, v)) return v;
      throw EConvertError("'" + CitarValor(t) + "' não é um valor numérico válido (campo " + FFieldName + ")");
    }
  }
}

Currency TField::AsCurrency() const {
  if (FLookup) return LookupValue().AsCurrency();
  const TCell& c = Cell();
  if (c.Null) return Currency();
  if (FDataType == TFieldType::ftCurrency) return Currency::FromRaw(c.I);
  if (IsIntegerType(FDataType)) return Currency::FromInt(c.I);
  if (IsTextType(FDataType)) return Currency::FromString(std::string(FDataSet->FStore->Text(c)));
  return Currency::FromDouble(AsFloat());
}

TDateTime TField::AsDateTime() const {
  if (FLookup) return LookupValue().AsDateTime();
  const TCell& c = Cell();
  if (c.Null) return 0;
  if (IsTextType(FDataType)) return TVariant(FDataSet->FStore->Text(c)).AsDateTime();
  if (FDataType == TFieldType::ftCurrency) return Currency::FromRaw(c.I).ToDouble();
  if (IsIntegerType(FDataType) || FDataType == TFieldType::ftBoolean) return static_cast<double>(c.I);
  return c.D;
}

bool TField::AsBoolean() const {
  if (FLookup) return LookupValue().AsBoolean();
  const TCell& c = Cell();
  if (c.Null) return false;
  if (IsTextType(FDataType)) return TVariant(FDataSet->FStore->Text(c)).AsBoolean();
  if (FDataType == TFieldType::ftFloat || FDataType == TFieldType::ftDate || FDataType == TFieldType::ftDateTime)
    return c.D != 0;
  return c.I != 0;
}

std::string_view TField::AsStringView() const {
  if (FLookup) {
    FScratch = LookupValue().AsString();
    return FScratch;
  }
  const TCell& c = Cell();
  if (c.Null) return {};
  char buf[64];
  switch (FDataType) {
    case TFieldType::ftString:
    case TFieldType::ftFixedChar:
    case TFieldType::ftUnknown: return FDataSet->FStore->Text(c);
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint: {
      auto r = std::to_chars(buf, buf + sizeof buf, c.I);
      FScratch.assign(buf, r.ptr);
      return FScratch;
    }
    case TFieldType::ftFloat: {
      auto r = std::to_chars(buf, buf + sizeof buf, c.D);
      FScratch.assign(buf, r.ptr);
      return FScratch;
    }
    case TFieldType::ftCurrency: FScratch = Currency::FromRaw(c.I).ToString(); return FScratch;
    case TFieldType::ftDate: FScratch = FormatDate(c.D, false); return FScratch;
    case TFieldType::ftDateTime: FScratch = FormatDate(c.D, true); return FScratch;
    case TFieldType::ftBoolean: return c.I ? "True" : "False";
  }
  return {};
}

std::string TField::AsString() const { return std::string(AsStringView()); }

TVariant TField::Value() const {
  if (FLookup) return LookupValue();
  const TCell& c = Cell();
  if (c.Null) return Null;
  switch (FDataType) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint: return TVariant(static_cast<long long>(c.I));
    case TFieldType::ftBoolean: return TVariant(c.I != 0);
    case TFieldType::ftFloat: return TVariant(c.D);
    case TFieldType::ftCurrency: return TVariant(Currency::FromRaw(c.I));
    case TFieldType::ftDate:
    case TFieldType::ftDateTime: return TVariant::FromDate(c.D);
    default: return TVariant(FDataSet->FStore->Text(c));
  }
}

void TField::SetAsInteger(int64_t v) {
  TCell& c = WritableCell();
  c.Null = false;
  switch (FDataType) {
    case TFieldType::ftFloat:
    case TFieldType::ftDate:
    case TFieldType::ftDateTime: c.D = static_cast<double>(v); break;
    case TFieldType::ftCurrency: c.I = Currency::FromInt(v).Raw(); break;
    case TFieldType::ftString:
    case TFieldType::ftFixedChar:
    case TFieldType::ftUnknown: {
      std::string t = std::to_string(v);
      FDataSet->FStore->SetText(c, CutChars(t, FDataSet->CortarTexto ? FSize : 0));
      break;
    }
    case TFieldType::ftBoolean: c.I = v != 0; break;
    default: c.I = v;
  }
  Changed();
}

void TField::SetAsFloat(double v) {
  if (IsIntegerType(FDataType)) return SetAsInteger(std::llround(v));
  if (IsTextType(FDataType) || FDataType == TFieldType::ftUnknown) return SetAsString(TVariant(v).AsString());
  TCell& c = WritableCell();
  c.Null = false;
  if (FDataType == TFieldType::ftCurrency)
    c.I = Currency::FromDouble(v).Raw();
  else if (FDataType == TFieldType::ftBoolean)
    c.I = v != 0;
  else if (FDataType == TFieldType::ftDate)
    c.D = DateOf(v);
  else
    c.D = v;
  Changed();
}

void TField::SetAsCurrency(Currency v) {
  if (FDataType == TFieldType::ftCurrency) {
    TCell& c = WritableCell();
    c.Null = false;
    c.I = v.Raw();
    Changed();
    return;
  }
  if (IsTextType(FDataType) || FDataType == TFieldType::ftUnknown) return SetAsString(v.ToString());
  SetAsFloat(v.ToDouble());
}

void TField::SetAsDateTime(TDateTime v) {
  if (IsTextType(FDataType) || FDataType == TFieldType::ftUnknown)
    return SetAsString(FormatDate(v, FDataType != TFieldType::ftDate));
  SetAsFloat(v);
}

void TField::SetAsBoolean(bool v) {
  if (IsTextType(FDataType)) return SetAsString(v ? "True" : "False");
  SetAsInteger(v ? 1 : 0);
}

void TField::SetAsString(std::string_view v) {
  switch (FDataType) {
    case TFieldType::ftString:
    case TFieldType::ftFixedChar:
    case TFieldType::ftUnknown: {
      TCell& c = WritableCell();
      FDataSet->FStore->SetText(c, CutChars(v, FDataSet->CortarTexto ? FSize : 0));
      Changed();
      return;
    }
    default: break;
  }
  std::string t = Trim(v);
  if (t.empty()) return Clear();
  switch (FDataType) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint: {
      int64_t i;
      if (!TryStrToInt64(t, i)) throw EConvertError("'" + CitarValor(t) + "' não é um valor inteiro válido (campo " + FFieldName + ")");
      return SetAsInteger(i);
    }
    case TFieldType::ftFloat: {
      double d;
      if (!TryStrToFloat(t, d)) throw EConvertError("'" + CitarValor(t) + "' não é um valor numérico válido (campo " + FFieldName + ")");
      return SetAsFloat(d);
    }
    case TFieldType::ftCurrency: return SetAsCurrency(Currency::FromString(t));
    case TFieldType::ftDate:
    case TFieldType::ftDateTime: return SetAsFloat(TVariant(t).AsDateTime());
    case TFieldType::ftBoolean: return SetAsBoolean(TVariant(t).AsBoolean());
    default: break;
  }
}

void TField::SetValue(const TVariant& v) {
  if (v.IsNull()) return Clear();
  switch (FDataType) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint:
      if (v.Kind() == TVarKind::String) return SetAsString(v.AsString());
      return SetAsInteger(v.AsInt64());
    case TFieldType::ftFloat:
      if (v.Kind() == TVarKind::String) return SetAsString(v.AsString());
      return SetAsFloat(v.AsFloat());
    case TFieldType::ftCurrency: return SetAsCurrency(v.AsCurrency());
    case TFieldType::ftDate:
    case TFieldType::ftDateTime: return SetAsFloat(v.AsDateTime());
    case TFieldType::ftBoolean: return SetAsBoolean(v.AsBoolean());
    default:
      if (v.Kind() == TVarKind::Date) return SetAsDateTime(v.AsDateTime());
      return SetAsString(v.AsString());
  }
}

void TField::Clear() {
  TCell& c = WritableCell();
  c = TCell();
  Changed();
}

// ---------------------------------------------------------------- dataset

TClientDataSet::TClientDataSet() : FStore(std::make_shared<TDataStore>()) {}
TClientDataSet::~TClientDataSet() = default;

void TClientDataSet::AddFieldDef(std::string name, TFieldType type, int size, bool required) {
  if (Active()) throw EDatabaseError("Não é possível alterar a estrutura de um conjunto de dados aberto");
  FFieldDefs.push_back({std::move(name), type, size, required});
}

void TClientDataSet::CreateDataSet() {
  if (FFieldDefs.size() > 4096) throw EInternalError("campos demais");
  FStore = std::make_shared<TDataStore>();
  FStore->Defs = FFieldDefs;
  FStore->Stride = FFieldDefs.size();
  BuildFields();
  FState = TDataSetState::dsBrowse;
  RebuildView();
  First();
}

void TClientDataSet::BuildFields() {
  FFields.clear();
  FFieldIndex.clear();
  for (size_t i = 0; i < FStore->Defs.size(); ++i) {
    auto f = std::make_unique<TField>();
    const TFieldDef& d = FStore->Defs[i];
    f->FFieldName = d.Name;
    f->FDataType = d.DataType;
    f->FSize = d.Size;
    f->FIndex = static_cast<int>(i);
    f->FDataSet = this;
    f->Required = d.Required;
    f->DisplayLabel = d.Name;
    FFieldIndex.emplace(Upper(d.Name), static_cast<int>(i));  // first of duplicates wins
    FFields.push_back(std::move(f));
  }
}

void TClientDataSet::Close() {
  FState = TDataSetState::dsInactive;
  FSorted.clear();
  FView.clear();
  FRecNo = -1;
}

TField* TClientDataSet::FindField(std::string_view name) const {
  auto it = FFieldIndex.find(Upper(name));
  return it == FFieldIndex.end() ? nullptr : FFields[static_cast<size_t>(it->second)].get();
}

TField& TClientDataSet::FieldByName(std::string_view name) const {
  TField* f = FindField(name);
  if (!f) throw EDatabaseError("Campo '" + std::string(name) + "' não encontrado" + (Name.empty() ? "" : " em " + Name));
  return *f;
}

TField& TClientDataSet::AddFieldLookup(std::string name, TFieldType type, int size, std::string_view keyFields,
                                       TClientDataSet& lookupDataSet, std::string lookupKeyFields,
                                       std::string lookupResultField) {
  auto f = std::make_unique<TField>();
  f->FFieldName = name;
  f->FDataType = type;
  f->FSize = size;
  f->FIndex = static_cast<int>(FFields.size());
  f->FDataSet = this;
  f->DisplayLabel = name;
  f->ReadOnly = true;
  f->FLookup = std::make_unique<TField::TLookupDef>();
  f->FLookup->KeyFields = ResolveFields(keyFields);
  f->FLookup->LookupDataSet = &lookupDataSet;
  f->FLookup->LookupKeyFields = std::move(lookupKeyFields);
  f->FLookup->LookupResultField = std::move(lookupResultField);
  FFieldIndex.emplace(Upper(name), f->FIndex);
  FFields.push_back(std::move(f));
  return *FFields.back();
}

std::vector<int> TClientDataSet::ResolveFields(std::string_view names) const {
  std::vector<int> r;
  TStringList parts;
  parts.SetDelimitedText(names, ';');
  for (const auto& p : parts) {
    std::string n = Trim(p);
    if (n.empty()) continue;
    r.push_back(FieldByName(n).Index());
  }
  return r;
}

void TClientDataSet::CheckActive() const {
  if (!Active()) throw EDatabaseError("Conjunto de dados fechado" + (Name.empty() ? "" : ": " + Name));
}

void TClientDataSet::CheckEditing() const {
  if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert)
    throw EDatabaseError("O conjunto de dados não está em modo de edição ou inserção" + (Name.empty() ? "" : ": " + Name));
}

const TCell* TClientDataSet::CurrentRow() const {
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) return FBuffer.data();
  if (FRecNo < 0 || FRecNo >= static_cast<int>(FView.size())) {
    if (FStore->Stride > std::size(kNullCells)) {
      static thread_local std::vector<TCell> nulls;
      nulls.assign(FStore->Stride, TCell());
      return nulls.data();
    }
    return kNullCells;
  }
  return FStore->Row(FView[static_cast<size_t>(FRecNo)]);
}

int TClientDataSet::CompareRows(uint32_t a, uint32_t b) const {
  const TCell* ra = FStore->Row(a);
  const TCell* rb = FStore->Row(b);
  for (int f : FIndexFields) {
    const TCell& x = ra[f];
    const TCell& y = rb[f];
    if (x.Null || y.Null) {
      if (x.Null != y.Null) return x.Null ? -1 : 1;
      continue;
    }
    TFieldType t = FFields[static_cast<size_t>(f)]->FDataType;
    int c = 0;
    if (IsTextType(t) || t == TFieldType::ftUnknown) {
      c = FStore->Text(x).compare(FStore->Text(y));
    } else if (t == TFieldType::ftFloat || t == TFieldType::ftDate || t == TFieldType::ftDateTime) {
      c = x.D < y.D ? -1 : (x.D > y.D ? 1 : 0);
    } else {
      c = x.I < y.I ? -1 : (x.I > y.I ? 1 : 0);
    }
    if (c != 0) return c < 0 ? -1 : 1;
  }
  return a < b ? -1 : (a > b ? 1 : 0);
}

namespace {

int CompareCellValue(const TDataStore& store, TFieldType t, const TCell& c, const TVariant& v, bool caseInsensitive,
                     bool partial) {
  if (c.Null || v.IsNull()) return c.Null == v.IsNull() ? 0 : (c.Null ? -1 : 1);
  if (IsTextType(t) || t == TFieldType::ftUnknown) {
    std::string_view a = store.Text(c);
    std::string b = v.AsString();
    if (partial && a.size() > b.size()) a = a.substr(0, b.size());
    int r = caseInsensitive ? CompareTextNoCase(a, b) : a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
  }
  if (t == TFieldType::ftFloat || t == TFieldType::ftDate || t == TFieldType::ftDateTime) {
    double b = (t == TFieldType::ftFloat) ? v.AsFloat() : v.AsDateTime();
    return c.D < b ? -1 : (c.D > b ? 1 : 0);
  }
  if (t == TFieldType::ftCurrency) {
    int64_t b = v.AsCurrency().Raw();
    return c.I < b ? -1 : (c.I > b ? 1 : 0);
  }
  if (v.Kind() == TVarKind::Float || v.Kind() == TVarKind::Currency) {
    double b = v.AsFloat();
    double a = static_cast<double>(c.I);
    return a < b ? -1 : (a > b ? 1 : 0);
  }
  int64_t b;
  if (v.Kind() == TVarKind::String) {
    double d;
    if (TryStrToInt64(v.AsString(), b)) {
    } else if (TryStrToFloat(v.AsString(), d)) {
      double a = static_cast<double>(c.I);
      return a < d ? -1 : (a > d ? 1 : 0);
    } else {
      return 1;  // a number never equals a non-numeric text
    }
  } else {
    b = v.AsInt64();
  }
  return c.I < b ? -1 : (c.I > b ? 1 : 0);
}

}  // namespace

int TClientDataSet::CompareRowKey(uint32_t row, const std::vector<TVariant>& key, size_t count) const {
  const TCell* r = FStore->Row(row);
  for (size_t i = 0; i < count && i < FIndexFields.size(); ++i) {
    int f = FIndexFields[i];
    int c = CompareCellValue(*FStore, FFields[static_cast<size_t>(f)]->FDataType, r[f], key[i], false, false);
    if (c != 0) return c;
  }
  return 0;
}

bool TClientDataSet::Accepts(uint32_t row) const {
  if (FHasRange) {
    if (CompareRowKey(row, FRangeStart, FRangeStart.size()) < 0) return false;
    if (CompareRowKey(row, FRangeEnd, FRangeEnd.size()) > 0) return false;
  }
  if (FFiltered && FFilter) {
    const TCell* cells = FStore->Row(row);
    std::function<bool(const TFilterNode&)> eval = [&](const TFilterNode& n) -> bool {
      switch (n.Kind) {
        case TFilterNode::And:
          for (const auto& o : n.Operandos)
            if (!eval(*o)) return false;
          return true;
        case TFilterNode::Or:
          for (const auto& o : n.Operandos)
            if (eval(*o)) return true;
          return false;
        case TFilterNode::Not: return !eval(*n.A);
        case TFilterNode::IsNull: return cells[n.Field].Null;
        case TFilterNode::NotNull: return !cells[n.Field].Null;
        case TFilterNode::Like: {
          const TCell& c = cells[n.Field];
          if (c.Null) return false;  // as in SQL, neither like nor not like holds for null
          TFieldType t = FFields[static_cast<size_t>(n.Field)]->FDataType;
          bool casa = CasaLike(Dobrar(TextoDaCelula(*FStore, t, c)), n.Padrao);
          return n.Op == "like" ? casa : !casa;
        }
        case TFilterNode::Cmp: {
          const TCell& c = cells[n.Field];
          // As in SQL, a null value satisfies no comparison; "= null" and "<> null" test for null.
          if (n.Literal.IsNull()) return n.Op == "=" ? c.Null : (n.Op == "<>" && !c.Null);
          if (c.Null) return false;
          TFieldType t = FFields[static_cast<size_t>(n.Field)]->FDataType;
          if (!IsTextType(t) && n.Literal.Kind() == TVarKind::String) {
            double d;
            if ((t != TFieldType::ftDate && t != TFieldType::ftDateTime) && !TryStrToFloat(n.Literal.AsString(), d))
              return n.Op == "<>";
          }
          int r = CompareCellValue(*FStore, t, c, n.Literal, false, false);
          if (n.Op == "=") return r == 0;
          if (n.Op == "<>") return r != 0;
          if (n.Op == "<") return r < 0;
          if (n.Op == ">") return r > 0;
          if (n.Op == "<=") return r <= 0;
          return r >= 0;
        }
      }
      return false;
    };
    if (!eval(*FFilter)) return false;
  }
  return true;
}

void TClientDataSet::RebuildView() {
  int64_t current = (FRecNo >= 0 && FRecNo < static_cast<int>(FView.size())) ? FView[static_cast<size_t>(FRecNo)] : -1;
  FSorted.clear();
  uint32_t n = FStore->RowCount();
  FSorted.reserve(n);
  for (uint32_t r = 0; r < n; ++r)
    if (!FStore->Deleted[r]) FSorted.push_back(r);
  // Rows are mostly added in key order: a filter switched on or off over a sorted grid of
  // millions of rows costs one pass, not a sort.
  auto less = [this](uint32_t a, uint32_t b) { return CompareRows(a, b) < 0; };
  if (!FIndexFields.empty() && !std::is_sorted(FSorted.begin(), FSorted.end(), less))
    std::sort(FSorted.begin(), FSorted.end(), less);
  if (!FHasRange && !(FFiltered && FFilter)) {
    FView = FSorted;
  } else {
    FView.clear();
    for (uint32_t r : FSorted)
      if (Accepts(r)) FView.push_back(r);
  }
  FViewGeneration = FStore->Generation;
  FRecNo = FView.empty() ? -1 : 0;
  if (current >= 0) {
    auto it = std::find(FView.begin(), FView.end(), static_cast<uint32_t>(current));
    if (it != FView.end()) FRecNo = static_cast<int>(it - FView.begin());
  }
  FEofFlag = FView.empty();
  FBof = true;
}

void TClientDataSet::SyncView() const {
  if (FViewGeneration != FStore->Generation) const_cast<TClientDataSet*>(this)->RebuildView();
}

int TClientDataSet::RecordCount() const {
  if (!Active()) return 0;
  SyncView();
  return static_cast<int>(FView.size());
}

bool TClientDataSet::Eof() const {
  SyncView();
  return FView.empty() || FEofFlag;
}

void TClientDataSet::DoAfterScroll() {
  if (AfterScroll) AfterScroll(*this);
}

void TClientDataSet::ScrollTo(int recNo) {
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) Post();
  FRecNo = recNo;
  DoAfterScroll();
}

void TClientDataSet::First() {
  CheckActive();
  SyncView();
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) Post();
  FRecNo = FView.empty() ? -1 : 0;
  FBof = true;
  FEofFlag = FView.empty();
  DoAfterScroll();
}

void TClientDataSet::Last() {
  CheckActive();
  SyncView();
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) Post();
  FRecNo = static_cast<int>(FView.size()) - 1;
  FBof = FView.empty();
  FEofFlag = true;
  DoAfterScroll();
}

void TClientDataSet::Next() {
  CheckActive();
  SyncView();
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) Post();
  FBof = false;
  if (FRecNo + 1 < static_cast<int>(FView.size())) {
    ++FRecNo;
    FEofFlag = false;
    DoAfterScroll();
  } else {
    FEofFlag = true;
  }
}

void TClientDataSet::Prior() {
  CheckActive();
  SyncView();
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) Post();
  FEofFlag = false;
  if (FRecNo > 0) {
    --FRecNo;
    FBof = false;
    DoAfterScroll();
  } else {
    FBof = true;
  }
}

void TClientDataSet::MoveBy(int distance) {
  for (; distance > 0 && !Eof(); --distance) Next();
  for (; distance < 0 && !Bof(); ++distance) Prior();
}

TClientDataSet::TBookmark TClientDataSet::GetBookmark() const {
  SyncView();
  return (FRecNo >= 0 && FRecNo < static_cast<int>(FView.size())) ? FView[static_cast<size_t>(FRecNo)] : -1;
}

bool TClientDataSet::GotoBookmark(TBookmark b) {
  SyncView();
  if (b < 0) return false;
  auto it = std::find(FView.begin(), FView.end(), static_cast<uint32_t>(b));
  if (it == FView.end()) return false;
  ScrollTo(static_cast<int>(it - FView.begin()));
  FEofFlag = false;
  FBof = false;
  return true;
}

void TClientDataSet::Append() {
  CheckActive();
  SyncView();
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) Post();
  FBuffer.assign(FStore->Stride, TCell());
  FEditRow = -1;
  FInsertAt = -1;
  FState = TDataSetState::dsInsert;
  if (OnNewRecord) OnNewRecord(*this);
}

void TClientDataSet::Insert() {
  Append();
  FInsertAt = FRecNo;
}

void TClientDataSet::Edit() {
  CheckActive();
  SyncView();
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) return;
  if (FRecNo < 0 || FRecNo >= static_cast<int>(FView.size()))
    throw EDatabaseError("Não há registro para editar" + (Name.empty() ? "" : " em " + Name));
  FEditRow = FView[static_cast<size_t>(FRecNo)];
  const TCell* row = FStore->Row(static_cast<uint32_t>(FEditRow));
  FBuffer.assign(row, row + FStore->Stride);
  FState = TDataSetState::dsEdit;
}

void TClientDataSet::Post() {
  if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert) return;
  if (BeforePost) BeforePost(*this);
  for (const auto& f : FFields) {
    if (f->Required && !f->FLookup && FBuffer[static_cast<size_t>(f->FIndex)].Null)
      throw EDatabaseError("O campo '" + f->DisplayLabel + "' deve ser informado");
  }
  SyncView();
  uint32_t row;
  auto sortedLess = [this](uint32_t a, uint32_t b) { return CompareRows(a, b) < 0; };
  if (FState == TDataSetState::dsEdit) {
    row = static_cast<uint32_t>(FEditRow);
    // The common case of aggregates: the key is unchanged and no filter can reject the row,
    // so the row keeps its place and nothing is reordered.
    const TCell* old = FStore->Row(row);
    bool sameKey = !(FFiltered && FFilter);
    for (int f : FIndexFields) {
      if (!sameKey) break;
      const TCell& a = old[f];
      const TCell& b = FBuffer[static_cast<size_t>(f)];
      TFieldType t = FFields[static_cast<size_t>(f)]->FDataType;
      if (a.Null != b.Null) sameKey = false;
      else if (a.Null) continue;
      else if (IsTextType(t) || t == TFieldType::ftUnknown) sameKey = FStore->Text(a) == FStore->Text(b);
      else if (t == TFieldType::ftFloat || t == TFieldType::ftDate || t == TFieldType::ftDateTime) sameKey = a.D == b.D;
      else sameKey = a.I == b.I;
    }
    if (sameKey) {
      std::copy(FBuffer.begin(), FBuffer.end(), FStore->Row(row));
      ++FStore->Generation;
      FViewGeneration = FStore->Generation;
      FState = TDataSetState::dsBrowse;
      FEditRow = -1;
      if (AfterPost) AfterPost(*this);
      return;
    }
    // Take the row out of the orders under its old key, then store the new values.
    auto sit = std::lower_bound(FSorted.begin(), FSorted.end(), row, sortedLess);
    if (sit != FSorted.end() && *sit == row) FSorted.erase(sit);
    auto vit = std::find(FView.begin(), FView.end(), row);
    if (vit != FView.end()) FView.erase(vit);
    std::copy(FBuffer.begin(), FBuffer.end(), FStore->Row(row));
  } else {
    row = FStore->AddRow();
    std::copy(FBuffer.begin(), FBuffer.end(), FStore->Row(row));
  }
  ++FStore->Generation;
  // Rows usually arrive in key order: one comparison with the last row places them.
  auto place = [&](std::vector<uint32_t>& order) {
    if (order.empty() || sortedLess(order.back(), row)) return order.end();
    return std::lower_bound(order.begin(), order.end(), row, sortedLess);
  };
  FSorted.insert(place(FSorted), row);
  bool insertedAtCursor = false;
  if (Accepts(row)) {
    auto pos = place(FView);
    if (FIndexFields.empty() && FState == TDataSetState::dsInsert && FInsertAt >= 0 &&
        FInsertAt <= static_cast<int>(FView.size())) {
      pos = FView.begin() + FInsertAt;
    }
    pos = FView.insert(pos, row);
    FRecNo = static_cast<int>(pos - FView.begin());
    insertedAtCursor = true;
  }
  if (!insertedAtCursor && FRecNo >= static_cast<int>(FView.size())) FRecNo = static_cast<int>(FView.size()) - 1;
  FViewGeneration = FStore->Generation;
  FState = TDataSetState::dsBrowse;
  FEofFlag = FView.empty();
  FBof = false;
  FEditRow = -1;
  FInsertAt = -1;
  if (AfterPost) AfterPost(*this);
}

void TClientDataSet::Cancel() {
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) {
    FState = TDataSetState::dsBrowse;
    FEditRow = -1;
    FInsertAt = -1;
  }
}

void TClientDataSet::Delete() {
  CheckActive();
  SyncView();
  if (FState == TDataSetState::dsInsert) {
    Cancel();
    return;
  }
  FState = TDataSetState::dsBrowse;
  if (FRecNo < 0 || FRecNo >= static_cast<int>(FView.size()))
    throw EDatabaseError("Não há registro para excluir" + (Name.empty() ? "" : " em " + Name));
  if (BeforeDelete) BeforeDelete(*this);
  uint32_t row = FView[static_cast<size_t>(FRecNo)];
  FView.erase(FView.begin() + FRecNo);
  auto sit = std::find(FSorted.begin(), FSorted.end(), row);
  if (sit != FSorted.end()) FSorted.erase(sit);
  FStore->Deleted[row] = 1;
  ++FStore->Generation;
  FViewGeneration = FStore->Generation;
  if (FRecNo >= static_cast<int>(FView.size())) FRecNo = static_cast<int>(FView.size()) - 1;
  FEofFlag = FView.empty();
  DoAfterScroll();
}

void TClientDataSet::EmptyDataSet() {
  CheckActive();
  Cancel();
  FStore->Clear();
  RebuildView();
}

void TClientDataSet::AppendRecord(std::initializer_list<TVariant> values) {
  Append();
  int i = 0;
  for (const auto& v : values) {
    if (i >= FieldCount()) break;
    Fields(i++).SetValue(v);
  }
  Post();
}

void TClientDataSet::ResetRows() {
  Cancel();
  FStore->Clear();
}

void TClientDataSet::RowsLoaded() {
  FState = TDataSetState::dsBrowse;
  ++FStore->Generation;
  FRecNo = -1;
  RebuildView();
  FRecNo = FView.empty() ? -1 : 0;
  FEofFlag = FView.empty();
  FBof = true;
}

void TClientDataSet::SetIndexFieldNames(std::string_view names) {
  std::string n(names);
  if (Active()) {
    FIndexFields = ResolveFields(n);
    FIndexFieldNames = n;
    FHasRange = false;
    int64_t current = GetBookmark();
    RebuildView();
    if (current >= 0) GotoBookmark(current);
    else First();
  } else {
    FIndexFieldNames = n;
  }
}

bool TClientDataSet::FindKey(const std::vector<TVariant>& values) {
  CheckActive();
  SyncView();
  if (values.size() > FIndexFields.size())
    throw EDatabaseError("Chave de busca maior que o índice " + FIndexFieldNames);
  auto it = std::lower_bound(FView.begin(), FView.end(), values, [this, &values](uint32_t r, const std::vector<TVariant>& k) {
    return CompareRowKey(r, k, values.size()) < 0;
  });
  if (it == FView.end() || CompareRowKey(*it, values, values.size()) != 0) return false;
  ScrollTo(static_cast<int>(it - FView.begin()));
  FEofFlag = false;
  FBof = false;
  return true;
}

void TClientDataSet::FindNearest(const std::vector<TVariant>& values) {
  CheckActive();
  SyncView();
  auto it = std::lower_bound(FView.begin(), FView.end(), values, [this, &values](uint32_t r, const std::vector<TVariant>& k) {
    return CompareRowKey(r, k, values.size()) < 0;
  });
  if (it == FView.end()) {
    Last();
    return;
  }
  ScrollTo(static_cast<int>(it - FView.begin()));
  FEofFlag = false;
}

bool TClientDataSet::RowMatches(const TCell* cells, const std::vector<int>& fields, const std::vector<TVariant>& values,
                                unsigned options) const {
  for (size_t i = 0; i < fields.size(); ++i) {
    const TVariant& v = i < values.size() ? values[i] : Null;
    int f = fields[i];
    if (CompareCellValue(*FStore, FFields[static_cast<size_t>(f)]->FDataType, cells[f], v,
                         (options & loCaseInsensitive) != 0, (options & loPartialKey) != 0) != 0)
      return false;
  }
  return true;
}

bool TClientDataSet::Locate(std::string_view fieldNames, const std::vector<TVariant>& values, unsigned options) {
  CheckActive();
  SyncView();
  std::vector<int> fields = ResolveFields(fieldNames);
  for (size_t i = 0; i < FView.size(); ++i) {
    if (RowMatches(FStore->Row(FView[i]), fields, values, options)) {
      ScrollTo(static_cast<int>(i));
      FEofFlag = false;
      FBof = false;
      return true;
    }
  }
  return false;
}

TVariant TClientDataSet::Lookup(std::string_view keyFields, const std::vector<TVariant>& values,
                                std::string_view resultFields) {
  CheckActive();
  SyncView();
  std::vector<int> fields = ResolveFields(keyFields);
  std::vector<int> results = ResolveFields(resultFields);
  const TCell* found = nullptr;
  bool indexed = !FIndexFields.empty() && fields.size() <= FIndexFields.size() &&
                 std::equal(fields.begin(), fields.end(), FIndexFields.begin());
  if (indexed) {
    auto it = std::lower_bound(FView.begin(), FView.end(), values, [&](uint32_t r, const std::vector<TVariant>& k) {
      return CompareRowKey(r, k, fields.size()) < 0;
    });
    if (it != FView.end() && CompareRowKey(*it, values, fields.size()) == 0) found = FStore->Row(*it);
  } else {
    for (uint32_t r : FView)
      if (RowMatches(FStore->Row(r), fields, values, 0)) {
        found = FStore->Row(r);
        break;
      }
  }
  if (!found) return Null;
  // Read through the fields, positioned on the found row without moving the cursor.
  auto valueOf = [&](int f) -> TVariant {
    const TCell& c = found[f];
    if (c.Null) return Null;
    switch (FFields[static_cast<size_t>(f)]->FDataType) {
      case TFieldType::ftSmallint:
      case TFieldType::ftInteger:
      case TFieldType::ftLargeint: return TVariant(static_cast<long long>(c.I));
      case TFieldType::ftBoolean: return TVariant(c.I != 0);
      case TFieldType::ftFloat: return TVariant(c.D);
      case TFieldType::ftCurrency: return TVariant(Currency::FromRaw(c.I));
      case TFieldType::ftDate:
      case TFieldType::ftDateTime: return TVariant::FromDate(c.D);
      default: return TVariant(FStore->Text(c));
    }
  };
  if (results.size() == 1) return valueOf(results[0]);
  std::vector<TVariant> items;
  for (int f : results) items.push_back(valueOf(f));
  return TVariant::FromArray(std::move(items));
}

void TClientDataSet::SetRange(const std::vector<TVariant>& start, const std::vector<TVariant>& end) {
  CheckActive();
  if (start.size() > FIndexFields.size() || end.size() > FIndexFields.size())
    throw EDatabaseError("Faixa maior que o índice " + FIndexFieldNames);
  FHasRange = true;
  FRangeStart = start;
  FRangeEnd = end;
  FRecNo = -1;
  RebuildView();
  First();
}

void TClientDataSet::CancelRange() {
  if (!FHasRange) return;
  FHasRange = false;
  FRecNo = -1;
  RebuildView();
  if (Active()) First();
}

void TClientDataSet::SetFilter(std::string_view text) {
  // A filter that does not parse leaves the one in force as it was.
  std::shared_ptr<TFilterNode> filtro;
  if (!Trim(text).empty()) {
    std::function<int(std::string_view)> resolve = [this](std::string_view n) {
      TField* f = FindField(n);
      return f && !f->FLookup ? f->FIndex : -1;
    };
    // A literal that does not convert would raise at every row test, leaving the dataset with
    // a filter that breaks each later move; it is refused here instead.
    std::function<void(int, TVariant&)> preparar = [this](int campo, TVariant& v) {
      if (v.IsNull()) return;
      const TFieldType t = FFields[static_cast<size_t>(campo)]->FDataType;
      double d;
      if (t == TFieldType::ftDate || t == TFieldType::ftDateTime)
        v = TVariant::FromDate(v.AsDateTime());
      else if (t == TFieldType::ftCurrency && (v.Kind() != TVarKind::String || TryStrToFloat(v.AsString(), d)))
        v = TVariant(v.AsCurrency());
    };
    TFilterParser p{text, 0, resolve};
    p.Preparar = &preparar;
    filtro = p.Expr();
    p.Skip();
    if (p.P != text.size()) p.Fail("texto após a expressão");
  }
  FFilterText = std::string(text);
  FFilter = std::move(filtro);
  if (FFiltered && Active()) {
    FRecNo = -1;
    RebuildView();
    First();
  }
}

void TClientDataSet::SetFiltered(bool on) {
  if (FFiltered == on) return;
  FFiltered = on;
  if (Active()) {
    FRecNo = -1;
    RebuildView();
    First();
  }
}

void TClientDataSet::ForEach(const std::function<void(TClientDataSet&)>& callback) {
  CheckActive();
  TBookmark here = GetBookmark();
  First();
  while (!Eof()) {
    TBookmark before = GetBookmark();
    callback(*this);
    // A callback that moved the cursor or deleted the row continues from where it stands.
    if (GetBookmark() == before) Next();
  }
  if (here >= 0 && !GotoBookmark(here)) First();
}

std::unique_ptr<TClientDataSet> CloneCDS(TClientDataSet& source) {
  source.CheckActive();
  auto c = std::make_unique<TClientDataSet>();
  c->Name = source.Name;
  c->FFieldDefs = source.FFieldDefs;
  c->FStore = source.FStore;
  c->BuildFields();
  c->FState = TDataSetState::dsBrowse;
  c->RebuildView();
  c->First();
  return c;
}

void CopyDataCDS(TClientDataSet& source, TClientDataSet& target) {
  source.CheckActive();
  if (!target.Active()) {
    if (target.FFieldDefs.empty()) target.FFieldDefs = source.FStore->Defs;
    target.CreateDataSet();
  }
  std::vector<std::pair<TField*, TField*>> pairs;
  for (int i = 0; i < target.FieldCount(); ++i) {
    TField& t = target.Fields(i);
    if (t.IsLookup()) continue;
    if (TField* s = source.FindField(t.FieldName()); s && !s->IsLookup()) pairs.emplace_back(s, &t);
  }
  auto here = source.GetBookmark();
  target.DisableControls();
  source.First();
  while (!source.Eof()) {
    target.Append();
    for (auto& [s, t] : pairs) t->SetValue(s->Value());
    target.Post();
    source.Next();
  }
  target.EnableControls();
  if (here >= 0) source.GotoBookmark(here);
}

}  // namespace nFramework
