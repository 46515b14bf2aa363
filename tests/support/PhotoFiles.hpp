#pragma once

#include <cstdint>
#include <string>

namespace brindleaf::testing {

// Writes the smallest JPEG Exiv2 accepts to `path`, carrying `tag` (an EXIF key) set to
// `date` ("YYYY:MM:DD HH:MM:SS"), and `offset` ("+02:00") in the offset tag beside it when
// given.
void writePhoto(const std::string& path, const std::string& date, const std::string& offset = {},
                const std::string& tag = "Exif.Photo.DateTimeOriginal");

// What a camera writes of a photo, for writeCameraPhoto: the date and its offset and
// sub-second tags (as DateTimeOriginal or, when `digitized`, as DateTimeDigitized), the
// maker, the model and the body serial number. Empty fields are not written.
struct CameraTags {
    std::string date;
    std::string offset;
    std::string subSecond;
    std::string make;
    std::string model;
    std::string serial;
    bool digitized = false;
};

// Writes the smallest JPEG Exiv2 accepts to `path`, carrying `tags`, whatever the name's
// extension: a raw file or an HEIC photo of this kind holds the same tags in the same place.
void writeCameraPhoto(const std::string& path, const CameraTags& tags);
// Replaces the EXIF data of the JPEG at `path` by `tags`, keeping its pixels.
void writeCameraTags(const std::string& path, const CameraTags& tags);

// Sets the modified time of `path`, in seconds since the epoch.
void setModified(const std::string& path, std::int64_t seconds);

} // namespace brindleaf::testing
