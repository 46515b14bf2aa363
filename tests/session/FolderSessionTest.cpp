#include "session/FolderSession.hpp"
#include "session/PreviewModel.hpp"
#include "support/FaultyFileSystem.hpp"
#include "support/GatedFileSystem.hpp"
#include "support/TemporaryFolder.hpp"

#include "platform/PosixFileSystem.hpp"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <thread>
#include <vector>

using brindleaf::FolderSession;
using brindleaf::SessionState;
using brindleaf::testing::TemporaryFolder;
namespace activity = brindleaf::activity;

namespace {

// The folder where the sessions of these tests journal their runs, apart from the user's own.
brindleaf::JournalFolder journalFolder() {
    static const QTemporaryDir folder;
    return brindleaf::JournalFolder(QFile::encodeName(folder.path()).toStdString());
}

std::unique_ptr<FolderSession> sessionOn(const std::string& path,
                                         std::unique_ptr<brindleaf::FileSystem> fileSystem =
                                             std::make_unique<brindleaf::PosixFileSystem>()) {
    auto session = std::make_unique<FolderSession>(std::move(fileSystem), journalFolder());
    session->setTargetPath(path);
    return session;
}

bool settled(const FolderSession& session) {
    return QTest::qWaitFor([&] { return session.state().isIdle() && session.state().folderShown; });
}

// What the session published, each state as it was then.
class StatesSeen {
public:
    explicit StatesSeen(const FolderSession& session) {
        QObject::connect(&session, &FolderSession::stateChanged, &context_,
                         [this](const SessionState& state) { states.push_back(state); });
    }
    // How the last run ended, once one has.
    [[nodiscard]] std::optional<brindleaf::FinishedRun> finished() const {
        for (const SessionState& state : states) {
            if (const auto* end = std::get_if<activity::Finished>(&state.activity)) {
                return end->run;
            }
        }
        return std::nullopt;
    }
    // The furthest a run got, as last published.
    [[nodiscard]] std::optional<activity::Running> running() const {
        for (auto state = states.rbegin(); state != states.rend(); ++state) {
            if (const auto* running = std::get_if<activity::Running>(&state->activity)) {
                return *running;
            }
        }
        return std::nullopt;
    }
    std::vector<SessionState> states;

private:
    QObject context_;
};

// Waits for the run the session carries out and tells how it ended.
brindleaf::FinishedRun finishedRun(const StatesSeen& seen) {
    if (!QTest::qWaitFor([&] { return seen.finished().has_value(); }, 60'000)) {
        qFatal("the run did not end");
    }
    return *seen.finished();
}

const brindleaf::RunReport& renameReport(const brindleaf::FinishedRun& run) {
    return std::get<brindleaf::RenameResult>(run.result).report;
}

// Waits until the run has moved entries, and tells how far it is.
bool movesUnderWay(const StatesSeen& seen) {
    return QTest::qWaitFor([&] { return seen.running() && seen.running()->done > 0; }, 30'000);
}

std::set<std::string> fill(const TemporaryFolder& folder, int files) {
    std::set<std::string> names;
    for (int i = 0; i < files; ++i) {
        const std::string name = "photo " + std::to_string(i) + ".jpg";
        folder.addFile(name);
        names.insert(name);
    }
    return names;
}

// The preview's rows as "original -> renamed".
QStringList rows(const FolderSession& session) {
    QStringList texts;
    const brindleaf::PreviewModel& model = *session.preview();
    for (int row = 0; row < model.rowCount(); ++row) {
        texts.append(
            model.data(model.index(row), brindleaf::PreviewModel::OriginalRole).toString() +
            QStringLiteral(" -> ") +
            model.data(model.index(row), brindleaf::PreviewModel::RenamedRole).toString());
    }
    return texts;
}

} // namespace

// The folder session is what the window shows, tested without a window.
class FolderSessionTest : public QObject {
    Q_OBJECT

private slots:
    void previewFollowsTheFolderWithoutAnyInput() {
        TemporaryFolder folder;
        folder.addFile("b");
        const auto session = sessionOn(folder.path());
        QVERIFY(settled(*session));
        QCOMPARE(rows(*session), QStringList{QStringLiteral("b -> 0001")});

        folder.addFile("a");
        QTRY_COMPARE(rows(*session),
                     (QStringList{QStringLiteral("a -> 0001"), QStringLiteral("b -> 0002")}));
        std::filesystem::rename(folder.pathOf("b"), folder.pathOf("c"));
        QTRY_COMPARE(rows(*session),
                     (QStringList{QStringLiteral("a -> 0001"), QStringLiteral("c -> 0002")}));
        std::filesystem::remove(folder.pathOf("a"));
        QTRY_COMPARE(rows(*session), QStringList{QStringLiteral("c -> 0001")});
    }

    // A slow folder never holds the window: nothing can be renamed until its rows show, and
    // a newer folder or toggle takes the place of what was asked before.
    void newerRequestsSupersedeASlowListing() {
        TemporaryFolder folder;
        folder.addFolder("slow");
        folder.addFolder("fast");
        for (const char* name : {"slow/a", "fast/b1", "fast/b2"}) {
            folder.addFile(name);
        }
        auto slow = std::make_unique<brindleaf::testing::FaultyFileSystem>();
        slow->perListing = std::chrono::milliseconds(200);
        const auto session = sessionOn(folder.pathOf("fast"), std::move(slow));
        QVERIFY(settled(*session));
        QStringList everShown;
        connect(session->preview(), &QAbstractItemModel::modelReset, this,
                [&] { everShown.append(rows(*session)); });
        session->setTargetPath(folder.pathOf("slow"));
        QTest::qWait(50); // the slow listing is under way
        QVERIFY(session->state().isLoading());
        QVERIFY(!session->state().canRename());
        QVERIFY(!session->state().folderShown);
        QCOMPARE(session->preview()->rowCount(), 0);
        session->setTargetPath(folder.pathOf("fast"));
        session->setToggle(&brindleaf::Settings::isReverse, true, true);
        QVERIFY(settled(*session));
        QCOMPARE(rows(*session),
                 (QStringList{QStringLiteral("b2 -> 0001"), QStringLiteral("b1 -> 0002")}));
        QVERIFY(!everShown.contains(QStringLiteral("a -> 0001")));
        QVERIFY(session->state().canRename());
    }

    // Names that tie while spaces are ignored keep their listing order however the toggles
    // moved before, so the preview is always the numbering that a run carries out.
    void previewOrderIsTheRunsOrderAfterAnyToggling() {
        TemporaryFolder folder;
        for (int i = 0; i < 8; ++i) {
            folder.addFile("photo" + std::to_string(i) + ".jpg");
            folder.addFile("photo " + std::to_string(i) + ".jpg");
        }
        const auto session = sessionOn(folder.path());
        QVERIFY(settled(*session));
        session->setToggle(&brindleaf::Settings::isCompareBySpaceRemoveOn, false, true);
        session->setToggle(&brindleaf::Settings::isCompareBySpaceRemoveOn, true, true);
        QVERIFY(settled(*session));
        const QStringList shown = rows(*session);
        const auto fresh = sessionOn(folder.path());
        QVERIFY(settled(*fresh));
        QCOMPARE(shown, rows(*fresh));

        const StatesSeen seen(*session);
        session->rename();
        const brindleaf::FinishedRun run = finishedRun(seen);
        QVERIFY(!std::get<brindleaf::RenameResult>(run.result).folderChanged);
        QCOMPARE(renameReport(run).outcome, brindleaf::RunOutcome::Renamed);
        QCOMPARE(QString::fromStdString(folder.contentOf("0001")) + QStringLiteral(" -> 0001"),
                 shown.first());
    }

    // Dates are read once a file: ordering back and forth, listing the folder again, or
    // renaming by them reads only what changed. A newer choice stops a reading under way,
    // which tells its progress.
    void datesAreReadOncePerFileAndANewerChoiceStopsTheReading() {
        TemporaryFolder folder;
        for (int i = 0; i < 600; ++i) {
            folder.addFile("photo " + std::to_string(i) + ".jpg");
        }
        auto slowDates = std::make_unique<brindleaf::testing::FaultyFileSystem>();
        // Eight files are read at a time: the reading must outlast the wait below.
        slowDates->perDateTaken = std::chrono::milliseconds(4);
        const brindleaf::testing::FaultyFileSystem& counted = *slowDates;
        const auto session = sessionOn(folder.path(), std::move(slowDates));
        QVERIFY(settled(*session));
        const StatesSeen progress(*session);
        session->setOrder(brindleaf::Order::Taken);
        QTest::qWait(50); // a part of the dates is read
        session->setOrder(brindleaf::Order::Name);
        QVERIFY(settled(*session));
        QVERIFY2(counted.datesTaken < 600, qPrintable(QString::number(counted.datesTaken)));
        QVERIFY(std::ranges::any_of(progress.states, [](const SessionState& state) {
            return std::holds_alternative<activity::ReadingDates>(state.activity);
        }));

        session->setOrder(brindleaf::Order::Taken);
        QVERIFY(settled(*session));
        QCOMPARE(counted.datesTaken.load(), std::size_t{600});
        QCOMPARE(session->state().withoutDateTaken, std::size_t{600});
        session->setOrder(brindleaf::Order::Name);
        session->setOrder(brindleaf::Order::Taken);
        folder.addFile("new.jpg");
        QTRY_COMPARE(session->preview()->rowCount(), 601);
        QVERIFY(settled(*session));
        const StatesSeen seen(*session);
        session->rename();
        QCOMPARE(renameReport(finishedRun(seen)).outcome, brindleaf::RunOutcome::Renamed);
        QCOMPARE(counted.datesTaken.load(), std::size_t{601});
    }

    // Entries left out keep their names: neither the extensions they would lose nor their
    // number count among the entries that change.
    void leftOutEntriesAreNotCountedAsRenamed() {
        TemporaryFolder folder;
        for (const char* name : {"a.txt", "b.jpg", "c.jpg"}) {
            folder.addFile(name);
        }
        const auto session = sessionOn(folder.path());
        QVERIFY(settled(*session));
        QCOMPARE(session->state().extensionChanges, std::size_t{3});
        session->setText(&brindleaf::Settings::onlyExtensions, "jpg");
        QVERIFY(settled(*session));
        QCOMPARE(session->state().leftOut, std::size_t{1});
        QCOMPARE(session->state().extensionChanges, std::size_t{2});
    }

    // The run starts with its progress, before it lists the folder, and reports how far it
    // is before its first move; meanwhile the session's thread is free.
    void runTellsItsProgressBeforeTheFirstMove() {
        TemporaryFolder folder;
        const std::set<std::string> originals = fill(folder, 20);
        auto gated = std::make_unique<brindleaf::testing::GatedFileSystem>();
        brindleaf::testing::GatedFileSystem& gate = *gated;
        const auto session = sessionOn(folder.path(), std::move(gated));
        QVERIFY(settled(*session));
        const StatesSeen seen(*session);
        session->rename();
        QVERIFY(seen.running().has_value()); // published before rename() returned
        QCOMPARE(seen.running()->total, std::size_t{0});
        QVERIFY(QTest::qWaitFor([&] { return seen.running()->total == 20; }, 30'000));
        QCOMPARE(seen.running()->done, std::size_t{0});
        QCOMPARE(gate.movesMade(), std::size_t{0});
        QCOMPARE(folder.names(), originals);
        gate.open();
        QCOMPARE(renameReport(finishedRun(seen)).moved, std::size_t{20});
        QVERIFY(folder.names().contains("0020"));
        QVERIFY(settled(*session));
        QCOMPARE(session->state().rows, std::size_t{20});
    }

    // Stopped, a run puts every name back. Stopped by the window, the folder is shown again
    // or let go as asked; by SIGTERM, the run says so, and the folder is let go, as the
    // program is to end; the session going away waits for every name to be back.
    void stoppedRunPutsEveryNameBack() {
        enum class Stop { ShowFolder, LetGo, Signal, SessionGone };
        for (const Stop stop : {Stop::ShowFolder, Stop::LetGo, Stop::Signal, Stop::SessionGone}) {
            TemporaryFolder folder;
            const std::set<std::string> originals = fill(folder, 300);
            auto session =
                sessionOn(folder.path(), std::make_unique<brindleaf::testing::FaultyFileSystem>(
                                             std::chrono::milliseconds(2)));
            QVERIFY(settled(*session));
            const StatesSeen seen(*session);
            session->rename();
            QVERIFY(movesUnderWay(seen));
            switch (stop) {
            case Stop::ShowFolder:
                session->stopRun(FolderSession::AfterRun::ShowFolder);
                break;
            case Stop::LetGo:
                session->stopRun(FolderSession::AfterRun::LetGo);
                break;
            case Stop::Signal:
                ::raise(SIGTERM);
                break;
            case Stop::SessionGone:
                session.reset();
                QCOMPARE(folder.names(), originals);
                continue;
            }
            const brindleaf::FinishedRun run = finishedRun(seen);
            QCOMPARE(renameReport(run).outcome, brindleaf::RunOutcome::Cancelled);
            QCOMPARE(run.signal, stop == Stop::Signal ? SIGTERM : 0);
            QCOMPARE(folder.names(), originals);
            QCOMPARE(folder.contentOf("photo 7.jpg"), std::string("photo 7.jpg"));
            if (stop == Stop::ShowFolder) {
                QVERIFY(settled(*session));
                QCOMPARE(session->state().rows, std::size_t{300});
            } else {
                QTest::qWait(100);
                QVERIFY(!session->state().isLoading());
                QVERIFY(!session->state().folderShown);
                QCOMPARE(session->preview()->rowCount(), 0);
            }
        }
    }

    // A folder that changed after its preview was shown is not renamed; the preview shows it
    // as it now is.
    void folderChangedSinceShownIsNotRenamed() {
        TemporaryFolder folder;
        folder.addFile("b");
        folder.addFile("a");
        const auto session = sessionOn(folder.path());
        QVERIFY(settled(*session));
        folder.addFile("0"); // before the watch tells, as the user presses OK
        const StatesSeen seen(*session);
        session->rename();
        const brindleaf::FinishedRun run = finishedRun(seen);
        QVERIFY(std::get<brindleaf::RenameResult>(run.result).folderChanged);
        QCOMPARE(folder.names(), (std::set<std::string>{"0", "a", "b"}));
        QVERIFY(settled(*session));
        QCOMPARE(rows(*session),
                 (QStringList{QStringLiteral("0 -> 0001"), QStringLiteral("a -> 0002"),
                              QStringLiteral("b -> 0003")}));
    }

    // Rename pressed while the folder is being listed again starts at once: the run, not the
    // window, waits for the listing it lets go.
    void runStartsWithoutWaitingForAListingUnderWay() {
        // Listings after the first take half a second, and say while they read.
        class SlowRelisting final : public brindleaf::testing::ForwardingFileSystem {
        public:
            std::expected<brindleaf::FolderEntries, std::error_code>
            readEntries(const brindleaf::UniqueFd& folder) override {
                const bool slow = ++listings > 1;
                underWay += slow ? 1 : 0;
                if (slow) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(500));
                }
                auto entries = ForwardingFileSystem::readEntries(folder);
                underWay -= slow ? 1 : 0;
                return entries;
            }
            std::atomic<int> listings = 0;
            std::atomic<int> underWay = 0;
        };
        TemporaryFolder folder;
        fill(folder, 10);
        auto slow = std::make_unique<SlowRelisting>();
        const SlowRelisting& listings = *slow;
        const auto session = sessionOn(folder.path(), std::move(slow));
        QVERIFY(settled(*session));
        folder.addFile("new");
        QVERIFY(QTest::qWaitFor([&] { return listings.underWay.load() == 1; }, 10'000));
        const StatesSeen seen(*session);
        session->rename();
        QVERIFY(session->state().isRunning());
        QCOMPARE(listings.underWay.load(), 1);
        // The rows shown lacked the new file.
        QVERIFY(std::get<brindleaf::RenameResult>(finishedRun(seen).result).folderChanged);
        QVERIFY(settled(*session));
        QCOMPARE(session->state().rows, std::size_t{11});
    }

    // An undo runs as a rename does, and gives every name back.
    void undoRunsOnItsOwnThreadAndGivesTheNamesBack() {
        TemporaryFolder folder;
        const std::set<std::string> originals = fill(folder, 30);
        const auto session = sessionOn(folder.path());
        QVERIFY(settled(*session));
        {
            const StatesSeen seen(*session);
            session->rename();
            QCOMPARE(renameReport(finishedRun(seen)).moved, std::size_t{30});
        }
        QVERIFY(settled(*session));
        QVERIFY(session->state().canUndo());
        const StatesSeen seen(*session);
        session->undo();
        QVERIFY(session->state().isRunning());
        const brindleaf::FinishedRun run = finishedRun(seen);
        QCOMPARE(std::get<brindleaf::UndoReport>(run.result).restored, std::size_t{30});
        QCOMPARE(folder.names(), originals);
    }
};

QTEST_GUILESS_MAIN(FolderSessionTest)
#include "FolderSessionTest.moc"
