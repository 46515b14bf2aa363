#include "cli/CliRun.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/ScriptedMoveCalls.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace brindleaf::cli {
namespace {

using testing::TemporaryFolder;
using NameSet = std::set<std::string>;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string readAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, file)) {
        text.append(buffer, n);
    }
    return text;
}

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result runCli(std::vector<std::string> args, const TemporaryFolder& state = TemporaryFolder(),
              std::unique_ptr<FileSystem> fileSystem = std::make_unique<PosixFileSystem>()) {
    const std::unique_ptr<std::FILE, FileCloser> out(std::tmpfile());
    const std::unique_ptr<std::FILE, FileCloser> err(std::tmpfile());
    const std::vector<std::string_view> views(args.begin(), args.end());
    Journals journals(JournalFolder(state.pathOf("journals")));
    const int status = runCommandLine(views, *fileSystem, journals, out.get(), err.get());
    return {status, readAll(out.get()), readAll(err.get())};
}

// Every entry stays one line for a person, whatever its name holds; --null gives scripts
// the exact bytes.
TEST(CommandLine, PreviewShowsOneLineAnEntryAndNullGivesExactBytes) {
    TemporaryFolder folder;
    for (const char* name : {"b.jpg", "caf\xE9", "a b.jpg", "x\ny", "t\t\t->\t\tu", "e\x1B[2Jf"}) {
        folder.addFile(name);
    }
    const std::vector<std::string> settings{"--prefix", "img_", "--postfix=.jpg", "--start", "abc",
                                            "--digits", "3"};
    auto args = settings;
    args.push_back(folder.path());
    const Result human = runCli(args);
    EXPECT_EQ(human.status, 0) << human.err;
    EXPECT_EQ(human.out, "a b.jpg\t\t->\t\timg_000.jpg\n"
                         "b.jpg\t\t->\t\timg_001.jpg\n"
                         "$'caf\\xE9'\t\t->\t\timg_002.jpg\n"
                         "$'e\\e[2Jf'\t\t->\t\timg_003.jpg\n"
                         "$'t\\t\\t->\\t\\tu'\t\t->\t\timg_004.jpg\n"
                         "$'x\\ny'\t\t->\t\timg_005.jpg\n");

    args.insert(args.begin(), "-0");
    const Result exact = runCli(args);
    constexpr char bytes[] = "a b.jpg\0img_000.jpg\0b.jpg\0img_001.jpg\0caf\xE9\0img_002.jpg\0"
                             "e\x1B[2Jf\0img_003.jpg\0t\t\t->\t\tu\0img_004.jpg\0x\ny\0img_005.jpg";
    EXPECT_EQ(exact.out, std::string(bytes, sizeof bytes)); // the closing NUL is the last one
    EXPECT_EQ(folder.names().size(), 6U);
    EXPECT_TRUE(folder.names().contains("x\ny"));
}

TEST(CommandLine, TogglesChangeTheOrder) {
    TemporaryFolder folder;
    for (const char* name : {"file1", "file9", "file10"}) {
        folder.addFile(name);
    }
    EXPECT_EQ(runCli({"--no-natsort", "--digits", "", folder.path()}).out,
              "file1\t\t->\t\t1\nfile10\t\t->\t\t2\nfile9\t\t->\t\t3\n");
    EXPECT_EQ(runCli({"--reverse", "--digits", "", folder.path()}).out,
              "file10\t\t->\t\t1\nfile9\t\t->\t\t2\nfile1\t\t->\t\t3\n");
}

TEST(CommandLine, KeepExtensionRenamesWithEachFilesOwnExtension) {
    TemporaryFolder folder;
    folder.addFile("b.png");
    folder.addFile("a.JPG");
    folder.addFolder("c.d");
    const Result result = runCli({"--keep-extension", "--prefix", "x", "--apply", folder.path()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(folder.names(), (NameSet{"x0001.JPG", "x0002.png", "x0003"}));
    EXPECT_EQ(folder.contentOf("x0002.png"), "b.png");
}

TEST(CommandLine, ApplySaysWhatItDidUnlessQuiet) {
    TemporaryFolder folder;
    folder.addFile("b");
    folder.addFile("a");
    const Result result = runCli({"--apply", "--postfix", ".txt", folder.path()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "brindleaf-cli: Renamed 2 entries in \"" + folder.path() + "\".\n");
    EXPECT_EQ(folder.names(), (NameSet{"0001.txt", "0002.txt"}));
    EXPECT_EQ(folder.contentOf("0001.txt"), "a");
    const Result quiet = runCli({"-q", "--apply", folder.path()});
    EXPECT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(folder.names(), (NameSet{"0001", "0002"}));
}

TEST(CommandLine, UndoGivesTheLastRunsNamesBackOnce) {
    TemporaryFolder folder;
    TemporaryFolder state;
    folder.addFile("b");
    folder.addFile("a");
    ASSERT_EQ(runCli({"--apply", folder.path()}, state).status, 0);
    const Result undone = runCli({"--undo", folder.path()}, state);
    EXPECT_EQ(undone.status, 0) << undone.err;
    EXPECT_EQ(undone.err, "brindleaf-cli: Gave 2 entries in \"" + folder.path() +
                              "\" their original names back.\n");
    EXPECT_EQ(folder.names(), (NameSet{"a", "b"}));
    EXPECT_EQ(folder.contentOf("a"), "a");
    const Result again = runCli({"--undo", folder.path()}, state);
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.starts_with("brindleaf-cli: Nothing to undo")) << again.err;
}

TEST(CommandLine, FailuresExitOneWithAMessage) {
    TemporaryFolder folder;
    folder.addFile("a");
    for (const auto& args :
         std::vector<std::vector<std::string>>{{folder.pathOf("missing")},
                                               {"--apply", folder.pathOf("missing")},
                                               {"--prefix", "x/", folder.path()},
                                               {"--apply", "--prefix", "x/", folder.path()}}) {
        const Result result = runCli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("brindleaf-cli: Cannot ")) << result.err;
    }
    EXPECT_EQ(folder.names(), NameSet{"a"});
}

// What the file system refused is said in plain words, and no temporary name shows.
TEST(CommandLine, RefusedRenameSaysWhichStepFailed) {
    TemporaryFolder folder;
    folder.addFolder("album");
    auto calls = std::make_unique<testing::ScriptedMoveCalls>();
    calls->refuseFlag = true;
    calls->refuseRenameOntoFolder = EPERM;
    const Result result = runCli({"--apply", folder.path()}, TemporaryFolder(),
                                 std::make_unique<PosixFileSystem>(std::move(calls)));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "brindleaf-cli: Cannot rename \"album\" to \"0001\": this file system "
                          "cannot rename without replacing, and it refused to move the entry onto "
                          "the empty placeholder that held its new name (Operation not "
                          "permitted). Every entry is back under its original name.\n");
    EXPECT_EQ(folder.names(), NameSet{"album"});
}

TEST(CommandLine, BadUsageExitsTwoHelpAndVersionExitZero) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"--bogus", "x"}, {"--prefix"}, {"a", "b"}, {""}}) {
        const Result result = runCli(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("Usage: brindleaf-cli"), std::string::npos);
    }
    for (const char* help : {"--help", "-h"}) {
        EXPECT_NE(runCli({help, "x"}).out.find("Usage: brindleaf-cli"), std::string::npos);
    }
    EXPECT_TRUE(runCli({"--version"}).out.starts_with("brindleaf-cli "));
}

TEST(CommandLine, DoubleDashEndsOptions) {
    // After "--", "--apply" is the name of a folder to preview, not a request to rename.
    const Result result = runCli({"--", "--apply"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "brindleaf-cli: Cannot read folder \"--apply\": No such file or directory\n");
}

} // namespace
} // namespace brindleaf::cli
