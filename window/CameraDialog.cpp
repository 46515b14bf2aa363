#include "window/CameraDialog.hpp"

#include "window/CameraListModel.hpp"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace brindleaf {

CameraDialog::CameraDialog(QWidget* parent)
    : QDialog(parent), cameras_(new CameraListModel(this)), table_(new QTableView(this)),
      problemLabel_(new QLabel(this)) {
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
    layout->addWidget(table_, 1);
    connect(cameras_, &QAbstractItemModel::modelReset, this, &CameraDialog::fitColumns);

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

void CameraDialog::fitColumns() {
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
}

void CameraDialog::showRefusal(const QString& message) {
    problemLabel_->setText(message);
    problemLabel_->show();
}

} // namespace brindleaf
