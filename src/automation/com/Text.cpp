#include "automation/com/Text.h"

#include <utility>

namespace tessaline::automation::com {

std::wstring toUtf16(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), length);
    return out;
}

std::string toUtf8(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int size = static_cast<int>(utf16.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

std::string toUtf8(BSTR text) {
    if (!text) return {};
    return toUtf8(std::wstring_view(text, SysStringLen(text)));
}

Bstr::Bstr(std::string_view utf8) {
    const std::wstring wide = toUtf16(utf8);
    b_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

Bstr& Bstr::operator=(Bstr&& other) noexcept {
    if (this != &other) {
        SysFreeString(b_);
        b_ = other.detach();
    }
    return *this;
}

Bstr::~Bstr() { SysFreeString(b_); }

Bstr Bstr::adopt(BSTR b) {
    Bstr result;
    result.b_ = b;
    return result;
}

BSTR* Bstr::put() {
    SysFreeString(std::exchange(b_, nullptr));
    return &b_;
}

BSTR Bstr::detach() { return std::exchange(b_, nullptr); }

}  // namespace tessaline::automation::com
