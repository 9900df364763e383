#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>

#include "automation/AutomationError.h"
#include "automation/sim/SimParts.h"
#include "automation/sim/SimRange.h"
#include "automation/sim/SimVbProjects.h"
#include "automation/sim/SimWorkbook.h"

namespace tessaline::automation::sim {

namespace {

using nlohmann::json;

// Reports a wrong value in a content file by the file and the place, e.g. vbProjects[1].components[0].type.
class ContentReader {
public:
    explicit ContentReader(std::string file) : file_(std::move(file)) {}

    [[noreturn]] void fail(const std::string& path, const std::string& problem) const {
        throw std::runtime_error(file_ + ": " + path + ": " + problem);
    }

    const json& requireObject(const json& value, const std::string& path) const {
        if (!value.is_object()) fail(path, "expected an object");
        return value;
    }

    // The member `key` of `object`, or nullptr when it is absent or null.
    const json* member(const json& object, const char* key) const {
        auto it = object.find(key);
        if (it == object.end() || it->is_null()) return nullptr;
        return &*it;
    }

    std::string text(const json& object, const char* key, const std::string& path, bool required,
                     const std::string& fallback = "") const {
        const json* value = member(object, key);
        if (!value) {
            if (required) fail(path + "." + key, "missing");
            return fallback;
        }
        if (!value->is_string()) fail(path + "." + key, "expected text");
        return value->get<std::string>();
    }

    bool boolean(const json& object, const char* key, const std::string& path, bool fallback) const {
        const json* value = member(object, key);
        if (!value) return fallback;
        if (!value->is_boolean()) fail(path + "." + key, "expected true or false");
        return value->get<bool>();
    }

    std::optional<int> integer(const json& object, const char* key, const std::string& path) const {
        const json* value = member(object, key);
        if (!value) return std::nullopt;
        if (!value->is_number_integer()) fail(path + "." + key, "expected a whole number");
        if (value->is_number_unsigned() ? value->get<std::uint64_t>() > 1000000u
                                        : std::llabs(value->get<std::int64_t>()) > 1000000) {
            fail(path + "." + key, "number out of range");
        }
        return static_cast<int>(value->get<std::int64_t>());
    }

    const json* array(const json& object, const char* key, const std::string& path) const {
        const json* value = member(object, key);
        if (value && !value->is_array()) fail(path + "." + key, "expected an array");
        return value;
    }

private:
    std::string file_;
};

std::string indexed(const std::string& path, std::size_t i) { return path + "[" + std::to_string(i) + "]"; }

std::shared_ptr<SimWorksheet> readSheet(const ContentReader& reader, const json& sheetJson, const std::string& path,
                                        SimWorkbook& book) {
    reader.requireObject(sheetJson, path);
    const std::string name = reader.text(sheetJson, "name", path, true);
    if (!isValidSheetName(name)) reader.fail(path + ".name", "not a valid sheet name");
    if (book.nameTakenByOther(name, nullptr)) reader.fail(path + ".name", "sheet name used twice");
    auto sheet = book.addSheetAtEnd(name);
    const json* cells = reader.member(sheetJson, "cells");
    if (!cells) return sheet;
    if (!cells->is_object()) reader.fail(path + ".cells", "expected an object");
    for (const auto& [address, value] : cells->items()) {
        const std::string cellPath = path + ".cells." + address;
        auto areas = parseAddress(address);
        if (!areas || areas->size() != 1 || areas->front().cellCount() != 1) {
            reader.fail(cellPath, "not a cell address");
        }
        const CellRect& cell = areas->front();
        if (value.is_string()) {
            sheet->cells().set(cell.top, cell.left, Variant(value.get<std::string>()));
        } else if (value.is_boolean()) {
            sheet->cells().set(cell.top, cell.left, Variant(value.get<bool>()));
        } else if (value.is_number()) {
            sheet->cells().set(cell.top, cell.left, Variant(value.get<double>()));
        } else if (!value.is_null()) {
            reader.fail(cellPath, "expected text, a number or true/false");
        }
    }
    return sheet;
}

std::vector<std::string> codeLines(const ContentReader& reader, const json* code, const std::string& path) {
    std::vector<std::string> lines;
    if (!code) return lines;
    for (std::size_t i = 0; i < code->size(); ++i) {
        const json& line = (*code)[i];
        if (!line.is_string()) reader.fail(indexed(path, i), "expected text");
        // A line break inside an entry starts a new line, so that CountOfLines counts what Lines returns.
        std::string current;
        const std::string text = line.get<std::string>();
        for (std::size_t k = 0; k < text.size(); ++k) {
            if (text[k] == '\r' || text[k] == '\n') {
                lines.push_back(std::move(current));
                current.clear();
                if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
            } else {
                current += text[k];
            }
        }
        lines.push_back(std::move(current));
    }
    return lines;
}

std::shared_ptr<SimRange> simRangeOf(const RangePtr& range) {
    if (!range) throw invalidCall();
    auto sim = std::dynamic_pointer_cast<SimRange>(range);
    if (!sim) throw typeMismatch();
    return sim;
}

}  // namespace

WorkbooksPtr makeWorkbooks(std::weak_ptr<ExcelApplication> application, const nlohmann::json& workbooks,
                           const std::string& contentFile, GatePtr gate) {
    auto books = std::make_shared<SimWorkbooks>(std::move(application), std::move(gate));
    if (workbooks.is_null()) return books;
    ContentReader reader(contentFile);
    if (!workbooks.is_array()) reader.fail("workbooks", "expected an array");
    for (std::size_t i = 0; i < workbooks.size(); ++i) {
        const std::string path = indexed("workbooks", i);
        const json& bookJson = reader.requireObject(workbooks[i], path);
        const std::string name = reader.text(bookJson, "name", path, true);
        if (name.empty() || name.find_first_of("/\\") != std::string::npos) {
            reader.fail(path + ".name", "not a file name");
        }
        if (books->findByName(name)) reader.fail(path + ".name", "workbook name used twice");
        auto book = std::make_shared<SimWorkbook>(books, name, reader.text(bookJson, "path", path, false));
        if (const json* sheets = reader.array(bookJson, "sheets", path)) {
            for (std::size_t s = 0; s < sheets->size(); ++s) {
                readSheet(reader, (*sheets)[s], indexed(path + ".sheets", s), *book);
            }
        }
        if (book->sheetCount() == 0) book->addSheetAtEnd("Sheet1");
        book->setActiveSheetIndex(0);
        book->setSaved(true);
        books->adopt(book, reader.boolean(bookJson, "active", path, false));
    }
    return books;
}

WorkbookPtr activeWorkbookOf(const WorkbooksPtr& workbooks) {
    auto books = std::dynamic_pointer_cast<SimWorkbooks>(workbooks);
    return books ? books->activeWorkbook() : nullptr;
}

RangePtr unionOf(const std::vector<RangePtr>& ranges) {
    if (ranges.empty()) throw invalidCall();
    std::shared_ptr<SimWorksheet> sheet;
    std::vector<CellRect> areas;
    for (const auto& range : ranges) {
        auto sim = simRangeOf(range);
        if (sheet && sim->sheet() != sheet) throw applicationDefined();
        sheet = sim->sheet();
        areas.insert(areas.end(), sim->areas().begin(), sim->areas().end());
    }
    return sheet->rangeOf(normalizedAreas(areas));
}

RangePtr intersectOf(const RangePtr& a, const RangePtr& b) {
    auto first = simRangeOf(a);
    auto second = simRangeOf(b);
    if (first->sheet() != second->sheet()) throw applicationDefined();
    std::vector<CellRect> common;
    for (const auto& x : first->areas()) {
        for (const auto& y : second->areas()) {
            CellRect r{std::max(x.top, y.top), std::max(x.left, y.left), std::min(x.bottom, y.bottom),
                       std::min(x.right, y.right)};
            if (r.top <= r.bottom && r.left <= r.right) common.push_back(r);
        }
    }
    if (common.empty()) return nullptr;
    return first->sheet()->rangeOf(normalizedAreas(common));
}

std::shared_ptr<VBProjects> makeVbProjects(const nlohmann::json& projects, const std::string& contentFile,
                                           GatePtr gate) {
    std::vector<std::shared_ptr<SimVbProject>> result;
    if (projects.is_null()) return std::make_shared<SimVbProjects>(std::move(result), gate);
    ContentReader reader(contentFile);
    if (!projects.is_array()) reader.fail("vbProjects", "expected an array");
    for (std::size_t i = 0; i < projects.size(); ++i) {
        const std::string path = indexed("vbProjects", i);
        const json& projectJson = reader.requireObject(projects[i], path);
        const std::string name = reader.text(projectJson, "name", path, true);
        const std::string fileName = reader.text(projectJson, "fileName", path, false);
        const int protection = reader.integer(projectJson, "protection", path).value_or(vbext::ProtectionNone);
        if (protection != vbext::ProtectionNone && protection != vbext::ProtectionLocked) {
            reader.fail(path + ".protection", "expected 0 or 1");
        }
        std::vector<std::shared_ptr<SimVbComponent>> components;
        if (const json* list = reader.array(projectJson, "components", path)) {
            for (std::size_t c = 0; c < list->size(); ++c) {
                const std::string componentPath = indexed(path + ".components", c);
                const json& componentJson = reader.requireObject((*list)[c], componentPath);
                const std::string componentName = reader.text(componentJson, "name", componentPath, true);
                if (componentName.empty()) reader.fail(componentPath + ".name", "empty");
                auto type = reader.integer(componentJson, "type", componentPath);
                if (!type) reader.fail(componentPath + ".type", "missing");
                static const std::set<int> kTypes{1, 2, 3, 11, 100};
                if (!kTypes.count(*type)) reader.fail(componentPath + ".type", "expected 1, 2, 3, 11 or 100");
                const json* code = reader.array(componentJson, "code", componentPath);
                components.push_back(std::make_shared<SimVbComponent>(
                    *type, componentName, codeLines(reader, code, componentPath + ".code"), gate));
            }
        }
        result.push_back(std::make_shared<SimVbProject>(
            name, fileName, protection, std::make_shared<SimVbComponents>(std::move(components), gate), gate));
    }
    return std::make_shared<SimVbProjects>(std::move(result), gate);
}

}  // namespace tessaline::automation::sim
