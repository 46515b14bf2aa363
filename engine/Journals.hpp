#pragma once

#include "engine/JournalFormat.hpp"
#include "platform/FileSystem.hpp"
#include "platform/JournalFiles.hpp"

#include <cstddef>
#include <expected>
#include <span>
#include <string>
#include <system_error>

namespace brindleaf {

// What the journals say of the last run in a folder.
enum class LastRunState {
    None,        // no run recorded, or only runs that were rolled back
    Finished,    // can be undone
    Interrupted, // stopped before it finished; its names must be restored before anything else
    InProgress,  // another process is renaming there now
    Undone,
};

struct LastRun {
    LastRunState state = LastRunState::None;
    std::string journalName;
    std::size_t entryCount = 0;
};

// The run journals: written before a run's first move, marked when it ends, read to undo it.
class Journals {
public:
    // Runs kept for undo; older journals go once a new run is recorded.
    static constexpr std::size_t kept = 20;

    explicit Journals(JournalFolder folder) : folder_(std::move(folder)) {}

    [[nodiscard]] const JournalFolder& folder() const { return folder_; }

    // The newest journal of the folder at `folderPath` or with the identity `folder`.
    [[nodiscard]] LastRun lastRunOf(const std::string& folderPath,
                                    const FolderIdentity& folder) const;

    // Writes the journal of a run about to begin and makes it durable; the returned file
    // stays locked until the run has ended.
    [[nodiscard]] std::expected<JournalFile, std::error_code>
    record(FileSystem& fileSystem, const UniqueFd& folder, const std::string& folderPath,
           std::span<const std::string> originals, std::span<const std::string> renamed,
           std::span<const std::uint64_t> inodes);

    // Forgets a run that left every name as it found it.
    void forget(const JournalFile& journal) const;

    [[nodiscard]] std::expected<RunRecord, JournalProblem> load(const std::string& name) const;

private:
    void prune() const;

    JournalFolder folder_;
};

// Moves the journal to a new state and makes that durable.
std::error_code markJournal(JournalFile& journal, RunState state,
                            std::span<const std::string> undoSuffixes = {});

} // namespace brindleaf
