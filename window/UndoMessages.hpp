#pragma once

#include "engine/Forget.hpp"
#include "engine/Undo.hpp"

#include <QCoreApplication>
#include <QString>

namespace brindleaf {

// The window's words for undoing a run and for a run that did not finish.
class UndoMessages {
    Q_DECLARE_TR_FUNCTIONS(UndoMessages)

public:
    // Asks to undo `run`, named by when it began and how many entries it renamed.
    static QString question(const QString& folder, const RecordedRun& run);
    // When a run began: "today 14:03", or the date and time.
    static QString runTime(std::int64_t startedNanoseconds);
    static QString damagedJournal(const QString& folder);
    // Why no run can be told: the folder of the records cannot be read or trusted.
    static QString unreadableJournals(const QString& journalFolder, const std::error_code& error);
    static QString namesLeftByInterruptedRun();
    // Asks to set a damaged record aside, saying what was found in it.
    static QString damagedRecordQuestion(const QString& folder, const ForgetReport& examined);
    // Asks to give back the entries a damaged record still tells, saying what was found.
    static QString damagedRecordRestoreQuestion(const QString& folder,
                                                const ForgetReport& examined);
    // The entries the record still names that are away from their original names.
    static QString strandedEntries(const ForgetReport& examined);
    static QString interruptedQuestion(const QString& folder);
    static QString anotherRunGoing(const QString& folder);
    // What the undo did. `succeeded` tells a plain success from one the user must read.
    static QString outcome(const UndoReport& report, bool& succeeded);
    // How far an undo that stopped or failed got, and what Undo does next.
    static QString howFar(const UndoReport& report);
    static QString stoppedUndo(const UndoReport& report);
};

} // namespace brindleaf
