#include "shell/ScriptedUi.h"

#include "shell/MenuItem.h"

namespace tessaline::shell {

int ScriptedUi::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    int answer = 0;
    if (!msgBoxAnswers_.empty()) {
        answer = msgBoxAnswers_.front();
        msgBoxAnswers_.pop_front();
    } else {
        switch (buttons & vbmsg::ButtonMask) {
            case vbmsg::OKOnly:
                answer = vbmsg::ResultOK;
                break;
            case vbmsg::YesNo:
                answer = vbmsg::ResultNo;
                break;
            default:
                answer = vbmsg::ResultCancel;
                break;
        }
    }
    messages.push_back(ShownMessage{prompt, buttons, title, answer});
    return answer;
}

std::string ScriptedUi::InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    std::string answer;
    if (!inputAnswers_.empty()) {
        answer = inputAnswers_.front().value_or("");
        inputAnswers_.pop_front();
    }
    inputs.push_back(ShownInput{prompt, title, defaultText, answer});
    return answer;
}

MenuItem* ScriptedUi::PopupMenu(MenuItem& menu) {
    ShownPopup shown{menu.Name(), menu.visibleItems(), ""};
    MenuItem* chosen = nullptr;
    if (!popupChoices_.empty()) {
        const std::string name = popupChoices_.front();
        popupChoices_.pop_front();
        // Only a visible, enabled command of this menu can be chosen.
        for (const auto& item : menu.children()) {
            if (item->Name() == name && item->Visible() && item->Enabled() && !item->isSeparator()) {
                chosen = item.get();
            }
        }
    }
    if (chosen) shown.chosen = chosen->Name();
    popups.push_back(std::move(shown));
    return chosen;
}

void ScriptedUi::ClipboardClear() { clipboard.clear(); }

void ScriptedUi::ClipboardSetText(const std::string& text) { clipboard = text; }

std::string ScriptedUi::ClipboardGetText() { return clipboard; }

bool ScriptedUi::SetTopmost() {
    if (topmostFails) return false;
    topmost = true;
    return true;
}

}  // namespace tessaline::shell
