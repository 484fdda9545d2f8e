#pragma once
// The serial port as the receiver link needs it. The Qt implementation wraps
// QSerialPort; tests use a fake that records every byte handed over.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace ondaris {

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Opens `deviceName` (already mapped to a device path, or "SIM") at
  // 1200 baud 8N1, DTR on, RTS off, no flow control. Returns false and fills
  // `error` with the listener's message when it cannot.
  virtual bool open(const std::string& deviceName, std::string& error) = 0;
  virtual bool isOpen() const = 0;
  virtual void close() = 0;

  // Hands bytes to the operating system without blocking. Returns false with
  // `error` filled when the write fails.
  virtual bool write(const std::string& bytes, std::string& error) = 0;
  // Bytes handed over but not yet on the line, as far as the system can tell.
  virtual std::size_t bytesQueuedForLine() const = 0;
  // Waits (bounded) until everything written has left; used only at exit.
  virtual void drain(int timeoutMs) = 0;

  // Everything received so far (possibly nothing).
  virtual std::string readAvailable() = 0;

  // Called on the user-interface thread when bytes arrive.
  std::function<void()> onBytesReceived;
  // Called when written bytes have left the program's own buffer.
  std::function<void()> onBytesWritten;
  // Called with the listener's message when the port fails after write()
  // returned (for example the device went away).
  std::function<void(const std::string&)> onError;
};

// Port names as the listener types them, mapped to devices:
// "SIM" stays "SIM", "COMn" is /dev/ttyS(n-1), "/path" is that path, anything
// else is /dev/ + name.
std::string SerialDevicePath(const std::string& portName);

}  // namespace ondaris
