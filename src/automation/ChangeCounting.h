#pragma once

#include <cstdint>
#include <optional>

#include "automation/Office.h"

namespace tessaline::automation {

// Offered beside CommandBars by a host that counts the changes of its bars, found with dynamic_cast: the
// in-memory Office does, Office over automation does not. Whoever keeps a copy of a bar can then skip
// reading the bar again while its count stands still, where otherwise it would read it all to know.
class ChangeCounting {
public:
    virtual ~ChangeCounting() = default;

    // Grows with every change of `bar`: its own properties, its controls and the sub items of its popups.
    // Nothing for a bar that is not one of this collection's.
    virtual std::optional<std::uint64_t> changeCount(CommandBar& bar) const = 0;

protected:
    ChangeCounting() = default;
    ChangeCounting(const ChangeCounting&) = default;
    ChangeCounting& operator=(const ChangeCounting&) = default;
};

}  // namespace tessaline::automation
