#pragma once

#include "engine/Dates.hpp"
#include "engine/Error.hpp"
#include "engine/Journals.hpp"
#include "engine/Ordering.hpp"
#include "engine/Settings.hpp"
#include "engine/Summary.hpp"
#include "platform/FileSystem.hpp"

#include <QFuture>
#include <QObject>

#include <atomic>
#include <cstdint>
#include <expected>
#include <functional>
#include <optional>

namespace brindleaf {

// What a fresh listing learns of the folder besides its names.
struct FolderFacts {
    ListingSummary summary;
    RecordedRun lastRun;
    // The longest name the folder's file system holds.
    std::size_t longestName = 255;
};

// What the preview shows of a folder. A reordering leaves the facts as they were.
struct LoadedPreview {
    ListedNames listing;
    std::optional<FolderFacts> facts;
};

// Lists and orders a folder away from the event loop, so that a folder of a million entries
// never stalls the window. One job runs at a time. A request made while one runs waits, and
// takes the place of any request that waited before it; a fresh listing makes the running
// job's result stale, and a stale result is dropped. Only the newest result is delivered.
// Dates, which can take seconds to read, are read by a listing, and any newer request stops
// their reading: what was read stays in the date cache for the next listing.
class PreviewLoader : public QObject {
    Q_OBJECT

public:
    using Result = std::expected<LoadedPreview, Error>;
    using Delivery = std::function<void(Result)>;

    // `fileSystem`, `journals` and `dates` must outlive the loader; `deliver` is called on
    // the loader's thread.
    PreviewLoader(FileSystem& fileSystem, const Journals& journals, DateCache& dates,
                  Delivery deliver, QObject* parent = nullptr);
    // Waits for a running job: it may still be reading the file system.
    ~PreviewLoader() override;

    // Lists the folder of `settings.targetDir` afresh, in the order `settings` chooses, once
    // `ready` has finished.
    void list(const Settings& settings, QFuture<void> ready = {});
    // Orders `held` for `settings`, or lists afresh when the order needs dates `held` lacks.
    // While a job runs, `held` is dropped and the running job's result is ordered instead,
    // before it is delivered.
    void reorder(const Settings& settings, ListedNames held);
    // Drops what runs and what waits, without waiting: the future finishes once nothing
    // reads the folder or the date cache any more.
    [[nodiscard]] QFuture<void> letGo();

    [[nodiscard]] bool isBusy() const { return running_.has_value(); }

signals:
    void busyChanged(bool busy);
    // Dates of `done` of `total` entries are read.
    void datesProgress(std::size_t done, std::size_t total);

private:
    enum class Step { List, Reorder };
    struct Request {
        Step step;
        Settings settings;
        QFuture<void> ready;
    };

    void start(Request request, LoadedPreview held);
    void supersedeRunning();
    // The job itself, on a worker thread.
    [[nodiscard]] Result carryOut(Request& request, LoadedPreview held);
    void completed(std::uint64_t job);

    FileSystem& fileSystem_;
    const Journals& journals_;
    DateCache& dates_;
    Delivery deliver_;
    // Set when a newer request waits: the running job stops reading dates.
    std::atomic<bool> superseded_ = false;
    QFuture<Result> future_;
    std::uint64_t jobs_ = 0;
    // The job whose result is still to be handled, and whether a fresh listing made it stale;
    // the loader is busy while there is one.
    std::optional<std::uint64_t> running_;
    bool runningIsStale_ = false;
    std::optional<Request> waiting_;
};

} // namespace brindleaf
