#include "platform/PosixFileSystem.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace brindleaf {
namespace {

using testing::TemporaryFolder;

TEST(PosixFileSystemTest, ReadsRawBytesAndCanReadTheSameFolderTwice) {
    TemporaryFolder folder;
    const std::string latin1Name = "caf\xE9"; // not valid UTF-8
    folder.addFile(latin1Name);
    folder.addFile(".hidden");
    folder.addFolder("sub");

    PosixFileSystem fileSystem;
    const auto fd = fileSystem.openFolder(folder.path());
    ASSERT_TRUE(fd);
    for (int round = 0; round < 2; ++round) {
        auto names = fileSystem.readNames(*fd);
        ASSERT_TRUE(names);
        std::ranges::sort(*names);
        EXPECT_EQ(*names, (std::vector<std::string>{".hidden", latin1Name, "sub"}));
    }
}

TEST(PosixFileSystemTest, OpeningAFileOrAMissingPathFailsWithTheSystemsCode) {
    TemporaryFolder folder;
    folder.addFile("plain");
    PosixFileSystem fileSystem;

    EXPECT_EQ(fileSystem.openFolder(folder.pathOf("plain")).error(), std::errc::not_a_directory);
    EXPECT_EQ(fileSystem.openFolder(folder.pathOf("gone")).error(),
              std::errc::no_such_file_or_directory);
}

TEST(PosixFileSystemTest, LongestNameComesFromTheFileSystem) {
    TemporaryFolder folder;
    PosixFileSystem fileSystem;
    const auto fd = fileSystem.openFolder(folder.path());
    ASSERT_TRUE(fd);
    EXPECT_EQ(fileSystem.longestName(*fd), 255U);
}

} // namespace
} // namespace brindleaf
