#include "engine/Cameras.hpp"
#include "engine/Listing.hpp"
#include "engine/Plan.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/TripFolder.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace brindleaf {
namespace {

using testing::BerlinTime;
using testing::TripFolder;

Settings tripSettings(const std::string& folder) {
    Settings settings;
    settings.targetDir = folder;
    settings.digits = "1";
    settings.prefix = "P_";
    settings.order = Order::Taken;
    return settings;
}

// The photographer's choices: photos only, their files kept together.
Settings photosTogether(const std::string& folder) {
    Settings settings = tripSettings(folder);
    settings.isSkipHiddenOn = true;
    settings.isFilesOnlyOn = true;
    settings.isKeepRelatedOn = true;
    settings.onlyExtensions = "jpg,cr2,nef,heic";
    return settings;
}

class Trip : public ::testing::Test {
protected:
    BerlinTime berlin;
    TripFolder trip;

    // The plan as "old>new" for the numbered entries, then the names left out.
    std::string planned(const Settings& settings) {
        const auto opened = planFolder(fileSystem_, settings);
        if (!opened) {
            return "refused: " + opened.error().name;
        }
        const FolderPlan& plan = opened->plan;
        std::string text;
        for (std::size_t i = 0; i < plan.names.size(); ++i) {
            text += plan.names[i];
            text += plan.arrangement.isNumbered(i) ? ">" + plan.newNameAt(i) + " " : " ";
        }
        return text;
    }

    // How many numbers went to another group than the one taken at that place.
    std::size_t positionsOutOfOrder(const Settings& settings) {
        const auto opened = planFolder(fileSystem_, settings);
        if (!opened) {
            return 1'000;
        }
        const FolderPlan& plan = opened->plan;
        std::vector<std::string> groups;
        for (std::size_t i = 0; i < plan.arrangement.numbered; ++i) {
            const std::string& name = plan.names[i];
            const std::string stem = name.substr(0, name.find('.'));
            const std::string group = stem == "IMG_0012" ? name : stem;
            if (plan.arrangement.numbers[i] == groups.size()) {
                groups.push_back(group);
            }
        }
        const std::vector<std::string> truth = TripFolder::trueOrder();
        std::size_t out = 0;
        for (std::size_t i = 0; i < std::max(truth.size(), groups.size()); ++i) {
            out += i < truth.size() && i < groups.size() && truth[i] == groups[i] ? 0 : 1;
        }
        return out;
    }

private:
    PosixFileSystem fileSystem_;
};

Settings with(Settings settings, const std::vector<CameraClock>& clocks) {
    settings.cameraClocks = clocks;
    return settings;
}

TEST_F(Trip, IsNumberedAsEachChoiceSays) {
    const Settings photos = photosTogether(trip.path());
    Settings taken = tripSettings(trip.path());
    Settings onlyRaw = photos;
    onlyRaw.onlyExtensions = "CR2";
    Settings byModified = photos;
    byModified.order = Order::Modified;
    Settings reversed = photos;
    reversed.isReverse = true;
    const std::vector<std::pair<Settings, std::string>> cases{
        // The Nikon read in Berlin's summer time is an hour early; the burst keeps its
        // shooting order across the counter's rollover; undated entries follow at their
        // modified times.
        {taken, "DSC_0100.JPG>P_1 DSC_0100.NEF>P_2 DSC_0101.JPG>P_3 IMG_9999.JPG>P_4 "
                "IMG_0001.JPG>P_5 IMG_0012.HEIC>P_6 IMG_0002.CR2>P_7 IMG_0002.JPG>P_8 "
                "IMG_0012.JPG>P_9 IMG_0002.cr2.xmp>P_10 dsc_0100.xmp>P_11 notes.txt>P_12 "
                "Edits>P_13 "},
        // Sidecars are numbered with their photos though "xmp" is not chosen, whatever the
        // case of their names; the phone's IMG_0012 is no relation of the Canon's.
        {photos, "DSC_0100.JPG>P_1.JPG DSC_0100.NEF>P_1.NEF dsc_0100.xmp>P_1.xmp "
                 "DSC_0101.JPG>P_2.JPG IMG_9999.JPG>P_3.JPG IMG_0001.JPG>P_4.JPG "
                 "IMG_0012.HEIC>P_5.HEIC IMG_0002.CR2>P_6.CR2 IMG_0002.JPG>P_6.JPG "
                 "IMG_0002.cr2.xmp>P_6.cr2.xmp IMG_0012.JPG>P_7.JPG Edits notes.txt "},
        // The Nikon's zone given: the order the day went.
        {with(photos, {{"NIKON D750", "+01:00", ""}}),
         "DSC_0100.JPG>P_1.JPG DSC_0100.NEF>P_1.NEF dsc_0100.xmp>P_1.xmp IMG_9999.JPG>P_2.JPG "
         "IMG_0001.JPG>P_3.JPG IMG_0012.HEIC>P_4.HEIC DSC_0101.JPG>P_5.JPG "
         "IMG_0002.CR2>P_6.CR2 IMG_0002.JPG>P_6.JPG IMG_0002.cr2.xmp>P_6.cr2.xmp "
         "IMG_0012.JPG>P_7.JPG Edits notes.txt "},
        // The shift applies after the zone: the Nikon's photos an hour later still.
        {with(photos, {{"NIKON D750", "+01:00", "+1:00:00"}}),
         "IMG_9999.JPG>P_1.JPG IMG_0001.JPG>P_2.JPG IMG_0012.HEIC>P_3.HEIC "
         "IMG_0002.CR2>P_4.CR2 IMG_0002.JPG>P_4.JPG IMG_0002.cr2.xmp>P_4.cr2.xmp "
         "DSC_0100.JPG>P_5.JPG DSC_0100.NEF>P_5.NEF dsc_0100.xmp>P_5.xmp IMG_0012.JPG>P_6.JPG "
         "DSC_0101.JPG>P_7.JPG Edits notes.txt "},
        // A shift alone moves the times read in this computer's zone.
        {with(photos, {{"NIKON D750", "", "+1:00:00"}}),
         "DSC_0100.JPG>P_1.JPG DSC_0100.NEF>P_1.NEF dsc_0100.xmp>P_1.xmp IMG_9999.JPG>P_2.JPG "
         "IMG_0001.JPG>P_3.JPG IMG_0012.HEIC>P_4.HEIC DSC_0101.JPG>P_5.JPG "
         "IMG_0002.CR2>P_6.CR2 IMG_0002.JPG>P_6.JPG IMG_0002.cr2.xmp>P_6.cr2.xmp "
         "IMG_0012.JPG>P_7.JPG Edits notes.txt "},
        // The Canon's offset tags win over a zone given for it: nothing moves.
        {with(photos, {{"Canon EOS R6", "+05:00", ""}}),
         "DSC_0100.JPG>P_1.JPG DSC_0100.NEF>P_1.NEF dsc_0100.xmp>P_1.xmp "
         "DSC_0101.JPG>P_2.JPG IMG_9999.JPG>P_3.JPG IMG_0001.JPG>P_4.JPG "
         "IMG_0012.HEIC>P_5.HEIC IMG_0002.CR2>P_6.CR2 IMG_0002.JPG>P_6.JPG "
         "IMG_0002.cr2.xmp>P_6.cr2.xmp IMG_0012.JPG>P_7.JPG Edits notes.txt "},
        // Each camera its own clock: the Canon 20 minutes fast, so its IMG_0002 ties with
        // the phone at 08:10:00, and the name order breaks the tie.
        {with(photos, {{"Canon EOS R6", "", "-0:20:00"}, {"NIKON D750", "+01:00", ""}}),
         "IMG_9999.JPG>P_1.JPG IMG_0001.JPG>P_2.JPG DSC_0100.JPG>P_3.JPG DSC_0100.NEF>P_3.NEF "
         "dsc_0100.xmp>P_3.xmp IMG_0002.CR2>P_4.CR2 IMG_0002.JPG>P_4.JPG "
         "IMG_0002.cr2.xmp>P_4.cr2.xmp IMG_0012.HEIC>P_5.HEIC DSC_0101.JPG>P_6.JPG "
         "IMG_0012.JPG>P_7.JPG Edits notes.txt "},
        // A group is numbered when any of its members is chosen, and then all of them are.
        {onlyRaw, "IMG_0002.CR2>P_1.CR2 IMG_0002.JPG>P_1.JPG IMG_0002.cr2.xmp>P_1.cr2.xmp "
                  "DSC_0100.JPG DSC_0100.NEF DSC_0101.JPG Edits IMG_0001.JPG IMG_0012.HEIC "
                  "IMG_0012.JPG IMG_9999.JPG dsc_0100.xmp notes.txt "},
        // Without dates taken, the names alone relate files.
        {byModified, "DSC_0100.JPG>P_1.JPG DSC_0100.NEF>P_1.NEF dsc_0100.xmp>P_1.xmp "
                     "DSC_0101.JPG>P_2.JPG IMG_0001.JPG>P_3.JPG IMG_0002.CR2>P_4.CR2 "
                     "IMG_0002.JPG>P_4.JPG IMG_0002.cr2.xmp>P_4.cr2.xmp "
                     "IMG_0012.HEIC>P_5.HEIC IMG_0012.JPG>P_5.JPG IMG_9999.JPG>P_6.JPG "
                     "Edits notes.txt "},
        {reversed, "IMG_0012.JPG>P_1.JPG IMG_0002.cr2.xmp>P_2.cr2.xmp IMG_0002.JPG>P_2.JPG "
                   "IMG_0002.CR2>P_2.CR2 IMG_0012.HEIC>P_3.HEIC IMG_0001.JPG>P_4.JPG "
                   "IMG_9999.JPG>P_5.JPG DSC_0101.JPG>P_6.JPG dsc_0100.xmp>P_7.xmp "
                   "DSC_0100.NEF>P_7.NEF DSC_0100.JPG>P_7.JPG notes.txt Edits "},
    };
    for (const auto& [settings, expected] : cases) {
        EXPECT_EQ(planned(settings), expected);
    }
}

TEST_F(Trip, IsInShootingOrderOnceTheNikonsZoneIsGiven) {
    const Settings photos = photosTogether(trip.path());
    EXPECT_EQ(positionsOutOfOrder(photos), 4U);
    EXPECT_EQ(positionsOutOfOrder(with(photos, {{"NIKON D750", "+01:00", ""}})), 0U);
}

// The listing the window shows: each entry beside the instant it is shown with, in UTC
// seconds, its source and its camera, for the numbered entries.
std::string shown(const Settings& settings) {
    PosixFileSystem fileSystem;
    const auto folder = openTargetFolder(fileSystem, settings.targetDir);
    if (!folder) {
        return "refused";
    }
    ProceedAlways proceed;
    const auto listed = listOpenedFileNames(fileSystem, *folder, settings, nullptr, proceed);
    if (!listed) {
        return "refused";
    }
    std::string text;
    for (std::size_t i = 0; i < listed->arrangement.numbered && i < listed->names.size(); ++i) {
        const UsedDate& date = listed->shown.dates.at(i);
        const char* source = date.source == DateSource::Taken       ? "taken"
                             : date.source == DateSource::Corrected ? "corrected"
                                                                    : "modified";
        text += listed->names[i] + " " + std::to_string(date.instant / 1'000'000'000 % 86'400) +
                " " + source + " " + listed->shown.cameras.at(i) + "\n";
    }
    return text;
}

// A sidecar shows the time of the photo it follows, a raw file and its JPEG one time; with
// the Nikon's zone given, its photos show the corrected time, reversed too.
TEST_F(Trip, ShowsEachGroupAtTheTimeItIsNumberedBy) {
    Settings photos = photosTogether(trip.path());
    photos.onlyExtensions = "nef,cr2";
    const Settings nikonZone = with(photos, {{"NIKON D750", "+01:00", ""}});
    Settings reversed = nikonZone;
    reversed.isReverse = true;
    reversed.onlyExtensions = "NEF";
    const std::vector<std::pair<Settings, std::string>> cases{
        // In Berlin's summer time the Nikon's 08:50 is 06:50 UTC.
        {photos, "DSC_0100.JPG 24600 taken NIKON D750\n"
                 "DSC_0100.NEF 24600 taken NIKON D750\n"
                 "dsc_0100.xmp 24600 taken NIKON D750\n"
                 "IMG_0002.CR2 30600 taken Canon EOS R6\n"
                 "IMG_0002.JPG 30600 taken Canon EOS R6\n"
                 "IMG_0002.cr2.xmp 30600 taken Canon EOS R6\n"},
        {nikonZone, "DSC_0100.JPG 28200 corrected NIKON D750\n"
                    "DSC_0100.NEF 28200 corrected NIKON D750\n"
                    "dsc_0100.xmp 28200 corrected NIKON D750\n"
                    "IMG_0002.CR2 30600 taken Canon EOS R6\n"
                    "IMG_0002.JPG 30600 taken Canon EOS R6\n"
                    "IMG_0002.cr2.xmp 30600 taken Canon EOS R6\n"},
        {reversed, "dsc_0100.xmp 28200 corrected NIKON D750\n"
                   "DSC_0100.NEF 28200 corrected NIKON D750\n"
                   "DSC_0100.JPG 28200 corrected NIKON D750\n"},
    };
    for (const auto& [settings, expected] : cases) {
        EXPECT_EQ(shown(settings), expected);
    }
}

} // namespace
} // namespace brindleaf
