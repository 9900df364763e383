#pragma once

#include <string>
#include <vector>

#include "automation/Desktop.h"
#include "automation/FaultPlan.h"

namespace tessaline::automation {

// The machine the Office applications run on, as a person sitting at it could see and drive it: the Desktop
// the tool reaches, plus starting and quitting hosts, clicking their buttons and looking at their windows.
// The scenario runner and the tests drive a machine through this; the in-memory Office is one in this
// process, the COM-served one lives in a process of its own.
//
// Host keys: "Excel", "Word", "PowerPoint", "Access", "Outlook" and "VBE" (Excel's VBA editor, which runs
// inside Excel and has a window only once it has been opened).
class OfficeMachine : public Desktop {
public:
    virtual bool isInstalled(const std::string& hostKey) = 0;
    virtual bool isRunning(const std::string& hostKey) = 0;
    // Starts a host as from its content (a host started again begins afresh). "VBE" opens the editor's
    // window, starting Excel first if needed. False when the host is not installed.
    virtual bool startHost(const std::string& hostKey) = 0;
    // Quits a host and closes its windows (Excel takes its editor along); "VBE" closes the editor's window.
    virtual void stopHost(const std::string& hostKey) = 0;
    // The host's automation object while it runs, else nullptr: the application for Excel, Word,
    // PowerPoint, Access and Outlook (an OutlookApplication), the Vbe object for "VBE" (while Excel runs).
    virtual ObjectPtr host(const std::string& hostKey) = 0;
    // Opens or closes Outlook's explorer window (ActiveExplorer is Nothing while it is closed).
    virtual void setOutlookExplorer(bool open) = 0;

    // Windows: 0 when absent; show state is the last ShowWindow command (1 when a window opens), -1 for an
    // unknown handle.
    virtual WindowHandle hostWindow(const std::string& hostKey) = 0;
    virtual WindowHandle foregroundWindow() = 0;
    virtual int windowShowState(WindowHandle window) = 0;
    virtual bool windowVisible(WindowHandle window) = 0;
    virtual std::string windowClass(WindowHandle window) = 0;

    // Every SendKeys text in order.
    virtual std::vector<std::string> sentKeys() = 0;
    // Default actions of clicked controls ("macro:Name", "builtin:3 保存(&S)") and sink failures
    // ("sink-error:text"), in order, for every host.
    virtual std::vector<std::string> actionLog() = 0;
    virtual void clearActionLog() = 0;

    // A person clicks a control of a host: the controls are taken by 1-based index, from the bar named
    // `barName` through the popups on the way. Runs Execute and returns true; returns false when the
    // control or a popup on the way is hidden or disabled. Raises std::out_of_range when the host does not
    // run or the path leads nowhere.
    virtual bool clickButton(const std::string& hostKey, const std::string& barName,
                             const std::vector<int>& indexPath) = 0;

    // The faults this machine's Office is told to make, or nullptr where calls cannot be made to fail.
    virtual FaultPlan* faultPlan() { return nullptr; }
};

}  // namespace tessaline::automation
