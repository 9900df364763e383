#include "xls/WorkbookSource.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <sstream>

namespace tessaline::xls {

namespace {

std::string unescape(const std::string& cell) {
    std::string out;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '\\' && i + 1 < cell.size()) {
            const char next = cell[i + 1];
            if (next == 'n' || next == 'r' || next == '\\' || next == 't') {
                out += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : '\\';
                ++i;
                continue;
            }
        }
        out += cell[i];
    }
    return out;
}

std::string lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

automation::Variant typedValue(const std::string& raw) {
    if (!raw.empty() && raw.front() == '\'') {
        return automation::Variant(unescape(raw.substr(1)));
    }
    const std::string l = lower(raw);
    if (l == "true" || l == "false") {
        return automation::Variant(l == "true");
    }
    double number = 0;
    const char* begin = raw.data();
    const char* end = raw.data() + raw.size();
    if (!raw.empty() && raw.front() == '+') {
        ++begin;
    }
    const auto [ptr, ec] = std::from_chars(begin, end, number);
    if (ec == std::errc() && ptr == end && begin != end && std::isfinite(number)) {
        return automation::Variant(number);
    }
    return automation::Variant(unescape(raw));
}

}  // namespace

WorkbookData parseWorkbookSource(const std::string& text, const std::string& sourceName) {
    WorkbookData book;
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    int row = 0;
    bool activeSeen = false;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind("===", 0) == 0) {
            std::string name = line.substr(3);
            const auto first = name.find_first_not_of(' ');
            name = first == std::string::npos ? "" : name.substr(first);
            const std::string activeMark = " (active)";
            bool active = false;
            if (name.size() > activeMark.size() &&
                name.compare(name.size() - activeMark.size(), activeMark.size(), activeMark) == 0) {
                name.erase(name.size() - activeMark.size());
                active = true;
            }
            while (!name.empty() && name.back() == ' ') {
                name.pop_back();
            }
            if (name.empty()) {
                throw XlsError(sourceName + ":" + std::to_string(lineNumber) + ": a sheet needs a name");
            }
            if (active) {
                if (activeSeen) {
                    throw XlsError(sourceName + ":" + std::to_string(lineNumber) + ": a second active sheet");
                }
                activeSeen = true;
                book.activeSheet = static_cast<int>(book.sheets.size());
            }
            book.sheets.push_back(SheetData{name, {}});
            row = 0;
            continue;
        }
        if (book.sheets.empty()) {
            if (line.empty() || line.front() == '#') {
                continue;
            }
            throw XlsError(sourceName + ":" + std::to_string(lineNumber) + ": cells before the first sheet");
        }
        ++row;
        std::size_t start = 0;
        int column = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            const std::string cell = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
            ++column;
            if (!cell.empty()) {
                book.sheets.back().cells[{row, column}] = typedValue(cell);
            }
            if (tab == std::string::npos) {
                break;
            }
            start = tab + 1;
        }
    }
    if (book.sheets.empty()) {
        throw XlsError(sourceName + ": no sheet");
    }
    return book;
}

}  // namespace tessaline::xls
