#pragma once

#include <objbase.h>
#include <ocidl.h>
#include <oleauto.h>
#include <windows.h>

#include "automation/Object.h"
#include "automation/com/RefCount.h"
#include "automation/server/Dispatch.h"

namespace tessaline::automation::server {

// One served object: an IDispatch over an object of the in-memory Office, answering from its type's table.
// Buttons also offer their Click event through IConnectionPointContainer. No C++ exception leaves a method:
// automation errors become the HRESULT and EXCEPINFO Office would return.
class DispatchObject final : public IDispatch, public IConnectionPointContainer {
public:
    // `counted`: whether it is one of the objects LiveObjects reports (the control channel is not).
    DispatchObject(ObjectServer& server, ObjectPtr target, const TypeTable& type, HostTag tag, bool counted);
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    // The served object behind an interface pointer of this process, or null for anything else (a proxy,
    // another server's object).
    static const DispatchObject* fromUnknown(IUnknown* unknown);

    const ObjectPtr& target() const { return target_; }
    const HostTag& tag() const { return tag_; }
    const TypeTable& type() const { return type_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

private:
    friend class com::RefCount;  // the last Release deletes
    ~DispatchObject();
    HRESULT dispatch(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception);
    HRESULT idsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;

    ObjectServer& server_;
    ObjectPtr target_;
    const TypeTable& type_;
    HostTag tag_;
    bool counted_;
    com::RefCount refs_;
};

}  // namespace tessaline::automation::server
