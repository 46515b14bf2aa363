#include "engine/Ordering.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace brindleaf {
namespace {

using Names = std::vector<std::string>;

enum class Toggle { Off, On, Any };

struct OrderingCase {
    Names listed;
    Toggle remove;
    Toggle replace;
    Toggle natural;
    bool reverse;
    Names expected;
};

void PrintTo(const OrderingCase& c, std::ostream* out) {
    *out << "listed:";
    for (const std::string& name : c.listed) {
        *out << " '" << name << "'";
    }
    *out << (c.reverse ? " reversed" : "");
}

std::vector<bool> choices(Toggle toggle) {
    switch (toggle) {
    case Toggle::Off:
        return {false};
    case Toggle::On:
        return {true};
    case Toggle::Any:
        break;
    }
    return {false, true};
}

class WorkedOrdering : public ::testing::TestWithParam<OrderingCase> {};

// Every combination of the "any" toggles must give the expected order.
TEST_P(WorkedOrdering, SortsAsTheTableSays) {
    const OrderingCase& c = GetParam();
    for (const bool remove : choices(c.remove)) {
        for (const bool replace : choices(c.replace)) {
            for (const bool natural : choices(c.natural)) {
                Settings settings;
                settings.isCompareBySpaceRemoveOn = remove;
                settings.isCompareBySpaceReplaceOn = replace;
                settings.isNatSortOn = natural;
                settings.isReverse = c.reverse;
                Names names = c.listed;
                sortFileNames(names, settings);
                EXPECT_EQ(names, c.expected)
                    << "remove=" << remove << " replace=" << replace << " natural=" << natural;
            }
        }
    }
}

const Names files = {"file10", "file9", "file1"};
const Names underscores = {"a_b", "ab", "a b"};
using enum Toggle;

INSTANTIATE_TEST_SUITE_P(
    Table, WorkedOrdering,
    ::testing::Values(
        OrderingCase{files, Any, Any, On, false, {"file1", "file9", "file10"}},
        OrderingCase{files, Any, Any, Off, false, {"file1", "file10", "file9"}},
        OrderingCase{files, Any, Any, On, true, {"file10", "file9", "file1"}},
        OrderingCase{files, Any, Any, Off, true, {"file9", "file10", "file1"}},
        OrderingCase{underscores, Off, Off, Any, false, {"a b", "a_b", "ab"}},
        OrderingCase{underscores, On, Off, Any, false, {"a_b", "ab", "a b"}},
        OrderingCase{underscores, Off, On, Any, false, {"a_b", "a b", "ab"}},
        OrderingCase{underscores, On, On, Any, false, {"a_b", "ab", "a b"}},
        OrderingCase{underscores, On, Off, Any, true, {"ab", "a b", "a_b"}},
        OrderingCase{{"img 10", "img9"}, On, Any, On, false, {"img9", "img 10"}},
        OrderingCase{{"img 10", "img9"}, Off, Off, Off, false, {"img 10", "img9"}},
        OrderingCase{
            {"banana", "Cherry", "Apple"}, Any, Any, Any, false, {"Apple", "Cherry", "banana"}},
        // Only U+0020 counts as a space: tab and no-break space stay in the key.
        OrderingCase{{"a\tb",
                      "a\xC2\xA0"
                      "b",
                      "ab"},
                     On,
                     Any,
                     Off,
                     false,
                     {"a\tb", "ab",
                      "a\xC2\xA0"
                      "b"}},
        // A name of blanks only has the empty key: first, or last when reversed.
        OrderingCase{{"a", "   ", "0"}, On, Any, Any, false, {"   ", "0", "a"}},
        OrderingCase{{"a", "   ", "0"}, On, Any, Any, true, {"a", "0", "   "}},
        // Digit runs longer than any machine integer still compare by value.
        OrderingCase{{"x123456789012345678901234567890", "x99999999999999999999999999999"},
                     Any,
                     Any,
                     On,
                     false,
                     {"x99999999999999999999999999999", "x123456789012345678901234567890"}},
        // Equal value: fewer leading zeros first, whatever the listing order.
        OrderingCase{{"a001", "a1", "a01"}, Any, Any, On, false, {"a1", "a01", "a001"}},
        OrderingCase{{"a01c", "a1b"}, Any, Any, On, false, {"a1b", "a01c"}},
        // Code point order, not a locale's: non-ASCII after ASCII.
        OrderingCase{{"\xC3\xA9t\xC3\xA9", "zoo", "Zoo"},
                     Any,
                     Any,
                     Any,
                     false,
                     {"Zoo", "zoo", "\xC3\xA9t\xC3\xA9"}}));

// Random names built from the pieces that make comparisons hard.
std::string randomName(std::mt19937& random) {
    static const std::vector<std::string> pieces = {
        "0",    "00",  "1",        "01",
        "9",    "10",  "007",      "12345678901234567890123",
        "a",    "A",   "b",        "_",
        " ",    "  ",  "z",        "Z",
        ".",    "-",   "\xC3\xA9", "\xE6\x97\xA5",
        "\xFF", "x1y", "img"};
    std::uniform_int_distribution<std::size_t> length(0, 6);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::string name;
    for (std::size_t n = length(random); n > 0; --n) {
        name += pieces[pick(random)];
    }
    return name;
}

TEST(Ordering, IsAStrictWeakOrderForEveryToggleCombination) {
    std::mt19937 random(20261206);
    Names names(60);
    for (std::string& name : names) {
        name = randomName(random);
    }
    for (int mask = 0; mask < 16; ++mask) {
        Settings settings;
        settings.isNatSortOn = (mask & 1) != 0;
        settings.isCompareBySpaceRemoveOn = (mask & 2) != 0;
        settings.isCompareBySpaceReplaceOn = (mask & 4) != 0;
        settings.isReverse = (mask & 8) != 0;
        const auto before = [&](const std::string& a, const std::string& b) {
            return fileNameComesBefore(settings, a, b);
        };
        const auto same = [&](const std::string& a, const std::string& b) {
            return !before(a, b) && !before(b, a);
        };
        for (const auto& a : names) {
            ASSERT_FALSE(before(a, a)) << a;
            for (const auto& b : names) {
                ASSERT_FALSE(before(a, b) && before(b, a)) << a << " | " << b;
                for (const auto& c : names) {
                    if (before(a, b) && before(b, c)) {
                        ASSERT_TRUE(before(a, c)) << a << " | " << b << " | " << c;
                    }
                    if (same(a, b) && same(b, c)) {
                        ASSERT_TRUE(same(a, c)) << a << " | " << b << " | " << c;
                    }
                }
            }
        }
    }
}

// Large listings are sorted in two halves at once and merged; the result must be the same
// stable order as for small ones.
TEST(Ordering, LargeListsAreOrderedAndStable) {
    std::mt19937 random(7);
    // Unique names in twins that differ only by a space, so their keys are equal.
    Names names(120'000);
    for (std::size_t i = 0; i < names.size(); i += 2) {
        names[i] = randomName(random) + "#" + std::to_string(i);
        names[i + 1] = " " + names[i];
    }
    std::shuffle(names.begin(), names.end(), random);
    for (const bool reverse : {false, true}) {
        Settings settings;
        settings.isReverse = reverse;
        Names sorted = names;
        sortFileNames(sorted, settings);
        Names sameNames = sorted;
        std::ranges::sort(sameNames);
        Names allNames = names;
        std::ranges::sort(allNames);
        ASSERT_EQ(sameNames, allNames);
        std::map<std::string, std::size_t> listedAt;
        for (std::size_t i = 0; i < names.size(); ++i) {
            listedAt[names[i]] = i;
        }
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            const std::string& before = sorted[i - 1];
            const std::string& after = sorted[i];
            ASSERT_FALSE(fileNameComesBefore(settings, after, before)) << before << " | " << after;
            if (!fileNameComesBefore(settings, before, after)) {
                ASSERT_LT(listedAt[before], listedAt[after]) << before << " | " << after;
            }
        }
    }
}

TEST(Ordering, EqualKeysKeepListingOrderInBothDirections) {
    Settings settings; // spaces removed: "a b", "ab" and "a  b" share one key
    Names names = {"a  b", "c", "ab", "a b"};
    sortFileNames(names, settings);
    EXPECT_EQ(names, (Names{"a  b", "ab", "a b", "c"}));
    settings.isReverse = true;
    names = {"a  b", "c", "ab", "a b"};
    sortFileNames(names, settings);
    EXPECT_EQ(names, (Names{"c", "a  b", "ab", "a b"}));
}

// Whatever order toggling left the names in, ordering them again gives what a fresh listing
// would get: ties in listing order, as the run will number them.
TEST(Ordering, ReorderingMatchesAFreshListingAfterAnyToggles) {
    const Names listing = {"a_1", "c", "a 1", "a1", "b 2", "b2", "a  1", "b_2"};
    ListedNames listed;
    listed.names = listing;
    for (std::uint32_t i = 0; i < listing.size(); ++i) {
        listed.listingPositions.push_back(i);
        listed.folders.push_back(i % 2);
    }
    for (const unsigned toggles : {0U, 5U, 15U, 2U, 9U, 6U, 0U, 12U, 3U}) {
        Settings settings;
        settings.isNatSortOn = (toggles & 1U) != 0;
        settings.isCompareBySpaceRemoveOn = (toggles & 2U) != 0;
        settings.isCompareBySpaceReplaceOn = (toggles & 4U) != 0;
        settings.isReverse = (toggles & 8U) != 0;
        reorderListedNames(listed, settings);
        Names fresh = listing;
        sortFileNames(fresh, settings);
        EXPECT_EQ(listed.names, fresh) << "toggles " << toggles;
        for (std::size_t i = 0; i < fresh.size(); ++i) {
            EXPECT_EQ(listing[listed.listingPositions[i]], listed.names[i]);
            EXPECT_EQ(listed.folders[i], listed.listingPositions[i] % 2);
        }
    }
}

} // namespace
} // namespace brindleaf
