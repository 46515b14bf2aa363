#pragma once

#include <QDialog>

class QLabel;
class QTableView;

namespace brindleaf {

class CameraListModel;

// The folder's cameras, each with the zone its clock was set to and a correction for a
// clock that was off, typed in the table. Every change reorders the preview behind it at
// once; files are never written.
class CameraDialog : public QDialog {
    Q_OBJECT

public:
    explicit CameraDialog(QWidget* parent = nullptr);

    [[nodiscard]] CameraListModel* cameras() const { return cameras_; }
    [[nodiscard]] QTableView* table() const { return table_; }

private:
    void fitColumns();
    void showRefusal(const QString& message);

    CameraListModel* cameras_;
    QTableView* table_;
    QLabel* problemLabel_;
};

} // namespace brindleaf
