#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>

#include "shell/MenuItem.h"
#include "shell/Ui.h"
#include "ui/Keys.h"
#include "ui/QtUi.h"
#include "ui/Text.h"

namespace tessaline::ui {
namespace {

TEST(Keys, KeyCodesAreVbsAndOnlyTypingKeysPressCharacters) {
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)));
    EXPECT_EQ(vbKeyCode(del), 46);
    EXPECT_TRUE(vbKeyPressCodes(del).empty());

    QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    EXPECT_EQ(vbKeyCode(back), 8);
    EXPECT_EQ(vbKeyPressCodes(back), std::vector<int>{8});

    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, "A");
    EXPECT_EQ(vbKeyCode(a), 65);
    EXPECT_EQ(vbShift(a.modifiers()), 1);
    EXPECT_EQ(vbKeyPressCodes(a), std::vector<int>{'A'});

    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    EXPECT_EQ(vbKeyCode(left), 37);
    EXPECT_TRUE(vbKeyPressCodes(left).empty());
}

TEST(Keys, ChineseAndAstralTextBecomeOneCodePerCharacter) {
    EXPECT_EQ(codePoints(QString::fromUtf8("中文")), (std::vector<int>{0x4E2D, 0x6587}));
    EXPECT_EQ(codePoints(QString::fromUtf8("\xF0\x9F\x98\x80")), std::vector<int>{0x1F600});
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("字"));
    EXPECT_EQ(vbKeyPressCodes(typed), std::vector<int>{0x5B57});
}

TEST(Text, LineEndsConvertBothWaysWithoutDoubling) {
    EXPECT_EQ(toWidgetText("a\r\nb\rc\nd"), QString("a\nb\nc\nd"));
    EXPECT_EQ(toModelText(QString("a\nb")), "a\r\nb");
    EXPECT_EQ(toModelText(QString("a\r\nb")), "a\r\nb");
    EXPECT_EQ(toModelText(toWidgetText("Sub A()\r\nEnd Sub\r\n")), "Sub A()\r\nEnd Sub\r\n");
}

TEST(Text, PositionsMapBetweenCodePointsAndWidgetUnits) {
    const std::string model = "ab\r\n中\xF0\x9F\x98\x80x";  // a b CR LF 中 U+1F600 x
    const QString shown = toWidgetText(model);
    EXPECT_EQ(widgetPosition(model, 0), 0);
    EXPECT_EQ(widgetPosition(model, 4), 3);  // after the line break
    EXPECT_EQ(widgetPosition(model, 5), 4);  // after 中
    EXPECT_EQ(widgetPosition(model, 6), 6);  // the emoji takes two UTF-16 units
    EXPECT_EQ(widgetPosition(model, 99), shown.size());
    for (int p : {0, 1, 2, 4, 5, 6, 7}) EXPECT_EQ(modelPosition(shown, widgetPosition(model, p)), p) << p;
    EXPECT_EQ(px(13905), 927);
    EXPECT_EQ(px(8111), 541);
}

TEST(MessageBoxFlags, ButtonsIconsAndResultsFollowVb) {
    const MessageBoxStyle yesNo = messageBoxStyle(shell::vbmsg::YesNo);
    EXPECT_EQ(yesNo.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(yesNo.icon, QMessageBox::NoIcon);
    EXPECT_EQ(yesNo.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(vbResult(QMessageBox::Yes, yesNo), shell::vbmsg::ResultYes);
    // Closed without a button: the safe answer.
    EXPECT_EQ(vbResult(QMessageBox::NoButton, yesNo), shell::vbmsg::ResultNo);

    const MessageBoxStyle about = messageBoxStyle(shell::vbmsg::OKOnly | shell::vbmsg::Information);
    EXPECT_EQ(about.buttons, QMessageBox::Ok);
    EXPECT_EQ(about.icon, QMessageBox::Information);
    EXPECT_EQ(vbResult(QMessageBox::NoButton, about), shell::vbmsg::ResultOK);

    const MessageBoxStyle question = messageBoxStyle(shell::vbmsg::YesNoCancel | shell::vbmsg::Question | 256);
    EXPECT_EQ(question.defaultButton, QMessageBox::No);
    EXPECT_EQ(question.icon, QMessageBox::Question);
    EXPECT_EQ(vbResult(QMessageBox::NoButton, question), shell::vbmsg::ResultCancel);
    EXPECT_EQ(messageBoxStyle(shell::vbmsg::OKCancel | shell::vbmsg::Critical).icon, QMessageBox::Critical);
    EXPECT_EQ(messageBoxStyle(shell::vbmsg::Exclamation).icon, QMessageBox::Warning);
}

TEST(PopupMenus, ShowVisibleItemsAndSeparatorsAndMapActionsBack) {
    shell::MenuItem menu("CommandbarControlOperation", "");
    menu.add("AddItemforCombobox", "添加条目", false);
    menu.add("ModifyControl", "修改");
    menu.add("Sep1", "-");
    menu.add("MoveToTop", "移至顶部").SetEnabled(false);
    QMenu qmenu;
    const auto actions = fillPopupMenu(qmenu, menu);

    const QList<QAction*> shown = qmenu.actions();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0]->text(), QString::fromUtf8("修改"));
    EXPECT_TRUE(shown[1]->isSeparator());
    EXPECT_FALSE(shown[2]->isEnabled());
    ASSERT_EQ(actions.size(), 2U);
    EXPECT_EQ(actions.at(shown[0])->Name(), "ModifyControl");
    EXPECT_EQ(actions.at(shown[2])->Name(), "MoveToTop");
}

}  // namespace
}  // namespace tessaline::ui
