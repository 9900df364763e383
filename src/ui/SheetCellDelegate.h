#pragma once

#include <QStyledItemDelegate>

class QTableView;

namespace tessaline::ui {

class SheetModel;

// Paints the cells of a sheet as Excel does: a text wider than its column runs on over the empty cells to
// its right, without grid lines through it, and stops at the next filled cell. Each cell paints its own
// part of such a text, so a cell repainted alone (the current cell moving) still shows it.
class SheetCellDelegate final : public QStyledItemDelegate {
public:
    SheetCellDelegate(QTableView& table, const SheetModel& model);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Grid lines are the delegate's, so none crosses a text running on.
    static QColor gridColor() { return {0xd0, 0xd7, 0xe5}; }

private:
    QTableView& table_;
    const SheetModel& model_;
};

}  // namespace tessaline::ui
