#include "automation/sim/Content.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>

#include "automation/FilePath.h"

namespace tessaline::automation::sim {

namespace {

// Characters of UTF-8 text: every byte that does not continue a character.
std::size_t characterCount(const std::string& text) {
    std::size_t n = 0;
    for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

using nlohmann::json;

constexpr int MaxControlDepth = 16;
constexpr int MaxDocumentDepth = 64;  // as parseJsonText's default

// Line and column (1-based, columns counted in code points) of a byte offset.
std::pair<int, int> lineColumn(const std::string& text, std::size_t offset) {
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

std::string at(const std::string& file, const std::string& text, std::size_t offset) {
    const auto [line, column] = lineColumn(text, offset);
    return file + ": line " + std::to_string(line) + ", column " + std::to_string(column);
}

// The parser itself copes with any depth, but the checks below and the objects built from them recurse,
// so absurd nesting is refused before anything walks it.
void checkDepth(const std::string& text, const std::string& file, int maxDepth) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth) {
                throw ContentError(at(file, text, i) + ": nesting deeper than " + std::to_string(maxDepth) + " levels");
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
}

std::string describe(const json& value) {
    std::string shown = value.dump(-1, ' ', false, json::error_handler_t::replace);
    if (shown.size() > 40) {
        shown = shown.substr(0, 37) + "...";
    }
    return shown;
}

[[noreturn]] void fail(const std::string& file, const std::string& path, const std::string& problem) {
    throw ContentError(file + ": " + path + ": " + problem);
}

// Where a value sits in the file ("commandBars[3].controls[2]"). Only a complaint spells it out, so reading
// a large file builds no path text.
struct Place {
    const Place* parent = nullptr;
    std::string_view key;  // a member's name; empty for an element of an array and for the top level
    std::size_t index = 0;

    static Place member(const Place& parent, std::string_view key) { return Place{&parent, key, 0}; }
    static Place element(const Place& parent, std::size_t index) { return Place{&parent, {}, index}; }

    std::string text() const {
        if (!parent) {
            return std::string(key);
        }
        std::string above = parent->text();
        if (key.empty()) {
            return above + "[" + std::to_string(index) + "]";
        }
        return above.empty() ? std::string(key) : above + "." + std::string(key);
    }
};

// Typed access to the members of one JSON object, naming the member's path in every complaint.
class Fields {
public:
    Fields(const json& object, const std::string& file, const Place& place)
        : object_(object), file_(file), place_(place) {
        if (!object_.is_object()) {
            const std::string path = place_.text();
            fail(file_, path.empty() ? "(top level)" : path, "expected an object, found " + describe(object_));
        }
        // A control asks for every member it may have, most of them absent: a short list answers that faster
        // than the document's tree.
        if (object_.size() <= members_.size()) {
            for (auto it = object_.begin(); it != object_.end(); ++it) {
                members_[count_++] = Member{it.key(), &it.value()};
            }
        }
    }

    std::string pathOf(std::string_view key) const { return Place::member(place_, key).text(); }
    Place placeOf(std::string_view key) const { return Place::member(place_, key); }
    const std::string& file() const { return file_; }
    bool has(const std::string& key) const { return find(key) != nullptr; }
    const json& raw(const std::string& key) const { return object_.at(key); }

    std::string text(const std::string& key, const std::optional<std::string>& fallback) const {
        const json* found = find(key);
        if (!found) {
            if (!fallback) {
                fail(file_, pathOf(key), "missing");
            }
            return *fallback;
        }
        const json& v = *found;
        if (!v.is_string()) {
            fail(file_, pathOf(key), "expected a text, found " + describe(v));
        }
        const std::string& text = v.get_ref<const std::string&>();
        if (characterCount(text) > MaxContentText) {
            fail(file_, pathOf(key),
                 "a text of " + std::to_string(characterCount(text)) + " characters (at most " +
                     std::to_string(MaxContentText) + ")");
        }
        return text;
    }

    int integer(const std::string& key, std::optional<int> fallback, long long min, long long max) const {
        const json* found = find(key);
        if (!found) {
            if (!fallback) {
                fail(file_, pathOf(key), "missing");
            }
            return *fallback;
        }
        const json& v = *found;
        long long n = 0;
        if (v.is_number_integer()) {
            if (v.is_number_unsigned()) {
                const auto u = v.get<std::uint64_t>();
                n = u > static_cast<std::uint64_t>(std::numeric_limits<long long>::max())
                        ? std::numeric_limits<long long>::max()
                        : static_cast<long long>(u);
            } else {
                n = v.get<std::int64_t>();
            }
        } else if (v.is_number_float() && std::isfinite(v.get<double>()) &&
                   std::trunc(v.get<double>()) == v.get<double>() && std::fabs(v.get<double>()) < 9.0e15) {
            n = static_cast<long long>(v.get<double>());
        } else {
            fail(file_, pathOf(key), "expected a whole number, found " + describe(v));
        }
        if (n < min || n > max) {
            fail(file_, pathOf(key),
                 "expected a whole number from " + std::to_string(min) + " to " + std::to_string(max) + ", found " +
                     describe(v));
        }
        return static_cast<int>(n);
    }

    bool boolean(const std::string& key, bool fallback) const {
        const json* found = find(key);
        if (!found) {
            return fallback;
        }
        const json& v = *found;
        if (!v.is_boolean()) {
            fail(file_, pathOf(key), "expected true or false, found " + describe(v));
        }
        return v.get<bool>();
    }

    const json& array(const std::string& key) const {
        static const json empty = json::array();
        const json* found = find(key);
        if (!found) {
            return empty;
        }
        const json& v = *found;
        if (!v.is_array()) {
            fail(file_, pathOf(key), "expected an array, found " + describe(v));
        }
        return v;
    }

private:
    // The member's value; null when it is absent or null.
    const json* find(const std::string& key) const {
        if (object_.size() <= members_.size()) {
            for (std::size_t i = 0; i < count_; ++i) {
                if (members_[i].key == key) {
                    return members_[i].value->is_null() ? nullptr : members_[i].value;
                }
            }
            return nullptr;
        }
        const auto it = object_.find(key);
        return it == object_.end() || it->is_null() ? nullptr : &*it;
    }

    struct Member {
        std::string_view key;
        const json* value = nullptr;
    };

    const json& object_;
    const std::string& file_;
    const Place& place_;
    std::array<Member, 20> members_{};
    std::size_t count_ = 0;
};

void checkControlCount(const json& controls, const Fields& f) {
    if (controls.size() > MaxControlsPerBar) {
        fail(f.file(), f.pathOf("controls"),
             std::to_string(controls.size()) + " controls (at most " + std::to_string(MaxControlsPerBar) +
                 " on one bar or popup)");
    }
}

std::size_t controlCount(const std::vector<ControlSpec>& controls) {
    std::size_t n = controls.size();
    for (const auto& c : controls) n += controlCount(c.controls);
    return n;
}

ControlSpec readControl(const json& value, const std::string& file, const Place& place, int depth) {
    if (depth > MaxControlDepth) {
        fail(file, place.text(), "popups nested deeper than " + std::to_string(MaxControlDepth) + " levels");
    }
    const Fields f(value, file, place);
    ControlSpec c;
    c.type = f.integer("type", 1, 1, 26);
    c.id = f.integer("id", std::nullopt, 1, std::numeric_limits<std::int32_t>::max());
    c.caption = f.text("caption", "");
    c.faceId = f.integer("faceId", 0, 0, MaxFaceId);
    c.style = f.integer("style", 0, 0, 15);
    if (!isValidStyle(c.style)) {
        fail(file, f.pathOf("style"), "expected one of 0, 1, 2, 3, 7, 11, 14, 15, found " + std::to_string(c.style));
    }
    c.shortcutText = f.text("shortcutText", "");
    c.beginGroup = f.boolean("beginGroup", false);
    c.enabled = f.boolean("enabled", true);
    c.visible = f.boolean("visible", true);
    c.isProtected = f.boolean("protected", false);
    c.tooltipText = f.text("tooltipText", "");
    c.onAction = f.text("onAction", "");
    c.tag = f.text("tag", "");
    if (f.has("width")) {
        c.width = f.integer("width", std::nullopt, 0, 10000);
    }
    const json& items = f.array("items");
    c.items.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].is_string()) {
            fail(file, Place::element(f.placeOf("items"), i).text(), "expected a text, found " + describe(items[i]));
        }
        c.items.push_back(items[i].get<std::string>());
    }
    if (!c.items.empty() && !isComboType(c.type)) {
        fail(file, f.pathOf("items"), "only drop-downs and combo boxes (types 3, 4) have a list");
    }
    c.text = f.text("text", "");
    c.builtIn = f.boolean("builtIn", true);
    const json& controls = f.array("controls");
    checkControlCount(controls, f);
    if (!controls.empty() && !isPopupType(c.type)) {
        fail(file, f.pathOf("controls"), "only popups (types 10 to 14) have sub items");
    }
    c.controls.reserve(controls.size());
    const Place within = f.placeOf("controls");
    for (std::size_t i = 0; i < controls.size(); ++i) {
        c.controls.push_back(readControl(controls[i], file, Place::element(within, i), depth + 1));
    }
    return c;
}

BarSpec readBar(const json& value, const std::string& file, const Place& place) {
    const Fields f(value, file, place);
    BarSpec b;
    b.name = f.text("name", std::nullopt);
    if (b.name.empty()) {
        fail(file, f.pathOf("name"), "a bar needs a name");
    }
    b.nameLocal = f.text("nameLocal", b.name);
    b.type = f.integer("type", 0, 0, 2);
    b.position = f.integer("position", b.type == 2 ? 5 : 1, 0, 5);
    if (b.type == 2 && b.position != 5) {
        fail(file, f.pathOf("position"), "a shortcut menu (type 2) has position 5");
    }
    if (b.type != 2 && b.position == 5) {
        fail(file, f.pathOf("position"), "position 5 belongs to shortcut menus (type 2)");
    }
    b.visible = f.boolean("visible", false);
    b.enabled = f.boolean("enabled", true);
    if (b.type == 2 && b.visible) {
        fail(file, f.pathOf("visible"), "a shortcut menu cannot be visible");
    }
    if (f.has("width")) {
        b.width = f.integer("width", std::nullopt, 0, 10000);
    }
    b.builtIn = f.boolean("builtIn", true);
    const json& controls = f.array("controls");
    checkControlCount(controls, f);
    b.controls.reserve(controls.size());
    const Place within = f.placeOf("controls");
    for (std::size_t i = 0; i < controls.size(); ++i) {
        b.controls.push_back(readControl(controls[i], file, Place::element(within, i), 1));
    }
    return b;
}

// The bars of a host, read one at a time in file order: the limits on bars and controls of a whole file are
// counted as they come. The first fault is kept and reading stops there.
class BarReader {
public:
    explicit BarReader(const std::string& file) : file_(file) {}

    void add(const json& value) {
        const std::size_t i = count_++;
        if (fault_ || count_ > MaxBarsPerFile) {
            return;
        }
        try {
            const Place top;
            const Place bars = Place::member(top, "commandBars");
            const Place place = Place::element(bars, i);
            bars_.push_back(readBar(value, file_, place));
            total_ += controlCount(bars_.back().controls);
            if (total_ > MaxControlsPerFile) {
                fail(file_, place.text(),
                     "more than " + std::to_string(MaxControlsPerFile) + " controls in the file, sub items included");
            }
        } catch (const ContentError& e) {
            fault_ = e;
        }
    }

    // Raises the first fault in the order a reader of the file meets it: too many bars, else the first bar
    // that is wrong.
    std::vector<BarSpec> take() {
        if (count_ > MaxBarsPerFile) {
            fail(file_, "commandBars",
                 std::to_string(count_) + " bars (at most " + std::to_string(MaxBarsPerFile) + ")");
        }
        if (fault_) {
            throw *fault_;
        }
        return std::move(bars_);
    }

private:
    const std::string& file_;
    std::vector<BarSpec> bars_;
    std::size_t count_ = 0;
    std::size_t total_ = 0;
    std::optional<ContentError> fault_;
};

// Builds the document as the library's own parser does, except for the top-level "commandBars" array: each
// of its elements goes to `bars` as soon as it is complete and is dropped, so that a large host never holds
// its whole file as a document beside its bars.
class StreamingDocument {
public:
    explicit StreamingDocument(const std::string& file) : file_(file) {}

    bool null() { return value(json(nullptr)); }
    bool boolean(bool v) { return value(json(v)); }
    bool number_integer(json::number_integer_t v) { return value(json(v)); }
    bool number_unsigned(json::number_unsigned_t v) { return value(json(v)); }
    bool number_float(json::number_float_t v, const json::string_t& /*text*/) { return value(json(v)); }
    bool string(json::string_t& v) { return value(json(std::move(v))); }
    bool binary(json::binary_t& v) { return value(json(std::move(v))); }

    bool start_object(std::size_t /*elements*/) {
        open(json::object());
        return true;
    }
    bool key(json::string_t& k) {
        // Later duplicates win, as in the library's document: a second "commandBars" replaces the bars read.
        if (stack_.size() == 1 && k == "commandBars") {
            bars_.reset();
        }
        member_ = &(*stack_.back())[k];
        memberKey_ = std::move(k);
        return true;
    }
    bool end_object() { return close(); }
    bool start_array(std::size_t /*elements*/) {
        const bool barsArray = stack_.size() == 1 && stack_.back()->is_object() && memberKey_ == "commandBars";
        open(json::array());
        if (barsArray) {
            bars_ = std::make_unique<BarReader>(file_);
            barsArray_ = stack_.back();
        }
        return true;
    }
    bool end_array() {
        const bool barsArray = stack_.back() == barsArray_;
        close();
        if (barsArray) {
            barsArray_ = nullptr;
        }
        return true;
    }
    template <class Exception>
    bool parse_error(std::size_t /*position*/, const std::string& /*token*/, const Exception& e) {
        throw e;
    }

    json& document() { return root_; }
    // The bars read on the way; null when the document has no array of bars at the top.
    BarReader* bars() { return bars_.get(); }

private:
    bool value(json&& v) {
        json* slot = place(std::move(v));
        if (slot && stack_.size() > 0 && stack_.back() == barsArray_) {
            finishBar();
        }
        return true;
    }
    json* place(json&& v) {
        if (stack_.empty()) {
            root_ = std::move(v);
            return &root_;
        }
        if (stack_.back()->is_array()) {
            stack_.back()->push_back(std::move(v));
            return &stack_.back()->back();
        }
        *member_ = std::move(v);
        return member_;
    }
    void open(json&& v) { stack_.push_back(place(std::move(v))); }
    bool close() {
        stack_.pop_back();
        if (!stack_.empty() && stack_.back() == barsArray_) {
            finishBar();
        }
        return true;
    }
    void finishBar() {
        bars_->add(barsArray_->back());
        barsArray_->erase(barsArray_->size() - 1);
    }

    const std::string& file_;
    json root_;
    std::vector<json*> stack_;
    json* member_ = nullptr;
    std::string memberKey_;
    json* barsArray_ = nullptr;
    std::unique_ptr<BarReader> bars_;
};

// Runs the library's parser, turning its complaints into content errors with line and column.
template <class Parse>
void parseReporting(const std::string& text, const std::string& fileForMessages, int maxDepth, Parse&& parse) {
    checkDepth(text, fileForMessages, maxDepth);
    try {
        parse();
    } catch (const json::parse_error& e) {
        std::string what = e.what();
        // The library's own text repeats a position in its own terms; ours is line and column.
        const auto colon = what.find(": ", what.find("parse error"));
        const std::string detail = colon == std::string::npos ? what : what.substr(colon + 2);
        throw ContentError(at(fileForMessages, text, e.byte == 0 ? 0 : e.byte - 1) + ": " + detail);
    } catch (const json::exception& e) {
        // Numbers too large for any type come here, without a position.
        std::string what = e.what();
        const auto bracket = what.find("] ");
        throw ContentError(fileForMessages + ": " + (bracket == std::string::npos ? what : what.substr(bracket + 2)));
    }
}

// The checks of a whole host file. `streamed` holds the bars when they were read while parsing; otherwise
// they are read from the document.
HostContent checkHost(const json& document, const std::string& file, BarReader* streamed) {
    const Place root;
    const Fields top(document, file, root);
    HostContent host;
    host.file = file;
    if (!top.has("application")) {
        fail(file, "application", "missing");
    }
    const Place appPlace = top.placeOf("application");
    const Fields app(top.raw("application"), file, appPlace);
    host.name = app.text("name", std::nullopt);
    host.windowClass = app.text("windowClass", "");
    host.running = app.boolean("running", true);
    host.explorer = app.boolean("explorer", true);
    if (streamed) {
        host.bars = std::make_shared<const std::vector<BarSpec>>(streamed->take());
    } else {
        BarReader reader(file);
        const json& bars = top.array("commandBars");
        if (bars.size() > MaxBarsPerFile) {
            fail(file, "commandBars",
                 std::to_string(bars.size()) + " bars (at most " + std::to_string(MaxBarsPerFile) + ")");
        }
        for (const auto& bar : bars) {
            reader.add(bar);
        }
        host.bars = std::make_shared<const std::vector<BarSpec>>(reader.take());
    }
    if (top.has("workbooks")) {
        host.workbooks = top.array("workbooks");
    }
    if (top.has("vbProjects")) {
        host.vbProjects = top.array("vbProjects");
    }
    return host;
}

}  // namespace

nlohmann::json parseJsonText(const std::string& text, const std::string& fileForMessages, int maxDepth) {
    json document;
    parseReporting(text, fileForMessages, maxDepth, [&] { document = json::parse(text); });
    return document;
}

HostContent hostFromJson(const nlohmann::json& document, const std::string& file) {
    return checkHost(document, file, nullptr);
}

HostContent readHostFile(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(filePath(path), error);
    if (!error && size > MaxContentFileBytes) {
        throw ContentError(path + ": " + std::to_string(size) + " bytes (at most " +
                           std::to_string(MaxContentFileBytes) + " in one content file)");
    }
    std::ifstream in(filePath(path), std::ios::binary);
    if (!in) {
        throw ContentError(path + ": cannot be read");
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        throw ContentError(path + ": cannot be read");
    }
    const std::string text = std::move(buffer).str();
    StreamingDocument document(path);
    parseReporting(text, path, MaxDocumentDepth, [&] { json::sax_parse(text, &document); });
    return checkHost(document.document(), path, document.bars());
}

}  // namespace tessaline::automation::sim
