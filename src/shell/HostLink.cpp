#include "shell/HostLink.h"

#include <memory>

#include "automation/AutomationError.h"
#include "automation/Desktop.h"
#include "automation/Excel.h"
#include "automation/Vbe.h"
#include "shell/CommandbarGrid.h"
#include "shell/Form1.h"

namespace tessaline::shell {

namespace {

struct HostRow {
    const char* windowClass;
    const char* progId;
    const char* label;
};

// The common end of every host handler, in resume mode.
void finishAttach(Form1& form, const char* label) {
    if (!form.HostApp) {
        resume(form, [&] { form.StatusBar1.SetPanelText(1, "Nothing"); });
        return;
    }
    resume(form, [&] { ListCommandbars(form); });
    resume(form, [&] { form.TreeView1.Nodes().Clear(); });
    resume(form, [&] { form.StatusBar1.SetPanelText(1, label); });
}

// Resume mode: a host that is not running leaves the window detached, without a word.
void attachHost(Form1& form, const HostRow& row, bool explorer) {
    resume(form, [&] { Void_Click(form); });
    resume(form, [&] { ActivateHostWindow(form, row.windowClass); });
    resume(form, [&] {
        automation::ObjectPtr host = form.desktop().GetObject(row.progId);
        if (explorer) {
            auto outlook = std::dynamic_pointer_cast<automation::OutlookApplication>(host);
            if (!outlook) throw automation::noSuchMember();
            form.HostApp = outlook->ActiveExplorer();
        } else {
            form.HostApp = std::move(host);
        }
    });
    finishAttach(form, row.label);
}

std::shared_ptr<automation::ExcelApplication> runningExcel(Form1& form) {
    auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(form.desktop().GetObject("Excel.Application"));
    if (!excel) throw automation::noSuchMember();
    return excel;
}

}  // namespace

void ActivateHostWindow(Form1& form, const std::string& windowClass) {
    resume(form, [&] { form.HostWindow = form.desktop().FindWindow(windowClass); });
    // A handle of 0 means no such window: there is nothing to show or raise.
    resume(form, [&] {
        if (form.HostWindow != 0) form.desktop().ShowWindow(form.HostWindow, automation::sw::Maximized);
    });
    resume(form, [&] {
        if (form.HostWindow != 0) form.desktop().SetForegroundWindow(form.HostWindow);
    });
}

void Excel_Click(Form1& form) { attachHost(form, {"Xlmain", "Excel.Application", "Excel"}, false); }
void Word_Click(Form1& form) { attachHost(form, {"OpusApp", "Word.Application", "Word"}, false); }
void PowerPoint_Click(Form1& form) {
    attachHost(form, {"PP11FrameClass", "Powerpoint.Application", "Powerpoint"}, false);
}
void Access_Click(Form1& form) { attachHost(form, {"Omain", "Access.Application", "Access"}, false); }
void Outlook_Click(Form1& form) { attachHost(form, {"rctrl_renwnd32", "Outlook.Application", "Outlook"}, true); }

// Resume mode. The editor is opened with Alt+F11 in whatever window is in front, even when the attach failed.
void VBE_Click(Form1& form) {
    resume(form, [&] { Void_Click(form); });
    resume(form, [&] { form.HostApp = runningExcel(form)->VBE(); });
    resume(form, [&] { ActivateHostWindow(form, "Xlmain"); });
    automation::ObjectPtr shell;
    resume(form, [&] { shell = form.desktop().CreateObject("WScript.Shell"); });
    resume(form, [&] {
        auto wsh = std::dynamic_pointer_cast<automation::WshShell>(shell);
        if (!wsh) throw automation::objectRequired();
        wsh->SendKeys("%{F11}");
    });
    resume(form, [&] {
        auto vbe = std::dynamic_pointer_cast<automation::Vbe>(form.HostApp);
        if (!vbe) throw automation::objectRequired();
        obj(vbe->MainWindow()).SetWindowState(automation::vbext::WindowMaximized);
    });
    finishAttach(form, "VBE");
}

// Mode none. CurrentControl and ExcelApp stay as they are. The open popup goes with the host: panel 5 and
// the grid no longer show it, and designs or control commands must not land in a detached host's popup.
void Void_Click(Form1& form) {
    form.HostApp = nullptr;
    form.CurrentBar = nullptr;
    form.CurrentPopup = nullptr;
    form.StatusBar1.SetPanelText(1, "Nothing");
    for (int panel = 2; panel <= 6; ++panel) form.StatusBar1.SetPanelText(panel, "");
    form.ListAllCommandbars.Clear();
    form.ListAllCommandControls.Clear();
    form.ListMacros.Clear();
    form.RichTextBox1.SetText("");
    form.TreeView1.Nodes().Clear();
}

}  // namespace tessaline::shell
