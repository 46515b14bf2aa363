#include "platform/DateTaken.hpp"
#include "support/PhotoFiles.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <cstdlib>
#include <ctime>
#include <fstream>

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
        EXPECT_EQ(readDateTaken(opened, name), expected) << name;
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
        EXPECT_EQ(readDateTaken(opened, std::to_string(i) + ".jpg"), taken * second)
            << clocks[i].second;
    }
    ::unsetenv("TZ");
    ::tzset();
}

} // namespace
} // namespace brindleaf
