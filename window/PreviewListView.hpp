#pragma once

#include <QListView>

class QHeaderView;

namespace brindleaf {

// The preview list. Its rows all have one height and never move when their text changes,
// so a change of text only needs the visible rows repainted: the default handling walks
// every changed row, which costs a keystroke far too much in a folder of a million entries.
class PreviewListView : public QListView {
    Q_OBJECT

public:
    explicit PreviewListView(QWidget* parent = nullptr);

    // Whether the rows are a folder's: an empty preview then says the folder is empty rather
    // than where a folder comes from.
    void setFolderShown(bool shown);
    // While the rows are being made, an empty preview says so and the pointer shows it.
    void setLoading(bool loading);
    // While a run moves the folder's entries, the preview has let its rows go and says why.
    void setRenaming(bool renaming);
    // What the preview says while it shows no row.
    [[nodiscard]] QString emptyHint() const;
    // The height that shows `rows` rows under the column titles.
    [[nodiscard]] int heightForRows(int rows) const;
    // A third column shows the date each entry is numbered by, a fourth its camera.
    void setShowsDates(bool shows);
    void setShowsCameras(bool shows);

    static constexpr int dateColumn = 2;
    static constexpr int cameraColumn = 3;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override;

private:
    void shareWidth();
    void showColumn(int column, bool shows);

    QHeaderView* columns_;
    bool folderShown_ = false;
    bool loading_ = false;
    bool renaming_ = false;
    bool columnsResizedByUser_ = false;
};

} // namespace brindleaf
