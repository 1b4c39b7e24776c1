// The remote control tool: the data call's states as the modem's replies and the line's
// signals drive them, the call history and the Map&Guide path in the program folder, and
// the map addresses.
#include "remote/remote_access.h"

#include "app/path_text.h"
#include "app/subsystems.h"
#include "remote/call_history.h"
#include "remote/map_address.h"
#include "support/rig.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace d7o::test {
namespace {

using forms::colors::kMagenta;
using forms::colors::kSystemInactiveBorder;
using platform::Millis;

std::string fileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// The program up on the simulated modem with the remote window open; Tracking.ini names a
// Map&Guide program unless the test wants it missing.
struct RemoteRig {
  explicit RemoteRig(bool withTracking = true) {
    rig.startAnswered();
    if (withTracking) writeText(file(remote::kTrackingIni), "\"C:\\MG\\MGstart.EXE\"\r\n");
    rig.app->context().remoteForm.Command13.setEnabled(true);
    rig.main().List3.clear();
    rig.dialogs.answerInput("&REMOTE");
    rig.main().List3.addItem("x ");
    rig.main().List3.setListIndex(0);
    rig.main().List3.MouseUp.emit(forms::MouseButton::Right);
    rig.wire();
  }
  std::filesystem::path file(const char* name) { return rig.folder.path() / name; }
  forms::RemoteForm& r() { return rig.app->context().remoteForm; }
  app::DispatchState& d() { return rig.state().dispatch; }
  void dial(const std::string& number) {
    r().Combo3.setText(number);
    r().Command13.click();
  }
  Rig rig;
};

TEST(RemoteAccess, TheWordOpensTheWindowBesideTheMainWindowWithoutSendingIt) {
  RemoteRig t;
  EXPECT_TRUE(t.r().visible());
  EXPECT_TRUE(t.r().loaded);
  EXPECT_EQ(t.rig.wire(), "");
  EXPECT_EQ(t.r().caption(), forms::kRemoteTitle);
  const auto& w = t.rig.main();
  EXPECT_EQ(t.r().left() + t.r().width(), w.left() + w.width());
  EXPECT_TRUE(t.r().Frame13.visible());
  EXPECT_FALSE(t.r().Drive1.items().empty());
  // The file system's root first: "/", or the first drive on Windows ("C:\\").
  const std::filesystem::path first = t.r().Drive1.items().front();
  EXPECT_EQ(first.string(), first.root_path().string());
  EXPECT_TRUE(first.has_root_directory()) << first.string();
}

TEST(RemoteAccess, TheWordInTheCommandListOpensTheWindowInAnyCase) {
  Rig rig;
  rig.startAnswered();
  auto& w = rig.main();
  w.List1.addItem("&remote");
  w.List1.setListIndex(w.List1.count() - 1);
  w.List1.DblClick.emit();
  EXPECT_TRUE(rig.app->context().remoteForm.visible());
  EXPECT_EQ(rig.wire(), "");
}

TEST(RemoteAccess, DiallingShowsItsStateAndRunsTheMagentaLamps) {
  RemoteRig t;
  t.dial("0171");
  EXPECT_EQ(t.rig.wire(), "ATD0171\r");
  EXPECT_EQ(t.rig.main().List3.items().back(), "send ATD0171");
  EXPECT_EQ(t.r().caption(), forms::kRemoteAccessTitle);
  EXPECT_EQ(t.r().Label62.caption(), "... wait for connect");
  EXPECT_FALSE(t.r().Command13.enabled());
  EXPECT_EQ(t.d().dataLinkState, "ON");
  EXPECT_TRUE(t.d().remoteConnectPending);
  EXPECT_EQ(t.r().Combo2.text(), "GPRMC");
  EXPECT_EQ(t.rig.state().gps.gpsSentenceShown, "GPRMC");

  // Two lights run from the ends to the middle, one step per tick, then start again.
  std::vector<std::string> rows;
  for (int tick = 0; tick < 14; ++tick) {
    t.rig.run(Millis(100));
    std::string row;
    for (const auto& lamp : t.r().Led1) row += lamp.backColor() == kMagenta ? 'M' : '.';
    rows.push_back(row);
  }
  const std::vector<std::string> cycle = {"M.........", ".M.......M", "..M.....M.",
                                          "...M...M..", "....M.M...", ".....M...."};
  const auto start = std::find(rows.begin(), rows.end(), cycle[0]);
  ASSERT_LE(start + 7, rows.end()) << rows.front();
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(start[static_cast<long>(i)], cycle[i % 6]) << i;
  // A dial with no carrier yet keeps its caption and its disabled start button.
  EXPECT_EQ(t.r().caption(), forms::kRemoteAccessTitle);
  EXPECT_FALSE(t.r().Command13.enabled());
}

TEST(RemoteAccess, EachEndOfACallBringsTheWindowBack) {
  struct Case {
    const char* reply;
    const char* status;
  };
  const Case cases[] = {{"NO CARRIER", "NO CARRIER received"},
                        {"BUSY", "BUSY received"},
                        {"NO DIALTONE", "NO DIALTONE received"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply);
    RemoteRig t;
    t.dial("0171");
    t.rig.run(Millis(300));
    t.rig.fromModem(std::string("\r\n") + c.reply + "\r\n");
    t.rig.run(Millis(50));
    EXPECT_EQ(t.d().dataLinkState, "OFF");
    EXPECT_FALSE(t.d().remoteConnectPending);
    EXPECT_EQ(t.r().Label62.caption(), c.status);
    EXPECT_EQ(t.r().caption(), forms::kRemoteTitle);
    EXPECT_TRUE(t.r().Command13.enabled());
    t.rig.run(Millis(200));
    for (const auto& lamp : t.r().Led1) EXPECT_EQ(lamp.backColor(), kSystemInactiveBorder);
  }
}

TEST(RemoteAccess, ConnectTakesTheCallToDataAndTheProtocolGoesToTheDeviceOnlyThen) {
  RemoteRig t;
  t.dial("0171");
  t.r().Combo2.choose(3);  // GPGSA while dialling: shown, not sent
  EXPECT_EQ(t.rig.state().gps.gpsSentenceShown, "GPGSA");
  EXPECT_EQ(t.rig.wire(), "ATD0171\r");
  t.rig.fromModem("\r\nCONNECT 9600\r\n");
  t.rig.run(Millis(50));
  EXPECT_EQ(t.d().dataLinkState, "DATA");
  EXPECT_FALSE(t.d().remoteConnectPending);
  EXPECT_EQ(t.r().Label62.caption(), "connection established");
  t.r().Combo2.choose(1);
  EXPECT_EQ(t.rig.wire(), "&CNF GPS,GPGGA,100\r");
  t.r().Combo2.choose(4);
  EXPECT_EQ(t.rig.wire(), "&CNF GPS,GPRMC;GPGGA;GPGSA;GPGSV,100\r");
  t.r().Command18.click();
  EXPECT_EQ(t.rig.wire(), "&CNF GPS,,100\r");
  EXPECT_EQ(t.rig.main().List3.items().back(), "...local protocol OFF");
  t.r().Command19.click();
  EXPECT_EQ(t.rig.wire(), "&REQ INT\r");
  t.r().Text6.setText("&REQ POS");
  t.r().Text6.KeyUp.emit('a');
  EXPECT_EQ(t.rig.wire(), "") << "only Enter sends";
  t.r().Text6.KeyUp.emit(forms::TextBox::kEnterKey);
  EXPECT_EQ(t.rig.wire(), "&REQ POS\r");
  EXPECT_EQ(t.r().Text6.text(), "");
  t.r().Text6.KeyUp.emit(forms::TextBox::kEnterKey);
  EXPECT_EQ(t.rig.wire(), "\r") << "an empty line sends its carriage return alone";
}

TEST(RemoteAccess, AFirstReplyWithoutOkAfterAStopOnlyClearsTheWait) {
  RemoteRig t;
  t.d().remoteLocalModePending = true;
  t.r().Label62.setCaption("x");
  t.rig.fromModem("\r\n+CSQ: 17,99\r\n");
  t.rig.run(Millis(50));
  EXPECT_FALSE(t.d().remoteLocalModePending);
  EXPECT_EQ(t.r().Label62.caption(), "x");
  t.rig.fromModem("\r\nOK\r\n");
  t.rig.run(Millis(50));
  EXPECT_EQ(t.r().Label62.caption(), "x") << "an OK without a stop changes nothing";
}

TEST(RemoteAccess, AnOkInTwoPiecesAfterAStopStillBringsLocalMode) {
  RemoteRig t;
  t.d().remoteLocalModePending = true;
  t.rig.fromModem("\r\n");
  t.rig.run(Millis(50));
  EXPECT_TRUE(t.d().remoteLocalModePending) << "a lone line end is no reply";
  t.rig.fromModem("OK\r\n");
  t.rig.run(Millis(50));
  EXPECT_FALSE(t.d().remoteLocalModePending);
  EXPECT_EQ(t.r().Label62.caption(), "GPS  - local mode");
}

TEST(RemoteAccess, AMissingNumberIsRefused) {
  RemoteRig t;
  t.dial("");
  EXPECT_EQ(t.rig.wire(), "");
  ASSERT_FALSE(t.rig.dialogs.shown.empty());
  EXPECT_EQ(t.rig.dialogs.shown.back().text, "Destination number is missing");
  EXPECT_EQ(t.rig.dialogs.shown.back().title, "E r r o r");
  EXPECT_TRUE(t.r().Command13.enabled());
  EXPECT_EQ(t.d().dataLinkState, "OFF");
}

TEST(CallHistory, NumbersCalledAreKeptOnceEachInOrder) {
  RemoteRig t;
  const auto ini = t.file(remote::kRemoteIni);
  t.dial("0171");
  t.r().Command13.setEnabled(true);
  t.dial("0172");
  EXPECT_EQ(fileText(ini), "\"0171\"\r\n\"0172\"\r\n");
  // A number already there does not rewrite the file (a line added by hand stays).
  writeText(ini, fileText(ini) + "\"0173\"\r\n");
  t.r().Command13.setEnabled(true);
  t.dial("0171");
  EXPECT_EQ(fileText(ini), "\"0171\"\r\n\"0172\"\r\n\"0173\"\r\n");
  EXPECT_EQ(t.r().Combo3.items(), (std::vector<std::string>{"0171", "0172"}));
  EXPECT_FALSE(std::filesystem::exists(t.file("Remote.ini.new"))) << "written in one piece";

  // Read again when the window opens anew; the box shows the first entry.
  t.r().m_exit.click();
  EXPECT_FALSE(t.r().visible());
  EXPECT_EQ(t.rig.main().Tab1.tab(), forms::tabs::kTerminal);
  EXPECT_TRUE(t.r().Combo3.items().empty());
  t.rig.app->parts().remote.open();
  EXPECT_EQ(t.r().Combo3.items(), (std::vector<std::string>{"0171", "0172", "0173"}));
  EXPECT_EQ(t.r().Combo3.text(), "0171");
}

TEST(CallHistory, DeleteAndClear) {
  RemoteRig t;
  const auto ini = t.file(remote::kRemoteIni);
  t.r().Combo3.setText("");
  t.r().Command16.click();
  EXPECT_EQ(t.rig.dialogs.shown.back().text, "nothig to delete");
  EXPECT_EQ(t.rig.dialogs.shown.back().title, "delete entry");
  t.r().Command17.click();
  EXPECT_EQ(t.rig.dialogs.shown.back().title, "clear call history");

  t.dial("0171");
  t.r().Command13.setEnabled(true);
  t.dial("0172");
  t.r().Combo3.setText("0171");
  t.r().Command16.click();
  EXPECT_EQ(t.r().Combo3.items(), std::vector<std::string>{"0172"});
  EXPECT_EQ(t.r().Combo3.text(), "0172");
  EXPECT_EQ(fileText(ini), "\"0172\"\r\n");
  t.r().Command16.click();
  EXPECT_TRUE(t.r().Combo3.items().empty());
  EXPECT_EQ(t.r().Combo3.text(), "0172") << "the last one leaves the text as it was";
  EXPECT_EQ(fileText(ini), "");

  t.r().Command13.setEnabled(true);
  t.dial("0174");
  t.rig.dialogs.answerMessage(platform::MessageAnswer::No);
  t.r().Command17.click();
  EXPECT_EQ(t.r().Combo3.items().size(), 1u);
  t.rig.dialogs.answerMessage(platform::MessageAnswer::Yes);
  t.r().Command17.click();
  EXPECT_EQ(t.rig.dialogs.shown.back().text, "delete all entries in call history");
  EXPECT_TRUE(t.r().Combo3.items().empty());
  EXPECT_EQ(t.r().Combo3.text(), "");
  EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST(CallHistory, ValuesAreReadQuotedOrUpToTheNextComma) {
  struct Case {
    const char* content;
    std::vector<std::string> values;
  };
  const Case cases[] = {
      {"\"0171\"\r\n\"0172\"\r\n", {"0171", "0172"}},
      {"", {}},
      {"0171,0172\r\n", {"0171", "0172"}},
      {"\"a, b\"\r\n", {"a, b"}},
      {"\"+49 171\"\n\"x\"", {"+49 171", "x"}},
      {"\"open", {"open"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    EXPECT_EQ(remote::quotedValues(c.content), c.values);
  }
  EXPECT_EQ(remote::quotedLines({"0171", "C:\\MG\\MGstart.EXE"}),
            "\"0171\"\r\n\"C:\\MG\\MGstart.EXE\"\r\n");
}

// Any file will do; the program finds it in the folder lists, also in a folder whose name
// has letters beyond ASCII (as the window shows them: in its code page).
TEST(MapGuidePath, MissingAsksAndAChosenFileShowsTheCallControls) {
  for (const char8_t* folderName : {u8"MG", u8"Müller Straßenkarte"}) {
    const std::filesystem::path name(folderName);
    SCOPED_TRACE(app::pathText(name));
    RemoteRig t(false);
    EXPECT_FALSE(t.r().Frame13.visible());
    ASSERT_FALSE(t.rig.dialogs.shown.empty());
    EXPECT_EQ(t.rig.dialogs.shown.back().text, "Enter path to MGstart.EXE");
    EXPECT_EQ(t.rig.dialogs.shown.back().title, "Select path to MGstart.EXE");
    EXPECT_EQ(t.rig.dialogs.shown.back().icon, platform::MessageIcon::Exclamation);

    const auto folder = t.rig.folder.path() / name;
    std::filesystem::create_directories(folder);
    writeText(folder / "anything.exe", "");
    auto& r = t.r();
    t.rig.app->parts().remote.open();  // shown again: the lists still show
    auto enter = [&](const std::string& row) {
      for (int i = 0; i < r.Dir1.count(); ++i) {
        if (r.Dir1.item(i) == row) {
          r.Dir1.setListIndex(i);
          r.Dir1.DblClick.emit();
          return true;
        }
      }
      return false;
    };
    for (const auto& part : folder.relative_path()) {
      ASSERT_TRUE(enter(app::pathText(part))) << app::pathText(part);
    }
    const std::string chosen = app::pathText(folder / "anything.exe");
    EXPECT_EQ(r.Label1.caption(), app::pathText(folder));
    ASSERT_EQ(r.File1.items(), std::vector<std::string>{"anything.exe"});
    ASSERT_TRUE(enter(".."));
    ASSERT_TRUE(enter(app::pathText(name)));
    r.File1.setListIndex(0);
    r.File1.DblClick.emit();
    EXPECT_EQ(fileText(t.file(remote::kTrackingIni)), "\"" + chosen + "\"\r\n");
    EXPECT_TRUE(r.Frame13.visible());
    EXPECT_EQ(t.rig.state().remote.mapGuidePath, chosen);

    // Map&Guide starts from there, after the port is closed for it.
    t.r().m_mapandguide.click();
    EXPECT_FALSE(t.rig.port.isOpen());
    EXPECT_EQ(t.rig.shell.started, std::vector<std::string>{chosen});
    const auto& log = t.rig.main().List3.items();
    EXPECT_EQ(
        std::vector<std::string>(log.end() - 3, log.end()),
        (std::vector<std::string>{"COM port closed", "...check installation Map&Guide", "...OK"}));
    EXPECT_EQ(t.r().m_port.caption(), "&open port");
  }
}

TEST(MapGuidePath, AProgramThatIsNotThereIsReported) {
  RemoteRig t;
  t.r().m_mapandguide.click();
  EXPECT_TRUE(t.rig.shell.started.empty());
  EXPECT_EQ(t.rig.main().List3.items().back(), "...failed");
  EXPECT_EQ(t.rig.dialogs.shown.back().text, "MGstart.EXE not found in C:\\MG\\MGstart.EXE");
}

TEST(WebMap, AddressesCarryTheHemisphereAsTheSign) {
  struct Case {
    remote::MapPosition position;
    const char* latitude;
    const char* longitude;
  };
  const Case cases[] = {
      {{"48.1173", "N", "11.5166666666667", "E"}, "48.1173", "11.5166666666667"},
      {{"33.9", "S", "151.2", "E"}, "-33.9", "151.2"},
      {{"40.7", "N", "74.0", "W"}, "40.7", "-74.0"},
      {{"22.9", "S", "43.2", "W"}, "-22.9", "-43.2"},
      {{"", "", "", ""}, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.latitude);
    EXPECT_EQ(remote::mapQuestAddress("https://maps.example", c.position, remote::kZoomed),
              std::string("https://maps.example/maps/map.adp?latlongtype=decimal&latitude=") +
                  c.latitude + "&longitude=" + c.longitude + "&zoom=9");
  }

  // Through the menu: the analyzer's position, shown in the status line, opened.
  RemoteRig t;
  auto& g = t.rig.app->context().gpsForm;
  g.Label61.setCaption("33.9");
  g.Label87.setCaption("S");
  g.Label86.setCaption("151.2");
  g.Label62.setCaption("E");
  t.rig.run(Millis(200));
  EXPECT_TRUE(t.r().m_tracking.visible());
  t.r().m_mapquestoverview.click();
  const std::string overview =
      "https://www.mapquest.com/maps/map.adp?latlongtype=decimal&latitude=-33.9&longitude=151.2"
      "&zoom=7";
  EXPECT_EQ(t.r().Label62.caption(), overview);
  t.r().m_openstreetmap.click();
  ASSERT_EQ(t.rig.shell.opened.size(), 2u);
  EXPECT_EQ(t.rig.shell.opened[0], overview);
  EXPECT_EQ(t.rig.shell.opened[1],
            "https://www.openstreetmap.org/?mlat=-33.9&mlon=151.2#map=15/-33.9/151.2");
  g.Label86.setCaption("");
  t.rig.run(Millis(200));
  EXPECT_FALSE(t.r().m_tracking.visible());
}

}  // namespace
}  // namespace d7o::test
