#include "ui/qt_host.h"

#include <QApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>
#include <QTime>

namespace d7o::ui {

platform::ScreenSize QtHost::screenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QSize size = screen->size();
  return {size.width(), size.height()};
}

platform::DateTime QtHost::localDateTime() const {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

int QtHost::localTimeOfDay() const {
  return QTime::currentTime().msecsSinceStartOfDay();
}

void QtHost::endProgram(int exitCode) {
  // Closing the main window unloads the program, which may ask again: once is enough.
  if (m_ending) return;
  m_ending = true;
  m_exitCode = exitCode;
  QApplication::closeAllWindows();
  QCoreApplication::exit(exitCode);
}

}  // namespace d7o::ui
