#pragma once

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "automation/Object.h"

// The tables the generic IDispatch server answers from: per served type a list of members with Office's
// names and parameter names, each with a handler that reads the call's VARIANT arguments.
namespace tessaline::automation::server {

class ObjectServer;

// A failure Office reports as a bare HRESULT (DISP_E_PARAMNOTOPTIONAL, DISP_E_TYPEMISMATCH, ...). The
// optional text goes out in EXCEPINFO for the failures a person has to read (the control channel's).
class ComFailure : public std::runtime_error {
public:
    explicit ComFailure(HRESULT hr, const std::string& text = {}) : std::runtime_error(text), hr_(hr) {}
    HRESULT hr() const { return hr_; }

private:
    HRESULT hr_;
};

// Which running host an object belongs to: its key ("Excel", ...) and the run of that host it came from, so
// that the objects of a host that stopped can be cut off while those of its next run are not.
struct HostTag {
    std::string key;
    int generation = 0;
};

// One Invoke as a handler sees it: the arguments by parameter position (named ones already put in place),
// and the result slot.
class Call {
public:
    Call(ObjectServer& server, const ObjectPtr& self, const HostTag& tag, std::vector<const VARIANT*> args,
         const VARIANT* putValue, VARIANT* result);

    // Arguments passed, counting up to the last one present.
    std::size_t count() const { return args_.size(); }
    // Whether argument `i` is present (an argument left out, VT_ERROR DISP_E_PARAMNOTFOUND, is not).
    bool has(std::size_t i) const;
    const VARIANT* raw(std::size_t i) const { return has(i) ? args_[i] : nullptr; }

    // Plain values; a required argument left out fails with DISP_E_PARAMNOTOPTIONAL, a value of the wrong
    // kind with "Type mismatch".
    Variant value(std::size_t i) const;
    Optional optional(std::size_t i) const;
    int longValue(std::size_t i) const { return value(i).toLong(); }
    bool boolValue(std::size_t i) const { return value(i).toBool(); }
    std::string text(std::size_t i) const { return value(i).toString(); }
    // An object argument: one of this server's objects, or nullptr for Nothing or an argument left out.
    // Anything else fails with DISP_E_TYPEMISMATCH.
    ObjectPtr object(std::size_t i) const;
    template <class T>
    std::shared_ptr<T> objectAs(std::size_t i) const {
        const ObjectPtr o = object(i);
        if (!o) return nullptr;
        auto typed = std::dynamic_pointer_cast<T>(o);
        if (!typed) throw ComFailure(DISP_E_TYPEMISMATCH);
        return typed;
    }

    // The value assigned by a property put.
    const VARIANT& assigned() const;
    Variant assignedValue() const;
    bool isPut() const { return putValue_ != nullptr; }

    void result(const Variant& value);
    // Wraps a result object of the same host; nullptr gives Nothing.
    void result(const ObjectPtr& object);
    // Takes over a VARIANT built by the handler (an array, say).
    void resultRaw(VARIANT& value);

    ObjectServer& server() const { return server_; }
    // The object called, for a handler that hands it on as itself (Range.Cells without arguments).
    template <class T>
    std::shared_ptr<T> self() const {
        return std::dynamic_pointer_cast<T>(self_);
    }
    const HostTag& tag() const { return tag_; }

private:
    ObjectServer& server_;
    const ObjectPtr& self_;
    const HostTag& tag_;
    std::vector<const VARIANT*> args_;
    const VARIANT* putValue_;
    VARIANT* result_;
};

using Handler = std::function<void(Object& self, Call& call)>;

struct Member {
    std::string name;
    std::vector<std::string> params;
    Handler get;  // property get or method
    Handler put;  // property put; empty for what cannot be assigned
    // A property read with more arguments than it takes hands the rest to its result's default member
    // (x.CommandBars(1) is x.CommandBars.Item(1)); a method refuses them.
    bool method = false;
};

// A For Each source: the items as they were when the enumeration began, made into objects one at a time.
class EnumSource {
public:
    virtual ~EnumSource() = default;
    virtual std::size_t size() const = 0;
    virtual ObjectPtr at(std::size_t index) const = 0;
};

struct TypeTable {
    std::string name;
    std::vector<Member> members;                                    // DISPID = position + 1
    int defaultMember = -1;                                         // what DISPID_VALUE stands for; -1 when none
    std::function<std::unique_ptr<EnumSource>(Object&)> enumerate;  // DISPID_NEWENUM; empty when none
    bool clickEvents = false;  // offers the connection point of _CommandBarButtonEvents

    // -1 when absent; names ignore case.
    int find(const std::wstring& name) const;
};

// A For Each source over a ready list.
template <class T>
class ListSource final : public EnumSource {
public:
    explicit ListSource(std::vector<std::shared_ptr<T>> items) : items_(std::move(items)) {}
    std::size_t size() const override { return items_.size(); }
    ObjectPtr at(std::size_t index) const override { return items_.at(index); }

private:
    std::vector<std::shared_ptr<T>> items_;
};

// Builds the table of one type with handlers that receive the object as its C++ interface.
template <class T>
class TypeBuilder {
public:
    explicit TypeBuilder(std::string name) { table_.name = std::move(name); }

    using Typed = std::function<void(T&, Call&)>;

    TypeBuilder& get(std::string name, std::vector<std::string> params, Typed fn) {
        table_.members.push_back({std::move(name), std::move(params), wrap(std::move(fn)), {}});
        return *this;
    }
    TypeBuilder& get(std::string name, Typed fn) { return get(std::move(name), {}, std::move(fn)); }
    TypeBuilder& method(std::string name, std::vector<std::string> params, Typed fn) {
        table_.members.push_back({std::move(name), std::move(params), wrap(std::move(fn)), {}, true});
        return *this;
    }
    TypeBuilder& method(std::string name, Typed fn) { return method(std::move(name), {}, std::move(fn)); }
    TypeBuilder& prop(std::string name, Typed getter, Typed setter) {
        return prop(std::move(name), {}, std::move(getter), std::move(setter));
    }
    TypeBuilder& prop(std::string name, std::vector<std::string> params, Typed getter, Typed setter) {
        table_.members.push_back(
            {std::move(name), std::move(params), wrap(std::move(getter)), wrap(std::move(setter))});
        return *this;
    }
    TypeBuilder& defaultIs(const std::string& name) {
        table_.defaultMember = table_.find(std::wstring(name.begin(), name.end()));
        return *this;
    }
    template <class Item>
    TypeBuilder& enumerate(std::function<std::vector<std::shared_ptr<Item>>(T&)> fn) {
        table_.enumerate = [fn](Object& o) -> std::unique_ptr<EnumSource> {
            return std::make_unique<ListSource<Item>>(fn(dynamic_cast<T&>(o)));
        };
        return *this;
    }
    TypeBuilder& enumerateWith(std::function<std::unique_ptr<EnumSource>(T&)> fn) {
        table_.enumerate = [fn](Object& o) { return fn(dynamic_cast<T&>(o)); };
        return *this;
    }
    TypeBuilder& clickEvents() {
        table_.clickEvents = true;
        return *this;
    }
    TypeTable build() { return std::move(table_); }

private:
    static Handler wrap(Typed fn) {
        return [fn = std::move(fn)](Object& o, Call& c) { fn(dynamic_cast<T&>(o), c); };
    }
    TypeTable table_;
};

}  // namespace tessaline::automation::server
