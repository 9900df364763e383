#include "winui/Shortcuts.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

namespace tessaline::winui {

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

std::optional<WORD> virtualKey(const std::string& name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) return static_cast<WORD>(name[0]);
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
        const int number = std::atoi(name.c_str() + 1);
        if (number >= 1 && number <= 24) return static_cast<WORD>(VK_F1 + number - 1);
    }
    static const std::map<std::string, WORD> named = {
        {"DEL", VK_DELETE},    {"DELETE", VK_DELETE}, {"INS", VK_INSERT},     {"INSERT", VK_INSERT},
        {"HOME", VK_HOME},     {"END", VK_END},       {"PGUP", VK_PRIOR},     {"PAGEUP", VK_PRIOR},
        {"PGDOWN", VK_NEXT},   {"PAGEDOWN", VK_NEXT}, {"UP", VK_UP},          {"DOWN", VK_DOWN},
        {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},   {"SPACE", VK_SPACE},    {"TAB", VK_TAB},
        {"ENTER", VK_RETURN},  {"RETURN", VK_RETURN}, {"BACKSPACE", VK_BACK}, {"ESC", VK_ESCAPE},
        {"ESCAPE", VK_ESCAPE},
    };
    auto found = named.find(name);
    if (found == named.end()) return std::nullopt;
    return found->second;
}

}  // namespace

std::optional<ACCEL> acceleratorOf(const std::string& shortcut) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : shortcut) {
        // "Ctrl++" names the plus key: a '+' right after a separator is the key itself.
        if (c == '+' && !part.empty()) {
            parts.push_back(upper(part));
            part.clear();
        } else if (c != ' ') {
            part += c;
        }
    }
    if (part.empty()) return std::nullopt;
    parts.push_back(upper(part));

    ACCEL accel{};
    accel.fVirt = FVIRTKEY;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i] == "CTRL" || parts[i] == "CONTROL") {
            accel.fVirt |= FCONTROL;
        } else if (parts[i] == "SHIFT") {
            accel.fVirt |= FSHIFT;
        } else if (parts[i] == "ALT") {
            accel.fVirt |= FALT;
        } else {
            return std::nullopt;
        }
    }
    std::optional<WORD> key = parts.back() == "+" ? std::optional<WORD>(VK_OEM_PLUS) : virtualKey(parts.back());
    if (!key) return std::nullopt;
    accel.key = *key;
    return accel;
}

}  // namespace tessaline::winui
