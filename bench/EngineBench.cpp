// Times each engine stage on real folders of 10,000 to 1,000,000 entries (tmpfs by default),
// beside the plainest code that could do the same work with the same system calls.
//
//   brindleaf-bench [FOLDER [N...]]
#include "bench/BenchFolder.hpp"
#include "bench/Report.hpp"
#include "engine/Execution.hpp"
#include "engine/Listing.hpp"
#include "engine/Ordering.hpp"
#include "engine/Plan.hpp"
#include "platform/PosixFileSystem.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace brindleaf::bench {
namespace {

constexpr int rounds = 3;

// getdents64 straight into a vector of names: the least any listing can do.
std::vector<std::string> rawListing(const std::string& path) {
    const UniqueFd folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::vector<std::string> names;
    alignas(8) static char buffer[1 << 16];
    for (;;) {
        const long read = ::syscall(SYS_getdents64, folder.get(), buffer, sizeof buffer);
        if (read <= 0) {
            break;
        }
        for (long offset = 0; offset < read;) {
            struct Record {
                std::uint64_t inode;
                std::int64_t next;
                unsigned short length;
                unsigned char type;
                char name[1];
            };
            const auto* record = reinterpret_cast<const Record*>(buffer + offset);
            const std::string_view name(record->name);
            if (name != "." && name != "..") {
                names.emplace_back(name);
            }
            offset += record->length;
        }
    }
    return names;
}

struct Keyed {
    std::string key;
    std::uint32_t index;
};

std::vector<Keyed> precomputedKeys(const std::vector<std::string>& names,
                                   const Settings& settings) {
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        keyed.push_back({sortKey(names[i], settings), static_cast<std::uint32_t>(i)});
    }
    return keyed;
}

// The moves as plain renameat2 calls, one an entry, in the order the run takes them up:
// what any renamer must do when no new name is another entry's current name, as in these
// runs.
void rawMoves(const std::string& path, const FolderPlan& plan, const std::vector<std::string>& to) {
    const UniqueFd folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const std::uint32_t i : plan.moveOrder) {
        ::renameat2(folder.get(), plan.names[i].c_str(), folder.get(), to[i].c_str(),
                    RENAME_NOREPLACE);
    }
}

// A benchmarked run must rename every entry; anything else ends the benchmark.
void expectRenamed(const RunReport& report) {
    for (const Error& failure : report.failures) {
        std::fprintf(stderr, "failure: %s\n", failure.code.message().c_str());
    }
    if (report.outcome != RunOutcome::Renamed) {
        std::abort();
    }
}

OpenedPlan freshPlan(PosixFileSystem& fileSystem, const Settings& settings) {
    return std::move(*planFolder(fileSystem, settings));
}

void benchListingOrderingPlan(std::size_t entries, const Settings& settings) {
    PosixFileSystem fileSystem;
    const double rawList =
        bestOf(rounds, [&] { return secondsOf([&] { rawListing(settings.targetDir); }); });
    const double list = bestOf(rounds, [&] {
        return secondsOf([&] {
            const auto folder = openTargetFolder(fileSystem, settings.targetDir);
            auto entries = fileSystem.readEntries(*folder);
            std::erase(entries->names, finderMetadataName);
        });
    });
    printRow(entries, "listing", list, "getdents64 loop", rawList);

    const std::vector<std::string> listed = rawListing(settings.targetDir);
    const std::vector<Keyed> keys = precomputedKeys(listed, settings);
    const double rawSort = bestOf(rounds, [&] {
        std::vector<Keyed> copy = keys;
        return secondsOf([&] {
            std::stable_sort(copy.begin(), copy.end(),
                             [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
        });
    });
    const double order = bestOf(rounds, [&] {
        std::vector<std::string> copy = listed;
        return secondsOf([&] { sortFileNames(copy, settings); });
    });
    printRow(entries, "ordering (keys + stable sort)", order, "stable_sort, keys ready", rawSort);

    std::vector<std::string> sorted = listed;
    sortFileNames(sorted, settings);
    const double check = bestOf(rounds, [&] {
        return secondsOf([&] {
            const NameFormat format(settings);
            if (findUnusableName(sorted, {}, Arrangement{}, format, 255)) {
                std::abort();
            }
        });
    });
    printRow(entries, "plan (format + check of every name)", check);
    const double build = bestOf(rounds, [&] {
        return secondsOf([&] {
            const NameFormat format(settings);
            std::size_t bytes = 0;
            for (std::size_t i = 0; i < sorted.size(); ++i) {
                bytes += format.renamedAt(i)->size();
            }
            if (bytes == 0) {
                std::abort();
            }
        });
    });
    printRow(entries, "  every new name built", build);

    const double whole = bestOf(rounds, [&] {
        return secondsOf([&] { const OpenedPlan checked = freshPlan(fileSystem, settings); });
    });
    printRow(entries, "listing + ordering + plan", whole, "raw listing + raw sort",
             rawList + rawSort);
}

// A folder of journals beside the renamed folder, on the same file system, removed after.
class BenchJournals {
public:
    explicit BenchJournals(const std::string& renamed)
        : path_(renamed + "-journals"), journals_(JournalFolder(path_)) {}
    ~BenchJournals() { std::filesystem::remove_all(path_); }
    BenchJournals(const BenchJournals&) = delete;
    BenchJournals& operator=(const BenchJournals&) = delete;

    Journals& journals() { return journals_; }
    [[nodiscard]] std::uintmax_t newestSize() const {
        const auto names = journals_.folder().names();
        return names && !names->empty() ? std::filesystem::file_size(path_ + "/" + names->front())
                                        : 0;
    }

private:
    std::string path_;
    Journals journals_;
};

void benchExecution(std::size_t entries, Settings settings) {
    PosixFileSystem fileSystem;
    ProceedAlways proceed;
    BenchJournals journals(settings.targetDir);
    // Every run switches the prefix, so that each one moves every entry of the same folder.
    std::size_t runs = 0;
    const auto nextSettings = [&] {
        settings.prefix = runs++ % 2 == 0 ? "trip_" : "tour_";
        return settings;
    };
    double raw = 1e300;
    double moves = 1e300;
    double journalled = 1e300;
    // Interleaved, so that all three meet the folder in the same state. A run's time starts
    // with its plan in hand.
    for (int round = 0; round < 2; ++round) {
        {
            const FolderPlan plan = freshPlan(fileSystem, nextSettings()).plan;
            std::vector<std::string> finals;
            for (std::size_t i = 0; i < plan.names.size(); ++i) {
                finals.push_back(plan.newNameAt(i));
            }
            raw = std::min(raw, secondsOf([&] { rawMoves(settings.targetDir, plan, finals); }));
        }
        {
            const OpenedPlan opened = freshPlan(fileSystem, nextSettings());
            moves = std::min(
                moves, secondsOf([&] {
                    expectRenamed(renameInFolder(fileSystem, opened.folder, opened.plan, proceed));
                }));
        }
        {
            const OpenedPlan opened = freshPlan(fileSystem, nextSettings());
            journalled =
                std::min(journalled, secondsOf([&] {
                             expectRenamed(renameJournalled(fileSystem, opened, settings.targetDir,
                                                            journals.journals(), proceed));
                         }));
        }
    }
    printRow(entries, "execution (ordered moves)", moves, "N renameat2 loop", raw);
    printRow(entries, "execution + journal + flush", journalled, "execution (ordered moves)",
             moves);
    printMemory(entries, "journal on disk", static_cast<long>(journals.newestSize() / 1024));
    const Settings last = nextSettings();
    const double whole =
        secondsOf([&] { renameFiles(last, fileSystem, journals.journals(), proceed); });
    printRow(entries, "renameFiles, listing to last move", whole);
}

void benchSize(const std::string& base, std::size_t entries) {
    const BenchFolder folder(base, entries);
    Settings settings;
    settings.targetDir = folder.path();
    settings.prefix = "trip_";
    settings.postfix = ".jpg";
    settings.digits = "7";
    benchListingOrderingPlan(entries, settings);
    benchExecution(entries, settings);
}

} // namespace
} // namespace brindleaf::bench

int main(int argc, char** argv) {
    using namespace brindleaf::bench;
    const std::string base = argc > 1 ? argv[1] : "/dev/shm";
    std::vector<std::size_t> sizes = {10'000, 100'000, 1'000'000};
    if (argc > 2) {
        sizes.clear();
        for (int i = 2; i < argc; ++i) {
            sizes.push_back(std::stoul(argv[i]));
        }
    }
    std::printf("Folders under %s; times are the best of several runs.\n\n", base.c_str());
    printHeader();
    for (const std::size_t entries : sizes) {
        // Each size runs in a child of its own, so its peak memory is its own.
        std::fflush(stdout);
        const pid_t child = ::fork();
        if (child == 0) {
            benchSize(base, entries);
            std::_Exit(0);
        }
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "benchmark of %zu entries failed\n", entries);
            return 1;
        }
        printMemory(entries, "peak resident memory", usage.ru_maxrss);
    }
    return 0;
}
