#include "grid.h"

#include <QBrush>
#include <QHeaderView>
#include <QKeyEvent>

#include "qtext.h"

namespace tarvo {

QColor inkColour(Ink ink) {
    switch (ink) {
        case Ink::Blue: return QColor(0, 0, 255);
        case Ink::Teal: return QColor(0, 128, 128);
        case Ink::Red: return QColor(255, 0, 0);
        case Ink::Black: break;
    }
    return QColor(0, 0, 0);
}

ViewRowsModel::ViewRowsModel(std::span<const GridColumn> columns, int minimumRows, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns), minimumRows_(minimumRows) {}

void ViewRowsModel::setMinimumRows(int minimumRows) {
    beginResetModel();
    minimumRows_ = minimumRows;
    endResetModel();
}

void ViewRowsModel::setRows(std::vector<ViewRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

const ViewRow* ViewRowsModel::row(int row) const {
    return row >= 0 && row < dataRows() ? &rows_[static_cast<std::size_t>(row)] : nullptr;
}

const ViewCell* ViewRowsModel::cell(int row, int column) const {
    const ViewRow* r = this->row(row);
    return r && column >= 0 && static_cast<std::size_t>(column) < r->size() ? &(*r)[static_cast<std::size_t>(column)]
                                                                               : nullptr;
}

int ViewRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(minimumRows_, dataRows());
}

int ViewRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ViewRowsModel::data(const QModelIndex& index, int role) const {
    const ViewCell* c = cell(index.row(), index.column());
    if (!c) return {};
    switch (role) {
        case Qt::DisplayRole: return qs(c->text);
        case Qt::ForegroundRole: return QBrush(inkColour(c->ink));
        case Qt::TextAlignmentRole:
            return static_cast<int>((columns_[static_cast<std::size_t>(index.column())].align | Qt::AlignVCenter));
        default: return {};
    }
}

QVariant ViewRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(columns_.size()))
        return {};
    return QString::fromUtf8(columns_[static_cast<std::size_t>(section)].header);
}

Grid::Grid(QWidget* parent, const char* objectName, std::span<const GridColumn> columns, const QRect& place,
           const GridLook& look)
    : QTableView(parent), model_(new ViewRowsModel(columns, look.minimumRows, this)) {
    setObjectName(QString::fromUtf8(objectName));
    setModel(model_);
    setGeometry(place);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setStyleSheet(QStringLiteral("QTableView::item { padding: 0px; }"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(look.verticalScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Columns and rows as narrow as the column table says: the style's own
    // minimum (over twenty pixels) would widen the narrow columns past the grid.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(look.rowHeight);
    QHeaderView* header = horizontalHeader();
    header->setFixedHeight(look.headerHeight);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(1);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStyleSheet(QStringLiteral("QHeaderView::section { padding-left: 1px; }"));
    header->setHighlightSections(false);
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        setColumnWidth(c, columns[static_cast<std::size_t>(c)].width);
        setColumnHidden(c, columns[static_cast<std::size_t>(c)].width == 0);
    }
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) { emit rowChosen(i.row()); });
}

void Grid::setRows(std::vector<ViewRow> rows, int currentColumn) {
    model_->setRows(std::move(rows));
    if (model_->dataRows() > 0) setCurrentCell(0, currentColumn);
}

void Grid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit rowChosen(currentRow());
        return;
    }
    QTableView::keyPressEvent(event);
}

std::vector<ViewRow> tableRows(const std::vector<std::vector<std::string>>& rows) {
    std::vector<ViewRow> out;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ViewRow row;
        for (const std::string& c : rows[r]) row.push_back({c});
        out.push_back(std::move(row));
    }
    return out;
}

}  // namespace tarvo
