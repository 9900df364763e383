#pragma once

#include <QAbstractTableModel>
#include <QColor>

namespace tessaline::shell {
class FlexGrid;
}

namespace tessaline::ui {

// A flex grid as a Qt table model. The grid's own fixed row and column are ordinary cells here, drawn in
// the header grey; they are also offered as header data, so a view can keep them in place while the rest
// scrolls. The current cell carries the highlight. Cells are not editable through Qt:
// every key goes to the grid's handlers instead.
class FlexGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // Roles beyond Qt's: whether a cell is fixed (header-style) or the grid's current cell.
    enum Role { FixedCellRole = Qt::UserRole + 1, CurrentCellRole };

    explicit FlexGridModel(shell::FlexGrid& grid, QObject* parent = nullptr);
    ~FlexGridModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The first fixed row's texts across, the first fixed column's texts down.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    shell::FlexGrid& grid() const { return grid_; }

    static QColor fixedCellColor();
    static QColor currentCellColor();

private:
    // Brings Qt's idea of the grid's size in line with the grid and repaints every cell (the row headers once
    // events run).
    void sync();

    shell::FlexGrid& grid_;
    int cookie_;
    int rows_;
    int cols_;
    bool rowHeadersPending_ = false;
};

}  // namespace tessaline::ui
