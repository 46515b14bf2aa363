#include "engine/Execution.hpp"
#include "support/FaultyFileSystem.hpp"
#include "support/ScriptedJournalCalls.hpp"
#include "support/ScriptedMoveCalls.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

namespace brindleaf {
namespace {

using testing::FaultyFileSystem;
using testing::TemporaryFolder;
using NameSet = std::set<std::string>;

class Execution : public ::testing::Test {
protected:
    TemporaryFolder folder;
    TemporaryFolder state;
    FaultyFileSystem fileSystem;
    std::vector<Error> failures;
    Settings settings;
    Journals journals{JournalFolder(state.pathOf("journals"))};

    void SetUp() override { settings.targetDir = folder.path(); }

    void addFiles(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            folder.addFile(name);
        }
    }

    RunOutcome run() {
        RunReport report = renameFiles(settings, fileSystem, journals);
        failures = std::move(report.failures);
        return report.outcome;
    }

    // Every file still bears, and holds, its own original name.
    void expectUntouched(const NameSet& originals) {
        EXPECT_EQ(folder.names(), originals);
        for (const std::string& name : originals) {
            EXPECT_EQ(folder.contentOf(name), name);
        }
    }
};

// A run that changes no name is no run: nothing to journal, so nothing for undo to take.
TEST_F(Execution, AnEmptyOrAlreadyNumberedFolderNeedsNoMoveAndNoJournal) {
    EXPECT_EQ(run(), RunOutcome::NothingToRename);
    addFiles({"0001", "0002", "0003"});
    EXPECT_EQ(run(), RunOutcome::AlreadyNamed);
    expectUntouched({"0001", "0002", "0003"});
    EXPECT_EQ(fileSystem.moves, 0U);
    EXPECT_TRUE(failures.empty());
    EXPECT_TRUE(journals.folder().names()->empty());

    folder.addFile("x");
    const RunReport report = renameFiles(settings, fileSystem, journals);
    EXPECT_EQ(report.outcome, RunOutcome::Renamed);
    EXPECT_EQ(report.moved, 1U);
    EXPECT_EQ(report.alreadyNamed, 3U);
    EXPECT_EQ(journals.folder().read(journals.folder().names()->front())->find("1:0001"),
              std::string::npos);
}

TEST_F(Execution, RenamesEveryKindOfEntryAndKeepsTheFinderFile) {
    addFiles({"photo.jpg", ".DS_Store"});
    folder.addFolder("sub");
    folder.addFile("sub/inner");
    folder.addSymlink("link", "does-not-exist");
    folder.addFile("caf\xE9 latin1");
    settings.postfix = ".x";
    EXPECT_EQ(run(), RunOutcome::Renamed);
    // Natural order: "cafe..." > "link" > "photo.jpg" > "sub" by bytes: 'c' < 'l' < 'p' < 's'.
    EXPECT_EQ(folder.names(), (NameSet{".DS_Store", "0001.x", "0002.x", "0003.x", "0004.x"}));
    EXPECT_EQ(folder.contentOf("0001.x"), "caf\xE9 latin1");
    EXPECT_EQ(folder.contentOf("0003.x"), "photo.jpg");
    EXPECT_EQ(folder.contentOf("0004.x/inner"), "sub/inner");
}

TEST_F(Execution, RefusesUnusableNamesBeforeMovingAnything) {
    addFiles({"a", "b"});
    struct Refusal {
        std::string prefix;
        std::string digits;
        NameProblem problem;
    };
    for (const Refusal& refusal : {Refusal{"../", "4", NameProblem::ContainsSlash},
                                   Refusal{std::string(250, 'n'), "4", NameProblem::TooLong},
                                   Refusal{"", "99999999999", NameProblem::TooLong}}) {
        settings.prefix = refusal.prefix;
        settings.digits = refusal.digits;
        failures.clear();
        EXPECT_EQ(run(), RunOutcome::Failed);
        EXPECT_EQ(fileSystem.moves, 0U);
        ASSERT_EQ(failures.size(), 1U);
        const Error& error = failures[0];
        EXPECT_EQ(error.kind, ErrorKind::UnusableName);
        EXPECT_EQ(error.name, "a");
        EXPECT_EQ(error.problem, refusal.problem);
        expectUntouched({"a", "b"});
    }
}

TEST_F(Execution, AnEntryNamedLikeATemporaryNameIsRenamedLikeAnyOther) {
    addFiles({"a", "0001___temp"});
    EXPECT_EQ(run(), RunOutcome::Renamed);
    EXPECT_EQ(folder.contentOf("0001"), "0001___temp");
    EXPECT_EQ(folder.contentOf("0002"), "a");
}

// Reversed, taken up in inode order, here name order: "0001" moves on to "0004" (move 1),
// "0002" and "0003" trade places through a temporary name (moves 2 to 4), and "a" takes
// "0001" (move 5). Whichever move fails, the moves already made are taken back so every file
// has its own name again.
class FailingMove : public Execution, public ::testing::WithParamInterface<std::size_t> {
protected:
    void SetUp() override {
        Execution::SetUp();
        addFiles({"0001", "0002", "0003", "a"});
        settings.isReverse = true;
        fileSystem.inodesRiseWithNames = true;
    }
};

TEST_P(FailingMove, RestoresEveryOriginalName) {
    fileSystem.failingMoves = {GetParam()};
    EXPECT_EQ(run(), RunOutcome::Failed);
    ASSERT_EQ(failures.size(), 1U);
    EXPECT_EQ(failures[0].code, std::errc::io_error);
    EXPECT_EQ(failures[0].kind, ErrorKind::CannotRename);
    EXPECT_TRUE(failures[0].notRestored.empty());
    expectUntouched({"0001", "0002", "0003", "a"});
}

INSTANTIATE_TEST_SUITE_P(EveryMove, FailingMove, ::testing::Values(1, 2, 3, 4, 5));

TEST_F(FailingMove, NamesEveryEntryThatCouldNotBeRestored) {
    // Move 4, "0003___temp" to "0003", fails; taking back "0003" to "0002" (move 5) fails
    // too, which leaves "0002" no way back from its temporary name.
    fileSystem.failingMoves = {4, 5};
    EXPECT_EQ(run(), RunOutcome::Failed);
    ASSERT_EQ(failures.size(), 1U);
    EXPECT_EQ(failures[0].name, "0002");
    EXPECT_EQ(failures[0].newName, "0003");
    EXPECT_EQ(failures[0].notRestored, (std::vector<std::string>{"0003", "0002"}));
    EXPECT_EQ(folder.names(), (NameSet{"0001", "0002", "0003___temp", "a"}));
    EXPECT_EQ(folder.contentOf("0002"), "0003");
    EXPECT_EQ(folder.contentOf("0003___temp"), "0002");
    EXPECT_EQ(folder.contentOf("a"), "a");
    // Only the journal leads back to the temporary name: the run stays recorded as one
    // that did not finish, and no new run numbers what it left.
    const auto opened = fileSystem.openFolder(folder.path());
    EXPECT_EQ(journals.lastRunOf(folder.path(), *fileSystem.identify(*opened)).state,
              RecordedRunState::Interrupted);
    EXPECT_EQ(run(), RunOutcome::LastRunInterrupted);
}

// Every entry moved, and the journal cannot be marked finished: the failure says how many
// entries bear their new names, and the run stays undoable.
TEST_F(Execution, JournalThatCannotBeMarkedFinishedSaysHowManyWereRenamed) {
    addFiles({"a", "b", "c"});
    const auto calls = std::make_shared<testing::ScriptedJournalCalls>();
    calls->failing = testing::ScriptedJournalCalls::Call::WriteAt; // only marking writes in place
    Journals scripted{JournalFolder(state.pathOf("journals"), calls)};
    const RunReport report = renameFiles(settings, fileSystem, scripted);
    EXPECT_EQ(report.outcome, RunOutcome::Renamed);
    ASSERT_EQ(report.failures.size(), 1U);
    EXPECT_EQ(report.failures[0].kind, ErrorKind::CannotMarkJournal);
    EXPECT_EQ(report.failures[0].renamed, 3U);
    EXPECT_EQ(folder.names(), (NameSet{"0001", "0002", "0003"}));
}

class CancelAfter final : public RunObserver {
public:
    explicit CancelAfter(std::size_t entries) : entries_(entries) {}
    bool proceed(std::size_t done, std::size_t total) override {
        lastTotal = total;
        return done < entries_;
    }
    std::size_t lastTotal = 0;

private:
    std::size_t entries_;
};

TEST_F(FailingMove, CancelAnywhereRestoresEverythingSilently) {
    // Progress counts entries: "0001", then "0002" and "0003" together, then "a".
    for (const std::size_t entriesBeforeCancel : {0, 1, 2}) {
        CancelAfter observer(entriesBeforeCancel);
        EXPECT_EQ(renameFiles(settings, fileSystem, journals, observer).outcome,
                  RunOutcome::Cancelled);
        EXPECT_EQ(observer.lastTotal, 4U);
        expectUntouched({"0001", "0002", "0003", "a"});
    }
    EXPECT_TRUE(failures.empty());
}

// The fixture's file system, except that the folder never reaches the disk.
class FolderThatCannotBeFlushed final : public testing::ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    std::error_code flush(const UniqueFd&) override {
        return std::make_error_code(std::errc::io_error);
    }
};

// A folder that cannot be flushed after the moves: the failure says how many entries bear
// new names that a power cut may take from them, which is none when the run gave every name
// back, and the journal stays to lead undo to them.
TEST_F(Execution, FolderThatCannotBeFlushedSaysHowManyEntriesMayLoseTheirNewNames) {
    struct Case {
        const char* what;
        std::set<std::size_t> failingMoves;
        std::size_t entriesBeforeCancel;
        std::vector<ErrorKind> failures;
        std::size_t renamed;
        NameSet names;
    };
    // "0001" has its new name already: two entries move.
    const std::size_t never = 100;
    for (const Case& row : {
             Case{"every move made",
                  {},
                  never,
                  {ErrorKind::CannotFlush},
                  2,
                  NameSet{"0001", "0002", "0003"}},
             Case{"a move failed, every name given back",
                  {2},
                  never,
                  {ErrorKind::CannotRename, ErrorKind::CannotFlush},
                  0,
                  NameSet{"0001", "b", "c"}},
             Case{"stopped, every name given back",
                  {},
                  1,
                  {ErrorKind::CannotFlush},
                  0,
                  NameSet{"0001", "b", "c"}},
         }) {
        SCOPED_TRACE(row.what);
        TemporaryFolder entries;
        for (const char* name : {"0001", "b", "c"}) {
            entries.addFile(name);
        }
        TemporaryFolder journalState;
        Journals ownJournals{JournalFolder(journalState.pathOf("journals"))};
        FaultyFileSystem faulty(std::chrono::microseconds(0), row.failingMoves);
        FolderThatCannotBeFlushed unflushable(&faulty);
        CancelAfter observer(row.entriesBeforeCancel);
        Settings chosen = settings;
        chosen.targetDir = entries.path();
        const RunReport report = renameFiles(chosen, unflushable, ownJournals, observer);

        EXPECT_EQ(report.outcome, RunOutcome::Failed);
        std::vector<ErrorKind> kinds;
        for (const Error& error : report.failures) {
            kinds.push_back(error.kind);
        }
        EXPECT_EQ(kinds, row.failures);
        ASSERT_FALSE(report.failures.empty());
        EXPECT_EQ(report.failures.back().renamed, row.renamed);
        EXPECT_EQ(report.failures.back().code, std::errc::io_error);
        EXPECT_EQ(entries.names(), row.names);
        const auto opened = faulty.openFolder(entries.path());
        EXPECT_EQ(ownJournals.lastRunOf(entries.path(), *faulty.identify(*opened)).state,
                  RecordedRunState::Interrupted);
    }
}

} // namespace
} // namespace brindleaf

namespace brindleaf {
namespace {

// FAT and exFAT through FUSE refuse the no-replace flag, so every move goes through a
// placeholder; fusefat also refuses to move a folder onto a placeholder folder, and stamps
// what it renames with the time of the move.
TEST(ExecutionWithoutTheFlag, RenamesThroughPlaceholdersKeepingDatesOrSaysWhatWasRefused) {
    struct Case {
        int folderRefusal;
        int removalRefusal;
        bool albumHoldsAFile;
        RunOutcome outcome;
        std::vector<std::string> placeholdersLeft;
    };
    // fusefat's plain rename of a folder orphans what it holds: only an empty one moves so.
    const std::vector<Case> cases{
        {0, 0, true, RunOutcome::Renamed, {}},
        {EPERM, 0, false, RunOutcome::Renamed, {}},
        {EPERM, 0, true, RunOutcome::Failed, {}},
        {EPERM, EBUSY, true, RunOutcome::Failed, {"0001"}},
        {EIO, 0, true, RunOutcome::Failed, {}},
    };
    const timespec photoTaken[2] = {{1'600'000'000, 0}, {1'500'000'000, 0}};
    for (const Case& test : cases) {
        testing::TemporaryFolder folder;
        testing::TemporaryFolder state;
        folder.addFolder("album");
        if (test.albumHoldsAFile) {
            folder.addFile("album/inside");
        }
        folder.addFile("b.jpg");
        ASSERT_EQ(::utimensat(AT_FDCWD, folder.pathOf("b.jpg").c_str(), photoTaken, 0), 0);
        auto calls = std::make_unique<testing::ScriptedMoveCalls>();
        calls->refuseFlag = true;
        calls->stampMoveTime = true;
        calls->refuseRenameOntoFolder = test.folderRefusal;
        calls->refuseRemove = test.removalRefusal;
        PosixFileSystem fileSystem(std::move(calls));
        Journals journals(JournalFolder(state.pathOf("journals")));
        std::vector<Error> failures;
        Settings settings;
        settings.targetDir = folder.path();

        const RunReport report = renameFiles(settings, fileSystem, journals);
        failures = report.failures;
        EXPECT_EQ(report.outcome, test.outcome);
        if (test.outcome == RunOutcome::Renamed) {
            EXPECT_EQ(folder.names(), (std::set<std::string>{"0001", "0002"}));
            EXPECT_EQ(std::filesystem::exists(folder.pathOf("0001/inside")), test.albumHoldsAFile);
            EXPECT_TRUE(failures.empty());
            struct stat moved {};
            ASSERT_EQ(::stat(folder.pathOf("0002").c_str(), &moved), 0);
            EXPECT_EQ(moved.st_mtim.tv_sec, photoTaken[1].tv_sec);
            EXPECT_EQ(moved.st_atim.tv_sec, photoTaken[0].tv_sec);
            continue;
        }
        ASSERT_EQ(failures.size(), 1U);
        const Error& error = failures[0];
        EXPECT_EQ(error.step, MoveStep::RenameOntoClaim);
        EXPECT_EQ(error.name, "album");
        EXPECT_EQ(error.newName, "0001");
        EXPECT_TRUE(error.notRestored.empty());
        EXPECT_EQ(error.placeholdersLeft, test.placeholdersLeft);
        EXPECT_EQ(folder.contentOf("album/inside"), "album/inside");
        EXPECT_EQ(folder.contentOf("b.jpg"), "b.jpg");
    }
}

} // namespace
} // namespace brindleaf
