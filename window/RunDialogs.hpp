#pragma once

#include "session/SessionState.hpp"

#include <QObject>
#include <QString>

#include <memory>

class QWidget;

namespace brindleaf {

class Alerts;
class FolderSession;

// The dialogs around a run of a folder session: asking first, the progress of the moves,
// what the run did, undo, and the offers for a run that did not finish or whose record is
// damaged. The session carries the run out on a thread of its own; these follow its state,
// and the window's own widgets are disabled while entries move.
class RunDialogs : public QObject {
    Q_OBJECT

public:
    RunDialogs(QWidget* window, FolderSession& session, const Alerts& alerts);
    ~RunDialogs() override;

    // From the start of a run until what it did has been told.
    [[nodiscard]] bool isRunning() const { return running_; }
    [[nodiscard]] bool isConfirming() const { return confirming_; }

    // Asks whether to rename, and renames on OK.
    void toggleConfirm();
    void renameFiles();
    void undoLastRun();
    // Offered once when a folder is shown whose last run did not finish or cannot be read.
    void offerForUnfinishedRun(RecordedRunState state);
    // A close request during a run stops it at the next move; true when one was running.
    bool stopForClose();

signals:
    // What the last run or undo did, in a line for the window's status.
    void statusChanged(const QString& text);
    // A close or a signal stopped a run, which was rolled back; the window closes, and the
    // program ends with `exitCode`.
    void quitRequested(int exitCode);

private:
    struct Underway;

    void follow(const SessionState& state);
    void tell(const FinishedRun& run);
    void tellRename(const RenameResult& result);
    void tellUndo(const UndoReport& report);
    [[nodiscard]] QString folderName() const;
    [[nodiscard]] QString confirmationDetails() const;
    void showRunOutcome(const RunReport& report);
    void showStopOutcome(const RunReport& report);
    void askAgainAfterChange();
    void offerToRestoreInterruptedRun();
    void offerToSetAsideDamagedRecord();
    void restoreOriginalNames();
    void quitAfterRun(int signal);
    void sayHowFarOnQuit(int signal, const UndoReport& report) const;

    QWidget* window_;
    FolderSession& session_;
    const Alerts& alerts_;
    // The progress dialog and the disabled widgets of the run moving entries now.
    std::unique_ptr<Underway> underway_;
    bool running_ = false;
    // A close came during the run: the window closes once every name is back.
    bool closeRequested_ = false;
    bool confirming_ = false;
};

} // namespace brindleaf
