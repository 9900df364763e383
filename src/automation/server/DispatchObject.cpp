#include "automation/server/DispatchObject.h"

#include <objbase.h>
#include <olectl.h>

#include <algorithm>
#include <new>

#include "automation/AutomationError.h"
#include "automation/com/ComErrors.h"
#include "automation/com/ComPtr.h"
#include "automation/com/Text.h"
#include "automation/server/ClickEvents.h"
#include "automation/server/Enumerator.h"
#include "automation/server/Guids.h"
#include "automation/server/ObjectServer.h"

namespace tessaline::automation::server {

DispatchObject::DispatchObject(ObjectServer& server, ObjectPtr target, const TypeTable& type, HostTag tag, bool counted)
    : server_(server), target_(std::move(target)), type_(type), tag_(std::move(tag)), counted_(counted) {
    if (counted_) server_.objectCreated();
}

DispatchObject::~DispatchObject() {
    server_.forget(this);
    if (counted_) server_.objectDestroyed();
}

const DispatchObject* DispatchObject::fromUnknown(IUnknown* unknown) {
    void* found = nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(IID_ServedObject, &found)) || !found) return nullptr;
    // The private interface is never marshalled, so only an object of this process answers it; the reference
    // it added is dropped at once, as the caller holds the object through its argument.
    auto* served = static_cast<DispatchObject*>(static_cast<IDispatch*>(found));
    served->Release();
    return served;
}

HRESULT DispatchObject::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_ServedObject) {
        *out = static_cast<IDispatch*>(this);
    } else if (iid == IID_IConnectionPointContainer && type_.clickEvents) {
        *out = static_cast<IConnectionPointContainer*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG DispatchObject::AddRef() { return refs_.add(); }

ULONG DispatchObject::Release() { return refs_.release(this); }

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;  // late binding by name only, as scripts use Office
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    try {
        return idsOfNames(names, count, ids);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT DispatchObject::idsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
    HRESULT hr = S_OK;
    const std::wstring name = names[0] ? names[0] : L"";
    const int member = type_.find(name);
    if (member >= 0) {
        ids[0] = member + 1;
    } else if (type_.enumerate && _wcsicmp(name.c_str(), L"_NewEnum") == 0) {
        ids[0] = DISPID_NEWENUM;
    } else {
        ids[0] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    // Parameter names stand for their positions.
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        if (member < 0 || !names[i]) {
            hr = DISP_E_UNKNOWNNAME;
            continue;
        }
        const auto& params = type_.members[static_cast<std::size_t>(member)].params;
        for (std::size_t p = 0; p < params.size(); ++p) {
            if (_wcsicmp(names[i], com::toUtf16(params[p]).c_str()) == 0) ids[i] = static_cast<DISPID>(p);
        }
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* exception, UINT* argError) {
    if (argError) *argError = 0;
    if (!params) return E_INVALIDARG;
    // Keeps this object (and what it serves) alive while a call inside may let go of it.
    com::ComPtr<IDispatch> self = com::ComPtr<IDispatch>::share(this);
    ObjectServer::CallScope scope(server_);
    HRESULT hr = S_OK;
    try {
        hr = dispatch(id, flags, params, result, exception);
    } catch (const AutomationError& e) {
        hr = com::hresultFromError(e, exception, server_.sourceFor(tag_));
    } catch (const ComFailure& f) {
        hr = f.hr();
        if (exception && *f.what() != '\0') {
            *exception = EXCEPINFO{};
            exception->bstrSource = com::Bstr(server_.sourceFor(tag_)).detach();
            exception->bstrDescription = com::Bstr(f.what()).detach();
            exception->scode = f.hr();
            hr = DISP_E_EXCEPTION;
        }
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    } catch (const std::exception& e) {
        if (exception) {
            *exception = EXCEPINFO{};
            exception->bstrSource = com::Bstr(server_.sourceFor(tag_)).detach();
            exception->bstrDescription = com::Bstr(e.what()).detach();
            exception->scode = E_FAIL;
            hr = DISP_E_EXCEPTION;
        } else {
            hr = E_FAIL;
        }
    } catch (...) {
        hr = E_UNEXPECTED;
    }
    if (FAILED(hr) && result) VariantClear(result);
    return hr;
}

HRESULT DispatchObject::dispatch(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception) {
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    const UINT named = params->cNamedArgs;
    const UINT total = params->cArgs;
    if (named > total || (total > 0 && !params->rgvarg) || (named > 0 && !params->rgdispidNamedArgs)) {
        return E_INVALIDARG;
    }

    if (id == DISPID_NEWENUM) {
        if (!type_.enumerate) return DISP_E_MEMBERNOTFOUND;
        if (put || total != 0) return DISP_E_BADPARAMCOUNT;
        IEnumVARIANT* enumerator = new Enumerator(server_, type_.enumerate(*target_), tag_);
        if (result) {
            VariantInit(result);
            result->vt = VT_UNKNOWN;
            result->punkVal = enumerator;
        } else {
            enumerator->Release();
        }
        return S_OK;
    }
    if (id == DISPID_VALUE) {
        if (type_.defaultMember < 0) return DISP_E_MEMBERNOTFOUND;
        id = type_.defaultMember + 1;
    }
    if (id < 1 || static_cast<std::size_t>(id) > type_.members.size()) return DISP_E_MEMBERNOTFOUND;
    const Member& member = type_.members[static_cast<std::size_t>(id - 1)];

    // rgvarg holds the positional arguments last to first, after the named ones.
    const VARIANT* assigned = nullptr;
    UINT firstNamed = 0;
    if (put) {
        if (named < 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTOPTIONAL;
        assigned = &params->rgvarg[0];
        firstNamed = 1;
    }
    const UINT positional = total - named;
    std::vector<const VARIANT*> args(positional, nullptr);
    for (UINT i = 0; i < positional; ++i) args[i] = &params->rgvarg[total - 1 - i];
    for (UINT j = firstNamed; j < named; ++j) {
        const DISPID position = params->rgdispidNamedArgs[j];
        if (position < 0 || static_cast<std::size_t>(position) >= member.params.size()) return DISP_E_PARAMNOTFOUND;
        if (args.size() <= static_cast<std::size_t>(position)) args.resize(static_cast<std::size_t>(position) + 1);
        args[static_cast<std::size_t>(position)] = &params->rgvarg[j];
    }

    if (put && !member.put) {
        // ws.Range("A1") = x: an object property assigned to assigns its default member, as Excel does.
        if (member.method || named != 1) return DISP_E_MEMBERNOTFOUND;
        const std::size_t own = std::min(args.size(), member.params.size());
        const UINT extra = static_cast<UINT>(args.size() - own);
        args.resize(own);
        VARIANT object;
        VariantInit(&object);
        Call call(server_, target_, tag_, std::move(args), nullptr, &object);
        member.get(*target_, call);
        com::ComPtr<IDispatch> next;
        if (object.vt == VT_DISPATCH) next = com::ComPtr<IDispatch>::share(object.pdispVal);
        VariantClear(&object);
        if (!next) return DISP_E_MEMBERNOTFOUND;
        // The assigned value and the arguments past the property's own stay where they were in rgvarg.
        DISPID putId = DISPID_PROPERTYPUT;
        DISPPARAMS rest{params->rgvarg, &putId, 1 + extra, 1};
        return next->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, flags, &rest, nullptr, exception, nullptr);
    }
    if (put) {
        if (args.size() > member.params.size()) return DISP_E_BADPARAMCOUNT;
        Call call(server_, target_, tag_, std::move(args), assigned, nullptr);
        member.put(*target_, call);
        return S_OK;
    }
    if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) return DISP_E_MEMBERNOTFOUND;

    if (args.size() > member.params.size()) {
        if (member.method || named > 0) return DISP_E_BADPARAMCOUNT;
        // x.CommandBars(1): read the property, then hand the rest to the default member of what it gave.
        const std::size_t own = member.params.size();
        args.resize(own);
        VARIANT object;
        VariantInit(&object);
        Call call(server_, target_, tag_, std::move(args), nullptr, &object);
        member.get(*target_, call);
        com::ComPtr<IDispatch> next;
        if (object.vt == VT_DISPATCH) next = com::ComPtr<IDispatch>::share(object.pdispVal);
        VariantClear(&object);
        if (!next) return DISP_E_BADPARAMCOUNT;
        DISPPARAMS rest{params->rgvarg, nullptr, static_cast<UINT>(total - own), 0};
        return next->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, flags, &rest, result, exception, nullptr);
    }

    VARIANT ignored;
    VariantInit(&ignored);
    if (result) VariantInit(result);
    Call call(server_, target_, tag_, std::move(args), nullptr, result ? result : &ignored);
    member.get(*target_, call);
    VariantClear(&ignored);
    return S_OK;
}

HRESULT DispatchObject::EnumConnectionPoints(IEnumConnectionPoints** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
        com::ComPtr<IConnectionPoint> point = com::ComPtr<IConnectionPoint>::adopt(new ClickPoint(server_, this));
        *out = new ConnectionPointList(std::move(point));
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT DispatchObject::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != DIID_CommandBarButtonEvents) return CONNECT_E_NOCONNECTION;
    try {
        *out = new ClickPoint(server_, this);
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace tessaline::automation::server
