#include "platform/NoReplaceMove.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

namespace brindleaf {
namespace {

using testing::TemporaryFolder;
using MoveFunction = std::function<std::error_code(int, const std::string&, const std::string&)>;

struct MoveCase {
    const char* label;
    MoveFunction move;
};

class NoReplaceMoveTest : public ::testing::TestWithParam<MoveCase> {
protected:
    TemporaryFolder folder;
    UniqueFd fd{*PosixFileSystem{}.openFolder(folder.path())};

    std::error_code move(const std::string& from, const std::string& to) {
        return GetParam().move(fd.get(), from, to);
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

    EXPECT_EQ(folder.names(), (std::set<std::string>{"file2", "dir2", "link2"}));
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

    EXPECT_EQ(move("a", "b"), std::errc::file_exists);
    EXPECT_EQ(move("a", "empty"), std::errc::file_exists);
    EXPECT_EQ(move("empty2", "empty"), std::errc::file_exists);
    EXPECT_EQ(move("full", "b"), std::errc::file_exists);

    EXPECT_EQ(folder.names(), (std::set<std::string>{"a", "b", "full", "empty", "empty2"}));
    EXPECT_EQ(folder.contentOf("a"), "a");
    EXPECT_EQ(folder.contentOf("b"), "b");
    EXPECT_EQ(folder.contentOf("full/x"), "full/x");
}

TEST_P(NoReplaceMoveTest, MissingSourceFailsAndLeavesNoPlaceholder) {
    EXPECT_EQ(move("ghost", "target"), std::errc::no_such_file_or_directory);
    EXPECT_TRUE(folder.names().empty());
}

INSTANTIATE_TEST_SUITE_P(BothPaths, NoReplaceMoveTest,
                         ::testing::Values(MoveCase{"kernelFlag", moveNoReplace},
                                           MoveCase{"fallback", moveWithoutRenameFlag}),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace brindleaf
