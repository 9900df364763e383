#include "automation/com/Dispatch.h"

#include <algorithm>
#include <atomic>

#include "automation/AutomationError.h"
#include "automation/com/CallFilter.h"
#include "automation/com/ComErrors.h"
#include "automation/com/Text.h"

namespace tessaline::automation::com {

namespace {
std::atomic<std::uint64_t> calls{0};
}  // namespace

std::uint64_t Dispatch::callsMade() { return calls.load(); }

Args& Args::add(const Variant& value) {
    positional_.emplace_back(value);
    return *this;
}

Args& Args::add(ComVariant value) {
    positional_.push_back(std::move(value));
    return *this;
}

Args& Args::add(IDispatch* object) {
    ComVariant v;
    VARIANT* slot = v.put();
    slot->vt = VT_DISPATCH;
    slot->pdispVal = object;
    if (object) object->AddRef();
    positional_.push_back(std::move(v));
    return *this;
}

Args& Args::add(const Optional& value) {
    positional_.push_back(value ? ComVariant(*value) : ComVariant::missing());
    return *this;
}

Args& Args::named(std::string_view name, const Optional& value) {
    if (value) {
        names_.emplace_back(name);
        namedValues_.emplace_back(*value);
    }
    return *this;
}

Args& Args::named(std::string_view name, IDispatch* object) {
    if (object) {
        ComVariant v;
        VARIANT* slot = v.put();
        slot->vt = VT_DISPATCH;
        slot->pdispVal = object;
        object->AddRef();
        names_.emplace_back(name);
        namedValues_.push_back(std::move(v));
    }
    return *this;
}

Dispatch::Dispatch(ComPtr<IDispatch> object, ContextPtr context, const char* cacheKey, const Object* owner)
    : object_(std::move(object)), context_(std::move(context)), cacheKey_(cacheKey), owner_(owner) {}

std::string Dispatch::errorTypeName() const {
    try {
        return owner_ ? owner_->TypeName() : std::string(cacheKey_);
    } catch (...) {
        return cacheKey_;
    }
}

AutomationError Dispatch::failure(HRESULT hr, EXCEPINFO* info, std::string_view member) const {
    if (info && info->pfnDeferredFillIn) {
        info->pfnDeferredFillIn(info);
        info->pfnDeferredFillIn = nullptr;
    }
    AutomationError error = errorFromHresult(hr, info, member, errorTypeName());
    if (info) {
        SysFreeString(info->bstrSource);
        SysFreeString(info->bstrDescription);
        SysFreeString(info->bstrHelpFile);
        *info = EXCEPINFO{};
    }
    return error;
}

const std::vector<DISPID>& Dispatch::idsOf(std::string_view member, const std::vector<std::string>& names) const {
    std::string key = context_->hostKey;
    key += '\n';
    key += cacheKey_;
    key += '\n';
    key += member;
    for (const auto& n : names) {
        key += '\n';
        key += n;
    }
    auto& cache = context_->session->ids;
    if (const auto it = cache.find(key); it != cache.end()) return it->second;

    std::vector<std::wstring> wide;
    wide.push_back(toUtf16(member));
    for (const auto& n : names) wide.push_back(toUtf16(n));
    std::vector<LPOLESTR> pointers;
    for (auto& w : wide) pointers.push_back(w.data());
    std::vector<DISPID> ids(pointers.size(), DISPID_UNKNOWN);
    ++calls;
    const HRESULT hr = object_->GetIDsOfNames(IID_NULL, pointers.data(), static_cast<UINT>(pointers.size()),
                                              LOCALE_USER_DEFAULT, ids.data());
    noteCallActivity();
    if (FAILED(hr)) {
        // An unknown member reads as VB reads it; an unknown argument name is a bad call of a known member.
        if (hr == DISP_E_UNKNOWNNAME && ids[0] != DISPID_UNKNOWN) throw failure(E_INVALIDARG, nullptr, member);
        throw failure(hr, nullptr, member);
    }
    return cache.emplace(std::move(key), std::move(ids)).first->second;
}

bool Dispatch::hasMember(std::string_view member) const {
    if (!object_) return false;
    std::wstring name = toUtf16(member);
    LPOLESTR pointer = name.data();
    DISPID id = DISPID_UNKNOWN;
    return SUCCEEDED(object_->GetIDsOfNames(IID_NULL, &pointer, 1, LOCALE_USER_DEFAULT, &id));
}

ComVariant Dispatch::invoke(std::string_view member, WORD flags, const Args& args) const {
    if (!object_) throw objectNotSet();
    const std::vector<DISPID>& ids = idsOf(member, args.names_);
    // Optional arguments left out at the end are not passed at all, as VB leaves them out.
    std::size_t given = args.positional_.size();
    while (given > 0 && args.positional_[given - 1].type() == VT_ERROR &&
           isMissing(*args.positional_[given - 1].get())) {
        --given;
    }

    // rgvarg holds the named arguments first (matching rgdispidNamedArgs), then the positional ones last
    // to first. The VARIANTs are lent, not handed over: the callee does not free [in] arguments.
    std::vector<VARIANT> values;
    std::vector<DISPID> namedIds;
    for (std::size_t i = 0; i < args.namedValues_.size(); ++i) {
        values.push_back(*args.namedValues_[i].get());
        namedIds.push_back(ids[i + 1]);
    }
    for (std::size_t i = given; i > 0; --i) values.push_back(*args.positional_[i - 1].get());

    DISPPARAMS params{};
    params.rgvarg = values.empty() ? nullptr : values.data();
    params.cArgs = static_cast<UINT>(values.size());
    params.rgdispidNamedArgs = namedIds.empty() ? nullptr : namedIds.data();
    params.cNamedArgs = static_cast<UINT>(namedIds.size());

    ComVariant result;
    EXCEPINFO info{};
    UINT argError = 0;
    ++calls;
    const HRESULT hr = object_->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                       (flags & DISPATCH_PROPERTYPUT) ? nullptr : result.put(), &info, &argError);
    noteCallActivity();
    if (FAILED(hr)) throw failure(hr, &info, member);
    return result;
}

ComVariant Dispatch::get(std::string_view member, const Args& args) const {
    return invoke(member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args);
}

ComVariant Dispatch::call(std::string_view member, const Args& args) const {
    return invoke(member, DISPATCH_METHOD, args);
}

void Dispatch::put(std::string_view member, const Variant& value, const Args& args) const {
    if (!object_) throw objectNotSet();
    const std::vector<DISPID>& ids = idsOf(member, {});
    ComVariant v(value);
    std::vector<VARIANT> values;
    values.push_back(*v.get());
    for (auto it = args.positional_.rbegin(); it != args.positional_.rend(); ++it) values.push_back(*it->get());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{values.data(), &putId, static_cast<UINT>(values.size()), 1};
    EXCEPINFO info{};
    UINT argError = 0;
    ++calls;
    const HRESULT hr = object_->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                                       &info, &argError);
    noteCallActivity();
    if (FAILED(hr)) throw failure(hr, &info, member);
}

int Dispatch::getInt(std::string_view member, const Args& args) const { return valueOf(get(member, args)).toLong(); }

bool Dispatch::getBool(std::string_view member, const Args& args) const { return valueOf(get(member, args)).toBool(); }

std::string Dispatch::getString(std::string_view member, const Args& args) const {
    return valueOf(get(member, args)).toString();
}

ComPtr<IDispatch> Dispatch::getObject(std::string_view member, const Args& args) const {
    return objectOf(get(member, args));
}

ComPtr<IDispatch> Dispatch::callObject(std::string_view member, const Args& args) const {
    return objectOf(call(member, args));
}

std::vector<ComPtr<IDispatch>> Dispatch::enumerateObjects() const {
    if (!object_) throw objectNotSet();
    DISPPARAMS none{};
    ComVariant result;
    EXCEPINFO info{};
    ++calls;
    HRESULT hr = object_->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                 &none, result.put(), &info, nullptr);
    noteCallActivity();
    if (FAILED(hr)) throw failure(hr, &info, "_NewEnum");
    ComPtr<IUnknown> unknown;
    if (result.type() == VT_UNKNOWN || result.type() == VT_DISPATCH)
        unknown = ComPtr<IUnknown>::share(result.get()->punkVal);
    const auto items = unknown.as<IEnumVARIANT>();
    if (!items) throw failure(DISP_E_NOTACOLLECTION, nullptr, "_NewEnum");

    std::vector<ComPtr<IDispatch>> out;
    // Fetched in batches: every Next crosses to the server.
    constexpr ULONG batch = 64;
    for (;;) {
        VARIANT slots[batch];
        for (auto& s : slots) VariantInit(&s);
        ULONG fetched = 0;
        ++calls;
        hr = items->Next(batch, slots, &fetched);
        noteCallActivity();
        if (FAILED(hr)) throw failure(hr, nullptr, "_NewEnum");
        for (ULONG i = 0; i < fetched; ++i) {
            ComVariant owned;
            *owned.put() = slots[i];  // takes over the reference
            out.push_back(objectOf(owned));
        }
        if (hr != S_OK || fetched < batch) break;
    }
    return out;
}

ComPtr<IDispatch> objectOf(const ComVariant& value) {
    const VARIANT& v = *value.get();
    switch (v.vt) {
        case VT_EMPTY:
        case VT_NULL:
            return {};
        case VT_DISPATCH:
            return ComPtr<IDispatch>::share(v.pdispVal);
        case VT_UNKNOWN:
            return v.punkVal ? ComPtr<IUnknown>::share(v.punkVal).as<IDispatch>() : ComPtr<IDispatch>{};
        case VT_BYREF | VT_DISPATCH:
            return ComPtr<IDispatch>::share(v.ppdispVal ? *v.ppdispVal : nullptr);
        case VT_BYREF | VT_VARIANT:
            if (v.pvarVal) {
                ComVariant copy;
                VariantCopy(copy.put(), v.pvarVal);
                return objectOf(copy);
            }
            return {};
        default:
            throw typeMismatch();
    }
}

Variant valueOf(const ComVariant& value) {
    const VARIANT& v = *value.get();
    if (!(v.vt & VT_ARRAY)) return fromComVariant(v);
    SAFEARRAY* array = (v.vt & VT_BYREF) ? (v.pparray ? *v.pparray : nullptr) : v.parray;
    if (!array || array->cDims == 0) return {};
    // The first element: an Excel range's Value comes back as a 2-D array for several cells.
    std::vector<LONG> index(array->cDims);
    for (UINT d = 0; d < array->cDims; ++d) {
        LONG lower = 0;
        LONG upper = -1;
        SafeArrayGetLBound(array, d + 1, &lower);
        SafeArrayGetUBound(array, d + 1, &upper);
        if (upper < lower) return {};
        index[array->cDims - 1 - d] = lower;  // rgIndices runs from the rightmost dimension
    }
    const VARTYPE element = v.vt & VT_TYPEMASK;
    if (element != VT_VARIANT) throw typeMismatch();
    ComVariant first;
    if (FAILED(SafeArrayGetElement(array, index.data(), first.put()))) throw typeMismatch();
    return fromComVariant(*first.get());
}

}  // namespace tessaline::automation::com
