#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "automation/Object.h"
#include "automation/Office.h"
#include "sources/ButtonEventCol.h"

namespace tessaline::shell {
class Form1;
}

namespace tessaline::sources {

// A caption path "B^C1^C2" (bar name, then captions down to the button) as the host expression
// Application.CommandBars("B").Controls("C1").Controls("C2").
std::string CaptionPathToCode(std::string_view path);
// An index path "1^1^2" as Application.CommandBars(1).Controls(1).Controls(2).
std::string IndexPathToCode(std::string_view path);

// Capture mode: host buttons are hooked so that a click on one of them in the host does not run it but
// writes into the Code box where the button lives (its ID, a caption-based and an index-based expression)
// and a ready-to-edit procedure that adds a new button beside it.
//
// One per window. The hooks call back into this object and the window, so it must not outlive either;
// releasing it releases every hook.
class Capture {
public:
    explicit Capture(shell::Form1& form);
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    // ----- Main-window commands (menu menuControl) -----
    // "获取菜单栏": hooks the buttons of the chosen host's menu bar; nothing with Void chosen.
    void menuCaptureMenubar_Click();
    // "获取工具栏": hooks the buttons of every bar but the menu bars named "Built-in Menus", "Menu Bar", "菜单条".
    void menuCommandbarCapture_Click();
    // "恢复正常": releases every hook and hides Code.
    void menuNormal_Click();

    // ----- Hooking -----
    // Report mode: hooks the buttons (Type 1) of the named bar, three levels deep.
    void CaptureMenubar(const std::string& barName);
    // Resume mode: offers every non-popup control of the host's bars, three levels deep, as a button; those
    // that cannot be taken as one stay unhooked.
    void CaptureToolbars();

    // ----- A click on a hooked button -----
    // Cancels the button's own action and reports it. Resume mode.
    void Button_Click(const automation::ButtonPtr& ctrl, bool& cancelDefault);
    // Finds the button by its caption in the menu-bar source sheet. Resume mode.
    void ReportMenubarButton(const automation::ButtonPtr& button);
    // Climbs the live objects from the button to its bar. Lets through only what fails after the climb.
    void ReportToolbarButton(automation::ButtonPtr button);
    // Writes the two expressions of the climb into Code; a failure replaces Code's text by its description.
    void FinishToolbarReport();
    // Report mode: appends the add-button procedure for the container of the reported button.
    void AppendAddButtonCode();

    // The hooks made so far; created on first use.
    ButtonEventCol& CapturedButtons();

    // True after a menu-bar capture, False after a toolbar capture: decides how every hooked button is
    // reported. Release leaves it as it is.
    bool MenubarCapture = false;
    // The caption path and the index path of the last menu-bar report.
    std::array<std::string, 2> PathParts;
    // Working state of the toolbar report: the clicked button, the popups that hold it from the inside out,
    // and last the bar.
    std::vector<automation::ObjectPtr> ParentChain;
    std::string CaptionPath;
    std::string IndexPath;

private:
    // Whether SourceHost is the host chosen in the window, i.e. the last OpenSourceSheet reached it.
    bool sourceHostIsChosenHost() const;
    // The walk of CaptureMenubar; the first failure ends it.
    void hookMenubar(const std::string& barName);
    void hookToolbarControls(const automation::ControlPtr& control, int level);

    shell::Form1& form_;
    std::unique_ptr<ButtonEventCol> CapturedButtons_;
};

}  // namespace tessaline::sources
