#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace brindleaf::cli {
namespace {

using testing::TemporaryFolder;

std::string contentsOf(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The real brindleaf-cli, its journals under `stateHome`, its messages into `output`.
pid_t startCli(const std::vector<std::string>& args, const std::string& stateHome,
               const std::string& output) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
        const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(out, STDERR_FILENO);
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

int exitStatusOf(pid_t child) {
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// How many recorded runs of the folder --history lists in each state.
std::map<std::string, int> runsByState(const std::string& folder, const TemporaryFolder& state) {
    const std::string output = state.pathOf("history");
    EXPECT_EQ(exitStatusOf(startCli({"--history", folder}, state.path(), output)), 0);
    std::map<std::string, int> counts;
    std::istringstream lines(contentsOf(output));
    for (std::string line; std::getline(lines, line);) {
        // "<when>  <how many> entries  <state>[  (can be undone)]"
        const std::size_t start = line.find(" entries  ") + 10;
        ++counts[line.substr(start, line.find("  ", start) - start)];
    }
    return counts;
}

// Runs and undos of one folder started all at once, several times over: none may take
// another's moment to check the folder, so no name is lost, none is left temporary, and
// what each one's exit status says is what the journals say.
TEST(ConcurrentProcesses, RunsAndUndosStartedTogetherEachDoAllOrNothing) {
    TemporaryFolder folder;
    TemporaryFolder state;
    std::set<std::string> originals;
    for (int i = 0; i < 300; ++i) {
        originals.insert("IMG_" + std::to_string(i) + ".JPG");
        folder.addFile("IMG_" + std::to_string(i) + ".JPG");
    }
    ASSERT_EQ(exitStatusOf(startCli({"--apply", "--prefix", "p0_", folder.path()}, state.path(),
                                    state.pathOf("first"))),
              0);
    int runsRecorded = 1;
    int undosDone = 0;
    std::set<std::string> prefixesApplied{"p0_"};
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        struct Started {
            std::string prefix; // empty for an undo
            pid_t pid;
            std::string output;
        };
        std::vector<Started> started;
        for (const std::string prefix : {"a", "", "b", "", "c"}) {
            const std::string tag = prefix.empty() ? "" : prefix + std::to_string(round) + "_";
            const std::string output = state.pathOf("out" + std::to_string(started.size()));
            const std::vector<std::string> args =
                tag.empty() ? std::vector<std::string>{"--undo", folder.path()}
                            : std::vector<std::string>{"--apply", "--prefix", tag, folder.path()};
            started.push_back({tag, startCli(args, state.path(), output), output});
        }
        for (const Started& one : started) {
            const int status = exitStatusOf(one.pid);
            const std::string said = contentsOf(one.output);
            EXPECT_TRUE(status == 0 || status == 1) << status << said;
            if (!one.prefix.empty() && status == 0) {
                ++runsRecorded;
                prefixesApplied.insert(one.prefix);
                EXPECT_NE(said.find("Renamed 300 entries"), std::string::npos) << said;
            }
            if (one.prefix.empty() && status == 0) {
                ++undosDone;
            }
        }

        // Every file is there once, under an original name or under its number from one run.
        const std::set<std::string> names = folder.names();
        ASSERT_EQ(names.size(), originals.size());
        std::set<std::string> contents;
        for (const std::string& name : names) {
            contents.insert(contentsOf(folder.pathOf(name)));
        }
        EXPECT_EQ(contents, originals);
        const std::map<std::string, int> runs = runsByState(folder.path(), state);
        const int finished = runs.contains("finished") ? runs.at("finished") : 0;
        const int undone = runs.contains("undone") ? runs.at("undone") : 0;
        int listed = 0;
        for (const auto& [kind, count] : runs) {
            listed += count;
        }
        // No run was left interrupted, in progress or damaged.
        EXPECT_EQ(finished + undone, listed);
        EXPECT_EQ(finished + undone, runsRecorded);
        EXPECT_EQ(undone, undosDone);

        if (finished == 0) {
            EXPECT_EQ(names, originals);
        } else {
            const std::string prefix = names.begin()->substr(0, 3);
            EXPECT_TRUE(prefixesApplied.contains(prefix)) << *names.begin();
            EXPECT_TRUE(std::ranges::all_of(
                names, [&](const std::string& name) { return name.starts_with(prefix); }))
                << *names.begin() << " " << *names.rbegin();
        }
    }
}

} // namespace
} // namespace brindleaf::cli
