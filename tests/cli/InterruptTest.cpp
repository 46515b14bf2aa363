#include "cli/CliRun.hpp"
#include "cli/CliRunner.hpp"
#include "support/FaultyFileSystem.hpp"
#include "support/ForwardingFileSystem.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

namespace brindleaf::cli {
namespace {

using testing::TemporaryFolder;

// Runs the command line in a child process, over a file system whose every move takes a
// while, so that a run lasts long enough to be signalled; its messages go to `err`.
pid_t startSlowCli(const std::vector<std::string>& args, const std::string& journalFolder,
                   const std::string& err) {
    const pid_t child = ::fork();
    if (child == 0) {
        testing::FaultyFileSystem slow(std::chrono::milliseconds(2));
        Journals journals{JournalFolder(journalFolder)};
        std::FILE* messages = std::fopen(err.c_str(), "w");
        const std::vector<std::string_view> views(args.begin(), args.end());
        const int status = runCommandLine(views, slow, journals, stdout, messages);
        std::fclose(messages);
        ::_exit(status);
    }
    return child;
}

// True once a journal has been put in place: the run's first move is about to happen.
bool journalWritten(const std::string& journals) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(journals, ignored)) {
        if (entry.path().extension() == ".journal") {
            return true;
        }
    }
    return false;
}

TEST(Interrupt, CtrlCDuringARunPutsEveryNameBackEvenWhenPressedTwice) {
    TemporaryFolder folder;
    TemporaryFolder state;
    std::set<std::string> originals;
    for (int i = 0; i < 500; ++i) {
        const std::string name = "IMG_" + std::to_string(i) + ".JPG";
        folder.addFile(name);
        originals.insert(name);
    }
    const std::string err = state.pathOf("err");
    const pid_t cli = startSlowCli({"--apply", "--prefix", "trip_", folder.path()},
                                   state.pathOf("journals"), err);
    while (!journalWritten(state.pathOf("journals"))) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ::kill(cli, SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ::kill(cli, SIGINT);
    int status = 0;
    ::waitpid(cli, &status, 0);

    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGINT);
    EXPECT_EQ(folder.names(), originals);
    EXPECT_EQ(folder.contentOf("IMG_7.JPG"), "IMG_7.JPG");
    std::ifstream messages(err);
    const std::string text{std::istreambuf_iterator<char>(messages), {}};
    EXPECT_NE(text.find("Every entry is back under its original name"), std::string::npos) << text;
}

// Stopped part way, an undo keeps the names it gave back, says how many, and ends as a
// signal ends a program; the next undo gives back the rest.
TEST(Interrupt, SignalDuringAnUndoKeepsWhatItGaveBackAndSaysHowMuch) {
    TemporaryFolder folder;
    TemporaryFolder state;
    std::set<std::string> originals;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "IMG_" + std::to_string(i) + ".JPG";
        folder.addFile(name);
        originals.insert(name);
    }
    const std::string err = state.pathOf("err");
    const std::string journals = state.pathOf("journals");
    int status = 0;
    const pid_t run = startSlowCli({"--apply", "--prefix", "trip_", folder.path()}, journals, err);
    ASSERT_EQ(::waitpid(run, &status, 0), run);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const pid_t undo = startSlowCli({"--undo", folder.path()}, journals, err);
    const auto namesBack = [&] {
        std::size_t back = 0;
        for (const std::string& name : folder.names()) {
            back += originals.contains(name) ? 1 : 0;
        }
        return back;
    };
    while (namesBack() < 20) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ::kill(undo, SIGTERM);
    ASSERT_EQ(::waitpid(undo, &status, 0), undo);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
    const std::size_t back = namesBack();
    EXPECT_LT(back, originals.size());
    EXPECT_GE(back, 20U);
    std::ifstream messages(err);
    const std::string text{std::istreambuf_iterator<char>(messages), {}};
    EXPECT_NE(
        text.find("The undo was stopped. " + std::to_string(back) + " of 300 entries are back"),
        std::string::npos)
        << text;

    const pid_t rest = startSlowCli({"--undo", folder.path()}, journals, err);
    ASSERT_EQ(::waitpid(rest, &status, 0), rest);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(folder.names(), originals);
    EXPECT_EQ(folder.contentOf("IMG_7.JPG"), "IMG_7.JPG");
}

// The real file system, except that a signal arrives as the folder is flushed: after an
// undo's last move, too late for it to stop anything.
class SignalAtFlush final : public testing::ForwardingFileSystem {
public:
    explicit SignalAtFlush(int signal) : signal_(signal) {}
    std::error_code flush(const UniqueFd& folder) override {
        ::raise(signal_);
        return ForwardingFileSystem::flush(folder);
    }

private:
    int signal_;
};

// A signal that comes after an undo's last move changes nothing: the undo did all it
// could, and its status says what that was, as it would have a moment earlier: 0 when every
// name is back, 1 when an entry changed since the run was left alone.
TEST(Interrupt, SignalAfterAnUndoEndedLeavesItsStatusAsItWas) {
    for (const bool entryChanged : {false, true}) {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            SCOPED_TRACE(std::to_string(signal) + (entryChanged ? " entry changed" : ""));
            TemporaryFolder folder;
            TemporaryFolder state;
            for (const char* name : {"a", "b", "c"}) {
                folder.addFile(name);
            }
            ASSERT_EQ(runCli({"--apply", folder.path()}, state).status, 0);
            if (entryChanged) {
                std::filesystem::remove(folder.pathOf("0002"));
                folder.addFile("0002");
            }
            const CliResult undone =
                runCli({"--undo", folder.path()}, state, std::make_unique<SignalAtFlush>(signal));
            EXPECT_EQ(undone.status, entryChanged ? 1 : 0) << undone.err;
            const std::set<std::string> expected = entryChanged
                                                       ? std::set<std::string>{"a", "0002", "c"}
                                                       : std::set<std::string>{"a", "b", "c"};
            EXPECT_EQ(folder.names(), expected);
            EXPECT_EQ(undone.err.find("stopped"), std::string::npos) << undone.err;
        }
    }
}

} // namespace
} // namespace brindleaf::cli
