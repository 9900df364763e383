#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <algorithm>
#include <memory>

#include "automation/sim/SimOffice.h"
#include "program/Startup.h"
#include "shell/ControlGrid.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "ui/HostWindow.h"

namespace tessaline::ui {
namespace {

// A floating bar's title strip once read dark on navy: a style sheet's text colour did not reach it inside
// the host window. What counts is what is painted, so the strip is looked at as a picture.
TEST(FloatingBarTitleTest, TheFaceIdViewerTitleIsPaintedLightOnTheDarkStrip) {
    auto office = automation::sim::SimOffice::load(TESSALINE_SOURCE_DIR "/tests/data/office-small");
    shell::ScriptedUi ui;
    const std::unique_ptr<shell::Form1> form = program::openMainWindow(*office, ui);
    HostWindows hosts(*office);
    hosts.follow(*form);
    hosts.refresh();
    form->dispatch([&] { shell::ShowFaceIdViewer(*form, 0); });
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();

    HostWindow* excel = hosts.window("Excel");
    ASSERT_NE(excel, nullptr);
    QWidget* viewer = excel->floatingBar("FaceIDViewer");
    ASSERT_NE(viewer, nullptr);
    const auto* title = viewer->findChild<QLabel*>();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("FaceIDViewer"));

    const QImage strip = viewer->grab(title->geometry()).toImage();
    ASSERT_FALSE(strip.isNull());
    int lightest = 0;
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) lightest = std::max(lightest, qGray(strip.pixel(x, y)));
    }
    EXPECT_LT(qGray(strip.pixel(strip.width() - 2, 1)), 80) << "the strip is dark";
    EXPECT_GT(lightest, 200) << "its letters are light";
}

}  // namespace
}  // namespace tessaline::ui
