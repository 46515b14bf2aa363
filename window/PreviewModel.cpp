#include "window/PreviewModel.hpp"

#include <QFile>

#include <utility>

namespace brindleaf {

PreviewModel::PreviewModel(QObject* parent) : QAbstractListModel(parent), format_(Settings{}) {}

void PreviewModel::setNames(std::vector<std::string> names) {
    beginResetModel();
    names_ = std::move(names);
    endResetModel();
}

std::vector<std::string> PreviewModel::takeNames() {
    beginResetModel();
    std::vector<std::string> names = std::exchange(names_, {});
    endResetModel();
    return names;
}

void PreviewModel::setFormat(const NameFormat& format) {
    format_ = format;
    if (!names_.empty()) {
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole});
    }
}

int PreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole) {
        return {};
    }
    return rowText(pairAt(index.row()));
}

OriginalRenamedPair PreviewModel::pairAt(int row) const {
    const auto position = static_cast<std::size_t>(row);
    return {names_[position], format_.renamedAt(position).value_or(std::string{})};
}

QString PreviewModel::rowText(const OriginalRenamedPair& pair) {
    return QFile::decodeName(QByteArray::fromStdString(pair.original)) +
           QStringLiteral("\t\t->\t\t") +
           QFile::decodeName(QByteArray::fromStdString(pair.renamed));
}

} // namespace brindleaf
