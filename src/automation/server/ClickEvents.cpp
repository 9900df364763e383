#include "automation/server/ClickEvents.h"

#include <objbase.h>
#include <olectl.h>

#include <new>
#include <stdexcept>

#include "automation/AutomationError.h"
#include "automation/Office.h"
#include "automation/com/Text.h"
#include "automation/server/DispatchObject.h"
#include "automation/server/Guids.h"
#include "automation/server/ObjectServer.h"

namespace tessaline::automation::server {

namespace {

// What the host does for one connected sink on a click: Click(Ctrl, CancelDefault) through the sink's
// IDispatch, CancelDefault by reference so the sink can set it.
void deliverClick(ObjectServer& server, const HostTag& tag, IDispatch* sink, const ButtonPtr& ctrl,
                  bool& cancelDefault) {
    com::ComPtr<IDispatch> control = server.wrap(ctrl, tag);
    VARIANT_BOOL cancel = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[0].vt = VT_BYREF | VT_BOOL;  // CancelDefault, the last argument, comes first
    args[0].pboolVal = &cancel;
    args[1].vt = VT_DISPATCH;
    args[1].pdispVal = control.get();
    DISPPARAMS params{args, nullptr, 2, 0};
    EXCEPINFO exception{};
    const HRESULT hr =
        sink->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &exception, nullptr);
    const std::string description = com::toUtf8(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (FAILED(hr)) {
        char code[16];
        snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
        throw std::runtime_error(description.empty() ? std::string("Click sink failed with ") + code : description);
    }
    cancelDefault = cancel != VARIANT_FALSE;
}

}  // namespace

ClickPoint::ClickPoint(ObjectServer& server, DispatchObject* button)
    : server_(server), buttonDispatch_(com::ComPtr<IDispatch>::share(button)), button_(button) {
    server_.objectCreated();
    server_.attach(this, button->tag());
}

ClickPoint::~ClickPoint() {
    server_.detach(this);
    server_.objectDestroyed();
}

HRESULT ClickPoint::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

ULONG ClickPoint::AddRef() { return refs_.add(); }

ULONG ClickPoint::Release() { return refs_.release(this); }

HRESULT ClickPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = DIID_CommandBarButtonEvents;
    return S_OK;
}

HRESULT ClickPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) return E_POINTER;
    return button_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(out));
}

HRESULT ClickPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (cookie) *cookie = 0;
    if (!sink || !cookie) return E_POINTER;
    // A sink written for the event interface answers it; a script's generic sink only IDispatch.
    com::ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(DIID_CommandBarButtonEvents, dispatch.putVoid())) || !dispatch) {
        if (FAILED(sink->QueryInterface(IID_IDispatch, dispatch.putVoid())) || !dispatch)
            return CONNECT_E_CANNOTCONNECT;
    }
    try {
        ObjectServer::CallScope scope(server_);
        const auto control = std::dynamic_pointer_cast<CommandBarControl>(button_->target());
        if (!control) return CONNECT_E_CANNOTCONNECT;
        ObjectServer* server = &server_;
        HostTag tag = button_->tag();
        const int id =
            control->AsButton()->ConnectClick([server, tag, dispatch](const ButtonPtr& ctrl, bool& cancelDefault) {
                deliverClick(*server, tag, dispatch.get(), ctrl, cancelDefault);
            });
        server_.clickConnected(tag, id);
        *cookie = static_cast<DWORD>(id);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return CONNECT_E_CANNOTCONNECT;  // a deleted control, or one that is no button
    }
}

HRESULT ClickPoint::Unadvise(DWORD cookie) {
    try {
        ObjectServer::CallScope scope(server_);
        if (!server_.clickDisconnected(button_->tag(), static_cast<int>(cookie))) return CONNECT_E_NOCONNECTION;
        const auto control = std::dynamic_pointer_cast<CommandBarButton>(button_->target());
        if (!control) return CONNECT_E_NOCONNECTION;
        control->DisconnectClick(static_cast<int>(cookie));
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT ClickPoint::EnumConnections(IEnumConnections** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;  // optional for a connection point; nothing in Office's clients asks for it
}

HRESULT ConnectionPointList::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IEnumConnectionPoints) return E_NOINTERFACE;
    *out = static_cast<IEnumConnectionPoints*>(this);
    AddRef();
    return S_OK;
}

ULONG ConnectionPointList::AddRef() { return refs_.add(); }

ULONG ConnectionPointList::Release() { return refs_.release(this); }

HRESULT ConnectionPointList::Next(ULONG count, IConnectionPoint** points, ULONG* fetched) {
    if (fetched) *fetched = 0;
    if (!points) return E_POINTER;
    ULONG done = 0;
    if (count > 0 && position_ == 0) {
        points[0] = com::ComPtr<IConnectionPoint>(point_).detach();
        position_ = 1;
        done = 1;
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

HRESULT ConnectionPointList::Skip(ULONG count) {
    if (count == 0) return S_OK;
    const bool enough = position_ == 0 && count == 1;
    position_ = 1;
    return enough ? S_OK : S_FALSE;
}

HRESULT ConnectionPointList::Reset() {
    position_ = 0;
    return S_OK;
}

HRESULT ConnectionPointList::Clone(IEnumConnectionPoints** out) {
    if (!out) return E_POINTER;
    try {
        *out = new ConnectionPointList(point_, position_);
        return S_OK;
    } catch (const std::bad_alloc&) {
        *out = nullptr;
        return E_OUTOFMEMORY;
    }
}

}  // namespace tessaline::automation::server
