// Every control a window's model declares has its widget in the window's view, found by
// the control's name (a menu entry: its action). A control without one is a part of the
// program the user can never see or press.

#include "forms/controls.h"
#include "forms/form.h"
#include "support/rig.h"
#include "ui/bin_code_form_view.h"
#include "ui/gps_form_view.h"
#include "ui/main_window_view.h"
#include "ui/pdu_form_view.h"
#include "ui/remote_form_view.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QAction>

namespace d7o::ui {
namespace {

// The names of the controls of `form` that have no widget (or action) in `view`, or
// more than one.
std::vector<std::string> controlsWithoutTheirWidget(const forms::Form& form, const QWidget& view) {
  std::vector<std::string> missing;
  for (const forms::Control* control : form.controls()) {
    const QString name = QString::fromLatin1(control->name());
    const bool isMenu = dynamic_cast<const forms::Menu*>(control) != nullptr;
    const auto found = isMenu ? view.findChildren<QAction*>(name).size()
                              : view.findChildren<QWidget*>(name).size();
    if (found != 1) missing.push_back(control->name());
  }
  return missing;
}

class EveryControlHasItsWidget : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.writeDefaultIni();
    ASSERT_TRUE(rig.start());
  }

  test::Rig rig;
};

TEST_F(EveryControlHasItsWidget, InTheMainWindow) {
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  const forms::Form& model = rig.main();
  ASSERT_FALSE(model.controls().empty());
  EXPECT_EQ(controlsWithoutTheirWidget(model, window), std::vector<std::string>{});
}

TEST_F(EveryControlHasItsWidget, InTheGpsAnalyzer) {
  GpsFormView window(*rig.app);
  const forms::Form& model = rig.app->context().gpsForm;
  ASSERT_FALSE(model.controls().empty());
  EXPECT_EQ(controlsWithoutTheirWidget(model, window), std::vector<std::string>{});
}

TEST_F(EveryControlHasItsWidget, InThePduCreator) {
  PduFormView window(*rig.app);
  const forms::Form& model = rig.app->context().pduForm;
  ASSERT_FALSE(model.controls().empty());
  EXPECT_EQ(controlsWithoutTheirWidget(model, window), std::vector<std::string>{});
}

TEST_F(EveryControlHasItsWidget, InTheSevenBitConverter) {
  BinCodeFormView window(*rig.app);
  const forms::Form& model = rig.app->context().binCodeForm;
  ASSERT_FALSE(model.controls().empty());
  EXPECT_EQ(controlsWithoutTheirWidget(model, window), std::vector<std::string>{});
}

TEST_F(EveryControlHasItsWidget, InTheRemoteTool) {
  RemoteFormView window(*rig.app);
  const forms::Form& model = rig.app->context().remoteForm;
  ASSERT_FALSE(model.controls().empty());
  EXPECT_EQ(controlsWithoutTheirWidget(model, window), std::vector<std::string>{});
}

}  // namespace
}  // namespace d7o::ui
