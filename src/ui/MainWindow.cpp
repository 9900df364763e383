#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <memory>

#include "shell/CheckBox.h"
#include "shell/CommandButton.h"
#include "shell/FlexGrid.h"
#include "shell/Form1.h"
#include "shell/Frame.h"
#include "shell/ListBox.h"
#include "shell/MenuItem.h"
#include "shell/OptionButton.h"
#include "shell/RichTextBox.h"
#include "shell/StatusBar.h"
#include "shell/TextBox.h"
#include "shell/TreeView.h"
#include "ui/FlexGridView.h"
#include "ui/Keys.h"
#include "ui/Text.h"

namespace tessaline::ui {

namespace {

// The client area below the menu bar, in twips.
constexpr int kClientWidth = 13905;
constexpr int kClientHeight = 8520;

const char* const kPanelProperty = "tessalinePanel";

class SyncGuard {
public:
    explicit SyncGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~SyncGuard() { flag_ = old_; }
    SyncGuard(const SyncGuard&) = delete;
    SyncGuard& operator=(const SyncGuard&) = delete;

private:
    bool& flag_;
    bool old_;
};

void placeWidget(QWidget& widget, const shell::Control& control) {
    widget.setGeometry(px(control.Left()), px(control.Top()), px(control.Width()), px(control.Height()));
    widget.setHidden(!control.Visible());
    widget.setEnabled(control.Enabled());
    // Setting a tip sends the widget an event even when the tip stays; a tree filled node by node comes
    // here once per node.
    const QString tip = toQ(control.ToolTipText());
    if (widget.toolTip() != tip) widget.setToolTip(tip);
}

Qt::CheckState checkState(int value) {
    switch (value) {
        case shell::vbcheck::Checked:
            return Qt::Checked;
        case shell::vbcheck::Grayed:
            return Qt::PartiallyChecked;
        default:
            return Qt::Unchecked;
    }
}

}  // namespace

QFont MainWindow::uiFont() {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"), 9);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

MainWindow::MainWindow(shell::Form1& form, QWidget* parent) : QMainWindow(parent), form_(form) {
    setObjectName(QStringLiteral("Form1"));
    setFont(uiFont());
    setWindowTitle(toQ(form_.Caption));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(px(kClientWidth), px(kClientHeight));
    setCentralWidget(client);

    // Created back to front, so each control lies above those before it, as the window stacks them.
    for (shell::Control* control : form_.controls()) {
        QWidget* parentWidget = client;
        if (control->Container() != nullptr) {
            auto found = widgets_.find(control->Container()->Name());
            if (found != widgets_.end()) parentWidget = found->second;
        }
        QWidget* widget = buildControl(*control, parentWidget);
        widget->setObjectName(toQ(control->Name()));
        widgets_[control->Name()] = widget;
    }

    buildMenuBar();
    // Esc is the window's key wherever the focus is, so the filter sits on the application.
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    for (const auto& [model, cookie] : subscriptions_) model->unsubscribe(cookie);
}

void MainWindow::watch(shell::Observable& model, std::function<void()> refresh) {
    refresh();
    subscriptions_.emplace_back(&model, model.subscribe(std::move(refresh)));
}

void MainWindow::whenEventEnds(QWidget& widget, const std::shared_ptr<bool>& pending, std::function<void()> show) {
    if (!form_.inEvent()) {
        show();
        return;
    }
    // A handler writes a text box line by line; laying out the whole text after each write cost more than
    // everything else the handler did. The last text shows once the event is over.
    if (*pending) return;
    *pending = true;
    QTimer::singleShot(0, &widget, [pending, show = std::move(show)] {
        *pending = false;
        show();
    });
}

void MainWindow::forwardMouse(QWidget& widget, shell::Control& control) { mouseTargets_[&widget] = &control; }

QWidget* MainWindow::widgetFor(const std::string& controlName) const {
    auto found = widgets_.find(controlName);
    return found == widgets_.end() ? nullptr : found->second;
}

QAction* MainWindow::actionFor(const std::string& menuItemName) const {
    auto found = actions_.find(menuItemName);
    return found == actions_.end() ? nullptr : found->second;
}

QLabel* MainWindow::statusPanel(int panel) const {
    if (panel < 1 || panel > static_cast<int>(panels_.size())) return nullptr;
    return panels_[static_cast<std::size_t>(panel - 1)];
}

void MainWindow::refreshChoices() {
    for (const auto& refresh : choiceRefreshers_) refresh();
}

QWidget* MainWindow::buildControl(shell::Control& control, QWidget* parent) {
    QWidget* widget = nullptr;

    if (auto* frame = dynamic_cast<shell::Frame*>(&control)) {
        auto* box = new QGroupBox(toQ(frame->Caption()), parent);
        box->setContextMenuPolicy(Qt::PreventContextMenu);
        widget = box;
        forwardMouse(*box, control);
        watch(control, [box, frame] { placeWidget(*box, *frame); });
    } else if (auto* option = dynamic_cast<shell::OptionButton*>(&control)) {
        auto* radio = new QRadioButton(toQ(option->Caption()), parent);
        // The buttons' model keeps them exclusive; Qt must not do it a second time behind its back.
        radio->setAutoExclusive(false);
        widget = radio;
        forwardMouse(*radio, control);
        auto refresh = [radio, option] {
            placeWidget(*radio, *option);
            const QSignalBlocker blocker(radio);
            radio->setChecked(option->Value());
        };
        choiceRefreshers_.push_back(refresh);
        watch(control, refresh);
        connect(radio, &QRadioButton::clicked, this, [this, option] {
            form_.userClick(*option);
            refreshChoices();
        });
    } else if (auto* check = dynamic_cast<shell::CheckBox*>(&control)) {
        auto* box = new QCheckBox(toQ(check->Caption()), parent);
        widget = box;
        forwardMouse(*box, control);
        auto refresh = [box, check] {
            placeWidget(*box, *check);
            const QSignalBlocker blocker(box);
            box->setTristate(check->Value() == shell::vbcheck::Grayed);
            box->setCheckState(checkState(check->Value()));
        };
        choiceRefreshers_.push_back(refresh);
        watch(control, refresh);
        connect(box, &QCheckBox::clicked, this, [this, check] {
            form_.userClick(*check);
            refreshChoices();
        });
    } else if (auto* grid = dynamic_cast<shell::FlexGrid*>(&control)) {
        auto* view = new FlexGridView(form_, *grid, parent);
        widget = view;
        watch(control, [view, grid] { placeWidget(*view, *grid); });
    } else if (auto* text = dynamic_cast<shell::TextBox*>(&control)) {
        if (text->MultiLine()) {
            auto* edit = new QPlainTextEdit(parent);
            edit->setLineWrapMode(QPlainTextEdit::NoWrap);
            widget = edit;
            forwardMouse(*edit->viewport(), control);
            watch(control, [this, edit, text, pending = std::make_shared<bool>(false)] {
                placeWidget(*edit, *text);
                if (syncing_) return;
                whenEventEnds(*edit, pending, [this, edit, text] {
                    const QString shown = toWidgetText(text->Text());
                    if (edit->toPlainText() != shown) {
                        const SyncGuard guard(syncing_);
                        edit->setPlainText(shown);
                    }
                });
            });
            connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, text] {
                if (syncing_) return;
                const SyncGuard guard(syncing_);
                form_.dispatch([&] { text->SetText(toModelText(edit->toPlainText())); });
            });
        } else {
            auto* line = new QLineEdit(parent);
            widget = line;
            forwardMouse(*line, control);
            watch(control, [this, line, text] {
                placeWidget(*line, *text);
                if (syncing_) return;
                const QString shown = toQ(text->Text());
                if (line->text() != shown) line->setText(shown);
            });
            connect(line, &QLineEdit::textEdited, this, [this, line, text] {
                const SyncGuard guard(syncing_);
                form_.dispatch([&] { text->SetText(toStd(line->text())); });
            });
        }
    } else if (auto* rich = dynamic_cast<shell::RichTextBox*>(&control)) {
        auto* edit = new QTextEdit(parent);
        edit->setAcceptRichText(false);
        edit->setLineWrapMode(QTextEdit::NoWrap);
        edit->setContextMenuPolicy(Qt::PreventContextMenu);
        widget = edit;
        forwardMouse(*edit->viewport(), control);
        const auto showText = [this, edit, rich] {
            const SyncGuard guard(syncing_);
            QFont font(toQ(rich->FontName()), 10);
            font.setStyleHint(QFont::Serif);
            if (edit->font() != font) {
                edit->setFont(font);
                // The macro stubs indent with one TAB; a VBA editor shows it four blanks wide.
                edit->setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * 4);
            }
            const QString shown = toWidgetText(rich->Text());
            if (edit->toPlainText() != shown) edit->setPlainText(shown);
            QTextCursor cursor = edit->textCursor();
            const int start = widgetPosition(rich->Text(), rich->SelStart());
            const int end = widgetPosition(rich->Text(), rich->SelStart() + rich->SelLength());
            if (cursor.selectionStart() != start || cursor.selectionEnd() != end) {
                cursor.setPosition(start);
                cursor.setPosition(end, QTextCursor::KeepAnchor);
                edit->setTextCursor(cursor);
            }
        };
        watch(control, [this, edit, rich, showText, pending = std::make_shared<bool>(false)] {
            placeWidget(*edit, *rich);
            if (syncing_) return;
            whenEventEnds(*edit, pending, showText);
        });
        auto takeSelection = [this, edit, rich] {
            const QTextCursor cursor = edit->textCursor();
            const QString shown = edit->toPlainText();
            const int start = modelPosition(shown, cursor.selectionStart());
            const int end = modelPosition(shown, cursor.selectionEnd());
            rich->SetSelStart(start);
            rich->SetSelLength(end - start);
        };
        connect(edit, &QTextEdit::textChanged, this, [this, edit, rich, takeSelection] {
            if (syncing_) return;
            const SyncGuard guard(syncing_);
            form_.dispatch([&] {
                rich->SetText(toModelText(edit->toPlainText()));
                takeSelection();
            });
        });
        connect(edit, &QTextEdit::cursorPositionChanged, this, [this, takeSelection] {
            if (syncing_) return;
            const SyncGuard guard(syncing_);
            form_.dispatch(takeSelection);
        });
        connect(edit, &QTextEdit::selectionChanged, this, [this, takeSelection] {
            if (syncing_) return;
            const SyncGuard guard(syncing_);
            form_.dispatch(takeSelection);
        });
    } else if (auto* list = dynamic_cast<shell::ListBox*>(&control)) {
        auto* view = new QListWidget(parent);
        view->setContextMenuPolicy(Qt::PreventContextMenu);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        widget = view;
        forwardMouse(*view->viewport(), control);
        watch(control, [this, view, list] {
            placeWidget(*view, *list);
            const SyncGuard guard(syncing_);
            const QSignalBlocker blocker(view);
            const auto& items = list->items();
            const int count = static_cast<int>(items.size());
            while (view->count() > count) delete view->takeItem(view->count() - 1);
            for (int i = 0; i < count; ++i) {
                const QString itemText = toQ(items[static_cast<std::size_t>(i)]);
                if (i < view->count()) {
                    if (view->item(i)->text() != itemText) view->item(i)->setText(itemText);
                } else {
                    view->addItem(itemText);
                }
            }
            // The horizontal extent widens what the list can scroll to, as LB_SETHORIZONTALEXTENT does.
            const QSize hint = list->HorizontalExtent() > 0
                                   ? QSize(list->HorizontalExtent(), view->fontMetrics().height() + 2)
                                   : QSize();
            for (int i = 0; i < view->count(); ++i) {
                if (view->item(i)->sizeHint() != hint) view->item(i)->setSizeHint(hint);
            }
            if (view->currentRow() != list->ListIndex()) view->setCurrentRow(list->ListIndex());
        });
        connect(view, &QListWidget::currentRowChanged, this, [this, list](int row) {
            if (syncing_) return;
            const SyncGuard guard(syncing_);
            form_.dispatch([&] { list->SetListIndex(row); });
        });
        connect(view, &QListWidget::itemClicked, this, [this, view, list](QListWidgetItem* item) {
            const int row = view->row(item);
            {
                const SyncGuard guard(syncing_);
                form_.dispatch([&] { list->SetListIndex(row); });
            }
            form_.userClick(*list);
        });
    } else if (auto* treeModel = dynamic_cast<shell::TreeView*>(&control)) {
        auto* tree = new QTreeWidget(parent);
        tree->setHeaderHidden(true);
        // Every node is one line of text: the view need not measure each row.
        tree->setUniformRowHeights(true);
        tree->setContextMenuPolicy(Qt::PreventContextMenu);
        tree_ = tree;
        widget = tree;
        forwardMouse(*tree->viewport(), control);
        watch(control, [this, tree, treeModel] {
            placeWidget(*tree, *treeModel);
            if (!syncing_) scheduleTreeRebuild();
        });
        rebuildTree();
        connect(tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
            if (treeRebuildPending_) return;
            if (shell::TreeNode* node = nodeOf(item)) form_.userNodeClick(*node);
        });
        auto expandNode = [this](QTreeWidgetItem* item, bool expanded) {
            if (syncing_ || treeRebuildPending_) return;
            const SyncGuard guard(syncing_);
            if (shell::TreeNode* node = nodeOf(item)) form_.dispatch([&] { node->SetExpanded(expanded); });
        };
        connect(tree, &QTreeWidget::itemExpanded, this,
                [expandNode](QTreeWidgetItem* item) { expandNode(item, true); });
        connect(tree, &QTreeWidget::itemCollapsed, this,
                [expandNode](QTreeWidgetItem* item) { expandNode(item, false); });
    } else if (auto* button = dynamic_cast<shell::CommandButton*>(&control)) {
        auto* push = new QPushButton(toQ(button->Caption()), parent);
        widget = push;
        forwardMouse(*push, control);
        watch(control, [push, button] { placeWidget(*push, *button); });
        connect(push, &QPushButton::clicked, this, [this, button] { form_.userClick(*button); });
    } else if (dynamic_cast<shell::StatusBar*>(&control) != nullptr) {
        widget = new QFrame(parent);
        buildStatusBar(widget);
    } else {
        // A kind of control this view does not know still takes its place, so the window stays whole.
        widget = new QWidget(parent);
        watch(control, [widget, &control] { placeWidget(*widget, control); });
    }
    return widget;
}

void MainWindow::buildStatusBar(QWidget* widget) {
    auto& bar = form_.StatusBar1;
    for (int i = 1; i <= bar.PanelCount(); ++i) {
        auto* label = new QLabel(widget);
        label->setObjectName(QStringLiteral("StatusBar1.Panel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setIndent(2);
        label->setProperty(kPanelProperty, i);
        panels_.push_back(label);
    }
    watch(bar, [this, widget, &bar] {
        placeWidget(*widget, bar);
        int left = 0;
        const int height = px(bar.Height());
        for (int i = 1; i <= bar.PanelCount(); ++i) {
            QLabel* label = panels_[static_cast<std::size_t>(i - 1)];
            const int width = px(bar.PanelWidth(i));
            label->setGeometry(left, 1, width - 2, height - 2);
            left += width;
            const QString text = toQ(bar.PanelText(i));
            if (label->text() != text) label->setText(text);
        }
    });
}

void MainWindow::buildMenuBar() {
    QMenuBar* bar = menuBar();
    bar->setFont(uiFont());
    for (const auto& top : form_.menuBar()) {
        auto* menu = new QMenu(toQ(top->Caption()), bar);
        menu->setFont(uiFont());
        bar->addMenu(menu);
        bindAction(*menu->menuAction(), *top);
        addMenuItems(*menu, *top);
    }
}

void MainWindow::addMenuItems(QMenu& menu, shell::MenuItem& parent) {
    for (const auto& child : parent.children()) {
        QAction* action = nullptr;
        if (!child->children().empty()) {
            auto* sub = menu.addMenu(toQ(child->Caption()));
            sub->setFont(uiFont());
            addMenuItems(*sub, *child);
            action = sub->menuAction();
        } else {
            action = menu.addAction(toQ(child->Caption()));
            shell::MenuItem* item = child.get();
            connect(action, &QAction::triggered, this, [this, item] { form_.clickMenu(*item); });
        }
        bindAction(*action, *child);
    }
}

void MainWindow::bindAction(QAction& action, shell::MenuItem& item) {
    action.setObjectName(toQ(item.Name()));
    actions_[item.Name()] = &action;
    QAction* target = &action;
    watch(item, [target, &item] {
        target->setSeparator(item.isSeparator());
        if (!item.isSeparator()) target->setText(toQ(item.Caption()));
        target->setVisible(item.Visible());
        target->setEnabled(item.Enabled());
        target->setCheckable(item.Checked());
        target->setChecked(item.Checked());
        target->setShortcut(QKeySequence(toQ(item.Shortcut())));
    });
}

void MainWindow::scheduleTreeRebuild() {
    // A tree filled node by node is drawn once, when the job lets events run or ends.
    if (treeRebuildPending_) return;
    treeRebuildPending_ = true;
    QTimer::singleShot(0, this, [this] { rebuildTree(); });
}

void MainWindow::rebuildTree() {
    treeRebuildPending_ = false;
    if (tree_ == nullptr) return;
    const SyncGuard guard(syncing_);
    const QSignalBlocker blocker(tree_);
    shell::TreeView& model = form_.TreeView1;

    std::vector<std::pair<shell::TreeNode*, shell::TreeNode*>> nodes;
    std::function<void(shell::TreeNode*)> collect = [&](shell::TreeNode* node) {
        nodes.emplace_back(node, node->Parent());
        for (shell::TreeNode* child : node->childNodes()) collect(child);
    };
    for (shell::TreeNode* root : model.Nodes().roots()) collect(root);

    bool sameShape = nodes.size() == shownNodes_.size();
    for (std::size_t i = 0; sameShape && i < nodes.size(); ++i) {
        sameShape = nodes[i].first == shownNodes_[i].node && nodes[i].second == shownNodes_[i].parent;
    }
    if (sameShape) {
        for (const ShownNode& shown : shownNodes_) {
            const QString text = toQ(shown.node->Text());
            if (shown.item->text(0) != text) shown.item->setText(0, text);
            if (shown.item->isExpanded() != shown.node->Expanded()) shown.item->setExpanded(shown.node->Expanded());
        }
    } else {
        const int scroll = tree_->verticalScrollBar()->value();
        tree_->clear();
        shownNodes_.clear();
        // Items made into the tree one by one each told the view of a new row: ten thousand nodes at once.
        QList<QTreeWidgetItem*> roots;
        for (shell::TreeNode* root : model.Nodes().roots()) roots.append(makeTreeItems(*root));
        tree_->addTopLevelItems(roots);
        for (const ShownNode& shown : shownNodes_) {
            if (shown.node->Expanded()) shown.item->setExpanded(true);
        }
        tree_->verticalScrollBar()->setValue(scroll);
    }

    QTreeWidgetItem* selected = nullptr;
    for (const ShownNode& shown : shownNodes_) {
        if (shown.node == model.SelectedItem()) selected = shown.item;
    }
    if (tree_->currentItem() != selected) tree_->setCurrentItem(selected);
}

QTreeWidgetItem* MainWindow::makeTreeItems(shell::TreeNode& node) {
    auto* item = new QTreeWidgetItem();
    item->setText(0, toQ(node.Text()));
    item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(&node)));
    shownNodes_.push_back(ShownNode{&node, node.Parent(), item});
    QList<QTreeWidgetItem*> children;
    for (shell::TreeNode* child : node.childNodes()) children.append(makeTreeItems(*child));
    item->addChildren(children);
    return item;
}

shell::TreeNode* MainWindow::nodeOf(QTreeWidgetItem* item) const {
    if (item == nullptr) return nullptr;
    return reinterpret_cast<shell::TreeNode*>(item->data(0, Qt::UserRole).value<quintptr>());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (widget != nullptr && widget->window() == this && key->key() == Qt::Key_Escape) {
            form_.formKeyPress(27);
            return true;
        }
        return false;
    }
    if (type == QEvent::MouseButtonDblClick) {
        const QVariant panel = watched->property(kPanelProperty);
        if (panel.isValid() && std::find(panels_.begin(), panels_.end(), watched) != panels_.end()) {
            form_.userPanelDblClick(panel.toInt());
            return true;
        }
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) return false;
    auto found = mouseTargets_.find(watched);
    if (found == mouseTargets_.end()) return false;
    shell::Control& control = *found->second;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const int button = vbButton(mouse->button());
    if (type == QEvent::MouseButtonDblClick) {
        if (button == 1) form_.userDblClick(control);
        return false;
    }
    if (button == 0) return false;
    // VB gives MouseDown positions in twips of the control itself, not of an inner viewport.
    QPoint pos = mouse->position().toPoint();
    auto* source = static_cast<QWidget*>(watched);
    if (QWidget* outer = widgetFor(control.Name()); outer != nullptr && outer != source) {
        pos = source->mapTo(outer, pos);
    }
    form_.userMouseDown(control, button, vbShift(mouse->modifiers()), float(pos.x() * kTwipsPerPixel),
                        float(pos.y() * kTwipsPerPixel));
    // A right press belongs to this control alone: it must neither move a list's selection or a text's
    // caret nor reach the frame around an option button.
    return button != 1;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the window is Unload: Form_Terminate runs once, whoever closes it.
    if (!form_.isUnloaded()) form_.unload();
    event->accept();
}

}  // namespace tessaline::ui
