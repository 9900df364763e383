#pragma once

#include <ocidl.h>
#include <windows.h>

#include "automation/com/ComPtr.h"
#include "automation/com/RefCount.h"

namespace tessaline::automation::server {

class DispatchObject;
class ObjectServer;

// The connection point of a button's _CommandBarButtonEvents. A connected sink hears Click(Ctrl,
// CancelDefault) for every button of its host with the same Id and Tag, as Office keys its event hooks; the
// connection lives in the host's click hub, so it ends with Unadvise or when the host stops.
class ClickPoint final : public IConnectionPoint {
public:
    ClickPoint(ObjectServer& server, DispatchObject* button);
    ClickPoint(const ClickPoint&) = delete;
    ClickPoint& operator=(const ClickPoint&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

private:
    friend class com::RefCount;  // the last Release deletes
    ~ClickPoint();

    ObjectServer& server_;
    com::ComPtr<IDispatch> buttonDispatch_;
    DispatchObject* button_;
    com::RefCount refs_;
};

// EnumConnectionPoints of a button: its one connection point.
class ConnectionPointList final : public IEnumConnectionPoints {
public:
    explicit ConnectionPointList(com::ComPtr<IConnectionPoint> point, ULONG position = 0)
        : point_(std::move(point)), position_(position) {}
    ConnectionPointList(const ConnectionPointList&) = delete;
    ConnectionPointList& operator=(const ConnectionPointList&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** out) override;

private:
    friend class com::RefCount;  // the last Release deletes
    ~ConnectionPointList() = default;

    com::ComPtr<IConnectionPoint> point_;
    ULONG position_;
    com::RefCount refs_;
};

}  // namespace tessaline::automation::server
