// Dates as the platform holds them: TDateTime counts days since 30/12/1899, the fraction
// is the time of day. The database keeps dates as ISO text (YYYY-MM-DD) and timestamps
// as YYYY-MM-DD HH:MM:SS.mmm.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace nFramework {

using TDateTime = double;

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);
bool IsValidDate(int year, int month, int day);
// Raises EConvertError for an invalid date.
TDateTime EncodeDate(int year, int month, int day);
std::optional<TDateTime> TryEncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
TDateTime DateOf(TDateTime value);
int YearOf(TDateTime value);
int MonthOf(TDateTime value);
int DayOf(TDateTime value);
TDateTime StartOfTheMonth(TDateTime value);
TDateTime EndOfTheMonth(TDateTime value);  // the last day, at midnight
TDateTime IncMonth(TDateTime value, int months = 1);

// "YYYY-MM-DD" of the date part.
std::string DateToISO(TDateTime value);
// "YYYY-MM-DD HH:MM:SS.mmm".
std::string DateTimeToISO(TDateTime value);
// Accepts "YYYY-MM-DD", optionally followed by " HH:MM[:SS[.fff]]" or "THH:MM...".
std::optional<TDateTime> TryISOToDateTime(std::string_view text);

}  // namespace nFramework
