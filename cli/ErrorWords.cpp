#include "cli/ErrorWords.hpp"

#include "cli/ShownName.hpp"

namespace brindleaf::cli {

namespace {

std::string problemWords(const Error& error) {
    switch (error.problem) {
    case NameProblem::ContainsSlash:
        return "the new name would contain \"/\" and reach outside the folder";
    case NameProblem::ContainsNul:
        return "the new name would contain a NUL character";
    case NameProblem::TooLong:
        return "the new names would be longer than the " + std::to_string(error.longestNewName) +
               " bytes a name can have in this folder";
    case NameProblem::HeldByLeftOut:
        return "the new name is held by an entry left out of the numbering, which is never "
               "moved out of the way";
    }
    return {};
}

// What the file system refused, in plain words: where it refuses the no-replace rename, the
// step taken instead is named.
std::string stepWords(const Error& error) {
    const std::string reason = error.code.message();
    switch (error.step) {
    case MoveStep::Rename:
        return reason;
    case MoveStep::ClaimNewName:
        if (error.code == std::errc::file_exists) {
            return reason;
        }
        return "this file system cannot rename without replacing, and it refused to hold the "
               "new name with an empty placeholder (" +
               reason + ")";
    case MoveStep::RenameOntoClaim:
        return "this file system cannot rename without replacing, and it refused to move the "
               "entry onto the empty placeholder that held its new name (" +
               reason + ")";
    }
    return reason;
}

std::string restoredWords(const Error& error) {
    const std::string restored =
        error.notRestored.empty()
            ? " Every entry is back under its original name."
            : " " + entryCount(error.notRestored.size()) +
                  " could not be given the original name back yet; 'brindleaf-cli --undo' can "
                  "try again:" +
                  nameLines(error.notRestored);
    return restored + placeholderLines(error.placeholdersLeft);
}

} // namespace

std::string describeError(const Error& error) {
    switch (error.kind) {
    case ErrorKind::CannotReadFolder:
        return "Cannot read folder " + quotedName(error.path) + ": " + error.code.message();
    case ErrorKind::UnusableName:
        return "Cannot rename " + quotedName(error.name) + ": " + problemWords(error) +
               ". Nothing was renamed.";
    case ErrorKind::CannotRename:
        return "Cannot rename " + quotedName(error.name) + " to " + quotedName(error.newName) +
               ": " + stepWords(error) + "." + restoredWords(error);
    case ErrorKind::StoppedUnfinished:
        return "The renaming was stopped." + restoredWords(error);
    case ErrorKind::CannotWriteJournal:
        return "Cannot write the run's journal in " + quotedName(error.path) + ": " +
               error.code.message() + ". Nothing was renamed.";
    case ErrorKind::CannotFlush:
        return "Cannot flush the folder " + quotedName(error.path) +
               " to disk: " + error.code.message() + "." +
               (error.renamed == 0
                    ? std::string()
                    : " " + entryCount(error.renamed) +
                          (error.renamed == 1 ? " has its" : " have their") +
                          " new names but may lose them in a power cut. The run stays recorded "
                          "as unfinished: 'brindleaf-cli --undo " +
                          shownName(error.path) + "' gives them their original names back.");
    case ErrorKind::CannotMarkJournal:
        return entryCount(error.renamed) + (error.renamed == 1 ? " was" : " were") +
               " renamed, but the journal could not be marked finished: " + error.code.message() +
               ". The run stays recorded as unfinished: 'brindleaf-cli "
               "--undo " +
               shownName(error.path) + "' gives the entries their original names back.";
    }
    return error.code.message();
}

} // namespace brindleaf::cli
