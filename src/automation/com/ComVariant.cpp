#include "automation/com/ComVariant.h"

#include <cmath>
#include <limits>
#include <utility>

#include "automation/AutomationError.h"
#include "automation/com/Text.h"

namespace tessaline::automation::com {

ComVariant::ComVariant(const Variant& value) {
    VariantInit(&v_);
    toComVariant(value, &v_);
}

ComVariant::ComVariant(ComVariant&& other) noexcept {
    v_ = other.v_;
    VariantInit(&other.v_);
}

ComVariant& ComVariant::operator=(ComVariant&& other) noexcept {
    if (this != &other) {
        VariantClear(&v_);
        v_ = other.v_;
        VariantInit(&other.v_);
    }
    return *this;
}

ComVariant ComVariant::missing() {
    ComVariant result;
    result.v_.vt = VT_ERROR;
    result.v_.scode = DISP_E_PARAMNOTFOUND;
    return result;
}

VARIANT* ComVariant::put() {
    VariantClear(&v_);
    return &v_;
}

namespace {

Variant fromInteger(long long value) {
    if (value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max()) {
        return Variant(static_cast<int>(value));
    }
    return Variant(static_cast<double>(value));
}

}  // namespace

Variant fromComVariant(const VARIANT& v) {
    const VARTYPE type = v.vt;
    if (type & VT_ARRAY) throw typeMismatch();
    if (type == (VT_BYREF | VT_VARIANT)) {
        if (!v.pvarVal) return {};
        return fromComVariant(*v.pvarVal);
    }
    const bool byRef = (type & VT_BYREF) != 0;
    switch (type & VT_TYPEMASK) {
    case VT_EMPTY:
    case VT_NULL:
        return {};
    case VT_ERROR:
        // A left-out argument; Excel's cell errors never reach the tool's reads.
        return {};
    case VT_BOOL:
        return Variant((byRef ? *v.pboolVal : v.boolVal) != VARIANT_FALSE);
    case VT_I1:
        return Variant(static_cast<int>(byRef ? *v.pcVal : v.cVal));
    case VT_UI1:
        return Variant(static_cast<int>(byRef ? *v.pbVal : v.bVal));
    case VT_I2:
        return Variant(static_cast<int>(byRef ? *v.piVal : v.iVal));
    case VT_UI2:
        return Variant(static_cast<int>(byRef ? *v.puiVal : v.uiVal));
    case VT_I4:
        return Variant(static_cast<int>(byRef ? *v.plVal : v.lVal));
    case VT_INT:
        return Variant(static_cast<int>(byRef ? *v.pintVal : v.intVal));
    case VT_UI4:
        return fromInteger(byRef ? *v.pulVal : v.ulVal);
    case VT_UINT:
        return fromInteger(byRef ? *v.puintVal : v.uintVal);
    case VT_I8:
        return fromInteger(byRef ? *v.pllVal : v.llVal);
    case VT_UI8:
        return Variant(static_cast<double>(byRef ? *v.pullVal : v.ullVal));
    case VT_R4:
        return Variant(static_cast<double>(byRef ? *v.pfltVal : v.fltVal));
    case VT_R8:
        return Variant(byRef ? *v.pdblVal : v.dblVal);
    case VT_DATE:
        return Variant(byRef ? *v.pdate : v.date);
    case VT_CY: {
        const CY cy = byRef ? *v.pcyVal : v.cyVal;
        return Variant(static_cast<double>(cy.int64) / 10000.0);
    }
    case VT_BSTR:
        return Variant(toUtf8(byRef ? *v.pbstrVal : v.bstrVal));
    default:
        throw typeMismatch();
    }
}

void toComVariant(const Variant& value, VARIANT* out) {
    VariantInit(out);
    switch (value.kind()) {
    case Variant::Kind::Empty:
        out->vt = VT_EMPTY;
        break;
    case Variant::Kind::Boolean:
        out->vt = VT_BOOL;
        out->boolVal = value.asBoolRaw() ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case Variant::Kind::Long:
        out->vt = VT_I4;
        out->lVal = value.asLongRaw();
        break;
    case Variant::Kind::Double:
        out->vt = VT_R8;
        out->dblVal = value.asDoubleRaw();
        break;
    case Variant::Kind::String:
        out->vt = VT_BSTR;
        out->bstrVal = Bstr(value.asStringRaw()).detach();
        break;
    }
}

bool isMissing(const VARIANT& v) {
    if (v.vt == VT_EMPTY) return true;
    if (v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND) return true;
    if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) return isMissing(*v.pvarVal);
    return false;
}

}  // namespace tessaline::automation::com
