#pragma once

#include "engine/Cameras.hpp"

#include <cstdint>
#include <string>

namespace brindleaf {

// The written forms of dates, offsets and clock corrections that the options take and both
// front ends show: numbers and signs only, the same in every language.

// "+01:00": seconds east of UTC as an offset.
std::string offsetForm(std::int32_t secondsEast);

// "-0:03:12": a clock correction in seconds.
std::string shiftForm(std::int64_t seconds);

// "2024-07-01 10:00:05.55 +02:00": the instant in the zone it was read in; a modified time,
// which comes with no zone, in this computer's. A fraction of the second is shown where the
// camera wrote one.
std::string instantForm(const UsedDate& date);

} // namespace brindleaf
