#include "platform/DateTaken.hpp"

#include "platform/Exiv2Setup.hpp"
#include "platform/MappedFile.hpp"

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

// "YYYY:MM:DD HH:MM:SS", in the zone of `offset`, or local time without one.
std::optional<std::int64_t> exifSeconds(std::string_view text, std::string_view offset) {
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
    if (const auto east = offsetSeconds(offset)) {
        return static_cast<std::int64_t>(::timegm(&time)) - *east;
    }
    time.tm_isdst = -1;
    const std::time_t local = std::mktime(&time);
    return local == static_cast<std::time_t>(-1) ? std::nullopt
                                                 : std::optional<std::int64_t>(local);
}

std::string valueOf(const Exiv2::ExifData& exif, const char* key) {
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    return found != exif.end() ? found->toString() : std::string();
}

std::optional<std::int64_t> takenSeconds(const Exiv2::Image& image) {
    const Exiv2::ExifData& exif = image.exifData();
    for (const auto& [date, offset] :
         {std::pair{"Exif.Photo.DateTimeOriginal", "Exif.Photo.OffsetTimeOriginal"},
          std::pair{"Exif.Photo.DateTimeDigitized", "Exif.Photo.OffsetTimeDigitized"}}) {
        if (const auto seconds = exifSeconds(valueOf(exif, date), valueOf(exif, offset))) {
            return seconds;
        }
    }
    const Exiv2::XmpData& xmp = image.xmpData();
    const auto created = xmp.findKey(Exiv2::XmpKey("Xmp.video.DateUTC"));
    if (created != xmp.end()) {
        const std::int64_t since1904 = created->toLong();
        if (since1904 > quickTimeEpochOffset) {
            return since1904 - quickTimeEpochOffset;
        }
    }
    return std::nullopt;
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
std::optional<std::int64_t> takenSecondsIn(const Exiv2::byte* data, std::size_t size) {
    const auto image = Exiv2::ImageFactory::open(data, static_cast<long>(size));
    image->readMetadata();
    return takenSeconds(*image);
}

// Exiv2 takes MP4 files for images of the ISO media family, whose reader reads no movie
// header; QuickTime's reader does. Exiv2 0.27 hands its input over in a std::auto_ptr.
std::optional<std::int64_t> movieCreatedSeconds(const std::string& path) {
#ifdef EXV_ENABLE_VIDEO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    Exiv2::QuickTimeVideo movie(Exiv2::BasicIo::AutoPtr(new Exiv2::FileIo(path)));
#pragma GCC diagnostic pop
    movie.readMetadata();
    return takenSeconds(movie);
#else
    return std::nullopt;
#endif
}

// The date taken of an opened file, as Exiv2 reads it. Most photos keep their metadata in
// their first kilobytes, and one read of those spares Exiv2's own opens, seeks and reads of
// the file. A file whose metadata reaches further, which Exiv2 reports as an error or as no
// date, is read whole: through the descriptor's path, where Exiv2 reads only the parts it
// needs, or else through a mapping of the file where /proc is not mounted.
std::optional<std::int64_t> takenSecondsOf(const UniqueFd& file, const struct stat& status) {
    const auto size = static_cast<std::size_t>(status.st_size);
    std::vector<Exiv2::byte> head(std::min(headSize, size));
    const ssize_t read = ::pread(file.get(), head.data(), head.size(), 0);
    if (read <= 0) {
        return std::nullopt;
    }
    head.resize(static_cast<std::size_t>(read));
    const bool isMovie = head.size() >= 8 && std::memcmp(head.data() + 4, "ftyp", 4) == 0;
    try {
        if (const auto seconds = takenSecondsIn(head.data(), head.size())) {
            return seconds;
        }
    } catch (const std::exception&) {
        // Read whole below.
    }
    if (size <= head.size() && !isMovie) {
        return std::nullopt;
    }
    if (reachesFilesByDescriptorPath(file, status)) {
        if (isMovie) {
            return movieCreatedSeconds(pathOf(file));
        }
        const auto image = Exiv2::ImageFactory::open(pathOf(file));
        image->readMetadata();
        return takenSeconds(*image);
    }
    const MappedFile mapped(file, size);
    return mapped.isMapped() ? takenSecondsIn(mapped.bytes(), size) : std::nullopt;
}

} // namespace

std::optional<std::int64_t> readDateTaken(const UniqueFd& folder, const std::string& name) {
    const UniqueFd file(
        ::openat(folder.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!file.valid() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size == 0) {
        return std::nullopt;
    }
    prepareExiv2();
    try {
        if (const auto seconds = takenSecondsOf(file, status)) {
            return *seconds * nanosecondsPerSecond;
        }
    } catch (const std::exception&) {
        // Metadata that cannot be read is the same as none: the modified time stands in.
    }
    return std::nullopt;
}

} // namespace brindleaf
