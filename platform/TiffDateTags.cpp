#include "platform/TiffDateTags.hpp"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace brindleaf {

namespace {

constexpr std::uint16_t asciiType = 2;
constexpr std::uint16_t longType = 4;
constexpr std::uint16_t ifdType = 13;
constexpr std::uint16_t exifPointerTag = 0x8769;
constexpr std::size_t entrySize = 12;
// Exiv2 takes a directory of more entries for damage, and so do we.
constexpr std::uint16_t mostEntries = 256;
// Directories of cameras' raw files hold up to this many entries, mostly.
constexpr std::size_t usualEntries = 64;
// Values less than this apart are read together.
constexpr std::uint64_t longestGap = 4096;
// Values further apart are read in separate reads.
constexpr std::uint64_t longestJointRead = 64 * 1024;
// No camera writes a date, a zone or a name this long; a count past it is damage.
constexpr std::uint32_t longestText = 64 * 1024;

// Where a wanted tag's value goes.
struct WantedTag {
    std::uint16_t tag;
    std::string TiffDateTags::*value;
};

constexpr std::array firstDirectoryTags{
    WantedTag{0x010F, &TiffDateTags::make},
    WantedTag{0x0110, &TiffDateTags::model},
};

constexpr std::array exifDirectoryTags{
    WantedTag{0x9003, &TiffDateTags::dateTimeOriginal},
    WantedTag{0x9004, &TiffDateTags::dateTimeDigitized},
    WantedTag{0x9011, &TiffDateTags::offsetTimeOriginal},
    WantedTag{0x9012, &TiffDateTags::offsetTimeDigitized},
    WantedTag{0x9291, &TiffDateTags::subSecTimeOriginal},
    WantedTag{0x9292, &TiffDateTags::subSecTimeDigitized},
    WantedTag{0xA431, &TiffDateTags::bodySerialNumber},
};

// A text value found in a directory, not yet read where it lies outside its entry.
struct FoundValue {
    std::string TiffDateTags::*value;
    std::uint64_t offset = 0;
    std::uint32_t count = 0;
    // The entry's own four bytes, which hold a value of up to four bytes.
    std::array<std::uint8_t, 4> inEntry{};
};

class TiffReader {
public:
    TiffReader(const UniqueFd& file, std::uint64_t size, std::span<const std::uint8_t> head)
        : file_(file), size_(size), head_(head) {}

    std::optional<TiffDateTags> read() {
        std::array<std::uint8_t, 8> header{};
        if (!bytesAt(0, header)) {
            return std::nullopt;
        }
        if (header[0] == 'I' && header[1] == 'I') {
            bigEndian_ = false;
        } else if (header[0] == 'M' && header[1] == 'M') {
            bigEndian_ = true;
        } else {
            return std::nullopt;
        }
        // 42, or an Olympus raw file's "RO" ("OR" in Motorola order).
        const std::uint16_t magic = number16(&header[2]);
        if (magic != 42 && magic != 0x4F52) {
            return std::nullopt;
        }
        const std::uint32_t first = number32(&header[4]);
        std::vector<FoundValue> found;
        std::optional<std::uint32_t> exif;
        if (!readDirectory(first, firstDirectoryTags, found, &exif) || !exif || *exif == first ||
            !readDirectory(*exif, exifDirectoryTags, found, nullptr)) {
            return std::nullopt;
        }
        TiffDateTags tags;
        if (!readValues(found, tags)) {
            return std::nullopt;
        }
        tags.reads = reads_;
        tags.bytesRead = bytesRead_;
        return tags;
    }

private:
    [[nodiscard]] std::uint16_t number16(const std::uint8_t* bytes) const {
        return bigEndian_ ? static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1])
                          : static_cast<std::uint16_t>((bytes[1] << 8) | bytes[0]);
    }

    [[nodiscard]] std::uint32_t number32(const std::uint8_t* bytes) const {
        std::uint32_t number = 0;
        for (int i = 0; i < 4; ++i) {
            number = (number << 8) | bytes[bigEndian_ ? i : 3 - i];
        }
        return number;
    }

    // The bytes at `offset`, from the head where it holds them; false where the file ends
    // before them.
    bool bytesAt(std::uint64_t offset, std::span<std::uint8_t> into) {
        if (offset + into.size() <= head_.size()) {
            std::memcpy(into.data(), head_.data() + offset, into.size());
            return true;
        }
        ++reads_;
        bytesRead_ += into.size();
        const ssize_t read =
            ::pread(file_.get(), into.data(), into.size(), static_cast<off_t>(offset));
        return read == static_cast<ssize_t>(into.size());
    }

    // Notes the wanted text tags of the directory at `offset`, and the Exif directory's
    // offset where `exif` asks for it. The count and the entries of a directory of usual
    // length come in one read.
    template <std::size_t count>
    bool readDirectory(std::uint32_t offset, const std::array<WantedTag, count>& wanted,
                       std::vector<FoundValue>& found, std::optional<std::uint32_t>* exif) {
        if (offset < 8 || offset >= size_) {
            return false;
        }
        std::vector<std::uint8_t> directory(
            std::min<std::uint64_t>(2 + usualEntries * entrySize, size_ - offset));
        if (directory.size() < 2 || !bytesAt(offset, directory)) {
            return false;
        }
        const std::uint16_t entries = number16(directory.data());
        if (entries == 0 || entries > mostEntries) {
            return false;
        }
        const std::size_t had = directory.size();
        directory.resize(2 + entries * entrySize);
        if (directory.size() > had && !bytesAt(offset + had, std::span(directory).subspan(had))) {
            return false;
        }
        directory.erase(directory.begin(), directory.begin() + 2);
        for (std::size_t at = 0; at < directory.size(); at += entrySize) {
            const std::uint8_t* entry = &directory[at];
            const std::uint16_t tag = number16(entry);
            const std::uint16_t type = number16(entry + 2);
            const std::uint32_t valueCount = number32(entry + 4);
            if (exif != nullptr && tag == exifPointerTag) {
                if (exif->has_value() || (type != longType && type != ifdType) || valueCount != 1) {
                    return false;
                }
                *exif = number32(entry + 8);
                continue;
            }
            const auto want = std::ranges::find(wanted, tag, &WantedTag::tag);
            if (want == wanted.end()) {
                continue;
            }
            const bool twice = std::ranges::any_of(
                found, [&](const FoundValue& value) { return value.value == want->value; });
            if (twice || type != asciiType || valueCount > longestText) {
                return false;
            }
            FoundValue value{want->value, number32(entry + 8), valueCount, {}};
            std::copy_n(entry + 8, 4, value.inEntry.begin());
            found.push_back(value);
        }
        return true;
    }

    // Reads the values outside their entries, those that lie close together in one read.
    bool readValues(const std::vector<FoundValue>& found, TiffDateTags& tags) {
        std::vector<FoundValue> outside;
        for (const FoundValue& value : found) {
            if (value.count <= 4) {
                assign(tags.*value.value, value.inEntry.data(), value.count);
            } else {
                outside.push_back(value);
            }
        }
        std::ranges::sort(outside, {}, &FoundValue::offset);
        for (std::size_t first = 0; first < outside.size();) {
            const std::uint64_t begin = outside[first].offset;
            std::uint64_t end = begin + outside[first].count;
            std::size_t last = first + 1;
            for (; last < outside.size(); ++last) {
                const std::uint64_t valueEnd = outside[last].offset + outside[last].count;
                if (outside[last].offset > end + longestGap ||
                    std::max(end, valueEnd) - begin > longestJointRead) {
                    break;
                }
                end = std::max(end, valueEnd);
            }
            std::vector<std::uint8_t> run(end - begin);
            if (!bytesAt(begin, run)) {
                return false;
            }
            for (std::size_t i = first; i < last; ++i) {
                assign(tags.*outside[i].value, run.data() + (outside[i].offset - begin),
                       outside[i].count);
            }
            first = last;
        }
        return true;
    }

    // Exiv2 gives a text up to its last byte that is not NUL.
    static void assign(std::string& text, const std::uint8_t* bytes, std::size_t count) {
        text.assign(bytes, bytes + count);
        text.erase(text.find_last_not_of('\0') + 1);
    }

    const UniqueFd& file_;
    std::uint64_t size_;
    std::span<const std::uint8_t> head_;
    bool bigEndian_ = false;
    std::size_t reads_ = 0;
    std::size_t bytesRead_ = 0;
};

} // namespace

std::optional<TiffDateTags> readTiffDateTags(const UniqueFd& file, std::uint64_t size,
                                             std::span<const std::uint8_t> head) {
    return TiffReader(file, size, head).read();
}

} // namespace brindleaf
