#pragma once

#include <string>

namespace tessaline::shell {

class Form1;

// Host selection: each option detaches first, then attaches to the running host and lists its bars.
void Excel_Click(Form1& form);
void Word_Click(Form1& form);
void PowerPoint_Click(Form1& form);
void Access_Click(Form1& form);
void Outlook_Click(Form1& form);
void VBE_Click(Form1& form);
void Void_Click(Form1& form);

// Finds the top-level window of that class, maximizes it and brings it to the front.
void ActivateHostWindow(Form1& form, const std::string& windowClass);

}  // namespace tessaline::shell
