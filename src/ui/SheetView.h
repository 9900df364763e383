#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QTabBar;
class QTableView;

namespace tessaline::automation::sim {
class SimOffice;
class SimWorkbook;
class SimWorkbooks;
}  // namespace tessaline::automation::sim

namespace tessaline::ui {

class SheetModel;

// The workbook area of the in-memory Excel's window: the active sheet of the active workbook as a grid of
// cells with column letters and row numbers, a name box and formula bar above it, the sheet tabs below. A
// person types into a cell as into Excel (numbers and TRUE/FALSE become numbers and Booleans), pastes rows
// of TAB-separated text (a design copied from elsewhere), clicks a tab
// to activate that sheet, switches workbooks from the Window menu (or Ctrl+F6), opens and starts workbooks
// with File > Open and New, and saves with File > Save and Save As (Ctrl+S, F12), which write the real .xls
// file.
//
// Everything a person changes goes through Excel's automation members (Range.Value, Activate, Save,
// SaveAs), as a macro's changes would; what the view shows it reads from the Office after each event, so
// cells a recording writes appear as soon as the recording's event is over.
class SheetView final : public QWidget {
public:
    explicit SheetView(automation::sim::SimOffice& office, QWidget* parent = nullptr);
    ~SheetView() override;
    SheetView(const SheetView&) = delete;
    SheetView& operator=(const SheetView&) = delete;

    // Puts a sheet view into Excel's window: the sheet above, the window's central widget (where floating
    // bars show) below it while it holds any. `changed` is told after each change a person made here.
    static SheetView* install(QMainWindow& window, automation::sim::SimOffice& office, std::function<void()> changed);

    // Brings the view in line with Excel: the active workbook and sheet, the tabs, the cells. Cheap when
    // nothing changed.
    void refresh();

    // A default action of Excel's own bars ran in its window ("builtin:3 保存(&S)"): File > New, Open, Save
    // and Save As are carried out here, where a file name can be asked for.
    void defaultActionRan(const std::string& logEntry);

    // What a person does, each as one event; false when nothing was done (cancelled, or Excel refused,
    // which an error box then says).
    bool activateSheet(int index);  // 0-based, as the tabs count
    bool activateWorkbook(const std::string& name);
    bool save();
    bool saveAs();
    bool open();
    bool newWorkbook();
    // The in-memory Excel ends with the program: as Excel does when it quits, asks for each workbook with
    // unsaved changes whether to save it, and saves those answered Yes (a failed save is shown, then asked
    // again). Returns how many workbooks were saved.
    int offerToSaveChanges();

    // The workbook and sheet shown ("" when none).
    std::string workbookName() const;
    std::string sheetName() const;
    // The open workbooks as the Window menu lists them, the active one marked "*".
    std::vector<std::string> windowList() const;

    QTableView* table() const { return table_; }
    QTabBar* tabs() const { return tabs_; }
    QLineEdit* formulaBar() const { return formula_; }
    QLabel* nameBox() const { return nameBox_; }

    // Asks for the file name to save as, starting from `suggested`; "" cancels. Unset, a file dialog asks.
    std::function<std::string(const std::string& suggested)> askFileName;
    // Asks for a workbook file to open; "" cancels. Unset, a file dialog asks.
    std::function<std::string(const std::string& folder)> askOpenName;
    // Asks a Yes/No question; true for Yes. Unset, a message box asks.
    std::function<bool(const std::string& title, const std::string& text)> askYesNo;
    // Shows an error box. Unset, a message box shows it.
    std::function<void(const std::string& title, const std::string& text)> showError;
    std::function<void()> onChanged;

private:
    void changed();
    void error(const std::string& text);
    void showCurrentCell();
    void enterFromFormulaBar();
    void clearSelection();
    void copySelection();
    void paste();
    void nextWorkbook();
    void runExcelCommand(int id);
    void followWindowMenu();
    void fillWindowMenu(QMenu& menu);
    bool saveTo(const std::string& path);
    // Excel's open workbooks; nullptr when Excel is not running.
    std::shared_ptr<automation::sim::SimWorkbooks> openBooks() const;

    automation::sim::SimOffice& office_;
    QMainWindow* window_ = nullptr;
    QWidget* floatingArea_ = nullptr;
    SheetModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QLineEdit* formula_ = nullptr;
    QLabel* nameBox_ = nullptr;
    std::shared_ptr<automation::sim::SimWorkbook> book_;
    std::vector<std::string> shownTabs_;
    bool updating_ = false;
};

}  // namespace tessaline::ui
