#pragma once

#include "platform/UniqueFd.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace brindleaf {

// When the photo or video `name` inside `folder` was taken, in nanoseconds since the
// epoch, read through Exiv2: EXIF DateTimeOriginal, else DateTimeDigitized (the CreateDate
// of other tools), with the offset tag that goes with it where present and local time
// where not; for QuickTime and MP4 videos, the movie's creation time, which is UTC. None
// for anything else: not a regular file, no such tag, or metadata that cannot be read.
std::optional<std::int64_t> readDateTaken(const UniqueFd& folder, const std::string& name);

} // namespace brindleaf
