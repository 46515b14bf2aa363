#pragma once

#include <QDialog>

class QLabel;
class QTableView;

namespace brindleaf {

class CameraListModel;
class CameraPictures;

// The folder's cameras, each with the zone its clock was set to and a correction for a
// clock that was off, typed in the table. Every change reorders the preview behind it at
// once; files are never written. Each camera shows a picture of the photo it took first.
class CameraDialog : public QDialog {
    Q_OBJECT

public:
    explicit CameraDialog(QWidget* parent = nullptr);

    [[nodiscard]] CameraListModel* cameras() const { return cameras_; }
    [[nodiscard]] QTableView* table() const { return table_; }
    // The pictures the cameras are shown with, whatever the preview's own pictures do: the
    // list is opened on demand and holds a few rows, and a picture tells cameras apart
    // faster than their names.
    [[nodiscard]] CameraPictures* pictures() const { return pictures_; }

private:
    void fitTable();
    void showRefusal(const QString& message);

    CameraListModel* cameras_;
    QTableView* table_;
    QLabel* problemLabel_;
    CameraPictures* pictures_;
};

} // namespace brindleaf
