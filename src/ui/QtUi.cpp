#include "ui/QtUi.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QSpacerItem>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>
#include <utility>

#include "shell/MenuItem.h"
#include "ui/MainWindow.h"
#include "ui/Text.h"

namespace tessaline::ui {

namespace {

int vbCode(int standardButton) {
    switch (standardButton) {
        case QMessageBox::Ok:
            return shell::vbmsg::ResultOK;
        case QMessageBox::Cancel:
            return shell::vbmsg::ResultCancel;
        case QMessageBox::Abort:
            return 3;
        case QMessageBox::Retry:
            return 4;
        case QMessageBox::Ignore:
            return 5;
        case QMessageBox::Yes:
            return shell::vbmsg::ResultYes;
        case QMessageBox::No:
            return shell::vbmsg::ResultNo;
        default:
            return 0;
    }
}

}  // namespace

MessageBoxStyle messageBoxStyle(int vbButtons) {
    MessageBoxStyle style;
    std::vector<QMessageBox::StandardButton> order;
    switch (vbButtons & shell::vbmsg::ButtonMask) {
        case 1:
            order = {QMessageBox::Ok, QMessageBox::Cancel};
            break;
        case 2:
            order = {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
            break;
        case 3:
            order = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
            break;
        case 4:
            order = {QMessageBox::Yes, QMessageBox::No};
            break;
        case 5:
            order = {QMessageBox::Retry, QMessageBox::Cancel};
            break;
        default:
            order = {QMessageBox::Ok};
            break;
    }
    for (auto button : order) style.buttons |= button;

    // vbDefaultButton2 = 256, 3 = 512; a default past the last button falls back to the first.
    const std::size_t defaultIndex = static_cast<std::size_t>((vbButtons >> 8) & 0x3);
    style.defaultButton = order[defaultIndex < order.size() ? defaultIndex : 0];

    // Esc answers Cancel where there is one, OK in an OK-only box, No in a Yes/No box.
    if (style.buttons & QMessageBox::Cancel) {
        style.escapeButton = QMessageBox::Cancel;
    } else if (order.size() == 1) {
        style.escapeButton = QMessageBox::Ok;
    } else if (style.buttons & QMessageBox::No) {
        style.escapeButton = QMessageBox::No;
    } else {
        style.escapeButton = QMessageBox::Ignore;
    }

    switch (vbButtons & shell::vbmsg::IconMask) {
        case shell::vbmsg::Critical:
            style.icon = QMessageBox::Critical;
            break;
        case shell::vbmsg::Question:
            style.icon = QMessageBox::Question;
            break;
        case shell::vbmsg::Exclamation:
            style.icon = QMessageBox::Warning;
            break;
        case shell::vbmsg::Information:
            style.icon = QMessageBox::Information;
            break;
        default:
            style.icon = QMessageBox::NoIcon;
            break;
    }
    return style;
}

// The standard buttons speak the program's language whatever the desktop's locale; a Qt translation
// may be missing, these words are not.
void nameButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, const char*> names[] = {
        {QMessageBox::Ok, "确定"},     {QMessageBox::Cancel, "取消"}, {QMessageBox::Yes, "是(&Y)"},
        {QMessageBox::No, "否(&N)"},   {QMessageBox::Abort, "中止(&A)"}, {QMessageBox::Retry, "重试(&R)"},
        {QMessageBox::Ignore, "忽略(&I)"}};
    for (const auto& [which, name] : names) {
        if (QAbstractButton* button = box.button(which)) button->setText(QString::fromUtf8(name));
    }
}

// Qt sizes a message box by its text and buttons only; a short prompt under a long title would cut the
// title, so the box is held at least as wide as the title plus the title bar's buttons.
void fitTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) return;
    const int titleWidth = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(box.windowTitle());
    const int wanted = titleWidth + 120;
    grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

int vbResult(int standardButton, const MessageBoxStyle& style) {
    const int code = (standardButton & style.buttons) != 0 ? vbCode(standardButton) : 0;
    return code != 0 ? code : vbCode(style.escapeButton);
}

std::map<QAction*, shell::MenuItem*> fillPopupMenu(QMenu& menu, shell::MenuItem& item) {
    std::map<QAction*, shell::MenuItem*> actions;
    for (const auto& child : item.children()) {
        if (!child->Visible()) continue;
        if (child->isSeparator()) {
            menu.addSeparator();
            continue;
        }
        if (!child->children().empty()) {
            QMenu* sub = menu.addMenu(toQ(child->Caption()));
            sub->setEnabled(child->Enabled());
            actions.merge(fillPopupMenu(*sub, *child));
            continue;
        }
        QAction* action = menu.addAction(toQ(child->Caption()));
        action->setEnabled(child->Enabled());
        if (child->Checked()) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        actions[action] = child.get();
    }
    return actions;
}

QtUi::QtUi(std::string programTitle) : programTitle_(std::move(programTitle)) {}

void QtUi::setWindow(QWidget* window) {
    window_ = window;
    if (topmostWanted_) SetTopmost();
}

std::string QtUi::titleOr(const std::string& title) const { return title.empty() ? programTitle_ : title; }

int QtUi::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    const MessageBoxStyle style = messageBoxStyle(buttons);
    QMessageBox box(static_cast<QMessageBox::Icon>(style.icon), toQ(titleOr(title)), toWidgetText(prompt),
                    QMessageBox::StandardButtons(style.buttons), window_);
    // The prompt is shown as written: a bar name with "<" in it is not markup.
    box.setTextFormat(Qt::PlainText);
    box.setFont(MainWindow::uiFont());
    box.setDefaultButton(static_cast<QMessageBox::StandardButton>(style.defaultButton));
    box.setEscapeButton(static_cast<QMessageBox::StandardButton>(style.escapeButton));
    nameButtons(box);
    fitTitle(box);
    box.exec();
    return vbResult(box.standardButton(box.clickedButton()), style);
}

std::string QtUi::InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    QInputDialog dialog(window_);
    dialog.setFont(MainWindow::uiFont());
    dialog.setWindowTitle(toQ(titleOr(title)));
    dialog.setLabelText(toWidgetText(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(toQ(defaultText));
    dialog.setOkButtonText(QString::fromUtf8("确定"));
    dialog.setCancelButtonText(QString::fromUtf8("取消"));
    if (dialog.exec() != QDialog::Accepted) return "";
    return toStd(dialog.textValue());
}

shell::MenuItem* QtUi::PopupMenu(shell::MenuItem& menu) {
    QMenu popup(window_);
    popup.setFont(MainWindow::uiFont());
    const auto actions = fillPopupMenu(popup, menu);
    if (actions.empty()) return nullptr;
    QAction* chosen = popup.exec(QCursor::pos());
    auto found = actions.find(chosen);
    return found == actions.end() ? nullptr : found->second;
}

void QtUi::ClipboardClear() { QGuiApplication::clipboard()->clear(); }

void QtUi::ClipboardSetText(const std::string& text) { QGuiApplication::clipboard()->setText(toQ(text)); }

std::string QtUi::ClipboardGetText() { return toStd(QGuiApplication::clipboard()->text()); }

void QtUi::DoEvents() { QCoreApplication::processEvents(); }

void QtUi::ShellExecute(const std::string& path) {
    // Whatever the desktop makes of it is its own affair; a missing file or program is not reported.
    QDesktopServices::openUrl(QUrl::fromLocalFile(toQ(path)));
}

bool QtUi::SetTopmost() {
    topmostWanted_ = true;
    if (window_ == nullptr) return true;
    const bool wasVisible = window_->isVisible();
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Changing a window's flags hides it; a window already on screen comes back.
    if (wasVisible) window_->show();
    return true;
}

void QtUi::Unload() {
    if (window_ != nullptr) window_->close();
    QCoreApplication::quit();
}

void QtUi::Minimize() {
    if (window_ != nullptr) window_->showMinimized();
}

}  // namespace tessaline::ui
