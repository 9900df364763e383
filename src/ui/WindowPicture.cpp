#include "ui/WindowPicture.h"

#include <QApplication>
#include <QPixmap>

#include "shell/Form1.h"
#include "ui/MainWindow.h"
#include "ui/Text.h"

namespace tessaline::ui {

bool saveWindowPicture(shell::Form1& form, const std::string& pngPath) {
    if (QApplication::instance() == nullptr || pngPath.empty()) return false;
    MainWindow window(form);
    // Laid out and painted as on screen, yet never shown there.
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QApplication::processEvents();
    const QPixmap picture = window.grab();
    window.hide();
    return !picture.isNull() && picture.save(toQ(pngPath), "PNG");
}

}  // namespace tessaline::ui
