#include "ui/SheetCellDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTableView>
#include <algorithm>

#include "automation/Excel.h"
#include "automation/sim/SimRangeValues.h"
#include "automation/sim/SimWorksheet.h"
#include "ui/SheetModel.h"
#include "ui/Text.h"

namespace tessaline::ui {

namespace {

// Excel lets a text run on at most this far; it keeps the search per painted cell short.
constexpr int kLongestRun = 16;
constexpr int kTextMargin = 3;

}  // namespace

SheetCellDelegate::SheetCellDelegate(QTableView& table, const SheetModel& model)
    : QStyledItemDelegate(&table), table_(table), model_(model) {}

void SheetCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const auto& sheet = model_.sheet();
    const int row = index.row() + 1;
    const int column = index.column() + 1;

    // The text painted in this cell: its own, or one running on from a filled cell to the left. Only text
    // runs on (numbers and Booleans stay in their cell, as in Excel).
    int from = 0;
    QString text;
    if (sheet) {
        const automation::sim::CellStore& cells = sheet->cells();
        if (const std::optional<int> filled = cells.nextInRow(row, column, std::max(1, column - kLongestRun))) {
            const automation::Variant* value = cells.find(row, *filled);
            if (value != nullptr && value->isString() && (*filled == column || cells.find(row, column) == nullptr)) {
                from = *filled;
                text = toQ(automation::sim::displayedText(*value));
            }
        }
    }
    int runEnd = 0;  // viewport x where the text's run ends
    if (!text.isEmpty()) {
        const int start = table_.columnViewportPosition(from - 1);
        runEnd = start + kTextMargin + option.fontMetrics.horizontalAdvance(text) + kTextMargin;
        const int ownEnd = start + table_.columnWidth(from - 1);
        if (runEnd > ownEnd) {
            // It stops at the next filled cell.
            const int lastColumn = std::min(from + kLongestRun, automation::xl::MaxColumns);
            if (const std::optional<int> next = sheet->cells().nextInRow(row, from + 1, lastColumn)) {
                runEnd = std::min(runEnd, table_.columnViewportPosition(*next - 1));
            }
            runEnd = std::max(runEnd, ownEnd);
        } else {
            runEnd = ownEnd;
        }
        if (runEnd <= option.rect.left()) text.clear();
    }

    if (text.isEmpty() || from != column || runEnd > option.rect.right() + 1) {
        // Background, selection and focus as usual; the text goes on by hand below, clipped to this cell.
        QStyleOptionViewItem plain(option);
        initStyleOption(&plain, index);
        if (!text.isEmpty()) plain.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);
        if (!text.isEmpty()) {
            painter->save();
            painter->setClipRect(option.rect);
            const bool selected = (option.state & QStyle::State_Selected) != 0 && from == column;
            painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
            const int start = table_.columnViewportPosition(from - 1) + kTextMargin;
            painter->drawText(QRect(start, option.rect.top(), runEnd - start, option.rect.height()),
                              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
            painter->restore();
        }
    } else {
        QStyledItemDelegate::paint(painter, option, index);
    }

    // The cell's bottom and right grid lines; no right line where a text runs on into the next cell.
    painter->save();
    painter->setPen(gridColor());
    const QRect& r = option.rect;
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    if (text.isEmpty() || runEnd <= r.right() + 1) painter->drawLine(r.topRight(), r.bottomRight());
    painter->restore();
}

}  // namespace tessaline::ui
