#include "ui/FlexGridView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "shell/FlexGrid.h"
#include "shell/Form1.h"
#include "ui/FlexGridModel.h"
#include "ui/Keys.h"
#include "ui/Text.h"

namespace tessaline::ui {

namespace {

// The grid's default cell size: 960 x 240 twips.
constexpr int kColumnWidth = 64;
constexpr int kRowHeight = 17;

}  // namespace

FlexGridView::FlexGridView(shell::Form1& form, shell::FlexGrid& grid, QWidget* parent)
    : QTableView(parent),
      form_(form),
      grid_(grid),
      model_(new FlexGridModel(grid, this)),
      lastRow_(grid.Row()),
      lastCol_(grid.Col()) {
    setModel(model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    horizontalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    setWordWrap(false);
    // Long captions are cut at the cell edge, as the grid cuts them, not shortened with an ellipsis.
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    cookie_ = grid_.subscribe([this] { modelChanged(); });
}

FlexGridView::~FlexGridView() { grid_.unsubscribe(cookie_); }

QPoint FlexGridView::cellCenter(int row, int col) const { return visualRect(model_->index(row, col)).center(); }

void FlexGridView::modelChanged() {
    if (grid_.Row() != lastRow_ || grid_.Col() != lastCol_) {
        lastRow_ = grid_.Row();
        lastCol_ = grid_.Col();
        const QModelIndex current = model_->index(lastRow_, lastCol_);
        if (current.isValid()) scrollTo(current);
    }
}

void FlexGridView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    const int button = vbButton(event->button());
    const QModelIndex cell = indexAt(pos);
    // A left press makes the cell current and raises Click at once; the MouseDown handlers only act on the
    // right button, which never moves the current cell.
    if (button == 1 && cell.isValid()) form_.userClickCell(grid_, cell.row(), cell.column());
    if (button != 0) {
        form_.userMouseDown(grid_, button, vbShift(event->modifiers()), float(pos.x() * kTwipsPerPixel),
                            float(pos.y() * kTwipsPerPixel));
    }
    event->accept();
}

void FlexGridView::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void FlexGridView::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void FlexGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell.isValid()) {
        // The first click of the pair has made the cell current; a double click that arrives without it
        // (synthesized, or after a press elsewhere) must still act on the cell under the mouse.
        if (cell.row() != grid_.Row() || cell.column() != grid_.Col()) {
            form_.userClickCell(grid_, cell.row(), cell.column());
        }
        form_.userDblClick(grid_);
    }
    event->accept();
}

void FlexGridView::contextMenuEvent(QContextMenuEvent* event) {
    // The right button's menus are the handlers' business, opened from MouseDown.
    event->accept();
}

bool FlexGridView::moveCurrentCell(int key) {
    int row = grid_.Row();
    int col = grid_.Col();
    switch (key) {
        case Qt::Key_Up:
            --row;
            break;
        case Qt::Key_Down:
            ++row;
            break;
        case Qt::Key_Left:
            --col;
            break;
        case Qt::Key_Right:
            ++col;
            break;
        default:
            return false;
    }
    if (row < grid_.FixedRows() || row >= grid_.Rows() || col < grid_.FixedCols() || col >= grid_.Cols()) {
        return true;
    }
    form_.dispatch([&] {
        grid_.SetRow(row);
        grid_.SetCol(col);
    });
    return true;
}

void FlexGridView::keyPressEvent(QKeyEvent* event) {
    const int keyCode = vbKeyCode(*event);
    if (keyCode != 0) form_.userKeyDown(grid_, keyCode, vbShift(event->modifiers()));
    moveCurrentCell(event->key());
    for (int code : vbKeyPressCodes(*event)) {
        if (form_.isUnloaded()) break;
        form_.userKeyPress(grid_, code);
    }
    event->accept();
}

void FlexGridView::inputMethodEvent(QInputMethodEvent* event) {
    // Characters composed by an input method (Chinese, say) arrive here rather than as key presses.
    for (int code : codePoints(event->commitString())) {
        if (form_.isUnloaded()) break;
        form_.userKeyPress(grid_, code);
    }
    event->accept();
}

QVariant FlexGridView::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImCursorRectangle || query == Qt::ImAnchorRectangle) {
        return visualRect(model_->index(grid_.Row(), grid_.Col()));
    }
    if (query == Qt::ImEnabled) return true;
    return QTableView::inputMethodQuery(query);
}

}  // namespace tessaline::ui
