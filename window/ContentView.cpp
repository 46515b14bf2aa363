#include "window/ContentView.hpp"

#include "window/NameText.hpp"

#include "engine/NameFormat.hpp"
#include "engine/Summary.hpp"
#include "platform/PosixFileSystem.hpp"
#include "selection/DirectoryDropDelegate.hpp"
#include "selection/FolderChooser.hpp"
#include "window/Alerts.hpp"
#include "window/ErrorMessages.hpp"
#include "window/FlowLayout.hpp"
#include "window/FolderSession.hpp"
#include "window/PathLabel.hpp"
#include "window/PreviewListView.hpp"
#include "window/PreviewModel.hpp"
#include "window/RunProgress.hpp"
#include "window/SettingBindings.hpp"
#include "window/UndoMessages.hpp"
#include "window/WindowGoneFilter.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>
#include <vector>

namespace brindleaf {

namespace {

void showText(QLineEdit* field, const std::string& text) {
    const QString value = QString::fromStdString(text);
    // Only a change of value may move the cursor of the field being typed in.
    if (field->text() != value) {
        field->setText(value);
    }
}

void showToggle(QCheckBox* toggle, bool on) {
    const QSignalBlocker blocker(toggle);
    toggle->setChecked(on);
}

// A label's text without its keyboard mnemonic: "&Prefix" and "接頭辞(&P)" read "Prefix"
// and "接頭辞" where no mnemonic applies.
QString withoutMnemonic(const QString& text) {
    static const QRegularExpression mnemonic(QStringLiteral("\\(&[^&]\\)|&(?=[^&])"));
    return QString(text).remove(mnemonic);
}

// Marks a widget as being in a state, or no longer. A new style sheet costs a polish of the
// widget, so it is set only when the state changes, not on every keystroke.
void showState(QWidget* widget, const char* state, bool on, const QString& styleWhenOn) {
    if (widget->property(state).toBool() == on) {
        return;
    }
    widget->setProperty(state, on);
    widget->setStyleSheet(on ? styleWhenOn : QString());
}

QHBoxLayout* centredRow() {
    auto* row = new QHBoxLayout;
    row->addStretch();
    return row;
}

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

// The exit status of a program stopped by a signal, as shells expect it.
constexpr int exitBySignal = 128;

} // namespace

ContentView::ContentView(QWidget* parent)
    : ContentView(std::make_unique<PosixFileSystem>(), parent) {}

ContentView::ContentView(std::unique_ptr<FileSystem> fileSystem, QWidget* parent)
    : QWidget(parent), session_(new FolderSession(std::move(fileSystem), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(createFolderRow());
    layout->addLayout(createFieldRow());
    layout->addLayout(createToggleRow());
    layout->addWidget(createPreview(), 1);
    problemLabel_ = new QLabel(this);
    problemLabel_->setObjectName(QStringLiteral("problemLabel"));
    problemLabel_->setTextFormat(Qt::PlainText);
    problemLabel_->setWordWrap(true);
    problemLabel_->setStyleSheet(QStringLiteral("QLabel { color: #c0392b; }"));
    problemLabel_->hide();
    layout->addWidget(problemLabel_);
    summaryLabel_ = new QLabel(this);
    summaryLabel_->setObjectName(QStringLiteral("summaryLabel"));
    summaryLabel_->setTextFormat(Qt::PlainText);
    layout->addWidget(summaryLabel_, 0, Qt::AlignHCenter);
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusLabel_->setTextFormat(Qt::PlainText);
    layout->addWidget(statusLabel_);
    layout->addLayout(createActionRow());

    connect(session_, &FolderSession::settingsChanged, this, [this] {
        showSettings();
        showTitle();
    });
    connect(session_, &FolderSession::previewChanged, this, &ContentView::showPreviewState);
    connect(session_, &FolderSession::loadingChanged, this, &ContentView::showLoading);
    connect(session_, &FolderSession::loadFailed, this,
            [this](const Error& error) { showFailureAlert(this, ErrorMessages::describe(error)); });
    connect(session_, &FolderSession::unfinishedRunFound, this, [this](LastRunState state) {
        if (state == LastRunState::Damaged) {
            offerToSetAsideDamagedRecord();
        } else {
            offerToRestoreInterruptedRun();
        }
    });
    connect(new WindowGoneFilter(this), &WindowGoneFilter::windowGone, this,
            &ContentView::leaveWithoutWindow);
    showSettings();
    showTitle();
}

ContentView::~ContentView() = default;

QSize ContentView::sizeHint() const {
    return {960, 640};
}

QBoxLayout* ContentView::createFolderRow() {
    auto* row = new QHBoxLayout;
    // The path is data: shown as it is stored, never looked up as a key.
    targetDirLabel_ = new PathLabel(this);
    targetDirLabel_->setObjectName(QStringLiteral("targetDirLabel"));
    targetDirLabel_->setTextFormat(Qt::PlainText);
    // A deep path must not widen the window; the tooltip still shows it whole.
    targetDirLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(targetDirLabel_, 1);
    auto* openButton = new QPushButton(tr("Open"), this);
    openButton->setObjectName(QStringLiteral("openButton"));
    openButton->setAutoDefault(true);
    connect(openButton, &QPushButton::clicked, this, &ContentView::chooseTargetDir);
    row->addWidget(openButton);
    auto* openShortcut = new QShortcut(QKeySequence::Open, this);
    connect(openShortcut, &QShortcut::activated, this, &ContentView::chooseTargetDir);
    return row;
}

QBoxLayout* ContentView::createActionRow() {
    QHBoxLayout* row = centredRow();
    doButton_ = new QPushButton(tr("Do"), this);
    doButton_->setObjectName(QStringLiteral("doButton"));
    doButton_->setAutoDefault(true);
    connect(doButton_, &QPushButton::clicked, this, &ContentView::toggleConfirm);
    row->addWidget(doButton_);
    undoButton_ = new QPushButton(tr("Undo"), this);
    undoButton_->setObjectName(QStringLiteral("undoButton"));
    undoButton_->setAutoDefault(true);
    undoButton_->setToolTip(tr("Give the entries of the last renaming their original names back"));
    connect(undoButton_, &QPushButton::clicked, this, &ContentView::undoLastRun);
    row->addWidget(undoButton_);
    auto* undoShortcut = new QShortcut(QKeySequence::Undo, this);
    connect(undoShortcut, &QShortcut::activated, this, [this] {
        if (activeRun_ == nullptr && undoButton_->isEnabled()) {
            undoLastRun();
        }
    });
    row->addStretch();
    return row;
}

QLayout* ContentView::createFieldRow() {
    auto* row = new FlowLayout;
    for (std::size_t i = 0; i < textBindings.size(); ++i) {
        fields_[i] = addField(row, textBindings[i]);
    }
    return row;
}

QLayout* ContentView::createToggleRow() {
    auto* row = new FlowLayout;
    for (std::size_t i = 0; i < toggleBindings.size(); ++i) {
        toggles_[i] = addToggle(row, toggleBindings[i]);
    }
    return row;
}

QListView* ContentView::createPreview() {
    auto* list = new PreviewListView(this);
    previewList_ = list;
    list->setObjectName(QStringLiteral("previewList"));
    list->setModel(session_->preview());
    auto* dropTarget = new DirectoryDropDelegate(list->viewport());
    connect(dropTarget, &DirectoryDropDelegate::folderDropped, this, &ContentView::setTargetDir);
    return list;
}

QLineEdit* ContentView::addField(QLayout* row, const TextBinding& binding) {
    const QString key = tr(binding.key);
    // A label and its field wrap as one.
    auto* pair = new QWidget(this);
    auto* pairLayout = new QHBoxLayout(pair);
    pairLayout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(key, pair);
    auto* field = new QLineEdit(pair);
    field->setObjectName(QString::fromLatin1(binding.objectName));
    field->setPlaceholderText(withoutMnemonic(key));
    field->setAcceptDrops(false);
    label->setBuddy(field);
    connect(field, &QLineEdit::textEdited, this,
            [this, &binding](const QString& text) { writeText(binding, text); });
    pairLayout->addWidget(label);
    pairLayout->addWidget(field);
    row->addWidget(pair);
    return field;
}

QCheckBox* ContentView::addToggle(QLayout* row, const ToggleBinding& binding) {
    auto* toggle = new QCheckBox(tr(binding.key), this);
    toggle->setObjectName(QString::fromLatin1(binding.objectName));
    connect(toggle, &QCheckBox::toggled, this,
            [this, &binding](bool on) { writeToggle(binding, on); });
    row->addWidget(toggle);
    return toggle;
}

QLineEdit* ContentView::fieldOf(std::string Settings::*field) const {
    for (std::size_t i = 0; i < textBindings.size(); ++i) {
        if (textBindings[i].field == field) {
            return fields_[i];
        }
    }
    return nullptr;
}

void ContentView::writeText(const TextBinding& binding, const QString& text) {
    session_->setText(binding.field, text.toStdString());
}

void ContentView::writeToggle(const ToggleBinding& binding, bool on) {
    session_->setToggle(binding.field, on, binding.effect == ToggleEffect::Reorders);
}

void ContentView::showPreviewState() {
    previewList_->setFolderShown(session_->isFolderShown());
    showPlanProblem();
    showSummary();
}

void ContentView::showSummary() {
    const ListingSummary& summary = session_->summary();
    if (!session_->isFolderShown()) {
        summaryLabel_->clear();
        return;
    }
    const std::size_t changes = extensionChanges(summary, session_->preview()->format());
    QStringList parts{tr("%n entries", nullptr, countForText(summary.entries))};
    if (changes > 0) {
        parts.append(tr("%n change extension", nullptr, countForText(changes)));
    }
    if (summary.folders > 0) {
        parts.append(tr("%n folders", nullptr, countForText(summary.folders)));
    }
    if (summary.hidden > 0) {
        parts.append(tr("%n hidden", nullptr, countForText(summary.hidden)));
    }
    if (summary.entries > 0 && !session_->nameCheck().changesNames) {
        parts.append(tr("every entry already has its new name"));
    }
    summaryLabel_->setText(parts.join(QStringLiteral(" · ")));
    // A change of extension is easy to miss and hard to want: it is shown as a warning.
    showState(summaryLabel_, "warns", changes > 0, QStringLiteral("QLabel { color: #b9770e; }"));
}

void ContentView::showTitle() {
    const QString name = QFileInfo(targetDirLabel_->text()).fileName();
    setWindowTitle(name.isEmpty()
                       ? QCoreApplication::applicationName()
                       : name + QStringLiteral(" — ") + QCoreApplication::applicationName());
}

void ContentView::setTargetDir(const QUrl& folder) {
    // toLocalFile() decodes the URL's escapes once; the result is the folder's own path.
    setTargetPath(QFile::encodeName(folder.toLocalFile()).toStdString());
}

void ContentView::setTargetPath(std::string path) {
    session_->setTargetPath(std::move(path));
}

void ContentView::chooseTargetDir() {
    if (activeRun_ != nullptr) {
        return;
    }
    if (const std::optional<QUrl> folder = chooseFolder(this)) {
        setTargetDir(*folder);
    }
}

QString ContentView::confirmationDetails() const {
    if (session_->settings().targetDir.empty()) {
        return tr("No folder is chosen, so nothing will be renamed.");
    }
    const int count = session_->preview()->rowCount();
    if (count == 0) {
        return tr("“%1” is empty, so nothing will be renamed.").arg(targetDirLabel_->toolTip());
    }
    return tr("%n entries in “%1” get new names.", nullptr, count).arg(targetDirLabel_->toolTip());
}

void ContentView::toggleConfirm() {
    confirm_ = !confirm_;
    if (!confirm_) {
        return;
    }
    if (askToProceed(this, tr("Confirmation"), tr("ProceedRenaming"), tr("OK"), {},
                     confirmationDetails())) {
        renameFiles();
    }
    confirm_ = false;
}

void ContentView::renameFiles() {
    if (session_->settings().targetDir.empty()) {
        return;
    }
    const std::uint64_t shown = session_->shownPlan();
    RunReport report;
    bool changed = false;
    const RunEnd end = runWithProgress(
        [&](RunProgress& progress) { report = session_->rename(progress, shown, changed); });
    if (end.quit) {
        quitAfterRun(end, report.failures.empty());
        return;
    }
    // Worded only now: an alert raised under the progress dialog could not be answered.
    for (const Error& failure : report.failures) {
        showFailureAlert(this, ErrorMessages::describe(failure));
    }
    if (changed) {
        askAgainAfterChange();
        return;
    }
    showRunOutcome(report);
}

void ContentView::showRunOutcome(const RunReport& report) {
    switch (report.outcome) {
    case RunOutcome::Renamed: {
        QString text = tr("Renamed %n entries.", nullptr, countForText(report.moved));
        if (report.alreadyNamed > 0) {
            text += QLatin1Char(' ') + tr("%n had their new names already.", nullptr,
                                          countForText(report.alreadyNamed));
        }
        statusLabel_->setText(text);
        break;
    }
    case RunOutcome::AlreadyNamed:
        statusLabel_->setText(tr("Every entry already has its new name; nothing was renamed."));
        break;
    case RunOutcome::LastRunInterrupted:
        offerToRestoreInterruptedRun();
        break;
    case RunOutcome::LastRunDamaged:
        offerToSetAsideDamagedRecord();
        break;
    case RunOutcome::AnotherRunGoing:
        showFailureAlert(this, UndoMessages::anotherRunGoing(targetDirLabel_->text()));
        break;
    case RunOutcome::NothingToRename:
    case RunOutcome::Failed:
    case RunOutcome::Cancelled:
        break;
    }
}

void ContentView::askAgainAfterChange() {
    if (askToProceed(this, tr("Confirmation"),
                     tr("The folder changed after its preview was shown. The preview now shows "
                        "it as it is. Rename every entry as it shows now?"),
                     tr("OK"))) {
        renameFiles();
    }
}

void ContentView::undoLastRun() {
    const LastRun& lastRun = session_->lastRun();
    if (lastRun.state == LastRunState::Damaged) {
        offerToSetAsideDamagedRecord();
        return;
    }
    if (lastRun.state != LastRunState::Finished && lastRun.state != LastRunState::Interrupted) {
        return;
    }
    if (askToProceed(this, tr("Undo Renaming"),
                     UndoMessages::question(targetDirLabel_->text(), lastRun),
                     tr("Undo", "accepts the undo confirmation"))) {
        restoreOriginalNames();
    }
}

void ContentView::offerToRestoreInterruptedRun() {
    if (askToProceed(this, tr("Undo Renaming"),
                     UndoMessages::interruptedQuestion(targetDirLabel_->text()),
                     tr("Restore the original names"), tr("Not now"))) {
        restoreOriginalNames();
    }
}

void ContentView::restoreOriginalNames() {
    UndoReport report;
    const RunEnd end =
        runWithProgress([&](RunProgress& progress) { report = session_->undo(progress); });
    if (end.quit) {
        quitAfterRun(end, report.stranded.empty());
        return;
    }
    if (report.outcome == UndoOutcome::JournalDamaged) {
        offerToSetAsideDamagedRecord();
        return;
    }
    bool succeeded = false;
    const QString words = UndoMessages::outcome(report, succeeded);
    if (succeeded) {
        statusLabel_->setText(words);
    } else {
        showFailureAlert(this, words);
    }
}

// A record that cannot be read would keep the folder refused for good. It is set aside,
// never deleted, once the user has seen which entries it still names away from their
// original names; no entry moves.
void ContentView::offerToSetAsideDamagedRecord() {
    const ForgetReport examined = session_->forget(false);
    if (examined.outcome != ForgetOutcome::Examined) {
        return;
    }
    if (!askToProceed(this, tr("Damaged Record"),
                      UndoMessages::damagedRecordQuestion(targetDirLabel_->text(), examined),
                      tr("Set the record aside"), tr("Cancel"),
                      UndoMessages::strandedEntries(examined))) {
        return;
    }
    const ForgetReport setAside = session_->forget(true);
    if (setAside.outcome == ForgetOutcome::SetAside) {
        statusLabel_->setText(tr("The damaged record was set aside; no entry was moved."));
    } else {
        showFailureAlert(this, ErrorMessages::reasonOf(setAside.error));
    }
}

// Runs moves with progress shown; afterwards the preview shows the folder as it now is,
// unless a close or a signal came during the run, which the caller then carries out. The
// progress dialog blocks no window: the window system drops a close request for a window
// that a modal dialog blocks, so the window's own widgets are disabled instead.
template <typename Run> ContentView::RunEnd ContentView::runWithProgress(Run run) {
    session_->beginRun();
    statusLabel_->clear();
    RunEnd end;
    {
        const WidgetsDisabled disabled(this);
        RunProgress progress(this);
        activeRun_ = &progress;
        run(progress);
        activeRun_ = nullptr;
        end = {progress.askedToQuit(), progress.signalReceived()};
    }
    session_->endRun(!end.quit);
    showActions();
    return end;
}

void ContentView::quitAfterRun(const RunEnd& end, bool everyNameBack) {
    if (end.signal != 0) {
        std::fprintf(stderr, "brindleaf: stopped by signal %d (%s) during a run; %s\n", end.signal,
                     ::strsignal(end.signal),
                     everyNameBack ? "every entry is back under the name it had before the run"
                                   : "some entries could not be given their names back; "
                                     "'brindleaf-cli --undo FOLDER' tries again");
    }
    exitCode_ = end.signal != 0 ? exitBySignal + end.signal : 0;
    close();
}

void ContentView::leaveWithoutWindow() {
    std::fputs(activeRun_ != nullptr
                   ? "brindleaf: the window was destroyed during a run; stopping it\n"
                   : "brindleaf: the window was destroyed\n",
               stderr);
    // A run stops at its next move and is rolled back; then, or now, the program ends.
    close();
}

void ContentView::closeEvent(QCloseEvent* event) {
    if (activeRun_ != nullptr) {
        // Stopped at the next move and rolled back; the window closes once that is done.
        activeRun_->requestStop();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    emit quitRequested(exitCode_);
}

void ContentView::showActions() {
    doButton_->setEnabled(session_->canRename());
    undoButton_->setEnabled(session_->canUndo());
}

void ContentView::showPlanProblem() {
    const NameCheck& check = session_->nameCheck();
    QLineEdit* atFault = check.problem ? fieldAtFault(check.partAtFault) : nullptr;
    for (QLineEdit* field : fields_) {
        showState(field, "refused", field == atFault,
                  QStringLiteral("QLineEdit { border: 2px solid #c0392b; }"));
    }
    showActions();
    if (session_->lastRunUnfinished()) {
        // The names shown are not the user's own until the run is dealt with.
        problemLabel_->setText(session_->lastRun().state == LastRunState::Damaged
                                   ? UndoMessages::damagedJournal(targetDirLabel_->text())
                                   : UndoMessages::namesLeftByInterruptedRun());
        problemLabel_->show();
        return;
    }
    if (!check.problem) {
        problemLabel_->clear();
        problemLabel_->hide();
        return;
    }
    problemLabel_->setText(ErrorMessages::nameProblem(*check.problem, check.longestNewName));
    problemLabel_->show();
}

QLineEdit* ContentView::fieldAtFault(NamePart part) const {
    switch (part) {
    case NamePart::Prefix:
        return fieldOf(&Settings::prefix);
    case NamePart::Number:
        return fieldOf(&Settings::digits);
    case NamePart::Postfix:
        return fieldOf(&Settings::postfix);
    }
    return nullptr;
}

void ContentView::showSettings() {
    const Settings& settings = session_->settings();
    targetDirLabel_->setText(decodedName(settings.targetDir));
    targetDirLabel_->setToolTip(targetDirLabel_->text());
    for (std::size_t i = 0; i < textBindings.size(); ++i) {
        showText(fields_[i], settings.*textBindings[i].field);
    }
    for (std::size_t i = 0; i < toggleBindings.size(); ++i) {
        showToggle(toggles_[i], settings.*toggleBindings[i].field);
    }
}

void ContentView::showLoading(bool loading) {
    previewList_->setLoading(loading);
    showActions();
}

} // namespace brindleaf
