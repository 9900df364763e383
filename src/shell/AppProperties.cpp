#include "shell/AppProperties.h"

#include <filesystem>
#include <system_error>

namespace tessaline::shell {

AppProperties AppProperties::current() {
    AppProperties app;
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && exe.has_parent_path()) {
        app.Path = exe.parent_path().string();
    } else {
        app.Path = std::filesystem::current_path(error).string();
    }
    return app;
}

}  // namespace tessaline::shell
