#include "forms/remote_form.h"

namespace d7o::forms {

namespace {
constexpr int kWidth = 560;
constexpr int kHeight = 330;
}  // namespace

RemoteForm::RemoteForm() : Form("Remote", kRemoteTitle) {
  resize(kWidth, kHeight);
  for (Label& lamp : Led1) lamp.setBackColor(colors::kSystemInactiveBorder);
  Command14.setToolTip("+++ and ATH: the modem leaves the data call");
  Text6.setToolTip("a command line for the remote device, sent with Enter");
  m_tracking.setVisible(false);
}

}  // namespace d7o::forms
