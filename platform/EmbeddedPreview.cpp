#include "platform/EmbeddedPreview.hpp"

#include "platform/Exiv2Setup.hpp"
#include "platform/MappedFile.hpp"

#include <exiv2/exiv2.hpp>

#include <sys/stat.h>

#include <algorithm>

namespace brindleaf {

namespace {

int orientationOf(const Exiv2::ExifData& exif) {
    const auto found = Exiv2::orientation(exif);
    if (found == exif.end()) {
        return 1;
    }
    const long value = found->toLong();
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
}

// Exiv2 lists the previews from the smallest to the largest; one whose size it cannot tell
// counts as the smallest.
const Exiv2::PreviewProperties* chosen(const Exiv2::PreviewPropertiesList& previews,
                                       std::uint32_t side, SmallerPreview smaller) {
    const auto large = std::find_if(previews.begin(), previews.end(), [side](const auto& preview) {
        return std::max(preview.width_, preview.height_) >= side;
    });
    if (large != previews.end()) {
        return &*large;
    }
    return smaller == SmallerPreview::Largest && !previews.empty() ? &previews.back() : nullptr;
}

// The file is mapped rather than read: Exiv2 touches only the pages of the metadata and of
// the one preview taken, which for a raw file of tens of megabytes are a few of them.
std::optional<EmbeddedPreview> previewIn(const MappedFile& mapped, std::uint32_t side,
                                         SmallerPreview smaller) {
    const auto image = Exiv2::ImageFactory::open(mapped.bytes(), static_cast<long>(mapped.size()));
    image->readMetadata();
    const Exiv2::PreviewManager manager(*image);
    const Exiv2::PreviewPropertiesList previews = manager.getPreviewProperties();
    const Exiv2::PreviewProperties* properties = chosen(previews, side, smaller);
    if (properties == nullptr) {
        return std::nullopt;
    }
    const Exiv2::PreviewImage preview = manager.getPreviewImage(*properties);
    if (preview.size() == 0) {
        return std::nullopt;
    }
    EmbeddedPreview found;
    found.bytes.assign(preview.pData(), preview.pData() + preview.size());
    found.mimeType = preview.mimeType();
    found.width = preview.width();
    found.height = preview.height();
    found.orientation = orientationOf(image->exifData());
    return found;
}

} // namespace

std::optional<EmbeddedPreview> readEmbeddedPreview(const UniqueFd& file, std::uint32_t side,
                                                   SmallerPreview smaller) {
    struct stat status {};
    if (!file.valid() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size == 0) {
        return std::nullopt;
    }
    const MappedFile mapped(file, static_cast<std::size_t>(status.st_size));
    if (!mapped.isMapped()) {
        return std::nullopt;
    }
    prepareExiv2();
    try {
        return previewIn(mapped, side, smaller);
    } catch (const std::exception&) {
        // Metadata that cannot be read holds no preview to show.
        return std::nullopt;
    }
}

} // namespace brindleaf
