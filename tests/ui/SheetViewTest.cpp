#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "automation/Excel.h"
#include "automation/sim/SimOffice.h"
#include "program/Startup.h"
#include "shell/ControlGrid.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "ui/HostWindow.h"
#include "ui/MainWindow.h"
#include "ui/SheetView.h"
#include "xls/XlsFile.h"

namespace tessaline::ui {
namespace {

namespace fs = std::filesystem;
using automation::Variant;

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QAction* actionNamed(const QList<QAction*>& actions, const QString& caption) {
    for (QAction* action : actions) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) == caption) return action;
    }
    return nullptr;
}

// Typed as a person types: Latin characters as key presses, Chinese as an input method commits them.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QCoreApplication::sendEvent(widget, &commit);
        }
    }
}

// Tessaline and Excel's window on the shipped content, with a program folder of its own holding a copy of
// the designer workbook.
class SheetViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        office = automation::sim::SimOffice::load(TESSALINE_DATA_DIR "/office");
        form = program::openMainWindow(*office, ui);
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        programFolder = fs::temp_directory_path() /
                        ("tessaline-sheetview-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
        fs::create_directories(programFolder);
        fs::copy_file(TESSALINE_WORKBOOK_DIR "/Tessaline.xls", programFolder / "Tessaline.xls",
                      fs::copy_options::overwrite_existing);
        form->App.Path = programFolder.string();
        mainWindow = std::make_unique<MainWindow>(*form);
        mainWindow->show();
        hosts = std::make_unique<HostWindows>(*office);
        hosts->follow(*form);
        hosts->refresh();
        settle();
        sheet = excel()->sheetView();
        ASSERT_NE(sheet, nullptr);
        // No dialog may block a test: every error box is kept, every file name comes from the test.
        sheet->showError = [this](const std::string&, const std::string& text) { errors.push_back(text); };
        sheet->askFileName = [this](const std::string& suggested) {
            suggestedNames.push_back(suggested);
            return nextFileName;
        };
    }

    void TearDown() override {
        hosts.reset();
        mainWindow.reset();
        form.reset();
        std::error_code ignored;
        fs::remove_all(programFolder, ignored);
    }

    HostWindow* excel() { return hosts->window("Excel"); }
    std::shared_ptr<automation::ExcelApplication> excelApp() {
        return std::dynamic_pointer_cast<automation::ExcelApplication>(office->host("Excel"));
    }
    QString shown(int row, int column) {
        return sheet->table()->model()->index(row, column).data(Qt::DisplayRole).toString();
    }
    // Excel's designer command opens the workbook, as a person would start a design.
    void openDesignerWorkbook() {
        form->clickMenu("MenuExcelDesign");
        settle();
        ASSERT_EQ(excel()->sheetView(), sheet);
        ASSERT_EQ(sheet->workbookName(), "Tessaline.xls");
    }

    // A person clicks a cell, types and presses a key that ends the entry (Return moves down, Tab right).
    void typeIntoCell(int row, int column, const QString& text, Qt::Key end = Qt::Key_Return) {
        QTableView* table = sheet->table();
        const QModelIndex index = table->model()->index(row, column);
        table->scrollTo(index);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
        ASSERT_EQ(table->currentIndex(), index);
        // The first key opens the cell's editor, which takes the rest.
        typeText(table, text.left(1));
        auto* editor = table->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << "typing did not open the cell";
        typeText(editor, text.mid(1));
        QTest::keyClick(editor, end);
        settle();
    }
    // A person chooses a command of Excel's menu bar.
    void chooseExcelMenu(const char* menu, const char* item) {
        auto* bar = qobject_cast<QMenuBar*>(excel()->menuWidget());
        ASSERT_NE(bar, nullptr);
        QAction* top = actionNamed(bar->actions(), q(menu));
        ASSERT_NE(top, nullptr) << menu;
        QAction* command = actionNamed(top->menu()->actions(), q(item));
        ASSERT_NE(command, nullptr) << item;
        command->trigger();
        settle();
    }

    std::unique_ptr<automation::sim::SimOffice> office;
    shell::ScriptedUi ui;
    std::unique_ptr<shell::Form1> form;
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<HostWindows> hosts;
    fs::path programFolder;
    SheetView* sheet = nullptr;
    std::vector<std::string> errors;
    std::vector<std::string> suggestedNames;
    std::string nextFileName;
};

TEST_F(SheetViewTest, ADesignTypedIntoTheSheetIsAddedByBatchAddAndSavedAsTyped) {
    // A bar to design for, listed in Tessaline.
    excelApp()->CommandBars()->Add("设计条");
    form->userClick(form->Excel);
    int barRow = 0;
    for (int row = 1; row < form->ListAllCommandbars.Rows(); ++row) {
        if (form->ListAllCommandbars.TextMatrix(row, 1) == "设计条") barRow = row;
    }
    ASSERT_GT(barRow, 0);
    form->userClickCell(form->ListAllCommandbars, barRow, 1);
    openDesignerWorkbook();
    EXPECT_EQ(excel()->windowTitle(), q("Microsoft Excel - Tessaline.xls"));
    EXPECT_EQ(sheet->tabs()->count(), 3);
    EXPECT_EQ(shown(0, 2), q("标题"));
    EXPECT_EQ(shown(1, 8), q("2950")) << "a number shows as Excel shows it";

    // The design goes onto the empty second sheet: a click on its tab activates it in Excel.
    QTabBar* tabs = sheet->tabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    settle();
    EXPECT_EQ(excelApp()->ActiveWorkbook()->ActiveSheet()->Name(), "Sheet2");
    EXPECT_EQ(shown(0, 2), QString());

    typeIntoCell(0, 0, q("序号"));
    // Row 2 typed across with Tab, as a person fills a row: number, ID, caption, built-in, group line, ...
    typeIntoCell(1, 0, q("1"), Qt::Key_Tab);
    typeIntoCell(1, 1, q("1"), Qt::Key_Tab);
    typeIntoCell(1, 2, q("问好"), Qt::Key_Tab);
    EXPECT_EQ(sheet->table()->currentIndex().column(), 3) << "Tab moves to the next cell without editing it";
    typeIntoCell(1, 4, q("false"), Qt::Key_Tab);
    typeIntoCell(1, 5, q("1"), Qt::Key_Tab);
    typeIntoCell(1, 6, q("TRUE"), Qt::Key_Tab);
    typeIntoCell(1, 7, q("true"), Qt::Key_Tab);
    typeIntoCell(1, 8, q("59"), Qt::Key_Tab);
    typeIntoCell(1, 9, q("SayHello"));
    EXPECT_EQ(sheet->table()->currentIndex().row(), 2) << "Return moves down";
    EXPECT_EQ(shown(1, 7), q("TRUE"));
    EXPECT_EQ(sheet->table()->model()->index(1, 5).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight)
        << "a typed number is a number";
    const automation::WorksheetPtr designSheet = excelApp()->Workbooks()->Item("Tessaline.xls")->Worksheets("Sheet2");
    EXPECT_EQ(designSheet->Range("F2")->Value(), Variant(1.0));
    EXPECT_EQ(designSheet->Range("H2")->Value(), Variant(true));
    EXPECT_EQ(designSheet->Range("C2")->Value(), Variant("问好"));

    // 批量添加 reads the active sheet of the workbook.
    form->clickMenu("BatchAddfromExcel");
    settle();
    const automation::ControlsPtr added = form->CurrentBar->Controls();
    ASSERT_EQ(added->Count(), 1);
    EXPECT_EQ(added->Item(1)->Caption(), "问好");
    EXPECT_EQ(added->Item(1)->OnAction(), "SayHello");
    EXPECT_TRUE(added->Item(1)->Visible());

    // Ctrl+S (File > 保存) writes the file in place; read back, numbers, texts and Booleans are as typed.
    QTest::keyClick(sheet->table(), Qt::Key_S, Qt::ControlModifier);
    settle();
    EXPECT_EQ(excel()->statusText(), q("内置命令: 3 保存(&S)")) << "the key runs Excel's own command";
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_TRUE(excelApp()->ActiveWorkbook()->Saved());
    const xls::WorkbookData saved = xls::readWorkbook((programFolder / "Tessaline.xls").string());
    ASSERT_EQ(saved.sheets.size(), 3U);
    EXPECT_EQ(saved.activeSheet, 1);
    const auto& cells = saved.sheets[1].cells;
    EXPECT_EQ(cells.at({2, 3}), Variant("问好"));
    EXPECT_EQ(cells.at({2, 6}), Variant(1.0));
    EXPECT_EQ(cells.at({2, 5}), Variant(false));
    EXPECT_EQ(cells.at({2, 8}), Variant(true));
    EXPECT_EQ(saved.sheets[0].cells.at({2, 3}), Variant("你好")) << "the other sheets are kept";
}

TEST_F(SheetViewTest, UnsavedTypingIsOfferedForSavingWhenTheProgramEnds) {
    openDesignerWorkbook();
    std::vector<std::string> questions;
    std::vector<bool> answers;
    sheet->askYesNo = [&](const std::string&, const std::string& text) {
        questions.push_back(text);
        const bool yes = answers.front();
        answers.erase(answers.begin());
        return yes;
    };
    EXPECT_EQ(sheet->offerToSaveChanges(), 0);
    EXPECT_TRUE(questions.empty()) << "nothing changed, nothing asked";

    typeIntoCell(4, 0, q("保留"));
    // The folder went away: the failed save is shown and the question asked again; No then gives up.
    fs::rename(programFolder, programFolder.string() + "-gone");
    answers = {true, false};
    EXPECT_EQ(sheet->offerToSaveChanges(), 0);
    fs::rename(programFolder.string() + "-gone", programFolder);
    ASSERT_EQ(questions.size(), 2U);
    EXPECT_EQ(questions[0], "是否保存对“Tessaline.xls”的更改?");
    EXPECT_EQ(errors.size(), 1U);

    answers = {true};
    EXPECT_EQ(sheet->offerToSaveChanges(), 1);
    EXPECT_EQ(xls::readWorkbook((programFolder / "Tessaline.xls").string()).sheets[0].cells.at({5, 1}),
              Variant("保留"));
}

TEST_F(SheetViewTest, CellsARecordingWritesShowAfterItsEventAndDeleteClearsThem) {
    openDesignerWorkbook();
    const automation::WorksheetPtr sheet1 = excelApp()->ActiveWorkbook()->ActiveSheet();
    // Written by Tessaline through automation, as a recording writes: shown once the event is over.
    form->dispatch([&] {
        sheet1->Range("B40000")->SetValue(Variant("最后一行"));
        sheet1->Range("A3")->SetValue(Variant(3.5));
    });
    settle();
    EXPECT_EQ(shown(39999, 1), q("最后一行"));
    EXPECT_EQ(shown(2, 0), q("3.5"));

    // A long text runs on over the empty cells to its right, as a recording's captions do, and stops at a
    // filled one.
    sheet1->Range("A6")->SetValue(Variant("一段很长很长很长很长很长很长很长的标题"));
    sheet1->Range("A7")->SetValue(Variant("一段很长很长很长很长很长很长很长的标题"));
    sheet1->Range("B7")->SetValue(Variant(1.0));
    settle();
    QTableView* cells = sheet->table();
    const QImage painted = cells->viewport()->grab().toImage();
    const auto inkIn = [&](int row, int column) {
        int ink = 0;
        const QRect rect = cells->visualRect(cells->model()->index(row, column)).adjusted(1, 1, -2, -2);
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) ink += qGray(painted.pixel(x, y)) < 100 ? 1 : 0;
        }
        return ink;
    };
    EXPECT_GT(inkIn(5, 1), 10) << "the text runs on into B6";
    EXPECT_GT(inkIn(5, 2), 10) << "and C6";
    EXPECT_EQ(inkIn(6, 2), 0) << "B7 is filled: the text stops before it";

    // Digits kept as text show with the apostrophe that keeps them so when edited again.
    sheet1->Range("C3")->SetValue(Variant("'2024"));
    EXPECT_EQ(sheet->table()->model()->index(2, 2).data(Qt::EditRole).toString(), q("'2024"));

    // Selecting the block A2:C3 and pressing Delete empties it in Excel.
    QTableView* table = sheet->table();
    table->setCurrentIndex(table->model()->index(1, 0));
    table->selectionModel()->select(QItemSelection(table->model()->index(1, 0), table->model()->index(2, 2)),
                                    QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(table, Qt::Key_Delete);
    settle();
    EXPECT_EQ(sheet1->Range("A2:C3")->Find(Variant("*")), nullptr);
    EXPECT_EQ(shown(1, 2), QString());
    EXPECT_EQ(shown(1, 3), q("FALSE")) << "cells outside the selection stay";
}

TEST_F(SheetViewTest, RowsPastedFromElsewhereAreEnteredAsTypedAndCopyGivesThemBack) {
    openDesignerWorkbook();
    QTableView* table = sheet->table();
    table->setCurrentIndex(table->model()->index(1, 0));
    // A design row copied from a text file or another spreadsheet, with Windows line ends.
    QGuiApplication::clipboard()->setText(q("1\t1\t问候\tFALSE\ttrue\t1\r\n2\t1\t'007\r\n"));
    QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
    settle();
    const automation::WorksheetPtr sheet1 = excelApp()->ActiveWorkbook()->ActiveSheet();
    EXPECT_EQ(sheet1->Range("C2")->Value(), Variant("问候"));
    EXPECT_EQ(sheet1->Range("E2")->Value(), Variant(true));
    EXPECT_EQ(sheet1->Range("F2")->Value(), Variant(1.0));
    EXPECT_EQ(sheet1->Range("C3")->Value(), Variant("007"));
    EXPECT_EQ(sheet1->Range("D3")->Value(), Variant(false)) << "cells the paste did not reach keep their value";

    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), q("1\t1\t问候\tFALSE\tTRUE\t1\r\n2\t1\t007\tFALSE\tTRUE\t1\r\n"));
}

TEST_F(SheetViewTest, AFloatingBarGetsRoomBelowTheSheetOnlyWhileItFloats) {
    QWidget* area = excel()->findChild<QWidget*>(QStringLiteral("workArea"));
    ASSERT_NE(area, nullptr);
    EXPECT_TRUE(area->isHidden());
    form->userClick(form->Excel);
    form->dispatch([&] { shell::ShowFaceIdViewer(*form, 1); });
    settle();
    ASSERT_NE(excel()->floatingBar("FaceIDViewer"), nullptr);
    EXPECT_FALSE(area->isHidden());
    EXPECT_TRUE(sheet->isVisible());
    form->dispatch([&] { excelApp()->CommandBars()->Item(std::string("FaceIDViewer"))->Delete(); });
    settle();
    EXPECT_TRUE(area->isHidden());
}

TEST_F(SheetViewTest, TheWindowMenuListsTheOpenWorkbooksAndSwitchesBetweenThem) {
    openDesignerWorkbook();
    auto* bar = qobject_cast<QMenuBar*>(excel()->menuWidget());
    ASSERT_NE(bar, nullptr);
    QMenu* window = actionNamed(bar->actions(), q("窗口(&W)"))->menu();
    ASSERT_NE(window, nullptr);
    emit window->aboutToShow();
    QStringList entries;
    QAction* book1 = nullptr;
    for (QAction* action : window->actions()) {
        if (!action->isVisible() || action->isSeparator()) continue;
        if (action->text().startsWith(QLatin1Char('&')) && action->text().at(1).isDigit()) {
            entries << action->text() + (action->isChecked() ? "*" : "");
            if (action->text().endsWith(QStringLiteral("Book1"))) book1 = action;
        }
    }
    // The open workbooks, the one in front checked; the list the content recorded is not shown.
    EXPECT_EQ(entries, (QStringList{q("&1 Book1"), q("&2 Tessaline.xls*")}));
    ASSERT_NE(book1, nullptr);
    book1->trigger();
    settle();
    EXPECT_EQ(excelApp()->ActiveWorkbook()->Name(), "Book1");
    EXPECT_EQ(sheet->workbookName(), "Book1");
    EXPECT_EQ(excel()->windowTitle(), q("Microsoft Excel - Book1"));

    // Shown again, the list follows.
    emit window->aboutToShow();
    int checked = 0;
    for (QAction* action : window->actions()) {
        if (action->isVisible() && action->isChecked()) {
            ++checked;
            EXPECT_EQ(action->text(), q("&1 Book1"));
        }
    }
    EXPECT_EQ(checked, 1);
}

TEST_F(SheetViewTest, SaveAsAndOpenAskForANameAndAFailureSaysWhyInChinese) {
    openDesignerWorkbook();
    typeIntoCell(5, 0, q("42"));

    // Cancelled: nothing happens.
    nextFileName.clear();
    chooseExcelMenu("文件(&F)", "另存为(&A)...");
    ASSERT_EQ(suggestedNames.size(), 1U);
    EXPECT_EQ(suggestedNames[0], (programFolder / "Tessaline.xls").string());
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(excelApp()->ActiveWorkbook()->Saved());

    // A folder nobody may write to (not even root), a folder that does not exist, a name Excel refuses, the
    // name of another open workbook: each gets a box telling why, and the workbook stays as it was.
    const std::vector<std::pair<std::string, std::string>> failures = {
        {"/proc/设计.xls", "无法写入"},
        {(programFolder / "没有这个文件夹" / "设计.xls").string(), "找不到文件夹"},
        {(programFolder / "设计?.xls").string(), "无效"},
        {(programFolder / "Book1.xls").string(), ""},
    };
    excelApp()->Workbooks()->Item("Book1")->SaveAs((programFolder / "Book1.xls").string());
    excelApp()->Workbooks()->Item("Tessaline.xls")->Activate();
    settle();
    for (const auto& [path, why] : failures) {
        errors.clear();
        nextFileName = path;
        chooseExcelMenu("文件(&F)", "另存为(&A)...");
        ASSERT_EQ(errors.size(), 1U) << path;
        EXPECT_NE(errors[0].find("无法保存"), std::string::npos) << errors[0];
        EXPECT_NE(errors[0].find(why.empty() ? "同名的工作簿" : why), std::string::npos) << errors[0];
        EXPECT_EQ(sheet->workbookName(), "Tessaline.xls");
    }

    // A name without an extension is saved as an .xls file; the window takes the new name.
    errors.clear();
    nextFileName = (programFolder / "我的设计").string();
    chooseExcelMenu("文件(&F)", "另存为(&A)...");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(sheet->workbookName(), "我的设计.xls");
    EXPECT_EQ(excel()->windowTitle(), q("Microsoft Excel - 我的设计.xls"));
    EXPECT_EQ(xls::readWorkbook((programFolder / "我的设计.xls").string()).sheets[0].cells.at({6, 1}), Variant(42.0));

    // Closed and opened again with File > 打开; a file that is no workbook says so.
    excelApp()->Workbooks()->Item("我的设计.xls")->Close();
    fs::path notABook = programFolder / "说明.xls";
    std::ofstream(notABook) << "not a workbook";
    sheet->askOpenName = [&](const std::string&) { return notABook.string(); };
    chooseExcelMenu("文件(&F)", "打开(&O)...");
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_NE(errors[0].find("无法打开"), std::string::npos) << errors[0];
    errors.clear();
    sheet->askOpenName = [&](const std::string&) { return (programFolder / "我的设计.xls").string(); };
    chooseExcelMenu("文件(&F)", "打开(&O)...");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(sheet->workbookName(), "我的设计.xls");
    EXPECT_EQ(shown(5, 0), q("42"));
}

// The picture of a sheet of Tessaline.xls in Excel's window; saved where TESSALINE_SHEET_SCREENSHOT says.
TEST_F(SheetViewTest, TheDesignerSheetIsDrawnInExcelsWindow) {
    openDesignerWorkbook();
    HostWindow* window = excel();
    window->showNormal();
    window->resize(1100, 560);
    settle();
    const QPixmap picture = window->grab();
    ASSERT_FALSE(picture.isNull());
    constexpr int titleHeight = 24;
    QPixmap framed(picture.width(), picture.height() + titleHeight);
    {
        QPainter painter(&framed);
        painter.fillRect(0, 0, picture.width(), titleHeight, QColor(0x0a, 0x24, 0x6a));
        painter.setPen(Qt::white);
        painter.setFont(MainWindow::uiFont());
        painter.drawText(QRect(8, 0, picture.width() - 8, titleHeight), Qt::AlignVCenter, window->windowTitle());
        painter.drawPixmap(0, titleHeight, picture);
    }
    if (const QByteArray path = qgetenv("TESSALINE_SHEET_SCREENSHOT"); !path.isEmpty()) {
        EXPECT_TRUE(framed.save(QString::fromLocal8Bit(path), "PNG"));
    }
}

}  // namespace
}  // namespace tessaline::ui
