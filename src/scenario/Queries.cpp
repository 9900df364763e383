#include <functional>
#include <initializer_list>
#include <map>

#include "automation/AutomationError.h"
#include "automation/Desktop.h"
#include "automation/Excel.h"
#include "automation/Office.h"
#include "scenario/Session.h"

namespace tessaline::scenario {

namespace {

using automation::CommandBarPtr;
using automation::ControlPtr;
using shell::Form1;

std::string joined(const std::vector<std::string>& items, const std::string& separator) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += separator;
        out += items[i];
    }
    return out;
}

std::string rowText(const shell::FlexGrid& grid, int row) {
    std::vector<std::string> cells;
    for (int col = 0; col < grid.Cols(); ++col) cells.push_back(grid.TextMatrix(row, col));
    return joined(cells, " | ");
}

void renderTree(const std::vector<shell::TreeNode*>& nodes, int depth, std::string& out) {
    for (const shell::TreeNode* node : nodes) {
        if (!out.empty()) out += '\n';
        out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + node->Text();
        if (!node->Key().empty()) out += " [" + node->Key() + "]";
        renderTree(node->childNodes(), depth + 1, out);
    }
}

// A menu item by name, or nullptr: queries such as `visible` take either a control or a menu item.
shell::MenuItem* menuItem(Form1& form, const std::string& name) {
    for (const auto& top : form.menuBar()) {
        if (shell::MenuItem* found = top->find(name)) return found;
    }
    return nullptr;
}

shell::MenuItem& menuNamed(Form1& form, const std::string& name) {
    shell::MenuItem* item = menuItem(form, name);
    if (!item) throw CommandError("the window has no menu item named \"" + name + "\"");
    return *item;
}

shell::Control* controlOrNull(Form1& form, const std::string& name) {
    try {
        return &controlNamed(form, name);
    } catch (const CommandError&) {
        return nullptr;
    }
}

automation::CommandBarsPtr barsOf(RunnerSession& session, const std::string& hostKey) {
    automation::ObjectPtr host = session.office().host(hostKey);
    if (!host) throw CommandError(hostKey + " is not running");
    if (auto outlook = std::dynamic_pointer_cast<automation::OutlookApplication>(host)) {
        host = outlook->ActiveExplorer();
        if (!host) throw CommandError("Outlook shows no explorer window");
    }
    auto bars = std::dynamic_pointer_cast<automation::CommandBarHost>(host);
    if (!bars) throw CommandError(hostKey + " has no command bars");
    return bars->CommandBars();
}

CommandBarPtr barOf(RunnerSession& session, const std::string& hostKey, const std::string& barName) {
    return barsOf(session, hostKey)->Item(barName);
}

// The control at a 1-based index path: the steps before the last go through popups.
ControlPtr controlAt(const CommandBarPtr& bar, const std::vector<int>& path) {
    automation::ControlsPtr controls = bar->Controls();
    ControlPtr control;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0) controls = control->AsPopup()->Controls();
        control = controls->Item(path[i]);
    }
    return control;
}

std::string controlLine(automation::CommandBarControl& control) {
    std::string line = std::to_string(control.Index()) + " | " + std::to_string(control.Id()) + " | " +
                       control.Caption() + " | type " + std::to_string(control.Type());
    if (!control.Visible()) line += " | hidden";
    if (!control.Enabled()) line += " | disabled";
    if (control.BeginGroup()) line += " | group";
    return line;
}

std::string barProperty(automation::CommandBar& bar, const std::string& prop) {
    using words::boolText;
    using words::equalsIgnoringCase;
    const std::map<std::string, std::function<std::string()>> props = {
        {"name", [&] { return bar.Name(); }},
        {"namelocal", [&] { return bar.NameLocal(); }},
        {"index", [&] { return std::to_string(bar.Index()); }},
        {"builtin", [&] { return boolText(bar.BuiltIn()); }},
        {"type", [&] { return std::to_string(bar.Type()); }},
        {"enabled", [&] { return boolText(bar.Enabled()); }},
        {"visible", [&] { return boolText(bar.Visible()); }},
        {"position", [&] { return std::to_string(bar.Position()); }},
        {"width", [&] { return std::to_string(bar.Width()); }},
        {"height", [&] { return std::to_string(bar.Height()); }},
        {"count", [&] { return std::to_string(bar.Controls()->Count()); }},
    };
    std::string key;
    for (char c : prop) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto it = props.find(key);
    if (it == props.end()) throw CommandError("a bar has no property \"" + prop + "\" the runner can show");
    return it->second();
}

// Checked before the dialog is looked at, so a misspelt field fails even when no dialog was shown.
void checkField(const std::string& field, std::initializer_list<const char*> known) {
    for (const char* name : known) {
        if (field == name) return;
    }
    throw CommandError("no field \"" + field + "\" here");
}

std::string dialogField(const std::string& field, const std::map<std::string, std::string>& fields) {
    const auto it = fields.find(field);
    if (it == fields.end()) throw CommandError("no field \"" + field + "\" of a dialog");
    return it->second;
}

}  // namespace

std::string evaluate(RunnerSession& session, const std::vector<Word>& q) {
    using words::at;
    using words::boolText;
    using words::toInt;
    Form1& form = session.form();
    shell::ScriptedUi& ui = session.ui();
    const std::string& name = at(q, 0, "a query");
    const auto arity = [&](std::size_t min, std::size_t max) {
        if (q.size() < min + 1 || q.size() > max + 1) {
            throw CommandError("\"" + name + "\" takes " + std::to_string(min) +
                               (max > min ? " to " + std::to_string(max) : std::string()) + " word(s)");
        }
    };
    const auto optional = [&](std::size_t index, const std::string& fallback) {
        return q.size() > index ? q[index].text : fallback;
    };

    // ----- The window -----
    if (name == "cell") {
        arity(3, 3);
        const shell::FlexGrid& grid = gridNamed(form, q[1].text);
        return grid.TextMatrix(rowOf(grid, q[2]), toInt(q[3].text, "a column"));
    }
    if (name == "row") {
        arity(2, 2);
        const shell::FlexGrid& grid = gridNamed(form, q[1].text);
        return rowText(grid, rowOf(grid, q[2]));
    }
    if (name == "grid") {
        arity(1, 1);
        const shell::FlexGrid& grid = gridNamed(form, q[1].text);
        std::vector<std::string> rows;
        for (int row = 0; row < grid.Rows(); ++row) rows.push_back(rowText(grid, row));
        return joined(rows, "\n");
    }
    if (name == "rows") {
        arity(1, 1);
        return std::to_string(gridNamed(form, q[1].text).Rows());
    }
    if (name == "cols") {
        arity(1, 1);
        return std::to_string(gridNamed(form, q[1].text).Cols());
    }
    if (name == "current") {
        arity(1, 1);
        const shell::FlexGrid& grid = gridNamed(form, q[1].text);
        return std::to_string(grid.Row()) + "," + std::to_string(grid.Col());
    }
    if (name == "tooltip") {
        arity(1, 1);
        return controlNamed(form, q[1].text).ToolTipText();
    }
    if (name == "panel") {
        arity(1, 1);
        return form.StatusBar1.PanelText(toInt(q[1].text, "a panel"));
    }
    if (name == "panels") {
        arity(0, 0);
        std::vector<std::string> texts;
        for (const auto& panel : form.StatusBar1.panels()) texts.push_back(panel.text);
        return joined(texts, " | ");
    }
    if (name == "text") {
        arity(1, 1);
        shell::Control& control = controlNamed(form, q[1].text);
        if (auto* box = dynamic_cast<shell::TextBox*>(&control)) return box->Text();
        if (auto* rich = dynamic_cast<shell::RichTextBox*>(&control)) return rich->Text();
        if (auto* list = dynamic_cast<shell::ListBox*>(&control)) return list->Text();
        if (auto* grid = dynamic_cast<shell::FlexGrid*>(&control)) return grid->Text();
        throw CommandError("\"" + q[1].text + "\" has no text");
    }
    if (name == "list" || name == "listcount" || name == "listindex") {
        arity(1, 1);
        auto* list = dynamic_cast<shell::ListBox*>(&controlNamed(form, q[1].text));
        if (!list) throw CommandError("\"" + q[1].text + "\" is not a list box");
        if (name == "listcount") return std::to_string(list->ListCount());
        if (name == "listindex") return std::to_string(list->ListIndex());
        return joined(list->items(), "\n");
    }
    if (name == "tree") {
        arity(0, 0);
        std::string out;
        renderTree(form.TreeView1.Nodes().roots(), 0, out);
        return out;
    }
    if (name == "nodes") {
        arity(0, 0);
        return std::to_string(form.TreeView1.Nodes().Count());
    }
    if (name == "expanded") {
        arity(1, 1);
        if (!form.TreeView1.Nodes().Exists(q[1].text)) throw CommandError("the tree has no node keyed " + q[1].text);
        return boolText(form.TreeView1.Nodes().Item(q[1].text).Expanded());
    }
    if (name == "visible" || name == "enabled") {
        arity(1, 1);
        if (shell::Control* control = controlOrNull(form, q[1].text)) {
            return boolText(name == "visible" ? control->Visible() : control->Enabled());
        }
        shell::MenuItem& item = menuNamed(form, q[1].text);
        return boolText(name == "visible" ? item.Visible() : item.Enabled());
    }
    if (name == "checked") {
        arity(1, 1);
        return boolText(menuNamed(form, q[1].text).Checked());
    }
    if (name == "handled") {
        arity(1, 1);
        return boolText(static_cast<bool>(menuNamed(form, q[1].text).onClick));
    }
    if (name == "caption") {
        arity(0, 1);
        if (q.size() == 1) return form.Caption;
        if (shell::Control* control = controlOrNull(form, q[1].text)) {
            if (auto* check = dynamic_cast<shell::CheckBox*>(control)) return check->Caption();
            if (auto* option = dynamic_cast<shell::OptionButton*>(control)) return option->Caption();
            if (auto* frame = dynamic_cast<shell::Frame*>(control)) return frame->Caption();
            if (auto* button = dynamic_cast<shell::CommandButton*>(control)) return button->Caption();
            throw CommandError("\"" + q[1].text + "\" has no caption");
        }
        return menuNamed(form, q[1].text).Caption();
    }
    if (name == "value") {
        arity(1, 1);
        shell::Control& control = controlNamed(form, q[1].text);
        if (auto* check = dynamic_cast<shell::CheckBox*>(&control)) return std::to_string(check->Value());
        if (auto* option = dynamic_cast<shell::OptionButton*>(&control)) return boolText(option->Value());
        throw CommandError("\"" + q[1].text + "\" has no value");
    }
    if (name == "menu-items") {
        arity(1, 1);
        return joined(menuNamed(form, q[1].text).visibleItems(), ", ");
    }
    if (name == "popup") {
        arity(0, 1);
        const std::string field = optional(1, "summary");
        checkField(field, {"summary", "menu", "items", "chosen", "count"});
        if (field == "count") return std::to_string(ui.popups.size());
        if (ui.popups.empty()) return field == "summary" ? "none" : "";
        const auto& popup = ui.popups.back();
        return dialogField(field, {{"summary", popup.menu + ": " + joined(popup.visibleItems, ", ") + " -> " +
                                                   (popup.chosen.empty() ? "dismissed" : popup.chosen)},
                                   {"menu", popup.menu},
                                   {"items", joined(popup.visibleItems, ", ")},
                                   {"chosen", popup.chosen}});
    }
    if (name == "msgbox") {
        arity(0, 1);
        const std::string field = optional(1, "prompt");
        checkField(field, {"prompt", "title", "flags", "buttons", "icon", "answer", "count"});
        if (field == "count") return std::to_string(ui.messages.size());
        if (ui.messages.empty()) return "";
        const auto& box = ui.messages.back();
        return dialogField(field, {{"prompt", box.prompt},
                                   {"title", box.title},
                                   {"flags", std::to_string(box.buttons)},
                                   {"buttons", std::to_string(box.buttons & shell::vbmsg::ButtonMask)},
                                   {"icon", std::to_string(box.buttons & shell::vbmsg::IconMask)},
                                   {"answer", std::to_string(box.answer)}});
    }
    if (name == "input") {
        arity(0, 1);
        const std::string field = optional(1, "prompt");
        checkField(field, {"prompt", "title", "default", "answer", "count"});
        if (field == "count") return std::to_string(ui.inputs.size());
        if (ui.inputs.empty()) return "";
        const auto& box = ui.inputs.back();
        return dialogField(
            field,
            {{"prompt", box.prompt}, {"title", box.title}, {"default", box.defaultText}, {"answer", box.answer}});
    }
    if (name == "clipboard") {
        arity(0, 0);
        return ui.clipboard;
    }
    if (name == "hostapp") {
        arity(0, 0);
        return form.HostApp ? form.HostApp->TypeName() : "Nothing";
    }
    // A reference the window keeps may outlive its object (deleted, or its host quit): that reads as the
    // host's error text, so a script can check it, rather than failing the query.
    const auto orError = [](const std::function<std::string()>& read) {
        try {
            return read();
        } catch (const automation::AutomationError& e) {
            return "error: " + e.description();
        }
    };
    if (name == "currentbar") {
        arity(0, 0);
        return form.CurrentBar ? orError([&] { return form.CurrentBar->Name(); }) : "Nothing";
    }
    if (name == "currentpopup") {
        arity(0, 0);
        return form.CurrentPopup ? orError([&] { return form.CurrentPopup->Caption(); }) : "Nothing";
    }
    if (name == "currentcontrol") {
        arity(0, 0);
        return form.CurrentControl ? orError([&] { return form.CurrentControl->Caption(); }) : "Nothing";
    }
    if (name == "excelapp") {
        arity(0, 0);
        return form.ExcelApp ? form.ExcelApp->TypeName() : "Nothing";
    }
    if (name == "rowcounter") {
        arity(0, 0);
        return std::to_string(form.RowCounter);
    }
    if (name == "hostwindow") {
        arity(0, 0);
        return form.HostWindow == 0 ? "0" : session.office().windowClass(form.HostWindow);
    }
    if (name == "err") {
        arity(0, 0);
        return std::to_string(form.Err.Number) + (form.Err.Description.empty() ? "" : " " + form.Err.Description);
    }
    if (name == "topmost") return boolText(ui.topmost);
    if (name == "minimized") return std::to_string(ui.minimized);
    if (name == "unloaded") return boolText(form.isUnloaded());
    if (name == "doevents") return std::to_string(ui.doEventsCalls);
    if (name == "shell") return joined(ui.shellOpened, "\n");

    // ----- The in-memory Office -----
    if (name == "running") {
        arity(1, 1);
        return boolText(session.office().isRunning(q[1].text));
    }
    if (name == "bars") {
        arity(1, 1);
        return std::to_string(barsOf(session, q[1].text)->Count());
    }
    if (name == "barnames") {
        arity(1, 1);
        std::vector<std::string> names;
        for (const auto& bar : barsOf(session, q[1].text)->Enumerate()) names.push_back(bar->Name());
        return joined(names, "\n");
    }
    if (name == "bar") {
        arity(3, 3);
        if (q[3].text == "exists") {
            for (const auto& bar : barsOf(session, q[1].text)->Enumerate()) {
                if (words::equalsIgnoringCase(bar->Name(), q[2].text)) return "True";
            }
            return "False";
        }
        return barProperty(*barOf(session, q[1].text, q[2].text), q[3].text);
    }
    if (name == "controls") {
        arity(2, 3);
        const CommandBarPtr bar = barOf(session, q[1].text, q[2].text);
        automation::ControlsPtr controls =
            q.size() > 3 ? controlAt(bar, words::indexPath(q[3].text))->AsPopup()->Controls() : bar->Controls();
        std::vector<std::string> lines;
        for (const auto& control : controls->Enumerate()) lines.push_back(controlLine(*control));
        return joined(lines, "\n");
    }
    if (name == "control") {
        arity(4, 4);
        const ControlPtr control = controlAt(barOf(session, q[1].text, q[2].text), words::indexPath(q[3].text));
        if (words::equalsIgnoringCase(q[4].text, "Count"))
            return std::to_string(control->AsPopup()->Controls()->Count());
        if (words::equalsIgnoringCase(q[4].text, "Items")) {
            const automation::ComboBoxPtr combo = control->AsComboBox();
            std::vector<std::string> items;
            for (int i = 1; i <= combo->ListCount(); ++i) items.push_back(combo->List(i));
            return joined(items, "\n");
        }
        return control->GetProperty(q[4].text).toString();
    }
    if (name == "window") {
        arity(1, 2);
        automation::OfficeMachine& office = session.office();
        const automation::WindowHandle handle = office.hostWindow(q[1].text);
        const std::string field = optional(2, "summary");
        checkField(field, {"summary", "state", "visible", "foreground", "class", "handle"});
        if (field == "handle") return std::to_string(handle);
        if (handle == 0) return field == "summary" ? "none" : "";
        const std::string state = std::to_string(office.windowShowState(handle));
        const std::string visible = boolText(office.windowVisible(handle));
        const std::string front = boolText(office.foregroundWindow() == handle);
        return dialogField(field, {{"summary", "state " + state + ", visible " + visible + ", foreground " + front},
                                   {"state", state},
                                   {"visible", visible},
                                   {"foreground", front},
                                   {"class", office.windowClass(handle)}});
    }
    if (name == "foreground") {
        arity(0, 0);
        const automation::WindowHandle handle = session.office().foregroundWindow();
        return handle == 0 ? "" : session.office().windowClass(handle);
    }
    if (name == "sentkeys") {
        arity(0, 0);
        return joined(session.office().sentKeys(), "\n");
    }
    if (name == "actionlog") {
        arity(0, 0);
        return joined(session.office().actionLog(), "\n");
    }
    if (name == "workbooks" || name == "sheetcell" || name == "workbook" || name == "activeworkbook") {
        auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(session.office().host("Excel"));
        if (!excel) throw CommandError("Excel is not running");
        if (name == "workbooks") {
            arity(0, 0);
            std::vector<std::string> names;
            for (const auto& book : excel->Workbooks()->Enumerate()) names.push_back(book->Name());
            return joined(names, "\n");
        }
        if (name == "activeworkbook") {
            arity(0, 0);
            const automation::WorkbookPtr book = excel->ActiveWorkbook();
            return book ? book->Name() : "Nothing";
        }
        if (name == "workbook") {
            arity(2, 2);
            const std::string field = q[2].text;
            checkField(field, {"fullname", "path", "saved", "sheets", "activesheet"});
            automation::WorkbookPtr book;
            try {
                book = excel->Workbooks()->Item(q[1].text);
            } catch (const automation::AutomationError& e) {
                throw CommandError("no open workbook " + q[1].text + ": " + e.description());
            }
            if (field == "fullname") return book->FullName();
            if (field == "path") return book->Path();
            if (field == "saved") return boolText(book->Saved());
            if (field == "activesheet") return book->ActiveSheet()->Name();
            std::vector<std::string> sheets;
            for (int i = 1; i <= book->WorksheetCount(); ++i) sheets.push_back(book->Worksheets(i)->Name());
            return joined(sheets, "\n");
        }
        arity(3, 4);
        const std::string field = optional(4, "text");
        checkField(field, {"text", "type", "value"});
        automation::RangePtr cell;
        try {
            cell = excel->Workbooks()->Item(q[1].text)->Worksheets(q[2].text)->Range(q[3].text);
        } catch (const automation::AutomationError& e) {
            throw CommandError("no cell " + q[3].text + " of sheet " + q[2].text + " in an open workbook " + q[1].text +
                               ": " + e.description());
        }
        if (field == "text") return cell->Text();
        const automation::Variant value = cell->Value();
        if (field == "value") return value.toString();
        // VBA's TypeName of the cell's Value: what tells the number 1 from the text "1".
        switch (value.kind()) {
            case automation::Variant::Kind::Empty:
                return "Empty";
            case automation::Variant::Kind::Boolean:
                return "Boolean";
            case automation::Variant::Kind::Long:
                return "Long";
            case automation::Variant::Kind::Double:
                return "Double";
            case automation::Variant::Kind::String:
                return "String";
        }
        return "Unknown";
    }
    throw CommandError("unknown query \"" + name + "\"");
}

}  // namespace tessaline::scenario
