#pragma once

#include <QPointer>
#include <map>
#include <string>

#include "shell/Ui.h"

class QMenu;
class QAction;
class QWidget;

namespace tessaline::ui {

// The window's modal and system-wide services with real Qt dialogs: message and input boxes over the
// window, popup menus at the mouse, the system clipboard and the desktop's default programs.
class QtUi final : public shell::Ui {
public:
    // `programTitle` heads the boxes shown without a title of their own, as VB does.
    explicit QtUi(std::string programTitle);

    // The window the dialogs belong to; a topmost request made before it exists is applied to it here.
    void setWindow(QWidget* window);

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

private:
    std::string titleOr(const std::string& title) const;

    std::string programTitle_;
    QPointer<QWidget> window_;
    bool topmostWanted_ = false;
};

// Fills `menu` with the visible items of `item` (separators as lines, sub-menus for items that have
// children) and returns which action stands for which item.
std::map<QAction*, shell::MenuItem*> fillPopupMenu(QMenu& menu, shell::MenuItem& item);

// The standard buttons, icon and default button of a message box for VB's MsgBox flags, and the VB result
// code of the button that closed it (`escape` when none did).
struct MessageBoxStyle {
    int buttons = 0;  // QMessageBox::StandardButtons
    int icon = 0;     // QMessageBox::Icon
    int defaultButton = 0;
    int escapeButton = 0;
};
MessageBoxStyle messageBoxStyle(int vbButtons);
int vbResult(int standardButton, const MessageBoxStyle& style);

}  // namespace tessaline::ui
