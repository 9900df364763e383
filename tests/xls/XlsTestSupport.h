#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "xls/XlsFile.h"

namespace tessaline::xls::testing {

// A fresh folder per test, removed afterwards.
class TempDir {
public:
    TempDir() {
        // A random name made here, as mkdtemp is POSIX only; create_directory fails on a name already taken.
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const auto candidate = std::filesystem::temp_directory_path() /
                                   ("tessaline-xls-" + std::to_string(random()) + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                path_ = candidate;
            }
        }
        if (path_.empty()) {
            throw std::runtime_error("cannot create a temporary folder");
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline int run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Debian's python3 carries xlwt (package python3-xlwt); a python found first on PATH may not.
inline std::string pythonWithXlwt() {
#ifndef _WIN32  // the interoperability tools are Linux programs
    for (const char* candidate : {"/usr/bin/python3", "python3"}) {
        if (run(std::string(candidate) + " -c 'import xlwt'") == 0) {
            return candidate;
        }
    }
#endif
    return {};
}

inline bool haveLibreOffice() {
#ifdef _WIN32
    return false;
#else
    return run("command -v soffice") == 0;
#endif
}

inline automation::Variant cell(const SheetData& sheet, int row, int column) {
    const auto it = sheet.cells.find({row, column});
    return it == sheet.cells.end() ? automation::Variant() : it->second;
}

}  // namespace tessaline::xls::testing
