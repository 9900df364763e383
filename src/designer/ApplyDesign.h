#pragma once

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

}  // namespace tessaline::designer
