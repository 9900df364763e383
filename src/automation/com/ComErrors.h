#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

#include "automation/AutomationError.h"

namespace tessaline::automation::com {

// The error VB reports for a failed automation call, so every box reads as it would on Windows:
// - DISP_E_EXCEPTION: the number and description the server put in EXCEPINFO (a VB error carried as
//   0x800Annnn reads as nnnn); with no description, VB's own text for the number;
// - otherwise VB's mapping of the HRESULT (E_INVALIDARG is 5, DISP_E_BADINDEX 9, MK_E_UNAVAILABLE 429,
//   a server that is gone "Automation error" with the system's reason, ...);
// - a failure that carries no description at all is "Method 'member' of object 'type' failed".
AutomationError errorFromHresult(HRESULT hr, const EXCEPINFO* info, std::string_view member,
                                 std::string_view typeName);

// The reverse, for a server: the HRESULT (and, for DISP_E_EXCEPTION, the EXCEPINFO) that makes a client
// report `error`. Errors Office raises as plain HRESULTs go out as those; the rest as DISP_E_EXCEPTION with
// the VB number in the scode. `source` names the application that raised it.
HRESULT hresultFromError(const AutomationError& error, EXCEPINFO* info, std::string_view source);

// VB's text for its own error numbers ("Subscript out of range" for 9); "" for a number it has none for.
std::string vbErrorText(int number);

}  // namespace tessaline::automation::com
