#include "designer/CodePane.h"

#include "automation/VbRuntime.h"
#include "shell/Form1.h"

namespace tessaline::designer {

std::string MacroStub(const std::string& macroName) {
    const std::string crlf = "\r\n";
    // The name goes in exactly as the host reads it back; a control without a macro still gets its stub, so
    // the user sees at once which controls have nothing to run.
    return "Sub " + macroName + "()" + crlf + "\tMsgbox \"" + macroName + "\"" + crlf + "End Sub" + crlf;
}

// Mode none. The box keeps its own handling of every click; only the right button adds the menu.
void RichTextBox1_MouseDown(shell::Form1& form, const shell::MouseEvent& mouse) {
    if (mouse.button == shell::vbbutton::Right) form.PopupMenu(form.menu("menuCallback"));
}

// Mode none. A clipboard that cannot be opened raises here and the dispatcher reports it.
void menuCopyCode_Click(shell::Form1& form) {
    form.ui().ClipboardClear();
    form.ui().ClipboardSetText(form.RichTextBox1.SelText());
}

// Mode none.
void menuSelectAll_Click(shell::Form1& form) {
    form.RichTextBox1.SetSelStart(0);
    form.RichTextBox1.SetSelLength(automation::vb::Len(form.RichTextBox1.Text()));
}

// Mode none.
void menuClearCallback_Click(shell::Form1& form) { form.RichTextBox1.SetText(""); }

}  // namespace tessaline::designer
