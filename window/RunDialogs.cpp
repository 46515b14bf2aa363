#include "window/RunDialogs.hpp"

#include "window/Alerts.hpp"
#include "window/ErrorMessages.hpp"
#include "window/FolderSession.hpp"
#include "window/NameText.hpp"
#include "window/PreviewModel.hpp"
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

RunDialogs::RunDialogs(QWidget* window, FolderSession& session)
    : QObject(window), window_(window), session_(session) {}

QString RunDialogs::folderName() const {
    return decodedName(session_.settings().targetDir);
}

void RunDialogs::offerForUnfinishedRun(LastRunState state) {
    if (state == LastRunState::Damaged) {
        offerToSetAsideDamagedRecord();
    } else {
        offerToRestoreInterruptedRun();
    }
}

bool RunDialogs::stopForClose() {
    if (activeRun_ == nullptr) {
        return false;
    }
    // Stopped at the next move and rolled back; the window closes once that is done.
    activeRun_->requestStop();
    return true;
}

QString RunDialogs::confirmationDetails() const {
    if (session_.settings().targetDir.empty()) {
        return tr("No folder is chosen, so nothing will be renamed.");
    }
    const int rows = session_.preview()->rowCount();
    if (rows == 0) {
        return tr("“%1” is empty, so nothing will be renamed.").arg(folderName());
    }
    const std::size_t leftOut = session_.leftOut();
    const int numbered = rows - countForText(leftOut);
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
    confirm_ = !confirm_;
    if (!confirm_) {
        return;
    }
    if (askToProceed(window_, tr("Confirmation"), tr("ProceedRenaming"), tr("OK"), {},
                     confirmationDetails())) {
        renameFiles();
    }
    confirm_ = false;
}

void RunDialogs::renameFiles() {
    if (session_.settings().targetDir.empty()) {
        return;
    }
    const std::uint64_t shown = session_.shownPlan();
    RunReport report;
    bool changed = false;
    const RunEnd end = runWithProgress(
        [&](RunProgress& progress) { report = session_.rename(progress, shown, changed); });
    if (end.quit) {
        if (end.signal != 0) {
            std::fprintf(stderr, "brindleaf: stopped by signal %d (%s) during a run; %s\n",
                         end.signal, ::strsignal(end.signal),
                         report.failures.empty()
                             ? "every entry is back under the name it had before the run"
                             : "some entries could not be given their names back; "
                               "'brindleaf-cli --undo FOLDER' tries again");
        }
        quitAfterRun(end);
        return;
    }
    // Worded only now: an alert raised under the progress dialog could not be answered.
    for (const Error& failure : report.failures) {
        showFailureAlert(window_, ErrorMessages::describe(failure));
    }
    if (changed) {
        askAgainAfterChange();
        return;
    }
    showRunOutcome(report);
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
        showFailureAlert(window_, UndoMessages::anotherRunGoing(folderName()));
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
    if (askToProceed(window_, tr("Confirmation"),
                     tr("The folder changed after its preview was shown. The preview now shows "
                        "it as it is. Rename the entries as it shows them now?"),
                     tr("OK"))) {
        renameFiles();
    }
}

void RunDialogs::undoLastRun() {
    const LastRun& lastRun = session_.lastRun();
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

void RunDialogs::restoreOriginalNames() {
    UndoReport report;
    const RunEnd end =
        runWithProgress([&](RunProgress& progress) { report = session_.undo(progress); });
    if (end.quit) {
        sayHowFarOnQuit(end, report);
        quitAfterRun(end);
        return;
    }
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
        if (askToProceed(window_, tr("Damaged Record"),
                         UndoMessages::damagedRecordRestoreQuestion(folderName(), examined),
                         tr("Restore the original names"), tr("Not now"),
                         UndoMessages::strandedEntries(examined))) {
            restoreOriginalNames();
        }
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

// Runs moves with progress shown; afterwards the preview shows the folder as it now is,
// unless a close or a signal came during the run, which the caller then carries out. The
// progress dialog blocks no window: the window system drops a close request for a window
// that a modal dialog blocks, so the window's own widgets are disabled instead.
template <typename Run> RunDialogs::RunEnd RunDialogs::runWithProgress(Run run) {
    session_.beginRun();
    emit runStarted();
    emit statusChanged({});
    RunEnd end;
    {
        const WidgetsDisabled disabled(window_);
        RunProgress progress(window_);
        activeRun_ = &progress;
        run(progress);
        activeRun_ = nullptr;
        end = {progress.askedToQuit(), progress.signalReceived()};
    }
    session_.endRun(!end.quit);
    emit runEnded();
    return end;
}

// The window is about to go, so an undo that it or a signal stopped is told on standard
// error, where a session's log keeps it.
void RunDialogs::sayHowFarOnQuit(const RunEnd& end, const UndoReport& report) {
    const std::string why = end.signal != 0 ? "stopped by signal " + std::to_string(end.signal) +
                                                  " (" + ::strsignal(end.signal) + ")"
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
    } else if (end.signal != 0 && report.outcome == UndoOutcome::Restored) {
        std::fprintf(stderr,
                     "brindleaf: %s; the undo had ended and every entry is back under the name "
                     "it had before the run\n",
                     why.c_str());
    }
}

void RunDialogs::quitAfterRun(const RunEnd& end) {
    emit quitRequested(end.signal != 0 ? exitStatusAfter(end.signal) : 0);
}

} // namespace brindleaf
