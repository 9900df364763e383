#include <gtest/gtest.h>
#include <unistd.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "automation/Excel.h"
#include "automation/sim/SimOffice.h"
#include "program/Startup.h"
#include "shell/ControlGrid.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "ui/FloatingButtons.h"
#include "ui/HostBarsView.h"
#include "ui/HostWindow.h"
#include "ui/MainWindow.h"
#include "ui/Text.h"

namespace tessaline::ui {
namespace {

namespace fs = std::filesystem;

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

// Lets the deferred refreshes and deletions run, as the event loop would between two user events.
void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// A menu item by its caption; the shortcut after the TAB does not count.
QAction* actionNamed(const QList<QAction*>& actions, const QString& caption) {
    for (QAction* action : actions) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) == caption) return action;
    }
    ADD_FAILURE() << "no menu item " << caption.toStdString();
    return nullptr;
}

QStringList texts(const QList<QAction*>& actions) {
    QStringList all;
    for (QAction* action : actions) all << (action->isSeparator() ? QStringLiteral("|") : action->text());
    return all;
}

QToolButton* buttonNamed(QWidget* bar, const QString& text) {
    if (bar == nullptr) return nullptr;
    for (QToolButton* button : bar->findChildren<QToolButton*>()) {
        if (button->text() == text) return button;
    }
    return nullptr;
}

// Tessaline on a small Office (Excel, Word and Outlook running; PowerPoint installed but stopped; the VBA
// editor closed), its dialogs answered by a script, beside the Office's host windows. The program folder is
// a fresh copy holding the menu-bar workbook, which the capture opens.
class HostWindowTest : public ::testing::Test {
protected:
    void SetUp() override { start(TESSALINE_SOURCE_DIR "/tests/data/office-small"); }

    void start(const std::string& content) {
        office = automation::sim::SimOffice::load(content);
        form = program::openMainWindow(*office, ui);
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        programFolder = fs::temp_directory_path() /
                        ("tessaline-hostwindow-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
        fs::create_directories(programFolder);
        fs::copy_file(TESSALINE_WORKBOOK_DIR "/Menubar.xls", programFolder / "Menubar.xls",
                      fs::copy_options::overwrite_existing);
        form->App.Path = programFolder.string();
        mainWindow = std::make_unique<MainWindow>(*form);
        mainWindow->show();
        hosts = std::make_unique<HostWindows>(*office);
        hosts->follow(*form);
        hosts->refresh();
        settle();
    }

    void TearDown() override {
        hosts.reset();
        mainWindow.reset();
        form.reset();
        std::error_code ignored;
        fs::remove_all(programFolder, ignored);
    }

    HostWindow* excelWindow() {
        HostWindow* window = hosts->window("Excel");
        EXPECT_NE(window, nullptr);
        return window;
    }
    QMenu* excelMenu(const char* caption) {
        QMenuBar* bar = qobject_cast<QMenuBar*>(excelWindow()->menuWidget());
        if (bar == nullptr) return nullptr;
        QAction* action = actionNamed(bar->actions(), q(caption));
        return action == nullptr ? nullptr : action->menu();
    }
    automation::CommandBarsPtr excelBars() {
        return std::dynamic_pointer_cast<automation::ExcelApplication>(office->host("Excel"))->CommandBars();
    }
    // A person clicks a toolbar button of the Excel window.
    void clickExcelButton(const char* bar, const char* text) {
        QToolButton* button = buttonNamed(excelWindow()->toolBar(bar), q(text));
        ASSERT_NE(button, nullptr) << bar << ": " << text;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    std::unique_ptr<automation::sim::SimOffice> office;
    shell::ScriptedUi ui;
    std::unique_ptr<shell::Form1> form;
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<HostWindows> hosts;
    fs::path programFolder;
};

// ----- What the windows show -----

TEST_F(HostWindowTest, EachRunningHostHasAWindowTitledLikeTheApplication) {
    std::vector<std::string> keys;
    for (HostWindow* window : hosts->windows()) keys.push_back(window->hostKey());
    EXPECT_EQ(keys, (std::vector<std::string>{"Excel", "Word", "Outlook"}));
    EXPECT_EQ(excelWindow()->windowTitle(), q("Microsoft Excel"));
    EXPECT_EQ(hosts->window("Word")->windowTitle(), q("Microsoft Word"));
    EXPECT_EQ(hosts->window("Outlook")->windowTitle(), q("Microsoft Outlook"));
    EXPECT_TRUE(excelWindow()->isVisible());
    EXPECT_EQ(excelWindow()->statusText(), q("就绪"));
}

TEST_F(HostWindowTest, TheExcelWindowShowsTheVisibleMenuBarWithNestedMenus) {
    QMenuBar* bar = qobject_cast<QMenuBar*>(excelWindow()->menuWidget());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), q("Worksheet Menu Bar"));
    EXPECT_EQ(texts(bar->actions()), (QStringList{q("文件(&F)"), q("编辑(&E)")}));

    QMenu* file = excelMenu("文件(&F)");
    ASSERT_NE(file, nullptr);
    // The group line before 发送 is a separator; 发送 opens a menu with a menu in it.
    EXPECT_EQ(texts(file->actions()),
              (QStringList{q("新建(&N)..."), q("打开(&O)..."), q("保存(&S)\tCtrl+S"), q("|"), q("发送(&D)")}));
    QMenu* send = actionNamed(file->actions(), q("发送(&D)"))->menu();
    ASSERT_NE(send, nullptr);
    QMenu* other = actionNamed(send->actions(), q("其他(&O)"))->menu();
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(texts(other->actions()), QStringList{q("传真收件人(&F)...")});

    QAction* paste = actionNamed(excelMenu("编辑(&E)")->actions(), q("粘贴(&P)"));
    ASSERT_NE(paste, nullptr);
    EXPECT_FALSE(paste->isEnabled());
    EXPECT_TRUE(actionNamed(excelMenu("编辑(&E)")->actions(), q("复制(&C)"))->toolTip().contains("FaceId 19"));
}

TEST_F(HostWindowTest, VisibleToolbarsShowTheirVisibleControlsAndNothingElse) {
    QToolBar* standard = excelWindow()->toolBar("Standard");
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(standard->windowTitle(), q("常用"));
    // Invisible toolbars, shortcut menus and "Built-in Menus" do not show.
    EXPECT_EQ(excelWindow()->toolBar("Formatting"), nullptr);
    EXPECT_EQ(excelWindow()->toolBar("Cell"), nullptr);
    EXPECT_EQ(excelWindow()->toolBar("Built-in Menus"), nullptr);

    QStringList buttons;
    for (QToolButton* button : standard->findChildren<QToolButton*>()) {
        if (button->isVisible()) buttons << button->text();
    }
    // Captions without their accelerator marks; the hidden 打印 is left out.
    EXPECT_TRUE(buttons.contains(q("新建(N)")));
    EXPECT_TRUE(buttons.contains(q("打开(O)...")));
    EXPECT_TRUE(buttons.contains(q("保存(S)")));
    EXPECT_FALSE(buttons.contains(q("打印(P)")));
    QToolButton* save = buttonNamed(standard, q("保存(S)"));
    EXPECT_FALSE(save->icon().isNull()) << "the FaceId shows as a badge";
    EXPECT_TRUE(save->toolTip().contains("FaceId 3"));

    const QList<QComboBox*> combos = standard->findChildren<QComboBox*>();
    ASSERT_EQ(combos.size(), 1);
    EXPECT_EQ(combos[0]->accessibleName(), q("显示比例(Z):"));
    QStringList items;
    for (int i = 0; i < combos[0]->count(); ++i) items << combos[0]->itemText(i);
    EXPECT_EQ(items, (QStringList{"200%", "100%", "75%"}));
    // The combo box begins a group.
    const QList<QAction*> actions = standard->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
}

// ----- Clicks -----

TEST_F(HostWindowTest, AClickOnAToolbarButtonRunsItInTheOfficeAndTheStatusBarSaysWhat) {
    clickExcelButton("Standard", "保存(S)");
    EXPECT_EQ(office->actionLog(), std::vector<std::string>{"builtin:3 保存(&S)"});
    EXPECT_EQ(excelWindow()->statusText(), q("内置命令: 3 保存(&S)"));

    actionNamed(excelMenu("编辑(&E)")->actions(), q("复制(&C)"))->trigger();
    EXPECT_EQ(office->actionLog().back(), "builtin:19 复制(&C)");
    EXPECT_EQ(excelWindow()->statusText(), q("内置命令: 19 复制(&C)"));
}

TEST_F(HostWindowTest, AButtonTessalineAddedRunsItsMacroAndOneWithoutActionSaysSo) {
    form->dispatch([&] {
        auto controls = excelBars()->Item(std::string("Standard"))->Controls();
        auto macro = controls->Add(automation::mso::ControlButton);
        macro->SetCaption("我的宏(&M)");
        macro->SetOnAction("MyMacro");
        controls->Add(automation::mso::ControlButton)->SetCaption("空按钮");
    });
    settle();
    clickExcelButton("Standard", "我的宏(M)");
    EXPECT_EQ(excelWindow()->statusText(), q("运行宏: MyMacro"));
    clickExcelButton("Standard", "空按钮");
    EXPECT_EQ(excelWindow()->statusText(), q("此控件没有指定动作"));
    EXPECT_EQ(office->actionLog(), std::vector<std::string>{"macro:MyMacro"});
}

// A toolbar far longer than any screen keeps its first controls as buttons; the rest are a menu at its end,
// and what is in that menu runs and follows changes as the buttons do.
TEST_F(HostWindowTest, TheControlsBeyondALongToolbarsButtonsAreInItsOverflowMenu) {
    automation::CommandBarPtr mine;
    form->dispatch([&] {
        mine = excelBars()->Add(std::string("Long"), automation::mso::BarTop);
        for (int i = 1; i <= 205; ++i)
            mine->Controls()->Add(automation::mso::ControlButton)->SetCaption("按钮" + std::to_string(i));
        mine->Controls()->Item(205)->SetOnAction("Last");
        mine->SetVisible(true);
    });
    settle();
    QToolBar* bar = excelWindow()->toolBar("Long");
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 201);
    EXPECT_EQ(bar->actions()[199]->text(), q("按钮200"));
    QMenu* more = bar->actions().back()->menu();
    ASSERT_NE(more, nullptr);
    emit more->aboutToShow();
    ASSERT_EQ(texts(more->actions()),
              (QStringList{q("按钮201"), q("按钮202"), q("按钮203"), q("按钮204"), q("按钮205")}));
    more->actions().back()->trigger();
    EXPECT_EQ(excelWindow()->statusText(), q("运行宏: Last"));

    form->dispatch([&] {
        mine->Controls()->Item(204)->SetCaption("改过");
        mine->Controls()->Item(1)->Delete({});
    });
    settle();
    ASSERT_EQ(bar->actions().size(), 201);
    EXPECT_EQ(bar->actions()[199]->text(), q("按钮201"));
    emit more->aboutToShow();
    EXPECT_EQ(texts(more->actions()), (QStringList{q("按钮202"), q("按钮203"), q("改过"), q("按钮205")}));

    form->dispatch([&] {
        for (int i = 0; i < 5; ++i) mine->Controls()->Item(1)->Delete({});
    });
    settle();
    EXPECT_EQ(bar->actions().size(), 199) << "no overflow once every control has a button";
}

TEST_F(HostWindowTest, APopupOnAToolbarDropsItsItemsAndASplitButtonRunsItsOwnPart) {
    form->dispatch([&] {
        auto controls = excelBars()->Item(std::string("Standard"))->Controls();
        auto popup = controls->Add(automation::mso::ControlPopup);
        popup->SetCaption("弹出(&U)");
        popup->AsPopup()->Controls()->Add(automation::mso::ControlButton)->SetCaption("甲");
        auto split = controls->Add(automation::mso::ControlSplitButtonPopup);
        split->SetCaption("拆分");
        split->SetOnAction("SplitMain");
        auto item = split->AsPopup()->Controls()->Add(automation::mso::ControlButton);
        item->SetCaption("乙");
        item->SetOnAction("SplitItem");
    });
    settle();
    QToolBar* standard = excelWindow()->toolBar("Standard");
    QToolButton* popup = buttonNamed(standard, q("弹出(U)"));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->popupMode(), QToolButton::InstantPopup);
    ASSERT_NE(popup->menu(), nullptr);
    EXPECT_EQ(texts(popup->menu()->actions()), QStringList{q("甲")});

    QToolButton* split = buttonNamed(standard, q("拆分"));
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->popupMode(), QToolButton::MenuButtonPopup);
    split->click();
    EXPECT_EQ(excelWindow()->statusText(), q("运行宏: SplitMain"));
    actionNamed(split->menu()->actions(), q("乙"))->trigger();
    EXPECT_EQ(excelWindow()->statusText(), q("运行宏: SplitItem"));
}

TEST_F(HostWindowTest, ChoosingFromAComboBoxSetsItsTextAndRunsIt) {
    QComboBox* zoom = excelWindow()->toolBar("Standard")->findChild<QComboBox*>();
    ASSERT_NE(zoom, nullptr);
    zoom->textActivated(QStringLiteral("75%"));
    auto combo = excelBars()->Item(std::string("Standard"))->Controls()->Item(5)->AsComboBox();
    EXPECT_EQ(combo->Text(), "75%");
    EXPECT_EQ(office->actionLog().back(), "builtin:1733 显示比例(&Z):");
    settle();
    EXPECT_EQ(excelWindow()->toolBar("Standard")->findChild<QComboBox*>()->currentText(), QStringLiteral("75%"));
}

TEST_F(HostWindowTest, WithToolbarCaptureOnAClickReportsInTessalineInsteadOfRunning) {
    form->userClick(form->Excel);
    form->clickMenu("menuMenubarOpen");
    form->clickMenu("menuCommandbarCapture");
    settle();
    ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().prompt;
    office->clearActionLog();

    clickExcelButton("Standard", "保存(S)");
    EXPECT_TRUE(office->actionLog().empty()) << "the button's own action must not run";
    EXPECT_EQ(excelWindow()->statusText(), q("单击已被事件挂钩取消"));
    const std::string report =
        "ID:=3\r\nApplication.CommandBars(\"Standard\").Controls(\"保存(&S)\")\r\n"
        "Application.CommandBars(2).Controls(3)\r\n";
    EXPECT_EQ(form->Code.Text().substr(0, report.size()), report);
    EXPECT_NE(form->Code.Text().find("Set ct = Application.CommandBars(\"Standard\").Controls.Add("),
              std::string::npos);
    // The code box lays its text out once the click's event is over.
    settle();
    auto* code = qobject_cast<QPlainTextEdit*>(mainWindow->widgetFor("Code"));
    ASSERT_NE(code, nullptr);
    EXPECT_TRUE(code->isVisible());
    EXPECT_TRUE(code->toPlainText().startsWith(q("ID:=3\nApplication.CommandBars(\"Standard\")")));

    // The menu bar's own 保存 is hooked as well, and reports its own place.
    actionNamed(excelMenu("文件(&F)")->actions(), q("保存(&S)"))->trigger();
    EXPECT_TRUE(office->actionLog().empty());
    EXPECT_EQ(form->Code.Text().substr(0, form->Code.Text().find("\r\nSub")),
              "ID:=3\r\nApplication.CommandBars(\"Worksheet Menu Bar\").Controls(\"文件(&F)\").Controls(\"保存(&S)\")"
              "\r\nApplication.CommandBars(1).Controls(1).Controls(3)");

    // Back to normal: the same click runs the button again.
    form->clickMenu("menuNormal");
    clickExcelButton("Standard", "保存(S)");
    EXPECT_EQ(office->actionLog(), std::vector<std::string>{"builtin:3 保存(&S)"});
}

// ----- Following the Office -----

TEST_F(HostWindowTest, ABarTessalineShowsAndAControlItAddsAppearAfterItsEvent) {
    form->userClick(form->Excel);
    ASSERT_EQ(form->ListAllCommandbars.TextMatrix(3, 1), "Formatting");
    form->userClickCell(form->ListAllCommandbars, 3, 1);
    form->clickMenu("ShowCommandbar");
    settle();
    QToolBar* formatting = excelWindow()->toolBar("Formatting");
    ASSERT_NE(formatting, nullptr);
    // Icon-only style shows the FaceId alone; an edit box is a line edit.
    QToolButton* bold = buttonNamed(formatting, q("加粗(B)"));
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(bold->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_EQ(formatting->findChildren<QComboBox*>().size(), 1);

    form->dispatch([&] { excelBars()->Item(std::string("Formatting"))->Controls()->Add(1, 3, {}, 1); });
    settle();
    EXPECT_NE(buttonNamed(excelWindow()->toolBar("Formatting"), q("保存(S)")), nullptr);
}

TEST_F(HostWindowTest, AnEventThatChangesNothingVisibleRebuildsNothing) {
    const int builds = excelWindow()->buildCount();
    form->userClick(form->Excel);
    form->userClickCell(form->ListAllCommandbars, 2, 1);
    settle();
    EXPECT_EQ(excelWindow()->buildCount(), builds);

    form->dispatch([&] { excelBars()->Item(std::string("Standard"))->Controls()->Item(1)->SetCaption("新的"); });
    settle();
    EXPECT_EQ(excelWindow()->buildCount(), builds + 1);
    EXPECT_NE(buttonNamed(excelWindow()->toolBar("Standard"), q("新的")), nullptr);
}

TEST_F(HostWindowTest, BarsChangeInPlaceAndNothingIsReadWhenNothingChanged) {
    QToolBar* standard = excelWindow()->toolBar("Standard");
    ASSERT_NE(standard, nullptr);
    QToolButton* open = buttonNamed(standard, q("打开(O)..."));
    ASSERT_NE(open, nullptr);
    const int reads = excelWindow()->barReadCount();
    form->userClickCell(form->ListAllCommandbars, 2, 1);
    settle();
    EXPECT_EQ(excelWindow()->barReadCount(), reads) << "nothing changed, so nothing was read";

    // A caption shows on the same bar and button; only the bar that changed is read again.
    const auto controls = excelBars()->Item(std::string("Standard"))->Controls();
    form->dispatch([&] { controls->Item(2)->SetCaption("打开文件(&O)"); });
    settle();
    EXPECT_EQ(excelWindow()->toolBar("Standard"), standard);
    EXPECT_EQ(buttonNamed(standard, q("打开文件(O)")), open);
    EXPECT_EQ(excelWindow()->barReadCount(), reads + 1);

    // A deleted button goes, the others keep their places.
    form->dispatch([&] { controls->Item(1)->Delete({}); });
    settle();
    EXPECT_EQ(buttonNamed(standard, q("新建(N)")), nullptr);
    ASSERT_GE(standard->actions().size(), 2);
    EXPECT_EQ(standard->actions()[0]->text(), q("打开文件(O)"));

    // A bar made visible comes; a hidden bar and a deleted bar leave the window.
    automation::CommandBarPtr mine;
    form->dispatch([&] {
        mine = excelBars()->Add(std::string("Mine"), automation::mso::BarTop);
        mine->Controls()->Add(automation::mso::ControlButton)->SetCaption("一");
        mine->SetVisible(true);
    });
    settle();
    ASSERT_NE(buttonNamed(excelWindow()->toolBar("Mine"), q("一")), nullptr);
    form->dispatch([&] { excelBars()->Item(std::string("Standard"))->SetVisible(false); });
    settle();
    EXPECT_EQ(excelWindow()->toolBar("Standard"), nullptr);
    form->dispatch([&] { mine->Delete(); });
    settle();
    EXPECT_EQ(excelWindow()->toolBar("Mine"), nullptr);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HostWindowTest, ARelabelledFloatingBarKeepsItsButtons) {
    form->dispatch([&] { shell::ShowFaceIdViewer(*form, 2); });
    settle();
    QWidget* viewer = excelWindow()->floatingBar("FaceIDViewer");
    ASSERT_NE(viewer, nullptr);
    const FloatingButtons* before = viewer->findChild<FloatingButtons*>();
    ASSERT_NE(before, nullptr);
    form->dispatch([&] { shell::ShowFaceIdViewer(*form, 0); });
    settle();
    ASSERT_EQ(excelWindow()->floatingBar("FaceIDViewer"), viewer);
    const FloatingButtons* after = viewer->findChild<FloatingButtons*>();
    ASSERT_EQ(after, before);
    ASSERT_EQ(after->count(), 1000U);
    EXPECT_TRUE(toQ(hostToolTip(after->button(0).shown)).endsWith("FaceId 1"));
    EXPECT_TRUE(toQ(hostToolTip(after->button(999).shown)).endsWith("FaceId 1000"));
}

TEST_F(HostWindowTest, TheFaceIdViewerShowsAsAFloatingBarOfNumberedFaces) {
    form->dispatch([&] { shell::ShowFaceIdViewer(*form, 2); });
    settle();
    QWidget* viewer = excelWindow()->floatingBar("FaceIDViewer");
    ASSERT_NE(viewer, nullptr);
    auto* faces = viewer->findChild<FloatingButtons*>();
    ASSERT_NE(faces, nullptr);
    ASSERT_EQ(faces->count(), 1000U);
    EXPECT_EQ(faces->button(0).style, Qt::ToolButtonIconOnly);
    EXPECT_TRUE(toQ(hostToolTip(faces->button(0).shown)).contains("FaceId 2001"));
    EXPECT_TRUE(toQ(hostToolTip(faces->button(999).shown)).contains("FaceId 3000"));
    EXPECT_EQ(excelWindow()->toolBar("FaceIDViewer"), nullptr) << "a floating bar is not docked";

    // The first face is painted: its number's dark digits on the light badge.
    const QImage face = faces->grab(faces->buttonRect(0)).toImage();
    int darkest = 255;
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) darkest = std::min(darkest, qGray(face.pixel(x, y)));
    }
    EXPECT_LT(darkest, 120);

    // A screen reader finds every face by its number, and presses it as a click does.
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(faces);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->childCount(), 1000);
    EXPECT_EQ(bar->child(999)->text(QAccessible::Name), QStringLiteral("3000"));
    EXPECT_EQ(bar->childAt(faces->mapToGlobal(faces->buttonRect(1).center()).x(),
                           faces->mapToGlobal(faces->buttonRect(1).center()).y()),
              bar->child(1));

    QTest::mouseClick(faces, Qt::LeftButton, {}, faces->buttonRect(0).center());
    EXPECT_EQ(excelWindow()->statusText(), q("此控件没有指定动作"));
}

TEST_F(HostWindowTest, AFloatingBarsPopupDropsItsListAndASplitButtonRunsItsOwnPart) {
    form->dispatch([&] {
        auto bar = excelBars()->Add(std::string("Float"), automation::mso::BarFloating);
        auto popup = bar->Controls()->Add(automation::mso::ControlPopup);
        popup->SetCaption("弹出(&U)");
        popup->AsPopup()->Controls()->Add(automation::mso::ControlButton)->SetCaption("甲");
        auto split = bar->Controls()->Add(automation::mso::ControlSplitButtonPopup);
        split->SetCaption("拆分");
        split->SetOnAction("SplitMain");
        auto item = split->AsPopup()->Controls()->Add(automation::mso::ControlButton);
        item->SetCaption("乙");
        item->SetOnAction("SplitItem");
        bar->SetVisible(true);
    });
    settle();
    QWidget* panel = excelWindow()->floatingBar("Float");
    ASSERT_NE(panel, nullptr);
    auto* buttons = panel->findChild<FloatingButtons*>();
    ASSERT_NE(buttons, nullptr);
    ASSERT_EQ(buttons->count(), 2U);

    QTest::mouseClick(buttons, Qt::LeftButton, {}, buttons->buttonRect(0).center());
    auto* list = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(texts(list->actions()), QStringList{q("甲")});
    list->close();

    const QRect split = buttons->buttonRect(1);
    QTest::mouseClick(buttons, Qt::LeftButton, {}, QPoint(split.left() + 4, split.center().y()));
    EXPECT_EQ(excelWindow()->statusText(), q("运行宏: SplitMain"));
    QTest::mouseClick(buttons, Qt::LeftButton, {}, QPoint(split.right() - 2, split.center().y()));
    list = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(list, nullptr);
    actionNamed(list->actions(), q("乙"))->trigger();
    list->close();
    EXPECT_EQ(excelWindow()->statusText(), q("运行宏: SplitItem"));
    EXPECT_EQ(office->actionLog(), (std::vector<std::string>{"macro:SplitMain", "macro:SplitItem"}))
        << "the arrow drops the list and runs nothing";
}

TEST_F(HostWindowTest, ShowWindowAndSetForegroundWindowMoveTheWindows) {
    const automation::WindowHandle word = office->hostWindow("Word");
    // Choosing Word in Tessaline maximizes Word's window and brings it to the front.
    form->userClick(form->Word);
    settle();
    EXPECT_TRUE(hosts->window("Word")->isMaximized());

    office->ShowWindow(word, automation::sw::Minimized);
    hosts->refresh();
    EXPECT_TRUE(hosts->window("Word")->isMinimized());
    office->ShowWindow(word, automation::sw::Normal);
    hosts->refresh();
    EXPECT_FALSE(hosts->window("Word")->isMinimized());
    EXPECT_FALSE(hosts->window("Word")->isMaximized());
    office->ShowWindow(word, automation::sw::Hide);
    hosts->refresh();
    EXPECT_FALSE(hosts->window("Word")->isVisible());
}

TEST_F(HostWindowTest, ClosingAHostWindowHidesItInTheOfficeUntilTessalineShowsItAgain) {
    const automation::WindowHandle excel = office->hostWindow("Excel");
    excelWindow()->close();
    EXPECT_FALSE(office->windowVisible(excel));
    EXPECT_TRUE(office->isRunning("Excel"));
    form->userClick(form->Excel);
    settle();
    EXPECT_TRUE(excelWindow()->isVisible());
    EXPECT_TRUE(excelWindow()->isMaximized());
}

TEST_F(HostWindowTest, TheEditorGetsItsWindowOnceAltF11OpenedIt) {
    EXPECT_EQ(hosts->window("VBE"), nullptr);
    form->userClick(form->VBE);
    settle();
    HostWindow* editor = hosts->window("VBE");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), q("Microsoft Visual Basic"));
    QMenuBar* bar = qobject_cast<QMenuBar*>(editor->menuWidget());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), q("菜单条"));
    EXPECT_NE(editor->toolBar("标准"), nullptr);
}

TEST_F(HostWindowTest, AStoppedHostsWindowClosesAndStaleClicksNeverCrash) {
    // A button whose control was deleted behind the window's back (no event told the window).
    QToolButton* open = buttonNamed(excelWindow()->toolBar("Standard"), q("打开(O)..."));
    ASSERT_NE(open, nullptr);
    excelBars()->Item(std::string("Standard"))->Controls()->Item(2)->Delete();
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_TRUE(excelWindow()->statusText().startsWith(q("无法执行: ")));
    settle();
    EXPECT_EQ(buttonNamed(excelWindow()->toolBar("Standard"), q("打开(O)...")), nullptr);

    // Excel quits while its window still shows a button: the click does no harm, the window goes.
    QToolButton* save = buttonNamed(excelWindow()->toolBar("Standard"), q("保存(S)"));
    ASSERT_NE(save, nullptr);
    office->stopHost("Excel");
    QTest::mouseClick(save, Qt::LeftButton);
    settle();
    EXPECT_EQ(hosts->window("Excel"), nullptr);
    EXPECT_NE(hosts->window("Word"), nullptr);

    // Started again, it gets a fresh window.
    office->startHost("Excel");
    hosts->refresh();
    ASSERT_NE(hosts->window("Excel"), nullptr);
    EXPECT_NE(hosts->window("Excel")->toolBar("Standard"), nullptr);
}

TEST_F(HostWindowTest, TessalineStaysUsableWhenTheOfficeWindowsFollowIt) {
    // Tessaline attaches to hosts that start and stop under it; every event refreshes without trouble.
    office->stopHost("Word");
    form->userClick(form->Word);
    settle();
    EXPECT_EQ(hosts->window("Word"), nullptr);
    EXPECT_EQ(form->StatusBar1.PanelText(1), "Nothing");
    hosts.reset();
    form->userClick(form->Excel);
    EXPECT_EQ(form->StatusBar1.PanelText(1), "Excel") << "the form goes on without host windows";
}

// The picture of an Excel host window beside Tessaline, after a captured click; saved where the variable
// TESSALINE_HOST_SCREENSHOT says.
class HostWindowPicture : public HostWindowTest {
protected:
    void SetUp() override { start(TESSALINE_DATA_DIR "/office"); }
};

TEST_F(HostWindowPicture, TheExcelWindowAndTessalineAreDrawnSideBySide) {
    form->userClick(form->Excel);
    form->clickMenu("menuMenubarOpen");
    form->clickMenu("menuCommandbarCapture");
    settle();
    clickExcelButton("Standard", "保存(S)");
    settle();
    HostWindow* excel = excelWindow();
    excel->showNormal();
    excel->resize(1000, 560);
    settle();
    // The workbook the capture opened is the one in front.
    EXPECT_EQ(excel->windowTitle(), q("Microsoft Excel - Menubar.xls"));
    ASSERT_NE(excel->toolBar("Formatting"), nullptr);

    const QPixmap host = excel->grab();
    const QPixmap tool = mainWindow->grab();
    ASSERT_FALSE(host.isNull());
    ASSERT_FALSE(tool.isNull());
    // An offscreen grab has no frame, so each window gets its title drawn above it.
    constexpr int titleHeight = 24;
    constexpr int gap = 16;
    QPixmap both(host.width() + tool.width() + gap, std::max(host.height(), tool.height()) + titleHeight);
    both.fill(QColor(0x3a, 0x6e, 0xa5));
    {
        QPainter painter(&both);
        painter.setPen(Qt::white);
        painter.setFont(MainWindow::uiFont());
        const auto drawWindow = [&](int left, const QPixmap& picture, const QString& title) {
            painter.fillRect(left, 0, picture.width(), titleHeight, QColor(0x0a, 0x24, 0x6a));
            painter.drawText(QRect(left + 8, 0, picture.width() - 8, titleHeight), Qt::AlignVCenter, title);
            painter.drawPixmap(left, titleHeight, picture);
        };
        drawWindow(0, host, excel->windowTitle());
        drawWindow(host.width() + gap, tool, mainWindow->windowTitle());
    }
    if (const QByteArray path = qgetenv("TESSALINE_HOST_SCREENSHOT"); !path.isEmpty()) {
        EXPECT_TRUE(both.save(QString::fromLocal8Bit(path), "PNG"));
    }
}

}  // namespace
}  // namespace tessaline::ui
