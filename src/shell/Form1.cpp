#include "shell/Form1.h"

#include <stdexcept>

#include "automation/AutomationError.h"
#include "shell/CommandbarGrid.h"
#include "shell/ControlGrid.h"
#include "shell/HostLink.h"
#include "shell/MainWindow.h"

namespace tessaline::shell {

namespace {

constexpr int kOptionLeft = 120;
constexpr int kOptionWidth = 1215;
constexpr int kOptionHeight = 375;

}  // namespace

Form1::Form1(automation::Desktop& desktop, Ui& ui, AppProperties app)
    : Caption(app.ProductName),
      App(std::move(app)),
      Frame1("Frame1", "选择Office组件", 120, 120, 2295, 2715),
      Excel("Excel", "Excel", kOptionLeft, 240, kOptionWidth, kOptionHeight),
      Word("Word", "Word", kOptionLeft, 570, kOptionWidth, kOptionHeight),
      PowerPoint("PowerPoint", "PowerPoint", kOptionLeft, 900, kOptionWidth, kOptionHeight),
      Access("Access", "Access", kOptionLeft, 1230, kOptionWidth, kOptionHeight),
      Outlook("Outlook", "Outlook", kOptionLeft, 1560, kOptionWidth, kOptionHeight),
      VBE("VBE", "VBE", kOptionLeft, 1890, kOptionWidth, kOptionHeight),
      Void("Void", "Nothing", kOptionLeft, 2220, kOptionWidth, kOptionHeight),
      DesignMode("DesignMode", "设计模式", 240, 2945, 1095, 375),
      ListAllCommandbars("ListAllCommandbars", 2520, 120, 8625, 3195, 9),
      Code("Code", 2520, 120, 8625, 3195, true),
      ListAllCommandControls("ListAllCommandControls", 135, 3480, 11010, 4005, 13),
      RichTextBox1("RichTextBox1", 11235, 120, 2550, 7440),
      ListMacros("ListMacros", 11240, 120, 2549, 7440),
      TreeView1("TreeView1", 11240, 120, 2549, 7440),
      SearchCommandbar("SearchCommandbar", "搜索工具栏", 135, 7560, 1215, 375),
      IDString("IDString", 1391, 7560, 8111, 375),
      BatchCopy("BatchCopy", "批量追加到", 9840, 7560, 1215, 375),
      ShowMacroList("ShowMacroList", "显示宏列表", 11263, 7560, 1215, 375, vbcheck::Checked),
      Chk_Treeview("Chk_Treeview", "树形结构", 12600, 7560, 1159, 375),
      StatusBar1("StatusBar1", 0, 8145, 13905, 375, {1159, 2318, 1440, 1440, 1440, 1440}),
      FoundControls("FoundControls", 11240, 120, 2549, 7440),
      desktop_(desktop),
      ui_(ui) {
    // Back to front, as the window stacks them: Code above the bar grid; the tree above the macro list,
    // both above the code pane.
    controls_ = {&Frame1,        &Excel,        &Word,       &PowerPoint,         &Access,   &Outlook,
                 &VBE,           &Void,         &DesignMode, &ListAllCommandbars, &Code,     &ListAllCommandControls,
                 &RichTextBox1,  &ListMacros,   &TreeView1,  &SearchCommandbar,   &IDString, &BatchCopy,
                 &ShowMacroList, &Chk_Treeview, &StatusBar1,       &FoundControls};

    OptionButton* hosts[] = {&Excel, &Word, &PowerPoint, &Access, &Outlook, &VBE, &Void};
    for (OptionButton* host : hosts) {
        host->SetContainer(&Frame1);
        for (OptionButton* other : hosts) host->addSibling(*other);
    }
    // Selected before any handler is attached, so no Click runs at start.
    Void.SetValue(true);

    Code.SetVisible(false);
    Code.SetText(kCodeTemplateText);
    TreeView1.SetVisible(false);
    FoundControls.SetVisible(false);
    StatusBar1.SetToolTipText("双击第5个面板取消子菜单项");

    buildMenus();
    wireHandlers();
}

Form1::~Form1() = default;

void Form1::buildMenus() {
    auto top = [this](const char* name, const char* caption, bool visible = true) -> MenuItem& {
        menuBar_.push_back(std::make_unique<MenuItem>(name, caption, visible));
        return *menuBar_.back();
    };

    MenuItem& file = top("menuFile", "文件(&F)");
    file.add("menuTreeviewxls", "工具栏源文件");
    file.add("menuDesignerxls", "设计器文件");
    file.add("menuExit", "退出(&X)");

    MenuItem& control = top("menuControl", "控制(&C)");
    control.add("menuMenubarOpen", "Menubar.xls");
    control.add("menuMenubarRefresh", "刷新文件");
    control.add("menuCaptureMenubar", "获取菜单栏");
    control.add("menuCommandbarCapture", "获取工具栏");
    control.add("menuNormal", "恢复正常");

    MenuItem& help = top("menuHelp", "帮助(&H)");
    help.add("menuHowtouse", "如何使用");
    help.add("menuAbout", "关于...");

    // The popup menus sit hidden on the menu bar and show only where their trigger opens them.
    MenuItem& bars = top("CommandbarOperation", "CommandbarOperation", false);
    bars.add("ShowCommandbar", "显示");
    bars.add("CloseCommandbar", "关闭");
    bars.add("DeleteCommandbar", "删除");
    bars.add("ResetCommandbar", "重置");
    bars.add("ClearAll", "清空");
    bars.add("Sep3", "-");
    bars.add("CreateMenubar", "新建菜单栏");
    bars.add("CreateToolbar", "新建工具栏");
    bars.add("CreatePopupbar", "新建快捷菜单");

    MenuItem& controls = top("CommandbarControlOperation", "CommandbarControlOperation", false);
    controls.add("AddItemforCombobox", "添加条目", false);
    controls.add("AddMacroNames", "添加宏名", false);
    controls.add("DeleteItemforCombobox", "删除条目", false);
    controls.add("ClearItems", "清空条目", false);
    controls.add("ModifyControl", "修改");
    controls.add("DeleteControl", "删除");
    controls.add("Sep1", "-");
    controls.add("MoveToTop", "移至顶部");
    controls.add("MoveToPrevious", "上移");
    controls.add("MoveToNext", "下移");
    controls.add("MoveToBottom", "移至底端");
    controls.add("Sep2", "-");
    controls.add("CopyTo", "拷贝到");
    controls.add("ExportID", "导出ID");
    controls.add("ExportToExcel", "至Excel");
    controls.add("Sep4", "-");
    controls.add("OpenSubItem", "打开子项", false);
    controls.add("CreateSubItem", "添加子项", false);

    MenuItem& design = top("DesignModeMenu", "DesignModeMenu", false);
    design.add("DeleteLine", "删除行");
    design.add("InsertLine", "插入行");
    design.add("AddLine", "增加行");
    design.add("Sep5", "-");
    design.add("AddtoFirst", "加到最前");
    design.add("AddToLast", "加到最后");
    design.add("ReplaceOriginal", "替换已有");
    design.add("Sep6", "-");
    design.add("MenuExcelDesign", "Excel设计");
    design.add("BatchAddfromExcel", "批量添加");

    MenuItem& callback = top("menuCallback", "menuCallback", false);
    callback.add("menuCopyCode", "复制");
    callback.add("menuSelectAll", "全选");
    callback.add("menuClearCallback", "清空");

    MenuItem& macros = top("MenuListMacros", "MenuListMacros", false);
    macros.add("HideMacroList", "隐藏");
    macros.add("Refresh", "刷新");
    macros.add("Shrink", "缩短");

    MenuItem& app = top("MenuApp", "MenuApp", false);
    app.add("OpenSourceFile", "打开源文件");
    app.add("MenuUpdateSource", "更新源");

    MenuItem& viewer = top("Viewer", "Viewer", false);
    viewer.add("Fill", "加载");
    viewer.add("Expand", "展开");
    viewer.add("Merge", "合并");

    MenuItem& tools = top("menuTools", "工具(&T)");
    tools.add("menuUndo", "撤销").SetShortcut("Ctrl+Z");
    tools.add("menuRedo", "重做").SetShortcut("Ctrl+Y");
    tools.add("SepT1", "-");
    tools.add("menuFindLive", "查找控件...").SetShortcut("Ctrl+F");
    tools.add("menuRunFound", "执行找到的控件").SetShortcut("Ctrl+E");
    tools.add("menuHideFound", "关闭结果列表");
    tools.add("SepT2", "-");
    tools.add("menuBarAsVba", "生成VBA代码").SetShortcut("Ctrl+G");
    tools.add("SepT3", "-");
    tools.add("menuCompareNow", "比较记录与当前").SetShortcut("Ctrl+D");
    tools.add("menuCompareWorkbook", "与其他工作簿比较...");
    tools.add("menuCompareToSheet", "比较结果写入工作表");
}

void Form1::wireHandlers() {
    Frame1.onMouseDown = [this](const MouseEvent& mouse) { Frame1_MouseDown(*this, mouse); };
    StatusBar1.onPanelDblClick = [this](int panel) { StatusBar1_PanelDblClick(*this, panel); };
    menu("menuAbout").onClick = [this] { menuAbout_Click(*this); };
    menu("menuHowtouse").onClick = [this] { menuHowtouse_Click(*this); };
    menu("menuExit").onClick = [this] { menuExit_Click(*this); };

    Excel.onClick = [this] { Excel_Click(*this); };
    Word.onClick = [this] { Word_Click(*this); };
    PowerPoint.onClick = [this] { PowerPoint_Click(*this); };
    Access.onClick = [this] { Access_Click(*this); };
    Outlook.onClick = [this] { Outlook_Click(*this); };
    VBE.onClick = [this] { VBE_Click(*this); };
    Void.onClick = [this] { Void_Click(*this); };

    ListAllCommandbars.onClick = [this] { ListAllCommandbars_Click(*this); };
    ListAllCommandbars.onMouseDown = [this](const MouseEvent& mouse) { ListAllCommandbars_MouseDown(*this, mouse); };

    ListAllCommandControls.onClick = [this] { ListAllCommandControls_Click(*this); };
    ListAllCommandControls.onDblClick = [this] { ListAllCommandControls_DblClick(*this); };
    ListAllCommandControls.onMouseDown = [this](const MouseEvent& mouse) {
        ListAllCommandControls_MouseDown(*this, mouse);
    };
    ListAllCommandControls.onKeyDown = [this](int& keyCode, int shift) {
        ListAllCommandControls_KeyDown(*this, keyCode, shift);
    };
    ListAllCommandControls.onKeyPress = [this](int& keyAscii) { ListAllCommandControls_KeyPress(*this, keyAscii); };
    IDString.onDblClick = [this] { IDString_DblClick(*this); };
}

void Form1::load() {
    if (loaded_) return;
    loaded_ = true;
    dispatch([this] { Form_Load(*this); });
}

void Form1::unload() {
    if (unloaded_) return;
    dispatch([this] { Form_Terminate(*this); });
    unloaded_ = true;
    ui_.Unload();
}

void Form1::dispatch(const std::function<void()>& handler) {
    // A closed window hears nothing more.
    if (unloaded_) return;
    {
        struct Depth {
            int& depth;
            explicit Depth(int& d) : depth(++d) {}
            ~Depth() { --depth; }
            Depth(const Depth&) = delete;
            Depth& operator=(const Depth&) = delete;
        } depth(dispatchDepth_);
        try {
            handler();
        } catch (const std::exception& e) {
            reportError(e);
        } catch (...) {
            reportError(std::runtime_error("Unexpected error"));
        }
    }
    if (dispatchDepth_ == 0 && afterEvent) {
        // A listener's failure is no failure of the event, which has already run.
        try {
            afterEvent();
        } catch (...) {
        }
    }
}

void Form1::reportError(const std::exception& e) {
    Err = errorOf(e);
    ui_.MsgBox(Err.Description, vbmsg::OKOnly, App.Title);
}

void Form1::clickMenu(const std::string& itemName) { clickMenu(menu(itemName)); }

void Form1::clickMenu(MenuItem& item) {
    if (!item.Enabled()) return;
    dispatch([&item] { item.click(); });
}

void Form1::userClick(Control& control) {
    if (!control.Enabled()) return;
    dispatch([&control] {
        if (auto* check = dynamic_cast<CheckBox*>(&control)) {
            check->toggle();
        } else if (auto* option = dynamic_cast<OptionButton*>(&control)) {
            option->select();
        } else if (control.onClick) {
            control.onClick();
        }
    });
}

void Form1::userClickCell(FlexGrid& grid, int row, int col) {
    if (!grid.Enabled()) return;
    dispatch([&] {
        if (grid.clickCell(row, col) && grid.onClick) grid.onClick();
    });
}

void Form1::userDblClick(Control& control) {
    if (!control.Enabled()) return;
    dispatch([&control] {
        if (control.onDblClick) control.onDblClick();
    });
}

void Form1::userMouseDown(Control& control, int button, int shift, float x, float y) {
    if (!control.Enabled()) return;
    dispatch([&] {
        if (control.onMouseDown) control.onMouseDown(MouseEvent{button, shift, x, y});
    });
}

void Form1::userKeyDown(Control& control, int keyCode, int shift) {
    if (!control.Enabled()) return;
    dispatch([&] {
        if (control.onKeyDown) control.onKeyDown(keyCode, shift);
    });
}

void Form1::userKeyPress(Control& control, int keyAscii) {
    if (!control.Enabled()) return;
    dispatch([&] {
        Form_KeyPress(*this, keyAscii);
        if (keyAscii == 0 || keyAscii == 27 || isUnloaded()) return;
        if (control.onKeyPress) control.onKeyPress(keyAscii);
    });
}

void Form1::formKeyPress(int keyAscii) {
    dispatch([&] { Form_KeyPress(*this, keyAscii); });
}

void Form1::userPanelDblClick(int panel) {
    dispatch([&] {
        if (StatusBar1.onPanelDblClick) StatusBar1.onPanelDblClick(panel);
    });
}

void Form1::userNodeClick(TreeNode& node) {
    dispatch([&] {
        TreeView1.SetSelectedItem(&node);
        if (TreeView1.onNodeClick) TreeView1.onNodeClick(node);
    });
}

void Form1::PopupMenu(MenuItem& menu) {
    MenuItem* chosen = ui_.PopupMenu(menu);
    // The chosen command runs as an event of its own: its failure is reported there and does not end the
    // handler that opened the menu.
    if (chosen && chosen->Enabled()) dispatch([chosen] { chosen->click(); });
}

MenuItem& Form1::menu(const std::string& name) {
    for (const auto& top : menuBar_) {
        if (MenuItem* found = top->find(name)) return *found;
    }
    throw std::invalid_argument("no menu item named " + name);
}

Control& Form1::control(const std::string& name) {
    for (Control* c : controls_) {
        if (c->Name() == name) return *c;
    }
    throw std::invalid_argument("no control named " + name);
}

automation::CommandBarsPtr Form1::HostCommandBars() {
    if (!HostApp) throw automation::objectNotSet();
    auto host = std::dynamic_pointer_cast<automation::CommandBarHost>(HostApp);
    if (!host) throw automation::noSuchMember();
    return host->CommandBars();
}

void Form1::incrementRowCounter() {
    if (RowCounter == INT16_MAX) throw automation::overflow();
    ++RowCounter;
}

}  // namespace tessaline::shell
