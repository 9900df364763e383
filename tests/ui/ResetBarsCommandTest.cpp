#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <string>

#include "automation/Desktop.h"
#include "automation/Office.h"
#include "automation/sim/SimOffice.h"
#include "ui/HostWindow.h"

namespace tessaline::ui {
namespace {

namespace fs = std::filesystem;

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Answers the question the next call asks, once its event loop runs.
void answer(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(button)->click();
    });
}

// A toolbar made in one run shows in the host window of the next, until the window's command puts the
// shipped bars back.
TEST(ResetBarsCommand, AKeptToolbarShowsAtTheNextStartUntilTheWindowResetsTheBars) {
    const fs::path kept = fs::temp_directory_path() / ("tessaline-kept-ui-" + std::to_string(::getpid()));
    fs::remove_all(kept);
    const std::string content = TESSALINE_SOURCE_DIR "/tests/data/office-small";
    {
        const auto office = automation::sim::SimOffice::loadKeeping(content, kept.string());
        const auto excel = std::dynamic_pointer_cast<automation::CommandBarHost>(office->host("Excel"));
        const auto mine = excel->CommandBars()->Add("我的工具栏");
        mine->Controls()->Add(1)->SetCaption("你好");
        mine->SetPosition(automation::mso::BarTop);
        mine->SetVisible(true);
    }

    const auto office = automation::sim::SimOffice::loadKeeping(content, kept.string());
    HostWindows hosts(*office);
    hosts.refresh();
    settle();
    HostWindow* window = hosts.window("Excel");
    ASSERT_NE(window, nullptr);
    EXPECT_NE(window->toolBar("我的工具栏"), nullptr);
    auto* reset = window->findChild<QAction*>(QStringLiteral("resetBarsToShipped"));
    ASSERT_NE(reset, nullptr);

    answer(QMessageBox::No);
    reset->trigger();
    settle();
    EXPECT_NE(window->toolBar("我的工具栏"), nullptr);
    EXPECT_TRUE(fs::exists(kept / "excel.json"));

    answer(QMessageBox::Yes);
    reset->trigger();
    settle();
    EXPECT_EQ(window->toolBar("我的工具栏"), nullptr);
    EXPECT_NE(window->toolBar("Standard"), nullptr);
    EXPECT_FALSE(fs::exists(kept / "excel.json"));
    fs::remove_all(kept);
}

}  // namespace
}  // namespace tessaline::ui
