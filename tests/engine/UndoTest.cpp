#include "engine/Undo.hpp"
#include "engine/Execution.hpp"
#include "engine/Forget.hpp"
#include "support/DoubleFileSystem.hpp"
#include "support/KilledRun.hpp"
#include "support/ScriptedJournalCalls.hpp"
#include "support/StopBeforeMove.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

namespace brindleaf {
namespace {

using testing::DoubleFileSystem;
using testing::TemporaryFolder;
using NameSet = std::set<std::string>;

class Undo : public ::testing::Test {
protected:
    TemporaryFolder folder;
    TemporaryFolder state;
    DoubleFileSystem fileSystem;
    Settings settings;
    Journals journals{JournalFolder(state.pathOf("journals"))};
    ProceedAlways proceed;
    const NameSet originals{"0002", "0001", "b", "line\nbreak", "caf\xE9", "a b"};

    void SetUp() override {
        settings.targetDir = folder.path();
        for (const std::string& name : originals) {
            folder.addFile(name);
        }
        folder.addFolder("sub");
        folder.addFile("sub/inner");
    }

    RunOutcome run() { return renameFiles(settings, fileSystem, journals, proceed).outcome; }
    UndoReport undo() { return undoLastRun(fileSystem, folder.path(), journals, proceed); }

    void expectOriginals() {
        NameSet expected = originals;
        expected.insert("sub");
        EXPECT_EQ(folder.names(), expected);
        for (const std::string& name : originals) {
            EXPECT_EQ(folder.contentOf(name), name);
        }
        EXPECT_EQ(folder.contentOf("sub/inner"), "sub/inner");
    }

    RecordedRunState lastRun(const std::string& path) {
        const auto opened = fileSystem.openFolder(path);
        return journals.lastRunOf(path, *fileSystem.identify(*opened)).state;
    }
    RecordedRunState lastRun() { return lastRun(folder.path()); }

    std::string journalPath() {
        return journals.folder().path() + "/" + *journals.folder().names()->begin();
    }
};

TEST_F(Undo, FinishedRunIsUndoneOnceAndOnlyOnce) {
    settings.isReverse = true; // "0001" and "0002" trade places
    ASSERT_EQ(run(), RunOutcome::Renamed);
    EXPECT_EQ(folder.contentOf("0007"), "0001");
    EXPECT_EQ(lastRun(), RecordedRunState::Finished);

    const UndoReport report = undo();
    EXPECT_EQ(report.outcome, UndoOutcome::Restored);
    EXPECT_EQ(report.restored, originals.size() + 1);
    expectOriginals();
    EXPECT_EQ(undo().outcome, UndoOutcome::NothingToUndo);
    expectOriginals();
}

TEST_F(Undo, RunKilledAnywhereIsRefusedThenUndone) {
    // Reversed, "a" waits for "0001" to move on (moves 1, 2), and "0003" and "0002" trade
    // places through a temporary name (moves 3 to 5).
    for (const std::size_t dyingMove : {2, 4, 5}) {
        SCOPED_TRACE(dyingMove);
        TemporaryFolder other;
        for (const char* name : {"0001", "0002", "0003", "a"}) {
            other.addFile(name);
        }
        Settings reversed;
        reversed.targetDir = other.path();
        reversed.isReverse = true;
        ASSERT_TRUE(testing::renameKilledAtMove(reversed, journals.folder(), dyingMove));

        EXPECT_EQ(lastRun(other.path()), RecordedRunState::Interrupted);
        // The names that run left are not the user's own names to number.
        EXPECT_EQ(renameFiles(reversed, fileSystem, journals, proceed).outcome,
                  RunOutcome::LastRunInterrupted);
        EXPECT_EQ(undoLastRun(fileSystem, other.path(), journals, proceed).outcome,
                  UndoOutcome::Restored);
        EXPECT_EQ(other.names(), (NameSet{"0001", "0002", "0003", "a"}));
        for (const std::string& name : other.names()) {
            EXPECT_EQ(other.contentOf(name), name);
        }
    }
}

TEST_F(Undo, EntryReplacedSinceTheRunIsLeftAloneAndListed) {
    ASSERT_EQ(run(), RunOutcome::Renamed);
    // "b" became "0004": later, another program puts a new file in its place, which may
    // well get the inode number "b" had. The wait outlasts a tick of the file clock.
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    std::filesystem::remove(folder.pathOf("0004"));
    folder.addFile("0004");

    const UndoReport report = undo();
    EXPECT_EQ(report.outcome, UndoOutcome::PartlyRestored);
    EXPECT_EQ(report.leftAlone, (std::vector<LeftAlone>{{"b", LeftAloneReason::Replaced}}));
    EXPECT_EQ(folder.contentOf("0004"), "0004");
    EXPECT_EQ(folder.contentOf("line\nbreak"), "line\nbreak");
    EXPECT_FALSE(folder.names().contains("b"));
}

// An undo that could move no entry back leaves the run to be tried again once the cause is
// mended; one that moved some keeps only the rest to try.
TEST_F(Undo, EntriesLeftAloneCanBeTriedAgain) {
    TemporaryFolder other;
    other.addFile("a");
    other.addFile("b");
    Settings numbered;
    numbered.targetDir = other.path();
    ASSERT_EQ(renameFiles(numbered, fileSystem, journals, proceed).outcome, RunOutcome::Renamed);
    std::ofstream(other.pathOf("a")) << "blocks a";
    std::ofstream(other.pathOf("b")) << "blocks b";
    const auto undoOther = [&] {
        return undoLastRun(fileSystem, other.path(), journals, proceed);
    };

    const UndoReport none = undoOther();
    EXPECT_EQ(none.outcome, UndoOutcome::NoneRestored);
    EXPECT_EQ(none.restored, 0U);
    EXPECT_EQ(none.leftAlone, (std::vector<LeftAlone>{{"a", LeftAloneReason::NameTaken},
                                                      {"b", LeftAloneReason::NameTaken}}));
    EXPECT_EQ(lastRun(other.path()), RecordedRunState::Finished);

    std::filesystem::remove(other.pathOf("a"));
    const UndoReport some = undoOther();
    EXPECT_EQ(some.outcome, UndoOutcome::PartlyRestored);
    EXPECT_EQ(some.restored, 1U);
    EXPECT_EQ(other.contentOf("a"), "a");

    std::filesystem::remove(other.pathOf("b"));
    const UndoReport rest = undoOther();
    EXPECT_EQ(rest.outcome, UndoOutcome::Restored);
    EXPECT_EQ(rest.restored, 1U);
    EXPECT_EQ(other.names(), (NameSet{"a", "b"}));
    EXPECT_EQ(other.contentOf("b"), "b");
}

TEST_F(Undo, FolderIsFlushedAfterTheLastMoveBeforeSuccess) {
    ASSERT_EQ(run(), RunOutcome::Renamed);
    ASSERT_GE(fileSystem.calls.size(), 2U);
    EXPECT_EQ(fileSystem.calls.back(), "flush");
    EXPECT_EQ(fileSystem.calls[fileSystem.calls.size() - 2], "move");

    // A flush that fails is a failure, and the run stays undoable after a power cut.
    ASSERT_EQ(undo().outcome, UndoOutcome::Restored);
    fileSystem.flushFails = true;
    EXPECT_EQ(run(), RunOutcome::Failed);
    EXPECT_EQ(lastRun(), RecordedRunState::Interrupted);
}

// FAT keeps times to two seconds: entries of one size and time look alike, and a finished
// run is undone from where it left them, not guessed from their looks.
TEST_F(Undo, WithoutStableInodesEntriesAreKnownBySizeTimeAndPlace) {
    fileSystem.inodesAreStable = false;
    TemporaryFolder other;
    const timespec sameTime[2] = {{1'700'000'000, 0}, {1'700'000'000, 0}};
    for (const char* name : {"0001", "0002", "0003"}) {
        other.addFile(name);
        ASSERT_EQ(::utimensat(AT_FDCWD, other.pathOf(name).c_str(), sameTime, 0), 0);
    }
    Settings reversed;
    reversed.targetDir = other.path();
    reversed.isReverse = true;
    ASSERT_EQ(renameFiles(reversed, fileSystem, journals, proceed).outcome, RunOutcome::Renamed);
    ASSERT_EQ(other.contentOf("0001"), "0003");
    EXPECT_EQ(undoLastRun(fileSystem, other.path(), journals, proceed).outcome,
              UndoOutcome::Restored);
    for (const char* name : {"0001", "0002", "0003"}) {
        EXPECT_EQ(other.contentOf(name), name);
    }

    // Remounted, every inode number is new: entries are known by their size and time.
    ASSERT_EQ(run(), RunOutcome::Renamed);
    fileSystem.inodeShift = 1000;
    const UndoReport report = undo();
    EXPECT_EQ(report.outcome, UndoOutcome::Restored);
    EXPECT_TRUE(report.matchedByStamp);
    expectOriginals();
}

using testing::StopBeforeMove;

// Entries under their own names, which the run changed, each holding its own name.
std::size_t entriesHome(const TemporaryFolder& folder, const NameSet& originals) {
    std::size_t home = 0;
    for (const std::string& name : folder.names()) {
        const bool file = std::filesystem::is_regular_file(folder.pathOf(name));
        home += (file && originals.contains(name) && folder.contentOf(name) == name) ||
                        (!file && name == "sub")
                    ? 1
                    : 0;
    }
    return home;
}

// A stopped undo moved names toward the user's own: it keeps them, says how many, and the
// next undo finds the others wherever the stop left them, under a temporary name too.
TEST_F(Undo, StoppedUndoKeepsWhatItGaveBackAndTheNextGivesTheRest) {
    settings.isReverse = true;
    for (std::size_t moves = 0; moves < 12; ++moves) {
        SCOPED_TRACE(moves);
        const RunReport renamed = renameFiles(settings, fileSystem, journals, proceed);
        ASSERT_EQ(renamed.outcome, RunOutcome::Renamed);
        const std::size_t unmoved = entriesHome(folder, originals);
        StopBeforeMove stop(moves);
        const UndoReport stopped = undoLastRun(fileSystem, folder.path(), journals, stop);
        if (stopped.outcome == UndoOutcome::Restored) {
            EXPECT_GE(moves, renamed.moved);
            expectOriginals();
            continue;
        }
        EXPECT_EQ(stopped.outcome, UndoOutcome::Cancelled);
        EXPECT_EQ(stopped.toRestore, renamed.moved);
        EXPECT_EQ(stopped.restored, entriesHome(folder, originals) - unmoved);
        EXPECT_FALSE(stopped.notRecorded);
        if (moves == 0) {
            // Nothing moved: the run is as it was.
            EXPECT_EQ(lastRun(), RecordedRunState::Finished);
        } else {
            // Until the rest are back, the names the undo left are no one's to number.
            EXPECT_EQ(lastRun(), RecordedRunState::Interrupted);
            EXPECT_EQ(run(), RunOutcome::LastRunInterrupted);
        }

        const UndoReport rest = undo();
        EXPECT_EQ(rest.outcome, UndoOutcome::Restored);
        EXPECT_EQ(rest.restored + stopped.restored, renamed.moved);
        expectOriginals();
        EXPECT_EQ(undo().outcome, UndoOutcome::NothingToUndo);
    }
}

// Undoing a swap parks one entry under a temporary name first; stopped right there, no
// entry is home yet, and the journal must still lead to the one parked.
TEST_F(Undo, UndoStoppedWithAnEntryParkedFindsItNextTime) {
    TemporaryFolder other;
    other.addFile("0001");
    other.addFile("0002");
    Settings reversed;
    reversed.targetDir = other.path();
    reversed.isReverse = true;
    ASSERT_EQ(renameFiles(reversed, fileSystem, journals, proceed).outcome, RunOutcome::Renamed);
    ASSERT_EQ(other.contentOf("0001"), "0002");
    StopBeforeMove stop(1);
    const UndoReport stopped = undoLastRun(fileSystem, other.path(), journals, stop);
    EXPECT_EQ(stopped.outcome, UndoOutcome::Cancelled);
    EXPECT_EQ(stopped.restored, 0U);
    EXPECT_EQ(other.names().size(), 2U);
    EXPECT_EQ(lastRun(other.path()), RecordedRunState::Interrupted);

    EXPECT_EQ(undoLastRun(fileSystem, other.path(), journals, proceed).outcome,
              UndoOutcome::Restored);
    EXPECT_EQ(other.names(), (NameSet{"0001", "0002"}));
    EXPECT_EQ(other.contentOf("0001"), "0001");
    EXPECT_EQ(other.contentOf("0002"), "0002");
}

// Every move of the undo made, and the journal cannot be rewritten: the names are back,
// the report says so, and the journal still leads the next undo, which completes it.
TEST_F(Undo, UndoWhoseRecordCannotBeUpdatedSaysHowManyMoved) {
    const auto calls = std::make_shared<testing::ScriptedJournalCalls>();
    Journals scripted{JournalFolder(state.pathOf("journals"), calls)};
    const RunReport renamed = renameFiles(settings, fileSystem, scripted, proceed);
    ASSERT_EQ(renamed.outcome, RunOutcome::Renamed);
    // The undo is marked as under way before its first move; what fails is marking it done.
    class FullDiskOnFirstMove final : public RunObserver {
    public:
        explicit FullDiskOnFirstMove(testing::ScriptedJournalCalls& calls) : calls_(calls) {}
        bool proceed(std::size_t, std::size_t) override {
            calls_.failing = testing::ScriptedJournalCalls::Call::WriteAt;
            calls_.error = ENOSPC;
            return true;
        }

    private:
        testing::ScriptedJournalCalls& calls_;
    } fullDisk(*calls);
    const UndoReport report = undoLastRun(fileSystem, folder.path(), scripted, fullDisk);
    EXPECT_EQ(report.outcome, UndoOutcome::Failed);
    EXPECT_TRUE(report.notRecorded);
    EXPECT_EQ(report.error, std::errc::no_space_on_device);
    EXPECT_EQ(report.restored, renamed.moved);
    EXPECT_EQ(report.toRestore, renamed.moved);
    expectOriginals();
    EXPECT_EQ(lastRun(), RecordedRunState::Interrupted);

    calls->failing = testing::ScriptedJournalCalls::Call::None;
    const UndoReport completed = undo();
    EXPECT_EQ(completed.outcome, UndoOutcome::Restored);
    EXPECT_EQ(completed.restored, 0U);
    EXPECT_EQ(completed.alreadyOriginal, renamed.moved);
    EXPECT_EQ(lastRun(), RecordedRunState::Undone);
}

// Without inode numbers, size and time are all that tell an entry; one whose size changed
// since may be another file, and stays where it is.
TEST_F(Undo, WithoutStableInodesAnEntryWhoseSizeChangedIsLeftAlone) {
    fileSystem.inodesAreStable = false;
    ASSERT_EQ(run(), RunOutcome::Renamed);
    ASSERT_EQ(folder.contentOf("0004"), "b");
    struct stat before {};
    ASSERT_EQ(::stat(folder.pathOf("0004").c_str(), &before), 0);
    std::ofstream(folder.pathOf("0004"), std::ios::app) << " grown";
    // Same modification time as before: only the size tells.
    const timespec kept[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, folder.pathOf("0004").c_str(), kept, 0), 0);

    fileSystem.inodeShift = 1000;
    const UndoReport report = undo();
    EXPECT_EQ(report.outcome, UndoOutcome::PartlyRestored);
    EXPECT_EQ(report.leftAlone, (std::vector<LeftAlone>{{"b", LeftAloneReason::SizeChanged}}));
    EXPECT_EQ(folder.contentOf("0004"), "b grown");
    EXPECT_FALSE(folder.names().contains("b"));
    EXPECT_EQ(folder.contentOf("a b"), "a b");
}

// An interrupted run undone in part is still interrupted: the entries left are under the
// run's names, some perhaps temporary, which no new run may number.
TEST_F(Undo, PartialUndoOfAnInterruptedRunKeepsItRefused) {
    TemporaryFolder other;
    const NameSet names{"x", "y", "z"};
    for (const std::string& name : names) {
        other.addFile(name);
    }
    Settings numbered;
    numbered.targetDir = other.path();
    // Two entries got new names; the run died before moving the third.
    ASSERT_TRUE(testing::renameKilledAtMove(numbered, journals.folder(), 3));
    std::vector<std::string> away;
    std::ranges::set_difference(names, other.names(), std::back_inserter(away));
    ASSERT_EQ(away.size(), 2U);
    other.addFile(away[0]); // another program's file takes the name meanwhile

    const UndoReport report = undoLastRun(fileSystem, other.path(), journals, proceed);
    EXPECT_EQ(report.outcome, UndoOutcome::PartlyRestored);
    EXPECT_EQ(report.leftAlone, (std::vector<LeftAlone>{{away[0], LeftAloneReason::NameTaken}}));
    EXPECT_EQ(report.restored, 1U);
    EXPECT_EQ(other.contentOf(away[1]), away[1]);
    EXPECT_EQ(lastRun(other.path()), RecordedRunState::Interrupted);
    EXPECT_EQ(renameFiles(numbered, fileSystem, journals, proceed).outcome,
              RunOutcome::LastRunInterrupted);
}

// A journal damaged after the run still leads undo to the entries it can tell: they go
// home, those it cannot tell are counted, and the folder can be renamed again. A journal
// that lost entries is set aside, not deleted.
TEST_F(Undo, DamagedJournalGivesBackTheEntriesItCanStillTell) {
    struct Damage {
        const char* what;
        std::function<void(std::string&)> damage;
        std::size_t unread;
    };
    const std::vector<Damage> damages{
        {"a byte of the state line", [](std::string& bytes) { bytes[40] = 'X'; }, 0},
        {"the checksum", [](std::string& bytes) { bytes[bytes.size() - 3] ^= 1; }, 0},
        {"the end cut off", [](std::string& bytes) { bytes.resize(bytes.size() - 30); }, 1},
        // One damaged line hides no entry after it.
        {"a byte of the first entry",
         [](std::string& bytes) {
             bytes[bytes.find('\n', bytes.find("\nentries ") + 1) + 1] = 'X';
         },
         1},
    };
    for (const Damage& test : damages) {
        SCOPED_TRACE(test.what);
        const RunReport renamed = renameFiles(settings, fileSystem, journals, proceed);
        ASSERT_EQ(renamed.outcome, RunOutcome::Renamed);
        const std::string journal = journalPath();
        std::string bytes;
        {
            std::ifstream in(journal, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        test.damage(bytes);
        std::ofstream(journal, std::ios::binary | std::ios::trunc) << bytes;

        const UndoReport report = undo();
        EXPECT_EQ(report.outcome, UndoOutcome::Restored);
        EXPECT_TRUE(report.fromDamagedRecord);
        EXPECT_EQ(report.unreadEntries, test.unread);
        EXPECT_EQ(report.restored, renamed.moved - test.unread);
        // A journal that lost entries stays, untouched, and keeps the folder refused until
        // the user sets it aside.
        EXPECT_FALSE(std::filesystem::exists(journal + ".set-aside"));
        EXPECT_EQ(lastRun(),
                  test.unread > 0 ? RecordedRunState::Damaged : RecordedRunState::Undone);
        if (test.unread > 0) {
            EXPECT_EQ(forgetDamagedRun(fileSystem, folder.path(), journals, true).outcome,
                      ForgetOutcome::SetAside);
            EXPECT_EQ(lastRun(), RecordedRunState::Undone);
        }
        EXPECT_EQ(undo().outcome, UndoOutcome::NothingToUndo);
        if (test.unread == 0) {
            expectOriginals();
        } else {
            // The entry it lost keeps its new name.
            EXPECT_EQ(std::ranges::count_if(folder.names(),
                                            [&](const std::string& name) {
                                                return !originals.contains(name) && name != "sub";
                                            }),
                      1);
        }
    }
}

// A damaged journal that lost entries is never replaced: when the sound journal of the
// entries it still tells cannot be written, nothing moves, and after an undo that could
// write it, the damaged one still refuses the folder.
TEST_F(Undo, DamagedJournalStaysWhenItsReplacementCannotBeWritten) {
    const auto calls = std::make_shared<testing::ScriptedJournalCalls>();
    Journals scripted(JournalFolder(state.pathOf("journals"), calls));
    ASSERT_EQ(renameFiles(settings, fileSystem, scripted, proceed).outcome, RunOutcome::Renamed);
    const std::string journal = journalPath();
    std::string bytes;
    {
        std::ifstream in(journal, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    bytes.resize(bytes.size() - 30);
    std::ofstream(journal, std::ios::binary | std::ios::trunc) << bytes;
    const NameSet renamed = folder.names();

    // Whether its file cannot be made or cannot be given the journal's name.
    for (const auto failing : {testing::ScriptedJournalCalls::Call::Rename,
                               testing::ScriptedJournalCalls::Call::Create}) {
        calls->failing = failing;
        const UndoReport failed = undoLastRun(fileSystem, folder.path(), scripted, proceed);
        EXPECT_EQ(failed.outcome, UndoOutcome::Failed);
        EXPECT_EQ(folder.names(), renamed);
        EXPECT_TRUE(std::filesystem::exists(journal));
        EXPECT_EQ(lastRun(), RecordedRunState::Damaged);
    }

    calls->failing = testing::ScriptedJournalCalls::Call::None;
    const UndoReport undone = undoLastRun(fileSystem, folder.path(), scripted, proceed);
    EXPECT_EQ(undone.outcome, UndoOutcome::Restored);
    EXPECT_EQ(undone.unreadEntries, 1U);
    EXPECT_EQ(lastRun(), RecordedRunState::Damaged);
}

} // namespace
} // namespace brindleaf
