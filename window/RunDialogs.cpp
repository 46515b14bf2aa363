#include "window/RunDialogs.hpp"

#include "session/FolderSession.hpp"
#include "session/NameText.hpp"
#include "window/Alerts.hpp"
#include "window/ErrorMessages.hpp"
#include "window/RunProgress.hpp"
#include "window/UndoMessages.hpp"

#include "platform/InterruptSignals.hpp"

#include <QPointer>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <vector>

namespace brindleaf {

namespace {

// Disables the window's own widgets while it lives, and enables again those it disabled.
class WidgetsDisabled {
public:
    explicit WidgetsDisabled(QWidget* window) {
        for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow() && child->isEnabled()) {
                child->setEnabled(false);
                disabled_.emplace_back(child);
            }
        }
    }
    ~WidgetsDisabled() {
        for (const QPointer<QWidget>& child : disabled_) {
            if (child) {
                child->setEnabled(true);
            }
        }
    }
    WidgetsDisabled(const WidgetsDisabled&) = delete;
    WidgetsDisabled& operator=(const WidgetsDisabled&) = delete;

private:
    std::vector<QPointer<QWidget>> disabled_;
};

} // namespace

// A run moving entries: its progress shows, and the window's widgets wait. The progress
// dialog blocks no window, so that a close request reaches the window.
struct RunDialogs::Underway {
    explicit Underway(QWidget* window) : disabled(window), progress(window) {}
    WidgetsDisabled disabled;
    RunProgress progress;
};

RunDialogs::RunDialogs(QWidget* window, FolderSession& session)
    : QObject(window), window_(window), session_(session) {
    connect(&session_, &FolderSession::stateChanged, this, &RunDialogs::follow);
}

RunDialogs::~RunDialogs() = default;

QString RunDialogs::folderName() const {
    return decodedName(session_.state().settings.targetDir);
}

void RunDialogs::offerForUnfinishedRun(LastRunState state) {
    if (state == LastRunState::Damaged) {
        offerToSetAsideDamagedRecord();
    } else {
        offerToRestoreInterruptedRun();
    }
}

bool RunDialogs::stopForClose() {
    if (!running_) {
        return false;
    }
    // Stopped at the next move and rolled back; the window closes once that is done.
    closeRequested_ = true;
    session_.stopRun(FolderSession::AfterRun::LetGo);
    return true;
}

QString RunDialogs::confirmationDetails() const {
    const SessionState& state = session_.state();
    if (state.settings.targetDir.empty()) {
        return tr("No folder is chosen, so nothing will be renamed.");
    }
    if (state.rows == 0) {
        return tr("“%1” is empty, so nothing will be renamed.").arg(folderName());
    }
    const std::size_t numbered = state.rows - state.leftOut;
    return tr("%n entries in “%1” get new names.", nullptr, countForText(numbered))
        .arg(folderName());
}

void RunDialogs::toggleConfirm() {
    confirming_ = true;
    const bool accepted = askToProceed(window_, tr("Confirmation"), tr("ProceedRenaming"), tr("OK"),
                                       {}, confirmationDetails());
    confirming_ = false;
    if (accepted) {
        renameFiles();
    }
}

void RunDialogs::renameFiles() {
    if (running_ || session_.state().settings.targetDir.empty()) {
        return;
    }
    running_ = true;
    closeRequested_ = false;
    emit statusChanged({});
    session_.rename();
}

void RunDialogs::restoreOriginalNames() {
    if (running_) {
        return;
    }
    running_ = true;
    closeRequested_ = false;
    emit statusChanged({});
    session_.undo();
}

// Progress shows while the run goes on; once it ends, the dialog closes and the widgets
// come back before anything is told, since an alert raised under the progress dialog could
// not be answered. What the run did is told once the session has finished with it.
void RunDialogs::follow(const SessionState& state) {
    if (const auto* running = std::get_if<activity::Running>(&state.activity)) {
        if (!underway_) {
            underway_ = std::make_unique<Underway>(window_);
            connect(&underway_->progress, &QProgressDialog::canceled, this,
                    [this] { session_.stopRun(FolderSession::AfterRun::ShowFolder); });
        }
        underway_->progress.showProgress(running->done, running->total);
        // cancel() called on the dialog, rather than its button pressed, tells no signal.
        if (underway_->progress.wasCanceled()) {
            session_.stopRun(FolderSession::AfterRun::ShowFolder);
        }
        return;
    }
    const auto* finished = std::get_if<activity::Finished>(&state.activity);
    if (finished == nullptr) {
        return;
    }
    // The keyboard goes back to the window, as the progress dialog had taken it.
    const bool progressActive = underway_ && underway_->progress.isActiveWindow();
    underway_.reset();
    if (progressActive) {
        window_->activateWindow();
    }
    QMetaObject::invokeMethod(
        this, [this, run = finished->run] { tell(run); }, Qt::QueuedConnection);
}

void RunDialogs::tell(const FinishedRun& run) {
    running_ = false;
    if (const auto* renamed = std::get_if<RenameResult>(&run.result)) {
        if (closeRequested_ || run.signal != 0) {
            quitAfterRun(run.signal, renamed->report.failures.empty());
            return;
        }
        tellRename(*renamed);
        return;
    }
    const auto& undone = std::get<UndoReport>(run.result);
    if (closeRequested_ || run.signal != 0) {
        quitAfterRun(run.signal, undone.stranded.empty());
        return;
    }
    tellUndo(undone);
}

void RunDialogs::tellRename(const RenameResult& result) {
    for (const Error& failure : result.report.failures) {
        showFailureAlert(window_, ErrorMessages::describe(failure));
    }
    if (result.folderChanged) {
        askAgainAfterChange();
        return;
    }
    showRunOutcome(result.report);
}

void RunDialogs::showRunOutcome(const RunReport& report) {
    switch (report.outcome) {
    case RunOutcome::Renamed: {
        QString text = tr("Renamed %n entries.", nullptr, countForText(report.moved));
        if (report.alreadyNamed > 0) {
            text += QLatin1Char(' ') + tr("%n had their new names already.", nullptr,
                                          countForText(report.alreadyNamed));
        }
        emit statusChanged(text);
        break;
    }
    case RunOutcome::AlreadyNamed:
        emit statusChanged(tr("Every entry already has its new name; nothing was renamed."));
        break;
    case RunOutcome::LastRunInterrupted:
        offerToRestoreInterruptedRun();
        break;
    case RunOutcome::LastRunDamaged:
        offerToSetAsideDamagedRecord();
        break;
    case RunOutcome::AnotherRunGoing:
        showFailureAlert(window_, UndoMessages::anotherRunGoing(folderName()));
        break;
    case RunOutcome::NothingToRename:
    case RunOutcome::Failed:
    case RunOutcome::Cancelled:
        break;
    }
}

void RunDialogs::askAgainAfterChange() {
    if (askToProceed(window_, tr("Confirmation"),
                     tr("The folder changed after its preview was shown. The preview now shows "
                        "it as it is. Rename every entry as it shows now?"),
                     tr("OK"))) {
        renameFiles();
    }
}

void RunDialogs::undoLastRun() {
    const LastRun& lastRun = session_.state().lastRun;
    if (lastRun.state == LastRunState::Damaged) {
        offerToSetAsideDamagedRecord();
        return;
    }
    if (lastRun.state != LastRunState::Finished && lastRun.state != LastRunState::Interrupted) {
        return;
    }
    if (askToProceed(window_, tr("Undo Renaming"), UndoMessages::question(folderName(), lastRun),
                     tr("Undo", "accepts the undo confirmation"))) {
        restoreOriginalNames();
    }
}

void RunDialogs::offerToRestoreInterruptedRun() {
    if (askToProceed(window_, tr("Undo Renaming"), UndoMessages::interruptedQuestion(folderName()),
                     tr("Restore the original names"), tr("Not now"))) {
        restoreOriginalNames();
    }
}

void RunDialogs::tellUndo(const UndoReport& report) {
    if (report.outcome == UndoOutcome::JournalDamaged) {
        offerToSetAsideDamagedRecord();
        return;
    }
    bool succeeded = false;
    const QString words = UndoMessages::outcome(report, succeeded);
    if (succeeded) {
        emit statusChanged(words);
    } else {
        showFailureAlert(window_, words);
    }
}

// A record that cannot be read would keep the folder refused for good. It is set aside,
// never deleted, once the user has seen which entries it still names away from their
// original names; no entry moves.
void RunDialogs::offerToSetAsideDamagedRecord() {
    const ForgetReport examined = session_.forget(false);
    if (examined.outcome != ForgetOutcome::Examined) {
        return;
    }
    if (!askToProceed(window_, tr("Damaged Record"),
                      UndoMessages::damagedRecordQuestion(folderName(), examined),
                      tr("Set the record aside"), tr("Cancel"),
                      UndoMessages::strandedEntries(examined))) {
        return;
    }
    const ForgetReport setAside = session_.forget(true);
    if (setAside.outcome == ForgetOutcome::SetAside) {
        emit statusChanged(tr("The damaged record was set aside; no entry was moved."));
    } else {
        showFailureAlert(window_, ErrorMessages::reasonOf(setAside.error));
    }
}

void RunDialogs::quitAfterRun(int signal, bool everyNameBack) {
    if (signal != 0) {
        std::fprintf(stderr, "brindleaf: stopped by signal %d (%s) during a run; %s\n", signal,
                     ::strsignal(signal),
                     everyNameBack ? "every entry is back under the name it had before the run"
                                   : "some entries could not be given their names back; "
                                     "'brindleaf-cli --undo FOLDER' tries again");
    }
    emit quitRequested(signal != 0 ? exitStatusAfter(signal) : 0);
}

} // namespace brindleaf
