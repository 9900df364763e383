#pragma once

#include <memory>
#include <string>

#include "automation/Desktop.h"
#include "automation/Excel.h"
#include "automation/Vbe.h"
#include "automation/sim/CallGate.h"
#include "automation/sim/Content.h"
#include "automation/sim/SimCommandBars.h"

// The host applications of the in-memory Office. Each owns its command bars; Excel also owns its workbooks
// and its VBA editor, Outlook its explorer.
namespace tessaline::automation::sim {

class SimWorkbooks;

// The desktop side of the VBA editor's main window, which exists only once the editor has been opened.
class EditorWindowLink {
public:
    virtual ~EditorWindowLink() = default;
    virtual bool editorVisible() = 0;
    // Opens the editor's window on first show; hides it on false.
    virtual void setEditorVisible(bool visible) = 0;
    // The window's ShowWindow state (sw::...), or -1 when the window does not exist.
    virtual int editorShowState() = 0;
    virtual void setEditorShowState(int showState) = 0;
};

// Word, PowerPoint and Access: as far as the tool reaches them, a name and command bars.
class SimApplication final : public CommandBarHost, public std::enable_shared_from_this<SimApplication> {
public:
    static std::shared_ptr<SimApplication> create(const HostContent& content, std::shared_ptr<ActionLog> log,
                                                  GatePtr gate = nullptr);

    std::string TypeName() const override { return "Application"; }
    CommandBarsPtr CommandBars() override;
    std::string Name() override;

private:
    SimApplication() = default;
    GatePtr gate_;
    std::string name_;
    std::shared_ptr<SimCommandBars> bars_;
};

class SimVbeWindow final : public VbeWindow {
public:
    SimVbeWindow(std::weak_ptr<EditorWindowLink> link, GatePtr gate) : link_(std::move(link)), gate_(std::move(gate)) {}

    int WindowState() override;
    void SetWindowState(int state) override;
    bool Visible() override;
    void SetVisible(bool visible) override;

private:
    std::weak_ptr<EditorWindowLink> link_;
    GatePtr gate_;
    int state_ = vbext::WindowNormal;  // kept while the window does not exist
};

class SimVbe final : public Vbe, public std::enable_shared_from_this<SimVbe> {
public:
    static std::shared_ptr<SimVbe> create(const HostContent& content, std::shared_ptr<ActionLog> log,
                                          std::weak_ptr<EditorWindowLink> link, GatePtr gate = nullptr);

    CommandBarsPtr CommandBars() override;
    std::string Name() override;
    std::shared_ptr<VbeWindow> MainWindow() override;
    std::shared_ptr<automation::VBProjects> VBProjects() override;

private:
    SimVbe() = default;
    GatePtr gate_;
    std::string name_;
    std::shared_ptr<SimCommandBars> bars_;
    std::shared_ptr<SimVbeWindow> window_;
    std::shared_ptr<automation::VBProjects> projects_;
};

class SimExcel final : public ExcelApplication, public std::enable_shared_from_this<SimExcel> {
public:
    // `vbe` is the editor's content, or null when the editor is not installed (programmatic access to it
    // is then refused).
    static std::shared_ptr<SimExcel> create(const HostContent& content, const HostContent* vbe,
                                            std::shared_ptr<ActionLog> log, std::weak_ptr<EditorWindowLink> link,
                                            GatePtr gate = nullptr, GatePtr editorGate = nullptr);

    CommandBarsPtr CommandBars() override;
    std::string Name() override;
    WorkbooksPtr Workbooks() override;
    WorkbookPtr ActiveWorkbook() override;
    VbePtr VBE() override;
    bool ScreenUpdating() override;
    void SetScreenUpdating(bool on) override;
    RangePtr Union(const std::vector<RangePtr>& ranges) override;
    RangePtr Intersect(const RangePtr& a, const RangePtr& b) override;

    // The editor object whether or not programmatic access is allowed (for the desktop's own use).
    std::shared_ptr<SimVbe> editor() const { return vbe_; }
    // The open workbooks as Excel's own window sees them: reading them passes no gate and counts no call.
    std::shared_ptr<SimWorkbooks> openWorkbooks() const;

private:
    SimExcel() = default;
    GatePtr gate_;
    std::string name_;
    std::shared_ptr<SimCommandBars> bars_;
    WorkbooksPtr workbooks_;
    std::shared_ptr<SimVbe> vbe_;
    bool screenUpdating_ = true;
};

class SimOutlookExplorer final : public OutlookExplorer, public std::enable_shared_from_this<SimOutlookExplorer> {
public:
    static std::shared_ptr<SimOutlookExplorer> create(const HostContent& content, std::shared_ptr<ActionLog> log,
                                                      GatePtr gate = nullptr);

    CommandBarsPtr CommandBars() override;
    std::string Name() override;

private:
    SimOutlookExplorer() = default;
    GatePtr gate_;
    std::string name_;
    std::shared_ptr<SimCommandBars> bars_;
};

class SimOutlook final : public OutlookApplication {
public:
    SimOutlook(const HostContent& content, std::shared_ptr<ActionLog> log, GatePtr gate = nullptr);

    std::string Name() override;
    std::shared_ptr<OutlookExplorer> ActiveExplorer() override;

    // The explorer keeps its bars while it is closed and opened again.
    void setExplorerOpen(bool open) { explorerOpen_ = open; }
    bool explorerOpen() const { return explorerOpen_; }
    std::shared_ptr<SimOutlookExplorer> explorer() const { return explorer_; }

private:
    GatePtr gate_;
    std::string name_;
    std::shared_ptr<SimOutlookExplorer> explorer_;
    bool explorerOpen_ = true;
};

}  // namespace tessaline::automation::sim
