#include "shell/StatusBar.h"

#include <utility>

#include "automation/AutomationError.h"

namespace tessaline::shell {

StatusBar::StatusBar(std::string name, int left, int top, int width, int height, std::vector<int> panelWidths)
    : Control(std::move(name), left, top, width, height) {
    for (int w : panelWidths) panels_.push_back(Panel{"", w});
}

const StatusBar::Panel& StatusBar::panel(int index) const {
    if (index < 1 || index > PanelCount()) throw automation::AutomationError(35600, "Index out of bounds");
    return panels_[static_cast<std::size_t>(index - 1)];
}

const std::string& StatusBar::PanelText(int index) const { return panel(index).text; }

void StatusBar::SetPanelText(int index, const std::string& text) {
    const_cast<Panel&>(panel(index)).text = text;
    changed();
}

int StatusBar::PanelWidth(int index) const { return panel(index).width; }

}  // namespace tessaline::shell
