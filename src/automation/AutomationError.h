#pragma once

#include <stdexcept>
#include <string>

namespace tessaline::automation {

// A failure raised by an automation object or the VB runtime: the VB error number and its description,
// as VB's Err object would report them.
class AutomationError : public std::runtime_error {
public:
    AutomationError(int number, std::string description);

    int number() const { return number_; }
    const std::string& description() const { return description_; }

private:
    int number_;
    std::string description_;
};

namespace vberr {
constexpr int InvalidCall = 5;             // Invalid procedure call or argument
constexpr int Overflow = 6;                // Overflow
constexpr int SubscriptOutOfRange = 9;     // Subscript out of range
constexpr int TypeMismatch = 13;           // Type mismatch
constexpr int ObjectNotSet = 91;           // Object variable or With block variable not set
constexpr int InvalidPattern = 93;         // Invalid pattern string
constexpr int CannotCreateObject = 429;    // ActiveX component can't create object
constexpr int ObjectRequired = 424;        // Object required
constexpr int NoSuchMember = 438;          // Object doesn't support this property or method
constexpr int AutomationFailure = 440;     // Automation error
constexpr int MethodFailed = -2147467259;  // E_FAIL, "Method 'X' of object 'Y' failed"
constexpr int ApplicationDefined = 1004;   // Application-defined or object-defined error
}  // namespace vberr

// Ready-made errors with the texts VB shows for them.
AutomationError invalidCall();
AutomationError overflow();
AutomationError subscriptOutOfRange();
AutomationError typeMismatch();
AutomationError objectNotSet();
AutomationError invalidPattern();
AutomationError cannotCreateObject();
AutomationError objectRequired();
AutomationError noSuchMember();
AutomationError applicationDefined();
// "Method 'Delete' of object 'CommandBar' failed"
AutomationError methodFailed(const std::string& method, const std::string& object);

}  // namespace tessaline::automation
