#pragma once

#include "automation/com/Win32.h"

#include <functional>

namespace tessaline::shell {
class MenuItem;
}

namespace tessaline::winui {

// Appends the visible children of `parent` to `menu`: separators as lines, items with children as
// sub-menus, commands with the id `commandId` gives them and their shortcut at the right; disabled items
// greyed, checked items checked.
// A Win32 menu has no hidden items, so a menu is built anew when an item's visibility changes.
void appendMenuItems(HMENU menu, shell::MenuItem& parent, const std::function<UINT(shell::MenuItem&)>& commandId);

}  // namespace tessaline::winui
