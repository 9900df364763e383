#include <utility>

#include "EditingFixture.h"

namespace tessaline::editing::testing {
namespace {

// One control as the host holds it: Id and caption, enough to tell every control of these bars apart.
using Entry = std::pair<int, std::string>;

class SessionTest : public EditingFixture {
protected:
    static std::vector<Entry> entries(automation::CommandBarControls& controls) {
        std::vector<Entry> out;
        for (const auto& control : controls.Enumerate()) out.emplace_back(control->Id(), control->Caption());
        return out;
    }
    std::vector<Entry> entries(const std::string& barName) { return entries(*hostBar(barName).Controls()); }
    std::vector<Entry> popupEntries(const std::string& barName, int index) {
        return entries(*hostBar(barName).Controls()->Item(index)->AsPopup()->Controls());
    }
    // The grid lists exactly what the host holds, with each row's number equal to its control's Index.
    void expectGridShows(const std::string& barName) {
        selectBar(barName);
        const std::vector<Entry> host = entries(barName);
        ASSERT_EQ(form->ListAllCommandControls.Rows(), static_cast<int>(host.size()) + 1) << barName;
        for (std::size_t i = 0; i < host.size(); ++i) {
            const int row = static_cast<int>(i) + 1;
            EXPECT_EQ(form->ListAllCommandControls.TextMatrix(row, 0), std::to_string(row));
            EXPECT_EQ(form->ListAllCommandControls.TextMatrix(row, 1), std::to_string(host[i].first));
            EXPECT_EQ(form->ListAllCommandControls.TextMatrix(row, 2), host[i].second);
        }
    }
    void copySelected(int row, const std::string& target) {
        selectRow(row);
        ui.queueInput(target);
        chooseControlCommand("CopyTo");
    }
    void command(int row, const std::string& item) {
        selectRow(row);
        chooseControlCommand(item);
    }
};

TEST_F(SessionTest, EditingAcrossBarsAndPopupsLeavesEveryControlWhereExpected) {
    const std::vector<Entry> standard = entries("Standard");
    const std::vector<Entry> pasteMenu = popupEntries("Standard", 12);
    std::vector<Entry> fileMenu = popupEntries("Worksheet Menu Bar", 1);
    const std::vector<Entry> formatting = entries("Formatting");

    ui.queueInput("工具栏A");
    chooseBarCommand("CreateToolbar");

    // Copies from the Standard toolbar, the paste popup among them, and one from inside the File menu.
    selectBar("Standard");
    copySelected(3, "工具栏A,1");
    copySelected(10, "工具栏A,1");
    copySelected(12, "工具栏A,2");
    selectBar("Worksheet Menu Bar");
    openPopup(1);
    copySelected(19, "工具栏A");
    std::vector<Entry> mine = {standard[9], standard[11], standard[2], fileMenu[18]};
    EXPECT_EQ(entries("工具栏A"), mine);

    // Moves, each on a freshly listed bar.
    selectBar("工具栏A");
    command(1, "MoveToBottom");  // 剪切 to the end
    selectBar("工具栏A");
    command(2, "MoveToNext");  // 保存 below 退出
    selectBar("工具栏A");
    command(4, "MoveToPrevious");  // 剪切 above 保存
    mine = {standard[11], fileMenu[18], standard[9], standard[2]};
    EXPECT_EQ(entries("工具栏A"), mine);

    selectBar("工具栏A");
    typeIntoCell(3, 2, "剪下(&T)");
    chooseControlCommand("ModifyControl");
    mine[2].second = "剪下(&T)";

    // Inside the copied paste popup: a move, a delete, and a copy out to the Standard toolbar.
    selectBar("工具栏A");
    openPopup(1);
    command(8, "MoveToTop");
    openPopup(1);
    command(2, "DeleteControl");
    EXPECT_EQ(form->CurrentPopup, nullptr);
    openPopup(1);
    copySelected(3, "Standard,1");
    std::vector<Entry> copiedPaste = pasteMenu;
    copiedPaste.insert(copiedPaste.begin(), copiedPaste.back());
    copiedPaste.pop_back();
    copiedPaste.erase(copiedPaste.begin() + 1);

    // Back on the Standard toolbar: the copy sits first, so 保存 is now fourth.
    selectBar("Standard");
    command(4, "DeleteControl");
    std::vector<Entry> newStandard = standard;
    newStandard.erase(newStandard.begin() + 2);
    newStandard.insert(newStandard.begin(), copiedPaste[2]);

    selectBar("Worksheet Menu Bar");
    openPopup(1);
    command(1, "MoveToNext");
    std::swap(fileMenu[0], fileMenu[1]);

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(entries("工具栏A"), mine);
    EXPECT_EQ(popupEntries("工具栏A", 1), copiedPaste);
    EXPECT_EQ(entries("Standard"), newStandard);
    // The popup copied out of the Standard toolbar is a copy: the original keeps its sub items.
    EXPECT_EQ(popupEntries("Standard", 12), pasteMenu);
    EXPECT_EQ(popupEntries("Worksheet Menu Bar", 1), fileMenu);
    EXPECT_EQ(entries("Formatting"), formatting);
    for (const char* bar : {"工具栏A", "Standard", "Worksheet Menu Bar", "Formatting"}) expectGridShows(bar);
}

// Creates the toolbar 工具栏1, copies Standard controls 3, 19 and 21 into it by position, moves them,
// modifies a caption and a FaceId, tries to clear a combo box, deletes a control, then closes and resets bars.
TEST_F(SessionTest, ToolbarBuiltFromStandardControlsEndsAsPredicted) {
    ui.queueInput("工具栏1");
    chooseBarCommand("CreateToolbar");
    selectBar("Standard");
    copySelected(3, "工具栏1,1");
    copySelected(19, "工具栏1,2");
    copySelected(21, "工具栏1,3");
    EXPECT_EQ(entries("工具栏1"), (std::vector<Entry>{{3, "保存(&S)"}, {211, "降序排序"}, {204, "绘图"}}));

    selectBar("工具栏1");
    command(3, "MoveToTop");
    selectBar("工具栏1");
    command(2, "MoveToBottom");
    EXPECT_EQ(entries("工具栏1"), (std::vector<Entry>{{204, "绘图"}, {211, "降序排序"}, {3, "保存(&S)"}}));

    selectBar("工具栏1");
    typeIntoCell(3, 2, "存盘(&S)");
    chooseControlCommand("ModifyControl");
    typeIntoCell(1, 8, "2950");
    chooseControlCommand("ModifyControl");

    // The only combo boxes are built-in (the zoom box): the item commands are not offered, and the host
    // refuses the clear when it is run anyway.
    selectBar("Standard");
    selectRow(22);
    chooseControlCommand("ClearItems");
    EXPECT_EQ(ui.popups.back().chosen, "");
    form->clickMenu("ClearItems");

    selectBar("工具栏1");
    command(2, "DeleteControl");

    selectBar("工具栏1");
    chooseBarCommand("CloseCommandbar");
    chooseBarCommand("ResetCommandbar");
    selectBar("Standard");
    chooseBarCommand("CloseCommandbar");
    EXPECT_FALSE(hostBar("Standard").Visible());
    chooseBarCommand("ResetCommandbar");
    selectBar("Worksheet Menu Bar");
    chooseBarCommand("CloseCommandbar");

    EXPECT_EQ(messagePrompts(), (std::vector<std::string>{"Method 'Clear' of object 'CommandBarComboBox' failed",
                                                          "Worksheet Menu Bar不可隐藏。"}));
    EXPECT_EQ(hostBars().Count(), 6);
    automation::CommandBar& mine = hostBar("工具栏1");
    EXPECT_FALSE(mine.BuiltIn());
    EXPECT_FALSE(mine.Visible());
    EXPECT_EQ(mine.Type(), automation::mso::BarTypeNormal);
    EXPECT_EQ(mine.Position(), automation::mso::BarTop);
    ASSERT_EQ(entries("工具栏1"), (std::vector<Entry>{{204, "绘图"}, {3, "存盘(&S)"}}));
    automation::ButtonPtr drawing = mine.Controls()->Item(1)->AsButton();
    automation::ButtonPtr save = mine.Controls()->Item(2)->AsButton();
    EXPECT_EQ(drawing->FaceId(), 2950);
    EXPECT_EQ(save->FaceId(), 3);
    EXPECT_TRUE(drawing->BuiltIn());
    EXPECT_TRUE(save->BuiltIn());

    automation::CommandBar& standard = hostBar("Standard");
    EXPECT_TRUE(standard.Visible());
    EXPECT_EQ(standard.Controls()->Count(), 23);
    EXPECT_EQ(standard.Controls()->Item(22)->AsComboBox()->ListCount(), 6);
    EXPECT_TRUE(hostBar("Worksheet Menu Bar").Visible());
}

}  // namespace
}  // namespace tessaline::editing::testing
