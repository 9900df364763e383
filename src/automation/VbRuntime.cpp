#include "automation/VbRuntime.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>

#include "automation/AutomationError.h"

namespace tessaline::automation::vb {

namespace detail {

struct LikeToken {
    enum class Kind { Star, AnyChar, Digit, Literal, List };
    Kind kind = Kind::Literal;
    char32_t ch = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;

    bool matches(char32_t c) const {
        switch (kind) {
            case Kind::AnyChar:
                return true;
            case Kind::Digit:
                return c >= U'0' && c <= U'9';
            case Kind::Literal:
                return c == ch;
            case Kind::List: {
                bool inList = false;
                for (const auto& [low, high] : ranges) {
                    if (c >= low && c <= high) {
                        inList = true;
                        break;
                    }
                }
                return inList != negated;
            }
            case Kind::Star:
                break;
        }
        return false;
    }
};

}  // namespace detail

namespace {

// ---------------------------------------------------------------------------------------------------------------
// Code points
//
// A malformed byte is kept as a character of its own (mapped above the Unicode range) so that text taken apart
// and put together again comes back byte for byte, and so that it never equals a real character.

constexpr char32_t RawByteBase = 0x110000;

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The code point at `i`, `i` moved past it. A byte that starts no valid sequence stands for itself.
char32_t decodeAt(std::string_view text, std::size_t& i) {
    const std::size_t n = text.size();
    const auto b0 = static_cast<unsigned char>(text[i]);
    auto at = [&](std::size_t k) { return k < n ? static_cast<unsigned char>(text[k]) : 0; };
    if (b0 < 0x80) {
        i += 1;
        return b0;
    }
    const unsigned char b1 = at(i + 1);
    if (b0 >= 0xC2 && b0 <= 0xDF && isContinuation(b1)) {
        i += 2;
        return ((b0 & 0x1Fu) << 6) | (b1 & 0x3Fu);
    }
    const unsigned char b2 = at(i + 2);
    if (b0 >= 0xE0 && b0 <= 0xEF && isContinuation(b1) && isContinuation(b2) && !(b0 == 0xE0 && b1 < 0xA0) &&
        !(b0 == 0xED && b1 >= 0xA0)) {
        i += 3;
        return ((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
    }
    const unsigned char b3 = at(i + 3);
    if (b0 >= 0xF0 && b0 <= 0xF4 && isContinuation(b1) && isContinuation(b2) && isContinuation(b3) &&
        !(b0 == 0xF0 && b1 < 0x90) && !(b0 == 0xF4 && b1 >= 0x90)) {
        i += 4;
        return ((b0 & 0x07u) << 18) | ((b1 & 0x3Fu) << 12) | ((b2 & 0x3Fu) << 6) | (b3 & 0x3Fu);
    }
    i += 1;
    return RawByteBase + b0;
}

std::vector<char32_t> decode(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) out.push_back(decodeAt(text, i));
    return out;
}

void append(std::string& out, char32_t c) {
    if (c >= RawByteBase) {
        out.push_back(static_cast<char>(c - RawByteBase));
    } else if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string encode(const std::vector<char32_t>& cps, std::size_t from, std::size_t to) {
    std::string out;
    out.reserve(to - from);
    for (std::size_t i = from; i < to; ++i) append(out, cps[i]);
    return out;
}

// Byte offset where each code point starts, plus the end of the text.
std::vector<std::size_t> boundaries(std::string_view text) {
    std::vector<std::size_t> starts;
    starts.reserve(text.size() + 1);
    std::size_t offset = 0;
    for (char32_t c : decode(text)) {
        starts.push_back(offset);
        std::string piece;
        append(piece, c);
        offset += piece.size();
    }
    starts.push_back(offset);
    return starts;
}

// ---------------------------------------------------------------------------------------------------------------
// Letter case
//
// The scripts a command-bar caption realistically holds: Latin, Greek, Cyrillic and full-width Latin. Chinese has
// no case and passes through.

char32_t toUpper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 32;
    if (c < 0x80) return c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
    if (c == 0xFF) return 0x178;
    if ((c >= 0x101 && c <= 0x137 && (c & 1)) || (c >= 0x14B && c <= 0x177 && (c & 1))) return c - 1;
    if ((c >= 0x13A && c <= 0x148 && !(c & 1)) || (c >= 0x17A && c <= 0x17E && !(c & 1))) return c - 1;
    if (c == 0x3C2) return 0x3A3;
    if (c >= 0x3B1 && c <= 0x3C9) return c - 32;
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    if (c >= 0xFF41 && c <= 0xFF5A) return c - 32;
    return c;
}

char32_t toLower(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 32;
    if (c < 0x80) return c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c == 0x178) return 0xFF;
    if ((c >= 0x100 && c <= 0x136 && !(c & 1)) || (c >= 0x14A && c <= 0x176 && !(c & 1))) return c + 1;
    if ((c >= 0x139 && c <= 0x147 && (c & 1)) || (c >= 0x179 && c <= 0x17D && (c & 1))) return c + 1;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
    return c;
}

// Text comparison ignores letter case and, as it does on a Chinese system, the width of Latin letters, digits
// and punctuation.
char32_t foldForText(char32_t c) {
    c = toLower(c);
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
    if (c == 0x3000) c = U' ';
    return c;
}

std::vector<char32_t> prepare(std::string_view text, int compare) {
    std::vector<char32_t> cps = decode(text);
    if (compare == TextCompare) {
        for (char32_t& c : cps) c = foldForText(c);
    }
    return cps;
}

int checkedCompare(int compare) {
    // -1 means "as Option Compare says", which is Binary here.
    if (compare == -1) return BinaryCompare;
    if (compare != BinaryCompare && compare != TextCompare) throw invalidCall();
    return compare;
}

bool matchesAt(const std::vector<char32_t>& text, std::size_t pos, const std::vector<char32_t>& match) {
    if (pos + match.size() > text.size()) return false;
    for (std::size_t k = 0; k < match.size(); ++k) {
        if (text[pos + k] != match[k]) return false;
    }
    return true;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (toLower(static_cast<unsigned char>(a[i])) != toLower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Numbers

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A decimal number read from text: its digits and exponent, not yet converted.
struct DecimalParts {
    std::string mantissa;  // digits with at most one '.', as read
    long exponent = 0;
    bool hasDigits = false;
    bool hasFraction = false;  // a '.' was read
};

// Reads digits [. digits] [E|D [sign] digits] from s at pos. An exponent letter not followed by digits is left
// unread, so "1e" reads as 1.
DecimalParts readDecimal(std::string_view s, std::size_t& pos) {
    DecimalParts parts;
    while (pos < s.size() && isDigit(s[pos])) {
        parts.mantissa.push_back(s[pos++]);
        parts.hasDigits = true;
    }
    if (pos < s.size() && s[pos] == '.') {
        parts.hasFraction = true;
        parts.mantissa.push_back(s[pos++]);
        while (pos < s.size() && isDigit(s[pos])) {
            parts.mantissa.push_back(s[pos++]);
            parts.hasDigits = true;
        }
    }
    if (!parts.hasDigits) return parts;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E' || s[pos] == 'd' || s[pos] == 'D')) {
        std::size_t p = pos + 1;
        bool negative = false;
        if (p < s.size() && (s[p] == '+' || s[p] == '-')) negative = s[p++] == '-';
        if (p < s.size() && isDigit(s[p])) {
            long exponent = 0;
            while (p < s.size() && isDigit(s[p])) {
                // Saturate: anything this large overflows or underflows a Double either way.
                if (exponent < 100000) exponent = exponent * 10 + (s[p] - '0');
                ++p;
            }
            parts.exponent = negative ? -exponent : exponent;
            pos = p;
        }
    }
    return parts;
}

double toDouble(const DecimalParts& parts, bool negative) {
    std::string text = parts.mantissa;
    if (text.front() == '.') text.insert(text.begin(), '0');
    if (text.back() == '.') text.pop_back();
    text += 'e';
    text += std::to_string(parts.exponent);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is VB's Overflow. The order of magnitude of the first significant
        // digit tells which.
        const std::size_t point = parts.mantissa.find('.');
        const long intDigits = static_cast<long>(point == std::string::npos ? parts.mantissa.size() : point);
        long digitIndex = 0;
        for (char c : parts.mantissa) {
            if (c == '.') continue;
            if (c != '0') break;
            ++digitIndex;
        }
        if (intDigits - digitIndex - 1 + parts.exponent >= 0) throw overflow();
        return negative ? -0.0 : 0.0;
    }
    if (ec != std::errc{}) return 0.0;
    return negative ? -value : value;
}

// &H and &O numbers take the type of their size, as VB literals do: up to 16 bits they are an Integer (so &HFFFF
// is -1), otherwise a Long; a trailing '&' asks for a Long.
double radixValue(std::string_view s, std::size_t& pos, int radix) {
    std::uint64_t value = 0;
    bool any = false;
    while (pos < s.size()) {
        const int d = hexDigitValue(s[pos]);
        if (d < 0 || d >= radix) break;
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
        if (value > 0xFFFFFFFFull) throw overflow();
        any = true;
        ++pos;
    }
    if (!any) return 0.0;
    bool asLong = false;
    if (pos < s.size() && s[pos] == '&') {
        asLong = true;
        ++pos;
    }
    if (!asLong && value <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

bool startsRadix(std::string_view s, std::size_t pos, int& radix) {
    if (pos + 1 >= s.size() || s[pos] != '&') return false;
    const char k = s[pos + 1];
    if (k == 'h' || k == 'H') {
        radix = 16;
        return true;
    }
    if (k == 'o' || k == 'O') {
        radix = 8;
        return true;
    }
    return false;
}

// Numeric text as automation coerces it: the whole text (blanks around it allowed) must be one number.
std::optional<double> parseNumericText(std::string_view raw) {
    const std::string_view s = trimBlanks(raw);
    std::size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
    int radix = 0;
    if (startsRadix(s, pos, radix)) {
        pos += 2;
        const std::size_t digitsFrom = pos;
        const double value = radixValue(s, pos, radix);
        if (pos == digitsFrom || pos != s.size()) return std::nullopt;
        return negative ? -value : value;
    }
    const DecimalParts parts = readDecimal(s, pos);
    if (!parts.hasDigits || pos != s.size()) return std::nullopt;
    return toDouble(parts, negative);
}

std::optional<bool> parseBooleanWord(std::string_view raw) {
    const std::string_view s = trimBlanks(raw);
    if (equalsIgnoringAsciiCase(s, "True")) return true;
    if (equalsIgnoringAsciiCase(s, "False")) return false;
    return std::nullopt;
}

double roundHalfEven(double d) {
    const double lower = std::floor(d);
    const double diff = d - lower;
    if (diff > 0.5) return lower + 1.0;
    if (diff < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

double roundedInRange(double d, double low, double high) {
    if (std::isnan(d)) throw overflow();
    const double r = roundHalfEven(d);
    if (r < low || r > high) throw overflow();
    return r;
}

// VB prints a Double with 15 significant digits, plainly while the exponent lies in -5 < e < 15, otherwise as
// mantissa "E" sign and at least two exponent digits (1E+20, 1.5E-07).
std::string formatDouble(double d) {
    if (std::isnan(d)) return "-1.#IND";
    if (std::isinf(d)) return d > 0 ? "1.#INF" : "-1.#INF";
    if (d == 0.0) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", d);
    const std::string_view text(buffer);
    const bool negative = text.front() == '-';
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (char c : text.substr(0, ePos)) {
        if (isDigit(c)) digits.push_back(c);
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int exponent = 0;
    const std::string_view expText = text.substr(ePos + 1);
    std::from_chars(expText.data() + (expText.front() == '+' ? 1 : 0), expText.data() + expText.size(), exponent);

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const std::string magnitude = std::to_string(std::abs(exponent));
        if (magnitude.size() < 2) out += '0';
        out += magnitude;
    } else if (exponent >= 0) {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out.append(intDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, intDigits);
            out += '.';
            out += digits.substr(intDigits);
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    }
    return out;
}

// ---------------------------------------------------------------------------------------------------------------
// Like

using detail::LikeToken;

// The whole pattern is checked before any matching, so a bad pattern fails whatever text it meets.
std::vector<LikeToken> compileLike(const std::vector<char32_t>& p) {
    std::vector<LikeToken> tokens;
    std::size_t i = 0;
    while (i < p.size()) {
        const char32_t c = p[i];
        LikeToken token;
        if (c == U'*') {
            ++i;
            if (!tokens.empty() && tokens.back().kind == LikeToken::Kind::Star) continue;
            token.kind = LikeToken::Kind::Star;
        } else if (c == U'?') {
            ++i;
            token.kind = LikeToken::Kind::AnyChar;
        } else if (c == U'#') {
            ++i;
            token.kind = LikeToken::Kind::Digit;
        } else if (c == U'[') {
            std::size_t j = i + 1;
            token.kind = LikeToken::Kind::List;
            if (j < p.size() && p[j] == U'!') {
                token.negated = true;
                ++j;
            }
            std::size_t close = j;
            while (close < p.size() && p[close] != U']') ++close;
            if (close >= p.size()) throw invalidPattern();
            for (std::size_t k = j; k < close;) {
                // A '-' first or last in the list is itself; between two characters it spans them.
                if (k + 2 < close && p[k + 1] == U'-') {
                    if (p[k] > p[k + 2]) throw invalidPattern();
                    token.ranges.emplace_back(p[k], p[k + 2]);
                    k += 3;
                } else {
                    token.ranges.emplace_back(p[k], p[k]);
                    k += 1;
                }
            }
            i = close + 1;
            // "[]" stands for the empty string and consumes nothing.
            if (token.ranges.empty() && !token.negated) continue;
        } else {
            ++i;
            token.kind = LikeToken::Kind::Literal;
            token.ch = c;
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

}  // namespace

// -------------------------------------------------------------------------------------------------------------------
// Conversions

std::string CStr(const Variant& v) {
    switch (v.kind()) {
        case Variant::Kind::Empty:
            return "";
        case Variant::Kind::Boolean:
            return v.asBoolRaw() ? "True" : "False";
        case Variant::Kind::Long:
            return std::to_string(v.asLongRaw());
        case Variant::Kind::Double:
            return formatDouble(v.asDoubleRaw());
        case Variant::Kind::String:
            return v.asStringRaw();
    }
    return "";
}

double CDbl(const Variant& v) {
    switch (v.kind()) {
        case Variant::Kind::Empty:
            return 0.0;
        case Variant::Kind::Boolean:
            return v.asBoolRaw() ? -1.0 : 0.0;
        case Variant::Kind::Long:
            return v.asLongRaw();
        case Variant::Kind::Double:
            return v.asDoubleRaw();
        case Variant::Kind::String: {
            if (const auto number = parseNumericText(v.asStringRaw())) return *number;
            // VB reads its own Boolean words as numbers too: CLng("True") is -1.
            if (const auto word = parseBooleanWord(v.asStringRaw())) return *word ? -1.0 : 0.0;
            throw typeMismatch();
        }
    }
    throw typeMismatch();
}

std::int32_t CLng(const Variant& v) {
    if (v.kind() == Variant::Kind::Long) return v.asLongRaw();
    return static_cast<std::int32_t>(roundedInRange(CDbl(v), -2147483648.0, 2147483647.0));
}

std::int16_t CInt(const Variant& v) {
    if (v.kind() == Variant::Kind::Long) {
        const std::int32_t value = v.asLongRaw();
        if (value < -32768 || value > 32767) throw overflow();
        return static_cast<std::int16_t>(value);
    }
    return static_cast<std::int16_t>(roundedInRange(CDbl(v), -32768.0, 32767.0));
}

bool CBool(const Variant& v) {
    switch (v.kind()) {
        case Variant::Kind::Empty:
            return false;
        case Variant::Kind::Boolean:
            return v.asBoolRaw();
        case Variant::Kind::Long:
            return v.asLongRaw() != 0;
        case Variant::Kind::Double:
            return v.asDoubleRaw() != 0.0;
        case Variant::Kind::String: {
            if (const auto word = parseBooleanWord(v.asStringRaw())) return *word;
            if (const auto number = parseNumericText(v.asStringRaw())) return *number != 0.0;
            throw typeMismatch();
        }
    }
    throw typeMismatch();
}

double Val(std::string_view text) {
    // Blanks, tabs and line feeds do not count anywhere in the text: " 2 45 7" is 2457.
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
    }
    std::size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
    int radix = 0;
    if (startsRadix(s, pos, radix)) {
        pos += 2;
        const double value = radixValue(s, pos, radix);
        return negative ? -value : value;
    }
    const DecimalParts parts = readDecimal(s, pos);
    if (!parts.hasDigits) return 0.0;
    const double value = toDouble(parts, negative);
    // A type-declaration character after the number must suit it: "50%" is an Integer, "50.5%" is not.
    if (pos < s.size()) {
        const bool whole = !parts.hasFraction && parts.exponent == 0;
        if (s[pos] == '%') {
            if (!whole) throw typeMismatch();
            if (value < -32768.0 || value > 32767.0) throw overflow();
        } else if (s[pos] == '&') {
            if (!whole) throw typeMismatch();
            if (value < -2147483648.0 || value > 2147483647.0) throw overflow();
        }
    }
    return value;
}

// -------------------------------------------------------------------------------------------------------------------
// Like

LikePattern::LikePattern(std::string_view pattern) : tokens_(compileLike(decode(pattern))) {}
LikePattern::~LikePattern() = default;
LikePattern::LikePattern(const LikePattern&) = default;
LikePattern& LikePattern::operator=(const LikePattern&) = default;

bool Like(std::string_view text, std::string_view pattern) { return LikePattern(pattern).matches(text); }

bool LikePattern::matches(std::string_view text) const {
    const std::vector<LikeToken>& tokens = tokens_;
    // A pattern that starts with one fixed character refuses most texts at their first character, read
    // without decoding the whole text: a capture asks several patterns of every caption of the host.
    if (!tokens.empty() && tokens.front().kind != LikeToken::Kind::Star && !text.empty()) {
        std::size_t start = 0;
        if (!tokens.front().matches(decodeAt(text, start))) return false;
    }
    const std::vector<char32_t> t = decode(text);

    // Every token but '*' takes exactly one character, so remembering the last '*' is enough to backtrack.
    constexpr std::size_t none = std::numeric_limits<std::size_t>::max();
    std::size_t ti = 0;
    std::size_t pi = 0;
    std::size_t starToken = none;
    std::size_t starText = 0;
    while (ti < t.size()) {
        if (pi < tokens.size() && tokens[pi].kind == LikeToken::Kind::Star) {
            starToken = pi++;
            starText = ti;
        } else if (pi < tokens.size() && tokens[pi].matches(t[ti])) {
            ++pi;
            ++ti;
        } else if (starToken != none) {
            pi = starToken + 1;
            ti = ++starText;
        } else {
            return false;
        }
    }
    while (pi < tokens.size() && tokens[pi].kind == LikeToken::Kind::Star) ++pi;
    return pi == tokens.size();
}

// -------------------------------------------------------------------------------------------------------------------
// Strings

std::vector<std::string> Split(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    if (delimiter.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    std::size_t from = 0;
    while (true) {
        const std::size_t at = text.find(delimiter, from);
        if (at == std::string_view::npos) break;
        parts.emplace_back(text.substr(from, at - from));
        from = at + delimiter.size();
    }
    parts.emplace_back(text.substr(from));
    return parts;
}

int InStr(int start, std::string_view text, std::string_view match, int compare) {
    if (start < 1) throw invalidCall();
    compare = checkedCompare(compare);
    const std::vector<char32_t> t = prepare(text, compare);
    const std::vector<char32_t> m = prepare(match, compare);
    if (t.empty() || static_cast<std::size_t>(start) > t.size()) return 0;
    if (m.empty()) return start;
    for (std::size_t pos = static_cast<std::size_t>(start) - 1; pos + m.size() <= t.size(); ++pos) {
        if (matchesAt(t, pos, m)) return static_cast<int>(pos) + 1;
    }
    return 0;
}

int InStrRev(std::string_view check, std::string_view match, int start, int compare) {
    if (start == 0 || start < -1) throw invalidCall();
    compare = checkedCompare(compare);
    const std::vector<char32_t> t = prepare(check, compare);
    const std::vector<char32_t> m = prepare(match, compare);
    if (t.empty()) return 0;
    const std::size_t last = start == -1 ? t.size() : static_cast<std::size_t>(start);
    if (last > t.size()) return 0;
    if (m.empty()) return static_cast<int>(last);
    if (m.size() > last) return 0;
    // The match must end at or before position `last`.
    for (std::size_t pos = last - m.size() + 1; pos-- > 0;) {
        if (matchesAt(t, pos, m)) return static_cast<int>(pos) + 1;
    }
    return 0;
}

std::string Replace(std::string_view expression, std::string_view find, std::string_view replaceWith, int start,
                    int count, int compare) {
    if (start < 1 || count < -1) throw invalidCall();
    compare = checkedCompare(compare);
    const std::vector<char32_t> original = decode(expression);
    const std::size_t from = static_cast<std::size_t>(start) - 1;
    if (from >= original.size()) return "";
    if (find.empty() || count == 0) return encode(original, from, original.size());

    const std::vector<char32_t> t = prepare(expression, compare);
    const std::vector<char32_t> f = prepare(find, compare);
    std::string out;
    std::size_t copied = from;
    std::size_t pos = from;
    int done = 0;
    // Replaced text is never searched again, so replacing "a" with "aa" ends.
    while (pos + f.size() <= t.size() && (count == -1 || done < count)) {
        if (matchesAt(t, pos, f)) {
            out += encode(original, copied, pos);
            out += replaceWith;
            pos += f.size();
            copied = pos;
            ++done;
        } else {
            ++pos;
        }
    }
    out += encode(original, copied, original.size());
    return out;
}

std::string LTrim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string RTrim(std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string Trim(std::string_view text) { return LTrim(RTrim(text)); }

std::string Left(std::string_view text, int length) {
    if (length < 0) throw invalidCall();
    const std::vector<std::size_t> starts = boundaries(text);
    const std::size_t chars = starts.size() - 1;
    const std::size_t take = std::min(static_cast<std::size_t>(length), chars);
    return std::string(text.substr(0, starts[take]));
}

std::string Right(std::string_view text, int length) {
    if (length < 0) throw invalidCall();
    const std::vector<std::size_t> starts = boundaries(text);
    const std::size_t chars = starts.size() - 1;
    const std::size_t take = std::min(static_cast<std::size_t>(length), chars);
    return std::string(text.substr(starts[chars - take]));
}

std::string Mid(std::string_view text, int start, int length) {
    // -1 stands for an omitted length: the rest of the text.
    if (start < 1 || length < -1) throw invalidCall();
    const std::vector<std::size_t> starts = boundaries(text);
    const std::size_t chars = starts.size() - 1;
    const std::size_t from = static_cast<std::size_t>(start) - 1;
    if (from >= chars) return "";
    const std::size_t available = chars - from;
    const std::size_t take = length == -1 ? available : std::min(static_cast<std::size_t>(length), available);
    return std::string(text.substr(starts[from], starts[from + take] - starts[from]));
}

int Len(std::string_view text) { return static_cast<int>(decode(text).size()); }

std::string LCase(std::string_view text) {
    // Character by character, with no decoded copy: a capture lowers every caption of the host.
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) append(out, toLower(decodeAt(text, i)));
    return out;
}

std::string UCase(std::string_view text) {
    std::vector<char32_t> cps = decode(text);
    for (char32_t& c : cps) c = toUpper(c);
    return encode(cps, 0, cps.size());
}

}  // namespace tessaline::automation::vb
