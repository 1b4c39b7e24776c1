// The binders on bare controls: model and widget stay in step both ways, and nothing the
// model writes comes back to it as a user action. Each model is declared before its
// widgets, so the widgets (and their binders) go first, as in the program.

#include "ui/binders.h"

#include "forms/controls.h"
#include "forms/form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace d7o::ui {
namespace {

// Counts how often a model signal fires.
struct Counter {
  int count = 0;
  template <typename... Args>
  void operator()(Args...) {
    ++count;
  }
};

TEST(CheckBoxBinder, ModelValueShowsWithoutEchoAndAUserClickRaisesOneClick) {
  forms::CheckBox model("Check5", "Handshake RTS/CTS", true);
  QWidget page;
  auto* box = new QCheckBox(&page);
  bind(box, model);
  EXPECT_TRUE(box->isChecked());
  EXPECT_EQ(box->text(), QStringLiteral("Handshake RTS/CTS"));
  Counter clicks;
  model.Click.connect(std::ref(clicks));

  model.setChecked(false);
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(clicks.count, 1);

  box->click();
  EXPECT_TRUE(model.checked());
  EXPECT_EQ(clicks.count, 2);
}

TEST(CheckBoxBinder, AClickHandlerThatRefusesLeavesTheBoxAsTheModelSays) {
  forms::CheckBox model("Check1", "write LogFile");
  QWidget page;
  auto* box = new QCheckBox(&page);
  bind(box, model);
  model.Click.connect([&] { model.setChecked(false); });  // e.g. the log cannot be written

  box->click();
  EXPECT_FALSE(model.checked());
  EXPECT_FALSE(box->isChecked());
}

TEST(ComboBoxBinder, ShowsTheFixedItemsAndTheModelsEntryWithoutEcho) {
  forms::ComboBox model("Combo1", {"no melody", "melody 1", "melody 2"}, 1);
  QWidget page;
  auto* combo = new QComboBox(&page);
  bind(combo, model);
  EXPECT_EQ(combo->objectName(), QStringLiteral("Combo1"));
  EXPECT_FALSE(combo->isEditable());
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(2), QStringLiteral("melody 2"));
  EXPECT_EQ(combo->currentIndex(), 1);
  Counter clicks;
  model.Click.connect(std::ref(clicks));

  model.setListIndex(2);
  EXPECT_EQ(combo->currentIndex(), 2);
  EXPECT_EQ(clicks.count, 1);  // the model's own, not an echo from the combo
  model.setListIndex(-1);
  EXPECT_EQ(combo->currentIndex(), -1);
  EXPECT_EQ(clicks.count, 2);
}

TEST(ComboBoxBinder, AnEditableCombosTextSurvivesTheProgramChangingItsList) {
  forms::Form form("Remote", "");
  forms::ComboBox model(form, "Combo3", {"0301234567"}, -1, true);
  QWidget page;
  auto* combo = new QComboBox(&page);
  bind(combo, model);
  QTest::keyClicks(combo->lineEdit(), "0171");
  EXPECT_EQ(model.text(), "0171");
  // The number called joins the history: the list is shown afresh, the number stays.
  model.addItem("0171");
  EXPECT_EQ(model.text(), "0171");
  EXPECT_EQ(combo->lineEdit()->text(), QStringLiteral("0171"));
  // An entry chosen by a script on the widget is the model's choice, and its text.
  Counter clicks;
  model.Click.connect(std::ref(clicks));
  combo->setCurrentIndex(0);
  EXPECT_EQ(model.listIndex(), 0);
  EXPECT_EQ(model.text(), "0301234567");
  EXPECT_EQ(clicks.count, 1);
}

TEST(ComboBoxBinder, TheUsersChoiceRaisesOneClickAndARefusalShowsTheModelsEntry) {
  forms::ComboBox model("Combo1", {"no melody", "melody 1", "melody 2"}, 0);
  QWidget page;
  auto* combo = new QComboBox(&page);
  bind(combo, model);
  Counter clicks;
  model.Click.connect(std::ref(clicks));

  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);  // as the user steps through the entries
  EXPECT_EQ(model.listIndex(), 1);
  EXPECT_EQ(clicks.count, 1);

  // A handler that allows only the first two entries.
  model.Click.connect([&] {
    if (model.listIndex() > 1) model.setListIndex(1);
  });
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(model.listIndex(), 1);
  EXPECT_EQ(combo->currentIndex(), 1);
}

TEST(OptionButtonBinder, AUsersChoiceClearsTheOthersOfTheGroupThroughTheModel) {
  forms::OptionGroup group;
  forms::OptionButton buzzer("Option13", "Buzzer", group, true);
  forms::OptionButton speaker("Option12", "Speaker", group);
  QWidget page;
  auto* buzzerRadio = new QRadioButton(&page);
  auto* speakerRadio = new QRadioButton(&page);
  bind(buzzerRadio, buzzer);
  bind(speakerRadio, speaker);
  EXPECT_EQ(speakerRadio->objectName(), QStringLiteral("Option12"));
  EXPECT_EQ(speakerRadio->text(), QStringLiteral("Speaker"));
  EXPECT_FALSE(speakerRadio->autoExclusive());
  EXPECT_TRUE(buzzerRadio->isChecked());
  EXPECT_FALSE(speakerRadio->isChecked());
  Counter speakerClicks;
  speaker.Click.connect(std::ref(speakerClicks));
  Counter buzzerClicks;
  buzzer.Click.connect(std::ref(buzzerClicks));

  speakerRadio->click();
  EXPECT_TRUE(speaker.value());
  EXPECT_FALSE(buzzer.value());
  EXPECT_TRUE(speakerRadio->isChecked());
  EXPECT_FALSE(buzzerRadio->isChecked());
  EXPECT_EQ(speakerClicks.count, 1);

  // The chosen one stays chosen when clicked again, and says nothing new.
  speakerRadio->click();
  EXPECT_TRUE(speakerRadio->isChecked());
  EXPECT_EQ(speakerClicks.count, 1);

  buzzer.select();  // from code
  EXPECT_TRUE(buzzerRadio->isChecked());
  EXPECT_FALSE(speakerRadio->isChecked());
  EXPECT_EQ(buzzerClicks.count, 1);
  EXPECT_EQ(speakerClicks.count, 1);
}

TEST(TextBoxBinder, TypingReachesTheModelAndCodeReachesTheBox) {
  forms::TextBox model("Text1");
  QWidget page;
  auto* edit = new QLineEdit(&page);
  bind(edit, model);
  Counter changes;
  model.Change.connect(std::ref(changes));

  model.setText("COM1");
  EXPECT_EQ(edit->text(), QStringLiteral("COM1"));
  EXPECT_EQ(changes.count, 1);

  edit->setFocus();
  QTest::keyClicks(edit, "2");
  EXPECT_EQ(model.text(), "COM12");
  EXPECT_EQ(changes.count, 2);
}

TEST(ButtonBinder, AClickOfAnEnabledButtonReachesTheModel) {
  forms::CommandButton model("Command1", "INIT");
  QWidget page;
  auto* button = new QPushButton(&page);
  bind(button, model);
  Counter clicks;
  model.Click.connect(std::ref(clicks));

  button->click();
  EXPECT_EQ(clicks.count, 1);
  model.setEnabled(false);
  EXPECT_FALSE(button->isEnabled());
  model.setVisible(false);
  EXPECT_TRUE(button->isHidden());
  model.setCaption("INIT ...");
  EXPECT_EQ(button->text(), QStringLiteral("INIT ..."));
}

TEST(ButtonBinder, ADisabledButtonIsGreyedWhateverItsTextColour) {
  forms::CommandButton model("Command5", "create new PDU");
  model.setEnabled(false);  // disabled before its widget exists, as at the program's start
  QWidget page;
  auto* button = new QPushButton(&page);
  bind(button, model);
  const QPalette system = QApplication::palette(button);
  EXPECT_EQ(button->palette().color(QPalette::Disabled, QPalette::ButtonText),
            system.color(QPalette::Disabled, QPalette::ButtonText));

  model.setForeColor(forms::colors::kRed);
  EXPECT_EQ(button->palette().color(QPalette::Active, QPalette::ButtonText), QColor(255, 0, 0));
  EXPECT_EQ(button->palette().color(QPalette::Disabled, QPalette::ButtonText),
            system.color(QPalette::Disabled, QPalette::ButtonText));
}

TEST(LabelBinder, APlainBackColourReallyShowsAndASystemOneIsTheStyles) {
  forms::Label model("Label2", "");
  QWidget page;
  auto* label = new QLabel(&page);
  bind(label, model);

  model.setBackColor(forms::colors::kGreen);
  EXPECT_TRUE(label->autoFillBackground());
  EXPECT_EQ(label->palette().color(QPalette::Window), QColor(0, 255, 0));

  model.setBackColor(forms::colors::kRed);  // 255: red in the program's blue-green-red order
  EXPECT_EQ(label->palette().color(QPalette::Window), QColor(255, 0, 0));

  model.setBackColor(forms::colors::kSystemButtonFace);
  EXPECT_FALSE(label->autoFillBackground());
  EXPECT_EQ(label->palette().color(QPalette::Window),
            QApplication::palette(label).color(QPalette::Window));
}

TEST(LabelBinder, CaptionsAreNeverMarkup) {
  forms::Label model("Label25", "<b>-73</b> dbm");
  QWidget page;
  auto* label = new QLabel(&page);
  bind(label, model);
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  EXPECT_EQ(label->text(), QStringLiteral("<b>-73</b> dbm"));
}

TEST(ShapeBinder, ALampShowsItsColourAndReportsTheButtonReleased) {
  forms::Shape model("CTS");
  QWidget page;
  auto* lamp = new QFrame(&page);
  bind(lamp, model);
  EXPECT_EQ(lamp->palette().color(QPalette::Window), QColor(255, 0, 0));
  model.setFillColor(forms::colors::kGreen);
  EXPECT_EQ(lamp->palette().color(QPalette::Window), QColor(0, 255, 0));

  std::vector<forms::MouseButton> released;
  model.MouseUp.connect([&](forms::MouseButton b) { released.push_back(b); });
  QTest::mouseRelease(lamp, Qt::RightButton);
  QTest::mouseRelease(lamp, Qt::LeftButton);
  ASSERT_EQ(released.size(), 2u);
  EXPECT_EQ(released[0], forms::MouseButton::Right);
  EXPECT_EQ(released[1], forms::MouseButton::Left);
}

TEST(ProgressBarBinder, AValueBeyondTheRangeShowsAsItsEnd) {
  forms::ProgressBar model("Gauge1");
  QWidget page;
  auto* bar = new QProgressBar(&page);
  bind(bar, model);
  model.setMax(31);
  model.setValue(17);
  EXPECT_EQ(bar->maximum(), 31);
  EXPECT_EQ(bar->value(), 17);
  EXPECT_FALSE(bar->isTextVisible());
  model.setValue(99);
  EXPECT_EQ(bar->value(), 31);
}

TEST(TabBinder, TheUsersTabReachesTheModelWithTheTabLeft) {
  forms::TabControl model("Tab1", {"Terminal", "SMS", "Options"});
  QWidget page;
  auto* tabs = new QTabWidget(&page);
  for (int i = 0; i < model.tabCount(); ++i) tabs->addTab(new QWidget, QString());
  bind(tabs, model);
  EXPECT_EQ(tabs->tabText(2), QStringLiteral("Options"));
  std::vector<int> left;
  model.Click.connect([&](int previous) { left.push_back(previous); });

  tabs->setCurrentIndex(2);
  EXPECT_EQ(model.tab(), 2);
  model.setTab(1);
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(left, std::vector<int>({0, 2}));
}

TEST(MenuBinder, ATriggeredEntryClicksAndAHiddenOneDisappears) {
  forms::Menu model("m_gps", "&GPS-Analyzer");
  QWidget window;
  auto* action = new QAction(&window);
  bind(action, model);
  Counter clicks;
  model.Click.connect(std::ref(clicks));
  EXPECT_EQ(action->text(), QStringLiteral("&GPS-Analyzer"));

  action->trigger();
  EXPECT_EQ(clicks.count, 1);
  model.setVisible(false);
  EXPECT_FALSE(action->isVisible());
}

TEST(FormBinder, CaptionAndGeometryFollowTheModel) {
  forms::Form model("REZEDEV7", "Tarvik");
  QWidget window;
  model.move(30, 40);
  model.resize(500, 300);
  bind(&window, model);
  EXPECT_EQ(window.objectName(), QStringLiteral("REZEDEV7"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarvik"));
  EXPECT_EQ(window.size(), QSize(500, 300));

  window.resize(640, 480);  // the user's size stays until the model says otherwise
  model.setCaption("...please wait");
  EXPECT_EQ(window.size(), QSize(640, 480));
  model.resize(700, 400);
  EXPECT_EQ(window.size(), QSize(700, 400));
}

}  // namespace
}  // namespace d7o::ui
