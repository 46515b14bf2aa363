#include "engine/Undo.hpp"

#include "engine/Listing.hpp"
#include "engine/NameFormat.hpp"

#include <algorithm>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>

namespace brindleaf {

namespace {

// The folder as it is now, by name.
class CurrentEntries {
public:
    CurrentEntries(FileSystem& fileSystem, const UniqueFd& folder, FolderEntries entries,
                   bool inodesAreStable)
        : fileSystem_(fileSystem), folder_(folder), entries_(std::move(entries)),
          inodesAreStable_(inodesAreStable) {
        inodeByName_.reserve(entries_.names.size());
        for (std::size_t i = 0; i < entries_.names.size(); ++i) {
            inodeByName_.emplace(entries_.names[i], entries_.inodes[i]);
        }
    }

    [[nodiscard]] bool contains(std::string_view name) const { return inodeByName_.contains(name); }

    // Whether `name` is the recorded entry itself, not merely an entry of that name; if not,
    // why not.
    [[nodiscard]] std::optional<LeftAloneReason>
    mismatch(const std::string& name, const JournalEntry& entry, std::int64_t runStarted) const {
        const auto found = inodeByName_.find(name);
        if (found == inodeByName_.end()) {
            return LeftAloneReason::Missing;
        }
        if (inodesAreStable_ && found->second != entry.inode) {
            return LeftAloneReason::Replaced;
        }
        const auto stamp = fileSystem_.stamp(folder_, name);
        if (!stamp) {
            return LeftAloneReason::Missing;
        }
        if (inodesAreStable_) {
            // A freed inode number can go to a newer entry at once; one born after the run
            // began is not the entry the run renamed. Edits change size and modification
            // time, so those do not count here.
            const bool bornBefore =
                stamp->bornNanoseconds == 0 || stamp->bornNanoseconds <= runStarted;
            return bornBefore ? std::nullopt : std::optional(LeftAloneReason::Replaced);
        }
        if (stamp->size != entry.stamp.size) {
            return LeftAloneReason::SizeChanged;
        }
        if (stamp->modifiedNanoseconds != entry.stamp.modifiedNanoseconds) {
            return LeftAloneReason::TimeChanged;
        }
        return std::nullopt;
    }

    [[nodiscard]] const std::vector<std::string>& names() const { return entries_.names; }

private:
    FileSystem& fileSystem_;
    const UniqueFd& folder_;
    FolderEntries entries_;
    bool inodesAreStable_;
    std::unordered_map<std::string_view, std::uint64_t> inodeByName_;
};

// Every name the run, or an earlier undo of it, can have left an entry under. A finished
// run left each entry under its new name, and only there may it be looked for: where
// entries are told by size and time alone, two of them can look alike.
std::vector<std::string> placesOf(const JournalEntry& entry, const JournalHead& head) {
    if (head.state == RunState::Finished) {
        return {entry.renamed};
    }
    std::vector<std::string> places{entry.original};
    if (entry.renamed != entry.original) {
        places.push_back(entry.renamed);
    }
    places.push_back(entry.renamed + std::string(NameFormat::temporarySuffix));
    for (const std::string& suffix : head.undoSuffixes) {
        places.push_back(entry.original + suffix);
    }
    return places;
}

struct UndoMoves {
    std::vector<std::string> sources;
    std::vector<std::string> destinations;
    // Positions in the journal of the entries that move.
    std::vector<std::size_t> positions;
    // Positions in the journal of the entries left where they are.
    std::vector<std::size_t> leftAlone;
};

// Where the entry is now, or why it cannot be told.
struct Whereabouts {
    std::string place;
    LeftAloneReason reason = LeftAloneReason::Missing;
};

Whereabouts find(const JournalEntry& entry, const JournalHead& head, const CurrentEntries& current,
                 const std::unordered_set<std::string_view>& claimed) {
    std::vector<std::string> matches;
    std::optional<LeftAloneReason> firstMismatch;
    for (std::string& place : placesOf(entry, head)) {
        if (claimed.contains(place)) {
            continue;
        }
        const auto mismatch = current.mismatch(place, entry, head.startedNanoseconds);
        if (!mismatch) {
            matches.push_back(std::move(place));
        } else if (!firstMismatch && *mismatch != LeftAloneReason::Missing) {
            firstMismatch = mismatch;
        }
    }
    if (matches.empty()) {
        return {{}, firstMismatch.value_or(LeftAloneReason::Missing)};
    }
    // An inode number names one entry; a size and time that two places share do not,
    // and then the entry is left alone rather than guessed.
    if (!head.folder.inodesAreStable && matches.size() > 1) {
        return {{}, LeftAloneReason::LooksAlike};
    }
    return {std::move(matches.front())};
}

// Finds each entry of the run and decides which can go home: those found, whose original
// name is free or held by another entry that moves away.
UndoMoves planUndo(const RunRecord& record, const CurrentEntries& current, UndoReport& report) {
    std::vector<Whereabouts> found(record.entries.size());
    std::unordered_set<std::string_view> claimed;
    for (std::size_t i = 0; i < record.entries.size(); ++i) {
        found[i] = find(record.entries[i], record.head, current, claimed);
        if (!found[i].place.empty()) {
            claimed.insert(found[i].place);
        }
    }
    // Names that stay taken: every current name, less those of entries that will move.
    std::unordered_set<std::string_view> taken(current.names().begin(), current.names().end());
    std::vector<bool> moves(record.entries.size(), false);
    for (std::size_t i = 0; i < record.entries.size(); ++i) {
        moves[i] = !found[i].place.empty() && found[i].place != record.entries[i].original;
        if (moves[i]) {
            taken.erase(found[i].place);
        }
    }
    // An entry whose original name stays taken cannot go home, and so keeps its own
    // name taken in turn.
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t i = 0; i < record.entries.size(); ++i) {
            if (moves[i] && taken.contains(record.entries[i].original)) {
                moves[i] = false;
                found[i].reason = LeftAloneReason::NameTaken;
                taken.insert(found[i].place);
                changed = true;
            }
        }
    }
    UndoMoves plan;
    for (std::size_t i = 0; i < record.entries.size(); ++i) {
        const JournalEntry& entry = record.entries[i];
        if (moves[i]) {
            plan.sources.push_back(std::move(found[i].place));
            plan.destinations.push_back(entry.original);
            plan.positions.push_back(i);
        } else if (found[i].place == entry.original) {
            ++report.alreadyOriginal;
        } else {
            plan.leftAlone.push_back(i);
            report.leftAlone.push_back({entry.original, found[i].reason});
        }
    }
    return plan;
}

// A suffix whose temporary names no entry of the folder holds.
std::string freeSuffix(const UndoMoves& moves, const CurrentEntries& current) {
    const std::string base(NameFormat::temporarySuffix);
    for (unsigned attempt = 0;; ++attempt) {
        const std::string suffix = attempt == 0 ? base : base + std::to_string(attempt);
        bool isFree = true;
        for (const std::string& destination : moves.destinations) {
            if (current.contains(destination + suffix)) {
                isFree = false;
                break;
            }
        }
        if (isFree) {
            return suffix;
        }
    }
}

// Records what the undo achieved: a run whose every entry is back is undone; one with
// entries left keeps only those, so a later undo tries exactly them; one that moved none
// stays as it was, to be tried again once the cause is mended.
std::error_code recordUndo(Journals& journals, JournalFile& journal, const RunRecord& record,
                           const UndoMoves& moves, std::span<const std::string> suffixes) {
    if (moves.leftAlone.empty()) {
        return markJournal(journal, RunState::Undone);
    }
    if (moves.sources.empty()) {
        return markJournal(journal, record.head.state, suffixes);
    }
    return journals.keepOnly(journal, record, moves.leftAlone, record.head.state, suffixes);
}

// After moves that stopped short, what is left for a later undo: the entries left alone
// and those not yet home, some perhaps under a temporary name with the new suffix. The run
// is recorded as not finished, so that every place an entry can be is searched and no new
// run numbers those names meanwhile.
std::error_code recordStoppedUndo(Journals& journals, JournalFile& journal, const RunRecord& record,
                                  const UndoMoves& moves, const MovesResult& result,
                                  std::span<const std::string> suffixes) {
    if (!result.anyMoved) {
        return markJournal(journal, record.head.state, suffixes);
    }
    std::vector<bool> keep(record.entries.size(), false);
    for (const std::size_t position : moves.leftAlone) {
        keep[position] = true;
    }
    for (std::size_t i = 0; i < moves.positions.size(); ++i) {
        if (!result.arrived[i]) {
            keep[moves.positions[i]] = true;
        }
    }
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < keep.size(); ++i) {
        if (keep[i]) {
            positions.push_back(i);
        }
    }
    return journals.keepOnly(journal, record, positions, RunState::Undoing, suffixes);
}

// Removes what a run killed between claiming a name and moving onto it left: a placeholder
// recorded in its journal, while it is still the empty file or folder that was made (the
// same inode where the folder keeps inode numbers), under no name the run's entries had or
// now have. One that was used stays; one that could not be removed is named as left.
void removePlaceholders(FileSystem& fileSystem, const UniqueFd& folder, const RunRecord& record,
                        const UndoMoves& moves, UndoReport& report) {
    if (record.placeholders.empty()) {
        return;
    }
    std::unordered_set<std::string_view> entryNames;
    for (const JournalEntry& entry : record.entries) {
        entryNames.insert(entry.original);
    }
    for (const std::string& source : moves.sources) {
        entryNames.insert(source);
    }
    // An entry undo could not recognise may stand under its new or temporary name.
    const auto unrecognisedMayHold = [&](std::string_view name) {
        return std::ranges::any_of(moves.leftAlone, [&](std::size_t i) {
            return name.starts_with(record.entries[i].renamed);
        });
    };
    for (const RecordedPlaceholder& placeholder : record.placeholders) {
        if (entryNames.contains(placeholder.name) || unrecognisedMayHold(placeholder.name)) {
            continue;
        }
        const auto stamp = fileSystem.stamp(folder, placeholder.name);
        if (!stamp) {
            continue; // gone already: the move used it, or the user removed it
        }
        const bool sameOne = placeholder.inode == 0 || stamp->inode == placeholder.inode ||
                             !record.head.folder.inodesAreStable;
        const bool madeByTheRun = stamp->modifiedNanoseconds >= record.head.startedNanoseconds;
        if (!sameOne || !madeByTheRun) {
            continue; // another entry holds the name now
        }
        // One that holds something now is the user's; one that could not be removed is told.
        const std::error_code removed =
            fileSystem.removeEmpty(folder, placeholder.name, placeholder.isFolder);
        if (removed && removed != std::errc::file_exists &&
            removed != std::errc::directory_not_empty && removed != std::errc::not_a_directory &&
            removed != std::errc::no_such_file_or_directory) {
            report.placeholdersLeft.push_back(placeholder.name);
        }
    }
}

UndoReport carryOutUndo(FileSystem& fileSystem, const UniqueFd& folder, Journals& journals,
                        JournalFile& journal, const RunRecord& record,
                        const CurrentEntries& current, RunObserver& observer) {
    UndoReport report;
    report.matchedByStamp = !record.head.folder.inodesAreStable;
    const UndoMoves moves = planUndo(record, current, report);
    report.toRestore = moves.sources.size();
    std::vector<std::string> suffixes = record.head.undoSuffixes;
    suffixes.push_back(freeSuffix(moves, current));
    if (const auto code = markJournal(journal, RunState::Undoing, suffixes)) {
        report.outcome = UndoOutcome::Failed;
        report.error = code;
        return report;
    }
    const MovesResult result = moveBatch(fileSystem, folder, moves.sources, moves.destinations,
                                         suffixes.back(), observer, {}, OnStop::Keep);
    const bool done = result.kind == MovesResult::Kind::Done;
    report.restored = done ? moves.sources.size() : result.arrivedCount;
    report.failure = result.failure;
    report.placeholdersLeft = result.placeholdersLeft;
    // Until the folder is on disk, the journal must keep saying an undo is under way: it
    // still leads to every entry, home or not.
    if (const std::error_code flushed = fileSystem.flush(folder)) {
        report.outcome = UndoOutcome::Failed;
        report.error = flushed;
        report.notRecorded = true;
        report.notFlushed = true;
        return report;
    }
    // The journal kept for a later undo holds no placeholder records: they are dealt with now.
    removePlaceholders(fileSystem, folder, record, moves, report);
    if (!done) {
        report.outcome = result.kind == MovesResult::Kind::Cancelled ? UndoOutcome::Cancelled
                                                                     : UndoOutcome::Failed;
        if (const auto code =
                recordStoppedUndo(journals, journal, record, moves, result, suffixes)) {
            report.error = code;
            report.notRecorded = true;
        }
        return report;
    }
    if (const auto code = recordUndo(journals, journal, record, moves, suffixes)) {
        report.outcome = UndoOutcome::Failed;
        report.error = code;
        report.notRecorded = true;
        return report;
    }
    report.outcome = report.leftAlone.empty() ? UndoOutcome::Restored
                     : report.restored == 0   ? UndoOutcome::NoneRestored
                                              : UndoOutcome::PartlyRestored;
    return report;
}

UndoReport outcomeOnly(UndoOutcome outcome, std::error_code error = {}) {
    UndoReport report;
    report.outcome = outcome;
    report.error = error;
    return report;
}

// The entries of a damaged journal that can still be read, as a run that did not finish:
// where they are cannot be told, so every place is searched. Empty when none can be read.
std::optional<RunRecord> readableRecord(const Journals& journals, const RecordedRun& last) {
    const auto bytes = journals.readDamaged(last.journalName);
    if (!bytes) {
        return std::nullopt;
    }
    auto head = decodeJournalHead(*bytes);
    std::vector<JournalEntry> entries = readableEntries(*bytes);
    if (!head || entries.empty()) {
        return std::nullopt;
    }
    head->state = RunState::Undoing;
    head->stateDamaged = false;
    // A damaged state line may have lost the suffixes of earlier undos; the first one an
    // undo takes is the plain temporary suffix.
    if (std::ranges::find(head->undoSuffixes, NameFormat::temporarySuffix) ==
        head->undoSuffixes.end()) {
        head->undoSuffixes.insert(head->undoSuffixes.begin(),
                                  std::string(NameFormat::temporarySuffix));
    }
    return RunRecord{std::move(*head), std::move(entries), {}};
}

// Puts the entries a damaged journal still names in a sound journal before any of them
// moves, so that the undo is recorded as any other. When every entry can be read, the sound
// journal takes the damaged one's place. When some cannot, the damaged journal stays where
// it is, marked damaged, and keeps the folder refused: those entries are named nowhere else,
// and only the user, through --forget, may let them go. The sound one is then a journal of its
// own, returned to record the undo in.
std::expected<std::optional<JournalFile>, std::error_code> recordReadable(Journals& journals,
                                                                          JournalFile& journal,
                                                                          const RunRecord& readable,
                                                                          bool someUnread) {
    if (someUnread) {
        if (const auto code = journal.overwriteHead(damagedStateLine())) {
            return std::unexpected(code);
        }
        auto part = journals.recordPart(readable);
        if (!part) {
            return std::unexpected(part.error());
        }
        return std::optional<JournalFile>(std::move(*part));
    }
    std::vector<std::size_t> every(readable.entries.size());
    for (std::size_t i = 0; i < every.size(); ++i) {
        every[i] = i;
    }
    if (const auto code = journals.keepOnly(journal, readable, every, RunState::Undoing,
                                            readable.head.undoSuffixes)) {
        return std::unexpected(code);
    }
    return std::optional<JournalFile>();
}

// The last run is one that undo would take back.
bool undoable(RecordedRunState state) {
    return state == RecordedRunState::Finished || state == RecordedRunState::Interrupted ||
           state == RecordedRunState::Damaged;
}

} // namespace

UndoReport undoLastRun(FileSystem& fileSystem, const std::string& targetDir, Journals& journals,
                       RunObserver& observer) {
    if (targetDir.empty()) {
        return outcomeOnly(UndoOutcome::NothingToUndo);
    }
    const auto folder = openTargetFolder(fileSystem, targetDir);
    if (!folder) {
        return outcomeOnly(UndoOutcome::FolderUnreadable, folder.error().code);
    }
    const auto identity = fileSystem.identify(*folder);
    if (!identity) {
        return outcomeOnly(UndoOutcome::FolderUnreadable, identity.error());
    }
    RecordedRun last = journals.lastRunOf(targetDir, *identity);
    // Held from a second look, which counts, until the run's journal is locked for this
    // undo: a run or another undo started meanwhile would move the names this one moves.
    std::optional<FolderLock> checking;
    if (undoable(last.state)) {
        auto lock = journals.lockFolder(targetDir, *identity);
        if (!lock) {
            return lock.error() == std::errc::operation_would_block
                       ? outcomeOnly(UndoOutcome::InProgress)
                       : outcomeOnly(UndoOutcome::JournalsUnreadable, lock.error());
        }
        checking = std::move(*lock);
        last = journals.lastRunOf(targetDir, *identity);
    }
    switch (last.state) {
    case RecordedRunState::None:
    case RecordedRunState::Undone:
        return outcomeOnly(UndoOutcome::NothingToUndo);
    case RecordedRunState::InProgress:
        return outcomeOnly(UndoOutcome::InProgress);
    case RecordedRunState::JournalsUnreadable:
        return outcomeOnly(UndoOutcome::JournalsUnreadable, last.error);
    case RecordedRunState::Damaged:
    case RecordedRunState::Finished:
    case RecordedRunState::Interrupted:
        break;
    }
    auto journal = journals.folder().open(last.journalName);
    if (!journal && journalCannotBeOpened(last, journal.error())) {
        UndoReport report = outcomeOnly(UndoOutcome::JournalDamaged);
        report.problem = last.problem;
        report.run = last;
        return report;
    }
    if (!journal) {
        return outcomeOnly(journal.error() == std::errc::operation_would_block
                               ? UndoOutcome::InProgress
                               : UndoOutcome::FolderUnreadable,
                           journal.error());
    }
    checking.reset();
    auto record =
        last.state == RecordedRunState::Damaged
            ? std::expected<RunRecord, JournalProblem>(std::unexpected(JournalProblem::Corrupt))
            : journals.load(last.journalName);
    // A damaged journal whose entries can be read still leads to them: those recognised as
    // any undo recognises them go home, and the others are listed.
    const bool damaged = !record;
    std::size_t unread = 0;
    // The journal the undo is recorded in, when it is not the run's own.
    std::optional<JournalFile> part;
    if (damaged) {
        auto readable = readableRecord(journals, last);
        if (!readable) {
            UndoReport report = outcomeOnly(UndoOutcome::JournalDamaged);
            report.problem = record.error();
            report.run = last;
            return report;
        }
        unread = readable->head.entryCount -
                 std::min(readable->head.entryCount, readable->entries.size());
        readable->head.entryCount = readable->entries.size();
        auto recorded = recordReadable(journals, *journal, *readable, unread > 0);
        if (!recorded) {
            UndoReport report = outcomeOnly(UndoOutcome::Failed, recorded.error());
            report.run = last;
            return report;
        }
        part = std::move(*recorded);
        record = std::move(*readable);
    }
    auto entries = fileSystem.readEntries(*folder);
    if (!entries) {
        return outcomeOnly(UndoOutcome::FolderUnreadable, entries.error());
    }
    const CurrentEntries current(fileSystem, *folder, std::move(*entries),
                                 record->head.folder.inodesAreStable);
    UndoReport report = carryOutUndo(fileSystem, *folder, journals, part ? *part : *journal,
                                     *record, current, observer);
    report.run = last;
    report.fromDamagedRecord = damaged;
    report.unreadEntries = unread;
    return report;
}

} // namespace brindleaf
