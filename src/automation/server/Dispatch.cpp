#include "automation/server/Dispatch.h"

#include <cwctype>

#include "automation/AutomationError.h"
#include "automation/com/ComVariant.h"
#include "automation/server/DispatchObject.h"
#include "automation/server/ObjectServer.h"

namespace tessaline::automation::server {

namespace {

bool sameWide(const std::wstring& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

}  // namespace

int TypeTable::find(const std::wstring& name) const {
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (sameWide(name, members[i].name)) return static_cast<int>(i);
    }
    return -1;
}

Call::Call(ObjectServer& server, const ObjectPtr& self, const HostTag& tag, std::vector<const VARIANT*> args,
           const VARIANT* putValue, VARIANT* result)
    : server_(server), self_(self), tag_(tag), args_(std::move(args)), putValue_(putValue), result_(result) {}

bool Call::has(std::size_t i) const {
    if (i >= args_.size() || !args_[i]) return false;
    const VARIANT& v = *args_[i];
    if (v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND) return false;
    if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) {
        return !(v.pvarVal->vt == VT_ERROR && v.pvarVal->scode == DISP_E_PARAMNOTFOUND);
    }
    return true;
}

Variant Call::value(std::size_t i) const {
    if (!has(i)) throw ComFailure(DISP_E_PARAMNOTOPTIONAL);
    return com::fromComVariant(*args_[i]);
}

Optional Call::optional(std::size_t i) const {
    if (!has(i)) return std::nullopt;
    return com::fromComVariant(*args_[i]);
}

ObjectPtr Call::object(std::size_t i) const {
    if (!has(i)) return nullptr;
    const VARIANT* v = args_[i];
    if (v->vt == (VT_BYREF | VT_VARIANT)) v = v->pvarVal;
    IUnknown* unknown = nullptr;
    switch (v->vt) {
        case VT_DISPATCH:
        case VT_UNKNOWN:
            unknown = v->punkVal;
            break;
        case VT_DISPATCH | VT_BYREF:
        case VT_UNKNOWN | VT_BYREF:
            unknown = v->ppunkVal ? *v->ppunkVal : nullptr;
            break;
        case VT_EMPTY:
            return nullptr;
        default:
            throw ComFailure(DISP_E_TYPEMISMATCH);
    }
    if (!unknown) return nullptr;
    const DispatchObject* served = DispatchObject::fromUnknown(unknown);
    if (!served) throw ComFailure(DISP_E_TYPEMISMATCH);  // an object of some other server
    return served->target();
}

const VARIANT& Call::assigned() const {
    if (!putValue_) throw ComFailure(DISP_E_PARAMNOTOPTIONAL);
    return *putValue_;
}

Variant Call::assignedValue() const { return com::fromComVariant(assigned()); }

void Call::result(const Variant& value) {
    if (result_) com::toComVariant(value, result_);
}

void Call::result(const ObjectPtr& object) {
    if (!result_) return;
    VariantInit(result_);
    result_->vt = VT_DISPATCH;
    result_->pdispVal = object ? server_.wrap(object, tag_).detach() : nullptr;
}

void Call::resultRaw(VARIANT& value) {
    if (result_) {
        *result_ = value;
        VariantInit(&value);
    } else {
        VariantClear(&value);
    }
}

}  // namespace tessaline::automation::server
