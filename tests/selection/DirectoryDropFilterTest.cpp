#include "selection/DirectoryDropFilter.hpp"
#include "support/GuiHelpers.hpp"
#include "support/TemporaryFolder.hpp"

#include <QSignalSpy>
#include <QTest>

#include <iostream>
#include <memory>
#include <sstream>

using brindleaf::DirectoryDropFilter;
using brindleaf::testing::TemporaryFolder;
using brindleaf::testing::urlData;

namespace {

QUrl localUrl(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

// Collects what is written to standard output while it lives.
class CapturedOutput {
public:
    CapturedOutput() : previous_(std::cout.rdbuf(captured_.rdbuf())) {}
    ~CapturedOutput() { std::cout.rdbuf(previous_); }
    std::string text() const { return captured_.str(); }

private:
    std::ostringstream captured_;
    std::streambuf* previous_;
};

} // namespace

class DirectoryDropFilterTest : public QObject {
    Q_OBJECT

private slots:
    void firstFolderSkipsFilesRemoteUrlsAndMissingPaths() {
        TemporaryFolder folder;
        folder.addFile("plain");
        folder.addFolder("one");
        folder.addFolder("two");
        const std::unique_ptr<QMimeData> data(
            urlData({QUrl(QStringLiteral("https://example.org/dir/")),
                     localUrl(folder.pathOf("plain")), localUrl(folder.pathOf("gone")),
                     localUrl(folder.pathOf("one")), localUrl(folder.pathOf("two"))}));
        QCOMPARE(DirectoryDropFilter::firstFolder(data.get()), localUrl(folder.pathOf("one")));

        const std::unique_ptr<QMimeData> filesOnly(urlData({localUrl(folder.pathOf("plain"))}));
        QVERIFY(!DirectoryDropFilter::firstFolder(filesOnly.get()));
        QMimeData text;
        text.setText(QString::fromStdString(folder.path()));
        QVERIFY(!DirectoryDropFilter::firstFolder(&text));
    }

    void takenFolderArrivesOnlyThroughTheEventLoop() {
        TemporaryFolder folder;
        QWidget target;
        DirectoryDropFilter delegate(&target);
        QSignalSpy dropped(&delegate, &DirectoryDropFilter::folderDropped);
        const std::unique_ptr<QMimeData> data(urlData({localUrl(folder.path())}));

        QVERIFY(brindleaf::testing::dropOn(&target, *data));
        QCOMPARE(dropped.count(), 0);
        QTRY_COMPARE(dropped.count(), 1);
        QCOMPARE(dropped.at(0).at(0).toUrl(), localUrl(folder.path()));
    }

    void folderGoneBeforeDeliveryPrintsErrorAndDeliversNothing() {
        auto folder = std::make_unique<TemporaryFolder>();
        QWidget target;
        DirectoryDropFilter delegate(&target);
        QSignalSpy dropped(&delegate, &DirectoryDropFilter::folderDropped);
        const std::unique_ptr<QMimeData> data(urlData({localUrl(folder->path())}));

        const CapturedOutput output;
        QVERIFY(delegate.performDrop(data.get()));
        folder.reset();
        QCoreApplication::processEvents();
        QCOMPARE(dropped.count(), 0);
        QCOMPARE(output.text(), std::string("error\n"));
    }
};

QTEST_MAIN(DirectoryDropFilterTest)
#include "DirectoryDropFilterTest.moc"
