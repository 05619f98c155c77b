#include "TextUtils_U.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "Classes_U.h"
#include "DecimalText_U.h"

namespace nFramework {

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offset where character `index` starts (text.size() past the end).
size_t OffsetOfChar(std::string_view text, size_t index) {
  size_t pos = 0;
  for (size_t n = 0; pos < text.size(); ++pos) {
    if (IsContinuation(text[pos])) continue;
    if (n++ == index) return pos;
  }
  return text.size();
}

// Byte length of the character starting at `pos`.
size_t CharBytes(std::string_view text, size_t pos) {
  size_t end = pos + 1;
  while (end < text.size() && IsContinuation(text[end])) ++end;
  return end - pos;
}

size_t Width(int width) { return width > 0 ? static_cast<size_t>(width) : 0; }

// `count` characters taken from the fill, repeated from its start.
std::string Filler(std::string_view fill, size_t count) {
  if (fill.empty()) fill = " ";
  std::string out;
  size_t pos = 0;
  for (size_t n = 0; n < count; ++n) {
    if (pos >= fill.size()) pos = 0;
    size_t len = CharBytes(fill, pos);
    out.append(fill.substr(pos, len));
    pos += len;
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string KeepDigits(std::string_view text, std::string_view fallback) {
  std::string out;
  for (char c : text)
    if (IsDigit(c)) out += c;
  return out.empty() ? std::string(fallback) : out;
}

// Code point of the UTF-8 character at `pos` (only what Latin letters need).
unsigned CodePoint(std::string_view text, size_t pos, size_t len) {
  auto b = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  if (len == 2) return ((b(0) & 0x1Fu) << 6) | (b(1) & 0x3Fu);
  if (len == 3) return ((b(0) & 0x0Fu) << 12) | ((b(1) & 0x3Fu) << 6) | (b(2) & 0x3Fu);
  return 0;
}

// À to ÿ without × and ÷: the accented letters Windows-1252 can carry.
bool IsLatinLetter(unsigned cp) { return cp >= 0xC0 && cp <= 0xFF && cp != 0xD7 && cp != 0xF7; }

std::vector<std::string_view> Levels(std::string_view classif) {
  std::vector<std::string_view> levels;
  if (classif.empty()) return levels;
  size_t start = 0;
  while (true) {
    size_t p = classif.find('.', start);
    levels.push_back(classif.substr(start, p == std::string_view::npos ? std::string_view::npos : p - start));
    if (p == std::string_view::npos) break;
    start = p + 1;
  }
  return levels;
}

bool AllZeros(std::string_view level) { return level.find_first_not_of('0') == std::string_view::npos; }

bool HasValue(std::string_view level) { return !level.empty() && !AllZeros(level); }

std::string Join(const std::vector<std::string_view>& levels, size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    if (i) out += '.';
    out += levels[i];
  }
  return out;
}

}  // namespace

size_t Utf8Length(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuation(c); }));
}

std::string Utf8Left(std::string_view text, size_t count) { return std::string(text.substr(0, OffsetOfChar(text, count))); }

std::string Utf8Right(std::string_view text, size_t count) {
  size_t length = Utf8Length(text);
  if (count >= length) return std::string(text);
  return std::string(text.substr(OffsetOfChar(text, length - count)));
}

bool CabeNoCampo(std::string_view text, int width) { return Utf8Length(text) <= Width(width); }

std::string PreencherEsquerda(std::string_view text, int width, std::string_view fill) {
  size_t length = Utf8Length(text);
  if (length >= Width(width)) return std::string(text);
  return Filler(fill, Width(width) - length) + std::string(text);
}

std::string PreencherDireita(std::string_view text, int width, std::string_view fill) {
  size_t length = Utf8Length(text);
  if (length >= Width(width)) return std::string(text);
  return std::string(text) + Filler(fill, Width(width) - length);
}

std::string FmtNumero(std::string_view text, int width) {
  size_t w = Width(width);
  size_t length = Utf8Length(text);
  if (length >= w) return Utf8Right(text, w);
  if (!text.empty() && text.front() == '-')
    return "-" + std::string(w - length, '0') + std::string(text.substr(1));
  return std::string(w - length, '0') + std::string(text);
}

std::string FmtTexto(std::string_view text, int width) {
  size_t w = Width(width);
  size_t length = Utf8Length(text);
  if (length >= w) return Utf8Left(text, w);
  return std::string(text) + std::string(w - length, ' ');
}

std::string LimparStrToInteger(std::string_view text, std::string_view fallback) { return KeepDigits(text, fallback); }

std::string LimparStrToInscricaoFederal(std::string_view text, std::string_view fallback) {
  return KeepDigits(text, fallback);
}

std::string LimparStrToAlphaNumeric(std::string_view text, std::string_view fallback, bool keepBlanks,
                                    std::string_view keepAlso) {
  std::string out;
  for (size_t pos = 0; pos < text.size();) {
    size_t len = CharBytes(text, pos);
    std::string_view ch = text.substr(pos, len);
    bool keep;
    if (len == 1) {
      char c = ch[0];
      keep = std::isalnum(static_cast<unsigned char>(c)) || (keepBlanks && c == ' ') ||
             keepAlso.find(c) != std::string_view::npos;
    } else {
      keep = IsLatinLetter(CodePoint(text, pos, len)) || keepAlso.find(ch) != std::string_view::npos;
    }
    if (keep) out += ch;
    pos += len;
  }
  return out.empty() ? std::string(fallback) : out;
}

std::string MontarHist(std::string_view description, std::string_view complement) {
  return Trim(std::string(description) + " " + std::string(complement));
}

double RoundValor(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  TDecimalText d = TDecimalText::FromDouble(value);
  return d.Rounded(decimals).ToDouble();
}

int QtdNiveis(std::string_view classif) { return static_cast<int>(Levels(classif).size()); }

int QtdNiveisSemZero(std::string_view classif) {
  auto levels = Levels(classif);
  return static_cast<int>(std::count_if(levels.begin(), levels.end(), HasValue));
}

std::string RetirarUltimoNivelClassificacao(std::string_view classif) {
  auto levels = Levels(classif);
  return levels.empty() ? std::string() : Join(levels, levels.size() - 1);
}

std::string PegarContaSinteticaSuperior(std::string_view classif, std::string_view mask) {
  auto levels = Levels(classif);
  size_t last = levels.size();
  while (last > 0 && !HasValue(levels[last - 1])) --last;
  if (last <= 1) return {};
  size_t p = last - 1;  // the level to take away
  bool fullMask = p + 1 < levels.size() || (!mask.empty() && levels.size() >= Levels(mask).size());
  if (!fullMask) return Join(levels, p);
  std::string zeros(levels[p].size(), '0');
  levels[p] = zeros;
  return Join(levels, levels.size());
}

std::string FormatMaskText(std::string_view mask, std::string_view text) {
  std::string_view body = mask;
  bool textHasLiterals = true;
  char blank = '_';
  // "body;save;blank" or "body;save", read from the end as the platform does.
  if (body.size() >= 4 && body[body.size() - 2] == ';' && body[body.size() - 4] == ';') {
    textHasLiterals = body[body.size() - 3] != '0';
    blank = body.back();
    body.remove_suffix(4);
  } else if (body.size() >= 2 && body[body.size() - 2] == ';') {
    textHasLiterals = body.back() != '0';
    body.remove_suffix(2);
  }
  std::string out;
  size_t in = 0;
  int caseMode = 0;  // 1 upper, -1 lower
  for (size_t i = 0; i < body.size(); ++i) {
    char m = body[i];
    if (m == '>' || m == '<') {
      if (m == '<' && i + 1 < body.size() && body[i + 1] == '>') {
        caseMode = 0;
        ++i;
      } else {
        caseMode = m == '>' ? 1 : -1;
      }
      continue;
    }
    if (m == '!') continue;
    if (std::string_view("09LlAaCc#").find(m) != std::string_view::npos) {
      if (in < text.size()) {
        size_t len = CharBytes(text, in);
        std::string ch(text.substr(in, len));
        if (len == 1 && caseMode)
          ch[0] = static_cast<char>(caseMode > 0 ? std::toupper(static_cast<unsigned char>(ch[0]))
                                                 : std::tolower(static_cast<unsigned char>(ch[0])));
        out += ch;
        in += len;
      } else {
        out += blank;
      }
      continue;
    }
    char literal = m;
    if (m == '\\' && i + 1 < body.size())
      literal = body[++i];
    else if (m == '_')
      literal = ' ';
    out += literal;
    if (textHasLiterals && in < text.size() && text[in] == literal) ++in;
  }
  if (in < text.size()) out += text.substr(in);
  return out;
}

}  // namespace nFramework
