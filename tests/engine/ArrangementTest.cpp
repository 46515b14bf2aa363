#include "engine/Execution.hpp"
#include "engine/Plan.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/PhotoFiles.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fstream>

namespace brindleaf {
namespace {

using testing::TemporaryFolder;

// 2024-07-01 09:00 UTC, and an hour.
constexpr std::int64_t nine = 1'719'824'400;
constexpr std::int64_t hour = 3'600;
constexpr std::int64_t second = 1'000'000'000;

// A holiday folder: two cameras whose names interleave nothing like the day went, a phone
// photo whose metadata is broken, a raw file with its sidecar, and what else such a folder
// holds.
class PhotoFolder : public ::testing::Test {
protected:
    TemporaryFolder folder;

    void SetUp() override {
        testing::writePhoto(folder.pathOf("DSC_2.jpg"), "2024:07:01 11:00:00", "+02:00");
        testing::writePhoto(folder.pathOf("IMG_1.JPG"), "2024:07:01 10:00:00", "+00:00");
        testing::writePhoto(folder.pathOf("DSC_1.jpg"), "2024:07:01 11:00:00", "+00:00",
                            "Exif.Photo.DateTimeDigitized");
        std::ofstream(folder.pathOf("PXL_1.jpg"), std::ios::binary)
            << std::string("\xFF\xD8\xFF\xE1\x00\x20"
                           "Exif\0\0MM\0\x2A\0\0\0\x08\xFF\xFF",
                           22);
        for (const char* name : {"IMG_1.CR2", "IMG_1.CR2.xmp", ".thumbs", "notes.txt"}) {
            folder.addFile(name);
        }
        folder.addFolder("Videos");
        const std::pair<const char*, std::int64_t> modified[] = {{"DSC_1.jpg", 100},
                                                                 {"DSC_2.jpg", 200},
                                                                 {"IMG_1.JPG", 300},
                                                                 {"PXL_1.jpg", nine + hour / 2},
                                                                 {"notes.txt", nine + hour / 2},
                                                                 {"IMG_1.CR2", nine + 9 * hour},
                                                                 {"IMG_1.CR2.xmp", nine + 9 * hour},
                                                                 {".thumbs", 1},
                                                                 {"Videos", 1}};
        for (const auto& [name, seconds] : modified) {
            testing::setModified(folder.pathOf(name), seconds);
        }
    }

    // The plan as "old>new" for the numbered entries, then the names left out.
    std::string planned(const Settings& choices) {
        Settings settings = choices;
        settings.targetDir = folder.path();
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

private:
    PosixFileSystem fileSystem_;
};

TEST_F(PhotoFolder, IsNumberedAsEachChoiceSays) {
    const auto with = [](auto change) {
        Settings settings;
        settings.digits = "1";
        change(settings);
        return settings;
    };
    const std::vector<std::pair<Settings, std::string>> cases{
        // DSC_2 was taken at 09:00 UTC, IMG_1 at 10:00, DSC_1 at 11:00 (its CreateDate).
        // PXL_1's broken metadata and the text file fall back to their modified time, 09:30,
        // and tie, as the raw file and its sidecar do: the name order breaks ties.
        {with([](Settings& s) { s.order = Order::Taken; }),
         ".thumbs>1 Videos>2 DSC_2.jpg>3 PXL_1.jpg>4 notes.txt>5 IMG_1.JPG>6 DSC_1.jpg>7 "
         "IMG_1.CR2>8 IMG_1.CR2.xmp>9 "},
        {with([](Settings& s) {
             s.order = Order::Taken;
             s.isReverse = true;
         }),
         "IMG_1.CR2.xmp>1 IMG_1.CR2>2 DSC_1.jpg>3 IMG_1.JPG>4 notes.txt>5 PXL_1.jpg>6 "
         "DSC_2.jpg>7 Videos>8 .thumbs>9 "},
        {with([](Settings& s) { s.order = Order::Modified; }),
         ".thumbs>1 Videos>2 DSC_1.jpg>3 DSC_2.jpg>4 IMG_1.JPG>5 PXL_1.jpg>6 notes.txt>7 "
         "IMG_1.CR2>8 IMG_1.CR2.xmp>9 "},
        // A group takes the place of its first member, and numbering counts groups.
        {with([](Settings& s) {
             s.order = Order::Taken;
             s.isSkipHiddenOn = true;
             s.isFilesOnlyOn = true;
             s.isKeepRelatedOn = true;
             s.prefix = "p_";
         }),
         "DSC_2.jpg>p_1.jpg PXL_1.jpg>p_2.jpg notes.txt>p_3.txt IMG_1.JPG>p_4.JPG "
         "IMG_1.CR2>p_4.CR2 IMG_1.CR2.xmp>p_4.CR2.xmp DSC_1.jpg>p_5.jpg .thumbs Videos "},
        {with([](Settings& s) { s.onlyExtensions = " JPG, .cr2 ,"; }),
         "DSC_1.jpg>1 DSC_2.jpg>2 IMG_1.CR2>3 IMG_1.JPG>4 PXL_1.jpg>5 .thumbs IMG_1.CR2.xmp "
         "Videos notes.txt "},
    };
    for (const auto& [settings, expected] : cases) {
        EXPECT_EQ(planned(settings), expected);
    }
}

// An entry left out is never moved: a new name it holds refuses the run before any move.
TEST_F(PhotoFolder, NameHeldByALeftOutEntryIsRefusedBeforeAnyMove) {
    folder.addFile("1");
    Settings settings;
    settings.targetDir = folder.path();
    settings.digits = "1";
    settings.onlyExtensions = "jpg";
    const auto before = folder.names();
    TemporaryFolder state;
    Journals journals(JournalFolder(state.pathOf("journals")));
    PosixFileSystem fileSystem;
    const RunReport report = renameFiles(settings, fileSystem, journals);
    EXPECT_EQ(report.outcome, RunOutcome::Failed);
    ASSERT_EQ(report.failures.size(), 1U);
    EXPECT_EQ(report.failures[0].problem, NameProblem::HeldByLeftOut);
    EXPECT_EQ(folder.names(), before);

    settings.prefix = "p";
    EXPECT_EQ(renameFiles(settings, fileSystem, journals).outcome, RunOutcome::Renamed);
    EXPECT_EQ(folder.names(),
              (std::set<std::string>{".thumbs", "1", "IMG_1.CR2", "IMG_1.CR2.xmp", "Videos",
                                     "notes.txt", "p1", "p2", "p3", "p4"}));
    EXPECT_EQ(folder.contentOf("1"), "1");
}

// Which entries a list of extensions takes, as the window's field and --only give it: a
// folder is never taken, whatever its name ends with, and a list of nothing usable takes
// nothing rather than everything.
TEST(Arrangement, ExtensionListTakesFilesEndingAsTyped) {
    const std::vector<std::string> names{"a.jpg", "b.tar.gz", "c.JPEG", "jpg",
                                         ".jpg",  "trip.jpg", "x.png"};
    const std::vector<std::uint8_t> folders{0, 0, 0, 0, 0, 1, 0};
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "a.jpg b.tar.gz c.JPEG jpg .jpg trip.jpg x.png"},
        {" \t", "a.jpg b.tar.gz c.JPEG jpg .jpg trip.jpg x.png"},
        {"jpg", "a.jpg"},
        {"JPG,jpeg", "a.jpg c.JPEG"},
        {"*.jpg .png", "a.jpg x.png"},
        {"tar.gz", "b.tar.gz"},
        {"r.gz", ""},
        {",", ""},
        {".", ""},
        {"*", ""},
        {"j*g", ""},
    };
    for (const auto& [only, numbered] : cases) {
        Settings settings;
        settings.onlyExtensions = only;
        Arrangement arrangement;
        std::vector<std::uint32_t> order = arrange(settings, names, folders, {}, arrangement);
        if (order.empty()) {
            for (std::uint32_t i = 0; i < names.size(); ++i) {
                order.push_back(i);
            }
        }
        std::string taken;
        for (std::size_t k = 0; k < order.size(); ++k) {
            if (arrangement.isNumbered(k)) {
                taken += (taken.empty() ? "" : " ") + names[order[k]];
            }
        }
        EXPECT_EQ(taken, numbered) << "\"" << only << "\"";
    }
    const ExtensionList read = readExtensionList("*.JPG, .tar.gz png ? .");
    EXPECT_EQ(read.extensions, (std::vector<std::string_view>{"JPG", "tar.gz", "png"}));
    EXPECT_EQ(read.unusable, (std::vector<std::string_view>{"?", "."}));
}

// Equal dates keep the order the entries came in (the name order, reversed or not), however
// many share one: a sort that is stable only for short runs would shuffle them.
TEST(Arrangement, EqualDatesKeepTheOrderGivenForLongRuns) {
    constexpr std::uint32_t count = 100;
    std::vector<std::string> names;
    std::vector<EntryDate> dates;
    for (std::uint32_t i = 0; i < count; ++i) {
        names.push_back(std::to_string(i));
        EntryDate date;
        date.modified = (i * 7) % 3;
        dates.push_back(date);
    }
    for (const bool reverse : {false, true}) {
        Settings settings;
        settings.order = Order::Modified;
        settings.isReverse = reverse;
        Arrangement arrangement;
        const std::vector<std::uint32_t> order = arrange(settings, names, {}, dates, arrangement);
        ASSERT_EQ(order.size(), count);
        for (std::size_t k = 1; k < count; ++k) {
            const std::int64_t before = dates[order[k - 1]].modified;
            const std::int64_t after = dates[order[k]].modified;
            EXPECT_TRUE(reverse ? before >= after : before <= after) << k;
            if (before == after) {
                EXPECT_LT(order[k - 1], order[k]) << "reverse " << reverse << " at " << k;
            }
        }
    }
}

// A sidecar named after a whole file name follows that file's group, even where its stem
// has photos taken at other times: a raw file in two formats, shot 40 seconds apart, makes
// two groups, and each sidecar goes with the file it describes, whatever the order.
TEST(Arrangement, SidecarFollowsTheFileItIsNamedAfterAmongTheStemsGroups) {
    const std::vector<std::string> names{"IMG_7.CR2", "IMG_7.CR2.xmp", "IMG_7.NEF",
                                         "IMG_7.NEF.xmp"};
    const auto taken = [](std::optional<std::int64_t> seconds) {
        EntryDate date;
        date.modified = (nine + 10 * hour) * second;
        if (seconds) {
            date.taken = *seconds * second;
            date.offset = 0;
        }
        return date;
    };
    struct Case {
        std::optional<std::int64_t> cr2;
        std::optional<std::int64_t> nef;
        bool reverse;
        // The entries in their new order, each with the number it takes.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> expected;
    };
    const Case cases[] = {
        {nine, nine + 40, false, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {nine + 40, nine, false, {{2, 0}, {3, 0}, {0, 1}, {1, 1}}},
        {nine, nine + 40, true, {{3, 0}, {2, 0}, {1, 1}, {0, 1}}},
        // Taken in one second, the two are one group with both sidecars.
        {nine, nine, false, {{0, 0}, {2, 0}, {1, 0}, {3, 0}}},
    };
    for (const Case& c : cases) {
        Settings settings;
        settings.order = Order::Taken;
        settings.isKeepRelatedOn = true;
        settings.isReverse = c.reverse;
        const std::vector<EntryDate> dates{taken(c.cr2), taken(std::nullopt), taken(c.nef),
                                           taken(std::nullopt)};
        Arrangement arrangement;
        const std::vector<std::uint32_t> order = arrange(settings, names, {}, dates, arrangement);
        std::vector<std::pair<std::uint32_t, std::uint32_t>> numbered;
        for (std::size_t i = 0; i < order.size() && arrangement.isNumbered(i); ++i) {
            numbered.emplace_back(order[i], arrangement.numbers.at(i));
        }
        EXPECT_EQ(numbered, c.expected)
            << *c.cr2 - nine << " " << *c.nef - nine << " " << c.reverse;
    }
}

// Related files share the second they were taken in, also before 1970, where a second
// begins at its lower whole number: half a second before midnight and three tenths after it
// are two seconds apart, and so two groups.
TEST(Arrangement, SecondsBefore1970AreCountedFromTheirStart) {
    const std::vector<std::string> names{"IMG_1.CR2", "IMG_1.JPG"};
    const auto takenAt = [](std::int64_t nanoseconds) {
        EntryDate date;
        date.modified = nine * second;
        date.taken = nanoseconds;
        date.offset = 0;
        return date;
    };
    struct Case {
        std::int64_t cr2;
        std::int64_t jpg;
        std::vector<std::uint32_t> numbers;
    };
    const Case cases[] = {
        {-second / 2, second * 3 / 10, {0, 1}},
        {-second / 2, -second / 5, {0, 0}},
        {-second * 3 / 2, -second / 2, {0, 1}},
    };
    for (const Case& c : cases) {
        Settings settings;
        settings.order = Order::Taken;
        settings.isKeepRelatedOn = true;
        Arrangement arrangement;
        const std::vector<EntryDate> dates{takenAt(c.cr2), takenAt(c.jpg)};
        const std::vector<std::uint32_t> order = arrange(settings, names, {}, dates, arrangement);
        EXPECT_EQ(order, (std::vector<std::uint32_t>{0, 1}));
        EXPECT_EQ(arrangement.numbers, c.numbers) << c.cr2 << " " << c.jpg;
    }
}

// Reversed, the name order puts a sidecar before the file it is named after; when neither
// has a date taken, the sidecar still takes that file's number rather than one of its own.
TEST(Arrangement, SidecarBeforeItsUndatedFileStillFollowsIt) {
    TemporaryFolder folder;
    for (const char* name : {"IMG_1.CR2", "IMG_1.CR2.xmp", "IMG_2.JPG", "IMG_2.jpg.xmp"}) {
        folder.addFile(name);
        testing::setModified(folder.pathOf(name), nine);
    }
    PosixFileSystem fileSystem;
    for (const Order order : {Order::Name, Order::Taken}) {
        Settings settings;
        settings.targetDir = folder.path();
        settings.digits = "1";
        settings.isKeepRelatedOn = true;
        settings.isReverse = true;
        settings.order = order;
        const auto opened = planFolder(fileSystem, settings);
        ASSERT_TRUE(opened);
        std::string text;
        for (std::size_t i = 0; i < opened->plan.names.size(); ++i) {
            text += opened->plan.names[i] + ">" + opened->plan.newNameAt(i) + " ";
        }
        EXPECT_EQ(text, "IMG_2.jpg.xmp>1.jpg.xmp IMG_2.JPG>1.JPG IMG_1.CR2.xmp>2.CR2.xmp "
                        "IMG_1.CR2>2.CR2 ")
            << static_cast<int>(order);
    }
}

} // namespace
} // namespace brindleaf
