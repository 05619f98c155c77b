// The one clock of the program: "now" and the server's date come from here, so tests can fix them.
#pragma once
#include <optional>

#include "DateUtils_U.h"

namespace nFramework {

TDateTime Now();
TDateTime Date();
// Fixes the clock at a moment (tests); std::nullopt returns to the system clock.
void SetClockFixo(std::optional<TDateTime> moment);

}  // namespace nFramework
