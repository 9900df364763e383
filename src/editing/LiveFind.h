#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/Office.h"

namespace tessaline::shell {
class Form1;
}

namespace tessaline::editing {

// What "查找控件" looks for, from the text typed:
//     "id:3" or "3"         controls whose ID is 3
//     "face:59"             buttons whose FaceId is 59
//     "macro:Report*"       controls whose OnAction matches the pattern with Like
//     "caption:保存", "保存"  controls whose caption, with or without its "&", holds the text (Like, so
//                            wildcards work)
// Raises "Invalid procedure call or argument" for an empty key or a number that is not one.
struct FindKey {
    enum class Kind { Id, FaceId, Macro, Caption };
    Kind kind = Kind::Caption;
    std::string text;
    int number = 0;
};
FindKey parseFindKey(const std::string& typed);

// A control found in the live bars: its bar (by name and 1-based place in CommandBars, as two bars may
// share a name), its 1-based index path through popups and the captions along it.
struct FoundControl {
    std::string barName;
    int barIndex = 0;
    std::vector<int> path;
    std::vector<std::string> captions;
    int id = 0;
    std::string caption;
};

// Every bar and every popup depth, in collection order.
std::vector<FoundControl> findLiveControls(automation::CommandBars& bars, const FindKey& key);
// The list's line: "bar | caption > caption | 1.4 | ID | caption".
std::string FoundLine(const FoundControl& found);
std::string IndexPath(const std::vector<int>& path);

// The find's window side: the result list (FoundControls), choosing a result, running it.
class LiveFind {
public:
    explicit LiveFind(shell::Form1& form) : form_(form) {}

    // "查找控件...": asks for the key, lists the results and shows the list. Report mode.
    void find();
    // A click on a result: lists its bar, or the popup that holds it, with the control's row current.
    // Report mode: a control that is no longer where it was found is reported.
    void choose();
    // "执行找到的控件": runs the chosen result's control as a click does (Execute). Report mode.
    void runFound();
    // "关闭结果列表".
    void hide();

private:
    automation::ControlPtr resolve(const FoundControl& found);

    shell::Form1& form_;
    std::weak_ptr<automation::Object> host_;
    std::vector<FoundControl> results_;
};

void attachLiveFind(shell::Form1& form);

}  // namespace tessaline::editing
