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

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
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

RunDialogs::RunDialogs(QWidget* window, FolderSession& session, const Alerts& alerts)
    : QObject(window), window_(window), session_(session), alerts_(alerts) {
    connect(&session_, &FolderSession::stateChanged, this, &RunDialogs::follow);
}

RunDialogs::~RunDialogs() = default;

QString RunDialogs::folderName() const {
    return decodedName(session_.state().settings.targetDir);
}

void RunDialogs::offerForUnfinishedRun(RecordedRunState state) {
    if (state == RecordedRunState::Damaged) {
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
    const std::size_t leftOut = state.leftOut;
    const int numbered = countForText(state.rows - leftOut);
    if (numbered == 0) {
        return tr("The choices leave every entry of “%1” out, so nothing will be renamed.")
            .arg(folderName());
    }
    const QString renamed =
        tr("%Ln entries in “%1” get new names.", nullptr, numbered).arg(folderName());
    if (leftOut == 0) {
        return renamed;
    }
    return renamed + QLatin1Char(' ') +
           tr("%Ln entries are left out and keep their names.", nullptr, countForText(leftOut));
}

void RunDialogs::toggleConfirm() {
    confirming_ = true;
    const bool accepted = alerts_.ask({Question::Rename,
                                       tr("Confirmation"),
                                       tr("ProceedRenaming"),
                                       tr("OK"),
                                       {},
                                       confirmationDetails()});
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
    const bool quit = closeRequested_ || run.signal != 0;
    if (const auto* renamed = std::get_if<RenameResult>(&run.result)) {
        if (!quit) {
            tellRename(*renamed);
            return;
        }
        if (run.signal != 0) {
            std::fprintf(stderr, "brindleaf: stopped by signal %d (%s) during a run; %s\n",
                         run.signal, ::strsignal(run.signal),
                         renamed->report.failures.empty()
                             ? "every entry is back under the name it had before the run"
                             : "some entries could not be given their names back; "
                               "'brindleaf-cli --undo FOLDER' tries again");
        }
        quitAfterRun(run.signal);
        return;
    }
    const auto& undone = std::get<UndoReport>(run.result);
    if (!quit) {
        tellUndo(undone);
        return;
    }
    sayHowFarOnQuit(run.signal, undone);
    quitAfterRun(run.signal);
}

void RunDialogs::tellRename(const RenameResult& result) {
    for (const Error& failure : result.report.failures) {
        alerts_.showFailure(ErrorMessages::describe(failure));
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
        QString text = tr("Renamed %Ln entries.", nullptr, countForText(report.moved));
        if (report.alreadyNamed > 0) {
            text += QLatin1Char(' ') + tr("%Ln had their new names already.", nullptr,
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
        alerts_.showFailure(UndoMessages::anotherRunGoing(folderName()));
        break;
    case RunOutcome::Cancelled:
        emit statusChanged(tr("Stopped; every entry is back under its name."));
        break;
    case RunOutcome::Failed:
        showStopOutcome(report);
        break;
    case RunOutcome::NothingToRename:
        break;
    }
}

// A stop whose taking back of the moves failed is a failure, alerted with its names; the
// status line still says the run was stopped, and how many names are not back.
void RunDialogs::showStopOutcome(const RunReport& report) {
    const auto stop =
        std::ranges::find(report.failures, ErrorKind::StoppedUnfinished, &Error::kind);
    if (stop == report.failures.end()) {
        return;
    }
    emit statusChanged(stop->notRestored.empty()
                           ? tr("Stopped; every entry is back under its name.")
                           : tr("Stopped; %Ln entries could not be given their names back; "
                                "Undo can try again.",
                                nullptr, countForText(stop->notRestored.size())));
}

void RunDialogs::askAgainAfterChange() {
    if (alerts_.ask({Question::RenameAfterChange,
                     tr("Confirmation"),
                     tr("The folder changed after its preview was shown. The preview now shows "
                        "it as it is. Rename the entries as it shows them now?"),
                     tr("OK"),
                     {},
                     {}})) {
        renameFiles();
    }
}

void RunDialogs::undoLastRun() {
    const RecordedRun& lastRun = session_.state().lastRun;
    if (lastRun.state == RecordedRunState::Damaged) {
        offerToSetAsideDamagedRecord();
        return;
    }
    if (lastRun.state != RecordedRunState::Finished &&
        lastRun.state != RecordedRunState::Interrupted) {
        return;
    }
    if (alerts_.ask({Question::Undo,
                     tr("Undo Renaming"),
                     UndoMessages::question(folderName(), lastRun),
                     tr("Undo", "accepts the undo confirmation"),
                     {},
                     {}})) {
        restoreOriginalNames();
    }
}

void RunDialogs::offerToRestoreInterruptedRun() {
    if (alerts_.ask({Question::RestoreInterrupted,
                     tr("Undo Renaming"),
                     UndoMessages::interruptedQuestion(folderName()),
                     tr("Restore the original names"),
                     tr("Not now"),
                     {}})) {
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
        alerts_.showFailure(words);
    }
}

// A record that cannot be read would keep the folder refused for good. While it still tells
// some entries, undo gives those back and replaces it; one that tells none is set aside,
// never deleted, once the user has seen it; no entry moves.
void RunDialogs::offerToSetAsideDamagedRecord() {
    const ForgetReport examined = session_.forget(false);
    if (examined.outcome != ForgetOutcome::Examined) {
        return;
    }
    // Entries it can still tell need not be given up: undo takes them home first.
    if (examined.entriesRead > 0) {
        if (alerts_.ask({Question::RestoreFromDamagedRecord, tr("Damaged Record"),
                         UndoMessages::damagedRecordRestoreQuestion(folderName(), examined),
                         tr("Restore the original names"), tr("Not now"),
                         UndoMessages::strandedEntries(examined)})) {
            restoreOriginalNames();
        }
        return;
    }
    if (!alerts_.ask({Question::SetAsideDamagedRecord, tr("Damaged Record"),
                      UndoMessages::damagedRecordQuestion(folderName(), examined),
                      tr("Set the record aside"), tr("Cancel"),
                      UndoMessages::strandedEntries(examined)})) {
        return;
    }
    const ForgetReport setAside = session_.forget(true);
    if (setAside.outcome == ForgetOutcome::SetAside) {
        emit statusChanged(tr("The damaged record was set aside; no entry was moved."));
    } else {
        alerts_.showFailure(ErrorMessages::reasonOf(setAside.error));
    }
}

// The window is about to go, so an undo that it or a signal stopped is told on standard
// error, where a session's log keeps it.
void RunDialogs::sayHowFarOnQuit(int signal, const UndoReport& report) const {
    const std::string why = signal != 0 ? "stopped by signal " + std::to_string(signal) + " (" +
                                              ::strsignal(signal) + ")"
                                        : std::string("stopped as the window closed");
    if (report.outcome == UndoOutcome::Cancelled || report.outcome == UndoOutcome::Failed) {
        std::fprintf(stderr,
                     "brindleaf: %s during an undo; %zu of %zu entries are back under their "
                     "original names; 'brindleaf-cli --undo FOLDER' gives back the rest\n",
                     why.c_str(), report.restored, report.toRestore);
    } else if (!report.leftAlone.empty()) {
        std::fprintf(stderr,
                     "brindleaf: %s; the undo had ended: %zu entries are back under their "
                     "original names, %zu were left alone; 'brindleaf-cli --undo FOLDER' tries "
                     "them again\n",
                     why.c_str(), report.restored, report.leftAlone.size());
    } else if (signal != 0 && report.outcome == UndoOutcome::Restored) {
        std::fprintf(stderr,
                     "brindleaf: %s; the undo had ended and every entry is back under the name "
                     "it had before the run\n",
                     why.c_str());
    }
}

void RunDialogs::quitAfterRun(int signal) {
    emit quitRequested(signal != 0 ? exitStatusAfter(signal) : 0);
}

} // namespace brindleaf
