#include "sim/SimulatorPty.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace ondaris {

namespace {

std::string SystemReason(const char* what) { return std::string(what) + " (" + std::strerror(errno) + ")"; }

bool SetFlag(int fd, int getCmd, int setCmd, int flag) {
  const int flags = fcntl(fd, getCmd);
  return flags >= 0 && fcntl(fd, setCmd, flags | flag) == 0;
}

}  // namespace

SimulatorPty::SimulatorPty() : SimulatorPty(Options{}) {}

SimulatorPty::SimulatorPty(Options options, std::uint32_t seed) : options_(options), simulator_(seed) {
  if (options_.bytesPerSecond <= 0) options_.bytesPerSecond = 120;
}

SimulatorPty::~SimulatorPty() { close(); }

std::int64_t SimulatorPty::MonotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool SimulatorPty::open(std::string& error) {
  close();
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) {
    error = SystemReason("cannot create a pseudo-terminal");
    return false;
  }
  char name[256];
  if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
    error = SystemReason("cannot prepare the pseudo-terminal");
    close();
    return false;
  }
  path_ = name;
  // Our own descriptor of the device: it keeps the terminal alive between
  // clients and carries the raw settings every client starts from.
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios settings{};
  if (slave_ < 0 || tcgetattr(slave_, &settings) != 0) {
    error = SystemReason("cannot open the pseudo-terminal device");
    close();
    return false;
  }
  cfmakeraw(&settings);
  cfsetispeed(&settings, B1200);
  cfsetospeed(&settings, B1200);
  if (tcsetattr(slave_, TCSANOW, &settings) != 0 || !SetFlag(master_, F_GETFL, F_SETFL, O_NONBLOCK) ||
      !SetFlag(master_, F_GETFD, F_SETFD, FD_CLOEXEC)) {
    error = SystemReason("cannot set up the pseudo-terminal");
    close();
    return false;
  }
  drained_ = true;
  nextByteAt_ = 0;
  return true;
}

void SimulatorPty::close() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  slave_ = master_ = -1;
}

std::size_t SimulatorPty::inputWaiting() const {
  int count = 0;
  if (master_ < 0 || ioctl(master_, FIONREAD, &count) != 0 || count < 0) return 0;
  return static_cast<std::size_t>(count);
}

int SimulatorPty::millisecondsUntilNextByte(std::int64_t nowMs) const {
  if (inputWaiting() == 0) return -1;
  if (!options_.pacing) return 0;
  const std::int64_t now = nowMs * options_.bytesPerSecond;
  const std::int64_t start = drained_ ? std::max(nextByteAt_, now) : nextByteAt_;
  if (start <= now) return 0;
  return static_cast<int>((start - now + options_.bytesPerSecond - 1) / options_.bytesPerSecond);
}

int SimulatorPty::pump(std::int64_t nowMs) {
  if (master_ < 0) return -1;
  const std::size_t waiting = inputWaiting();
  if (waiting == 0) {
    drained_ = true;
    return 0;
  }
  std::size_t allowed = waiting;
  if (options_.pacing) {
    const std::int64_t now = nowMs * options_.bytesPerSecond;
    // Bytes that appeared on an idle line start arriving now, but not before
    // the line has finished the bytes taken earlier.
    if (drained_) nextByteAt_ = std::max(nextByteAt_, now);
    drained_ = false;
    if (now < nextByteAt_) return 0;
    allowed = std::min<std::size_t>(waiting, static_cast<std::size_t>((now - nextByteAt_) / 1000 + 1));
  }

  std::string received;
  char buffer[4096];
  while (received.size() < allowed) {
    const std::size_t want = std::min(sizeof buffer, allowed - received.size());
    const ssize_t got = ::read(master_, buffer, want);
    if (got > 0) {
      received.append(buffer, static_cast<std::size_t>(got));
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    break;
  }
  if (options_.pacing) nextByteAt_ += static_cast<std::int64_t>(received.size()) * 1000;

  const std::string replies = simulator_.feed(received);
  std::size_t sent = 0;
  while (sent < replies.size()) {
    const ssize_t put = ::write(master_, replies.data() + sent, replies.size() - sent);
    if (put > 0) {
      sent += static_cast<std::size_t>(put);
    } else if (put < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // nobody reads the device and its buffer is full: the reply is lost, as on a line
    }
  }
  if (inputWaiting() == 0) drained_ = true;
  return static_cast<int>(received.size());
}

bool SimulatorPty::run(const volatile std::sig_atomic_t& stop) {
  constexpr int idleWaitMs = 200;  // how often a quiet loop looks at `stop`
  while (!stop) {
    const std::int64_t now = MonotonicMs();
    const int wait = millisecondsUntilNextByte(now);
    if (wait == 0) {
      if (pump(now) < 0) return false;
      continue;
    }
    if (wait > 0) {
      poll(nullptr, 0, std::min(wait, idleWaitMs));
      continue;
    }
    pollfd watch{master_, POLLIN, 0};
    const int ready = poll(&watch, 1, idleWaitMs);
    if (ready < 0 && errno != EINTR) return false;
    if (ready > 0 && (watch.revents & (POLLERR | POLLNVAL))) return false;
    // A hang-up cannot happen while our own descriptor of the device is open;
    // should it come anyway, waiting avoids a busy loop.
    if (ready > 0 && (watch.revents & POLLHUP) && !(watch.revents & POLLIN)) poll(nullptr, 0, idleWaitMs);
  }
  return true;
}

}  // namespace ondaris
