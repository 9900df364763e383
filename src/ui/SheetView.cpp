#include "ui/SheetView.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QSplitter>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

#include "automation/AutomationError.h"
#include "automation/FilePath.h"
#include "automation/sim/SimHosts.h"
#include "automation/sim/SimOffice.h"
#include "automation/sim/SimRange.h"
#include "automation/sim/SimWorkbook.h"
#include "automation/sim/SimWorksheet.h"
#include "ui/HostWindow.h"
#include "ui/SheetCellDelegate.h"
#include "ui/SheetModel.h"
#include "ui/Text.h"

namespace tessaline::ui {

namespace {

namespace fs = std::filesystem;
namespace sim = automation::sim;

constexpr int kNewId = 18;
constexpr int kOpenId = 23;
constexpr int kSaveId = 3;
constexpr int kSaveAsId = 748;
constexpr const char* kExcelTitle = "Microsoft Excel";
constexpr const char* kHookedProperty = "tessalineWorkbookList";
constexpr const char* kEntryProperty = "tessalineWorkbookEntry";

std::string failureText(const std::exception& e) {
    if (const auto* automation = dynamic_cast<const automation::AutomationError*>(&e)) return automation->description();
    return e.what();
}

// What the grid's own keys do beyond moving: Delete, Ctrl+C, Ctrl+V.
struct SheetKeys {
    std::function<void()> clear;
    std::function<void()> copy;
    std::function<void()> paste;
};

// Excel's grid: once a cell took its text, Enter moves down and Tab to the right without editing there;
// Delete empties the selected cells, Ctrl+C and Ctrl+V copy and paste them as text.
class SheetTable final : public QTableView {
public:
    SheetTable(QWidget* parent, SheetKeys keys) : QTableView(parent), keys_(std::move(keys)) {}

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
        switch (hint) {
            case QAbstractItemDelegate::SubmitModelCache:
                QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
                moveBy(1, 0);
                break;
            case QAbstractItemDelegate::EditNextItem:
                QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
                moveBy(0, 1);
                break;
            case QAbstractItemDelegate::EditPreviousItem:
                QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
                moveBy(0, -1);
                break;
            default:
                QTableView::closeEditor(editor, hint);
                break;
        }
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (state() != EditingState) {
            if (event->matches(QKeySequence::Copy)) {
                keys_.copy();
                return;
            }
            if (event->matches(QKeySequence::Paste)) {
                keys_.paste();
                return;
            }
        }
        if (state() != EditingState && event->modifiers() == Qt::NoModifier) {
            if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
                moveBy(1, 0);
                return;
            }
            if (event->key() == Qt::Key_Delete) {
                keys_.clear();
                return;
            }
        }
        QTableView::keyPressEvent(event);
    }

    // Chinese typed straight into a cell arrives from the input method, not as key presses: it opens the
    // cell as a key does, and the cell's editor takes what was typed, the first character included.
    void inputMethodEvent(QInputMethodEvent* event) override {
        const bool typing = !event->commitString().isEmpty() || !event->preeditString().isEmpty();
        if (state() == EditingState || !typing || !currentIndex().isValid()) {
            QTableView::inputMethodEvent(event);
            return;
        }
        if (!edit(currentIndex(), AllEditTriggers, nullptr)) return;
        for (auto* editor : viewport()->findChildren<QLineEdit*>()) {
            if (!editor->isVisible()) continue;
            editor->selectAll();
            QCoreApplication::sendEvent(editor, event);
            break;
        }
    }

private:
    void moveBy(int rows, int columns) {
        const QModelIndex current = currentIndex();
        if (!current.isValid()) return;
        const QModelIndex next = model()->index(current.row() + rows, current.column() + columns);
        if (next.isValid()) setCurrentIndex(next);
    }

    SheetKeys keys_;
};

bool isWindowMenu(const QString& caption) {
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    return plain.startsWith(QString::fromUtf8("窗口")) || plain.startsWith(QStringLiteral("Window"));
}

// Why a save failed, in words a person can act on. Excel's own reason follows for the details.
std::string saveFailureText(const std::string& path, const std::string& reason, const sim::SimWorkbooks* books,
                            const sim::SimWorkbook* saving) {
    const fs::path target = automation::filePath(path);
    const std::string name = automation::pathText(target.filename());
    std::string why;
    std::error_code error;
    if (name.empty() || name.find_first_of("<>:\"|?*[]") != std::string::npos) {
        why = "文件名“" + name + "”无效。文件名不能为空，也不能含有下列字符: < > : \" | ? * [ ]";
    } else if (const fs::path folder = target.parent_path(); !folder.empty() && !fs::is_directory(folder, error)) {
        why = "找不到文件夹“" + automation::pathText(folder) + "”。请检查路径是否正确。";
    } else if (const auto other = books ? books->findByName(name) : nullptr; other && other.get() != saving) {
        why = "不能以“" + name + "”为名保存: 已有同名的工作簿打开着。请换一个文件名，或先关闭那个工作簿。";
    } else {
        why = "无法写入这个文件: 文件夹可能是只读的，文件可能正被其他程序使用，或磁盘已满。请另选一个位置保存。";
    }
    return "无法保存“" + path + "”。\n\n" + why + "\n\n(" + reason + ")";
}

}  // namespace

SheetView::SheetView(sim::SimOffice& office, QWidget* parent) : QWidget(parent), office_(office) {
    setObjectName(QStringLiteral("sheetView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The name box and the formula bar, as Excel shows them above the cells.
    auto* bar = new QWidget(this);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(2, 2, 2, 2);
    barLayout->setSpacing(4);
    nameBox_ = new QLabel(bar);
    nameBox_->setObjectName(QStringLiteral("nameBox"));
    nameBox_->setFrameShape(QFrame::StyledPanel);
    nameBox_->setFixedWidth(80);
    nameBox_->setAlignment(Qt::AlignCenter);
    formula_ = new QLineEdit(bar);
    formula_->setObjectName(QStringLiteral("formulaBar"));
    // The cells have the keyboard; the formula bar only when clicked, as in Excel.
    formula_->setFocusPolicy(Qt::ClickFocus);
    barLayout->addWidget(nameBox_);
    barLayout->addWidget(new QLabel(QStringLiteral("fx"), bar));
    barLayout->addWidget(formula_, 1);
    layout->addWidget(bar);

    model_ = new SheetModel(this);
    model_->onRefused = [this](const std::string& why) { error("无法输入: " + why); };
    model_->onEntered = [this] { changed(); };
    table_ =
        new SheetTable(this, SheetKeys{[this] { clearSelection(); }, [this] { copySelection(); }, [this] { paste(); }});
    table_->setObjectName(QStringLiteral("cells"));
    table_->setModel(model_);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideNone);
    table_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                            QAbstractItemView::EditKeyPressed);
    table_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // Uniform sections: the headers cost nothing per row, however many rows a sheet has.
    table_->horizontalHeader()->setDefaultSectionSize(72);
    table_->horizontalHeader()->setMinimumSectionSize(8);
    table_->verticalHeader()->setDefaultSectionSize(20);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setMinimumWidth(40);
    table_->setItemDelegate(new SheetCellDelegate(*table_, *model_));
    table_->setShowGrid(false);
    // Cells stay where they are when the table grows or shrinks, so a resize paints only what comes into view:
    // maximising the window or a floating bar taking room below repainted every cell of the sheet.
    table_->viewport()->setAttribute(Qt::WA_StaticContents);
    layout->addWidget(table_, 1);
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { showCurrentCell(); });
    connect(formula_, &QLineEdit::returnPressed, this, [this] { enterFromFormulaBar(); });

    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("sheetTabs"));
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);
    layout->addWidget(tabs_, 0, Qt::AlignLeft);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        if (!updating_ && index >= 0) activateSheet(index);
    });

    // Excel's keys for these, wherever the focus is in the window.
    const auto shortcut = [this](const QKeySequence& keys, std::function<void()> run) {
        auto* key = new QShortcut(keys, this);
        key->setContext(Qt::WindowShortcut);
        connect(key, &QShortcut::activated, this, std::move(run));
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { runExcelCommand(kSaveId); });
    shortcut(QKeySequence(Qt::Key_F12), [this] { runExcelCommand(kSaveAsId); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F6), [this] { nextWorkbook(); });
    table_->setCurrentIndex(model_->index(0, 0));
    setFocusProxy(table_);
}

SheetView::~SheetView() = default;

SheetView* SheetView::install(QMainWindow& window, sim::SimOffice& office, std::function<void()> changed) {
    auto* split = new QSplitter(Qt::Vertical, &window);
    split->setObjectName(QStringLiteral("excelClient"));
    auto* view = new SheetView(office, split);
    view->window_ = &window;
    view->onChanged = std::move(changed);
    split->addWidget(view);
    // Taken, not replaced: the window would delete its old central widget.
    if (QWidget* floating = window.takeCentralWidget()) {
        view->floatingArea_ = floating;
        split->addWidget(floating);
        split->setCollapsible(0, false);
        split->setStretchFactor(0, 3);
        split->setStretchFactor(1, 1);
    }
    window.setCentralWidget(split);
    view->setFocus();
    return view;
}

void SheetView::refresh() {
    const std::shared_ptr<sim::SimWorkbooks> books = openBooks();
    book_ = books ? books->activeBook() : nullptr;
    if (book_ && book_->closed()) book_.reset();
    const std::shared_ptr<sim::SimWorksheet> sheet = book_ ? book_->activeSheet() : nullptr;
    const bool otherSheet = sheet != model_->sheet();
    model_->setSheet(sheet);
    model_->refresh();
    table_->setEnabled(sheet != nullptr);
    formula_->setEnabled(sheet != nullptr);

    std::vector<std::string> names;
    if (book_) {
        for (const auto& each : book_->sheets()) names.push_back(each->name());
    }
    {
        const QScopedValueRollback<bool> guard(updating_, true);
        if (names != shownTabs_) {
            while (tabs_->count() > 0) tabs_->removeTab(tabs_->count() - 1);
            for (const std::string& name : names) tabs_->addTab(toQ(name));
            shownTabs_ = names;
        }
        if (book_ && sheet) tabs_->setCurrentIndex(book_->indexOf(sheet.get()) - 1);
    }
    if (otherSheet) table_->setCurrentIndex(model_->index(0, 0));
    showCurrentCell();

    // The floating bars' area takes room only while the host shows a floating bar.
    if (const auto* host = dynamic_cast<const HostWindow*>(window_); host != nullptr && floatingArea_ != nullptr) {
        const std::vector<ShownBar>& bars = host->shownBars().toolbars;
        floatingArea_->setVisible(std::any_of(bars.begin(), bars.end(), [](const ShownBar& bar) {
            return bar.position == automation::mso::BarFloating;
        }));
    }
    followWindowMenu();
}

void SheetView::followWindowMenu() {
    if (window_ == nullptr) return;
    auto* bar = qobject_cast<QMenuBar*>(window_->menuWidget());
    if (bar == nullptr) return;
    for (QAction* action : bar->actions()) {
        QMenu* menu = action->menu();
        if (menu == nullptr || !isWindowMenu(action->text())) continue;
        // A menu bar built anew brings a new menu; one already followed keeps its connection.
        if (menu->property(kHookedProperty).toBool()) return;
        menu->setProperty(kHookedProperty, true);
        connect(menu, &QMenu::aboutToShow, this, [this, menu = QPointer<QMenu>(menu)] {
            if (menu != nullptr) fillWindowMenu(*menu);
        });
        return;
    }
}

void SheetView::fillWindowMenu(QMenu& menu) {
    // The host's own list names the windows open when its bars were recorded; the open workbooks replace it.
    static const QRegularExpression recordedEntry(QStringLiteral("^&?\\d+ "));
    for (QAction* action : menu.actions()) {
        if (action->property(kEntryProperty).toBool()) {
            menu.removeAction(action);
            action->deleteLater();
        } else if (!action->isSeparator() && recordedEntry.match(action->text()).hasMatch()) {
            action->setVisible(false);
        }
    }
    menu.addSeparator()->setProperty(kEntryProperty, true);
    const std::vector<std::string> list = windowList();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const bool active = !list[i].empty() && list[i].back() == '*';
        const std::string name = active ? list[i].substr(0, list[i].size() - 1) : list[i];
        const QString number = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("%1 ").arg(i + 1);
        QString caption = toQ(name);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = menu.addAction(number + caption);
        entry->setProperty(kEntryProperty, true);
        entry->setCheckable(true);
        entry->setChecked(active);
        connect(entry, &QAction::triggered, this, [this, name] { activateWorkbook(name); });
    }
}

std::vector<std::string> SheetView::windowList() const {
    std::vector<std::string> list;
    const auto books = openBooks();
    if (!books) return list;
    const auto active = books->activeBook();
    for (const auto& book : books->books()) list.push_back(book->name() + (book == active ? "*" : ""));
    return list;
}

std::string SheetView::workbookName() const { return book_ ? book_->name() : std::string(); }

std::string SheetView::sheetName() const { return model_->sheet() ? model_->sheet()->name() : std::string(); }

void SheetView::changed() {
    refresh();
    if (onChanged) onChanged();
}

void SheetView::error(const std::string& text) {
    if (showError) {
        showError(kExcelTitle, text);
    } else {
        QMessageBox::critical(window(), QString::fromUtf8(kExcelTitle), toQ(text));
    }
}

void SheetView::showCurrentCell() {
    const QModelIndex current = table_->currentIndex();
    nameBox_->setText(current.isValid() && model_->sheet()
                          ? toQ(sim::columnLetters(current.column() + 1) + std::to_string(current.row() + 1))
                          : QString());
    // What a person is typing in the formula bar stays until Enter or another cell.
    if (!formula_->hasFocus() || !formula_->isModified()) {
        formula_->setText(current.isValid() ? model_->data(current, Qt::EditRole).toString() : QString());
        formula_->setModified(false);
    }
}

void SheetView::enterFromFormulaBar() {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) return;
    formula_->setModified(false);
    const std::string why = model_->enter(current.row(), current.column(), toStd(formula_->text()));
    if (!why.empty()) error("无法输入: " + why);
    table_->setFocus();
    showCurrentCell();
}

void SheetView::clearSelection() {
    const std::shared_ptr<sim::SimWorksheet> sheet = model_->sheet();
    if (!sheet) return;
    try {
        for (const QItemSelectionRange& range : table_->selectionModel()->selection()) {
            sheet
                ->Range(sheet->Cells(range.top() + 1, range.left() + 1),
                        sheet->Cells(range.bottom() + 1, range.right() + 1))
                ->ClearContents();
        }
    } catch (const std::exception& e) {
        error("无法清除: " + failureText(e));
    }
    changed();
}

void SheetView::copySelection() {
    const QItemSelection selection = table_->selectionModel()->selection();
    if (selection.isEmpty()) return;
    // The block as Excel puts it on the clipboard: rows of TAB-separated cells, as they are displayed.
    const QItemSelectionRange& range = selection.first();
    QString text;
    for (int row = range.top(); row <= range.bottom(); ++row) {
        for (int column = range.left(); column <= range.right(); ++column) {
            if (column > range.left()) text += QLatin1Char('\t');
            text += model_->index(row, column).data(Qt::DisplayRole).toString();
        }
        text += QStringLiteral("\r\n");
    }
    QGuiApplication::clipboard()->setText(text);
}

void SheetView::paste() {
    const QModelIndex at = table_->currentIndex();
    if (!at.isValid() || !model_->sheet()) return;
    QString text = QGuiApplication::clipboard()->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    if (text.isEmpty()) return;
    // Rows of TAB-separated texts land from the current cell on, each entered as if typed.
    const QStringList lines = text.split(QLatin1Char('\n'));
    int widest = 0;
    for (int line = 0; line < lines.size(); ++line) {
        const QStringList texts = lines[line].split(QLatin1Char('\t'));
        widest = std::max(widest, static_cast<int>(texts.size()));
        for (int i = 0; i < texts.size(); ++i) {
            const int row = at.row() + line;
            const int column = at.column() + i;
            if (row >= model_->rowCount() || column >= model_->columnCount()) continue;
            const std::string why = model_->enter(row, column, toStd(texts[i]));
            if (!why.empty()) {
                error("无法粘贴: " + why);
                changed();
                return;
            }
        }
    }
    const int bottom = std::min(at.row() + static_cast<int>(lines.size()), model_->rowCount()) - 1;
    const int right = std::min(at.column() + widest, model_->columnCount()) - 1;
    table_->selectionModel()->select(QItemSelection(at, model_->index(bottom, right)),
                                     QItemSelectionModel::ClearAndSelect);
    changed();
}

bool SheetView::activateSheet(int index) {
    if (!book_ || index < 0 || index >= static_cast<int>(book_->sheets().size())) return false;
    bool done = true;
    try {
        book_->sheets()[static_cast<std::size_t>(index)]->Activate();
    } catch (const std::exception& e) {
        error("无法激活工作表: " + failureText(e));
        done = false;
    }
    changed();
    return done;
}

bool SheetView::activateWorkbook(const std::string& name) {
    const auto books = openBooks();
    const auto book = books ? books->findByName(name) : nullptr;
    if (!book) return false;
    bool done = true;
    try {
        book->Activate();
    } catch (const std::exception& e) {
        error("无法激活工作簿: " + failureText(e));
        done = false;
    }
    changed();
    return done;
}

void SheetView::nextWorkbook() {
    const std::vector<std::string> list = windowList();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!list[i].empty() && list[i].back() == '*') {
            const std::string& next = list[(i + 1) % list.size()];
            activateWorkbook(next.back() == '*' ? next.substr(0, next.size() - 1) : next);
            return;
        }
    }
}

bool SheetView::save() {
    if (!book_) return false;
    // A workbook never saved has no file yet: Excel asks for one.
    if (book_->folder().empty()) return saveAs();
    return saveTo(automation::pathText(automation::filePath(book_->folder()) / automation::filePath(book_->name())));
}

std::shared_ptr<sim::SimWorkbooks> SheetView::openBooks() const {
    const auto excel = std::dynamic_pointer_cast<sim::SimExcel>(office_.host("Excel"));
    return excel ? excel->openWorkbooks() : nullptr;
}

int SheetView::offerToSaveChanges() {
    const auto books = openBooks();
    if (!books) return 0;
    int saved = 0;
    // A copy: saving under another name may reorder nothing, but a failed Activate must not skip a book.
    const std::vector<std::shared_ptr<sim::SimWorkbook>> open = books->books();
    for (const auto& book : open) {
        if (book->closed() || book->Saved()) continue;
        if (!activateWorkbook(book->name())) continue;
        refresh();
        const std::string question = "是否保存对“" + book->name() + "”的更改?";
        for (;;) {
            const bool yes = askYesNo ? askYesNo(kExcelTitle, question)
                                      : QMessageBox::question(window(), QString::fromUtf8(kExcelTitle), toQ(question),
                                                              QMessageBox::Yes | QMessageBox::No,
                                                              QMessageBox::Yes) == QMessageBox::Yes;
            if (!yes) break;
            if (save()) {
                ++saved;
                break;
            }
        }
    }
    return saved;
}

bool SheetView::saveAs() {
    if (!book_) return false;
    std::string suggested = book_->name();
    if (!book_->folder().empty()) {
        suggested = automation::pathText(automation::filePath(book_->folder()) / automation::filePath(suggested));
    } else if (fs::path(suggested).extension().empty()) {
        suggested += ".xls";
    }
    std::string path;
    if (askFileName) {
        path = askFileName(suggested);
    } else {
        path = toStd(QFileDialog::getSaveFileName(window(), QString::fromUtf8("另存为"), toQ(suggested),
                                                  QString::fromUtf8("Microsoft Excel 工作簿 (*.xls)")));
    }
    if (path.empty()) return false;
    // A name typed without an extension gets the workbook's, as Excel's dialog gives it.
    if (automation::filePath(path).extension().empty()) path += ".xls";
    return saveTo(path);
}

bool SheetView::open() {
    const auto excel = std::dynamic_pointer_cast<sim::SimExcel>(office_.host("Excel"));
    if (!excel) return false;
    const std::string folder = book_ ? book_->folder() : std::string();
    std::string path;
    if (askOpenName) {
        path = askOpenName(folder);
    } else {
        path = toStd(QFileDialog::getOpenFileName(window(), QString::fromUtf8("打开"), toQ(folder),
                                                  QString::fromUtf8("Microsoft Excel 工作簿 (*.xls)")));
    }
    if (path.empty()) return false;
    bool done = true;
    try {
        excel->Workbooks()->Open(path);
    } catch (const std::exception& e) {
        error("无法打开“" + path + "”。\n\n文件可能不存在，不是 Excel 97-2003 工作簿 (.xls)，或已损坏。\n\n(" +
              failureText(e) + ")");
        done = false;
    }
    changed();
    return done;
}

bool SheetView::newWorkbook() {
    const auto excel = std::dynamic_pointer_cast<sim::SimExcel>(office_.host("Excel"));
    if (!excel) return false;
    bool done = true;
    try {
        excel->Workbooks()->Add();
    } catch (const std::exception& e) {
        error("无法新建工作簿: " + failureText(e));
        done = false;
    }
    changed();
    return done;
}

bool SheetView::saveTo(const std::string& path) {
    const std::shared_ptr<sim::SimWorkbook> book = book_;
    bool done = true;
    try {
        const bool same =
            !book->folder().empty() &&
            automation::filePath(path) == automation::filePath(book->folder()) / automation::filePath(book->name());
        if (same) {
            book->Save();
        } else {
            book->SaveAs(path);
        }
    } catch (const std::exception& e) {
        error(saveFailureText(path, failureText(e), openBooks().get(), book.get()));
        done = false;
    }
    changed();
    return done;
}

void SheetView::runExcelCommand(int id) {
    // The key runs Excel's own command, as the menu would: a click hooked by the capture is reported in
    // Tessaline instead of saving, as in Excel.
    auto* host = dynamic_cast<HostWindow*>(window_);
    automation::ControlPtr command;
    if (host != nullptr) {
        try {
            const auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(office_.host("Excel"));
            if (excel)
                command = excel->CommandBars()->FindControl(std::nullopt, automation::Variant(id), std::nullopt,
                                                            automation::Variant(true));
        } catch (const std::exception&) {
            command = nullptr;
        }
    }
    if (command != nullptr) {
        host->runControl(command);
    } else if (id == kSaveId) {
        save();
    } else if (id == kSaveAsId) {
        saveAs();
    }
}

void SheetView::defaultActionRan(const std::string& logEntry) {
    static const std::string prefix = "builtin:";
    if (logEntry.rfind(prefix, 0) != 0) return;
    int id = 0;
    for (std::size_t i = prefix.size(); i < logEntry.size() && logEntry[i] >= '0' && logEntry[i] <= '9'; ++i) {
        id = id * 10 + (logEntry[i] - '0');
        if (id > 1000000) return;
    }
    if (id == kSaveId) {
        save();
    } else if (id == kSaveAsId) {
        saveAs();
    } else if (id == kOpenId) {
        open();
    } else if (id == kNewId) {
        newWorkbook();
    }
}

}  // namespace tessaline::ui
