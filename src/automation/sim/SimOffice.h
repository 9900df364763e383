#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/OfficeMachine.h"
#include "automation/sim/ContentError.h"

namespace tessaline::automation::sim {

class Machine;

// The in-memory Office: the Office applications "running on this machine", their top-level windows and
// the shell, started from a folder of content files (data/office/FORMAT.md).
//
// Host keys used by the test hooks: "Excel", "Word", "PowerPoint", "Access", "Outlook" and "VBE" (Excel's
// VBA editor, which runs inside Excel and has a window only once it has been opened).
class SimOffice final : public OfficeMachine {
public:
    // Starts from the content files in `folder`. Raises ContentError naming the file and the place of the
    // first fault; a host whose file is absent is not installed.
    static std::unique_ptr<SimOffice> load(const std::string& folder);
    // As load(), and keeps each host's command bars as the user leaves them in `keptFolder`, one file per
    // host in the content format, as Office keeps its toolbar file: a host starts from its kept bars where
    // they exist, and they are written when the host quits, at keepBars() and when this Office ends. An
    // empty `keptFolder` keeps nothing, as load() never does: tests and scripts start from their content.
    static std::unique_ptr<SimOffice> loadKeeping(const std::string& folder, const std::string& keptFolder);
    // Starts from defaultFolder().
    static std::unique_ptr<SimOffice> loadDefault();
    // The folder named by the environment variable TESSALINE_OFFICE_CONTENT, else an `office` folder beside
    // the program (where the Windows package puts it), else the shipped data/office.
    static std::string defaultFolder();
    // The folder the program keeps the hosts' bars in: "commandbars" in the user's data folder; empty when
    // the system names none.
    static std::string defaultKeptFolder();

    ~SimOffice() override;
    SimOffice(const SimOffice&) = delete;
    SimOffice& operator=(const SimOffice&) = delete;

    // Desktop
    ObjectPtr GetObject(const std::string& progId) override;
    ObjectPtr CreateObject(const std::string& progId) override;
    WindowHandle FindWindow(const std::string& className) override;
    bool ShowWindow(WindowHandle window, int command) override;
    bool SetForegroundWindow(WindowHandle window) override;

    // ---- Test hooks: what a person at the machine could do or see. ----

    bool isInstalled(const std::string& hostKey) override;
    bool isRunning(const std::string& hostKey) override;
    // Starts a host as from its content (a host started again begins afresh). "VBE" opens the editor's
    // window, starting Excel first if needed. False when the host is not installed.
    bool startHost(const std::string& hostKey) override;
    // Quits a host and closes its windows (Excel takes its editor along); "VBE" closes the editor's window.
    void stopHost(const std::string& hostKey) override;
    // The host's automation object while it runs, else nullptr: the application for Excel, Word,
    // PowerPoint, Access and Outlook (an OutlookApplication), the Vbe object for "VBE" (while Excel runs).
    ObjectPtr host(const std::string& hostKey) override;
    // Opens or closes Outlook's explorer window (ActiveExplorer is Nothing while it is closed).
    void setOutlookExplorer(bool open) override;

    // Windows: 0 when absent; show state is the last ShowWindow command (1 when a window opens), -1 for an
    // unknown handle.
    WindowHandle hostWindow(const std::string& hostKey) override;
    WindowHandle foregroundWindow() override;
    int windowShowState(WindowHandle window) override;
    bool windowVisible(WindowHandle window) override;
    std::string windowClass(WindowHandle window) override;

    // Every SendKeys text in order.
    std::vector<std::string> sentKeys() override;
    // Default actions of clicked controls ("macro:Name", "builtin:3 保存(&S)") and sink failures
    // ("sink-error:text"), in order, for every host.
    std::vector<std::string> actionLog() override;
    void clearActionLog() override;

    // A person clicks a control of a host: the controls are taken by 1-based index, from the bar named
    // `barName` through the popups on the way (clickButton("Excel", "Worksheet Menu Bar", {1, 2}) is the
    // second item of the first menu). Runs Execute and returns true; returns false when the control or a
    // popup on the way is hidden or disabled, as nobody can click it then. Raises std::out_of_range when
    // the host does not run or the path leads nowhere.
    bool clickButton(const std::string& hostKey, const std::string& barName,
                     const std::vector<int>& indexPath) override;
    // The same in Excel.
    bool clickButton(const std::string& barName, const std::vector<int>& indexPath);

    // Every call of the tool into any host passes this plan (see FaultPlan).
    FaultPlan* faultPlan() override;

    // ---- The bars a user keeps between runs (loadKeeping). ----

    bool keeping() const;
    // Writes the kept bars of every running host whose bars changed since they were read or written.
    void keepBars();
    // What went wrong while keeping (a damaged file set aside, a file that could not be written) since the
    // last call, one sentence each.
    std::vector<std::string> takeKeepingProblems();
    // A person asks for the shipped bars: the host's bars go back to its content and its kept file goes
    // (whether or not this Office keeps). False when the host does not run.
    bool resetToShipped(const std::string& hostKey);

private:
    explicit SimOffice(std::shared_ptr<Machine> machine);
    std::shared_ptr<Machine> machine_;
};

}  // namespace tessaline::automation::sim
