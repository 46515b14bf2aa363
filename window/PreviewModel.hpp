#pragma once

#include "engine/NameFormat.hpp"
#include "engine/Ordering.hpp"

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
    // Beside the display text, which stays "original\t\t->\t\trenamed" for assistive
    // technology, the parts a delegate lays out in columns.
    enum Role {
        OriginalRole = Qt::UserRole,
        RenamedRole,
        IsFolderRole,
    };

    explicit PreviewModel(QObject* parent = nullptr);

    // The listing, already in preview order.
    void setListing(ListedNames listing);
    void setFormat(const NameFormat& format);
    [[nodiscard]] const NameFormat& format() const { return format_; }
    // Hands the listing over and leaves the preview empty.
    [[nodiscard]] ListedNames takeListing();
    [[nodiscard]] const ListedNames& listing() const { return listing_; }

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

private:
    [[nodiscard]] bool isFolder(std::size_t position) const {
        return position < listing_.folders.size() && listing_.folders[position] != 0;
    }

    ListedNames listing_;
    NameFormat format_;
};

} // namespace brindleaf
