#include "window/CameraDialog.hpp"
#include "session/DateText.hpp"
#include "window/CameraListModel.hpp"

#include "engine/Cameras.hpp"
#include "engine/Listing.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/TripFolder.hpp"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using brindleaf::CameraClock;
using brindleaf::CameraDialog;
using brindleaf::CameraListModel;
using brindleaf::DateSource;
using brindleaf::DateText;
using brindleaf::Order;
using brindleaf::Settings;
using brindleaf::UsedDate;
using brindleaf::testing::BerlinTime;
using brindleaf::testing::TripFolder;

namespace {

constexpr std::int64_t nanosecondsPerSecond = 1'000'000'000;

// 2024-07-01 08:00:05 UTC.
constexpr std::int64_t burstSecond = 1'719'820'805;

Settings takenOrder(const std::string& folder) {
    Settings settings;
    settings.targetDir = folder;
    settings.order = Order::Taken;
    return settings;
}

// The trip's dates, read as the window's listing reads them.
std::vector<brindleaf::EntryDate> tripDates(const TripFolder& trip) {
    brindleaf::PosixFileSystem fileSystem;
    const auto folder = brindleaf::openTargetFolder(fileSystem, trip.path());
    brindleaf::ProceedAlways proceed;
    auto listed = brindleaf::listOpenedFileNames(fileSystem, *folder, takenOrder(trip.path()),
                                                 nullptr, proceed);
    return listed ? listed->dates : std::vector<brindleaf::EntryDate>{};
}

QStringList tableRows(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column) {
            cells.append(model.index(row, column).data().toString());
        }
        rows.append(cells.join(QStringLiteral(" | ")));
    }
    return rows;
}

// Types `text` into the cell as a user does: the cell chosen, its editor opened by typing,
// the old value selected away, and Enter, which closes the editor.
void typeInto(QTableView* table, const QModelIndex& cell, const QString& text) {
    table->setFocus();
    table->setCurrentIndex(cell);
    QTest::keyClick(table, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor != nullptr && table->isAncestorOf(editor));
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits from the event loop.
    QVERIFY(QTest::qWaitFor([&] { return QApplication::focusWidget() == table; }));
}

} // namespace

class CameraDialogTest : public QObject {
    Q_OBJECT

private slots:
    // A date shows the instant to the second, with the fraction a camera wrote, in the zone
    // it was read in; a modified time in this computer's zone, summer and winter alike,
    // without a fraction; a corrected time and a modified time standing in for a date taken
    // are marked, a modified time the order asked for is not.
    void datesShowTheirInstantInTheirZone() {
        const BerlinTime berlin;
        const auto at = [](std::int64_t seconds, std::int64_t nanoseconds = 0) {
            return seconds * nanosecondsPerSecond + nanoseconds;
        };
        // 2024-01-10 00:00:00 UTC.
        constexpr std::int64_t winter = 1'704'844'800;
        const std::vector<std::tuple<UsedDate, Order, QString>> cases{
            {{at(burstSecond, 100'000'000), 7'200, DateSource::Taken, false},
             Order::Taken,
             QStringLiteral("2024-07-01 10:00:05.1 +02:00")},
            {{at(burstSecond, 550'000'000), 7'200, DateSource::Taken, false},
             Order::Taken,
             QStringLiteral("2024-07-01 10:00:05.55 +02:00")},
            {{at(burstSecond), -19'800, DateSource::Taken, false},
             Order::Taken,
             QStringLiteral("2024-07-01 02:30:05 -05:30")},
            {{at(burstSecond), 3'600, DateSource::Corrected, false},
             Order::Taken,
             QStringLiteral("2024-07-01 09:00:05 +01:00 (corrected)")},
            {{at(burstSecond), 7'200, DateSource::Taken, true},
             Order::Taken,
             QStringLiteral("2024-07-01 10:00:05 +02:00")},
            {{at(burstSecond, 250'000'000), std::nullopt, DateSource::Modified, false},
             Order::Taken,
             QStringLiteral("2024-07-01 10:00:05 +02:00 (modified)")},
            {{at(winter), std::nullopt, DateSource::Modified, false},
             Order::Modified,
             QStringLiteral("2024-01-10 01:00:00 +01:00")},
            {{at(-1, 500'000'000), 0, DateSource::Taken, false},
             Order::Taken,
             QStringLiteral("1969-12-31 23:59:59.5 +00:00")},
            {{-1, 0, DateSource::Taken, false},
             Order::Taken,
             QStringLiteral("1969-12-31 23:59:59.999999999 +00:00")},
        };
        for (const auto& [date, order, expected] : cases) {
            QCOMPARE(DateText::shown(date, order), expected);
        }
        QCOMPARE(DateText::shift(-192), QStringLiteral("-0:03:12"));
        QCOMPARE(DateText::shift(93'600), QStringLiteral("+26:00:00"));
    }

    // Each camera of the trip: its name as the command line takes it, its entries, its
    // first and last time, and where its zone comes from; the Nikon, which writes none, is
    // read in Berlin's summer time.
    void listsEachCameraOfTheFolder() {
        const BerlinTime berlin;
        const TripFolder trip;
        CameraDialog dialog;
        QAbstractItemModelTester tester(dialog.cameras());
        const auto dates = tripDates(trip);
        dialog.cameras()->show(brindleaf::summarizeCameras(dates, takenOrder(trip.path())), {});
        QCOMPARE(tableRows(*dialog.cameras()),
                 (QStringList{
                     "Apple iPhone 13 | 1 | 2024-07-01 09:10:00 +01:00 | "
                     "2024-07-01 09:10:00 +01:00 | its offset tags |  | ",
                     "Canon EOS R6 | 5 | 2024-07-01 10:00:05.1 +02:00 | "
                     "2024-07-01 11:03:00 +02:00 | its offset tags |  | ",
                     "NIKON D750 | 3 | 2024-07-01 08:50:00 +02:00 | 2024-07-01 09:20:00 +02:00 | "
                     "none: read as this computer's zone, +02:00 |  | ",
                 }));

        Settings corrected = takenOrder(trip.path());
        corrected.cameraClocks = {{"NIKON D750", "+01:00", "-0:03:12"},
                                  {"Canon EOS R6", "+05:00", ""}};
        dialog.cameras()->show(brindleaf::summarizeCameras(dates, corrected),
                               corrected.cameraClocks);
        QCOMPARE(tableRows(*dialog.cameras()),
                 (QStringList{
                     "Apple iPhone 13 | 1 | 2024-07-01 09:10:00 +01:00 | "
                     "2024-07-01 09:10:00 +01:00 | its offset tags |  | ",
                     "Canon EOS R6 | 5 | 2024-07-01 10:00:05.1 +02:00 | "
                     "2024-07-01 11:03:00 +02:00 | its offset tags; without them, the zone given "
                     "| +05:00 | ",
                     "NIKON D750 | 3 | 2024-07-01 08:46:48 +01:00 (corrected) | "
                     "2024-07-01 09:16:48 +01:00 (corrected) | the zone given | +01:00 | "
                     "-0:03:12",
                 }));
    }

    // A camera whose photos carry offset tags only in part says how many were read in this
    // computer's zone.
    void saysHowManyPhotosOfACameraWereReadInThisComputersZone() {
        brindleaf::CameraSummary camera;
        camera.name = "Apple iPhone 13";
        camera.entries = 4;
        camera.withoutOffsetTags = 1;
        camera.inComputerZone = 1;
        camera.computerOffsets = {7'200};
        CameraListModel cameras;
        cameras.show({camera}, {});
        QCOMPARE(cameras.index(0, CameraListModel::ZoneSource).data().toString(),
                 QStringLiteral("none: read as this computer's zone, +02:00 (1 of 4 entries; the "
                                "others by their offset tags)"));
    }

    // A zone and a correction typed into a camera's row set its clock, as --camera-zone and
    // --camera-shift do; a value that does not parse is refused and said why, and the clocks
    // stay as they were; an emptied value sets the clock back.
    void typedValuesSetTheCamerasClock() {
        const BerlinTime berlin;
        const TripFolder trip;
        CameraDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        CameraListModel& cameras = *dialog.cameras();
        cameras.show(brindleaf::summarizeCameras(tripDates(trip), takenOrder(trip.path())), {});
        QSignalSpy edits(&cameras, &CameraListModel::clocksEdited);
        auto* problem = dialog.findChild<QLabel*>(QStringLiteral("cameraProblemLabel"));
        const int nikon = 2;
        QCOMPARE(cameras.index(nikon, CameraListModel::Name).data().toString(),
                 QStringLiteral("NIKON D750"));

        typeInto(dialog.table(), cameras.index(nikon, CameraListModel::Zone),
                 QStringLiteral(" +01:00 "));
        typeInto(dialog.table(), cameras.index(nikon, CameraListModel::Shift),
                 QStringLiteral("-0:03:12"));
        QCOMPARE(edits.count(), 2);
        QCOMPARE(cameras.clocks(),
                 (std::vector<CameraClock>{{"NIKON D750", "+01:00", "-0:03:12"}}));
        QVERIFY(problem->isHidden());

        const std::vector<std::pair<int, QString>> refused{
            {CameraListModel::Zone, QStringLiteral("+25:00")},
            {CameraListModel::Zone, QStringLiteral("Lisbon")},
            {CameraListModel::Shift, QStringLiteral("3:12")},
            {CameraListModel::Shift, QStringLiteral("+-0:03:12")},
        };
        for (const auto& [column, text] : refused) {
            typeInto(dialog.table(), cameras.index(nikon, column), text);
            QVERIFY2(problem->isVisible() && problem->text().contains(text),
                     qPrintable(problem->text()));
        }
        QCOMPARE(edits.count(), 2);
        QCOMPARE(cameras.clocks(),
                 (std::vector<CameraClock>{{"NIKON D750", "+01:00", "-0:03:12"}}));

        typeInto(dialog.table(), cameras.index(nikon, CameraListModel::Zone), QString());
        QCOMPARE(cameras.clocks(), (std::vector<CameraClock>{{"NIKON D750", "", "-0:03:12"}}));
        QVERIFY(problem->isHidden());
        typeInto(dialog.table(), cameras.index(nikon, CameraListModel::Shift), QString());
        QVERIFY(cameras.clocks().empty());
        QCOMPARE(edits.count(), 4);
        QCOMPARE(edits.last().at(0).value<std::vector<CameraClock>>(), std::vector<CameraClock>{});
    }
};

QTEST_MAIN(CameraDialogTest)
#include "CameraDialogTest.moc"
