#include "sources/Capture.h"

#include <optional>
#include <string>
#include <utility>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/VbRuntime.h"
#include "shell/ErrorModes.h"
#include "shell/Form1.h"
#include "sources/SourceWorkbooks.h"

namespace tessaline::sources {

namespace {

using automation::ButtonPtr;
using automation::CommandBarPtr;
using automation::ControlPtr;
using automation::ObjectPtr;
namespace vb = automation::vb;

constexpr int kProgressPanel = 6;
constexpr const char* kCrLf = "\r\n";
// Excel's XlFindLookIn and XlDirection codes.
constexpr int xlValues = -4163;
constexpr int xlToRight = -4161;
constexpr int xlUp = -4162;
// No host nests popups this deep; a climb that goes on longer is going round in circles.
constexpr int kMaxClimb = 64;

bool sameText(std::string_view a, std::string_view b) { return vb::LCase(a) == vb::LCase(b); }

// `SourceHost.CommandBars`, late-bound: Nothing raises 91, an object without bars 438.
automation::CommandBarsPtr commandBarsOf(const ObjectPtr& host) {
    auto owner = std::dynamic_pointer_cast<automation::CommandBarHost>(host);
    if (!host) throw automation::objectNotSet();
    if (!owner) throw automation::noSuchMember();
    return owner->CommandBars();
}

// `Set b = x` with b declared As CommandBarButton: anything that is not a button-like control is refused.
ButtonPtr takeAsButton(const ObjectPtr& object) {
    auto control = std::dynamic_pointer_cast<automation::CommandBarControl>(object);
    if (!control) throw automation::typeMismatch();
    return control->AsButton();
}

automation::CommandBarControl& controlOf(const ObjectPtr& object) {
    auto* control = dynamic_cast<automation::CommandBarControl*>(object.get());
    if (!object) throw automation::objectNotSet();
    if (!control) throw automation::noSuchMember();
    return *control;
}

// The menu bars a toolbar capture leaves alone. Excel's "Worksheet Menu Bar" is not among them.
bool isExcludedFromToolbarCapture(const std::string& barName) {
    return sameText(barName, "Built-in Menus") || sameText(barName, "Menu Bar") || sameText(barName, "菜单条");
}

// The name OpenSourceSheet gives the host option chosen in the window; "" for Void.
std::string chosenHostName(const shell::Form1& form) {
    if (form.Excel.Value()) return "Excel";
    if (form.Word.Value()) return "Word";
    if (form.PowerPoint.Value()) return "PowerPoint";
    if (form.Access.Value()) return "Access";
    if (form.Outlook.Value()) return "Outlook";
    if (form.VBE.Value()) return "VBE";
    return "";
}

// A value evaluated in resume mode: nothing when it failed.
template <class T, class F>
std::optional<T> tryResume(shell::Form1& form, F&& expression) {
    std::optional<T> result;
    shell::resume(form, [&] { result = expression(); });
    return result;
}

}  // namespace

std::string CaptionPathToCode(std::string_view path) {
    return "Application.CommandBars(\"" + vb::Replace(path, "^", "\").Controls(\"") + "\")";
}

std::string IndexPathToCode(std::string_view path) {
    return "Application.CommandBars(" + vb::Replace(path, "^", ").Controls(") + ")";
}

Capture::Capture(shell::Form1& form) : form_(form) {}

ButtonEventCol& Capture::CapturedButtons() {
    if (!CapturedButtons_) {
        // A host click arrives as an event of the window: whatever goes wrong in reporting it is shown in the
        // error report box, and never travels back into the host that delivered it.
        CapturedButtons_ = std::make_unique<ButtonEventCol>([this](const ButtonPtr& ctrl, bool& cancelDefault) {
            form_.dispatch([&] { Button_Click(ctrl, cancelDefault); });
        });
    }
    return *CapturedButtons_;
}

bool Capture::sourceHostIsChosenHost() const {
    return form_.SourceHost != nullptr && form_.HostName == chosenHostName(form_);
}

// ---------------------------------------------------------------------------------------------------------
// Commands

void Capture::menuCaptureMenubar_Click() {
    if (form_.Void.Value()) return;
    std::string barName = "Menu Bar";
    if (form_.Excel.Value()) {
        barName = "Worksheet menu bar";
    } else if (form_.VBE.Value()) {
        barName = "菜单条";
    }
    CaptureMenubar(barName);
}

void Capture::menuCommandbarCapture_Click() { CaptureToolbars(); }

void Capture::menuNormal_Click() {
    // The old set goes, and with it every hook: the buttons act normally again.
    CapturedButtons_.reset();
    CapturedButtons();
    form_.Code.SetVisible(false);
}

// ---------------------------------------------------------------------------------------------------------
// Hooking

void Capture::CaptureMenubar(const std::string& barName) {
    OpenSourceSheet(form_, MenubarSourceName);
    MenubarCapture = true;
    // When the chosen host could not be reached, SourceHost still holds whatever an earlier command left
    // there, possibly another application: hooking its bar would capture buttons the user never chose.
    // OpenSourceSheet has already said what failed.
    const bool completed = sourceHostIsChosenHost() && shell::report(form_, [&] { hookMenubar(barName); });
    // Excel's screen comes back on whichever way the walk ended; a frozen Excel would look hung.
    shell::resume(form_, [&] { shell::obj(form_.ExcelApp).SetScreenUpdating(true); });
    if (completed) {
        shell::resume(form_, [&] { form_.StatusBar1.SetPanelText(kProgressPanel, "Completed"); });
    }
}

void Capture::hookMenubar(const std::string& barName) {
    const CommandBarPtr bar = commandBarsOf(form_.SourceHost)->Item(barName);
    auto hookIfButton = [&](const ControlPtr& control) {
        if (control->Type() == automation::mso::ControlButton) CapturedButtons().Attach(control);
    };
    for (const ControlPtr& first : bar->Controls()->Enumerate()) {
        if (IsSkippedControl(*first)) continue;
        if (!IsPopupControl(*first)) {
            hookIfButton(first);
            continue;
        }
        for (const ControlPtr& second : first->AsPopup()->Controls()->Enumerate()) {
            if (IsSkippedControl(*second)) continue;
            if (!IsPopupControl(*second)) {
                hookIfButton(second);
                continue;
            }
            // Third-level popups are not entered.
            for (const ControlPtr& third : second->AsPopup()->Controls()->Enumerate()) {
                if (!IsSkippedControl(*third)) hookIfButton(third);
            }
        }
    }
}

void Capture::hookToolbarControls(const ControlPtr& control, int level) {
    if (!shell::resumeIf(form_, [&] { return !IsSkippedControl(*control); })) return;
    // The third level is hooked without a popup test: a popup there is offered like any other control.
    const std::optional<bool> popup =
        level < 3 ? tryResume<bool>(form_, [&] { return IsPopupControl(*control); }) : std::optional<bool>(false);
    if (!popup) return;
    if (!*popup) {
        shell::resume(form_, [&] { CapturedButtons().Attach(control); });
        return;
    }
    const auto children =
        tryResume<std::vector<ControlPtr>>(form_, [&] { return control->AsPopup()->Controls()->Enumerate(); });
    if (!children) return;
    for (const ControlPtr& child : *children) {
        hookToolbarControls(child, level + 1);
    }
}

void Capture::CaptureToolbars() {
    shell::resume(form_, [&] { OpenSourceSheet(form_, MenubarSourceName); });
    MenubarCapture = false;
    // With Void chosen, or when the chosen host could not be reached, there is nothing of the user's
    // choosing to hook (see CaptureMenubar).
    if (sourceHostIsChosenHost()) {
        const auto bars =
            tryResume<std::vector<CommandBarPtr>>(form_, [&] { return commandBarsOf(form_.SourceHost)->Enumerate(); });
        for (const CommandBarPtr& bar : bars.value_or(std::vector<CommandBarPtr>{})) {
            if (!shell::resumeIf(form_, [&] { return !isExcludedFromToolbarCapture(bar->Name()); })) continue;
            const auto controls =
                tryResume<std::vector<ControlPtr>>(form_, [&] { return bar->Controls()->Enumerate(); });
            for (const ControlPtr& control : controls.value_or(std::vector<ControlPtr>{})) {
                hookToolbarControls(control, 1);
            }
        }
    }
    shell::resume(form_, [&] { shell::obj(form_.ExcelApp).SetScreenUpdating(true); });
    shell::resume(form_, [&] { form_.StatusBar1.SetPanelText(kProgressPanel, "Completed"); });
}

// ---------------------------------------------------------------------------------------------------------
// Reporting a click

void Capture::Button_Click(const ButtonPtr& ctrl, bool& cancelDefault) {
    cancelDefault = true;
    if (MenubarCapture) {
        shell::resume(form_, [&] { ReportMenubarButton(ctrl); });
    } else {
        shell::resume(form_, [&] { ReportToolbarButton(ctrl); });
    }
    shell::resume(form_, [&] { AppendAddButtonCode(); });
}

void Capture::ReportMenubarButton(const ButtonPtr& button) {
    // Each statement stands alone: a failed lookup leaves the paths of the previous report.
    automation::RangePtr area;
    automation::RangePtr cell;
    shell::resume(form_, [&] { area = shell::obj(form_.SourceSheet).UsedRange(); });
    shell::resume(form_, [&] { cell = shell::obj(area).Find(shell::obj(button).Caption(), xlValues); });
    shell::resume(form_, [&] { PathParts[0] = shell::obj(cell).Text(); });
    shell::resume(form_, [&] { PathParts[1] = vb::CStr(shell::obj(cell).End(xlToRight)->Value()); });
    const int column = tryResume<int>(form_, [&] { return shell::obj(cell).Column(); }).value_or(1);
    automation::RangePtr parent;
    for (int i = 1; i <= column - 1; ++i) {
        // From the empty cell i columns to the left, the nearest filled cell above is the enclosing item.
        shell::resume(form_, [&] { parent = shell::obj(cell).Offset(0, -i)->End(xlUp); });
        shell::resume(form_, [&] { PathParts[0] = shell::obj(parent).Text() + "^" + PathParts[0]; });
        shell::resume(
            form_, [&] { PathParts[1] = shell::obj(shell::obj(parent).End(xlToRight)).Text() + "^" + PathParts[1]; });
    }
    shell::resume(form_, [&] {
        form_.Code.SetText("ID:=" + std::to_string(shell::obj(button).Id()) + kCrLf + CaptionPathToCode(PathParts[0]) +
                           kCrLf + IndexPathToCode(PathParts[1]));
    });
    shell::resume(form_, [&] { form_.Code.SetVisible(true); });
}

void Capture::ReportToolbarButton(ButtonPtr button) {
    ParentChain.clear();
    CaptionPath.clear();
    IndexPath.clear();
    try {
        form_.Code.SetText("ID:=" + std::to_string(shell::obj(button).Id()) + kCrLf);
        ParentChain.push_back(button);
        // Up from control to its bar to whatever holds that bar: a popup control, until the bar of the
        // outermost control, whose parent is the application and cannot be taken as a button.
        for (int level = 0;; ++level) {
            if (level == kMaxClimb) throw automation::typeMismatch();
            ButtonPtr holder = takeAsButton(shell::obj(shell::obj(button).Parent()).Parent());
            button = std::move(holder);
            ParentChain.push_back(button);
        }
    } catch (const std::exception&) {
        // The climb is over; `button` is the outermost control that could be taken.
    }
    ParentChain.push_back(shell::obj(button).Parent());
    for (std::size_t k = 0; k + 1 < ParentChain.size(); ++k) {
        automation::CommandBarControl& control = controlOf(ParentChain[k]);
        CaptionPath = ".Controls(\"" + control.Caption() + "\")" + CaptionPath;
        IndexPath = ".Controls(" + std::to_string(control.Index()) + ")" + IndexPath;
    }
    FinishToolbarReport();
}

void Capture::FinishToolbarReport() {
    try {
        form_.Code.SetVisible(true);
        if (ParentChain.empty()) throw automation::subscriptOutOfRange();
        auto* bar = dynamic_cast<automation::CommandBar*>(ParentChain.back().get());
        if (!ParentChain.back()) throw automation::objectNotSet();
        if (!bar) throw automation::noSuchMember();
        IndexPath = "Application.CommandBars(" + std::to_string(bar->Index()) + ")" + IndexPath;
        CaptionPath = "Application.CommandBars(\"" + bar->Name() + "\")" + CaptionPath;
        form_.Code.SetText(form_.Code.Text() + CaptionPath + kCrLf + IndexPath);
    } catch (const std::exception& e) {
        form_.Code.SetText(shell::errorOf(e).Description);
    }
}

void Capture::AppendAddButtonCode() {
    shell::report(form_, [&] {
        const std::vector<std::string> lines = vb::Split(form_.Code.Text(), kCrLf);
        if (lines.size() < 2) throw automation::subscriptOutOfRange();
        const std::string& captionLine = lines[1];
        const int p = vb::InStrRev(captionLine, "Controls", -1, vb::TextCompare);
        // No "Controls" in the line (a lookup that found nothing) leaves nothing to add to: Left refuses -1.
        const std::string container = vb::Left(captionLine, p - 1) + "Controls.Add(Type:=msoControlButton)";
        form_.Code.SetText(form_.Code.Text() + kCrLf + vb::Replace(form_.CodeTemplate, "|", container));
        // Outlook's bars belong to its explorer and the editor's to the VBE, not to the application itself.
        if (sameText(form_.HostName, "Outlook")) {
            form_.Code.SetText(
                vb::Replace(form_.Code.Text(), "Application", "Application.ActiveExplorer", 1, -1, vb::TextCompare));
        } else if (sameText(form_.HostName, "VBE")) {
            form_.Code.SetText(
                vb::Replace(form_.Code.Text(), "Application", "Application.VBE", 1, -1, vb::TextCompare));
        }
    });
}

}  // namespace tessaline::sources
