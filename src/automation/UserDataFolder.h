#pragma once

#include <filesystem>

namespace tessaline::automation {

// The folder where Tessaline keeps what a user made between runs: %APPDATA%\Tessaline on Windows,
// $XDG_DATA_HOME/Tessaline or ~/.local/share/Tessaline elsewhere. Empty when the environment names no home.
// The folder itself is not created here.
std::filesystem::path userDataFolder();

}  // namespace tessaline::automation
