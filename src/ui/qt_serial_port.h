#pragma once

#include "platform/line_settings.h"
#include "platform/serial_port.h"

#include <functional>
#include <optional>
#include <string>

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

namespace d7o::ui {

// The modem's serial line on QSerialPort. Port numbers 1..16 name COM1..COM16: the device
// in REZEDEV7_COM<n> if that is set, else /dev/ttyS<n-1>.
//
// Never raises a dialog and never pumps events (a modal dialog would run the event loop
// from inside a port call). Received data is announced to the receive handler through a
// queued call, because the handler waits and pumps events itself and QIODevice does not
// announce new data again while its own readyRead is still being handled.
class QtSerialPort : public QObject, public platform::SerialPort {
 public:
  explicit QtSerialPort(QObject* parent = nullptr);
  ~QtSerialPort() override;

  // The device a port number stands for ("" outside 1..16).
  static QString deviceForPort(int number);

  platform::PortResult setCommPort(int number) override;
  int commPort() const override { return m_commPort; }
  platform::PortResult setSettings(std::string_view settings) override;
  std::string settings() const override { return m_settingsText; }
  platform::PortResult open() override;
  void close() override;
  bool isOpen() const override;
  bool deviceLost() const override { return m_lost; }
  std::string deviceIdentity() const override;
  std::string openedIdentity() const override { return m_openedIdentity; }
  void setDtr(bool high) override;
  void setRts(bool high) override;
  void setBreak(bool on) override;
  void setHandshaking(platform::Handshaking mode) override;
  platform::Handshaking handshaking() const override { return m_handshaking; }
  platform::PortResult write(std::string_view bytes) override;
  std::string readAll() override;
  std::size_t bytesAvailable() const override;
  void discardInput() override;
  bool ctsHolding() const override;
  bool cdHolding() const override;
  void setReceiveHandler(std::function<void()> handler) override;

 private:
  // The line signals the driver reports; nothing when it cannot (a pseudo-terminal).
  std::optional<QSerialPort::PinoutSignals> pinSignals() const;
  platform::PortResult applyLineSettings();
  void applyLineSignals();
  void announceReceived();
  void onError(QSerialPort::SerialPortError error);
  // The read notifier QSerialPort keeps for the open device, or nullptr.
  QSocketNotifier* readNotifier();
  void restReading();

  QSerialPort* m_port;  // a child: lives as long as this object
  int m_commPort = 1;
  std::string m_settingsText = "9600,n,8,1";
  platform::LineSettings m_line;
  platform::Handshaking m_handshaking = platform::Handshaking::None;
  // Only what the program asked for is driven; until then the driver's defaults stand.
  std::optional<bool> m_dtr;
  std::optional<bool> m_rts;
  // Set while this object itself drives the port, whose failures it deliberately ignores.
  mutable bool m_ownOperation = false;
  bool m_announcementPending = false;
  std::size_t m_announcedBytes = 0;  // what the read being announced brought
  QTimer m_readRest;
  QElapsedTimer m_restEnded;  // since the last rest ended, while no read came yet
  int m_streamingRests = 0;   // rests in a row that ended with bytes waiting
  QPointer<QSocketNotifier> m_restingNotifier;
  bool m_closePending = false;
  bool m_lost = false;  // the device vanished under the open port
  std::string m_openedIdentity;
  std::function<void()> m_handler;
};

}  // namespace d7o::ui
