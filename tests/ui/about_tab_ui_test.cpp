// The "...about" tab offscreen: pointing at the link marks it, pointing at the tab clears
// the mark; a click on the manual's picture asks for the manual.

#include "forms/main_window.h"
#include "support/rig.h"
#include "ui/main_window_view.h"
#include "ui/ui_wait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTest>

namespace d7o::ui {
namespace {

// What the window system delivers when the pointer moves over `widget` with no button.
void moveOver(QWidget* widget, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &move);
}

TEST(AboutTabUi, TheLinkMarksUnderTheMouseAndThePictureAsksForTheManual) {
  test::Rig rig;
  rig.startAnswered();
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.findChild<QTabWidget*>(QStringLiteral("Tab1"))->setCurrentIndex(forms::tabs::kAbout);
  auto* link = window.findChild<QLabel*>(QStringLiteral("Label13"));
  auto* manual = window.findChild<QWidget*>(QStringLiteral("Image2"));
  ASSERT_TRUE(link && manual);
  ASSERT_TRUE(waitFor([&] { return link->isVisible() && manual->isVisible(); }));

  moveOver(link, link->rect().center());
  EXPECT_TRUE(waitFor([&] { return rig.main().Label13.backColor() == forms::colors::kBlue; }));
  moveOver(link->parentWidget(),
           QPoint(link->parentWidget()->width() - 2, link->parentWidget()->height() - 2));
  EXPECT_TRUE(
      waitFor([&] { return rig.main().Label13.backColor() == forms::colors::kSystemButtonFace; }));

  QTest::mouseClick(manual, Qt::LeftButton);
  EXPECT_TRUE(waitFor([&] { return !rig.dialogs.shown.empty(); }));
  EXPECT_TRUE(rig.main().Image1.border());
}

}  // namespace
}  // namespace d7o::ui
