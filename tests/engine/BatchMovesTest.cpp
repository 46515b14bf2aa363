#include "engine/BatchMoves.hpp"
#include "support/StopBeforeMove.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <numeric>
#include <random>
#include <set>

namespace brindleaf {
namespace {

// A folder in memory that refuses to replace a name, as the real moves do, optionally
// seeing names that differ only in case as one.
class MemoryFolder final : public FileSystem {
public:
    std::map<std::string, std::string> entries; // name -> what the entry was first called
    bool caseInsensitive = false;
    std::size_t moves = 0;
    std::size_t temporaryMoves = 0;

    MoveResult move(const UniqueFd&, const std::string& from, const std::string& to) override {
        if (!entries.contains(from)) {
            return {std::make_error_code(std::errc::no_such_file_or_directory)};
        }
        if (holds(to)) {
            return {std::make_error_code(std::errc::file_exists)};
        }
        ++moves;
        temporaryMoves += to.ends_with("___temp") ? 1 : 0;
        entries[to] = entries[from];
        entries.erase(from);
        return {};
    }
    std::expected<UniqueFd, std::error_code> openFolder(const std::string&) override {
        return UniqueFd{};
    }
    std::expected<FolderEntries, std::error_code> readEntries(const UniqueFd&) override {
        return FolderEntries{};
    }
    std::error_code flush(const UniqueFd&) override { return {}; }
    std::expected<FolderIdentity, std::error_code> identify(const UniqueFd&) override {
        return FolderIdentity{};
    }
    std::expected<EntryStamp, std::error_code> stamp(const UniqueFd&, const std::string&) override {
        return EntryStamp{};
    }
    std::optional<PhotoDate> dateTaken(const UniqueFd&, const std::string&) override {
        return std::nullopt;
    }
    std::size_t longestName(const UniqueFd&) override { return 255; }

private:
    bool holds(const std::string& name) const {
        if (!caseInsensitive) {
            return entries.contains(name);
        }
        const auto folded = [](std::string text) {
            std::ranges::transform(text, text.begin(),
                                   [](unsigned char c) { return std::tolower(c); });
            return text;
        };
        return std::ranges::any_of(
            entries, [&](const auto& entry) { return folded(entry.first) == folded(name); });
    }
};

// The cycles of a plan, found the slow way: follow each name to the entry that holds its
// destination until the walk ends or comes back.
std::size_t cyclesOf(const std::vector<std::string>& sources,
                     const std::vector<std::string>& destinations) {
    std::size_t cycles = 0;
    std::set<std::size_t> seen;
    for (std::size_t start = 0; start < sources.size(); ++start) {
        if (seen.contains(start) || sources[start] == destinations[start]) {
            continue;
        }
        std::set<std::size_t> walk;
        std::size_t at = start;
        for (;;) {
            walk.insert(at);
            const auto holder = std::ranges::find(sources, destinations[at]);
            if (holder == sources.end()) {
                break;
            }
            at = static_cast<std::size_t>(holder - sources.begin());
            if (at == start) {
                ++cycles;
                break;
            }
            if (walk.contains(at)) {
                break;
            }
        }
        seen.insert(walk.begin(), walk.end());
    }
    return cycles;
}

// Random small plans over a few shared names, taken up in their own order or in a random one:
// every entry ends under its destination, every name is free when it is taken (the folder
// refuses otherwise), one move per entry that must move, and one temporary name per cycle.
TEST(BatchMoves, EveryNameIsFreeWhenTakenAndEachCycleTakesOneTemporaryName) {
    std::mt19937 random(20261206);
    const std::vector<std::string> pool = {"n0", "n1", "n2", "n3", "n4", "n5", "n6", "n7"};
    ProceedAlways proceed;
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::string> shuffled = pool;
        std::ranges::shuffle(shuffled, random);
        const std::size_t count = 1 + random() % pool.size();
        std::vector<std::string> sources(shuffled.begin(), shuffled.begin() + count);
        std::ranges::shuffle(shuffled, random);
        std::vector<std::string> destinations(shuffled.begin(), shuffled.begin() + count);

        std::vector<std::uint32_t> order;
        if (round % 2 == 1) {
            order.resize(count);
            std::iota(order.begin(), order.end(), 0U);
            std::ranges::shuffle(order, random);
        }

        MemoryFolder folder;
        for (const std::string& source : sources) {
            folder.entries[source] = source;
        }
        const MovesResult result =
            moveBatch(folder, UniqueFd{}, sources, destinations, "___temp", proceed, order);
        ASSERT_EQ(result.kind, MovesResult::Kind::Done) << "round " << round;
        std::map<std::string, std::string> expected;
        std::size_t moving = 0;
        for (std::size_t i = 0; i < count; ++i) {
            expected[destinations[i]] = sources[i];
            moving += sources[i] != destinations[i] ? 1 : 0;
        }
        EXPECT_EQ(folder.entries, expected) << "round " << round;
        const std::size_t cycles = cyclesOf(sources, destinations);
        EXPECT_EQ(folder.temporaryMoves, cycles) << "round " << round;
        EXPECT_EQ(folder.moves, moving + cycles) << "round " << round;
    }
}

// Where a name is held in another case, the plan cannot see it; the move goes through its
// temporary name and ends last, and nothing is replaced.
TEST(BatchMoves, NameTakenInAnotherCaseIsReachedThroughATemporaryName) {
    MemoryFolder folder;
    folder.caseInsensitive = true;
    folder.entries = {{"A", "A"}, {"B", "B"}};
    ProceedAlways proceed;
    const std::vector<std::string> sources = {"A", "B"};
    const std::vector<std::string> destinations = {"b", "c"};
    const MovesResult result =
        moveBatch(folder, UniqueFd{}, sources, destinations, "___temp", proceed);
    EXPECT_EQ(result.kind, MovesResult::Kind::Done);
    EXPECT_EQ(folder.entries, (std::map<std::string, std::string>{{"b", "A"}, {"c", "B"}}));
    EXPECT_EQ(folder.temporaryMoves, 1U);
}

using testing::StopBeforeMove;

// Kept where they stopped, the moves say exactly which entries are at their destinations,
// those that went through a temporary name to the end too.
TEST(BatchMoves, StoppedMovesThatAreKeptSayWhichEntriesArrived) {
    const std::vector<std::string> sources = {"A", "B", "C"};
    const std::vector<std::string> destinations = {"b", "c", "d"};
    for (std::size_t moves = 0; moves < 8; ++moves) {
        SCOPED_TRACE(moves);
        MemoryFolder folder;
        folder.caseInsensitive = true; // "A" and "B" wait behind a name taken in another case
        folder.entries = {{"A", "A"}, {"B", "B"}, {"C", "C"}};
        StopBeforeMove stop(moves);
        const MovesResult result =
            moveBatch(folder, UniqueFd{}, sources, destinations, "___temp", stop, {}, OnStop::Keep);
        if (result.kind == MovesResult::Kind::Done) {
            EXPECT_EQ(folder.entries,
                      (std::map<std::string, std::string>{{"b", "A"}, {"c", "B"}, {"d", "C"}}));
            continue;
        }
        ASSERT_EQ(result.arrived.size(), sources.size());
        std::size_t arrived = 0;
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const auto at = folder.entries.find(destinations[i]);
            const bool there = at != folder.entries.end() && at->second == sources[i];
            EXPECT_EQ(result.arrived[i], there) << sources[i];
            arrived += there ? 1 : 0;
        }
        EXPECT_EQ(result.arrivedCount, arrived);
        EXPECT_EQ(result.anyMoved, folder.moves > 0);
        EXPECT_TRUE(result.stranded.empty());
    }
}

} // namespace
} // namespace brindleaf
