#include "automation/sim/SimHosts.h"

#include "automation/AutomationError.h"
#include "automation/sim/SimParts.h"

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

std::shared_ptr<SimApplication> SimApplication::create(const HostContent& content, std::shared_ptr<ActionLog> log) {
    auto app = std::shared_ptr<SimApplication>(new SimApplication());
    app->name_ = content.name;
    app->bars_ = SimCommandBars::create(std::weak_ptr<CommandBarHost>(app), content.bars, std::move(log));
    return app;
}

int SimVbeWindow::WindowState() {
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
    const auto link = link_.lock();
    return link && link->editorVisible();
}

void SimVbeWindow::SetVisible(bool visible) {
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
                                       std::weak_ptr<EditorWindowLink> link) {
    auto vbe = std::shared_ptr<SimVbe>(new SimVbe());
    vbe->name_ = content.name;
    vbe->bars_ = SimCommandBars::create(std::weak_ptr<Vbe>(vbe), content.bars, std::move(log));
    vbe->window_ = std::make_shared<SimVbeWindow>(std::move(link));
    vbe->projects_ = buildPart(content.file, [&] { return makeVbProjects(content.vbProjects, content.file); });
    return vbe;
}

std::shared_ptr<SimExcel> SimExcel::create(const HostContent& content, const HostContent* vbe,
                                           std::shared_ptr<ActionLog> log, std::weak_ptr<EditorWindowLink> link) {
    auto excel = std::shared_ptr<SimExcel>(new SimExcel());
    excel->name_ = content.name;
    excel->bars_ = SimCommandBars::create(std::weak_ptr<ExcelApplication>(excel), content.bars, log);
    excel->workbooks_ = buildPart(content.file, [&] {
        return makeWorkbooks(std::weak_ptr<ExcelApplication>(excel), content.workbooks, content.file);
    });
    if (vbe) {
        excel->vbe_ = SimVbe::create(*vbe, std::move(log), std::move(link));
    }
    return excel;
}

WorkbookPtr SimExcel::ActiveWorkbook() { return activeWorkbookOf(workbooks_); }

VbePtr SimExcel::VBE() {
    if (!vbe_) {
        throw AutomationError(vberr::ApplicationDefined, "Programmatic access to Visual Basic Project is not trusted");
    }
    return vbe_;
}

RangePtr SimExcel::Union(const std::vector<RangePtr>& ranges) { return unionOf(ranges); }

RangePtr SimExcel::Intersect(const RangePtr& a, const RangePtr& b) { return intersectOf(a, b); }

std::shared_ptr<SimOutlookExplorer> SimOutlookExplorer::create(const HostContent& content,
                                                               std::shared_ptr<ActionLog> log) {
    auto explorer = std::shared_ptr<SimOutlookExplorer>(new SimOutlookExplorer());
    explorer->name_ = content.name;
    explorer->bars_ = SimCommandBars::create(std::weak_ptr<OutlookExplorer>(explorer), content.bars, std::move(log));
    return explorer;
}

SimOutlook::SimOutlook(const HostContent& content, std::shared_ptr<ActionLog> log)
    : name_(content.name),
      explorer_(SimOutlookExplorer::create(content, std::move(log))),
      explorerOpen_(content.explorer) {}

std::shared_ptr<OutlookExplorer> SimOutlook::ActiveExplorer() {
    if (!explorerOpen_) {
        return nullptr;
    }
    return explorer_;
}

}  // namespace tessaline::automation::sim
