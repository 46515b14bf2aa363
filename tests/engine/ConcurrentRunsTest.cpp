#include "engine/Execution.hpp"
#include "engine/Undo.hpp"
#include "support/ForwardingFileSystem.hpp"
#include "support/KilledRun.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string_view>

namespace brindleaf {
namespace {

using testing::TemporaryFolder;
using NameSet = std::set<std::string>;

// The real journal calls, except that the first time one locks a file whose name ends in
// `ending` with `operation`, `meanwhile` runs first (or just after, for LOCK_UN): another
// run or undo let in at that very point of this one.
class InterleavingJournalCalls final : public JournalCalls {
public:
    InterleavingJournalCalls(std::string journalFolder, std::string ending, int operation,
                             std::function<void()> meanwhile)
        : journalFolder_(std::move(journalFolder)), ending_(std::move(ending)),
          operation_(operation), meanwhile_(std::move(meanwhile)) {}

    int lock(int fd, int operation) override {
        const bool now = meanwhile_ && operation == operation_ && nameOf(fd).ends_with(ending_);
        if (now && operation != LOCK_UN) {
            std::exchange(meanwhile_, nullptr)();
        }
        const int result = JournalCalls::lock(fd, operation);
        if (now && operation == LOCK_UN) {
            std::exchange(meanwhile_, nullptr)();
        }
        return result;
    }
    [[nodiscard]] bool interleaved() const { return !meanwhile_; }

private:
    // The name the open file `fd` has in the journal folder.
    std::string nameOf(int fd) const {
        struct stat status {};
        ::fstat(fd, &status);
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(journalFolder_, ignored)) {
            struct stat named {};
            if (::lstat(entry.path().c_str(), &named) == 0 && named.st_ino == status.st_ino) {
                return entry.path().filename().string();
            }
        }
        return {};
    }

    std::string journalFolder_;
    std::string ending_;
    int operation_;
    std::function<void()> meanwhile_;
};

// The real file system, except that the first listing after `arm()` runs `meanwhile` first.
class InterleavingFileSystem final : public testing::ForwardingFileSystem {
public:
    void arm(std::function<void()> meanwhile) { meanwhile_ = std::move(meanwhile); }
    std::expected<FolderEntries, std::error_code> readEntries(const UniqueFd& folder) override {
        if (meanwhile_) {
            std::exchange(meanwhile_, nullptr)();
        }
        return ForwardingFileSystem::readEntries(folder);
    }

private:
    std::function<void()> meanwhile_;
};

class ConcurrentRuns : public ::testing::Test {
protected:
    TemporaryFolder folder;
    TemporaryFolder state;
    const std::string journalFolder = state.pathOf("journals");
    PosixFileSystem fileSystem;
    Journals journals{JournalFolder(journalFolder)};
    ProceedAlways proceed;
    const NameSet originals{"a", "b", "c"};

    void SetUp() override {
        for (const std::string& name : originals) {
            folder.addFile(name);
        }
    }

    Settings withPrefix(const std::string& prefix) const {
        Settings settings;
        settings.targetDir = folder.path();
        settings.prefix = prefix;
        return settings;
    }

    // Another process's run, with journals of its own over the same journal folder.
    RunReport otherRun(const std::string& prefix) { return runOf(folder, prefix); }
    // ... of `target`.
    RunReport runOf(const TemporaryFolder& target, const std::string& prefix) {
        Settings settings = withPrefix(prefix);
        settings.targetDir = target.path();
        Journals own{JournalFolder(journalFolder)};
        PosixFileSystem real;
        return renameFiles(settings, real, own, proceed);
    }

    std::vector<PastRun> history() {
        const auto opened = fileSystem.openFolder(folder.path());
        return *journals.historyOf(folder.path(), *fileSystem.identify(*opened));
    }

    // Files hidden in the journal folder that are not journals being written.
    NameSet lockFiles() const {
        NameSet found;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(journalFolder, ignored)) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".lock")) {
                found.insert(name);
            }
        }
        return found;
    }

    // Every file is still there, under one name, holding what it held.
    void expectEveryFileOnce(const NameSet& names) {
        EXPECT_EQ(folder.names(), names);
        NameSet contents;
        for (const std::string& name : folder.names()) {
            contents.insert(folder.contentOf(name));
        }
        EXPECT_EQ(contents, originals);
    }
};

// The second run starts while the first has found the folder free but its journal is not
// yet in place: it must not find the folder free too, whichever path it was given.
TEST_F(ConcurrentRuns, RunStartedWhileAnotherIsRecordingItsJournalIsRefused) {
    std::filesystem::create_directory_symlink(folder.path(), state.pathOf("link"));
    for (const std::string& secondPath : {folder.path(), state.pathOf("link")}) {
        SCOPED_TRACE(secondPath);
        std::optional<RunReport> second;
        const auto calls =
            std::make_shared<InterleavingJournalCalls>(journalFolder, ".partial", LOCK_EX, [&] {
                Settings settings = withPrefix("x_");
                settings.targetDir = secondPath;
                Journals own{JournalFolder(journalFolder)};
                PosixFileSystem real;
                second = renameFiles(settings, real, own, proceed);
            });
        Journals interleaved{JournalFolder(journalFolder, calls)};
        const RunReport first = renameFiles(withPrefix("y_"), fileSystem, interleaved, proceed);

        ASSERT_TRUE(calls->interleaved());
        ASSERT_TRUE(second);
        EXPECT_EQ(second->outcome, RunOutcome::AnotherRunGoing);
        EXPECT_EQ(first.outcome, RunOutcome::Renamed);
        expectEveryFileOnce({"y_0001", "y_0002", "y_0003"});
        ASSERT_FALSE(history().empty());
        EXPECT_EQ(history()[0].run.state, RecordedRunState::Finished);
        EXPECT_TRUE(lockFiles().empty());
        ASSERT_EQ(undoLastRun(fileSystem, folder.path(), journals, proceed).outcome,
                  UndoOutcome::Restored);
    }
    EXPECT_EQ(history().size(), 2U);
}

// The lock is the folder's own: a run of another folder, even one listed beside it, goes
// ahead while this one records its journal.
TEST_F(ConcurrentRuns, RunOfAnotherFolderGoesAheadMeanwhile) {
    TemporaryFolder other;
    other.addFile("z");
    std::optional<RunReport> elsewhere;
    const auto calls = std::make_shared<InterleavingJournalCalls>(
        journalFolder, ".partial", LOCK_EX, [&] { elsewhere = runOf(other, "o_"); });
    Journals interleaved{JournalFolder(journalFolder, calls)};
    EXPECT_EQ(renameFiles(withPrefix(""), fileSystem, interleaved, proceed).outcome,
              RunOutcome::Renamed);
    ASSERT_TRUE(elsewhere);
    EXPECT_EQ(elsewhere->outcome, RunOutcome::Renamed);
    EXPECT_EQ(other.names(), NameSet{"o_0001"});
    expectEveryFileOnce({"0001", "0002", "0003"});
}

// An undo that gives back some entries writes a new journal of the others; a run of another
// folder meanwhile takes it for abandoned before it is locked, and the undo writes it again.
TEST_F(ConcurrentRuns, UndoRecordsWhatIsLeftWhileAnotherFolderIsRenamed) {
    ASSERT_EQ(otherRun("").outcome, RunOutcome::Renamed);
    std::filesystem::remove(folder.pathOf("0002"));
    folder.addFile("0002"); // another file under the run's name: undo leaves it alone
    TemporaryFolder other;
    other.addFile("z");
    std::optional<RunReport> elsewhere;
    const auto calls = std::make_shared<InterleavingJournalCalls>(
        journalFolder, ".partial", LOCK_EX, [&] { elsewhere = runOf(other, "o_"); });
    Journals interleaved{JournalFolder(journalFolder, calls)};
    const UndoReport undone = undoLastRun(fileSystem, folder.path(), interleaved, proceed);

    ASSERT_TRUE(elsewhere);
    EXPECT_EQ(elsewhere->outcome, RunOutcome::Renamed);
    EXPECT_EQ(undone.outcome, UndoOutcome::PartlyRestored);
    EXPECT_FALSE(undone.notRecorded);
    EXPECT_EQ(folder.names(), (NameSet{"a", "0002", "c"}));
    ASSERT_EQ(history().size(), 1U);
    EXPECT_EQ(history()[0].run.entryCount, 1U);
}

// A run killed while it renames leaves its journal, which leads undo back, and no lock's
// file: the lock was let go once the journal was in place.
TEST_F(ConcurrentRuns, RunKilledWhileRenamingLeavesNoLockBehind) {
    ASSERT_TRUE(testing::renameKilledAtMove(withPrefix("k_"), JournalFolder(journalFolder), 2));
    EXPECT_TRUE(lockFiles().empty());
    ASSERT_EQ(history().size(), 1U);
    EXPECT_EQ(history()[0].run.state, RecordedRunState::Interrupted);
    EXPECT_EQ(undoLastRun(fileSystem, folder.path(), journals, proceed).outcome,
              UndoOutcome::Restored);
    expectEveryFileOnce(originals);
}

// A run starts while an undo has chosen the run to take back but has not locked its
// journal yet, or has locked it but not yet marked it: either way the run must wait its turn,
// or it would rename what the undo is about to move back.
TEST_F(ConcurrentRuns, RunStartedWhileAnUndoGetsReadyIsRefused) {
    ASSERT_EQ(otherRun("").outcome, RunOutcome::Renamed);
    std::optional<RunReport> during;
    const auto calls = std::make_shared<InterleavingJournalCalls>(
        journalFolder, ".journal", LOCK_EX | LOCK_NB, [&] { during = otherRun("x_"); });
    Journals interleaved{JournalFolder(journalFolder, calls)};
    const UndoReport undone = undoLastRun(fileSystem, folder.path(), interleaved, proceed);

    ASSERT_TRUE(calls->interleaved());
    ASSERT_TRUE(during);
    EXPECT_EQ(during->outcome, RunOutcome::AnotherRunGoing);
    EXPECT_EQ(undone.outcome, UndoOutcome::Restored);
    expectEveryFileOnce(originals);

    ASSERT_EQ(otherRun("").outcome, RunOutcome::Renamed);
    during.reset();
    InterleavingFileSystem listing;
    listing.arm([&] { during = otherRun("x_"); });
    EXPECT_EQ(undoLastRun(listing, folder.path(), journals, proceed).outcome,
              UndoOutcome::Restored);
    ASSERT_TRUE(during);
    EXPECT_EQ(during->outcome, RunOutcome::AnotherRunGoing);
    expectEveryFileOnce(originals);
    for (const PastRun& past : history()) {
        EXPECT_EQ(past.run.state, RecordedRunState::Undone);
    }
    EXPECT_TRUE(lockFiles().empty());
}

// A run that starts and ends between an undo's first look and its lock is the one the undo
// takes back: it looks again once it holds the lock.
TEST_F(ConcurrentRuns, UndoTakesBackTheRunThatEndedWhileItWaitedForTheLock) {
    ASSERT_EQ(otherRun("p_").outcome, RunOutcome::Renamed);
    std::optional<RunReport> between;
    const auto calls = std::make_shared<InterleavingJournalCalls>(
        journalFolder, ".lock", LOCK_EX | LOCK_NB, [&] { between = otherRun("q_"); });
    Journals interleaved{JournalFolder(journalFolder, calls)};
    const UndoReport undone = undoLastRun(fileSystem, folder.path(), interleaved, proceed);

    ASSERT_TRUE(between);
    EXPECT_EQ(between->outcome, RunOutcome::Renamed);
    EXPECT_EQ(undone.outcome, UndoOutcome::Restored);
    expectEveryFileOnce({"p_0001", "p_0002", "p_0003"});
    ASSERT_EQ(history().size(), 2U);
    EXPECT_EQ(history()[0].run.state, RecordedRunState::Undone);
    EXPECT_EQ(history()[1].run.state, RecordedRunState::Finished);
}

// An undo asked for while a run records its journal is told that another program is
// renaming, and touches nothing: the run it would take back is the one before.
TEST_F(ConcurrentRuns, UndoStartedWhileARunIsRecordingItsJournalIsRefused) {
    ASSERT_EQ(otherRun("").outcome, RunOutcome::Renamed);
    std::optional<UndoReport> undone;
    const auto calls =
        std::make_shared<InterleavingJournalCalls>(journalFolder, ".partial", LOCK_EX, [&] {
            Journals own{JournalFolder(journalFolder)};
            PosixFileSystem real;
            undone = undoLastRun(real, folder.path(), own, proceed);
        });
    Journals interleaved{JournalFolder(journalFolder, calls)};
    EXPECT_EQ(renameFiles(withPrefix("y_"), fileSystem, interleaved, proceed).outcome,
              RunOutcome::Renamed);
    ASSERT_TRUE(undone);
    EXPECT_EQ(undone->outcome, UndoOutcome::InProgress);
    expectEveryFileOnce({"y_0001", "y_0002", "y_0003"});
    ASSERT_EQ(history().size(), 2U);
    EXPECT_EQ(history()[1].run.state, RecordedRunState::Finished);
}

// A folder's lock is one holder's at a time, even when the holder before lets go between
// another's opening of its file and locking it; its file goes when it is let go, and one a
// killed holder left is cleared by the next run, while another folder's held lock stays.
TEST_F(ConcurrentRuns, FolderLockHasOneHolderAndLeavesNoFileBehind) {
    JournalFolder plain(journalFolder);
    std::optional<std::expected<FolderLock, std::error_code>> before;
    const auto calls = std::make_shared<InterleavingJournalCalls>(
        journalFolder, ".k1.lock", LOCK_EX | LOCK_NB, [&] {
            before = plain.lockFolder("k1");
            ASSERT_TRUE(*before);
            (*before)->release();
        });
    JournalFolder racing(journalFolder, calls);
    auto held = racing.lockFolder("k1");
    ASSERT_TRUE(calls->interleaved());
    ASSERT_TRUE(held);
    const auto third = plain.lockFolder("k1");
    ASSERT_FALSE(third);
    EXPECT_EQ(third.error(), std::errc::operation_would_block);
    EXPECT_EQ(lockFiles(), NameSet{".k1.lock"});
    held->release();
    EXPECT_TRUE(lockFiles().empty());

    // One that takes the lock the moment it is let go takes a file of its own.
    std::optional<std::expected<FolderLock, std::error_code>> next;
    const auto lettingGo = std::make_shared<InterleavingJournalCalls>(
        journalFolder, "", LOCK_UN, [&] { next = plain.lockFolder("k1"); });
    auto first = JournalFolder(journalFolder, lettingGo).lockFolder("k1");
    ASSERT_TRUE(first);
    first->release();
    ASSERT_TRUE(lettingGo->interleaved());
    ASSERT_TRUE(next && *next);
    const auto whileNextHolds = plain.lockFolder("k1");
    ASSERT_FALSE(whileNextHolds);
    EXPECT_EQ(whileNextHolds.error(), std::errc::operation_would_block);
    (*next)->release();

    auto otherFolder = plain.lockFolder("k2");
    ASSERT_TRUE(otherFolder);
    // What a holder killed between its check and its journal leaves: its lock went with it,
    // its file did not. Another folder's run leaves it be, and its own folder's next
    // holder takes it over and removes it.
    std::ofstream(journalFolder + "/.k4.lock").put('\n');
    EXPECT_EQ(lockFiles(), (NameSet{".k2.lock", ".k4.lock"}));
    EXPECT_TRUE(plain.names()->empty());
    ASSERT_EQ(otherRun("").outcome, RunOutcome::Renamed);
    EXPECT_EQ(lockFiles(), (NameSet{".k2.lock", ".k4.lock"}));
    EXPECT_EQ(plain.names()->size(), 1U);
    ASSERT_EQ(history().size(), 1U);
    otherFolder->release();
    auto takenOver = plain.lockFolder("k4");
    ASSERT_TRUE(takenOver);
    takenOver->release();
    EXPECT_TRUE(lockFiles().empty());
}

// Clearing what other runs left never takes a folder's lock, not even for a moment: that
// folder's own run, wanting it in that moment, would take it for another run's.
TEST_F(ConcurrentRuns, ClearingNeverTakesAFoldersLock) {
    JournalFolder plain(journalFolder);
    plain.lockFolder("k0").value().release(); // makes the journal folder
    std::ofstream(journalFolder + "/.k8.lock").put('\n');
    const auto calls = std::make_shared<InterleavingJournalCalls>(journalFolder, ".k8.lock",
                                                                  LOCK_EX | LOCK_NB, [] {});
    JournalFolder(journalFolder, calls).removeAbandoned();
    EXPECT_FALSE(calls->interleaved());
    EXPECT_EQ(lockFiles(), NameSet{".k8.lock"});
}

// A journal being written that its writer locks while another run clears the abandoned
// ones is never removed from under it: the clearing holds the lock while it removes.
TEST_F(ConcurrentRuns, JournalBeingWrittenIsNeverRemovedOnceItsWriterHoldsIt) {
    JournalFolder plain(journalFolder);
    plain.lockFolder("k0").value().release(); // makes the journal folder
    const std::string partial = journalFolder + "/.1-1.journal.partial";
    const UniqueFd writing(::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    ASSERT_TRUE(writing.valid());
    bool writerHolds = false;
    // The writer tries for its lock right after each lock call the clearing makes on it.
    class WriterBetween final : public JournalCalls {
    public:
        explicit WriterBetween(std::function<void()> writer) : writer_(std::move(writer)) {}
        int lock(int fd, int operation) override {
            const int result = JournalCalls::lock(fd, operation);
            writer_();
            return result;
        }

    private:
        std::function<void()> writer_;
    };
    const auto calls = std::make_shared<WriterBetween>(
        [&] { writerHolds = writerHolds || ::flock(writing.get(), LOCK_EX | LOCK_NB) == 0; });
    JournalFolder(journalFolder, calls).removeAbandoned();
    if (writerHolds) {
        EXPECT_TRUE(std::filesystem::exists(partial));
    } else {
        EXPECT_FALSE(std::filesystem::exists(partial));
    }
}
} // namespace
} // namespace brindleaf
