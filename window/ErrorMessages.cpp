#include "window/ErrorMessages.hpp"

#include "session/NameText.hpp"

#include "platform/JournalFiles.hpp"

#include <QFile>
#include <QStringList>

namespace brindleaf {

namespace {} // namespace

QString ErrorMessages::reasonOf(const std::error_code& code) {
    if (code.category() != journalFolderCategory()) {
        return QString::fromLocal8Bit(code.message());
    }
    switch (static_cast<JournalFolderProblem>(code.value())) {
    case JournalFolderProblem::IsALink:
        return tr("it is a symbolic link");
    case JournalFolderProblem::NotAFolder:
        return tr("it is not a folder");
    case JournalFolderProblem::OwnedByAnotherUser:
        return tr("it belongs to another user");
    case JournalFolderProblem::WritableByOthers:
        return tr("other users may write to it");
    }
    return QString::fromLocal8Bit(code.message());
}

QString ErrorMessages::nameProblem(NameProblem problem, std::uint64_t longestNewName) {
    switch (problem) {
    case NameProblem::ContainsSlash:
        return tr("A new name would contain “/”, which no file name can hold.");
    case NameProblem::ContainsNul:
        return tr("A new name would contain a NUL character, which no file name can hold.");
    case NameProblem::TooLong:
        return tr("The new names would be longer than the %1 bytes a name can have here.")
            .arg(longestNewName);
    case NameProblem::HeldByLeftOut:
        return tr("A new name is held by an entry left out of the numbering, which is never "
                  "moved out of the way.");
    }
    return {};
}

QString ErrorMessages::describe(const Error& error) {
    const QString reason = reasonOf(error.code);
    QString text;
    switch (error.kind) {
    case ErrorKind::CannotReadFolder:
        return tr("The folder “%1” cannot be read: %2").arg(decodedName(error.path), reason);
    case ErrorKind::UnusableName:
        return tr("The new names cannot be given: %1 Nothing was renamed.")
            .arg(nameProblem(error.problem, error.longestNewName));
    case ErrorKind::CannotWriteJournal:
        return tr("The record of this renaming cannot be written in “%1”: %2. Nothing was "
                  "renamed.")
            .arg(decodedName(error.path), reason);
    case ErrorKind::CannotFlush:
        if (error.renamed > 0) {
            return tr("The folder “%1” cannot be written to disk: %2. %Ln entries have their new "
                      "names but may lose them in a power cut; Undo can still restore them.",
                      nullptr, countForText(error.renamed))
                .arg(decodedName(error.path), reason);
        }
        return tr("The folder “%1” cannot be written to disk: %2. Its names may not survive a "
                  "power cut; Undo can still restore them.")
            .arg(decodedName(error.path), reason);
    case ErrorKind::CannotMarkJournal:
        return tr("%Ln entries were renamed, but the record of the renaming cannot be "
                  "completed: %1. The renaming stays recorded as unfinished: Undo gives the "
                  "entries their original names back.",
                  nullptr, countForText(error.renamed))
            .arg(reason);
    case ErrorKind::CannotRename:
        switch (error.step) {
        case MoveStep::Rename:
            text = tr("“%1” cannot be renamed to “%2”: %3.")
                       .arg(decodedName(error.name), decodedName(error.newName), reason);
            break;
        case MoveStep::ClaimNewName:
            text = error.code == std::errc::file_exists
                       ? tr("“%1” cannot be renamed to “%2”: %3.")
                             .arg(decodedName(error.name), decodedName(error.newName), reason)
                       : tr("“%1” cannot be renamed to “%2”: this file system cannot rename "
                            "without replacing, and it refused to hold the new name with an "
                            "empty placeholder (%3).")
                             .arg(decodedName(error.name), decodedName(error.newName), reason);
            break;
        case MoveStep::RenameOntoClaim:
            text = tr("“%1” cannot be renamed to “%2”: this file system cannot rename without "
                      "replacing, and it refused to move the entry onto the empty placeholder "
                      "that held its new name (%3).")
                       .arg(decodedName(error.name), decodedName(error.newName), reason);
            break;
        }
        break;
    case ErrorKind::StoppedUnfinished:
        text = tr("The renaming was stopped.");
        break;
    }
    if (error.notRestored.empty()) {
        text += QLatin1Char(' ') + tr("Every entry is back under its original name.");
    }
    return text + notRestoredLines(error.notRestored) + placeholderLines(error.placeholdersLeft);
}

QString ErrorMessages::notRestoredLines(const std::vector<std::string>& originals) {
    if (originals.empty()) {
        return {};
    }
    QString text = QLatin1Char('\n') +
                   tr("These entries could not be given their names back yet; Undo can try again:");
    for (const std::string& name : originals) {
        text += QLatin1Char('\n') + QStringLiteral("“%1”").arg(decodedName(name));
    }
    return text;
}

QString ErrorMessages::placeholderLines(const std::vector<std::string>& placeholders) {
    QString text;
    for (const std::string& placeholder : placeholders) {
        text += QLatin1Char('\n') +
                tr("An empty placeholder could not be removed and was left behind: “%1”")
                    .arg(decodedName(placeholder));
    }
    return text;
}

} // namespace brindleaf
