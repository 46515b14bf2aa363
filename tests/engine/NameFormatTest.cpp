#include "engine/NameFormat.hpp"
#include "engine/Plan.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindleaf {
namespace {

using Names = std::vector<std::string>;

struct PlanCase {
    const char* startIndex;
    const char* digits;
    const char* prefix;
    const char* postfix;
    Names listed;
    Names expected;
};

void PrintTo(const PlanCase& c, std::ostream* out) {
    *out << "start '" << c.startIndex << "' digits '" << c.digits << "' prefix '" << c.prefix
         << "' postfix '" << c.postfix << "'";
}

class WorkedPlan : public ::testing::TestWithParam<PlanCase> {};

TEST_P(WorkedPlan, NamesEachPositionAsTheTableSays) {
    const PlanCase& c = GetParam();
    Settings settings;
    settings.startIndex = c.startIndex;
    settings.digits = c.digits;
    settings.prefix = c.prefix;
    settings.postfix = c.postfix;
    const NameFormat format(settings);
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
        EXPECT_EQ(format.renamedAt(i), c.expected[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, WorkedPlan,
    ::testing::Values(
        PlanCase{"1", "4", "", "", {"a.png", "b.jpg"}, {"0001", "0002"}},
        PlanCase{"1", "4", "x", "y", {"a.png", "b.jpg"}, {"x0001y", "x0002y"}},
        PlanCase{"1", "4", "", ".jpg", {"a.png", "b.jpg"}, {"0001.jpg", "0002.jpg"}},
        PlanCase{"0", "2", "img_", "", {"c", "a", "b"}, {"img_00", "img_01", "img_02"}},
        PlanCase{"98", "2", "", "", {"p", "q", "r"}, {"98", "99", "100"}},
        PlanCase{"abc", "4", "", "", {"p", "q"}, {"0000", "0001"}},
        PlanCase{"-5", "4", "", "", {"p", "q"}, {"0005", "0006"}},
        PlanCase{"1a2", "", "", "", {"p", "q"}, {"12", "13"}},
        PlanCase{"7", "0", "", "", {"p", "q"}, {"7", "8"}},
        PlanCase{"7", "004", "", "", {"p"}, {"0007"}}, PlanCase{"7", "x3", "", "", {"p"}, {"007"}},
        PlanCase{"99999999999999999999", "4", "", "", {"p", "q"}, {"0000", "0001"}},
        PlanCase{"1", "4", "%d", "", {"p"}, {"%d0001"}},
        PlanCase{"1", "4", "", "", {".hidden", "README", "a.tar.gz"}, {"0001", "0002", "0003"}},
        // full-width digits read as no start at all
        PlanCase{"\xEF\xBC\x91\xEF\xBC\x92", "1", "", "", {"p"}, {"0"}},
        // past 2^31 - 1 the whole number is written
        PlanCase{"2147483647", "1", "", "", {"p", "q"}, {"2147483647", "2147483648"}},
        // the largest start is kept, and the numbers after it stay exact and distinct
        PlanCase{"9223372036854775807",
                 "",
                 "",
                 "",
                 {"p", "q", "r"},
                 {"9223372036854775807", "9223372036854775808", "9223372036854775809"}},
        PlanCase{"9223372036854775808", "", "", "", {"p"}, {"0"}}));

TEST(NameFormat, HugeWidthIsReportedTooLongWithoutBuildingTheName) {
    Settings settings;
    settings.digits = "99999999999";
    const NameFormat format(settings);
    EXPECT_GE(format.lengthAt(0), 4'000'000'000U);
    EXPECT_FALSE(format.renamedAt(0).has_value());
    EXPECT_EQ(format.problemAt(0, 255), NameProblem::TooLong);

    const Names names = {"a", "b"};
    const auto unusable = findUnusableName(names, {}, Arrangement{}, format, 255);
    ASSERT_TRUE(unusable);
    EXPECT_EQ(unusable->position, 0U);
    EXPECT_EQ(unusable->original, "a");
}

TEST(NameFormat, TemporarySuffixCountsAgainstTheNameLimit) {
    Settings settings;
    settings.digits = "";
    settings.startIndex = "9";
    settings.prefix = std::string(255 - 7 - 1, 'p');
    const NameFormat format(settings);
    // "ppp…9___temp" is exactly 255 bytes; "ppp…10___temp" is 256.
    EXPECT_FALSE(format.problemAt(0, 255));
    EXPECT_EQ(format.problemAt(1, 255), NameProblem::TooLong);

    const Names names = {"first", "second", "third"};
    const auto unusable = findUnusableName(names, {}, Arrangement{}, format, 255);
    ASSERT_TRUE(unusable);
    EXPECT_EQ(unusable->position, 1U);
    EXPECT_EQ(unusable->original, "second");
}

TEST(NameFormat, SlashOrNulInPrefixOrPostfixMakesEveryNameUnusable) {
    for (const auto& [prefix, postfix, problem] :
         std::vector<std::tuple<std::string, std::string, NameProblem>>{
             {"../", "", NameProblem::ContainsSlash},
             {"", "/x", NameProblem::ContainsSlash},
             {std::string("a\0b", 3), "", NameProblem::ContainsNul}}) {
        Settings settings;
        settings.prefix = prefix;
        settings.postfix = postfix;
        EXPECT_EQ(NameFormat(settings).problemAt(0, 255), problem) << prefix << postfix;
    }
}

// Each file keeps its own extension after the postfix; folders and dot-files keep none.
TEST(NameFormat, KeptExtensionsFollowThePostfix) {
    struct Case {
        const char* name;
        bool isFolder;
        const char* renamed;
    };
    Settings settings;
    settings.postfix = "_x";
    settings.isKeepExtensionsOn = true;
    const NameFormat format(settings);
    for (const Case& c :
         {Case{"a.png", false, "0001_x.png"}, Case{"archive.tar.gz", false, "0001_x.gz"},
          Case{".bashrc", false, "0001_x"}, Case{".config.json", false, "0001_x.json"},
          Case{"photos.2024", true, "0001_x"}, Case{"notes.draft one", false, "0001_x"},
          Case{"x.abcdefghij", false, "0001_x.abcdefghij"}, Case{"x.abcdefghijk", false, "0001_x"},
          Case{"trailing.", false, "0001_x"},
          Case{"\xE5\x86\x99.\xEF\xBD\x8A\xEF\xBD\x90\xEF\xBD\x87", false,
               "0001_x.\xEF\xBD\x8A\xEF\xBD\x90\xEF\xBD\x87"}}) {
        EXPECT_EQ(format.renamedFor(0, c.name, c.isFolder), c.renamed) << c.name;
    }
    settings.isKeepExtensionsOn = false;
    EXPECT_EQ(NameFormat(settings).renamedFor(0, "a.png", false), "0001_x");
}

// A kept extension counts against the name limit, so the check looks at every entry.
TEST(NameFormat, KeptExtensionCanMakeOneNameTooLong) {
    Settings settings;
    settings.prefix = std::string(240, 'p');
    settings.isKeepExtensionsOn = true;
    const Names names = {"a", "b.jpeg", "c"};
    const auto unusable = findUnusableName(names, {}, Arrangement{}, NameFormat(settings), 255);
    ASSERT_TRUE(unusable);
    EXPECT_EQ(unusable->original, "b.jpeg");
    EXPECT_EQ(unusable->problem, NameProblem::TooLong);
}

} // namespace
} // namespace brindleaf
