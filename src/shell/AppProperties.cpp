#include "shell/AppProperties.h"

#include <filesystem>
#include <system_error>

#include "automation/FilePath.h"

namespace tessaline::shell {

AppProperties AppProperties::current() {
    AppProperties app;
    const auto exe = automation::executableFile();
    if (exe.has_parent_path()) {
        app.Path = automation::pathText(exe.parent_path());
    } else {
        std::error_code error;
        app.Path = automation::pathText(std::filesystem::current_path(error));
    }
    return app;
}

}  // namespace tessaline::shell
