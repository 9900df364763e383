#include "xls/XlsFile.h"

#if TESSALINE_HAVE_FREEXL
#include <freexl.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "automation/FilePath.h"
#include "xls/BiffScanner.h"
#include "xls/BiffWriter.h"
#include "xls/CompoundFile.h"

namespace tessaline::xls {

namespace {

[[noreturn]] void cannotOpen(const std::string& path, const std::string& why) {
    throw XlsError("Cannot open workbook '" + path + "': " + why + ".");
}

[[noreturn]] void cannotSave(const std::string& path, const std::string& why) {
    throw XlsError("Cannot save workbook '" + path + "': " + why + ".");
}

Bytes readFileBytes(const std::string& path) {
    std::ifstream in(automation::filePath(path), std::ios::binary);
    if (!in) {
        cannotOpen(path, "the file does not exist or cannot be read");
    }
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        cannotOpen(path, "the file cannot be read");
    }
    return bytes;
}

bool startsWith(const Bytes& bytes, std::initializer_list<std::uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// Tells a user what the file is instead, for the files most often mistaken for an .xls workbook.
void rejectOtherFormats(const std::string& path, const Bytes& bytes) {
    if (bytes.empty()) {
        cannotOpen(path, "the file is empty");
    }
    if (startsWith(bytes, {'P', 'K', 0x03, 0x04})) {
        cannotOpen(path, "the file is an Excel 2007 or later workbook (.xlsx), not an Excel 97-2003 workbook");
    }
    if (!hasCompoundSignature(bytes)) {
        cannotOpen(path, "the file is not an Excel 97-2003 workbook");
    }
}

#if TESSALINE_HAVE_FREEXL
struct FreexlHandle {
    const void* handle = nullptr;
    ~FreexlHandle() {
        if (handle != nullptr) {
            freexl_close(handle);
        }
    }
};

std::string freexlProblem(int code) {
    switch (code) {
        case FREEXL_FILE_NOT_FOUND:
            return "the file does not exist or cannot be read";
        case FREEXL_INSUFFICIENT_MEMORY:
            return "there is not enough memory to read it";
        case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
            return "the file is not an Excel workbook";
        case FREEXL_INVALID_CHARACTER:
        case FREEXL_UNSUPPORTED_CHARSET:
            return "its text is in a character set that cannot be read";
        default:
            return "the file is damaged (error " + std::to_string(code) + " while reading its cells)";
    }
}
#else
// Without libfreexl nothing converts text kept in a code page; such workbooks are refused by name.
struct FreexlHandle {
    const void* handle = nullptr;
};
#endif

}  // namespace

WorkbookData readWorkbook(const std::string& path) {
    const Bytes bytes = readFileBytes(path);
    rejectOtherFormats(path, bytes);

    // The container and the record structure are checked here before the cell reader sees the file, and
    // the walk settles what that reader does not give: Booleans, error values, formula results, numbers
    // exactly as stored, and the active sheet.
    ScannedWorkbook scanned;
    try {
        const CompoundFile container(bytes);
        if (container.hasStream("EncryptedPackage")) {
            cannotOpen(path, "the workbook is protected by a password");
        }
        std::optional<Bytes> stream = container.readStream("Workbook");
        if (!stream) {
            stream = container.readStream("Book");
        }
        if (!stream) {
            cannotOpen(path, "the file is not an Excel workbook");
        }
        scanned = scanWorkbookStream(*stream);
    } catch (const FormatError& e) {
        cannotOpen(path, e.what());
    }
    if (scanned.encrypted) {
        cannotOpen(path, "the workbook is protected by a password");
    }

    std::vector<std::size_t> worksheets;
    for (std::size_t i = 0; i < scanned.sheets.size(); ++i) {
        if (scanned.sheets[i].type == 0) {
            worksheets.push_back(i);
        }
    }
    const bool needsCodePage = scanned.biffVersion != 8 ||
                               std::any_of(scanned.sheets.begin(), scanned.sheets.end(), [](const ScannedSheet& sheet) {
                                   return std::any_of(sheet.cells.begin(), sheet.cells.end(),
                                                      [](const ScannedCell& c) { return !c.value.has_value(); });
                               });
    // Older workbooks keep their text in a code page; libfreexl converts it. BIFF8 is settled entirely by
    // the walk, which also spares a large sheet libfreexl's full cell grid.
    FreexlHandle book;
    bool libraryCountsAll = false;
#if !TESSALINE_HAVE_FREEXL
    if (needsCodePage) {
        cannotOpen(path, "it is an Excel 95 or older workbook, whose text this build cannot read; save it in "
                         "Excel 97-2003 format");
    }
#else
    if (needsCodePage) {
        const int opened = freexl_open(path.c_str(), &book.handle);
        if (opened != FREEXL_OK) {
            cannotOpen(path, freexlProblem(opened));
        }
        if (book.handle == nullptr) {
            cannotOpen(path, "the file is damaged (its cells cannot be read)");
        }
        unsigned int password = 0;
        if (freexl_get_info(book.handle, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
            password == FREEXL_BIFF_OBFUSCATED) {
            cannotOpen(path, "the workbook is protected by a password");
        }
        unsigned int libraryCount = 0;
        if (freexl_get_info(book.handle, FREEXL_BIFF_SHEET_COUNT, &libraryCount) != FREEXL_OK) {
            cannotOpen(path, "the file is damaged (its sheet list cannot be read)");
        }
        // The library numbers either every sheet or the worksheets only; both lists agree on order.
        libraryCountsAll = libraryCount == scanned.sheets.size();
        if (!libraryCountsAll && libraryCount != worksheets.size()) {
            cannotOpen(path, "the file is damaged (its sheet list is inconsistent)");
        }
    }
#endif

    WorkbookData result;
    for (std::size_t w = 0; w < worksheets.size(); ++w) {
        const std::size_t index = worksheets[w];
        const ScannedSheet& source = scanned.sheets[index];
        const auto libraryIndex = static_cast<unsigned short>(libraryCountsAll ? index : w);
        SheetData sheet;
        sheet.name = source.name;
#if TESSALINE_HAVE_FREEXL
        const char* name = nullptr;
        if (book.handle != nullptr && freexl_get_worksheet_name(book.handle, libraryIndex, &name) == FREEXL_OK &&
            name != nullptr) {
            sheet.name = name;
        }
        unsigned int rows = 0;
        unsigned short columns = 0;
        const bool sheetNeedsLibrary = std::any_of(source.cells.begin(), source.cells.end(),
                                                   [](const ScannedCell& c) { return !c.value.has_value(); });
        if (sheetNeedsLibrary && (freexl_select_active_worksheet(book.handle, libraryIndex) != FREEXL_OK ||
                                  freexl_worksheet_dimensions(book.handle, &rows, &columns) != FREEXL_OK)) {
            cannotOpen(path, "the file is damaged (sheet '" + sheet.name + "' cannot be read)");
        }
#else
        (void)libraryIndex;
#endif
        for (const ScannedCell& cell : source.cells) {
            const std::pair<int, int> key{cell.row + 1, cell.column + 1};
            if (cell.value) {
                if (cell.value->isEmpty()) {
                    sheet.cells.erase(key);
                } else {
                    sheet.cells[key] = *cell.value;
                }
                continue;
            }
#if TESSALINE_HAVE_FREEXL
            if (static_cast<unsigned>(cell.row) >= rows || static_cast<unsigned>(cell.column) >= columns) {
                continue;  // outside the sheet's declared size: the library has nothing there
            }
            FreeXL_CellValue value;
            const int got = freexl_get_cell_value(book.handle, static_cast<unsigned>(cell.row),
                                                  static_cast<unsigned short>(cell.column), &value);
            if (got != FREEXL_OK) {
                cannotOpen(path, freexlProblem(got));
            }
            if ((value.type == FREEXL_CELL_TEXT || value.type == FREEXL_CELL_SST_TEXT) &&
                value.value.text_value != nullptr && value.value.text_value[0] != '\0') {
                sheet.cells[key] = automation::Variant(std::string(value.value.text_value));
            } else {
                sheet.cells.erase(key);
            }
#endif
        }
        result.sheets.push_back(std::move(sheet));
    }
    if (result.sheets.empty()) {
        cannotOpen(path, "the workbook has no worksheet");
    }
    // The active tab counts every sheet; map it onto the worksheets kept.
    result.activeSheet = 0;
    for (std::size_t w = 0; w < worksheets.size(); ++w) {
        if (static_cast<int>(worksheets[w]) <= scanned.activeTab) {
            result.activeSheet = static_cast<int>(w);
        }
    }
    return result;
}

void writeWorkbook(const std::string& path, const WorkbookData& workbook) {
    Bytes file;
    try {
        file = writeSingleStreamCompoundFile("Workbook", buildWorkbookStream(workbook));
    } catch (const FormatError& e) {
        cannotSave(path, e.what());
    }
    // Write beside the target and rename, so a failed save never leaves half a workbook in its place.
    const std::filesystem::path target = automation::filePath(path);
    std::filesystem::path temporary = target;
    temporary += ".tmp~";
    std::error_code ignored;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            cannotSave(path, std::string("the file cannot be created (") + std::strerror(errno) + ")");
        }
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(temporary, ignored);
            cannotSave(path, "the file cannot be written (is the disk full?)");
        }
    }
    // std::filesystem::rename replaces an existing workbook on Windows too, where std::rename refuses to.
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, ignored);
        cannotSave(path, "the file cannot be replaced (" + error.message() + ")");
    }
}

}  // namespace tessaline::xls
