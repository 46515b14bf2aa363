#include "engine/Journals.hpp"

#include "engine/TwoHalves.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
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

// How much of a journal is read at a time to undo its run.
constexpr std::size_t journalPiece = std::size_t{1} << 20;

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
// Two file systems with identities of their own are told apart by them even when they
// were given the same device number one after the other.
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
    if (head.folder.volume != 0 && folder.volume != 0) {
        return head.folder.volume == folder.volume;
    }
    if (head.folder.device == folder.device) {
        return true;
    }
    return head.folderPath == absolutePath(folderPath);
}

// Twelve hexadecimal digits of a hash of `bytes`: enough that two folders' keys meet by
// chance about once in 2^48.
std::string shortKey(std::string_view bytes) {
    std::uint64_t sum = 0xcbf29ce484222325ULL;
    for (const char byte : bytes) {
        sum = (sum ^ static_cast<unsigned char>(byte)) * 0x100000001b3ULL;
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%012llx",
                  static_cast<unsigned long long>(sum & 0xffffffffffffULL));
    return digits;
}

// The two keys a journal's name ends in: one for the folder as its inode number tells it,
// one for its path. sameFolder() knows a folder by one or the other, so a journal whose
// name has neither is never this folder's.
struct FolderKeys {
    std::string identity;
    std::string path;
};

FolderKeys keysOf(const std::string& absolute, const FolderIdentity& folder) {
    const std::uint64_t where = folder.volume != 0 ? folder.volume : folder.device;
    return {shortKey(std::to_string(where) + ":" + std::to_string(folder.inode)),
            shortKey(absolute)};
}

// What a journal's name says: when its run began, and the keys of its folder; no keys in
// the names of journals written before they were given any.
struct JournalName {
    std::int64_t startedNanoseconds = 0;
    std::optional<FolderKeys> keys;
};

JournalName parseJournalName(std::string_view name) {
    JournalName parsed;
    std::from_chars(name.data(), name.data() + std::min<std::size_t>(name.size(), 20),
                    parsed.startedNanoseconds);
    name = name.substr(0, name.rfind('.'));
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = name.find('-', start);
        parts.push_back(name.substr(start, end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    if (parts.size() == 4) {
        parsed.keys = FolderKeys{std::string(parts[2]), std::string(parts[3])};
    }
    return parsed;
}

// Journals that belong to one folder share this, whichever device its disk came back as.
std::string folderKey(const JournalHead& head) {
    if (!head.folder.inodesAreStable) {
        return "p" + head.folderPath;
    }
    const std::uint64_t where = head.folder.volume != 0 ? head.folder.volume : head.folder.device;
    return std::to_string(where) + ":" + std::to_string(head.folder.inode);
}

// A journal another process holds is its run's or its undo's, whatever its state says yet:
// an undo holds a finished run's journal for a while before it marks it.
RecordedRunState stateOf(const JournalHead& head, bool inUse) {
    if (head.stateDamaged) {
        return RecordedRunState::Damaged;
    }
    if (inUse) {
        return RecordedRunState::InProgress;
    }
    switch (head.state) {
    case RunState::Finished:
        return RecordedRunState::Finished;
    case RunState::Undone:
        return RecordedRunState::Undone;
    case RunState::Running:
    case RunState::Undoing:
        return RecordedRunState::Interrupted;
    }
    return RecordedRunState::Interrupted;
}

bool ended(const JournalHead& head) {
    return !head.stateDamaged &&
           (head.state == RunState::Finished || head.state == RunState::Undone);
}

// Whether a journal whose head can be read may still be whole: it ends as a complete one
// does and is no larger than its entries can make it. Truncation after the head, or a
// file padded past its entries, is found without reading the entries.
bool looksWhole(const JournalPeek& journal, const JournalHead& head) {
    return endsComplete(journal.tail) && sizeFitsEntries(head, journal.size);
}

// A run as its journal's head tells it, unless the journal's last line or its length shows
// that it was damaged after it was written.
RecordedRun runOf(const JournalPeek& journal, const JournalHead& head) {
    RecordedRun run;
    run.state = stateOf(head, journal.inUse());
    run.journalName = journal.name;
    run.entryCount = head.entryCount;
    run.startedNanoseconds = head.startedNanoseconds;
    if (!endsComplete(journal.tail)) {
        run.state = RecordedRunState::Damaged;
        run.problem = JournalProblem::Truncated;
    } else if (!sizeFitsEntries(head, journal.size)) {
        run.state = RecordedRunState::Damaged;
    }
    return run;
}

// A run known only by its journal's name: when it began, and that its journal is damaged.
RecordedRun undecodableRun(const JournalPeek& journal, JournalProblem problem) {
    RecordedRun run;
    run.state = RecordedRunState::Damaged;
    run.journalName = journal.name;
    run.startedNanoseconds = parseJournalName(journal.name).startedNanoseconds;
    run.problem = problem;
    return run;
}

} // namespace

// Calls `visit` with each run of the folder, newest first, until it returns false. The
// entries and their checksum are read only when a run is undone.
template <typename Visit>
std::error_code Journals::visitRunsOf(const std::string& folderPath, const FolderIdentity& folder,
                                      Visit visit) const {
    const FolderKeys keys = keysOf(absolutePath(folderPath), folder);
    // Only this folder's journals, and those older than the keys, which only their heads
    // can attribute.
    const auto mayBeOurs = [&](std::string_view name) {
        const JournalName parsed = parseJournalName(name);
        return !parsed.keys || parsed.keys->identity == keys.identity ||
               parsed.keys->path == keys.path;
    };
    return folder_.visitHeads(
        journalHeadBytes,
        [&](const JournalPeek& journal) {
            // A FIFO, a link or another user's file in its place is no more readable than a
            // journal cut short, and is this folder's by the same right: its name.
            const auto head = journal.failure ? std::unexpected(JournalProblem::Unreadable)
                                              : decodeJournalHead(journal.bytes);
            if (!head) {
                // Its name makes it this folder's, damaged; a journal without keys whose
                // head cannot be read belongs to no folder rather than blocking every one.
                if (!parseJournalName(journal.name).keys) {
                    return true;
                }
                return visit(undecodableRun(journal, head.error()));
            }
            if (!sameFolder(*head, folderPath, folder)) {
                return true;
            }
            return visit(runOf(journal, *head));
        },
        mayBeOurs);
}

RecordedRun Journals::lastRunOf(const std::string& folderPath, const FolderIdentity& folder) const {
    RecordedRun last;
    const std::error_code failed = visitRunsOf(folderPath, folder, [&](RecordedRun run) {
        if (last.state == RecordedRunState::None || run.state != RecordedRunState::Undone) {
            last = std::move(run);
        }
        return last.state == RecordedRunState::Undone;
    });
    if (failed) {
        last = RecordedRun{};
        last.state = RecordedRunState::JournalsUnreadable;
        last.error = failed;
    }
    return last;
}

std::expected<FolderLock, std::error_code>
Journals::lockFolder(const std::string& folderPath, const FolderIdentity& folder) const {
    return folder_.lockFolder(keysOf(absolutePath(folderPath), folder).identity);
}

std::expected<std::vector<PastRun>, std::error_code>
Journals::historyOf(const std::string& folderPath, const FolderIdentity& folder) const {
    std::vector<PastRun> runs;
    bool reachable = true;
    const std::error_code failed = visitRunsOf(folderPath, folder, [&](RecordedRun run) {
        reachable = reachable && run.state != RecordedRunState::Damaged &&
                    run.state != RecordedRunState::InProgress;
        const bool undoable = reachable && run.state != RecordedRunState::Undone;
        runs.push_back({std::move(run), undoable});
        return true;
    });
    if (failed) {
        return std::unexpected(failed);
    }
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
    const FolderKeys keys = keysOf(absolutePath(folderPath), *identity);
    auto journal = folder_.create(keys.identity + "-" + keys.path);
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

std::expected<JournalFile, std::error_code> Journals::recordPart(const RunRecord& record) const {
    const FolderKeys keys = keysOf(record.head.folderPath, record.head.folder);
    auto journal = folder_.create(keys.identity + "-" + keys.path);
    if (!journal) {
        return std::unexpected(journal.error());
    }
    JournalEncoder encoder(*journal, record.head.folderPath, record.head.folder,
                           record.head.startedNanoseconds, record.entries.size(), RunState::Undoing,
                           record.head.undoSuffixes);
    for (const JournalEntry& entry : record.entries) {
        encoder.add(entry.original, entry.renamed, entry.inode, entry.stamp);
    }
    encoder.finish();
    if (const auto code = journal->commit()) {
        journal->discard();
        return std::unexpected(code);
    }
    return journal;
}

void Journals::forget(const JournalFile& journal) const {
    static_cast<void>(folder_.remove(journal.name()));
}

std::expected<RunRecord, JournalProblem> Journals::load(const std::string& name) const {
    std::optional<JournalDecoder> decoder;
    const std::error_code failed =
        folder_.readInPieces(name, journalPiece, [&](std::uint64_t size, std::string_view bytes) {
            if (!decoder) {
                decoder.emplace(size);
            }
            return decoder->feed(bytes);
        });
    if (failed) {
        return std::unexpected(JournalProblem::Unreadable);
    }
    return decoder ? decoder->finish() : JournalDecoder(0).finish();
}

std::expected<std::string, std::error_code> Journals::readDamaged(const std::string& name) const {
    auto start = folder_.read(name, journalHeadBytes);
    if (!start) {
        return start;
    }
    const auto head = decodeJournalHead(*start);
    if (!head || start->size() < journalHeadBytes) {
        return start;
    }
    return folder_.read(name, static_cast<std::size_t>(longestJournalOf(*head)));
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
    static_cast<void>(folder_.visitHeads(journalHeadBytes, [&](const JournalPeek& journal) {
        // What cannot be read is neither counted nor moved: it may be a folder's run.
        if (journal.failure) {
            return true;
        }
        const auto head = decodeJournalHead(journal.bytes);
        if (!head && !parseJournalName(journal.name).keys) {
            // No folder's run: out of the way, where nothing counts or reads it.
            static_cast<void>(folder_.setAside(journal.name));
            return true;
        }
        const bool whole = head && looksWhole(journal, *head);
        // The first journal of a folder met is its newest; the byte limit never takes it.
        const bool newestOfItsFolder = head && runsSeen.try_emplace(folderKey(*head), 0).second;
        const bool prunable = whole && ended(*head) && journal.name != newest;
        if (prunable && ++runsSeen[folderKey(*head)] > limits_.runsPerFolder) {
            static_cast<void>(folder_.remove(journal.name));
            return true;
        }
        total += journal.allocated;
        if (prunable && !newestOfItsFolder) {
            removable.emplace_back(journal.name, journal.allocated);
        }
        return true;
    }));
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
