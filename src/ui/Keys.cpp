#include "ui/Keys.h"

#include <QKeyEvent>
#include <QString>

namespace tessaline::ui {

int vbKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 65 + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return (event.modifiers() & Qt::KeypadModifier) ? 96 + (key - Qt::Key_0) : 48 + (key - Qt::Key_0);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F16) return 112 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Clear:
            return 12;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Pause:
            return 19;
        case Qt::Key_CapsLock:
            return 20;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Asterisk:
            return 106;
        case Qt::Key_Plus:
            return 107;
        case Qt::Key_Minus:
            return (event.modifiers() & Qt::KeypadModifier) ? 109 : 189;
        case Qt::Key_Period:
            return (event.modifiers() & Qt::KeypadModifier) ? 110 : 190;
        case Qt::Key_Slash:
            return (event.modifiers() & Qt::KeypadModifier) ? 111 : 191;
        case Qt::Key_NumLock:
            return 144;
        default:
            return 0;
    }
}

int vbShift(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= 1;
    if (modifiers & Qt::ControlModifier) shift |= 2;
    if (modifiers & Qt::AltModifier) shift |= 4;
    return shift;
}

int vbButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

std::vector<int> codePoints(const QString& text) {
    std::vector<int> codes;
    for (char32_t c : text.toUcs4()) codes.push_back(static_cast<int>(c));
    return codes;
}

std::vector<int> vbKeyPressCodes(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace:
            return {8};
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return {13};
        case Qt::Key_Delete:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return {};
        default:
            break;
    }
    std::vector<int> codes;
    for (int c : codePoints(event.text())) {
        // DEL is what some platforms put in the text of the Delete key; it types nothing.
        if (c != 0x7F) codes.push_back(c);
    }
    return codes;
}

}  // namespace tessaline::ui
