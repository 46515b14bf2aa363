#pragma once

#include <cstdint>
#include <string>

namespace brindleaf::testing {

// Writes the smallest JPEG Exiv2 accepts to `path`, carrying `tag` (an EXIF key) set to
// `date` ("YYYY:MM:DD HH:MM:SS"), and `offset` ("+02:00") in the offset tag beside it when
// given.
void writePhoto(const std::string& path, const std::string& date, const std::string& offset = {},
                const std::string& tag = "Exif.Photo.DateTimeOriginal");

// Sets the modified time of `path`, in seconds since the epoch.
void setModified(const std::string& path, std::int64_t seconds);

} // namespace brindleaf::testing
