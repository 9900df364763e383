#include "automation/com/ComExcelParts.h"

#include "automation/AutomationError.h"

namespace tessaline::automation::com {

RangePtr wrapRange(ComPtr<IDispatch> object, const ContextPtr& context) {
    if (!object) return nullptr;
    return std::make_shared<ComRange>(std::move(object), context);
}

WorkbookPtr wrapWorkbook(ComPtr<IDispatch> object, const ContextPtr& context) {
    if (!object) return nullptr;
    return std::make_shared<ComWorkbook>(std::move(object), context);
}

WorksheetPtr wrapWorksheet(ComPtr<IDispatch> object, const ContextPtr& context) {
    if (!object) return nullptr;
    return std::make_shared<ComWorksheet>(std::move(object), context);
}

IDispatch* dispatchOf(const RangePtr& range) {
    if (!range) return nullptr;
    const auto* ours = dynamic_cast<const ComRange*>(range.get());
    if (!ours) throw invalidCall();
    return ours->dispatch();
}

// ---- Range ----

ComRange::ComRange(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "Range", this) {}

WorksheetPtr ComRange::Worksheet() { return wrapWorksheet(d_.getObject("Worksheet"), d_.context()); }
Variant ComRange::Value() { return valueOf(d_.get("Value")); }
void ComRange::SetValue(const Variant& value) { d_.put("Value", value); }
std::string ComRange::Text() { return d_.getString("Text"); }
RangePtr ComRange::CurrentRegion() { return wrapRange(d_.getObject("CurrentRegion"), d_.context()); }

int ComRange::countOf(const char* member, const char* collectionType) {
    const Dispatch collection(d_.getObject(member), d_.context(), collectionType, nullptr);
    return collection.getInt("Count");
}

int ComRange::RowsCount() { return countOf("Rows", "Range"); }
int ComRange::ColumnsCount() { return countOf("Columns", "Range"); }
int ComRange::Count() { return d_.getInt("Count"); }
int ComRange::AreasCount() { return countOf("Areas", "Areas"); }

RangePtr ComRange::Area(int index) {
    return wrapRange(d_.getObject("Areas", Args().add(Variant(index))), d_.context());
}

std::vector<RangePtr> ComRange::Cells() {
    const Dispatch cells(d_.getObject("Cells"), d_.context(), "Range", this);
    std::vector<RangePtr> out;
    for (auto& cell : cells.enumerateObjects()) out.push_back(wrapRange(std::move(cell), d_.context()));
    return out;
}

RangePtr ComRange::Cell(int row, int column) {
    return wrapRange(d_.getObject("Cells", Args().add(Variant(row)).add(Variant(column))), d_.context());
}

int ComRange::Row() { return d_.getInt("Row"); }
int ComRange::Column() { return d_.getInt("Column"); }

std::string ComRange::Address(bool rowAbsolute, bool columnAbsolute) {
    return d_.getString("Address", Args().add(Variant(rowAbsolute)).add(Variant(columnAbsolute)));
}

RangePtr ComRange::Offset(int rows, int columns) {
    return wrapRange(d_.getObject("Offset", Args().add(Variant(rows)).add(Variant(columns))), d_.context());
}

RangePtr ComRange::End(int direction) {
    return wrapRange(d_.getObject("End", Args().add(Variant(direction))), d_.context());
}

RangePtr ComRange::Find(const Variant& what, const Optional& lookIn) {
    Args args;
    args.named("What", Optional(what)).named("LookIn", lookIn);
    return wrapRange(d_.callObject("Find", args), d_.context());
}

void ComRange::ClearContents() { d_.call("ClearContents"); }

// ---- Worksheet ----

ComWorksheet::ComWorksheet(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "Worksheet", this) {}

std::string ComWorksheet::Name() { return d_.getString("Name"); }
void ComWorksheet::SetName(const std::string& name) { d_.put("Name", name); }
int ComWorksheet::Index() { return d_.getInt("Index"); }
WorkbookPtr ComWorksheet::Parent() { return wrapWorkbook(d_.getObject("Parent"), d_.context()); }

RangePtr ComWorksheet::Range(const std::string& address) {
    return wrapRange(d_.getObject("Range", Args().add(Variant(address))), d_.context());
}

RangePtr ComWorksheet::Range(const RangePtr& cell1, const RangePtr& cell2) {
    IDispatch* first = dispatchOf(cell1);
    IDispatch* second = dispatchOf(cell2);
    if (!first || !second) throw objectNotSet();
    return wrapRange(d_.getObject("Range", Args().add(first).add(second)), d_.context());
}

RangePtr ComWorksheet::Cells(int row, int column) {
    return wrapRange(d_.getObject("Cells", Args().add(Variant(row)).add(Variant(column))), d_.context());
}

RangePtr ComWorksheet::UsedRange() { return wrapRange(d_.getObject("UsedRange"), d_.context()); }
void ComWorksheet::Activate() { d_.call("Activate"); }

// ---- Workbook ----

ComWorkbook::ComWorkbook(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "Workbook", this) {}

Dispatch ComWorkbook::sheets() { return Dispatch(d_.getObject("Worksheets"), d_.context(), "Sheets", this); }

std::string ComWorkbook::Name() { return d_.getString("Name"); }
std::string ComWorkbook::FullName() { return d_.getString("FullName"); }
std::string ComWorkbook::Path() { return d_.getString("Path"); }
int ComWorkbook::WorksheetCount() { return sheets().getInt("Count"); }

WorksheetPtr ComWorkbook::Worksheets(const Variant& indexOrName) {
    return wrapWorksheet(d_.getObject("Worksheets", Args().add(indexOrName)), d_.context());
}

WorksheetPtr ComWorkbook::AddWorksheet(const std::string& name) {
    auto sheet = wrapWorksheet(sheets().callObject("Add"), d_.context());
    if (sheet && !name.empty()) sheet->SetName(name);
    return sheet;
}

WorksheetPtr ComWorkbook::ActiveSheet() { return wrapWorksheet(d_.getObject("ActiveSheet"), d_.context()); }
bool ComWorkbook::Saved() { return d_.getBool("Saved"); }
void ComWorkbook::Save() { d_.call("Save"); }
void ComWorkbook::SaveAs(const std::string& fileName) { d_.call("SaveAs", Args().add(Variant(fileName))); }
void ComWorkbook::Close() { d_.call("Close"); }
void ComWorkbook::Activate() { d_.call("Activate"); }

// ---- Workbooks ----

ComWorkbooks::ComWorkbooks(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "Workbooks", this) {}

int ComWorkbooks::Count() { return d_.getInt("Count"); }

WorkbookPtr ComWorkbooks::Item(const Variant& indexOrName) {
    return wrapWorkbook(d_.getObject("Item", Args().add(indexOrName)), d_.context());
}

std::vector<WorkbookPtr> ComWorkbooks::Enumerate() {
    std::vector<WorkbookPtr> out;
    for (auto& book : d_.enumerateObjects()) out.push_back(wrapWorkbook(std::move(book), d_.context()));
    return out;
}

WorkbookPtr ComWorkbooks::Open(const std::string& fileName) {
    return wrapWorkbook(d_.callObject("Open", Args().add(Variant(fileName))), d_.context());
}

WorkbookPtr ComWorkbooks::Add() { return wrapWorkbook(d_.callObject("Add"), d_.context()); }

}  // namespace tessaline::automation::com
