#pragma once

#include "automation/com/Win32.h"

#include <string>

namespace tessaline::winui {

// Saves what `window` shows on screen, frame and menu bar included, as a PNG written by the Windows
// Imaging Component. The window must be shown. Raises std::runtime_error saying what failed.
void saveWindowPicture(HWND window, const std::string& pngPath);

}  // namespace tessaline::winui
