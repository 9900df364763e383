#pragma once

#include <cstdint>
#include <string>

#include "automation/Office.h"
#include "shell/Control.h"

namespace tessaline::shell {

class Form1;

void SetControlGridHeaders(Form1& form);
// The 13 cells of a control's grid row, TAB-joined. Raises when any value cannot be read.
std::string ControlRowText(automation::CommandBarControl& control);
// Adds one row per control of `controls` at RowCounter, in collection order, with CurrentControl as the
// loop variable. A control whose row cannot be built adds no row; RowCounter still moves on.
void ListControls(Form1& form, automation::CommandBarControls& controls);

void ListAllCommandControls_Click(Form1& form);
void ListAllCommandControls_DblClick(Form1& form);
void ListAllCommandControls_MouseDown(Form1& form, const MouseEvent& mouse);
void ListAllCommandControls_KeyDown(Form1& form, int& keyCode, int shift);
void ListAllCommandControls_KeyPress(Form1& form, int& keyAscii);
void IDString_DblClick(Form1& form);
// Builds or relabels Excel's floating "FaceIDViewer" bar with the icons block*1000+1 .. block*1000+1000.
void ShowFaceIdViewer(Form1& form, std::int16_t block);

}  // namespace tessaline::shell
