#include "shell/AppProperties.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "automation/FilePath.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tessaline::shell {

namespace {

// The running program's own file; empty when the system does not say.
std::filesystem::path executableFile() {
#ifdef _WIN32
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer);
        }
        if (buffer.size() >= 32768) return {};  // the longest path Windows has
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : exe;
#endif
}

}  // namespace

AppProperties AppProperties::current() {
    AppProperties app;
    const auto exe = executableFile();
    if (exe.has_parent_path()) {
        app.Path = automation::pathText(exe.parent_path());
    } else {
        std::error_code error;
        app.Path = automation::pathText(std::filesystem::current_path(error));
    }
    return app;
}

}  // namespace tessaline::shell
