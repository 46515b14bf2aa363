#include "engine/Forget.hpp"

#include "engine/Listing.hpp"
#include "engine/NameFormat.hpp"

#include <unordered_set>

namespace brindleaf {

namespace {

ForgetReport outcomeOnly(ForgetOutcome outcome, std::error_code error = {}) {
    ForgetReport report;
    report.outcome = outcome;
    report.error = error;
    return report;
}

// Which entries the journal still names are away from their original names.
std::vector<StrandedEntry> strandedOf(const std::vector<JournalEntry>& entries,
                                      const FolderEntries& current) {
    const std::unordered_set<std::string_view> names(current.names.begin(), current.names.end());
    std::vector<StrandedEntry> stranded;
    for (const JournalEntry& entry : entries) {
        const std::string temporary = entry.renamed + std::string(NameFormat::temporarySuffix);
        if (names.contains(temporary)) {
            stranded.push_back({entry.original, temporary, true});
        } else if (!names.contains(entry.original) && names.contains(entry.renamed)) {
            stranded.push_back({entry.original, entry.renamed, false});
        }
    }
    return stranded;
}

} // namespace

ForgetReport forgetDamagedRun(FileSystem& fileSystem, const std::string& targetDir,
                              const Journals& journals, bool setAside) {
    const auto folder = openTargetFolder(fileSystem, targetDir);
    if (!folder) {
        return outcomeOnly(ForgetOutcome::FolderUnreadable, folder.error().code);
    }
    const auto identity = fileSystem.identify(*folder);
    const auto current = fileSystem.readEntries(*folder);
    if (!identity || !current) {
        return outcomeOnly(ForgetOutcome::FolderUnreadable,
                           identity ? current.error() : identity.error());
    }
    const RecordedRun last = journals.lastRunOf(targetDir, *identity);
    if (last.state == RecordedRunState::JournalsUnreadable) {
        return outcomeOnly(ForgetOutcome::JournalsUnreadable, last.error);
    }
    if (last.state == RecordedRunState::None || last.state == RecordedRunState::Undone) {
        return outcomeOnly(ForgetOutcome::NothingToForget);
    }
    // Held for as long as the journal is examined and set aside: no run may start meanwhile.
    // A file that cannot be opened as a journal was written by no run, and none holds it.
    const auto held = journals.folder().open(last.journalName);
    if (!held && !journalCannotBeOpened(last, held.error())) {
        return outcomeOnly(held.error() == std::errc::operation_would_block
                               ? ForgetOutcome::InProgress
                               : ForgetOutcome::FolderUnreadable,
                           held.error());
    }
    ForgetReport report;
    report.run = last;
    // Read once: decoded whole to tell whether undo can use it, and entry by entry if not.
    const auto bytes = journals.readDamaged(last.journalName);
    const auto record = bytes ? decodeJournal(*bytes) : std::unexpected(JournalProblem::Unreadable);
    if (record && last.state != RecordedRunState::Damaged) {
        report.outcome = ForgetOutcome::JournalIntact;
        return report;
    }
    report.problem = record ? JournalProblem::Corrupt : record.error();
    report.entriesNamed = last.entryCount;
    const std::vector<JournalEntry> readable =
        bytes ? readableEntries(*bytes) : std::vector<JournalEntry>{};
    report.entriesRead = readable.size();
    report.stranded = strandedOf(readable, *current);
    report.outcome = ForgetOutcome::Examined;
    if (!setAside) {
        return report;
    }
    const auto aside = journals.folder().setAside(last.journalName);
    if (!aside) {
        report.outcome = ForgetOutcome::Failed;
        report.error = aside.error();
        return report;
    }
    report.outcome = ForgetOutcome::SetAside;
    report.setAsideAs = *aside;
    return report;
}

} // namespace brindleaf
