#include "ui/ResetBarsCommand.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolButton>

#include "automation/sim/SimOffice.h"
#include "ui/Text.h"

namespace tessaline::ui {

QAction* installResetBarsCommand(QMainWindow& window, automation::sim::SimOffice& office, const std::string& hostKey,
                                 std::function<void()> changed) {
    // The host's own menu bar is the host's to fill, so the command lives beside the status text.
    auto* button = new QToolButton(&window);
    button->setObjectName(QStringLiteral("barsMenuButton"));
    button->setText(QStringLiteral("命令栏"));
    button->setToolTip(QStringLiteral("此应用程序的命令栏"));
    button->setPopupMode(QToolButton::InstantPopup);
    button->setAutoRaise(true);
    auto* menu = new QMenu(button);
    QAction* reset = menu->addAction(QStringLiteral("重置为原始内容..."));
    reset->setObjectName(QStringLiteral("resetBarsToShipped"));
    button->setMenu(menu);
    window.statusBar()->addPermanentWidget(button);

    QObject::connect(reset, &QAction::triggered, &window, [&window, &office, hostKey, changed = std::move(changed)] {
        const QString text =
            QStringLiteral(
                "把 %1 的全部命令栏恢复为原始内容？\n\n新建的工具栏、添加或移动的控件和其他更改都将丢失，"
                "下次启动也从原始内容开始。")
                .arg(toQ(hostKey));
        if (QMessageBox::question(&window, window.windowTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) != QMessageBox::Yes) {
            return;
        }
        office.resetToShipped(hostKey);
        for (const auto& problem : office.takeKeepingProblems()) {
            QMessageBox::warning(&window, window.windowTitle(), toQ(problem));
        }
        if (changed) changed();
    });
    return reset;
}

}  // namespace tessaline::ui
