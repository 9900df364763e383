#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaline::scenario {

// One word of a command line. Quoting matters beyond grouping: a quoted "=" is a text, not the comparison,
// and a quoted "cancel" is an answer, not the cancel button.
struct Word {
    std::string text;
    bool quoted = false;
};

// One command of a script, with the place it came from for the transcript and for failure reports.
struct Command {
    int line = 0;
    std::string source;  // the line as written
    std::vector<Word> words;
    // Set when the line could not be read (an unclosed quote, say); the runner reports it in its turn.
    std::string error;
};

struct Script {
    std::string file;    // as given, for reports
    std::string folder;  // where relative paths in the script are looked up first
    std::vector<Command> commands;
};

// Splits one line into words: blanks separate, "..." groups a text with blanks (\" \\ \t \n inside), and a
// '#' at the start of a word begins a comment. Throws std::invalid_argument for an unclosed quote or an
// unknown escape.
std::vector<Word> splitWords(std::string_view line);

// Reads a whole script. Blank and comment-only lines give no command; a line that cannot be read gives a
// command carrying its error, so the report keeps its line number.
Script parseScript(std::string_view text, std::string file, std::string folder = "");
// Throws std::runtime_error when the file cannot be read.
Script loadScript(const std::string& path);

}  // namespace tessaline::scenario
