#pragma once

#include "automation/com/Win32.h"

#include <string>

#include "shell/Ui.h"

namespace tessaline::winui {

// The controls of the input box, for whoever drives it by window messages.
constexpr int kInputBoxPrompt = 1001;
constexpr int kInputBoxEdit = 1002;

// The window's modal and system-wide services in Win32: message boxes and the input box over the window,
// popup menus at the mouse, the clipboard as UTF-16 text, the shell's default programs.
class WinUi final : public shell::Ui {
public:
    // `programTitle` heads the boxes shown without a title of their own, as VB does.
    explicit WinUi(std::string programTitle);

    // The window the dialogs belong to; a topmost request made before it exists is applied to it here.
    void setWindow(HWND window);
    HWND window() const { return window_; }

    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText = "") override;
    shell::MenuItem* PopupMenu(shell::MenuItem& menu) override;
    void ClipboardClear() override;
    void ClipboardSetText(const std::string& text) override;
    std::string ClipboardGetText() override;
    void DoEvents() override;
    void ShellExecute(const std::string& path) override;
    bool SetTopmost() override;
    void Unload() override;
    void Minimize() override;

    // MessageBoxW's flags for VB's MsgBox flags: VB took its values from Windows, so buttons, icon, default
    // button and modality pass through; anything else is dropped.
    static UINT messageBoxFlags(int vbButtons);

private:
    std::string titleOr(const std::string& title) const;

    std::string programTitle_;
    HWND window_ = nullptr;
    bool topmostWanted_ = false;
};

}  // namespace tessaline::winui
