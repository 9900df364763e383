#include "OfficeFixture.h"
#include "automation/Desktop.h"
#include "automation/Vbe.h"
#include "shell/HostLink.h"

namespace tessaline::shell {
namespace {

using HostLink = testing::OfficeFixture;

TEST_F(HostLink, ExcelListsEveryBarAndTheControlsOfTheFirst) {
    form->userClick(form->Excel);
    ASSERT_TRUE(form->Excel.Value());
    EXPECT_EQ(form->HostApp, office->host("Excel"));
    EXPECT_EQ(form->StatusBar1.PanelText(1), "Excel");

    const auto hostBars = bars("Excel")->Enumerate();
    FlexGrid& grid = form->ListAllCommandbars;
    ASSERT_EQ(grid.Rows(), static_cast<int>(hostBars.size()) + 1);
    EXPECT_EQ(grid.TextMatrix(0, 4), "控件个数");
    for (int r = 1; r < grid.Rows(); ++r) {
        auto& bar = *hostBars[static_cast<std::size_t>(r - 1)];
        EXPECT_EQ(grid.TextMatrix(r, 0), std::to_string(bar.Index()));
        EXPECT_EQ(grid.TextMatrix(r, 1), bar.Name());
        EXPECT_EQ(grid.TextMatrix(r, 2), bar.NameLocal());
        EXPECT_EQ(grid.TextMatrix(r, 3), bar.BuiltIn() ? "True" : "False");
        EXPECT_EQ(grid.TextMatrix(r, 4), std::to_string(bar.Controls()->Count()));
        EXPECT_EQ(grid.TextMatrix(r, 5), std::to_string(bar.Type()));
        EXPECT_EQ(grid.TextMatrix(r, 7), bar.Visible() ? "True" : "False");
        EXPECT_EQ(grid.TextMatrix(r, 8), std::to_string(bar.Position()));
    }
    EXPECT_EQ(grid.TextMatrix(barRow("Built-in Menus"), 6), "False");

    ASSERT_NE(form->CurrentBar, nullptr);
    EXPECT_EQ(form->CurrentBar->Name(), hostBars.front()->Name());
    EXPECT_EQ(form->StatusBar1.PanelText(2), hostBars.front()->Name());
    EXPECT_EQ(form->ListAllCommandControls.Rows(), hostBars.front()->Controls()->Count() + 1);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "文件(&F)");
    EXPECT_EQ(form->RowCounter, hostBars.front()->Controls()->Count() + 1);

    const auto window = office->hostWindow("Excel");
    EXPECT_EQ(form->HostWindow, window);
    EXPECT_EQ(office->foregroundWindow(), window);
    EXPECT_EQ(office->windowShowState(window), automation::sw::Maximized);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HostLink, AClosedHostLeavesTheWindowDetachedEvenAfterExcel) {
    office->stopHost("Word");
    form->userClick(form->Excel);
    ASSERT_NE(form->HostApp, nullptr);
    form->userClick(form->Word);
    EXPECT_EQ(form->HostApp, nullptr);
    EXPECT_EQ(form->CurrentBar, nullptr);
    EXPECT_EQ(form->StatusBar1.PanelText(1), "Nothing");
    EXPECT_EQ(form->StatusBar1.PanelText(2), "");
    for (FlexGrid* grid : {&form->ListAllCommandbars, &form->ListAllCommandControls}) {
        for (int r = 0; r < grid->Rows(); ++r) {
            for (int c = 0; c < grid->Cols(); ++c) EXPECT_EQ(grid->TextMatrix(r, c), "");
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HostLink, HostsThatDoNotRunOrAreNotInstalledAttachToNothing) {
    form->userClick(form->PowerPoint);  // installed, not running
    EXPECT_EQ(form->HostApp, nullptr);
    EXPECT_EQ(form->StatusBar1.PanelText(1), "Nothing");
    form->userClick(form->Access);  // not installed at all
    EXPECT_EQ(form->HostApp, nullptr);
    EXPECT_EQ(form->StatusBar1.PanelText(1), "Nothing");
    EXPECT_EQ(form->HostWindow, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HostLink, OutlookAttachesItsExplorerAndNothingWithoutOne) {
    form->userClick(form->Outlook);
    ASSERT_NE(form->HostApp, nullptr);
    EXPECT_EQ(form->HostApp->TypeName(), "Explorer");
    EXPECT_EQ(form->StatusBar1.PanelText(1), "Outlook");
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(1, 1), "Menu Bar");

    office->setOutlookExplorer(false);
    form->userClick(form->Outlook);
    EXPECT_EQ(form->HostApp, nullptr);
    EXPECT_EQ(form->StatusBar1.PanelText(1), "Nothing");
}

TEST_F(HostLink, VbeOpensTheEditorMaximizedAndListsItsBars) {
    form->userClick(form->VBE);
    auto vbe = std::dynamic_pointer_cast<automation::Vbe>(form->HostApp);
    ASSERT_NE(vbe, nullptr);
    EXPECT_EQ(form->StatusBar1.PanelText(1), "VBE");
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(1, 1), "菜单条");
    ASSERT_FALSE(office->sentKeys().empty());
    EXPECT_EQ(office->sentKeys().back(), "%{F11}");
    EXPECT_EQ(vbe->MainWindow()->WindowState(), automation::vbext::WindowMaximized);
    EXPECT_EQ(office->windowShowState(office->hostWindow("Excel")), automation::sw::Maximized);
}

TEST_F(HostLink, VbeWithoutExcelStillSendsTheKeysAndEndsDetached) {
    office->stopHost("Excel");
    form->userClick(form->VBE);
    EXPECT_EQ(form->HostApp, nullptr);
    EXPECT_EQ(form->StatusBar1.PanelText(1), "Nothing");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HostLink, VoidEmptiesEverythingAndLetsGoOfTheOpenPopup) {
    form->userClick(form->Excel);
    auto popup = form->CurrentBar->Controls()->Item(1)->AsPopup();
    form->CurrentPopup = popup;
    form->ListMacros.AddItem("Macro1");
    form->RichTextBox1.SetText("Sub x()");
    form->TreeView1.Nodes().Add(std::nullopt, std::nullopt, "K_A1", "Standard");
    form->StatusBar1.SetPanelText(6, "Completed");

    form->userClick(form->Void);
    EXPECT_EQ(form->HostApp, nullptr);
    EXPECT_EQ(form->CurrentBar, nullptr);
    EXPECT_EQ(form->CurrentPopup, nullptr);
    EXPECT_EQ(form->StatusBar1.PanelText(1), "Nothing");
    for (int panel = 2; panel <= 6; ++panel) EXPECT_EQ(form->StatusBar1.PanelText(panel), "") << panel;
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(0, 1), "");
    EXPECT_GT(form->ListAllCommandbars.Rows(), 1);  // cleared, not shrunk
    EXPECT_EQ(form->ListMacros.ListCount(), 0);
    EXPECT_EQ(form->RichTextBox1.Text(), "");
    EXPECT_EQ(form->TreeView1.Nodes().Count(), 0);

    // The next attach writes the headers again.
    form->userClick(form->Word);
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(0, 1), "名称");
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(0, 2), "标题");
    EXPECT_EQ(form->ListAllCommandbars.Rows(), bars("Word")->Count() + 1);
}

TEST_F(HostLink, AttachingAgainListsAgainAndClearsTheTree) {
    form->userClick(form->Excel);
    form->TreeView1.Nodes().Add(std::nullopt, std::nullopt, "K_A1", "x");
    bars("Excel")->Add("Mine");
    form->userClick(form->Excel);
    EXPECT_NE(barRow("Mine"), -1);
    EXPECT_EQ(form->TreeView1.Nodes().Count(), 0);
}

TEST_F(HostLink, MissingWindowIsNotAnError) {
    ActivateHostWindow(*form, "NoSuchClass");
    EXPECT_EQ(form->HostWindow, 0);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace tessaline::shell
