#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/Office.h"

namespace tessaline::automation {

namespace xl {
constexpr int Up = -4162;
constexpr int Down = -4121;
constexpr int ToLeft = -4159;
constexpr int ToRight = -4161;
constexpr int Values = -4163;
constexpr int Formulas = -4123;
constexpr int MaxRows = 65536;
constexpr int MaxColumns = 256;
}  // namespace xl

class Range;
class Worksheet;
class Workbook;
class Workbooks;
class Vbe;
using RangePtr = std::shared_ptr<Range>;
using WorksheetPtr = std::shared_ptr<Worksheet>;
using WorkbookPtr = std::shared_ptr<Workbook>;
using WorkbooksPtr = std::shared_ptr<Workbooks>;
using VbePtr = std::shared_ptr<Vbe>;

// A set of cells of one sheet: one or more rectangular areas. Rows and columns are 1-based.
class Range : public Object {
public:
    std::string TypeName() const override { return "Range"; }

    virtual WorksheetPtr Worksheet() = 0;
    // Value of the first cell; writing sets every cell and converts text like typed input.
    virtual Variant Value() = 0;
    virtual void SetValue(const Variant& value) = 0;
    // The first cell as displayed: numbers in General format, Booleans as TRUE/FALSE.
    virtual std::string Text() = 0;
    virtual RangePtr CurrentRegion() = 0;
    virtual int RowsCount() = 0;     // Rows.Count of the first area
    virtual int ColumnsCount() = 0;  // Columns.Count of the first area
    virtual int Count() = 0;         // number of cells
    virtual int AreasCount() = 0;
    virtual RangePtr Area(int index) = 0;
    // For Each cell: area by area, row by row.
    virtual std::vector<RangePtr> Cells() = 0;
    // Cells(row, column) relative to the top-left cell of the first area.
    virtual RangePtr Cell(int row, int column) = 0;
    virtual int Row() = 0;
    virtual int Column() = 0;
    virtual std::string Address(bool rowAbsolute = true, bool columnAbsolute = true) = 0;
    virtual RangePtr Offset(int rows, int columns) = 0;
    virtual RangePtr End(int direction) = 0;
    // Find(What, LookIn): nullptr when nothing matches.
    virtual RangePtr Find(const Variant& what, const Optional& lookIn = std::nullopt) = 0;
    virtual void ClearContents() = 0;
};

class Worksheet : public Object {
public:
    std::string TypeName() const override { return "Worksheet"; }

    virtual std::string Name() = 0;
    virtual void SetName(const std::string& name) = 0;
    virtual int Index() = 0;
    virtual WorkbookPtr Parent() = 0;
    // Range("A1"), Range("A1:K30"), Range("A1:A" & n), "A:A", "1:1".
    virtual RangePtr Range(const std::string& address) = 0;
    virtual RangePtr Range(const RangePtr& cell1, const RangePtr& cell2) = 0;
    virtual RangePtr Cells(int row, int column) = 0;
    virtual RangePtr UsedRange() = 0;
    virtual void Activate() = 0;
};

class Workbook : public Object {
public:
    std::string TypeName() const override { return "Workbook"; }

    virtual std::string Name() = 0;      // the file name, "Book1" before the first save
    virtual std::string FullName() = 0;  // path and name
    virtual std::string Path() = 0;
    virtual int WorksheetCount() = 0;
    // Worksheets(index or name); raises "Subscript out of range" when absent.
    virtual WorksheetPtr Worksheets(const Variant& indexOrName) = 0;
    virtual WorksheetPtr AddWorksheet(const std::string& name = "") = 0;
    virtual WorksheetPtr ActiveSheet() = 0;
    virtual bool Saved() = 0;
    virtual void Save() = 0;
    virtual void SaveAs(const std::string& fileName) = 0;
    virtual void Close() = 0;
    virtual void Activate() = 0;
};

class Workbooks : public Object {
public:
    std::string TypeName() const override { return "Workbooks"; }

    virtual int Count() = 0;
    // By index or by file name ignoring case; raises "Subscript out of range" when absent.
    virtual WorkbookPtr Item(const Variant& indexOrName) = 0;
    virtual std::vector<WorkbookPtr> Enumerate() = 0;
    // Opens a real .xls file; raises an automation error naming the file when it is missing or unreadable.
    virtual WorkbookPtr Open(const std::string& fileName) = 0;
    virtual WorkbookPtr Add() = 0;
};

class ExcelApplication : public CommandBarHost {
public:
    std::string TypeName() const override { return "Application"; }

    virtual WorkbooksPtr Workbooks() = 0;
    virtual WorkbookPtr ActiveWorkbook() = 0;
    virtual VbePtr VBE() = 0;
    virtual bool ScreenUpdating() = 0;
    virtual void SetScreenUpdating(bool on) = 0;
    // Union keeps each cell once; Intersect of disjoint ranges is nullptr (Nothing). Ranges of different
    // sheets raise an error.
    virtual RangePtr Union(const std::vector<RangePtr>& ranges) = 0;
    virtual RangePtr Intersect(const RangePtr& a, const RangePtr& b) = 0;
};

}  // namespace tessaline::automation
