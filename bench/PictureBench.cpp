// Shows the pictures of a folder of large photos in the window's preview, offscreen: how long until
// the first screen of rows shows its pictures, the longest the event loop went unserved
// while scrolling from top to bottom a page at a time, and the memory the pictures added.
//
//   brindleaf-picture-bench [FOLDER [N [embedded|decoded]]]
// The folder holds N links to one 4000x3000 JPEG, which carries an EXIF thumbnail when
// "embedded" (the default) and none when "decoded". Its pages stay in the page cache after
// the first read, as a folder's files do once looked at. The shared thumbnail cache is an
// empty folder, so each picture is made from the photo.
#include "bench/Report.hpp"
#include "bench/WindowStart.hpp"
#include "session/PreviewModel.hpp"
#include "window/ContentView.hpp"
#include "window/RowPictures.hpp"

#include "platform/PosixFileSystem.hpp"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QListView>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace brindleaf::bench {
namespace {

// The process's resident memory now, or at its peak since resetPeak(), in kilobytes.
long residentKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(std::strlen(field)));
        }
    }
    return 0;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Something like a photo to the encoder: soft shapes over a gradient, with grain.
QImage photoLike(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(70, 120, 200));
    sky.setColorAt(1, QColor(230, 180, 120));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(26);
    painter.setPen(Qt::NoPen);
    for (int shape = 0; shape < 400; ++shape) {
        painter.setBrush(QColor::fromRgb(random.generate() | 0xFF000000U));
        painter.drawEllipse(random.bounded(size.width()), random.bounded(size.height()),
                            random.bounded(50, 600), random.bounded(50, 600));
    }
    painter.end();
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grain = static_cast<int>(random.bounded(24)) - 12;
            const QRgb pixel = line[x];
            line[x] = qRgb(std::clamp(qRed(pixel) + grain, 0, 255),
                           std::clamp(qGreen(pixel) + grain, 0, 255),
                           std::clamp(qBlue(pixel) + grain, 0, 255));
        }
    }
    return image;
}

void writePhoto(const std::string& path, bool withThumbnail) {
    const QImage photo = photoLike({4000, 3000});
    photo.save(QString::fromStdString(path), "JPG", 90);
    if (!withThumbnail) {
        return;
    }
    QByteArray thumbnail;
    QBuffer buffer(&thumbnail);
    buffer.open(QIODevice::WriteOnly);
    photo.scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(&buffer, "JPG", 90);
    const auto image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    Exiv2::ExifData exif;
    exif["Exif.Image.Orientation"] = static_cast<std::uint16_t>(1);
    Exiv2::ExifThumb(exif).setJpegThumbnail(
        reinterpret_cast<const Exiv2::byte*>(thumbnail.constData()),
        static_cast<long>(thumbnail.size()));
    image->setExifData(exif);
    image->writeMetadata();
}

// Whether every row on screen that can have a picture has it made.
bool screenShown(QListView& list, RowPictures& pictures) {
    const QRect area = list.viewport()->rect();
    const QModelIndex top = list.indexAt(area.topLeft());
    const QModelIndex bottom = list.indexAt(QPoint(area.left(), area.bottom()));
    if (!top.isValid()) {
        return false;
    }
    const int last = bottom.isValid() ? bottom.row() : list.model()->rowCount() - 1;
    for (int row = top.row(); row <= last; ++row) {
        const QModelIndex index = list.model()->index(row, 0);
        if (pictures.kindOf(index) != PictureKind::None && !pictures.pictureOf(index)) {
            return false;
        }
    }
    return true;
}

int run(const std::string& base, std::size_t entries, bool embedded) {
    const QTemporaryDir folder(QString::fromStdString(base + "/brindleaf-pictures-XXXXXX"));
    const QTemporaryDir thumbnails;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(thumbnails.path()));
    const std::string path = folder.path().toStdString();
    const std::string photo = path + "/.photo.jpg";
    writePhoto(photo, embedded);
    for (std::size_t i = 0; i < entries; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/IMG_%05zu.JPG", i);
        std::filesystem::create_hard_link(photo, path + name);
    }
    std::filesystem::remove(photo);
    const std::string what =
        embedded ? "pictures, embedded thumbnails: " : "pictures, decoded at 1/8: ";

    const QTemporaryDir journals;
    ContentView view(std::make_unique<PosixFileSystem>(),
                     JournalFolder(journals.path().toStdString()));
    view.resize(1100, 760);
    view.show();
    auto& list = *view.findChild<QListView*>(QStringLiteral("previewList"));
    auto& pictures = *list.findChild<RowPictures*>();
    auto* toggle = view.findChild<QCheckBox*>(QStringLiteral("picturesToggle"));
    view.setTargetDir(QUrl::fromLocalFile(QString::fromStdString(path)));
    while (view.isLoading() || view.preview().rowCount() != static_cast<int>(entries)) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents();
    list.viewport()->repaint();

    // A page every frame, as fast as a held Page Down key; each page is painted. The longest
    // the event loop went unserved meanwhile, with pictures off first, for the machine's own
    // stalls.
    QScrollBar* scroll = list.verticalScrollBar();
    const auto longestStallScrolling = [&] {
        QElapsedTimer sinceServed;
        qint64 longest = 0;
        QTimer ticks;
        ticks.setInterval(1);
        QObject::connect(&ticks, &QTimer::timeout,
                         [&] { longest = std::max(longest, sinceServed.restart()); });
        scroll->setValue(0);
        QCoreApplication::processEvents();
        sinceServed.start();
        ticks.start();
        while (scroll->value() < scroll->maximum()) {
            scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
            list.viewport()->repaint();
            QElapsedTimer frame;
            frame.start();
            while (frame.elapsed() < 16) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 16);
            }
        }
        while (pictures.isShown() && !screenShown(list, pictures)) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        longest = std::max(longest, sinceServed.elapsed());
        scroll->setValue(0);
        QCoreApplication::processEvents();
        return static_cast<double>(longest) / 1e3;
    };
    printRow(entries, "pictures off: scroll, longest stall", longestStallScrolling());

    resetPeak();
    const long before = residentKilobytes("VmRSS:");
    const double first = secondsOf([&] {
        toggle->click();
        while (!screenShown(list, pictures)) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        list.viewport()->repaint();
    });
    printRow(entries, what + "first screen", first);
    printRow(entries, what + "scroll, longest stall", longestStallScrolling());
    std::printf("%-10zu %-34s %9.1f MB\n", entries, (what + "peak memory added").c_str(),
                static_cast<double>(residentKilobytes("VmHWM:") - before) / 1024);
    return 0;
}

} // namespace
} // namespace brindleaf::bench

int main(int argc, char** argv) {
    brindleaf::bench::prepareWindowBench();
    QApplication application(argc, argv);
    const std::string base = argc > 1 ? argv[1] : "/tmp";
    const std::size_t entries = argc > 2 ? std::stoul(argv[2]) : 10'000;
    const bool embedded = argc <= 3 || std::string(argv[3]) != "decoded";
    return brindleaf::bench::run(base, entries, embedded);
}
