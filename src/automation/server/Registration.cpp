#include "automation/server/Registration.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include "automation/com/ComPtr.h"
#include "automation/com/Text.h"
#include "automation/server/Guids.h"
#include "automation/server/RunningObjects.h"

namespace tessaline::automation::server {

namespace {

// Wine reads ProgIDs from HKLM\Software\Classes only, and so does a machine-wide Office.
constexpr const wchar_t* Classes = L"Software\\Classes\\";

std::wstring guidText(const GUID& guid) {
    wchar_t text[64] = {};
    StringFromGUID2(guid, text, 64);
    return text;
}

bool keyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::wstring readDefault(const std::wstring& path) {
    wchar_t value[256] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), nullptr, RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, value,
                     &size) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

bool writeValue(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG result = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool registerProgId(const std::wstring& progId, const GUID& clsid, const std::wstring& description, bool ours) {
    const std::wstring path = Classes + progId;
    if (!ours && keyExists(path)) return true;  // an installed Office's, or ours from an earlier start
    return writeValue(path, nullptr, description) && writeValue(path + L"\\CLSID", nullptr, guidText(clsid));
}

}  // namespace

std::string registerProgIds() {
    std::string problems;
    for (const char* key : RunningObjects::HostKeys) {
        const std::wstring progId = com::toUtf16(std::string(key) + ".Application");
        if (!registerProgId(progId, *RunningObjects::classOf(key), com::toUtf16("Microsoft " + std::string(key)),
                            false)) {
            problems += "cannot register " + com::toUtf8(progId) + "; ";
        }
    }
    if (!registerProgId(L"Tessaline.Office", CLSID_TessalineOffice, L"Tessaline in-memory Office control", true)) {
        problems += "cannot register Tessaline.Office; ";
    }
    return problems;
}

std::string registerEventLibrary(const std::wstring& module, const std::wstring& fallbackFile) {
    const std::wstring interfaceKey = std::wstring(Classes) + L"Interface\\" + guidText(DIID_CommandBarButtonEvents);
    const std::wstring ourLibrary = guidText(LIBID_ServedOffice);
    const std::wstring described = readDefault(interfaceKey + L"\\TypeLib");
    if (!described.empty() && _wcsicmp(described.c_str(), ourLibrary.c_str()) != 0) {
        return {};  // Office's own library describes the interface: its registration carries the events
    }
    com::ComPtr<ITypeLib> library;
    std::wstring path = module;
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put()))) {
        path = fallbackFile;
        if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put()))) {
            return "cannot load the event type library from " + com::toUtf8(module) + " or " +
                   com::toUtf8(fallbackFile);
        }
    }
    std::wstring pathCopy = path;
    if (FAILED(RegisterTypeLib(library.get(), pathCopy.data(), nullptr))) return "cannot register the type library";
    // RegisterTypeLib writes these for a dispinterface; written again so that a registration missing any of
    // them (an older wine, a hand-edited registry) is repaired.
    const std::wstring dispatchProxy = L"{00020420-0000-0000-C000-000000000046}";
    const bool written = writeValue(interfaceKey, nullptr, L"_CommandBarButtonEvents") &&
                         writeValue(interfaceKey + L"\\ProxyStubClsid32", nullptr, dispatchProxy) &&
                         writeValue(interfaceKey + L"\\ProxyStubClsid", nullptr, dispatchProxy) &&
                         writeValue(interfaceKey + L"\\TypeLib", nullptr, ourLibrary) &&
                         writeValue(interfaceKey + L"\\TypeLib", L"Version", L"2.3");
    return written ? std::string() : "cannot register the event interface";
}

}  // namespace tessaline::automation::server
