#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using brindleaf::testing::TemporaryFolder;

// Starts the real brindleaf-cli with its journals under `state` and its messages in `err`.
pid_t startCli(const std::vector<std::string>& args, const std::string& state,
               const std::string& err) {
    const pid_t child = ::fork();
    if (child == 0) {
        // At the lowest priority, so that the test notices the run and signals it long before
        // it could end, however busy the machine is.
        ::setpriority(PRIO_PROCESS, 0, 19);
        ::setenv("XDG_STATE_HOME", state.c_str(), 1);
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(errFd, STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>(BRINDLEAF_CLI)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(BRINDLEAF_CLI, argv.data());
        ::_exit(127);
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
    for (int i = 0; i < 40'000; ++i) {
        const std::string name = "IMG_" + std::to_string(i) + ".JPG";
        folder.addFile(name);
        originals.insert(name);
    }
    const std::string err = state.pathOf("err");
    const pid_t cli = startCli({"--apply", "--prefix", "trip_", folder.path()}, state.path(), err);
    while (!journalWritten(state.pathOf("brindleaf"))) {
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

} // namespace
