#include "editing/BarRestore.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

namespace tessaline::editing {

namespace {

namespace mso = automation::mso;

bool isListType(int type) { return type >= mso::ControlEdit && type <= mso::ControlComboBox; }

// Whether `current` can be turned into `target` by setting properties.
bool settable(const ControlSnapshot& current, const ControlSnapshot& target) {
    if (current.type != target.type || current.id != target.id || current.builtIn != target.builtIn) return false;
    // A built-in list belongs to its command, an edit box has none.
    if (current.items != target.items && (target.builtIn || target.type == mso::ControlEdit)) return false;
    // ShortcutText can be written only on a control that has a macro.
    if (current.shortcutText != target.shortcutText && target.onAction.empty()) return false;
    return true;
}

void setProperties(automation::CommandBarControl& control, const ControlSnapshot& current,
                   const ControlSnapshot& target) {
    if (current.caption != target.caption) control.SetCaption(target.caption);
    if (target.style && current.style != target.style) control.SetProperty("Style", *target.style);
    if (target.faceId && current.faceId != target.faceId) control.SetProperty("FaceId", *target.faceId);
    if (current.tooltipText != target.tooltipText) control.SetTooltipText(target.tooltipText);
    if (current.tag != target.tag) control.SetTag(target.tag);
    if (current.onAction != target.onAction) control.SetOnAction(target.onAction);
    if (target.shortcutText && current.shortcutText != target.shortcutText) {
        control.SetProperty("ShortcutText", *target.shortcutText);
    }
    if (current.beginGroup != target.beginGroup) control.SetBeginGroup(target.beginGroup);
    if (current.enabled != target.enabled) control.SetEnabled(target.enabled);
    if (isListType(target.type)) {
        automation::ComboBoxPtr combo = control.AsComboBox();
        if (target.items && current.items != target.items) {
            combo->Clear();
            for (const std::string& item : *target.items) combo->AddItem(item);
        }
        if (target.text && current.text != target.text) combo->SetText(*target.text);
    }
    if (current.visible != target.visible) control.SetVisible(target.visible);
    // Width last: the host computes it from the caption and icon unless it was set.
    if (control.Width() != target.width) control.SetWidth(target.width);
}

std::string foldedKey(const std::string& name, std::map<std::string, int>& seen) {
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
    return key + "#" + std::to_string(seen[key]++);
}

std::vector<std::string> keysOf(const std::vector<std::string>& names) {
    std::map<std::string, int> seen;
    std::vector<std::string> keys;
    for (const std::string& name : names) keys.push_back(foldedKey(name, seen));
    return keys;
}

// What no property write can change: a control with these equal can be made equal to the target.
bool sameFixedParts(const ControlSnapshot& a, const ControlSnapshot& b) {
    return a.type == b.type && a.id == b.id && a.builtIn == b.builtIn &&
           (a.shortcutText == b.shortcutText || !b.onAction.empty()) &&
           (a.items == b.items || !(b.builtIn || b.type == mso::ControlEdit));
}

automation::ControlPtr findDonor(automation::CommandBarControls& controls, const ControlSnapshot& target,
                                 int depth) {
    for (const automation::ControlPtr& control : controls.Enumerate()) {
        const int type = control->Type();
        if (control->Id() == target.id && type == target.type) {
            ControlSnapshot s = snapshotControl(*control);
            if (sameFixedParts(s, target)) return control;
        }
        if (depth < 8 && type >= mso::ControlPopup && type <= mso::ControlSplitButtonMRUPopup) {
            if (auto found = findDonor(*control->AsPopup()->Controls(), target, depth + 1)) return found;
        }
    }
    return nullptr;
}

void restoreBar(automation::CommandBars& bars, const automation::CommandBarPtr& held, const BarSnapshot& current,
                const BarSnapshot& target) {
    automation::CommandBar& bar = *held;
    if (current.controls != target.controls) restoreControls(bars, held, target.controls);
    if (current.position != target.position) bar.SetPosition(target.position);
    // Visible needs Enabled; a bar to be disabled is hidden first.
    if (target.enabled && !current.enabled) bar.SetEnabled(true);
    if (current.visible != target.visible) bar.SetVisible(target.visible);
    if (!target.enabled && current.enabled) bar.SetEnabled(false);
    if (bar.Width() != target.width) bar.SetWidth(target.width);
}

}  // namespace

void restoreControls(automation::CommandBars& bars, const automation::CommandBarPtr& bar,
                     const std::vector<ControlSnapshot>& target) {
    automation::ControlsPtr held = bar->Controls();
    automation::CommandBarControls& controls = *held;
    const std::vector<ControlSnapshot> current = snapshotControls(controls);
    std::size_t keep = 0;
    while (keep < current.size() && keep < target.size() && settable(current[keep], target[keep])) ++keep;
    for (std::size_t i = 0; i < keep; ++i) {
        if (current[i] == target[i]) continue;
        automation::ControlPtr control = controls.Item(static_cast<int>(i + 1));
        if (!current[i].sameOwnProperties(target[i])) setProperties(*control, current[i], target[i]);
        if (target[i].isPopup && current[i].controls != target[i].controls) {
            restoreControls(bars, control->AsPopup()->CommandBar(), target[i].controls);
        }
    }
    for (std::size_t i = current.size(); i > keep; --i) controls.Item(static_cast<int>(i))->Delete();
    for (std::size_t i = keep; i < target.size(); ++i) {
        const ControlSnapshot& t = target[i];
        automation::Optional id;
        if (t.id != 1) id = automation::Variant(t.id);
        const int before = static_cast<int>(i + 1);
        automation::ControlPtr control = controls.Add(t.type, id, std::nullopt, before);
        ControlSnapshot fresh = snapshotControl(*control);
        if (!sameFixedParts(fresh, t)) {
            automation::ControlPtr donor;
            for (const automation::CommandBarPtr& other : bars.Enumerate()) {
                if ((donor = findDonor(*other->Controls(), t, 0))) break;
            }
            if (donor) {
                control->Delete();
                control = donor->Copy(bar, before);
                fresh = snapshotControl(*control);
            }
        }
        setProperties(*control, fresh, t);
        if (t.isPopup) restoreControls(bars, control->AsPopup()->CommandBar(), t.controls);
    }
}

void restoreBars(automation::CommandBars& bars, const std::vector<BarSnapshot>& target) {
    std::vector<std::string> targetNames;
    for (const BarSnapshot& bar : target) targetNames.push_back(bar.name);
    const std::vector<std::string> targetKeys = keysOf(targetNames);

    auto listed = [&bars](std::vector<automation::CommandBarPtr>& objects, std::vector<std::string>& keys) {
        objects = bars.Enumerate();
        std::vector<std::string> names;
        for (const auto& bar : objects) names.push_back(bar->Name());
        keys = keysOf(names);
    };
    std::vector<automation::CommandBarPtr> objects;
    std::vector<std::string> keys;
    listed(objects, keys);

    // Bars the target does not have, and custom bars from the first place where the order differs.
    std::size_t same = 0;
    while (same < keys.size() && same < targetKeys.size() && keys[same] == targetKeys[same]) ++same;
    for (std::size_t i = objects.size(); i > same; --i) {
        automation::CommandBar& bar = *objects[i - 1];
        const bool wanted = std::find(targetKeys.begin(), targetKeys.end(), keys[i - 1]) != targetKeys.end();
        if (!wanted || !bar.BuiltIn()) bar.Delete();
    }
    listed(objects, keys);

    for (std::size_t i = 0; i < target.size(); ++i) {
        const BarSnapshot& t = target[i];
        const auto found = std::find(keys.begin(), keys.end(), targetKeys[i]);
        if (found != keys.end()) {
            const automation::CommandBarPtr& bar = objects[static_cast<std::size_t>(found - keys.begin())];
            const BarSnapshot current = snapshotBar(*bar);
            if (!(current == t)) restoreBar(bars, bar, current, t);
            continue;
        }
        const int position = t.type == mso::BarTypePopup ? mso::BarPopup : t.position;
        automation::CommandBarPtr bar = bars.Add(t.name, position, t.type == mso::BarTypeMenuBar, false);
        restoreBar(bars, bar, snapshotBar(*bar), t);
    }
}

}  // namespace tessaline::editing
