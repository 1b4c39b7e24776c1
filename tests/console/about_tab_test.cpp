// The "...about" tab: the manual from the program folder, the maker's site, and the marks
// that follow the mouse.
#include "console/about_tab.h"

#include "app/path_text.h"
#include "support/rig.h"

#include <fstream>
#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using namespace forms::colors;

TEST(AboutTab, AMissingManualIsExplainedAndAPresentOneOpens) {
  Rig rig;
  rig.startAnswered();
  auto& w = rig.main();
  w.Image2.Click.emit();
  EXPECT_TRUE(w.Image1.border());
  ASSERT_EQ(rig.dialogs.shown.size(), 1u);
  const auto& box = rig.dialogs.shown.back();
  EXPECT_EQ(box.icon, platform::MessageIcon::Exclamation);
  EXPECT_TRUE(box.text.starts_with("The file D7OMan.pdf does not exist.\n")) << box.text;
  EXPECT_TRUE(box.text.ends_with("\nand copy to Application-Path REZEDEV7")) << box.text;
  EXPECT_NE(box.text.find(console::AboutTab::kMakerSite), std::string::npos);
  EXPECT_TRUE(rig.shell.opened.empty());

  std::ofstream(rig.folder.path() / "D7OMan.pdf") << "%PDF-1.4\n";
  w.Image2.Click.emit();
  ASSERT_EQ(rig.shell.opened.size(), 1u);
  EXPECT_EQ(rig.shell.opened[0], app::pathText(rig.folder.path() / "D7OMan.pdf") + " in " +
                                     app::pathText(rig.folder.path()));
  EXPECT_EQ(rig.dialogs.shown.size(), 1u);
}

TEST(AboutTab, TheLinkOpensTheMakersSiteAndTheMarksFollowTheMouse) {
  Rig rig;
  rig.startAnswered();
  auto& w = rig.main();
  EXPECT_EQ(w.Label13.caption(), std::string("Internet: ") + console::AboutTab::kMakerSite);
  w.Label13.Click.emit();
  EXPECT_EQ(rig.shell.opened, std::vector<std::string>{console::AboutTab::kMakerSite});

  w.Label13.MouseMove.emit();
  EXPECT_EQ(w.Label13.backColor(), kBlue);
  EXPECT_EQ(w.Label13.foreColor(), kYellow);
  w.Image2.MouseMove.emit();
  EXPECT_TRUE(w.Image2.border());
  w.Image1.MouseMove.emit();
  EXPECT_FALSE(w.Image2.border());
  w.Image2.MouseMove.emit();
  w.Tab1.MouseMove.emit();
  EXPECT_FALSE(w.Image2.border());
  EXPECT_EQ(w.Label13.backColor(), kSystemButtonFace);
  EXPECT_EQ(w.Label13.foreColor(), kSystemButtonText);
}

}  // namespace
}  // namespace d7o::test
