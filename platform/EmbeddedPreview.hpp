#pragma once

#include "platform/UniqueFd.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brindleaf {

// A picture a photo carries in its metadata, still encoded: the EXIF thumbnail of a JPEG, or
// one of the previews a raw file holds beside its sensor data.
struct EmbeddedPreview {
    std::vector<unsigned char> bytes;
    // Its MIME type as the file declares it, such as "image/jpeg".
    std::string mimeType;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // The photo's EXIF orientation (1 to 8, 1 for upright), which its previews share but do
    // not carry themselves.
    int orientation = 1;
};

// Which preview to take when none is as large as asked.
enum class SmallerPreview { Refused, Largest };

// The smallest preview embedded in the opened `file` whose longer side is at least `side`
// pixels, read through Exiv2; or, when `smaller` allows it and none is that large, the
// largest there is. None when the file holds no preview or cannot be read.
std::optional<EmbeddedPreview>
readEmbeddedPreview(const UniqueFd& file, std::uint32_t side,
                    SmallerPreview smaller = SmallerPreview::Refused);

} // namespace brindleaf
