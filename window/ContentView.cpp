#include "window/ContentView.hpp"

#include "window/NameText.hpp"

#include "engine/Execution.hpp"
#include "engine/Forget.hpp"
#include "engine/Listing.hpp"
#include "engine/NameFormat.hpp"
#include "engine/Ordering.hpp"
#include "engine/Plan.hpp"
#include "engine/Summary.hpp"
#include "engine/Undo.hpp"
#include "platform/PosixFileSystem.hpp"
#include "selection/DirectoryDropDelegate.hpp"
#include "selection/FolderChooser.hpp"
#include "window/Alerts.hpp"
#include "window/ErrorMessages.hpp"
#include "window/FlowLayout.hpp"
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

// Other programs often change a folder in bursts; one relisting covers a burst.
constexpr int folderChangeSettleMilliseconds = 50;

// Up to this many rows stay on screen while the folder is listed or ordered again: a copy
// of them costs a few milliseconds. A larger listing is let go rather than held twice.
constexpr int rowsKeptWhileLoading = 100'000;

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
    : QWidget(parent), fileSystem_(std::move(fileSystem)),
      journals_(JournalFolder(JournalFolder::defaultPath())),
      loader_(*fileSystem_, journals_,
              [this](PreviewLoader::Result loaded) { showLoaded(std::move(loaded)); }),
      preview_(new PreviewModel(this)) {
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

    folderChangedTimer_.setSingleShot(true);
    folderChangedTimer_.setInterval(folderChangeSettleMilliseconds);
    connect(&folderChangedTimer_, &QTimer::timeout, this, &ContentView::relistAfterChange);
    connect(&loader_, &PreviewLoader::busyChanged, this, &ContentView::showLoading);
    connect(&watcher_, &FolderWatcher::changed, &folderChangedTimer_, qOverload<>(&QTimer::start));
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
    list->setModel(preview_);
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
    settings_.*binding.field = text.toStdString();
    showSettings();
    showNewNames();
}

void ContentView::showNewNames() {
    // The order of the names does not depend on how they are named: only new names change.
    preview_->setFormat(NameFormat(settings_));
    showPlanProblem();
    showSummary();
}

void ContentView::showSummary() {
    if (settings_.targetDir.empty()) {
        summaryLabel_->clear();
        return;
    }
    const std::size_t changes = extensionChanges(summary_, preview_->format());
    QStringList parts{tr("%n entries", nullptr, countForText(summary_.entries))};
    if (changes > 0) {
        parts.append(tr("%n change extension", nullptr, countForText(changes)));
    }
    if (summary_.folders > 0) {
        parts.append(tr("%n folders", nullptr, countForText(summary_.folders)));
    }
    if (summary_.hidden > 0) {
        parts.append(tr("%n hidden", nullptr, countForText(summary_.hidden)));
    }
    if (summary_.entries > 0 && !changesNames_) {
        parts.append(tr("every entry already has its new name"));
    }
    summaryLabel_->setText(parts.join(QStringLiteral(" · ")));
    // A change of extension is easy to miss and hard to want: it is shown as a warning.
    showState(summaryLabel_, "warns", changes > 0, QStringLiteral("QLabel { color: #b9770e; }"));
}

void ContentView::writeToggle(const ToggleBinding& binding, bool on) {
    settings_.*binding.field = on;
    showSettings();
    if (binding.effect == ToggleEffect::Reorders) {
        reorder();
    } else {
        showNewNames();
    }
}

void ContentView::writeTargetDir(std::string path) {
    settings_.targetDir = std::move(path);
    showSettings();
    showTitle();
    offerRestoreWhenLoaded_ = !settings_.targetDir.empty();
    relist(watchTargetDir());
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
    writeTargetDir({});
    writeTargetDir(std::move(path));
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
    if (settings_.targetDir.empty()) {
        return tr("No folder is chosen, so nothing will be renamed.");
    }
    const int count = preview_->rowCount();
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
    if (settings_.targetDir.empty()) {
        return;
    }
    loader_.finish();
    // Only the plan the preview showed may be carried out.
    const std::uint64_t shown = fingerprintOf(preview_->listing().names);
    RunReport report;
    bool changed = false;
    const RunEnd end = runWithProgress([&](RunProgress& progress) {
        const auto opened = planFolder(*fileSystem_, settings_);
        if (!opened) {
            report.failures.push_back(opened.error());
            return;
        }
        changed = fingerprintOf(opened->plan.names) != shown;
        if (!changed) {
            report =
                renameJournalled(*fileSystem_, *opened, settings_.targetDir, journals_, progress);
        }
    });
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
    if (lastRun_.state == LastRunState::Damaged) {
        offerToSetAsideDamagedRecord();
        return;
    }
    if (lastRun_.state != LastRunState::Finished && lastRun_.state != LastRunState::Interrupted) {
        return;
    }
    if (askToProceed(this, tr("Undo Renaming"),
                     UndoMessages::question(targetDirLabel_->text(), lastRun_),
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
    const RunEnd end = runWithProgress([&](RunProgress& progress) {
        report = brindleaf::undoLastRun(*fileSystem_, settings_.targetDir, journals_, progress);
    });
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
    const ForgetReport examined =
        forgetDamagedRun(*fileSystem_, settings_.targetDir, journals_, false);
    if (examined.outcome != ForgetOutcome::Examined) {
        return;
    }
    if (!askToProceed(this, tr("Damaged Record"),
                      UndoMessages::damagedRecordQuestion(targetDirLabel_->text(), examined),
                      tr("Set the record aside"), tr("Cancel"),
                      UndoMessages::strandedEntries(examined))) {
        return;
    }
    const ForgetReport setAside =
        forgetDamagedRun(*fileSystem_, settings_.targetDir, journals_, true);
    if (setAside.outcome == ForgetOutcome::SetAside) {
        statusLabel_->setText(tr("The damaged record was set aside; no entry was moved."));
    } else {
        showFailureAlert(this, ErrorMessages::reasonOf(setAside.error));
    }
    relist(watchTargetDir());
}

// Runs moves with progress shown; afterwards the preview shows the folder as it now is,
// unless a close or a signal came during the run, which the caller then carries out. The
// progress dialog blocks no window: the window system drops a close request for a window
// that a modal dialog blocks, so the window's own widgets are disabled instead.
template <typename Run> ContentView::RunEnd ContentView::runWithProgress(Run run) {
    // The run's own moves would each notify the watcher; the listing after the run shows
    // their result. The run lists the folder afresh, so the preview's copy of the listing
    // is let go rather than held twice.
    unwatchTargetDir();
    loader_.cancel();
    preview_->setListing({});
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
    if (!end.quit) {
        relist(watchTargetDir());
    }
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

// Nothing is renamed or undone while the preview is still being made.
void ContentView::showActions() {
    const bool idle = !loader_.isBusy();
    doButton_->setEnabled(idle && namesUsable_ && changesNames_ && !lastRunUnfinished());
    undoButton_->setEnabled(idle && (lastRun_.state == LastRunState::Finished ||
                                     lastRun_.state == LastRunState::Interrupted ||
                                     lastRun_.state == LastRunState::Damaged));
}

// The check the engine makes before the first move, made while the user types, so that a
// plan that would be refused never looks fine until after OK.
void ContentView::showPlanProblem() {
    const NameFormat& format = preview_->format();
    const std::size_t longest =
        std::min<std::size_t>(longestName_, NameFormat::longestBuildableName);
    const ListedNames& listing = preview_->listing();
    // With kept extensions the engine looks at every entry; on a keystroke, the longest
    // extension the listing holds, at the last position, tells first whether any can fail.
    const bool surelyFine = format.keepsExtensions() && !listing.names.empty() &&
                            !format.problemAt(listing.names.size() - 1,
                                              longest - std::min(longest, longestExtension()));
    const auto unusable = surelyFine
                              ? std::nullopt
                              : findUnusableName(listing.names, listing.folders, format, longest);
    QLineEdit* atFault = unusable ? fieldAtFault(unusable->problem) : nullptr;
    for (QLineEdit* field : fields_) {
        showState(field, "refused", field == atFault,
                  QStringLiteral("QLineEdit { border: 2px solid #c0392b; }"));
    }
    namesUsable_ = !unusable;
    // An empty folder still asks, to say that nothing will be renamed.
    changesNames_ = listing.names.empty() || changesAnyName(listing.names, listing.folders, format);
    showActions();
    if (lastRunUnfinished()) {
        // The names shown are not the user's own until the run is dealt with.
        problemLabel_->setText(lastRun_.state == LastRunState::Damaged
                                   ? UndoMessages::damagedJournal(targetDirLabel_->text())
                                   : UndoMessages::namesLeftByInterruptedRun());
        problemLabel_->show();
        return;
    }
    if (!unusable) {
        problemLabel_->clear();
        problemLabel_->hide();
        return;
    }
    problemLabel_->setText(ErrorMessages::nameProblem(
        unusable->problem, longest - NameFormat::temporarySuffix.size()));
    problemLabel_->show();
}

bool ContentView::lastRunUnfinished() const {
    return lastRun_.state == LastRunState::Interrupted || lastRun_.state == LastRunState::Damaged ||
           lastRun_.state == LastRunState::InProgress;
}

std::size_t ContentView::longestExtension() const {
    std::size_t longest = 0;
    for (const auto& [extension, files] : summary_.extensions) {
        longest = std::max(longest, extension.size());
    }
    return longest;
}

QLineEdit* ContentView::fieldAtFault(NameProblem problem) const {
    switch (preview_->format().partAtFault(problem)) {
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
    targetDirLabel_->setText(decodedName(settings_.targetDir));
    targetDirLabel_->setToolTip(targetDirLabel_->text());
    for (std::size_t i = 0; i < textBindings.size(); ++i) {
        showText(fields_[i], settings_.*textBindings[i].field);
    }
    for (std::size_t i = 0; i < toggleBindings.size(); ++i) {
        showToggle(toggles_[i], settings_.*toggleBindings[i].field);
    }
}

void ContentView::unwatchTargetDir() {
    watcher_.watch({});
    folderChangedTimer_.stop();
}

QFuture<void> ContentView::watchTargetDir() {
    folderChangedTimer_.stop();
    return watcher_.watch(settings_.targetDir.empty() ? QString()
                                                      : decodedName(settings_.targetDir));
}

void ContentView::reorder() {
    // The watcher keeps the held listing current, so only its order needs computing again.
    loader_.reorder(settings_, listingToReorder());
}

ListedNames ContentView::listingToReorder() {
    if (loader_.isBusy()) {
        return {}; // the running job's names are ordered instead
    }
    if (preview_->rowCount() < rowsKeptWhileLoading) {
        return preview_->listing();
    }
    return preview_->takeListing();
}

void ContentView::relist(QFuture<void> watchSet) {
    // The old listing goes first: a huge folder is not held twice while it is read again.
    preview_->setListing({});
    summary_ = {};
    summaryLabel_->clear();
    previewList_->setFolderShown(false);
    lastRun_ = {};
    // Listed once the watch is set: no change made after the listing goes unseen.
    loader_.list(settings_, std::move(watchSet));
}

void ContentView::relistAfterChange() {
    if (preview_->rowCount() >= rowsKeptWhileLoading) {
        preview_->setListing({});
    }
    loader_.list(settings_);
}

void ContentView::showLoaded(PreviewLoader::Result loaded) {
    const bool offerRestore = std::exchange(offerRestoreWhenLoaded_, false);
    if (!loaded) {
        preview_->setListing({});
        summary_ = {};
        lastRun_ = {};
        previewList_->setFolderShown(false);
        showPlanProblem();
        showSummary();
        showFailureAlert(this, ErrorMessages::describe(loaded.error()));
        return;
    }
    if (loaded->facts) {
        summary_ = std::move(loaded->facts->summary);
        lastRun_ = std::move(loaded->facts->lastRun);
        longestName_ = loaded->facts->longestName;
    }
    preview_->setListing(std::move(loaded->listing));
    previewList_->setFolderShown(!settings_.targetDir.empty());
    showPlanProblem();
    showSummary();
    if (offerRestore && lastRun_.state == LastRunState::Interrupted) {
        offerToRestoreInterruptedRun();
    } else if (offerRestore && lastRun_.state == LastRunState::Damaged) {
        offerToSetAsideDamagedRecord();
    }
}

void ContentView::showLoading(bool loading) {
    previewList_->setLoading(loading);
    showActions();
}

} // namespace brindleaf
