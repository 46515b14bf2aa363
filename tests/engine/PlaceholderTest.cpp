#include "engine/Execution.hpp"
#include "engine/JournalFormat.hpp"
#include "engine/Undo.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/ForwardingFileSystem.hpp"
#include "support/PhotoFiles.hpp"
#include "support/ScriptedMoveCalls.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace brindleaf {
namespace {

using testing::TemporaryFolder;
using NameSet = std::set<std::string>;

// A file system without the no-replace flag, as FAT through FUSE, whose process dies on its
// `dyingClaim`th placeholder: right after making it, or after recording its inode number
// too, just before the rename onto it.
class DyingAtClaim final : public MoveCalls {
public:
    enum class When { AfterCreate, BeforeRename };
    DyingAtClaim(int dyingClaim, When when) : dyingClaim_(dyingClaim), when_(when) {}

    int renameNoReplace(int, const char*, const char*) override {
        errno = EINVAL;
        return -1;
    }
    int createFile(int folder, const char* name) override {
        return died(MoveCalls::createFile(folder, name));
    }
    int createFolder(int folder, const char* name) override {
        return died(MoveCalls::createFolder(folder, name));
    }
    int renameReplacing(int folder, const char* from, const char* to) override {
        if (claims_ == dyingClaim_ && when_ == When::BeforeRename) {
            ::_exit(9);
        }
        return MoveCalls::renameReplacing(folder, from, to);
    }

private:
    int died(int created) {
        if (++claims_ == dyingClaim_ && when_ == When::AfterCreate) {
            ::_exit(9);
        }
        return created;
    }
    int dyingClaim_;
    When when_;
    int claims_ = 0;
};

// A mount that makes inode numbers up, as FAT through FUSE: entries are told by their size
// and modification time.
class MadeUpInodes final : public testing::ForwardingFileSystem {
public:
    explicit MadeUpInodes(FileSystem* inner) : ForwardingFileSystem(inner) {}
    std::expected<FolderIdentity, std::error_code> identify(const UniqueFd& folder) override {
        auto identity = ForwardingFileSystem::identify(folder);
        if (identity) {
            identity->inodesAreStable = false;
        }
        return identity;
    }
};

bool renameKilledAtClaim(const Settings& settings, const JournalFolder& journalFolder,
                         int dyingClaim, DyingAtClaim::When when, bool madeUpInodes = false) {
    const pid_t child = ::fork();
    if (child == 0) {
        PosixFileSystem real(std::make_unique<DyingAtClaim>(dyingClaim, when));
        MadeUpInodes madeUp(&real);
        FileSystem& fileSystem = madeUpInodes ? static_cast<FileSystem&>(madeUp) : real;
        Journals journals(journalFolder);
        renameFiles(settings, fileSystem, journals);
        ::_exit(0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 9;
}

// The one new name in the folder that holds nothing, or none.
std::string emptyNewNameIn(const TemporaryFolder& folder) {
    std::vector<std::string> empty;
    for (const std::string& name : folder.names()) {
        if (name != "a" && name != "b" && std::filesystem::is_empty(folder.pathOf(name))) {
            empty.push_back(name);
        }
    }
    return empty.size() == 1 ? empty.front() : std::string{};
}

std::unique_ptr<PosixFileSystem> withoutTheFlag() {
    auto calls = std::make_unique<testing::ScriptedMoveCalls>();
    calls->refuseFlag = true;
    return std::make_unique<PosixFileSystem>(std::move(calls));
}

// A run killed between claiming a new name and moving onto it leaves an empty file or
// folder that no entry ever had. Undo removes it while it is what the run made, and only
// then: the user's content, or another entry in its place, stays.
TEST(Placeholder, LeftByAKilledRunIsRemovedByUndoWhileStillEmpty) {
    enum class Meddling { None, Written, Replaced, ReplacedByAnOldOne };
    struct Case {
        const char* name;
        bool entryIsFolder;
        int dyingClaim;
        DyingAtClaim::When when;
        Meddling meddling;
        NameSet after;
        std::vector<std::string> left;
    };
    using When = DyingAtClaim::When;
    const std::vector<Case> cases{
        {"killed after making it", false, 1, When::AfterCreate, Meddling::None, {"a", "b"}, {}},
        {"killed before moving onto it",
         false,
         1,
         When::BeforeRename,
         Meddling::None,
         {"a", "b"},
         {}},
        {"second claim", false, 2, When::BeforeRename, Meddling::None, {"a", "b"}, {}},
        {"a folder's", true, 1, When::BeforeRename, Meddling::None, {"a", "b"}, {}},
        {"written to since", false, 1, When::BeforeRename, Meddling::Written, {"a", "b", "*"}, {}},
        {"another file since",
         false,
         1,
         When::BeforeRename,
         Meddling::Replaced,
         {"a", "b", "*"},
         {}},
        // Its inode number was never recorded, but no placeholder is older than its run.
        {"an older file since",
         false,
         1,
         When::AfterCreate,
         Meddling::ReplacedByAnOldOne,
         {"a", "b", "*"},
         {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TemporaryFolder folder;
        TemporaryFolder state;
        if (test.entryIsFolder) {
            folder.addFolder("a");
        } else {
            folder.addFile("a");
        }
        folder.addFile("b");
        Settings settings;
        settings.targetDir = folder.path();
        const JournalFolder journalFolder(state.pathOf("journals"));
        ASSERT_TRUE(renameKilledAtClaim(settings, journalFolder, test.dyingClaim, test.when));
        const std::string placeholder = emptyNewNameIn(folder);
        ASSERT_FALSE(placeholder.empty());
        if (test.meddling == Meddling::Written) {
            std::ofstream(folder.pathOf(placeholder)) << "mine";
        } else if (test.meddling != Meddling::None) {
            // Made while the placeholder still stands, so it cannot get its inode number.
            std::ofstream(folder.pathOf("new")) << "";
            if (test.meddling == Meddling::ReplacedByAnOldOne) {
                testing::setModified(folder.pathOf("new"), 1'000'000'000);
            }
            std::filesystem::rename(folder.pathOf("new"), folder.pathOf(placeholder));
        }

        Journals journals(journalFolder);
        ProceedAlways proceed;
        const auto fileSystem = withoutTheFlag();
        const UndoReport report = undoLastRun(*fileSystem, folder.path(), journals, proceed);
        EXPECT_EQ(report.outcome, UndoOutcome::Restored);
        EXPECT_FALSE(report.fromDamagedRecord);
        const auto named = [&](std::string name) {
            return name == "*" ? placeholder : name;
        };
        NameSet after;
        std::ranges::transform(test.after, std::inserter(after, after.end()), named);
        std::vector<std::string> left;
        std::ranges::transform(test.left, std::back_inserter(left), named);
        EXPECT_EQ(folder.names(), after);
        EXPECT_EQ(report.placeholdersLeft, left);
        EXPECT_EQ(folder.contentOf("b"), "b");
        if (!test.entryIsFolder) {
            EXPECT_EQ(folder.contentOf("a"), "a");
        }
        if (test.meddling == Meddling::Written) {
            EXPECT_EQ(folder.contentOf(placeholder), "mine");
        }
    }
}

// Where inode numbers are made up, an entry of the run is known by its size and time: one
// the user emptied after the run is no longer known, and stands under its new name. It is
// the user's file, not the placeholder that once held that name.
TEST(Placeholder, AnEntryUndoCannotRecogniseIsNeverTakenForOne) {
    TemporaryFolder folder;
    TemporaryFolder state;
    folder.addFile("a");
    folder.addFile("b");
    Settings settings;
    settings.targetDir = folder.path();
    const JournalFolder journalFolder(state.pathOf("journals"));
    ASSERT_TRUE(
        renameKilledAtClaim(settings, journalFolder, 2, DyingAtClaim::When::BeforeRename, true));
    // One entry moved, and the placeholder for the other stands.
    const std::string placeholder = emptyNewNameIn(folder);
    ASSERT_FALSE(placeholder.empty());
    const std::string moved = placeholder == "0001" ? "0002" : "0001";
    ASSERT_EQ(folder.names().size(), 3U);
    std::filesystem::resize_file(folder.pathOf(moved), 0);

    Journals journals(journalFolder);
    const auto real = withoutTheFlag();
    MadeUpInodes fileSystem(real.get());
    ProceedAlways proceed;
    const UndoReport report = undoLastRun(fileSystem, folder.path(), journals, proceed);
    EXPECT_FALSE(folder.names().contains(placeholder));
    EXPECT_TRUE(folder.names().contains(moved));
    EXPECT_EQ(folder.names().size(), 2U);
    EXPECT_EQ(report.leftAlone.size(), 1U);
}

// A swap claims each name the other entry held. Back under its own name after undo, an empty file
// of the user's is an entry of the run, never the placeholder that once stood there, even where
// inode numbers are made up and its time is later than the run.
TEST(Placeholder, AnEntryBackUnderItsNameIsNeverTakenForOne) {
    TemporaryFolder folder;
    TemporaryFolder state;
    std::ofstream(folder.pathOf("0001")) << "";
    testing::setModified(folder.pathOf("0001"), std::time(nullptr) + 86'400);
    folder.addFile("0002");
    Journals journals(JournalFolder(state.pathOf("journals")));
    Settings settings;
    settings.targetDir = folder.path();
    settings.isReverse = true;
    const auto real = withoutTheFlag();
    MadeUpInodes fileSystem(real.get());
    ProceedAlways proceed;
    ASSERT_EQ(renameFiles(settings, fileSystem, journals).outcome, RunOutcome::Renamed);
    ASSERT_EQ(folder.contentOf("0001"), "0002");

    const UndoReport report = undoLastRun(fileSystem, folder.path(), journals, proceed);
    EXPECT_EQ(report.outcome, UndoOutcome::Restored);
    EXPECT_EQ(folder.names(), (NameSet{"0001", "0002"}));
    EXPECT_EQ(folder.contentOf("0002"), "0002");
}

// A run that finishes uses every placeholder it made; its journal, placeholder records and
// all, still reads, and undo gives every name back and removes nothing else.
TEST(Placeholder, RecordsOfAFinishedRunStillDecodeForUndo) {
    TemporaryFolder folder;
    TemporaryFolder state;
    for (const char* name : {"0002", "0001", "c"}) {
        folder.addFile(name);
    }
    folder.addFolder("d");
    Journals journals(JournalFolder(state.pathOf("journals")));
    Settings settings;
    settings.targetDir = folder.path();
    settings.isReverse = true;
    const auto fileSystem = withoutTheFlag();
    ProceedAlways proceed;
    ASSERT_EQ(renameFiles(settings, *fileSystem, journals).outcome, RunOutcome::Renamed);
    const auto bytes = journals.folder().read(journals.folder().names()->front());
    ASSERT_TRUE(bytes.has_value());
    const auto record = decodeJournal(*bytes);
    ASSERT_TRUE(record.has_value());
    EXPECT_GE(record->placeholders.size(), 4U);
    // Records after the end line leave the run finished and its journal whole.
    const auto opened = fileSystem->openFolder(folder.path());
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(journals.lastRunOf(folder.path(), *fileSystem->identify(*opened)).state,
              RecordedRunState::Finished);
    for (const RecordedPlaceholder& placeholder : record->placeholders) {
        EXPECT_NE(placeholder.inode, 0U) << placeholder.name;
    }
    const UndoReport report = undoLastRun(*fileSystem, folder.path(), journals, proceed);
    EXPECT_EQ(report.outcome, UndoOutcome::Restored);
    EXPECT_FALSE(report.fromDamagedRecord);
    EXPECT_TRUE(report.placeholdersLeft.empty());
    EXPECT_EQ(folder.names(), (NameSet{"0001", "0002", "c", "d"}));
    EXPECT_EQ(folder.contentOf("0001"), "0001");
}

// The records after a journal's end are appended one by one while the run goes on: a last
// line cut short by a crash is no record, any other damage makes the journal damaged.
TEST(Placeholder, RecordsAreReadUpToALastLineCutShort) {
    const std::string made = placeholderLine("0001", false) + placeholderLine("d\nx", true) +
                             placeholderInodeLine("0001", 42);
    const auto read = placeholdersRecorded(made);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->size(), 2U);
    EXPECT_EQ((*read)[0].name, "0001");
    EXPECT_FALSE((*read)[0].isFolder);
    EXPECT_EQ((*read)[0].inode, 42U);
    EXPECT_EQ((*read)[1].name, "d\nx");
    EXPECT_TRUE((*read)[1].isFolder);
    EXPECT_EQ((*read)[1].inode, 0U);

    for (std::size_t cut = 1; cut < placeholderLine("0002", false).size(); ++cut) {
        const auto torn =
            placeholdersRecorded(made + placeholderLine("0002", false).substr(0, cut));
        ASSERT_TRUE(torn.has_value()) << cut;
        EXPECT_EQ(torn->size(), 2U) << cut;
    }
    std::string damaged = made;
    damaged[damaged.find("0001") + 1] = '9';
    EXPECT_FALSE(placeholdersRecorded(damaged).has_value());
    EXPECT_FALSE(placeholdersRecorded("garbage\n").has_value());
    EXPECT_FALSE(placeholdersRecorded(placeholderLine("a/b", false)).has_value());
}

} // namespace
} // namespace brindleaf
