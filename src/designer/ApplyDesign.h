#pragma once

#include <functional>
#include <string>

#include "automation/Office.h"
#include "automation/Variant.h"

namespace tessaline::shell {
class Form1;
}

namespace tessaline::designer {

// The three ways to apply a design: every design row becomes one control of the target (CurrentPopup when
// set, else CurrentBar), its cells set the control's properties, and each new control's macro stub goes to
// the code pane, which loses what it held. The bar grid's click handling then lists the bar again.
//
// The new controls always stand together in grid order: a row that adds nothing (an empty or refused type)
// leaves no gap, so later rows still land right after the ones added before them.

// The new controls go ahead of the target's existing ones.
void AddtoFirst_Click(shell::Form1& form);
// The new controls go after the target's existing ones.
void AddToLast_Click(shell::Form1& form);
// Every control of the target is deleted first, built-in ones included.
void ReplaceOriginal_Click(shell::Form1& form);

// One design row: the value in a column numbered as the control grid's (0 to 12). The grid gives its cell
// texts; the designer sheet gives its cells' values, so its empty switches read as False where an empty grid
// cell fails. Reading may raise; the step that needed the value is then skipped.
using DesignCell = std::function<automation::Variant(int column)>;

// What every design command does with a control it has just added (resume mode): it becomes CurrentControl,
// the row sets its nine properties, and unless it is a button popup its macro stub is appended to `code` and
// the macro list is hidden so the pane shows.
void ApplyDesignRow(shell::Form1& form, const automation::ControlPtr& control, const DesignCell& cell,
                    std::string& code);

}  // namespace tessaline::designer
