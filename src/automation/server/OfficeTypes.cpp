#include "automation/server/OfficeTypes.h"

#include <objbase.h>
#include <oleauto.h>

#include <numeric>

#include "automation/AutomationError.h"
#include "automation/Desktop.h"
#include "automation/Excel.h"
#include "automation/OfficeMachine.h"
#include "automation/Vbe.h"
#include "automation/com/ComVariant.h"
#include "automation/server/ObjectServer.h"
#include "automation/sim/Content.h"
#include "automation/sim/SimRange.h"
#include "automation/sim/SimWorksheet.h"

namespace tessaline::automation::server {

namespace {

// Collections Office hands out that the C++ surface folds into their owners: Workbook.Worksheets without an
// index, Range.Areas, Range.Rows and Range.Columns.
class SheetsView final : public Object {
public:
    explicit SheetsView(WorkbookPtr book) : book(std::move(book)) {}
    std::string TypeName() const override { return "Sheets"; }
    WorkbookPtr book;
};

class AreasView final : public Object {
public:
    explicit AreasView(RangePtr range) : range(std::move(range)) {}
    std::string TypeName() const override { return "Areas"; }
    RangePtr range;
};

class LinesView final : public Object {
public:
    LinesView(RangePtr range, bool rows) : range(std::move(range)), rows(rows) {}
    std::string TypeName() const override { return "Range"; }
    RangePtr range;
    bool rows;
};

// A multi-cell Value is built cell by cell: more than this is refused as Excel runs out of memory.
constexpr long long MaxCellsAtOnce = 2'000'000;

AutomationError outOfMemory() { return {7, "Out of memory"}; }

// Each cell of a range for For Each, area by area, row by row, made when reached.
class CellSource final : public EnumSource {
public:
    CellSource(RangePtr range, std::vector<sim::CellRect> areas) : range_(std::move(range)), areas_(std::move(areas)) {
        for (const auto& a : areas_) total_ += static_cast<std::size_t>(a.cellCount());
    }
    std::size_t size() const override { return total_; }
    ObjectPtr at(std::size_t index) const override {
        for (std::size_t k = 0; k < areas_.size(); ++k) {
            const auto& a = areas_[k];
            const auto count = static_cast<std::size_t>(a.cellCount());
            if (index < count) {
                const int width = a.right - a.left + 1;
                const int row = static_cast<int>(index / static_cast<std::size_t>(width)) + 1;
                const int column = static_cast<int>(index % static_cast<std::size_t>(width)) + 1;
                return range_->Area(static_cast<int>(k) + 1)->Cell(row, column);
            }
            index -= count;
        }
        throw std::out_of_range("cell index");
    }

private:
    RangePtr range_;
    std::vector<sim::CellRect> areas_;
    std::size_t total_ = 0;
};

const sim::CellRect* firstArea(Range& range) {
    const auto* sim = dynamic_cast<sim::SimRange*>(&range);
    return sim && !sim->areas().empty() ? &sim->areas().front() : nullptr;
}

// Value of a block as Excel gives it: one cell as its value, more as a 1-based 2-D array of its first area.
void resultValue(Range& range, Call& c) {
    auto* simRange = dynamic_cast<sim::SimRange*>(&range);
    const sim::CellRect* area = firstArea(range);
    if (!simRange || !area || area->cellCount() == 1) {
        c.result(range.Value());
        return;
    }
    if (area->cellCount() > MaxCellsAtOnce) throw outOfMemory();
    const int rows = area->bottom - area->top + 1;
    const int columns = area->right - area->left + 1;
    SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(rows), 1}, {static_cast<ULONG>(columns), 1}};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
    if (!array) throw outOfMemory();
    const auto& store = simRange->sheet()->cells();
    for (int r = 0; r < rows; ++r) {
        for (int col = 0; col < columns; ++col) {
            const Variant* value = store.find(area->top + r, area->left + col);
            if (!value) continue;  // SafeArrayCreate left it Empty
            com::ComVariant cell(*value);
            LONG index[2] = {r + 1, col + 1};
            SafeArrayPutElement(array, index, cell.get());
        }
    }
    VARIANT out;
    VariantInit(&out);
    out.vt = VT_ARRAY | VT_VARIANT;
    out.parray = array;
    c.resultRaw(out);
}

// Value = x: one value goes into every cell; a 2-D array fills the cells it covers from the top-left of the
// first area, and a 1-D array is one row, written into every row as Excel does.
void assignValue(Range& range, Call& c) {
    const VARIANT* v = &c.assigned();
    if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
    if ((v->vt & VT_ARRAY) == 0) {
        range.SetValue(com::fromComVariant(*v));
        return;
    }
    SAFEARRAY* array = (v->vt & VT_BYREF) ? (v->pparray ? *v->pparray : nullptr) : v->parray;
    if (!array) throw typeMismatch();
    const UINT dims = SafeArrayGetDim(array);
    if (dims != 1 && dims != 2) throw typeMismatch();
    VARTYPE type = VT_EMPTY;
    SafeArrayGetVartype(array, &type);
    switch (type) {
        case VT_VARIANT:
        case VT_BSTR:
        case VT_BOOL:
        case VT_I1:
        case VT_UI1:
        case VT_I2:
        case VT_UI2:
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_R4:
        case VT_R8:
        case VT_DATE:
        case VT_CY:
            break;
        default:
            throw typeMismatch();  // objects, records: nothing a cell holds
    }
    LONG low[2] = {0, 0};
    LONG high[2] = {0, 0};
    for (UINT d = 0; d < dims; ++d) {
        SafeArrayGetLBound(array, d + 1, &low[d]);
        SafeArrayGetUBound(array, d + 1, &high[d]);
    }
    const sim::CellRect* area = firstArea(range);
    const LONG areaRows = area ? area->bottom - area->top + 1 : 1;
    const LONG areaColumns = area ? area->right - area->left + 1 : 1;
    const LONG rows = dims == 2 ? high[0] - low[0] + 1 : areaRows;
    const LONG columns = dims == 2 ? high[1] - low[1] + 1 : high[0] - low[0] + 1;
    if (static_cast<long long>(std::min(rows, areaRows)) * std::min(columns, areaColumns) > MaxCellsAtOnce) {
        throw outOfMemory();
    }
    for (LONG r = 0; r < std::min(rows, areaRows); ++r) {
        for (LONG col = 0; col < std::min(columns, areaColumns); ++col) {
            LONG index2[2] = {low[0] + r, low[1] + col};
            LONG index1[1] = {low[0] + col};
            LONG* index = dims == 2 ? index2 : index1;
            com::ComVariant element;
            if (type == VT_VARIANT) {
                SafeArrayGetElement(array, index, element.put());
            } else {
                // A typed array (of Double, BSTR, ...): read into a VARIANT of that type.
                VARIANT* slot = element.put();
                slot->vt = type;
                if (FAILED(SafeArrayGetElement(array, index, &slot->lVal))) slot->vt = VT_EMPTY;
            }
            range.Cell(static_cast<int>(r + 1), static_cast<int>(col + 1))
                ->SetValue(com::fromComVariant(*element.get()));
        }
    }
}

// Cells(n) and Item(n): the n-th cell of the first area, row by row.
RangePtr nthCell(Range& range, int n) {
    const int columns = range.ColumnsCount();
    if (n < 1 || columns < 1) throw applicationDefined();
    return range.Cell((n - 1) / columns + 1, (n - 1) % columns + 1);
}

// Item(row, column) and Item(n) of a range.
RangePtr cellAt(Range& r, const Call& c) {
    if (c.has(0) && c.has(1)) return r.Cell(c.longValue(0), c.longValue(1));
    if (c.has(0)) return nthCell(r, c.longValue(0));
    if (c.has(1)) return r.Cell(1, c.longValue(1));
    throw ComFailure(DISP_E_PARAMNOTOPTIONAL);
}

void cellOrItem(Range& r, Call& c) { c.result(cellAt(r, c)); }

RangePtr rangeArgument(Worksheet& sheet, const Call& c, std::size_t i) {
    const VARIANT* v = c.raw(i);
    if (!v) throw ComFailure(DISP_E_PARAMNOTOPTIONAL);
    if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
    if (v->vt == VT_DISPATCH || v->vt == VT_UNKNOWN) {
        auto range = c.objectAs<Range>(i);
        if (!range) throw ComFailure(DISP_E_TYPEMISMATCH);
        return range;
    }
    return sheet.Range(c.text(i));
}

std::vector<RangePtr> rangeArguments(const Call& c) {
    std::vector<RangePtr> ranges;
    for (std::size_t i = 0; i < c.count(); ++i) {
        if (!c.has(i)) continue;
        auto range = c.objectAs<Range>(i);
        if (!range) throw typeMismatch();
        ranges.push_back(std::move(range));
    }
    if (ranges.size() < 2) throw ComFailure(DISP_E_PARAMNOTOPTIONAL);
    return ranges;
}

// Cells(row, column) of a sheet, or Cells(n): the n-th cell counting row by row.
RangePtr sheetCell(Worksheet& sheet, const Call& c) {
    if (c.has(0) && c.has(1)) return sheet.Cells(c.longValue(0), c.longValue(1));
    if (c.has(1)) return sheet.Cells(1, c.longValue(1));
    const int n = c.longValue(0);
    if (n < 1 || n > xl::MaxRows * xl::MaxColumns) throw applicationDefined();
    return sheet.Cells((n - 1) / xl::MaxColumns + 1, (n - 1) % xl::MaxColumns + 1);
}

// The list members of a combo box; other controls do not have them.
ComboBoxPtr asCombo(CommandBarControl& control) {
    if (!sim::isComboType(control.Type())) throw noSuchMember();
    return control.AsComboBox();
}

std::vector<std::string> numberedParams(const char* stem, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back(stem + std::to_string(i));
    return names;
}

// ---- Command bars --------------------------------------------------------------------------------------

TypeTable commandBarsTable() {
    return TypeBuilder<CommandBars>("CommandBars")
        .get("Count", [](CommandBars& b, Call& c) { c.result(b.Count()); })
        .get("Item", {"Index"}, [](CommandBars& b, Call& c) { c.result(b.Item(c.value(0))); })
        .method("Add", {"Name", "Position", "MenuBar", "Temporary"},
                [](CommandBars& b, Call& c) {
                    c.result(b.Add(c.optional(0), c.optional(1), c.optional(2), c.optional(3)));
                })
        .method("FindControl", {"Type", "Id", "Tag", "Visible"},
                [](CommandBars& b, Call& c) {
                    c.result(b.FindControl(c.optional(0), c.optional(1), c.optional(2), c.optional(3)));
                })
        .defaultIs("Item")
        .enumerate<CommandBar>([](CommandBars& b) { return b.Enumerate(); })
        .build();
}

TypeTable commandBarTable() {
    return TypeBuilder<CommandBar>("CommandBar")
        .get("Index", [](CommandBar& b, Call& c) { c.result(b.Index()); })
        .prop(
            "Name", [](CommandBar& b, Call& c) { c.result(b.Name()); },
            [](CommandBar& b, Call& c) { b.SetName(c.assignedValue().toString()); })
        .prop(
            "NameLocal", [](CommandBar& b, Call& c) { c.result(b.NameLocal()); },
            [](CommandBar& b, Call& c) { b.SetNameLocal(c.assignedValue().toString()); })
        .get("BuiltIn", [](CommandBar& b, Call& c) { c.result(b.BuiltIn()); })
        .get("Type", [](CommandBar& b, Call& c) { c.result(b.Type()); })
        .prop(
            "Enabled", [](CommandBar& b, Call& c) { c.result(b.Enabled()); },
            [](CommandBar& b, Call& c) { b.SetEnabled(c.assignedValue().toBool()); })
        .prop(
            "Visible", [](CommandBar& b, Call& c) { c.result(b.Visible()); },
            [](CommandBar& b, Call& c) { b.SetVisible(c.assignedValue().toBool()); })
        .prop(
            "Position", [](CommandBar& b, Call& c) { c.result(b.Position()); },
            [](CommandBar& b, Call& c) { b.SetPosition(c.assignedValue()); })
        .prop(
            "Width", [](CommandBar& b, Call& c) { c.result(b.Width()); },
            [](CommandBar& b, Call& c) { b.SetWidth(c.assignedValue()); })
        .get("Height", [](CommandBar& b, Call& c) { c.result(b.Height()); })
        .get("Controls", [](CommandBar& b, Call& c) { c.result(b.Controls()); })
        .get("Parent", [](CommandBar& b, Call& c) { c.result(b.Parent()); })
        .method("Delete", [](CommandBar& b, Call&) { b.Delete(); })
        .method("Reset", [](CommandBar& b, Call&) { b.Reset(); })
        .method("FindControl", {"Type", "Id", "Tag", "Visible", "Recursive"},
                [](CommandBar& b, Call& c) {
                    c.result(b.FindControl(c.optional(0), c.optional(1), c.optional(2), c.optional(3), c.optional(4)));
                })
        .build();
}

TypeTable controlsTable() {
    return TypeBuilder<CommandBarControls>("CommandBarControls")
        .get("Count", [](CommandBarControls& s, Call& c) { c.result(s.Count()); })
        .get("Item", {"Index"}, [](CommandBarControls& s, Call& c) { c.result(s.Item(c.value(0))); })
        .method("Add", {"Type", "Id", "Parameter", "Before", "Temporary"},
                [](CommandBarControls& s, Call& c) {
                    c.result(s.Add(c.optional(0), c.optional(1), c.optional(2), c.optional(3), c.optional(4)));
                })
        .defaultIs("Item")
        .enumerate<CommandBarControl>([](CommandBarControls& s) { return s.Enumerate(); })
        .build();
}

// Every kind of control shares one table: the members a kind lacks answer "Object doesn't support this
// property or method", as the control itself decides.
TypeTable controlTable(bool button) {
    TypeBuilder<CommandBarControl> t(button ? "CommandBarButton" : "CommandBarControl");
    for (const char* name : {"Index", "Id", "BuiltIn", "Type", "ListCount"}) {
        t.get(name, [name](CommandBarControl& x, Call& c) { c.result(x.GetProperty(name)); });
    }
    for (const char* name : {"Caption", "BeginGroup", "Enabled", "Visible", "OnAction", "TooltipText", "Tag", "Width",
                             "FaceId", "Style", "ShortcutText", "Text"}) {
        t.prop(
            name, [name](CommandBarControl& x, Call& c) { c.result(x.GetProperty(name)); },
            [name](CommandBarControl& x, Call& c) { x.SetProperty(name, c.assignedValue()); });
    }
    t.get("Parent", [](CommandBarControl& x, Call& c) { c.result(x.Parent()); })
        .method("Copy", {"Bar", "Before"},
                [](CommandBarControl& x, Call& c) { c.result(x.Copy(c.objectAs<CommandBar>(0), c.optional(1))); })
        .method("Move", {"Bar", "Before"},
                [](CommandBarControl& x, Call& c) { x.Move(c.objectAs<CommandBar>(0), c.optional(1)); })
        .method("Delete", {"Temporary"}, [](CommandBarControl& x, Call& c) { x.Delete(c.optional(0)); })
        .method("Execute", [](CommandBarControl& x, Call&) { x.Execute(); })
        .get("Controls",
             [](CommandBarControl& x, Call& c) {
                 if (!sim::isPopupType(x.Type())) throw noSuchMember();
                 c.result(x.AsPopup()->Controls());
             })
        .get("CommandBar",
             [](CommandBarControl& x, Call& c) {
                 if (!sim::isPopupType(x.Type())) throw noSuchMember();
                 c.result(x.AsPopup()->CommandBar());
             })
        .method("AddItem", {"Text", "Index"},
                [](CommandBarControl& x, Call& c) { asCombo(x)->AddItem(c.text(0), c.optional(1)); })
        .method("RemoveItem", {"Index"}, [](CommandBarControl& x, Call& c) { asCombo(x)->RemoveItem(c.value(0)); })
        .method("Clear", [](CommandBarControl& x, Call&) { asCombo(x)->Clear(); })
        .get("List", {"Index"}, [](CommandBarControl& x, Call& c) { c.result(asCombo(x)->List(c.longValue(0))); });
    if (button) t.clickEvents();
    return t.build();
}

// ---- Hosts ---------------------------------------------------------------------------------------------

// Application.Quit. The host ends as the call returns: the objects its clients still hold are cut off once
// the call is over, so they fail the way Office's do after it has quit under them.
void quitHost(const Object& app, Call& c) {
    OfficeMachine& machine = c.server().machine();
    for (const char* key : {"Excel", "Word", "PowerPoint", "Access", "Outlook"}) {
        if (machine.host(key).get() == &app) {
            machine.stopHost(key);
            return;
        }
    }
}

TypeTable excelTable() {
    return TypeBuilder<ExcelApplication>("Application")
        .get("Name", [](ExcelApplication& a, Call& c) { c.result(a.Name()); })
        .get("CommandBars", [](ExcelApplication& a, Call& c) { c.result(a.CommandBars()); })
        .get("Workbooks", [](ExcelApplication& a, Call& c) { c.result(a.Workbooks()); })
        .get("ActiveWorkbook", [](ExcelApplication& a, Call& c) { c.result(a.ActiveWorkbook()); })
        .get("ActiveSheet",
             [](ExcelApplication& a, Call& c) {
                 const auto book = a.ActiveWorkbook();
                 c.result(book ? ObjectPtr(book->ActiveSheet()) : nullptr);
             })
        .get("VBE", [](ExcelApplication& a, Call& c) { c.result(a.VBE()); })
        .prop(
            "ScreenUpdating", [](ExcelApplication& a, Call& c) { c.result(a.ScreenUpdating()); },
            [](ExcelApplication& a, Call& c) { a.SetScreenUpdating(c.assignedValue().toBool()); })
        .method("Union", numberedParams("Arg", 30),
                [](ExcelApplication& a, Call& c) { c.result(a.Union(rangeArguments(c))); })
        .method("Intersect", numberedParams("Arg", 30),
                [](ExcelApplication& a, Call& c) {
                    const auto ranges = rangeArguments(c);
                    RangePtr common = ranges.front();
                    for (std::size_t i = 1; i < ranges.size() && common; ++i) common = a.Intersect(common, ranges[i]);
                    c.result(common);
                })
        .get("Application", [](ExcelApplication&, Call& c) { c.result(c.server().machine().host("Excel")); })
        .method("Quit", [](ExcelApplication& a, Call& c) { quitHost(a, c); })
        .build();
}

TypeTable simpleHostTable() {
    return TypeBuilder<CommandBarHost>("Application")
        .get("Name", [](CommandBarHost& a, Call& c) { c.result(a.Name()); })
        .get("CommandBars", [](CommandBarHost& a, Call& c) { c.result(a.CommandBars()); })
        .method("Quit", [](CommandBarHost& a, Call& c) { quitHost(a, c); })
        .build();
}

TypeTable explorerTable() {
    return TypeBuilder<OutlookExplorer>("Explorer")
        .get("CommandBars", [](OutlookExplorer& e, Call& c) { c.result(e.CommandBars()); })
        // Outlook shows an explorer's name as its Caption; the tool names the host's sheet by it.
        .get("Caption", [](OutlookExplorer& e, Call& c) { c.result(e.Name()); })
        .build();
}

TypeTable outlookTable() {
    return TypeBuilder<OutlookApplication>("Application")
        .get("Name", [](OutlookApplication& a, Call& c) { c.result(a.Name()); })
        .get("ActiveExplorer", [](OutlookApplication& a, Call& c) { c.result(a.ActiveExplorer()); })
        .method("Quit", [](OutlookApplication& a, Call& c) { quitHost(a, c); })
        .build();
}

// ---- Workbooks -----------------------------------------------------------------------------------------

TypeTable workbooksTable() {
    return TypeBuilder<Workbooks>("Workbooks")
        .get("Count", [](Workbooks& w, Call& c) { c.result(w.Count()); })
        .get("Item", {"Index"}, [](Workbooks& w, Call& c) { c.result(w.Item(c.value(0))); })
        .method("Open", {"Filename"}, [](Workbooks& w, Call& c) { c.result(w.Open(c.text(0))); })
        .method("Add", [](Workbooks& w, Call& c) { c.result(w.Add()); })
        .defaultIs("Item")
        .enumerate<Workbook>([](Workbooks& w) { return w.Enumerate(); })
        .build();
}

void sheetsOf(Workbook& w, Call& c) {
    if (c.has(0)) {
        c.result(w.Worksheets(c.value(0)));
    } else {
        c.result(std::make_shared<SheetsView>(c.self<Workbook>()));
    }
}

TypeTable workbookTable() {
    return TypeBuilder<Workbook>("Workbook")
        .get("Name", [](Workbook& w, Call& c) { c.result(w.Name()); })
        .get("FullName", [](Workbook& w, Call& c) { c.result(w.FullName()); })
        .get("Path", [](Workbook& w, Call& c) { c.result(w.Path()); })
        .get("Worksheets", {"Index"}, sheetsOf)
        .get("Sheets", {"Index"}, sheetsOf)
        .get("ActiveSheet", [](Workbook& w, Call& c) { c.result(w.ActiveSheet()); })
        .get("Saved", [](Workbook& w, Call& c) { c.result(w.Saved()); })
        .method("Save", [](Workbook& w, Call&) { w.Save(); })
        .method("SaveAs", {"Filename"}, [](Workbook& w, Call& c) { w.SaveAs(c.text(0)); })
        .method("Close", {"SaveChanges", "Filename"},
                [](Workbook& w, Call& c) {
                    const Optional save = c.optional(0);
                    if (save && save->toBool()) {
                        if (c.has(1)) {
                            w.SaveAs(c.text(1));
                        } else {
                            w.Save();
                        }
                    }
                    w.Close();
                })
        .method("Activate", [](Workbook& w, Call&) { w.Activate(); })
        .get("Application", [](Workbook&, Call& c) { c.result(c.server().machine().host("Excel")); })
        .get("Parent", [](Workbook&, Call& c) { c.result(c.server().machine().host("Excel")); })
        .build();
}

TypeTable sheetsTable() {
    return TypeBuilder<SheetsView>("Sheets")
        .get("Count", [](SheetsView& s, Call& c) { c.result(s.book->WorksheetCount()); })
        .get("Item", {"Index"}, [](SheetsView& s, Call& c) { c.result(s.book->Worksheets(c.value(0))); })
        .method("Add", {"Before", "After", "Count", "Type"},
                [](SheetsView& s, Call& c) {
                    // The in-memory workbook adds sheets at the end only.
                    if (c.has(0) || c.has(1) || c.has(2) || c.has(3)) throw ComFailure(E_NOTIMPL);
                    c.result(s.book->AddWorksheet());
                })
        .defaultIs("Item")
        .enumerate<Worksheet>([](SheetsView& s) {
            std::vector<WorksheetPtr> sheets;
            for (int i = 1; i <= s.book->WorksheetCount(); ++i) sheets.push_back(s.book->Worksheets(i));
            return sheets;
        })
        .build();
}

TypeTable worksheetTable() {
    return TypeBuilder<Worksheet>("Worksheet")
        .prop(
            "Name", [](Worksheet& w, Call& c) { c.result(w.Name()); },
            [](Worksheet& w, Call& c) { w.SetName(c.assignedValue().toString()); })
        .get("Index", [](Worksheet& w, Call& c) { c.result(w.Index()); })
        .get("Parent", [](Worksheet& w, Call& c) { c.result(w.Parent()); })
        .get("Range", {"Cell1", "Cell2"},
             [](Worksheet& w, Call& c) {
                 if (c.has(1)) {
                     c.result(w.Range(rangeArgument(w, c, 0), rangeArgument(w, c, 1)));
                 } else {
                     c.result(rangeArgument(w, c, 0));
                 }
             })
        .get("Cells", {"RowIndex", "ColumnIndex"},
             [](Worksheet& w, Call& c) {
                 if (!c.has(0) && !c.has(1)) {
                     c.result(w.Range("A1:IV65536"));
                 } else {
                     c.result(sheetCell(w, c));
                 }
             })
        .get("UsedRange", [](Worksheet& w, Call& c) { c.result(w.UsedRange()); })
        .method("Activate", [](Worksheet& w, Call&) { w.Activate(); })
        .get("Application", [](Worksheet&, Call& c) { c.result(c.server().machine().host("Excel")); })
        .build();
}

TypeTable rangeTable() {
    return TypeBuilder<Range>("Range")
        // rng = x and rng(1, 2) = x assign values; rng and rng(1, 2) read them.
        .prop(
            "_Default", {"RowIndex", "ColumnIndex"},
            [](Range& r, Call& c) {
                if (c.has(0) || c.has(1)) {
                    cellOrItem(r, c);
                } else {
                    resultValue(r, c);
                }
            },
            [](Range& r, Call& c) {
                if (c.has(0) || c.has(1)) {
                    assignValue(*cellAt(r, c), c);
                } else {
                    assignValue(r, c);
                }
            })
        .prop("Value", resultValue, assignValue)
        .get("Text", [](Range& r, Call& c) { c.result(r.Text()); })
        .get("CurrentRegion", [](Range& r, Call& c) { c.result(r.CurrentRegion()); })
        .get("Rows", [](Range&, Call& c) { c.result(std::make_shared<LinesView>(c.self<Range>(), true)); })
        .get("Columns", [](Range&, Call& c) { c.result(std::make_shared<LinesView>(c.self<Range>(), false)); })
        .get("Count", [](Range& r, Call& c) { c.result(r.Count()); })
        .get("Areas", {"Index"},
             [](Range& r, Call& c) {
                 if (c.has(0)) {
                     c.result(r.Area(c.longValue(0)));
                 } else {
                     c.result(std::make_shared<AreasView>(c.self<Range>()));
                 }
             })
        .get("Cells", {"RowIndex", "ColumnIndex"},
             [](Range& r, Call& c) {
                 if (c.has(0) || c.has(1)) {
                     cellOrItem(r, c);
                 } else {
                     c.result(c.self<Range>());
                 }
             })
        .get("Item", {"RowIndex", "ColumnIndex"}, cellOrItem)
        .get("Row", [](Range& r, Call& c) { c.result(r.Row()); })
        .get("Column", [](Range& r, Call& c) { c.result(r.Column()); })
        .get("Address", {"RowAbsolute", "ColumnAbsolute"},
             [](Range& r, Call& c) {
                 const Optional rows = c.optional(0);
                 const Optional columns = c.optional(1);
                 c.result(r.Address(rows ? rows->toBool() : true, columns ? columns->toBool() : true));
             })
        .get("Offset", {"RowOffset", "ColumnOffset"},
             [](Range& r, Call& c) {
                 const Optional rows = c.optional(0);
                 const Optional columns = c.optional(1);
                 c.result(r.Offset(rows ? rows->toLong() : 0, columns ? columns->toLong() : 0));
             })
        .get("End", {"Direction"}, [](Range& r, Call& c) { c.result(r.End(c.longValue(0))); })
        .method("Find",
                {"What", "After", "LookIn", "LookAt", "SearchOrder", "SearchDirection", "MatchCase", "MatchByte",
                 "SearchFormat"},
                [](Range& r, Call& c) {
                    // The in-memory Excel finds text inside cells by value or formula, from the top; it cannot
                    // honour a start cell, whole-cell matching, another order or case.
                    for (std::size_t i : {1, 3, 4, 5, 6, 7, 8}) {
                        if (c.has(i)) throw ComFailure(E_NOTIMPL);
                    }
                    c.result(r.Find(c.value(0), c.optional(2)));
                })
        .method("ClearContents", [](Range& r, Call&) { r.ClearContents(); })
        .get("Worksheet", [](Range& r, Call& c) { c.result(r.Worksheet()); })
        .get("Parent", [](Range& r, Call& c) { c.result(r.Worksheet()); })
        .defaultIs("_Default")
        .enumerateWith([](Range& r) -> std::unique_ptr<EnumSource> {
            const auto* sim = dynamic_cast<sim::SimRange*>(&r);
            if (!sim) return std::make_unique<ListSource<Range>>(r.Cells());
            // The range object outlives the call through the source; the served wrapper may go first.
            return std::make_unique<CellSource>(sim->sheet()->rangeOf(sim->areas()), sim->areas());
        })
        .build();
}

TypeTable linesTable() {
    return TypeBuilder<LinesView>("Range")
        .get("Count", [](LinesView& l, Call& c) { c.result(l.rows ? l.range->RowsCount() : l.range->ColumnsCount()); })
        .build();
}

TypeTable areasTable() {
    return TypeBuilder<AreasView>("Areas")
        .get("Count", [](AreasView& a, Call& c) { c.result(a.range->AreasCount()); })
        .get("Item", {"Index"}, [](AreasView& a, Call& c) { c.result(a.range->Area(c.longValue(0))); })
        .defaultIs("Item")
        .enumerate<Range>([](AreasView& a) {
            std::vector<RangePtr> areas;
            for (int i = 1; i <= a.range->AreasCount(); ++i) areas.push_back(a.range->Area(i));
            return areas;
        })
        .build();
}

// ---- The VBA editor ------------------------------------------------------------------------------------

TypeTable vbeTable() {
    return TypeBuilder<Vbe>("VBE")
        .get("CommandBars", [](Vbe& v, Call& c) { c.result(v.CommandBars()); })
        .get("MainWindow", [](Vbe& v, Call& c) { c.result(v.MainWindow()); })
        .get("VBProjects", [](Vbe& v, Call& c) { c.result(v.VBProjects()); })
        .build();
}

TypeTable vbProjectsTable() {
    return TypeBuilder<VBProjects>("VBProjects")
        .get("Count", [](VBProjects& p, Call& c) { c.result(p.Count()); })
        .get("Item", {"Index"}, [](VBProjects& p, Call& c) { c.result(p.Item(c.value(0))); })
        .defaultIs("Item")
        .enumerate<VBProject>([](VBProjects& p) { return p.Enumerate(); })
        .build();
}

TypeTable vbProjectTable() {
    return TypeBuilder<VBProject>("VBProject")
        .get("Name", [](VBProject& p, Call& c) { c.result(p.Name()); })
        .get("Protection", [](VBProject& p, Call& c) { c.result(p.Protection()); })
        .get("FileName", [](VBProject& p, Call& c) { c.result(p.FileName()); })
        .get("VBComponents", [](VBProject& p, Call& c) { c.result(p.VBComponents()); })
        .build();
}

TypeTable vbComponentsTable() {
    return TypeBuilder<VBComponents>("VBComponents")
        .get("Count", [](VBComponents& s, Call& c) { c.result(s.Count()); })
        .get("Item", {"Index"}, [](VBComponents& s, Call& c) { c.result(s.Item(c.value(0))); })
        .defaultIs("Item")
        .enumerate<VBComponent>([](VBComponents& s) { return s.Enumerate(); })
        .build();
}

TypeTable vbComponentTable() {
    return TypeBuilder<VBComponent>("VBComponent")
        .get("Type", [](VBComponent& v, Call& c) { c.result(v.Type()); })
        .get("Name", [](VBComponent& v, Call& c) { c.result(v.Name()); })
        .get("CodeModule", [](VBComponent& v, Call& c) { c.result(v.CodeModule()); })
        .build();
}

TypeTable codeModuleTable() {
    return TypeBuilder<CodeModule>("CodeModule")
        .get("CountOfLines", [](CodeModule& m, Call& c) { c.result(m.CountOfLines()); })
        .get("Lines", {"StartLine", "Count"},
             [](CodeModule& m, Call& c) { c.result(m.Lines(c.longValue(0), c.longValue(1))); })
        .method("AddFromString", {"String"}, [](CodeModule& m, Call& c) { m.AddFromString(c.text(0)); })
        .build();
}

TypeTable windowTable() {
    return TypeBuilder<VbeWindow>("Window")
        .prop(
            "WindowState", [](VbeWindow& w, Call& c) { c.result(w.WindowState()); },
            [](VbeWindow& w, Call& c) { w.SetWindowState(c.assignedValue().toLong()); })
        .prop(
            "Visible", [](VbeWindow& w, Call& c) { c.result(w.Visible()); },
            [](VbeWindow& w, Call& c) { w.SetVisible(c.assignedValue().toBool()); })
        .build();
}

TypeTable emptyTable() { return TypeBuilder<Object>("Object").build(); }

}  // namespace

const TypeTable& tableFor(const Object& object) {
    static const TypeTable commandBars = commandBarsTable();
    static const TypeTable commandBar = commandBarTable();
    static const TypeTable controls = controlsTable();
    static const TypeTable control = controlTable(false);
    static const TypeTable button = controlTable(true);
    static const TypeTable excel = excelTable();
    static const TypeTable simpleHost = simpleHostTable();
    static const TypeTable explorer = explorerTable();
    static const TypeTable outlook = outlookTable();
    static const TypeTable workbooks = workbooksTable();
    static const TypeTable workbook = workbookTable();
    static const TypeTable sheets = sheetsTable();
    static const TypeTable worksheet = worksheetTable();
    static const TypeTable range = rangeTable();
    static const TypeTable lines = linesTable();
    static const TypeTable areas = areasTable();
    static const TypeTable vbe = vbeTable();
    static const TypeTable vbProjects = vbProjectsTable();
    static const TypeTable vbProject = vbProjectTable();
    static const TypeTable vbComponents = vbComponentsTable();
    static const TypeTable vbComponent = vbComponentTable();
    static const TypeTable codeModule = codeModuleTable();
    static const TypeTable window = windowTable();
    static const TypeTable empty = emptyTable();

    Object& o = const_cast<Object&>(object);
    if (auto* x = dynamic_cast<CommandBarControl*>(&o)) {
        try {
            return sim::isButtonType(x->Type()) ? button : control;
        } catch (const std::exception&) {
            return control;  // a deleted control raises no events any more
        }
    }
    if (dynamic_cast<CommandBars*>(&o)) return commandBars;
    if (dynamic_cast<CommandBar*>(&o)) return commandBar;
    if (dynamic_cast<CommandBarControls*>(&o)) return controls;
    if (dynamic_cast<Range*>(&o)) return range;
    if (dynamic_cast<Worksheet*>(&o)) return worksheet;
    if (dynamic_cast<Workbook*>(&o)) return workbook;
    if (dynamic_cast<Workbooks*>(&o)) return workbooks;
    if (dynamic_cast<SheetsView*>(&o)) return sheets;
    if (dynamic_cast<LinesView*>(&o)) return lines;
    if (dynamic_cast<AreasView*>(&o)) return areas;
    if (dynamic_cast<ExcelApplication*>(&o)) return excel;
    if (dynamic_cast<Vbe*>(&o)) return vbe;
    if (dynamic_cast<OutlookExplorer*>(&o)) return explorer;
    if (dynamic_cast<OutlookApplication*>(&o)) return outlook;
    if (dynamic_cast<CommandBarHost*>(&o)) return simpleHost;
    if (dynamic_cast<VBProjects*>(&o)) return vbProjects;
    if (dynamic_cast<VBProject*>(&o)) return vbProject;
    if (dynamic_cast<VBComponents*>(&o)) return vbComponents;
    if (dynamic_cast<VBComponent*>(&o)) return vbComponent;
    if (dynamic_cast<CodeModule*>(&o)) return codeModule;
    if (dynamic_cast<VbeWindow*>(&o)) return window;
    return empty;
}

}  // namespace tessaline::automation::server
