#include "Encoding_U.h"

#include <fmt/format.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "Exceptions_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

// Unicode of the bytes 0x80..0x9F; 0 marks the bytes the code page leaves undefined.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string Prefixed(std::string_view context, const std::string& message) {
  if (context.empty()) return message;
  return fmt::format("{}: {}", context, message);
}

[[noreturn]] void InvalidUtf8(std::string_view context, std::string_view text, size_t pos) {
  throw EFileError(Prefixed(context, fmt::format("texto com UTF-8 inválido (byte 0x{:02X} na posição {})",
                                                 static_cast<unsigned char>(text[pos]), pos + 1)));
}

// Decodes the code point at pos and advances pos; raises on malformed, overlong or surrogate forms.
char32_t DecodeAt(std::string_view text, size_t& pos, std::string_view context) {
  const size_t start = pos;
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char b = byte(pos);
  if (b < 0x80) {
    ++pos;
    return b;
  }
  int extra;
  char32_t cp;
  char32_t min;
  if ((b & 0xE0) == 0xC0) {
    extra = 1, cp = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    extra = 2, cp = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    extra = 3, cp = b & 0x07, min = 0x10000;
  } else {
    InvalidUtf8(context, text, start);
  }
  if (pos + extra >= text.size()) InvalidUtf8(context, text, start);
  for (int k = 1; k <= extra; ++k) {
    if ((byte(pos + k) & 0xC0) != 0x80) InvalidUtf8(context, text, start);
    cp = (cp << 6) | (byte(pos + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) InvalidUtf8(context, text, start);
  pos += extra + 1;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

int ToWindows1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (size_t i = 0; i < HighControls.size(); ++i)
    if (HighControls[i] != 0 && HighControls[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

}  // namespace

void ValidarUtf8(std::string_view text, std::string_view context) {
  for (size_t pos = 0; pos < text.size();) {
    // Court documents are mostly ASCII: eight bytes at a time while no high bit is set.
    uint64_t bloco;
    while (pos + sizeof bloco <= text.size() &&
           (std::memcpy(&bloco, text.data() + pos, sizeof bloco), (bloco & 0x8080808080808080ull) == 0))
      pos += sizeof bloco;
    if (pos < text.size()) DecodeAt(text, pos, context);
  }
}

std::string Utf8ToWindows1252(std::string_view text, std::string_view context) {
  std::string out;
  AppendWindows1252(out, text, context);
  return out;
}

void AppendWindows1252(std::string& out, std::string_view text, std::string_view context) {
  out.reserve(out.size() + text.size());
  for (size_t pos = 0; pos < text.size();) {
    // Court files are mostly ASCII: copy runs of it as they are.
    size_t run = pos;
    while (run < text.size() && static_cast<unsigned char>(text[run]) < 0x80) ++run;
    if (run > pos) {
      out.append(text.data() + pos, run - pos);
      pos = run;
      if (pos >= text.size()) break;
    }
    size_t start = pos;
    char32_t cp = DecodeAt(text, pos, context);
    int b = ToWindows1252(cp);
    if (b < 0)
      throw EFileError(Prefixed(context, fmt::format("o caractere \"{}\" (U+{:04X}) não existe em Windows-1252 (texto: \"{}\")",
                                                     CitarValor(text.substr(start, pos - start)), static_cast<uint32_t>(cp),
                                                     CitarValor(text))));
    out += static_cast<char>(b);
  }
}

std::string Windows1252ToUtf8(std::string_view bytes, std::string_view context) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (size_t i = 0; i < bytes.size(); ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    char32_t cp = b;
    if (b >= 0x80 && b <= 0x9F) {
      cp = HighControls[b - 0x80];
      if (cp == 0)
        throw EFileError(Prefixed(context, fmt::format("byte 0x{:02X} sem caractere em Windows-1252 (posição {})", b, i + 1)));
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string CodificarTexto(std::string_view text, TEncoding encoding, std::string_view context) {
  if (encoding == TEncoding::Windows1252) return Utf8ToWindows1252(text, context);
  ValidarUtf8(text, context);
  return std::string(text);
}

}  // namespace nFramework
