#pragma once

#include <QTableView>

namespace tessaline::shell {
class FlexGrid;
class Form1;
}  // namespace tessaline::shell

namespace tessaline::ui {

class FlexGridModel;

// The view of a flex grid. It has no editor and no selection of its own: a left click makes the cell
// current through the form, a right click leaves the current cell alone, and keys go to the grid's key
// handlers, which edit the cell text themselves.
class FlexGridView final : public QTableView {
    Q_OBJECT
public:
    FlexGridView(shell::Form1& form, shell::FlexGrid& grid, QWidget* parent = nullptr);
    ~FlexGridView() override;

    FlexGridModel* gridModel() const { return model_; }
    // The place of a cell's centre, for tests that click on cells.
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

private:
    void modelChanged();
    // Arrow keys walk the current cell over the non-fixed cells, as the grid does.
    bool moveCurrentCell(int key);

    shell::Form1& form_;
    shell::FlexGrid& grid_;
    FlexGridModel* model_;
    int cookie_;
    int lastRow_;
    int lastCol_;
};

}  // namespace tessaline::ui
