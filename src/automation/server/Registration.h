#pragma once

#include <string>

// What a client needs in the registry to find the served Office. Every step is idempotent and leaves the keys
// of an installed Office alone: a ProgID registered already keeps its class (GetActiveObject by the class
// still finds this server, as it registers under Office's own classes).
namespace tessaline::automation::server {

// Registers the ProgID of each host ("Excel.Application" -> Excel's CLSID, ...) where it is not registered
// yet, and "Tessaline.Office" for the control channel. Returns what could not be done ("" when all went in).
std::string registerProgIds();

// Registers the type library describing _CommandBarButtonEvents (embedded in `module` as TYPELIB resource
// 1, or `fallbackFile` beside it) and the interface's proxy entries, unless an installed Office describes
// the interface already. Returns what could not be done.
std::string registerEventLibrary(const std::wstring& module, const std::wstring& fallbackFile);

}  // namespace tessaline::automation::server
