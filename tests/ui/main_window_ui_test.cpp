// The whole program offscreen: the real core on the simulated modem in real time, shown
// by the Qt main window and driven through its widgets as a user would.

#include "app/application.h"
#include "app/tarvik_ini.h"
#include "forms/main_window.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "sim/modem_engine.h"
#include "sim/simulated_port.h"
#include "ui/main_window_view.h"
#include "ui/qt_host.h"
#include "ui/qt_scheduler.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace d7o::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kReplyWaitMs = 3000;
// The modem's start-up time, then its answer to the first "AT".
constexpr int kSearchWaitMs = 20000;

// Answers every box as a careful user would and remembers what was asked.
class RecordingDialogs : public platform::Dialogs {
 public:
  platform::MessageAnswer messageBox(const std::string& text, const std::string&,
                                     platform::MessageIcon,
                                     platform::MessageButtons buttons) override {
    messages.push_back(text);
    return buttons == platform::MessageButtons::YesNo ? platform::MessageAnswer::No
                                                      : platform::MessageAnswer::Ok;
  }
  std::string inputBox(const std::string& prompt, const std::string&,
                       const std::string& defaultText) override {
    prompts.push_back(prompt);
    return defaultText;
  }

  std::vector<std::string> messages;
  std::vector<std::string> prompts;
};

// Opens nothing on the test machine's desktop.
class RecordingShell : public platform::Shell {
 public:
  bool openDocument(const std::string& path, const std::string&) override {
    opened.push_back(path);
    return true;
  }
  bool openUrl(const std::string& url) override {
    opened.push_back(url);
    return true;
  }
  bool startProgram(const std::string& path) override {
    opened.push_back(path);
    return true;
  }

  std::vector<std::string> opened;
};

QString textOf(const QListWidget& list) {
  QStringList lines;
  for (int i = 0; i < list.count(); ++i) lines << list.item(i)->text();
  return lines.join(QLatin1Char('\n'));
}

bool modemUnderstood(const sim::ModemEngine& modem, const std::string& command) {
  const auto& log = modem.commandLog();
  return std::any_of(log.begin(), log.end(),
                     [&](const std::string& line) { return line.find(command) != line.npos; });
}

class MainWindowUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_folder.isValid());
    const auto failure = app::writeDefaultIni(home(), app::portFromAnswer("1"));
    ASSERT_FALSE(failure.has_value()) << *failure;
  }

  fs::path home() const { return fs::path(QFile::encodeName(m_folder.path()).toStdString()); }

  QTemporaryDir m_folder;
};

TEST_F(MainWindowUiTest, CtsLampTogglesThePortAndHandshakeOffReachesTheModem) {
  // Declared in the order the program builds them: each outlives what uses it, and the
  // window goes before the model it shows.
  QtScheduler scheduler;
  sim::SchedulerClock clock(scheduler);
  sim::ModemEngine modem(clock, sim::ModemConfig{});
  sim::SimulatedPort port(scheduler, modem);
  RecordingDialogs dialogs;
  RecordingShell shell;
  QtHost host(home());
  app::Application application({port, scheduler, dialogs, shell, host}, "");
  ASSERT_TRUE(application.load());

  MainWindowView window(application);
  window.show();
  // Activate runs from the event loop once the window shows. Its baud-rate search opens
  // the port and waits, in real time here, for the modem's start-up and its answer.
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return application.context().state.baudRateKnown; }, kSearchWaitMs));

  auto* cts = window.findChild<QWidget*>(QStringLiteral("CTS"));
  ASSERT_NE(cts, nullptr);
  const QPoint onLamp = cts->rect().center();
  // A right-click on the lamp closes the open port, the next one opens it again.
  ASSERT_TRUE(port.isOpen());
  QTest::mouseRelease(cts, Qt::RightButton, {}, onLamp);
  EXPECT_FALSE(port.isOpen());
  QTest::mouseRelease(cts, Qt::RightButton, {}, onLamp);
  EXPECT_TRUE(port.isOpen());
  // The next look at the line paints the lamp green.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return cts->palette().color(QPalette::Window) == QColor(0, 255, 0); }, kReplyWaitMs));

  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);
  tabs->setCurrentIndex(forms::tabs::kOptions);
  EXPECT_EQ(application.main().Tab1.tab(), forms::tabs::kOptions);

  auto* check5 = window.findChild<QCheckBox*>(QStringLiteral("Check5"));
  ASSERT_NE(check5, nullptr);
  ASSERT_TRUE(check5->isChecked());

  auto* terminal = window.findChild<QListWidget*>(QStringLiteral("List3"));
  ASSERT_NE(terminal, nullptr);
  // An "OK" the terminal shows once the modem has the command is its answer.
  bool okShown = false;
  QObject::connect(terminal->model(), &QAbstractItemModel::rowsInserted, terminal,
                   [&](const QModelIndex&, int first, int last) {
                     if (!modemUnderstood(modem, "AT+IFC=0,0")) return;
                     for (int i = first; i <= last; ++i) {
                       if (terminal->item(i)->text().contains(QStringLiteral("OK"))) okShown = true;
                     }
                   });

  // On the box itself: the widget may be wider than its text, and only the box and the
  // text take a click.
  QTest::mouseClick(check5, Qt::LeftButton, {}, QPoint(4, check5->height() / 2));
  EXPECT_FALSE(application.main().Check5.checked());
  EXPECT_FALSE(check5->isChecked());

  EXPECT_TRUE(QTest::qWaitFor([&] { return okShown; }, kReplyWaitMs))
      << "terminal:\n"
      << textOf(*terminal).toStdString();
  EXPECT_TRUE(modemUnderstood(modem, "AT+IFC=0,0"));
  EXPECT_EQ(terminal->count(), application.main().List3.count());

  EXPECT_EQ(window.windowTitle(), QString::fromLatin1(application.main().caption()));
  const QStringList captions = {"Terminal",    "Voice-Call", "SMS",     "Options",
                                "R7O-3 Alarm", "R7O-3 GPS",  "...about"};
  ASSERT_EQ(tabs->count(), captions.size());
  for (int i = 0; i < tabs->count(); ++i) EXPECT_EQ(tabs->tabText(i), captions[i]);
}

TEST_F(MainWindowUiTest, EveryControlOfTheModelHasItsWidgetByName) {
  QtScheduler scheduler;
  sim::SchedulerClock clock(scheduler);
  sim::ModemEngine modem(clock, sim::ModemConfig{});
  sim::SimulatedPort port(scheduler, modem);
  RecordingDialogs dialogs;
  RecordingShell shell;
  QtHost host(home());
  app::Application application({port, scheduler, dialogs, shell, host}, "");
  ASSERT_TRUE(application.load());
  MainWindowView window(application);

  const char* names[] = {"Label2",    "Label20",  "Gauge1",  "Label11",  "Label25",  "CTS",
                         "Label33",   "Label48",  "Label12", "Label14",  "Label53",  "Label3",
                         "List1",     "List3",    "List2",   "Text1",    "Text2",    "Text3",
                         "Command31", "Command3", "Frame18", "Command1", "Command2", "Frame2",
                         "Check1",    "Check5",   "Frame3",  "Label7",   "Label16",  "Tab1"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    EXPECT_NE(window.findChild<QWidget*>(QString::fromLatin1(name)), nullptr);
  }
  EXPECT_NE(window.findChild<QAction*>(QStringLiteral("m_exit")), nullptr);
  EXPECT_NE(window.findChild<QAction*>(QStringLiteral("m_gps")), nullptr);
  EXPECT_EQ(window.objectName(), QStringLiteral("REZEDEV7"));
}

}  // namespace
}  // namespace d7o::ui
