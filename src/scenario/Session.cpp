#include "scenario/Session.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <random>
#include <system_error>

#include "program/Startup.h"
#include "automation/FilePath.h"

namespace tessaline::scenario {

RunnerSession::RunnerSession(std::unique_ptr<automation::OfficeMachine> office) : office_(std::move(office)) {
    form_ = program::openMainWindow(*office_, ui_);
    startingProgramFolder_ = form_->App.Path;
}

// The window goes first: its handlers hold references into the Office.
RunnerSession::~RunnerSession() {
    form_.reset();
    if (!freshFolder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(freshFolder_, ignored);
    }
}

std::vector<std::string> RunnerSession::useFreshProgramFolder(const std::string& copyFrom) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    if (!copyFrom.empty()) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(automation::filePath(copyFrom), ec)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".xls" || ext == ".ppt")) files.push_back(entry.path());
        }
        if (files.empty()) throw CommandError("no program files (.xls, .ppt) in " + copyFrom);
    }

    // Scripts run side by side in the test suite: every folder gets a name of its own.
    std::random_device random;
    fs::path folder;
    for (;;) {
        folder = fs::temp_directory_path() / ("tessaline-program-" + std::to_string(random()));
        if (fs::create_directory(folder)) break;
    }
    std::vector<std::string> names;
    for (const fs::path& file : files) {
        fs::copy_file(file, folder / file.filename());
        names.push_back(automation::pathText(file.filename()));
    }
    std::sort(names.begin(), names.end());

    if (!freshFolder_.empty()) {
        std::error_code ignored;
        fs::remove_all(freshFolder_, ignored);
    }
    freshFolder_ = folder;
    form_->App.Path = automation::pathText(folder);
    return names;
}

namespace words {

const std::string& at(const std::vector<Word>& words, std::size_t index, const char* what) {
    if (index >= words.size()) throw CommandError(std::string("missing ") + what);
    return words[index].text;
}

int toInt(const std::string& text, const char* what) {
    int value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || begin == end) {
        throw CommandError(std::string(what) + " must be a whole number, not \"" + text + "\"");
    }
    return value;
}

std::string boolText(bool value) { return value ? "True" : "False"; }

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<int> indexPath(const std::string& text) {
    std::vector<int> path;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = text.find('.', start);
        path.push_back(toInt(text.substr(start, dot - start), "each step of an index path"));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return path;
}

std::vector<int> codePoints(const std::string& text) {
    // The script reader has checked the text is valid UTF-8.
    std::vector<int> points;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        int point = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k <= extra && i + k < text.size(); ++k) {
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        points.push_back(point);
        i += extra + 1;
    }
    return points;
}

int keyCode(const Word& word) {
    struct Named {
        const char* name;
        int code;
    };
    static const Named names[] = {
        {"Backspace", 8}, {"Tab", 9},     {"Enter", 13},    {"Return", 13}, {"Esc", 27},    {"Escape", 27},
        {"Space", 32},    {"PageUp", 33}, {"PageDown", 34}, {"End", 35},    {"Home", 36},   {"Left", 37},
        {"Up", 38},       {"Right", 39},  {"Down", 40},     {"Insert", 45}, {"Delete", 46}, {"F1", 112},
        {"F2", 113},      {"F3", 114},    {"F4", 115},      {"F5", 116},    {"F6", 117},    {"F7", 118},
        {"F8", 119},      {"F9", 120},    {"F10", 121},     {"F11", 122},   {"F12", 123},
    };
    const std::string& text = word.text;
    if (!word.quoted) {
        if (!text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            // A code the keyboard could never produce would reach the handlers as a broken character.
            const int code = toInt(text, "a key code");
            if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
                throw CommandError(text + " is no key code or character");
            }
            return code;
        }
        for (const Named& named : names) {
            if (equalsIgnoringCase(text, named.name)) return named.code;
        }
    }
    const std::vector<int> points = codePoints(text);
    if (points.size() == 1) return points.front();
    throw CommandError("\"" + text + "\" is neither a key name, a key code nor one character");
}

}  // namespace words

shell::Control& controlNamed(shell::Form1& form, const std::string& name) {
    if (name == "bars") return form.ListAllCommandbars;
    if (name == "controls") return form.ListAllCommandControls;
    for (shell::Control* control : form.controls()) {
        if (control->Name() == name) return *control;
    }
    throw CommandError("the window has no control named \"" + name + "\"");
}

shell::FlexGrid& gridNamed(shell::Form1& form, const std::string& name) {
    auto* grid = dynamic_cast<shell::FlexGrid*>(&controlNamed(form, name));
    if (!grid) throw CommandError("\"" + name + "\" is not a grid");
    return *grid;
}

int rowOf(const shell::FlexGrid& grid, const Word& word) {
    const std::string& text = word.text;
    if (!word.quoted && !text.empty() &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return words::toInt(text, "a row");
    }
    for (int col : {1, 2}) {
        if (col >= grid.Cols()) break;
        for (int row = grid.FixedRows(); row < grid.Rows(); ++row) {
            if (grid.TextMatrix(row, col) == text) return row;
        }
    }
    throw CommandError("no row of " + grid.Name() + " shows \"" + text + "\"");
}

}  // namespace tessaline::scenario
