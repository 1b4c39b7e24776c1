// The SMS tab on the simulated modem: what reaches the wire for each button, and what the
// program does with the modem's answers about messages.
#include "sms/sms_tab.h"

#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::Millis;

constexpr char kCtrlZ = '\x1a';

struct SmsRig {
  explicit SmsRig(sim::ModemConfig modem = {}) : rig(modem) { rig.startAnswered(); }
  forms::MainWindow& w() { return rig.main(); }
  app::SmsState& sms() { return rig.state().sms; }
  Rig rig;
};

TEST(SmsTab, TextModeSendGoesThroughThePrompt) {
  struct Case {
    const char* manufacturer;
    const char* firstLine;
  };
  for (const Case& c : {Case{"Tarvik", "AT+CMGF=1;+CNMI=1,1,0,0,0\r"},
                        Case{"SIEMENS", "AT+CMGF=1;+CNMI=1,1,0;+CSMS=1\r"}}) {
    SmsRig r;
    r.rig.state().link.manufacturer = c.manufacturer;
    r.w().Text5.setText("0123456789");
    const auto before = r.rig.scheduler.now();
    r.w().Command16.click();
    EXPECT_GE(r.rig.scheduler.now() - before, Millis(2000)) << "two seconds before the number";
    EXPECT_EQ(r.rig.wire(), std::string(c.firstLine) + "AT+CMGS=\"0123456789\"\r");
    EXPECT_EQ(r.sms().pendingPromptText, "Test-SMS");
    r.rig.run(Millis(2000));
    EXPECT_EQ(r.rig.wire(), std::string("Test-SMS") + kCtrlZ) << c.manufacturer;
    EXPECT_EQ(r.sms().pendingPromptText, "");
    r.rig.run(Millis(3000));
    const auto lines = r.rig.terminal();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
      return l.find("+CMGS:") != l.npos;
    })) << c.manufacturer;
  }
}

TEST(SmsTab, PduModeSendUsesTheLengthAndTwoCarriageReturns) {
  for (const bool autoReference : {true, false}) {
    SmsRig r;
    auto& w = r.w();
    w.Command4.click();
    auto& p = r.rig.app->context().pduForm;
    p.Option11.select();
    p.Check1.setChecked(autoReference);
    p.Text12.setText("abc\r\n");
    p.Command1.click();
    p.Command2.click();
    r.rig.wire();
    r.sms().messageReference = 4;
    w.Command16.click();
    EXPECT_EQ(r.rig.wire(), "AT+CMGF=0\rAT+CMGS=16\r\r");
    EXPECT_EQ(r.sms().messageReference, autoReference ? 0 : 5);
    const std::string pdu = w.Text6.text();
    EXPECT_EQ(pdu, autoReference ? "0011010A81103254769800F6A703616263"
                                 : "0011000A81103254769800F6A703616263");
    r.rig.run(Millis(2000));
    // The network poll may follow.
    EXPECT_TRUE(r.rig.wire().starts_with(pdu + kCtrlZ));
    r.rig.run(Millis(3000));
    const auto lines = r.rig.terminal();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
      return l.find("+CMGS:") != l.npos;
    })) << "the modem took the PDU";
  }
}

TEST(SmsTab, ListAndDeleteOne) {
  SmsRig r;
  auto& w = r.w();
  w.Command17.click();
  EXPECT_EQ(r.rig.wire(), "AT+CMGL=\"ALL\"\r");
  r.sms().pduModeActive = true;
  w.Command17.click();
  EXPECT_EQ(r.rig.wire(), "AT+CMGL=4\r");

  r.rig.dialogs.answerInput("3");
  w.Command18.click();
  EXPECT_EQ(r.rig.wire(), "AT+CMGD=3\r");
  ASSERT_FALSE(r.rig.dialogs.shown.empty());
  EXPECT_EQ(r.rig.dialogs.shown.back().text, "Enter SMS-Number for Delete");
  EXPECT_EQ(r.rig.dialogs.shown.back().title, "Delete SMS");
  EXPECT_EQ(r.rig.dialogs.shown.back().defaultText, "1");
  w.Command18.click();  // cancelled
  EXPECT_EQ(r.rig.wire(), "AT+CMGD=\r");
}

// Every AT+CMGD of a "Delete all SMS" run, in order.
std::vector<std::string> deletions(const std::string& wire) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while ((from = wire.find("AT+CMGD=", from)) != std::string::npos) {
    const std::size_t end = wire.find('\r', from);
    lines.push_back(wire.substr(from, end - from));
    from = end;
  }
  return lines;
}

TEST(SmsTab, DeleteAllRunsToTheEndOfTheStore) {
  for (const int size : {20, 255}) {
    sim::ModemConfig modem;
    modem.smsStoreSize = size;
    SmsRig r(modem);
    r.w().DelSMS.click();
    r.rig.runUntil([&] { return !r.sms().smsDeleteRunning; }, Millis(120000));
    const std::string wire = r.rig.wire();
    EXPECT_TRUE(wire.starts_with("AT+CPMS?\r")) << wire.substr(0, 40);
    const auto sent = deletions(wire);
    ASSERT_EQ(sent.size(), static_cast<std::size_t>(size));
    EXPECT_EQ(sent.front(), "AT+CMGD=1");
    EXPECT_EQ(sent.back(), "AT+CMGD=" + std::to_string(size));
    EXPECT_EQ(r.sms().smsDeleteIndex, 0);
    EXPECT_EQ(r.sms().smsDeleteLast, std::to_string(size));
    // The size is known now: the next run asks no more.
    r.w().DelSMS.click();
    EXPECT_EQ(r.rig.wire(), "AT+CMGD=1\r");
  }
}

TEST(SmsTab, DeleteAllStopsOnAnErrorAndResumesOnTheNextOk) {
  SmsRig r;
  // Half way through a store of 20, position 6 waits for its answer.
  auto& sms = r.sms();
  sms.smsDeleteLast = "20";
  sms.smsDeleteIndex = 5;
  sms.smsDeleteRunning = true;
  r.rig.fromModem("\r\n+CMS ERROR: 321\r\n");
  r.rig.run(Millis(500));
  EXPECT_TRUE(deletions(r.rig.wire()).empty()) << "another error stops the chain";
  EXPECT_TRUE(sms.smsDeleteRunning);
  r.rig.fromModem("\r\n+CMS ERROR: 0\r\n");
  r.rig.runUntil([&] { return !sms.smsDeleteRunning; }, Millis(60000));
  const auto sent = deletions(r.rig.wire());
  ASSERT_EQ(sent.size(), 14u) << "positions 7 to 20";
  EXPECT_EQ(sent.front(), "AT+CMGD=7");
  EXPECT_EQ(sent.back(), "AT+CMGD=20");
  EXPECT_EQ(sms.smsDeleteIndex, 0);
}

TEST(SmsTab, NewMessageIndicationPerEngine) {
  struct Case {
    const char* manufacturer;
    const char* wire;
    bool line;
  };
  for (const Case& c :
       {Case{"Tarvik", "AT+CMGR=3  \r", false}, Case{"SIEMENS", "AT+CNMA\r", true}}) {
    SmsRig r;
    r.rig.state().link.manufacturer = c.manufacturer;
    r.rig.fromModem("\r\n+CMTI: \"SM\",3\r\n");
    r.rig.run(Millis(300));
    EXPECT_EQ(r.rig.wire(), c.wire) << c.manufacturer;
    const auto lines = r.rig.terminal();
    const bool shown = std::find(lines.begin(), lines.end(),
                                 "new SMS received, stored to Pos. 3   on SIM card") != lines.end();
    EXPECT_EQ(shown, c.line) << c.manufacturer;
  }
  SmsRig r;
  r.rig.fromModem("\r\n+CMTI: \"SM\"\r\n");
  r.rig.run(Millis(300));
  EXPECT_EQ(r.rig.wire(), "") << "without a position nothing is read";
}

TEST(SmsTab, ServiceCentreReadAndSet) {
  SmsRig r;
  auto& w = r.w();
  w.Command6.click();
  EXPECT_EQ(r.rig.wire(), "AT+CSCA?\r");
  EXPECT_EQ(w.Text7.text(), "");
  r.rig.fromModem("\r\n+CSCA: \"+491710760000\",145\r\n\r\nOK\r\n");
  r.rig.run(Millis(300));
  EXPECT_EQ(w.Text7.text(), "+491710760000");
  EXPECT_EQ(r.sms().serviceCentreNumber, "+491710760000");
  EXPECT_EQ(r.rig.app->context().pduForm.Text14.text(), "+491710760000");
  r.rig.fromModem("\r\n+CSCA: \"+4917\r\n");
  r.rig.run(Millis(300));
  EXPECT_EQ(r.sms().serviceCentreNumber, "+491710760000") << "half a number changes nothing";

  for (const auto& [number, type] : std::vector<std::pair<std::string, std::string>>{
           {"00491710760000", "145"}, {"+491710760000", "145"}, {"01710760000", "129"}}) {
    w.Text7.setText(number);
    r.rig.wire();
    w.Command42.click();
    EXPECT_EQ(r.rig.wire(), "AT+CSCA=\"" + number + "\"," + type + "\r");
  }
}

TEST(SmsTab, ModeSwitchBothWays) {
  SmsRig r;
  auto& w = r.w();
  EXPECT_FALSE(w.Command5.enabled());
  w.Command4.click();
  EXPECT_TRUE(r.sms().pduModeActive);
  EXPECT_EQ(r.rig.wire(), "") << "PDU mode goes out with the next send";
  EXPECT_TRUE(r.rig.app->context().pduForm.visible());
  r.rig.app->context().pduForm.Command2.click();
  w.Text5.setText("16");
  w.Command4.click();
  EXPECT_FALSE(r.sms().pduModeActive);
  EXPECT_FALSE(w.Command5.enabled());
  EXPECT_EQ(w.Command4.caption(), "switch to PDU-Mode");
  EXPECT_TRUE(r.rig.wire().starts_with("AT+CMGF=1\r"));
  EXPECT_EQ(w.Text5.text(), "0123456789");
  EXPECT_EQ(w.Text6.text(), "Test-SMS\r\n");
  EXPECT_EQ(w.Text7.text(), "00491710760000");

  // "create new PDU" opens the creator with the modem's service centre.
  r.sms().pduModeActive = true;
  w.Command5.setEnabled(true);
  r.sms().serviceCentreNumber = "+491710760000";
  w.Command5.click();
  EXPECT_EQ(r.rig.app->context().pduForm.Text14.text(), "+491710760000");
  EXPECT_FALSE(w.visible());
}

TEST(SmsTab, StartUpFillsTheFieldsFromTheConfiguration) {
  SmsRig r;
  EXPECT_EQ(r.w().Text5.text(), "0123456789");
  EXPECT_EQ(r.w().Text6.text(), "Test-SMS\r\n");
  EXPECT_EQ(r.w().Text7.text(), "00491710760000");
}

}  // namespace
}  // namespace d7o::test
