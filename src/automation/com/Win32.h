#pragma once

// windows.h without the macros that rename automation members: GetObject and FindWindow would otherwise
// turn the Desktop's members into GetObjectW and FindWindowW wherever windows.h came first. Include this
// before any automation header in code that also uses the Desktop.
#include <windows.h>

#undef GetObject
#undef FindWindow
