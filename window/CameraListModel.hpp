#pragma once

#include "engine/Cameras.hpp"
#include "engine/Settings.hpp"

#include <QAbstractTableModel>

#include <vector>

namespace brindleaf {

class CameraPictures;

// A folder's cameras as a table: each camera's name, how many entries it took, its first
// and last date taken, where its time zone comes from, and the zone and clock correction
// the user gives it, which are edited in place, and a picture of the camera's photos
// beside its name. It needs no widget.
class CameraListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Name, Entries, First, Last, ZoneSource, Zone, Shift, ColumnCount };

    explicit CameraListModel(QObject* parent = nullptr);

    // The folder's cameras, as summarizeCameras() gives them, and the clocks set for them.
    // The same cameras as before only change their rows' texts, so that an edit in progress
    // stays open.
    void show(std::vector<CameraSummary> cameras, std::vector<CameraClock> clocks);
    [[nodiscard]] const std::vector<CameraClock>& clocks() const { return clocks_; }
    [[nodiscard]] const std::vector<CameraSummary>& cameras() const { return cameras_; }
    // Each camera's name is shown beside its picture from `pictures`, which must outlive
    // the model.
    void setPictures(CameraPictures* pictures);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A zone or a correction as typed; one that does not parse is refused, and said why.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // A camera's zone or correction changed: the order is to follow `clocks`.
    void clocksEdited(const std::vector<CameraClock>& clocks);
    // A typed value was refused, for the reason `message` gives.
    void valueRefused(const QString& message);

private:
    [[nodiscard]] const CameraClock* clockOf(const std::string& camera) const;
    [[nodiscard]] QString zoneSource(const CameraSummary& camera) const;
    [[nodiscard]] QVariant displayed(const CameraSummary& camera, int column) const;

    std::vector<CameraSummary> cameras_;
    std::vector<CameraClock> clocks_;
    CameraPictures* pictures_ = nullptr;
};

} // namespace brindleaf
