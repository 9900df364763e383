// A control object that never answers IsRunning or Quit: tessaline-office.exe stuck in a call, for the test
// of the client's call limit. Registers like the real server (the same ProgID and class) and answers LiveObjects and
// ProcessId, so a RemoteOffice attaches to it.
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on

#include <cstdio>

namespace {

const CLSID officeClass = {0x3b8e6d52, 0x1f07, 0x4c9a, {0xb4, 0x65, 0x0d, 0x2e, 0x9c, 0x71, 0x58, 0xa3}};

class Control final : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        const wchar_t* known[] = {L"LiveObjects", L"IsRunning", L"Quit", L"ProcessId"};
        for (DISPID i = 0; i < 4; ++i) {
            if (lstrcmpiW(names[0], known[i]) == 0) {
                *ids = i + 1;
                return S_OK;
            }
        }
        *ids = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (result) VariantInit(result);
        switch (id) {
            case 1:
                if (result) {
                    result->vt = VT_I4;
                    result->lVal = 0;
                }
                return S_OK;
            case 4:
                if (result) {
                    result->vt = VT_I4;
                    result->lVal = static_cast<LONG>(GetCurrentProcessId());
                }
                return S_OK;
            case 2:
            case 3:
                Sleep(120000);  // stuck, pumping nothing
                return S_OK;
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }
};

bool registerProgId() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Tessaline.Office\\CLSID", 0, nullptr, 0,
                        KEY_WRITE | KEY_WOW64_64KEY, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const wchar_t value[] = L"{3B8E6D52-1F07-4C9A-B465-0D2E9C7158A3}";
    const LONG result = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

}  // namespace

int wmain() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) || !registerProgId()) return 1;
    static Control control;
    DWORD cookie = 0;
    if (FAILED(RegisterActiveObject(&control, officeClass, ACTIVEOBJECT_STRONG, &cookie))) return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    const DWORD started = GetTickCount();
    while (GetTickCount() - started < 300000) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    RevokeActiveObject(cookie, nullptr);
    CoUninitialize();
    return 0;
}
