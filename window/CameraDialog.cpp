#include "window/CameraDialog.hpp"

#include "window/CameraListModel.hpp"
#include "window/CameraPictures.hpp"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace brindleaf {

namespace {

// Until its picture comes, and when it has none, a camera shows a file's icon, half the
// picture's size, where the picture goes: the names stay in line.
QIcon placeholderIcon(const QWidget& dialog) {
    const int side = CameraPictures::pictureSide;
    QPixmap square(QSize(side, side) * dialog.devicePixelRatioF());
    square.setDevicePixelRatio(dialog.devicePixelRatioF());
    square.fill(Qt::transparent);
    QPainter painter(&square);
    dialog.style()
        ->standardIcon(QStyle::SP_FileIcon, nullptr, &dialog)
        .paint(&painter, QRect(side / 4, side / 4, side / 2, side / 2));
    painter.end();
    return QIcon(square);
}

// A row holds its picture with a little room above and below.
constexpr int rowPadding = 3;

} // namespace

CameraDialog::CameraDialog(QWidget* parent)
    : QDialog(parent), cameras_(new CameraListModel(this)), table_(new QTableView(this)),
      problemLabel_(new QLabel(this)),
      pictures_(new CameraPictures(placeholderIcon(*this), defaultThumbnailFolder(), this)) {
    cameras_->setPictures(pictures_);
    setObjectName(QStringLiteral("cameraDialog"));
    setWindowTitle(tr("Cameras"));
    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QLabel(
        tr("A photo without a time zone of its own is read in the zone given for its camera, "
           "else in this computer's. A clock correction sets a camera's clock right. Only the "
           "order uses them: no file is changed."),
        this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    table_->setObjectName(QStringLiteral("cameraTable"));
    table_->setModel(cameras_);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    table_->setWordWrap(false);
    table_->setIconSize(QSize(CameraPictures::pictureSide, CameraPictures::pictureSide));
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(CameraPictures::pictureSide + 2 * rowPadding);
    layout->addWidget(table_, 1);
    connect(cameras_, &QAbstractItemModel::modelReset, this, &CameraDialog::fitTable);

    problemLabel_->setObjectName(QStringLiteral("cameraProblemLabel"));
    problemLabel_->setWordWrap(true);
    problemLabel_->setStyleSheet(QStringLiteral("QLabel { color: #c0392b; }"));
    problemLabel_->hide();
    layout->addWidget(problemLabel_);
    connect(cameras_, &CameraListModel::valueRefused, this, &CameraDialog::showRefusal);
    connect(cameras_, &CameraListModel::clocksEdited, this, [this] { problemLabel_->hide(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(980, 320);
}

void CameraDialog::fitTable() {
    table_->resizeColumnsToContents();
    // Wide enough to show every column whole, within the screen.
    // The last column stretches: its title is its widest text.
    const int last = cameras_->columnCount() - 1;
    int columns = table_->horizontalHeader()->sectionSizeHint(last);
    for (int column = 0; column < last; ++column) {
        columns += table_->columnWidth(column);
    }
    const QMargins margins = layout()->contentsMargins();
    const int wanted = columns + 2 * table_->frameWidth() + margins.left() + margins.right() +
                       table_->verticalScrollBar()->sizeHint().width();
    const QScreen* shown = screen();
    const int room = shown != nullptr ? shown->availableGeometry().width() : wanted;
    resize(std::max(width(), std::min(wanted, room)), height());
    // Tall enough to show every camera, as there are seldom more than a few: the text above
    // wraps at the width just set.
    const int rows = table_->horizontalHeader()->sizeHint().height() +
                     cameras_->rowCount() * table_->verticalHeader()->defaultSectionSize() +
                     2 * table_->frameWidth();
    const int wantedHeight =
        layout()->totalHeightForWidth(width()) - table_->sizeHint().height() + rows;
    const int roomHeight = shown != nullptr ? shown->availableGeometry().height() : wantedHeight;
    resize(width(), std::max(height(), std::min(wantedHeight, roomHeight)));
}

void CameraDialog::showRefusal(const QString& message) {
    problemLabel_->setText(message);
    problemLabel_->show();
}

} // namespace brindleaf
