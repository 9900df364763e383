#pragma once

#include <optional>
#include <string>
#include <vector>

#include "automation/Office.h"

namespace tessaline::editing {

// A command bar or control read out of the host into plain values: what the undo journal restores, what
// the VBA writer writes and what the bar comparisons compare. Everything is read through the automation
// surface, so a snapshot means the same against the in-memory Office and against real Office.
struct ControlSnapshot {
    int type = automation::mso::ControlButton;
    int id = 1;
    bool builtIn = false;
    std::string caption;
    bool beginGroup = false;
    bool enabled = true;
    bool visible = true;
    std::string onAction;
    std::string tooltipText;
    std::string tag;
    int width = 0;
    // Buttons (type 1) only.
    std::optional<int> faceId;
    std::optional<int> style;
    std::optional<std::string> shortcutText;
    // Edit and combo boxes (types 2 to 4) only.
    std::optional<std::vector<std::string>> items;
    std::optional<std::string> text;
    // Popups (types 10 to 14): the sub items.
    bool isPopup = false;
    std::vector<ControlSnapshot> controls;

    // The control's own properties, sub items left out.
    bool sameOwnProperties(const ControlSnapshot& other) const;
    bool operator==(const ControlSnapshot& other) const = default;
};

struct BarSnapshot {
    std::string name;
    std::string nameLocal;
    bool builtIn = false;
    int type = automation::mso::BarTypeNormal;
    bool enabled = true;
    bool visible = false;
    int position = automation::mso::BarTop;
    int width = 0;
    std::vector<ControlSnapshot> controls;

    bool operator==(const BarSnapshot& other) const = default;
};

ControlSnapshot snapshotControl(automation::CommandBarControl& control);
std::vector<ControlSnapshot> snapshotControls(automation::CommandBarControls& controls);
BarSnapshot snapshotBar(automation::CommandBar& bar);
std::vector<BarSnapshot> snapshotBars(automation::CommandBars& bars);

// Where two controls differ, one line per property ("1.3 Caption: "a" / "b""), sub items by index path
// below `path`. Empty when they are equal. The tests and the recording comparison read these.
std::vector<std::string> controlDifferences(const ControlSnapshot& a, const ControlSnapshot& b,
                                            const std::string& path);
// The same for two bars; `withIdentity` false leaves out NameLocal and BuiltIn, which a bar rebuilt by
// code cannot carry over (a bar made by CommandBars.Add is custom, and a custom bar's local name is its
// name).
std::vector<std::string> barDifferences(const BarSnapshot& a, const BarSnapshot& b, bool withIdentity = true);

}  // namespace tessaline::editing
