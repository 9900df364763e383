#include "winui/Menus.h"

#include "shell/MenuItem.h"
#include "winui/WideText.h"

namespace tessaline::winui {

void appendMenuItems(HMENU menu, shell::MenuItem& parent, const std::function<UINT(shell::MenuItem&)>& commandId) {
    for (const auto& child : parent.children()) {
        if (!child->Visible()) continue;
        if (child->isSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring caption = wide(child->Caption());
        // A shortcut is shown at the right of the item, as Windows menus show them.
        if (!child->Shortcut().empty()) caption += L"\t" + wide(child->Shortcut());
        const UINT state = (child->Enabled() ? MF_ENABLED : MF_GRAYED) | (child->Checked() ? MF_CHECKED : 0);
        if (!child->children().empty()) {
            HMENU sub = CreatePopupMenu();
            appendMenuItems(sub, *child, commandId);
            AppendMenuW(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
        } else {
            AppendMenuW(menu, MF_STRING | state, commandId(*child), caption.c_str());
        }
    }
}

}  // namespace tessaline::winui
