#include "automation/sim/SimRangeValues.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "automation/AutomationError.h"

namespace tessaline::automation::sim {

namespace {

constexpr int kGeneralWidth = 11;

std::string trimSpaces(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
    return std::string(text.substr(begin, end - begin));
}

bool equalsAsciiIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number as typed: optional sign, digits with an optional point (at least one digit), an
// optional exponent. Hexadecimal, "inf" and "nan" are text to Excel.
bool looksNumeric(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < s.size() && isDigit(s[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == s.size();
}

std::optional<double> parseNumber(const std::string& text) {
    if (!looksNumeric(text)) return std::nullopt;
    std::string_view s = text;
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double value = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
    return value == 0 ? 0.0 : value;  // no negative zero in a cell
}

std::string toChars(double value, std::chars_format format, int precision) {
    char buffer[400];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    if (ec != std::errc()) return {};
    return std::string(buffer, ptr);
}

// "2.500" -> "2.5", "3.000" -> "3"; leaves texts without a point alone.
std::string stripFraction(std::string s) {
    if (s.find('.') == std::string::npos) return s;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

int significantDigits(const std::string& s) {
    int count = 0;
    bool started = false;
    for (char c : s) {
        if (c == 'E') break;
        if (!isDigit(c)) continue;
        if (c != '0') started = true;
        if (started) ++count;
    }
    return count;
}

// Excel writes exponents with at least two digits and a sign: 1E+15, 1.5E-07.
std::string scientific(double magnitude, int width) {
    for (int decimals = width; decimals >= 0; --decimals) {
        std::string s = toChars(magnitude, std::chars_format::scientific, decimals);
        auto e = s.find('e');
        if (e == std::string::npos) continue;
        std::string mantissa = stripFraction(s.substr(0, e));
        std::string exponent = s.substr(e + 1);
        char sign = '+';
        if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
            sign = exponent[0];
            exponent.erase(0, 1);
        }
        while (exponent.size() > 2 && exponent[0] == '0') exponent.erase(0, 1);
        if (exponent.size() < 2) exponent.insert(0, 2 - exponent.size(), '0');
        std::string text = mantissa + "E" + sign + exponent;
        if (static_cast<int>(text.size()) <= width) return text;
    }
    return "#";
}

// The fixed-point form with as many decimals as fit, or "" when the integer part alone is too wide.
std::string fixedForm(double magnitude, int width) {
    std::string whole = toChars(magnitude, std::chars_format::fixed, 0);
    if (static_cast<int>(whole.size()) > width) return {};
    for (int decimals = width - static_cast<int>(whole.size()) - 1; decimals >= 0; --decimals) {
        std::string s = stripFraction(toChars(magnitude, std::chars_format::fixed, decimals));
        if (static_cast<int>(s.size()) <= width) return s;
    }
    return whole;
}

// --- Find's pattern matching over code points -----------------------------------------------------------

std::vector<char32_t> codePoints(std::string_view s) {
    std::vector<char32_t> out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        auto b = static_cast<unsigned char>(s[i]);
        int length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= s.size();
        char32_t cp = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; valid && k < length; ++k) {
            auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!valid) {
            // A stray byte stands for itself so that malformed text still compares consistently.
            out.push_back(0xDC00 + b);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

char32_t foldCase(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;     // Latin-1 capitals
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;  // Greek capitals
    if (c >= 0x410 && c <= 0x42F) return c + 32;                // Cyrillic capitals
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

enum class TokenKind { Literal, AnyRun, AnyOne };
struct Token {
    TokenKind kind;
    char32_t literal;
};

}  // namespace

Variant storedCellValue(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::Empty:
            return {};
        case Variant::Kind::Boolean:
            return value;
        case Variant::Kind::Long:
            return static_cast<double>(value.asLongRaw());
        case Variant::Kind::Double: {
            double d = value.asDoubleRaw();
            if (!std::isfinite(d)) throw applicationDefined();
            return d == 0 ? 0.0 : d;
        }
        case Variant::Kind::String: {
            const std::string& text = value.asStringRaw();
            if (text.empty()) return {};
            // A leading apostrophe keeps what follows as text ("'007"), and is not part of the value.
            if (text.front() == '\'') return text.substr(1);
            std::string trimmed = trimSpaces(text);
            if (equalsAsciiIgnoringCase(trimmed, "TRUE")) return true;
            if (equalsAsciiIgnoringCase(trimmed, "FALSE")) return false;
            if (auto number = parseNumber(trimmed)) return *number;
            return value;
        }
    }
    return value;
}

std::string generalNumberText(double number) {
    if (number == 0 || !std::isfinite(number)) return "0";
    const bool negative = number < 0;
    const double magnitude = std::fabs(number);
    const int width = kGeneralWidth - (negative ? 1 : 0);
    std::string text;
    std::string fixed = fixedForm(magnitude, width);
    if (fixed.empty()) {
        text = scientific(magnitude, width);
    } else if (magnitude >= 1) {
        text = fixed;
    } else {
        std::string sci = scientific(magnitude, width);
        text = (fixed == "0" || significantDigits(sci) > significantDigits(fixed)) ? sci : fixed;
    }
    return negative ? "-" + text : text;
}

std::string displayedText(const Variant& stored) {
    switch (stored.kind()) {
        case Variant::Kind::Empty:
            return {};
        case Variant::Kind::Boolean:
            return stored.asBoolRaw() ? "TRUE" : "FALSE";
        case Variant::Kind::Long:
            return std::to_string(stored.asLongRaw());
        case Variant::Kind::Double:
            return generalNumberText(stored.asDoubleRaw());
        case Variant::Kind::String:
            return stored.asStringRaw();
    }
    return {};
}

std::string formulaText(const Variant& stored) {
    if (stored.kind() != Variant::Kind::Double) return displayedText(stored);
    double d = stored.asDoubleRaw();
    if (d == 0 || !std::isfinite(d)) return "0";
    std::string s = toChars(d, std::chars_format::general, 15);
    auto e = s.find('e');
    if (e == std::string::npos) return s;
    std::string mantissa = stripFraction(s.substr(0, e));
    return mantissa + "E" + s.substr(e + 1);
}

bool containsPattern(std::string_view text, std::string_view pattern) {
    std::vector<Token> tokens{{TokenKind::AnyRun, 0}};
    std::vector<char32_t> p = codePoints(pattern);
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == U'~' && i + 1 < p.size()) {
            tokens.push_back({TokenKind::Literal, foldCase(p[++i])});
        } else if (p[i] == U'*') {
            if (tokens.back().kind != TokenKind::AnyRun) tokens.push_back({TokenKind::AnyRun, 0});
        } else if (p[i] == U'?') {
            tokens.push_back({TokenKind::AnyOne, 0});
        } else {
            tokens.push_back({TokenKind::Literal, foldCase(p[i])});
        }
    }
    if (tokens.back().kind != TokenKind::AnyRun) tokens.push_back({TokenKind::AnyRun, 0});

    std::vector<char32_t> t = codePoints(text);
    for (auto& c : t) c = foldCase(c);

    // Greedy matching with one backtrack point per '*': linear in practice, never exponential.
    std::size_t ti = 0;
    std::size_t pi = 0;
    std::size_t starToken = std::string_view::npos;
    std::size_t starText = 0;
    while (ti < t.size()) {
        if (pi < tokens.size() && tokens[pi].kind == TokenKind::AnyRun) {
            starToken = pi++;
            starText = ti;
        } else if (pi < tokens.size() && (tokens[pi].kind == TokenKind::AnyOne || tokens[pi].literal == t[ti])) {
            ++pi;
            ++ti;
        } else if (starToken != std::string_view::npos) {
            pi = starToken + 1;
            ti = ++starText;
        } else {
            return false;
        }
    }
    while (pi < tokens.size() && tokens[pi].kind == TokenKind::AnyRun) ++pi;
    return pi == tokens.size();
}

}  // namespace tessaline::automation::sim
