#pragma once

#include "shell/Control.h"

namespace tessaline::shell {

class Form1;

// The window's own handlers: start, end, keys, the host frame, the status bar, Help and Exit.
void Form_Load(Form1& form);
void Form_Terminate(Form1& form);
void Form_KeyPress(Form1& form, int& keyAscii);
void Frame1_MouseDown(Form1& form, const MouseEvent& mouse);
void StatusBar1_PanelDblClick(Form1& form, int panel);
void menuAbout_Click(Form1& form);
void menuHowtouse_Click(Form1& form);
void menuExit_Click(Form1& form);

// The add-button code template that the hidden Code box holds until the window loads (CR LF line ends).
extern const char* const kCodeTemplateText;

}  // namespace tessaline::shell
