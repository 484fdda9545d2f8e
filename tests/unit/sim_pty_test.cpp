// The simulated receiver behind a pseudo-terminal: raw bytes both ways, the
// 1200-baud pacing against an explicit clock, and clients that come and go.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "radio/Rx320Protocol.h"
#include "sim/SimulatorPty.h"

namespace ondaris {
namespace {

// A program that opened the device, as a serial port would be.
class Client {
 public:
  explicit Client(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
  ~Client() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return fd_ >= 0; }
  bool write(const std::string& bytes) {
    return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  // Reads until `count` bytes have come or a second has passed.
  std::string read(std::size_t count) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      char buffer[256];
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
  }

 private:
  int fd_;
};

// The terminal layer hands written bytes over asynchronously.
bool WaitForInput(const SimulatorPty& pty, std::size_t count) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (pty.inputWaiting() < count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

class SimPty : public ::testing::Test {
 protected:
  void open(bool pacing) {
    pty_ = std::make_unique<SimulatorPty>(SimulatorPty::Options{.pacing = pacing}, 5);
    std::string error;
    ASSERT_TRUE(pty_->open(error)) << error;
    pty_->simulator().setLogSink([this](const std::string& line) { lines_.push_back(line); });
  }
  std::unique_ptr<SimulatorPty> pty_;
  std::vector<std::string> lines_;
};

TEST_F(SimPty, UnpacedItPassesEveryByteBothWaysAndOutlivesItsClients) {
  open(false);
  EXPECT_EQ(pty_->devicePath().rfind("/dev/pts/", 0), 0u) << pty_->devicePath();
  {
    Client client(pty_->devicePath());
    ASSERT_TRUE(client.ok());
    // Filter codes 13 and 10 are CR and line feed; code 0 is a zero byte;
    // the reply holds CR and line feed too.
    pty_->simulator().setStrengthOverride(0x0A0D);
    std::string bytes = FilterCommand(13) + FilterCommand(10) + FilterCommand(0) +
                        Bytes({0x4E, 0x55, 0xEF, 0x1A, 0xA8, 0x77, 0x70, 0x0D}) + ModeCommand(0);
    for (int i = 0; i < 100; ++i) bytes += SignalStrengthQuery();
    ASSERT_TRUE(client.write(bytes));
    ASSERT_TRUE(WaitForInput(*pty_, bytes.size()));
    EXPECT_EQ(pty_->millisecondsUntilNextByte(0), 0);
    EXPECT_EQ(pty_->pump(0), static_cast<int>(bytes.size()));  // everything at once
    EXPECT_EQ(pty_->simulator().queriesAnswered(), 100u);
    const std::string replies = client.read(400);
    ASSERT_EQ(replies.size(), 400u);
    EXPECT_EQ(replies.substr(396), Bytes({0x58, 0x0A, 0x0D, 0x0D}));
    EXPECT_EQ(std::vector<std::string>(lines_.begin(), lines_.begin() + 6),
              (std::vector<std::string>{"W code=13 bw=2550", "W code=10 bw=3000", "W code=0 bw=6000",
                                        "N coarse=21999 fine=6824 bfo=30576 freq=10000.000 kHz",
                                        "M AM freq=10000.000 kHz", "X strength=2573"}));
    ASSERT_TRUE(client.write(ModeCommand(1)));
    ASSERT_TRUE(WaitForInput(*pty_, 3));
  }
  // The client is gone: no hang-up, its bytes are still there, and another may open the device.
  EXPECT_EQ(pty_->pump(0), 3);
  pollfd p{pty_->masterFd(), POLLIN, 0};
  EXPECT_EQ(poll(&p, 1, 0), 0) << "revents " << p.revents;
  Client second(pty_->devicePath());
  ASSERT_TRUE(second.ok());
  ASSERT_TRUE(second.write(ModeCommand(2)));
  ASSERT_TRUE(WaitForInput(*pty_, 3));
  EXPECT_EQ(pty_->pump(1), 3);
  ASSERT_EQ(lines_.size(), 107u);
  EXPECT_EQ(lines_[105].substr(0, 6), "M USB ");  // with the frequency of the words in force
  EXPECT_EQ(lines_[106].substr(0, 6), "M LSB ");
}

TEST_F(SimPty, TakesInputAtTheLineRate) {
  open(true);
  Client client(pty_->devicePath());
  ASSERT_TRUE(client.ok());
  pty_->simulator().setStrengthOverride(100);
  EXPECT_EQ(pty_->millisecondsUntilNextByte(0), -1);
  EXPECT_EQ(pty_->pump(0), 0);
  std::string queries;
  for (int i = 0; i < 12; ++i) queries += SignalStrengthQuery();  // 24 bytes
  ASSERT_TRUE(client.write(queries));
  ASSERT_TRUE(WaitForInput(*pty_, 24));
  // An idle line earned nothing while it was idle: one byte now ...
  EXPECT_EQ(pty_->millisecondsUntilNextByte(5000), 0);
  EXPECT_EQ(pty_->pump(5000), 1);
  EXPECT_EQ(pty_->pump(5000), 0);
  EXPECT_EQ(pty_->millisecondsUntilNextByte(5000), 9);  // 1000 / 120 ms per byte
  // ... then 120 bytes per second: after 100 ms, 12 more.
  EXPECT_EQ(pty_->pump(5100), 12);
  EXPECT_EQ(pty_->simulator().queriesAnswered(), 6u);
  EXPECT_EQ(pty_->pump(5105), 0);
  EXPECT_EQ(pty_->pump(5200), 11);
  EXPECT_EQ(pty_->simulator().queriesAnswered(), 12u);
  EXPECT_EQ(client.read(48).size(), 48u);
  EXPECT_EQ(pty_->millisecondsUntilNextByte(5200), -1);
  // The line is free again from 5200 ms on; the second byte follows at 5208.3 ms.
  ASSERT_TRUE(client.write(SignalStrengthQuery()));
  ASSERT_TRUE(WaitForInput(*pty_, 2));
  EXPECT_EQ(pty_->millisecondsUntilNextByte(5200), 0);
  EXPECT_EQ(pty_->pump(5200), 1);
  EXPECT_EQ(pty_->pump(5201), 0);
  EXPECT_EQ(pty_->pump(5209), 1);
  EXPECT_EQ(client.read(4).size(), 4u);
  // A query written while the line still carries the previous byte waits
  // for it: the last byte took until 5216.7 ms.
  ASSERT_TRUE(client.write(SignalStrengthQuery()));
  ASSERT_TRUE(WaitForInput(*pty_, 2));
  EXPECT_EQ(pty_->millisecondsUntilNextByte(5210), 7);
  EXPECT_EQ(pty_->pump(5210), 0);
  EXPECT_EQ(pty_->pump(5217), 1);
}

TEST_F(SimPty, RunServesUntilStopped) {
  open(true);
  volatile std::sig_atomic_t stop = 0;
  pty_->simulator().setStrengthOverride(0x0102);
  std::thread server([&] { EXPECT_TRUE(pty_->run(stop)); });
  Client client(pty_->devicePath());
  ASSERT_TRUE(client.ok());
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.write(SignalStrengthQuery() + SignalStrengthQuery() + SignalStrengthQuery()));
  EXPECT_EQ(client.read(12), Bytes({0x58, 1, 2, 0x0D, 0x58, 1, 2, 0x0D, 0x58, 1, 2, 0x0D}));
  const auto elapsed = std::chrono::steady_clock::now() - started;
  // Six bytes at 120 bytes per second take at least 5 x 8.3 ms after the first.
  EXPECT_GE(elapsed, std::chrono::milliseconds(40));
  stop = 1;
  server.join();
}

}  // namespace
}  // namespace ondaris
