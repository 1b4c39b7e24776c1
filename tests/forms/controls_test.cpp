// The classic event semantics the behaviour relies on.
#include "forms/controls.h"

#include "forms/timer.h"
#include "support/virtual_scheduler.h"

#include <gtest/gtest.h>

namespace d7o::forms {
namespace {

using platform::Millis;

TEST(Controls, ChangeAndClickFireOnlyWhenTheValueChanges) {
  TextBox text("Text1");
  int changes = 0;
  text.Change.connect([&] { ++changes; });
  text.setText("COM1:");
  text.setText("COM1:");
  text.setText("");
  EXPECT_EQ(changes, 2);

  CheckBox box("Check5", "Handshake RTS/CTS", true);
  int clicks = 0;
  box.Click.connect([&] { ++clicks; });
  box.setChecked(true);
  box.setChecked(false);
  EXPECT_EQ(clicks, 1);

  TabControl tabs("Tab1", {"a", "b", "c"});
  std::vector<int> left;
  tabs.Click.connect([&](int previous) { left.push_back(previous); });
  tabs.setTab(2);
  tabs.setTab(2);
  tabs.setTab(7);  // no such tab
  tabs.setTab(0);
  EXPECT_EQ(left, (std::vector<int>{0, 2}));
}

TEST(Controls, ClickHandlerThatChangesTheValueAgainDoesNotLoop) {
  CheckBox box("Check5", "", true);
  int clicks = 0;
  box.Click.connect([&] {
    ++clicks;
    if (!box.checked()) box.setChecked(true);  // a handler that undoes the change
  });
  box.setChecked(false);
  EXPECT_TRUE(box.checked());
  EXPECT_EQ(clicks, 2);
}

TEST(Controls, HandlerDisconnectedDuringAnEmissionIsNotCalled) {
  Signal<> s;
  int second = 0;
  Signal<>::Connection c2 = 0;
  s.connect([&] { s.disconnect(c2); });
  c2 = s.connect([&] { ++second; });
  s.emit();
  s.emit();
  EXPECT_EQ(second, 0);
}

TEST(Controls, ListKeepsItsSelectionInRange) {
  ListBox list("List3");
  int clicks = 0;
  list.Click.connect([&] { ++clicks; });
  list.addItem("a");
  list.addItem("b");
  list.setListIndex(1);
  list.removeItem(1);
  EXPECT_EQ(list.listIndex(), 0);
  list.setListIndex(5);
  EXPECT_EQ(list.listIndex(), 0);
  list.clear();
  EXPECT_EQ(list.listIndex(), -1);
  EXPECT_EQ(clicks, 1);
  CommandButton disabled("Command1", "INIT");
  int pressed = 0;
  disabled.Click.connect([&] { ++pressed; });
  disabled.setEnabled(false);
  disabled.click();
  EXPECT_EQ(pressed, 0) << "a disabled button cannot be pressed";
}

TEST(Timers, TickThatWaitsIsNeverNested) {
  test::VirtualScheduler scheduler;
  Timer timer("Timer2", 2000);
  timer.attach(&scheduler);
  int ticks = 0;
  timer.Tick.connect([&] {
    ++ticks;
    // A tick that pumps events for three seconds, as the wake-up tick does.
    const Millis end = scheduler.now() + Millis(3000);
    while (scheduler.now() < end) scheduler.pumpEvents(end);
  });
  timer.setEnabled(true);
  scheduler.runFor(Millis(10000));
  EXPECT_EQ(ticks, 3);  // at 2, 6 and 10 s; 4, 8 and 12 s fall inside a running tick
  EXPECT_EQ(timer.skippedTicks(), 3);
}

TEST(Timers, StoppingFromTheTickAndRestartingCountsAFullInterval) {
  test::VirtualScheduler scheduler;
  Timer timer("Timer1", 3000);
  timer.attach(&scheduler);
  std::vector<long long> at;
  timer.Tick.connect([&] {
    at.push_back(scheduler.now().count());
    timer.setEnabled(false);
  });
  timer.setEnabled(true);
  scheduler.runFor(Millis(7000));
  timer.setEnabled(true);
  timer.setEnabled(true);  // enabling a running timer changes nothing
  scheduler.runFor(Millis(4000));
  EXPECT_EQ(at, (std::vector<long long>{3000, 10000}));
}

}  // namespace
}  // namespace d7o::forms
