#pragma once

#include "engine/Execution.hpp"
#include "engine/Journals.hpp"
#include "engine/Undo.hpp"

#include <QObject>
#include <QString>

class QWidget;

namespace brindleaf {

class FolderSession;
class RunProgress;

// The dialogs around a run of a folder session: asking first, the progress of the moves,
// what the run did, undo, and the offers for a run that did not finish or whose record is
// damaged. The window's own widgets are disabled while entries move.
class RunDialogs : public QObject {
    Q_OBJECT

public:
    RunDialogs(QWidget* window, FolderSession& session);

    [[nodiscard]] bool isRunning() const { return activeRun_ != nullptr; }
    [[nodiscard]] bool isConfirming() const { return confirm_; }

    // Inverts `confirm`; while it is true, asks whether to rename and does so on OK.
    void toggleConfirm();
    void renameFiles();
    void undoLastRun();
    // Offered once when a folder is shown whose last run did not finish or cannot be read.
    void offerForUnfinishedRun(LastRunState state);
    // A close request during a run stops it at the next move; true when one was running.
    bool stopForClose();

signals:
    // What the last run or undo did, in a line for the window's status.
    void statusChanged(const QString& text);
    // Entries are about to move: the preview has let its rows go until runEnded().
    void runStarted();
    void runEnded();
    // A close or a signal stopped a run, which was rolled back; the window closes, and the
    // program ends with `exitCode`.
    void quitRequested(int exitCode);

private:
    // How a run under the progress dialog ended, beside what the run itself reports.
    struct RunEnd {
        bool quit = false; // a close or a signal asked the program to end
        int signal = 0;
    };

    [[nodiscard]] QString folderName() const;
    [[nodiscard]] QString confirmationDetails() const;
    void showRunOutcome(const RunReport& report);
    void showStopOutcome(const RunReport& report);
    void askAgainAfterChange();
    void offerToRestoreInterruptedRun();
    void offerToSetAsideDamagedRecord();
    void restoreOriginalNames();
    template <typename Run> RunEnd runWithProgress(Run run);
    void quitAfterRun(const RunEnd& end);
    static void sayHowFarOnQuit(const RunEnd& end, const UndoReport& report);

    QWidget* window_;
    FolderSession& session_;
    RunProgress* activeRun_ = nullptr;
    bool confirm_ = false;
};

} // namespace brindleaf
