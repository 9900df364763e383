#pragma once

#include <initializer_list>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>

#include "automation/Excel.h"
#include "automation/sim/SimParts.h"

namespace tessaline::automation::sim::testing {

// A fresh in-memory Excel holding one workbook "Book1" with an empty "Sheet1", and the sheet.
struct ExcelSheet {
    WorkbooksPtr books;
    WorksheetPtr sheet;

    ExcelSheet() {
        books = makeWorkbooks({}, nlohmann::json::parse(R"([{"name": "Book1", "sheets": [{"name": "Sheet1"}]}])"),
                              "excel.json");
        sheet = books->Item("Book1")->Worksheets(1);
    }

    // Writes a value into each named cell: fill({"A1", "B2"}) puts "x" into both.
    void fill(std::initializer_list<const char*> addresses, const Variant& value = "x") {
        for (const char* address : addresses) sheet->Range(address)->SetValue(value);
    }

    std::string addressOf(const RangePtr& range) const { return range ? range->Address(false, false) : "Nothing"; }
};

}  // namespace tessaline::automation::sim::testing
