#pragma once

#include <stdexcept>
#include <string>

namespace tessaline::automation::sim {

// The in-memory Office could not start from its content: the message names the file and the place in it
// (a JSON line and column, or a path such as commandBars[3].controls[2].type).
class ContentError : public std::runtime_error {
public:
    explicit ContentError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tessaline::automation::sim
