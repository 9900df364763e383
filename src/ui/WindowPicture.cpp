#include "ui/WindowPicture.h"

#include <QApplication>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "shell/Form1.h"

namespace tessaline::ui {

bool saveWindowPicture(shell::Form1& form, const std::string& pngPath) {
    if (QApplication::instance() == nullptr) return false;
    QWidget window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.setWindowTitle(QString::fromStdString(form.Caption));
    window.resize(13905 / 15, 8520 / 15);
    window.show();
    QApplication::processEvents();
    return window.grab().save(QString::fromStdString(pngPath), "PNG");
}

}  // namespace tessaline::ui
