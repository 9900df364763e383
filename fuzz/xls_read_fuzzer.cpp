// libFuzzer target for the .xls reading path: container, record walk, string table and, for Excel 95
// workbooks, libfreexl. Every input must either read or fail with XlsError.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "xls/XlsFile.h"

namespace {

std::string scratchPath() {
    const char* shm = "/dev/shm";
    const std::string folder = access(shm, W_OK) == 0 ? shm : "/tmp";
    return folder + "/tessaline-fuzz-" + std::to_string(getpid()) + ".xls";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = scratchPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    try {
        const tessaline::xls::WorkbookData book = tessaline::xls::readWorkbook(path);
        if (book.activeSheet < 0 || book.activeSheet >= static_cast<int>(book.sheets.size())) {
            __builtin_trap();  // a successful read always names one of its sheets as active
        }
    } catch (const tessaline::xls::XlsError&) {
    }
    return 0;
}
