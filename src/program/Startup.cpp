#include "program/Startup.h"

#include "program/Handlers.h"
#include "shell/Form1.h"

namespace tessaline::program {

std::unique_ptr<shell::Form1> openMainWindow(automation::Desktop& desktop, shell::Ui& ui) {
    auto form = std::make_unique<shell::Form1>(desktop, ui);
    attachSubsystemHandlers(*form);
    form->load();
    return form;
}

}  // namespace tessaline::program
