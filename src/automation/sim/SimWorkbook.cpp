#include "automation/sim/SimWorkbook.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "automation/AutomationError.h"
#include "automation/FilePath.h"
#include "xls/XlsFile.h"

namespace tessaline::automation::sim {

namespace fs = std::filesystem;

namespace {

AutomationError closedWorkbook() { return {vberr::AutomationFailure, "Automation error"}; }

// The tool builds its paths the Windows way ("folder\Tessaline.xls"); both separators are accepted.
struct SplitPath {
    std::string folder;
    std::string name;
};

SplitPath splitPath(const std::string& path) {
    std::error_code error;
    std::string normal = path;
    if (!fs::exists(filePath(path), error)) std::replace(normal.begin(), normal.end(), '\\', '/');
    fs::path p = filePath(normal);
    if (p.is_relative()) {
        fs::path here = fs::current_path(error);
        if (!error) p = here / p;
    }
    p = p.lexically_normal();
    return {pathText(p.parent_path()), pathText(p.filename())};
}

std::string joinPath(const std::string& folder, const std::string& name) {
    return pathText(filePath(folder) / filePath(name));
}

// Index or name, as collections take them; nothing when the value is neither.
std::optional<long long> indexValue(const Variant& v) {
    if (v.kind() == Variant::Kind::Long) return v.asLongRaw();
    if (v.kind() == Variant::Kind::Double && std::isfinite(v.asDoubleRaw()) && std::fabs(v.asDoubleRaw()) < 1e15) {
        return static_cast<long long>(std::nearbyint(v.asDoubleRaw()));
    }
    return std::nullopt;
}

std::optional<int> bookNumber(const std::string& name) {
    if (name.size() < 5 || name.size() > 12 || name.compare(0, 4, "Book") != 0) return std::nullopt;
    int number = 0;
    for (std::size_t i = 4; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return std::nullopt;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

}  // namespace

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// --- SimWorkbook ------------------------------------------------------------------------------------------

SimWorkbook::SimWorkbook(std::weak_ptr<SimWorkbooks> owner, std::string name, std::string folder)
    : owner_(std::move(owner)), name_(std::move(name)), folder_(std::move(folder)) {
    if (auto books = owner_.lock()) gate_ = books->gate();
}

void SimWorkbook::requireOpen() const {
    if (closed_) throw closedWorkbook();
}

void SimWorkbook::load(const xls::WorkbookData& data) {
    sheets_.clear();
    for (const auto& sheetData : data.sheets) {
        auto sheet = addSheetAtEnd(sheetData.name);
        for (const auto& [cell, value] : sheetData.cells) {
            const auto [row, column] = cell;
            if (row < 1 || row > xl::MaxRows || column < 1 || column > xl::MaxColumns) continue;
            sheet->cells().set(row, column, value);
        }
    }
    if (sheets_.empty()) addSheetAtEnd("Sheet1");
    setActiveSheetIndex(data.activeSheet);
    saved_ = true;
}

xls::WorkbookData SimWorkbook::snapshot() const {
    xls::WorkbookData data;
    for (const auto& sheet : sheets_) {
        xls::SheetData sheetData;
        sheetData.name = sheet->name();
        sheet->cells().forEach(CellRect{1, 1, xl::MaxRows, xl::MaxColumns}, [&](int row, int column, const Variant& v) {
            sheetData.cells.emplace(std::make_pair(row, column), v);
            return true;
        });
        data.sheets.push_back(std::move(sheetData));
    }
    auto active = active_.lock();
    data.activeSheet = active ? std::max(0, indexOf(active.get()) - 1) : 0;
    return data;
}

std::shared_ptr<SimWorksheet> SimWorkbook::addSheetAtEnd(const std::string& name) {
    auto sheet = std::make_shared<SimWorksheet>(weak_from_this(), name);
    sheets_.push_back(sheet);
    if (!active_.lock()) active_ = sheet;
    return sheet;
}

void SimWorkbook::setActiveSheetIndex(int zeroBased) {
    if (zeroBased >= 0 && zeroBased < static_cast<int>(sheets_.size())) {
        active_ = sheets_[static_cast<std::size_t>(zeroBased)];
    } else if (!sheets_.empty()) {
        active_ = sheets_.front();
    }
}

int SimWorkbook::indexOf(const SimWorksheet* sheet) const {
    for (std::size_t i = 0; i < sheets_.size(); ++i) {
        if (sheets_[i].get() == sheet) return static_cast<int>(i) + 1;
    }
    return 0;
}

bool SimWorkbook::nameTakenByOther(const std::string& name, const SimWorksheet* except) const {
    return std::any_of(sheets_.begin(), sheets_.end(), [&](const auto& sheet) {
        return sheet.get() != except && equalsIgnoringCase(sheet->name(), name);
    });
}

std::string SimWorkbook::Name() {
    pass("Name");
    requireOpen();
    return name_;
}

std::string SimWorkbook::FullName() {
    pass("FullName");
    requireOpen();
    return folder_.empty() ? name_ : joinPath(folder_, name_);
}

std::string SimWorkbook::Path() {
    pass("Path");
    requireOpen();
    return folder_;
}

int SimWorkbook::WorksheetCount() {
    pass("Worksheets.Count");
    requireOpen();
    return static_cast<int>(sheets_.size());
}

WorksheetPtr SimWorkbook::Worksheets(const Variant& indexOrName) {
    pass("Worksheets");
    requireOpen();
    if (indexOrName.isString()) {
        for (const auto& sheet : sheets_) {
            if (equalsIgnoringCase(sheet->name(), indexOrName.asStringRaw())) return sheet;
        }
        throw subscriptOutOfRange();
    }
    auto index = indexValue(indexOrName);
    if (!index || *index < 1 || *index > static_cast<long long>(sheets_.size())) throw subscriptOutOfRange();
    return sheets_[static_cast<std::size_t>(*index - 1)];
}

WorksheetPtr SimWorkbook::AddWorksheet(const std::string& name) {
    pass("AddWorksheet");
    requireOpen();
    std::string sheetName = name;
    if (sheetName.empty()) {
        for (std::size_t n = sheets_.size() + 1;; ++n) {
            sheetName = "Sheet" + std::to_string(n);
            if (!nameTakenByOther(sheetName, nullptr)) break;
        }
    } else if (!isValidSheetName(sheetName) || nameTakenByOther(sheetName, nullptr)) {
        throw applicationDefined();
    }
    // Like Worksheets.Add: the new sheet goes before the active one and becomes active.
    auto sheet = std::make_shared<SimWorksheet>(weak_from_this(), sheetName);
    auto active = active_.lock();
    auto at = active ? sheets_.begin() + (indexOf(active.get()) - 1) : sheets_.end();
    sheets_.insert(at, sheet);
    active_ = sheet;
    saved_ = false;
    return sheet;
}

WorksheetPtr SimWorkbook::ActiveSheet() {
    pass("ActiveSheet");
    requireOpen();
    return active_.lock();
}

bool SimWorkbook::Saved() {
    pass("Saved");
    requireOpen();
    return saved_;
}

void SimWorkbook::writeTo(const std::string& folder, const std::string& name) {
    const std::string path = joinPath(folder, name);
    try {
        xls::writeWorkbook(path, snapshot());
    } catch (const std::exception& e) {
        throw AutomationError(vberr::ApplicationDefined, "Cannot access '" + path + "'. " + e.what());
    }
    folder_ = folder;
    name_ = name;
    saved_ = true;
}

void SimWorkbook::Save() {
    pass("Save");
    requireOpen();
    // A workbook never saved goes to the current folder under its caption, as Excel saves it to its default
    // folder.
    if (folder_.empty()) {
        saveAs(name_ + ".xls");
        return;
    }
    writeTo(folder_, name_);
}

void SimWorkbook::SaveAs(const std::string& fileName) {
    pass("SaveAs");
    requireOpen();
    saveAs(fileName);
}

void SimWorkbook::saveAs(const std::string& fileName) {
    if (fileName.empty()) throw applicationDefined();
    SplitPath target = splitPath(fileName);
    if (target.name.empty()) throw AutomationError(vberr::ApplicationDefined, "Cannot access '" + fileName + "'.");
    // Excel refuses these in a file name on every system, so a name saved here opens on Windows too.
    if (target.name.find_first_of("<>:\"|?*[]") != std::string::npos) {
        throw AutomationError(vberr::ApplicationDefined, "The file name '" + target.name + "' is not valid.");
    }
    if (auto owner = owner_.lock()) {
        auto other = owner->findByName(target.name);
        if (other && other.get() != this) {
            throw AutomationError(vberr::ApplicationDefined,
                                  "Cannot save '" + target.name + "' with the same name as another open workbook.");
        }
    }
    writeTo(target.folder, target.name);
}

void SimWorkbook::Close() {
    pass("Close");
    requireOpen();
    closed_ = true;
    if (auto owner = owner_.lock()) owner->remove(this);
}

void SimWorkbook::Activate() {
    pass("Activate");
    requireOpen();
    bringToFront();
}

void SimWorkbook::bringToFront() {
    if (auto owner = owner_.lock()) owner->activate(shared_from_this());
}

// --- SimWorkbooks -----------------------------------------------------------------------------------------

SimWorkbooks::SimWorkbooks(std::weak_ptr<ExcelApplication> application, GatePtr gate)
    : application_(std::move(application)), gate_(std::move(gate)) {}

std::shared_ptr<SimWorkbook> SimWorkbooks::adopt(std::shared_ptr<SimWorkbook> workbook, bool active) {
    if (auto number = bookNumber(workbook->name())) nextBookNumber_ = std::max(nextBookNumber_, *number + 1);
    books_.push_back(workbook);
    if (active || !active_.lock()) active_ = workbook;
    return workbook;
}

void SimWorkbooks::activate(const std::shared_ptr<SimWorkbook>& workbook) { active_ = workbook; }

void SimWorkbooks::remove(const SimWorkbook* workbook) {
    books_.erase(std::remove_if(books_.begin(), books_.end(), [&](const auto& b) { return b.get() == workbook; }),
                 books_.end());
    auto active = active_.lock();
    if (!active || active.get() == workbook) {
        active_.reset();
        if (!books_.empty()) active_ = books_.back();
    }
}

WorkbookPtr SimWorkbooks::activeWorkbook() const { return active_.lock(); }

std::shared_ptr<SimWorkbook> SimWorkbooks::findByName(const std::string& name) const {
    for (const auto& book : books_) {
        if (equalsIgnoringCase(book->name(), name)) return book;
    }
    return nullptr;
}

int SimWorkbooks::Count() {
    pass("Count");
    return static_cast<int>(books_.size());
}

WorkbookPtr SimWorkbooks::Item(const Variant& indexOrName) {
    pass("Item");
    if (indexOrName.isString()) {
        if (auto book = findByName(indexOrName.asStringRaw())) return book;
        throw subscriptOutOfRange();
    }
    auto index = indexValue(indexOrName);
    if (!index || *index < 1 || *index > static_cast<long long>(books_.size())) throw subscriptOutOfRange();
    return books_[static_cast<std::size_t>(*index - 1)];
}

std::vector<WorkbookPtr> SimWorkbooks::Enumerate() {
    pass("_NewEnum");
    return {books_.begin(), books_.end()};
}

WorkbookPtr SimWorkbooks::Open(const std::string& fileName) {
    pass("Open");
    const std::string notFound = "'" + fileName +
                                 "' could not be found. Check the spelling of the file name, and verify that the "
                                 "file location is correct.";
    if (fileName.empty()) throw AutomationError(vberr::ApplicationDefined, notFound);
    SplitPath target;
    try {
        target = splitPath(fileName);
    } catch (const std::exception&) {
        throw AutomationError(vberr::ApplicationDefined, notFound);
    }
    if (target.name.empty()) throw AutomationError(vberr::ApplicationDefined, notFound);
    if (auto open = findByName(target.name)) {
        active_ = open;
        return open;
    }
    const std::string path = joinPath(target.folder, target.name);
    std::error_code error;
    if (!fs::is_regular_file(filePath(path), error)) throw AutomationError(vberr::ApplicationDefined, notFound);

    xls::WorkbookData data;
    try {
        data = xls::readWorkbook(path);
    } catch (const std::exception& e) {
        throw AutomationError(vberr::ApplicationDefined,
                              "Excel cannot open the file '" + target.name + "': " + std::string(e.what()));
    }
    auto book = std::make_shared<SimWorkbook>(weak_from_this(), target.name, target.folder);
    book->load(data);
    return adopt(book, true);
}

WorkbookPtr SimWorkbooks::Add() {
    pass("Add");
    auto book = std::make_shared<SimWorkbook>(weak_from_this(), "Book" + std::to_string(nextBookNumber_), "");
    for (int i = 1; i <= 3; ++i) book->addSheetAtEnd("Sheet" + std::to_string(i));
    return adopt(book, true);
}

}  // namespace tessaline::automation::sim
