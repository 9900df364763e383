#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace tessaline::automation::com {

// Text crosses into COM as UTF-16 and comes back as UTF-8 here, nowhere else. Invalid sequences become
// U+FFFD rather than failing, as a caption is better shown damaged than lost.
std::wstring toUtf16(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);
std::string toUtf8(BSTR text);  // a null BSTR is ""

// An owned BSTR, freed exactly once.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::string_view utf8);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : b_(other.detach()) {}
    Bstr& operator=(Bstr&& other) noexcept;
    ~Bstr();

    static Bstr adopt(BSTR b);
    BSTR get() const { return b_; }
    BSTR* put();
    BSTR detach();
    std::string utf8() const { return toUtf8(b_); }

private:
    BSTR b_ = nullptr;
};

}  // namespace tessaline::automation::com
