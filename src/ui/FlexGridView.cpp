#include "ui/FlexGridView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>

#include <algorithm>

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
      corner_(new QLabel(this)),
      lastRow_(grid.Row()),
      lastCol_(grid.Col()) {
    setModel(model_);
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    horizontalHeader()->setMinimumSectionSize(8);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setFixedHeight(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setFixedWidth(kColumnWidth);
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
    // The corner shows the fixed cell where the header row and the number column meet.
    setCornerButtonEnabled(false);
    corner_->setAutoFillBackground(true);
    corner_->setIndent(2);
    corner_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    QPalette palette = corner_->palette();
    palette.setColor(QPalette::Window, FlexGridModel::fixedCellColor());
    corner_->setPalette(palette);
    corner_->installEventFilter(this);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int first, int) {
        if (first == 0) headerRowHidden_ = false;
    });
    syncFixedCells();
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

QWidget* FlexGridView::cellSurface(int row, int col) const {
    const bool inRow = grid_.FixedRows() > 0 && row == 0;
    const bool inCol = grid_.FixedCols() > 0 && col == 0;
    if (inRow && inCol) return corner_;
    if (inRow) return horizontalHeader()->viewport();
    if (inCol) return verticalHeader()->viewport();
    return viewport();
}

QPoint FlexGridView::cellCenter(int row, int col) const {
    const QWidget* surface = cellSurface(row, col);
    if (surface == corner_) return corner_->rect().center();
    if (surface == horizontalHeader()->viewport()) {
        const QHeaderView* header = horizontalHeader();
        return {header->sectionViewportPosition(col) + header->sectionSize(col) / 2, header->height() / 2};
    }
    if (surface == verticalHeader()->viewport()) {
        const QHeaderView* header = verticalHeader();
        return {header->width() / 2, header->sectionViewportPosition(row) + header->sectionSize(row) / 2};
    }
    return visualRect(model_->index(row, col)).center();
}

void FlexGridView::syncFixedCells() {
    // Only the first fixed row and column can be headers; the grids here have one of each at most.
    const bool headerRow = grid_.FixedRows() > 0 && grid_.Rows() > 0;
    const bool headerCol = grid_.FixedCols() > 0 && grid_.Cols() > 0;
    horizontalHeader()->setVisible(headerRow);
    verticalHeader()->setVisible(headerCol);
    // Asking whether a row is hidden makes the header lay itself out first: after every row a listing
    // added one by one, that grew with the square of the rows.
    if (headerRow && !headerRowHidden_) {
        setRowHidden(0, true);
        headerRowHidden_ = true;
    }
    if (headerCol && !isColumnHidden(0)) setColumnHidden(0, true);
    corner_->setVisible(headerRow && headerCol);
    if (headerRow && headerCol) corner_->setText(toQ(grid_.TextMatrix(0, 0)));
}

void FlexGridView::updateGeometries() {
    QTableView::updateGeometries();
    const int frame = frameWidth();
    corner_->setGeometry(frame, frame, verticalHeader()->width(), horizontalHeader()->height());
    corner_->raise();
}

void FlexGridView::showEvent(QShowEvent* event) {
    QTableView::showEvent(event);
    // A window opened on a grid whose current cell lies far down shows that cell.
    const QModelIndex current = model_->index(grid_.Row(), grid_.Col());
    if (current.isValid()) scrollTo(current);
}

void FlexGridView::modelChanged() {
    syncFixedCells();
    if (grid_.Row() != lastRow_ || grid_.Col() != lastCol_) {
        lastRow_ = grid_.Row();
        lastCol_ = grid_.Col();
        const QModelIndex current = model_->index(lastRow_, lastCol_);
        if (current.isValid()) scrollTo(current);
    }
}

void FlexGridView::pressCell(const QMouseEvent& event, QPoint pos, int row, int col) {
    setFocus(Qt::MouseFocusReason);
    const int button = vbButton(event.button());
    // A left press makes the cell current and raises Click at once; the MouseDown handlers only act on the
    // right button, which never moves the current cell.
    if (button == 1 && row >= 0 && col >= 0) form_.userClickCell(grid_, row, col);
    if (button != 0 && !form_.isUnloaded()) {
        form_.userMouseDown(grid_, button, vbShift(event.modifiers()), float(pos.x() * kTwipsPerPixel),
                            float(pos.y() * kTwipsPerPixel));
    }
}

void FlexGridView::doubleClickCell(int row, int col) {
    // The first click of the pair has made the cell current; a double click that arrives without it
    // (synthesized, or after a press elsewhere) must still act on the cell under the mouse.
    if (row != grid_.Row() || col != grid_.Col()) form_.userClickCell(grid_, row, col);
    if (!form_.isUnloaded()) form_.userDblClick(grid_);
}

void FlexGridView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const QModelIndex cell = indexAt(pos);
    pressCell(*event, viewport()->mapTo(this, pos), cell.isValid() ? cell.row() : -1,
              cell.isValid() ? cell.column() : -1);
    event->accept();
}

bool FlexGridView::onColumnBorder(int x) const {
    const QHeaderView* header = horizontalHeader();
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, header);
    const int col = header->logicalIndexAt(x);
    if (col < 0) return header->count() > 0 && x < header->length() + grip;
    const int left = header->sectionViewportPosition(col);
    return x - left < grip || left + header->sectionSize(col) - x <= grip;
}

bool FlexGridView::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) {
        return QTableView::eventFilter(watched, event);
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos = mouse->position().toPoint();
    int row = -1;
    int col = -1;
    if (watched == corner_) {
        row = 0;
        col = 0;
    } else if (watched == horizontalHeader()->viewport()) {
        // A press on a border is Qt's: it drags the column wider or narrower.
        if (mouse->button() == Qt::LeftButton && onColumnBorder(pos.x())) return false;
        row = 0;
        col = horizontalHeader()->logicalIndexAt(pos.x());
    } else if (watched == verticalHeader()->viewport()) {
        row = verticalHeader()->logicalIndexAt(pos.y());
        col = 0;
    } else {
        return QTableView::eventFilter(watched, event);
    }
    if (row < 0 || col < 0) {
        row = -1;
        col = -1;
    }
    if (type == QEvent::MouseButtonPress) {
        pressCell(*mouse, static_cast<QWidget*>(watched)->mapTo(this, pos), row, col);
    } else if (mouse->button() == Qt::LeftButton && row >= 0) {
        doubleClickCell(row, col);
    }
    return true;
}

void FlexGridView::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void FlexGridView::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void FlexGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell.isValid()) doubleClickCell(cell.row(), cell.column());
    event->accept();
}

void FlexGridView::contextMenuEvent(QContextMenuEvent* event) {
    // The right button's menus are the handlers' business, opened from MouseDown.
    event->accept();
}

bool FlexGridView::moveCurrentCell(const QKeyEvent& event) {
    const int firstRow = grid_.FixedRows();
    const int lastRow = grid_.Rows() - 1;
    const int firstCol = grid_.FixedCols();
    const int lastCol = grid_.Cols() - 1;
    if (firstRow > lastRow || firstCol > lastCol) return false;
    const bool ctrl = (event.modifiers() & Qt::ControlModifier) != 0;
    const int page = std::max(1, viewport()->height() / std::max(1, rowHeight(std::min(firstRow, lastRow))) - 1);
    int row = grid_.Row();
    int col = grid_.Col();
    switch (event.key()) {
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
        // A page or a jump stops at the grid's edge rather than going nowhere.
        case Qt::Key_PageUp:
            row = std::max(firstRow, row - page);
            break;
        case Qt::Key_PageDown:
            row = std::min(lastRow, row + page);
            break;
        case Qt::Key_Home:
            col = firstCol;
            if (ctrl) row = firstRow;
            break;
        case Qt::Key_End:
            col = lastCol;
            if (ctrl) row = lastRow;
            break;
        default:
            return false;
    }
    if (row < firstRow || row > lastRow || col < firstCol || col > lastCol) return true;
    if (row == grid_.Row() && col == grid_.Col()) return true;
    form_.dispatch([&] {
        grid_.SetRow(row);
        grid_.SetCol(col);
    });
    return true;
}

void FlexGridView::keyPressEvent(QKeyEvent* event) {
    const int keyCode = vbKeyCode(*event);
    if (keyCode != 0) form_.userKeyDown(grid_, keyCode, vbShift(event->modifiers()));
    if (!form_.isUnloaded()) moveCurrentCell(*event);
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
