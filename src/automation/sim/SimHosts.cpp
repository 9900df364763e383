#include "automation/sim/SimHosts.h"

#include "automation/AutomationError.h"
#include "automation/sim/SimParts.h"
#include "automation/sim/SimWorkbook.h"

namespace tessaline::automation::sim {

namespace {

// Failures of the workbook and project models while reading content become content errors naming the file.
template <typename Build>
auto buildPart(const std::string& file, Build build) {
    try {
        return build();
    } catch (const ContentError&) {
        throw;
    } catch (const std::exception& e) {
        const std::string what = e.what();
        throw ContentError(what.rfind(file, 0) == 0 ? what : file + ": " + what);
    }
}

int showStateOf(int windowState) {
    switch (windowState) {
        case vbext::WindowMinimized:
            return sw::Minimized;
        case vbext::WindowMaximized:
            return sw::Maximized;
        default:
            return sw::Normal;
    }
}

}  // namespace

std::shared_ptr<SimApplication> SimApplication::create(const HostContent& content, std::shared_ptr<ActionLog> log,
                                                       GatePtr gate) {
    auto app = std::shared_ptr<SimApplication>(new SimApplication());
    app->gate_ = gate;
    app->name_ = content.name;
    app->bars_ = SimCommandBars::create(std::weak_ptr<CommandBarHost>(app), content.bars, std::move(log), gate);
    return app;
}

CommandBarsPtr SimApplication::CommandBars() {
    pass(gate_, "Application", "CommandBars");
    return bars_;
}

std::string SimApplication::Name() {
    pass(gate_, "Application", "Name");
    return name_;
}

int SimVbeWindow::WindowState() {
    pass(gate_, "Window", "WindowState");
    const auto link = link_.lock();
    const int show = link ? link->editorShowState() : -1;
    if (show == sw::Maximized) {
        return vbext::WindowMaximized;
    }
    if (show == sw::Minimized) {
        return vbext::WindowMinimized;
    }
    return show < 0 ? state_ : vbext::WindowNormal;
}

void SimVbeWindow::SetWindowState(int state) {
    pass(gate_, "Window", "WindowState=");
    if (state < vbext::WindowNormal || state > vbext::WindowMaximized) {
        throw invalidCall();
    }
    state_ = state;
    const auto link = link_.lock();
    if (link && link->editorShowState() >= 0) {
        link->setEditorShowState(showStateOf(state));
    }
}

bool SimVbeWindow::Visible() {
    pass(gate_, "Window", "Visible");
    const auto link = link_.lock();
    return link && link->editorVisible();
}

void SimVbeWindow::SetVisible(bool visible) {
    pass(gate_, "Window", "Visible=");
    const auto link = link_.lock();
    if (!link) {
        throw methodFailed("Visible", "Window");
    }
    const bool existed = link->editorShowState() >= 0;
    link->setEditorVisible(visible);
    if (visible && !existed) {
        link->setEditorShowState(showStateOf(state_));
    }
}

std::shared_ptr<SimVbe> SimVbe::create(const HostContent& content, std::shared_ptr<ActionLog> log,
                                       std::weak_ptr<EditorWindowLink> link, GatePtr gate) {
    auto vbe = std::shared_ptr<SimVbe>(new SimVbe());
    vbe->gate_ = gate;
    vbe->name_ = content.name;
    vbe->bars_ = SimCommandBars::create(std::weak_ptr<Vbe>(vbe), content.bars, std::move(log), gate);
    vbe->window_ = std::make_shared<SimVbeWindow>(std::move(link), gate);
    vbe->projects_ = buildPart(content.file, [&] { return makeVbProjects(content.vbProjects, content.file, gate); });
    return vbe;
}

CommandBarsPtr SimVbe::CommandBars() {
    pass(gate_, "VBE", "CommandBars");
    return bars_;
}

std::string SimVbe::Name() {
    pass(gate_, "VBE", "Name");
    return name_;
}

std::shared_ptr<VbeWindow> SimVbe::MainWindow() {
    pass(gate_, "VBE", "MainWindow");
    return window_;
}

std::shared_ptr<automation::VBProjects> SimVbe::VBProjects() {
    pass(gate_, "VBE", "VBProjects");
    return projects_;
}

std::shared_ptr<SimExcel> SimExcel::create(const HostContent& content, const HostContent* vbe,
                                           std::shared_ptr<ActionLog> log, std::weak_ptr<EditorWindowLink> link,
                                           GatePtr gate, GatePtr editorGate) {
    auto excel = std::shared_ptr<SimExcel>(new SimExcel());
    excel->gate_ = gate;
    excel->name_ = content.name;
    excel->bars_ = SimCommandBars::create(std::weak_ptr<ExcelApplication>(excel), content.bars, log, gate);
    excel->workbooks_ = buildPart(content.file, [&] {
        return makeWorkbooks(std::weak_ptr<ExcelApplication>(excel), content.workbooks, content.file, gate);
    });
    if (vbe) {
        excel->vbe_ = SimVbe::create(*vbe, std::move(log), std::move(link), std::move(editorGate));
    }
    return excel;
}

CommandBarsPtr SimExcel::CommandBars() {
    pass(gate_, "Application", "CommandBars");
    return bars_;
}

std::string SimExcel::Name() {
    pass(gate_, "Application", "Name");
    return name_;
}

WorkbooksPtr SimExcel::Workbooks() {
    pass(gate_, "Application", "Workbooks");
    return workbooks_;
}

bool SimExcel::ScreenUpdating() {
    pass(gate_, "Application", "ScreenUpdating");
    return screenUpdating_;
}

void SimExcel::SetScreenUpdating(bool on) {
    pass(gate_, "Application", "ScreenUpdating=");
    screenUpdating_ = on;
}

std::shared_ptr<SimWorkbooks> SimExcel::openWorkbooks() const {
    return std::dynamic_pointer_cast<SimWorkbooks>(workbooks_);
}

WorkbookPtr SimExcel::ActiveWorkbook() {
    pass(gate_, "Application", "ActiveWorkbook");
    return activeWorkbookOf(workbooks_);
}

VbePtr SimExcel::VBE() {
    pass(gate_, "Application", "VBE");
    if (!vbe_) {
        throw AutomationError(vberr::ApplicationDefined, "Programmatic access to Visual Basic Project is not trusted");
    }
    return vbe_;
}

RangePtr SimExcel::Union(const std::vector<RangePtr>& ranges) {
    pass(gate_, "Application", "Union");
    return unionOf(ranges);
}

RangePtr SimExcel::Intersect(const RangePtr& a, const RangePtr& b) {
    pass(gate_, "Application", "Intersect");
    return intersectOf(a, b);
}

std::shared_ptr<SimOutlookExplorer> SimOutlookExplorer::create(const HostContent& content,
                                                               std::shared_ptr<ActionLog> log, GatePtr gate) {
    auto explorer = std::shared_ptr<SimOutlookExplorer>(new SimOutlookExplorer());
    explorer->gate_ = gate;
    explorer->name_ = content.name;
    explorer->bars_ =
        SimCommandBars::create(std::weak_ptr<OutlookExplorer>(explorer), content.bars, std::move(log), gate);
    return explorer;
}

CommandBarsPtr SimOutlookExplorer::CommandBars() {
    pass(gate_, "Explorer", "CommandBars");
    return bars_;
}

std::string SimOutlookExplorer::Name() {
    pass(gate_, "Explorer", "Name");
    return name_;
}

SimOutlook::SimOutlook(const HostContent& content, std::shared_ptr<ActionLog> log, GatePtr gate)
    : gate_(gate),
      name_(content.name),
      explorer_(SimOutlookExplorer::create(content, std::move(log), gate)),
      explorerOpen_(content.explorer) {}

std::string SimOutlook::Name() {
    pass(gate_, "Application", "Name");
    return name_;
}

std::shared_ptr<OutlookExplorer> SimOutlook::ActiveExplorer() {
    pass(gate_, "Application", "ActiveExplorer");
    if (!explorerOpen_) {
        return nullptr;
    }
    return explorer_;
}

}  // namespace tessaline::automation::sim
