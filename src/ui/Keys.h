#pragma once

#include <QtCore/qnamespace.h>

#include <vector>

class QKeyEvent;
class QString;

namespace tessaline::ui {

// VB's key code (vbKeyDelete = 46, vbKeyA = 65, ...) of a pressed key; 0 for keys VB has no code for.
int vbKeyCode(const QKeyEvent& event);
// VB's shift state: 1 Shift, 2 Ctrl, 4 Alt.
int vbShift(Qt::KeyboardModifiers modifiers);
// VB's mouse button code: 1 left, 2 right, 4 middle; 0 for any other button.
int vbButton(Qt::MouseButton button);
// The KeyPress character codes a key produces, in order: Backspace gives 8 and Enter 13; keys that type
// nothing (Delete, arrows, function keys, Tab, Esc) give none; text keys give one code point per character.
std::vector<int> vbKeyPressCodes(const QKeyEvent& event);
// One code per Unicode character of text typed or committed by an input method.
std::vector<int> codePoints(const QString& text);

}  // namespace tessaline::ui
