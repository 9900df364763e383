#pragma once

#include "automation/com/Win32.h"

#include "winui/Keys.h"
#include "winui/Twips.h"

namespace tessaline::shell {
class FlexGrid;
class Form1;
}  // namespace tessaline::shell

namespace tessaline::winui {

// A flex grid drawn by hand: the fixed rows and columns stay in place while the rest scrolls cell by cell,
// the current cell is marked, and there is no editor and no selection of its own. A left press makes the
// cell under it current through the form, a right press leaves the current cell alone (the handlers open
// their menus from MouseDown), and keys go to the grid's key handlers, which edit the cells themselves.
class FlexGridWindow {
public:
    // Creates the child window; it follows the grid's changes until destroyed.
    FlexGridWindow(shell::Form1& form, shell::FlexGrid& grid, HWND parent, HFONT font, Twips twips);
    ~FlexGridWindow();
    FlexGridWindow(const FlexGridWindow&) = delete;
    FlexGridWindow& operator=(const FlexGridWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    shell::FlexGrid& grid() const { return grid_; }
    // The client position of a cell's centre when the cell is shown, for tests that click on cells.
    bool cellCenter(int row, int col, POINT& point);
    // The first scrollable row and column shown.
    int topRow() const { return topRow_; }
    int leftCol() const { return leftCol_; }

    static COLORREF fixedCellColor() { return RGB(212, 208, 200); }
    static COLORREF currentCellColor() { return RGB(0, 0, 128); }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void modelChanged();
    void paint(HDC dc, const RECT& client);
    void updateScrollBars();
    // Brings the scroll range and position up to date when the grid changed since they were set.
    void catchUp();
    void scroll(int bar, int request);
    // Scrolls so that the current cell is shown, as the grid does when code moves it.
    void showCurrentCell();
    // The cell at a client point; false outside every cell.
    bool cellAt(POINT point, int& row, int& col);
    // How many scrollable rows (columns) fit wholly beside the fixed ones.
    int visibleRows() const;
    int visibleCols() const;
    int fixedHeight() const;
    int fixedWidth() const;
    void mouseDown(UINT message, LPARAM lParam);
    void keyDown(WPARAM key);
    void typed(wchar_t unit);

    shell::Form1& form_;
    shell::FlexGrid& grid_;
    HWND hwnd_ = nullptr;
    HFONT font_;
    Twips twips_;
    int cookie_ = 0;
    int colWidth_;
    int rowHeight_;
    int topRow_;
    int leftCol_;
    int lastRow_;
    int lastCol_;
    CharacterJoiner characters_;
    bool scrollBarsStale_ = true;
};

}  // namespace tessaline::winui
