// Text encodings of the files we write. Court text files are Windows-1252; everything in
// memory is UTF-8. A character the target lacks is an error, never a silent '?'.
#pragma once
#include <string>
#include <string_view>

namespace nFramework {

enum class TEncoding { Windows1252, Utf8 };

// UTF-8 to Windows-1252 bytes. Raises EFileError naming the context, the text and the
// character when the text is not valid UTF-8 or holds a character Windows-1252 lacks.
std::string Utf8ToWindows1252(std::string_view text, std::string_view context = {});
// The same, appended to `out` (no new string per line).
void AppendWindows1252(std::string& out, std::string_view text, std::string_view context = {});
// Windows-1252 bytes to UTF-8; raises EFileError for the five bytes the code page leaves undefined.
std::string Windows1252ToUtf8(std::string_view bytes, std::string_view context = {});
// Raises EFileError, as above, when the text is not valid UTF-8.
void ValidarUtf8(std::string_view text, std::string_view context = {});
// The UTF-8 text in the given encoding, with the errors of the functions above.
std::string CodificarTexto(std::string_view text, TEncoding encoding, std::string_view context = {});

}  // namespace nFramework
