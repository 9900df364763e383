#pragma once

#include <QIcon>
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/HostBars.h"

class QMenu;

namespace tessaline::ui {

// The buttons of a floating bar, painted by one widget: they look and answer as tool buttons do (raised
// under the mouse, pressed, a popup's list on a click, the control's tooltip), but no widget stands behind
// each. The FaceIDViewer shows a thousand buttons at once, and a widget per button cost more to make, show
// and polish than everything else of a new block together.
class FloatingButtons final : public QWidget {
    Q_OBJECT

public:
    struct Button {
        ShownControl shown;
        QIcon icon;
        Qt::ToolButtonStyle style = Qt::ToolButtonIconOnly;
    };
    struct Actions {
        std::function<void(const automation::ControlPtr&)> click;
        // Fills the list a popup drops.
        std::function<void(QMenu&, const std::vector<ShownControl>&)> fillMenu;
    };

    FloatingButtons(Actions actions, QSize iconSize, QWidget* parent);

    // The buttons, `columns` to a row; laid out anew only when their sizes change.
    void setButtons(std::vector<Button> buttons, int columns);
    // One button's looks, in place.
    void setButton(std::size_t at, Button button);

    std::size_t count() const { return buttons_.size(); }
    const Button& button(std::size_t at) const { return buttons_[at]; }
    // Where a button is, in this widget's coordinates.
    QRect buttonRect(std::size_t at) const { return rects_[at]; }

    // The button at a point of this widget, -1 where there is none.
    int buttonAt(const QPoint& point) const;
    // Runs a button as a click on it does (a plain popup drops its list).
    void press(std::size_t at);

    QSize sizeHint() const override { return size_; }
    QSize minimumSizeHint() const override { return size_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QSize sizeOf(const Button& button) const;
    void layOut();
    void setHovered(int at);
    void dropList(std::size_t at);

    Actions actions_;
    QSize iconSize_;
    std::vector<Button> buttons_;
    std::vector<QSize> sizes_;
    std::vector<QRect> rects_;
    int columns_ = 1;
    QSize size_;
    int hovered_ = -1;
    int pressed_ = -1;
};

}  // namespace tessaline::ui
