// The platform's formatting of numbers and dates (FormatFloat, FormatDateTime, StrToDate),
// with the separators and the short date format taken from the global FormatSettings, or
// from the TFormatSettings a call is given.
//
// FormatFloat patterns: "0" a digit always written, "#" a digit written when significant,
// the first "." the decimal separator, "," anywhere groups thousands, text in '...' or "..."
// and any other character copied as is; up to three sections "positive;negative;zero" (an
// empty or missing section falls back to the first, which then gets a leading "-" for a
// negative value). Rounding is half away from zero on the decimal digits, so 0.125 gives
// "0.13"; a value that rounds to zero is written by the zero section and never as "-0.00".
// Scientific notation ("E+00") is not supported: "E" is copied as text.
//
// FormatDateTime tokens, case-insensitive: yyyy yy, mm m (minutes when the last token was
// an hour), dd d, hh h (24 hours), nn n, ss s, zzz z; text in quotes and any other
// character is copied as is. Day and month names are not supported.
#pragma once
#include <string>
#include <string_view>

#include "Currency_U.h"
#include "DateUtils_U.h"

namespace nFramework {

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  std::string ShortDateFormat = "dd/mm/yyyy";
};

// Process-wide, as on the platform; tests change it and put it back. The court files are
// written with these (a decimal point), so nothing that shows a screen may change them.
extern TFormatSettings FormatSettings;
// What a Brazilian screen shows and reads: "1.234,56". Grids format and parse with these.
extern const TFormatSettings FormatSettingsTela;

std::string FormatFloat(std::string_view pattern, double value);
std::string FormatFloat(std::string_view pattern, Currency value);
std::string FormatFloat(std::string_view pattern, double value, const TFormatSettings& settings);
std::string FormatFloat(std::string_view pattern, Currency value, const TFormatSettings& settings);
// Up to 15 significant digits, as the platform writes a float: "12.5", "3", "1E20".
std::string FloatToStr(double value);
std::string FloatToStr(double value, const TFormatSettings& settings);

std::string FormatDateTime(std::string_view pattern, TDateTime value);
std::string DateToStr(TDateTime value);  // FormatSettings.ShortDateFormat

// Day/month/year as typed in the parameter panel: "05/03/2024" or "5/3/2024", blanks
// around it allowed; the year has four digits. Anything else is not a date.
bool TryStrToDate(std::string_view text, TDateTime& value);
TDateTime StrToDate(std::string_view text);  // raises EConvertError
TDateTime StrToDateDef(std::string_view text, TDateTime def);

// The years a date typed into a process's parameter may have. Past them it is a typing mistake:
// from 01/01/0001 a monthly run walks 24,277 months, and 31/12/9999 has no next day.
inline constexpr int kAnoMinimoParametro = 1900;
inline constexpr int kAnoMaximoParametro = 2100;
// TryStrToDate, and the year from kAnoMinimoParametro to kAnoMaximoParametro.
bool TryStrToDateParametro(std::string_view text, TDateTime& value);

}  // namespace nFramework
