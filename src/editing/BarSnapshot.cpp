#include "editing/BarSnapshot.h"

#include <algorithm>

namespace tessaline::editing {

namespace {

namespace mso = automation::mso;

bool isPopupType(int type) { return type >= mso::ControlPopup && type <= mso::ControlSplitButtonMRUPopup; }
bool isListType(int type) { return type >= mso::ControlEdit && type <= mso::ControlComboBox; }

std::string quoted(const std::string& text) { return "\"" + text + "\""; }
std::string shown(bool value) { return value ? "True" : "False"; }
std::string shown(int value) { return std::to_string(value); }
std::string shown(const std::string& value) { return quoted(value); }
std::string shown(const std::vector<std::string>& items) {
    std::string text = "[";
    for (std::size_t i = 0; i < items.size(); ++i) text += (i ? "," : "") + quoted(items[i]);
    return text + "]";
}
template <typename T>
std::string shown(const std::optional<T>& value) {
    return value ? shown(*value) : std::string("(none)");
}

template <typename T>
void compare(std::vector<std::string>& out, const std::string& where, const char* property, const T& a, const T& b) {
    if (a != b) out.push_back(where + " " + property + ": " + shown(a) + " / " + shown(b));
}

std::string childPath(const std::string& path, std::size_t zeroBased) {
    return (path.empty() ? "" : path + ".") + std::to_string(zeroBased + 1);
}

void compareLists(std::vector<std::string>& out, const std::vector<ControlSnapshot>& a,
                  const std::vector<ControlSnapshot>& b, const std::string& path) {
    if (a.size() != b.size()) {
        out.push_back((path.empty() ? std::string("bar") : path) + " Count: " + std::to_string(a.size()) + " / " +
                      std::to_string(b.size()));
    }
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        for (std::string& line : controlDifferences(a[i], b[i], childPath(path, i))) out.push_back(std::move(line));
    }
}

}  // namespace

bool ControlSnapshot::sameOwnProperties(const ControlSnapshot& other) const {
    ControlSnapshot mine = *this;
    mine.controls = other.controls;
    return mine == other;
}

ControlSnapshot snapshotControl(automation::CommandBarControl& control) {
    ControlSnapshot s;
    s.type = control.Type();
    s.id = control.Id();
    s.builtIn = control.BuiltIn();
    s.caption = control.Caption();
    s.beginGroup = control.BeginGroup();
    s.enabled = control.Enabled();
    s.visible = control.Visible();
    s.onAction = control.OnAction();
    s.tooltipText = control.TooltipText();
    s.tag = control.Tag();
    s.width = control.Width();
    if (s.type == mso::ControlButton) {
        automation::ButtonPtr button = control.AsButton();
        s.faceId = button->FaceId();
        s.style = button->Style();
        s.shortcutText = button->ShortcutText();
    } else if (isListType(s.type)) {
        automation::ComboBoxPtr combo = control.AsComboBox();
        std::vector<std::string> items;
        const int count = combo->ListCount();
        for (int i = 1; i <= count; ++i) items.push_back(combo->List(i));
        s.items = std::move(items);
        s.text = combo->Text();
    } else if (isPopupType(s.type)) {
        s.isPopup = true;
        s.controls = snapshotControls(*control.AsPopup()->Controls());
    }
    return s;
}

std::vector<ControlSnapshot> snapshotControls(automation::CommandBarControls& controls) {
    const std::vector<automation::ControlPtr> all = controls.Enumerate();
    // A snapshot is large: grown one by one, the vector moved every snapshot again at each doubling.
    std::vector<ControlSnapshot> out;
    out.reserve(all.size());
    for (const automation::ControlPtr& control : all) out.push_back(snapshotControl(*control));
    return out;
}

BarSnapshot snapshotBar(automation::CommandBar& bar) {
    BarSnapshot s;
    s.name = bar.Name();
    s.nameLocal = bar.NameLocal();
    s.builtIn = bar.BuiltIn();
    s.type = bar.Type();
    s.enabled = bar.Enabled();
    s.visible = bar.Visible();
    s.position = bar.Position();
    s.width = bar.Width();
    s.controls = snapshotControls(*bar.Controls());
    return s;
}

std::vector<BarSnapshot> snapshotBars(automation::CommandBars& bars) {
    std::vector<BarSnapshot> out;
    for (const automation::CommandBarPtr& bar : bars.Enumerate()) out.push_back(snapshotBar(*bar));
    return out;
}

std::vector<std::string> controlDifferences(const ControlSnapshot& a, const ControlSnapshot& b,
                                            const std::string& path) {
    std::vector<std::string> out;
    compare(out, path, "Type", a.type, b.type);
    compare(out, path, "Id", a.id, b.id);
    compare(out, path, "BuiltIn", a.builtIn, b.builtIn);
    compare(out, path, "Caption", a.caption, b.caption);
    compare(out, path, "BeginGroup", a.beginGroup, b.beginGroup);
    compare(out, path, "Enabled", a.enabled, b.enabled);
    compare(out, path, "Visible", a.visible, b.visible);
    compare(out, path, "OnAction", a.onAction, b.onAction);
    compare(out, path, "TooltipText", a.tooltipText, b.tooltipText);
    compare(out, path, "Tag", a.tag, b.tag);
    compare(out, path, "Width", a.width, b.width);
    compare(out, path, "FaceId", a.faceId, b.faceId);
    compare(out, path, "Style", a.style, b.style);
    compare(out, path, "ShortcutText", a.shortcutText, b.shortcutText);
    compare(out, path, "List", a.items, b.items);
    compare(out, path, "Text", a.text, b.text);
    compareLists(out, a.controls, b.controls, path);
    return out;
}

std::vector<std::string> barDifferences(const BarSnapshot& a, const BarSnapshot& b, bool withIdentity) {
    std::vector<std::string> out;
    const std::string where = "bar " + quoted(a.name);
    compare(out, where, "Name", a.name, b.name);
    if (withIdentity) {
        compare(out, where, "NameLocal", a.nameLocal, b.nameLocal);
        compare(out, where, "BuiltIn", a.builtIn, b.builtIn);
    }
    compare(out, where, "Type", a.type, b.type);
    compare(out, where, "Enabled", a.enabled, b.enabled);
    compare(out, where, "Visible", a.visible, b.visible);
    compare(out, where, "Position", a.position, b.position);
    compare(out, where, "Width", a.width, b.width);
    compareLists(out, a.controls, b.controls, "");
    return out;
}

}  // namespace tessaline::editing
