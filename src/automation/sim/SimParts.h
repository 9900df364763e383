#pragma once

// The seams between the parts of the in-memory Office: the command-bar side (SimOffice and the host
// applications) builds the Excel workbooks and the VBA projects through these factories.

#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "automation/Excel.h"
#include "automation/Vbe.h"
#include "automation/sim/CallGate.h"

namespace tessaline::automation::sim {

// The workbooks of the in-memory Excel, from the "workbooks" array of the Excel content (may be null).
// `application` is the Excel that owns them (workbook.Parent.Application); `contentFile` names the file in
// error messages.
WorkbooksPtr makeWorkbooks(std::weak_ptr<ExcelApplication> application, const nlohmann::json& workbooks,
                           const std::string& contentFile, GatePtr gate = nullptr);

// The workbook in front (Application.ActiveWorkbook) among those `makeWorkbooks` made: the one marked active in
// the content, or the last one opened, added or activated; nullptr when none is open.
WorkbookPtr activeWorkbookOf(const WorkbooksPtr& workbooks);

// Application.Union and Application.Intersect of the in-memory Excel.
RangePtr unionOf(const std::vector<RangePtr>& ranges);
RangePtr intersectOf(const RangePtr& a, const RangePtr& b);

// The VBA projects of the in-memory Excel, from the "vbProjects" array of the VBA editor's content.
std::shared_ptr<VBProjects> makeVbProjects(const nlohmann::json& projects, const std::string& contentFile,
                                           GatePtr gate = nullptr);

}  // namespace tessaline::automation::sim
