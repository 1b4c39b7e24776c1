// Audio commands on the simulated modem: gains, the maker's ringer, the SIEMENS commands.
#include "sim/modem_bench.h"
#include "sim/modem_engine.h"

#include <gtest/gtest.h>

namespace d7o::sim {
namespace {

struct Case {
  Engine engine;
  const char* line;
  const char* answer;  // without the echo
};

TEST(SimulatedAudio, AnswersByEngine) {
  const Case cases[] = {
      {Engine::Maker, "AT+VGR=64;+VGT=48;&W", "\r\nOK\r\n"},
      {Engine::Other, "AT+VGR=0", "\r\nOK\r\n"},
      {Engine::Maker, "AT+VGR=255", "\r\nOK\r\n"},
      {Engine::Maker, "AT+VGR=256", "\r\nERROR\r\n"},
      {Engine::Maker, "AT+VGT=-1", "\r\nERROR\r\n"},
      {Engine::Maker, "AT+VGT=", "\r\nERROR\r\n"},
      {Engine::Maker, "AT+VGR=?", "\r\n+VGR: (0-255)\r\n\r\nOK\r\n"},
      {Engine::Maker, "AT+WCDM=10,1;&W", "\r\nOK\r\n"},
      {Engine::Brellstowen, "AT+WCDM=0,0", "\r\nOK\r\n"},
      {Engine::Maker, "AT+WCDM=11,0", "\r\nERROR\r\n"},
      {Engine::Maker, "AT+WCDM=3,2", "\r\nERROR\r\n"},
      {Engine::Maker, "AT+WCDM=3", "\r\nERROR\r\n"},
      {Engine::Siemens, "AT+WCDM=3,1", "\r\nERROR\r\n"},
      {Engine::Other, "AT+WCDM=3,1", "\r\nERROR\r\n"},
      {Engine::Siemens, "AT^SNFO=1,3000,6000,9000,12000,30000,4,4969", "\r\nOK\r\n"},
      {Engine::Siemens, "at^snfs=4", "\r\nOK\r\n"},
      {Engine::Siemens, "AT+CLVL=4", "\r\nOK\r\n"},
      {Engine::Siemens, "AT+CLVL=5", "\r\nERROR\r\n"},
      {Engine::Siemens, "AT^SNFI=5,32767", "\r\nOK\r\n"},
      {Engine::Siemens, "AT^SNFO=1,3000", "\r\nERROR\r\n"},
      {Engine::Maker, "AT^SNFS=4", "\r\nERROR\r\n"},
      {Engine::Maker, "AT+CLVL=2", "\r\nERROR\r\n"},
      {Engine::Brellstowen, "AT^SNFI=5,32767", "\r\nERROR\r\n"},
      {Engine::Other, "AT^SNFO=1,3000,6000,9000,12000,30000,4,4969", "\r\nERROR\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ModemConfig config;
    config.engine = c.engine;
    ModemBench b(config);
    EXPECT_EQ(b.say(std::string(c.line) + "\r"), std::string(c.line) + "\r" + c.answer);
  }
}

TEST(SimulatedAudio, GainsAreReportedAsSet) {
  ModemBench b;
  EXPECT_EQ(b.say("AT+VGR?;+VGT?\r"), "AT+VGR?;+VGT?\r\r\n+VGR: 64\r\n\r\n+VGT: 48\r\n\r\nOK\r\n");
  b.say("AT+VGR=100;+VGT=20;&W\r");
  EXPECT_EQ(b.say("AT+VGR?\r"), "AT+VGR?\r\r\n+VGR: 100\r\n\r\nOK\r\n");
  EXPECT_EQ(b.say("AT+VGT?\r"), "AT+VGT?\r\r\n+VGT: 20\r\n\r\nOK\r\n");
  b.say("AT+VGR=300\r");
  EXPECT_EQ(b.modem.config().receiveGain, 100) << "a rejected value changes nothing";
}

TEST(SimulatedAudio, RingerAndSiemensSettingsAreKept) {
  ModemBench maker;
  maker.say("AT+WCDM=7,1;&W\r");
  EXPECT_EQ(maker.modem.audio().melody, 7);
  EXPECT_EQ(maker.modem.audio().ringerOutput, 1);
  EXPECT_EQ(maker.say("AT+WCDM?\r"), "AT+WCDM?\r\r\n+WCDM: 7,1\r\n\r\nOK\r\n");

  ModemConfig config;
  config.engine = Engine::Siemens;
  ModemBench siemens(config);
  siemens.say("AT^SNFO=1,3000,6000,9000,12000,30000,4,4969\r");
  siemens.say("AT^SNFS=4\r");
  siemens.say("AT+CLVL=3\r");
  siemens.say("AT^SNFI=6,32767\r");
  const AudioSettings& a = siemens.modem.audio();
  EXPECT_EQ(a.outputCalibration, (std::vector<int>{1, 3000, 6000, 9000, 12000, 30000, 4, 4969}));
  EXPECT_EQ(a.audioMode, 4);
  EXPECT_EQ(a.speakerLevel, 3);
  EXPECT_EQ(a.microphoneGain, 6);
  EXPECT_EQ(a.microphoneCalibration, 32767);
  EXPECT_EQ(siemens.say("AT+CLVL?\r"), "AT+CLVL?\r\r\n+CLVL: 3\r\n\r\nOK\r\n");
}

}  // namespace
}  // namespace d7o::sim
