#pragma once

#include <deque>
#include <optional>
#include <functional>
#include <string>
#include <vector>

#include "shell/Ui.h"

namespace tessaline::shell {

// A Ui that answers from queues prepared beforehand and records everything it was asked to show. When a
// box appears with nothing queued for it, the answer is the safe one: OK for an OK-only box, No for a
// Yes/No box, Cancel for any box with a Cancel button, cancel ("") for an input box, dismissed for a popup.
class ScriptedUi : public Ui {
public:
    struct ShownMessage {
        std::string prompt;
        int buttons = 0;
        std::string title;
        int answer = 0;
    };
    struct ShownInput {
        std::string prompt;
        std::string title;
        std::string defaultText;
        std::string answer;
    };
    struct ShownPopup {
        std::string menu;
        std::vector<std::string> visibleItems;  // item names in order, separators included
        std::string chosen;                     // "" when dismissed
    };

    // Answers, used in the order queued.
    void queueMsgBoxAnswer(int result) { msgBoxAnswers_.push_back(result); }
    void queueInput(const std::string& text) { inputAnswers_.emplace_back(text); }
    void queueInputCancel() { inputAnswers_.emplace_back(std::nullopt); }
    // The name of the item to choose in the next popup menu; "" dismisses it.
    void queuePopupChoice(const std::string& itemName) { popupChoices_.push_back(itemName); }

    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText = "") override;
    MenuItem* PopupMenu(MenuItem& menu) override;
    void ClipboardClear() override;
    void ClipboardSetText(const std::string& text) override;
    std::string ClipboardGetText() override;
    void DoEvents() override {
        ++doEventsCalls;
        // What a person does while a long job lets the window's events run.
        if (whileEventsRun) {
            auto pending = std::move(whileEventsRun);
            whileEventsRun = nullptr;
            pending();
        }
        if (eventsRun) eventsRun();
    }
    // Runs once, at the next DoEvents.
    std::function<void()> whileEventsRun;
    // Runs at every DoEvents: a live window lets its own events run there, as the program's window does.
    std::function<void()> eventsRun;
    void ShellExecute(const std::string& path) override { shellOpened.push_back(path); }
    bool SetTopmost() override;
    void Unload() override { unloaded = true; }
    void Minimize() override { ++minimized; }

    // What happened, for the caller to inspect.
    std::vector<ShownMessage> messages;
    std::vector<ShownInput> inputs;
    std::vector<ShownPopup> popups;
    std::vector<std::string> shellOpened;
    std::string clipboard;
    bool topmost = false;
    bool topmostFails = false;  // set to make SetTopmost fail
    bool unloaded = false;
    int minimized = 0;
    int doEventsCalls = 0;

    // Answers not yet used; a test can check that its script was consumed.
    std::size_t pendingAnswers() const { return msgBoxAnswers_.size() + inputAnswers_.size() + popupChoices_.size(); }

private:
    std::deque<int> msgBoxAnswers_;
    std::deque<std::optional<std::string>> inputAnswers_;
    std::deque<std::string> popupChoices_;
};

}  // namespace tessaline::shell
