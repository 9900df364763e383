#include "ui/FlexGridModel.h"

#include "shell/FlexGrid.h"
#include "ui/Text.h"

namespace tessaline::ui {

FlexGridModel::FlexGridModel(shell::FlexGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), rows_(grid.Rows()), cols_(grid.Cols()) {
    cookie_ = grid_.subscribe([this] { sync(); });
}

FlexGridModel::~FlexGridModel() { grid_.unsubscribe(cookie_); }

QColor FlexGridModel::fixedCellColor() { return QColor(212, 208, 200); }

QColor FlexGridModel::currentCellColor() { return QColor(0, 0, 128); }

int FlexGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int FlexGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.model() != this) return {};
    const int row = index.row();
    const int col = index.column();
    // Qt may ask between a change of the grid and the signal about it; the grid itself is the authority.
    if (row >= grid_.Rows() || col >= grid_.Cols()) return {};
    const bool fixed = row < grid_.FixedRows() || col < grid_.FixedCols();
    const bool current = row == grid_.Row() && col == grid_.Col();
    switch (role) {
        case Qt::DisplayRole:
            return toQ(grid_.TextMatrix(row, col));
        case Qt::BackgroundRole:
            if (current && !fixed) return currentCellColor();
            if (fixed) return fixedCellColor();
            return {};
        case Qt::ForegroundRole:
            if (current && !fixed) return QColor(Qt::white);
            return {};
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        case FixedCellRole:
            return fixed;
        case CurrentCellRole:
            return current;
        default:
            return {};
    }
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled;
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const bool across = orientation == Qt::Horizontal;
    if (across ? grid_.FixedRows() == 0 : grid_.FixedCols() == 0) return {};
    if (section < 0 || section >= (across ? grid_.Cols() : grid_.Rows())) return {};
    switch (role) {
        case Qt::DisplayRole:
            return toQ(across ? grid_.TextMatrix(0, section) : grid_.TextMatrix(section, 0));
        case Qt::BackgroundRole:
            return fixedCellColor();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

void FlexGridModel::sync() {
    const int rows = grid_.Rows();
    const int cols = grid_.Cols();
    // Growth and shrinkage at the end, then every cell repainted: cheap enough for a grid filled one row
    // at a time, and it keeps the view's scroll position.
    if (rows > rows_) {
        beginInsertRows(QModelIndex(), rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows(QModelIndex(), rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
    if (cols > cols_) {
        beginInsertColumns(QModelIndex(), cols_, cols - 1);
        cols_ = cols;
        endInsertColumns();
    } else if (cols < cols_) {
        beginRemoveColumns(QModelIndex(), cols, cols_ - 1);
        cols_ = cols;
        endRemoveColumns();
    }
    if (rows_ > 0 && cols_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
        emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    }
    // A header view visits every section it is told about, so telling it of every row after each of the
    // thousands of rows a listing adds one by one grew with the square of the rows. It hears once, when
    // the handler that fills the grid is over.
    if (!rowHeadersPending_) {
        rowHeadersPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                rowHeadersPending_ = false;
                if (rows_ > 0 && cols_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
            },
            Qt::QueuedConnection);
    }
}

}  // namespace tessaline::ui
