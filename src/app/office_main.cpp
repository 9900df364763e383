// tessaline-office.exe: the in-memory Office served over COM, for clients that attach to Office the way they
// would on a real machine (GetActiveObject, GetObject on a workbook file, VBScript).
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "automation/com/Text.h"
#include "automation/server/OfficeServer.h"
#include "automation/sim/SimOffice.h"

namespace {

using tessaline::automation::com::toUtf8;

std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The shipped content: the project's data/office (or TESSALINE_OFFICE_CONTENT), else an "office" folder beside
// the program, where an installed copy keeps it.
std::string defaultContent(const std::wstring& module) {
    namespace fs = std::filesystem;
    const std::string shipped = tessaline::automation::sim::SimOffice::defaultFolder();
    std::error_code error;
    if (fs::is_directory(shipped, error)) return shipped;
    const fs::path beside = fs::path(module).parent_path() / L"office";
    if (fs::is_directory(beside, error)) return toUtf8(beside.wstring());
    return shipped;
}

int usage() {
    std::fprintf(stderr,
                 "usage: tessaline-office [--content FOLDER] [--shipped-content]\n"
                 "Without --content the hosts' bars are kept between runs in %%APPDATA%%\\Tessaline; a content\n"
                 "folder named on purpose (--content, TESSALINE_OFFICE_CONTENT) and --shipped-content start from\n"
                 "the content and keep nothing.\n");
    return 2;
}

// A content folder named on purpose is for a test or a script: what a user kept must not reach it.
bool contentNamed(const std::string& content) {
    const wchar_t* env = _wgetenv(L"TESSALINE_OFFICE_CONTENT");
    return !content.empty() || (env != nullptr && *env != L'\0');
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring module = modulePath();
    std::string content;
    bool shippedContent = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--content" && i + 1 < argc) {
            content = toUtf8(std::wstring(argv[++i]));
        } else if (arg == L"--shipped-content") {
            shippedContent = true;
        } else {
            return usage();
        }
    }
    const bool keep = !shippedContent && !contentNamed(content);
    if (content.empty()) content = defaultContent(module);

    std::unique_ptr<tessaline::automation::sim::SimOffice> office;
    try {
        using tessaline::automation::sim::SimOffice;
        office = SimOffice::loadKeeping(content, keep ? SimOffice::defaultKeptFolder() : std::string());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tessaline-office: %s\n", e.what());
        return 2;
    }

    // A damaged kept file was set aside; the server has no window of its own to say so in.
    for (const auto& problem : office->takeKeepingProblems()) {
        std::fprintf(stderr, "tessaline-office: %s\n", problem.c_str());
    }

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "tessaline-office: COM cannot start\n");
        return 1;
    }
    int status = 0;
    {
        tessaline::automation::server::OfficeServer server(std::move(office));
        try {
            const std::string problems = server.start(module);
            if (!problems.empty()) std::fprintf(stderr, "tessaline-office: %s", problems.c_str());
            std::printf("ready\n");
            std::fflush(stdout);
            server.run();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "tessaline-office: %s\n", e.what());
            status = 1;
        }
        server.stop();
    }
    CoUninitialize();
    return status;
}
