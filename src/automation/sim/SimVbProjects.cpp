#include "automation/sim/SimVbProjects.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>

#include "automation/AutomationError.h"
#include "automation/sim/SimWorkbook.h"

namespace tessaline::automation::sim {

namespace {

std::optional<long long> indexValue(const Variant& v) {
    if (v.kind() == Variant::Kind::Long) return v.asLongRaw();
    if (v.kind() == Variant::Kind::Double && std::isfinite(v.asDoubleRaw()) && std::fabs(v.asDoubleRaw()) < 1e15) {
        return static_cast<long long>(std::nearbyint(v.asDoubleRaw()));
    }
    return std::nullopt;
}

template <typename T, typename Name>
std::shared_ptr<T> itemOf(const std::vector<std::shared_ptr<T>>& items, const Variant& indexOrName, Name name) {
    if (indexOrName.isString()) {
        for (const auto& item : items) {
            if (equalsIgnoringCase(name(*item), indexOrName.asStringRaw())) return item;
        }
        throw subscriptOutOfRange();
    }
    auto index = indexValue(indexOrName);
    if (!index || *index < 1 || *index > static_cast<long long>(items.size())) throw subscriptOutOfRange();
    return items[static_cast<std::size_t>(*index - 1)];
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    // A final line break ends the last line; it does not start an empty one.
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

std::string lowerAscii(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Whether a line opens a procedure: [Public|Private|Friend] [Static] Sub|Function|Property ...
bool opensProcedure(const std::string& line) {
    std::string rest = lowerAscii(line);
    rest.erase(0, rest.find_first_not_of(" \t"));
    auto takeWord = [&](const std::string& word) {
        if (rest.compare(0, word.size(), word) == 0 && rest.size() > word.size() &&
            (rest[word.size()] == ' ' || rest[word.size()] == '\t')) {
            rest.erase(0, word.size());
            rest.erase(0, rest.find_first_not_of(" \t"));
            return true;
        }
        return false;
    };
    takeWord("public") || takeWord("private") || takeWord("friend");
    takeWord("static");
    return takeWord("sub") || takeWord("function") || takeWord("property");
}

}  // namespace

int SimCodeModule::CountOfLines() {
    pass(gate_, "CodeModule", "CountOfLines");
    return static_cast<int>(lines_.size());
}

std::string SimCodeModule::Lines(int startLine, int count) {
    pass(gate_, "CodeModule", "Lines");
    const long long lineCount = static_cast<long long>(lines_.size());
    if (startLine < 1 || count < 0 || startLine > lineCount + 1 ||
        static_cast<long long>(startLine) + count - 1 > lineCount) {
        throw invalidCall();
    }
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += "\r\n";
        text += lines_[static_cast<std::size_t>(startLine - 1 + i)];
    }
    return text;
}

void SimCodeModule::AddFromString(const std::string& text) {
    pass(gate_, "CodeModule", "AddFromString");
    // The text goes before the module's first procedure, after its declarations; at the end when there is none.
    std::vector<std::string> added = splitLines(text);
    auto at = std::find_if(lines_.begin(), lines_.end(), opensProcedure);
    lines_.insert(at, added.begin(), added.end());
}

SimVbComponent::SimVbComponent(int type, std::string name, std::vector<std::string> lines, GatePtr gate)
    : gate_(gate),
      type_(type),
      name_(std::move(name)),
      module_(std::make_shared<SimCodeModule>(std::move(lines), gate)) {}

std::shared_ptr<VBComponent> SimVbComponents::Item(const Variant& indexOrName) {
    pass(gate_, "VBComponents", "Item");
    return itemOf(components_, indexOrName, [](SimVbComponent& c) { return c.name(); });
}

std::vector<std::shared_ptr<VBComponent>> SimVbComponents::Enumerate() {
    pass(gate_, "VBComponents", "_NewEnum");
    return {components_.begin(), components_.end()};
}

SimVbProject::SimVbProject(std::string name, std::string fileName, int protection,
                           std::shared_ptr<SimVbComponents> components, GatePtr gate)
    : gate_(std::move(gate)),
      name_(std::move(name)),
      fileName_(std::move(fileName)),
      protection_(protection),
      components_(std::move(components)) {}

std::shared_ptr<VBComponents> SimVbProject::VBComponents() {
    pass(gate_, "VBProject", "VBComponents");
    if (protection_ == vbext::ProtectionLocked) {
        throw AutomationError(50289, "Can't perform operation since the project is protected.");
    }
    return components_;
}

std::shared_ptr<VBProject> SimVbProjects::Item(const Variant& indexOrName) {
    pass(gate_, "VBProjects", "Item");
    return itemOf(projects_, indexOrName, [](SimVbProject& p) { return p.name(); });
}

std::vector<std::shared_ptr<VBProject>> SimVbProjects::Enumerate() {
    pass(gate_, "VBProjects", "_NewEnum");
    return {projects_.begin(), projects_.end()};
}

}  // namespace tessaline::automation::sim
