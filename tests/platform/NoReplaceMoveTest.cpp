#include "platform/NoReplaceMove.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/ScriptedMoveCalls.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace brindleaf {
namespace {

using testing::ScriptedMoveCalls;
using testing::TemporaryFolder;
using NameSet = std::set<std::string>;

// Every case runs twice: with the kernel's no-replace flag, and on a file system that
// refuses it, through the placeholder.
class NoReplaceMoveTest : public ::testing::TestWithParam<bool> {
protected:
    TemporaryFolder folder;
    UniqueFd fd{*PosixFileSystem{}.openFolder(folder.path())};
    ScriptedMoveCalls calls;

    void SetUp() override { calls.refuseFlag = GetParam(); }

    MoveResult move(const std::string& from, const std::string& to) {
        return moveNoReplace(calls, fd.get(), from, to);
    }
};

TEST_P(NoReplaceMoveTest, MovesFileFolderAndDanglingLink) {
    folder.addFile("file");
    folder.addFolder("dir");
    folder.addFile("dir/inside");
    folder.addSymlink("link", "nowhere");

    EXPECT_FALSE(move("file", "file2"));
    EXPECT_FALSE(move("dir", "dir2"));
    EXPECT_FALSE(move("link", "link2"));

    EXPECT_EQ(folder.names(), (NameSet{"file2", "dir2", "link2"}));
    EXPECT_EQ(folder.contentOf("file2"), "file");
    EXPECT_EQ(folder.contentOf("dir2/inside"), "dir/inside");
}

TEST_P(NoReplaceMoveTest, RefusesToReplaceAnyExistingEntry) {
    folder.addFile("a");
    folder.addFile("b");
    folder.addFolder("full");
    folder.addFile("full/x");
    folder.addFolder("empty");
    folder.addFolder("empty2");

    for (const auto& [from, to] : {std::pair{"a", "b"}, std::pair{"a", "empty"},
                                   std::pair{"empty2", "empty"}, std::pair{"full", "b"}}) {
        const MoveResult result = move(from, to);
        EXPECT_EQ(result.error, std::errc::file_exists) << from << " -> " << to;
        EXPECT_FALSE(result.placeholderLeft);
    }
    EXPECT_EQ(folder.names(), (NameSet{"a", "b", "full", "empty", "empty2"}));
    EXPECT_EQ(folder.contentOf("a"), "a");
    EXPECT_EQ(folder.contentOf("b"), "b");
    EXPECT_EQ(folder.contentOf("full/x"), "full/x");
}

TEST_P(NoReplaceMoveTest, MissingSourceFailsAndLeavesNoPlaceholder) {
    EXPECT_EQ(move("ghost", "target").error, std::errc::no_such_file_or_directory);
    EXPECT_TRUE(folder.names().empty());
}

INSTANTIATE_TEST_SUITE_P(FlagAndPlaceholder, NoReplaceMoveTest, ::testing::Bool(),
                         [](const auto& info) {
                             return std::string(info.param ? "flagRefused" : "kernelFlag");
                         });

TEST(PlaceholderMove, RefusedClaimMovesNothing) {
    TemporaryFolder folder;
    folder.addFile("a");
    ScriptedMoveCalls calls;
    calls.refuseFlag = true;
    calls.refuseClaim = EROFS;
    const UniqueFd fd(*PosixFileSystem{}.openFolder(folder.path()));

    const MoveResult result = moveNoReplace(calls, fd.get(), "a", "b");
    EXPECT_EQ(result.error, std::errc::read_only_file_system);
    EXPECT_EQ(result.failedStep, MoveStep::ClaimNewName);
    EXPECT_EQ(folder.names(), NameSet{"a"});
}

// A placeholder that cannot be recorded first is not made: a crash could leave it where
// nobody knows of it.
TEST(PlaceholderMove, IsRecordedBeforeItIsMadeOrNotMadeAtAll) {
    class Log final : public PlaceholderLog {
    public:
        std::error_code refusal;
        std::vector<std::string> notes;
        std::string folderPath;
        std::error_code claiming(const std::string& name, bool isFolder) override {
            const bool exists = std::filesystem::exists(folderPath + "/" + name);
            notes.push_back((isFolder ? "folder " : "file ") + name + (exists ? " made" : ""));
            return refusal;
        }
        void claimed(const std::string& name, std::uint64_t inode) override {
            notes.push_back(name + (inode != 0 ? " numbered" : ""));
        }
    };
    TemporaryFolder folder;
    folder.addFile("a");
    folder.addFolder("d");
    ScriptedMoveCalls calls;
    calls.refuseFlag = true;
    Log log;
    log.folderPath = folder.path();
    const UniqueFd fd(*PosixFileSystem{}.openFolder(folder.path()));
    EXPECT_FALSE(moveNoReplace(calls, fd.get(), "a", "b", &log));
    EXPECT_FALSE(moveNoReplace(calls, fd.get(), "d", "e", &log));
    EXPECT_EQ(log.notes,
              (std::vector<std::string>{"file b", "b numbered", "folder e", "e numbered"}));

    log.refusal = std::make_error_code(std::errc::no_space_on_device);
    const MoveResult refused = moveNoReplace(calls, fd.get(), "b", "c", &log);
    EXPECT_EQ(refused.error, std::errc::no_space_on_device);
    EXPECT_EQ(refused.failedStep, MoveStep::ClaimNewName);
    EXPECT_EQ(folder.names(), (NameSet{"b", "e"}));
}

// fusefat refuses to move a folder onto its placeholder folder, so an empty folder moves by
// a plain rename, which stamps it with the time of the move as any rename there does: its
// dates are the user's, and undo recognises it there by them.
TEST(PlaceholderMove, FolderMovedPastARefusalKeepsItsTimes) {
    TemporaryFolder folder;
    folder.addFolder("album");
    const timespec old[2] = {{1'600'000'000, 0}, {1'500'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, folder.pathOf("album").c_str(), old, 0), 0);
    ScriptedMoveCalls calls;
    calls.refuseFlag = true;
    calls.refuseRenameOntoFolder = EPERM;
    calls.stampMoveTime = true;
    const UniqueFd fd(*PosixFileSystem{}.openFolder(folder.path()));

    EXPECT_FALSE(moveNoReplace(calls, fd.get(), "album", "0001"));
    EXPECT_EQ(folder.names(), NameSet{"0001"});
    struct stat moved {};
    ASSERT_EQ(::stat(folder.pathOf("0001").c_str(), &moved), 0);
    EXPECT_EQ(moved.st_mtim.tv_sec, old[1].tv_sec);
    EXPECT_EQ(moved.st_atim.tv_sec, old[0].tv_sec);
}

} // namespace
} // namespace brindleaf
