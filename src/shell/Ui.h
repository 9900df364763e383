#pragma once

#include <string>

namespace tessaline::shell {

class MenuItem;

// MsgBox button and icon flags and its results, with VB's values.
namespace vbmsg {
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int ButtonMask = 0x0F;
constexpr int IconMask = 0x70;

constexpr int ResultOK = 1;
constexpr int ResultCancel = 2;
constexpr int ResultYes = 6;
constexpr int ResultNo = 7;
}  // namespace vbmsg

// Everything modal or system-wide the handlers need. The window implements it with real dialogs; tests and
// scripts implement it with prepared answers.
class Ui {
public:
    virtual ~Ui() = default;

    // Returns the VB result code of the button pressed.
    virtual int MsgBox(const std::string& prompt, int buttons, const std::string& title) = 0;
    // Returns the text entered, "" when the box was cancelled.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText = "") = 0;
    // Shows the visible items of `menu` at the mouse position and waits; returns the chosen item or nullptr
    // when the menu was dismissed. The caller runs the chosen item's Click handler.
    virtual MenuItem* PopupMenu(MenuItem& menu) = 0;

    virtual void ClipboardClear() = 0;
    virtual void ClipboardSetText(const std::string& text) = 0;
    virtual std::string ClipboardGetText() = 0;

    // Lets pending window events run during a long job.
    virtual void DoEvents() = 0;
    // Opens the file with its default program; nothing is reported whatever happens.
    virtual void ShellExecute(const std::string& path) = 0;
    // Keeps the window above all other windows. Returns false when that failed.
    virtual bool SetTopmost() = 0;
    // Closes the window, which ends the program.
    virtual void Unload() = 0;
    virtual void Minimize() = 0;
};

}  // namespace tessaline::shell
