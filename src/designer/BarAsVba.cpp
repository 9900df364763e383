#include "designer/BarAsVba.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "shell/ErrorModes.h"
#include "shell/Form1.h"

namespace tessaline::designer {

namespace {

namespace mso = automation::mso;
using editing::ControlSnapshot;

constexpr const char* kEol = "\r\n";

bool isListType(int type) { return type >= mso::ControlEdit && type <= mso::ControlComboBox; }

std::string boolText(bool value) { return value ? "True" : "False"; }

int depthOf(const std::vector<ControlSnapshot>& controls) {
    int depth = 0;
    for (const ControlSnapshot& c : controls) depth = std::max(depth, 1 + depthOf(c.controls));
    return depth;
}

class Writer {
public:
    void line(int indent, const std::string& text) { out_ += std::string(4 * indent, ' ') + text + kEol; }
    std::string take() { return std::move(out_); }

    void declare(int depth) {
        line(1, "Dim cb As Object");
        for (int d = 1; d <= depth; ++d) line(1, "Dim c" + std::to_string(d) + " As Object");
    }

    // Adds `controls` to the container variable `parent`, each into variable c<depth>.
    void controls(const std::string& parent, const std::vector<ControlSnapshot>& list, int depth) {
        const std::string var = "c" + std::to_string(depth);
        for (std::size_t i = 0; i < list.size(); ++i) {
            const ControlSnapshot& c = list[i];
            std::string add = "Set " + var + " = " + parent + ".Controls.Add(Type:=" + std::to_string(c.type);
            if (c.id != 1) add += ", Id:=" + std::to_string(c.id);
            add += ", Before:=" + std::to_string(i + 1) + ")";
            line(1, add);
            properties(var, c);
            if (c.isPopup) {
                if (c.id != 1) clear(var);
                controls(var, c.controls, depth + 1);
            }
        }
    }

    // Empties a container of the items its Add brought.
    void clear(const std::string& var) {
        line(1, "Do While " + var + ".Controls.Count > 0");
        line(2, var + ".Controls(1).Delete");
        line(1, "Loop");
    }

private:
    void set(std::vector<std::string>& body, const char* name, const std::string& value) {
        body.push_back("." + std::string(name) + " = " + value);
    }

    void properties(const std::string& var, const ControlSnapshot& c) {
        // A built-in command's control starts with its command's look, a custom one with nothing.
        const bool all = c.id != 1;
        std::vector<std::string> body;
        if (all || !c.caption.empty()) set(body, "Caption", VbaString(c.caption));
        if (c.style && (all || *c.style != 0)) set(body, "Style", std::to_string(*c.style));
        if (c.faceId && (all || *c.faceId != 0)) set(body, "FaceId", std::to_string(*c.faceId));
        if (all || !c.tooltipText.empty()) set(body, "TooltipText", VbaString(c.tooltipText));
        if (all || !c.tag.empty()) set(body, "Tag", VbaString(c.tag));
        if (!c.onAction.empty()) set(body, "OnAction", VbaString(c.onAction));
        if (c.shortcutText && !c.onAction.empty() && (all || !c.shortcutText->empty())) {
            set(body, "ShortcutText", VbaString(*c.shortcutText));
        }
        if (all || c.beginGroup) set(body, "BeginGroup", boolText(c.beginGroup));
        if (all || !c.enabled) set(body, "Enabled", boolText(c.enabled));
        if (isListType(c.type)) {
            set(body, "Width", std::to_string(c.width));
            // A built-in command's list belongs to the command; only a custom list is written.
            if (c.items && !c.builtIn && c.type != mso::ControlEdit) {
                if (all) body.push_back(".Clear");
                for (const std::string& item : *c.items) body.push_back(".AddItem " + VbaString(item));
            }
            if (c.text && (all || !c.text->empty())) set(body, "Text", VbaString(*c.text));
        }
        if (all || !c.visible) set(body, "Visible", boolText(c.visible));
        if (body.empty()) return;
        line(1, "With " + var);
        for (const std::string& statement : body) line(2, statement);
        line(1, "End With");
    }

    std::string out_;
};

std::string procedureName(const std::string& name) {
    std::string ascii;
    for (char ch : name) {
        if (std::isalnum(static_cast<unsigned char>(ch)) != 0 && static_cast<unsigned char>(ch) < 0x80) ascii += ch;
    }
    if (ascii.empty() || std::isdigit(static_cast<unsigned char>(ascii[0])) != 0) ascii = "Bar" + ascii;
    return "Build" + ascii;
}

// The 1-based index path of the open popup below the current bar, climbing through the popups' bars.
std::vector<int> popupPath(shell::Form1& form) {
    std::vector<int> path;
    automation::ControlPtr control = form.CurrentPopup;
    for (int guard = 0; control && guard < 64; ++guard) {
        path.insert(path.begin(), control->Index());
        automation::CommandBarPtr holder = control->Parent();
        control = holder ? std::dynamic_pointer_cast<automation::CommandBarControl>(holder->Parent()) : nullptr;
    }
    return path;
}

}  // namespace

std::string VbaString(const std::string& text) {
    std::string out = "\"";
    for (char ch : text) {
        if (ch == '"') out += '"';
        out += ch;
    }
    return out + "\"";
}

std::string BarAsVba(const editing::BarSnapshot& bar) {
    Writer w;
    w.line(0, "Sub " + procedureName(bar.name) + "()");
    w.declare(depthOf(bar.controls));
    if (!bar.builtIn) {
        // A custom bar of that name is replaced, so the procedure can run again.
        w.line(1, "On Error Resume Next");
        w.line(1, "CommandBars(" + VbaString(bar.name) + ").Delete");
        w.line(1, "On Error GoTo 0");
    }
    w.line(1, "Set cb = CommandBars.Add(Name:=" + VbaString(bar.name) + ", Position:=" + std::to_string(bar.position) +
                  ", MenuBar:=" + boolText(bar.type == mso::BarTypeMenuBar) + ", Temporary:=False)");
    w.controls("cb", bar.controls, 1);
    if (!bar.enabled || bar.visible) {
        w.line(1, "With cb");
        if (!bar.enabled) w.line(2, ".Enabled = False");
        if (bar.visible) w.line(2, ".Visible = True");
        w.line(1, "End With");
    }
    w.line(0, "End Sub");
    return w.take();
}

std::string PopupAsVba(const std::string& barName, const std::vector<int>& path,
                       const std::vector<editing::ControlSnapshot>& subItems) {
    Writer w;
    w.line(0, "Sub " + procedureName(barName) + "Popup()");
    w.declare(depthOf(subItems));
    std::string address = "CommandBars(" + VbaString(barName) + ")";
    for (int index : path) address += ".Controls(" + std::to_string(index) + ")";
    w.line(1, "Set cb = " + address);
    w.clear("cb");
    w.controls("cb", subItems, 1);
    w.line(0, "End Sub");
    return w.take();
}

void menuBarAsVba_Click(shell::Form1& form) {
    shell::report(form, [&] {
        automation::CommandBar& bar = shell::obj(form.CurrentBar);
        std::string code;
        if (form.CurrentPopup) {
            code = PopupAsVba(bar.Name(), popupPath(form), editing::snapshotControls(*form.CurrentPopup->Controls()));
        } else {
            code = BarAsVba(editing::snapshotBar(bar));
        }
        form.RichTextBox1.SetText(code);
    });
}

}  // namespace tessaline::designer
