#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace tessaline::automation {

// The value a late-bound automation member takes or returns. Objects travel as their own smart pointers,
// never inside a Variant.
class Variant {
public:
    enum class Kind { Empty, Boolean, Long, Double, String };

    Variant() = default;
    Variant(bool b) : value_(b) {}                      // NOLINT(google-explicit-constructor)
    Variant(int i) : value_(std::int32_t{i}) {}         // NOLINT(google-explicit-constructor)
    Variant(double d) : value_(d) {}                    // NOLINT(google-explicit-constructor)
    Variant(std::string s) : value_(std::move(s)) {}    // NOLINT(google-explicit-constructor)
    Variant(const char* s) : value_(std::string(s)) {}  // NOLINT(google-explicit-constructor)

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isBool() const { return kind() == Kind::Boolean; }
    bool isNumber() const { return kind() == Kind::Long || kind() == Kind::Double; }
    bool isString() const { return kind() == Kind::String; }

    bool asBoolRaw() const { return std::get<bool>(value_); }
    std::int32_t asLongRaw() const { return std::get<std::int32_t>(value_); }
    double asDoubleRaw() const { return std::get<double>(value_); }
    const std::string& asStringRaw() const { return std::get<std::string>(value_); }

    // Conversions with automation's coercion rules (VB's CStr, CDbl, CLng, CBool): numeric text is
    // accepted for numbers, "True"/"False" in any letter case for Booleans; anything else raises
    // "Type mismatch". Empty is "" / 0 / False.
    std::string toString() const;
    double toDouble() const;
    std::int32_t toLong() const;  // rounds halves to even; out of range raises "Overflow"
    bool toBool() const;

    bool operator==(const Variant& other) const = default;

private:
    std::variant<std::monostate, bool, std::int32_t, double, std::string> value_;
};

}  // namespace tessaline::automation
