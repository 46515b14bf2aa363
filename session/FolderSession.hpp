#pragma once

#include "engine/Cameras.hpp"
#include "engine/Dates.hpp"
#include "engine/Forget.hpp"
#include "engine/Journals.hpp"
#include "engine/NameFormat.hpp"
#include "engine/Ordering.hpp"
#include "engine/Settings.hpp"
#include "platform/FileSystem.hpp"
#include "platform/JournalFiles.hpp"
#include "session/FolderWatcher.hpp"
#include "session/PreviewLoader.hpp"
#include "session/SessionState.hpp"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace brindleaf {

class PreviewModel;

// One folder as the window shows it, without a widget: the settings record, the folder's
// listing in preview order, what the listing tells of the folder, the check of the new
// names, and the runs made on it. The listing is kept between changes and watched: it is
// read again when the folder or its contents change, ordered again when an ordering toggle
// changes, while the text settings only rename the rows. A run, from its fresh listing to
// its report, goes on a thread of its own, so the window answers throughout. Whatever
// changes, the session publishes its whole state anew.
class FolderSession : public QObject {
    Q_OBJECT

public:
    // Reads and renames through `fileSystem`; journals its runs in `journalFolder`.
    FolderSession(std::unique_ptr<FileSystem> fileSystem, JournalFolder journalFolder,
                  QObject* parent = nullptr);
    // Stops a run under way, and waits until every name it moved is back.
    ~FolderSession() override;

    [[nodiscard]] const SessionState& state() const { return state_; }
    // The rows of the shown listing, for a view.
    [[nodiscard]] PreviewModel* preview() const { return preview_; }

    // Shows the folder with these bytes for its path; empty shows none. Nothing changes
    // while a run goes on, since the run lists the folder for itself.
    void setTargetPath(std::string path);
    void setText(std::string Settings::*field, std::string text);
    void setToggle(bool Settings::*field, bool on, bool reorders);
    void setOrder(Order order);
    // Sets each camera's zone and clock correction, which reorders the rows by the dates
    // the listing holds: no file is read again.
    void setCameraClocks(std::vector<CameraClock> clocks);
    // The cameras of the shown folder, with their clocks as set, while the order is by date
    // taken; else none.
    [[nodiscard]] std::vector<CameraSummary> cameras() const;
    // The entry each camera of cameras() is to be recognised by, by camera name: the first
    // it took, by the dates the rows show, of the entries `preferred` accepts by their names,
    // else the first it took of all. `preferred` is asked only of an entry taken before the
    // camera's entry found so far.
    [[nodiscard]] std::map<std::string, std::string, std::less<>>
    cameraFirstEntries(const std::function<bool(std::string_view name)>& preferred) const;

    // Renames every entry of the folder from a fresh listing, when it still holds the names
    // the preview shows; undoes the folder's newest run not undone yet. Either runs on its
    // own thread: the state tells its progress, then how it finished.
    void rename();
    void undo();
    // What becomes of the folder once a stopped run is rolled back.
    enum class AfterRun { ShowFolder, LetGo };
    // Stops the run under way at its next move; every name it moved goes back.
    void stopRun(AfterRun after);
    [[nodiscard]] ForgetReport forget(bool setAside);

signals:
    void stateChanged(const brindleaf::SessionState& state);
    void loadFailed(const brindleaf::Error& error);
    // A folder just chosen shows a run that did not finish, or a damaged record of one.
    void unfinishedRunFound(brindleaf::RecordedRunState state);

private:
    struct Run;
    using RunResult = std::variant<RenameResult, UndoReport>;

    void publish();
    void writeTargetDir(std::string path);
    QFuture<void> watchTargetDir();
    void unwatchTargetDir();
    void relist(QFuture<void> watchSet);
    void relistAfterChange();
    void reorder();
    [[nodiscard]] ListedNames listingToReorder();
    void showListing(ListedNames listing);
    void forgetListing();
    void loaded(PreviewLoader::Result result);
    void loadingChanged(bool loading);
    void checkNames();
    void countLeftOutAndUndated();
    [[nodiscard]] std::size_t longestExtension() const;
    template <typename Work> void startRun(Work work);
    void runProgressed(std::size_t done, std::size_t total);
    void runFinished();

    SessionState state_;
    std::unique_ptr<FileSystem> fileSystem_;
    Journals journals_;
    DateCache dates_;
    // What the rows show: the listing and the format that names it.
    ListedNames listing_;
    NameFormat format_;
    // Declared after what its running job may still be reading.
    PreviewLoader loader_;
    PreviewModel* preview_;
    FolderWatcher watcher_;
    QTimer folderChangedTimer_;
    // What the entries left out of the numbering hold, which keep their extensions.
    ListingSummary leftOutSummary_;
    // The longest name the shown folder's file system holds.
    std::size_t longestName_ = 255;
    // A folder just chosen whose last run was cut short is offered for restoring once.
    bool offerWhenLoaded_ = false;
    QElapsedTimer datesPublished_;
    // The run under way, declared last: it goes first, and waits for its thread.
    std::unique_ptr<Run> run_;
};

} // namespace brindleaf
