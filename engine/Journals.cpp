#include "engine/Journals.hpp"

#include "engine/TwoHalves.hpp"

#include <ctime>
#include <filesystem>
#include <unordered_map>
#include <utility>

namespace brindleaf {

namespace {

// Journals name folders by absolute path, so a run started from one working directory can
// be found from another.
std::string absolutePath(const std::string& path) {
    std::error_code ignored;
    const auto absolute = std::filesystem::absolute(path, ignored);
    std::string normal =
        (absolute.empty() ? std::filesystem::path(path) : absolute).lexically_normal().string();
    if (normal.size() > 1 && normal.ends_with('/')) {
        normal.pop_back();
    }
    return normal;
}

// Now, to the nanosecond. The kernel stamps a new file with a clock that never runs ahead
// of this one, though it may lag it by a tick; so every entry that existed when the run
// began was born at or before this time.
std::int64_t fileClockNow() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Below this many entries a second thread costs more than it saves.
constexpr std::size_t entriesWorthASecondThread = 50'000;

std::error_code stampRange(FileSystem& fileSystem, const UniqueFd& folder,
                           std::span<const std::string> names, std::span<EntryStamp> stamps) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto stamp = fileSystem.stamp(folder, names[i]);
        if (!stamp) {
            return stamp.error();
        }
        stamps[i] = *stamp;
    }
    return {};
}

// Every entry's stamp, the halves on two threads for a large folder: one system call per
// entry is the journal's largest cost.
std::expected<std::vector<EntryStamp>, std::error_code>
stampAll(FileSystem& fileSystem, const UniqueFd& folder, std::span<const std::string> names) {
    std::vector<EntryStamp> stamps(names.size());
    std::error_code failures[2];
    inTwoHalves(names.size(), entriesWorthASecondThread, [&](std::size_t begin, std::size_t end) {
        failures[begin == 0 ? 0 : 1] =
            stampRange(fileSystem, folder, names.subspan(begin, end - begin),
                       std::span(stamps).subspan(begin, end - begin));
    });
    if (failures[0] || failures[1]) {
        return std::unexpected(failures[0] ? failures[0] : failures[1]);
    }
    return stamps;
}

// Where inode numbers last, the folder is known by them wherever it has moved since, and
// when its disk comes back as another device, by its file system's identity or, without
// one, its path. Elsewhere only the path is left. A folder born after the run began only
// reuses a freed number or a path.
bool sameFolder(const JournalHead& head, const std::string& folderPath,
                const FolderIdentity& folder) {
    if (folder.bornNanoseconds != 0 && folder.bornNanoseconds > head.startedNanoseconds) {
        return false;
    }
    if (!head.folder.inodesAreStable) {
        return head.folderPath == absolutePath(folderPath);
    }
    if (head.folder.inode != folder.inode) {
        return false;
    }
    if (head.folder.device == folder.device) {
        return true;
    }
    if (head.folder.volume != 0 && folder.volume != 0) {
        return head.folder.volume == folder.volume;
    }
    return head.folderPath == absolutePath(folderPath);
}

// Journals that belong to one folder share this, whichever device its disk came back as.
std::string folderKey(const JournalHead& head) {
    if (!head.folder.inodesAreStable) {
        return "p" + head.folderPath;
    }
    const std::uint64_t where = head.folder.volume != 0 ? head.folder.volume : head.folder.device;
    return std::to_string(where) + ":" + std::to_string(head.folder.inode);
}

LastRunState stateOf(const JournalHead& head, bool inUse) {
    if (head.stateDamaged) {
        return LastRunState::Damaged;
    }
    switch (head.state) {
    case RunState::Finished:
        return LastRunState::Finished;
    case RunState::Undone:
        return LastRunState::Undone;
    case RunState::Running:
    case RunState::Undoing:
        return inUse ? LastRunState::InProgress : LastRunState::Interrupted;
    }
    return LastRunState::Interrupted;
}

bool ended(const JournalHead& head) {
    return !head.stateDamaged &&
           (head.state == RunState::Finished || head.state == RunState::Undone);
}

} // namespace

// Calls `visit` with each run of the folder, newest first, until it returns false. The
// entries and their checksum are read only when a run is undone.
template <typename Visit>
void Journals::visitRunsOf(const std::string& folderPath, const FolderIdentity& folder,
                           Visit visit) const {
    folder_.visitHeads(journalHeadBytes, [&](const JournalPeek& journal) {
        const auto head = decodeJournalHead(journal.bytes);
        // A journal whose folder cannot be read cannot be matched to one; it belongs
        // to no folder rather than blocking every folder.
        if (!head || !sameFolder(*head, folderPath, folder)) {
            return true;
        }
        return visit(LastRun{stateOf(*head, journal.inUse()), journal.name, head->entryCount,
                             head->startedNanoseconds});
    });
}

LastRun Journals::lastRunOf(const std::string& folderPath, const FolderIdentity& folder) const {
    LastRun last;
    visitRunsOf(folderPath, folder, [&](LastRun run) {
        if (last.state == LastRunState::None || run.state != LastRunState::Undone) {
            last = std::move(run);
        }
        return last.state == LastRunState::Undone;
    });
    return last;
}

std::vector<PastRun> Journals::historyOf(const std::string& folderPath,
                                         const FolderIdentity& folder) const {
    std::vector<PastRun> runs;
    bool reachable = true;
    visitRunsOf(folderPath, folder, [&](LastRun run) {
        reachable = reachable && run.state != LastRunState::Damaged &&
                    run.state != LastRunState::InProgress;
        const bool undoable = reachable && run.state != LastRunState::Undone;
        runs.push_back({std::move(run), undoable});
        return true;
    });
    return runs;
}

std::expected<JournalFile, std::error_code>
Journals::record(FileSystem& fileSystem, const UniqueFd& folder, const std::string& folderPath,
                 std::span<const std::string> originals, std::span<const std::string> renamed,
                 std::span<const std::uint64_t> inodes) {
    const auto identity = fileSystem.identify(folder);
    if (!identity) {
        return std::unexpected(identity.error());
    }
    // Where inode numbers identify entries, the birth times checked at undo do the rest,
    // and the run need not look at every entry.
    std::vector<EntryStamp> stamps;
    if (!identity->inodesAreStable) {
        auto taken = stampAll(fileSystem, folder, originals);
        if (!taken) {
            return std::unexpected(taken.error());
        }
        stamps = std::move(*taken);
    }
    // A journal cut short by a full disk must not keep the disk full for the next run.
    folder_.removeAbandoned();
    auto journal = folder_.create();
    if (!journal) {
        return std::unexpected(journal.error());
    }
    JournalEncoder encoder(*journal, absolutePath(folderPath), *identity, fileClockNow(),
                           originals.size());
    for (std::size_t i = 0; i < originals.size(); ++i) {
        encoder.add(originals[i], renamed[i], inodes[i], stamps.empty() ? EntryStamp{} : stamps[i]);
    }
    encoder.finish();
    if (const auto code = journal->commit()) {
        journal->discard();
        return std::unexpected(code);
    }
    prune(journal->name());
    return journal;
}

void Journals::forget(const JournalFile& journal) const {
    static_cast<void>(folder_.remove(journal.name()));
}

std::expected<RunRecord, JournalProblem> Journals::load(const std::string& name) const {
    const auto bytes = folder_.read(name);
    if (!bytes) {
        return std::unexpected(JournalProblem::Unreadable);
    }
    return decodeJournal(*bytes);
}

std::error_code Journals::keepOnly(JournalFile& journal, const RunRecord& record,
                                   std::span<const std::size_t> positions, RunState state,
                                   std::span<const std::string> undoSuffixes) const {
    auto replacement = journal.replacement();
    if (!replacement) {
        return replacement.error();
    }
    JournalEncoder encoder(*replacement, record.head.folderPath, record.head.folder,
                           record.head.startedNanoseconds, positions.size(), state, undoSuffixes);
    for (const std::size_t i : positions) {
        const JournalEntry& entry = record.entries[i];
        encoder.add(entry.original, entry.renamed, entry.inode, entry.stamp);
    }
    encoder.finish();
    if (const auto code = replacement->commit()) {
        replacement->discard();
        return code;
    }
    journal = std::move(*replacement);
    return {};
}

void Journals::prune(const std::string& newest) const {
    std::unordered_map<std::string, std::size_t> runsSeen;
    std::vector<std::pair<std::string, std::uint64_t>> removable; // newest first, with sizes
    std::uint64_t total = 0;
    folder_.visitHeads(journalHeadBytes, [&](const JournalPeek& journal) {
        const auto head = decodeJournalHead(journal.bytes);
        const bool prunable = head && ended(*head) && journal.name != newest;
        if (prunable && ++runsSeen[folderKey(*head)] > limits_.runsPerFolder) {
            static_cast<void>(folder_.remove(journal.name));
            return true;
        }
        total += journal.size;
        if (prunable) {
            removable.emplace_back(journal.name, journal.size);
        }
        return true;
    });
    for (auto oldest = removable.rbegin(); oldest != removable.rend() && total > limits_.bytes;
         ++oldest) {
        if (!folder_.remove(oldest->first)) {
            total -= oldest->second;
        }
    }
}

std::error_code markJournal(JournalFile& journal, RunState state,
                            std::span<const std::string> undoSuffixes) {
    return journal.overwriteHead(journalStateLine(state, undoSuffixes));
}

} // namespace brindleaf
