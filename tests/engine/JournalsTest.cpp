#include "engine/Execution.hpp"
#include "engine/Forget.hpp"
#include "engine/Undo.hpp"
#include "support/DoubleFileSystem.hpp"
#include "support/KilledRun.hpp"
#include "support/ScriptedJournalCalls.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
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
    RecordedRunState lastRun(const Journals& from) {
        const auto opened = fileSystem.openFolder(folder.path());
        return from.lastRunOf(folder.path(), *fileSystem.identify(*opened)).state;
    }
    RecordedRunState lastRun() { return lastRun(journals); }
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
    for (const Call failing : {Call::Write, Call::Flush, Call::Rename, Call::FlushFolder}) {
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

// A journal file that cannot even be made (no permission, a full disk, no descriptor left)
// moves nothing, leaves nothing, and the report says why.
TEST_F(JournalsTest, JournalThatCannotBeCreatedMovesNothingAndSaysWhy) {
    for (const int error : {EACCES, ENOSPC, EMFILE}) {
        calls->failing = Call::Create;
        calls->error = error;
        EXPECT_EQ(run().outcome, RunOutcome::Failed) << error;
        ASSERT_EQ(failures.size(), 1U) << error;
        EXPECT_EQ(failures[0].kind, ErrorKind::CannotWriteJournal) << error;
        EXPECT_EQ(failures[0].code, std::error_code(error, std::generic_category()));
        EXPECT_EQ(folder.names(), originals) << error;
        EXPECT_TRUE(journalFiles().empty()) << error;
        EXPECT_EQ(lastRun(), RecordedRunState::None) << error;
    }
    calls->failing = Call::None;
    EXPECT_EQ(run().outcome, RunOutcome::Renamed);
    EXPECT_EQ(lastRun(), RecordedRunState::Finished);
}

// A journal that could not be written and then not removed either is never taken for a
// run, and the report names the first failure, not the cleaning up; the next run removes it.
TEST_F(JournalsTest, DiscardThatCannotRemoveTheJournalClaimsNoRun) {
    calls->failing = Call::Write;
    calls->error = ENOSPC;
    calls->alsoFailing = Call::UnlinkHidden;
    EXPECT_EQ(run().outcome, RunOutcome::Failed);
    ASSERT_EQ(failures.size(), 1U);
    EXPECT_EQ(failures[0].kind, ErrorKind::CannotWriteJournal);
    EXPECT_EQ(failures[0].code, std::errc::no_space_on_device);
    EXPECT_EQ(folder.names(), originals);
    const NameSet left = journalFiles();
    EXPECT_TRUE(std::ranges::any_of(
        left, [](const std::string& name) { return name.ends_with(".journal.partial"); }));
    EXPECT_TRUE(journals.folder().names()->empty());
    EXPECT_EQ(lastRun(), RecordedRunState::None);
    EXPECT_EQ(undo().outcome, UndoOutcome::NothingToUndo);
    calls->failing = Call::None;
    calls->alsoFailing = Call::None;
    EXPECT_EQ(run().outcome, RunOutcome::Renamed);
    EXPECT_EQ(journalFiles().size(), 1U);
    EXPECT_EQ(undo().outcome, UndoOutcome::Restored);
    EXPECT_EQ(folder.names(), originals);
}

// Leftovers of killed processes that cannot be removed stay, and so does every journal: the
// run goes on, and both runs can still be undone.
TEST_F(JournalsTest, LeftoversThatCannotBeRemovedLeaveTheJournalsWhole) {
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    const std::string first = journals.folder().names()->front();
    const auto bytes = journals.folder().read(first);
    ASSERT_TRUE(bytes.has_value());
    const std::string path = journals.folder().path();
    std::ofstream(path + "/.1-1.journal.partial") << "brindleaf";
    std::ofstream(path + "/.stale.lock");
    calls->failing = Call::UnlinkHidden;
    settings.prefix = "x";
    EXPECT_EQ(run().outcome, RunOutcome::Renamed);
    EXPECT_TRUE(failures.empty());
    calls->failing = Call::None;
    EXPECT_TRUE(std::filesystem::exists(path + "/.1-1.journal.partial"));
    EXPECT_TRUE(std::filesystem::exists(path + "/.stale.lock"));
    const auto names = journals.folder().names();
    ASSERT_EQ(names->size(), 2U);
    EXPECT_EQ(names->back(), first);
    EXPECT_EQ(journals.folder().read(first), bytes);
    EXPECT_EQ(undo().outcome, UndoOutcome::Restored);
    EXPECT_EQ(undo().outcome, UndoOutcome::Restored);
    EXPECT_EQ(folder.names(), originals);
}

// A journal another run is still writing is locked, not abandoned: it is left to that run.
TEST_F(JournalsTest, JournalStillBeingWrittenIsLeftToItsRun) {
    auto writing = journals.folder().create("other");
    ASSERT_TRUE(writing.has_value());
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    writing->append("brindleaf");
    EXPECT_FALSE(writing->commit());
    EXPECT_EQ(journals.folder().read(writing->name()), "brindleaf");
}

// A replacement left half-written by a killed process does not keep the journal from being
// replaced again, and the journal then holds what was written.
TEST_F(JournalsTest, ReplacementIsMadeOverOneLeftHalfWritten) {
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    const std::string name = journals.folder().names()->front();
    std::ofstream(journals.folder().path() + "/." + name + ".partial") << "stale";
    const auto journal = journals.folder().open(name);
    ASSERT_TRUE(journal.has_value());
    auto replacement = journal->replacement();
    ASSERT_TRUE(replacement.has_value()) << replacement.error().message();
    replacement->append("brindleaf");
    EXPECT_FALSE(replacement->commit());
    EXPECT_EQ(journals.folder().read(name), "brindleaf");
}

// Only the hidden files a run leaves behind are ever removed as leftovers: files named like
// them but not hidden are someone's, and stay.
TEST_F(JournalsTest, FilesNamedLikeLeftoversButNotHiddenStay) {
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    const std::string path = journals.folder().path();
    for (const std::string name : {"notes.lock", "notes.journal.partial"}) {
        std::ofstream(path + "/" + name) << "mine";
    }
    settings.prefix = "x";
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    for (const std::string name : {"notes.lock", "notes.journal.partial"}) {
        EXPECT_TRUE(std::filesystem::exists(path + "/" + name)) << name;
    }
}

// A run whose journal cannot be marked finished stays undoable, as an interrupted one.
TEST_F(JournalsTest, RunThatCannotBeMarkedFinishedStaysUndoable) {
    calls->failing = Call::WriteAt;
    EXPECT_EQ(run().outcome, RunOutcome::Renamed);
    ASSERT_EQ(failures.size(), 1U);
    EXPECT_EQ(failures[0].kind, ErrorKind::CannotMarkJournal);
    EXPECT_EQ(lastRun(), RecordedRunState::Interrupted);
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
        // A finished run cut short afterwards is told by its last line, without reading
        // its entries; only the checksum, read by undo, finds a changed entry.
        if (problem != JournalProblem::Corrupt) {
            EXPECT_EQ(lastRun(), RecordedRunState::Damaged);
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
                  RecordedRunState::Interrupted);
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
        {chmodded(0770), JournalFolderProblem::WritableByOthers},
        {[&] { return ::symlink(elsewhere.path().c_str(), journalFolder.c_str()) == 0; },
         JournalFolderProblem::IsALink},
    };
    for (const auto& [make, problem] : cases) {
        std::filesystem::remove(journalFolder);
        ASSERT_TRUE(make());
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

// A journal folder that belongs to another user is refused like one others may write to.
TEST_F(JournalsTest, JournalFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    const std::string journalFolder = journals.folder().path();
    ASSERT_EQ(::mkdir(journalFolder.c_str(), 0700), 0);
    ASSERT_EQ(::chown(journalFolder.c_str(), 65534, 65534), 0);
    EXPECT_EQ(run().outcome, RunOutcome::Failed);
    ASSERT_EQ(failures.size(), 1U);
    EXPECT_EQ(failures[0].code, JournalFolderProblem::OwnedByAnotherUser);
    EXPECT_EQ(folder.names(), originals);
}

// Reading journals never waits on a FIFO or trusts a file of another user.
TEST_F(JournalsTest, PlantedFilesAmongJournalsAreIgnored) {
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    const std::string planted = journals.folder().path() + "/99999999999999999999-1.journal";
    ASSERT_EQ(::mkfifo(planted.c_str(), 0600), 0);
    EXPECT_EQ(lastRun(), RecordedRunState::Finished);
    std::filesystem::remove(planted);
    // Another user's copy of a journal would undo the run, were it read.
    const std::string own = journals.folder().path() + "/" + journals.folder().names()->front();
    std::filesystem::rename(own, planted);
    calls->journalOwner = ::geteuid() + 1;
    EXPECT_EQ(undo().outcome, UndoOutcome::NothingToUndo);
    EXPECT_NE(folder.names(), originals);
    calls->journalOwner.reset();
    EXPECT_EQ(undo().outcome, UndoOutcome::Restored);
}

// A journal of this folder, by its name, that was replaced by something no run writes is
// this folder's damaged run, exactly as a journal that cannot be decoded: never a run that
// is not there, never waited on, never followed elsewhere.
TEST_F(JournalsTest, JournalReplacedByWhatCannotBeReadIsTheFoldersDamagedRun) {
    TemporaryFolder elsewhere;
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> cases{
        {"fifo",
         [](const std::string& journal) {
             ASSERT_EQ(::mkfifo(journal.c_str(), 0600), 0);
         }},
        // The whole journal, readable through the link, would undo the run were it followed.
        {"link",
         [&](const std::string& journal) {
             ASSERT_EQ(::symlink(elsewhere.pathOf("journal").c_str(), journal.c_str()), 0);
         }},
        {"another user's",
         [&](const std::string& journal) {
             std::filesystem::copy_file(elsewhere.pathOf("journal"), journal);
             calls->journalOwner = ::geteuid() + 1;
         }},
    };
    for (const auto& [what, replace] : cases) {
        ASSERT_TRUE(testing::renameKilledAtMove(settings, journals.folder(), 2));
        const NameSet halfway = folder.names();
        const std::string journal = newestJournal();
        std::filesystem::remove(elsewhere.pathOf("journal"));
        std::filesystem::rename(journal, elsewhere.pathOf("journal"));
        replace(journal);
        EXPECT_EQ(lastRun(), RecordedRunState::Damaged) << what;
        const auto opened = fileSystem.openFolder(folder.path());
        const auto history = journals.historyOf(folder.path(), *fileSystem.identify(*opened));
        ASSERT_EQ(history->size(), 1U) << what;
        EXPECT_EQ(history->front().run.problem, JournalProblem::Unreadable);
        EXPECT_FALSE(history->front().undoable);
        EXPECT_EQ(run().outcome, RunOutcome::LastRunDamaged) << what;
        const UndoReport undone = undo();
        EXPECT_EQ(undone.outcome, UndoOutcome::JournalDamaged) << what;
        EXPECT_EQ(undone.problem, JournalProblem::Unreadable);
        EXPECT_EQ(folder.names(), halfway) << what;
        // Setting it aside is the way out, and moves nothing either.
        const ForgetReport forgot = forgetDamagedRun(fileSystem, folder.path(), journals, true);
        EXPECT_EQ(forgot.outcome, ForgetOutcome::SetAside) << what;
        EXPECT_EQ(forgot.problem, JournalProblem::Unreadable);
        EXPECT_EQ(folder.names(), halfway) << what;
        EXPECT_EQ(lastRun(), RecordedRunState::None) << what;
        calls->journalOwner.reset();
        // Put back as it was, the run is undone as any other.
        std::filesystem::rename(elsewhere.pathOf("journal"), journal);
        EXPECT_EQ(undo().outcome, UndoOutcome::Restored) << what;
        EXPECT_EQ(folder.names(), originals) << what;
        std::filesystem::remove(journal);
    }
}

// A journal that could not be read, but that another process holds, is a run going on:
// neither set aside nor undone.
TEST_F(JournalsTest, UnreadableJournalHeldByAnotherProcessIsLeftAlone) {
    ASSERT_TRUE(testing::renameKilledAtMove(settings, journals.folder(), 2));
    const std::string name = journals.folder().names()->front();
    const auto held = journals.folder().open(name);
    ASSERT_TRUE(held);
    const NameSet halfway = folder.names();
    calls->failing = Call::JournalStatus;
    calls->times = 1;
    EXPECT_EQ(forgetDamagedRun(fileSystem, folder.path(), journals, true).outcome,
              ForgetOutcome::InProgress);
    calls->times = 1;
    EXPECT_EQ(undo().outcome, UndoOutcome::InProgress);
    EXPECT_EQ(journals.folder().names()->front(), name);
    EXPECT_EQ(folder.names(), halfway);
}

// Pruning leaves a journal it cannot read just now where it is, even one whose name holds no
// folder's keys: it may be a run's, and readable again later.
TEST_F(JournalsTest, PruningLeavesJournalsItCannotReadWhereTheyAre) {
    ASSERT_TRUE(testing::renameKilledAtMove(settings, journals.folder(), 2));
    const std::string name = journals.folder().names()->front();
    const std::string keyless = name.substr(0, name.find('-', 21)) + ".journal";
    std::filesystem::rename(journals.folder().path() + "/" + name,
                            journals.folder().path() + "/" + keyless);
    calls->journalOwner = ::geteuid() + 1;
    TemporaryFolder other;
    other.addFile("a");
    Settings otherSettings;
    otherSettings.targetDir = other.path();
    ASSERT_EQ(renameFiles(otherSettings, fileSystem, journals).outcome, RunOutcome::Renamed);
    calls->journalOwner.reset();
    EXPECT_TRUE(std::filesystem::exists(journals.folder().path() + "/" + keyless));
    EXPECT_EQ(lastRun(), RecordedRunState::Interrupted);
}

// Each folder keeps its own runs whatever others do, and its newest one whatever the limit
// on bytes; an unfinished run is never removed.
TEST_F(JournalsTest, PruningKeepsEachFoldersRunsAndEveryUnfinishedOne) {
    struct Case {
        Journals::Limits limits;
        std::size_t kept, keptOfOther;
    };
    for (const Case& test : {Case{{2, std::uint64_t{1} << 30}, 3, 2}, Case{{20, 1}, 1, 1}}) {
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
            return limited.historyOf(path, *fileSystem.identify(*opened))->size();
        };
        EXPECT_EQ(historyOf(folder.path()), test.kept);
        EXPECT_EQ(historyOf(other.path()), test.keptOfOther);
        EXPECT_EQ(historyOf(stopped.path()), 1U);
    }
}

// A journal folder that cannot be trusted hides no run: every way of reading the runs
// refuses, naming why, and nothing moves.
TEST_F(JournalsTest, UntrustedJournalFolderRefusesHistoryUndoAndForget) {
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    const NameSet renamed = folder.names();
    const std::string journalFolder = journals.folder().path();
    const std::string real = state.pathOf("real");
    const std::vector<std::pair<std::function<void()>, JournalFolderProblem>> cases{
        {[&] { ::chmod(journalFolder.c_str(), 0777); }, JournalFolderProblem::WritableByOthers},
        {[&] { ::chmod(journalFolder.c_str(), 0770); }, JournalFolderProblem::WritableByOthers},
        {[&] {
             std::filesystem::rename(journalFolder, real);
             std::filesystem::create_directory_symlink(real, journalFolder);
         },
         JournalFolderProblem::IsALink},
        // As the system would tell of a folder root gave another user.
        {[&] { calls->folderOwner = ::geteuid() + 1; }, JournalFolderProblem::OwnedByAnotherUser},
    };
    const auto opened = fileSystem.openFolder(folder.path());
    const FolderIdentity identity = *fileSystem.identify(*opened);
    for (const auto& [spoil, problem] : cases) {
        spoil();
        const RecordedRun last = journals.lastRunOf(folder.path(), identity);
        EXPECT_EQ(last.state, RecordedRunState::JournalsUnreadable);
        EXPECT_EQ(last.error, problem);
        const auto history = journals.historyOf(folder.path(), identity);
        ASSERT_FALSE(history.has_value());
        EXPECT_EQ(history.error(), problem);
        const UndoReport undone = undo();
        EXPECT_EQ(undone.outcome, UndoOutcome::JournalsUnreadable);
        EXPECT_EQ(undone.error, problem);
        const ForgetReport forgot = forgetDamagedRun(fileSystem, folder.path(), journals, true);
        EXPECT_EQ(forgot.outcome, ForgetOutcome::JournalsUnreadable);
        EXPECT_EQ(forgot.error, problem);
        EXPECT_EQ(run().outcome, RunOutcome::Failed);
        EXPECT_EQ(folder.names(), renamed);
        // Put right, the run is there again.
        if (std::filesystem::is_symlink(journalFolder)) {
            std::filesystem::remove(journalFolder);
            std::filesystem::rename(real, journalFolder);
        }
        ::chmod(journalFolder.c_str(), 0700);
        calls->folderOwner.reset();
        EXPECT_EQ(lastRun(), RecordedRunState::Finished);
    }
}

// A journal folder that is there but cannot be opened or looked at is not one that does not
// exist yet: its runs are unknown, never none.
TEST_F(JournalsTest, JournalFolderThatCannotBeOpenedHidesNoRun) {
    ASSERT_TRUE(testing::renameKilledAtMove(settings, journals.folder(), 2));
    const NameSet halfway = folder.names();
    const auto opened = fileSystem.openFolder(folder.path());
    const FolderIdentity identity = *fileSystem.identify(*opened);
    for (const auto& [failing, error] : std::vector<std::pair<Call, int>>{
             {Call::OpenFolder, EACCES}, {Call::OpenFolder, EMFILE}, {Call::Status, EIO}}) {
        calls->failing = failing;
        calls->error = error;
        const RecordedRun last = journals.lastRunOf(folder.path(), identity);
        EXPECT_EQ(last.state, RecordedRunState::JournalsUnreadable) << error;
        EXPECT_EQ(last.error, std::error_code(error, std::generic_category()));
        EXPECT_FALSE(journals.historyOf(folder.path(), identity).has_value());
        EXPECT_EQ(undo().outcome, UndoOutcome::JournalsUnreadable);
        EXPECT_EQ(run().outcome, RunOutcome::Failed);
        EXPECT_EQ(folder.names(), halfway);
    }
    calls->failing = Call::None;
    EXPECT_EQ(lastRun(), RecordedRunState::Interrupted);
}

// A run cut short whose journal was then damaged past reading is still known by the
// journal's name: its folder stays refused until the journal is set aside. The damaged
// journals of other folders are not this folder's concern.
TEST_F(JournalsTest, JournalDamagedPastItsHeadStillRefusesItsFolder) {
    TemporaryFolder other;
    other.addFile("a");
    Settings otherSettings;
    otherSettings.targetDir = other.path();
    ASSERT_TRUE(testing::renameKilledAtMove(otherSettings, journals.folder(), 1));
    ASSERT_TRUE(testing::renameKilledAtMove(settings, journals.folder(), 2));
    const NameSet halfway = folder.names();
    const auto written = journals.folder().names();
    for (const std::string& name : *written) {
        std::filesystem::resize_file(journals.folder().path() + "/" + name, 100);
    }
    EXPECT_EQ(lastRun(), RecordedRunState::Damaged);
    EXPECT_EQ(run().outcome, RunOutcome::LastRunDamaged);
    EXPECT_EQ(undo().outcome, UndoOutcome::JournalDamaged);
    EXPECT_EQ(folder.names(), halfway);
    EXPECT_EQ(forgetDamagedRun(fileSystem, folder.path(), journals, true).outcome,
              ForgetOutcome::SetAside);
    EXPECT_EQ(lastRun(), RecordedRunState::None);
    EXPECT_EQ(folder.names(), halfway);
    // The other folder's damaged journal is still there, and still refuses only it.
    const auto opened = fileSystem.openFolder(other.path());
    EXPECT_EQ(journals.lastRunOf(other.path(), *fileSystem.identify(*opened)).state,
              RecordedRunState::Damaged);
}

// Journals written before their names held the folder's keys are still read by their heads.
TEST_F(JournalsTest, JournalsNamedWithoutKeysAreStillRead) {
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    const std::string name = journals.folder().names()->front();
    const std::string oldName = name.substr(0, name.find('-', 21)) + ".journal";
    std::filesystem::rename(journals.folder().path() + "/" + name,
                            journals.folder().path() + "/" + oldName);
    EXPECT_EQ(lastRun(), RecordedRunState::Finished);
    EXPECT_EQ(undo().outcome, UndoOutcome::Restored);
    EXPECT_EQ(folder.names(), originals);
}

long peakResidentKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A journal padded far past what its entries can fill is damaged, found without reading it.
TEST_F(JournalsTest, JournalLargerThanItsEntriesCanMakeItIsDamaged) {
    ASSERT_TRUE(testing::renameKilledAtMove(settings, journals.folder(), 2));
    const NameSet halfway = folder.names();
    const std::string journal = newestJournal();
    std::string trailer;
    {
        std::ifstream in(journal, std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        trailer = bytes.substr(bytes.rfind("end "));
    }
    const auto padded = std::uintmax_t{256} << 20;
    std::filesystem::resize_file(journal, std::filesystem::file_size(journal) - trailer.size());
    std::filesystem::resize_file(journal, padded - trailer.size());
    std::ofstream(journal, std::ios::binary | std::ios::app) << trailer;
    ASSERT_EQ(std::filesystem::file_size(journal), padded);
    EXPECT_EQ(lastRun(), RecordedRunState::Damaged);
    const auto loaded = journals.load(journals.folder().names()->front());
    ASSERT_FALSE(loaded.has_value());
    EXPECT_EQ(loaded.error(), JournalProblem::Corrupt);
    // Its entries can still be read, from the bytes they can fill, and go home; the padding
    // is never read into memory.
    const long peakBefore = peakResidentKilobytes();
    const UndoReport undone = undo();
    EXPECT_LT(peakResidentKilobytes() - peakBefore, 64 * 1024);
    EXPECT_EQ(undone.outcome, UndoOutcome::Restored);
    EXPECT_TRUE(undone.fromDamagedRecord);
    EXPECT_NE(folder.names(), halfway);
    EXPECT_EQ(folder.names(), originals);
}

// Setting a journal aside never replaces one set aside before under the same name.
TEST_F(JournalsTest, SettingAsideTwiceKeepsBoth) {
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    const std::string name = journals.folder().names()->front();
    const std::string path = journals.folder().path() + "/" + name;
    const auto first = journals.folder().setAside(name);
    ASSERT_TRUE(first.has_value());
    std::ofstream(path, std::ios::binary) << "another";
    const auto second = journals.folder().setAside(name);
    ASSERT_TRUE(second.has_value());
    EXPECT_NE(*first, *second);
    EXPECT_FALSE(std::filesystem::exists(path));
    const auto contentOf = [&](const std::string& aside) {
        std::ifstream in(journals.folder().path() + "/" + aside, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_TRUE(contentOf(*first).starts_with("brindleaf-journal")) << contentOf(*first);
    EXPECT_EQ(contentOf(*second), "another");
}

// A journal that cannot be set aside stays where it was, whole, and still refuses its folder;
// the report claims nothing that was not done. Once its own name is gone it is set aside,
// whether or not the folder then reaches the disk.
TEST_F(JournalsTest, SetAsideThatFailsLeavesTheJournalWhereItWas) {
    struct Case {
        Call failing;
        int error;
        int times;
        bool setAside;
    };
    const std::vector<Case> cases{
        {Call::Link, ENOSPC, -1, false},
        // Every name said to be taken, however many are tried.
        {Call::Link, EEXIST, -1, false},
        {Call::Unlink, EIO, 1, false},
        {Call::FlushFolder, EIO, -1, true},
    };
    for (const Case& test : cases) {
        ASSERT_TRUE(testing::renameKilledAtMove(settings, journals.folder(), 2));
        const NameSet halfway = folder.names();
        const std::string journal = newestJournal();
        std::filesystem::resize_file(journal, std::filesystem::file_size(journal) - 20);
        const auto bytes = journals.folder().read(journals.folder().names()->front());
        ASSERT_TRUE(bytes.has_value());
        calls->failing = test.failing;
        calls->error = test.error;
        calls->times = test.times;
        const ForgetReport forgot = forgetDamagedRun(fileSystem, folder.path(), journals, true);
        calls->failing = Call::None;
        EXPECT_EQ(folder.names(), halfway);
        if (test.setAside) {
            EXPECT_EQ(forgot.outcome, ForgetOutcome::SetAside) << test.error;
            EXPECT_EQ(lastRun(), RecordedRunState::None);
            EXPECT_FALSE(std::filesystem::exists(journal));
            std::filesystem::rename(journal + ".set-aside", journal);
        } else {
            EXPECT_EQ(forgot.outcome, ForgetOutcome::Failed) << test.error;
            EXPECT_EQ(forgot.error, std::error_code(test.error, std::generic_category()));
            EXPECT_EQ(forgot.setAsideAs, "");
            EXPECT_EQ(lastRun(), RecordedRunState::Damaged) << test.error;
            EXPECT_EQ(run().outcome, RunOutcome::LastRunDamaged) << test.error;
        }
        EXPECT_EQ(journals.folder().read(journals.folder().names()->front()), bytes);
        // Whatever a second name was left behind holds the journal whole too.
        for (const auto& entry : std::filesystem::directory_iterator(journals.folder().path())) {
            if (entry.path().filename().string().find(".set-aside") != std::string::npos) {
                std::ifstream in(entry.path(), std::ios::binary);
                EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), *bytes);
                std::filesystem::remove(entry.path());
            }
        }
        EXPECT_EQ(forgetDamagedRun(fileSystem, folder.path(), journals, true).outcome,
                  ForgetOutcome::SetAside);
        std::filesystem::remove(journal + ".set-aside");
        const NameSet left = folder.names();
        for (const std::string& name : left) {
            std::filesystem::remove(folder.pathOf(name));
        }
        for (const std::string& name : originals) {
            folder.addFile(name);
        }
    }
}

// A journal whose removal failed is still there, and is not said to be gone.
TEST_F(JournalsTest, RemovalThatFailsSaysSo) {
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    const std::string name = journals.folder().names()->front();
    calls->failing = Call::Unlink;
    EXPECT_EQ(journals.folder().remove(name), std::errc::io_error);
    calls->failing = Call::None;
    EXPECT_EQ(lastRun(), RecordedRunState::Finished);
    EXPECT_FALSE(journals.folder().remove(name));
    EXPECT_EQ(lastRun(), RecordedRunState::None);
}

// A journal whose size cannot be learnt is not read at all: read against a wrong size, it
// could pass for a journal of fewer entries.
TEST_F(JournalsTest, JournalWhoseSizeCannotBeLearntIsNotRead) {
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    calls->failing = Call::JournalStatus;
    calls->after = 1; // the opening's look at the journal works, the reading's fails
    bool taken = false;
    EXPECT_EQ(journals.folder().readInPieces(journals.folder().names()->front(), 4096,
                                             [&](std::uint64_t, std::string_view) {
                                                 taken = true;
                                                 return true;
                                             }),
              std::errc::io_error);
    EXPECT_FALSE(taken);
}

// Two disks given the same device number one after the other, whose folders have the same
// inode number, are told apart by their file systems' identities.
TEST_F(JournalsTest, SameDeviceAndInodeOnAnotherVolumeIsAnotherFolder) {
    fileSystem.volume = 7;
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    fileSystem.volume = 8;
    const auto opened = fileSystem.openFolder(folder.path());
    EXPECT_EQ(journals.lastRunOf(folder.path(), *fileSystem.identify(*opened)).state,
              RecordedRunState::None);
    settings.prefix = "v";
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    for (const std::uint64_t volume : {7, 8}) {
        fileSystem.volume = volume;
        const auto history = journals.historyOf(folder.path(), *fileSystem.identify(*opened));
        ASSERT_EQ(history->size(), 1U) << volume;
    }
}

// Beyond the limit on bytes the oldest finished runs go first, each folder keeps its newest,
// and the room a journal takes on disk is what counts, not its length.
TEST_F(JournalsTest, ByteLimitTakesOldestRunsFirstAndKeepsEachFoldersNewest) {
    const std::string probe = state.pathOf("probe");
    std::ofstream(probe) << std::string(300, 'x');
    struct stat probed {};
    ASSERT_EQ(::stat(probe.c_str(), &probed), 0);
    const auto oneJournal = static_cast<std::uint64_t>(probed.st_blocks) * 512;
    ASSERT_GT(oneJournal, 0U);
    TemporaryFolder journalState;
    Journals limited(JournalFolder(journalState.pathOf("journals")), {20, 4 * oneJournal});
    TemporaryFolder other;
    other.addFile("a");
    Settings otherSettings;
    otherSettings.targetDir = other.path();
    std::vector<std::string> written;
    for (const char* prefix : {"p", "q", "r"}) {
        settings.prefix = prefix;
        ASSERT_EQ(renameFiles(settings, fileSystem, limited).outcome, RunOutcome::Renamed);
        written.push_back(limited.folder().names()->front());
    }
    // A sparse file is long but takes no room.
    const std::string sparse =
        limited.folder().path() + "/00000000000000000001-1-000000000000-000000000000.journal";
    std::ofstream(sparse) << "x";
    std::filesystem::resize_file(sparse, std::uintmax_t{4} << 30);
    ASSERT_EQ(renameFiles(otherSettings, fileSystem, limited).outcome, RunOutcome::Renamed);
    const auto historyOf = [&](const std::string& path) {
        const auto opened = fileSystem.openFolder(path);
        const auto history = limited.historyOf(path, *fileSystem.identify(*opened));
        std::vector<std::string> names;
        for (const PastRun& past : *history) {
            names.push_back(past.run.journalName);
        }
        return names;
    };
    // Five files in the room of four: the oldest run goes.
    EXPECT_EQ(historyOf(folder.path()), (std::vector<std::string>{written[2], written[1]}));
    EXPECT_EQ(historyOf(other.path()).size(), 1U);
    // A file that is no run is set aside, never deleted.
    const std::string notARun = limited.folder().path() + "/00000000000000000002-1.journal";
    std::ofstream(notARun) << "not a journal";
    settings.prefix = "s";
    ASSERT_EQ(renameFiles(settings, fileSystem, limited).outcome, RunOutcome::Renamed);
    EXPECT_TRUE(std::filesystem::exists(notARun + ".set-aside"));
    EXPECT_EQ(historyOf(other.path()).size(), 1U);
}

// Read piece by piece, however the pieces fall, a journal says what it says read whole.
TEST_F(JournalsTest, JournalReadInPiecesReadsAsAWhole) {
    folder.addFile("line\nbreak");
    folder.addFile(std::string(200, 'n'));
    ASSERT_EQ(run().outcome, RunOutcome::Renamed);
    std::string bytes;
    {
        std::ifstream in(newestJournal(), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    const auto whole = decodeJournal(bytes);
    ASSERT_TRUE(whole);
    ASSERT_EQ(whole->entries.size(), 5U);
    // Entries that stop making sense end the reading at once, not at the end of the file.
    const std::string head = bytes.substr(0, bytes.find("\n", bytes.find("entries ")) + 1);
    const std::string garbage(8192, 'x');
    JournalDecoder garbled(head.size() + garbage.size());
    EXPECT_TRUE(garbled.feed(head));
    EXPECT_FALSE(garbled.feed(garbage));
    const auto garbledRecord = garbled.finish();
    ASSERT_FALSE(garbledRecord.has_value());
    EXPECT_EQ(garbledRecord.error(), JournalProblem::Truncated);
    const std::string truncated = bytes.substr(0, bytes.size() - 30);
    for (const std::size_t piece : {1, 7, 64, 4096}) {
        for (const std::string* journal : std::array<const std::string*, 2>{&bytes, &truncated}) {
            JournalDecoder decoder(journal->size());
            for (std::size_t at = 0; at < journal->size(); at += piece) {
                decoder.feed(std::string_view(*journal).substr(at, piece));
            }
            const auto pieces = decoder.finish();
            const auto expected = decodeJournal(*journal);
            ASSERT_EQ(pieces.has_value(), expected.has_value()) << piece;
            if (!pieces) {
                EXPECT_EQ(pieces.error(), expected.error());
                continue;
            }
            ASSERT_EQ(pieces->entries.size(), expected->entries.size());
            for (std::size_t i = 0; i < pieces->entries.size(); ++i) {
                EXPECT_EQ(pieces->entries[i].original, expected->entries[i].original);
                EXPECT_EQ(pieces->entries[i].renamed, expected->entries[i].renamed);
                EXPECT_EQ(pieces->entries[i].inode, expected->entries[i].inode);
            }
            EXPECT_EQ(pieces->head.folderPath, expected->head.folderPath);
        }
    }
}

// A journal damaged after its run finished may name entries still away from their names:
// however many runs come after it, it stays until it is set aside.
TEST_F(JournalsTest, DamagedJournalIsNeverPruned) {
    const Journals limited(JournalFolder(journals.folder().path()), {1, std::uint64_t{1} << 30});
    Journals writer = limited;
    ASSERT_EQ(renameFiles(settings, fileSystem, writer).outcome, RunOutcome::Renamed);
    const std::string damaged = newestJournal();
    settings.prefix = "o";
    ASSERT_EQ(renameFiles(settings, fileSystem, writer).outcome, RunOutcome::Renamed);
    std::filesystem::resize_file(damaged, std::filesystem::file_size(damaged) - 5);
    for (const char* prefix : {"p", "q", "r"}) {
        settings.prefix = prefix;
        ASSERT_EQ(renameFiles(settings, fileSystem, writer).outcome, RunOutcome::Renamed);
    }
    EXPECT_TRUE(std::filesystem::exists(damaged));
}

} // namespace
} // namespace brindleaf
