#pragma once

#include <string>
#include <string_view>

namespace tessaline::shell {

// The application's own properties, as VB's App object gives them.
inline constexpr std::string_view kProductName = "Tessaline";

struct AppProperties {
    std::string ProductName{kProductName};
    // The title of message boxes the program shows without one of their own (the error report box).
    std::string Title{kProductName};
    // The folder the program runs from; the workbooks and the presentation it opens lie there.
    std::string Path;

    // Path starts as the folder of the running executable.
    static AppProperties current();
};

}  // namespace tessaline::shell
