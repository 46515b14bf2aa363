#include "window/FolderSession.hpp"
#include "support/FaultyFileSystem.hpp"
#include "support/TemporaryFolder.hpp"
#include "window/PreviewModel.hpp"

#include "platform/PosixFileSystem.hpp"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

using brindleaf::FolderSession;
using brindleaf::testing::TemporaryFolder;

namespace {

std::unique_ptr<FolderSession> sessionOn(const std::string& path,
                                         std::unique_ptr<brindleaf::FileSystem> fileSystem =
                                             std::make_unique<brindleaf::PosixFileSystem>()) {
    auto session = std::make_unique<FolderSession>(std::move(fileSystem));
    session->setTargetPath(path);
    return session;
}

bool settled(const FolderSession& session) {
    return QTest::qWaitFor([&] { return !session.isLoading() && session.isFolderShown(); });
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
    void initTestCase() { qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome_.path())); }

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
        QVERIFY(session->isLoading());
        QVERIFY(!session->canRename());
        QVERIFY(!session->isFolderShown());
        QCOMPARE(session->preview()->rowCount(), 0);
        session->setTargetPath(folder.pathOf("fast"));
        session->setToggle(&brindleaf::Settings::isReverse, true, true);
        QVERIFY(settled(*session));
        QCOMPARE(rows(*session),
                 (QStringList{QStringLiteral("b2 -> 0001"), QStringLiteral("b1 -> 0002")}));
        QVERIFY(!everShown.contains(QStringLiteral("a -> 0001")));
        QVERIFY(session->canRename());
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

        brindleaf::ProceedAlways proceed;
        bool changed = true;
        const brindleaf::RunReport report = session->rename(proceed, session->shownPlan(), changed);
        QVERIFY(!changed);
        QCOMPARE(report.outcome, brindleaf::RunOutcome::Renamed);
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
        QSignalSpy progress(session.get(), &FolderSession::datesProgress);
        session->setOrder(brindleaf::Order::Taken);
        QTest::qWait(50); // a part of the dates is read
        session->setOrder(brindleaf::Order::Name);
        QVERIFY(settled(*session));
        QVERIFY2(counted.datesTaken < 600, qPrintable(QString::number(counted.datesTaken)));
        QVERIFY(!progress.isEmpty());

        session->setOrder(brindleaf::Order::Taken);
        QVERIFY(settled(*session));
        QCOMPARE(counted.datesTaken.load(), std::size_t{600});
        QCOMPARE(session->withoutDateTaken(), std::size_t{600});
        session->setOrder(brindleaf::Order::Name);
        session->setOrder(brindleaf::Order::Taken);
        folder.addFile("new.jpg");
        QTRY_COMPARE(session->preview()->rowCount(), 601);
        QVERIFY(settled(*session));
        brindleaf::ProceedAlways proceed;
        bool changed = true;
        const brindleaf::RunReport report = session->rename(proceed, session->shownPlan(), changed);
        QVERIFY(!changed);
        QCOMPARE(report.outcome, brindleaf::RunOutcome::Renamed);
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
        QCOMPARE(session->extensionChanges(), std::size_t{3});
        session->setText(&brindleaf::Settings::onlyExtensions, "jpg");
        QVERIFY(settled(*session));
        QCOMPARE(session->leftOut(), std::size_t{1});
        QCOMPARE(session->extensionChanges(), std::size_t{2});
    }

private:
    QTemporaryDir stateHome_;
};

QTEST_GUILESS_MAIN(FolderSessionTest)
#include "FolderSessionTest.moc"
