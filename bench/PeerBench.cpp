// Renames fresh folders of the same shuffled names with brindleaf-cli, mmv and perl rename,
// interleaved, and prints each one's median wall and CPU time. Each renames every entry
// once: Brindleaf numbers them, the peers put a prefix before each name.
//
//   brindleaf-peer-bench BRINDLEAF_CLI FOLDER N [N...]
#include "bench/BenchFolder.hpp"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace brindleaf::bench {
namespace {

constexpr int rounds = 3;

struct Peer {
    const char* name;
    // The command, run inside the folder; "{cli}" stands for brindleaf-cli.
    std::vector<std::string> command;
};

struct Times {
    std::vector<double> wall;
    std::vector<double> cpu;
};

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// Runs `command` in `folder`; the wall time and the CPU time of it and its children.
std::pair<double, double> timed(const std::vector<std::string>& command, const std::string& folder,
                                const std::string& state) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(folder.c_str()) != 0) {
            std::_Exit(126);
        }
        ::setenv("XDG_STATE_HOME", state.c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& part : command) {
            argv.push_back(const_cast<char*>(part.c_str()));
        }
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", command[0].c_str());
        std::exit(1);
    }
    return {wall, seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

double median(std::vector<double> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

void benchPeers(const std::string& cli, const std::string& base, std::size_t entries) {
    const std::vector<Peer> peers = {
        {"brindleaf-cli --apply", {cli, "--apply", "--quiet", "--prefix", "x", "."}},
        {"mmv -r -p '*' 'x#1'", {"mmv", "-r", "-p", "*", "x#1"}},
        {"perl rename 's/^/x/'",
         {"sh", "-c", "find . -mindepth 1 -maxdepth 1 -printf '%P\\0' | rename -0 's/^/x/'"}},
    };
    const std::string state = base + "/brindleaf-peer-bench-state";
    std::vector<Times> times(peers.size());
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t turn = 0; turn < peers.size(); ++turn) {
            const std::size_t peer = (turn + static_cast<std::size_t>(round)) % peers.size();
            const BenchFolder folder(base, entries, true);
            const auto [wall, cpu] = timed(peers[peer].command, folder.path(), state);
            times[peer].wall.push_back(wall);
            times[peer].cpu.push_back(cpu);
        }
    }
    std::filesystem::remove_all(state);
    for (std::size_t peer = 0; peer < peers.size(); ++peer) {
        std::printf("%-10zu %-34s %9.1f ms wall %9.1f ms CPU\n", entries, peers[peer].name,
                    median(times[peer].wall) * 1e3, median(times[peer].cpu) * 1e3);
    }
    std::fflush(stdout);
}

} // namespace
} // namespace brindleaf::bench

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: brindleaf-peer-bench BRINDLEAF_CLI FOLDER N [N...]\n");
        return 2;
    }
    const std::string cli = std::filesystem::absolute(argv[1]).string();
    std::printf("Folders under %s; medians of %d interleaved runs, a fresh folder each.\n", argv[2],
                brindleaf::bench::rounds);
    for (int i = 3; i < argc; ++i) {
        brindleaf::bench::benchPeers(cli, argv[2], std::stoul(argv[i]));
    }
    return 0;
}
