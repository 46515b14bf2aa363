#include "platform/DateTaken.hpp"
#include "support/PhotoFiles.hpp"
#include "support/TemporaryFolder.hpp"

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

#include <fcntl.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace brindleaf {
namespace {

using testing::TemporaryFolder;

constexpr std::int64_t second = 1'000'000'000;

// A movie of nothing but its header: the file type, then the movie header with its creation
// time, in seconds since 1904.
void writeMovie(const std::string& path, const char* brand, std::uint32_t createdSince1904) {
    const auto big = [](std::uint32_t value) {
        return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value)};
    };
    const auto box = [&](const char* type, const std::string& payload) {
        return big(static_cast<std::uint32_t>(8 + payload.size())) + type + payload;
    };
    std::string header = big(0) + big(createdSince1904) + big(createdSince1904) + big(1000) +
                         big(5000) + big(0x10000) + std::string("\x01\x00", 2) +
                         std::string(10, '\0');
    for (const std::uint32_t cell : {0x10000U, 0U, 0U, 0U, 0x10000U, 0U, 0U, 0U, 0x40000000U}) {
        header += big(cell);
    }
    header += std::string(24, '\0') + big(2);
    std::ofstream(path, std::ios::binary)
        << box("ftyp", std::string(brand) + big(0) + brand) << box("moov", box("mvhd", header));
}

TEST(DateTaken, ComesFromEachFormatsOwnTagInItsOwnZone) {
    TemporaryFolder folder;
    // 2024-07-01 08:00 UTC.
    constexpr std::int64_t taken = 1'719'820'800;
    testing::writePhoto(folder.pathOf("offset.jpg"), "2024:07:01 10:00:00", "+02:00");
    testing::writePhoto(folder.pathOf("local.jpg"), "2024:07:01 17:00:00");
    testing::writePhoto(folder.pathOf("created.jpg"), "2024:07:01 08:00:00", "+00:00",
                        "Exif.Photo.DateTimeDigitized");
    testing::writePhoto(folder.pathOf("no date.jpg"), "0000:00:00 00:00:00");
    for (const char* brand : {"isom", "qt  "}) {
        writeMovie(folder.pathOf(std::string(brand, 2) + ".mp4"), brand, taken + 2'082'844'800);
    }
    std::ofstream(folder.pathOf("broken.jpg"), std::ios::binary)
        << std::string("\xFF\xD8\xFF\xE1\x00\x20"
                       "Exif\0\0MM\0\x2A\0\0\0\x08\xFF\xFF",
                       22);
    folder.addFile("notes.txt");
    folder.addFolder("Videos");

    // Nine hours east of UTC, as in Tokyo, in a form that needs no zone database: 17:00
    // there is 08:00 UTC.
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
    const UniqueFd opened(::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const std::vector<std::pair<const char*, std::optional<std::int64_t>>> cases{
        {"offset.jpg", taken * second},  {"local.jpg", taken * second},
        {"created.jpg", taken * second}, {"is.mp4", taken * second},
        {"qt.mp4", taken * second},      {"no date.jpg", std::nullopt},
        {"broken.jpg", std::nullopt},    {"notes.txt", std::nullopt},
        {"Videos", std::nullopt},        {"missing.jpg", std::nullopt},
    };
    for (const auto& [name, expected] : cases) {
        const auto read = readDateTaken(opened, name);
        EXPECT_EQ(read ? std::optional(read->taken) : std::nullopt, expected) << name;
    }
    ::unsetenv("TZ");
    ::tzset();
}

// The fraction of the second, the zone as written and the camera come with the date, from
// the tags that belong with the date used.
TEST(DateTaken, CarriesTheSecondsFractionTheZoneAndTheCamera) {
    TemporaryFolder folder;
    // 2024-07-01 08:00 UTC.
    constexpr std::int64_t eight = 1'719'820'800;
    testing::writeCameraPhoto(
        folder.pathOf("canon.jpg"),
        {"2024:07:01 10:00:00", "+02:00", "55", "Canon", "Canon EOS R6", "012345", false});
    testing::writeCameraPhoto(
        folder.pathOf("nikon.NEF"),
        {"2024:07:01 09:00:00", "", "07", "NIKON CORPORATION", "NIKON D750", "", false});
    testing::writeCameraPhoto(folder.pathOf("phone.HEIC"), {"2024:07:01 09:00:00", "+01:00", "5",
                                                            "Apple", "iPhone 13", "", true});
    // Nine hours east of UTC, as in Tokyo, in a form that needs no zone database.
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
    const UniqueFd opened(::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct Case {
        const char* name;
        std::int64_t taken;
        std::int64_t clock;
        std::optional<std::int32_t> offset;
        const char* camera;
        const char* serial;
    };
    const Case cases[] = {
        {"canon.jpg", eight * second + 550'000'000, (eight + 7'200) * second + 550'000'000, 7'200,
         "Canon EOS R6", "012345"},
        // No offset: read as Tokyo time, the clock kept as written.
        {"nikon.NEF", (eight + 3'600 - 9 * 3'600) * second + 70'000'000,
         (eight + 3'600) * second + 70'000'000, std::nullopt, "NIKON D750", ""},
        {"phone.HEIC", eight * second + 500'000'000, (eight + 3'600) * second + 500'000'000, 3'600,
         "Apple iPhone 13", ""},
    };
    for (const Case& expected : cases) {
        const auto read = readDateTaken(opened, expected.name);
        ASSERT_TRUE(read) << expected.name;
        EXPECT_EQ(read->taken, expected.taken) << expected.name;
        EXPECT_EQ(read->clock, expected.clock) << expected.name;
        EXPECT_EQ(read->offset, expected.offset) << expected.name;
        EXPECT_EQ(read->camera, expected.camera) << expected.name;
        EXPECT_EQ(read->serial, expected.serial) << expected.name;
    }
    ::unsetenv("TZ");
    ::tzset();
}

// Zones lie at half and quarter hours, and west of UTC: the minutes of an offset count, and
// so does its sign, whatever zone the reading machine is in.
TEST(DateTaken, OffsetsWithMinutesAndWestOfUtcCount) {
    TemporaryFolder folder;
    // 2024-07-01 08:00 UTC.
    constexpr std::int64_t taken = 1'719'820'800;
    const std::vector<std::pair<const char*, const char*>> clocks{
        {"2024:07:01 13:30:00", "+05:30"}, {"2024:07:01 13:45:00", "+05:45"},
        {"2024:07:01 05:00:00", "-03:00"}, {"2024:06:30 22:30:00", "-09:30"},
        {"2024:07:01 08:00:00", "-00:00"}, {"2024:07:01 21:45:00", "+13:45"},
    };
    for (std::size_t i = 0; i < clocks.size(); ++i) {
        testing::writePhoto(folder.pathOf(std::to_string(i) + ".jpg"), clocks[i].first,
                            clocks[i].second);
    }
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
    const UniqueFd opened(::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (std::size_t i = 0; i < clocks.size(); ++i) {
        const auto read = readDateTaken(opened, std::to_string(i) + ".jpg");
        ASSERT_TRUE(read) << clocks[i].second;
        EXPECT_EQ(read->taken, taken * second) << clocks[i].second;
    }
    ::unsetenv("TZ");
    ::tzset();
}

// An instant is held in nanoseconds, which reach from 1677 to 2262: a date beyond them is no
// date taken, never one wrapped around into another century.
TEST(DateTaken, BeyondTheCenturiesAnInstantHoldsIsNoDate) {
    TemporaryFolder folder;
    const std::vector<std::pair<const char*, std::optional<std::int64_t>>> dates{
        {"2261:12:31 00:00:00", 9'214'560'000}, {"1678:01:02 00:00:00", -9'214'473'600},
        {"2263:01:01 00:00:00", std::nullopt},  {"1600:01:01 00:00:00", std::nullopt},
        {"9999:12:31 23:59:59", std::nullopt},  {"0001:01:01 00:00:00", std::nullopt},
    };
    const UniqueFd opened(::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (std::size_t i = 0; i < dates.size(); ++i) {
        const std::string name = std::to_string(i) + ".jpg";
        testing::writePhoto(folder.pathOf(name), dates[i].first, "+00:00");
        const auto read = readDateTaken(opened, name);
        if (!dates[i].second) {
            EXPECT_FALSE(read) << dates[i].first << " read as " << read->taken;
            continue;
        }
        ASSERT_TRUE(read) << dates[i].first;
        EXPECT_EQ(read->taken, *dates[i].second * second) << dates[i].first;
    }
}

// Puts an APPn segment of `size` bytes right after the start of image of the JPEG at `path`.
void insertSegment(const std::string& path, unsigned char marker, std::size_t size) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t length = size + 2;
    const std::string segment =
        std::string{'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                    static_cast<char>(length & 0xFF)} +
        std::string(size, 'x');
    bytes.insert(2, segment);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Only a JPEG's metadata segments are read; wherever they end, the date is found, and a
// segment that claims more than the file holds is no date.
TEST(DateTaken, IsFoundWhereverAJpegsMetadataEnds) {
    TemporaryFolder folder;
    // 2024-07-01 08:00 UTC.
    constexpr std::int64_t eight = 1'719'820'800;
    const testing::CameraTags tags{"2024:07:01 10:00:00", "+02:00", "",   "Canon",
                                   "Canon EOS R6",        "",       false};
    testing::writeCameraPhoto(folder.pathOf("small.jpg"), tags);
    // An ICC profile of 40 KB before the EXIF segment.
    testing::writeCameraPhoto(folder.pathOf("profile first.jpg"), tags);
    insertSegment(folder.pathOf("profile first.jpg"), 0xE2, 40'000);
    // An EXIF segment of 60 KB: a maker note the size of a thumbnail.
    testing::writeCameraPhoto(folder.pathOf("long exif.jpg"), tags);
    {
        const auto image = Exiv2::ImageFactory::open(folder.pathOf("long exif.jpg"));
        image->readMetadata();
        Exiv2::ExifData exif = image->exifData();
        exif["Exif.Photo.UserComment"] = "charset=Ascii " + std::string(60'000, 'c');
        image->setExifData(exif);
        image->writeMetadata();
    }
    // A segment longer than the file: nothing past its end can be read.
    testing::writeCameraPhoto(folder.pathOf("cut.jpg"), tags);
    {
        std::ofstream(folder.pathOf("cut.jpg"), std::ios::binary | std::ios::trunc)
            << std::string("\xFF\xD8\xFF\xE1\xFF\xF0"
                           "Exif\0\0MM\0\x2A\0\0\0\x08",
                           20);
    }
    const UniqueFd opened(::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const char* name : {"small.jpg", "profile first.jpg", "long exif.jpg"}) {
        const auto read = readDateTaken(opened, name);
        ASSERT_TRUE(read) << name;
        EXPECT_EQ(read->taken, eight * second) << name;
        EXPECT_EQ(read->camera, "Canon EOS R6") << name;
    }
    EXPECT_FALSE(readDateTaken(opened, "cut.jpg"));
}

TEST(DateTaken, NamesTheCameraWithoutRepeatingTheMaker) {
    const std::vector<std::tuple<const char*, const char*, const char*>> cases{
        {"Canon", "Canon EOS R6", "Canon EOS R6"},
        {"NIKON CORPORATION", "NIKON D750", "NIKON D750"},
        {"Apple", "iPhone 13", "Apple iPhone 13"},
        {"SONY ", " ILCE-7M3", "SONY ILCE-7M3"},
        {"", "X100V", "X100V"},
        {"FUJIFILM", "", "FUJIFILM"},
        {"canon", "Canon EOS 5D", "Canon EOS 5D"},
    };
    for (const auto& [make, model, expected] : cases) {
        EXPECT_EQ(cameraName(make, model), expected) << make << "|" << model;
    }
}

} // namespace
} // namespace brindleaf
