#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "shell/Ui.h"
#include "ui/QtUi.h"
#include "ui/Text.h"

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

TEST(QtUi, MessageBoxesSpeakChineseAndShowTheirWholeTitle) {
    QtUi ui("Tessaline");
    const QString longTitle = QString::fromUtf8("一个相当长的标题，一个短提示的消息框也要完整显示它");
    QStringList buttons;
    int width = 0;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        for (auto* button : box->buttons()) buttons << button->text();
        width = box->width();
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(ui.MsgBox("?", shell::vbmsg::YesNoCancel, toStd(longTitle)), shell::vbmsg::ResultCancel);
    QStringList expected{QString::fromUtf8("是(&Y)"), QString::fromUtf8("否(&N)"), QString::fromUtf8("取消")};
    buttons.sort();
    expected.sort();
    EXPECT_EQ(buttons, expected);
    EXPECT_GT(width, QFontMetrics(QApplication::font()).horizontalAdvance(longTitle));

    whenModal([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        EXPECT_EQ(box->button(QMessageBox::Ok)->text(), QString::fromUtf8("确定"));
        box->button(QMessageBox::Ok)->click();
    });
    ui.MsgBox("完成", 0, "");
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
