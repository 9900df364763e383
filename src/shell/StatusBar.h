#pragma once

#include <functional>
#include <string>
#include <vector>

#include "shell/Control.h"

namespace tessaline::shell {

// A status bar with a fixed set of panels, 1-based as VB's Panels collection.
class StatusBar : public Control {
public:
    struct Panel {
        std::string text;
        int width = 0;  // twips
    };

    StatusBar(std::string name, int left, int top, int width, int height, std::vector<int> panelWidths);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    // Outside 1..PanelCount raises 35600 "Index out of bounds".
    const std::string& PanelText(int index) const;
    void SetPanelText(int index, const std::string& text);
    int PanelWidth(int index) const;
    const std::vector<Panel>& panels() const { return panels_; }

    // A double-click on a panel; the argument is the 1-based panel index.
    std::function<void(int panel)> onPanelDblClick;

private:
    const Panel& panel(int index) const;

    std::vector<Panel> panels_;
};

}  // namespace tessaline::shell
