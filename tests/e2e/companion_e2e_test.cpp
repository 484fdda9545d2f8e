// The companion link and the single-instance lock over real local sockets,
// each test in a runtime folder of its own so that a running Ondaris is
// never touched.

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "E2eSupport.h"
#include "platform/CompanionFrame.h"
#include "platform/qt/QtCompanionTransport.h"
#include "platform/qt/QtSingleInstance.h"

namespace ondaris {
namespace {

QByteArray FrameBytes(const std::string& text) {
  const std::string frame = EncodeCompanionFrame(text);
  return QByteArray(frame.data(), static_cast<qsizetype>(frame.size()));
}

// Leaves a socket file behind with nobody listening, as a crashed program does.
bool MakeStaleSocket(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, name.constData(), sizeof(address.sun_path) - 1);
  const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
  ::close(fd);
  return bound && QFileInfo::exists(path);
}

// A stand-in for the companion's "OndarisDB": collects the frames it gets.
class FakeCompanionServer {
 public:
  explicit FakeCompanionServer(const QString& path) {
    QObject::connect(&server_, &QLocalServer::newConnection, [this] {
      while (QLocalSocket* socket = server_.nextPendingConnection()) {
        ++connections;
        QObject::connect(socket, &QLocalSocket::readyRead, [this, socket] { bytes += socket->readAll(); });
        bytes += socket->readAll();
      }
    });
    QString error;
    listening = ListenOnLocalSocket(server_, path, error);
  }
  std::vector<std::string> texts() const {
    CompanionFrameSplitter splitter;
    return splitter.feed(std::string_view(bytes.constData(), bytes.size()));
  }

  bool listening = false;
  int connections = 0;
  QByteArray bytes;

 private:
  QLocalServer server_;
};

class CompanionLinkTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString path(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }
  // A client connected to "Ondaris" that has written `bytes`.
  std::unique_ptr<QLocalSocket> send(const QByteArray& bytes) {
    auto client = std::make_unique<QLocalSocket>();
    client->connectToServer(path("Ondaris"));
    EXPECT_TRUE(client->waitForConnected(2000)) << client->errorString().toStdString();
    client->write(bytes);
    EXPECT_TRUE(client->waitForBytesWritten(2000));
    return client;
  }

  QTemporaryDir dir;
};

TEST_F(CompanionLinkTest, WordsFromClientsArriveInOrderAndAServedNameIsNeverTakenOver) {
  ASSERT_TRUE(MakeStaleSocket(path("Ondaris")));  // as a crashed program leaves it: replaced
  QtCompanionTransport transport(dir.path());
  std::vector<std::string> words;
  transport.onWord = [&words](const std::string& word) { words.push_back(word); };
  std::string error;
  ASSERT_TRUE(transport.listen(error)) << error;
  EXPECT_EQ(transport.listenPath(), path("Ondaris"));
  struct stat info {};  // for the user only
  ASSERT_EQ(::stat(QFile::encodeName(path("Ondaris")).constData(), &info), 0);
  EXPECT_TRUE(S_ISSOCK(info.st_mode));
  EXPECT_EQ(info.st_mode & 077, 0u) << std::oct << info.st_mode;
  EXPECT_EQ(info.st_uid, ::getuid());
  QtCompanionTransport second(dir.path());
  EXPECT_FALSE(second.listen(error));
  EXPECT_NE(error.find("Ondaris"), std::string::npos) << error;

  const QByteArray first = FrameBytes("G1");
  auto client = send(first.left(30));
  RunFor(30);
  EXPECT_TRUE(words.empty());  // a part of a frame is not a word
  client->write(first.mid(30) + FrameBytes("+9575") + FrameBytes("*9575*Station*Place*English*0000*2400*"));
  ASSERT_TRUE(RunUntil([&] { return words.size() >= 3; }, 2000));
  // Then another client.
  auto next = send(FrameBytes("Bye"));
  ASSERT_TRUE(RunUntil([&] { return words.size() >= 4; }, 2000));
  EXPECT_EQ(words, (std::vector<std::string>{"G1", "+9575", "*9575*Station*Place*English*0000*2400*", "Bye"}));

  transport.close();  // removes the socket
  EXPECT_FALSE(QFileInfo::exists(path("Ondaris")));
}

TEST_F(CompanionLinkTest, ReportsReachTheCompanionAsWholeFramesInOrderWheneverItIsThere) {
  QtCompanionTransport transport(dir.path());
  // Without a companion (or with a socket nobody serves) sending does
  // nothing and returns at once.
  QElapsedTimer timer;
  timer.start();
  ASSERT_TRUE(MakeStaleSocket(path("OndarisDB")));
  for (int i = 0; i < 20; ++i) transport.send("42xxxxxxxxxxxxxxx");
  EXPECT_LT(timer.elapsed(), 1000);
  QFile::remove(path("OndarisDB"));

  auto companion = std::make_unique<FakeCompanionServer>(path("OndarisDB"));
  ASSERT_TRUE(companion->listening);
  const std::string report = "*15000.000*AM*6000*500*0*17*17*False*False*Lo*M*";
  transport.send(report);
  transport.send("OK");
  transport.send(std::string(80, 'a') + "cut");
  ASSERT_TRUE(RunUntil([&] { return companion->bytes.size() >= 3 * 88; }, 2000));
  RunFor(20);
  EXPECT_EQ(companion->bytes.size(), 3 * 88);
  EXPECT_EQ(companion->bytes.left(88), FrameBytes(report));
  EXPECT_EQ(companion->texts(), (std::vector<std::string>{report, "OK", std::string(80, 'a')}));
  EXPECT_EQ(companion->connections, 1);  // one connection carries them all

  // A companion that restarts gets the next report.
  companion.reset();  // closes its connections
  RunFor(20);
  transport.send("lost");  // nobody there
  auto restarted = std::make_unique<FakeCompanionServer>(path("OndarisDB"));
  ASSERT_TRUE(restarted->listening);
  transport.send("second");
  ASSERT_TRUE(RunUntil([&] { return !restarted->texts().empty(); }, 2000));
  RunFor(20);
  EXPECT_EQ(restarted->texts(), std::vector<std::string>{"second"});
}

TEST_F(CompanionLinkTest, ACompanionThatStopsReadingCostsOneWaitNotTwo) {
  // The server never gets the event loop while we send, so nothing is read
  // and the connection's buffer fills up.
  FakeCompanionServer companion(path("OndarisDB"));
  ASSERT_TRUE(companion.listening);
  QtCompanionTransport transport(dir.path());
  QElapsedTimer total;
  total.start();
  qint64 stalledMs = -1;
  int sent = 0;
  while (total.elapsed() < 8000 && stalledMs < 0) {
    QElapsedTimer one;
    one.start();
    transport.send("42xxxxxxxxxxxxxxx");
    ++sent;
    if (one.elapsed() >= QtCompanionTransport::WriteTimeoutMs / 2) stalledMs = one.elapsed();
  }
  ASSERT_GE(stalledMs, 0) << "the buffer never filled after " << sent << " reports";
  EXPECT_LT(stalledMs, QtCompanionTransport::WriteTimeoutMs + 700);
  // The next report goes out on a fresh connection at once.
  QElapsedTimer next;
  next.start();
  transport.send("after");
  EXPECT_LT(next.elapsed(), 300);
}

TEST_F(CompanionLinkTest, ALockLeftByACrashedInstanceIsTakenOverASecondIsRefusedAndWakesIt) {
  QElapsedTimer timer;
  timer.start();
  QtSingleInstance(dir.path()).wakeRunningInstance();  // nothing runs: nothing happens
  EXPECT_LT(timer.elapsed(), 1000);
  EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System));
  // A lock file whose process has ended, and its wake socket.
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  ::waitpid(child, nullptr, 0);
  QFile lock(path("OndarisdeQX7Z.lock"));
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write(QByteArray::number(child) + "\nondaris\n\n");
  lock.close();
  ASSERT_TRUE(MakeStaleSocket(path("OndarisdeQX7Z")));

  auto first = std::make_unique<QtSingleInstance>(dir.path());
  int wakeCalls = 0;
  first->onWakeRequest = [&] { ++wakeCalls; };
  ASSERT_TRUE(first->acquire());
  EXPECT_TRUE(first->holdsLock());
  const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
  QtSingleInstance second(dir.path());
  EXPECT_FALSE(second.acquire());
  EXPECT_FALSE(second.holdsLock());
  for (int wake = 1; wake <= 2; ++wake) {
    second.wakeRunningInstance();
    EXPECT_TRUE(RunUntil([&] { return wakeCalls == wake; }, 2000));
  }
  RunFor(20);
  EXPECT_EQ(wakeCalls, 2);
  // The second start created nothing; once the first ends the lock is free.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
  first.reset();
  EXPECT_TRUE(QtSingleInstance(dir.path()).acquire());
}

}  // namespace
}  // namespace ondaris
