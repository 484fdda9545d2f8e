#include "platform/qt/QtSerialPort.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <sys/ioctl.h>
#include <unistd.h>

namespace ondaris {

namespace {
std::string Latin1(const QString& text) { return text.toLatin1().toStdString(); }
}  // namespace

QtSerialPort::QtSerialPort(QObject* parent) : QObject(parent) {
  connect(&port_, &QSerialPort::readyRead, this, [this] {
    if (onBytesReceived) onBytesReceived();
  });
  connect(&port_, &QSerialPort::bytesWritten, this, [this](qint64) {
    if (onBytesWritten) onBytesWritten();
  });
  connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) { onErrorOccurred(e); });
}

QtSerialPort::~QtSerialPort() {
  QObject::disconnect(&port_, nullptr, this, nullptr);
  if (port_.isOpen()) port_.close();
}

std::string QtSerialPort::OpenErrorText(const QString& reason, bool accessDenied, const std::string& device) {
  std::string text = "Unable to open com port";
  const std::string why = Latin1(reason);
  if (!why.empty()) text += " (" + why + ")";
  if (accessDenied) {
    text += ".\nTo use " + (device.empty() ? std::string("serial ports") : device) +
            " your user must be a member of the group 'dialout' "
            "(sudo usermod -aG dialout $USER, then log in again).";
  }
  return text;
}

std::string QtSerialPort::TransferErrorText(bool writing, const QString& reason) {
  std::string text = writing ? "WriteFile function failed" : "ReadFile function failed";
  const std::string why = Latin1(reason);
  if (!why.empty()) text += " (" + why + ")";
  return text;
}

bool QtSerialPort::open(const std::string& deviceName, std::string& error) {
  if (port_.isOpen()) close();
  std::string path = deviceName;
  if (deviceName == "SIM") {
    std::string why;
    path = simulatedDevice ? simulatedDevice(why) : std::string();
    if (path.empty()) {
      if (why.empty()) why = "no simulated receiver";
      error = "Unable to open com port (" + why + ")";
      return false;
    }
  }

  port_.setPortName(QString::fromLocal8Bit(path.c_str()));
  port_.setBaudRate(QSerialPort::Baud1200);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);

  opening_ = true;
  if (!port_.open(QIODevice::ReadWrite)) {
    const bool denied = port_.error() == QSerialPort::PermissionError &&
                        ::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
    error = OpenErrorText(port_.errorString(), denied, path);
    port_.clearError();
    opening_ = false;
    return false;
  }
  // A pseudo-terminal (the simulated receiver) has no modem lines: not being
  // able to set them is no reason to refuse the port.
  port_.setDataTerminalReady(true);
  port_.setRequestToSend(false);
  port_.clearError();
  opening_ = false;
  failureReported_ = false;
  devicePath_ = path;
  return true;
}

bool QtSerialPort::isOpen() const { return port_.isOpen(); }

void QtSerialPort::close() {
  if (port_.isOpen()) port_.close();
  port_.clearError();
}

bool QtSerialPort::write(const std::string& bytes, std::string& error) {
  if (!port_.isOpen()) {
    error = TransferErrorText(true, QStringLiteral("port not open"));
    return false;
  }
  const qint64 written = port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
  if (written != static_cast<qint64>(bytes.size())) {
    error = TransferErrorText(true, port_.errorString());
    return false;
  }
  return true;
}

std::size_t QtSerialPort::systemOutputQueue() const {
  if (!port_.isOpen()) return 0;
  int waiting = 0;
  if (::ioctl(port_.handle(), TIOCOUTQ, &waiting) != 0 || waiting < 0) return 0;
  return static_cast<std::size_t>(waiting);
}

bool QtSerialPort::transmitterEmpty() const {
#if defined(TIOCSERGETLSR) && defined(TIOCSER_TEMT)
  unsigned int status = 0;
  if (::ioctl(port_.handle(), TIOCSERGETLSR, &status) != 0) return true;  // cannot tell
  return (status & TIOCSER_TEMT) != 0;
#else
  return true;
#endif
}

std::size_t QtSerialPort::bytesQueuedForLine() const {
  if (!port_.isOpen()) return 0;
  return static_cast<std::size_t>(port_.bytesToWrite()) + systemOutputQueue();
}

void QtSerialPort::drain(int timeoutMs) {
  if (!port_.isOpen()) return;
  QDeadlineTimer deadline(timeoutMs);
  while (port_.bytesToWrite() > 0 && !deadline.hasExpired()) {
    if (!port_.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) break;
  }
  // Closing throws away what has not left yet; wait (bounded) for the last
  // bytes to reach the wire.
  while (!deadline.hasExpired() && (systemOutputQueue() > 0 || !transmitterEmpty())) QThread::msleep(5);
}

std::string QtSerialPort::readAvailable() {
  if (!port_.isOpen()) return {};
  const QByteArray data = port_.readAll();
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void QtSerialPort::onErrorOccurred(QSerialPort::SerialPortError error) {
  if (opening_ || failureReported_) return;
  bool writing = false;
  switch (error) {
    case QSerialPort::WriteError:
      writing = true;
      break;
    case QSerialPort::ReadError:
      break;
    case QSerialPort::ResourceError:
      writing = port_.bytesToWrite() > 0;
      break;
    default:
      return;  // not a failure of the device
  }
  failureReported_ = true;
  const std::string message = TransferErrorText(writing, port_.errorString());
  // Reported from the event loop, not from inside QSerialPort's signal, so
  // that the listener may close the port.
  QTimer::singleShot(0, this, [this, message] {
    if (onError) onError(message);
  });
}

}  // namespace ondaris
