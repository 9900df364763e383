#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::editing {

// The bar grid's popup menu. Show, close, delete, reset and clear all act on CurrentBar and trap nothing:
// a refusal of the host reaches the event dispatcher, which shows it in the error report box. The three
// create commands ignore every failure.
void ShowCommandbar_Click(shell::Form1& form);
void CloseCommandbar_Click(shell::Form1& form);
void DeleteCommandbar_Click(shell::Form1& form);
void ResetCommandbar_Click(shell::Form1& form);
void ClearAll_Click(shell::Form1& form);
void CreateMenubar_Click(shell::Form1& form);
void CreateToolbar_Click(shell::Form1& form);
void CreatePopupbar_Click(shell::Form1& form);

}  // namespace tessaline::editing
