#include "editing/EditingHandlers.h"

#include "editing/ComboBoxItems.h"
#include "editing/CommandbarOperations.h"
#include "editing/ControlOperations.h"
#include "editing/Search.h"
#include "shell/Form1.h"

namespace tessaline::editing {

void attachHandlers(shell::Form1& form) {
    struct Binding {
        const char* item;
        void (*handler)(shell::Form1&);
    };
    static constexpr Binding bindings[] = {
        {"ShowCommandbar", ShowCommandbar_Click},
        {"CloseCommandbar", CloseCommandbar_Click},
        {"DeleteCommandbar", DeleteCommandbar_Click},
        {"ResetCommandbar", ResetCommandbar_Click},
        {"ClearAll", ClearAll_Click},
        {"CreateMenubar", CreateMenubar_Click},
        {"CreateToolbar", CreateToolbar_Click},
        {"CreatePopupbar", CreatePopupbar_Click},
        {"AddItemforCombobox", AddItemforCombobox_Click},
        {"AddMacroNames", AddMacroNames_Click},
        {"DeleteItemforCombobox", DeleteItemforCombobox_Click},
        {"ClearItems", ClearItems_Click},
        {"ModifyControl", ModifyControl_Click},
        {"DeleteControl", DeleteControl_Click},
        {"MoveToTop", MoveToTop_Click},
        {"MoveToPrevious", MoveToPrevious_Click},
        {"MoveToNext", MoveToNext_Click},
        {"MoveToBottom", MoveToBottom_Click},
        {"CopyTo", CopyTo_Click},
    };
    for (const Binding& binding : bindings) {
        form.menu(binding.item).onClick = [&form, handler = binding.handler] { handler(form); };
    }
    form.SearchCommandbar.onClick = [&form] { SearchCommandbar_Click(form); };
}

}  // namespace tessaline::editing
