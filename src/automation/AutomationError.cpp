#include "automation/AutomationError.h"

#include <utility>

namespace tessaline::automation {

AutomationError::AutomationError(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

AutomationError invalidCall() { return {vberr::InvalidCall, "Invalid procedure call or argument"}; }
AutomationError overflow() { return {vberr::Overflow, "Overflow"}; }
AutomationError subscriptOutOfRange() { return {vberr::SubscriptOutOfRange, "Subscript out of range"}; }
AutomationError typeMismatch() { return {vberr::TypeMismatch, "Type mismatch"}; }
AutomationError objectNotSet() { return {vberr::ObjectNotSet, "Object variable or With block variable not set"}; }
AutomationError invalidPattern() { return {vberr::InvalidPattern, "Invalid pattern string"}; }
AutomationError cannotCreateObject() { return {vberr::CannotCreateObject, "ActiveX component can't create object"}; }
AutomationError objectRequired() { return {vberr::ObjectRequired, "Object required"}; }
AutomationError noSuchMember() { return {vberr::NoSuchMember, "Object doesn't support this property or method"}; }
AutomationError applicationDefined() {
    return {vberr::ApplicationDefined, "Application-defined or object-defined error"};
}
AutomationError methodFailed(const std::string& method, const std::string& object) {
    return {vberr::MethodFailed, "Method '" + method + "' of object '" + object + "' failed"};
}

}  // namespace tessaline::automation
