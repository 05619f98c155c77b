// TStringList: an ordered list of texts, as the platform's, with "Name=Value" access.
#pragma once
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace nFramework {

int CompareTextNoCase(std::string_view a, std::string_view b);  // ASCII case folding
bool SameText(std::string_view a, std::string_view b);
std::string UpperCase(std::string_view text);  // ASCII letters only
std::string Trim(std::string_view text);       // blanks and control characters at both ends

class TStringList {
 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::string> items) : FItems(items) {}

  void Add(std::string text) { FItems.push_back(std::move(text)); }
  void Clear() { FItems.clear(); }
  size_t Count() const { return FItems.size(); }
  bool Empty() const { return FItems.empty(); }
  const std::string& operator[](size_t i) const { return FItems[i]; }
  std::string& operator[](size_t i) { return FItems[i]; }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }
  const std::vector<std::string>& Items() const { return FItems; }

  // Index of the first item equal to the text ignoring case, -1 when none.
  int IndexOf(std::string_view text) const {
    for (size_t i = 0; i < FItems.size(); ++i)
      if (SameText(FItems[i], text)) return static_cast<int>(i);
    return -1;
  }
  // Ascending, without regard to case; equal texts keep their order.
  void Sort() {
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const std::string& a, const std::string& b) { return CompareTextNoCase(a, b) < 0; });
  }
  // Splits on the delimiter; an empty text gives an empty list.
  void SetDelimitedText(std::string_view text, char delimiter) {
    FItems.clear();
    if (text.empty()) return;
    size_t start = 0;
    while (true) {
      size_t p = text.find(delimiter, start);
      FItems.emplace_back(text.substr(start, p == std::string_view::npos ? std::string_view::npos : p - start));
      if (p == std::string_view::npos) break;
      start = p + 1;
    }
  }
  std::string DelimitedText(char delimiter) const {
    std::string r;
    for (size_t i = 0; i < FItems.size(); ++i) {
      if (i) r += delimiter;
      r += FItems[i];
    }
    return r;
  }
  // "Name=Value" items.
  std::string Names(size_t i) const {
    auto p = FItems[i].find('=');
    return p == std::string::npos ? FItems[i] : FItems[i].substr(0, p);
  }
  std::string ValueFromIndex(size_t i) const {
    auto p = FItems[i].find('=');
    return p == std::string::npos ? std::string() : FItems[i].substr(p + 1);
  }
  std::string Values(std::string_view name) const {
    for (size_t i = 0; i < FItems.size(); ++i)
      if (SameText(Names(i), name)) return ValueFromIndex(i);
    return {};
  }

 private:
  std::vector<std::string> FItems;
};

}  // namespace nFramework
