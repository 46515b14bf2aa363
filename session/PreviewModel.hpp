#pragma once

#include "engine/NameFormat.hpp"
#include "engine/Ordering.hpp"

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace brindleaf {

// The preview's rows: the folder's ordered names, each paired with its new name. New names
// are computed only for the rows a view asks for, so a new format costs the same for ten
// entries as for a million. The listing and the format are its owner's, who tells the model
// when either changes.
class PreviewModel : public QAbstractListModel {
    Q_OBJECT

public:
    // Beside the display text, which stays "original\t\t->\t\trenamed" for assistive
    // technology, the parts a delegate lays out in columns.
    enum Role {
        OriginalRole = Qt::UserRole,
        RenamedRole,
        IsFolderRole,
        // Left out of the numbering: the entry keeps its name.
        IsLeftOutRole,
        // While numbering by a date, the date the entry is numbered by (its group's, for
        // related files) in words, and whether it is the modified time standing in for a
        // missing date taken.
        DateRole,
        DateFellBackRole,
        // The entry's name as the file system holds it: bytes, which need not be text.
        NameBytesRole,
        // While numbering by date taken, the camera that took the entry.
        CameraRole,
    };

    // `listing`, already in preview order, and `format` must outlive the model.
    PreviewModel(const ListedNames& listing, const NameFormat& format, QObject* parent = nullptr);

    // Changes the listing by calling `change`, with the views told before and after.
    template <typename Change> void changeListing(Change&& change) {
        beginResetModel();
        change();
        endResetModel();
    }
    // Every new name may have changed.
    void formatChanged();
    // The order the listing was arranged in, which tells which of its dates to show.
    void setOrder(Order order) { order_ = order; }
    // Whether the rows have dates to show: the listing is numbered by them.
    [[nodiscard]] bool showsDates() const {
        return order_ != Order::Name && !listing_.dates.empty();
    }
    // Whether the rows have cameras to show: the listing is numbered by dates taken.
    [[nodiscard]] bool showsCameras() const {
        return order_ == Order::Taken && !listing_.dates.empty();
    }

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

private:
    [[nodiscard]] bool isFolder(std::size_t position) const {
        return position < listing_.folders.size() && listing_.folders[position] != 0;
    }

    [[nodiscard]] QVariant dateData(std::size_t position, int role) const;

    const ListedNames& listing_;
    const NameFormat& format_;
    Order order_ = Order::Name;
};

} // namespace brindleaf
