#include "session/PreviewModel.hpp"

#include "session/NameText.hpp"

#include "engine/Plan.hpp"

#include <QDateTime>
#include <QFile>
#include <QLocale>

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
        return dateData(position, role);
    case NameBytesRole:
        return QByteArray::fromStdString(name);
    default:
        return {};
    }
}

QVariant PreviewModel::dateData(std::size_t position, int role) const {
    if (order_ == Order::Name || position >= listing_.dates.size()) {
        return {};
    }
    const EntryDate& date = listing_.dates[position];
    if (role == DateFellBackRole) {
        return order_ == Order::Taken && !date.taken;
    }
    constexpr std::int64_t nanosecondsPerMillisecond = 1'000'000;
    const QDateTime used =
        QDateTime::fromMSecsSinceEpoch(dateUsed(date, order_) / nanosecondsPerMillisecond);
    return QLocale().toString(used, QLocale::ShortFormat);
}

} // namespace brindleaf
