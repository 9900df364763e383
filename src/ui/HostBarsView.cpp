#include "ui/HostBarsView.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <algorithm>

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

QIcon HostBarsView::badge(int faceId) {
    if (auto found = badges_.find(faceId); found != badges_.end()) return found->second;
    const QSize size = badgeSize();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(0x5a, 0x7e, 0xb0));
        painter.setBrush(QColor(0xe4, 0xec, 0xf7));
        painter.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1.0, size.height() - 1.0), 3, 3);
        QFont font;
        font.setPixelSize(faceId >= 10000 ? 9 : 10);
        painter.setFont(font);
        painter.setPen(QColor(0x1f, 0x3a, 0x60));
        painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::number(faceId));
    }
    QIcon icon(pixmap);
    badges_.emplace(faceId, icon);
    return icon;
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
    button->setText(literal(withoutAccelerator(shown.caption)));
    button->setToolTip(toQ(hostToolTip(shown)));
    button->setEnabled(shown.enabled);
    button->setAutoRaise(true);
    button->setIconSize(badgeSize());
    const bool hasFace = shown.type == mso::ControlButton && shown.faceId > 0;
    if (hasFace) button->setIcon(badge(shown.faceId));
    button->setToolButtonStyle(toolButtonStyle(shown, hasFace));

    const auto runControl = [run = actions_.click, control = shown.control] { run(control); };
    if (isPopupType(shown.type)) {
        auto* menu = new QMenu(button);
        addMenuItems(*menu, shown.children);
        button->setMenu(menu);
        // A split button runs its own part and drops its list from the arrow; a plain popup only drops it.
        button->setPopupMode(isSplitPopup(shown.type) ? QToolButton::MenuButtonPopup : QToolButton::InstantPopup);
        if (isSplitPopup(shown.type)) QObject::connect(button, &QToolButton::clicked, button, runControl);
    } else {
        QObject::connect(button, &QToolButton::clicked, button, runControl);
    }
    return button;
}

QToolBar* HostBarsView::makeToolBar(const ShownBar& bar, QWidget* parent) {
    auto* toolBar = new QToolBar(toQ(bar.nameLocal), parent);
    toolBar->setObjectName(toQ(bar.name));
    // The host decides where its bars are; a person moves them in the host, which this window follows.
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setIconSize(badgeSize());
    toolBar->setEnabled(bar.enabled);
    bool first = true;
    for (const ShownControl& shown : bar.controls) {
        if (shown.beginGroup && !first) toolBar->addSeparator();
        first = false;
        toolBar->addWidget(isListType(shown.type) ? makeListWidget(shown, toolBar) : makeToolButton(shown, toolBar));
    }
    return toolBar;
}

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
    int widest = 0;
    for (const ShownControl& shown : bar.controls) widest = std::max(widest, shown.width);
    const int count = static_cast<int>(bar.controls.size());
    const int columns = bar.width > 0 && widest > 0 ? std::clamp(bar.width / widest, 1, 64) : std::clamp(count, 1, 12);
    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    int at = 0;
    for (const ShownControl& shown : bar.controls) {
        QWidget* widget = isListType(shown.type) ? makeListWidget(shown, panel) : makeToolButton(shown, panel);
        grid->addWidget(widget, at / columns, at % columns);
        ++at;
    }
    layout->addLayout(grid);
    return panel;
}

}  // namespace tessaline::ui
