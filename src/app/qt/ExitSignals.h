#pragma once
// SIGTERM, SIGINT and SIGHUP end the program the way the Exit item does. The
// signal handler only writes a byte into a pipe; the event loop reads it and
// runs the exit sequence on the user-interface thread.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace ondaris {

class ExitSignals : public QObject {
 public:
  explicit ExitSignals(QObject* parent = nullptr);
  ~ExitSignals() override;

  // Installs the handlers. False when the pipe cannot be made.
  bool install();

  // Runs once, at the first of the signals.
  std::function<void(int signalNumber)> onExitRequest;

 private:
  void readSignal();

  QSocketNotifier* notifier_ = nullptr;
  bool fired_ = false;
};

}  // namespace ondaris
