#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tessaline::automation {

// Paths travel through the program as UTF-8 text. On Windows std::filesystem and the narrow file streams read
// a narrow string in the ANSI code page, which mangles any Chinese folder name, so text becomes a path and a
// path becomes text only through these two.
std::filesystem::path filePath(std::string_view utf8);
std::string pathText(const std::filesystem::path& path);

// The running program's own file; empty when the system does not say.
std::filesystem::path executableFile();

}  // namespace tessaline::automation
