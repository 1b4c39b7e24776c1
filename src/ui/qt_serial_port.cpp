#include "ui/qt_serial_port.h"

#include "ui/code_page.h"

#include <algorithm>
#include <utility>

#include <QByteArray>
#include <QFileInfo>
#include <QMetaObject>
#include <QSerialPortInfo>

namespace d7o::ui {

using platform::kInvalidPropertyValue;
using platform::LineSettings;
using platform::parseLineSettings;

namespace {

namespace errors = platform::port_errors;

constexpr int kFirstPort = 1;
constexpr int kLastPort = 16;
// How long close() lets the last command drain; a closed port loses what is left.
constexpr int kDrainOnCloseMs = 200;
// A device streaming at 115200 baud arrives in reads of a few dozen bytes, some 200 a
// second, each a wake-up of the program. After a small read the port is not watched for
// a while, and the next read takes all that came meanwhile, in order: 15 ms, and 40 ms
// once a few rests in a row ended with bytes waiting (a stream, not an answer to a
// command). The first bytes after a quiet spell are read at once, and a line running flat
// out (reads of a kilobyte and more) is read without a rest.
constexpr int kReadRestMs = 15;
constexpr int kStreamRestMs = 40;
constexpr int kRestsToStream = 3;
constexpr std::size_t kRestBelowBytes = 1024;
// Bytes announced this soon after a rest ended were waiting for it.
constexpr qint64 kWaitingWithinMs = 3;

platform::PortError portError(int number, std::string description) {
  return {number, std::move(description)};
}

QSerialPort::Parity toQt(LineSettings::Parity p) {
  switch (p) {
    case LineSettings::Parity::Even:
      return QSerialPort::EvenParity;
    case LineSettings::Parity::Odd:
      return QSerialPort::OddParity;
    case LineSettings::Parity::Mark:
      return QSerialPort::MarkParity;
    case LineSettings::Parity::Space:
      return QSerialPort::SpaceParity;
    case LineSettings::Parity::None:
      break;
  }
  return QSerialPort::NoParity;
}

QSerialPort::StopBits toQt(LineSettings::StopBits s) {
  switch (s) {
    case LineSettings::StopBits::OneAndHalf:
      return QSerialPort::OneAndHalfStop;
    case LineSettings::StopBits::Two:
      return QSerialPort::TwoStop;
    case LineSettings::StopBits::One:
      break;
  }
  return QSerialPort::OneStop;
}

// Marks a stretch in which this object drives the port itself: its failures (a
// pseudo-terminal has no DTR, RTS, BREAK or pin status) are expected and dropped, and the
// error handler leaves them alone.
class OwnOperation {
 public:
  OwnOperation(QSerialPort* port, bool& flag) : m_port(port), m_flag(flag), m_outer(flag) {
    m_flag = true;
    m_port->clearError();
  }
  ~OwnOperation() {
    m_port->clearError();
    m_flag = m_outer;
  }
  OwnOperation(const OwnOperation&) = delete;
  OwnOperation& operator=(const OwnOperation&) = delete;

 private:
  QSerialPort* m_port;
  bool& m_flag;
  bool m_outer;
};

}  // namespace

QtSerialPort::QtSerialPort(QObject* parent) : QObject(parent), m_port(new QSerialPort(this)) {
  connect(m_port, &QSerialPort::readyRead, this, &QtSerialPort::announceReceived);
  connect(m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
  m_readRest.setSingleShot(true);
  connect(&m_readRest, &QTimer::timeout, this, [this] {
    // What arrived during the rest is read on this turn of the event loop.
    if (m_restingNotifier) m_restingNotifier->setEnabled(true);
    m_restingNotifier = nullptr;
    m_restEnded.start();
  });
}

QtSerialPort::~QtSerialPort() {
  close();
}

QString QtSerialPort::deviceForPort(int number) {
  if (number < kFirstPort || number > kLastPort) return {};
  const QString override = qEnvironmentVariable(("REZEDEV7_COM" + std::to_string(number)).c_str());
  if (!override.isEmpty()) return override;
#if defined(Q_OS_WIN)
  // The system's own name; QSerialPort adds the \\.\ that COM10 and above need.
  return QStringLiteral("COM%1").arg(number);
#else
  return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

platform::PortResult QtSerialPort::setCommPort(int number) {
  if (number < kFirstPort || number > kLastPort) {
    return portError(errors::kInvalidPortNumber, "Invalid Port Number");
  }
  if (number == m_commPort) return std::nullopt;
  if (isOpen()) return portError(errors::kPortAlreadyOpen, "Port already open");
  m_commPort = number;
  return std::nullopt;
}

platform::PortResult QtSerialPort::setSettings(std::string_view settings) {
  LineSettings parsed;
  if (auto bad = parseLineSettings(settings, parsed)) return bad;
  const LineSettings previous = m_line;
  m_line = parsed;
  if (auto failed = applyLineSettings()) {
    // The line keeps running as it did, so what settings() says stays true.
    m_line = previous;
    applyLineSettings();
    return failed;
  }
  m_settingsText = std::string(settings);
  return std::nullopt;
}

platform::PortResult QtSerialPort::applyLineSettings() {
  // A closed QSerialPort only stores these; open() applies them.
  OwnOperation own(m_port, m_ownOperation);
  if (!m_port->setBaudRate(m_line.baud)) {
    return portError(errors::kUnsupportedBaudRate, "The device's baud rate is unsupported");
  }
  // A pseudo-terminal carries bytes, not frames: it refuses parity and data bits as
  // unsupported, which is skipped like the line signals it lacks.
  const auto framed = [this](bool applied) {
    return applied || m_port->error() == QSerialPort::UnsupportedOperationError;
  };
  const bool applied =
      framed(m_port->setParity(toQt(m_line.parity))) &&
      framed(m_port->setDataBits(static_cast<QSerialPort::DataBits>(m_line.dataBits))) &&
      framed(m_port->setStopBits(toQt(m_line.stopBits)));
  if (!applied) return portError(kInvalidPropertyValue, "Invalid property value");
  return std::nullopt;
}

platform::PortResult QtSerialPort::open() {
  if (m_port->isOpen()) return portError(errors::kPortAlreadyOpen, "Port already open");

  const QString device = deviceForPort(m_commPort);
  if (!QFileInfo::exists(device)) {
    return portError(errors::kInvalidPortNumber,
                     "Invalid Port Number (" + toCodePage(device) + ")");
  }

  OwnOperation own(m_port, m_ownOperation);
  m_port->setPortName(device);
  applyLineSettings();
  if (!m_port->open(QIODevice::ReadWrite)) {
    switch (m_port->error()) {
      case QSerialPort::DeviceNotFoundError:
        return portError(errors::kInvalidPortNumber,
                         "Invalid Port Number (" + toCodePage(device) + ")");
      case QSerialPort::OpenError:
        return portError(errors::kPortAlreadyOpen, "Port already open");
      case QSerialPort::PermissionError:
        return portError(errors::kHardwareNotAvailable,
                         "The hardware is not available (locked by another device)");
      default:
        // Not a serial device at all (REZEDEV7_COM1=/dev/null): say what the driver said.
        return portError(errors::kHardwareNotAvailable,
                         "The hardware is not available (" + toCodePage(device) + ": " +
                             toCodePage(m_port->errorString()) + ")");
    }
  }
  applyLineSignals();
  m_lost = false;
  m_openedIdentity = deviceIdentity();
  return std::nullopt;
}

std::string QtSerialPort::deviceIdentity() const {
  const QString device = deviceForPort(m_commPort);
#if defined(Q_OS_WIN)
  // A port name, not a file: the system's list of ports knows it by that name.
  const QSerialPortInfo info(device);
#else
  if (!QFileInfo::exists(device)) return {};
  // A path the environment names may be a link (/dev/serial/by-id/...): the system knows
  // the device by the node it points to.
  const QSerialPortInfo info(QFileInfo(device).canonicalFilePath());
#endif
  if (!info.hasVendorIdentifier() || !info.hasProductIdentifier()) return {};
  QString identity = QStringLiteral("%1:%2")
                         .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                         .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
  if (!info.serialNumber().isEmpty()) identity += QLatin1Char(' ') + info.serialNumber();
  return toCodePage(identity);
}

void QtSerialPort::applyLineSignals() {
  OwnOperation own(m_port, m_ownOperation);
  const bool hardware = m_handshaking == platform::Handshaking::RtsCts;
  m_port->setFlowControl(hardware ? QSerialPort::HardwareControl : QSerialPort::NoFlowControl);
  if (m_dtr) m_port->setDataTerminalReady(*m_dtr);
  // Under RTS/CTS handshake the driver owns RTS.
  if (m_rts && !hardware) m_port->setRequestToSend(*m_rts);
}

void QtSerialPort::close() {
  if (!m_port->isOpen()) return;
  OwnOperation own(m_port, m_ownOperation);
  m_port->flush();
  if (m_port->bytesToWrite() > 0) m_port->waitForBytesWritten(kDrainOnCloseMs);
  m_port->close();
  m_readRest.stop();
}

bool QtSerialPort::isOpen() const {
  return m_port->isOpen();
}

void QtSerialPort::setDtr(bool high) {
  m_dtr = high;
  if (!isOpen()) return;
  OwnOperation own(m_port, m_ownOperation);
  m_port->setDataTerminalReady(high);
}

void QtSerialPort::setRts(bool high) {
  m_rts = high;
  if (!isOpen() || m_handshaking == platform::Handshaking::RtsCts) return;
  OwnOperation own(m_port, m_ownOperation);
  m_port->setRequestToSend(high);
}

void QtSerialPort::setBreak(bool on) {
  if (!isOpen()) return;
  OwnOperation own(m_port, m_ownOperation);
  m_port->setBreakEnabled(on);
}

void QtSerialPort::setHandshaking(platform::Handshaking mode) {
  m_handshaking = mode;
  if (isOpen()) applyLineSignals();
}

platform::PortResult QtSerialPort::write(std::string_view bytes) {
  if (!isOpen()) {
    return portError(errors::kPortNotOpen, "Operation valid only when the port is open");
  }
  const auto size = static_cast<qint64>(bytes.size());
  const qint64 written = m_port->write(bytes.data(), size);
  if (written != size) {
    const std::string why = toCodePage(m_port->errorString());
    m_port->clearError();
    return portError(errors::kWriteFailed, "Error writing to the comm device: " + why);
  }
  // Hand the bytes to the driver now rather than at the next turn of the event loop, so a
  // command goes out before the program starts timing its answer.
  m_port->flush();
  return std::nullopt;
}

std::string QtSerialPort::readAll() {
  if (!isOpen()) return {};
  const QByteArray data = m_port->readAll();
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

std::size_t QtSerialPort::bytesAvailable() const {
  return isOpen() ? static_cast<std::size_t>(m_port->bytesAvailable()) : 0;
}

void QtSerialPort::discardInput() {
  if (!isOpen()) return;
  OwnOperation own(m_port, m_ownOperation);
  m_port->clear(QSerialPort::Input);
  m_port->readAll();
}

std::optional<QSerialPort::PinoutSignals> QtSerialPort::pinSignals() const {
  if (!isOpen()) return std::nullopt;
  OwnOperation own(m_port, m_ownOperation);
  const QSerialPort::PinoutSignals pins = m_port->pinoutSignals();
  if (m_port->error() != QSerialPort::NoError) return std::nullopt;
  return pins;
}

bool QtSerialPort::ctsHolding() const {
  if (!isOpen()) return false;
  const auto pins = pinSignals();
  // A pseudo-terminal reports no pins: the program would otherwise think the modem is off.
  if (!pins) return true;
  return pins->testFlag(QSerialPort::ClearToSendSignal);
}

bool QtSerialPort::cdHolding() const {
  const auto pins = pinSignals();
  return pins && pins->testFlag(QSerialPort::DataCarrierDetectSignal);
}

void QtSerialPort::setReceiveHandler(std::function<void()> handler) {
  m_handler = std::move(handler);
}

void QtSerialPort::announceReceived() {
  // One announcement at a time: the handler reads everything there is.
  if (m_announcementPending) return;
  m_announcementPending = true;
  m_announcedBytes = bytesAvailable();
  const bool waited = m_restEnded.isValid() && m_restEnded.elapsed() <= kWaitingWithinMs;
  m_streamingRests = waited ? std::min(m_streamingRests + 1, kRestsToStream) : 0;
  m_restEnded.invalidate();
  QMetaObject::invokeMethod(
      this,
      [this] {
        m_announcementPending = false;
        if (m_handler && bytesAvailable() > 0) {
          // A copy, so a handler that replaces itself does not pull the ground from under it.
          const auto handler = m_handler;
          handler();
        }
        // After the handler: QSerialPort watches the device again whenever it is read.
        if (m_announcedBytes < kRestBelowBytes) restReading();
      },
      Qt::QueuedConnection);
}

QSocketNotifier* QtSerialPort::readNotifier() {
  if (!m_port->isOpen()) return nullptr;
  // QSerialPort watches the device through a socket notifier of its own, created with the
  // open port; where it has none (another platform), reads are simply not rested.
  for (QSocketNotifier* notifier :
       m_port->findChildren<QSocketNotifier*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (notifier->type() == QSocketNotifier::Read) return notifier;
  }
  return nullptr;
}

void QtSerialPort::restReading() {
  if (m_readRest.isActive()) return;
  QSocketNotifier* notifier = readNotifier();
  if (notifier == nullptr || !notifier->isEnabled()) return;
  notifier->setEnabled(false);
  m_restingNotifier = notifier;
  m_readRest.start(m_streamingRests >= kRestsToStream ? kStreamRestMs : kReadRestMs);
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
  if (m_ownOperation || m_closePending) return;
  if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) return;
  // The device went away (adapter unplugged, the pseudo-terminal's other end closed); a
  // port left open would report the failed read again on every turn of the event loop.
  // Closing makes CTS read low and writes fail, which the program reports. Done from the
  // event loop, so QSerialPort is not closed from inside its own notification.
  m_closePending = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        m_closePending = false;
        const bool wasOpen = m_port->isOpen();
        close();
        m_lost = m_lost || wasOpen;
      },
      Qt::QueuedConnection);
}

}  // namespace d7o::ui
