// The phone book panel on the simulated modem: reading the SIM's book into the list, and a
// written entry coming back on the next read.
#include "support/rig.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace d7o::test {
namespace {

using platform::Millis;

struct SimBookRig {
  SimBookRig() { rig.startAnswered(); }
  Rig rig;
};

TEST(PhoneBookOnSimulatedModem, ReadListsOneRowPerStoredEntry) {
  SimBookRig r;
  auto& w = r.rig.main();
  w.Command11.click();
  r.rig.run(Millis(2000));
  EXPECT_EQ(r.rig.wire(), "AT+CPBS?\rAT+CPBR=1,250\r");
  EXPECT_EQ(r.rig.state().phonebook.phonebookSize, 250);
  EXPECT_EQ(w.List4.items(), (std::vector<std::string>{
                                 "1,\"0123456789\",129,\"Testnumber\"  ",
                                 "2,\"+491711234567\",145,\"Office\"  ",
                                 "5,\"0301234567\",129,\"Workshop\"  ",
                             }));

  // A new entry at position 3, then the book read again.
  w.Command12.click();
  w.Command46.click();
  w.Command46.click();
  w.Text8.setText("0891234");
  w.Text9.setText("Garage");
  w.Command13.click();
  r.rig.run(Millis(1000));
  EXPECT_EQ(r.rig.wire(), "AT+CPBW=3,\"0891234\",129,\"Garage\"\r");
  ASSERT_NE(r.rig.modem.phonebook().at(3), nullptr);
  w.Command11.click();
  r.rig.run(Millis(2000));
  ASSERT_EQ(w.List4.count(), 4);
  EXPECT_EQ(w.List4.item(2), "3,\"0891234\",129,\"Garage\"  ");
}

}  // namespace
}  // namespace d7o::test
