#include "program/Handlers.h"

#include "shell/Form1.h"

namespace tessaline::program {

void attachSubsystemHandlers(shell::Form1& form) {
    // Each subsystem adds one call here as it arrives.
    (void)form;
}

}  // namespace tessaline::program
