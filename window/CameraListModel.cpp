#include "window/CameraListModel.hpp"

#include "session/DateText.hpp"
#include "window/CameraPictures.hpp"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <string_view>

namespace brindleaf {

CameraListModel::CameraListModel(QObject* parent) : QAbstractTableModel(parent) {}

void CameraListModel::show(std::vector<CameraSummary> cameras, std::vector<CameraClock> clocks) {
    clocks_ = std::move(clocks);
    const bool sameCameras =
        std::ranges::equal(cameras, cameras_, {}, &CameraSummary::name, &CameraSummary::name);
    if (!sameCameras) {
        beginResetModel();
        cameras_ = std::move(cameras);
        endResetModel();
        return;
    }
    cameras_ = std::move(cameras);
    if (!cameras_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    }
}

void CameraListModel::setPictures(CameraPictures* pictures) {
    pictures_ = pictures;
    connect(pictures_, &CameraPictures::pictureMade, this, [this](const std::string& camera) {
        const auto shown = std::ranges::find(cameras_, camera, &CameraSummary::name);
        if (shown != cameras_.end()) {
            const QModelIndex cell = index(static_cast<int>(shown - cameras_.begin()), Name);
            emit dataChanged(cell, cell, {Qt::DecorationRole});
        }
    });
}

int CameraListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(cameras_.size());
}

int CameraListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const CameraClock* CameraListModel::clockOf(const std::string& camera) const {
    const auto clock = std::ranges::find(clocks_, camera, &CameraClock::camera);
    return clock == clocks_.end() ? nullptr : &*clock;
}

QString CameraListModel::zoneSource(const CameraSummary& camera) const {
    if (camera.givenZone) {
        return camera.withoutOffsetTags < camera.entries
                   ? tr("its offset tags; without them, the zone given")
                   : tr("the zone given");
    }
    if (camera.inComputerZone == 0) {
        return tr("its offset tags");
    }
    QStringList offsets;
    for (const std::int32_t east : camera.computerOffsets) {
        offsets.append(DateText::offset(east));
    }
    const QString none =
        tr("none: read as this computer's zone, %1").arg(offsets.join(QStringLiteral(", ")));
    if (camera.inComputerZone == camera.entries) {
        return none;
    }
    const QLocale locale;
    return tr("%1 (%2 of %3 entries; the others by their offset tags)")
        .arg(none, locale.toString(static_cast<qulonglong>(camera.inComputerZone)),
             locale.toString(static_cast<qulonglong>(camera.entries)));
}

QVariant CameraListModel::displayed(const CameraSummary& camera, int column) const {
    const CameraClock* clock = clockOf(camera.name);
    switch (column) {
    case Name:
        return QString::fromStdString(camera.name);
    case Entries:
        return QLocale().toString(static_cast<qulonglong>(camera.entries));
    case First:
        return DateText::shown(camera.first, Order::Taken);
    case Last:
        return DateText::shown(camera.last, Order::Taken);
    case ZoneSource:
        return zoneSource(camera);
    case Zone:
        return clock != nullptr ? QString::fromStdString(clock->zone) : QString();
    case Shift:
        return clock != nullptr ? QString::fromStdString(clock->shift) : QString();
    default:
        return {};
    }
}

QVariant CameraListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const CameraSummary& camera = cameras_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return displayed(camera, index.column());
    case Qt::DecorationRole:
        return index.column() == Name && pictures_ != nullptr
                   ? QVariant(pictures_->iconOf(camera.name))
                   : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == Entries ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::ToolTipRole:
        if (index.column() == Zone) {
            return tr("The zone this camera's clock was set to, such as +01:00, -05:30 or UTC; "
                      "a zone written in a photo still wins");
        }
        if (index.column() == Shift) {
            return tr("How far to set this camera's clock right, such as -0:03:12");
        }
        if (index.column() == Name && pictures_ != nullptr) {
            return tr("The picture is of the first photo this camera took, or of its first "
                      "video when it took none");
        }
        return {};
    default:
        return {};
    }
}

QVariant CameraListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case Name:
        return tr("Camera");
    case Entries:
        return tr("Entries");
    case First:
        return tr("First taken");
    case Last:
        return tr("Last taken");
    case ZoneSource:
        return tr("Time zone from");
    case Zone:
        return tr("Time zone");
    case Shift:
        return tr("Clock correction");
    default:
        return {};
    }
}

Qt::ItemFlags CameraListModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == Zone || index.column() == Shift ? flags | Qt::ItemIsEditable : flags;
}

bool CameraListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount() ||
        (index.column() != Zone && index.column() != Shift)) {
        return false;
    }
    const std::string typed = value.toString().trimmed().toStdString();
    const bool isZone = index.column() == Zone;
    if (!typed.empty() && isZone && !parseZone(typed)) {
        emit valueRefused(tr("A time zone is written as +01:00, -05:30 or UTC, not “%1”.")
                              .arg(QString::fromStdString(typed)));
        return false;
    }
    if (!typed.empty() && !isZone && !parseShift(typed)) {
        emit valueRefused(
            tr("A clock correction is written as -0:03:12 or +1:00:00 (hours, minutes, "
               "seconds), not “%1”.")
                .arg(QString::fromStdString(typed)));
        return false;
    }
    const std::string& camera = cameras_[static_cast<std::size_t>(index.row())].name;
    auto clock = std::ranges::find(clocks_, camera, &CameraClock::camera);
    const std::string_view current = clock == clocks_.end() ? std::string_view{}
                                     : isZone               ? clock->zone
                                                            : clock->shift;
    if (current == typed) {
        return true;
    }
    if (clock == clocks_.end()) {
        clock = clocks_.insert(clocks_.end(), CameraClock{camera, {}, {}});
    }
    (isZone ? clock->zone : clock->shift) = typed;
    if (clock->zone.empty() && clock->shift.empty()) {
        clocks_.erase(clock);
    }
    emit dataChanged(index, index);
    emit clocksEdited(clocks_);
    return true;
}

} // namespace brindleaf
