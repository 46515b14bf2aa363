#include "window/RowPictures.hpp"
#include "session/FolderSession.hpp"
#include "session/PreviewModel.hpp"
#include "support/PictureFiles.hpp"
#include "support/TemporaryFolder.hpp"
#include "window/PictureTip.hpp"
#include "window/PreviewListView.hpp"

#include "platform/PosixFileSystem.hpp"

#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using brindleaf::testing::filled;
using brindleaf::testing::Primary;
using brindleaf::testing::TemporaryFolder;

namespace {

// A folder of three photos, one of each primary colour, and a text file, in a preview
// list the size of a small window.
class PhotoPreview {
public:
    PhotoPreview() {
        brindleaf::testing::writeJpeg(folder.pathOf("a-red.jpg"), filled({800, 600}, Qt::red));
        brindleaf::testing::writeJpeg(folder.pathOf("b-green.jpg"), filled({600, 800}, Qt::green));
        brindleaf::testing::writeJpeg(folder.pathOf("c-blue.jpg"), filled({800, 600}, Qt::blue));
        folder.addFile("d-notes.txt");
        session.setTargetPath(folder.path());
        list.setModel(session.preview());
        list.resize(640, 400);
        list.show();
        pictures = new brindleaf::RowPictures(&list, QByteArray::fromStdString(cache.path()));
        pictures->setFolder(QByteArray::fromStdString(folder.path()));
    }

    [[nodiscard]] bool settled() const {
        return QTest::qWaitFor(
            [&] { return !session.state().isLoading() && session.preview()->rowCount() == 4; });
    }

    // The colour painted in the middle of the picture of `row`.
    [[nodiscard]] QColor paintedAt(int row) {
        const QImage painted = list.viewport()->grab().toImage();
        const QRect rect = list.visualRect(session.preview()->index(row));
        const QPoint middle(rect.left() + 6 + brindleaf::RowPictures::pictureSide / 2,
                            rect.center().y());
        return painted.pixelColor(middle * painted.devicePixelRatio());
    }

    TemporaryFolder folder;
    TemporaryFolder cache;
    TemporaryFolder journals;
    brindleaf::FolderSession session{std::make_unique<brindleaf::PosixFileSystem>(),
                                     brindleaf::JournalFolder(journals.path())};
    brindleaf::PreviewListView list;
    brindleaf::RowPictures* pictures;
};

bool paints(PhotoPreview& preview, int row, Primary primary) {
    return QTest::qWaitFor([&] {
        const QColor color = preview.paintedAt(row);
        return color.saturation() > 150 && brindleaf::testing::primaryOf(color) == primary;
    });
}

} // namespace

class RowPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome_.path())); }

    void rowsShowTheirPicturesOnlyWhileAsked() {
        PhotoPreview preview;
        QVERIFY(preview.settled());
        const int plainHeight =
            preview.list.visualRect(preview.session.preview()->index(0)).height();
        QVERIFY(plainHeight < brindleaf::RowPictures::rowHeight);
        QTest::qWait(50);
        QCOMPARE(preview.paintedAt(0).saturation() > 150, false);

        preview.pictures->setShown(true);
        QVERIFY(QTest::qWaitFor([&] {
            return preview.list.visualRect(preview.session.preview()->index(0)).height() >=
                   brindleaf::RowPictures::rowHeight;
        }));
        QVERIFY(paints(preview, 0, Primary::Red));
        QVERIFY(paints(preview, 1, Primary::Green));
        QVERIFY(paints(preview, 2, Primary::Blue));
        // A text file keeps its icon, which is no photo's colour.
        QCOMPARE(preview.pictures->kindOf(preview.session.preview()->index(3)),
                 brindleaf::PictureKind::None);

        preview.pictures->setShown(false);
        QVERIFY(QTest::qWaitFor([&] {
            return preview.list.visualRect(preview.session.preview()->index(0)).height() ==
                   plainHeight;
        }));
    }

    void theRowUnderThePointerShowsLarger() {
        PhotoPreview preview;
        QVERIFY(preview.settled());
        preview.pictures->setShown(true);
        QVERIFY(paints(preview, 1, Primary::Green));
        const QRect row = preview.list.visualRect(preview.session.preview()->index(1));
        QTest::mouseMove(preview.list.viewport(), row.center());
        const brindleaf::PictureTip& tip = preview.pictures->tip();
        QVERIFY(QTest::qWaitFor([&] { return tip.isVisible(); }));
        const QSize shown = tip.picture().deviceIndependentSize().toSize();
        QCOMPARE(std::max(shown.width(), shown.height()), brindleaf::RowPictures::tipSide);
        QCOMPARE(shown.width() < shown.height(), true);
        QCOMPARE(brindleaf::testing::primaryOf(tip.picture().pixelColor(
                     tip.picture().width() / 2, tip.picture().height() / 2)),
                 Primary::Green);
        // Over the list, inside it.
        QVERIFY(preview.list.rect().contains(tip.geometry()));

        QTest::mouseMove(preview.list.viewport(),
                         preview.list.visualRect(preview.session.preview()->index(3)).center());
        QVERIFY(QTest::qWaitFor([&] { return !tip.isVisible(); }));
    }

private:
    QTemporaryDir stateHome_;
};

QTEST_MAIN(RowPicturesTest)
#include "RowPicturesTest.moc"
