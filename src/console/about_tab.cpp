#include "console/about_tab.h"

#include "app/path_text.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace d7o::console {

using namespace forms::colors;

AboutTab::AboutTab(app::Context& ctx) : m_ctx(ctx), m_site(kMakerSite) {
  if (const char* site = std::getenv("REZEDEV7_MAKER_URL"); site != nullptr && *site != '\0') {
    m_site = site;
  }
  auto& w = m_ctx.main;
  w.Label13.setCaption("Internet: " + m_site);
  w.Image2.Click.connect([this] { Image2_Click(); });
  w.Label13.Click.connect([this] { Label13_Click(); });
  // Pointing at a link marks it; pointing at the tab around them clears the marks.
  w.Label13.MouseMove.connect([this] {
    m_ctx.main.Label13.setBackColor(kBlue);
    m_ctx.main.Label13.setForeColor(kYellow);
  });
  w.Image2.MouseMove.connect([this] { m_ctx.main.Image2.setBorder(true); });
  w.Image1.MouseMove.connect([this] { m_ctx.main.Image2.setBorder(false); });
  w.Tab1.MouseMove.connect([this] {
    auto& m = m_ctx.main;
    m.Image2.setBorder(false);
    m.Label13.setBackColor(kSystemButtonFace);
    m.Label13.setForeColor(kSystemButtonText);
  });
}

void AboutTab::Image2_Click() {
  auto& w = m_ctx.main;
  w.Image1.setBorder(true);
  const std::filesystem::path folder = m_ctx.host.programFolder();
  std::error_code ec;
  if (!std::filesystem::exists(folder / kManual, ec)) {
    m_ctx.dialogs.messageBox(std::string("The file ") + kManual + " does not exist.\n" +
                                 "Please download it from " + m_site + "\n" +
                                 "and copy to Application-Path REZEDEV7",
                             "", platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
    return;
  }
  m_ctx.shell.openDocument(app::pathText(folder / kManual), app::pathText(folder));
}

void AboutTab::Label13_Click() {
  m_ctx.shell.openUrl(m_site);
}

}  // namespace d7o::console
