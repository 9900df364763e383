#include "ui/FloatingButtons.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <QToolTip>
#include <algorithm>
#include <map>
#include <utility>

#include "ui/HostBarsView.h"
#include "ui/Text.h"

namespace tessaline::ui {

namespace {

namespace mso = automation::mso;

bool isSplit(int type) { return type >= mso::ControlButtonPopup && type <= mso::ControlSplitButtonMRUPopup; }

// What a screen reader finds of the painted buttons: one child per button, named by its caption, described
// by its tooltip, and pressed as a click would.
class ButtonAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ButtonAccessible(FloatingButtons* buttons, std::size_t at) : buttons_(buttons), at_(at) {}

    bool isValid() const override { return buttons_ != nullptr && at_ < buttons_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent() != nullptr ? parent()->window() : nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(buttons_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
        if (!isValid()) return {};
        const ShownControl& shown = buttons_->button(at_).shown;
        if (kind == QAccessible::Name) return toQ(withoutAccelerator(shown.caption));
        if (kind == QAccessible::Description) return toQ(hostToolTip(shown));
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect local = buttons_->buttonRect(at_);
        return QRect(buttons_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override {
        return isValid() && isPopupType(buttons_->button(at_).shown.type) ? QAccessible::ButtonMenu
                                                                          : QAccessible::Button;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.disabled = !isValid() || !buttons_->button(at_).shown.enabled || !buttons_->isEnabled();
        state.invisible = buttons_ == nullptr || !buttons_->isVisible();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid()) buttons_->press(at_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<FloatingButtons> buttons_;
    std::size_t at_;
};

class ButtonsAccessible final : public QAccessibleWidget {
public:
    explicit ButtonsAccessible(FloatingButtons* buttons) : QAccessibleWidget(buttons, QAccessible::ToolBar) {}
    ~ButtonsAccessible() override {
        for (const auto& [index, id] : children_) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return static_cast<int>(buttons()->count()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || static_cast<std::size_t>(index) >= buttons()->count()) return nullptr;
        // Made when first asked for: a thousand of them up front would cost what the widgets did.
        auto found = children_.find(index);
        if (found == children_.end()) {
            found = children_
                        .emplace(index, QAccessible::registerAccessibleInterface(
                                            new ButtonAccessible(buttons(), static_cast<std::size_t>(index))))
                        .first;
        }
        return QAccessible::accessibleInterface(found->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [index, id] : children_) {
            if (QAccessible::accessibleInterface(id) == child) return index;
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int at = buttons()->buttonAt(buttons()->mapFromGlobal(QPoint(x, y)));
        return at >= 0 ? child(at) : nullptr;
    }

private:
    FloatingButtons* buttons() const { return static_cast<FloatingButtons*>(widget()); }
    mutable std::map<int, QAccessible::Id> children_;
};

QAccessibleInterface* makeAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(FloatingButtons::staticMetaObject.className()) && object->isWidgetType())
        return new ButtonsAccessible(static_cast<FloatingButtons*>(object));
    return nullptr;
}

}  // namespace

FloatingButtons::FloatingButtons(Actions actions, QSize iconSize, QWidget* parent)
    : QWidget(parent), actions_(std::move(actions)), iconSize_(iconSize) {
    static const bool accessible = (QAccessible::installFactory(makeAccessible), true);
    (void)accessible;
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
    if (buttonAt(event->position().toPoint()) != at) return;
    // A copy: the click may change the bar, and these buttons with it.
    press(i);
}

void FloatingButtons::press(std::size_t at) {
    if (at >= buttons_.size() || !buttons_[at].shown.enabled) return;
    if (isPopupType(buttons_[at].shown.type) && !isSplit(buttons_[at].shown.type)) {
        dropList(at);
        return;
    }
    if (!actions_.click) return;
    // A copy: the click may change the bar, and these buttons with it.
    const automation::ControlPtr control = buttons_[at].shown.control;
    actions_.click(control);
}

void FloatingButtons::dropList(std::size_t at) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (actions_.fillMenu) actions_.fillMenu(*menu, buttons_[at].shown.children);
    menu->popup(mapToGlobal(rects_[at].bottomLeft()));
}

}  // namespace tessaline::ui
