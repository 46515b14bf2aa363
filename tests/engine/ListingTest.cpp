#include "engine/Listing.hpp"
#include "engine/Plan.hpp"
#include "support/FaultyFileSystem.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

namespace brindleaf {
namespace {

using Names = std::vector<std::string>;
using testing::FaultyFileSystem;
using testing::TemporaryFolder;

TEST(Listing, EmptyTargetDirListsNothingAndTouchesNothing) {
    FaultyFileSystem fileSystem;
    const auto names = listFileNames(Settings{}, fileSystem);
    ASSERT_TRUE(names);
    EXPECT_TRUE(names->names.empty());
    EXPECT_EQ(fileSystem.opens, 0U);
}

TEST(Listing, DropsOnlyTheExactFinderFileAndListsOneLevel) {
    TemporaryFolder folder;
    for (const char* name : {"b.txt", ".hidden", ".DS_Store", ".ds_store", ".DS_Store2"}) {
        folder.addFile(name);
    }
    folder.addFolder("sub");
    folder.addFile("sub/.DS_Store");
    folder.addFile("sub/deeper");

    Settings settings;
    settings.targetDir = folder.path();
    PosixFileSystem fileSystem;
    const auto names = listFileNames(settings, fileSystem);
    ASSERT_TRUE(names);
    EXPECT_EQ(names->names, (Names{".DS_Store2", ".ds_store", ".hidden", "b.txt", "sub"}));
    EXPECT_EQ(names->folders, (std::vector<std::uint8_t>{0, 0, 0, 0, 1}));
}

TEST(Listing, PathsWithDotsOrDoubledSeparatorsListTheSameFolder) {
    TemporaryFolder folder;
    folder.addFolder("inner");
    folder.addFile("inner/one");
    folder.addFile("inner/two");

    PosixFileSystem fileSystem;
    for (const std::string& path :
         {folder.pathOf("inner"), folder.pathOf("inner/"), folder.pathOf("./inner"),
          folder.path() + "//inner", folder.pathOf("inner/../inner/."),
          folder.pathOf("gone/../inner")}) {
        Settings settings;
        settings.targetDir = path;
        const auto names = listFileNames(settings, fileSystem);
        ASSERT_TRUE(names) << path << ": " << names.error().code.message();
        EXPECT_EQ(names->names, (Names{"one", "two"})) << path;
    }
}

TEST(Listing, UnreadableTargetsFailWithTheirPathAndCode) {
    TemporaryFolder folder;
    folder.addFile("plain");
    PosixFileSystem fileSystem;

    Settings settings;
    settings.targetDir = folder.pathOf("plain");
    auto names = listFileNames(settings, fileSystem);
    ASSERT_FALSE(names);
    EXPECT_EQ(names.error().code, std::errc::not_a_directory);
    EXPECT_EQ(names.error().kind, ErrorKind::CannotReadFolder);
    EXPECT_EQ(names.error().path, folder.pathOf("plain"));

    settings.targetDir = folder.pathOf("gone");
    names = listFileNames(settings, fileSystem);
    ASSERT_FALSE(names);
    EXPECT_EQ(names.error().code, std::errc::no_such_file_or_directory);
}

} // namespace
} // namespace brindleaf
