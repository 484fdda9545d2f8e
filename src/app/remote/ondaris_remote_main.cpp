// ondaris-remote: a small companion for Ondaris. It serves "OndarisDB" while
// it runs, sends each word given on the command line to "Ondaris" as one
// frame, and prints every frame that comes back, one per line.

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/CompanionFrame.h"
#include "platform/qt/QtCompanionTransport.h"

namespace {

void PrintUsage(std::FILE* to) {
  std::fprintf(to,
               "usage: ondaris-remote [--wait MS] [--runtime-dir DIR] [--] WORD...\n"
               "  Sends each WORD to a running Ondaris and prints every report and answer\n"
               "  it sends back, one per line.\n"
               "  --wait MS          keep listening MS milliseconds after the last word (default 1000)\n"
               "  --runtime-dir DIR  folder of the sockets (default $XDG_RUNTIME_DIR or the temporary folder)\n"
               "  Words: ? Bye Rcl G1 G2 G3 S+ S- L+ L- B+ B- U+ U- D+ D- MS ML MB USB LSB AM CW\n"
               "         F+ F- +kHz P+ P- Px T+ T- I+ I- R Mt *F1*F2*F3*F4*F5*F6*\n");
}

bool ParseWait(const char* text, int& ms) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0 || value > 3600000) return false;
  ms = static_cast<int>(value);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);

  int waitMs = 1000;
  QString runtimeDir;
  std::vector<std::string> words;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      PrintUsage(stdout);
      return 0;
    } else if (!optionsEnded && arg == "--wait") {
      if (i + 1 >= argc || !ParseWait(argv[i + 1], waitMs)) {
        PrintUsage(stderr);
        return 2;
      }
      ++i;
    } else if (!optionsEnded && arg == "--runtime-dir") {
      if (i + 1 >= argc) {
        PrintUsage(stderr);
        return 2;
      }
      runtimeDir = QString::fromLocal8Bit(argv[++i]);
    } else if (!optionsEnded && arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      PrintUsage(stderr);
      return 2;
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty()) {
    PrintUsage(stderr);
    return 2;
  }
  if (runtimeDir.isEmpty()) runtimeDir = ondaris::DefaultRuntimeDir();

  // Serve OndarisDB first, so that the first answer finds us.
  // Declared before the server: the server's sockets may still report their
  // end while the server goes away.
  std::unordered_map<QLocalSocket*, ondaris::CompanionFrameSplitter> splitters;
  auto readFrom = [&splitters](QLocalSocket* socket) {
    auto found = splitters.find(socket);
    if (found == splitters.end()) return;
    const QByteArray bytes = socket->readAll();
    for (const std::string& text : found->second.feed(std::string_view(bytes.constData(), bytes.size())))
      std::printf("%s\n", text.c_str());
    std::fflush(stdout);
  };
  QLocalServer server;
  QObject::connect(&server, &QLocalServer::newConnection, [&] {
    while (QLocalSocket* socket = server.nextPendingConnection()) {
      splitters.emplace(socket, ondaris::CompanionFrameSplitter());
      QObject::connect(socket, &QLocalSocket::readyRead, [&readFrom, socket] { readFrom(socket); });
      QObject::connect(socket, &QLocalSocket::disconnected, [&readFrom, &splitters, socket] {
        readFrom(socket);
        splitters.erase(socket);
        socket->deleteLater();
      });
      readFrom(socket);
    }
  });
  QString error;
  if (!ondaris::ListenOnLocalSocket(server, runtimeDir + QStringLiteral("/OndarisDB"), error))
    std::fprintf(stderr, "ondaris-remote: %s; answers will not be shown\n", qPrintable(error));

  QLocalSocket ondaris;
  ondaris.connectToServer(runtimeDir + QStringLiteral("/Ondaris"));
  if (!ondaris.waitForConnected(2000)) {
    std::fprintf(stderr, "ondaris-remote: Ondaris is not running (%s)\n", qPrintable(ondaris.errorString()));
    return 1;
  }
  for (const std::string& word : words) {
    if (word.size() > ondaris::CompanionTextMax)
      std::fprintf(stderr, "ondaris-remote: '%s' is cut to %zu characters\n", word.c_str(),
                   ondaris::CompanionTextMax);
    const std::string frame = ondaris::EncodeCompanionFrame(word);
    ondaris.write(frame.data(), static_cast<qint64>(frame.size()));
  }
  while (ondaris.bytesToWrite() > 0) {
    if (!ondaris.waitForBytesWritten(2000)) {
      std::fprintf(stderr, "ondaris-remote: Ondaris does not take the words (%s)\n",
                   qPrintable(ondaris.errorString()));
      return 1;
    }
  }

  QTimer::singleShot(waitMs, &app, &QCoreApplication::quit);
  app.exec();
  // Frames that arrived with the last tick are still printed.
  for (auto& [socket, splitter] : splitters) readFrom(socket);
  ondaris.disconnectFromServer();
  return 0;
}
