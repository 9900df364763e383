#pragma once

#include <functional>
#include <string>

class QAction;
class QMainWindow;

namespace tessaline::automation::sim {
class SimOffice;
}

namespace tessaline::ui {

// The host window's command to start its host's bars afresh from the shipped content: a "命令栏" menu at the
// right of the window's status bar, whose "重置为原始内容..." asks first, then puts the shipped bars back and
// removes the bars kept for the next start. `changed` runs after a reset, so the windows show it.
// Returns the command's action.
QAction* installResetBarsCommand(QMainWindow& window, automation::sim::SimOffice& office, const std::string& hostKey,
                                 std::function<void()> changed);

}  // namespace tessaline::ui
