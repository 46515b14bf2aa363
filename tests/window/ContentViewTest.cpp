#include "window/ContentView.hpp"
#include "engine/Listing.hpp"
#include "platform/PosixFileSystem.hpp"
#include "session/PreviewModel.hpp"
#include "support/AnsweredAlerts.hpp"
#include "support/FaultyFileSystem.hpp"
#include "support/GatedFileSystem.hpp"
#include "support/GuiHelpers.hpp"
#include "support/KilledRun.hpp"
#include "support/PhotoFiles.hpp"
#include "support/PictureFiles.hpp"
#include "support/TemporaryFolder.hpp"
#include "window/PreviewListView.hpp"
#include "window/Translations.hpp"
#include "window/UndoMessages.hpp"

#include <QAbstractEventDispatcher>
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <qpa/qwindowsysteminterface.h>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>
#include <variant>
#include <vector>

using brindleaf::ContentView;
using brindleaf::Question;
using brindleaf::testing::AnsweredAlerts;
using brindleaf::testing::declineEvery;
using brindleaf::testing::dropOn;
using brindleaf::testing::TemporaryFolder;
using brindleaf::testing::urlData;
using brindleaf::testing::whenShown;
using NameSet = std::set<std::string>;

namespace {

// The folder where the windows of these tests journal their runs, apart from the user's own.
brindleaf::JournalFolder journalFolder() {
    static const QTemporaryDir folder;
    return brindleaf::JournalFolder(QFile::encodeName(folder.path()).toStdString());
}

std::unique_ptr<brindleaf::FileSystem> realFileSystem() {
    return std::make_unique<brindleaf::PosixFileSystem>();
}

QUrl localUrl(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

QStringList rows(const ContentView& view) {
    QStringList texts;
    const auto& model = view.preview();
    for (int row = 0; row < model.rowCount(); ++row) {
        texts.append(model.data(model.index(row), Qt::DisplayRole).toString());
    }
    return texts;
}

QString row(const char* original, const char* renamed) {
    return QString::fromUtf8(original) + QStringLiteral("\t\t->\t\t") + QString::fromUtf8(renamed);
}

template <typename Widget> Widget* child(const ContentView& view, const char* name) {
    auto* widget = view.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        qFatal("no child %s", name);
    }
    return widget;
}

// Waits until the preview shows what the folder and the toggles make of it.
void settle(const ContentView& view) {
    QVERIFY(QTest::qWaitFor([&] { return !view.isLoading(); }));
}

// Tells the application, as the X server would, that another program destroyed the view's
// window.
void windowSystemDestroys(const QWidget& view) {
    std::array<unsigned char, 32> destroyNotify{};
    destroyNotify[0] = 17;
    const auto window = static_cast<std::uint32_t>(view.winId());
    std::memcpy(destroyNotify.data() + 8, &window, sizeof window);
    qintptr result = 0;
    QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t",
                                                            destroyNotify.data(), &result);
}

// Waits until a run started from the window has ended and what it did has been told.
void waitForRun(const ContentView& view) {
    QVERIFY(QTest::qWaitFor([&] { return !view.isRunning(); }, 60'000));
}

// Keeps the progress dialog's text once it counts the entries: it first says that the run
// gets ready.
void keepProgressCount(QString& text) {
    whenShown<QProgressDialog>([&text](QProgressDialog* progress) {
        auto* poll = new QTimer(progress);
        poll->setInterval(1);
        QObject::connect(poll, &QTimer::timeout, progress, [&text, progress, poll] {
            if (progress->maximum() > 0) {
                text = progress->labelText();
                poll->stop();
            }
        });
        poll->start();
    });
}

void showFolder(ContentView& view, const std::string& path) {
    view.setTargetDir(localUrl(path));
    settle(view);
}

// Fills `folder` with "x", "y" and "z" and numbers it in a process killed before its second
// move; the journal of that run is under the window's own journal folder.
bool interruptedRunIn(const TemporaryFolder& folder) {
    for (const char* name : {"x", "y", "z"}) {
        folder.addFile(name);
    }
    brindleaf::Settings settings;
    settings.targetDir = folder.path();
    return brindleaf::testing::renameKilledAtMove(settings, journalFolder(), 2);
}

// How far `color`, drawn over `background`, stands out from it: 0 is invisible.
int contrastOn(const QColor& color, const QColor& background) {
    const double alpha = color.alphaF();
    const double drawn = alpha * qGray(color.rgb()) + (1 - alpha) * qGray(background.rgb());
    return std::abs(static_cast<int>(drawn) - qGray(background.rgb()));
}

// Whether a field is wide enough to show its placeholder whole.
bool placeholderFits(const QLineEdit* field) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->rect();
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    const QRect contents =
        field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    const QMargins margins = field->textMargins();
    const int room = contents.width() - margins.left() - margins.right() - 2 * 2;
    return field->fontMetrics().horizontalAdvance(field->placeholderText()) <= room;
}

// Keeps what each run did, as the session publishes it when the run ends.
class FinishedRuns {
public:
    explicit FinishedRuns(const ContentView& view) {
        QObject::connect(&view.session(), &brindleaf::FolderSession::stateChanged, &receiver_,
                         [this](const brindleaf::SessionState& state) {
                             if (const auto* finished =
                                     std::get_if<brindleaf::activity::Finished>(&state.activity)) {
                                 runs.push_back(finished->run);
                             }
                         });
    }
    [[nodiscard]] brindleaf::RunReport lastRename() const {
        const auto* result =
            runs.empty() ? nullptr : std::get_if<brindleaf::RenameResult>(&runs.back().result);
        return result != nullptr ? result->report : brindleaf::RunReport{};
    }
    [[nodiscard]] brindleaf::UndoReport lastUndo() const {
        const auto* report =
            runs.empty() ? nullptr : std::get_if<brindleaf::UndoReport>(&runs.back().result);
        return report != nullptr ? *report : brindleaf::UndoReport{};
    }

    std::vector<brindleaf::FinishedRun> runs;

private:
    QObject receiver_;
};

void retype(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

} // namespace

class ContentViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { brindleaf::installTranslations(*QCoreApplication::instance()); }

    // The window opens without pictures; turned on, each photo's row shows its picture, and
    // rows grow to hold them.
    void picturesShowInThePreviewWhenTurnedOn() {
        // The shared thumbnails are someone else's; these photos have none.
        const QTemporaryDir cache;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
        TemporaryFolder folder;
        const std::array<std::pair<const char*, Qt::GlobalColor>, 3> photos{
            {{"a sunset.jpg", Qt::red}, {"b forest.jpg", Qt::green}, {"c sea.jpg", Qt::blue}}};
        for (const auto& [name, color] : photos) {
            QImage photo(800, 600, QImage::Format_RGB32);
            photo.fill(color);
            brindleaf::testing::writeJpeg(folder.pathOf(name), photo);
        }
        folder.addFile("d notes.txt");
        ContentView view(realFileSystem(), journalFolder());
        view.resize(900, 640);
        view.show();
        showFolder(view, folder.path());
        auto* toggle = child<QCheckBox>(view, "picturesToggle");
        auto* list = child<QListView>(view, "previewList");
        QVERIFY(!toggle->isChecked());
        const auto rowHeight = [&] {
            return list->visualRect(view.preview().index(0)).height();
        };
        QVERIFY(rowHeight() < 64);
        // The colour painted in the middle of the square the row's picture fits.
        const auto paintedAt = [&](int row) {
            const QImage painted = list->viewport()->grab().toImage();
            const QRect rect = list->visualRect(view.preview().index(row));
            const QPoint middle(rect.left() + 6 + 29, rect.center().y());
            return painted.pixelColor(middle * painted.devicePixelRatio());
        };
        QCOMPARE(paintedAt(0).saturation() > 150, false);
        QCOMPARE(toggle->text(), QStringLiteral("Sho&w pictures"));

        QVERIFY(QTest::qWaitForWindowActive(&view));
        // The mnemonic clicks the toggle once its press is drawn.
        QTest::keyClick(&view, Qt::Key_W, Qt::AltModifier);
        QTRY_VERIFY(toggle->isChecked());
        QVERIFY(QTest::qWaitFor([&] { return rowHeight() >= 64; }));
        for (int row = 0; row < 3; ++row) {
            QVERIFY2(QTest::qWaitFor([&] {
                         const QColor color = paintedAt(row);
                         return color.saturation() > 150 &&
                                brindleaf::testing::primaryOf(color) ==
                                    std::array{brindleaf::testing::Primary::Red,
                                               brindleaf::testing::Primary::Green,
                                               brindleaf::testing::Primary::Blue}[row];
                     }),
                     qPrintable(QStringLiteral("row %1").arg(row)));
        }
        toggle->click();
        QVERIFY(QTest::qWaitFor([&] { return rowHeight() < 64; }));
    }

    // A new window shows the defaults, in words rather than label keys; every field has its
    // label as buddy, and Tab follows the layout.
    void newWindowShowsTheDefaultsInALayoutTabFollows() {
        ContentView view(realFileSystem(), journalFolder());
        view.show();
        QVERIFY(view.settings() == brindleaf::Settings{});
        QVERIFY(!child<QPushButton>(view, "undoButton")->isEnabled());
        QCOMPARE(child<QLineEdit>(view, "digitsField")->text(), QStringLiteral("4"));
        QVERIFY(child<QCheckBox>(view, "spaceRemoveToggle")->isChecked());
        QCOMPARE(child<QPushButton>(view, "openButton")->text(), QStringLiteral("&Open Folder…"));
        QCOMPARE(child<QLineEdit>(view, "digitsField")->placeholderText(),
                 QStringLiteral("Digits"));
        for (const char* name : {"startIndexField", "digitsField", "prefixField", "postfixField",
                                 "onlyExtensionsField", "orderChoice"}) {
            auto* field = child<QWidget>(view, name);
            const auto labels = view.findChildren<QLabel*>();
            QVERIFY(std::any_of(labels.begin(), labels.end(),
                                [field](QLabel* label) { return label->buddy() == field; }));
        }
        QStringList order;
        QWidget* widget = child<QPushButton>(view, "openButton");
        for (int step = 0; step < 19; ++step) {
            order.append(widget->objectName());
            do {
                widget = widget->nextInFocusChain();
            } while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisible());
        }
        QCOMPARE(order, (QStringList{"openButton", "startIndexField", "digitsField", "prefixField",
                                     "postfixField", "orderChoice", "natSortToggle",
                                     "spaceRemoveToggle", "spaceReplaceToggle", "reverseToggle",
                                     "keepExtensionsToggle", "keepRelatedToggle",
                                     "skipHiddenToggle", "filesOnlyToggle", "onlyExtensionsField",
                                     "picturesToggle", "previewList", "doButton", "undoButton"}));
    }

    // Mnemonics reach the fields, Ctrl+O the chooser, and Enter presses a focused button.
    void keyboardReachesEveryAction() {
        ContentView view(realFileSystem(), journalFolder());
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTest::keyClick(&view, Qt::Key_P, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(view, "prefixField"));

        bool chooserShown = false;
        whenShown<QFileDialog>([&](QFileDialog* chooser) {
            chooserShown = true;
            chooser->reject();
        });
        QTest::keySequence(&view, QKeySequence::Open);
        QVERIFY(chooserShown);

        bool asked = false;
        whenShown<QMessageBox>([&](QMessageBox* question) {
            asked = true;
            QTest::keyClick(question, Qt::Key_Escape);
        });
        auto* doButton = child<QPushButton>(view, "doButton");
        doButton->setFocus();
        QTest::keyClick(doButton, Qt::Key_Return);
        QVERIFY(asked);
    }

    // The window opens with twenty rows or more on a 1280x800 screen, its two columns side by
    // side without a horizontal scroll bar; its rows wrap rather than hold a narrow screen's
    // window wide; its title names the folder.
    void windowOpensAtAUsefulSizeAndNamesItsFolder() {
        TemporaryFolder folder;
        folder.addFolder("Trip to Kyoto");
        for (int i = 0; i < 100; ++i) {
            folder.addFile("Trip to Kyoto/photo " + std::to_string(i) + ".jpg");
        }
        ContentView view(realFileSystem(), journalFolder());
        QVERIFY2(view.minimumSizeHint().width() < 480,
                 qPrintable(QString::number(view.minimumSizeHint().width())));
        const QSize opening = view.openingSize(QSize(1280, 800));
        QVERIFY(opening.width() <= 1280 && opening.height() <= 800);
        QCOMPARE(view.openingSize(QSize(800, 600)).boundedTo(QSize(800, 600)),
                 view.openingSize(QSize(800, 600)));
        view.resize(opening);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        showFolder(view, folder.pathOf("Trip to Kyoto"));
        auto* preview = child<QListView>(view, "previewList");
        const int rowHeight = preview->visualRect(view.preview().index(0)).height();
        QVERIFY2(preview->viewport()->height() / rowHeight >= 20,
                 qPrintable(QString::number(preview->viewport()->height() / rowHeight)));
        QVERIFY(preview->verticalScrollBar()->isVisible());
        QVERIFY(!preview->horizontalScrollBar()->isVisible());
        QVERIFY2(view.windowTitle().startsWith(QStringLiteral("Trip to Kyoto — ")),
                 qPrintable(view.windowTitle()));
    }

    // Typing changes the preview at once; toggles reorder, and later keystrokes keep the order.
    void typingAndTogglesChangeThePreviewAtOnce() {
        TemporaryFolder folder;
        for (const char* name : {"file1", "file9", "file10"}) {
            folder.addFile(name);
        }
        ContentView view(realFileSystem(), journalFolder());
        const QAbstractItemModelTester modelCheck(
            child<QListView>(view, "previewList")->model(),
            QAbstractItemModelTester::FailureReportingMode::QtTest);
        showFolder(view, folder.path());
        QCOMPARE(rows(view),
                 (QStringList{row("file1", "0001"), row("file9", "0002"), row("file10", "0003")}));
        retype(child<QLineEdit>(view, "digitsField"), QStringLiteral("2"));
        QTest::keyClicks(child<QLineEdit>(view, "postfixField"), QStringLiteral(".jpg"));
        retype(child<QLineEdit>(view, "startIndexField"), QStringLiteral("9"));
        QCOMPARE(rows(view), (QStringList{row("file1", "09.jpg"), row("file9", "10.jpg"),
                                          row("file10", "11.jpg")}));
        child<QCheckBox>(view, "natSortToggle")->click();
        settle(view);
        child<QCheckBox>(view, "reverseToggle")->click();
        settle(view);
        QVERIFY(view.settings().isReverse && !view.settings().isNatSortOn);
        QTest::keyClicks(child<QLineEdit>(view, "prefixField"), QStringLiteral("p"));
        QCOMPARE(rows(view), (QStringList{row("file9", "p09.jpg"), row("file10", "p10.jpg"),
                                          row("file1", "p11.jpg")}));
        QCOMPARE(view.settings().prefix, std::string("p"));

        brindleaf::testing::setModified(folder.pathOf("file10"), 4'000'000'000); // the newest
        auto* order = child<QComboBox>(view, "orderChoice");
        order->setFocus();
        QTest::keyClick(order, Qt::Key_Down);
        settle(view);
        QCOMPARE(view.settings().order, brindleaf::Order::Modified);
        QCOMPARE(rows(view).first(), row("file10", "p09.jpg"));
        QVERIFY(!view.preview().index(0).data(brindleaf::PreviewModel::DateRole).isNull());
    }

    // The summary counts what the preview holds and warns when extensions change.
    void keptExtensionsShowInThePreviewAndTheSummary() {
        TemporaryFolder folder;
        folder.addFile("a.JPG");
        folder.addFile("c.png");
        folder.addFile(".hidden");
        folder.addFolder("b.d");
        ContentView view(realFileSystem(), journalFolder());
        showFolder(view, folder.path());
        auto* summary = child<QLabel>(view, "summaryLabel");
        QCOMPARE(summary->text(),
                 QStringLiteral("4 entries · 2 change extension · 1 folder · 1 hidden"));
        QVERIFY(summary->property("warns").toBool());
        child<QCheckBox>(view, "keepExtensionsToggle")->click();
        QCOMPARE(rows(view), (QStringList{row(".hidden", "0001"), row("a.JPG", "0002.JPG"),
                                          row("b.d", "0003"), row("c.png", "0004.png")}));
        QCOMPARE(summary->text(), QStringLiteral("4 entries · 1 folder · 1 hidden"));
        QVERIFY(!summary->property("warns").toBool());
        const QModelIndex folderRow = view.preview().index(2);
        QVERIFY(folderRow.data(brindleaf::PreviewModel::IsFolderRole).toBool());
    }

    // Only a folder dropped on the preview is taken, and a folder's name arrives unchanged
    // whether dropped or chosen, percent signs and all.
    void folderDroppedOnThePreviewOrChosenBecomesTheTarget() {
        TemporaryFolder folder;
        folder.addFile("plain");
        for (const char* name : {"x%41y", "100% done", "xAy"}) {
            folder.addFolder(name);
            folder.addFile(std::string(name) + "/" + name);
        }
        ContentView view(realFileSystem(), journalFolder());
        auto* preview = child<QListView>(view, "previewList");
        const std::unique_ptr<QMimeData> file(urlData({localUrl(folder.pathOf("plain"))}));
        QVERIFY(!dropOn(preview->viewport(), *file));
        const std::unique_ptr<QMimeData> dir(urlData({localUrl(folder.pathOf("x%41y"))}));
        QVERIFY(!dropOn(child<QLineEdit>(view, "prefixField"), *dir));
        QVERIFY(!dropOn(child<QPushButton>(view, "doButton"), *dir));
        QCoreApplication::processEvents();
        QVERIFY(view.settings().targetDir.empty());

        QVERIFY(dropOn(preview->viewport(), *dir));
        QTRY_COMPARE(view.settings().targetDir, folder.pathOf("x%41y"));
        settle(view);
        QCOMPARE(child<QLabel>(view, "targetDirLabel")->text(),
                 QString::fromStdString(folder.pathOf("x%41y")));
        QCOMPARE(rows(view), QStringList{row("x%41y", "0001")});

        whenShown<QFileDialog>([&](QFileDialog* chooser) {
            // Accepting with nothing selected chooses the shown folder; selecting by name
            // instead races the dialog's background listing.
            chooser->setDirectory(QString::fromStdString(folder.pathOf("100% done")));
            static_cast<QDialog*>(chooser)->accept();
        });
        child<QPushButton>(view, "openButton")->click();
        QCOMPARE(view.settings().targetDir, folder.pathOf("100% done"));
        // A cancelled chooser keeps the folder.
        whenShown<QFileDialog>([](QFileDialog* chooser) { chooser->reject(); });
        child<QPushButton>(view, "openButton")->click();
        QCOMPARE(view.settings().targetDir, folder.pathOf("100% done"));
    }

    void doThenOkRenamesOnDiskAndShowsTheNewState() {
        TemporaryFolder folder;
        folder.addFile("b");
        folder.addFile("a");
        ContentView view(realFileSystem(), journalFolder());
        showFolder(view, folder.path());
        QTest::keyClicks(child<QLineEdit>(view, "postfixField"), QStringLiteral(".txt"));

        // The real dialog: its close box declines, as Escape does, and its OK accepts.
        bool closed = false;
        whenShown<QMessageBox>([&](QMessageBox* question) { closed = question->close(); });
        child<QPushButton>(view, "doButton")->click();
        QVERIFY(closed);
        QVERIFY(!view.isRunning());
        QCOMPARE(folder.names(), (NameSet{"a", "b"}));

        const FinishedRuns finished(view);
        bool confirmWhileAsked = false;
        QString details;
        whenShown<QMessageBox>([&](QMessageBox* question) {
            confirmWhileAsked = view.isConfirming();
            QCOMPARE(question->windowTitle(), QStringLiteral("Confirm Renaming"));
            QVERIFY(question->text().startsWith(QStringLiteral("<b>")));
            details = question->informativeText();
            question->findChild<QPushButton*>(QStringLiteral("proceedButton"))->click();
        });
        child<QPushButton>(view, "doButton")->click();
        waitForRun(view);
        QVERIFY(confirmWhileAsked);
        QVERIFY(!view.isConfirming());
        QVERIFY2(
            details.contains(
                QStringLiteral("2 entries in “%1”").arg(QString::fromStdString(folder.path()))),
            qPrintable(details));
        QCOMPARE(folder.names(), (NameSet{"0001.txt", "0002.txt"}));
        QCOMPARE(folder.contentOf("0001.txt"), std::string("a"));
        settle(view);
        QCOMPARE(rows(view),
                 (QStringList{row("0001.txt", "0001.txt"), row("0002.txt", "0002.txt")}));
        QCOMPARE(finished.lastRename().outcome, brindleaf::RunOutcome::Renamed);
        QCOMPARE(finished.lastRename().moved, std::size_t{2});
        QVERIFY(!child<QLabel>(view, "statusLabel")->text().isEmpty());
    }

    // With no folder or an empty one, Do still asks, and says that nothing will be renamed;
    // Escape renames nothing.
    void confirmationSaysWhenNothingWillBeRenamed() {
        TemporaryFolder folder;
        ContentView view(realFileSystem(), journalFolder());
        AnsweredAlerts alerts(view.alerts(), declineEvery);
        for (int round = 0; round < 3; ++round) {
            child<QPushButton>(view, "doButton")->click();
            showFolder(view, folder.path());
            folder.addFile("a");
        }
        QCOMPARE(alerts.kinds(), QList<Question>(3, Question::Rename));
        const QString said0 = alerts.asked[0].details;
        const QString said1 = alerts.asked[1].details;
        QVERIFY2(said0.contains(QStringLiteral("No folder is chosen")), qPrintable(said0));
        QVERIFY2(said1.contains(QStringLiteral("is empty, so nothing will be renamed")),
                 qPrintable(said1));
        // The choices leave every entry out.
        QTest::keyClicks(child<QLineEdit>(view, "onlyExtensionsField"), QStringLiteral("png"));
        settle(view);
        view.toggleConfirm();
        const QString leftOut = alerts.asked.back().details;
        QVERIFY2(leftOut.contains(QStringLiteral("The choices leave every entry of")),
                 qPrintable(leftOut));
        QVERIFY(!view.isConfirming());
        QCOMPARE(folder.names(), NameSet{"a"});
    }

    // A shown folder that vanishes raises an alert with the system's reason and empties the
    // preview; the German test reads the alert for a missing folder in German.
    void vanishedFolderRaisesAnAlertAndEmptiesThePreview() {
        TemporaryFolder folder;
        folder.addFolder("doomed");
        folder.addFile("doomed/x");
        ContentView view(realFileSystem(), journalFolder());
        const AnsweredAlerts alerts(view.alerts());
        showFolder(view, folder.pathOf("doomed"));
        QCOMPARE(view.preview().rowCount(), 1);
        std::filesystem::remove_all(folder.pathOf("doomed"));
        QTRY_COMPARE(alerts.failures.size(), 1);
        QVERIFY(alerts.failures[0].contains(QStringLiteral("No such file or directory")));
        QCOMPARE(view.preview().rowCount(), 0);
    }

    // After a rename, renaming again would change nothing and is disabled; Ctrl+Z in a
    // field undoes the typing, elsewhere it asks to undo the run, in words of undoing.
    void undoGivesTheLastRunsNamesBackAfterAsking() {
        TemporaryFolder folder;
        folder.addFile("b");
        folder.addFile("a");
        ContentView view(realFileSystem(), journalFolder());
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        showFolder(view, folder.path());
        auto* undo = child<QPushButton>(view, "undoButton");
        QVERIFY(!undo->isEnabled());
        view.renameFiles();
        waitForRun(view);
        QCOMPARE(folder.names(), (NameSet{"0001", "0002"}));
        settle(view);
        QVERIFY(undo->isEnabled());
        QVERIFY(!child<QPushButton>(view, "doButton")->isEnabled());
        QVERIFY(child<QLabel>(view, "summaryLabel")->text().contains(QStringLiteral("already")));

        auto* prefix = child<QLineEdit>(view, "prefixField");
        prefix->setFocus();
        QTest::keyClicks(prefix, QStringLiteral("p"));
        QTest::keySequence(prefix, QKeySequence::Undo);
        QCOMPARE(prefix->text(), QString());
        QCOMPARE(folder.names(), (NameSet{"0001", "0002"}));

        const AnsweredAlerts alerts(view.alerts());
        const FinishedRuns finished(view);
        child<QWidget>(view, "previewList")->setFocus();
        QTest::keySequence(&view, QKeySequence::Undo);
        waitForRun(view);
        QCOMPARE(alerts.kinds(), QList<Question>{Question::Undo});
        const brindleaf::Asked& asked = alerts.asked.front();
        QCOMPARE(asked.title, QStringLiteral("Undo Renaming"));
        QCOMPARE(asked.acceptText, QStringLiteral("Undo"));
        QVERIFY2(asked.message.contains(QStringLiteral("2 entries of the renaming of today")),
                 qPrintable(asked.message));
        QCOMPARE(folder.names(), (NameSet{"a", "b"}));
        QCOMPARE(folder.contentOf("a"), std::string("a"));
        QCOMPARE(finished.lastUndo().outcome, brindleaf::UndoOutcome::Restored);
        QCOMPARE(finished.lastUndo().restored, std::size_t{2});
        QVERIFY(!child<QLabel>(view, "statusLabel")->text().isEmpty());
        settle(view);
        QVERIFY(!undo->isEnabled());
    }

    void interruptedRunIsOfferedForRestoreWhenItsFolderIsShown() {
        TemporaryFolder folder;
        const NameSet originals{"x", "y", "z"};
        QVERIFY(interruptedRunIn(folder));
        QVERIFY(folder.names() != originals);

        ContentView view(realFileSystem(), journalFolder());
        AnsweredAlerts alerts(view.alerts(), declineEvery);
        showFolder(view, folder.path());
        QCOMPARE(alerts.kinds(), QList<Question>{Question::RestoreInterrupted});
        // Not now: the names shown are the interrupted run's, and nothing renames them.
        QVERIFY(!child<QPushButton>(view, "doButton")->isEnabled());
        QCOMPARE(view.session().state().lastRun.state, brindleaf::RecordedRunState::Interrupted);
        QVERIFY(child<QLabel>(view, "problemLabel")->isVisibleTo(&view));

        alerts.answerWith({});
        child<QPushButton>(view, "undoButton")->click();
        waitForRun(view);
        QCOMPARE(alerts.kinds(), (QList<Question>{Question::RestoreInterrupted, Question::Undo}));
        QCOMPARE(folder.names(), originals);
        QCOMPARE(folder.contentOf("y"), std::string("y"));
        settle(view);
        QCOMPARE(rows(view).size(), 3);
        QVERIFY(child<QPushButton>(view, "doButton")->isEnabled());
    }

    // A journal folder others may write to hides no run: the window says so, naming it,
    // and neither renames nor undoes.
    void untrustedJournalFolderIsShownAndRefused() {
        TemporaryFolder folder;
        folder.addFile("a");
        const std::string journals = journalFolder().path();
        std::filesystem::create_directories(journals);
        QCOMPARE(::chmod(journals.c_str(), 0770), 0);
        ContentView view(realFileSystem(), journalFolder());
        showFolder(view, folder.path());
        ::chmod(journals.c_str(), 0700);
        const QString problem = child<QLabel>(view, "problemLabel")->text();
        QVERIFY2(problem.contains(QString::fromStdString(journals)), qPrintable(problem));
        QVERIFY2(problem.contains(QStringLiteral("other users may write to it")),
                 qPrintable(problem));
        QVERIFY(!child<QPushButton>(view, "doButton")->isEnabled());
        QVERIFY(!child<QPushButton>(view, "undoButton")->isEnabled());
        QCOMPARE(folder.names(), NameSet{"a"});
    }

    // A record that tells no entry is offered to be set aside, and nothing moves; one whose
    // entries can be read is offered to give them back.
    void damagedRecordIsOfferedToBeSetAsideOrUndone() {
        for (const bool entriesReadable : {false, true}) {
            TemporaryFolder folder;
            QVERIFY(interruptedRunIn(folder));
            const NameSet halfway = folder.names();
            const brindleaf::JournalFolder journals = journalFolder();
            const std::string journal = journals.path() + "/" + journals.names()->front();
            std::string bytes;
            {
                std::ifstream in(journal, std::ios::binary);
                bytes.assign(std::istreambuf_iterator<char>(in), {});
            }
            bytes[40] = 'X'; // the state line
            if (!entriesReadable) {
                bytes.resize(bytes.find('\n', bytes.find("\nentries ") + 1) + 1);
            }
            std::ofstream(journal, std::ios::binary | std::ios::trunc) << bytes;

            ContentView view(realFileSystem(), journalFolder());
            const AnsweredAlerts alerts(view.alerts());
            showFolder(view, folder.path());
            waitForRun(view);
            QCOMPARE(alerts.kinds(),
                     QList<Question>{entriesReadable ? Question::RestoreFromDamagedRecord
                                                     : Question::SetAsideDamagedRecord});
            const QString details = alerts.asked.front().details;
            if (entriesReadable) {
                // Which entry moved first follows the inode numbers.
                QVERIFY2(details.contains(QStringLiteral("” is now “000")), qPrintable(details));
                QCOMPARE(folder.names(), (NameSet{"x", "y", "z"}));
                QCOMPARE(folder.contentOf("x"), std::string("x"));
            } else {
                QVERIFY(std::filesystem::exists(journal + ".set-aside"));
                QCOMPARE(folder.names(), halfway);
                std::filesystem::remove(journal + ".set-aside");
            }
            settle(view);
            QVERIFY(child<QPushButton>(view, "doButton")->isEnabled());
        }
    }

    // A journal replaced by what cannot be read tells no count of its entries, and the
    // question does not make one up.
    void unreadableRecordDoesNotCountItsEntries() {
        TemporaryFolder folder;
        QVERIFY(interruptedRunIn(folder));
        const brindleaf::JournalFolder journals = journalFolder();
        const std::string journal = journals.path() + "/" + journals.names()->front();
        std::filesystem::remove(journal);
        QCOMPARE(::mkfifo(journal.c_str(), 0600), 0);

        ContentView view(realFileSystem(), journalFolder());
        const AnsweredAlerts alerts(view.alerts());
        showFolder(view, folder.path());
        waitForRun(view);
        QCOMPARE(alerts.kinds(), QList<Question>{Question::SetAsideDamagedRecord});
        const QString asked = alerts.asked.front().message;
        QVERIFY2(asked.contains(QStringLiteral("How many entries it names cannot be told")),
                 qPrintable(asked));
        QVERIFY2(!asked.contains(QStringLiteral("It names 0")), qPrintable(asked));
    }

    // Cancel, closing the progress dialog, the window system's close request (the title
    // bar's button, Alt+F4), SIGTERM at logout, another program destroying the window, or a
    // move that fails during a run: every name goes back first, and only then does the window
    // close, when it was asked to, ending the program as the command line would. A stop that keeps
    // the window says so. A failure's alert waits for the progress dialog to close: under it, it
    // could not be answered. Meanwhile the preview says what is going on, and the disabled fields
    // look disabled.
    void stoppingALongRunRestoresEveryName() {
        enum class Stop { Cancel, CloseDialog, Close, Signal, Failure, WindowGone };
        for (const Stop stop : {Stop::Cancel, Stop::CloseDialog, Stop::Close, Stop::Signal,
                                Stop::Failure, Stop::WindowGone}) {
            TemporaryFolder folder;
            NameSet originals;
            for (int i = 0; i < 300; ++i) {
                const std::string name = "photo " + std::to_string(i) + ".jpg";
                folder.addFile(name);
                originals.insert(name);
            }
            ContentView view(std::make_unique<brindleaf::testing::FaultyFileSystem>(
                                 std::chrono::milliseconds(4), stop == Stop::Failure
                                                                   ? std::set<std::size_t>{200}
                                                                   : std::set<std::size_t>{}),
                             journalFolder());
            QSignalSpy quits(&view, &ContentView::quitRequested);
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            showFolder(view, folder.path());
            bool stopped = false;
            QString hintDuringRun;
            auto* prefix = child<QLineEdit>(view, "prefixField");
            // Once entries have moved, the run is stopped.
            QTimer moved;
            moved.setInterval(10);
            whenShown<QProgressDialog>([&](QProgressDialog* progress) {
                QObject::connect(&moved, &QTimer::timeout, progress, [&, progress] {
                    if (progress->value() == 0) {
                        return;
                    }
                    moved.stop();
                    hintDuringRun =
                        view.preview().rowCount() > 0
                            ? QStringLiteral("rows")
                            : child<brindleaf::PreviewListView>(view, "previewList")->emptyHint();
                    QVERIFY(!prefix->isEnabled() && prefix->text().isEmpty());
                    const QPalette& colors = prefix->palette();
                    const QColor base = colors.color(QPalette::Disabled, QPalette::Base);
                    QVERIFY(contrastOn(colors.color(QPalette::Disabled, QPalette::PlaceholderText),
                                       base) <
                            contrastOn(colors.color(QPalette::Disabled, QPalette::Text), base));
                    stopped = true;
                    switch (stop) {
                    case Stop::Cancel:
                        progress->cancel();
                        break;
                    case Stop::CloseDialog:
                        progress->close();
                        break;
                    case Stop::Close:
                        QWindowSystemInterface::handleCloseEvent<
                            QWindowSystemInterface::SynchronousDelivery>(view.windowHandle());
                        break;
                    case Stop::Signal:
                        ::raise(SIGTERM);
                        break;
                    case Stop::Failure:
                        break;
                    case Stop::WindowGone:
                        windowSystemDestroys(view);
                        break;
                    }
                });
                moved.start();
            });
            const FinishedRuns finished(view);
            QString alert;
            view.alerts().takeFailuresWith([&](const QString& description) {
                const auto* progress = view.findChild<QProgressDialog*>();
                alert = progress != nullptr && progress->isVisible() ? QString() : description;
            });
            view.renameFiles();
            waitForRun(view);
            QVERIFY(stopped);
            QCOMPARE(hintDuringRun, QStringLiteral("Renaming…"));
            QCOMPARE(folder.names(), originals);
            QCOMPARE(folder.contentOf("photo 7.jpg"), std::string("photo 7.jpg"));
            const bool stays =
                stop != Stop::Close && stop != Stop::Signal && stop != Stop::WindowGone;
            if (stays) {
                settle(view);
                QCOMPARE(view.preview().rowCount(), 300);
                QCOMPARE(child<brindleaf::PreviewListView>(view, "previewList")->emptyHint(),
                         QStringLiteral("This folder is empty"));
                const brindleaf::RunReport report = finished.lastRename();
                QCOMPARE(report.outcome, stop == Stop::Failure ? brindleaf::RunOutcome::Failed
                                                               : brindleaf::RunOutcome::Cancelled);
                QVERIFY(stop != Stop::Failure ||
                        (!report.failures.empty() &&
                         report.failures.front().code == std::errc::io_error));
            }
            QCOMPARE(view.isVisible(), stays);
            // The failure is alerted, once the progress dialog has gone.
            QCOMPARE(!alert.isEmpty(), stop == Stop::Failure);
            const QList<QVariant> exitCodes =
                stays ? QList<QVariant>{}
                      : QList<QVariant>{stop == Stop::Signal ? 128 + SIGTERM : 0};
            QCOMPARE(quits.size() == 1 ? quits.front() : QList<QVariant>{}, exitCodes);
        }
    }

    // A stop whose taking back of a move fails says that not every name is back, and how
    // many are not; the alert names them.
    void stopThatCannotPutEveryNameBackSaysHowMany() {
        // Slow moves, of which the first that takes an entry back to its original name fails.
        // The moves are made on the run's own thread, which alone reads what is here.
        class FirstMoveBackFails final : public brindleaf::testing::ForwardingFileSystem {
        public:
            explicit FirstMoveBackFails(NameSet originals) : originals_(std::move(originals)) {}
            brindleaf::MoveResult move(const brindleaf::UniqueFd& folder, const std::string& from,
                                       const std::string& to) override {
                std::this_thread::sleep_for(std::chrono::milliseconds(4));
                if (originals_.contains(to) && !failed_) {
                    failed_ = true;
                    return {std::make_error_code(std::errc::io_error)};
                }
                return ForwardingFileSystem::move(folder, from, to);
            }

        private:
            NameSet originals_;
            bool failed_ = false;
        };
        TemporaryFolder folder;
        NameSet originals;
        for (int i = 0; i < 300; ++i) {
            const std::string name = "photo " + std::to_string(i) + ".jpg";
            folder.addFile(name);
            originals.insert(name);
        }
        ContentView view(std::make_unique<FirstMoveBackFails>(originals), journalFolder());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        showFolder(view, folder.path());
        const AnsweredAlerts alerts(view.alerts());
        const FinishedRuns finished(view);
        QTimer moved;
        moved.setInterval(10);
        whenShown<QProgressDialog>([&](QProgressDialog* progress) {
            QObject::connect(&moved, &QTimer::timeout, progress, [&, progress] {
                if (progress->value() > 0) {
                    moved.stop();
                    progress->cancel();
                }
            });
            moved.start();
        });
        view.renameFiles();
        waitForRun(view);
        QCOMPARE(alerts.failures.size(), 1);
        const auto& failures = finished.lastRename().failures;
        const auto stop = std::ranges::find(failures, brindleaf::ErrorKind::StoppedUnfinished,
                                            &brindleaf::Error::kind);
        QVERIFY(stop != failures.end());
        QCOMPARE(stop->notRestored.size(), std::size_t{1});
        // In words, with the singular the count calls for.
        QCOMPARE(child<QLabel>(view, "statusLabel")->text(),
                 QStringLiteral("Stopped; 1 entry could not be given its name back; Undo can try "
                                "again."));
    }

    // The confirmation counts the entries renamed and those left out, and every count the
    // window shows groups its digits as the language does.
    void countsSayWhatIsRenamedAndLeftOutInGroupedDigits() {
        TemporaryFolder folder;
        for (int i = 0; i < 1000; ++i) {
            folder.addFile("p" + std::to_string(i) + ".jpg");
        }
        folder.addFile("notes.txt");
        // Slow enough for the progress dialog to show.
        ContentView view(
            std::make_unique<brindleaf::testing::FaultyFileSystem>(std::chrono::milliseconds(1)),
            journalFolder());
        showFolder(view, folder.path());
        QTest::keyClicks(child<QLineEdit>(view, "onlyExtensionsField"), QStringLiteral("jpg"));
        settle(view);
        const QString summary = child<QLabel>(view, "summaryLabel")->text();
        QVERIFY2(summary.startsWith(QStringLiteral("1,001 entries")) &&
                     summary.contains(QStringLiteral("1 left out")),
                 qPrintable(summary));
        const AnsweredAlerts alerts(view.alerts());
        QString progressText;
        keepProgressCount(progressText);
        child<QPushButton>(view, "doButton")->click();
        waitForRun(view);
        QVERIFY2(progressText.endsWith(QStringLiteral(" of 1,000 entries")),
                 qPrintable(progressText));
        QCOMPARE(alerts.kinds(), QList<Question>{Question::Rename});
        QCOMPARE(alerts.asked.front().details,
                 QStringLiteral("1,000 entries in “%1” get new names. 1 entry is "
                                "left out and keeps its name.")
                     .arg(QString::fromStdString(folder.path())));
        QCOMPARE(child<QLabel>(view, "statusLabel")->text(),
                 QStringLiteral("Renamed 1,000 entries."));
        QVERIFY(folder.names().contains("notes.txt"));
    }

    // A restore moves names toward the user's own: stopped, it keeps those it gave back,
    // says how many, and Undo gives back the rest. A signal still ends the program.
    void stoppingARestoreKeepsWhatItGaveBackAndSaysSo() {
        enum class Stop { Cancel, Signal };
        for (const Stop stop : {Stop::Cancel, Stop::Signal}) {
            TemporaryFolder folder;
            NameSet originals;
            for (int i = 0; i < 300; ++i) {
                const std::string name = "photo " + std::to_string(i) + ".jpg";
                folder.addFile(name);
                originals.insert(name);
            }
            brindleaf::Settings settings;
            settings.targetDir = folder.path();
            // Every move goes straight to a new name: 250 entries renamed, 50 not.
            QVERIFY(brindleaf::testing::renameKilledAtMove(settings, journalFolder(), 251));
            const auto namesBack = [&] {
                int back = 0;
                for (const std::string& name : folder.names()) {
                    back += originals.contains(name) ? 1 : 0;
                }
                return back;
            };
            QCOMPARE(namesBack(), 50);

            ContentView view(std::make_unique<brindleaf::testing::FaultyFileSystem>(
                                 std::chrono::milliseconds(4)),
                             journalFolder());
            QSignalSpy quits(&view, &ContentView::quitRequested);
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            whenShown<QProgressDialog>([&](QProgressDialog* progress) {
                QTimer::singleShot(100, progress, [&, progress] {
                    if (stop == Stop::Cancel) {
                        progress->cancel();
                    } else {
                        ::raise(SIGTERM);
                    }
                });
            });
            const AnsweredAlerts alerts(view.alerts());
            const FinishedRuns finished(view);
            view.setTargetDir(localUrl(folder.path()));
            QVERIFY(QTest::qWaitFor([&] { return quits.size() == 1 || !alerts.failures.isEmpty(); },
                                    20000));
            const int back = namesBack();
            QVERIFY2(back > 50 && back < 300, qPrintable(QString::number(back)));
            if (stop == Stop::Signal) {
                QCOMPARE(quits.front(), QList<QVariant>{128 + SIGTERM});
                continue;
            }
            QCOMPARE(alerts.failures.size(), 1);
            QCOMPARE(finished.lastUndo().outcome, brindleaf::UndoOutcome::Cancelled);
            QCOMPARE(finished.lastUndo().restored, static_cast<std::size_t>(back - 50));
            QCOMPARE(finished.lastUndo().toRestore, std::size_t{250});
            settle(view);
            QVERIFY(!child<QPushButton>(view, "doButton")->isEnabled());
            child<QPushButton>(view, "undoButton")->click();
            waitForRun(view);
            QCOMPARE(folder.names(), originals);
            QCOMPARE(folder.contentOf("photo 7.jpg"), std::string("photo 7.jpg"));
        }
    }

    // An undo that stopped, failed on a move, or could not be recorded says how many names
    // are back, and never that every entry is where the undo found it.
    void unfinishedUndoSaysHowManyNamesAreBack() {
        struct Case {
            brindleaf::UndoOutcome outcome;
            bool notRecorded;
            std::size_t restored;
            std::size_t toRestore;
            QString says;
        };
        const std::vector<Case> cases{
            {brindleaf::UndoOutcome::Failed, true, 19998, 20000,
             QStringLiteral("19,998 of 20,000 entries are back")},
            {brindleaf::UndoOutcome::Failed, true, 20000, 20000,
             QStringLiteral("All 20,000 entries are back")},
            {brindleaf::UndoOutcome::Cancelled, false, 3, 8, QStringLiteral("3 of 8 entries")},
        };
        for (const Case& test : cases) {
            brindleaf::UndoReport report;
            report.outcome = test.outcome;
            report.notRecorded = test.notRecorded;
            report.restored = test.restored;
            report.toRestore = test.toRestore;
            report.error = std::make_error_code(std::errc::no_space_on_device);
            bool succeeded = true;
            const QString text = brindleaf::UndoMessages::outcome(report, succeeded);
            QVERIFY(!succeeded);
            QVERIFY2(text.contains(test.says), qPrintable(text));
            QVERIFY2(!text.contains(QStringLiteral("Every entry is back")), qPrintable(text));
            QVERIFY2(!text.contains(QStringLiteral("Nothing was changed")), qPrintable(text));
        }
    }

    // Rename… shows the run's progress at once, and its count before the first move, while
    // the window goes on answering.
    void progressShowsBeforeTheFirstMove() {
        TemporaryFolder folder;
        for (const char* name : {"b", "a", "c"}) {
            folder.addFile(name);
        }
        auto gated = std::make_unique<brindleaf::testing::GatedFileSystem>();
        brindleaf::testing::GatedFileSystem& gate = *gated;
        ContentView view(std::move(gated), journalFolder());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        showFolder(view, folder.path());
        const AnsweredAlerts alerts(view.alerts());
        const FinishedRuns finished(view);
        child<QPushButton>(view, "doButton")->click();
        const auto* progress = view.findChild<QProgressDialog*>();
        QVERIFY(progress != nullptr && progress->isVisible());
        QVERIFY(!child<QPushButton>(view, "openButton")->isEnabled());
        QTRY_COMPARE(progress->maximum(), 3);
        QCOMPARE(progress->value(), 0);
        QVERIFY2(progress->labelText().contains(QStringLiteral("0 of 3")),
                 qPrintable(progress->labelText()));
        QCOMPARE(gate.movesMade(), std::size_t{0});
        QCOMPARE(folder.names(), (NameSet{"a", "b", "c"}));
        gate.open();
        waitForRun(view);
        QCOMPARE(folder.names(), (NameSet{"0001", "0002", "0003"}));
        QVERIFY(view.findChild<QProgressDialog*>() == nullptr);
        QVERIFY(child<QPushButton>(view, "openButton")->isEnabled());
        QCOMPARE(finished.lastRename().outcome, brindleaf::RunOutcome::Renamed);
        QCOMPARE(finished.lastRename().moved, std::size_t{3});
    }

    // A folder that changed after its preview is never renamed by a plan nobody saw.
    void folderChangedBeforeOkIsShownAndAskedAgain() {
        TemporaryFolder folder;
        folder.addFile("b");
        folder.addFile("a");
        ContentView view(realFileSystem(), journalFolder());
        showFolder(view, folder.path());
        const AnsweredAlerts alerts(view.alerts(), [&](const brindleaf::Asked& question) {
            if (question.kind != Question::Rename) {
                return false;
            }
            folder.addFile("0"); // lands before the watcher's settle time is over
            return true;
        });
        child<QPushButton>(view, "doButton")->click();
        waitForRun(view);
        QCOMPARE(alerts.kinds(), (QList<Question>{Question::Rename, Question::RenameAfterChange}));
        QCOMPARE(folder.names(), (NameSet{"0", "a", "b"}));
        settle(view);
        QCOMPARE(rows(view).size(), 3);
    }

    // The engine's own check, shown while typing: the field at fault, the reason, and no
    // Rename… until the names can be given.
    void unusableNamesShowWhileTypingAndDisableRename() {
        TemporaryFolder folder;
        folder.addFile("a");
        ContentView view(realFileSystem(), journalFolder());
        showFolder(view, folder.path());
        auto* doButton = child<QPushButton>(view, "doButton");
        auto* problem = child<QLabel>(view, "problemLabel");
        struct Case {
            const char* field;
            QString text;
            QString restored;
            const char* words;
        };
        for (const Case& test :
             {Case{"prefixField", QStringLiteral("Trip/"), QString(), "“/”"},
              Case{"digitsField", QStringLiteral("999"), QStringLiteral("4"), "248 bytes"},
              Case{"postfixField", QString(245, QLatin1Char('x')), QString(), "248 bytes"}}) {
            auto* field = child<QLineEdit>(view, test.field);
            retype(field, test.text);
            QVERIFY(!doButton->isEnabled());
            QVERIFY2(problem->text().contains(QString::fromUtf8(test.words)),
                     qPrintable(problem->text()));
            QVERIFY(field->property("refused").toBool());
            retype(field, test.restored);
            QVERIFY(doButton->isEnabled());
            QVERIFY(problem->isHidden());
            QVERIFY(!field->property("refused").toBool());
        }
    }

    // Runs last: it leaves German installed. The engine's failures and Qt's own buttons speak
    // the window's language too.
    void germanWindowSpeaksGermanThroughout() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        brindleaf::installTranslations(*QCoreApplication::instance());
        TemporaryFolder folder;
        ContentView view(realFileSystem(), journalFolder());
        QCOMPARE(child<QPushButton>(view, "doButton")->text(), QStringLiteral("&Umbenennen…"));
        QStringList buttons;
        whenShown<QMessageBox>([&](QMessageBox* question) {
            for (const QAbstractButton* button : question->buttons()) {
                buttons.append(button->text());
            }
            QTest::keyClick(question, Qt::Key_Escape);
        });
        child<QPushButton>(view, "doButton")->click();
        QVERIFY2(buttons.contains(QStringLiteral("Abbrechen")), qPrintable(buttons.join(',')));

        // Counts group their digits the German way, and no placeholder is cut off.
        for (int i = 0; i < 1000; ++i) {
            folder.addFile(std::to_string(i));
        }
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        showFolder(view, folder.path());
        const QString summary = child<QLabel>(view, "summaryLabel")->text();
        QVERIFY2(summary.startsWith(QStringLiteral("1.000 Einträge")), qPrintable(summary));
        for (const QLineEdit* field : view.findChildren<QLineEdit*>()) {
            QVERIFY2(placeholderFits(field), qPrintable(field->placeholderText()));
        }

        const AnsweredAlerts alerts(view.alerts());
        showFolder(view, folder.pathOf("gone"));
        QCOMPARE(alerts.failures.size(), 1);
        QVERIFY2(alerts.failures[0].contains(QStringLiteral("kann nicht gelesen werden")),
                 qPrintable(alerts.failures[0]));
    }
};

QTEST_MAIN(ContentViewTest)
#include "ContentViewTest.moc"
