#pragma once

#include <memory>
#include <optional>
#include <string>

#include "automation/Variant.h"

namespace tessaline::automation {

// Every automation object. Held through std::shared_ptr, as several variables may refer to the same
// object the way COM references do; Nothing is a null pointer.
class Object {
public:
    virtual ~Object() = default;
    // The object's type name as VB's TypeName reports it ("CommandBar", "Application", "Range", ...).
    virtual std::string TypeName() const = 0;
};

using ObjectPtr = std::shared_ptr<Object>;
// An optional argument: std::nullopt means the argument is not passed at all.
using Optional = std::optional<Variant>;

}  // namespace tessaline::automation
