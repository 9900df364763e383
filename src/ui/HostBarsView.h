#pragma once

#include <QIcon>
#include <QPixmap>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/FloatingButtons.h"
#include "ui/HostBars.h"

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QToolButton;
class QWidget;

namespace tessaline::ui {

// Builds the widgets of a host's bars as a person sees them in the host: the menu bar with nested menus,
// toolbars with one button per control, floating bars as panels. The widgets only show; what a click does
// is up to the two callbacks.
class HostBarsView {
public:
    struct Actions {
        // A button, menu item or popup's own part was clicked.
        std::function<void(const automation::ControlPtr&)> click;
        // A text was chosen from a combo box's list or entered into an edit box.
        std::function<void(const automation::ControlPtr&, const std::string&)> enter;
    };

    explicit HostBarsView(Actions actions);

    // Menus for the popups of the bar, plain items for its buttons; edit and combo boxes go to a corner
    // widget at the right, where Office keeps its question box.
    void fillMenuBar(QMenuBar& menuBar, const ShownBar& bar);
    // A docked toolbar named after the bar, one action per control.
    QToolBar* makeToolBar(const ShownBar& bar, QWidget* parent);
    // Brings a toolbar made for `before` in line with `now` in place: only the controls that changed are
    // touched, new ones are added and gone ones removed, so the rest of the bar stays as it is.
    void updateToolBar(QToolBar& toolBar, const ShownBar& before, const ShownBar& now);
    // A floating bar: a titled panel whose buttons wrap at the bar's width.
    QWidget* makeFloatingBar(const ShownBar& bar, QWidget* parent);
    // The same in place, when `now` holds the same controls in the same places as `before`; false when the
    // panel must be made anew.
    bool updateFloatingBar(QWidget& panel, const ShownBar& before, const ShownBar& now);

    // The stand-in for a button's face: its FaceId as a small number.
    QIcon badge(int faceId);
    static QSize badgeSize();

private:
    void addMenuItems(QMenu& menu, const std::vector<ShownControl>& controls);
    QWidget* makeListWidget(const ShownControl& shown, QWidget* parent);
    FloatingButtons::Button floatingButton(const ShownControl& shown);
    QToolButton* makeToolButton(const ShownControl& shown, QWidget* parent);
    void showOnButton(QToolButton& button, const ShownControl& shown, const ShownControl* before);
    QAction* makeAction(QToolBar& toolBar, const ShownControl& shown);
    void showOnAction(QAction& action, const ShownControl& shown, const ShownControl* before);

    // The digits of badge numbers, drawn once for each of the two sizes used.
    std::shared_ptr<const std::array<QPixmap, 10>> digitsOf(int pixelSize);

    Actions actions_;
    std::map<int, QIcon> badges_;
    std::map<int, std::shared_ptr<const std::array<QPixmap, 10>>> digits_;
};

// A control's tooltip in a host: its own tooltip or else its caption, with the FaceId beside it.
std::string hostToolTip(const ShownControl& shown);

}  // namespace tessaline::ui
