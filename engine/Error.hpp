#pragma once

#include "engine/NameFormat.hpp"
#include "platform/FileSystem.hpp"

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

namespace brindleaf {

// What went wrong, as the engine hands it to its caller. Each front end puts it into words
// of its own language; no field holds a temporary name, except `placeholdersLeft`, which
// names stray entries the user will find.
enum class ErrorKind {
    CannotReadFolder,   // the folder `path` cannot be opened or listed: `code`
    UnusableName,       // the entry `name` cannot be given its new name: `problem`; nothing moved
    CannotRename,       // renaming the entry `name` to `newName` failed at `step`: `code`;
                        // the moves made were taken back, but for `notRestored`
    StoppedUnfinished,  // the run was stopped, and the entries in `notRestored` could not be
                        // given their names back
    CannotWriteJournal, // the journal could not be written in `path`: `code`; nothing moved
    CannotFlush,        // the folder `path` could not be flushed to disk: `code`
    CannotMarkJournal,  // every entry was renamed, but the journal still says the run is going
};

struct Error {
    ErrorKind kind = ErrorKind::CannotReadFolder;
    std::error_code code;
    std::string path;
    std::string name;
    std::string newName;
    MoveStep step = MoveStep::Rename;
    NameProblem problem = NameProblem::TooLong;
    // With NameProblem::TooLong: the most bytes a new name may have in the folder.
    std::uint64_t longestNewName = 0;
    // With CannotFlush and CannotMarkJournal: how many entries bear their new names.
    std::size_t renamed = 0;
    // Original names of entries that could not be given their names back.
    std::vector<std::string> notRestored;
    // Empty placeholders that failed moves made and could not remove again.
    std::vector<std::string> placeholdersLeft;
};

} // namespace brindleaf
