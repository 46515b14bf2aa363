#pragma once

#include "platform/UniqueFd.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace brindleaf {

// The EXIF tags a date taken and its camera are read from, as a TIFF-based file holds them
// (the raw files of most cameras, DNG, TIFF): each value as Exiv2 gives it, up to its last
// byte that is not NUL; empty where the tag is absent.
struct TiffDateTags {
    // In the Exif directory.
    std::string dateTimeOriginal;
    std::string subSecTimeOriginal;
    std::string offsetTimeOriginal;
    std::string dateTimeDigitized;
    std::string subSecTimeDigitized;
    std::string offsetTimeDigitized;
    std::string bodySerialNumber;
    // In the first directory.
    std::string make;
    std::string model;
    // What reading them cost: the calls to pread and the bytes they read, `head` aside.
    std::size_t reads = 0;
    std::size_t bytesRead = 0;
};

// Those tags of the TIFF-based `file` of `size` bytes, read from its header, its first
// directory and its Exif directory alone, with a few reads of only the bytes they take.
// `head` holds the file's first bytes where they were read already. None where the file is
// no TIFF (nor an Olympus raw file) or its structure is odd: an offset into the header or
// past the end, an Exif directory that is the first one again, a directory of more entries
// than any camera writes, a tag of another type than text or written twice; the caller then
// reads the file as it would any other.
[[nodiscard]] std::optional<TiffDateTags> readTiffDateTags(const UniqueFd& file, std::uint64_t size,
                                                           std::span<const std::uint8_t> head);

} // namespace brindleaf
