#include "window/CameraPictures.hpp"
#include "window/CameraDialog.hpp"
#include "window/CameraListModel.hpp"
#include "window/ContentView.hpp"

#include "pictures/ThumbnailCache.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/GuiHelpers.hpp"
#include "support/PhotoFiles.hpp"
#include "support/PictureFiles.hpp"
#include "support/TemporaryFolder.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>
#include <optional>

using brindleaf::CameraDialog;
using brindleaf::CameraListModel;
using brindleaf::ContentView;
using brindleaf::testing::CameraTags;
using brindleaf::testing::filled;
using brindleaf::testing::Primary;
using brindleaf::testing::TemporaryFolder;

namespace {

// A real JPEG of one colour, carrying what a camera writes: its maker and model and when
// it was taken. A video's name on it keeps the pixels from being shown: a video is never
// decoded for its picture.
void writeShot(const TemporaryFolder& folder, const std::string& name, Qt::GlobalColor color,
               const std::string& make, const std::string& model, const std::string& date) {
    const std::string path = folder.pathOf(name);
    brindleaf::testing::writeJpeg(path, filled({800, 600}, color));
    CameraTags tags;
    tags.date = date;
    tags.make = make;
    tags.model = model;
    brindleaf::testing::writeCameraTags(path, tags);
}

// What a camera row is to show beside the camera's name: the colour of its picture, or,
// when none, the placeholder icon.
struct Expected {
    const char* camera;
    std::optional<Primary> picture;
};

// Five cameras of one trip, their shots named against the order they were taken in:
//   Canon      IMG_0002.JPG red at 08:00, IMG_0001.JPG green at 09:00
//   Nikon      DSC_0100.JPG blue at 07:00, DSC_0050.JPG red at 10:00
//   iPhone     IMG_0003.MOV at 06:00, then IMG_0004.JPG red at 07:30
//   GoPro      GOPR0001.MP4 only, of which no file manager made a thumbnail
//   Sony       C0001.MP4 only, whose thumbnail a file manager left green
class CameraTrip {
public:
    CameraTrip() {
        writeShot(folder, "IMG_0002.JPG", Qt::red, "Canon", "Canon EOS R6", "2024:07:01 08:00:00");
        writeShot(folder, "IMG_0001.JPG", Qt::green, "Canon", "Canon EOS R6",
                  "2024:07:01 09:00:00");
        writeShot(folder, "DSC_0100.JPG", Qt::blue, "NIKON CORPORATION", "NIKON D750",
                  "2024:07:01 07:00:00");
        writeShot(folder, "DSC_0050.JPG", Qt::red, "NIKON CORPORATION", "NIKON D750",
                  "2024:07:01 10:00:00");
        writeShot(folder, "IMG_0003.MOV", Qt::green, "Apple", "iPhone 13", "2024:07:01 06:00:00");
        writeShot(folder, "IMG_0004.JPG", Qt::red, "Apple", "iPhone 13", "2024:07:01 07:30:00");
        writeShot(folder, "GOPR0001.MP4", Qt::blue, "GoPro", "HERO9 Black", "2024:07:01 11:00:00");
        writeShot(folder, "C0001.MP4", Qt::red, "SONY", "ILCE-7M3", "2024:07:01 12:00:00");
        const std::string video = folder.pathOf("C0001.MP4");
        struct stat status {};
        ::stat(video.c_str(), &status);
        const QByteArray uri = brindleaf::thumbnailUri(QByteArray::fromStdString(video));
        brindleaf::testing::writeThumbnail(
            (QFile::encodeName(thumbnails()) + "/normal/" +
             QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex() + ".png")
                .toStdString(),
            filled({128, 96}, Qt::green), uri, status.st_mtime);
    }

    static QString thumbnails() {
        return QString::fromLatin1(qgetenv("XDG_CACHE_HOME")) + "/thumbnails";
    }

    static const std::vector<Expected>& expected() {
        static const std::vector<Expected> rows = {
            {"Canon EOS R6", Primary::Red},    {"NIKON D750", Primary::Blue},
            {"Apple iPhone 13", Primary::Red}, {"GoPro HERO9 Black", std::nullopt},
            {"SONY ILCE-7M3", Primary::Green},
        };
        return rows;
    }

    TemporaryFolder folder;
};

brindleaf::JournalFolder journalFolder() {
    static const QTemporaryDir folder;
    return brindleaf::JournalFolder(QFile::encodeName(folder.path()).toStdString());
}

// The window over the trip, ordering by date taken.
class TripWindow {
public:
    TripWindow() : view_(std::make_unique<brindleaf::PosixFileSystem>(), journalFolder()) {
        view_.resize(1100, 700);
        view_.show();
        QVERIFY(QTest::qWaitForWindowActive(&view_));
        view_.setTargetPath(trip.folder.path());
        settle();
        auto* order = view_.findChild<QComboBox*>(QStringLiteral("orderChoice"));
        QVERIFY(order != nullptr);
        order->setFocus();
        QTest::keyClick(order, Qt::Key_End);
        settle();
    }

    // Numbers the last taken first: each camera's first row is its last photo.
    void reverse() {
        auto* toggle = view_.findChild<QCheckBox*>(QStringLiteral("reverseToggle"));
        QVERIFY(toggle != nullptr);
        toggle->click();
        settle();
    }

    void settle() {
        QVERIFY(QTest::qWaitFor([&] { return !view_.isLoading(); }));
    }

    // Opens the camera list with its button, and gives the event loop no turn.
    CameraDialog* openCameras() {
        auto* button = view_.findChild<QPushButton*>(QStringLiteral("camerasButton"));
        button->click();
        return brindleaf::testing::shownDialog<CameraDialog>();
    }

    CameraTrip trip;

private:
    ContentView view_;
};

int rowOf(const CameraListModel& cameras, const QString& name) {
    for (int row = 0; row < cameras.rowCount(); ++row) {
        if (cameras.index(row, CameraListModel::Name).data().toString() == name) {
            return row;
        }
    }
    return -1;
}

// The colour painted in the middle of the square that the camera's picture fits.
QColor paintedBeside(const CameraDialog& dialog, int row) {
    QTableView* table = dialog.table();
    const QImage painted = table->viewport()->grab().toImage();
    const QRect cell = table->visualRect(dialog.cameras()->index(row, CameraListModel::Name));
    const int side = brindleaf::CameraPictures::pictureSide;
    const QPoint middle(cell.left() + 4 + side / 2, cell.center().y());
    const QPoint pixel = middle * painted.devicePixelRatio();
    // A row out of sight has no colour.
    return painted.rect().contains(pixel) ? painted.pixelColor(pixel) : QColor();
}

bool allMade(CameraDialog& dialog) {
    for (const Expected& row : CameraTrip::expected()) {
        if (!dialog.pictures()->isMade(row.camera)) {
            return false;
        }
    }
    return true;
}

QString describe(QColor color) {
    return QStringLiteral("rgb(%1, %2, %3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

} // namespace

class CameraPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome_.path()));
        // The shared thumbnails are the test's own.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cacheHome_.path()));
    }

    void eachCameraShowsItsFirstPhoto_data() {
        QTest::addColumn<bool>("reversed");
        QTest::newRow("first taken numbered first") << false;
        QTest::newRow("last taken numbered first") << true;
    }

    // Each camera shows the photo it took first, so that its first shot is recognised
    // beside its first date, whichever it is numbered by; a video is passed over for a
    // photo, and a camera with only videos shows a file manager's thumbnail of one, else an
    // icon.
    void eachCameraShowsItsFirstPhoto() {
        QFETCH(bool, reversed);
        TripWindow window;
        if (reversed) {
            window.reverse();
        }
        CameraDialog* dialog = window.openCameras();
        QVERIFY(dialog != nullptr);
        QVERIFY(QTest::qWaitFor([&] { return allMade(*dialog); }));
        QTest::qWait(50);
        const CameraListModel& cameras = *dialog->cameras();
        QCOMPARE(cameras.rowCount(), static_cast<int>(CameraTrip::expected().size()));
        for (const Expected& expected : CameraTrip::expected()) {
            const int row = rowOf(cameras, QString::fromLatin1(expected.camera));
            QVERIFY2(row >= 0, expected.camera);
            const QColor painted = paintedBeside(*dialog, row);
            const QString seen = QStringLiteral("%1: %2").arg(expected.camera, describe(painted));
            QVERIFY2(painted.isValid(), qPrintable(seen));
            QVERIFY2(dialog->pictures()->hasPicture(expected.camera) ==
                         expected.picture.has_value(),
                     qPrintable(seen));
            if (expected.picture) {
                QVERIFY2(painted.hsvSaturation() > 150, qPrintable(seen));
                QVERIFY2(brindleaf::testing::primaryOf(painted) == *expected.picture,
                         qPrintable(seen));
            } else {
                // The file icon, grey and white, where a picture would be.
                QVERIFY2(painted.hsvSaturation() < 60, qPrintable(seen));
            }
        }
    }

    // The list shows and takes a zone before a picture is made: the pictures come from
    // other threads, through the event loop.
    void theListAnswersWhilePicturesArePending() {
        TripWindow window;
        CameraDialog* dialog = window.openCameras();
        QVERIFY(dialog != nullptr);
        CameraListModel& cameras = *dialog->cameras();
        QCOMPARE(cameras.rowCount(), static_cast<int>(CameraTrip::expected().size()));
        for (const Expected& expected : CameraTrip::expected()) {
            QVERIFY2(!dialog->pictures()->isMade(expected.camera), expected.camera);
            const int row = rowOf(cameras, QString::fromLatin1(expected.camera));
            const QColor painted = paintedBeside(*dialog, row);
            QVERIFY2(painted.isValid() && painted.hsvSaturation() < 60,
                     qPrintable(QStringLiteral("%1: %2").arg(expected.camera, describe(painted))));
        }

        const int nikon = rowOf(cameras, QStringLiteral("NIKON D750"));
        QVERIFY(cameras.setData(cameras.index(nikon, CameraListModel::Zone),
                                QStringLiteral("+01:00"), Qt::EditRole));
        QCOMPARE(cameras.index(nikon, CameraListModel::Zone).data().toString(),
                 QStringLiteral("+01:00"));

        // Once made, a new zone's listing keeps each camera's picture.
        window.settle();
        QVERIFY(QTest::qWaitFor([&] { return allMade(*dialog); }));
        QTest::qWait(50);
        const QColor painted = paintedBeside(*dialog, rowOf(cameras, QStringLiteral("NIKON D750")));
        QVERIFY2(brindleaf::testing::primaryOf(painted) == Primary::Blue,
                 qPrintable(describe(painted)));
    }

private:
    QTemporaryDir stateHome_;
    QTemporaryDir cacheHome_;
};

QTEST_MAIN(CameraPicturesTest)
#include "CameraPicturesTest.moc"
