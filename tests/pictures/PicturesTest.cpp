#include "pictures/PictureCache.hpp"
#include "pictures/PictureMaking.hpp"
#include "pictures/PictureSource.hpp"
#include "pictures/ThumbnailCache.hpp"
#include "platform/EmbeddedPreview.hpp"
#include "support/PhotoFiles.hpp"
#include "support/PictureFiles.hpp"
#include "support/TemporaryFolder.hpp"

#include <QCryptographicHash>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <fcntl.h>

#include <filesystem>
#include <fstream>
#include <set>

using brindleaf::makePicture;
using brindleaf::PictureKey;
using brindleaf::ThumbnailCache;
using brindleaf::testing::filled;
using brindleaf::testing::Primary;
using brindleaf::testing::TemporaryFolder;

namespace {

constexpr std::int64_t takenAt = 1'600'000'000;

// The colours at the middles of the picture's quarters: top left, top right, bottom left,
// bottom right, "RG/BB" for brindleaf::testing::quarters() as it is.
QString corners(const QImage& image) {
    QString text;
    for (const auto& [x, y] : {std::pair{1, 1}, {3, 1}, {1, 3}, {3, 3}}) {
        if (x == 1 && y == 3) {
            text += QLatin1Char('/');
        }
        switch (brindleaf::testing::primaryOf(
            image.pixelColor(image.width() * x / 4, image.height() * y / 4))) {
        case Primary::Red:
            text += QLatin1Char('R');
            break;
        case Primary::Green:
            text += QLatin1Char('G');
            break;
        case Primary::Blue:
            text += QLatin1Char('B');
            break;
        }
    }
    return text;
}

Primary primaryOf(const QImage& image) {
    return brindleaf::testing::primaryOf(image.pixelColor(image.width() / 2, image.height() / 2));
}

std::string md5Name(const QByteArray& uri) {
    return QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex().toStdString() + ".png";
}

std::set<std::string> filesUnder(const std::string& folder) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        files.insert(entry.path().string());
    }
    return files;
}

brindleaf::UniqueFd opened(const std::string& path) {
    return brindleaf::UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void urisAreEscapedAsGLibEscapesThem_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("uri");
        QTest::newRow("plain") << QByteArray("/home/jens/photos/me.png")
                               << QByteArray("file:///home/jens/photos/me.png");
        QTest::newRow("space, UTF-8, # and ?")
            << QByteArray("/tmp/a b/Stra\xC3\x9F"
                          "e #1?.jpg")
            << QByteArray("file:///tmp/a%20b/Stra%C3%9Fe%20%231%3F.jpg");
        QTest::newRow("kept punctuation")
            << QByteArray("/x/!$&'()*+,-.:=@_~") << QByteArray("file:///x/!$&'()*+,-.:=@_~");
        QTest::newRow("escaped punctuation") << QByteArray("/x/\"%;<>[\\]^`{|}")
                                             << QByteArray("file:///x/%22%25%3B%3C%3E%5B%5C%5D"
                                                           "%5E%60%7B%7C%7D");
        QTest::newRow("bytes that are no UTF-8")
            << QByteArray("/x/\xFF\x01.jpg") << QByteArray("file:///x/%FF%01.jpg");
    }
    void urisAreEscapedAsGLibEscapesThem() {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, uri);
        QCOMPARE(brindleaf::thumbnailUri(path), uri);
    }

    void cachedThumbnailsHoldOnlyForTheirFileAsItIs_data() {
        QTest::addColumn<QString>("writtenName");
        QTest::addColumn<qint64>("writtenModified");
        QTest::addColumn<QString>("sizeFolder");
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("holds");
        const QString own = QStringLiteral("Sunset%20%C3%BC.jpg");
        QTest::newRow("valid") << own << qint64(takenAt) << "normal" << 64 << true;
        QTest::newRow("valid, large") << own << qint64(takenAt) << "large" << 200 << true;
        QTest::newRow("too small for the side")
            << own << qint64(takenAt) << "normal" << 200 << false;
        QTest::newRow("stale by its modified time")
            << own << qint64(takenAt - 1) << "normal" << 64 << false;
        QTest::newRow("newer than the file")
            << own << qint64(takenAt + 1) << "normal" << 64 << false;
        QTest::newRow("made for another file")
            << QStringLiteral("Sunrise.jpg") << qint64(takenAt) << "normal" << 64 << false;
        QTest::newRow("without a modified time") << own << qint64(-1) << "normal" << 64 << false;
        QTest::newRow("without a URI") << QString() << qint64(takenAt) << "normal" << 64 << false;
    }
    void cachedThumbnailsHoldOnlyForTheirFileAsItIs() {
        QFETCH(QString, writtenName);
        QFETCH(qint64, writtenModified);
        QFETCH(QString, sizeFolder);
        QFETCH(int, side);
        QFETCH(bool, holds);
        TemporaryFolder folder;
        TemporaryFolder cache;
        const std::string name = "Sunset \xC3\xBC.jpg";
        brindleaf::testing::writeJpeg(folder.pathOf(name), filled({320, 240}, Qt::red));
        brindleaf::testing::setModified(folder.pathOf(name), takenAt);
        // The folder's own path needs no escaping; the name's escaping is written out above.
        const QByteArray folderUri = "file://" + QByteArray::fromStdString(folder.path());
        QCOMPARE(brindleaf::thumbnailUri(QByteArray::fromStdString(folder.path())), folderUri);
        const QByteArray ownUri = folderUri + "/Sunset%20%C3%BC.jpg";
        const QByteArray writtenUri =
            writtenName.isEmpty() ? QByteArray() : folderUri + '/' + writtenName.toLatin1();
        const std::string thumbnail =
            cache.path() + "/thumbnails/" + sizeFolder.toStdString() + "/" + md5Name(ownUri);
        brindleaf::testing::writeThumbnail(thumbnail, filled({128, 96}, Qt::green), writtenUri,
                                           writtenModified);
        const auto before = filesUnder(cache.path());

        const ThumbnailCache thumbnails(QByteArray::fromStdString(cache.path() + "/thumbnails"));
        const QByteArray path = QByteArray::fromStdString(folder.pathOf(name));
        const QImage found = thumbnails.find(path, takenAt, side);
        QCOMPARE(!found.isNull(), holds);
        // A thumbnail that does not hold gives way to the photo's own pixels.
        const QImage picture = makePicture(QByteArray::fromStdString(folder.path()),
                                           QByteArray::fromStdString(name), side, thumbnails);
        QVERIFY(!picture.isNull());
        QCOMPARE(primaryOf(picture), holds ? Primary::Green : Primary::Red);
        // The cache is only read.
        QCOMPARE(filesUnder(cache.path()), before);
    }

    void theDefaultCacheFollowsTheXdgFolders() {
        const QByteArray cacheHome = qgetenv("XDG_CACHE_HOME");
        const QByteArray home = qgetenv("HOME");
        qputenv("XDG_CACHE_HOME", "/somewhere/cache");
        QCOMPARE(brindleaf::defaultThumbnailFolder(), QByteArray("/somewhere/cache/thumbnails"));
        qputenv("XDG_CACHE_HOME", "relative/cache");
        qputenv("HOME", "/home/someone");
        QCOMPARE(brindleaf::defaultThumbnailFolder(),
                 QByteArray("/home/someone/.cache/thumbnails"));
        qunsetenv("XDG_CACHE_HOME");
        QCOMPARE(brindleaf::defaultThumbnailFolder(),
                 QByteArray("/home/someone/.cache/thumbnails"));
        qputenv("HOME", home);
        if (!cacheHome.isNull()) {
            qputenv("XDG_CACHE_HOME", cacheHome);
        }
    }

    void theSmallestEmbeddedPreviewAsLargeAsAskedIsTaken() {
        TemporaryFolder folder;
        const std::string photo = folder.pathOf("photo.jpg");
        brindleaf::testing::writeJpeg(photo, filled({640, 480}, Qt::red), 1,
                                      filled({160, 120}, Qt::blue));
        const auto preview = brindleaf::readEmbeddedPreview(opened(photo), 100);
        QVERIFY(preview.has_value());
        QCOMPARE(preview->width, 160U);
        QCOMPARE(preview->height, 120U);
        QCOMPARE(preview->mimeType, std::string("image/jpeg"));
        const QImage decoded =
            QImage::fromData(QByteArray(reinterpret_cast<const char*>(preview->bytes.data()),
                                        static_cast<qsizetype>(preview->bytes.size())));
        QCOMPARE(primaryOf(decoded), Primary::Blue);
        QVERIFY(!brindleaf::readEmbeddedPreview(opened(photo), 200).has_value());
        const auto largest =
            brindleaf::readEmbeddedPreview(opened(photo), 200, brindleaf::SmallerPreview::Largest);
        QVERIFY(largest.has_value());
        QCOMPARE(largest->width, 160U);

        // The preview makes the small picture; the large one needs the photo's own pixels.
        const ThumbnailCache none(QByteArray::fromStdString(folder.pathOf("no-cache")));
        const QByteArray path = QByteArray::fromStdString(folder.path());
        const QImage small = makePicture(path, "photo.jpg", 64, none);
        QCOMPARE(small.size(), QSize(64, 48));
        QCOMPARE(primaryOf(small), Primary::Blue);
        const QImage large = makePicture(path, "photo.jpg", 256, none);
        QCOMPARE(large.size(), QSize(256, 192));
        QCOMPARE(primaryOf(large), Primary::Red);
    }

    void aPhotoWithoutPreviewHasNone() {
        TemporaryFolder folder;
        brindleaf::testing::writeJpeg(folder.pathOf("photo.jpg"), filled({64, 48}, Qt::red));
        QVERIFY(!brindleaf::readEmbeddedPreview(opened(folder.pathOf("photo.jpg")), 1,
                                                brindleaf::SmallerPreview::Largest)
                     .has_value());
        folder.addFile("notes.jpg");
        QVERIFY(!brindleaf::readEmbeddedPreview(opened(folder.pathOf("notes.jpg")), 1,
                                                brindleaf::SmallerPreview::Largest)
                     .has_value());
    }

    void decodedPicturesAreScaledAndUpright_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("seen");
        QTest::newRow("as taken") << 1 << QSize(100, 50) << "RG/BB";
        QTest::newRow("upside down") << 3 << QSize(100, 50) << "BB/GR";
        QTest::newRow("turned clockwise") << 6 << QSize(50, 100) << "BR/BG";
        QTest::newRow("turned anticlockwise") << 8 << QSize(50, 100) << "GB/RB";
    }
    void decodedPicturesAreScaledAndUpright() {
        QFETCH(int, orientation);
        QFETCH(QSize, size);
        QFETCH(QString, seen);
        TemporaryFolder folder;
        brindleaf::testing::writeJpeg(folder.pathOf("photo.jpg"),
                                      brindleaf::testing::quarters({800, 400}), orientation);
        const QImage picture =
            makePicture(QByteArray::fromStdString(folder.path()), "photo.jpg", 100,
                        ThumbnailCache(QByteArray::fromStdString(folder.pathOf("no-cache"))));
        QCOMPARE(picture.size(), size);
        QCOMPARE(corners(picture), seen);
    }

    // The preview a photo carries is stored as the sensor saw it, like the photo's pixels: it
    // is turned upright by the photo's orientation, as Qt turns the photo's own pixels.
    void embeddedPreviewsAreTurnedAsThePhoto_data() {
        QTest::addColumn<int>("orientation");
        for (int orientation = 1; orientation <= 8; ++orientation) {
            QTest::addRow("orientation %d", orientation) << orientation;
        }
    }
    void embeddedPreviewsAreTurnedAsThePhoto() {
        QFETCH(int, orientation);
        TemporaryFolder folder;
        brindleaf::testing::writeJpeg(folder.pathOf("photo.jpg"),
                                      brindleaf::testing::quarters({400, 200}), orientation,
                                      brindleaf::testing::quarters({160, 80}));
        const ThumbnailCache none(QByteArray::fromStdString(folder.pathOf("no-cache")));
        const QByteArray path = QByteArray::fromStdString(folder.path());
        // 64 pixels come from the preview, 200 from the photo's pixels.
        const QImage fromPreview = makePicture(path, "photo.jpg", 64, none);
        const QImage fromPixels = makePicture(path, "photo.jpg", 200, none);
        QCOMPARE(fromPreview.width() > fromPreview.height(),
                 fromPixels.width() > fromPixels.height());
        QCOMPARE(corners(fromPreview), corners(fromPixels));
        QCOMPARE(corners(brindleaf::upright(brindleaf::testing::quarters({40, 20}), orientation)),
                 corners(fromPixels));
    }

    void videosHaveOnlyTheirCachedThumbnail() {
        TemporaryFolder folder;
        TemporaryFolder cache;
        folder.addFile("clip.mp4");
        folder.addFile("other.mp4");
        brindleaf::testing::setModified(folder.pathOf("clip.mp4"), takenAt);
        const QByteArray path = QByteArray::fromStdString(folder.pathOf("clip.mp4"));
        brindleaf::testing::writeThumbnail(
            cache.path() + "/thumbnails/normal/" + md5Name(brindleaf::thumbnailUri(path)),
            filled({128, 72}, Qt::green), brindleaf::thumbnailUri(path), takenAt);
        const ThumbnailCache thumbnails(QByteArray::fromStdString(cache.path() + "/thumbnails"));
        const QByteArray folderPath = QByteArray::fromStdString(folder.path());
        // A smaller cached thumbnail is better than the icon.
        const QImage clip = makePicture(folderPath, "clip.mp4", 256, thumbnails);
        QCOMPARE(clip.size(), QSize(128, 72));
        QCOMPARE(primaryOf(clip), Primary::Green);
        QVERIFY(makePicture(folderPath, "other.mp4", 64, thumbnails).isNull());
        QCOMPARE(brindleaf::pictureKindOf("clip.MOV"), brindleaf::PictureKind::Video);
        QCOMPARE(brindleaf::pictureKindOf("IMG_1.CR2"), brindleaf::PictureKind::Image);
        QCOMPARE(brindleaf::pictureKindOf("notes.txt"), brindleaf::PictureKind::None);
    }

    void theCacheLetsTheLeastRecentlyUsedPictureGo() {
        const QImage picture = filled({64, 64}, Qt::red);
        brindleaf::PictureCache cache(3 * picture.sizeInBytes() + 3 * 100);
        cache.insert({"a", 64}, picture);
        cache.insert({"b", 64}, picture);
        cache.insert({"c", 64}, picture);
        QVERIFY(cache.find({"a", 64}) != nullptr);
        cache.insert({"d", 64}, picture);
        QVERIFY(cache.contains({"a", 64}));
        QVERIFY(!cache.contains({"b", 64}));
        QVERIFY(cache.contains({"c", 64}));
        QVERIFY(cache.contains({"d", 64}));
        QVERIFY(cache.bytes() <= 3 * picture.sizeInBytes() + 3 * 100);
    }

    void rowsScrolledPastAreDroppedUnmade() {
        TemporaryFolder folder;
        constexpr int photos = 40;
        for (int photo = 0; photo < photos; ++photo) {
            brindleaf::testing::writeJpeg(folder.pathOf(std::to_string(photo) + ".jpg"),
                                          filled({1200, 900}, Qt::red));
        }
        // One thread takes the jobs in the order asked.
        brindleaf::PictureSource source(QByteArray::fromStdString(folder.pathOf("no-cache")), 1);
        source.setFolder(QByteArray::fromStdString(folder.path()));
        std::set<int> made;
        bool onItsThread = true;
        connect(&source, &brindleaf::PictureSource::pictureMade, this,
                [&](const QByteArray& name, int side) {
                    QCOMPARE(side, 64);
                    onItsThread = onItsThread && QThread::currentThread() == thread();
                    made.insert(name.chopped(4).toInt());
                });
        const auto keys = [](int first, int last) {
            std::vector<PictureKey> wanted;
            for (int photo = first; photo <= last; ++photo) {
                wanted.push_back({QByteArray::number(photo) + ".jpg", 64});
            }
            return wanted;
        };
        source.request(keys(0, photos - 1));
        // Scrolled to the end at once: only the job already taken is still made.
        source.request(keys(photos - 5, photos - 1));
        QVERIFY(QTest::qWaitFor([&] { return made.size() >= 5 && made.contains(photos - 1); }));
        QTest::qWait(100);
        QVERIFY(onItsThread);
        const auto scrolledPast =
            std::count_if(made.begin(), made.end(), [](int photo) { return photo < photos - 5; });
        QVERIFY2(scrolledPast <= 1, qPrintable(QStringLiteral("%1 made").arg(scrolledPast)));
        for (int photo = photos - 5; photo < photos; ++photo) {
            const auto picture = source.picture(QByteArray::number(photo) + ".jpg", 64);
            QVERIFY(picture.has_value());
            QCOMPARE(picture->size(), QSize(64, 48));
        }
        QVERIFY(!source.picture("10.jpg", 64).has_value());

        // Another folder forgets what was made for this one.
        source.setFolder(QByteArray::fromStdString(folder.pathOf("elsewhere")));
        QVERIFY(!source.picture(QByteArray::number(photos - 1) + ".jpg", 64).has_value());
    }
};

QTEST_MAIN(PicturesTest)
#include "PicturesTest.moc"
