// The grid every screen shows its rows in: a read-only table view over one
// model of view-model rows, set up from a table of columns. A screen declares
// its columns and hands over rows; it never fills a cell itself.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <span>
#include <string>
#include <vector>

#include "view_cells.h"

namespace tarvo {

struct GridColumn {
    const char* header;  // UTF-8
    int width;           // pixels; 0 hides the column
    Qt::Alignment align = Qt::AlignCenter;
};

// The rows of a grid as the view model gives them. Texts are CP932; a row
// shorter than the column table leaves the rest of its cells empty.
class ViewRowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // minimumRows: the grid keeps at least this many rows, empty ones when there are fewer.
    ViewRowsModel(std::span<const GridColumn> columns, int minimumRows, QObject* parent = nullptr);

    void setRows(std::vector<ViewRow> rows);
    // Changes the least number of rows the grid keeps.
    void setMinimumRows(int minimumRows);
    int dataRows() const { return static_cast<int>(rows_.size()); }
    // A row as the view model gave it; nullptr for an empty row of the grid.
    const ViewRow* row(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const ViewCell* cell(int row, int column) const;

    std::span<const GridColumn> columns_;
    int minimumRows_;
    std::vector<ViewRow> rows_;
};

struct GridLook {
    int rowHeight = 18;
    int headerHeight = 15;
    bool verticalScrollBar = true;
    int minimumRows = 1;
};

// A grid of whole-row, single selection. Double-clicking a row or pressing
// Enter on it emits rowChosen.
class Grid : public QTableView {
    Q_OBJECT

public:
    Grid(QWidget* parent, const char* objectName, std::span<const GridColumn> columns, const QRect& place,
         const GridLook& look = {});

    ViewRowsModel* rows() const { return model_; }
    // Replaces the rows; the first row becomes current at the given column.
    void setRows(std::vector<ViewRow> rows, int currentColumn = 0);
    int rowCount() const { return model_->rowCount(); }
    int currentRow() const { return currentIndex().row(); }
    void setCurrentCell(int row, int column) { setCurrentIndex(model_->index(row, column)); }

signals:
    void rowChosen(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ViewRowsModel* model_;
};

// The data rows of a screen view's grid as grid rows: every row but row 0,
// the header row, each cell in black.
std::vector<ViewRow> tableRows(const std::vector<std::vector<std::string>>& rows);

// The RGB of a view-model colour.
QColor inkColour(Ink ink);

}  // namespace tarvo
