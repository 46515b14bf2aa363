#include "engine/Execution.hpp"
#include "engine/Undo.hpp"
#include "support/DoubleFileSystem.hpp"
#include "support/KilledRun.hpp"
#include "support/ScriptedJournalCalls.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace brindleaf {
namespace {

using testing::DoubleFileSystem;
using testing::ScriptedJournalCalls;
using testing::TemporaryFolder;
using Call = ScriptedJournalCalls::Call;
using NameSet = std::set<std::string>;

class JournalsTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    TemporaryFolder state;
    DoubleFileSystem fileSystem;
    std::vector<Error> failures;
    ProceedAlways proceed;
    std::shared_ptr<ScriptedJournalCalls> calls = std::make_shared<ScriptedJournalCalls>();
    Journals journals{JournalFolder(state.pathOf("journals"), calls)};
    Settings settings;
    const NameSet originals{"a", "b", "c"};

    void SetUp() override {
        settings.targetDir = folder.path();
        for (const std::string& name : originals) {
            folder.addFile(name);
        }
    }

    RunReport run() {
        RunReport report = renameFiles(settings, fileSystem, journals, proceed);
        failures = report.failures;
        return report;
    }
    UndoReport undo() { return undoLastRun(fileSystem, folder.path(), journals, proceed); }
    LastRunState lastRun(const Journals& from) {
        const auto opened = fileSystem.openFolder(folder.path());
        return from.lastRunOf(folder.path(), *fileSystem.identify(*opened)).state;
    }
    LastRunState lastRun() { return lastRun(journals); }
    // Every file in the journal folder, hidden ones included.
    NameSet journalFiles() const {
        NameSet names;
        for (const auto& entry : std::filesystem::directory_iterator(journals.folder().path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    std::string newestJournal() const {
        return journals.folder().path() + "/" + journals.folder().names()->front();
    }
};

// A power cut right after the first move must find the journal, under its final name.
TEST_F(JournalsTest, JournalAndItsFolderReachTheDiskBeforeTheFirstMove) {
    calls->log = &fileSystem.calls;
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    const auto firstMove = std::ranges::find(fileSystem.calls, "move");
    const std::vector<std::string> beforeMoves(fileSystem.calls.begin(), firstMove);
    EXPECT_EQ(beforeMoves,
              (std::vector<std::string>{"flush journal", "name journal", "flush journal folder"}));
}

// A journal that cannot be written moves nothing and leaves nothing behind to fill the
// disk for the next run.
TEST_F(JournalsTest, JournalThatCannotBeWrittenMovesNothingAndLeavesNothing) {
    for (const Call failing : {Call::Write, Call::Flush, Call::Rename}) {
        calls->failing = failing;
        calls->error = ENOSPC;
        EXPECT_EQ(run().outcome, RunOutcome::Failed);
        ASSERT_EQ(failures.size(), 1U);
        EXPECT_EQ(failures[0].kind, ErrorKind::CannotWriteJournal);
        EXPECT_EQ(failures[0].code, std::errc::no_space_on_device);
        EXPECT_EQ(folder.names(), originals);
        EXPECT_TRUE(journalFiles().empty());
        failures.clear();
    }
    // Nor does one cut short by a crash, once its process is gone.
    std::ofstream(journals.folder().path() + "/.1-1.journal.partial") << "brindleaf";
    calls->failing = Call::None;
    EXPECT_EQ(run().outcome, RunOutcome::Renamed);
    EXPECT_EQ(journalFiles().size(), 1U);
}

// A run whose journal cannot be marked finished stays undoable, as an interrupted one.
TEST_F(JournalsTest, RunThatCannotBeMarkedFinishedStaysUndoable) {
    calls->failing = Call::WriteAt;
    EXPECT_EQ(run().outcome, RunOutcome::Renamed);
    ASSERT_EQ(failures.size(), 1U);
    EXPECT_EQ(failures[0].kind, ErrorKind::CannotMarkJournal);
    EXPECT_EQ(lastRun(), LastRunState::Interrupted);
    calls->failing = Call::None;
    EXPECT_EQ(undo().outcome, UndoOutcome::Restored);
    EXPECT_EQ(folder.names(), originals);
}

TEST_F(JournalsTest, RunHeldByAnotherProcessIsNeitherRepeatedNorUndone) {
    ASSERT_TRUE(testing::renameKilledAtMove(settings, journals.folder(), 2));
    const auto held = journals.folder().open(journals.folder().names()->front());
    ASSERT_TRUE(held);
    const NameSet halfway = folder.names();
    EXPECT_EQ(run().outcome, RunOutcome::AnotherRunGoing);
    EXPECT_EQ(undo().outcome, UndoOutcome::InProgress);
    EXPECT_EQ(folder.names(), halfway);
}

// A damaged journal keeps its folder from being renamed. One damaged byte in the state,
// rewritten in place and so outside the entries' checksum, must not make the run invisible
// either, nor let an older run be undone in its place.
TEST_F(JournalsTest, DamagedJournalKeepsTheFolderRefusedAndMovesNothing) {
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    settings.prefix = "x";
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    const NameSet renamed = folder.names();
    std::string bytes;
    {
        std::ifstream in(newestJournal(), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::string stateDamaged = bytes;
    stateDamaged[40] = 'X'; // the padding: a state word stays readable
    const std::vector<std::pair<std::string, std::optional<JournalProblem>>> damages{
        {stateDamaged, std::nullopt},
        {bytes.substr(0, bytes.size() - 30), JournalProblem::Truncated},
        {std::string(bytes).replace(bytes.find("x0003"), 5, "x0009"), JournalProblem::Corrupt},
    };
    for (const auto& [damaged, problem] : damages) {
        std::ofstream(newestJournal(), std::ios::binary | std::ios::trunc) << damaged;
        if (!problem) {
            EXPECT_EQ(lastRun(), LastRunState::Damaged);
            EXPECT_EQ(run().outcome, RunOutcome::LastRunDamaged);
        }
        // Undo takes what such a journal can still tell; what it does is tested with undo.
        EXPECT_EQ(folder.names(), renamed);
    }
}

TEST_F(JournalsTest, FolderIsKnownWhenItsDiskComesBackAsAnotherDevice) {
    for (const std::optional<std::uint64_t> volume : {std::optional<std::uint64_t>(7), {0}}) {
        TemporaryFolder other;
        for (const char* name : {"0002", "0001", "x"}) {
            other.addFile(name);
        }
        Settings reversed;
        reversed.targetDir = other.path();
        reversed.isReverse = true;
        fileSystem.deviceShift = 0;
        fileSystem.volume = volume;
        ASSERT_TRUE(testing::renameKilledAtMove(reversed, journals.folder(), 2, &fileSystem));
        fileSystem.deviceShift = 1000;
        const auto opened = fileSystem.openFolder(other.path());
        EXPECT_EQ(journals.lastRunOf(other.path(), *fileSystem.identify(*opened)).state,
                  LastRunState::Interrupted);
        EXPECT_EQ(renameFiles(reversed, fileSystem, journals).outcome,
                  RunOutcome::LastRunInterrupted);
        EXPECT_EQ(undoLastRun(fileSystem, other.path(), journals, proceed).outcome,
                  UndoOutcome::Restored);
        EXPECT_EQ(other.contentOf("0001"), "0001");
    }
}

// Another user could plant journals that name other entries: the journal folder must be
// the user's own real folder, and only the user's regular files in it are read.
TEST_F(JournalsTest, UntrustedJournalFolderIsRefusedAndLeftAsItIs) {
    TemporaryFolder elsewhere;
    const std::string journalFolder = journals.folder().path();
    const auto chmodded = [&](mode_t mode) {
        return [=] {
            return ::mkdir(journalFolder.c_str(), mode) == 0 &&
                   ::chmod(journalFolder.c_str(), mode) == 0;
        };
    };
    const std::vector<std::pair<std::function<bool()>, JournalFolderProblem>> cases{
        {chmodded(0777), JournalFolderProblem::WritableByOthers},
        {[&] { return ::symlink(elsewhere.path().c_str(), journalFolder.c_str()) == 0; },
         JournalFolderProblem::IsALink},
        {[&] {
             return ::mkdir(journalFolder.c_str(), 0700) == 0 &&
                    ::chown(journalFolder.c_str(), 65534, 65534) == 0;
         },
         JournalFolderProblem::OwnedByAnotherUser},
    };
    for (const auto& [make, problem] : cases) {
        std::filesystem::remove(journalFolder);
        if (!make()) {
            continue; // only root can give a folder to another user
        }
        EXPECT_EQ(run().outcome, RunOutcome::Failed);
        ASSERT_EQ(failures.size(), 1U);
        EXPECT_EQ(failures[0].code, problem);
        EXPECT_EQ(folder.names(), originals);
        failures.clear();
    }
    struct stat target {};
    ASSERT_EQ(::stat(elsewhere.path().c_str(), &target), 0);
    EXPECT_EQ(target.st_mode & 07777, 0700U);
}

// Reading journals never waits on a FIFO or trusts a file of another user.
TEST_F(JournalsTest, PlantedFilesAmongJournalsAreIgnored) {
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    const std::string planted = journals.folder().path() + "/99999999999999999999-1.journal";
    ASSERT_EQ(::mkfifo(planted.c_str(), 0600), 0);
    EXPECT_EQ(lastRun(), LastRunState::Finished);
    std::filesystem::remove(planted);
    // Another user's copy of a journal would undo the run, were it read.
    const std::string own = journals.folder().path() + "/" + journals.folder().names()->front();
    std::filesystem::rename(own, planted);
    if (::chown(planted.c_str(), 65534, 65534) == 0) {
        EXPECT_EQ(undo().outcome, UndoOutcome::NothingToUndo);
        EXPECT_NE(folder.names(), originals);
    }
}

// Each folder keeps its own runs whatever others do; an unfinished run is never removed.
TEST_F(JournalsTest, PruningKeepsEachFoldersRunsAndEveryUnfinishedOne) {
    struct Case {
        Journals::Limits limits;
        std::size_t kept, keptOfOther;
    };
    for (const Case& test : {Case{{2, std::uint64_t{1} << 30}, 3, 2}, Case{{20, 1}, 1, 0}}) {
        TemporaryFolder journalState;
        const Journals limited(JournalFolder(journalState.pathOf("journals")), test.limits);
        Journals writer = limited;
        TemporaryFolder other;
        TemporaryFolder stopped;
        for (const TemporaryFolder* each : {&other, &stopped}) {
            each->addFile("a");
        }
        Settings stoppedSettings;
        stoppedSettings.targetDir = stopped.path();
        ASSERT_TRUE(testing::renameKilledAtMove(stoppedSettings, limited.folder(), 1));
        Settings otherSettings = settings;
        otherSettings.targetDir = other.path();
        for (const char* prefix : {"p", "q", "r", "s"}) {
            settings.prefix = otherSettings.prefix = prefix;
            ASSERT_EQ(renameFiles(settings, fileSystem, writer).outcome, RunOutcome::Renamed);
            if (std::string_view(prefix) != "s") {
                ASSERT_EQ(renameFiles(otherSettings, fileSystem, writer).outcome,
                          RunOutcome::Renamed);
            }
        }
        const auto historyOf = [&](const std::string& path) {
            const auto opened = fileSystem.openFolder(path);
            return limited.historyOf(path, *fileSystem.identify(*opened)).size();
        };
        EXPECT_EQ(historyOf(folder.path()), test.kept);
        EXPECT_EQ(historyOf(other.path()), test.keptOfOther);
        EXPECT_EQ(historyOf(stopped.path()), 1U);
    }
}

} // namespace
} // namespace brindleaf
