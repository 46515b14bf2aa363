#include "window/UndoMessages.hpp"

#include "window/ErrorMessages.hpp"
#include "window/NameText.hpp"

#include <QFile>

namespace brindleaf {

namespace {

QString nameList(const std::vector<std::string>& names) {
    QStringList lines;
    for (const std::string& name : names) {
        lines.append(QStringLiteral("“%1”").arg(decodedName(name)));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString UndoMessages::question(const QString& folder, std::size_t entries) {
    return tr("Give the %n entries of the last renaming in “%1” their original names back?",
              nullptr, countForText(entries))
        .arg(folder);
}

QString UndoMessages::interruptedQuestion(const QString& folder) {
    return tr("The last renaming in “%1” did not finish, so some entries may still have "
              "temporary names. Give every entry its original name back now?")
        .arg(folder);
}

QString UndoMessages::anotherRunGoing(const QString& folder) {
    return tr("Another program is renaming the entries of “%1” right now. Nothing was changed.")
        .arg(folder);
}

QString UndoMessages::outcome(const UndoReport& report, bool& succeeded) {
    succeeded = report.outcome == UndoOutcome::Restored;
    QString text;
    switch (report.outcome) {
    case UndoOutcome::NothingToUndo:
        text = tr("There is nothing to undo in this folder.");
        break;
    case UndoOutcome::FolderUnreadable:
        text =
            tr("The folder cannot be read: %1").arg(QString::fromLocal8Bit(report.error.message()));
        break;
    case UndoOutcome::InProgress:
        text = tr("Another program is renaming the entries of this folder right now.");
        break;
    case UndoOutcome::JournalDamaged:
        text = tr("The record of the last renaming is damaged, so it cannot be undone. Nothing "
                  "was changed.");
        break;
    case UndoOutcome::Restored:
        text = tr("Gave %n entries their original names back.", nullptr,
                  countForText(report.restored));
        break;
    case UndoOutcome::PartlyRestored:
        text = tr("Gave %n entries their original names back.", nullptr,
                  countForText(report.restored)) +
               QLatin1Char('\n') +
               tr("These entries were changed by another program since the renaming, their "
                  "name is taken, or they cannot be told apart from another entry, and were "
                  "left alone:") +
               QLatin1Char('\n') + nameList(report.leftAlone);
        break;
    case UndoOutcome::Failed:
    case UndoOutcome::Cancelled:
        text = report.outcome == UndoOutcome::Cancelled
                   ? tr("The undo was stopped.")
                   : tr("The undo failed: %1")
                         .arg(QString::fromLocal8Bit(
                             (report.failure ? report.failure->code : report.error).message()));
        if (report.stranded.empty()) {
            text += QLatin1Char(' ') + tr("Every entry is back where the undo found it.");
        }
        text += ErrorMessages::notRestoredLines(originalsOf(report.stranded)) +
                ErrorMessages::placeholderLines(report.placeholdersLeft);
        break;
    }
    if (report.matchedByStamp && report.restored > 0) {
        text += QLatin1Char('\n') + tr("This file system does not keep inode numbers, so entries "
                                       "were recognised by name, size and modification time.");
    }
    return text;
}

} // namespace brindleaf
