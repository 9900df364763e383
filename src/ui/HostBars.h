#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/Office.h"

namespace tessaline::ui {

// What a person sees of one control on a host's bar, read through the automation surface. Two readings
// compare equal exactly when the host would look the same and a click would reach the same controls, so a
// host window rebuilds its bars only when something a person can see or click has changed.
struct ShownControl {
    automation::ControlPtr control;  // what a click runs
    int type = automation::mso::ControlButton;
    std::string caption;  // with its accelerator, as the host keeps it
    bool enabled = true;
    bool beginGroup = false;
    std::string tooltip;
    int faceId = 0;        // buttons only
    int style = 0;         // buttons only
    std::string shortcut;  // buttons only
    int width = 0;
    std::vector<std::string> items;      // the list of a combo box or drop-down
    std::string text;                    // the text shown in an edit or combo box
    std::vector<ShownControl> children;  // the visible sub items of a popup

    bool operator==(const ShownControl&) const = default;
};

struct ShownBar {
    automation::CommandBarPtr bar;
    std::string name;
    std::string nameLocal;
    int type = automation::mso::BarTypeNormal;
    int position = automation::mso::BarTop;
    bool enabled = true;
    int width = 0;
    std::vector<ShownControl> controls;  // the visible ones, in index order

    bool operator==(const ShownBar&) const = default;
};

// The bars a host shows: its menu bar and the toolbars that are visible and enabled, in collection order.
struct HostBars {
    std::optional<ShownBar> menuBar;  // the first visible menu bar
    std::vector<ShownBar> toolbars;   // other visible menu bars show as toolbars too

    bool operator==(const HostBars&) const = default;
};

// Reads what a host shows. A bar or control whose reading fails (deleted under our feet, say) is left out;
// the rest is still read, so a host never shows less than it can.
HostBars readHostBars(automation::CommandBars& bars);
// The same, taking each shown bar's reading from `known` where it has one (a bar the caller knows did not
// change since it last read it) and reading the others.
HostBars readHostBars(automation::CommandBars& bars,
                      const std::function<std::optional<ShownBar>(const automation::CommandBarPtr&)>& known);

bool isPopupType(int type);
// Edit boxes, drop-downs and combo boxes: controls that hold a text and maybe a list.
bool isListType(int type);

// The caption as a person reads it: accelerator marks dropped ("保存(&S)" gives "保存(S)", "&&" one "&").
std::string withoutAccelerator(std::string_view caption);

// What a host did on a click, for its status bar: "macro:Name" gives "运行宏: Name", "builtin:3 保存(&S)"
// gives "内置命令: 3 保存(&S)", "sink-error:text" gives "事件出错: text".
std::string describeAction(std::string_view logEntry);

}  // namespace tessaline::ui
