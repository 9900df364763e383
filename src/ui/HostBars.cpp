#include "ui/HostBars.h"

#include <exception>

namespace tessaline::ui {

namespace {

namespace mso = automation::mso;

// Content may nest popups sixteen deep; a host that claims more is not followed further.
constexpr int kMaxDepth = 16;

std::vector<ShownControl> readControls(automation::CommandBarControls& controls, int depth);

std::optional<ShownControl> readControl(const automation::ControlPtr& control, int depth) {
    try {
        if (!control || !control->Visible()) return std::nullopt;
        ShownControl shown;
        shown.control = control;
        shown.type = control->Type();
        shown.caption = control->Caption();
        shown.enabled = control->Enabled();
        shown.beginGroup = control->BeginGroup();
        shown.tooltip = control->TooltipText();
        shown.width = control->Width();
        if (shown.type == mso::ControlButton) {
            const automation::ButtonPtr button = control->AsButton();
            shown.faceId = button->FaceId();
            shown.style = button->Style();
            shown.shortcut = button->ShortcutText();
        } else if (isPopupType(shown.type) && depth < kMaxDepth) {
            if (const automation::ControlsPtr children = control->AsPopup()->Controls()) {
                shown.children = readControls(*children, depth + 1);
            }
        } else if (isListType(shown.type)) {
            const automation::ComboBoxPtr list = control->AsComboBox();
            // An edit box has a text but no list; each part is read on its own.
            try {
                shown.text = list->Text();
            } catch (const std::exception&) {
            }
            try {
                const int count = list->ListCount();
                for (int i = 1; i <= count; ++i) shown.items.push_back(list->List(i));
            } catch (const std::exception&) {
                shown.items.clear();
            }
        }
        return shown;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::vector<ShownControl> readControls(automation::CommandBarControls& controls, int depth) {
    std::vector<ShownControl> shown;
    std::vector<automation::ControlPtr> members;
    try {
        members = controls.Enumerate();
    } catch (const std::exception&) {
        return shown;
    }
    for (const automation::ControlPtr& control : members) {
        if (auto one = readControl(control, depth)) shown.push_back(std::move(*one));
    }
    return shown;
}

std::optional<ShownBar> readBar(const automation::CommandBarPtr& bar) {
    try {
        ShownBar shown;
        shown.bar = bar;
        shown.name = bar->Name();
        shown.nameLocal = bar->NameLocal();
        shown.type = bar->Type();
        shown.position = bar->Position();
        shown.enabled = bar->Enabled();
        shown.width = bar->Width();
        if (const automation::ControlsPtr controls = bar->Controls()) shown.controls = readControls(*controls, 1);
        return shown;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

bool isPopupType(int type) { return type >= mso::ControlPopup && type <= mso::ControlSplitButtonMRUPopup; }

bool isListType(int type) { return type >= mso::ControlEdit && type <= mso::ControlComboBox; }

HostBars readHostBars(automation::CommandBars& bars) { return readHostBars(bars, nullptr); }

HostBars readHostBars(automation::CommandBars& bars,
                      const std::function<std::optional<ShownBar>(const automation::CommandBarPtr&)>& known) {
    const auto read = [&known](const automation::CommandBarPtr& bar) -> std::optional<ShownBar> {
        if (known) {
            if (auto kept = known(bar)) return kept;
        }
        return readBar(bar);
    };
    HostBars shown;
    std::vector<automation::CommandBarPtr> members;
    try {
        members = bars.Enumerate();
    } catch (const std::exception&) {
        return shown;
    }
    for (const automation::CommandBarPtr& bar : members) {
        try {
            if (!bar || !bar->Visible()) continue;
            const int type = bar->Type();
            if (type == mso::BarTypeMenuBar && !shown.menuBar) {
                shown.menuBar = read(bar);
                continue;
            }
            if (type == mso::BarTypePopup || !bar->Enabled()) continue;
            if (auto one = read(bar)) shown.toolbars.push_back(std::move(*one));
        } catch (const std::exception&) {
        }
    }
    return shown;
}

std::string withoutAccelerator(std::string_view caption) {
    std::string text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            text += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            text += '&';
            ++i;
        }
    }
    return text;
}

std::string describeAction(std::string_view logEntry) {
    struct Kind {
        std::string_view prefix;
        std::string_view label;
    };
    static constexpr Kind kinds[] = {{"macro:", "运行宏: "}, {"builtin:", "内置命令: "}, {"sink-error:", "事件出错: "}};
    for (const Kind& kind : kinds) {
        if (logEntry.substr(0, kind.prefix.size()) == kind.prefix) {
            return std::string(kind.label) + std::string(logEntry.substr(kind.prefix.size()));
        }
    }
    return std::string(logEntry);
}

}  // namespace tessaline::ui
