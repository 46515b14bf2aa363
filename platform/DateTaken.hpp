#pragma once

#include "platform/FileSystem.hpp"
#include "platform/UniqueFd.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brindleaf {

// When the photo or video `name` inside `folder` was taken, as Exiv2 reads it (a TIFF-based
// raw file's few tags are read from its directories directly, the same way): EXIF
// DateTimeOriginal, else DateTimeDigitized (the CreateDate of other tools), each with its
// sub-second and offset tags where present, and local time where no offset is; for
// QuickTime and MP4 videos, the movie's creation time, which is UTC. Beside it, the camera
// (EXIF Make and Model) and its body serial number. None for anything else: not a regular
// file, no such tag, or metadata that cannot be read.
std::optional<PhotoDate> readDateTaken(const UniqueFd& folder, const std::string& name);

// The same as Exiv2 reads it from the whole file, without the shortcuts readDateTaken takes
// to read less of it: what they must agree with. Movies aside.
std::optional<PhotoDate> readDateTakenAsExiv2Does(const UniqueFd& folder, const std::string& name);

// A camera's name from its maker and model, the maker not repeated where the model starts
// with its first word: "Canon" and "Canon EOS R6" make "Canon EOS R6", "NIKON CORPORATION"
// and "NIKON D750" make "NIKON D750", "Apple" and "iPhone 13" make "Apple iPhone 13".
std::string cameraName(std::string_view make, std::string_view model);

} // namespace brindleaf
