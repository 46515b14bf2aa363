#include "cli/CliRun.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/PhotoFiles.hpp"
#include "support/TemporaryFolder.hpp"
#include "support/TripFolder.hpp"
#include "tests/cli/CliRunner.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace brindleaf::cli {
namespace {

using testing::BerlinTime;
using testing::TemporaryFolder;
using testing::TripFolder;

using Result = CliResult;

class TripCli : public ::testing::Test {
protected:
    BerlinTime berlin;
    TripFolder trip;
};

// One line a camera, its name as the options take it; the Nikon, which writes no zone, says
// it was read in this computer's. Nothing is renamed.
TEST_F(TripCli, CamerasSayWhereTheirZonesComeFrom) {
    const auto before = trip.folder().names();
    const Result listed = runCli({"--cameras", trip.path()});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "Apple iPhone 13\t1 entry\tfirst 2024-07-01 09:10:00 +01:00\t"
                          "last 2024-07-01 09:10:00 +01:00\tzone: its offset tags\n"
                          "Canon EOS R6\t5 entries\tfirst 2024-07-01 10:00:05.1 +02:00\t"
                          "last 2024-07-01 11:03:00 +02:00\tzone: its offset tags\n"
                          "NIKON D750\t3 entries\tfirst 2024-07-01 08:50:00 +02:00\t"
                          "last 2024-07-01 09:20:00 +02:00\t"
                          "zone: none: read as this computer's zone, +02:00\n");
    const Result set = runCli({"--cameras", "--camera-zone", "NIKON D750=+01:00",
                               "--camera-shift=NIKON D750=-0:03:12", trip.path()});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_NE(set.out.find("NIKON D750\t3 entries\tfirst 2024-07-01 08:46:48 +01:00\t"
                           "last 2024-07-01 09:16:48 +01:00\t"
                           "zone: given: +01:00; clock shifted -0:03:12\n"),
              std::string::npos)
        << set.out;
    EXPECT_EQ(trip.folder().names(), before);
}

// With --long, the date each entry is numbered by, its source and its camera, a sidecar
// showing those of the photo it follows rather than its own modified time; standard error
// counts what had no date taken and what was read in this computer's zone.
TEST_F(TripCli, LongPreviewShowsTheDateUsed) {
    const std::vector<std::string> choices{
        "--order", "taken",         "--keep-related",    "--files-only",
        "--only",  "jpg,heic",      "--digits",          "1",
        "--long",  "--camera-zone", "NIKON D750=+01:00", trip.path()};
    const Result shown = runCli(choices);
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(
        shown.out,
        "DSC_0100.JPG\t\t->\t\t1.JPG\t2024-07-01 08:50:00 +01:00\tcorrected\tNIKON D750\n"
        "DSC_0100.NEF\t\t->\t\t1.NEF\t2024-07-01 08:50:00 +01:00\tcorrected\tNIKON D750\n"
        "dsc_0100.xmp\t\t->\t\t1.xmp\t2024-07-01 08:50:00 +01:00\tcorrected\tNIKON D750\n"
        "IMG_9999.JPG\t\t->\t\t2.JPG\t2024-07-01 10:00:05.1 +02:00\ttaken\tCanon EOS R6\n"
        "IMG_0001.JPG\t\t->\t\t3.JPG\t2024-07-01 10:00:05.55 +02:00\ttaken\tCanon EOS R6\n"
        "IMG_0012.HEIC\t\t->\t\t4.HEIC\t2024-07-01 09:10:00 +01:00\ttaken\tApple iPhone 13\n"
        "DSC_0101.JPG\t\t->\t\t5.JPG\t2024-07-01 09:20:00 +01:00\tcorrected\tNIKON D750\n"
        "IMG_0002.CR2\t\t->\t\t6.CR2\t2024-07-01 10:30:00 +02:00\ttaken\tCanon EOS R6\n"
        "IMG_0002.JPG\t\t->\t\t6.JPG\t2024-07-01 10:30:00 +02:00\ttaken\tCanon EOS R6\n"
        "IMG_0002.cr2.xmp\t\t->\t\t6.cr2.xmp\t2024-07-01 10:30:00 +02:00\ttaken\tCanon EOS R6\n"
        "IMG_0012.JPG\t\t->\t\t7.JPG\t2024-07-01 11:03:00 +02:00\ttaken\tCanon EOS R6\n");
    EXPECT_EQ(shown.err, "brindleaf-cli: 2 entries had no date taken; 0 entries came from a "
                         "camera without a time zone, read as this computer's.\n");

    // Without the Nikon's zone its three photos are counted; the default format is unchanged.
    std::vector<std::string> plain = choices;
    plain.erase(plain.end() - 4, plain.end() - 1);
    const Result unzoned = runCli(plain);
    EXPECT_EQ(unzoned.err, "brindleaf-cli: 2 entries had no date taken; 3 entries came from a "
                           "camera without a time zone, read as this computer's.\n");
    EXPECT_TRUE(unzoned.out.starts_with("DSC_0100.JPG\t\t->\t\t1.JPG\n")) << unzoned.out;
}

// Ordered by modified time, a group stands at its earliest (its latest when reversed), and
// --long shows that time on every member, the sidecar modified later too.
TEST(LongPreview, ShowsEachGroupsTimeOnEveryMember) {
    const BerlinTime berlin;
    TemporaryFolder folder;
    // 2024-07-10 00:00 UTC, 02:00 in Berlin.
    constexpr std::int64_t midnight = 1'720'569'600;
    const std::pair<const char*, std::int64_t> files[] = {{"IMG_1.JPG", midnight},
                                                          {"IMG_1.JPG.xmp", midnight + 7'200},
                                                          {"IMG_2.JPG", midnight + 3'600}};
    for (const auto& [name, modified] : files) {
        folder.addFile(name);
        testing::setModified(folder.pathOf(name), modified);
    }
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{},
         "IMG_1.JPG\t\t->\t\t1.JPG\t2024-07-10 02:00:00 +02:00\tmodified\t\n"
         "IMG_1.JPG.xmp\t\t->\t\t1.JPG.xmp\t2024-07-10 02:00:00 +02:00\tmodified\t\n"
         "IMG_2.JPG\t\t->\t\t2.JPG\t2024-07-10 03:00:00 +02:00\tmodified\t\n"},
        {{"--reverse"},
         "IMG_1.JPG.xmp\t\t->\t\t1.JPG.xmp\t2024-07-10 04:00:00 +02:00\tmodified\t\n"
         "IMG_1.JPG\t\t->\t\t1.JPG\t2024-07-10 04:00:00 +02:00\tmodified\t\n"
         "IMG_2.JPG\t\t->\t\t2.JPG\t2024-07-10 03:00:00 +02:00\tmodified\t\n"},
    };
    for (const auto& [extra, expected] : cases) {
        std::vector<std::string> args{"--order",  "modified", "--keep-related",
                                      "--digits", "1",        "--long"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(folder.path());
        const Result shown = runCli(args);
        EXPECT_EQ(shown.status, 0) << shown.err;
        EXPECT_EQ(shown.out, expected) << (extra.empty() ? "" : extra.front());
    }
}

// A camera that is not in the folder, or a value that does not parse, is a usage error that
// lists the folder's cameras; nothing is renamed.
TEST_F(TripCli, UnknownCameraOrClockIsAUsageError) {
    const auto before = trip.folder().names();
    const std::string cameras = "Its cameras:\n  Apple iPhone 13\n  Canon EOS R6\n  NIKON D750\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--camera-zone", "NIKON D700=+01:00"}, "no camera named \"NIKON D700\" took a photo"},
        {{"--camera-zone", "NIKON D750=+1h"}, "--camera-zone takes a zone"},
        {{"--camera-shift", "NIKON D750=3 minutes"}, "--camera-shift takes [+|-]H:MM:SS"},
        {{"--camera-shift", "NIKON D750=-0:03:60"}, "--camera-shift takes [+|-]H:MM:SS"},
    };
    for (const auto& [options, reason] : cases) {
        for (const char* request : {"--apply", "--cameras"}) {
            std::vector<std::string> args = options;
            args.insert(args.end(), {"--order", "taken", request, trip.path()});
            const Result refused = runCli(args);
            EXPECT_EQ(refused.status, 2) << request << " " << options[1];
            EXPECT_NE(refused.err.find(reason), std::string::npos) << refused.err;
            EXPECT_NE(refused.err.find(cameras), std::string::npos) << refused.err;
        }
    }
    const Result unordered = runCli({"--camera-zone", "NIKON D750=+01:00", trip.path()});
    EXPECT_EQ(unordered.status, 2);
    EXPECT_NE(unordered.err.find("need --order taken"), std::string::npos) << unordered.err;
    EXPECT_EQ(trip.folder().names(), before);
}

} // namespace
} // namespace brindleaf::cli
