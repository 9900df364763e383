#include "automation/com/ClickSink.h"

#include <oleauto.h>

#include <exception>

#include "automation/AutomationError.h"
#include "automation/com/CallFilter.h"
#include "automation/com/ComErrors.h"
#include "automation/com/RefCount.h"
#include "automation/com/Text.h"

namespace tessaline::automation::com {

const IID DIID_CommandBarButtonEvents = {0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

constexpr DISPID ClickDispId = 1;

// The sink the server calls: Click(Ctrl As CommandBarButton, CancelDefault As Boolean). Nothing thrown
// here may reach COM, so every failure becomes the call's EXCEPINFO.
class ClickSinkObject final : public IDispatch {
public:
    explicit ClickSinkObject(ClickHandler handler) : handler_(std::move(handler)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_CommandBarButtonEvents) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.add(); }
    ULONG STDMETHODCALLTYPE Release() override { return refs_.release(this); }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!names || !ids) return E_POINTER;
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            const bool click = i == 0 && names[i] && lstrcmpiW(names[i], L"Click") == 0;
            ids[i] = click ? ClickDispId : DISPID_UNKNOWN;
            if (!click) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT*) override {
        if (result) VariantInit(result);
        if (id != ClickDispId) return DISP_E_MEMBERNOTFOUND;
        if (!params || params->cArgs != 2 || params->cNamedArgs != 0) return DISP_E_BADPARAMCOUNT;
        // Arguments arrive last to first: rgvarg[1] is Ctrl, rgvarg[0] CancelDefault (by reference).
        const VARIANT& ctrlArg = params->rgvarg[1];
        VARIANT& cancelArg = params->rgvarg[0];
        ComPtr<IDispatch> ctrl;
        if (ctrlArg.vt == VT_DISPATCH) {
            ctrl = ComPtr<IDispatch>::share(ctrlArg.pdispVal);
        } else if (ctrlArg.vt == (VT_BYREF | VT_DISPATCH) && ctrlArg.ppdispVal) {
            ctrl = ComPtr<IDispatch>::share(*ctrlArg.ppdispVal);
        } else {
            return DISP_E_TYPEMISMATCH;
        }
        VARIANT_BOOL* cancelSlot = nullptr;
        if (cancelArg.vt == (VT_BYREF | VT_BOOL)) {
            cancelSlot = cancelArg.pboolVal;
        } else if (cancelArg.vt == (VT_BYREF | VT_VARIANT) && cancelArg.pvarVal && cancelArg.pvarVal->vt == VT_BOOL) {
            cancelSlot = &cancelArg.pvarVal->boolVal;
        }
        bool cancel = cancelSlot && *cancelSlot != VARIANT_FALSE;
        // However long the tool took, the server's call that fired this is moving again.
        struct Done {
            ~Done() { noteCallActivity(); }
        } done;
        try {
            handler_(ctrl, cancel);
        } catch (const AutomationError& e) {
            return hresultFromError(e, info, "Tessaline");
        } catch (const std::exception& e) {
            return hresultFromError(AutomationError(vberr::AutomationFailure, e.what()), info, "Tessaline");
        } catch (...) {
            return E_UNEXPECTED;
        }
        if (cancelSlot) *cancelSlot = cancel ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }

private:
    friend class com::RefCount;  // the last Release deletes
    ~ClickSinkObject() = default;
    RefCount refs_;
    ClickHandler handler_;
};

}  // namespace

ClickConnections::~ClickConnections() {
    for (auto& [cookie, connection] : connections_) connection.point->Unadvise(connection.cookie);
}

int ClickConnections::connect(IDispatch* button, ClickHandler handler) {
    if (!button) throw objectNotSet();
    const auto container = ComPtr<IDispatch>::share(button).as<IConnectionPointContainer>();
    if (!container) throw errorFromHresult(E_NOINTERFACE, nullptr, "Click", "CommandBarButton");
    ComPtr<IConnectionPoint> point;
    HRESULT hr = container->FindConnectionPoint(DIID_CommandBarButtonEvents, point.put());
    if (FAILED(hr)) throw errorFromHresult(hr, nullptr, "Click", "CommandBarButton");
    const auto sink = ComPtr<IUnknown>::adopt(new ClickSinkObject(std::move(handler)));
    DWORD cookie = 0;
    hr = point->Advise(sink.get(), &cookie);
    if (FAILED(hr)) throw errorFromHresult(hr, nullptr, "Click", "CommandBarButton");
    const int ours = nextCookie_++;
    connections_.emplace(ours, Connection{std::move(point), cookie});
    return ours;
}

void ClickConnections::disconnect(int cookie) {
    const auto it = connections_.find(cookie);
    if (it == connections_.end()) return;
    const Connection connection = it->second;
    connections_.erase(it);
    connection.point->Unadvise(connection.cookie);
}

}  // namespace tessaline::automation::com
