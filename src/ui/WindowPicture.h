#pragma once

#include <string>

namespace tessaline::shell {
class Form1;
}

namespace tessaline::ui {

// Renders the main window of `form` as it stands now and saves it as a PNG, without showing anything on
// screen. Needs a QApplication (any platform, "offscreen" included); returns false when there is none or
// the file cannot be written.
bool saveWindowPicture(shell::Form1& form, const std::string& pngPath);

}  // namespace tessaline::ui
