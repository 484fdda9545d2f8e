#pragma once
// The receiver's serial port over QSerialPort: 1200 baud 8N1, DTR on, RTS
// off, no flow control. Writes go to Qt's buffer and leave from the event
// loop, so the user-interface thread never waits for the line.

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <functional>
#include <string>

#include "platform/SerialPort.h"

namespace ondaris {

class QtSerialPort : public QObject, public SerialPort {
 public:
  explicit QtSerialPort(QObject* parent = nullptr);
  ~QtSerialPort() override;

  bool open(const std::string& deviceName, std::string& error) override;
  bool isOpen() const override;
  void close() override;
  bool write(const std::string& bytes, std::string& error) override;
  // Qt's own write buffer plus the system's output queue, where the device
  // can tell.
  std::size_t bytesQueuedForLine() const override;
  void drain(int timeoutMs) override;
  std::string readAvailable() override;

  // The device of the built-in simulated receiver, asked for when the port
  // name is "SIM": returns its device path, or "" with `error` filled.
  std::function<std::string(std::string& error)> simulatedDevice;

  // The device actually opened (the simulator's device for "SIM").
  const std::string& devicePath() const { return devicePath_; }

  // The listener's message for a device that cannot be opened; `accessDenied`
  // adds how to get the right to use serial ports.
  static std::string OpenErrorText(const QString& reason, bool accessDenied, const std::string& device);
  // The listener's message for a transfer that failed.
  static std::string TransferErrorText(bool writing, const QString& reason);

 private:
  void onErrorOccurred(QSerialPort::SerialPortError error);
  std::size_t systemOutputQueue() const;
  bool transmitterEmpty() const;

  QSerialPort port_;
  std::string devicePath_;
  bool opening_ = false;
  bool failureReported_ = false;
};

}  // namespace ondaris
