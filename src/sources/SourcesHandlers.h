#pragma once

namespace tessaline::shell {
class Form1;
}

namespace tessaline::sources {

// Wires the macro list (its check box, the list's click and right button, MenuListMacros), the source
// workbook commands of the menus and MenuApp, and the tree viewer with its Viewer menu. Call before
// Form1::load().
void attachHandlers(shell::Form1& form);

}  // namespace tessaline::sources
