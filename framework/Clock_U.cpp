#include "Clock_U.h"

#include <chrono>
#include <ctime>

namespace nFramework {

namespace {
std::optional<TDateTime> gFixo;
}

TDateTime Now() {
  if (gFixo) return *gFixo;
  auto now = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms));
}

TDateTime Date() { return DateOf(Now()); }

void SetClockFixo(std::optional<TDateTime> moment) { gFixo = moment; }

}  // namespace nFramework
