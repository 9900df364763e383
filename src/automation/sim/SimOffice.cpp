#include "automation/sim/SimOffice.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>

#include "automation/AutomationError.h"
#include "automation/FaultPlan.h"
#include "automation/FilePath.h"
#include "automation/UserDataFolder.h"
#include "automation/sim/CallGate.h"
#include "automation/sim/Content.h"
#include "automation/sim/KeptBars.h"
#include "automation/sim/SimHosts.h"
#include "automation/sim/SimParts.h"

#ifndef TESSALINE_DEFAULT_DATA_DIR
#define TESSALINE_DEFAULT_DATA_DIR "data"
#endif

namespace tessaline::automation::sim {

namespace {

struct HostKind {
    const char* key;
    const char* file;
    const char* progId;  // "" for the editor, which is reached through Excel
    const char* windowClass;
};

constexpr HostKind Kinds[] = {
    {"Excel", "excel.json", "Excel.Application", "XLMAIN"},
    {"Word", "word.json", "Word.Application", "OpusApp"},
    {"PowerPoint", "powerpoint.json", "PowerPoint.Application", "PP11FrameClass"},
    {"Access", "access.json", "Access.Application", "OMain"},
    {"Outlook", "outlook.json", "Outlook.Application", "rctrl_renwnd32"},
    {"VBE", "vbe.json", "", "wndclass_desked_gsk"},
};

const HostKind* kindOf(std::string_view key) {
    for (const auto& k : Kinds) {
        if (sameName(k.key, key)) {
            return &k;
        }
    }
    return nullptr;
}

bool isAltF11(std::string_view keys) { return sameName(keys, "%{F11}"); }

}  // namespace

// Everything the in-memory Office holds. Shared with the objects handed out (the shell, the editor's
// window), which reach it weakly and so outlive it harmlessly.
class Machine final : public EditorWindowLink, public std::enable_shared_from_this<Machine> {
public:
    struct Window {
        WindowHandle handle;
        std::string windowClass;
        std::string hostKey;
        bool visible;
        int showState;
    };

    std::map<std::string, HostContent> content;  // by host key, installed hosts only
    std::shared_ptr<SimExcel> excel;
    std::map<std::string, std::shared_ptr<SimApplication>> apps;  // Word, PowerPoint, Access
    std::shared_ptr<SimOutlook> outlook;
    std::vector<Window> windows;  // front to back
    WindowHandle foreground = 0;
    WindowHandle nextHandle = 0x00010010;
    std::vector<std::string> sentKeys;
    std::shared_ptr<ActionLog> log = std::make_shared<ActionLog>();
    std::shared_ptr<FaultPlan> faults = std::make_shared<FaultPlan>();
    // The gate of each running host's objects; a host that quits closes its gate for good.
    std::map<std::string, GatePtr> gates;
    // The bars users keep between runs; null when this Office keeps nothing.
    std::unique_ptr<BarKeeper> keeper;

    const HostContent* contentOf(const std::string& key) const {
        const auto it = content.find(key);
        return it == content.end() ? nullptr : &it->second;
    }

    std::string classFor(const std::string& key) const {
        const auto* c = contentOf(key);
        return c && !c->windowClass.empty() ? c->windowClass : kindOf(key)->windowClass;
    }

    Window* window(WindowHandle handle) {
        const auto it =
            std::find_if(windows.begin(), windows.end(), [&](const Window& w) { return w.handle == handle; });
        return it == windows.end() ? nullptr : &*it;
    }

    Window* windowOfHost(const std::string& key) {
        const auto it = std::find_if(windows.begin(), windows.end(), [&](const Window& w) { return w.hostKey == key; });
        return it == windows.end() ? nullptr : &*it;
    }

    Window& openWindow(const std::string& key) {
        if (auto* w = windowOfHost(key)) {
            return *w;
        }
        windows.push_back({nextHandle, classFor(key), key, true, sw::Normal});
        nextHandle += 0x10;
        return windows.back();
    }

    void closeWindow(const std::string& key) {
        if (auto* w = windowOfHost(key)) {
            if (foreground == w->handle) {
                foreground = 0;
            }
            const WindowHandle handle = w->handle;
            std::erase_if(windows, [handle](const Window& x) { return x.handle == handle; });
        }
    }

    void raise(WindowHandle handle) {
        const auto it =
            std::find_if(windows.begin(), windows.end(), [&](const Window& w) { return w.handle == handle; });
        if (it != windows.end()) {
            std::rotate(windows.begin(), it, it + 1);
            foreground = handle;
        }
    }

    bool running(const std::string& key) const {
        if (key == "Excel") {
            return excel != nullptr;
        }
        if (key == "Outlook") {
            return outlook != nullptr;
        }
        if (key == "VBE") {
            const auto it =
                std::find_if(windows.begin(), windows.end(), [](const Window& w) { return w.hostKey == "VBE"; });
            return excel && it != windows.end() && it->visible;
        }
        return apps.count(key) != 0;
    }

    GatePtr newGate(const std::string& key) {
        auto& gate = gates[key];
        if (gate) gate->stop();  // objects of an earlier run of the host stay dead
        gate = std::make_shared<CallGate>(key, faults);
        return gate;
    }

    // The bars of a running host, reached as a person sees them: not a call of the tool.
    std::shared_ptr<SimCommandBars> barsOf(const std::string& key) {
        const FaultPlan::Pause pause(faults.get());
        CommandBarsPtr bars;
        if (key == "Excel" && excel) {
            bars = excel->CommandBars();
        } else if (key == "VBE" && excel && excel->editor()) {
            bars = excel->editor()->CommandBars();
        } else if (key == "Outlook" && outlook && outlook->explorer()) {
            bars = outlook->explorer()->CommandBars();
        } else if (const auto app = apps.find(key); app != apps.end()) {
            bars = app->second->CommandBars();
        }
        return std::dynamic_pointer_cast<SimCommandBars>(bars);
    }

    void restoreKept(const std::string& key) {
        const auto* c = contentOf(key);
        const auto bars = keeper && c ? barsOf(key) : nullptr;
        if (bars) keeper->restore(key, kindOf(key)->file, *c, *bars);
    }

    void keepKept(const std::string& key) {
        const auto* c = contentOf(key);
        const auto bars = keeper && c ? barsOf(key) : nullptr;
        if (bars) keeper->keep(key, kindOf(key)->file, *c, *bars);
    }

    void start(const std::string& key) {
        const HostContent& c = content.at(key);
        if (key == "Excel") {
            auto gate = newGate("Excel");
            excel = SimExcel::create(c, contentOf("VBE"), log, weak_from_this(), gate, newGate("VBE"));
            restoreKept("Excel");
            restoreKept("VBE");
        } else if (key == "Outlook") {
            outlook = std::make_shared<SimOutlook>(c, log, newGate(key));
            restoreKept(key);
            if (!outlook->explorerOpen()) {
                return;  // Outlook without an explorer shows no main window
            }
        } else {
            apps[key] = SimApplication::create(c, log, newGate(key));
            restoreKept(key);
        }
        openWindow(key);
    }

    void stopGate(const std::string& key) {
        if (const auto it = gates.find(key); it != gates.end()) {
            it->second->stop();
            gates.erase(it);
        }
    }

    void stop(const std::string& key) {
        // A host writes its bars as it quits, as Office writes its toolbar file.
        if (key != "VBE" && running(key)) {
            keepKept(key);
            if (key == "Excel") keepKept("VBE");
        }
        if (key != "VBE") {
            stopGate(key);
        }
        if (key == "Excel") {
            stopGate("VBE");  // the editor lives inside Excel
            excel.reset();
            closeWindow("VBE");
        } else if (key == "Outlook") {
            outlook.reset();
        } else if (key != "VBE") {
            apps.erase(key);
        }
        closeWindow(key);
    }

    void sendKeys(const std::string& keys) {
        sentKeys.push_back(keys);
        if (!isAltF11(keys) || foreground == 0) {
            return;
        }
        const auto* front = window(foreground);
        if (front && front->hostKey == "Excel" && excel && excel->editor()) {
            setEditorVisible(true);
            raise(windowOfHost("VBE")->handle);
        } else if (front && front->hostKey == "VBE" && excel) {
            if (auto* xl = windowOfHost("Excel")) {
                raise(xl->handle);
            }
        }
    }

    // EditorWindowLink
    bool editorVisible() override {
        const auto* w = windowOfHost("VBE");
        return w && w->visible;
    }

    void setEditorVisible(bool visible) override {
        if (!excel) {
            return;
        }
        if (visible) {
            Window& w = openWindow("VBE");
            w.visible = true;
            if (w.showState == sw::Hide) {
                w.showState = sw::Normal;
            }
        } else if (auto* w = windowOfHost("VBE")) {
            w->visible = false;
            w->showState = sw::Hide;
        }
    }

    int editorShowState() override {
        const auto* w = windowOfHost("VBE");
        return w ? w->showState : -1;
    }

    void setEditorShowState(int showState) override {
        if (auto* w = windowOfHost("VBE")) {
            w->showState = showState;
            w->visible = showState != sw::Hide;
        }
    }
};

namespace {

// The "WScript.Shell" object. Alt+F11 opens the VBA editor when Excel is in the foreground, as the key goes
// to whatever window is in front; every other text is only recorded.
class SimWshShell final : public WshShell {
public:
    explicit SimWshShell(std::weak_ptr<Machine> machine) : machine_(std::move(machine)) {}

    void SendKeys(const std::string& keys, const Optional& wait) override {
        if (wait) {
            (void)wait->toBool();
        }
        const auto machine = machine_.lock();
        if (!machine) {
            throw AutomationError(vberr::AutomationFailure, "Automation error");
        }
        machine->sendKeys(keys);
    }

private:
    std::weak_ptr<Machine> machine_;
};

}  // namespace

SimOffice::SimOffice(std::shared_ptr<Machine> machine) : machine_(std::move(machine)) {}

SimOffice::~SimOffice() {
    try {
        keepBars();
    } catch (const std::exception&) {
        // Ending must not fail; whoever wants to hear of a problem calls keepBars() first.
    }
}

std::string SimOffice::defaultFolder() {
#ifdef _WIN32
    // The narrow environment is in the ANSI code page there; the folder may have a Chinese name.
    if (const wchar_t* env = _wgetenv(L"TESSALINE_OFFICE_CONTENT"); env && *env) {
        return pathText(std::filesystem::path(env));
    }
#else
    if (const char* env = std::getenv("TESSALINE_OFFICE_CONTENT"); env && *env) {
        return env;
    }
#endif
    // An installed copy (the Windows package) carries its content beside the programs.
    std::error_code ec;
    const auto exe = executableFile();
    if (exe.has_parent_path() && std::filesystem::is_regular_file(exe.parent_path() / "office" / "excel.json", ec)) {
        return pathText(exe.parent_path() / "office");
    }
    return std::string(TESSALINE_DEFAULT_DATA_DIR) + "/office";
}

std::string SimOffice::defaultKeptFolder() {
    const auto data = userDataFolder();
    return data.empty() ? std::string() : pathText(data / "commandbars");
}

std::unique_ptr<SimOffice> SimOffice::loadDefault() { return load(defaultFolder()); }

std::unique_ptr<SimOffice> SimOffice::load(const std::string& folder) { return loadKeeping(folder, ""); }

std::unique_ptr<SimOffice> SimOffice::loadKeeping(const std::string& folder, const std::string& keptFolder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(filePath(folder), ec)) {
        throw ContentError(folder + ": no such folder");
    }
    auto machine = std::make_shared<Machine>();
    for (const auto& kind : Kinds) {
        const fs::path file = filePath(folder) / kind.file;
        const std::string path = pathText(file);
        if (!fs::exists(file, ec)) {
            continue;
        }
        if (!fs::is_regular_file(file, ec)) {
            throw ContentError(path + ": not a file");
        }
        machine->content.emplace(kind.key, readHostFile(path));
    }
    // The workbooks and projects are checked now, so that a faulty file stops the start rather than a later
    // start of Excel.
    // Only those are built: the bars were checked as the files were read, and building a large host's bars
    // twice was a third of a start.
    const auto check = [](const HostContent& c, const auto& build) {
        try {
            (void)build();
        } catch (const ContentError&) {
            throw;
        } catch (const std::exception& e) {
            const std::string what = e.what();
            throw ContentError(what.rfind(c.file, 0) == 0 ? what : c.file + ": " + what);
        }
    };
    if (const auto* xl = machine->contentOf("Excel")) {
        check(*xl, [&] { return makeWorkbooks({}, xl->workbooks, xl->file); });
    }
    if (const auto* vbe = machine->contentOf("VBE")) {
        check(*vbe, [&] { return makeVbProjects(vbe->vbProjects, vbe->file); });
    }
    if (!keptFolder.empty()) {
        machine->keeper = std::make_unique<BarKeeper>(filePath(keptFolder));
    }
    // The editor runs inside Excel and its window always starts closed: Alt+F11 opens it.
    for (const auto& [key, c] : machine->content) {
        if (key != "VBE" && c.running) {
            machine->start(key);
        }
    }
    return std::unique_ptr<SimOffice>(new SimOffice(machine));
}

ObjectPtr SimOffice::GetObject(const std::string& progId) {
    for (const auto& kind : Kinds) {
        if (*kind.progId == '\0' || !sameName(kind.progId, progId)) {
            continue;
        }
        if (auto object = host(kind.key)) {
            return object;
        }
        break;
    }
    throw cannotCreateObject();
}

ObjectPtr SimOffice::CreateObject(const std::string& progId) {
    if (sameName(progId, "WScript.Shell")) {
        return std::make_shared<SimWshShell>(machine_);
    }
    throw cannotCreateObject();
}

WindowHandle SimOffice::FindWindow(const std::string& className) {
    for (const auto& w : machine_->windows) {
        if (sameName(w.windowClass, className)) {
            return w.handle;
        }
    }
    return 0;
}

bool SimOffice::ShowWindow(WindowHandle window, int command) {
    auto* w = machine_->window(window);
    if (!w || command < 0 || command > 11) {
        return false;
    }
    const bool wasVisible = w->visible;
    w->showState = command;
    w->visible = command != sw::Hide;
    return wasVisible;
}

bool SimOffice::SetForegroundWindow(WindowHandle window) {
    if (!machine_->window(window)) {
        return false;
    }
    machine_->raise(window);
    return true;
}

bool SimOffice::isInstalled(const std::string& hostKey) {
    const auto* kind = kindOf(hostKey);
    return kind && machine_->contentOf(kind->key);
}

bool SimOffice::isRunning(const std::string& hostKey) {
    const auto* kind = kindOf(hostKey);
    return kind && machine_->running(kind->key);
}

bool SimOffice::startHost(const std::string& hostKey) {
    if (!isInstalled(hostKey)) {
        return false;
    }
    const std::string key = kindOf(hostKey)->key;
    if (key == "VBE") {
        if (!isInstalled("Excel")) {
            return false;
        }
        if (!machine_->excel) {
            machine_->start("Excel");
        }
        machine_->setEditorVisible(true);
        machine_->raise(machine_->windowOfHost("VBE")->handle);
        return true;
    }
    if (!machine_->running(key)) {
        machine_->start(key);
    }
    return true;
}

void SimOffice::stopHost(const std::string& hostKey) {
    if (const auto* kind = kindOf(hostKey)) {
        machine_->stop(kind->key);
    }
}

ObjectPtr SimOffice::host(const std::string& hostKey) {
    const auto* kind = kindOf(hostKey);
    if (!kind) {
        return nullptr;
    }
    const std::string key = kind->key;
    if (key == "Excel") {
        return machine_->excel;
    }
    if (key == "VBE") {
        return machine_->excel ? machine_->excel->editor() : nullptr;
    }
    if (key == "Outlook") {
        return machine_->outlook;
    }
    const auto it = machine_->apps.find(key);
    return it == machine_->apps.end() ? nullptr : it->second;
}

void SimOffice::setOutlookExplorer(bool open) {
    if (auto it = machine_->content.find("Outlook"); it != machine_->content.end()) {
        it->second.explorer = open;
    }
    if (machine_->outlook) {
        machine_->outlook->setExplorerOpen(open);
        if (open) {
            machine_->openWindow("Outlook");
        } else {
            machine_->closeWindow("Outlook");
        }
    }
}

WindowHandle SimOffice::hostWindow(const std::string& hostKey) {
    const auto* kind = kindOf(hostKey);
    const auto* w = kind ? machine_->windowOfHost(kind->key) : nullptr;
    return w ? w->handle : 0;
}

WindowHandle SimOffice::foregroundWindow() { return machine_->foreground; }

int SimOffice::windowShowState(WindowHandle window) {
    const auto* w = machine_->window(window);
    return w ? w->showState : -1;
}

bool SimOffice::windowVisible(WindowHandle window) {
    const auto* w = machine_->window(window);
    return w && w->visible;
}

std::string SimOffice::windowClass(WindowHandle window) {
    const auto* w = machine_->window(window);
    return w ? w->windowClass : std::string();
}

std::vector<std::string> SimOffice::sentKeys() { return machine_->sentKeys; }

std::vector<std::string> SimOffice::actionLog() { return machine_->log->entries(); }

void SimOffice::clearActionLog() { machine_->log->clear(); }

bool SimOffice::clickButton(const std::string& hostKey, const std::string& barName, const std::vector<int>& indexPath) {
    std::shared_ptr<SimControl> control;
    {
        // Finding the control is the person's doing; what the click sets off (the tool's sinks) is not.
        const FaultPlan::Pause pause(machine_->faults.get());
        const ObjectPtr app = host(hostKey);
        CommandBarsPtr bars;
        if (const auto outlook = std::dynamic_pointer_cast<OutlookApplication>(app)) {
            if (const auto explorer = outlook->ActiveExplorer()) {
                bars = explorer->CommandBars();
            }
        } else if (const auto owner = std::dynamic_pointer_cast<CommandBarHost>(app)) {
            bars = owner->CommandBars();
        }
        if (!bars) {
            throw std::out_of_range(hostKey + " shows no command bars");
        }
        const auto simBars = std::dynamic_pointer_cast<SimCommandBars>(bars);
        const auto bar = simBars ? simBars->findByName(barName) : nullptr;
        if (!bar) {
            throw std::out_of_range(hostKey + " has no bar named " + barName);
        }
        if (indexPath.empty()) {
            throw std::out_of_range("no control named by an empty index path");
        }
        if (!bar->enabled()) {
            return false;
        }
        std::shared_ptr<SimCommandBar> current = bar;
        for (std::size_t i = 0; i < indexPath.size(); ++i) {
            control = current->item(indexPath[i]);
            if (!control) {
                throw std::out_of_range(barName + ": no control at index " + std::to_string(indexPath[i]) +
                                        " of level " + std::to_string(i + 1));
            }
            if (!control->visible() || !control->enabled()) {
                return false;
            }
            if (i + 1 < indexPath.size()) {
                current = control->popupBar();
                if (!current) {
                    throw std::out_of_range(barName + ": the control at level " + std::to_string(i + 1) +
                                            " is not a popup");
                }
            }
        }
    }
    control->click();
    return true;
}

FaultPlan* SimOffice::faultPlan() { return machine_->faults.get(); }

bool SimOffice::keeping() const { return machine_->keeper != nullptr; }

void SimOffice::keepBars() {
    if (!machine_->keeper) {
        return;
    }
    for (const auto& kind : Kinds) {
        if (machine_->running(kind.key) || (std::string_view(kind.key) == "VBE" && machine_->excel)) {
            machine_->keepKept(kind.key);
        }
    }
}

std::vector<std::string> SimOffice::takeKeepingProblems() {
    return machine_->keeper ? machine_->keeper->takeProblems() : std::vector<std::string>();
}

bool SimOffice::resetToShipped(const std::string& hostKey) {
    const auto* kind = kindOf(hostKey);
    const auto bars = kind ? machine_->barsOf(kind->key) : nullptr;
    if (!bars) {
        return false;
    }
    if (machine_->keeper) {
        machine_->keeper->reset(kind->key, kind->file, *bars);
    } else {
        KeptBars::resetToShipped(*bars);
    }
    return true;
}

bool SimOffice::clickButton(const std::string& barName, const std::vector<int>& indexPath) {
    return clickButton("Excel", barName, indexPath);
}

}  // namespace tessaline::automation::sim
