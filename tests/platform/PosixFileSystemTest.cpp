#include "platform/PosixFileSystem.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

namespace brindleaf {
namespace {

using testing::TemporaryFolder;

TEST(PosixFileSystemTest, ReadsRawBytesWithInodesAndCanReadTheSameFolderTwice) {
    TemporaryFolder folder;
    const std::string latin1Name = "caf\xE9"; // not valid UTF-8
    folder.addFile(latin1Name);
    folder.addFile(".hidden");
    folder.addFolder("sub");

    PosixFileSystem fileSystem;
    const auto fd = fileSystem.openFolder(folder.path());
    ASSERT_TRUE(fd);
    for (int round = 0; round < 2; ++round) {
        auto entries = fileSystem.readEntries(*fd);
        ASSERT_TRUE(entries);
        ASSERT_EQ(entries->inodes.size(), entries->names.size());
        for (std::size_t i = 0; i < entries->names.size(); ++i) {
            struct stat status {};
            ASSERT_EQ(::lstat(folder.pathOf(entries->names[i]).c_str(), &status), 0);
            EXPECT_EQ(entries->inodes[i], status.st_ino) << entries->names[i];
        }
        std::ranges::sort(entries->names);
        EXPECT_EQ(entries->names, (std::vector<std::string>{".hidden", latin1Name, "sub"}));
    }
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
