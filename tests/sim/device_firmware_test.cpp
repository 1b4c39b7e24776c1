// The alarm/GPS firmware's "&" lines on the simulated modem.
#include "sim/device_firmware.h"

#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>

namespace d7o::sim {
namespace {

using platform::Millis;

const std::string kOk = "\r\n$CNFOK\r\n";
const std::string kError = "\r\n$ERROR\r\n";

TEST(SimulatedDevice, JudgesItsConfigurationLines) {
  struct Case {
    const char* line;
    bool accepted;
  };
  const Case cases[] = {
      {"&CNF TIME,9.5.3,7.12.2026", true},
      {"&CNF TIME,0.0.0,1.1.2027", true},
      {"&CNF TIME,23.59.59,31.12.2099", true},
      {"&CNF TIME,0.0.0,29.2.2028", true},
      {"&CNF TIME,24.0.0,1.1.2027", false},
      {"&CNF TIME,12.60.0,1.1.2027", false},
      {"&CNF TIME,12.0.60,1.1.2027", false},
      {"&CNF TIME,12.0.0,29.2.2027", false},
      {"&CNF TIME,12.0.0,0.1.2027", false},
      {"&CNF TIME,12.0.0,1.13.2027", false},
      {"&CNF TIME,12.0.0,1.1.27", false},
      {"&CNF TIME,12.0,1.1.2027", false},
      {"&CNF TIME,12.0.0", false},
      {"&CNF TIME,a.b.c,1.1.2027", false},
      {"&CNF MODE,DVCG,0", true},
      {"&CNF MODE,DG,255", true},
      {"&CNF MODE,,0", true},
      {"&CNF MODE,VD,0", false},
      {"&CNF MODE,DD,0", false},
      {"&CNF MODE,X,0", false},
      {"&CNF MODE,D,256", false},
      {"&CNF MODE,D", false},
      {"&CNF MSG,S0123456789,\"Car number 222\",0", true},
      {"&CNF MSG,D+49301234,,9999", true},
      {"&CNF MSG,G0123,\"\",10", true},
      {"&CNF MSG,S0123,\"a, b\",10", true},
      {"&CNF MSG,X0123,,0", false},
      {"&CNF MSG,S,,0", false},
      {"&CNF MSG,0123,,0", false},
      {"&CNF MSG,S01a3,,0", false},
      {"&CNF MSG,S0123,Car,0", false},
      {"&CNF MSG,S0123,\"Car\"x\",0", false},
      {"&CNF MSG,S0123,,10000", false},
      {"&CNF MSG,S0123,,", false},
      {"&CNF GPS,GPGGA;GPGSV;GPRMC;GPGSA;GPGLL;GPVTG,100", true},
      {"&CNF GPS,GPRMC,100", true},
      {"&CNF GPS,,100", true},
      {"&CNF GPS,GPXXX,100", false},
      {"&CNF GPS,GPGGA;,100", false},
      {"&CNF GPS,GPGGA,GPRMC,100", false},
      {"&CNF GPS,GPGGA", false},
      {"&CNF IGN,0", true},
      {"&CNF IGN,60", true},
      {"&CNF IGN,-1", true},
      {"&CNF IGN,61", false},
      {"&CNF IGN,-2", false},
      {"&CNF IGN,", false},
      {"&CNF KEY,1,S0123,\"Alarm\",LP", true},
      {"&CNF KEY,2,D0123,\"Door, back\",HP", true},
      {"&CNF KEY,3,V0123,\"\",E", true},
      {"&CNF KEY,1,G0123,\"Pos\",L", true},
      {"&CNF KEY,1,0123,\"No kind\",H", true},
      {"&CNF KEY,1,,\"Silent\",L", true},
      {"&CNF KEY,4,S0123,\"Alarm\",L", false},
      {"&CNF KEY,0,S0123,\"Alarm\",L", false},
      {"&CNF KEY,1,V0123,\"Alarm\",LP", false},
      {"&CNF KEY,1,0123,\"Alarm\",LP", false},
      {"&CNF KEY,1,S0123,\"Alarm\",X", false},
      {"&CNF KEY,1,S0123,\"Alarm\",LX", false},
      {"&CNF KEY,1,S0123,Alarm,L", false},
      {"&CNF KEY,1,X0123,\"Alarm\",L", false},
      {"&CNF KEY,1,S,\"Alarm\",L", false},
      {"&CNF PORT,E,10,20", true},
      {"&CNF PORT,A,99990,10", true},
      {"&CNF PORT,I,100,100", true},
      {"&CNF PORT,Z,10,10", true},
      {"&CNF PORT,X,10,20", false},
      {"&CNF PORT,E,5,20", false},
      {"&CNF PORT,E,15,20", false},
      {"&CNF PORT,E,10,100000", false},
      {"&CNF PORT,E,10", false},
      {"&CLR FAIL", true},
      {"&REQ INT", true},
      {"&CNF NOSUCH,1", false},
      {"&CNF TIME", false},
      {"&NOSUCH", false},
      {"&", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ModemBench b;
    EXPECT_EQ(b.say(std::string(c.line) + "\r"),
              c.line + std::string("\r") + (c.accepted ? kOk : kError));
  }
}

TEST(SimulatedDevice, KeepsWhatTheLinesSet) {
  ModemBench b;
  b.say("&CNF TIME,0.0.0,1.1.2027\r");
  b.say("&CNF MODE,DV,7\r");
  b.say("&CNF MSG,S+4930123,,60\r");
  b.say("&CNF GPS,,100\r");
  b.say("&CNF IGN,-1\r");
  b.say("&CNF KEY,2,,\"Door\",E\r");
  b.say("&CNF KEY,3,S0123,\"Car number 222\",HP\r");
  b.say("&CNF PORT,Z,10,990\r");
  const DeviceState& d = b.modem.device();
  ASSERT_TRUE(d.clock);
  EXPECT_EQ(d.clock->hour, 0);
  EXPECT_EQ(d.clock->day, 1);
  EXPECT_EQ(d.clock->month, 1);
  EXPECT_EQ(d.clock->year, 2027);
  EXPECT_EQ(d.modeLetters, "DV");
  EXPECT_EQ(d.startCounter, 7);
  ASSERT_TRUE(d.message);
  EXPECT_EQ(d.message->kind, 'S');
  EXPECT_EQ(d.message->number, "+4930123");
  EXPECT_EQ(d.message->source, "");
  EXPECT_EQ(d.message->interval, 60);
  EXPECT_TRUE(d.gpsSentences.empty());
  EXPECT_EQ(d.ignitionMinutes, -1);
  EXPECT_FALSE(d.keys[0]);
  ASSERT_TRUE(d.keys[1]);
  EXPECT_EQ(d.keys[1]->kind, '\0');
  EXPECT_EQ(d.keys[1]->edge, 'E');
  ASSERT_TRUE(d.keys[2]);
  EXPECT_EQ(d.keys[2]->text, "Car number 222") << "texts keep their case";
  EXPECT_TRUE(d.keys[2]->position);
  ASSERT_TRUE(d.port);
  EXPECT_EQ(d.port->mode, 'Z');
  EXPECT_EQ(d.port->time2, 990);
  EXPECT_FALSE(d.intervalRequested);
  b.say("&REQ INT\r");
  EXPECT_TRUE(b.modem.device().intervalRequested);
}

TEST(SimulatedDevice, RejectedLineChangesNothing) {
  ModemBench b;
  b.say("&CNF GPS,GPGGA;GPVTG,100\r");
  b.say("&CNF GPS,GPGGA;GPNOPE,100\r");
  EXPECT_EQ(b.modem.device().gpsSentences, (std::vector<std::string>{"GPGGA", "GPVTG"}));
  b.say("&CNF MODE,C,5\r");
  b.say("&CNF MODE,C,500\r");
  EXPECT_EQ(b.modem.device().modeLetters, "C");
  EXPECT_EQ(b.modem.device().startCounter, 5);
}

TEST(SimulatedDevice, PasswordChangesOnlyWithTheOldOne) {
  ModemBench b;
  EXPECT_EQ(b.say("&PASS,1234,9999\r"), "&PASS,1234,9999\r" + kError);
  EXPECT_EQ(b.say("&PASS,1234,0000\r"), "&PASS,1234,0000\r" + kOk);
  EXPECT_EQ(b.modem.device().password, "1234");
  EXPECT_EQ(b.say("&PASS,5678,0000\r"), "&PASS,5678,0000\r" + kError) << "the old one is gone";
  EXPECT_EQ(b.say("&PASS,,1234\r"), "&PASS,,1234\r" + kError) << "no empty password";
  EXPECT_EQ(b.say("&PASS,a;b,1234\r"), "&PASS,a;b,1234\r" + kError);
  EXPECT_EQ(b.say("&PASS,1234\r"), "&PASS,1234\r" + kError);
  EXPECT_EQ(b.modem.device().password, "1234");

  ModemConfig config;
  config.devicePassword = "Secret1";
  ModemBench other(config);
  EXPECT_EQ(other.say("&PASS,0000,SECRET1\r"), "&PASS,0000,SECRET1\r" + kError)
      << "the password is compared as typed";
  EXPECT_EQ(other.say("&PASS,0000,Secret1\r"), "&PASS,0000,Secret1\r" + kOk);
}

TEST(SimulatedDevice, ReportsItsConfiguration) {
  ModemBench b;
  b.say("&CNF TIME,23.59.52,31.12.2026\r");
  b.say("&CNF MODE,DVCG,3\r");
  b.say("&CNF MSG,D0123,\"Car 7\",15\r");
  b.say("&CNF GPS,GPRMC;GPGSA,100\r");
  b.say("&CNF IGN,5\r");
  b.say("&CNF KEY,1,S0123,\"Alarm\",LP\r");
  b.say("&CNF PORT,I,10,20\r");
  b.say("&PASS,4321,0000\r");
  // The clock has run on by the seconds since it was set (8 lines of 1 s each), into the
  // new year.
  const std::string got = b.say("&REQ CNF\r");
  EXPECT_EQ(got,
            "&REQ CNF\r"
            "\r\n$CNF TIME,0.0.0,1.1.2027\r\n"
            "\r\n$CNF MODE,DVCG,3\r\n"
            "\r\n$CNF MSG,D0123,\"Car 7\",15\r\n"
            "\r\n$CNF GPS,GPRMC;GPGSA,100\r\n"
            "\r\n$CNF IGN,5\r\n"
            "\r\n$CNF KEY,1,S0123,\"Alarm\",LP\r\n"
            "\r\n$CNF PORT,I,10,20\r\n" +
                kOk);
  EXPECT_EQ(got.find("4321"), std::string::npos) << "the password is never told";
}

TEST(SimulatedDevice, FreshDeviceReport) {
  DeviceState state;
  const DeviceAnswer a = runDeviceLine(state, "&req cnf", "V1.63", Millis(0));
  EXPECT_EQ(a.lines,
            (std::vector<std::string>{"$CNF MODE,,0", "$CNF GPS,GPGGA;GPGSV;GPRMC;GPGSA,100",
                                      "$CNF IGN,0", "$CNFOK"}));
  EXPECT_FALSE(a.restart);
}

TEST(SimulatedDevice, IdentifiesItself) {
  ModemBench b;
  EXPECT_EQ(b.say("&REQ TM\r"), "&REQ TM\r\r\n$TARVIK R7O-3 Alarm/GPS V1.63\r\n");
  ModemConfig config;
  config.firmware = "";
  ModemBench old(config);
  EXPECT_EQ(old.say("&REQ TM\r"), "&REQ TM\r\r\n$TARVIK R7O-3 Alarm/GPS\r\n");
}

TEST(SimulatedDevice, AnswersEachLineInTurnHoweverLongItsAnswer) {
  ModemBench b;
  // The second line arrives while the first one's long answer is still on its way.
  const std::string got = b.say("&CNF KEY,1,S0123456789,\"a long alarm text here\",L\r&RESET\r");
  EXPECT_EQ(got, "&CNF KEY,1,S0123456789,\"a long alarm text here\",L\r" + kOk + "&RESET\r" + kOk);
}

TEST(SimulatedDevice, AnAlarmInputReportsItsEdgeAsItsKeyLineSays) {
  struct Case {
    const char* name;
    const char* keyLine;  // for IN2
    bool rising;
    bool reported;
    std::string_view text;  // of the SMS; empty: none sent
  };
  const Case cases[] = {
      {"SMS on the rising edge", "&CNF KEY,2,S0123,\"Door open\",L", true, true, "Door open"},
      {"rising edge only", "&CNF KEY,2,S0123,\"Door open\",L", false, false, ""},
      {"falling edge", "&CNF KEY,2,S0123,\"Door shut\",H", false, true, "Door shut"},
      {"each edge, falling", "&CNF KEY,2,S0123,\"Door\",E", false, true, "Door"},
      {"each edge, rising", "&CNF KEY,2,S0123,\"Door\",E", true, true, "Door"},
      {"position appended as RMC", "&CNF KEY,2,S0123,\"Door\",LP", true, true, "Door $GPRMC,"},
      {"voice: no message", "&CNF KEY,2,V0123,\"Door\",L", true, true, ""},
      {"no kind: nothing", "&CNF KEY,2,0123,\"Door\",L", true, false, ""},
      {"not configured", nullptr, true, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModemBench b;
    if (c.keyLine != nullptr) {
      ASSERT_NE(b.say(std::string(c.keyLine) + "\r").find(kOk), std::string::npos);
    }
    b.during(Millis(5000));  // the receiver has its fix
    const auto report = b.modem.inputEdge(2, c.rising);
    EXPECT_EQ(report.has_value(), c.reported);
    if (c.text.empty()) {
      EXPECT_TRUE(b.modem.sentSms().empty());
      continue;
    }
    ASSERT_EQ(b.modem.sentSms().size(), 1u);
    EXPECT_EQ(b.modem.sentSms()[0].number, "0123");
    EXPECT_TRUE(b.modem.sentSms()[0].text.starts_with(c.text)) << b.modem.sentSms()[0].text;
    EXPECT_TRUE(report->passedOn);
  }
}

TEST(SimulatedDevice, AnAlarmWithoutNetworkFailsUntilClearFailuresDropsIt) {
  ModemConfig config;
  config.pollsUntilRegistered = -1;
  ModemBench b(config);
  b.say("&CNF KEY,1,S0123,\"Alarm\",E\r");
  const auto report = b.modem.inputEdge(1, true);
  ASSERT_TRUE(report.has_value());
  EXPECT_FALSE(report->passedOn);
  EXPECT_TRUE(b.modem.sentSms().empty());
  EXPECT_EQ(b.modem.device().failedAlarms, 1);
  EXPECT_EQ(b.say("&CLR FAIL\r"), "&CLR FAIL\r" + kOk);
  EXPECT_EQ(b.modem.device().failedAlarms, 0);
}

}  // namespace
}  // namespace d7o::sim
