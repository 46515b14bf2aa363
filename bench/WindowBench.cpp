// Drives the real window, offscreen, over a folder of many entries: how long a keystroke,
// a toggle and a whole run take until the preview shows the result, and the peak memory.
//
//   brindleaf-window-bench [FOLDER [N]]
#include "bench/BenchFolder.hpp"
#include "bench/Report.hpp"
#include "window/ContentView.hpp"
#include "window/PreviewModel.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>
#include <vector>

namespace brindleaf::bench {
namespace {

// Processes what the input caused and paints the preview at once, as the next frame would.
void showNow(QListView* preview) {
    QCoreApplication::processEvents();
    preview->viewport()->repaint();
}

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
    ContentView view;
    view.resize(960, 640);
    view.show();
    auto* preview = view.findChild<QListView*>(QStringLiteral("previewList"));
    auto* prefix = view.findChild<QLineEdit*>(QStringLiteral("prefixField"));
    auto* reverse = view.findChild<QCheckBox*>(QStringLiteral("reverseToggle"));
    showNow(preview);

    const double open = secondsOf([&] {
        view.setTargetDir(QUrl::fromLocalFile(QString::fromStdString(folder.path())));
        showNow(preview);
    });
    if (view.preview().rowCount() != static_cast<int>(entries)) {
        std::fprintf(stderr, "preview shows %d rows\n", view.preview().rowCount());
        return 1;
    }
    printRow(entries, "window: open folder, first paint", open);

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
    for (int i = 0; i < 4; ++i) {
        toggles.push_back(secondsOf([&] {
            reverse->click();
            showNow(preview);
        }));
    }
    printRow(entries, "window: toggle, slowest of 4",
             *std::max_element(toggles.begin(), toggles.end()));

    const double rename = secondsOf([&] {
        view.renameFiles();
        showNow(preview);
    });
    printRow(entries, "window: rename run, with progress", rename);
    printMemory(entries, "window: peak resident memory", peakKilobytes());
    return 0;
}

} // namespace
} // namespace brindleaf::bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const std::string base = argc > 1 ? argv[1] : "/dev/shm";
    const std::size_t entries = argc > 2 ? std::stoul(argv[2]) : 1'000'000;
    return brindleaf::bench::run(base, entries);
}
