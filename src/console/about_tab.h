#pragma once

#include "app/context.h"

#include <string>

namespace d7o::console {

// The "...about" tab: the product, the device manual (D7OMan.pdf in the program folder)
// and the maker's web site, both opened through the desktop, with hover feedback.
class AboutTab {
 public:
  // The maker's site unless REZEDEV7_MAKER_URL names another.
  static constexpr const char* kMakerSite = "https://www.tarvik.com";
  static constexpr const char* kManual = "D7OMan.pdf";

  explicit AboutTab(app::Context& ctx);

  const std::string& makerSite() const { return m_site; }

  void Image2_Click();   // the manual
  void Label13_Click();  // the web site

 private:
  app::Context& m_ctx;
  std::string m_site;
};

}  // namespace d7o::console
