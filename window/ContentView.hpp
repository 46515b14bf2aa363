#pragma once

#include "engine/Execution.hpp"
#include "engine/NameFormat.hpp"
#include "engine/Settings.hpp"
#include "platform/FileSystem.hpp"
#include "platform/JournalFiles.hpp"
#include "session/FolderSession.hpp"
#include "session/PreviewModel.hpp"
#include "window/Alerts.hpp"
#include "window/RunDialogs.hpp"
#include "window/SettingBindings.hpp"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QBoxLayout;
class QLayout;

namespace brindleaf {

class CameraDialog;
class OrderChoice;
class PreviewListView;
class RowPictures;
class RunDialogs;

// The window's content: the widgets that show a folder session, their layout and their
// words, and the dialogs around a run. Every setting written goes to the session, which
// publishes its whole state back; the widgets draw that state.
class ContentView : public QWidget {
    Q_OBJECT

public:
    // Shows folders as `fileSystem` reads them, and journals its runs in `journalFolder`.
    ContentView(std::unique_ptr<FileSystem> fileSystem, JournalFolder journalFolder,
                QWidget* parent = nullptr);
    ~ContentView() override;

    [[nodiscard]] const Settings& settings() const { return session_->state().settings; }
    [[nodiscard]] const PreviewModel& preview() const { return *session_->preview(); }
    // The session the window draws, whose state tells what each run did.
    [[nodiscard]] const FolderSession& session() const { return *session_; }
    [[nodiscard]] QSize sizeHint() const override;
    // The size the window opens at on a screen of `available` size: some twenty preview
    // rows with names of some length side by side, within the screen.
    [[nodiscard]] QSize openingSize(const QSize& available) const;
    // Whether the folder is being listed or ordered; the preview shows the result when done.
    [[nodiscard]] bool isLoading() const { return session_->state().isLoading(); }
    // From the start of a run until what it did has been told.
    [[nodiscard]] bool isRunning() const { return runs_->isRunning(); }
    // Where the window's questions and failure alerts go, and where they can be answered
    // in the user's place.
    [[nodiscard]] Alerts& alerts() { return alerts_; }

    // Shows the folder at this local address; the session lists it afresh.
    void setTargetDir(const QUrl& folder);
    // The same for a folder given as the bytes the file system knows it by.
    void setTargetPath(std::string path);
    // Lets the user pick a folder; a cancel changes nothing.
    void chooseTargetDir();
    // Whether the window is asking to confirm a rename.
    [[nodiscard]] bool isConfirming() const { return runs_->isConfirming(); }
    // Asks whether to rename the shown folder, and renames it on OK.
    void toggleConfirm();
    // Renames the folder's entries from a fresh listing, with progress for long runs.
    void renameFiles();
    // Gives the entries of the folder's newest run not yet undone their original names
    // back, after asking.
    void undoLastRun();

signals:
    // The window closed, and the program ends with `exitCode`: 0, or 128 + the number of
    // the signal that stopped a run, once it was rolled back.
    void quitRequested(int exitCode);

protected:
    // While names are moving, a close first puts every name back, then closes.
    void closeEvent(QCloseEvent* event) override;

private:
    QBoxLayout* createFolderRow();
    QLayout* createFieldRow();
    QLayout* createToggleRow();
    QBoxLayout* createActionRow();
    QListView* createPreview();
    QLineEdit* addField(QLayout* row, const TextBinding& binding);
    QCheckBox* addToggle(QLayout* row, const ToggleBinding& binding);
    [[nodiscard]] QLineEdit* fieldAtFault(NamePart part) const;

    void writeText(const TextBinding& binding, const QString& text);
    void writeToggle(const ToggleBinding& binding, bool on);
    void draw(const SessionState& state);
    void showSettings(const Settings& settings);
    void showTitle();
    void showSummary(const SessionState& state);
    void showPlanProblem(const SessionState& state);
    void showActions(const SessionState& state);
    void showCameras(const SessionState& state);
    void fillCameraList(const SessionState& state);
    void openCameras();
    void leaveWithoutWindow();

    Alerts alerts_;
    FolderSession* session_;
    RunDialogs* runs_;
    int exitCode_ = 0;
    // The settings the widgets show: they are shown again only when they change.
    std::optional<Settings> settingsShown_;

    QLabel* targetDirLabel_ = nullptr;
    std::array<QLineEdit*, textBindings.size()> fields_{};
    std::array<QCheckBox*, toggleBindings.size()> toggles_{};
    QPushButton* doButton_ = nullptr;
    QPushButton* undoButton_ = nullptr;
    QLabel* problemLabel_ = nullptr;
    QLabel* summaryLabel_ = nullptr;
    OrderChoice* orderChoice_ = nullptr;
    QPushButton* camerasButton_ = nullptr;
    // Made when first opened.
    CameraDialog* cameraDialog_ = nullptr;
    PreviewListView* previewList_ = nullptr;
    QCheckBox* picturesToggle_ = nullptr;
    RowPictures* rowPictures_ = nullptr;
    QLabel* statusLabel_ = nullptr;
};

} // namespace brindleaf
