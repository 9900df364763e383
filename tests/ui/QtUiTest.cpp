#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "shell/Ui.h"
#include "ui/QtUi.h"

namespace tessaline::ui {
namespace {

// Acts on the dialog that the next call opens, once its event loop runs.
void whenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(modal);
    });
}

TEST(QtUi, MessageBoxesUseTheProgramTitleWhenGivenNoneAndReturnVbCodes) {
    QtUi ui("Tessaline");
    QString title;
    QString text;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(ui.MsgBox("关闭?\r\n<b>", shell::vbmsg::YesNo, ""), shell::vbmsg::ResultNo);
    EXPECT_EQ(title, "Tessaline");
    EXPECT_EQ(text, QString::fromUtf8("关闭?\n<b>"));

    whenModal([](QWidget* modal) { qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(ui.MsgBox("?", shell::vbmsg::YesNo, "按下了Esc"), shell::vbmsg::ResultYes);
}

TEST(QtUi, InputBoxGivesTheTextOrEmptyWhenCancelled) {
    QtUi ui("Tessaline");
    whenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->textValue(), "Custom 1");
        dialog->setTextValue(QString::fromUtf8("我的工具栏"));
        dialog->accept();
    });
    EXPECT_EQ(ui.InputBox("名称", "对话框", "Custom 1"), "我的工具栏");

    whenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(ui.InputBox("名称", "对话框", "Custom 1"), "");
}

TEST(QtUi, TopmostIsAppliedToTheWindowEvenWhenAskedBeforeItExists) {
    QtUi ui("Tessaline");
    EXPECT_TRUE(ui.SetTopmost());
    QWidget window;
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    ui.setWindow(&window);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(QtUi, ClipboardKeepsChineseText) {
    QtUi ui("Tessaline");
    ui.ClipboardClear();
    ui.ClipboardSetText("Application.CommandBars(\"Standard\").FindControl(ID:=3) '保存");
    EXPECT_EQ(ui.ClipboardGetText(), "Application.CommandBars(\"Standard\").FindControl(ID:=3) '保存");
}

}  // namespace
}  // namespace tessaline::ui
