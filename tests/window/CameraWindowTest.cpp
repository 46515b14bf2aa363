#include "window/CameraDialog.hpp"
#include "window/CameraListModel.hpp"
#include "window/ContentView.hpp"

#include "session/PreviewModel.hpp"
#include "support/ForwardingFileSystem.hpp"
#include "support/GuiHelpers.hpp"
#include "support/TripFolder.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>

using brindleaf::CameraDialog;
using brindleaf::CameraListModel;
using brindleaf::ContentView;
using brindleaf::PreviewModel;
using brindleaf::testing::BerlinTime;
using brindleaf::testing::shownDialog;
using brindleaf::testing::TripFolder;

namespace {

// The real file system, counting what the window reads of the folder: its listings and the
// dates taken of its files.
class CountingFileSystem : public brindleaf::testing::ForwardingFileSystem {
public:
    CountingFileSystem(std::atomic<int>& listings, std::atomic<int>& datesRead)
        : listings_(listings), datesRead_(datesRead) {}

    std::expected<brindleaf::FolderEntries, std::error_code>
    readEntries(const brindleaf::UniqueFd& folder) override {
        ++listings_;
        return ForwardingFileSystem::readEntries(folder);
    }
    std::optional<brindleaf::PhotoDate> dateTaken(const brindleaf::UniqueFd& folder,
                                                  const std::string& name) override {
        ++datesRead_;
        return ForwardingFileSystem::dateTaken(folder, name);
    }

private:
    std::atomic<int>& listings_;
    std::atomic<int>& datesRead_;
};

brindleaf::JournalFolder journalFolder() {
    static const QTemporaryDir folder;
    return brindleaf::JournalFolder(QFile::encodeName(folder.path()).toStdString());
}

template <typename Widget> Widget* child(const QWidget& parent, const char* name) {
    auto* widget = parent.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        qFatal("no child %s", name);
    }
    return widget;
}

void settle(const ContentView& view) {
    QVERIFY(QTest::qWaitFor([&] { return !view.isLoading(); }));
}

void retype(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// The rows of the entries that get numbers, as the preview's text gives them.
QStringList numberedRows(const ContentView& view) {
    const PreviewModel& model = view.preview();
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        if (!index.data(PreviewModel::IsLeftOutRole).toBool()) {
            rows.append(index.data(Qt::DisplayRole).toString());
        }
    }
    return rows;
}

// Each row's name beside the text of a role.
QStringList rowsWith(const ContentView& view, int role) {
    const PreviewModel& model = view.preview();
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        rows.append(index.data(PreviewModel::OriginalRole).toString() + QStringLiteral(" | ") +
                    index.data(role).toString());
    }
    return rows;
}

// The preview brindleaf-cli prints for the trip with these options, in Berlin's time.
QStringList commandLinePreview(const TripFolder& trip, QStringList options) {
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QString::fromLatin1(qgetenv("TZ")));
    cli.setProcessEnvironment(environment);
    options << QString::fromStdString(trip.path());
    cli.start(QStringLiteral(BRINDLEAF_CLI), options);
    if (!cli.waitForFinished(30'000) || cli.exitCode() != 0) {
        return {QStringLiteral("failed: ") + QString::fromUtf8(cli.readAllStandardError())};
    }
    return QString::fromUtf8(cli.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class TripWindow {
public:
    TripWindow()
        : view_(std::make_unique<CountingFileSystem>(listings, datesRead), journalFolder()) {
        view_.resize(1100, 700);
        view_.show();
        QVERIFY(QTest::qWaitForWindowActive(&view_));
        view_.setTargetPath(trip.path());
        settle(view_);
    }

    ContentView& view() { return view_; }

    void orderByDateTaken() { chooseOrder(Qt::Key_End); }

    // Moves the order choice with a key, as a user does.
    void chooseOrder(Qt::Key key) {
        auto* order = child<QComboBox>(view_, "orderChoice");
        order->setFocus();
        QTest::keyClick(order, key);
        settle(view_);
    }

    // The photographer's choices: photos only, each with its related files.
    void choosePhotosTogether() {
        for (const char* toggle : {"skipHiddenToggle", "filesOnlyToggle", "keepRelatedToggle"}) {
            child<QCheckBox>(view_, toggle)->click();
        }
        retype(child<QLineEdit>(view_, "onlyExtensionsField"), QStringLiteral("jpg,cr2,nef,heic"));
        retype(child<QLineEdit>(view_, "prefixField"), QStringLiteral("P_"));
        retype(child<QLineEdit>(view_, "digitsField"), QStringLiteral("1"));
        settle(view_);
    }

    // Opens the camera list by its mnemonic.
    CameraDialog* openCameras() {
        QTest::keyClick(&view_, Qt::Key_C, Qt::AltModifier);
        return QTest::qWaitFor([] { return shownDialog<CameraDialog>() != nullptr; })
                   ? shownDialog<CameraDialog>()
                   : nullptr;
    }

    BerlinTime berlin;
    TripFolder trip;
    std::atomic<int> listings = 0;
    std::atomic<int> datesRead = 0;

private:
    ContentView view_;
};

// Types `text` into a cell of the camera table, as a user does: the cell chosen, its editor
// opened with F2, the old value selected away, and Enter, which closes the editor. The keys
// go to the table and its editor, whichever window the offscreen platform holds active.
void typeInto(CameraDialog& dialog, int row, int column, const QString& text) {
    QTableView* table = dialog.table();
    table->setCurrentIndex(dialog.cameras()->index(row, column));
    QTest::keyClick(table, Qt::Key_F2);
    const QPointer<QLineEdit> editor = table->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits from the event loop, then lets the editor go.
    QVERIFY(QTest::qWaitFor([&] { return editor.isNull(); }));
}

int rowOf(const CameraListModel& cameras, const QString& name) {
    for (int row = 0; row < cameras.rowCount(); ++row) {
        if (cameras.index(row, CameraListModel::Name).data().toString() == name) {
            return row;
        }
    }
    return -1;
}

} // namespace

class CameraWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The camera list is offered while the order is by date taken, and its mnemonic opens
    // it, listing the folder's cameras.
    void cameraListIsOfferedWhileOrderingByDateTaken() {
        TripWindow trip;
        auto* button = child<QPushButton>(trip.view(), "camerasButton");
        QVERIFY(button->isHidden());
        trip.orderByDateTaken();
        QVERIFY(button->isVisible());
        QCOMPARE(button->text(), QStringLiteral("&Cameras…"));
        CameraDialog* dialog = trip.openCameras();
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->cameras()->rowCount(), 3);
        dialog->reject();
        trip.chooseOrder(Qt::Key_Home);
        QVERIFY(button->isHidden());
    }

    // The Nikon's zone typed into the camera list orders the preview exactly as
    // --camera-zone orders the command line's plan, and a correction as --camera-shift does,
    // without listing the folder or reading a file again.
    void cameraClocksOrderAsTheCommandLineDoes() {
        TripWindow trip;
        trip.orderByDateTaken();
        trip.choosePhotosTogether();
        const QStringList options{"--order",
                                  "taken",
                                  "--skip-hidden",
                                  "--files-only",
                                  "--keep-related",
                                  "--only",
                                  "jpg,cr2,nef,heic",
                                  "--prefix",
                                  "P_",
                                  "--digits",
                                  "1"};
        const QStringList unset = numberedRows(trip.view());
        QCOMPARE(unset, commandLinePreview(trip.trip, options));
        const int listings = trip.listings;
        const int datesRead = trip.datesRead;

        CameraDialog* dialog = trip.openCameras();
        QVERIFY(dialog != nullptr);
        const int nikon = rowOf(*dialog->cameras(), QStringLiteral("NIKON D750"));
        typeInto(*dialog, nikon, CameraListModel::Zone, QStringLiteral("+01:00"));
        settle(trip.view());
        const QStringList zoned = numberedRows(trip.view());
        QVERIFY(zoned != unset);
        QCOMPARE(zoned, commandLinePreview(trip.trip, QStringList(options) << "--camera-zone"
                                                                           << "NIKON D750=+01:00"));

        const int canon = rowOf(*dialog->cameras(), QStringLiteral("Canon EOS R6"));
        typeInto(*dialog, canon, CameraListModel::Shift, QStringLiteral("-0:20:00"));
        settle(trip.view());
        const QStringList shifted = numberedRows(trip.view());
        QVERIFY(shifted != zoned);
        QCOMPARE(shifted,
                 commandLinePreview(trip.trip, QStringList(options) << "--camera-zone"
                                                                    << "NIKON D750=+01:00"
                                                                    << "--camera-shift"
                                                                    << "Canon EOS R6=-0:20:00"));
        QCOMPARE(trip.listings.load(), listings);
        QCOMPARE(trip.datesRead.load(), datesRead);
        // The list shows the clocks as set.
        QCOMPARE(dialog->cameras()->index(nikon, CameraListModel::ZoneSource).data().toString(),
                 QStringLiteral("the zone given"));
    }

    // While a camera without a zone took some of the numbered photos, the summary says how
    // many were read in this computer's zone; once its zone is given, it says nothing of it.
    void summarySaysWhichPhotosWereReadInThisComputersZone() {
        TripWindow trip;
        trip.orderByDateTaken();
        auto* summary = child<QLabel>(trip.view(), "summaryLabel");
        const QString words =
            QStringLiteral("3 photos from a camera without a time zone, read as this computer's");
        QVERIFY2(summary->text().contains(words), qPrintable(summary->text()));
        CameraDialog* dialog = trip.openCameras();
        QVERIFY(dialog != nullptr);
        typeInto(*dialog, rowOf(*dialog->cameras(), QStringLiteral("NIKON D750")),
                 CameraListModel::Zone, QStringLiteral("+01:00"));
        settle(trip.view());
        QVERIFY2(!summary->text().contains(QStringLiteral("without a time zone")),
                 qPrintable(summary->text()));
        typeInto(*dialog, rowOf(*dialog->cameras(), QStringLiteral("NIKON D750")),
                 CameraListModel::Zone, QString());
        settle(trip.view());
        QVERIFY2(summary->text().contains(words), qPrintable(summary->text()));
        // Photos left out of the numbering are not counted.
        retype(child<QLineEdit>(trip.view(), "onlyExtensionsField"), QStringLiteral("cr2"));
        settle(trip.view());
        QVERIFY2(!summary->text().contains(QStringLiteral("without a time zone")),
                 qPrintable(summary->text()));
    }

    // The date column shows the instant each entry is numbered by, to the second, in the
    // zone it was read in; a sidecar shows its photo's; a corrected time and a modified time
    // standing in for a date taken are marked. The camera column names each photo's camera,
    // and a sidecar its group's.
    void dateColumnShowsTheTimeEachEntryIsNumberedBy() {
        TripWindow trip;
        trip.orderByDateTaken();
        child<QCheckBox>(trip.view(), "keepRelatedToggle")->click();
        settle(trip.view());
        const auto firstRows = [&](int role) {
            return rowsWith(trip.view(), role).mid(0, 12);
        };
        QCOMPARE(firstRows(PreviewModel::DateRole),
                 (QStringList{
                     "DSC_0100.JPG | 2024-07-01 08:50:00 +02:00",
                     "DSC_0100.NEF | 2024-07-01 08:50:00 +02:00",
                     "dsc_0100.xmp | 2024-07-01 08:50:00 +02:00",
                     "DSC_0101.JPG | 2024-07-01 09:20:00 +02:00",
                     "IMG_9999.JPG | 2024-07-01 10:00:05.1 +02:00",
                     "IMG_0001.JPG | 2024-07-01 10:00:05.55 +02:00",
                     "IMG_0012.HEIC | 2024-07-01 09:10:00 +01:00",
                     "IMG_0002.CR2 | 2024-07-01 10:30:00 +02:00",
                     "IMG_0002.JPG | 2024-07-01 10:30:00 +02:00",
                     "IMG_0002.cr2.xmp | 2024-07-01 10:30:00 +02:00",
                     "IMG_0012.JPG | 2024-07-01 11:03:00 +02:00",
                     "notes.txt | 2024-07-10 02:00:00 +02:00 (modified)",
                 }));
        // Only the modified time standing in for a date taken is dimmed.
        QCOMPARE(
            rowsWith(trip.view(), PreviewModel::DateFellBackRole).mid(9, 3),
            (QStringList{"IMG_0002.cr2.xmp | false", "IMG_0012.JPG | false", "notes.txt | true"}));
        QCOMPARE(firstRows(PreviewModel::CameraRole).mid(0, 7),
                 (QStringList{
                     "DSC_0100.JPG | NIKON D750",
                     "DSC_0100.NEF | NIKON D750",
                     "dsc_0100.xmp | NIKON D750",
                     "DSC_0101.JPG | NIKON D750",
                     "IMG_9999.JPG | Canon EOS R6",
                     "IMG_0001.JPG | Canon EOS R6",
                     "IMG_0012.HEIC | Apple iPhone 13",
                 }));

        CameraDialog* dialog = trip.openCameras();
        QVERIFY(dialog != nullptr);
        typeInto(*dialog, rowOf(*dialog->cameras(), QStringLiteral("NIKON D750")),
                 CameraListModel::Zone, QStringLiteral("+01:00"));
        dialog->reject();
        settle(trip.view());
        QCOMPARE(firstRows(PreviewModel::DateRole).mid(0, 4),
                 (QStringList{
                     "DSC_0100.JPG | 2024-07-01 08:50:00 +01:00 (corrected)",
                     "DSC_0100.NEF | 2024-07-01 08:50:00 +01:00 (corrected)",
                     "dsc_0100.xmp | 2024-07-01 08:50:00 +01:00 (corrected)",
                     "IMG_9999.JPG | 2024-07-01 10:00:05.1 +02:00",
                 }));

        // Numbered by modified times, none is marked, and no camera is shown.
        trip.chooseOrder(Qt::Key_Up);
        QVERIFY(rowsWith(trip.view(), PreviewModel::DateRole)
                    .contains(QStringLiteral("notes.txt | 2024-07-10 02:00:00 +02:00")));
        QVERIFY(rowsWith(trip.view(), PreviewModel::DateFellBackRole)
                    .contains(QStringLiteral("notes.txt | false")));
        QVERIFY(rowsWith(trip.view(), PreviewModel::CameraRole)
                    .contains(QStringLiteral("DSC_0100.JPG | ")));
    }
};

QTEST_MAIN(CameraWindowTest)
#include "CameraWindowTest.moc"
