#include "automation/com/ComErrors.h"

#include "automation/com/Text.h"

namespace tessaline::automation::com {

namespace {

constexpr HRESULT vbScode(int number) {
    return static_cast<HRESULT>(0x800A0000U | static_cast<unsigned>(number & 0xFFFF));
}

bool isVbScode(HRESULT hr) { return (static_cast<unsigned>(hr) & 0xFFFF0000U) == 0x800A0000U; }

// VB numbers that stand for a plain HRESULT, both ways.
struct Mapped {
    HRESULT hr;
    int number;
};
constexpr Mapped mapped[] = {
    {E_INVALIDARG, vberr::InvalidCall},
    {DISP_E_OVERFLOW, vberr::Overflow},
    {E_OUTOFMEMORY, 7},
    {DISP_E_BADINDEX, vberr::SubscriptOutOfRange},
    {DISP_E_DIVBYZERO, 11},
    {DISP_E_TYPEMISMATCH, vberr::TypeMismatch},
    {DISP_E_UNKNOWNNAME, vberr::NoSuchMember},
    {DISP_E_MEMBERNOTFOUND, vberr::NoSuchMember},
    {E_NOTIMPL, vberr::NoSuchMember},
    {DISP_E_PARAMNOTOPTIONAL, 449},
    {DISP_E_BADPARAMCOUNT, 450},
    {DISP_E_NOTACOLLECTION, 451},
    {E_NOINTERFACE, 430},
    {MK_E_UNAVAILABLE, vberr::CannotCreateObject},
    {CO_E_CLASSSTRING, vberr::CannotCreateObject},
    {REGDB_E_CLASSNOTREG, vberr::CannotCreateObject},
    {CO_E_SERVER_EXEC_FAILURE, vberr::CannotCreateObject},
};

// The reasons VB appends to "Automation error" for the failures of the machinery itself.
std::string systemReason(HRESULT hr) {
    switch (hr) {
    case RPC_E_DISCONNECTED:
        return "The object invoked has disconnected from its clients.";
    case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE):
        return "The RPC server is unavailable.";
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED):
    case RPC_E_CALL_REJECTED:
        return "The remote procedure call failed.";
    case RPC_E_SERVERFAULT:
        return "The server threw an exception.";
    case CO_E_OBJNOTCONNECTED:
        return "Object is not connected to server";
    case RPC_E_TIMEOUT:
        return "This operation returned because the timeout period expired.";
    default:
        break;
    }
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason;
    if (length > 0 && text) {
        reason = toUtf8(std::wstring_view(text, length));
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) {
            reason.pop_back();
        }
    }
    if (text) LocalFree(text);
    return reason;
}

}  // namespace

std::string vbErrorText(int number) {
    switch (number) {
    case vberr::InvalidCall:
        return "Invalid procedure call or argument";
    case vberr::Overflow:
        return "Overflow";
    case 7:
        return "Out of memory";
    case vberr::SubscriptOutOfRange:
        return "Subscript out of range";
    case 11:
        return "Division by zero";
    case vberr::TypeMismatch:
        return "Type mismatch";
    case vberr::ObjectNotSet:
        return "Object variable or With block variable not set";
    case vberr::InvalidPattern:
        return "Invalid pattern string";
    case vberr::ObjectRequired:
        return "Object required";
    case vberr::CannotCreateObject:
        return "ActiveX component can't create object";
    case 430:
        return "Class does not support Automation or does not support expected interface";
    case vberr::NoSuchMember:
        return "Object doesn't support this property or method";
    case vberr::AutomationFailure:
        return "Automation error";
    case 449:
        return "Argument not optional";
    case 450:
        return "Wrong number of arguments or invalid property assignment";
    case 451:
        return "Property let procedure not defined and property get procedure did not return an object";
    case vberr::ApplicationDefined:
        return "Application-defined or object-defined error";
    default:
        return "";
    }
}

AutomationError errorFromHresult(HRESULT hr, const EXCEPINFO* info, std::string_view member,
                                 std::string_view typeName) {
    const std::string methodFailedText =
        "Method '" + std::string(member) + "' of object '" + std::string(typeName) + "' failed";
    if (hr == DISP_E_EXCEPTION && info) {
        EXCEPINFO filled = *info;
        if (filled.pfnDeferredFillIn) filled.pfnDeferredFillIn(&filled);
        const HRESULT scode = filled.scode != 0 ? filled.scode : (filled.wCode != 0 ? vbScode(filled.wCode) : E_FAIL);
        const std::string description = toUtf8(filled.bstrDescription);
        if (isVbScode(scode)) {
            const int number = static_cast<int>(scode & 0xFFFF);
            if (!description.empty()) return {number, description};
            const std::string text = vbErrorText(number);
            return {number, text.empty() ? methodFailedText : text};
        }
        if (!description.empty()) {
            for (const Mapped& m : mapped) {
                if (m.hr == scode) return {m.number, description};
            }
            return {static_cast<int>(scode), description};
        }
        hr = scode;
    }
    for (const Mapped& m : mapped) {
        if (m.hr == hr) return {m.number, vbErrorText(m.number)};
    }
    if (isVbScode(hr)) {
        const int number = static_cast<int>(hr & 0xFFFF);
        const std::string text = vbErrorText(number);
        return {number, text.empty() ? methodFailedText : text};
    }
    if (hr == E_FAIL || hr == DISP_E_EXCEPTION) return {vberr::MethodFailed, methodFailedText};
    const std::string reason = systemReason(hr);
    return {static_cast<int>(hr), reason.empty() ? "Automation error" : "Automation error\r\n" + reason};
}

HRESULT hresultFromError(const AutomationError& error, EXCEPINFO* info, std::string_view source) {
    const int number = error.number();
    // What Office returns as a bare HRESULT, VB's own mapping turns back into this number and text.
    for (const Mapped& m : mapped) {
        if (m.number == number && error.description() == vbErrorText(number)) return m.hr;
    }
    if (!info) return number < 0 ? static_cast<HRESULT>(number) : vbScode(number);
    *info = EXCEPINFO{};
    info->bstrSource = Bstr(source).detach();
    info->scode = number < 0 ? static_cast<HRESULT>(number) : vbScode(number);
    info->bstrDescription = Bstr(error.description()).detach();
    return DISP_E_EXCEPTION;
}

}  // namespace tessaline::automation::com
