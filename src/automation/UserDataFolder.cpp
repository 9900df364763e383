#include "automation/UserDataFolder.h"

#include <cstdlib>

namespace tessaline::automation {

std::filesystem::path userDataFolder() {
#ifdef _WIN32
    // The wide environment: the narrow one is in the ANSI code page and mangles a Chinese user name.
    if (const wchar_t* appData = _wgetenv(L"APPDATA"); appData && *appData) {
        return std::filesystem::path(appData) / L"Tessaline";
    }
    return {};
#else
    // A relative XDG_DATA_HOME is invalid and to be ignored, as the base directory rules say.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        return std::filesystem::path(data) / "Tessaline";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::filesystem::path(home) / ".local" / "share" / "Tessaline";
    }
    return {};
#endif
}

}  // namespace tessaline::automation
