#include "sms/bin_code.h"

#include "forms/code_page.h"
#include "sms/pdu_codec.h"

namespace d7o::sms {

std::string ByteToBinary(int code) {
  std::string bits = "00000000";
  for (int i = 0; i < 8; ++i) {
    if ((code & 1) != 0) bits[static_cast<std::size_t>(7 - i)] = '1';
    code = (code & ~1) / 2;
  }
  return bits;
}

int BinaryToNumber(std::string_view text) {
  int value = 0;
  for (const char c : text) value = value * 2 + (c == '1' ? 1 : 0);
  return value;
}

SeptetWalk walkSeptets(std::string_view text) {
  SeptetWalk walk;
  const std::u32string characters = forms::fromCodePage(text);
  for (const char32_t c : characters) {
    if (!isGsmCharacter(c)) walk.notGsm.push_back(c);
  }
  const std::vector<std::uint8_t> septets = toGsmSeptets(characters);
  for (const std::uint8_t septet : septets) walk.septetBits.push_back(ByteToBinary(septet));
  walk.septetBits.push_back("00000000");
  const Octets packed = packSeptets(septets);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (const std::uint8_t octet : packed) {
    const std::string bits = ByteToBinary(octet);
    walk.octetBits.push_back(bits);
    std::string hex{kDigits[BinaryToNumber(bits.substr(0, 4))],
                    kDigits[BinaryToNumber(bits.substr(4))]};
    walk.hex += hex;
    walk.octetHex.push_back(std::move(hex));
  }
  walk.septets = static_cast<int>(septets.size());
  return walk;
}

BinCode::BinCode(app::Context& ctx, std::function<void()> showPduCreator)
    : m_ctx(ctx), m_showPduCreator(std::move(showPduCreator)) {
  auto& b = m_ctx.binCodeForm;
  b.Command2.Click.connect([this] { Command2_Click(); });
  b.Command1.Click.connect([this] { Command1_Click(); });
  b.Command3.Click.connect([this] { Command3_Click(); });
}

void BinCode::open() {
  auto& b = m_ctx.binCodeForm;
  // Each opening starts from the PDU creator's text as it stands, line end included.
  b.restoreDesign();
  b.loaded = true;
  b.Text1.setText(m_ctx.pduForm.Text12.text());
  m_ctx.CenterForm(b);
  m_ctx.pduForm.setVisible(false);
  b.setVisible(true);
}

void BinCode::Command2_Click() {
  auto& b = m_ctx.binCodeForm;
  auto& sms = m_ctx.state.sms;
  b.Text3.setText("");
  b.Text4.setText("");
  sms.convertedHex.clear();
  sms.convertedSeptets = 0;
  for (forms::ListBox* list : {&b.List1, &b.List2, &b.List3, &b.List4}) list->clear();

  SeptetWalk walk = walkSeptets(b.Text1.text());
  for (const auto& bits : walk.septetBits) b.List1.addItem(bits);
  // The character converted last, as its septet's bits.
  if (walk.septetBits.size() > 1) b.Text2.setText(walk.septetBits[walk.septetBits.size() - 2]);
  for (const auto& bits : walk.octetBits) {
    b.List2.addItem(bits);
    b.List4.addItem(bits);
  }
  for (const auto& hex : walk.octetHex) b.List3.addItem(hex);
  sms.convertedHex = walk.hex;
  sms.convertedSeptets = walk.septets;
  b.Text4.setText(walk.hex);
  // Packed as "?", which the lists show only as its bits: said in words before it is sent.
  if (!walk.notGsm.empty()) {
    const bool one = walk.notGsm.size() == 1;
    m_ctx.notice("...7-bit converter: " + forms::codePointNames(walk.notGsm) +
                 (one ? " has" : " have") + " no character in the GSM 7-bit alphabet and " +
                 (one ? "goes" : "go") + " out as \"?\"");
  }
}

void BinCode::Command1_Click() {
  m_ctx.main.Tab1.setTab(forms::tabs::kSms);
  // The hex and its septet count go over together: the PDU creator's UDL is the count.
  m_ctx.pduForm.Text12.setText(m_ctx.state.sms.convertedHex);
  unloadToPduCreator();
}

void BinCode::Command3_Click() {
  m_ctx.main.Tab1.setTab(forms::tabs::kSms);
  m_ctx.binCodeForm.restoreDesign();
  // Back to 8-bit coding, with its DCS and its limit of 140 characters.
  m_ctx.pduForm.Option8.select();
  if (m_showPduCreator) m_showPduCreator();
}

void BinCode::unloadToPduCreator() {
  m_ctx.binCodeForm.restoreDesign();
  if (m_showPduCreator) m_showPduCreator();
}

}  // namespace d7o::sms
