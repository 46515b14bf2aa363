#include "window/ContentView.hpp"

#include "session/NameText.hpp"

#include "engine/Summary.hpp"
#include "selection/DirectoryDropFilter.hpp"
#include "selection/FolderChooser.hpp"
#include "window/Alerts.hpp"
#include "window/CameraDialog.hpp"
#include "window/CameraListModel.hpp"
#include "window/CameraPictures.hpp"
#include "window/ErrorMessages.hpp"
#include "window/FlowLayout.hpp"
#include "window/OrderChoice.hpp"
#include "window/PathLabel.hpp"
#include "window/PreviewListView.hpp"
#include "window/RowPictures.hpp"
#include "window/SummaryText.hpp"
#include "window/UndoMessages.hpp"
#include "window/WidgetHelpers.hpp"
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
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace brindleaf {

ContentView::ContentView(std::unique_ptr<FileSystem> fileSystem, JournalFolder journalFolder,
                         QWidget* parent)
    : QWidget(parent), alerts_(this),
      session_(new FolderSession(std::move(fileSystem), std::move(journalFolder), this)),
      runs_(new RunDialogs(this, *session_, alerts_)) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(createFolderRow());
    layout->addLayout(createFieldRow());
    layout->addLayout(createToggleRow());
    layout->addWidget(createPreview(), 1);
    problemLabel_ = plainLabel(this, "problemLabel");
    problemLabel_->setWordWrap(true);
    problemLabel_->setStyleSheet(QStringLiteral("QLabel { color: #c0392b; }"));
    problemLabel_->hide();
    layout->addWidget(problemLabel_);
    summaryLabel_ = plainLabel(this, "summaryLabel");
    layout->addWidget(summaryLabel_, 0, Qt::AlignHCenter);
    statusLabel_ = plainLabel(this, "statusLabel");
    layout->addWidget(statusLabel_);
    layout->addLayout(createActionRow());

    connect(session_, &FolderSession::stateChanged, this, &ContentView::draw);
    connect(session_, &FolderSession::loadFailed, this,
            [this](const Error& error) { alerts_.showFailure(ErrorMessages::describe(error)); });
    connect(session_, &FolderSession::unfinishedRunFound, runs_,
            &RunDialogs::offerForUnfinishedRun);
    connect(runs_, &RunDialogs::statusChanged, statusLabel_, &QLabel::setText);
    connect(runs_, &RunDialogs::quitRequested, this, [this](int exitCode) {
        exitCode_ = exitCode;
        close();
    });
    connect(new WindowGoneFilter(this), &WindowGoneFilter::windowGone, this,
            &ContentView::leaveWithoutWindow);
    fadeDisabledPlaceholders(this);
    draw(session_->state()); // nothing to undo before a folder is shown
}

ContentView::~ContentView() = default;

QSize ContentView::sizeHint() const {
    return {960, 640};
}

QSize ContentView::openingSize(const QSize& available) const {
    constexpr int rowsShown = 24;
    constexpr int width = 1100;
    // Room for the title bar and the window's frame, which are the window system's.
    constexpr QSize frame(16, 48);
    const int height = layout()->sizeHint().height() - previewList_->sizeHint().height() +
                       previewList_->heightForRows(rowsShown);
    return QSize(width, height).boundedTo(available - frame);
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
        if (!runs_->isRunning() && undoButton_->isEnabled()) {
            undoLastRun();
        }
    });
    row->addStretch();
    return row;
}

QLayout* ContentView::createFieldRow() {
    auto* row = new FlowLayout;
    // The list of extensions chooses entries: it follows the toggles that choose them.
    for (std::size_t i = 0; i + 1 < textBindings.size(); ++i) {
        fields_[i] = addField(row, textBindings[i]);
    }
    return row;
}

QLayout* ContentView::createToggleRow() {
    auto* row = new FlowLayout;
    orderChoice_ = new OrderChoice(this);
    connect(orderChoice_, &OrderChoice::orderChosen, session_, &FolderSession::setOrder);
    row->addWidget(labelledPair(this, tr("Order by"), orderChoice_));
    // Only the order by date taken reads cameras' clocks.
    camerasButton_ = new QPushButton(tr("&Cameras…"), this);
    camerasButton_->setObjectName(QStringLiteral("camerasButton"));
    camerasButton_->setAutoDefault(true);
    camerasButton_->setToolTip(tr("Set each camera's time zone and clock for the order"));
    camerasButton_->hide();
    connect(camerasButton_, &QPushButton::clicked, this, &ContentView::openCameras);
    row->addWidget(camerasButton_);
    for (std::size_t i = 0; i < toggleBindings.size(); ++i) {
        toggles_[i] = addToggle(row, toggleBindings[i]);
    }
    fields_.back() = addField(row, textBindings.back());
    // How the preview looks, not what is renamed: the settings do not hold it.
    picturesToggle_ = new QCheckBox(tr("Show pictures"), this);
    picturesToggle_->setObjectName(QStringLiteral("picturesToggle"));
    connect(picturesToggle_, &QCheckBox::toggled, this,
            [this](bool on) { rowPictures_->setShown(on); });
    row->addWidget(picturesToggle_);
    return row;
}

QListView* ContentView::createPreview() {
    auto* list = new PreviewListView(this);
    previewList_ = list;
    list->setObjectName(QStringLiteral("previewList"));
    list->setModel(session_->preview());
    rowPictures_ = new RowPictures(list);
    auto* dropTarget = new DirectoryDropFilter(list->viewport());
    connect(dropTarget, &DirectoryDropFilter::folderDropped, this, &ContentView::setTargetDir);
    return list;
}

QLineEdit* ContentView::addField(QLayout* row, const TextBinding& binding) {
    const QString key = tr(binding.key);
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(binding.objectName));
    field->setPlaceholderText(withoutMnemonic(key));
    field->setMinimumWidth(
        std::max(field->sizeHint().width(), widthShowing(field, field->placeholderText())));
    field->setAcceptDrops(false);
    connect(field, &QLineEdit::textEdited, this,
            [this, &binding](const QString& text) { writeText(binding, text); });
    row->addWidget(labelledPair(this, key, field));
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

void ContentView::writeText(const TextBinding& binding, const QString& text) {
    session_->setText(binding.field, text.toStdString());
}

void ContentView::writeToggle(const ToggleBinding& binding, bool on) {
    session_->setToggle(binding.field, on, binding.effect == ToggleEffect::Reorders);
}

void ContentView::draw(const SessionState& state) {
    if (settingsShown_ != state.settings) {
        showSettings(state.settings);
        showTitle();
    }
    previewList_->setLoading(state.isLoading());
    // While entries move, the preview has let its rows go and says why.
    previewList_->setRenaming(state.isRunning());
    previewList_->setFolderShown(state.folderShown);
    previewList_->setShowsDates(state.showsDates);
    previewList_->setShowsCameras(state.showsCameras);
    showCameras(state);
    showPlanProblem(state);
    showSummary(state);
}

void ContentView::showCameras(const SessionState& state) {
    const bool offered = state.folderShown && state.settings.order == Order::Taken;
    camerasButton_->setVisible(offered);
    if (cameraDialog_ == nullptr || !cameraDialog_->isVisible()) {
        return;
    }
    if (!offered) {
        cameraDialog_->reject();
    } else if (!state.isLoading()) {
        fillCameraList(state);
    }
}

void ContentView::fillCameraList(const SessionState& state) {
    cameraDialog_->cameras()->show(session_->cameras(), state.settings.cameraClocks);
    cameraDialog_->pictures()->show(QByteArray::fromStdString(state.settings.targetDir),
                                    session_->cameraFirstEntries(ImageNames{}),
                                    cameraDialog_->devicePixelRatioF());
}

void ContentView::openCameras() {
    if (cameraDialog_ == nullptr) {
        cameraDialog_ = new CameraDialog(this);
        connect(cameraDialog_->cameras(), &CameraListModel::clocksEdited, session_,
                &FolderSession::setCameraClocks);
    }
    // The files may have changed since the list last showed.
    cameraDialog_->pictures()->forget();
    fillCameraList(session_->state());
    cameraDialog_->open();
}

void ContentView::showSummary(const SessionState& state) {
    if (const auto* reading = std::get_if<activity::ReadingDates>(&state.activity)) {
        summaryLabel_->setText(SummaryText::datesRead(reading->done, reading->total));
        return;
    }
    bool changesExtensions = false;
    summaryLabel_->setText(SummaryText::of(state, changesExtensions));
    // A change of extension is easy to miss and hard to want: it is shown as a warning.
    showState(summaryLabel_, "warns", changesExtensions,
              QStringLiteral("QLabel { color: #b9770e; }"));
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
    if (runs_->isRunning()) {
        return;
    }
    if (const std::optional<QUrl> folder = chooseFolder(this)) {
        setTargetDir(*folder);
    }
}

void ContentView::toggleConfirm() {
    runs_->toggleConfirm();
}

void ContentView::renameFiles() {
    runs_->renameFiles();
}

void ContentView::undoLastRun() {
    runs_->undoLastRun();
}

void ContentView::leaveWithoutWindow() {
    std::fputs(runs_->isRunning()
                   ? "brindleaf: the window was destroyed during a run; stopping it\n"
                   : "brindleaf: the window was destroyed\n",
               stderr);
    // A run stops at its next move and is rolled back; then, or now, the program ends.
    close();
}

void ContentView::closeEvent(QCloseEvent* event) {
    if (runs_->stopForClose()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    emit quitRequested(exitCode_);
}

void ContentView::showActions(const SessionState& state) {
    doButton_->setEnabled(state.canRename());
    undoButton_->setEnabled(state.canUndo());
}

void ContentView::showPlanProblem(const SessionState& state) {
    const NameCheck& check = state.nameCheck;
    QLineEdit* atFault = check.problem ? fieldAtFault(check.partAtFault) : nullptr;
    for (QLineEdit* field : fields_) {
        showState(field, "refused", field == atFault,
                  QStringLiteral("QLineEdit { border: 2px solid #c0392b; }"));
    }
    showActions(state);
    if (state.lastRunUnfinished()) {
        // The names shown are not the user's own until the run is dealt with.
        const RecordedRun& last = state.lastRun;
        problemLabel_->setText(
            last.state == RecordedRunState::JournalsUnreadable
                ? UndoMessages::unreadableJournals(decodedName(state.journalFolder), last.error)
            : last.state == RecordedRunState::Damaged
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
        return fields_[bindingOf(&Settings::prefix)];
    case NamePart::Number:
        return fields_[bindingOf(&Settings::digits)];
    case NamePart::Postfix:
        return fields_[bindingOf(&Settings::postfix)];
    }
    return nullptr;
}

void ContentView::showSettings(const Settings& settings) {
    settingsShown_ = settings;
    targetDirLabel_->setText(decodedName(settings.targetDir));
    targetDirLabel_->setToolTip(targetDirLabel_->text());
    rowPictures_->setFolder(QByteArray::fromStdString(settings.targetDir));
    for (std::size_t i = 0; i < textBindings.size(); ++i) {
        showText(fields_[i], settings.*textBindings[i].field);
    }
    for (std::size_t i = 0; i < toggleBindings.size(); ++i) {
        showToggle(toggles_[i], settings.*toggleBindings[i].field);
    }
    orderChoice_->showOrder(settings.order);
    // Related files keep their extensions: the toggle shows it while it cannot be undone.
    QCheckBox* keepExtensions = toggles_[bindingOf(&Settings::isKeepExtensionsOn)];
    keepExtensions->setEnabled(!settings.isKeepRelatedOn);
    showToggle(keepExtensions, settings.isKeepExtensionsOn || settings.isKeepRelatedOn);
}

} // namespace brindleaf
