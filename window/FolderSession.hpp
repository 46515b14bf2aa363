#pragma once

#include "engine/Execution.hpp"
#include "engine/Forget.hpp"
#include "engine/Journals.hpp"
#include "engine/NameFormat.hpp"
#include "engine/Plan.hpp"
#include "engine/Settings.hpp"
#include "engine/Summary.hpp"
#include "engine/Undo.hpp"
#include "platform/FileSystem.hpp"
#include "window/FolderWatcher.hpp"
#include "window/PreviewLoader.hpp"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

namespace brindleaf {

class PreviewModel;

// What the check the engine makes before the first move finds in the shown names, made as
// the user types, so that a plan that would be refused never looks fine until after OK.
struct NameCheck {
    std::optional<NameProblem> problem;
    // The part of the names to change, with `problem`.
    NamePart partAtFault = NamePart::Prefix;
    // The most bytes a new name may have in the folder.
    std::uint64_t longestNewName = 0;
    // False while every entry already bears the name the settings would give it. An empty
    // folder counts as changing: renaming it still asks, to say that nothing will be renamed.
    bool changesNames = true;
};

// One folder as the window shows it, without a widget: the settings record, the folder's
// listing in preview order, what the listing tells of the folder, the check of the new
// names, and the runs made on it. The listing is kept between changes and watched: it is
// read again when the folder or its contents change, ordered again when an ordering toggle
// changes, while the text settings only rename the rows.
class FolderSession : public QObject {
    Q_OBJECT

public:
    explicit FolderSession(std::unique_ptr<FileSystem> fileSystem, QObject* parent = nullptr);
    ~FolderSession() override;

    [[nodiscard]] const Settings& settings() const { return settings_; }
    [[nodiscard]] PreviewModel* preview() const { return preview_; }
    [[nodiscard]] const ListingSummary& summary() const { return summary_; }
    [[nodiscard]] const LastRun& lastRun() const { return lastRun_; }
    [[nodiscard]] const std::string& journalFolder() const { return journals_.folder().path(); }
    [[nodiscard]] const NameCheck& nameCheck() const { return nameCheck_; }
    // Of the shown entries, those left out of the numbering, and those numbered by their
    // modified time for want of a date taken.
    [[nodiscard]] std::size_t leftOut() const;
    [[nodiscard]] std::size_t withoutDateTaken() const { return withoutDateTaken_; }
    // How many of the numbered files the format gives another extension than their own.
    [[nodiscard]] std::size_t extensionChanges() const;
    [[nodiscard]] bool isLoading() const { return loader_.isBusy(); }
    // A folder's listing is shown: none is chosen, or it is still being read, or could not be.
    [[nodiscard]] bool isFolderShown() const { return folderShown_; }
    // The folder's last run did not finish, or cannot be told to have: nothing is renamed
    // until it is dealt with.
    [[nodiscard]] bool lastRunUnfinished() const;
    [[nodiscard]] bool canRename() const;
    [[nodiscard]] bool canUndo() const;

    // Shows the folder with these bytes for its path; empty shows none.
    void setTargetPath(std::string path);
    void setText(std::string Settings::*field, std::string text);
    void setToggle(bool Settings::*field, bool on, bool reorders);
    void setOrder(Order order);

    // Waits for the preview, then fingerprints the names it shows: only that plan may be
    // carried out.
    [[nodiscard]] std::uint64_t shownPlan();
    // Sets the folder's watch and listing aside while a run moves its entries; endRun()
    // lists it again, unless the window is closing.
    void beginRun();
    void endRun(bool relist);
    // Renames from a fresh listing, when it is still the `shown` one; `changed` says when not.
    [[nodiscard]] RunReport rename(RunObserver& observer, std::uint64_t shown, bool& changed);
    [[nodiscard]] UndoReport undo(RunObserver& observer);
    [[nodiscard]] ForgetReport forget(bool setAside);

signals:
    void settingsChanged();
    // The rows, the summary, the name check or the last run changed.
    void previewChanged();
    void loadingChanged(bool loading);
    void datesProgress(std::size_t done, std::size_t total);
    void loadFailed(const Error& error);
    // A folder just chosen shows a run that did not finish, or a damaged record of one.
    void unfinishedRunFound(LastRunState state);

private:
    void writeTargetDir(std::string path);
    QFuture<void> watchTargetDir();
    void unwatchTargetDir();
    void relist(QFuture<void> watchSet);
    void relistAfterChange();
    void reorder();
    [[nodiscard]] ListedNames listingToReorder();
    void loaded(PreviewLoader::Result result);
    void checkNames();
    void countLeftOutAndUndated();
    [[nodiscard]] std::size_t longestExtension() const;

    Settings settings_;
    std::unique_ptr<FileSystem> fileSystem_;
    Journals journals_;
    DateCache dates_;
    // Declared after what its running job may still be reading.
    PreviewLoader loader_;
    PreviewModel* preview_;
    FolderWatcher watcher_;
    QTimer folderChangedTimer_;
    ListingSummary summary_;
    LastRun lastRun_;
    NameCheck nameCheck_;
    std::size_t withoutDateTaken_ = 0;
    // What the entries left out of the numbering hold, which keep their extensions.
    ListingSummary leftOutSummary_;
    // The longest name the shown folder's file system holds.
    std::size_t longestName_ = 255;
    // A folder just chosen whose last run was cut short is offered for restoring once.
    bool offerWhenLoaded_ = false;
    bool folderShown_ = false;
};

} // namespace brindleaf
