#include "app/qt/ExitSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>
#include <cerrno>

namespace ondaris {

namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int signalNumber) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signalNumber);
  if (g_pipe[1] >= 0) {
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
  }
  errno = saved;
}

}  // namespace

ExitSignals::ExitSignals(QObject* parent) : QObject(parent) {}

ExitSignals::~ExitSignals() {
  for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) std::signal(signalNumber, SIG_DFL);
  delete notifier_;
  for (int& fd : g_pipe) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

bool ExitSignals::install() {
  if (g_pipe[0] >= 0) return true;
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { readSignal(); });

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signalNumber, &action, nullptr);
  return true;
}

void ExitSignals::readSignal() {
  unsigned char byte = 0;
  int last = 0;
  while (::read(g_pipe[0], &byte, 1) == 1) last = byte;
  if (fired_ || last == 0) return;
  fired_ = true;
  if (onExitRequest) onExitRequest(last);
}

}  // namespace ondaris
