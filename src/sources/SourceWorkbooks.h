#pragma once

#include <string>

#include "automation/Office.h"

namespace tessaline::shell {
class Form1;
}

namespace tessaline::sources {

// The two source workbooks in the program's folder. The opener names the menu-bar workbook one way and the
// writers and the capture the other; Excel finds workbooks ignoring case, so both reach the same book.
inline constexpr const char* ToolbarSourceName = "TreeviewofCommandbars.xls";
inline constexpr const char* MenubarSourceName = "MenuBar.xls";
inline constexpr const char* MenubarSourceFileName = "Menubar.xls";

// Source-sheet columns: a bar's name in A, a control's caption in column 1 + depth (B, C, D), then the
// item's Index in J and a control's Id in K. E to I stay empty so a reader can step from a caption to its
// index with End(xlToRight).
namespace sourcecol {
constexpr int BarName = 1;
constexpr int Index = 10;
constexpr int Id = 11;
constexpr int Description = 14;  // "Framework" sheet only
}  // namespace sourcecol

// The walk rules every walk over a bar's controls shares. A skipped control is neither recorded, hooked nor
// entered: empty captions, captions that begin with "&", and a few host entries that only lead to dialogs
// or lists of their own ("<动词", "其他控件", "Utility", "对象(&O)", "权限(&M)"), all ignoring case.
bool IsSkippedControl(automation::CommandBarControl& control);
// Popups of every kind the walks enter: types 10, 11, 12 and 13.
bool IsPopupControl(automation::CommandBarControl& control);

// Attaches Excel (ExcelApp) and the chosen host (SourceHost, HostName) and selects the host's sheet of the
// named open workbook (SourceSheet). Shows "Waiting" in the sixth status panel and switches Excel's
// ScreenUpdating off; the caller switches it on again. Report mode: the first failure shows the error
// report box, and what was set before it stays set. With Void chosen SourceHost becomes Nothing, HostName
// "" and SourceSheet stays as it was. Returns whether this call selected the host's sheet, so that a writer
// never touches a sheet an earlier call left behind.
bool OpenSourceSheet(shell::Form1& form, const std::string& workbookName);

// Rewrites the host's sheet of the toolbar source with every bar of the host but "Built-in Menus".
void UpdateToolbarSource(shell::Form1& form);
// Rewrites the host's sheet of the menu-bar source with the named bar (row 1 empty, the bar in row 2).
void RefreshMenubarSource(shell::Form1& form, const std::string& barName);

// Opens the workbook from the program's folder unless Excel has it open already, then raises Excel's window.
// Every failure is ignored.
void OpenSourceWorkbook(shell::Form1& form, const std::string& fileName);

// ----- Main-window commands -----
// MenuApp "打开源文件" and menuFile "工具栏源文件": open the toolbar source and bring Excel to the front.
void OpenSourceFile_Click(shell::Form1& form);
void menuTreeviewxls_Click(shell::Form1& form);
// MenuApp "更新源": record the host's whole tree into the toolbar source.
void MenuUpdateSource_Click(shell::Form1& form);
// menuControl "Menubar.xls": open the menu-bar source and bring Excel to the front.
void menuMenubarOpen_Click(shell::Form1& form);
// menuControl "刷新文件": record the chosen host's menu bar into the menu-bar source.
void menuMenubarRefresh_Click(shell::Form1& form);

}  // namespace tessaline::sources
