#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QInputMethodEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

#include "automation/sim/SimOffice.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "ui/FlexGridModel.h"
#include "ui/FlexGridView.h"
#include "ui/MainWindow.h"
#include "ui/Text.h"
#include "ui/WindowPicture.h"

namespace tessaline::ui {
namespace {

using shell::vbmsg::ResultNo;
using shell::vbmsg::ResultYes;

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

// The window on a small in-memory Office with Excel running, its dialogs answered by a script.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        office = automation::sim::SimOffice::load(TESSALINE_SOURCE_DIR "/tests/data/office-small");
        form = std::make_unique<shell::Form1>(*office, ui);
        form->load();
        window = std::make_unique<MainWindow>(*form);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <class W>
    W* widget(const std::string& name) {
        auto* found = qobject_cast<W*>(window->widgetFor(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    FlexGridView* barGrid() { return widget<FlexGridView>("ListAllCommandbars"); }
    FlexGridView* controlGrid() { return widget<FlexGridView>("ListAllCommandControls"); }

    void clickCell(FlexGridView* view, int row, int col, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(view->cellSurface(row, col), button, Qt::NoModifier, view->cellCenter(row, col));
    }
    QString shownCell(FlexGridView* view, int row, int col) {
        return view->model()->data(view->model()->index(row, col)).toString();
    }
    void attachExcel() { QTest::mouseClick(widget<QRadioButton>("Excel"), Qt::LeftButton); }
    // Lists the controls of "Standard": 新建, 打开, 保存, 打印 and one more.
    void listStandard() {
        attachExcel();
        ASSERT_EQ(form->ListAllCommandbars.TextMatrix(2, 1), "Standard");
        clickCell(barGrid(), 2, 1);
        ASSERT_EQ(form->ListAllCommandControls.Rows(), 6);
    }

    std::unique_ptr<automation::sim::SimOffice> office;
    shell::ScriptedUi ui;
    std::unique_ptr<shell::Form1> form;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, ControlsSitAtTheirTwipsPlacesInTheirStackingOrder) {
    EXPECT_EQ(window->windowTitle(), "Tessaline");
    EXPECT_EQ(window->centralWidget()->size(), QSize(927, 568));

    auto* frame = widget<QGroupBox>("Frame1");
    EXPECT_EQ(frame->title(), q("选择Office组件"));
    EXPECT_EQ(frame->geometry(), QRect(8, 8, 153, 181));
    const std::vector<std::pair<const char*, const char*>> options = {
        {"Excel", "Excel"},     {"Word", "Word"}, {"PowerPoint", "PowerPoint"}, {"Access", "Access"},
        {"Outlook", "Outlook"}, {"VBE", "VBE"},   {"Void", "Nothing"}};
    int top = 16;
    for (const auto& [name, caption] : options) {
        auto* radio = widget<QRadioButton>(name);
        EXPECT_EQ(radio->parentWidget(), frame) << name;
        EXPECT_EQ(radio->text(), caption);
        EXPECT_EQ(radio->geometry(), QRect(8, top, 81, 25)) << name;
        top += 22;
    }
    EXPECT_TRUE(widget<QRadioButton>("Void")->isChecked());

    EXPECT_EQ(barGrid()->geometry(), QRect(168, 8, 575, 213));
    EXPECT_EQ(controlGrid()->geometry(), QRect(9, 232, 734, 267));
    EXPECT_EQ(widget<QPushButton>("SearchCommandbar")->text(), q("搜索工具栏"));
    EXPECT_EQ(widget<QLineEdit>("IDString")->geometry(), QRect(93, 504, 541, 25));
    EXPECT_EQ(widget<QPushButton>("BatchCopy")->text(), q("批量追加到"));
    EXPECT_EQ(widget<QCheckBox>("DesignMode")->text(), q("设计模式"));
    EXPECT_TRUE(widget<QCheckBox>("ShowMacroList")->isChecked());
    EXPECT_EQ(widget<QCheckBox>("Chk_Treeview")->text(), q("树形结构"));
    EXPECT_EQ(widget<QTextEdit>("RichTextBox1")->font().family(), "Times New Roman");

    // Hidden at start: the code box over the bar grid and the tree over the macro list.
    EXPECT_FALSE(widget<QPlainTextEdit>("Code")->isVisible());
    EXPECT_FALSE(widget<QTreeWidget>("TreeView1")->isVisible());
    EXPECT_TRUE(widget<QListWidget>("ListMacros")->isVisible());
    const QObjectList& stack = window->centralWidget()->children();
    auto depth = [&](const char* name) { return stack.indexOf(window->widgetFor(name)); };
    EXPECT_LT(depth("RichTextBox1"), depth("ListMacros"));
    EXPECT_LT(depth("ListMacros"), depth("TreeView1"));
    EXPECT_LT(depth("ListAllCommandbars"), depth("Code"));

    QWidget* status = window->widgetFor("StatusBar1");
    EXPECT_EQ(status->geometry(), QRect(0, 543, 927, 25));
    EXPECT_EQ(status->toolTip(), q("双击第5个面板取消子菜单项"));
    const int widths[] = {1159, 2318, 1440, 1440, 1440, 1440};
    for (int panel = 1; panel <= 6; ++panel) {
        ASSERT_NE(window->statusPanel(panel), nullptr);
        EXPECT_EQ(window->statusPanel(panel)->width(), px(widths[panel - 1]) - 2);
    }
}

TEST_F(MainWindowTest, MenuBarShowsTheThreeMenusAndHidesThePopupMenus) {
    EXPECT_EQ(window->actionFor("menuFile")->text(), q("文件(&F)"));
    EXPECT_EQ(window->actionFor("menuControl")->text(), q("控制(&C)"));
    EXPECT_EQ(window->actionFor("menuHelp")->text(), q("帮助(&H)"));
    EXPECT_EQ(window->actionFor("menuExit")->text(), q("退出(&X)"));
    EXPECT_EQ(window->actionFor("menuAbout")->text(), q("关于..."));
    for (const char* top : {"menuFile", "menuControl", "menuHelp"}) EXPECT_TRUE(window->actionFor(top)->isVisible());
    for (const char* popup : {"CommandbarOperation", "CommandbarControlOperation", "DesignModeMenu", "menuCallback",
                              "MenuListMacros", "MenuApp", "Viewer"}) {
        EXPECT_FALSE(window->actionFor(popup)->isVisible()) << popup;
    }
}

TEST_F(MainWindowTest, MenuItemsRunTheirHandlers) {
    window->actionFor("menuAbout")->trigger();
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().title, "产品信息 & 联系方式");

    window->actionFor("menuExit")->trigger();
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_TRUE(ui.unloaded);
}

TEST_F(MainWindowTest, OptionButtonsAttachAndDetach) {
    attachExcel();
    EXPECT_NE(form->HostApp, nullptr);
    EXPECT_TRUE(widget<QRadioButton>("Excel")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("Void")->isChecked());
    EXPECT_EQ(window->statusPanel(1)->text(), "Excel");
    EXPECT_EQ(barGrid()->model()->rowCount(), form->ListAllCommandbars.Rows());
    EXPECT_EQ(shownCell(barGrid(), 1, 1), "Worksheet Menu Bar");

    // Clicking the selected button again runs its handler again, and the button stays selected.
    QTest::mouseClick(widget<QRadioButton>("Excel"), Qt::LeftButton);
    EXPECT_TRUE(widget<QRadioButton>("Excel")->isChecked());

    QTest::mouseClick(widget<QRadioButton>("Void"), Qt::LeftButton);
    EXPECT_EQ(form->HostApp, nullptr);
    EXPECT_FALSE(widget<QRadioButton>("Excel")->isChecked());
    EXPECT_EQ(window->statusPanel(1)->text(), "Nothing");
    EXPECT_EQ(shownCell(barGrid(), 0, 1), "");
}

TEST_F(MainWindowTest, ALeftClickOnTheBarGridMakesTheCellCurrentBeforeTheHandlerRuns) {
    attachExcel();
    clickCell(barGrid(), 2, 1);
    EXPECT_EQ(form->ListAllCommandbars.Row(), 2);
    EXPECT_EQ(form->ListAllCommandbars.Col(), 1);
    ASSERT_NE(form->CurrentBar, nullptr);
    EXPECT_EQ(form->CurrentBar->Name(), "Standard");
    EXPECT_EQ(window->statusPanel(2)->text(), "Standard");
    EXPECT_EQ(shownCell(controlGrid(), 1, 2), q("新建(&N)"));
    EXPECT_TRUE(barGrid()->model()->data(barGrid()->model()->index(2, 1), FlexGridModel::CurrentCellRole).toBool());

    // A click on a header cell never makes it current.
    clickCell(barGrid(), 0, 2);
    EXPECT_GE(form->ListAllCommandbars.Row(), 1);
}

TEST_F(MainWindowTest, ARightClickOpensTheControlMenuWithoutMovingTheCurrentRow) {
    listStandard();
    clickCell(controlGrid(), 2, 2);
    clickCell(controlGrid(), 4, 5, Qt::RightButton);
    EXPECT_EQ(form->ListAllCommandControls.Row(), 2);
    EXPECT_EQ(form->ListAllCommandControls.Col(), 1);
    ASSERT_FALSE(ui.popups.empty());
    EXPECT_EQ(ui.popups.back().menu, "CommandbarControlOperation");

    ui.popups.clear();
    clickCell(barGrid(), 3, 4, Qt::RightButton);
    ASSERT_EQ(ui.popups.size(), 1U);
    EXPECT_EQ(ui.popups.back().menu, "CommandbarOperation");
    EXPECT_EQ(form->ListAllCommandbars.Row(), 2);
}

TEST_F(MainWindowTest, KeysTypeIntoTheCurrentCellOfTheControlGrid) {
    listStandard();
    FlexGridView* view = controlGrid();
    clickCell(view, 1, 2);
    QTest::keyClicks(view, "ab");
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "新建(&N)ab");
    QTest::keyClick(view, Qt::Key_Backspace);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "新建(&N)a");

    // Chinese comes from an input method as committed text, or as the text of a key.
    QInputMethodEvent composed;
    composed.setCommitString(q("中文"));
    QApplication::sendEvent(view, &composed);
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, q("字"));
    QApplication::sendEvent(view, &typed);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "新建(&N)a中文字");
    EXPECT_EQ(shownCell(view, 1, 2), q("新建(&N)a中文字"));

    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "");

    // The ID column takes no keys.
    clickCell(view, 1, 1);
    const std::string id = form->ListAllCommandControls.TextMatrix(1, 1);
    QTest::keyClicks(view, "9");
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 1), id);
}

TEST_F(MainWindowTest, ArrowKeysWalkTheCurrentCellOverDataCellsOnly) {
    listStandard();
    FlexGridView* view = controlGrid();
    clickCell(view, 1, 2);
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(form->ListAllCommandControls.Row(), 2);
    EXPECT_EQ(form->ListAllCommandControls.Col(), 3);
    QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(form->ListAllCommandControls.Row(), 1);
}

TEST_F(MainWindowTest, PageAndJumpKeysReachEveryRowWhileTheHeadersStayInPlace) {
    attachExcel();
    shell::FlexGrid& grid = form->ListAllCommandbars;
    while (grid.Rows() < 150) grid.AddItem("\tBar " + std::to_string(grid.Rows()));
    FlexGridView* view = barGrid();
    clickCell(view, 1, 1);
    const int headerTop = view->horizontalHeader()->mapTo(view, QPoint(0, 0)).y();

    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.Row(), 149);
    EXPECT_EQ(grid.Col(), grid.Cols() - 1);
    QApplication::processEvents();
    // The last row is in sight, and the header row and number column still show their texts on top.
    EXPECT_TRUE(view->viewport()->rect().contains(view->visualRect(view->model()->index(149, grid.Cols() - 1))));
    EXPECT_TRUE(view->horizontalHeader()->isVisible());
    EXPECT_EQ(view->horizontalHeader()->mapTo(view, QPoint(0, 0)).y(), headerTop);
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), q(grid.TextMatrix(0, 1).c_str()));
    EXPECT_EQ(view->model()->headerData(149, Qt::Vertical).toString(), q(grid.TextMatrix(149, 0).c_str()));
    EXPECT_GE(view->verticalHeader()->visualIndexAt(view->viewport()->height() - 2), 140);

    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(grid.Col(), grid.FixedCols());
    QTest::keyClick(view, Qt::Key_PageUp);
    EXPECT_LT(grid.Row(), 148);
    EXPECT_GT(grid.Row(), 1);
    const int paged = 149 - grid.Row();
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_EQ(grid.Row(), 149);
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_EQ(grid.Row(), 149);
    for (int i = 0; i < 150 / paged + 1; ++i) QTest::keyClick(view, Qt::Key_PageUp);
    EXPECT_EQ(grid.Row(), grid.FixedRows());
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid.Row(), grid.FixedRows());
    EXPECT_EQ(grid.Col(), grid.FixedCols());
}

TEST_F(MainWindowTest, AColumnBorderDraggedInTheHeaderWidensTheColumn) {
    attachExcel();
    FlexGridView* view = barGrid();
    QHeaderView* header = view->horizontalHeader();
    const int before = header->sectionSize(1);
    const int currentRow = form->ListAllCommandbars.Row();
    const int border = header->sectionViewportPosition(1) + before - 1;
    QWidget* surface = header->viewport();
    QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, QPoint(border, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(border + 40, 5), surface->mapToGlobal(QPointF(border + 40, 5)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
    QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, QPoint(border + 40, 5));
    EXPECT_EQ(header->sectionSize(1), before + 40);
    EXPECT_EQ(form->ListAllCommandbars.Row(), currentRow) << "a drag on a border is no click on a cell";
}

TEST_F(MainWindowTest, ADoubleClickTogglesAFlagCell) {
    listStandard();
    FlexGridView* view = controlGrid();
    const std::string before = form->ListAllCommandControls.TextMatrix(1, 7);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->cellCenter(1, 7));
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 7), before == "True" ? "False" : "True");
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->cellCenter(1, 7));
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 7), before);
}

TEST_F(MainWindowTest, EscAnywhereAsksToCloseAndNoMinimizes) {
    ui.queueMsgBoxAnswer(ResultNo);
    QTest::keyClick(widget<QLineEdit>("IDString"), Qt::Key_Escape);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages.back().prompt, "关闭?");
    EXPECT_EQ(ui.messages.back().title, "按下了Esc");
    EXPECT_EQ(ui.minimized, 1);
    EXPECT_FALSE(form->isUnloaded());

    // In the control grid Esc is the window's key too, and it types nothing into the cell.
    listStandard();
    clickCell(controlGrid(), 1, 2);
    ui.queueMsgBoxAnswer(ResultYes);
    QTest::keyClick(controlGrid(), Qt::Key_Escape);
    EXPECT_EQ(ui.messages.size(), 2U);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "新建(&N)");
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_TRUE(ui.unloaded);
}

TEST_F(MainWindowTest, AStatusPanelDoubleClickReachesTheHandler) {
    form->StatusBar1.SetPanelText(5, "文件(&F)");
    form->StatusBar1.SetPanelText(3, "2/6");
    EXPECT_EQ(window->statusPanel(5)->text(), q("文件(&F)"));
    QTest::mouseDClick(window->statusPanel(3), Qt::LeftButton);
    EXPECT_EQ(window->statusPanel(3)->text(), "2/6");
    QTest::mouseDClick(window->statusPanel(5), Qt::LeftButton);
    EXPECT_EQ(form->StatusBar1.PanelText(5), "");
    EXPECT_EQ(window->statusPanel(5)->text(), "");
}

TEST_F(MainWindowTest, ARightClickOnTheFrameOpensTheHostMenuOnlyWhenAttached) {
    auto* frame = widget<QGroupBox>("Frame1");
    const QPoint besideTheButtons(140, 100);
    QTest::mouseClick(frame, Qt::RightButton, Qt::NoModifier, besideTheButtons);
    EXPECT_TRUE(ui.popups.empty());

    attachExcel();
    QTest::mouseClick(frame, Qt::RightButton, Qt::NoModifier, besideTheButtons);
    ASSERT_EQ(ui.popups.size(), 1U);
    EXPECT_EQ(ui.popups.back().menu, "MenuApp");
    // The option buttons have their own mouse: a right click on one is not the frame's.
    QTest::mouseClick(widget<QRadioButton>("Word"), Qt::RightButton);
    EXPECT_EQ(ui.popups.size(), 1U);
}

TEST_F(MainWindowTest, RightClicksOnThePaneControlsReachTheirMouseDownWithoutSelecting) {
    std::vector<std::string> downs;
    for (const char* name : {"RichTextBox1", "ListMacros", "TreeView1"}) {
        form->control(name).onMouseDown = [&downs, name](const shell::MouseEvent& mouse) {
            downs.push_back(std::string(name) + ":" + std::to_string(mouse.button));
        };
    }
    form->ListMacros.AddItem("Module1.Hello");
    form->ListMacros.AddItem("Module1.World");
    form->ListMacros.SetListIndex(0);
    auto* list = widget<QListWidget>("ListMacros");
    QTest::mouseClick(list->viewport(), Qt::RightButton, Qt::NoModifier, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(form->ListMacros.ListIndex(), 0);

    auto* code = widget<QTextEdit>("RichTextBox1");
    form->ListMacros.SetVisible(false);
    QTest::mouseClick(code->viewport(), Qt::RightButton);

    form->TreeView1.SetVisible(true);
    QTest::mouseClick(widget<QTreeWidget>("TreeView1")->viewport(), Qt::RightButton);
    EXPECT_EQ(downs, (std::vector<std::string>{"ListMacros:2", "RichTextBox1:2", "TreeView1:2"}));
}

TEST_F(MainWindowTest, ListAndTreeClicksReachTheirHandlers) {
    std::vector<int> clicked;
    form->ListMacros.onClick = [&] { clicked.push_back(form->ListMacros.ListIndex()); };
    form->ListMacros.AddItem("Module1.Hello");
    form->ListMacros.AddItem("Module1.World");
    auto* list = widget<QListWidget>("ListMacros");
    ASSERT_EQ(list->count(), 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(clicked, std::vector<int>{1});

    std::string nodeClicked;
    form->TreeView1.onNodeClick = [&](shell::TreeNode& node) { nodeClicked = node.Key(); };
    form->TreeView1.SetVisible(true);
    form->TreeView1.Nodes().Add(std::nullopt, std::nullopt, "Excel", "Excel");
    form->TreeView1.Nodes().Add(std::string("Excel"), shell::tvw::Child, "Excel.Standard", "Standard");
    form->TreeView1.Nodes().Item(std::string("Excel")).SetExpanded(true);
    QApplication::processEvents();
    auto* tree = widget<QTreeWidget>("TreeView1");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* child = tree->topLevelItem(0)->child(0);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->text(0), "Standard");
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(child).center());
    EXPECT_EQ(nodeClicked, "Excel.Standard");
    EXPECT_EQ(form->TreeView1.SelectedItem()->Key(), "Excel.Standard");

    // Selecting or renaming keeps the items the user looks at; removing a node takes its item away.
    QApplication::processEvents();
    EXPECT_EQ(tree->topLevelItem(0)->child(0), child);
    EXPECT_EQ(tree->currentItem(), child);
    form->TreeView1.Nodes().Item(std::string("Excel")).SetText("Excel 2003");
    QApplication::processEvents();
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Excel 2003");
    EXPECT_EQ(tree->topLevelItem(0)->child(0), child);
    form->TreeView1.Nodes().Remove(std::string("Excel.Standard"));
    QApplication::processEvents();
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0);
}

TEST_F(MainWindowTest, ModelChangesShowInTheWidgets) {
    form->Code.SetVisible(true);
    form->Code.SetText("Sub A()\r\nEnd Sub");
    EXPECT_TRUE(widget<QPlainTextEdit>("Code")->isVisible());
    EXPECT_EQ(widget<QPlainTextEdit>("Code")->toPlainText(), "Sub A()\nEnd Sub");

    form->RichTextBox1.SetText("Sub 我来了()\r\n    MsgBox \"你好\"\r\nEnd Sub");
    form->RichTextBox1.SetSelStart(0);
    form->RichTextBox1.SetSelLength(form->RichTextBox1.SelLength() + 100);
    auto* code = widget<QTextEdit>("RichTextBox1");
    EXPECT_EQ(code->toPlainText(), q("Sub 我来了()\n    MsgBox \"你好\"\nEnd Sub"));
    EXPECT_EQ(code->textCursor().selectedText().size(), code->toPlainText().size());

    form->IDString.SetText("3,4,5");
    EXPECT_EQ(widget<QLineEdit>("IDString")->text(), "3,4,5");
    form->ListAllCommandbars.SetToolTipText("工具栏位置:左上右下=0123,浮动=4,快捷菜单=5");
    EXPECT_EQ(barGrid()->toolTip(), q("工具栏位置:左上右下=0123,浮动=4,快捷菜单=5"));
    form->ShowMacroList.SetValue(shell::vbcheck::Unchecked);
    EXPECT_FALSE(widget<QCheckBox>("ShowMacroList")->isChecked());
    form->menu("OpenSubItem").SetVisible(true);
    EXPECT_TRUE(window->actionFor("OpenSubItem")->isVisible());
    form->menu("MoveToTop").SetEnabled(false);
    EXPECT_FALSE(window->actionFor("MoveToTop")->isEnabled());

    form->ListMacros.AddItem("a");
    form->ListMacros.AddItem("b");
    form->ListMacros.SetListIndex(1);
    EXPECT_EQ(widget<QListWidget>("ListMacros")->currentRow(), 1);
    form->ListMacros.SetHorizontalExtent(2649);
    QApplication::processEvents();
    EXPECT_GE(widget<QListWidget>("ListMacros")->horizontalScrollBar()->maximum(), 2649 - px(2549));
    form->ListMacros.Clear();
    EXPECT_EQ(widget<QListWidget>("ListMacros")->count(), 0);
}

TEST_F(MainWindowTest, UserEditsReachTheModels) {
    auto* id = widget<QLineEdit>("IDString");
    QTest::keyClicks(id, "3,19");
    EXPECT_EQ(form->IDString.Text(), "3,19");
    QTest::mouseDClick(id, Qt::LeftButton);
    EXPECT_EQ(ui.clipboard, "3,19");

    auto* code = widget<QTextEdit>("RichTextBox1");
    form->RichTextBox1.SetText("Sub A()\r\nEnd Sub");
    code->setFocus();
    code->moveCursor(QTextCursor::End);
    QTest::keyClick(code, Qt::Key_Return);
    QTest::keyClicks(code, "x");
    EXPECT_EQ(form->RichTextBox1.Text(), "Sub A()\r\nEnd Sub\r\nx");
    EXPECT_EQ(form->RichTextBox1.SelStart(), 19);
    code->selectAll();
    EXPECT_EQ(form->RichTextBox1.SelStart(), 0);
    EXPECT_EQ(form->RichTextBox1.SelLength(), 19);

    int designClicks = 0;
    form->DesignMode.onClick = [&] { ++designClicks; };
    QTest::mouseClick(widget<QCheckBox>("DesignMode"), Qt::LeftButton);
    EXPECT_EQ(form->DesignMode.Value(), shell::vbcheck::Checked);
    EXPECT_EQ(designClicks, 1);
    EXPECT_TRUE(widget<QCheckBox>("DesignMode")->isChecked());
}

TEST_F(MainWindowTest, ButtonsRunTheirCommandAndADisabledControlHearsNothing) {
    int searches = 0;
    form->SearchCommandbar.onClick = [&] { ++searches; };
    QTest::mouseClick(widget<QPushButton>("SearchCommandbar"), Qt::LeftButton);
    EXPECT_EQ(searches, 1);

    form->SearchCommandbar.SetEnabled(false);
    EXPECT_FALSE(widget<QPushButton>("SearchCommandbar")->isEnabled());
    QTest::mouseClick(widget<QPushButton>("SearchCommandbar"), Qt::LeftButton);
    EXPECT_EQ(searches, 1);
}

TEST_F(MainWindowTest, ClosingTheWindowUnloadsTheForm) {
    window->close();
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_TRUE(ui.unloaded);
}

TEST_F(MainWindowTest, APictureOfTheWindowIsSaved) {
    attachExcel();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = toStd(dir.filePath("window.png"));
    ASSERT_TRUE(saveWindowPicture(*form, path));
    const QImage picture(toQ(path));
    EXPECT_EQ(picture.width(), 927);
    EXPECT_GT(picture.height(), 568);
    EXPECT_FALSE(form->isUnloaded());
    EXPECT_FALSE(saveWindowPicture(*form, toStd(dir.filePath("no/such/folder/window.png"))));
}

}  // namespace
}  // namespace tessaline::ui
