#pragma once

#include <QTableView>

class QLabel;

namespace tessaline::shell {
class FlexGrid;
class Form1;
}  // namespace tessaline::shell

namespace tessaline::ui {

class FlexGridModel;

// The view of a flex grid. It has no editor and no selection of its own: a left click makes the cell
// current through the form, a right click leaves the current cell alone, and keys go to the grid's key
// handlers, which edit the cell text themselves. The fixed row and column are shown by the table's own
// headers, so they stay in place while the rest scrolls, and the column borders can be dragged there.
class FlexGridView final : public QTableView {
    Q_OBJECT
public:
    FlexGridView(shell::Form1& form, shell::FlexGrid& grid, QWidget* parent = nullptr);
    ~FlexGridView() override;

    FlexGridModel* gridModel() const { return model_; }
    // The widget that shows a cell (the viewport, a header, or the corner) and the cell's centre in it, for
    // tests that click on cells.
    QWidget* cellSurface(int row, int col) const;
    QPoint cellCenter(int row, int col) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void updateGeometries() override;

private:
    void modelChanged();
    // Arrows, PageUp/PageDown, Home/End and their Ctrl forms walk the current cell over the non-fixed
    // cells, as the grid does; nothing else happens on them.
    bool moveCurrentCell(const QKeyEvent& event);
    // A press or double click at `pos` (in the view's own coordinates) on cell (row, col).
    void pressCell(const QMouseEvent& event, QPoint pos, int row, int col);
    void doubleClickCell(int row, int col);
    // Whether a press on the column header at x is on a border that Qt drags to resize.
    bool onColumnBorder(int x) const;
    void syncFixedCells();

    shell::Form1& form_;
    shell::FlexGrid& grid_;
    FlexGridModel* model_;
    QLabel* corner_;
    int cookie_;
    int lastRow_;
    int lastCol_;
    // Whether Qt still has the header row hidden (it forgets it when every row goes).
    bool headerRowHidden_ = false;
};

}  // namespace tessaline::ui
