#include "session/PreviewModel.hpp"

#include "session/DateText.hpp"
#include "session/NameText.hpp"

#include "engine/Plan.hpp"

#include <QFile>

#include <string_view>
#include <utility>

namespace brindleaf {

namespace {

// What a row reads as: both names joined by "\t\t->\t\t".
QString rowText(std::string_view original, std::string_view renamed) {
    return decodedName(original) + QStringLiteral("\t\t->\t\t") + decodedName(renamed);
}

} // namespace

PreviewModel::PreviewModel(const ListedNames& listing, const NameFormat& format, QObject* parent)
    : QAbstractListModel(parent), listing_(listing), format_(format) {}

void PreviewModel::formatChanged() {
    if (!listing_.names.empty()) {
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole});
    }
}

int PreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(listing_.names.size());
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const auto position = static_cast<std::size_t>(index.row());
    const std::string& name = listing_.names[position];
    const auto renamed = [&] {
        return listing_.newNameAt(format_, position);
    };
    switch (role) {
    case Qt::DisplayRole:
        return rowText(name, renamed());
    case OriginalRole:
        return decodedName(name);
    case RenamedRole:
        return decodedName(renamed());
    case IsFolderRole:
        return isFolder(position);
    case IsLeftOutRole:
        return !listing_.arrangement.isNumbered(position);
    case DateRole:
    case DateFellBackRole:
    case CameraRole:
        return dateData(position, role);
    case NameBytesRole:
        return QByteArray::fromStdString(name);
    default:
        return {};
    }
}

QVariant PreviewModel::dateData(std::size_t position, int role) const {
    const DatesUsed& shown = listing_.shown;
    if (order_ == Order::Name || position >= shown.dates.size()) {
        return {};
    }
    const UsedDate& date = shown.dates[position];
    switch (role) {
    case DateFellBackRole:
        return order_ == Order::Taken && date.source == DateSource::Modified;
    case CameraRole:
        return QString::fromStdString(shown.cameras[position]);
    default:
        return DateText::shown(date, order_);
    }
}

} // namespace brindleaf
