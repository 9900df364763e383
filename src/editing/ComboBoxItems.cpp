#include "editing/ComboBoxItems.h"

#include <cstdint>
#include <string>
#include <vector>

#include "automation/VbRuntime.h"
#include "editing/SelectedControl.h"
#include "shell/Form1.h"

namespace tessaline::editing {

namespace {

constexpr const char* kInputTitle = "对话框";

automation::ComboBoxPtr selectedComboBox(shell::Form1& form) { return SelectedControl(form)->AsComboBox(); }

}  // namespace

// Report mode. Pieces are taken as typed: blanks stay and an empty piece is offered to the host too, which
// refuses it; the items added before that stay.
void AddItemforCombobox_Click(shell::Form1& form) {
    shell::report(form, [&] {
        const std::string text = form.ui().InputBox("输入组合框条目,用逗号隔开", kInputTitle);
        if (text.empty()) return;
        automation::ComboBoxPtr combo = selectedComboBox(form);
        for (const std::string& piece : automation::vb::Split(text, ",")) combo->AddItem(piece);
    });
}

// Report mode. An empty macro list leaves the combo box as it is rather than emptying it.
void AddMacroNames_Click(shell::Form1& form) {
    shell::report(form, [&] {
        if (form.ListMacros.ListCount() == 0) return;
        automation::ComboBoxPtr combo = selectedComboBox(form);
        combo->Clear();
        const int count = form.ListMacros.ListCount();
        for (int i = 0; i < count; ++i) combo->AddItem(form.ListMacros.List(i));
    });
}

// Resume mode. A number that is not a valid item (0, negative, past the end, beyond 16 bits, no number at
// all) removes nothing and says nothing.
void DeleteItemforCombobox_Click(shell::Form1& form) {
    const std::string text = form.ui().InputBox("输入删除条目的序号,例如: 3", kInputTitle);
    std::int16_t number = 0;
    shell::resume(form, [&] { number = automation::vb::CInt(automation::vb::Val(text)); });
    if (shell::resumeIf(form, [&] { return number > 0; })) {
        shell::resume(form, [&] { selectedComboBox(form)->RemoveItem(number); });
    }
}

// Report mode.
void ClearItems_Click(shell::Form1& form) {
    shell::report(form, [&] { selectedComboBox(form)->Clear(); });
}

}  // namespace tessaline::editing
