#include "automation/Variant.h"

#include "automation/AutomationError.h"
#include "automation/VbRuntime.h"

namespace tessaline::automation {

std::string Variant::toString() const { return vb::CStr(*this); }
double Variant::toDouble() const { return vb::CDbl(*this); }
std::int32_t Variant::toLong() const { return vb::CLng(*this); }
bool Variant::toBool() const { return vb::CBool(*this); }

}  // namespace tessaline::automation
