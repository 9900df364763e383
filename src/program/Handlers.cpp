#include "program/Handlers.h"

#include "designer/BarAsVba.h"
#include "designer/DesignerHandlers.h"
#include "editing/EditingHandlers.h"
#include "editing/Journal.h"
#include "editing/LiveFind.h"
#include "shell/Form1.h"
#include "sources/CompareRecordings.h"
#include "sources/SourcesHandlers.h"

namespace tessaline::program {

void attachSubsystemHandlers(shell::Form1& form) {
    // Each subsystem adds one call here as it arrives.
    editing::attachHandlers(form);
    designer::attachHandlers(form);
    sources::attachHandlers(form);
    // The tools menu: features of this tool's own, one per subsystem.
    editing::attachLiveFind(form);
    form.menu("menuBarAsVba").onClick = [&form] { designer::menuBarAsVba_Click(form); };
    sources::attachRecordingComparison(form);
    // Last: the journal wraps every command attached before it.
    editing::attachJournal(form);
}

}  // namespace tessaline::program
