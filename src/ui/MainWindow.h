#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessaline::shell {
class Control;
class Form1;
class MenuItem;
class Observable;
class TreeNode;
}  // namespace tessaline::shell

namespace tessaline::ui {

// The window of Form1: every control at its place in twips, the menu bar, and the status bar. The widgets
// follow their models through the models' change hooks, and every user event goes to the form's event
// entry points, which run the handlers. Nothing here decides what an event does.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(shell::Form1& form, QWidget* parent = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    shell::Form1& form() const { return form_; }
    // The widget showing the control of that name (its objectName is the same); nullptr when none does.
    QWidget* widgetFor(const std::string& controlName) const;
    // The menu-bar action of a menu item; nullptr for a name the window does not have.
    QAction* actionFor(const std::string& menuItemName) const;
    // Status panel 1..6.
    QLabel* statusPanel(int panel) const;

    // A face with Chinese glyphs, as the window's captions are Chinese.
    static QFont uiFont();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildControl(shell::Control& control, QWidget* parent);
    void buildStatusBar(QWidget* widget);
    void buildMenuBar();
    void addMenuItems(QMenu& menu, shell::MenuItem& parent);
    void bindAction(QAction& action, shell::MenuItem& item);

    // Subscribes `refresh` to the model and runs it once now.
    void watch(shell::Observable& model, std::function<void()> refresh);
    // Runs `show` now, or once when the event being handled is over; `pending` says one is on its way.
    void whenEventEnds(QWidget& widget, const std::shared_ptr<bool>& pending, std::function<void()> show);
    // Widgets whose mouse presses become MouseDown/DblClick events of the control.
    void forwardMouse(QWidget& widget, shell::Control& control);
    // Sets every option button and check box from its model again, after Qt toggled one on its own.
    void refreshChoices();

    void scheduleTreeRebuild();
    // Brings the tree widget in line with TreeView1: in place when only texts, expansion or the selection
    // changed (so the view keeps its scroll position), otherwise by building the items anew.
    void rebuildTree();
    // The item of `node` and its descendants' items, made outside the tree to go in at once.
    QTreeWidgetItem* makeTreeItems(shell::TreeNode& node);
    shell::TreeNode* nodeOf(QTreeWidgetItem* item) const;

    shell::Form1& form_;
    std::vector<std::pair<shell::Observable*, int>> subscriptions_;
    std::map<std::string, QWidget*> widgets_;
    std::map<QObject*, shell::Control*> mouseTargets_;
    std::map<std::string, QAction*> actions_;
    std::vector<QLabel*> panels_;
    std::vector<std::function<void()>> choiceRefreshers_;
    QTreeWidget* tree_ = nullptr;
    // The nodes shown, depth first, with their parents and items.
    struct ShownNode {
        shell::TreeNode* node;
        shell::TreeNode* parent;
        QTreeWidgetItem* item;
    };
    std::vector<ShownNode> shownNodes_;
    bool treeRebuildPending_ = false;
    // Set while the view writes a user's edit into a model, so the model's echo does not rewrite the widget.
    bool syncing_ = false;
};

}  // namespace tessaline::ui
