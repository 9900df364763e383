#include "automation/com/KeySyntax.h"

#include <windows.h>

#include <cctype>
#include <string_view>

#include "automation/AutomationError.h"
#include "automation/com/Text.h"

namespace tessaline::automation::com {

namespace {

struct NamedKey {
    const char* name;
    unsigned short vk;
};

constexpr NamedKey namedKeys[] = {
    {"BACKSPACE", VK_BACK}, {"BS", VK_BACK},           {"BKSP", VK_BACK},
    {"BREAK", VK_CANCEL},   {"CAPSLOCK", VK_CAPITAL},  {"DELETE", VK_DELETE},
    {"DEL", VK_DELETE},     {"DOWN", VK_DOWN},         {"END", VK_END},
    {"ENTER", VK_RETURN},   {"ESC", VK_ESCAPE},        {"ESCAPE", VK_ESCAPE},
    {"HELP", VK_HELP},      {"HOME", VK_HOME},         {"INSERT", VK_INSERT},
    {"INS", VK_INSERT},     {"LEFT", VK_LEFT},         {"NUMLOCK", VK_NUMLOCK},
    {"PGDN", VK_NEXT},      {"PGUP", VK_PRIOR},        {"PRTSC", VK_SNAPSHOT},
    {"RIGHT", VK_RIGHT},    {"SCROLLLOCK", VK_SCROLL}, {"TAB", VK_TAB},
    {"UP", VK_UP},
};

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// A named key, F1 to F16, or a single character written in braces.
bool lookUp(const std::string& name, KeyStroke& key) {
    const std::string u = upper(name);
    for (const auto& k : namedKeys) {
        if (u == k.name) {
            key.vk = k.vk;
            return true;
        }
    }
    if (u.size() >= 2 && u.size() <= 3 && u[0] == 'F' && std::isdigit(static_cast<unsigned char>(u[1]))) {
        const int n = std::stoi(u.substr(1));
        if (n >= 1 && n <= 16 && std::to_string(n) == u.substr(1)) {
            key.vk = static_cast<unsigned short>(VK_F1 + n - 1);
            return true;
        }
    }
    const std::wstring wide = toUtf16(name);
    if (wide.size() == 1) {
        key.ch = wide[0];
        return true;
    }
    return false;
}

class Parser {
public:
    explicit Parser(const std::wstring& text) : text_(text) {}

    std::vector<KeyStroke> run() {
        std::vector<KeyStroke> out;
        sequence(out, false, false, false, false);
        if (pos_ != text_.size()) throw invalidCall();  // a stray ')'
        return out;
    }

private:
    // Keys until the end of the text, or until ')' inside a group.
    void sequence(std::vector<KeyStroke>& out, bool inGroup, bool shift, bool control, bool alt) {
        while (pos_ < text_.size()) {
            const wchar_t c = text_[pos_];
            if (c == L')') {
                if (!inGroup) throw invalidCall();
                return;
            }
            item(out, shift, control, alt);
        }
        if (inGroup) throw invalidCall();  // '(' never closed
    }

    void item(std::vector<KeyStroke>& out, bool shift, bool control, bool alt) {
        const wchar_t c = text_[pos_++];
        switch (c) {
            case L'+':
            case L'^':
            case L'%': {
                if (pos_ >= text_.size() || text_[pos_] == L')') throw invalidCall();
                item(out, shift || c == L'+', control || c == L'^', alt || c == L'%');
                return;
            }
            case L'(': {
                sequence(out, true, shift, control, alt);
                ++pos_;  // the ')'
                return;
            }
            case L'~':
                out.push_back({VK_RETURN, 0, shift, control, alt});
                return;
            case L'{':
                braced(out, shift, control, alt);
                return;
            case L'}':
                throw invalidCall();
            default:
                out.push_back({0, c, shift, control, alt});
                return;
        }
    }

    // After '{': a name, a name and a count, or one character ('{}}' included).
    void braced(std::vector<KeyStroke>& out, bool shift, bool control, bool alt) {
        std::size_t close = text_.find(L'}', pos_ == text_.size() ? pos_ : pos_ + 1);
        if (close == std::wstring::npos) throw invalidCall();
        std::wstring inside = text_.substr(pos_, close - pos_);
        pos_ = close + 1;
        int count = 1;
        if (const auto space = inside.find(L' '); space != std::wstring::npos && space > 0) {
            const std::wstring number = inside.substr(space + 1);
            if (number.empty() || number.size() > 4) throw invalidCall();
            for (wchar_t d : number) {
                if (d < L'0' || d > L'9') throw invalidCall();
            }
            count = std::stoi(toUtf8(number));
            inside.resize(space);
        }
        KeyStroke key{0, 0, shift, control, alt};
        if (inside.empty() || !lookUp(toUtf8(inside), key)) throw invalidCall();
        for (int i = 0; i < count; ++i) out.push_back(key);
    }

    const std::wstring& text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<KeyStroke> parseSendKeys(const std::string& text) {
    const std::wstring wide = toUtf16(text);
    return Parser(wide).run();
}

}  // namespace tessaline::automation::com
