// The PDU creator and the 7-bit converter as the technician uses them: opened from the SMS
// tab, fields typed, "create PDU", the converter and back, cancel.
#include "sms/pdu_creator.h"

#include "sms/bin_code.h"
#include "sms/hex_text.h"
#include "sms/pdu_codec.h"
#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::Millis;

// The program up, the PDU creator opened from "switch to PDU-Mode".
struct PduRig {
  PduRig() {
    rig.startAnswered();
    rig.main().Command4.click();
    rig.wire();
  }
  forms::PduForm& pdu() { return rig.app->context().pduForm; }
  forms::BinCodeForm& converter() { return rig.app->context().binCodeForm; }
  Rig rig;
};

TEST(PduCreator, OpensOverTheHiddenMainWindowWithItsActivation) {
  PduRig r;
  auto& p = r.pdu();
  EXPECT_TRUE(p.visible());
  EXPECT_FALSE(r.rig.main().visible());
  EXPECT_TRUE(r.rig.main().Command5.enabled());
  EXPECT_EQ(r.rig.main().Command4.caption(), "switch to Text-Mode");
  // The service centre of the main window without its "00", and its length.
  EXPECT_EQ(p.Text14.text(), "491710760000");
  EXPECT_EQ(p.Text1.text(), "07");
  EXPECT_EQ(p.Text3.text(), "00");
  EXPECT_EQ(p.Text13.text(), "A7");
  EXPECT_EQ(p.Text17.text(), "24 h");
  EXPECT_TRUE(p.Check1.checked());
  EXPECT_FALSE(p.Command2.enabled());
}

TEST(PduCreator, AssemblesTheWorkedExamples) {
  struct Case {
    bool withSca;
    std::string pdu;
  };
  const std::string tpdu = "11010A81103254769800F6A703616263";
  for (const Case& c : {Case{false, "00" + tpdu}, Case{true, "0791947101670000" + tpdu}}) {
    PduRig r;
    auto& p = r.pdu();
    if (!c.withSca) p.Option11.select();
    p.Text12.setText("abc\r\n");
    p.Command1.click();
    EXPECT_EQ(p.Text20.text(), c.pdu);
    EXPECT_EQ(p.Text3.text(), "01");
    EXPECT_EQ(p.Text7.text(), "1032547698");
    EXPECT_EQ(p.Text4.text(), "0A");
    EXPECT_EQ(p.Text11.text(), "03");
    EXPECT_EQ(p.deb.caption(), "16");
    EXPECT_EQ(r.rig.state().sms.pduLength, 16);
    EXPECT_EQ(r.rig.main().Text5.text(), "16");
    EXPECT_EQ(r.rig.main().Text6.text(), c.pdu);
    EXPECT_TRUE(p.Command2.enabled());
    // An independent reading of the PDU gives back every field.
    const auto decoded = sms::decodePdu(c.pdu, true);
    ASSERT_TRUE(decoded.pdu) << decoded.error;
    EXPECT_EQ(decoded.pdu->address.digits, "0123456789");
    EXPECT_EQ(decoded.pdu->text, U"abc");
    EXPECT_EQ(decoded.pdu->messageReference, 1);
  }
}

TEST(PduCreator, RepeatedCreateShortensTheTextAndCountsTheReference) {
  PduRig r;
  auto& p = r.pdu();
  p.Command1.click();
  EXPECT_EQ(p.Text12.text(), "Test-SMS");
  EXPECT_EQ(p.Text3.text(), "01");
  p.Command1.click();
  EXPECT_EQ(p.Text12.text(), "Test-S") << "the last two characters go, whatever they are";
  EXPECT_EQ(p.Text3.text(), "02");
  p.Text12.setText("ab");
  p.Command1.click();
  EXPECT_EQ(p.Text12.text(), "ab") << "two characters or fewer stay";

  // Decimal counting; the reference stays one octet.
  for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
           {"09", "10"}, {"00", "01"}, {"98", "99"}, {"99", "00"}}) {
    p.Text3.setText(before);
    p.Command1.click();
    EXPECT_EQ(p.Text3.text(), after) << before;
  }
  p.Check1.setChecked(false);
  EXPECT_FALSE(r.rig.state().sms.autoMessageReference);
  p.Text3.setText("05");
  p.Command1.click();
  EXPECT_EQ(p.Text3.text(), "05");
}

TEST(PduCreator, PadsOddNumbersWithTheFiller) {
  PduRig r;
  auto& p = r.pdu();
  p.Text6.setText("12345");
  for (int i = 0; i < 2; ++i) {
    p.Command1.click();
    EXPECT_EQ(p.Text6.text(), "12345F");
    EXPECT_EQ(p.Text7.text(), "2143F5");
    EXPECT_EQ(p.Text4.text(), "05") << "the digits without the filler";
  }
  // "none" and an odd service centre: the filler makes it count again, so the PDU
  // carries it; an even one leaves "00".
  p.Text14.setText("4917107600");
  p.Option11.select();
  p.Command1.click();
  EXPECT_TRUE(p.Text20.text().starts_with("0011")) << p.Text20.text();
  p.Option9.select();
  p.Text14.setText("491710760");
  p.Option11.select();
  EXPECT_EQ(p.Text1.text(), "00");
  p.Command1.click();
  EXPECT_EQ(p.Text14.text(), "491710760F");
  EXPECT_EQ(p.Text15.text(), "94710167F0");
  EXPECT_TRUE(p.Text20.text().starts_with("069194710167F0")) << p.Text20.text();
  EXPECT_EQ(r.rig.state().sms.pduLength, static_cast<int>(p.Text20.text().size() / 2) - 7);
}

TEST(PduCreator, ScaLengthRoundsAnOddCountToEven) {
  PduRig r;
  auto& p = r.pdu();
  for (const auto& [digits, length] : std::vector<std::pair<std::string, std::string>>{
           {"1234567890123", "08"}, {"12345678901", "06"}, {"", "00"}, {"49171076", "05"}}) {
    p.Text14.setText(digits);
    EXPECT_EQ(p.Text1.text(), length) << digits;
    EXPECT_EQ(p.Text15.text(), "");
  }
}

TEST(PduCreator, ValidityPeriodInOctetAndWords) {
  PduRig r;
  auto& p = r.pdu();
  struct Case {
    const char* value;
    const char* octet;
    const char* words;
  };
  for (const Case& c :
       {Case{"0", "00", "5 min."}, Case{"143", "8F", "720 min."}, Case{"144", "90", "12.5 h"},
        Case{"167", "A7", "24 h"}, Case{"168", "A8", "2 day"}, Case{"196", "C4", "30 day"},
        Case{"197", "C5", "5 week"}, Case{"255", "FF", "63 week"}}) {
    p.Text10.setText(c.value);
    EXPECT_EQ(p.Text13.text(), c.octet) << c.value;
    EXPECT_EQ(p.Text17.text(), c.words) << c.value;
  }
  p.Text10.setText("300");
  EXPECT_EQ(p.Text13.text(), "12C");
  EXPECT_EQ(p.Text17.text(), "63 week") << "outside the ranges the words stay";
  p.Text10.setText("abc");
  EXPECT_EQ(p.Text13.text(), "12C") << "no number: nothing changes";
  p.Slider1.setValue(10);
  EXPECT_EQ(p.Text10.text(), "10");
  EXPECT_EQ(p.Text13.text(), "0A");
  EXPECT_EQ(p.Text17.text(), "55 min.");
}

TEST(PduCreator, OptionsWriteTheirOctets) {
  PduRig r;
  auto& p = r.pdu();
  p.Option2.select();
  EXPECT_EQ(p.Text5.text(), "91");
  p.Option1.select();
  EXPECT_EQ(p.Text5.text(), "81");
  p.Option10.select();
  EXPECT_EQ(p.Text16.text(), "81");
  p.Option9.select();
  EXPECT_EQ(p.Text16.text(), "91");
  for (const auto& [option, pid] : std::vector<std::pair<forms::OptionButton*, std::string>>{
           {&p.Option14, "01"}, {&p.Option13, "02"}, {&p.Option15, "03"}, {&p.Option12, "00"}}) {
    option->select();
    EXPECT_EQ(p.Text8.text(), pid);
  }
  for (const auto& [option, dcs] : std::vector<std::pair<forms::OptionButton*, std::string>>{
           {&p.Option3, "F4"}, {&p.Option4, "F5"}, {&p.Option6, "F7"}, {&p.Option5, "F6"}}) {
    option->select();
    EXPECT_EQ(p.Text9.text(), dcs);
  }
  EXPECT_EQ(p.Text12.maxLength(), 0);
}

TEST(PduCreator, EightBitCountsAndCodesEveryCharacter) {
  PduRig r;
  auto& p = r.pdu();
  p.Option11.select();
  p.Text12.setText("a\r\nb\r\n");
  p.Command1.click();
  EXPECT_EQ(p.Text11.text(), "04");
  EXPECT_TRUE(p.Text20.text().ends_with("04610D0A62")) << p.Text20.text();
}

TEST(PduCreator, EmptyDestinationIsRefused) {
  PduRig r;
  auto& p = r.pdu();
  p.Text6.setText("");
  p.Command1.click();
  ASSERT_FALSE(r.rig.dialogs.shown.empty());
  EXPECT_EQ(r.rig.dialogs.shown.back().text, "Enter PhoneNumber in Frame DestinationAddress");
  EXPECT_EQ(r.rig.dialogs.shown.back().title, "E R R O R");
  EXPECT_EQ(p.Text20.text(), "");
  EXPECT_EQ(r.rig.state().sms.pduLength, 0);
  EXPECT_EQ(p.Text12.text(), "Test-SMS") << "the strip of that click remains";
  EXPECT_EQ(p.Text3.text(), "01");
  EXPECT_FALSE(p.Command2.enabled());
}

TEST(PduCreator, CancelReturnsToTextModeOnTheModemsEcho) {
  PduRig r;
  auto& p = r.pdu();
  auto& w = r.rig.main();
  w.Text5.setText("999");
  p.Command3.click();
  EXPECT_EQ(r.rig.wire(), "AT+CMGF=1\rAT+CMGF=1\r");
  EXPECT_FALSE(w.Command5.enabled());
  EXPECT_EQ(w.Command4.caption(), "switch to PDU-Mode");
  EXPECT_EQ(w.Text5.text(), "0123456789");
  EXPECT_EQ(w.Text6.text(), "Test-SMS\r\n");
  EXPECT_EQ(w.Text7.text(), "00491710760000");
  EXPECT_TRUE(w.visible());
  EXPECT_EQ(w.Tab1.tab(), forms::tabs::kSms);
  EXPECT_FALSE(p.visible());
  EXPECT_TRUE(r.rig.state().sms.pduModeActive) << "until the modem's echo";
  r.rig.run(Millis(1000));
  EXPECT_FALSE(r.rig.state().sms.pduModeActive);
  // The next opening starts from the design.
  w.Command4.click();
  EXPECT_EQ(p.Text12.text(), "Test-SMS\r\n");
  EXPECT_EQ(p.Text3.text(), "00");
}

TEST(PduCreator, PduToHostKeepsTheMessageForSendSms) {
  PduRig r;
  auto& p = r.pdu();
  p.Command1.click();
  const std::string pdu = p.Text20.text();
  p.Command2.click();
  auto& w = r.rig.main();
  EXPECT_TRUE(w.visible());
  EXPECT_FALSE(p.visible());
  EXPECT_EQ(w.Tab1.tab(), forms::tabs::kSms);
  EXPECT_EQ(w.Text6.text(), pdu);
  EXPECT_EQ(r.rig.wire(), "") << "nothing is sent";
}

TEST(PduCreator, SevenBitGoesThroughTheConverterAndBack) {
  PduRig r;
  auto& p = r.pdu();
  auto& b = r.converter();
  p.Option11.select();
  p.Option7.select();
  EXPECT_EQ(p.Text9.text(), "F2");
  EXPECT_TRUE(b.visible());
  EXPECT_FALSE(p.visible());
  EXPECT_EQ(b.Text1.text(), "Test-SMS\r\n");
  b.Text1.setText("Test-SMS");
  b.Command2.click();
  EXPECT_EQ(b.Text4.text(), "D4F29CDE9A36A7");
  b.Command1.click();
  EXPECT_FALSE(b.visible());
  EXPECT_TRUE(p.visible());
  EXPECT_EQ(p.Text12.text(), "D4F29CDE9A36A7");
  p.Command1.click();
  EXPECT_EQ(p.Text11.text(), "08") << "the septets, not the hex pairs";
  EXPECT_EQ(p.Text20.text(), "0011010A81103254769800F2A708D4F29CDE9A36A7");
  const auto decoded = sms::decodePdu(p.Text20.text(), true);
  ASSERT_TRUE(decoded.pdu) << decoded.error;
  EXPECT_EQ(decoded.pdu->text, U"Test-SMS");

  // Cancel in the converter goes back to 8-bit coding.
  p.Option7.select();
  p.Option5.select();
  r.converter().Command3.click();
  EXPECT_TRUE(p.visible());
  EXPECT_TRUE(p.Option8.value());
  EXPECT_EQ(p.Text9.text(), "F6");
  EXPECT_EQ(p.Text12.maxLength(), 140);
}

TEST(PduCreator, PastedPduShowsItsFields) {
  PduRig r;
  auto& p = r.pdu();
  p.Text21.setText("07919471016700 00 11010A81103254769800F6A703616263\r\n");
  EXPECT_NE(p.Text22.text().find("text: abc"), std::string::npos) << p.Text22.text();
  EXPECT_NE(p.Text22.text().find("destination: 81 0123456789"), std::string::npos);
  p.Text21.setText("0011");
  EXPECT_TRUE(p.Text22.text().starts_with("not a PDU: octet")) << p.Text22.text();
}

TEST(SevenBitConverter, ListsShowEveryStage) {
  struct Case {
    std::string text;
    std::vector<std::string> septets;
    std::vector<std::string> hexRows;
    std::string hex;
  };
  const std::vector<Case> cases = {
      {"abc", {"01100001", "01100010", "01100011", "00000000"}, {"61", "F1", "18"}, "61F118"},
      {"@", {"00000000", "00000000"}, {"00"}, "00"},
      {"_", {"00010001", "00000000"}, {"11"}, "11"},
  };
  for (const Case& c : cases) {
    const sms::SeptetWalk walk = sms::walkSeptets(c.text);
    EXPECT_EQ(walk.septetBits, c.septets) << c.text;
    EXPECT_EQ(walk.octetHex, c.hexRows) << c.text;
    EXPECT_EQ(walk.hex, c.hex) << c.text;
  }
  // Seven characters fill seven octets, eight still seven; sixteen fill fourteen.
  EXPECT_EQ(sms::walkSeptets("abcdefg").octetHex.size(), 7u);
  EXPECT_EQ(sms::walkSeptets("Test-SMS").hex, "D4F29CDE9A36A7");
  EXPECT_EQ(sms::walkSeptets("abcdefghijklmnop").octetHex.size(), 14u);
  EXPECT_EQ(sms::walkSeptets("a\r\n").hex, "E18602") << "a line end is two septets";
}

TEST(SevenBitConverter, WindowListsMatchTheWalk) {
  PduRig r;
  r.pdu().Text12.setText("Test-SMS");
  r.pdu().Option7.select();
  auto& b = r.converter();
  b.Command2.click();
  EXPECT_EQ(b.List1.count(), 9);
  EXPECT_EQ(b.List4.items(), b.List2.items()) << "the walk never restarts";
  EXPECT_EQ(b.List4.count(), 7);
  EXPECT_EQ(b.List3.item(0), "D4");
  EXPECT_EQ(b.Text2.text(), sms::ByteToBinary('S'));
  EXPECT_EQ(b.Text3.text(), "");
  EXPECT_EQ(r.rig.state().sms.convertedSeptets, 8);
}

TEST(HexText, ConversionsBothWays) {
  ScriptedDialogs dialogs;
  for (const auto& [text, value] : std::vector<std::pair<std::string, double>>{
           {"", 0}, {"A7", 167}, {"a7", 167}, {"00", 0}, {"FF", 255}, {"10000", 65536}}) {
    EXPECT_EQ(sms::HexToDecimal(text, dialogs), value) << text;
  }
  EXPECT_TRUE(dialogs.shown.empty());
  for (const std::string bad : {"1G", "1 2"}) {
    dialogs.shown.clear();
    EXPECT_EQ(sms::HexToDecimal(bad, dialogs), 0) << bad;
    ASSERT_EQ(dialogs.shown.size(), 1u) << bad;
    EXPECT_EQ(dialogs.shown[0].text, "Number given is not in Hex format");
  }
  for (const auto& [value, text] : std::vector<std::pair<double, std::string>>{{0, "0"},
                                                                               {10, "A"},
                                                                               {31, "1F"},
                                                                               {7.5, "8"},
                                                                               {6.5, "6"},
                                                                               {300, "12C"},
                                                                               {-1, "FFFFFFFF"}}) {
    EXPECT_EQ(sms::hexText(value), text) << value;
  }
  EXPECT_EQ(sms::widened("7"), "07");
  EXPECT_EQ(sms::widened("12C"), "12C");
  EXPECT_EQ(sms::swapPairs("0123456789"), "1032547698");
}

}  // namespace
}  // namespace d7o::test

namespace d7o::test {
namespace {

// The windows' text is Windows-1252: its euro sign (80) is the GSM extension character,
// and a character the GSM alphabet lacks goes as "?" only with a terminal line saying so.
TEST(SevenBitConverter, TheWindowsEuroPacksAsAnExtensionAndAnythingElseIsNamed) {
  struct Case {
    const char* name;
    std::string text;  // bytes of the code page
    int septets;
    std::string notice;  // the terminal line, or empty
  };
  const Case cases[] = {
      {"euro sign: ESC and 65, two septets", "5\x80", 3, ""},
      {"umlaut of the default table", "\xFC", 1, ""},
      {"ellipsis: in the code page, not in the GSM alphabet", "a\x85", 2,
       "...7-bit converter: U+2026 has no character in the GSM 7-bit alphabet and goes out as "
       "\"?\""},
      {"two of them", "\x93x\x94", 3,
       "...7-bit converter: U+201C, U+201D have no character in the GSM 7-bit alphabet and go out "
       "as \"?\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PduRig r;
    r.pdu().Text12.setText(c.text);
    r.pdu().Option7.select();
    r.converter().Command2.click();
    EXPECT_EQ(r.rig.state().sms.convertedSeptets, c.septets);
    const auto& lines = r.rig.main().List3.items();
    if (c.notice.empty()) {
      EXPECT_TRUE(lines.empty() || lines.back().find("7-bit converter") == std::string::npos);
    } else {
      ASSERT_FALSE(lines.empty());
      EXPECT_EQ(lines.back(), c.notice);
      EXPECT_EQ(r.rig.main().Text3.text(), c.notice);
    }
  }
  EXPECT_EQ(sms::walkSeptets("5\x80").septetBits,
            (std::vector<std::string>{"00110101", "00011011", "01100101", "00000000"}));
}

// A field that got characters outside the code page says so in the terminal, whichever
// window it is in, before anything is sent.
TEST(CodePageNotice, AReplacedCharacterIsNamedInTheTerminalAndTheStatus) {
  Rig rig;
  rig.startAnswered();
  rig.app->context().pduForm.CharactersReplaced.emit("user data", U"\u2713");
  const std::string line =
      "...user data: U+2713 is not in the character set (Windows-1252) "
      "and goes out as \"?\"";
  ASSERT_FALSE(rig.main().List3.empty());
  EXPECT_EQ(rig.main().List3.items().back(), line);
  EXPECT_EQ(rig.main().List3.listIndex(), rig.main().List3.count() - 1) << "scrolled into view";
  EXPECT_EQ(rig.main().Text3.text(), line);
  EXPECT_EQ(rig.wire(), "");
}

}  // namespace
}  // namespace d7o::test
