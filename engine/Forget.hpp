#pragma once

#include "engine/Journals.hpp"
#include "platform/FileSystem.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace brindleaf {

enum class ForgetOutcome {
    NothingToForget,  // no run of the folder waits to be undone
    JournalIntact,    // the journal can be read: undo its run instead
    InProgress,       // another process is renaming in the folder now
    FolderUnreadable, // see `error`
    Examined,         // the damaged journal was read as far as it goes; nothing changed
    SetAside,         // ... and then renamed to `setAsideAs` in the journal folder
    Failed,           // setting it aside failed: `error`
    // The journal folder cannot be read or trusted; see `error`.
    JournalsUnreadable,
};

// An entry a damaged journal still names, and where it is now.
struct StrandedEntry {
    std::string original;
    std::string current;
    bool temporary = false; // under a temporary name rather than its new one
};

// What a damaged journal of a folder's last run still tells, and what was done with it.
struct ForgetReport {
    ForgetOutcome outcome = ForgetOutcome::NothingToForget;
    RecordedRun run;
    JournalProblem problem = JournalProblem::Corrupt;
    // The entries the journal says it holds (unknown when it cannot say), and those that
    // could be read.
    std::optional<std::size_t> entriesNamed;
    std::size_t entriesRead = 0;
    // Entries read that are still under their new name or a temporary name.
    std::vector<StrandedEntry> stranded;
    std::string setAsideAs;
    std::error_code error;
};

// The way out of a journal that cannot be read, which would keep its folder refused for
// good: examines it, and with `setAside` renames it within the journal folder, where no
// run looks. Nothing is deleted and no entry moves; entries keep the names they have.
ForgetReport forgetDamagedRun(FileSystem& fileSystem, const std::string& targetDir,
                              const Journals& journals, bool setAside);

} // namespace brindleaf
