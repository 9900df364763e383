#include "program/Handlers.h"

#include "designer/DesignerHandlers.h"
#include "editing/EditingHandlers.h"
#include "shell/Form1.h"
#include "sources/SourcesHandlers.h"

namespace tessaline::program {

void attachSubsystemHandlers(shell::Form1& form) {
    // Each subsystem adds one call here as it arrives.
    editing::attachHandlers(form);
    designer::attachHandlers(form);
    sources::attachHandlers(form);
}

}  // namespace tessaline::program
