#include "DateUtils_U.h"

#include <cmath>
#include <cstdio>

#include "Exceptions_U.h"

namespace nFramework {

namespace {

// Days from 0001-01-01 (proleptic Gregorian) to the given date, 0-based.
long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;  // days since 1970-01-01
}

void CivilFromDays(long z, int& y, int& m, int& d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long yy = static_cast<long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

// 1899-12-30 relative to 1970-01-01.
const long kDelphiEpoch = DaysFromCivil(1899, 12, 30);

long WholeDays(TDateTime value) {
  // The platform counts the fraction away from day 0 for negative values; only dates
  // after 1899 matter here, so floor is enough.
  return static_cast<long>(std::floor(value + 1e-9));
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInAMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInAMonth(year, month);
}

std::optional<TDateTime> TryEncodeDate(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) return std::nullopt;
  return static_cast<TDateTime>(DaysFromCivil(year, month, day) - kDelphiEpoch);
}

TDateTime EncodeDate(int year, int month, int day) {
  auto d = TryEncodeDate(year, month, day);
  if (!d) throw EConvertError("Data inválida: " + std::to_string(day) + "/" + std::to_string(month) + "/" + std::to_string(year));
  return *d;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  CivilFromDays(WholeDays(value) + kDelphiEpoch, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  double frac = value - static_cast<double>(WholeDays(value));
  long ms = std::lround(frac * 86400000.0);
  if (ms >= 86400000) ms = 86399999;
  if (ms < 0) ms = 0;
  hour = static_cast<int>(ms / 3600000);
  minute = static_cast<int>(ms / 60000 % 60);
  second = static_cast<int>(ms / 1000 % 60);
  millisecond = static_cast<int>(ms % 1000);
}

TDateTime DateOf(TDateTime value) { return static_cast<TDateTime>(WholeDays(value)); }

int YearOf(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return y;
}

int MonthOf(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return m;
}

int DayOf(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return d;
}

TDateTime StartOfTheMonth(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return EncodeDate(y, m, 1);
}

TDateTime EndOfTheMonth(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return EncodeDate(y, m, DaysInAMonth(y, m));
}

TDateTime IncMonth(TDateTime value, int months) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  int total = y * 12 + (m - 1) + months;
  y = total / 12;
  m = total % 12 + 1;
  d = std::min(d, DaysInAMonth(y, m));
  return EncodeDate(y, m, d) + (value - DateOf(value));
}

std::string DateToISO(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
  return buf;
}

std::string DateTimeToISO(TDateTime value) {
  int h, mi, s, ms;
  DecodeTime(value, h, mi, s, ms);
  char buf[24];
  std::snprintf(buf, sizeof buf, " %02d:%02d:%02d.%03d", h, mi, s, ms);
  return DateToISO(value) + buf;
}

std::optional<TDateTime> TryISOToDateTime(std::string_view t) {
  auto num = [&](size_t pos, size_t len, int& out) {
    if (pos + len > t.size()) return false;
    out = 0;
    for (size_t i = pos; i < pos + len; ++i) {
      if (t[i] < '0' || t[i] > '9') return false;
      out = out * 10 + (t[i] - '0');
    }
    return true;
  };
  int y, m, d;
  if (t.size() < 10 || !num(0, 4, y) || t[4] != '-' || !num(5, 2, m) || t[7] != '-' || !num(8, 2, d)) return std::nullopt;
  auto date = TryEncodeDate(y, m, d);
  if (!date) return std::nullopt;
  if (t.size() == 10) return date;
  if (t[10] != ' ' && t[10] != 'T') return std::nullopt;
  int h = 0, mi = 0, s = 0, ms = 0;
  if (!num(11, 2, h) || t.size() < 16 || t[13] != ':' || !num(14, 2, mi)) return std::nullopt;
  size_t pos = 16;
  if (pos < t.size() && t[pos] == ':') {
    if (!num(pos + 1, 2, s)) return std::nullopt;
    pos += 3;
    if (pos < t.size() && t[pos] == '.') {
      ++pos;
      int digits = 0;
      while (pos < t.size() && t[pos] >= '0' && t[pos] <= '9') {
        if (digits < 3) ms = ms * 10 + (t[pos] - '0');
        ++digits;
        ++pos;
      }
      for (; digits < 3; ++digits) ms *= 10;
    }
  }
  if (pos != t.size() || h > 23 || mi > 59 || s > 59) return std::nullopt;
  return *date + EncodeTime(h, mi, s, ms);
}

}  // namespace nFramework
