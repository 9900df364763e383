#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/Excel.h"
#include "automation/com/Dispatch.h"

// Excel's workbooks, sheets and ranges reached over IDispatch.
namespace tessaline::automation::com {

RangePtr wrapRange(ComPtr<IDispatch> object, const ContextPtr& context);
WorkbookPtr wrapWorkbook(ComPtr<IDispatch> object, const ContextPtr& context);
WorksheetPtr wrapWorksheet(ComPtr<IDispatch> object, const ContextPtr& context);
// The IDispatch behind a range of this backend; null for Nothing, "Invalid procedure call" for another kind.
IDispatch* dispatchOf(const RangePtr& range);

class ComRange final : public Range {
public:
    ComRange(ComPtr<IDispatch> object, const ContextPtr& context);
    IDispatch* dispatch() const { return d_.get(); }

    WorksheetPtr Worksheet() override;
    Variant Value() override;
    void SetValue(const Variant& value) override;
    std::string Text() override;
    RangePtr CurrentRegion() override;
    int RowsCount() override;
    int ColumnsCount() override;
    int Count() override;
    int AreasCount() override;
    RangePtr Area(int index) override;
    std::vector<RangePtr> Cells() override;
    RangePtr Cell(int row, int column) override;
    int Row() override;
    int Column() override;
    std::string Address(bool rowAbsolute, bool columnAbsolute) override;
    RangePtr Offset(int rows, int columns) override;
    RangePtr End(int direction) override;
    RangePtr Find(const Variant& what, const Optional& lookIn) override;
    void ClearContents() override;

private:
    // A member of a member: Rows.Count, Areas.Count.
    int countOf(const char* member, const char* collectionType);

    Dispatch d_;
};

class ComWorksheet final : public Worksheet {
public:
    ComWorksheet(ComPtr<IDispatch> object, const ContextPtr& context);

    std::string Name() override;
    void SetName(const std::string& name) override;
    int Index() override;
    WorkbookPtr Parent() override;
    RangePtr Range(const std::string& address) override;
    RangePtr Range(const RangePtr& cell1, const RangePtr& cell2) override;
    RangePtr Cells(int row, int column) override;
    RangePtr UsedRange() override;
    void Activate() override;

private:
    Dispatch d_;
};

class ComWorkbook final : public Workbook {
public:
    ComWorkbook(ComPtr<IDispatch> object, const ContextPtr& context);

    std::string Name() override;
    std::string FullName() override;
    std::string Path() override;
    int WorksheetCount() override;
    WorksheetPtr Worksheets(const Variant& indexOrName) override;
    WorksheetPtr AddWorksheet(const std::string& name) override;
    WorksheetPtr ActiveSheet() override;
    bool Saved() override;
    void Save() override;
    void SaveAs(const std::string& fileName) override;
    void Close() override;
    void Activate() override;

private:
    Dispatch sheets();  // the Worksheets collection
    Dispatch d_;
};

class ComWorkbooks final : public Workbooks {
public:
    ComWorkbooks(ComPtr<IDispatch> object, const ContextPtr& context);

    int Count() override;
    WorkbookPtr Item(const Variant& indexOrName) override;
    std::vector<WorkbookPtr> Enumerate() override;
    WorkbookPtr Open(const std::string& fileName) override;
    WorkbookPtr Add() override;

private:
    Dispatch d_;
};

}  // namespace tessaline::automation::com
