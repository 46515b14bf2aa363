#include "engine/Listing.hpp"
#include "engine/Plan.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

namespace brindleaf {
namespace {

using Names = std::vector<std::string>;
using testing::TemporaryFolder;

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
    const auto opened = planFolder(fileSystem, settings);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->plan.names, (Names{".DS_Store2", ".ds_store", ".hidden", "b.txt", "sub"}));
    EXPECT_EQ(opened->plan.folders, (std::vector<std::uint8_t>{0, 0, 0, 0, 1}));
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
        const auto opened = planFolder(fileSystem, settings);
        ASSERT_TRUE(opened) << path << ": " << opened.error().code.message();
        EXPECT_EQ(opened->plan.names, (Names{"one", "two"})) << path;
    }
}

} // namespace
} // namespace brindleaf
