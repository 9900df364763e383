#include "automation/sim/SimParts.h"

#include <nlohmann/json.hpp>

#include "automation/AutomationError.h"

namespace tessaline::automation::sim {

namespace {

// Placeholder collections so the Excel host can be assembled before the workbook model lands.
class EmptyWorkbooks final : public Workbooks {
public:
    int Count() override { return 0; }
    WorkbookPtr Item(const Variant&) override { throw subscriptOutOfRange(); }
    std::vector<WorkbookPtr> Enumerate() override { return {}; }
    WorkbookPtr Open(const std::string& fileName) override
    {
        throw AutomationError(vberr::ApplicationDefined, "'" + fileName + "' could not be found.");
    }
    WorkbookPtr Add() override { throw applicationDefined(); }
};

class EmptyVbProjects final : public VBProjects {
public:
    int Count() override { return 0; }
    std::shared_ptr<VBProject> Item(const Variant&) override { throw subscriptOutOfRange(); }
    std::vector<std::shared_ptr<VBProject>> Enumerate() override { return {}; }
};

}  // namespace

WorkbooksPtr makeWorkbooks(std::weak_ptr<ExcelApplication>, const nlohmann::json&, const std::string&)
{
    return std::make_shared<EmptyWorkbooks>();
}

RangePtr unionOf(const std::vector<RangePtr>&)
{
    throw applicationDefined();
}

RangePtr intersectOf(const RangePtr&, const RangePtr&)
{
    return nullptr;
}

std::shared_ptr<VBProjects> makeVbProjects(const nlohmann::json&, const std::string&)
{
    return std::make_shared<EmptyVbProjects>();
}

}  // namespace tessaline::automation::sim
