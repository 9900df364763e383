#include "ui/HostBarsView.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIconEngine>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <algorithm>
#include <memory>
#include <span>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ui/FloatingButtons.h"
#include "ui/Text.h"

namespace tessaline::ui {

namespace {

namespace mso = automation::mso;

// Button styles beyond the four the tool edits, as Office numbers them.
constexpr int kIconAndWrapCaption = 7;
constexpr int kIconAndCaptionBelow = 11;
constexpr int kWrapCaption = 14;
constexpr int kIconAndWrapCaptionBelow = 15;

// The title strip of a floating bar, white on navy as Office draws an active floating toolbar. It paints
// itself: a style sheet's text colour did not reach the label inside the host window's scroll area, which
// left dark text on the navy strip.
class FloatingTitle final : public QLabel {
public:
    FloatingTitle(const QString& text, QWidget* parent) : QLabel(text, parent) {
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
        setMinimumHeight(fontMetrics().height() + 4);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x0a, 0x24, 0x6a));
        painter.setPen(Qt::white);
        painter.setFont(font());
        painter.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
    }
};

// A widget text shown as written: a button's own "&" would otherwise become a mnemonic.
QString literal(const std::string& text) { return toQ(text).replace(QLatin1Char('&'), QStringLiteral("&&")); }

Qt::ToolButtonStyle toolButtonStyle(const ShownControl& shown, bool hasFace) {
    if (!hasFace) return Qt::ToolButtonTextOnly;
    switch (shown.style) {
        case mso::ButtonIcon:
            return Qt::ToolButtonIconOnly;
        case mso::ButtonCaption:
        case kWrapCaption:
            return Qt::ToolButtonTextOnly;
        case kIconAndCaptionBelow:
        case kIconAndWrapCaptionBelow:
            return Qt::ToolButtonTextUnderIcon;
        case kIconAndWrapCaption:
        default:
            // Office shows the face alone on a toolbar by default; without real faces the caption says more.
            return Qt::ToolButtonTextBesideIcon;
    }
}

bool isSplitPopup(int type) { return type >= mso::ControlButtonPopup && type <= mso::ControlSplitButtonMRUPopup; }

}  // namespace

std::string hostToolTip(const ShownControl& shown) {
    std::string tip = shown.tooltip.empty() ? withoutAccelerator(shown.caption) : shown.tooltip;
    if (shown.faceId > 0) tip += (tip.empty() ? "" : "\n") + std::string("FaceId ") + std::to_string(shown.faceId);
    return tip;
}

HostBarsView::HostBarsView(Actions actions) : actions_(std::move(actions)) {}

QSize HostBarsView::badgeSize() { return {30, 16}; }

namespace {

// A badge drawn when it is first painted, not when its button is made: a block of the FaceIDViewer brings a
// thousand new faces at once, and most of them are scrolled out of sight.
class BadgeEngine final : public QIconEngine {
public:
    BadgeEngine(int faceId, std::shared_ptr<const std::array<QPixmap, 10>> digits)
        : faceId_(faceId), digits_(std::move(digits)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        painter->drawPixmap(rect.topLeft(), pixmap(rect.size(), mode, state));
    }
    QPixmap pixmap(const QSize&, QIcon::Mode mode, QIcon::State) override {
        if (drawn_.isNull()) drawn_ = draw();
        if (mode != QIcon::Disabled) return drawn_;
        if (disabled_.isNull()) {
            QStyleOption option;
            option.palette = QApplication::palette();
            disabled_ = QApplication::style()->generatedIconPixmap(QIcon::Disabled, drawn_, &option);
        }
        return disabled_;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        return HostBarsView::badgeSize().boundedTo(size);
    }
    QIconEngine* clone() const override { return new BadgeEngine(faceId_, digits_); }

private:
    QPixmap draw() const {
        const QSize size = HostBarsView::badgeSize();
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        // Square corners without antialiasing, and the number put together from digits drawn once: shaping
        // each number's text cost most of a block of new faces.
        QPainter painter(&pixmap);
        painter.setPen(QColor(0x5a, 0x7e, 0xb0));
        painter.setBrush(QColor(0xe4, 0xec, 0xf7));
        painter.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
        const std::array<QPixmap, 10>& digits = *digits_;
        const QString number = QString::number(faceId_);
        int width = 0;
        for (const QChar digit : number) width += digits[static_cast<std::size_t>(digit.unicode() - u'0')].width();
        int x = (size.width() - width) / 2;
        for (const QChar digit : number) {
            const QPixmap& glyph = digits[static_cast<std::size_t>(digit.unicode() - u'0')];
            painter.drawPixmap(x, (size.height() - glyph.height()) / 2, glyph);
            x += glyph.width();
        }
        return pixmap;
    }

    int faceId_;
    std::shared_ptr<const std::array<QPixmap, 10>> digits_;
    QPixmap drawn_;
    QPixmap disabled_;
};

}  // namespace

QIcon HostBarsView::badge(int faceId) {
    if (auto found = badges_.find(faceId); found != badges_.end()) return found->second;
    QIcon icon(new BadgeEngine(faceId, digitsOf(faceId >= 10000 ? 9 : 10)));
    badges_.emplace(faceId, icon);
    return icon;
}

std::shared_ptr<const std::array<QPixmap, 10>> HostBarsView::digitsOf(int pixelSize) {
    std::shared_ptr<const std::array<QPixmap, 10>>& made = digits_[pixelSize];
    if (made) return made;
    auto digits = std::make_shared<std::array<QPixmap, 10>>();
    QFont font;
    font.setPixelSize(pixelSize);
    const QFontMetrics metrics(font);
    for (int d = 0; d < 10; ++d) {
        const QChar digit(u'0' + d);
        QPixmap glyph(std::max(1, metrics.horizontalAdvance(digit)), metrics.height());
        glyph.fill(Qt::transparent);
        QPainter painter(&glyph);
        painter.setFont(font);
        painter.setPen(QColor(0x1f, 0x3a, 0x60));
        painter.drawText(glyph.rect(), Qt::AlignCenter, QString(digit));
        (*digits)[static_cast<std::size_t>(d)] = glyph;
    }
    made = std::move(digits);
    return made;
}

void HostBarsView::fillMenuBar(QMenuBar& menuBar, const ShownBar& bar) {
    menuBar.setObjectName(toQ(bar.name));
    menuBar.setEnabled(bar.enabled);
    QWidget* corner = nullptr;
    for (const ShownControl& shown : bar.controls) {
        if (isPopupType(shown.type)) {
            QMenu* menu = menuBar.addMenu(toQ(shown.caption));
            menu->menuAction()->setEnabled(shown.enabled);
            addMenuItems(*menu, shown.children);
        } else if (isListType(shown.type)) {
            if (corner == nullptr) {
                corner = new QWidget(&menuBar);
                auto* layout = new QHBoxLayout(corner);
                layout->setContentsMargins(2, 0, 2, 0);
            }
            corner->layout()->addWidget(makeListWidget(shown, corner));
        } else {
            QAction* action = menuBar.addAction(toQ(shown.caption));
            action->setEnabled(shown.enabled);
            action->setToolTip(toQ(hostToolTip(shown)));
            QObject::connect(action, &QAction::triggered, action,
                             [run = actions_.click, control = shown.control] { run(control); });
        }
    }
    if (corner != nullptr) menuBar.setCornerWidget(corner, Qt::TopRightCorner);
}

void HostBarsView::addMenuItems(QMenu& menu, const std::vector<ShownControl>& controls) {
    menu.setToolTipsVisible(true);
    bool first = true;
    for (const ShownControl& shown : controls) {
        if (shown.beginGroup && !first) menu.addSeparator();
        first = false;
        if (isPopupType(shown.type)) {
            QMenu* sub = menu.addMenu(toQ(shown.caption));
            sub->menuAction()->setEnabled(shown.enabled);
            addMenuItems(*sub, shown.children);
            continue;
        }
        if (isListType(shown.type)) {
            auto* row = new QWidget;
            auto* layout = new QHBoxLayout(row);
            layout->setContentsMargins(24, 2, 8, 2);
            if (!shown.caption.empty()) layout->addWidget(new QLabel(literal(withoutAccelerator(shown.caption)), row));
            layout->addWidget(makeListWidget(shown, row));
            auto* holder = new QWidgetAction(&menu);
            holder->setDefaultWidget(row);
            holder->setEnabled(shown.enabled);
            menu.addAction(holder);
            continue;
        }
        QString text = toQ(shown.caption);
        if (!shown.shortcut.empty()) text += QLatin1Char('\t') + toQ(shown.shortcut);
        QAction* action = menu.addAction(text);
        action->setEnabled(shown.enabled);
        action->setToolTip(toQ(hostToolTip(shown)));
        QObject::connect(action, &QAction::triggered, action,
                         [run = actions_.click, control = shown.control] { run(control); });
    }
}

QWidget* HostBarsView::makeListWidget(const ShownControl& shown, QWidget* parent) {
    QWidget* widget = nullptr;
    const automation::ControlPtr control = shown.control;
    const auto enter = actions_.enter;
    if (shown.type == mso::ControlEdit) {
        auto* edit = new QLineEdit(toQ(shown.text), parent);
        QObject::connect(edit, &QLineEdit::returnPressed, edit,
                         [edit, control, enter] { enter(control, toStd(edit->text())); });
        widget = edit;
    } else {
        auto* combo = new QComboBox(parent);
        combo->setEditable(shown.type == mso::ControlComboBox);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const std::string& item : shown.items) combo->addItem(toQ(item));
        combo->setCurrentIndex(combo->findText(toQ(shown.text), Qt::MatchExactly));
        if (combo->isEditable()) combo->setEditText(toQ(shown.text));
        QObject::connect(combo, &QComboBox::textActivated, combo,
                         [control, enter](const QString& text) { enter(control, toStd(text)); });
        widget = combo;
    }
    widget->setAccessibleName(toQ(withoutAccelerator(shown.caption)));
    widget->setToolTip(toQ(hostToolTip(shown)));
    widget->setEnabled(shown.enabled);
    widget->setFixedWidth(shown.width > 0 ? std::clamp(shown.width, 40, 400) : 100);
    return widget;
}

QToolButton* HostBarsView::makeToolButton(const ShownControl& shown, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIconSize(badgeSize());
    showOnButton(*button, shown, nullptr);
    const auto runControl = [run = actions_.click, control = shown.control] { run(control); };
    // A split button runs its own part and drops its list from the arrow; a plain popup only drops it.
    if (!isPopupType(shown.type) || isSplitPopup(shown.type)) {
        QObject::connect(button, &QToolButton::clicked, button, runControl);
    }
    return button;
}

// What a button shows of its control; `before` is what it showed, null for a new button.
void HostBarsView::showOnButton(QToolButton& button, const ShownControl& shown, const ShownControl* before) {
    button.setText(literal(withoutAccelerator(shown.caption)));
    button.setToolTip(toQ(hostToolTip(shown)));
    button.setEnabled(shown.enabled);
    const bool hasFace = shown.type == mso::ControlButton && shown.faceId > 0;
    if (!before || before->faceId != shown.faceId || before->type != shown.type) {
        button.setIcon(hasFace ? badge(shown.faceId) : QIcon());
    }
    button.setToolButtonStyle(toolButtonStyle(shown, hasFace));
    if (isPopupType(shown.type) && (!before || before->children != shown.children)) {
        QMenu* menu = button.menu();
        if (menu == nullptr) {
            menu = new QMenu(&button);
            button.setMenu(menu);
        } else {
            menu->clear();
        }
        addMenuItems(*menu, shown.children);
        button.setPopupMode(isSplitPopup(shown.type) ? QToolButton::MenuButtonPopup : QToolButton::InstantPopup);
    }
}

namespace {

// How a toolbar shows its buttons unless a button says otherwise: a button without a face shows its caption
// alone this way too.
constexpr Qt::ToolButtonStyle kToolBarStyle = Qt::ToolButtonTextBesideIcon;

bool needsOwnButton(const ShownControl& shown) {
    if (isPopupType(shown.type)) return true;
    const bool hasFace = shown.type == mso::ControlButton && shown.faceId > 0;
    return hasFace && toolButtonStyle(shown, hasFace) != kToolBarStyle;
}

// The most controls a docked toolbar holds as buttons of its own. No screen shows more side by side (a
// button is 23 pixels at the narrowest), and Qt lays out every button of a toolbar again whenever one of them
// changes: Standard grown to 2,500 controls cost ~50 ms per changed caption. The rest go to the bar's
// overflow menu, filled when it opens.
constexpr std::size_t kMostButtons = 200;

// The overflow menu at the end of a long toolbar: the controls beyond the buttons, as menu items.
class OverflowMenu final : public QMenu {
public:
    explicit OverflowMenu(QWidget* parent) : QMenu(QStringLiteral("»"), parent) {
        setObjectName(QStringLiteral("moreControls"));
    }
    std::vector<ShownControl> controls;
    bool stale = true;
};

// The actions of a toolbar for one control: the separator before it (when it begins a group and is not the
// first) and its own.
struct Slot {
    QAction* separator = nullptr;
    QAction* action = nullptr;
};

}  // namespace

QAction* HostBarsView::makeAction(QToolBar& toolBar, const ShownControl& shown) {
    if (isListType(shown.type)) {
        auto* holder = new QWidgetAction(&toolBar);
        holder->setDefaultWidget(makeListWidget(shown, &toolBar));
        return holder;
    }
    auto* action = new QAction(&toolBar);
    showOnAction(*action, shown, nullptr);
    if (!isPopupType(shown.type) || isSplitPopup(shown.type)) {
        QObject::connect(action, &QAction::triggered, action,
                         [run = actions_.click, control = shown.control] { run(control); });
    }
    return action;
}

void HostBarsView::showOnAction(QAction& action, const ShownControl& shown, const ShownControl* before) {
    const QString text = literal(withoutAccelerator(shown.caption));
    action.setText(text);
    // As written: an icon text of its own would drop a trailing "...".
    action.setIconText(text);
    action.setToolTip(toQ(hostToolTip(shown)));
    action.setEnabled(shown.enabled);
    const bool hasFace = shown.type == mso::ControlButton && shown.faceId > 0;
    if (!before || before->faceId != shown.faceId) action.setIcon(hasFace ? badge(shown.faceId) : QIcon());
}

QToolBar* HostBarsView::makeToolBar(const ShownBar& bar, QWidget* parent) {
    auto* toolBar = new QToolBar(toQ(bar.nameLocal), parent);
    toolBar->setObjectName(toQ(bar.name));
    // The host decides where its bars are; a person moves them in the host, which this window follows.
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setIconSize(badgeSize());
    toolBar->setToolButtonStyle(kToolBarStyle);
    toolBar->setEnabled(bar.enabled);
    ShownBar none;
    none.nameLocal = bar.nameLocal;
    none.enabled = bar.enabled;
    updateToolBar(*toolBar, none, bar);
    return toolBar;
}

void HostBarsView::updateToolBar(QToolBar& toolBar, const ShownBar& before, const ShownBar& now) {
    if (before.nameLocal != now.nameLocal) toolBar.setWindowTitle(toQ(now.nameLocal));
    if (before.name != now.name) toolBar.setObjectName(toQ(now.name));
    if (before.enabled != now.enabled) toolBar.setEnabled(now.enabled);

    // Buttons for the first controls only; the rest are the overflow menu's.
    const std::span<const ShownControl> was(before.controls.data(), std::min(before.controls.size(), kMostButtons));
    const std::span<const ShownControl> is(now.controls.data(), std::min(now.controls.size(), kMostButtons));

    // The actions as `before` laid them out.
    const QList<QAction*> current = toolBar.actions();
    std::vector<Slot> old(was.size());
    qsizetype at = 0;
    for (std::size_t i = 0; i < was.size(); ++i) {
        if (was[i].beginGroup && i > 0) old[i].separator = current.value(at++);
        old[i].action = current.value(at++);
    }
    // A control keeps its action wherever it went; each old one is taken once, first come first served.
    std::unordered_map<const void*, std::vector<std::size_t>> byControl;
    for (std::size_t i = was.size(); i-- > 0;) byControl[was[i].control.get()].push_back(i);

    std::vector<bool> reused(old.size(), false);
    std::vector<QAction*> gone;
    std::vector<QAction*> wanted;
    // The buttons to set up after the actions are in place, with what they showed before (null: nothing).
    std::vector<std::tuple<QAction*, const ShownControl*, const ShownControl*>> ownButtons;
    wanted.reserve(is.size() + is.size() / 4);
    for (std::size_t j = 0; j < is.size(); ++j) {
        const ShownControl& shown = is[j];
        Slot slot;
        auto found = byControl.find(shown.control.get());
        if (found != byControl.end() && !found->second.empty()) {
            const std::size_t i = found->second.back();
            found->second.pop_back();
            reused[i] = true;
            slot = old[i];
            const ShownControl& seen = was[i];
            if (!(seen == shown) && slot.action != nullptr) {
                if (isListType(shown.type) || isListType(seen.type)) {
                    // A list's widget is made anew: its items, text and width all live in the widget.
                    gone.push_back(slot.action);
                    slot.action = makeAction(toolBar, shown);
                    if (needsOwnButton(shown)) ownButtons.emplace_back(slot.action, &shown, nullptr);
                } else {
                    showOnAction(*slot.action, shown, &seen);
                    if (needsOwnButton(shown) || needsOwnButton(seen))
                        ownButtons.emplace_back(slot.action, &shown, &seen);
                }
            }
        }
        if (slot.action == nullptr) {
            slot.action = makeAction(toolBar, shown);
            if (needsOwnButton(shown)) ownButtons.emplace_back(slot.action, &shown, nullptr);
        }
        const bool wantsSeparator = shown.beginGroup && j > 0;
        if (wantsSeparator && slot.separator == nullptr) {
            slot.separator = new QAction(&toolBar);
            slot.separator->setSeparator(true);
        } else if (!wantsSeparator && slot.separator != nullptr) {
            gone.push_back(slot.separator);
            slot.separator = nullptr;
        }
        if (slot.separator != nullptr) wanted.push_back(slot.separator);
        wanted.push_back(slot.action);
    }
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (reused[i]) continue;
        if (old[i].separator != nullptr) gone.push_back(old[i].separator);
        if (old[i].action != nullptr) gone.push_back(old[i].action);
    }
    for (QAction* action : gone) {
        toolBar.removeAction(action);
        // Later: the click on its button may be what led here.
        action->deleteLater();
    }

    // Into the order wanted, moving or inserting only what is out of place.
    const QList<QAction*> remaining = toolBar.actions();
    std::vector<QAction*> order(remaining.begin(), remaining.end());
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        if (k < order.size() && order[k] == wanted[k]) continue;
        QAction* next = k < order.size() ? order[k] : nullptr;
        if (auto it = std::find(order.begin() + static_cast<std::ptrdiff_t>(k), order.end(), wanted[k]);
            it != order.end()) {
            order.erase(it);
        }
        toolBar.insertAction(next, wanted[k]);
        order.insert(order.begin() + static_cast<std::ptrdiff_t>(k), wanted[k]);
    }

    // The controls beyond the buttons, behind "»" at the end (after every button, as the loop above keeps it).
    // Found by its name: no other menu of the toolbar carries it.
    auto* overflow = toolBar.findChild<OverflowMenu*>(QStringLiteral("moreControls"), Qt::FindDirectChildrenOnly);
    const std::span<const ShownControl> rest(now.controls.data() + is.size(), now.controls.size() - is.size());
    if (rest.empty()) {
        if (overflow != nullptr) {
            toolBar.removeAction(overflow->menuAction());
            // Nameless until it goes, so a toolbar growing again before then makes a new one.
            overflow->setObjectName(QString());
            overflow->deleteLater();
        }
    } else {
        if (overflow == nullptr) {
            overflow = new OverflowMenu(&toolBar);
            overflow->setToolTipsVisible(true);
            QObject::connect(overflow, &QMenu::aboutToShow, overflow, [this, overflow] {
                if (!overflow->stale) return;
                overflow->clear();
                addMenuItems(*overflow, overflow->controls);
                overflow->stale = false;
            });
            toolBar.addAction(overflow->menuAction());
            if (auto* button = qobject_cast<QToolButton*>(toolBar.widgetForAction(overflow->menuAction())))
                button->setPopupMode(QToolButton::InstantPopup);
        }
        const std::span<const ShownControl> wasRest(before.controls.data() + was.size(),
                                                    before.controls.size() - was.size());
        if (overflow->stale || !std::equal(rest.begin(), rest.end(), wasRest.begin(), wasRest.end())) {
            overflow->controls.assign(rest.begin(), rest.end());
            overflow->stale = true;
            overflow->menuAction()->setToolTip(toQ("其余 " + std::to_string(rest.size()) + " 个控件"));
        }
    }

    // The few buttons that differ from the toolbar's own: popups and buttons with a style of their own.
    for (const auto& [action, shown, was] : ownButtons) {
        auto* button = qobject_cast<QToolButton*>(toolBar.widgetForAction(action));
        if (button == nullptr) continue;
        const bool hasFace = shown->type == mso::ControlButton && shown->faceId > 0;
        button->setToolButtonStyle(hasFace ? toolButtonStyle(*shown, hasFace) : kToolBarStyle);
        if (isPopupType(shown->type)) {
            if (was == nullptr || was->children != shown->children || button->menu() == nullptr) {
                QMenu* menu = button->menu();
                if (menu == nullptr) {
                    menu = new QMenu(button);
                    button->setMenu(menu);
                } else {
                    menu->clear();
                }
                addMenuItems(*menu, shown->children);
            }
            button->setPopupMode(isSplitPopup(shown->type) ? QToolButton::MenuButtonPopup : QToolButton::InstantPopup);
        }
    }
}

namespace {

int columnsOf(const ShownBar& bar) {
    int widest = 0;
    for (const ShownControl& shown : bar.controls) widest = std::max(widest, shown.width);
    const int count = static_cast<int>(bar.controls.size());
    return bar.width > 0 && widest > 0 ? std::clamp(bar.width / widest, 1, 64) : std::clamp(count, 1, 12);
}

}  // namespace

QWidget* HostBarsView::makeFloatingBar(const ShownBar& bar, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(toQ(bar.name));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel->setEnabled(bar.enabled);
    panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);

    // Painted as written: no mnemonic "&" in a label that draws itself.
    auto* title = new FloatingTitle(toQ(bar.nameLocal), panel);
    layout->addWidget(title);

    // The buttons wrap at the bar's width, as a floating toolbar's do; a bar without a width keeps a row of
    // a dozen.
    const int columns = columnsOf(bar);
    if (std::none_of(bar.controls.begin(), bar.controls.end(),
                     [](const ShownControl& shown) { return isListType(shown.type); })) {
        auto* buttons = new FloatingButtons(
            FloatingButtons::Actions{
                actions_.click,
                [this](QMenu& menu, const std::vector<ShownControl>& items) { addMenuItems(menu, items); }},
            badgeSize(), panel);
        std::vector<FloatingButtons::Button> all;
        all.reserve(bar.controls.size());
        for (const ShownControl& shown : bar.controls) all.push_back(floatingButton(shown));
        buttons->setButtons(std::move(all), columns);
        layout->addWidget(buttons);
        return panel;
    }
    // A bar holding edit or combo boxes keeps a widget per control. Each row is a widget of its own: a
    // thousand buttons side by side made every paint compare each button with all the others.
    QWidget* row = nullptr;
    int at = 0;
    for (const ShownControl& shown : bar.controls) {
        if (at++ % columns == 0) {
            row = new QWidget(panel);
            auto* rowLayout = new QHBoxLayout(row);
            rowLayout->setContentsMargins(0, 0, 0, 0);
            rowLayout->setSpacing(0);
            rowLayout->setAlignment(Qt::AlignLeft);
            layout->addWidget(row);
        }
        row->layout()->addWidget(isListType(shown.type) ? makeListWidget(shown, row) : makeToolButton(shown, row));
    }
    return panel;
}

namespace {

// The controls' widgets of a floating panel, in order.
std::vector<QWidget*> floatingItems(QWidget& panel) {
    std::vector<QWidget*> items;
    QLayout* layout = panel.layout();
    for (int r = 1; layout != nullptr && r < layout->count(); ++r) {
        QWidget* row = layout->itemAt(r)->widget();
        QLayout* rowLayout = row != nullptr ? row->layout() : nullptr;
        for (int i = 0; rowLayout != nullptr && i < rowLayout->count(); ++i)
            items.push_back(rowLayout->itemAt(i)->widget());
    }
    return items;
}

}  // namespace

FloatingButtons::Button HostBarsView::floatingButton(const ShownControl& shown) {
    const bool hasFace = shown.type == mso::ControlButton && shown.faceId > 0;
    return {shown, hasFace ? badge(shown.faceId) : QIcon(), toolButtonStyle(shown, hasFace)};
}

bool HostBarsView::updateFloatingBar(QWidget& panel, const ShownBar& before, const ShownBar& now) {
    if (before.controls.size() != now.controls.size() || columnsOf(before) != columnsOf(now)) return false;
    QLayout* layout = panel.layout();
    auto* title =
        layout != nullptr && layout->count() > 0 ? qobject_cast<QLabel*>(layout->itemAt(0)->widget()) : nullptr;
    if (auto* buttons = panel.findChild<FloatingButtons*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (title == nullptr || buttons->count() != now.controls.size()) return false;
        if (std::any_of(now.controls.begin(), now.controls.end(),
                        [](const ShownControl& shown) { return isListType(shown.type); }))
            return false;
        if (before.nameLocal != now.nameLocal) title->setText(toQ(now.nameLocal));
        if (before.name != now.name) panel.setObjectName(toQ(now.name));
        if (before.enabled != now.enabled) panel.setEnabled(now.enabled);
        for (std::size_t i = 0; i < now.controls.size(); ++i) {
            if (!(before.controls[i] == now.controls[i])) buttons->setButton(i, floatingButton(now.controls[i]));
        }
        return true;
    }
    const std::vector<QWidget*> items = floatingItems(panel);
    if (title == nullptr || items.size() != now.controls.size()) return false;
    for (std::size_t i = 0; i < now.controls.size(); ++i) {
        const ShownControl& was = before.controls[i];
        const ShownControl& shown = now.controls[i];
        if (was.control != shown.control || isListType(was.type) || isListType(shown.type)) {
            if (!(was == shown)) return false;
        }
    }
    if (before.nameLocal != now.nameLocal) title->setText(toQ(now.nameLocal));
    if (before.name != now.name) panel.setObjectName(toQ(now.name));
    if (before.enabled != now.enabled) panel.setEnabled(now.enabled);
    for (std::size_t i = 0; i < now.controls.size(); ++i) {
        const ShownControl& was = before.controls[i];
        const ShownControl& shown = now.controls[i];
        if (was == shown) continue;
        if (auto* button = qobject_cast<QToolButton*>(items[i])) {
            showOnButton(*button, shown, &was);
        }
    }
    return true;
}

}  // namespace tessaline::ui
