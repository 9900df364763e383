#include "automation/com/ComHosts.h"

#include "automation/AutomationError.h"
#include "automation/com/ComCommandBars.h"
#include "automation/com/ComExcelParts.h"
#include "automation/com/ComVbProjects.h"

namespace tessaline::automation::com {

ObjectPtr wrapApplication(ComPtr<IDispatch> object, const std::string& hostKey,
                          const std::shared_ptr<ComSession>& session) {
    if (!object) return nullptr;
    const auto context = std::make_shared<ComContext>(ComContext{hostKey, session});
    if (hostKey == "Excel") return std::make_shared<ComExcel>(std::move(object), context);
    if (hostKey == "Outlook") return std::make_shared<ComOutlook>(std::move(object), context);
    if (hostKey == "VBE") return std::make_shared<ComVbe>(std::move(object), context);
    return std::make_shared<ComApplication>(std::move(object), context);
}

ObjectPtr wrapHost(ComPtr<IDispatch> object, const ContextPtr& context) {
    if (!object) return nullptr;
    // Outlook's bars belong to its explorer, not to the application.
    if (context->hostKey == "Outlook") return std::make_shared<ComExplorer>(std::move(object), context);
    if (context->hostKey == "Excel") return std::make_shared<ComExcel>(std::move(object), context);
    if (context->hostKey == "VBE") return std::make_shared<ComVbe>(std::move(object), context);
    return std::make_shared<ComApplication>(std::move(object), context);
}

// ---- Word, PowerPoint, Access ----

ComApplication::ComApplication(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "Application", this) {}

CommandBarsPtr ComApplication::CommandBars() { return wrapCommandBars(d_.getObject("CommandBars"), d_.context()); }
std::string ComApplication::Name() { return d_.getString("Name"); }

// ---- Excel ----

ComExcel::ComExcel(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "Application", this) {}

CommandBarsPtr ComExcel::CommandBars() { return wrapCommandBars(d_.getObject("CommandBars"), d_.context()); }
std::string ComExcel::Name() { return d_.getString("Name"); }

WorkbooksPtr ComExcel::Workbooks() {
    auto object = d_.getObject("Workbooks");
    if (!object) return nullptr;
    return std::make_shared<ComWorkbooks>(std::move(object), d_.context());
}

WorkbookPtr ComExcel::ActiveWorkbook() { return wrapWorkbook(d_.getObject("ActiveWorkbook"), d_.context()); }

VbePtr ComExcel::VBE() {
    auto object = d_.getObject("VBE");
    if (!object) return nullptr;
    return std::make_shared<ComVbe>(std::move(object), d_.context()->sibling("VBE"));
}

bool ComExcel::ScreenUpdating() { return d_.getBool("ScreenUpdating"); }
void ComExcel::SetScreenUpdating(bool on) { d_.put("ScreenUpdating", on); }

RangePtr ComExcel::Union(const std::vector<RangePtr>& ranges) {
    if (ranges.empty()) throw invalidCall();
    Args args;
    for (const auto& range : ranges) {
        IDispatch* object = dispatchOf(range);
        if (!object) throw objectNotSet();
        args.add(object);
    }
    return wrapRange(d_.callObject("Union", args), d_.context());
}

RangePtr ComExcel::Intersect(const RangePtr& a, const RangePtr& b) {
    IDispatch* first = dispatchOf(a);
    IDispatch* second = dispatchOf(b);
    if (!first || !second) throw objectNotSet();
    return wrapRange(d_.callObject("Intersect", Args().add(first).add(second)), d_.context());
}

// ---- The VBA editor ----

ComVbeWindow::ComVbeWindow(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "Window", this) {}

int ComVbeWindow::WindowState() { return d_.getInt("WindowState"); }
void ComVbeWindow::SetWindowState(int state) { d_.put("WindowState", state); }
bool ComVbeWindow::Visible() { return d_.getBool("Visible"); }
void ComVbeWindow::SetVisible(bool visible) { d_.put("Visible", visible); }

ComVbe::ComVbe(ComPtr<IDispatch> object, const ContextPtr& context) : d_(std::move(object), context, "VBE", this) {}

CommandBarsPtr ComVbe::CommandBars() { return wrapCommandBars(d_.getObject("CommandBars"), d_.context()); }
std::string ComVbe::Name() { return d_.getString("Name"); }

std::shared_ptr<VbeWindow> ComVbe::MainWindow() {
    auto object = d_.getObject("MainWindow");
    if (!object) return nullptr;
    return std::make_shared<ComVbeWindow>(std::move(object), d_.context());
}

std::shared_ptr<VBProjects> ComVbe::VBProjects() {
    auto object = d_.getObject("VBProjects");
    if (!object) return nullptr;
    return std::make_shared<ComVBProjects>(std::move(object), d_.context());
}

// ---- Outlook ----

ComExplorer::ComExplorer(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "Explorer", this) {}

CommandBarsPtr ComExplorer::CommandBars() { return wrapCommandBars(d_.getObject("CommandBars"), d_.context()); }

std::string ComExplorer::Name() {
    // Outlook's explorer shows its name as Caption; a server that answers Name instead is asked that.
    try {
        return d_.getString("Caption");
    } catch (const AutomationError& e) {
        if (e.number() != vberr::NoSuchMember) throw;
    }
    return d_.getString("Name");
}

ComOutlook::ComOutlook(ComPtr<IDispatch> object, const ContextPtr& context)
    : d_(std::move(object), context, "Application", this) {}

std::string ComOutlook::Name() { return d_.getString("Name"); }

std::shared_ptr<OutlookExplorer> ComOutlook::ActiveExplorer() {
    auto object = d_.getObject("ActiveExplorer");
    if (!object) return nullptr;
    return std::make_shared<ComExplorer>(std::move(object), d_.context());
}

}  // namespace tessaline::automation::com
