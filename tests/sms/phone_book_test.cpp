// The SIM phone book panel: reading, picking an entry for the dial, writing one back.
#include "sms/phone_book.h"

#include "support/rig.h"

#include <gtest/gtest.h>

namespace d7o::test {
namespace {

using platform::Millis;

struct BookRig {
  BookRig() { rig.startAnswered(); }
  forms::MainWindow& w() { return rig.main(); }
  app::PhonebookState& book() { return rig.state().phonebook; }
  Rig rig;
};

TEST(PhoneBook, ReadsEveryPositionTheModemReports) {
  BookRig r;
  auto& w = r.w();
  EXPECT_FALSE(w.Command12.enabled()) << "an entry waits for a read";
  w.List4.addItem("old");
  w.Command11.click();
  EXPECT_EQ(r.rig.wire(), "AT+CPBS?\r");
  EXPECT_EQ(w.List4.count(), 0);
  EXPECT_TRUE(w.Command12.enabled());
  r.rig.run(Millis(500));
  r.rig.wire();
  r.rig.fromModem("\r\n+CPBS: \"SM\",12,250\r\n");
  r.rig.run(Millis(300));
  EXPECT_EQ(r.book().phonebookSize, 250);
  EXPECT_TRUE(r.rig.wire().starts_with("AT+CPBR=1,250\r"));
  r.rig.fromModem("\r\n+CPBR: 3,\"0123456789\",129,\"Testnumber\"\r\n");
  r.rig.run(Millis(300));
  ASSERT_GE(w.List4.count(), 1);
  EXPECT_EQ(w.List4.item(w.List4.count() - 1).substr(0, 31), "3,\"0123456789\",129,\"Testnumber\"");

  // Sizes that change nothing: 1 is read but kept out; 0 or no number is not read.
  for (const auto& [reply, size, read] :
       std::vector<std::tuple<std::string, int, bool>>{{"+CPBS: \"SM\",0,1", 250, true},
                                                       {"+CPBS: \"SM\",0,0", 250, false},
                                                       {"+CPBS: \"SM\",x", 250, false}}) {
    r.rig.fromModem("\r\n" + reply + "\r\n");
    r.rig.run(Millis(300));
    EXPECT_EQ(r.book().phonebookSize, size) << reply;
    EXPECT_EQ(r.rig.wire().find("AT+CPBR=") != std::string::npos, read) << reply;
  }
}

TEST(PhoneBook, PickedRowDialsFromMemory) {
  BookRig r;
  auto& w = r.w();
  w.List4.addItem("3,\"0123456789\",129,\"Testnumber\"  ");
  w.List4.addItem("no comma here");
  w.List4.setListIndex(0);
  EXPECT_EQ(w.Text8.text(), ">3");
  w.List4.setListIndex(1);
  EXPECT_EQ(w.Text8.text(), ">3") << "a row without a position changes nothing";
  w.List4.setListIndex(0);
  w.Command9.click();
  EXPECT_EQ(r.rig.wire(), "ATD>3;\r");
}

TEST(PhoneBook, PositionStaysInsideTheBook) {
  BookRig r;
  auto& w = r.w();
  w.Command12.setEnabled(true);
  w.Command12.click();
  w.Command48.click();
  EXPECT_EQ(w.Label22.caption(), "1") << "no size reported yet: up stays";
  r.book().phonebookSize = 250;
  struct Case {
    const char* from;
    forms::CommandButton* button;
    const char* to;
  };
  for (const Case& c : {Case{"245", &w.Command48, "250"}, Case{"249", &w.Command46, "250"},
                        Case{"5", &w.Command49, "1"}, Case{"1", &w.Command47, "1"},
                        Case{"12", &w.Command48, "22"}, Case{"12", &w.Command47, "11"}}) {
    w.Label22.setCaption(c.from);
    c.button->click();
    EXPECT_EQ(w.Label22.caption(), c.to) << c.from << " " << c.button->caption();
  }
}

TEST(PhoneBook, NationalAndInternationalRoundTrip) {
  BookRig r;
  auto& w = r.w();
  w.Command12.setEnabled(true);
  w.Command12.click();
  w.Text8.setText("0171234");
  w.Option2.select();
  EXPECT_EQ(w.Text8.text(), "+49171234");
  EXPECT_EQ(w.Label23.caption(), "145");
  EXPECT_EQ(r.book().phonebookNumberType, 145);
  w.Option1.select();
  EXPECT_EQ(w.Text8.text(), "0171234");
  EXPECT_EQ(w.Label23.caption(), "129");

  BookRig fresh;
  fresh.w().Command12.setEnabled(true);
  fresh.w().Command12.click();
  fresh.w().Text8.setText("+49171234");
  fresh.w().Option1.select();
  EXPECT_EQ(fresh.w().Text8.text(), "171234") << "nothing saved: the country code goes";
}

TEST(PhoneBook, WritesTheEntryAndLeavesEntryMode) {
  BookRig r;
  auto& w = r.w();
  w.Command12.setEnabled(true);
  w.Command12.click();
  EXPECT_TRUE(w.Command13.enabled());
  EXPECT_TRUE(w.Text9.enabled());
  w.Text8.setText("0123456789");
  w.Command13.click();
  EXPECT_EQ(r.rig.wire(), "AT+CPBW=1,\"0123456789\",129,\"Testnumber\"\r");
  EXPECT_FALSE(w.Command13.enabled());
  EXPECT_FALSE(w.Label23.enabled());
  EXPECT_TRUE(w.Command14.enabled()) << "cancel stays";
  w.Command14.click();
  EXPECT_FALSE(w.Command14.enabled());
}

}  // namespace
}  // namespace d7o::test
