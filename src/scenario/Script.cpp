#include "scenario/Script.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "automation/FilePath.h"

namespace tessaline::scenario {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Whether `text` is well-formed UTF-8: scripts are compared and shown byte for byte, so a stray Latin-1
// byte would only surface later as a baffling mismatch.
bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra = 0;
        unsigned min = 0;
        unsigned codePoint = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
            codePoint = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
            codePoint = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
            codePoint = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace

std::vector<Word> splitWords(std::string_view line) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') break;
        Word word;
        if (line[i] == '"') {
            word.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c != '\\') {
                    word.text += c;
                    continue;
                }
                if (i == line.size()) break;
                switch (const char escaped = line[i++]) {
                    case '"':
                    case '\\':
                        word.text += escaped;
                        break;
                    case 't':
                        word.text += '\t';
                        break;
                    case 'n':
                        word.text += '\n';
                        break;
                    case 'r':
                        word.text += '\r';
                        break;
                    default:
                        throw std::invalid_argument(std::string("unknown escape \\") + escaped + " in a quoted text");
                }
            }
            if (!closed) throw std::invalid_argument("a quoted text is not closed");
            // "abc"def would be two words run together; say so rather than guess.
            if (i < line.size() && !isBlank(line[i])) {
                throw std::invalid_argument("a quoted text must be followed by a blank");
            }
        } else {
            while (i < line.size() && !isBlank(line[i])) {
                if (line[i] == '"') throw std::invalid_argument("a quote inside a word; quote the whole word");
                word.text += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

Script parseScript(std::string_view text, std::string file, std::string folder) {
    Script script;
    script.file = std::move(file);
    script.folder = std::move(folder);
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        ++lineNumber;
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        Command command;
        command.line = lineNumber;
        try {
            if (!isValidUtf8(line)) throw std::invalid_argument("the line is not valid UTF-8");
            command.words = splitWords(line);
        } catch (const std::invalid_argument& e) {
            command.error = e.what();
        }
        if (command.words.empty() && command.error.empty()) continue;
        // Keep the command as written for the transcript, without trailing blanks.
        std::size_t last = line.find_last_not_of(" \t");
        command.source = std::string(line.substr(0, last == std::string_view::npos ? 0 : last + 1));
        const std::size_t first = command.source.find_first_not_of(" \t");
        command.source.erase(0, first == std::string::npos ? command.source.size() : first);
        script.commands.push_back(std::move(command));
    }
    return script;
}

Script loadScript(const std::string& path) {
    const std::filesystem::path file = automation::filePath(path);
    // A folder opens as a stream on some systems and reads as nothing: a script of no commands that passes.
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) throw std::runtime_error(path + ": is a folder, not a script");
    if (!std::filesystem::is_regular_file(file, error)) throw std::runtime_error("cannot read " + path);
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return parseScript(text.str(), automation::pathText(file.filename()), automation::pathText(file.parent_path()));
}

}  // namespace tessaline::scenario
