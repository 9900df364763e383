#include "ui/FloatingButtons.h"

#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <QToolTip>
#include <algorithm>
#include <utility>

#include "ui/HostBarsView.h"
#include "ui/Text.h"

namespace tessaline::ui {

namespace {

namespace mso = automation::mso;

bool isSplit(int type) { return type >= mso::ControlButtonPopup && type <= mso::ControlSplitButtonMRUPopup; }

}  // namespace

FloatingButtons::FloatingButtons(Actions actions, QSize iconSize, QWidget* parent)
    : QWidget(parent), actions_(std::move(actions)), iconSize_(iconSize) {
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize FloatingButtons::sizeOf(const Button& button) const {
    // As QToolButton sizes itself, so the bar looks as it did with a widget per button.
    QStyleOptionToolButton option;
    option.initFrom(this);
    option.iconSize = iconSize_;
    option.toolButtonStyle = button.style;
    int w = 0;
    int h = 0;
    if (button.style != Qt::ToolButtonTextOnly) {
        w = iconSize_.width();
        h = iconSize_.height();
    }
    if (button.style != Qt::ToolButtonIconOnly) {
        const QFontMetrics metrics = fontMetrics();
        QSize text = metrics.size(Qt::TextShowMnemonic, toQ(withoutAccelerator(button.shown.caption)));
        text.setWidth(text.width() + metrics.horizontalAdvance(QLatin1Char(' ')) * 2);
        if (button.style == Qt::ToolButtonTextUnderIcon) {
            h += 4 + text.height();
            w = std::max(w, text.width());
        } else if (button.style == Qt::ToolButtonTextBesideIcon) {
            w += 4 + text.width();
            h = std::max(h, text.height());
        } else {
            w = text.width();
            h = text.height();
        }
    }
    option.rect.setSize(QSize(w, h));
    if (isSplit(button.shown.type)) w += style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, this);
    return style()->sizeFromContents(QStyle::CT_ToolButton, &option, QSize(w, h), this);
}

void FloatingButtons::setButtons(std::vector<Button> buttons, int columns) {
    buttons_ = std::move(buttons);
    columns_ = std::max(1, columns);
    sizes_.clear();
    sizes_.reserve(buttons_.size());
    // Buttons showing their face alone are all alike: measured once.
    QSize iconOnly;
    for (const Button& button : buttons_) {
        const bool alike = button.style == Qt::ToolButtonIconOnly && !isPopupType(button.shown.type);
        if (alike && iconOnly.isValid()) {
            sizes_.push_back(iconOnly);
            continue;
        }
        sizes_.push_back(sizeOf(button));
        if (alike) iconOnly = sizes_.back();
    }
    hovered_ = -1;
    pressed_ = -1;
    layOut();
}

void FloatingButtons::setButton(std::size_t at, Button button) {
    if (at >= buttons_.size()) return;
    const bool resized = button.style != buttons_[at].style || button.shown.caption != buttons_[at].shown.caption ||
                         button.shown.type != buttons_[at].shown.type;
    buttons_[at] = std::move(button);
    if (resized) {
        const QSize size = sizeOf(buttons_[at]);
        if (size != sizes_[at]) {
            sizes_[at] = size;
            layOut();
            return;
        }
    }
    update(rects_[at]);
}

void FloatingButtons::layOut() {
    // Rows of `columns_` buttons from the left, each row as high as its highest button, the buttons
    // centred in it; one pixel between rows, as the panel's rows had.
    rects_.assign(buttons_.size(), QRect());
    int y = 0;
    int widest = 0;
    for (std::size_t first = 0; first < buttons_.size(); first += static_cast<std::size_t>(columns_)) {
        const std::size_t end = std::min(buttons_.size(), first + static_cast<std::size_t>(columns_));
        int height = 0;
        for (std::size_t i = first; i < end; ++i) height = std::max(height, sizes_[i].height());
        int x = 0;
        for (std::size_t i = first; i < end; ++i) {
            rects_[i] = QRect(QPoint(x, y + (height - sizes_[i].height()) / 2), sizes_[i]);
            x += sizes_[i].width();
        }
        widest = std::max(widest, x);
        y += height + 1;
    }
    size_ = QSize(widest, std::max(0, y - 1));
    updateGeometry();
    update();
}

int FloatingButtons::buttonAt(const QPoint& point) const {
    for (std::size_t i = 0; i < rects_.size(); ++i) {
        if (rects_[i].contains(point)) return static_cast<int>(i);
    }
    return -1;
}

void FloatingButtons::setHovered(int at) {
    if (at == hovered_) return;
    if (hovered_ >= 0) update(rects_[static_cast<std::size_t>(hovered_)]);
    hovered_ = at;
    if (hovered_ >= 0) update(rects_[static_cast<std::size_t>(hovered_)]);
}

bool FloatingButtons::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int at = buttonAt(help->pos());
        if (at < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const auto i = static_cast<std::size_t>(at);
        QToolTip::showText(help->globalPos(), toQ(hostToolTip(buttons_[i].shown)), this, rects_[i]);
        return true;
    }
    return QWidget::event(event);
}

void FloatingButtons::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed = event->rect();
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        if (!rects_[i].intersects(exposed)) continue;
        const Button& button = buttons_[i];
        QStyleOptionToolButton option;
        option.initFrom(this);
        option.rect = rects_[i];
        option.text = toQ(withoutAccelerator(button.shown.caption)).replace(QLatin1Char('&'), QStringLiteral("&&"));
        option.icon = button.icon;
        option.iconSize = iconSize_;
        option.toolButtonStyle = button.style;
        option.subControls = QStyle::SC_ToolButton;
        option.activeSubControls = QStyle::SC_None;
        option.features = QStyleOptionToolButton::None;
        option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
        option.state |= QStyle::State_AutoRaise;
        if (!button.shown.enabled || !isEnabled()) option.state &= ~QStyle::State_Enabled;
        const bool enabled = (option.state & QStyle::State_Enabled) != 0;
        if (isPopupType(button.shown.type)) {
            option.features |= QStyleOptionToolButton::HasMenu;
            if (isSplit(button.shown.type)) {
                option.features |= QStyleOptionToolButton::MenuButtonPopup;
                option.subControls |= QStyle::SC_ToolButtonMenu;
            } else {
                option.features |= QStyleOptionToolButton::PopupDelay;
            }
        }
        if (enabled && static_cast<int>(i) == hovered_) {
            option.state |= QStyle::State_MouseOver | QStyle::State_Raised;
            option.activeSubControls = QStyle::SC_ToolButton;
        }
        if (enabled && static_cast<int>(i) == pressed_ && pressed_ == hovered_) {
            option.state |= QStyle::State_Sunken;
            option.state &= ~QStyle::State_Raised;
        }
        style()->drawComplexControl(QStyle::CC_ToolButton, &option, &painter, this);
    }
}

void FloatingButtons::mouseMoveEvent(QMouseEvent* event) {
    setHovered(buttonAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void FloatingButtons::leaveEvent(QEvent* event) {
    setHovered(-1);
    QWidget::leaveEvent(event);
}

void FloatingButtons::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const int at = buttonAt(event->position().toPoint());
    hovered_ = at;
    if (at < 0 || !buttons_[static_cast<std::size_t>(at)].shown.enabled) return;
    const auto i = static_cast<std::size_t>(at);
    const int type = buttons_[i].shown.type;
    if (isPopupType(type)) {
        // A plain popup drops its list from anywhere; a split button only from its arrow.
        QStyleOptionToolButton option;
        option.initFrom(this);
        option.rect = rects_[i];
        option.subControls = QStyle::SC_ToolButton | QStyle::SC_ToolButtonMenu;
        option.features = QStyleOptionToolButton::MenuButtonPopup | QStyleOptionToolButton::HasMenu;
        const QRect arrow = style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu, this);
        if (!isSplit(type) || arrow.contains(event->position().toPoint())) {
            dropList(i);
            return;
        }
    }
    pressed_ = at;
    update(rects_[i]);
}

void FloatingButtons::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    const int at = pressed_;
    pressed_ = -1;
    if (at < 0) return;
    const auto i = static_cast<std::size_t>(at);
    update(rects_[i]);
    if (buttonAt(event->position().toPoint()) != at || !actions_.click) return;
    // A copy: the click may change the bar, and these buttons with it.
    const automation::ControlPtr control = buttons_[i].shown.control;
    actions_.click(control);
}

void FloatingButtons::dropList(std::size_t at) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (actions_.fillMenu) actions_.fillMenu(*menu, buttons_[at].shown.children);
    menu->popup(mapToGlobal(rects_[at].bottomLeft()));
}

}  // namespace tessaline::ui
