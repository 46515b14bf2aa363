#include "window/UndoMessages.hpp"

#include "session/NameText.hpp"
#include "window/ErrorMessages.hpp"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QStringList>

namespace brindleaf {

namespace {

QString reasonText(LeftAloneReason reason) {
    switch (reason) {
    case LeftAloneReason::Missing:
        return UndoMessages::tr("not found under any name the renaming gave it");
    case LeftAloneReason::Replaced:
        return UndoMessages::tr("another entry stands under its new name");
    case LeftAloneReason::SizeChanged:
        return UndoMessages::tr("the entry under its new name differs in size");
    case LeftAloneReason::TimeChanged:
        return UndoMessages::tr("the entry under its new name differs in modification time");
    case LeftAloneReason::LooksAlike:
        return UndoMessages::tr("more than one entry looks like it");
    case LeftAloneReason::NameTaken:
        return UndoMessages::tr("another entry holds its original name");
    }
    return {};
}

QString leftAloneList(const std::vector<LeftAlone>& entries) {
    QStringList lines;
    for (const LeftAlone& entry : entries) {
        lines.append(
            QStringLiteral("“%1”: %2").arg(decodedName(entry.original), reasonText(entry.reason)));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString UndoMessages::howFar(const UndoReport& report) {
    QString text =
        report.restored == report.toRestore
            ? tr("All %Ln entries are back under their original names; Undo completes the "
                 "record.",
                 nullptr, countForText(report.toRestore))
            : tr("%L1 of %Ln entries are back under their original names; Undo gives back "
                 "the rest.",
                 nullptr, countForText(report.toRestore))
                  .arg(report.restored);
    return text + ErrorMessages::placeholderLines(report.placeholdersLeft);
}

QString UndoMessages::stoppedUndo(const UndoReport& report) {
    if (report.outcome == UndoOutcome::Cancelled) {
        return tr("The undo was stopped.") + QLatin1Char(' ') + howFar(report);
    }
    if (report.failure) {
        return tr("The undo failed: %1").arg(ErrorMessages::reasonOf(report.failure->code)) +
               QLatin1Char(' ') + howFar(report);
    }
    if (report.notFlushed) {
        return tr("The folder could not be flushed to disk: %1")
                   .arg(ErrorMessages::reasonOf(report.error)) +
               QLatin1Char(' ') + howFar(report);
    }
    if (report.notRecorded) {
        return tr("The record of the renaming could not be updated: %1")
                   .arg(ErrorMessages::reasonOf(report.error)) +
               QLatin1Char(' ') + howFar(report);
    }
    return tr("The undo could not start: %1 Nothing was changed.")
        .arg(ErrorMessages::reasonOf(report.error));
}

QString UndoMessages::runTime(std::int64_t startedNanoseconds) {
    const QDateTime started = QDateTime::fromMSecsSinceEpoch(startedNanoseconds / 1'000'000);
    const QLocale locale;
    if (started.date() == QDate::currentDate()) {
        return tr("today %1").arg(locale.toString(started.time(), QLocale::ShortFormat));
    }
    return locale.toString(started, QLocale::ShortFormat);
}

QString UndoMessages::question(const QString& folder, const RecordedRun& run) {
    return tr("Give the %Ln entries of the renaming of %2 in “%1” their original names back?",
              nullptr, countForText(run.entryCount.value_or(0)))
        .arg(folder, runTime(run.startedNanoseconds));
}

QString UndoMessages::namesLeftByInterruptedRun() {
    return tr("These are the names the interrupted renaming left, some of them temporary. "
              "Undo gives the entries their original names back; nothing can be renamed until "
              "then.");
}

QString UndoMessages::damagedRecordQuestion(const QString& folder, const ForgetReport& examined) {
    if (!examined.entriesNamed) {
        return tr("The record of the renaming of %1 in “%2” cannot be read, so it cannot be "
                  "undone. How many entries it names cannot be told; %L3 can be read, and %Ln of "
                  "those are still under a new or temporary name. Set the record aside, so the "
                  "folder can be renamed again? No entry is moved, and the record is kept.",
                  nullptr, countForText(examined.stranded.size()))
            .arg(runTime(examined.run.startedNanoseconds), folder)
            .arg(examined.entriesRead);
    }
    return tr("The record of the renaming of %1 in “%2” cannot be read, so it cannot be "
              "undone. It names %L3 entries, of which %L4 can be read; %Ln of those are still "
              "under a new or temporary name. Set the record aside, so the folder can be "
              "renamed again? No entry is moved, and the record is kept.",
              nullptr, countForText(examined.stranded.size()))
        .arg(runTime(examined.run.startedNanoseconds), folder)
        .arg(*examined.entriesNamed)
        .arg(examined.entriesRead);
}

QString UndoMessages::damagedRecordRestoreQuestion(const QString& folder,
                                                   const ForgetReport& examined) {
    return tr("The record of the renaming of %1 in “%2” is damaged, but %L3 of the %L4 entries "
              "it names can be read; %Ln of those are still under a new or temporary name. Give "
              "the entries it can tell their original names back?",
              nullptr, countForText(examined.stranded.size()))
        .arg(runTime(examined.run.startedNanoseconds), folder)
        .arg(examined.entriesRead)
        // Restoring needs the journal's head, which gives the count.
        .arg(examined.entriesNamed.value_or(examined.entriesRead));
}

QString UndoMessages::strandedEntries(const ForgetReport& examined) {
    // A dialog holds a screenful; the rest are counted.
    constexpr std::size_t shown = 20;
    QStringList lines;
    for (std::size_t i = 0; i < std::min(shown, examined.stranded.size()); ++i) {
        const StrandedEntry& entry = examined.stranded[i];
        lines.append(
            tr("“%1” is now “%2”").arg(decodedName(entry.original), decodedName(entry.current)));
    }
    if (examined.stranded.size() > shown) {
        lines.append(tr("and %Ln more", nullptr, countForText(examined.stranded.size() - shown)));
    }
    return lines.join(QLatin1Char('\n'));
}

QString UndoMessages::damagedJournal(const QString& folder) {
    return tr("The record of the last renaming in “%1” is damaged, so whether it finished "
              "cannot be told, and nothing can be renamed until it is dealt with: Undo gives "
              "back the entries it can still tell, or sets it aside.")
        .arg(folder);
}

QString UndoMessages::unreadableJournals(const QString& journalFolder,
                                         const std::error_code& error) {
    return tr("The records of past renamings in “%1” cannot be used: %2. Until that is put "
              "right, nothing can be renamed or undone.")
        .arg(journalFolder, ErrorMessages::reasonOf(error));
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
    succeeded = report.outcome == UndoOutcome::Restored && report.unreadEntries == 0;
    QString text;
    switch (report.outcome) {
    case UndoOutcome::NothingToUndo:
        text = tr("There is nothing to undo in this folder.");
        break;
    case UndoOutcome::FolderUnreadable:
        text =
            tr("The folder cannot be read: %1").arg(QString::fromLocal8Bit(report.error.message()));
        break;
    case UndoOutcome::JournalsUnreadable:
        text = tr("The records of past renamings cannot be used: %1. Nothing was changed.")
                   .arg(ErrorMessages::reasonOf(report.error));
        break;
    case UndoOutcome::InProgress:
        text = tr("Another program is renaming the entries of this folder right now.");
        break;
    case UndoOutcome::JournalDamaged:
        text = tr("The record of the last renaming is damaged, so it cannot be undone. Nothing "
                  "was changed.");
        break;
    case UndoOutcome::Restored:
        text = report.restored == 0
                   ? tr("Every entry of that renaming had its original name already.")
                   : tr("Gave %Ln entries their original names back.", nullptr,
                        countForText(report.restored));
        break;
    case UndoOutcome::PartlyRestored:
    case UndoOutcome::NoneRestored:
        text = (report.restored == 0
                    ? tr("No entry could be given its original name back, so nothing was "
                         "changed; the renaming can still be undone.")
                    : tr("Gave %Ln entries their original names back.", nullptr,
                         countForText(report.restored))) +
               QLatin1Char('\n') + tr("These entries were left alone; Undo tries them again:") +
               QLatin1Char('\n') + leftAloneList(report.leftAlone);
        break;
    case UndoOutcome::Failed:
    case UndoOutcome::Cancelled:
        text = stoppedUndo(report);
        break;
    }
    if (report.fromDamagedRecord) {
        text += QLatin1Char('\n') +
                (report.unreadEntries == 0
                     ? tr("The record of that renaming was damaged; the entries it could still "
                          "tell were taken into account.")
                     : tr("The record of that renaming was damaged: %Ln entries it named could "
                          "not be read and keep the names they have now. The damaged record is "
                          "kept, and the folder is not renamed until it is set aside.",
                          nullptr, countForText(report.unreadEntries)));
    }
    if (report.matchedByStamp && report.restored > 0) {
        text += QLatin1Char('\n') + tr("This file system does not keep inode numbers, so entries "
                                       "were recognised by name, size and modification time.");
    }
    return text;
}

} // namespace brindleaf
