#pragma once

#include <oaidl.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/Object.h"
#include "automation/com/ComPtr.h"
#include "automation/com/ComVariant.h"

namespace tessaline::automation::com {

class ClickConnections;

// What every wrapper of one desktop shares: the DISPIDs learned so far and the Click connections. The
// DISPIDs of one type are the same for every object of it, so each (host, type, member) costs one
// GetIDsOfNames.
struct ComSession {
    std::unordered_map<std::string, std::vector<DISPID>> ids;
    std::shared_ptr<ClickConnections> clicks;
};

// The host a wrapper was reached from, so that a bar's Parent comes back as the right class: "Excel",
// "Word", "PowerPoint", "Access", "Outlook" (its explorer's bars) or "VBE".
struct ComContext {
    std::string hostKey;
    std::shared_ptr<ComSession> session;

    std::shared_ptr<ComContext> sibling(const std::string& key) const {
        return std::make_shared<ComContext>(ComContext{key, session});
    }
};
using ContextPtr = std::shared_ptr<ComContext>;

// The arguments of one call: positional ones in order (an omitted optional one travels as a missing
// VT_ERROR, as automation callers pass it) and named ones, passed only when given.
class Args {
public:
    Args() = default;
    Args(Args&&) = default;
    Args& operator=(Args&&) = default;

    Args& add(const Variant& value);
    Args& add(ComVariant value);
    Args& add(IDispatch* object);                               // shares a reference; null passes Nothing
    Args& add(const Optional& value);                           // nullopt travels as missing
    Args& named(std::string_view name, const Optional& value);  // skipped when nullopt
    Args& named(std::string_view name, IDispatch* object);      // skipped when null

    bool hasNamed() const { return !names_.empty(); }

private:
    friend class Dispatch;
    std::vector<ComVariant> positional_;
    std::vector<std::string> names_;
    std::vector<ComVariant> namedValues_;
};

// One reference to an automation object, with late-bound calls by member name. Failures raise the
// AutomationError VB would report, naming the member and the owner's type.
class Dispatch {
public:
    Dispatch() = default;
    // `cacheKey` names the type whose DISPIDs are shared; `owner` (the wrapper holding this) names the
    // object in error texts, asked only when a call fails.
    Dispatch(ComPtr<IDispatch> object, ContextPtr context, const char* cacheKey, const Object* owner);

    IDispatch* get() const { return object_.get(); }
    const ComPtr<IDispatch>& ptr() const { return object_; }
    const ContextPtr& context() const { return context_; }
    explicit operator bool() const { return static_cast<bool>(object_); }

    // Property get (or a method call: flags get|method, as VB's late binding does).
    ComVariant get(std::string_view member, const Args& args = Args()) const;
    // A method call.
    ComVariant call(std::string_view member, const Args& args = Args()) const;
    // Property put with DISPID_PROPERTYPUT; `args` are index arguments before the value.
    void put(std::string_view member, const Variant& value, const Args& args = Args()) const;

    int getInt(std::string_view member, const Args& args = Args()) const;
    bool getBool(std::string_view member, const Args& args = Args()) const;
    std::string getString(std::string_view member, const Args& args = Args()) const;
    // An object member; null for Nothing.
    ComPtr<IDispatch> getObject(std::string_view member, const Args& args = Args()) const;
    ComPtr<IDispatch> callObject(std::string_view member, const Args& args = Args()) const;

    // For Each through DISPID_NEWENUM and IEnumVARIANT.
    std::vector<ComPtr<IDispatch>> enumerateObjects() const;

    // True when the object knows the member (a GetIDsOfNames that succeeds; cached like the others).
    bool hasMember(std::string_view member) const;

    // How many calls crossed to a server in this process so far (Invoke, GetIDsOfNames and enumerator
    // batches): what an operation costs across processes.
    static std::uint64_t callsMade();

    // The error a failed call of `member` raises.
    AutomationError failure(HRESULT hr, EXCEPINFO* info, std::string_view member) const;

private:
    ComVariant invoke(std::string_view member, WORD flags, const Args& args) const;
    const std::vector<DISPID>& idsOf(std::string_view member, const std::vector<std::string>& names) const;
    std::string errorTypeName() const;

    ComPtr<IDispatch> object_;
    ContextPtr context_;
    const char* cacheKey_ = "";
    const Object* owner_ = nullptr;
};

// Conversions of a call's result.
ComPtr<IDispatch> objectOf(const ComVariant& value);  // null for Nothing/Empty; "Type mismatch" otherwise
Variant valueOf(const ComVariant& value);             // an array gives its first element

}  // namespace tessaline::automation::com
