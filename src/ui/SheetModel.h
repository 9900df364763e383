#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tessaline::automation::sim {
class SimWorksheet;
}

namespace tessaline::ui {

// One worksheet of the in-memory Excel as a table: every cell of the sheet (65536 rows by 256 columns), read
// straight from its sparse cell store when a cell is painted, so a large sheet costs no more than the part
// on screen. Cells show as Excel shows them (their Text); editing shows what the formula bar would.
//
// A value entered here goes through Range.Value, the way a macro or Tessaline writes a cell, so it is
// converted as Excel converts typed input and Excel's faults apply to it.
class SheetModel final : public QAbstractTableModel {
public:
    explicit SheetModel(QObject* parent = nullptr);

    // Shows another sheet (or none).
    void setSheet(std::shared_ptr<automation::sim::SimWorksheet> sheet);
    const std::shared_ptr<automation::sim::SimWorksheet>& sheet() const { return sheet_; }
    // Repaints when the cells changed since the last look, whoever changed them; costs nothing otherwise.
    void refresh();

    // Enters a typed text into a cell (0-based row and column). Returns the error text when Excel refused
    // it, "" when the cell took it.
    std::string enter(int row, int column, const std::string& text);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Told when an edit of the view was refused, with Excel's error text.
    std::function<void(const std::string& error)> onRefused;
    // Told after a cell took a value.
    std::function<void()> onEntered;

private:
    void repaintAll();

    std::shared_ptr<automation::sim::SimWorksheet> sheet_;
    std::uint64_t shownRevision_ = 0;
};

}  // namespace tessaline::ui
