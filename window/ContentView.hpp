#pragma once

#include "engine/Execution.hpp"
#include "engine/Journals.hpp"
#include "engine/NameFormat.hpp"
#include "engine/Settings.hpp"
#include "engine/Summary.hpp"
#include "platform/FileSystem.hpp"
#include "window/FolderWatcher.hpp"
#include "window/PreviewLoader.hpp"
#include "window/SettingBindings.hpp"

#include <QTimer>
#include <QWidget>

#include <memory>

class QCheckBox;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QBoxLayout;
class QLayout;

namespace brindleaf {

class PreviewListView;
class PreviewModel;
class RunProgress;

// The window's content. Owns the settings record; every write to a setting updates the
// widgets that show it and the preview. The folder's listing is kept between writes and
// watched: it is read again when the folder or its contents change, sorted again when an
// ordering toggle changes, and the four text settings only rename the rows on screen.
class ContentView : public QWidget {
    Q_OBJECT

public:
    explicit ContentView(QWidget* parent = nullptr);
    // For tests: a file system that can be made to fail or slow down.
    explicit ContentView(std::unique_ptr<FileSystem> fileSystem, QWidget* parent = nullptr);
    ~ContentView() override;

    [[nodiscard]] const Settings& settings() const { return settings_; }
    [[nodiscard]] const PreviewModel& preview() const { return *preview_; }
    [[nodiscard]] QSize sizeHint() const override;
    // Whether the folder is being listed or ordered; the preview shows the result when done.
    [[nodiscard]] bool isLoading() const { return loader_.isBusy(); }

    // Writes the empty text, then the folder's own local path.
    void setTargetDir(const QUrl& folder);
    // The same for a folder given as the bytes the file system knows it by.
    void setTargetPath(std::string path);
    // Lets the user pick a folder; a cancel changes nothing.
    void chooseTargetDir();
    // Whether the window is asking to confirm a rename.
    [[nodiscard]] bool isConfirming() const { return confirm_; }
    // Inverts `confirm`; while it is true, asks whether to rename and does so on OK.
    void toggleConfirm();
    // Renames the folder's entries from a fresh listing, with progress for long runs.
    void renameFiles();
    // Gives the entries of the folder's last run their original names back, after asking.
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
    [[nodiscard]] QLineEdit* fieldOf(std::string Settings::*field) const;

    void writeText(const TextBinding& binding, const QString& text);
    void writeToggle(const ToggleBinding& binding, bool on);
    void writeTargetDir(std::string path);
    void showSettings();
    void showNewNames();
    void showSummary();
    void showTitle();
    QFuture<void> watchTargetDir();
    void unwatchTargetDir();
    void relist(QFuture<void> watchSet);
    void relistAfterChange();
    void reorder();
    [[nodiscard]] ListedNames listingToReorder();
    void showLoaded(PreviewLoader::Result loaded);
    void showLoading(bool loading);
    void showPlanProblem();
    void showActions();
    QLineEdit* fieldAtFault(NameProblem problem) const;
    [[nodiscard]] std::size_t longestExtension() const;
    void offerToRestoreInterruptedRun();
    void offerToSetAsideDamagedRecord();
    void leaveWithoutWindow();
    // How a run under the progress dialog ended, beside what the run itself reports.
    struct RunEnd {
        bool quit = false; // a close or a signal asked the program to end
        int signal = 0;
    };
    template <typename Run> RunEnd runWithProgress(Run run);
    void quitAfterRun(const RunEnd& end, bool everyNameBack);
    void restoreOriginalNames();
    void askAgainAfterChange();
    void showRunOutcome(const RunReport& report);
    // The folder's last run did not finish, or cannot be told to have: nothing is renamed
    // until it is dealt with.
    [[nodiscard]] bool lastRunUnfinished() const;
    [[nodiscard]] QString confirmationDetails() const;

    Settings settings_;
    std::unique_ptr<FileSystem> fileSystem_;
    Journals journals_;
    // Declared after what its running job may still be reading.
    PreviewLoader loader_;
    LastRun lastRun_;
    ListingSummary summary_;
    RunProgress* activeRun_ = nullptr;
    PreviewModel* preview_;
    FolderWatcher watcher_;
    QTimer folderChangedTimer_;

    QLabel* targetDirLabel_ = nullptr;
    std::array<QLineEdit*, textBindings.size()> fields_{};
    std::array<QCheckBox*, toggleBindings.size()> toggles_{};
    QPushButton* doButton_ = nullptr;
    QPushButton* undoButton_ = nullptr;
    QLabel* problemLabel_ = nullptr;
    QLabel* summaryLabel_ = nullptr;
    PreviewListView* previewList_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    int exitCode_ = 0;
    bool confirm_ = false;
    bool namesUsable_ = true;
    // False while every entry already bears the name the settings would give it.
    bool changesNames_ = true;
    // A folder just chosen whose last run was cut short is offered for restoring once.
    bool offerRestoreWhenLoaded_ = false;
    // The longest name the shown folder's file system holds.
    std::size_t longestName_ = 255;
};

} // namespace brindleaf
