#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace tessaline::automation::com {

// Holds one reference to a COM interface and releases it exactly once. Adopting takes over a reference
// the caller already owns (an out parameter filled by COM); copying adds one.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}  // NOLINT(google-explicit-constructor)
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { reset(); }
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }

    // Takes over a reference the caller owns.
    static ComPtr adopt(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }
    // Adds a reference of its own.
    static ComPtr share(T* p) {
        if (p) p->AddRef();
        return adopt(p);
    }

    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // Gives the reference up to the caller (to hand out through an out parameter).
    T* detach() { return std::exchange(p_, nullptr); }
    // For out parameters: releases what is held and exposes the slot.
    T** put() {
        reset();
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // QueryInterface for another interface; null when the object does not have it.
    template <class U>
    ComPtr<U> as() const {
        ComPtr<U> result;
        if (p_) p_->QueryInterface(__uuidof(U), result.putVoid());
        return result;
    }

private:
    T* p_ = nullptr;
};

}  // namespace tessaline::automation::com
