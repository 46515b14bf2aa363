// Drives the real window, offscreen, over a folder of many entries: how long opening the
// folder, a keystroke, a toggle and a whole run take until the preview shows the result,
// the longest the event loop went unserved meanwhile, and the peak memory.
//
//   brindleaf-window-bench [FOLDER [N [PHOTO]]]
// With PHOTO, a small JPEG, the folder holds N copies of it instead, and the bench orders
// them by date taken: how long the dates take to read and the longest stall meanwhile, then
// how long switching the order takes once they are read, and setting a camera's zone.
#include "bench/BenchFolder.hpp"
#include "bench/Report.hpp"
#include "bench/WindowStart.hpp"
#include "platform/JournalFiles.hpp"
#include "platform/PosixFileSystem.hpp"
#include "session/PreviewModel.hpp"
#include "window/CameraDialog.hpp"
#include "window/CameraListModel.hpp"
#include "window/ContentView.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <fstream>
#include <vector>

namespace brindleaf::bench {
namespace {

// Processes what the input caused and paints the preview at once, as the next frame would.
void showNow(QListView* preview) {
    QCoreApplication::processEvents();
    preview->viewport()->repaint();
}

// Lets the window finish listing or ordering, serving events meanwhile, then paints.
void showWhenLoaded(const ContentView& view, QListView* preview) {
    while (view.isLoading()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    showNow(preview);
}

// How long, in nanoseconds, the calling thread has been ready to run but waited for a
// processor, as the scheduler counts it; 0 where it does not tell.
long long processorWaitNanoseconds() {
    std::ifstream schedstat("/proc/thread-self/schedstat");
    long long ran = 0;
    long long waited = 0;
    schedstat >> ran >> waited;
    return waited;
}

// The longest time the event loop went without serving a timer that asks to run every
// millisecond: how long the window would have ignored input. Of that time, how long the
// window's thread only waited for a processor tells a busy machine from work done on the
// window's thread.
class StallMeter {
public:
    StallMeter() {
        ticks_.setInterval(1);
        QObject::connect(&ticks_, &QTimer::timeout, [this] { tick(); });
    }
    template <typename Work> double longestStallDuring(Work&& work) {
        longest_ = 0;
        longestWaited_ = 0;
        sinceLast_.start();
        waitedBefore_ = processorWaitNanoseconds();
        ticks_.start();
        work();
        tick();
        ticks_.stop();
        return static_cast<double>(longest_) / 1e3;
    }
    // Of the longest stall, the time the window's thread waited for a processor.
    [[nodiscard]] double processorWaitOfLongest() const {
        return static_cast<double>(longestWaited_) / 1e9;
    }

private:
    void tick() {
        const qint64 stall = sinceLast_.restart();
        const long long waited = processorWaitNanoseconds();
        if (stall >= longest_) {
            longest_ = stall;
            longestWaited_ = waited - waitedBefore_;
        }
        waitedBefore_ = waited;
    }

    QTimer ticks_;
    QElapsedTimer sinceLast_;
    qint64 longest_ = 0;
    long long waitedBefore_ = 0;
    long long longestWaited_ = 0;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long peakKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int run(const std::string& base, std::size_t entries) {
    const BenchFolder folder(base, entries);
    ContentView view(std::make_unique<PosixFileSystem>(),
                     JournalFolder(JournalFolder::defaultPath()));
    view.resize(960, 640);
    view.show();
    auto* preview = view.findChild<QListView*>(QStringLiteral("previewList"));
    auto* prefix = view.findChild<QLineEdit*>(QStringLiteral("prefixField"));
    auto* reverse = view.findChild<QCheckBox*>(QStringLiteral("reverseToggle"));
    showNow(preview);

    StallMeter stalls;
    double open = 0;
    const double openStall = stalls.longestStallDuring([&] {
        open = secondsOf([&] {
            view.setTargetDir(QUrl::fromLocalFile(QString::fromStdString(folder.path())));
            showWhenLoaded(view, preview);
        });
    });
    if (view.preview().rowCount() != static_cast<int>(entries)) {
        std::fprintf(stderr, "preview shows %d rows\n", view.preview().rowCount());
        return 1;
    }
    printRow(entries, "window: open folder, first rows", open);
    printRow(entries, "window: open folder, longest stall", openStall);

    std::vector<double> keystrokes;
    prefix->setFocus();
    for (int i = 0; i < 30; ++i) {
        keystrokes.push_back(secondsOf([&] {
            QTest::keyClick(prefix, i % 2 == 0 ? Qt::Key_A : Qt::Key_Backspace);
            showNow(preview);
        }));
    }
    printRow(entries, "window: keystroke, median of 30", median(keystrokes));
    printRow(entries, "window: keystroke, slowest of 30",
             *std::max_element(keystrokes.begin(), keystrokes.end()));

    std::vector<double> toggles;
    std::vector<double> toggleStalls;
    for (int i = 0; i < 4; ++i) {
        toggleStalls.push_back(stalls.longestStallDuring([&] {
            toggles.push_back(secondsOf([&] {
                reverse->click();
                showWhenLoaded(view, preview);
            }));
        }));
    }
    printRow(entries, "window: toggle, slowest of 4",
             *std::max_element(toggles.begin(), toggles.end()));
    printRow(entries, "window: toggle, longest stall of 4",
             *std::max_element(toggleStalls.begin(), toggleStalls.end()));
    printMemory(entries, "window: peak memory before the run", peakKilobytes());

    // Rename… pressed and its confirmation accepted, until the outcome is told: the longest
    // the window went unanswered meanwhile. The run's whole time goes on until the folder
    // shows again, listed afresh.
    auto* renameButton = view.findChild<QPushButton*>(QStringLiteral("doButton"));
    QTimer confirm;
    confirm.setInterval(1);
    QObject::connect(&confirm, &QTimer::timeout, [&confirm] {
        if (auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            confirm.stop();
            question->findChild<QPushButton*>(QStringLiteral("proceedButton"))->click();
        }
    });
    double rename = 0;
    const double renameStall = stalls.longestStallDuring([&] {
        rename = secondsOf([&] {
            confirm.start();
            renameButton->click();
            while (view.isRunning()) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            }
        });
    });
    rename += secondsOf([&] { showWhenLoaded(view, preview); });
    printRow(entries, "window: rename run, with progress", rename);
    printRow(entries, "window: rename run, longest stall", renameStall);
    printRow(entries, "window: rename stall, CPU wait", stalls.processorWaitOfLongest());
    printMemory(entries, "window: peak resident memory", peakKilobytes());
    return 0;
}

int runDates(const std::string& base, std::size_t entries, const std::string& photo) {
    std::ifstream file(photo, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    const BenchFolder folder(base, entries, true, bytes);
    ContentView view(std::make_unique<PosixFileSystem>(),
                     JournalFolder(JournalFolder::defaultPath()));
    view.resize(960, 640);
    view.show();
    auto* preview = view.findChild<QListView*>(QStringLiteral("previewList"));
    auto* order = view.findChild<QComboBox*>(QStringLiteral("orderChoice"));
    view.setTargetDir(QUrl::fromLocalFile(QString::fromStdString(folder.path())));
    showWhenLoaded(view, preview);

    StallMeter stalls;
    order->setFocus();
    double read = 0;
    const double readStall = stalls.longestStallDuring([&] {
        read = secondsOf([&] {
            QTest::keyClick(order, Qt::Key_End); // Date taken
            showWhenLoaded(view, preview);
        });
    });
    if (view.settings().order != Order::Taken) {
        std::fprintf(stderr, "the order is not by date taken\n");
        return 1;
    }
    printRow(entries, "window: order by date taken, dates read", read);
    printRow(entries, "window: order by date taken, longest stall", readStall);
    std::vector<double> switches;
    for (int i = 0; i < 4; ++i) {
        switches.push_back(secondsOf([&] {
            QTest::keyClick(order, i % 2 == 0 ? Qt::Key_Home : Qt::Key_End);
            showWhenLoaded(view, preview);
        }));
    }
    printRow(entries, "window: switch order, dates read, slowest of 4",
             *std::max_element(switches.begin(), switches.end()));

    // A camera's zone typed into the camera list: the held dates are ordered again, and no
    // file is read.
    view.findChild<QPushButton*>(QStringLiteral("camerasButton"))->click();
    auto* dialog = view.findChild<CameraDialog*>();
    if (dialog == nullptr || dialog->cameras()->rowCount() == 0) {
        std::fprintf(stderr, "the camera list shows no camera\n");
        return 1;
    }
    CameraListModel& cameras = *dialog->cameras();
    std::vector<double> zones;
    std::vector<double> zoneStalls;
    for (int i = 0; i < 4; ++i) {
        zoneStalls.push_back(stalls.longestStallDuring([&] {
            zones.push_back(secondsOf([&] {
                cameras.setData(cameras.index(0, CameraListModel::Zone),
                                i % 2 == 0 ? QStringLiteral("+01:00") : QStringLiteral("-05:00"),
                                Qt::EditRole);
                showWhenLoaded(view, preview);
            }));
        }));
    }
    printRow(entries, "window: camera zone set, reordered, slowest of 4",
             *std::max_element(zones.begin(), zones.end()));
    printRow(entries, "window: camera zone set, longest stall of 4",
             *std::max_element(zoneStalls.begin(), zoneStalls.end()));
    return 0;
}

} // namespace
} // namespace brindleaf::bench

int main(int argc, char** argv) {
    brindleaf::bench::prepareWindowBench();
    QApplication application(argc, argv);
    const std::string base = argc > 1 ? argv[1] : "/dev/shm";
    const std::size_t entries = argc > 2 ? std::stoul(argv[2]) : 1'000'000;
    if (argc > 3) {
        return brindleaf::bench::runDates(base, entries, argv[3]);
    }
    return brindleaf::bench::run(base, entries);
}
