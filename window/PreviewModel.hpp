#pragma once

#include "engine/NameFormat.hpp"

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace brindleaf {

// The preview's rows: the folder's ordered names, each paired with its new name. New names
// are computed only for the rows a view asks for, so a new format costs the same for ten
// entries as for a million.
class PreviewModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit PreviewModel(QObject* parent = nullptr);

    // The names, already in preview order.
    void setNames(std::vector<std::string> names);
    void setFormat(const NameFormat& format);
    // Hands the names over and leaves the preview empty.
    [[nodiscard]] std::vector<std::string> takeNames();
    [[nodiscard]] const std::vector<std::string>& names() const { return names_; }

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<std::string> names_;
    NameFormat format_;
};

} // namespace brindleaf
