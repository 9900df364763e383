#pragma once

#include <vector>

#include "automation/Office.h"
#include "editing/BarSnapshot.h"

namespace tessaline::editing {

// Brings a host's bars to the state `target` describes, through the automation surface only: bars that
// are not in it are deleted, missing ones added with CommandBars.Add, and each bar's controls are made
// equal to the target's. A control whose kind, command or built-in state differs is deleted and added
// again (a built-in one by its Id, so that it runs its command); one that differs in settable properties
// only is changed in place, so that the controls the user did not touch stay the same objects. Bars are
// matched by name and occurrence; custom bars after the first place where the order differs are rebuilt,
// as CommandBars.Add only appends. Raises what the host raises; the steps before stay done.
void restoreBars(automation::CommandBars& bars, const std::vector<BarSnapshot>& target);

// Makes the controls of `bar` (a top-level bar or a popup's bar) equal to `target`. A built-in control
// that Controls.Add by its Id would not bring back as it was (a command can ship with a shortcut text in a
// menu and none on a toolbar, which no property write can change) is copied from an equal control of
// `bars` when there is one.
void restoreControls(automation::CommandBars& bars, const automation::CommandBarPtr& bar,
                     const std::vector<ControlSnapshot>& target);

}  // namespace tessaline::editing
