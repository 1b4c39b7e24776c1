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

qint64 QtHost::localMillis() const {
  const qint64 utc = QDateTime::currentMSecsSinceEpoch();
  const qint64 second = utc / 1000;
  if (second != m_offsetSecond) {
    m_offsetSecond = second;
    m_offsetMs = qint64{QDateTime::fromMSecsSinceEpoch(utc).offsetFromUtc()} * 1000;
  }
  return utc + m_offsetMs;
}

platform::DateTime QtHost::localDateTime() const {
  const QDateTime now = QDateTime::fromMSecsSinceEpoch(localMillis(), Qt::UTC);
  const QDate date = now.date();
  const QTime time = now.time();
  return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

int QtHost::localTimeOfDay() const {
  constexpr qint64 kDayMs = 24 * 60 * 60 * 1000;
  return static_cast<int>(((localMillis() % kDayMs) + kDayMs) % kDayMs);
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
