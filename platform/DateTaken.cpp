#include "platform/DateTaken.hpp"

#include "platform/Exiv2Setup.hpp"
#include "platform/MappedFile.hpp"
#include "platform/TiffDateTags.hpp"

#include <exiv2/exiv2.hpp>
#ifdef EXV_ENABLE_VIDEO
#include <exiv2/quicktimevideo.hpp>
#endif

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <ctime>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

namespace brindleaf {

namespace {

constexpr std::int64_t nanosecondsPerSecond = 1'000'000'000;
// QuickTime counts seconds from 1904-01-01 UTC.
constexpr std::int64_t quickTimeEpochOffset = 2'082'844'800;

bool readNumber(std::string_view text, int& number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc{} && end == text.data() + text.size();
}

// "+02:00" or "-05:30" in seconds east of UTC.
std::optional<std::int64_t> offsetSeconds(std::string_view text) {
    int hours = 0;
    int minutes = 0;
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':' ||
        !readNumber(text.substr(1, 2), hours) || !readNumber(text.substr(4, 2), minutes)) {
        return std::nullopt;
    }
    const std::int64_t seconds = hours * 3600 + minutes * 60;
    return text[0] == '-' ? -seconds : seconds;
}

// "YYYY:MM:DD HH:MM:SS" as a clock reading, in seconds as if it were UTC.
std::optional<std::int64_t> exifClockSeconds(std::string_view text) {
    std::tm time{};
    if (text.size() < 19 || !readNumber(text.substr(0, 4), time.tm_year) ||
        !readNumber(text.substr(5, 2), time.tm_mon) ||
        !readNumber(text.substr(8, 2), time.tm_mday) ||
        !readNumber(text.substr(11, 2), time.tm_hour) ||
        !readNumber(text.substr(14, 2), time.tm_min) ||
        !readNumber(text.substr(17, 2), time.tm_sec) || time.tm_year == 0) {
        return std::nullopt; // cameras write "0000:00:00 00:00:00" for no date
    }
    time.tm_year -= 1900;
    time.tm_mon -= 1;
    return static_cast<std::int64_t>(::timegm(&time));
}

// The clock reading `clock` read in this computer's zone at that date.
std::optional<std::int64_t> localInstantOf(std::int64_t clock) {
    const auto asTime = static_cast<std::time_t>(clock);
    std::tm time{};
    if (::gmtime_r(&asTime, &time) == nullptr) {
        return std::nullopt;
    }
    time.tm_isdst = -1;
    const std::time_t local = std::mktime(&time);
    return local == static_cast<std::time_t>(-1) ? std::nullopt
                                                 : std::optional<std::int64_t>(local);
}

// The digits of SubSecTime* are the decimals of the second: "55" is 0.55 s.
std::int64_t subSecondNanoseconds(std::string_view digits) {
    std::int64_t nanoseconds = 0;
    std::int64_t scale = nanosecondsPerSecond / 10;
    for (const char digit : digits) {
        if (digit == ' ') {
            break; // cameras pad the field with spaces
        }
        if (digit < '0' || digit > '9') {
            return 0;
        }
        nanoseconds += (digit - '0') * scale;
        scale /= 10;
    }
    return nanoseconds;
}

std::string valueOf(const Exiv2::ExifData& exif, const char* key) {
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    return found != exif.end() ? found->toString() : std::string();
}

std::string xmpValueOf(const Exiv2::XmpData& xmp, const char* key) {
    const auto found = xmp.findKey(Exiv2::XmpKey(key));
    return found != xmp.end() ? found->toString() : std::string();
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

PhotoDate describedBy(const Exiv2::Image& image, PhotoDate date) {
    const Exiv2::ExifData& exif = image.exifData();
    const Exiv2::XmpData& xmp = image.xmpData();
    std::string make = valueOf(exif, "Exif.Image.Make");
    std::string model = valueOf(exif, "Exif.Image.Model");
    if (make.empty() && model.empty()) {
        make = xmpValueOf(xmp, "Xmp.video.Make");
        model = xmpValueOf(xmp, "Xmp.video.Model");
    }
    date.camera = cameraName(make, model);
    date.serial = std::string(trimmed(valueOf(exif, "Exif.Photo.BodySerialNumber")));
    return date;
}

// The Exiv2 keys of a date and of the tags that belong with it.
struct DateTags {
    const char* date;
    const char* offset;
    const char* subSecond;
};

constexpr DateTags originalTags{"Exif.Photo.DateTimeOriginal", "Exif.Photo.OffsetTimeOriginal",
                                "Exif.Photo.SubSecTimeOriginal"};
constexpr DateTags digitizedTags{"Exif.Photo.DateTimeDigitized", "Exif.Photo.OffsetTimeDigitized",
                                 "Exif.Photo.SubSecTimeDigitized"};

// The date taken that EXIF tags give, `valueOf` giving each tag's text by its Exiv2 key:
// DateTimeOriginal, else DateTimeDigitized, each with its own sub-second and offset tags.
// The camera is left for the caller to name.
// Instants are held in nanoseconds since 1970, which reach from 1677 to 2262: a date beyond
// them is none to order by, rather than one that wraps around to another century.
std::optional<std::int64_t> nanosecondsAt(std::int64_t seconds, std::int64_t fraction = 0) {
    constexpr std::int64_t reach =
        std::numeric_limits<std::int64_t>::max() / nanosecondsPerSecond - 1;
    if (seconds < -reach || seconds > reach) {
        return std::nullopt;
    }
    return seconds * nanosecondsPerSecond + fraction;
}

template <typename ValueOf> std::optional<PhotoDate> exifDateOf(const ValueOf& valueOf) {
    for (const DateTags& tags : {originalTags, digitizedTags}) {
        const auto clock = exifClockSeconds(valueOf(tags.date));
        if (!clock) {
            continue;
        }
        const auto east = offsetSeconds(valueOf(tags.offset));
        const auto seconds = east ? std::optional(*clock - *east) : localInstantOf(*clock);
        if (!seconds) {
            continue;
        }
        const std::int64_t fraction = subSecondNanoseconds(valueOf(tags.subSecond));
        const auto taken = nanosecondsAt(*seconds, fraction);
        const auto onClock = nanosecondsAt(*clock, fraction);
        if (!taken || !onClock) {
            continue;
        }
        PhotoDate date;
        date.taken = *taken;
        date.clock = *onClock;
        if (east) {
            date.offset = static_cast<std::int32_t>(*east);
        }
        return date;
    }
    return std::nullopt;
}

std::optional<PhotoDate> takenBy(const Exiv2::Image& image) {
    const Exiv2::ExifData& exif = image.exifData();
    if (auto date = exifDateOf([&](const char* key) { return valueOf(exif, key); })) {
        return describedBy(image, std::move(*date));
    }
    const Exiv2::XmpData& xmp = image.xmpData();
    const auto created = xmp.findKey(Exiv2::XmpKey("Xmp.video.DateUTC"));
    if (created != xmp.end()) {
        const std::int64_t since1904 = created->toLong();
        const auto taken = since1904 > quickTimeEpochOffset
                               ? nanosecondsAt(since1904 - quickTimeEpochOffset)
                               : std::nullopt;
        if (taken) {
            PhotoDate date;
            date.taken = *taken;
            date.clock = date.taken;
            date.offset = 0;
            return describedBy(image, std::move(date));
        }
    }
    return std::nullopt;
}

// The date taken that a TIFF-based file's directories give, as Exiv2 would read it from
// the same tags. None where they give none, or name no camera, which a reading of the
// whole file might still find in its XMP packet.
std::optional<PhotoDate> takenInDirectories(const TiffDateTags& tags) {
    if (tags.make.empty() && tags.model.empty()) {
        return std::nullopt;
    }
    const std::pair<std::string_view, const std::string*> byKey[] = {
        {originalTags.date, &tags.dateTimeOriginal},
        {originalTags.offset, &tags.offsetTimeOriginal},
        {originalTags.subSecond, &tags.subSecTimeOriginal},
        {digitizedTags.date, &tags.dateTimeDigitized},
        {digitizedTags.offset, &tags.offsetTimeDigitized},
        {digitizedTags.subSecond, &tags.subSecTimeDigitized},
    };
    auto date = exifDateOf([&](std::string_view key) -> std::string_view {
        const auto found =
            std::ranges::find(byKey, key, &std::pair<std::string_view, const std::string*>::first);
        return *found->second;
    });
    if (date) {
        date->camera = cameraName(tags.make, tags.model);
        date->serial = std::string(trimmed(tags.bodySerialNumber));
    }
    return date;
}

// The descriptor's own file by a path, which no rename can point elsewhere.
std::string pathOf(const UniqueFd& file) {
#if defined(__APPLE__)
    return "/dev/fd/" + std::to_string(file.get());
#else
    return "/proc/self/fd/" + std::to_string(file.get());
#endif
}

// Whether descriptor paths lead to the descriptors' files, as they do wherever /proc is
// mounted; asked once, of the first file read.
bool reachesFilesByDescriptorPath(const UniqueFd& file, const struct stat& status) {
    static const bool reaches = [&] {
        struct stat viaPath {};
        return ::stat(pathOf(file).c_str(), &viaPath) == 0 && viaPath.st_ino == status.st_ino &&
               viaPath.st_dev == status.st_dev;
    }();
    return reaches;
}

// The bytes read first of each file: below the size for which glibc maps memory afresh
// at each allocation.
constexpr std::size_t headSize = 120 * 1024;

// What the reader of `data`'s type finds.
std::optional<PhotoDate> takenIn(const Exiv2::byte* data, std::size_t size) {
    const auto image = Exiv2::ImageFactory::open(data, static_cast<long>(size));
    image->readMetadata();
    return takenBy(*image);
}

// Exiv2 takes MP4 files for images of the ISO media family, whose reader reads no movie
// header; QuickTime's reader does. Exiv2 0.27 hands its input over in a std::auto_ptr.
std::optional<PhotoDate> movieCreated(const std::string& path) {
#ifdef EXV_ENABLE_VIDEO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    Exiv2::QuickTimeVideo movie(Exiv2::BasicIo::AutoPtr(new Exiv2::FileIo(path)));
#pragma GCC diagnostic pop
    movie.readMetadata();
    return takenBy(movie);
#else
    return std::nullopt;
#endif
}

// A JPEG's metadata lies in its APPn segments before the image data, nearly always within
// its first few kilobytes; a card read cold costs a request per block, so only those are read.
constexpr std::size_t jpegFirstRead = 16 * 1024;
// Past this, a JPEG's segments are read the usual way.
constexpr std::size_t jpegLongestMetadata = 256 * 1024;

std::size_t bigEndian16(const Exiv2::byte* bytes) {
    return (std::size_t{bytes[0]} << 8) | bytes[1];
}

// A JPEG's segments up to the end of its EXIF segment (APP1 "Exif"), closed by an end of
// image marker, so that Exiv2 reads them as a whole JPEG: nothing of the image data is read.
// Empty when the file is no JPEG or holds no EXIF segment before its image data.
// `first` holds the file's first bytes.
std::vector<Exiv2::byte> jpegMetadata(const UniqueFd& file, std::size_t size,
                                      std::span<const Exiv2::byte> first) {
    if (first.size() < 4 || first[0] != 0xFF || first[1] != 0xD8) {
        return {};
    }
    std::vector<Exiv2::byte> bytes(first.begin(), first.end());
    const auto readUpTo = [&](std::size_t end) {
        const std::size_t had = bytes.size();
        if (end <= had) {
            return true;
        }
        bytes.resize(end);
        const ssize_t read =
            ::pread(file.get(), bytes.data() + had, end - had, static_cast<off_t>(had));
        return read == static_cast<ssize_t>(end - had);
    };
    std::size_t at = 2;
    while (at + 4 <= size && at < jpegLongestMetadata) {
        if (!readUpTo(at + 4) || bytes[at] != 0xFF) {
            return {};
        }
        const Exiv2::byte marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) {
            return {}; // the image data comes before any EXIF segment
        }
        const std::size_t end = at + 2 + bigEndian16(&bytes[at + 2]);
        if (marker == 0xE1 && end >= at + 10 && readUpTo(at + 10) &&
            std::memcmp(&bytes[at + 4], "Exif\0\0", 6) == 0) {
            if (end > size || !readUpTo(end)) {
                return {};
            }
            bytes.resize(end);
            bytes.insert(bytes.end(), {0xFF, 0xD9});
            return bytes;
        }
        at = end;
    }
    return {};
}

// The date taken of an opened file. Most photos keep their metadata in their first
// kilobytes, and one read of those spares Exiv2's own opens, seeks and reads of the file: a
// JPEG's segments up to its EXIF segment, a TIFF-based raw file's directories and the tags
// they point to, else the file's head. A file whose metadata reaches further, which Exiv2
// reports as an error or as no date, is read whole: through the descriptor's path, where
// Exiv2 reads only the parts it needs, or else through a mapping of the file where /proc is
// not mounted.
std::optional<PhotoDate> takenOf(const UniqueFd& file, const struct stat& status) {
    const auto size = static_cast<std::size_t>(status.st_size);
    std::vector<Exiv2::byte> head(std::min(jpegFirstRead, size));
    const ssize_t firstRead = ::pread(file.get(), head.data(), head.size(), 0);
    if (firstRead <= 0) {
        return std::nullopt;
    }
    head.resize(static_cast<std::size_t>(firstRead));
    try {
        const std::vector<Exiv2::byte> metadata = jpegMetadata(file, size, head);
        if (!metadata.empty()) {
            if (auto date = takenIn(metadata.data(), metadata.size())) {
                return date;
            }
        }
    } catch (const std::exception&) {
        // Read as any other file below.
    }
    if (const auto tags = readTiffDateTags(file, size, head)) {
        if (auto date = takenInDirectories(*tags)) {
            return date;
        }
    }
    if (head.size() == jpegFirstRead && size > head.size()) {
        const std::size_t had = head.size();
        head.resize(std::min(headSize, size));
        const ssize_t read =
            ::pread(file.get(), head.data() + had, head.size() - had, static_cast<off_t>(had));
        head.resize(had + static_cast<std::size_t>(std::max<ssize_t>(read, 0)));
    }
    const bool isMovie = head.size() >= 8 && std::memcmp(head.data() + 4, "ftyp", 4) == 0;
    try {
        if (auto date = takenIn(head.data(), head.size())) {
            return date;
        }
    } catch (const std::exception&) {
        // Read whole below.
    }
    if (size <= head.size() && !isMovie) {
        return std::nullopt;
    }
    if (reachesFilesByDescriptorPath(file, status)) {
        if (isMovie) {
            return movieCreated(pathOf(file));
        }
        const auto image = Exiv2::ImageFactory::open(pathOf(file));
        image->readMetadata();
        return takenBy(*image);
    }
    const MappedFile mapped(file, size);
    return mapped.isMapped() ? takenIn(mapped.bytes(), size) : std::nullopt;
}

} // namespace

std::string cameraName(std::string_view make, std::string_view model) {
    make = trimmed(make.substr(0, make.find('\0')));
    model = trimmed(model.substr(0, model.find('\0')));
    const std::string_view maker = make.substr(0, make.find(' '));
    const auto lower = [](char byte) {
        return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
    };
    const bool repeatsMaker =
        model.size() >= maker.size() &&
        std::ranges::equal(model.substr(0, maker.size()), maker, {}, lower, lower);
    if (make.empty() || repeatsMaker) {
        return std::string(model);
    }
    if (model.empty()) {
        return std::string(make);
    }
    return std::string(make) + " " + std::string(model);
}

namespace {

// A file that may hold a date: regular, and not empty. Never a link's target, and never one
// that an open would wait on.
struct OpenedPhoto {
    UniqueFd file;
    struct stat status {};
};

std::optional<OpenedPhoto> openPhoto(const UniqueFd& folder, const std::string& name) {
    OpenedPhoto opened{UniqueFd(::openat(folder.get(), name.c_str(),
                                         O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)),
                       {}};
    if (!opened.file.valid() || ::fstat(opened.file.get(), &opened.status) != 0 ||
        !S_ISREG(opened.status.st_mode) || opened.status.st_size == 0) {
        return std::nullopt;
    }
    return opened;
}

} // namespace

std::optional<PhotoDate> readDateTaken(const UniqueFd& folder, const std::string& name) {
    const auto opened = openPhoto(folder, name);
    if (!opened) {
        return std::nullopt;
    }
    prepareExiv2();
    try {
        return takenOf(opened->file, opened->status);
    } catch (const std::exception&) {
        // Metadata that cannot be read is the same as none: the modified time stands in.
    }
    return std::nullopt;
}

std::optional<PhotoDate> readDateTakenAsExiv2Does(const UniqueFd& folder, const std::string& name) {
    const auto opened = openPhoto(folder, name);
    if (!opened) {
        return std::nullopt;
    }
    prepareExiv2();
    try {
        const auto size = static_cast<std::size_t>(opened->status.st_size);
        const MappedFile mapped(opened->file, size);
        if (mapped.isMapped()) {
            return takenIn(mapped.bytes(), size);
        }
    } catch (const std::exception&) {
        // No date, as for readDateTaken.
    }
    return std::nullopt;
}

} // namespace brindleaf
