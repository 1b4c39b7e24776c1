#include "sms/pdu_creator.h"

#include "app/tarvik_ini.h"
#include "app/text.h"
#include "link/serial_link.h"
#include "sms/hex_text.h"
#include "sms/pdu_codec.h"

#include <charconv>
#include <cmath>

namespace d7o::sms {

namespace {

// What the 8-bit coding lets the user type: one octet a character.
constexpr int kMaxEightBitCharacters = 140;

std::string shortestDecimal(double value) {
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc{} ? std::string(buffer, end) : std::string();
}

std::string hexPair(int octet) {
  return widened(hexText(octet));
}

// The decoded fields one a line, for the paste field.
std::string describe(const Decoded& pdu) {
  std::string text;
  const auto line = [&text](const std::string& name, const std::string& value) {
    text += name + ": " + value + "\r\n";
  };
  line("type", pdu.kind == Decoded::Kind::Submit ? "SMS-SUBMIT" : "SMS-DELIVER");
  if (pdu.sca) {
    line("service centre", hexPair(pdu.sca->type) + " " + pdu.sca->digits);
  } else {
    line("service centre", "none (the modem's)");
  }
  line("first octet", hexPair(pdu.firstOctet));
  if (pdu.messageReference) line("MR", hexPair(*pdu.messageReference));
  line(pdu.kind == Decoded::Kind::Submit ? "destination" : "originator",
       hexPair(pdu.address.type) + " " + pdu.address.digits);
  line("PID", hexPair(pdu.pid));
  std::string coding = pdu.coding == Coding::Gsm7    ? "7-bit"
                       : pdu.coding == Coding::Bits8 ? "8-bit"
                                                     : "UCS2";
  if (pdu.messageClass) coding += ", class " + std::to_string(*pdu.messageClass);
  line("DCS", hexPair(pdu.dcs) + " (" + coding + ")");
  if (pdu.vpRaw) line("VP", hexPair(*pdu.vpRaw) + " (" + pdu.vpText + ")");
  if (pdu.timestamp) line("time stamp", *pdu.timestamp);
  line("UDL", std::to_string(pdu.udl));
  if (pdu.userDataHeader) line("UDH", toHex(*pdu.userDataHeader));
  // The windows show Latin-1: a character beyond it shows as "?".
  std::string latin1;
  for (const char32_t c : pdu.text) latin1 += c < 0x100 ? static_cast<char>(c) : '?';
  line("text", latin1);
  return text;
}

}  // namespace

std::string dcsFor(int messageClass, bool eightBit) {
  return hexText(0xF0 + (eightBit ? 4 : 0) + messageClass);
}

std::optional<std::string> validityPeriodWords(double v) {
  if (v >= 0 && v <= 143) return shortestDecimal((v + 1) * 5) + " min.";
  if (v >= 144 && v <= 167) return shortestDecimal(12 + (v - 143) * 30 / 60) + " h";
  if (v >= 168 && v <= 196) return shortestDecimal(v - 166) + " day";
  if (v >= 197 && v <= 255) return shortestDecimal(v - 192) + " week";
  return std::nullopt;
}

std::string swapPairs(const std::string& digits) {
  std::string swapped;
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
    swapped += digits[i + 1];
    swapped += digits[i];
  }
  return swapped;
}

PduCreator::PduCreator(app::Context& ctx, link::SerialLink& link,
                       std::function<void()> activateMain)
    : m_ctx(ctx), m_link(link), m_activateMain(std::move(activateMain)), m_converter(ctx, [this] {
        m_ctx.pduForm.setVisible(true);
        activate();
      }) {
  auto& p = m_ctx.pduForm;
  p.Check1.Click.connect(
      [this] { m_ctx.state.sms.autoMessageReference = m_ctx.pduForm.Check1.checked(); });
  p.Option1.Click.connect([this] { m_ctx.pduForm.Text5.setText("81"); });
  p.Option2.Click.connect([this] { m_ctx.pduForm.Text5.setText("91"); });
  const auto scaType = [this](const char* type) {
    auto& f = m_ctx.pduForm;
    f.Text16.setText(type);
    scaLengthFromNumber();
    f.Text15.setText("");
    if (f.Text14.text().empty()) f.Text1.setText("00");
  };
  p.Option10.Click.connect([scaType] { scaType("81"); });
  p.Option9.Click.connect([scaType] { scaType("91"); });
  p.Option11.Click.connect([this] { m_ctx.pduForm.Text1.setText("00"); });
  p.Option12.Click.connect([this] { m_ctx.pduForm.Text8.setText("00"); });
  p.Option14.Click.connect([this] { m_ctx.pduForm.Text8.setText("01"); });
  p.Option13.Click.connect([this] { m_ctx.pduForm.Text8.setText("02"); });
  p.Option15.Click.connect([this] { m_ctx.pduForm.Text8.setText("03"); });
  for (forms::OptionButton* option : {&p.Option3, &p.Option4, &p.Option5, &p.Option6}) {
    option->Click.connect([this] { classOrCodingClicked(false); });
  }
  p.Option7.Click.connect([this] { classOrCodingClicked(true); });
  p.Option8.Click.connect([this] {
    classOrCodingClicked(false);
    m_ctx.pduForm.Text12.setMaxLength(kMaxEightBitCharacters);
  });
  p.Slider1.Change.connect(
      [this] { m_ctx.pduForm.Text10.setText(std::to_string(m_ctx.pduForm.Slider1.value())); });
  p.Text10.Change.connect([this] { validityPeriodChanged(); });
  p.Text14.Change.connect([this] { scaNumberChanged(); });
  p.Text6.Change.connect([this] { destinationChanged(); });
  p.Text21.Change.connect([this] { decodePasted(); });
  p.Command1.Click.connect([this] { Command1_Click(); });
  p.Command2.Click.connect([this] { Command2_Click(); });
  p.Command3.Click.connect([this] { Command3_Click(); });
}

void PduCreator::open() {
  auto& p = m_ctx.pduForm;
  m_ctx.main.setVisible(false);
  if (!p.loaded) {
    p.loaded = true;
    m_ctx.CenterForm(p);
  }
  p.setVisible(true);
  activate();
}

void PduCreator::activate() {
  auto& p = m_ctx.pduForm;
  auto& sms = m_ctx.state.sms;
  p.Check1.setChecked(sms.autoMessageReference);
  p.Text3.setText(hexText(sms.messageReference));
  sms.messageReference = static_cast<int>(HexToDecimal(p.Text3.text(), m_ctx.dialogs));
  p.Text3.setText(widened(p.Text3.text()));
  if (p.Text14.text().empty()) {
    // The main window's number in the form "00491710760000": without its "00". A number
    // shorter than that leaves the field empty.
    const std::string& main = m_ctx.main.Text7.text();
    p.Text14.setText(main.size() > 2 ? main.substr(2) : std::string());
  }
  if (p.Text6.text().empty()) p.Text6.setText(m_ctx.configItem(app::ini_index::kSmsNumber));
  if (p.Text14.text().empty()) {
    p.Text1.setText("00");
  } else {
    scaLengthFromNumber();
  }
  if (p.Option11.value()) p.Text1.setText("00");
  if (!p.Text10.text().empty()) {
    if (const auto v = app::leadingNumber(p.Text10.text())) p.Text13.setText(widened(hexText(*v)));
  }
  sms.validityPeriodValue = app::numericValue(p.Text10.text());
  if (auto words = validityPeriodWords(sms.validityPeriodValue)) p.Text17.setText(*words);
}

void PduCreator::scaLengthFromNumber() {
  auto& p = m_ctx.pduForm;
  // An odd digit count gives a half, which rounds to even; "create PDU" pads first.
  p.Text1.setText(widened(hexText(static_cast<double>(p.Text14.text().size()) / 2 + 1)));
}

void PduCreator::scaNumberChanged() {
  auto& p = m_ctx.pduForm;
  scaLengthFromNumber();
  p.Text15.setText("");
  if (p.Text14.text().empty()) p.Text1.setText("00");
}

void PduCreator::destinationChanged() {
  auto& p = m_ctx.pduForm;
  p.Text7.setText("");
  if (p.Text4.text().size() == 1) p.Text4.setText("0" + p.Text4.text());
}

void PduCreator::validityPeriodChanged() {
  auto& p = m_ctx.pduForm;
  const auto value = app::leadingNumber(p.Text10.text());
  // Text that is no number leaves the octet and the words as they were.
  if (!p.Text10.text().empty() && value) p.Text13.setText(widened(hexText(*value)));
  m_ctx.state.sms.validityPeriodValue = value.value_or(0);
  if (!value) return;
  if (auto words = validityPeriodWords(*value)) p.Text17.setText(*words);
}

int PduCreator::selectedClass() const {
  const auto& p = m_ctx.pduForm;
  if (p.Option3.value()) return 0;
  if (p.Option4.value()) return 1;
  if (p.Option5.value()) return 2;
  if (p.Option6.value()) return 3;
  return -1;
}

void PduCreator::classOrCodingClicked(bool opensConverter) {
  auto& p = m_ctx.pduForm;
  const int messageClass = selectedClass();
  const bool coded = p.Option7.value() || p.Option8.value();
  if (messageClass >= 0 && coded) p.Text9.setText(dcsFor(messageClass, p.Option8.value()));
  if (opensConverter) m_converter.open();
}

void PduCreator::Command1_Click() {
  auto& p = m_ctx.pduForm;
  auto& sms = m_ctx.state.sms;
  sms.pduLength = 0;
  p.Text20.setText("");
  const bool sevenBit = p.Option7.value();
  const bool eightBit = p.Option8.value();
  // The converter's hand-over is packed octets: nothing of it is a line end to strip.
  const bool converted =
      sevenBit && !sms.convertedHex.empty() && p.Text12.text() == sms.convertedHex;
  if (!converted && p.Text12.text().size() > 2) {
    // The text box's own line end: the last two characters go, whatever they are.
    const std::string& text = p.Text12.text();
    p.Text12.setText(text.substr(0, text.size() - 2));
  }
  if (sms.autoMessageReference) {
    // One octet: after 99 the reference starts again at 00.
    const int next = static_cast<int>(app::numericValue(p.Text3.text())) + 1;
    p.Text3.setText(next > 99 || next < 0 ? "00" : std::to_string(next));
  }
  if (p.Text3.text().size() == 1) p.Text3.setText("0" + p.Text3.text());
  if (p.Text6.text().empty()) {
    m_ctx.dialogs.messageBox("Enter PhoneNumber in Frame DestinationAddress", "E R R O R",
                             platform::MessageIcon::Critical, platform::MessageButtons::Ok);
    return;
  }
  if (p.Text6.text().size() % 2 != 0) p.Text6.setText(p.Text6.text() + "F");
  p.Text7.setText(swapPairs(p.Text6.text()));
  if (p.Text14.text().size() % 2 != 0) p.Text14.setText(p.Text14.text() + "F");
  p.Text15.setText(swapPairs(p.Text14.text()));

  const std::string& swapped = p.Text7.text();
  const bool padded = swapped.find('F') != std::string::npos;
  p.Text4.setText(widened(hexText(static_cast<double>(swapped.size()) - (padded ? 1 : 0))));

  const std::string& text = p.Text12.text();
  std::string userData;
  double udl = 0;
  if (eightBit) {
    udl = static_cast<double>(text.size());
    for (const unsigned char c : text) userData += widened(hexText(c));
  } else {
    udl = converted ? sms.convertedSeptets : static_cast<double>(text.size()) / 2;
    if (sevenBit) userData = text;
  }
  p.Text11.setText(widened(hexText(udl)));

  const std::string tpdu = p.Text2.text() + p.Text3.text() + p.Text4.text() + p.Text5.text() +
                           p.Text7.text() + p.Text8.text() + p.Text9.text() + p.Text13.text() +
                           p.Text11.text() + userData;
  std::string pdu;
  if (p.Text1.text() == "00") {
    pdu = p.Text1.text() + tpdu;
    sms.pduLength = static_cast<int>(pdu.size() / 2) - 1;
  } else {
    pdu = p.Text1.text() + p.Text16.text() + p.Text15.text() + tpdu;
    sms.pduLength =
        static_cast<int>(pdu.size() / 2) - 2 - static_cast<int>(p.Text15.text().size() / 2);
  }
  p.Text20.setText(pdu);
  p.deb.setCaption(std::to_string(sms.pduLength));
  m_ctx.main.Text5.setText(std::to_string(sms.pduLength));
  m_ctx.main.Text6.setText(pdu);
  p.Command2.setEnabled(true);
}

void PduCreator::Command2_Click() {
  unloadToMain();
}

void PduCreator::Command3_Click() {
  auto& w = m_ctx.main;
  m_link.sendOrReport("AT+CMGF=1");
  w.Command5.setEnabled(false);
  w.Command4.setCaption("switch to PDU-Mode");
  w.Text5.setText(m_ctx.configItem(app::ini_index::kSmsNumber));
  w.Text6.setText(forms::kInitialSmsText);
  w.Text7.setText(m_ctx.configItem(app::ini_index::kServiceCentre));
  m_link.sendOrReport("AT+CMGF=1");
  unloadToMain();
}

void PduCreator::unloadToMain() {
  auto& w = m_ctx.main;
  m_ctx.pduForm.restoreDesign();
  w.Tab1.setTab(forms::tabs::kSms);
  w.setVisible(true);
  if (m_activateMain) m_activateMain();
}

void PduCreator::decodePasted() {
  auto& p = m_ctx.pduForm;
  std::string hex;
  // As copied from the terminal: blanks and line ends between the digits do not count.
  for (const char c : p.Text21.text()) {
    if (c != ' ' && c != '\r' && c != '\n' && c != '\t') hex += c;
  }
  if (hex.empty()) {
    p.Text22.setText("");
    return;
  }
  const DecodeResult result = decodePdu(hex);
  p.Text22.setText(result.pdu ? describe(*result.pdu) : "not a PDU: " + result.error);
}

}  // namespace d7o::sms
