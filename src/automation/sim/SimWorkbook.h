#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/Excel.h"
#include "automation/sim/CallGate.h"
#include "automation/sim/SimWorksheet.h"

namespace tessaline::xls {
struct WorkbookData;
}

namespace tessaline::automation::sim {

class SimWorkbooks;

class SimWorkbook final : public Workbook, public std::enable_shared_from_this<SimWorkbook> {
public:
    // `folder` is "" for a workbook never saved; `name` is then its caption ("Book1").
    SimWorkbook(std::weak_ptr<SimWorkbooks> owner, std::string name, std::string folder);

    // Replaces the sheets with the given contents (the workbook is then Saved).
    void load(const xls::WorkbookData& data);
    xls::WorkbookData snapshot() const;
    std::shared_ptr<SimWorksheet> addSheetAtEnd(const std::string& name);
    void setActiveSheetIndex(int zeroBased);
    int indexOf(const SimWorksheet* sheet) const;  // 1-based, 0 when not ours
    bool nameTakenByOther(const std::string& name, const SimWorksheet* except) const;
    void markChanged() { saved_ = false; }
    void setSaved(bool saved) { saved_ = saved; }
    bool closed() const { return closed_; }
    const std::string& name() const { return name_; }
    // "" for a workbook never saved.
    const std::string& folder() const { return folder_; }
    const GatePtr& gate() const { return gate_; }
    std::size_t sheetCount() const { return sheets_.size(); }
    const std::vector<std::shared_ptr<SimWorksheet>>& sheets() const { return sheets_; }
    std::shared_ptr<SimWorksheet> activeSheet() const { return active_.lock(); }
    // Makes the workbook Excel's active one, as the engine does for a sheet's Activate.
    void bringToFront();

    std::string Name() override;
    std::string FullName() override;
    std::string Path() override;
    int WorksheetCount() override;
    WorksheetPtr Worksheets(const Variant& indexOrName) override;
    WorksheetPtr AddWorksheet(const std::string& name = "") override;
    WorksheetPtr ActiveSheet() override;
    bool Saved() override;
    void Save() override;
    void SaveAs(const std::string& fileName) override;
    void Close() override;
    void Activate() override;

private:
    void requireOpen() const;
    void pass(const char* member) const { sim::pass(gate_, "Workbook", member); }
    void saveAs(const std::string& fileName);
    void writeTo(const std::string& folder, const std::string& name);

    std::weak_ptr<SimWorkbooks> owner_;
    GatePtr gate_;  // the Excel's, taken when the workbook is made
    std::string name_;
    std::string folder_;
    std::vector<std::shared_ptr<SimWorksheet>> sheets_;
    std::weak_ptr<SimWorksheet> active_;
    bool saved_ = true;
    bool closed_ = false;
};

// The open workbooks of the in-memory Excel, in the order they were opened.
class SimWorkbooks final : public Workbooks, public std::enable_shared_from_this<SimWorkbooks> {
public:
    explicit SimWorkbooks(std::weak_ptr<ExcelApplication> application, GatePtr gate = nullptr);
    const GatePtr& gate() const { return gate_; }

    // Builds a workbook from content; it joins the collection. `active` makes it the active workbook.
    std::shared_ptr<SimWorkbook> adopt(std::shared_ptr<SimWorkbook> workbook, bool active);
    void activate(const std::shared_ptr<SimWorkbook>& workbook);
    void remove(const SimWorkbook* workbook);
    // The workbook Excel shows in front: the last one opened, added or activated that is still open.
    WorkbookPtr activeWorkbook() const;
    std::shared_ptr<SimWorkbook> activeBook() const { return active_.lock(); }
    const std::vector<std::shared_ptr<SimWorkbook>>& books() const { return books_; }
    std::shared_ptr<SimWorkbook> findByName(const std::string& name) const;

    int Count() override;
    WorkbookPtr Item(const Variant& indexOrName) override;
    std::vector<WorkbookPtr> Enumerate() override;
    WorkbookPtr Open(const std::string& fileName) override;
    WorkbookPtr Add() override;

private:
    void pass(const char* member) const { sim::pass(gate_, "Workbooks", member); }

    std::weak_ptr<ExcelApplication> application_;
    GatePtr gate_;
    std::vector<std::shared_ptr<SimWorkbook>> books_;
    std::weak_ptr<SimWorkbook> active_;
    int nextBookNumber_ = 1;
};

// Case-insensitive comparison of ASCII letters; other characters compare exactly.
bool equalsIgnoringCase(const std::string& a, const std::string& b);

}  // namespace tessaline::automation::sim
