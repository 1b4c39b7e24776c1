// Voice calls and audio levels through the simulated modem.
#include "console/voice_call.h"

#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::Millis;

TEST(VoiceCall, DialsTheNumberAsAVoiceCall) {
  Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  w.Text8.setText("0123456789");
  w.Command9.click();
  EXPECT_EQ(rig.wire(), "ATD0123456789;\r");
  EXPECT_FALSE(w.Command1.enabled()) << "INIT waits for the next reply";
  EXPECT_EQ(w.Text3.text(), "PORT open");
  rig.run(Millis(5000));
  EXPECT_TRUE(w.Command1.enabled()) << "the call's result is the next reply";
  EXPECT_EQ(rig.modem.callState(), sim::CallState::Active);
  w.Command3.setCaption("hangup");
  w.Command3.click();
  EXPECT_EQ(rig.wire(), "ATH\r");
  w.Text8.setText("");
  w.Command9.click();
  EXPECT_EQ(rig.wire(), "ATD;\r");
}

TEST(VoiceCall, IncomingCallRungAnsweredHungUpAndEnded) {
  Rig rig;
  ASSERT_TRUE(rig.bringUp());
  rig.run(Millis(1000));
  rig.wire();
  auto& w = rig.main();
  ASSERT_TRUE(rig.modem.incomingCall(5));
  rig.run(Millis(100));
  EXPECT_TRUE(w.Command3.visible());
  EXPECT_EQ(w.Command3.caption(), "answer");
  EXPECT_TRUE(w.Timer3.enabled());
  EXPECT_GT(rig.state().voice.ringPos, 0);
  const bool before = w.Label1.visible();
  rig.run(Millis(500));
  EXPECT_NE(w.Label1.visible(), before) << "the label blinks every half second";

  rig.run(Millis(3000));  // the next ring keeps the button as it is
  EXPECT_TRUE(w.Command3.visible());

  w.Command3.click();
  EXPECT_EQ(rig.wire(), "ATA\r");
  EXPECT_EQ(w.Command3.caption(), "hangup");
  EXPECT_EQ(rig.state().voice.ringPos, 0);
  rig.run(Millis(200));
  EXPECT_EQ(rig.modem.callState(), sim::CallState::Active);
  w.Command3.click();
  EXPECT_EQ(rig.wire(), "ATH\r");
  EXPECT_EQ(w.Command3.caption(), "answer");
  EXPECT_FALSE(w.Command3.visible());
  EXPECT_TRUE(w.Timer3.enabled()) << "hanging up alone does not stop the blinking";

  rig.run(Millis(200));
  // A second call the far end hangs up.
  ASSERT_TRUE(rig.modem.incomingCall(5));
  rig.run(Millis(100));
  w.Command3.click();
  rig.run(Millis(200));
  ASSERT_TRUE(rig.modem.farEndHangUp());
  rig.run(Millis(100));
  EXPECT_FALSE(w.Timer3.enabled());
  EXPECT_FALSE(w.Label1.visible());
  EXPECT_TRUE(w.Command1.enabled());
}

TEST(VoiceCall, BusyHidesTheAnswerButton) {
  Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  rig.fromModem("RING\r\n");
  rig.run(Millis(100));
  w.Command3.click();
  rig.fromModem("BUSY\r\n");
  rig.run(Millis(100));
  EXPECT_FALSE(w.Command3.visible());
  EXPECT_EQ(w.Command3.caption(), "answer");
}

TEST(VoiceCall, GainRepliesSetTheSlidersAndTheirLabels) {
  Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  rig.fromModem("+VGR: 64\r\n\r\n+VGT: 100\r\n");
  rig.run(Millis(100));
  EXPECT_EQ(w.Slider1.value(), 64);
  EXPECT_EQ(w.Slider2.value(), 100);
  EXPECT_EQ(w.Slider1.tickFrequency(), 15);
  EXPECT_EQ(w.Label5.caption(), "64");
  EXPECT_EQ(w.Label6.caption(), "100");
  EXPECT_EQ(rig.state().voice.receiveGainText, " 64 ");
}

TEST(SetValues, PerEngine) {
  struct Case {
    const char* name;
    sim::Engine engine;
    const char* wire;
    Millis takes;
  };
  const Case cases[] = {
      {"maker", sim::Engine::Maker, "AT+VGR=200;+VGT=30;&W\r", Millis(1000)},
      {"brellstowen", sim::Engine::Brellstowen, "AT+VGR=200;+VGT=30;&W\r", Millis(1000)},
      {"siemens", sim::Engine::Siemens,
       "AT^SNFO=1,3000,6000,9000,12000,30000,4,4969\rAT^SNFS=4\rAT+CLVL=2\rAT^SNFI=5,32767\r",
       Millis(4000)},
      {"unknown", sim::Engine::Other, "", Millis(0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ModemConfig config;
    config.engine = c.engine;
    Rig rig(config);
    ASSERT_TRUE(rig.bringUp());
    rig.run(Millis(1000));
    rig.wire();
    auto& w = rig.main();
    if (c.engine == sim::Engine::Siemens) {
      w.Slider1.setValue(2);
      w.Slider2.setValue(5);
    } else {
      w.Slider1.setValue(200);
      w.Slider2.setValue(30);
    }
    const Millis start = rig.scheduler.now();
    w.Command53.click();
    EXPECT_EQ(rig.scheduler.now() - start, c.takes);
    EXPECT_EQ(rig.wire(), c.wire);
    EXPECT_EQ(w.Text3.text(), "PORT open");
  }
}

TEST(RingerMelody, ChosenMelodyAndOutputGoOutInOneLine) {
  Rig rig;
  rig.startWithOpenPort();
  auto& w = rig.main();
  w.Command51.click();
  EXPECT_EQ(rig.wire(), "AT+WCDM=1,0;&W\r") << "melody 1 on the buzzer at start";
  w.Combo1.setListIndex(0);
  w.Option12.select();
  EXPECT_FALSE(w.Option13.value());
  w.Command51.click();
  EXPECT_EQ(rig.wire(), "AT+WCDM=0,1;&W\r");
  w.Combo1.setListIndex(10);
  w.Option13.select();
  w.Command51.click();
  EXPECT_EQ(rig.wire(), "AT+WCDM=10,0;&W\r");
}

TEST(OptionsTabGating, OpeningTheTabShowsTheSliderValues) {
  Rig rig;
  ASSERT_TRUE(rig.bringUp());
  auto& w = rig.main();
  w.Label5.setCaption("");
  w.Tab1.setTab(forms::tabs::kOptions);
  EXPECT_EQ(w.Label5.caption(), std::to_string(w.Slider1.value()));
}

}  // namespace
}  // namespace d7o::test
