#include "winui/FlexGridWindow.h"

#include <imm.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/FlexGrid.h"
#include "shell/Form1.h"
#include "winui/WideText.h"

namespace tessaline::winui {

namespace {

constexpr wchar_t kClassName[] = L"TessalineFlexGrid";
// The grid's default cell size in twips.
constexpr int kColumnTwips = 960;
constexpr int kRowTwips = 255;

void registerClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

FlexGridWindow::FlexGridWindow(shell::Form1& form, shell::FlexGrid& grid, HWND parent, HFONT font, Twips twips)
    : form_(form),
      grid_(grid),
      font_(font),
      twips_(twips),
      colWidth_(twips.px(kColumnTwips)),
      rowHeight_(twips.px(kRowTwips)),
      topRow_(grid.FixedRows()),
      leftCol_(grid.FixedCols()),
      lastRow_(grid.Row()),
      lastCol_(grid.Col()) {
    registerClass();
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, L"",
                            WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL, 0, 0, 10, 10, parent,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FlexGridWindow::windowProc));
    cookie_ = grid_.subscribe([this] { modelChanged(); });
    updateScrollBars();
}

FlexGridWindow::~FlexGridWindow() {
    if (cookie_ != 0) grid_.unsubscribe(cookie_);
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

LRESULT CALLBACK FlexGridWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FlexGridWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

int FlexGridWindow::fixedHeight() const { return std::min(grid_.FixedRows(), grid_.Rows()) * rowHeight_; }

int FlexGridWindow::fixedWidth() const { return std::min(grid_.FixedCols(), grid_.Cols()) * colWidth_; }

int FlexGridWindow::visibleRows() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return std::max(1, static_cast<int>(client.bottom - fixedHeight()) / std::max(rowHeight_, 1));
}

int FlexGridWindow::visibleCols() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return std::max(1, static_cast<int>(client.right - fixedWidth()) / std::max(colWidth_, 1));
}

void FlexGridWindow::modelChanged() {
    if (hwnd_ == nullptr) return;
    if (grid_.Row() != lastRow_ || grid_.Col() != lastCol_) {
        lastRow_ = grid_.Row();
        lastCol_ = grid_.Col();
        showCurrentCell();
    }
    // A fill changes the grid once per cell: the scroll bars catch up when the grid is next drawn or used.
    scrollBarsStale_ = true;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void FlexGridWindow::catchUp() {
    if (!scrollBarsStale_) return;
    updateScrollBars();
}

void FlexGridWindow::showCurrentCell() {
    catchUp();
    const int row = grid_.Row();
    const int col = grid_.Col();
    if (row >= grid_.FixedRows()) {
        if (row < topRow_) topRow_ = row;
        if (row >= topRow_ + visibleRows()) topRow_ = row - visibleRows() + 1;
    }
    if (col >= grid_.FixedCols()) {
        if (col < leftCol_) leftCol_ = col;
        if (col >= leftCol_ + visibleCols()) leftCol_ = col - visibleCols() + 1;
    }
}

void FlexGridWindow::updateScrollBars() {
    scrollBarsStale_ = false;
    // The first scrollable row (column) shown runs from the first non-fixed one to the last that still
    // fills the view.
    const int rows = grid_.Rows();
    const int cols = grid_.Cols();
    topRow_ = std::clamp(topRow_, grid_.FixedRows(), std::max(grid_.FixedRows(), rows - visibleRows()));
    leftCol_ = std::clamp(leftCol_, grid_.FixedCols(), std::max(grid_.FixedCols(), cols - visibleCols()));

    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = grid_.FixedRows();
    info.nMax = std::max(rows - 1, grid_.FixedRows());
    info.nPage = static_cast<UINT>(visibleRows());
    info.nPos = topRow_;
    SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
    info.nMin = grid_.FixedCols();
    info.nMax = std::max(cols - 1, grid_.FixedCols());
    info.nPage = static_cast<UINT>(visibleCols());
    info.nPos = leftCol_;
    SetScrollInfo(hwnd_, SB_HORZ, &info, TRUE);
}

void FlexGridWindow::scroll(int bar, int request) {
    catchUp();
    const bool vertical = bar == SB_VERT;
    int& first = vertical ? topRow_ : leftCol_;
    const int page = vertical ? visibleRows() : visibleCols();
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(hwnd_, bar, &info);
    switch (request) {
        case SB_LINEUP:
            --first;
            break;
        case SB_LINEDOWN:
            ++first;
            break;
        case SB_PAGEUP:
            first -= page;
            break;
        case SB_PAGEDOWN:
            first += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            first = info.nTrackPos;
            break;
        case SB_TOP:
            first = 0;
            break;
        case SB_BOTTOM:
            first = vertical ? grid_.Rows() : grid_.Cols();
            break;
        default:
            return;
    }
    updateScrollBars();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

bool FlexGridWindow::cellAt(POINT point, int& row, int& col) {
    catchUp();
    if (point.x < 0 || point.y < 0) return false;
    const int fixedRows = grid_.FixedRows();
    const int fixedCols = grid_.FixedCols();
    const int fixedH = fixedHeight();
    const int fixedW = fixedWidth();
    row = point.y < fixedH ? point.y / rowHeight_ : topRow_ + (point.y - fixedH) / rowHeight_;
    col = point.x < fixedW ? point.x / colWidth_ : leftCol_ + (point.x - fixedW) / colWidth_;
    (void)fixedRows;
    (void)fixedCols;
    return row < grid_.Rows() && col < grid_.Cols();
}

bool FlexGridWindow::cellCenter(int row, int col, POINT& point) {
    catchUp();
    int y = 0;
    int x = 0;
    if (row < grid_.FixedRows()) {
        y = row * rowHeight_;
    } else if (row >= topRow_) {
        y = fixedHeight() + (row - topRow_) * rowHeight_;
    } else {
        return false;
    }
    if (col < grid_.FixedCols()) {
        x = col * colWidth_;
    } else if (col >= leftCol_) {
        x = fixedWidth() + (col - leftCol_) * colWidth_;
    } else {
        return false;
    }
    RECT client{};
    GetClientRect(hwnd_, &client);
    point = POINT{x + colWidth_ / 2, y + rowHeight_ / 2};
    return row < grid_.Rows() && col < grid_.Cols() && point.x < client.right && point.y < client.bottom;
}

void FlexGridWindow::paint(HDC dc, const RECT& client) {
    HBRUSH background = CreateSolidBrush(GetSysColor(COLOR_APPWORKSPACE));
    FillRect(dc, &client, background);
    DeleteObject(background);

    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    HBRUSH fixedBrush = CreateSolidBrush(fixedCellColor());
    HBRUSH currentBrush = CreateSolidBrush(currentCellColor());
    HPEN linePen = CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
    HPEN fixedPen = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HGDIOBJ oldFont = SelectObject(dc, font_);
    HGDIOBJ oldPen = SelectObject(dc, linePen);
    SetBkMode(dc, TRANSPARENT);

    const int rows = grid_.Rows();
    const int cols = grid_.Cols();
    // Row and column indexes in the order they are laid out: the fixed ones, then from the scroll position.
    auto laidOut = [](int fixed, int first, int count, int limitPx, int step) {
        std::vector<int> indexes;
        int used = 0;
        for (int i = 0; i < std::min(fixed, count); ++i, used += step) indexes.push_back(i);
        for (int i = first; i < count && used < limitPx; ++i, used += step) indexes.push_back(i);
        return indexes;
    };
    const std::vector<int> rowOrder = laidOut(grid_.FixedRows(), topRow_, rows, client.bottom, rowHeight_);
    const std::vector<int> colOrder = laidOut(grid_.FixedCols(), leftCol_, cols, client.right, colWidth_);

    for (std::size_t r = 0; r < rowOrder.size(); ++r) {
        const int row = rowOrder[r];
        const int top = static_cast<int>(r) * rowHeight_;
        for (std::size_t c = 0; c < colOrder.size(); ++c) {
            const int col = colOrder[c];
            const int left = static_cast<int>(c) * colWidth_;
            RECT cell{left, top, left + colWidth_, top + rowHeight_};
            const bool fixed = row < grid_.FixedRows() || col < grid_.FixedCols();
            const bool current = !fixed && row == grid_.Row() && col == grid_.Col();
            FillRect(dc, &cell, fixed ? fixedBrush : current ? currentBrush : white);
            SelectObject(dc, fixed ? fixedPen : linePen);
            MoveToEx(dc, cell.right - 1, cell.top, nullptr);
            LineTo(dc, cell.right - 1, cell.bottom - 1);
            LineTo(dc, cell.left - 1, cell.bottom - 1);
            const std::wstring text = wide(grid_.TextMatrix(row, col));
            if (text.empty()) continue;
            SetTextColor(dc, current ? RGB(255, 255, 255) : RGB(0, 0, 0));
            // Long captions are cut at the cell edge, as the grid cuts them.
            RECT inner{cell.left + 2, cell.top, cell.right - 2, cell.bottom - 1};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner,
                      DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
        }
    }

    SelectObject(dc, oldPen);
    SelectObject(dc, oldFont);
    DeleteObject(fixedPen);
    DeleteObject(linePen);
    DeleteObject(currentBrush);
    DeleteObject(fixedBrush);
    DeleteObject(white);
}

void FlexGridWindow::mouseDown(UINT message, LPARAM lParam) {
    SetFocus(hwnd_);
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const int button = vbButton(message);
    const int shift = vbShift();
    int row = 0;
    int col = 0;
    const bool onCell = cellAt(point, row, col);
    if (isDoubleClick(message)) {
        if (button != 1 || !onCell) return;
        // The first click of the pair has made the cell current; a double click that arrives without it
        // must still act on the cell under the mouse.
        if (row != grid_.Row() || col != grid_.Col()) form_.userClickCell(grid_, row, col);
        form_.userDblClick(grid_);
        return;
    }
    // A left press makes the cell current and raises Click at once; the MouseDown handlers act on the
    // right button, which never moves the current cell.
    if (button == 1 && onCell) form_.userClickCell(grid_, row, col);
    if (form_.isUnloaded()) return;
    form_.userMouseDown(grid_, button, shift, twips_.twips(point.x), twips_.twips(point.y));
}

void FlexGridWindow::keyDown(WPARAM key) {
    // Esc is the window's own key, wherever the focus is: it never reaches the grid's handlers.
    if (key == VK_ESCAPE) {
        form_.formKeyPress(27);
        return;
    }
    form_.userKeyDown(grid_, static_cast<int>(key), vbShift());
    if (form_.isUnloaded()) return;
    int row = grid_.Row();
    int col = grid_.Col();
    switch (key) {
        case VK_UP:
            --row;
            break;
        case VK_DOWN:
            ++row;
            break;
        case VK_LEFT:
            --col;
            break;
        case VK_RIGHT:
            ++col;
            break;
        case VK_PRIOR:
            row = std::max(grid_.FixedRows(), row - visibleRows());
            break;
        case VK_NEXT:
            row = std::min(grid_.Rows() - 1, row + visibleRows());
            break;
        default:
            return;
    }
    // Arrow keys walk the current cell over the non-fixed cells only.
    if (row < grid_.FixedRows() || row >= grid_.Rows() || col < grid_.FixedCols() || col >= grid_.Cols()) return;
    form_.dispatch([&] {
        grid_.SetRow(row);
        grid_.SetCol(col);
    });
}

void FlexGridWindow::typed(wchar_t unit) {
    if (const auto code = characters_.take(unit)) form_.userKeyPress(grid_, *code);
}

LRESULT FlexGridWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            catchUp();
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            RECT client{};
            GetClientRect(hwnd_, &client);
            // Drawn off screen first, so scrolling through a long list does not flicker.
            HDC memory = CreateCompatibleDC(dc);
            HBITMAP bitmap =
                CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
            HGDIOBJ old = SelectObject(memory, bitmap);
            paint(memory, client);
            BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteObject(bitmap);
            DeleteDC(memory);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(hwnd_, &client);
            paint(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            updateScrollBars();
            InvalidateRect(hwnd_, nullptr, FALSE);
            return 0;
        case WM_VSCROLL:
            scroll(SB_VERT, LOWORD(wParam));
            return 0;
        case WM_HSCROLL:
            scroll(SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL: {
            const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
            for (int i = 0; i < std::abs(notches) * 3; ++i) scroll(SB_VERT, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            mouseDown(message, lParam);
            return 0;
        case WM_CONTEXTMENU:
            // The right button's menus are the handlers' business, opened from MouseDown.
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
            keyDown(wParam);
            return 0;
        case WM_CHAR:
            typed(static_cast<wchar_t>(wParam));
            return 0;
        case WM_IME_STARTCOMPOSITION: {
            // The input method writes its composition over the current cell, where the text will go.
            POINT at{};
            if (HIMC context = ImmGetContext(hwnd_); context != nullptr) {
                if (cellCenter(grid_.Row(), grid_.Col(), at)) {
                    COMPOSITIONFORM form{};
                    form.dwStyle = CFS_POINT;
                    form.ptCurrentPos = POINT{at.x - colWidth_ / 2 + 2, at.y - rowHeight_ / 2};
                    ImmSetCompositionWindow(context, &form);
                }
                ImmReleaseContext(hwnd_, context);
            }
            return DefWindowProcW(hwnd_, message, wParam, lParam);
        }
        case WM_IME_CHAR:
            // A character an input method composed (Chinese, say): the same KeyPress as a typed one.
            typed(static_cast<wchar_t>(wParam));
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd_, nullptr, FALSE);
            return 0;
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

}  // namespace tessaline::winui
