#pragma once

#include <windows.h>
#include <oleauto.h>

#include "automation/Variant.h"

namespace tessaline::automation::com {

// An owned VARIANT, cleared exactly once (releasing the object or freeing the BSTR it holds).
class ComVariant {
public:
    ComVariant() { VariantInit(&v_); }
    explicit ComVariant(const Variant& value);
    ComVariant(const ComVariant&) = delete;
    ComVariant& operator=(const ComVariant&) = delete;
    ComVariant(ComVariant&& other) noexcept;
    ComVariant& operator=(ComVariant&& other) noexcept;
    ~ComVariant() { VariantClear(&v_); }

    // An optional argument left out, as automation callers pass it.
    static ComVariant missing();

    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    // Clears what is held and exposes the slot for an out parameter.
    VARIANT* put();
    VARTYPE type() const { return v_.vt; }

private:
    VARIANT v_;
};

// A plain automation value (no object) from a VARIANT: by-reference values are followed, VT_NULL and a
// missing argument read as Empty, integers of any width as Long (Double past Long's range), dates and
// currency as Double. An object or an array raises "Type mismatch".
Variant fromComVariant(const VARIANT& v);
// The VARIANT for a plain value: Boolean as VARIANT_BOOL (-1/0), Long as VT_I4, text as a BSTR.
void toComVariant(const Variant& value, VARIANT* out);
// True for an optional argument the caller left out (VT_ERROR with DISP_E_PARAMNOTFOUND) or a VT_EMPTY.
bool isMissing(const VARIANT& v);

}  // namespace tessaline::automation::com
