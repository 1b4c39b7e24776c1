// The whole program offscreen, shown by the Qt main window and driven through its widgets
// as a user would: the real core on the simulated modem in virtual time, so a baud-rate
// search and a module start-up take no time at all. (The real-time path over QSerialPort
// is the end-to-end test's.)

#include "forms/main_window.h"
#include "support/rig.h"
#include "ui/main_window_view.h"
#include "ui/ui_wait.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace d7o::ui {
namespace {

using platform::Millis;

constexpr int kActivationWaitMs = 2000;
const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);

QString textOf(const QListWidget& list) {
  QStringList lines;
  for (int i = 0; i < list.count(); ++i) lines << list.item(i)->text();
  return lines.join(QLatin1Char('\n'));
}

// A line containing `command` in the terminal, and after it a line with "OK".
bool answered(const QStringList& terminal, const QString& command) {
  qsizetype i = 0;
  while (i < terminal.size() && !terminal[i].contains(command)) ++i;
  for (++i; i < terminal.size(); ++i) {
    if (terminal[i].contains(QStringLiteral("OK"))) return true;
  }
  return false;
}

QStringList linesOf(const QListWidget& list) {
  QStringList lines;
  for (int i = 0; i < list.count(); ++i) lines << list.item(i)->text();
  return lines;
}

QStringList linesOf(const forms::ListBox& list) {
  QStringList lines;
  for (const std::string& line : list.items()) lines << QString::fromLatin1(line);
  return lines;
}

bool modemUnderstood(const sim::ModemEngine& modem, const std::string& command) {
  const auto& log = modem.commandLog();
  return std::any_of(log.begin(), log.end(),
                     [&](const std::string& line) { return line.find(command) != line.npos; });
}

// A right-click on the lamp, as the user opens and closes the port.
void rightClick(QWidget* lamp) {
  QTest::mouseRelease(lamp, Qt::RightButton, {}, lamp->rect().center());
}

// The program loaded from a default TARVIK.INI. Each test builds its window after this,
// so the window goes before the model it shows.
class MainWindowUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.writeDefaultIni();
    ASSERT_TRUE(rig.start());
  }

  test::Rig rig;
};

TEST_F(MainWindowUiTest, CtsLampOpensAndClosesThePort) {
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  auto* cts = window.findChild<QWidget*>(QStringLiteral("CTS"));
  ASSERT_NE(cts, nullptr);

  // Nothing has opened the port: no activation, no search.
  ASSERT_FALSE(rig.port.isOpen());
  rightClick(cts);
  ASSERT_TRUE(rig.port.isOpen());
  // The next look at the line paints the lamp.
  const auto lamp = [&] { return cts->palette().color(QPalette::Window); };
  rig.run(Millis(300));
  EXPECT_TRUE(waitFor([&] { return lamp() == kGreen; })) << lamp().name().toStdString();

  rightClick(cts);
  EXPECT_FALSE(rig.port.isOpen());
  rig.run(Millis(300));
  EXPECT_TRUE(waitFor([&] { return lamp() == kRed; })) << lamp().name().toStdString();
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST_F(MainWindowUiTest, BeforeTheModemAnsweredTheOptionsTabSendsTheUserToVoiceCall) {
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);

  tabs->setCurrentIndex(forms::tabs::kOptions);
  EXPECT_EQ(rig.main().Tab1.tab(), forms::tabs::kVoiceCall);
  EXPECT_EQ(tabs->currentIndex(), forms::tabs::kVoiceCall);
}

TEST_F(MainWindowUiTest, ShownWindowBringsTheModuleUpAndHandshakeOffReachesTheModem) {
  MainWindowView window(*rig.app);
  window.show();
  // The window activates the program once it shows; the search runs in virtual time.
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.state().link.baudRateKnown; }, kActivationWaitMs));
  ASSERT_TRUE(rig.bringUp());
  EXPECT_TRUE(
      waitFor([&] { return window.windowTitle() == QString::fromLatin1(forms::kStandardTitle); }));

  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);
  const QStringList captions = {"Terminal",    "Voice-Call", "SMS",     "Options",
                                "R7O-3 Alarm", "R7O-3 GPS",  "...about"};
  ASSERT_EQ(tabs->count(), captions.size());
  for (int i = 0; i < tabs->count(); ++i) EXPECT_EQ(tabs->tabText(i), captions[i]);
  tabs->setCurrentIndex(forms::tabs::kOptions);
  ASSERT_EQ(rig.main().Tab1.tab(), forms::tabs::kOptions);

  auto* check5 = window.findChild<QCheckBox*>(QStringLiteral("Check5"));
  auto* terminal = window.findChild<QListWidget*>(QStringLiteral("List3"));
  ASSERT_NE(check5, nullptr);
  ASSERT_NE(terminal, nullptr);
  ASSERT_TRUE(check5->isChecked());

  // On the box itself: the widget may be wider than its text, and only the box and the
  // text take a click.
  QTest::mouseClick(check5, Qt::LeftButton, {}, QPoint(4, check5->height() / 2));
  EXPECT_FALSE(rig.main().Check5.checked());
  EXPECT_FALSE(check5->isChecked());

  const QString handshakeOff = QStringLiteral("AT+IFC=0,0");
  EXPECT_TRUE(rig.runUntil([&] { return answered(linesOf(rig.main().List3), handshakeOff); },
                           Millis(3000)));
  EXPECT_TRUE(modemUnderstood(rig.modem, "AT+IFC=0,0"));
  EXPECT_TRUE(waitFor([&] { return answered(linesOf(*terminal), handshakeOff); }))
      << "terminal:\n"
      << textOf(*terminal).toStdString();
  EXPECT_EQ(terminal->count(), rig.main().List3.count());
}

TEST_F(MainWindowUiTest, EveryControlOfTheModelHasItsWidgetOfItsKindByName) {
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);

  struct Case {
    const char* name;
    const char* kind;
  };
  const Case cases[] = {
      // tab 0 "Terminal"
      {"Label2", "QLabel"},
      {"Label20", "QLabel"},
      {"Gauge1", "QProgressBar"},
      {"Label11", "QLabel"},
      {"Label25", "QLabel"},
      {"CTS", "QFrame"},
      {"Label33", "QLabel"},
      {"Label48", "QLabel"},
      {"Label12", "QLabel"},
      {"Label14", "QLabel"},
      {"Label53", "QLabel"},
      {"Label3", "QLabel"},
      {"List1", "QListWidget"},
      {"List3", "QListWidget"},
      {"List2", "QListWidget"},
      // status fields: read, never typed in, cut with an ellipsis where narrow
      {"Text1", "QLabel"},
      {"Text2", "QLabel"},
      {"Text3", "QLabel"},
      {"CommandLine", "QLineEdit"},
      {"Command31", "QPushButton"},
      {"Command3", "QPushButton"},
      {"Frame18", "QGroupBox"},
      {"Command1", "QPushButton"},
      {"Command2", "QPushButton"},
      // tab 1 "Voice-Call"
      {"Label4", "QLabel"},
      {"Text8", "QLineEdit"},
      {"Command9", "QPushButton"},
      // tab 3 "Options"
      {"Frame1", "QGroupBox"},
      {"Slider1", "QSlider"},
      {"Slider2", "QSlider"},
      {"Label5", "QLabel"},
      {"Label6", "QLabel"},
      {"Label17", "QLabel"},
      {"Label18", "QLabel"},
      {"Command53", "QPushButton"},
      {"Frame2", "QGroupBox"},
      {"Frame12", "QGroupBox"},
      {"Command51", "QPushButton"},
      {"Label32", "QLabel"},
      {"Label38", "QLabel"},
      {"Frame13", "QGroupBox"},
      {"Combo1", "QComboBox"},
      {"Option13", "QRadioButton"},
      {"Option12", "QRadioButton"},
      {"Frame6", "QGroupBox"},
      {"Command15", "QPushButton"},
      {"Command29", "QPushButton"},
      {"Check1", "QCheckBox"},
      {"Check5", "QCheckBox"},
      {"Label19", "QLabel"},
      {"Text4", "QLineEdit"},
      {"Command7", "QPushButton"},
      {"Command10", "QPushButton"},
      // tab 5 "R7O-3 GPS"
      {"Frame3", "QGroupBox"},
      {"Label26", "QLabel"},
      {"Text10", "QLineEdit"},
      {"Command22", "QPushButton"},
      {"Label7", "QLabel"},
      {"Text14", "QLineEdit"},
      {"Label16", "QLabel"},
      {"Command8", "QPushButton"},
      {"Command30", "QPushButton"},
      // tab 6 "...about"
      {"Label1", "QLabel"},
      {"Tab1", "QTabWidget"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto found = window.findChildren<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_EQ(found.size(), 1);
    EXPECT_TRUE(found.first()->inherits(c.kind)) << found.first()->metaObject()->className();
  }
  EXPECT_NE(window.findChild<QAction*>(QStringLiteral("m_exit")), nullptr);
  EXPECT_NE(window.findChild<QAction*>(QStringLiteral("m_gps")), nullptr);
  EXPECT_EQ(window.objectName(), QStringLiteral("REZEDEV7"));
}

TEST_F(MainWindowUiTest, WidgetsShowWhatTheModelSaysOfThem) {
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  const forms::MainWindow& m = rig.main();
  const auto tip = [](const forms::Control& c) { return QString::fromLatin1(c.toolTip()); };

  // The dial button is a picture: no caption, an icon, the model's tooltip.
  auto* dial = window.findChild<QPushButton*>(QStringLiteral("Command9"));
  ASSERT_NE(dial, nullptr);
  EXPECT_TRUE(dial->text().isEmpty());
  EXPECT_FALSE(dial->icon().isNull());
  EXPECT_EQ(dial->toolTip(), tip(m.Command9));
  EXPECT_FALSE(dial->toolTip().isEmpty());

  for (const char* name : {"List1", "List3"}) {
    SCOPED_TRACE(name);
    auto* list = window.findChild<QListWidget*>(QString::fromLatin1(name));
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->toolTip().isEmpty());
  }
  EXPECT_EQ(window.findChild<QListWidget*>(QStringLiteral("List1"))->toolTip(), tip(m.List1));
  EXPECT_EQ(window.findChild<QListWidget*>(QStringLiteral("List3"))->toolTip(), tip(m.List3));

  // The fields the user types into, and the one that only shows the service centre.
  struct Field {
    const char* name;
    bool enabled;
  };
  for (const Field f : {Field{"Text8", true}, Field{"Text4", true}, Field{"Text10", true},
                        Field{"Text14", false}}) {
    SCOPED_TRACE(f.name);
    auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(f.name));
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_EQ(edit->isEnabled(), f.enabled);
  }
  // Filled from TARVIK.INI at load.
  EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("Text8"))->text(),
            QString::fromLatin1(m.Text8.text()));
  EXPECT_FALSE(m.Text8.text().empty());
  // The destination filled in at load staged its message line, ready to send.
  EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("Text10"))->text(),
            QString::fromLatin1(m.Text10.text()));
  EXPECT_TRUE(m.Text10.text().starts_with("&CNF MSG,S"));
  EXPECT_TRUE(window.findChild<QPushButton*>(QStringLiteral("Command22"))->isEnabled());

  auto* combo = window.findChild<QComboBox*>(QStringLiteral("Combo1"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->count(), static_cast<int>(m.Combo1.items().size()));
  EXPECT_EQ(combo->currentText(), QString::fromLatin1(m.Combo1.text()));
  EXPECT_TRUE(window.findChild<QRadioButton*>(QStringLiteral("Option13"))->isChecked());
  EXPECT_FALSE(window.findChild<QRadioButton*>(QStringLiteral("Option12"))->isChecked());
}

TEST_F(MainWindowUiTest, TheRingerOptionsFollowTheModelNotQtsGrouping) {
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  window.show();
  auto* buzzer = window.findChild<QRadioButton*>(QStringLiteral("Option13"));
  auto* speaker = window.findChild<QRadioButton*>(QStringLiteral("Option12"));
  ASSERT_NE(buzzer, nullptr);
  ASSERT_NE(speaker, nullptr);
  int speakerClicks = 0;
  rig.main().Option12.Click.connect([&] { ++speakerClicks; });

  speaker->click();
  EXPECT_TRUE(rig.main().Option12.value());
  EXPECT_FALSE(rig.main().Option13.value());
  EXPECT_TRUE(speaker->isChecked());
  EXPECT_TRUE(waitFor([&] { return !buzzer->isChecked(); }));
  EXPECT_EQ(speakerClicks, 1);

  rig.main().Option13.select();
  EXPECT_TRUE(waitFor([&] { return buzzer->isChecked() && !speaker->isChecked(); }));
}

TEST_F(MainWindowUiTest, TheWindowFitsTheHeightTheProgramStartsItWith) {
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  const int startHeight = rig.main().height();
  ASSERT_GT(startHeight, 0);
  // The pages full of controls scroll rather than make the window taller than that.
  EXPECT_LE(window.minimumSizeHint().height(), startHeight);
}

// Counts the layout requests that reach a widget.
class LayoutRequests : public QObject {
 public:
  LayoutRequests() { sinceLast.start(); }
  int count = 0;
  QElapsedTimer sinceLast;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::LayoutRequest) {
      ++count;
      sinceLast.restart();
    }
    return QObject::eventFilter(watched, event);
  }
};

// A GPS device changes the clock with every sentence; each layout request would repaint
// the whole tab widget, many times a second.
TEST_F(MainWindowUiTest, TheClockChangesWithoutLayingOutTheTabsAgain) {
  MainWindowView window(*rig.app, MainWindowView::Activation::ByCaller);
  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("Tab1"));
  ASSERT_NE(tabs, nullptr);
  LayoutRequests requests;
  tabs->installEventFilter(&requests);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  // The window settles after its first showing: no layout request for a while. A loaded
  // machine (a sanitizer build, tests side by side) may pause that long between two of the
  // first ones, so the quiet asked for is long, and so is the wait for it.
  ASSERT_TRUE(waitFor([&] { return requests.sinceLast.elapsed() > 400; }, 10 * kWidgetWaitMs));
  requests.count = 0;

  auto& m = rig.main();
  for (int second = 0; second < 10; ++second) {
    m.Label12.setCaption("GPS-Time");
    m.Label48.setCaption("12:35:0" + std::to_string(second));
    m.Label14.setCaption("GMT");
    QCoreApplication::processEvents();
    m.Label12.setCaption("PC-Time");
    m.Label14.setCaption("");
    QCoreApplication::processEvents();
  }
  const auto* clock = window.findChild<QLabel*>(QStringLiteral("Label48"));
  EXPECT_TRUE(waitFor([&] { return clock->text() == QStringLiteral("12:35:09"); }));
  EXPECT_EQ(requests.count, 0);
  EXPECT_GE(clock->width(), clock->fontMetrics().horizontalAdvance(clock->text()))
      << "the clock shows whole";
}

}  // namespace
}  // namespace d7o::ui
