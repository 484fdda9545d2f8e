#pragma once
// The companion link over local sockets in the user's runtime folder:
// "Ondaris" is served here, "OndarisDB" is the companion's. Sockets are
// readable and writable by the user only.

#include <QObject>
#include <QString>
#include <deque>
#include <string>
#include <unordered_map>

#include "platform/CompanionFrame.h"
#include "platform/CompanionTransport.h"

class QLocalServer;
class QLocalSocket;

namespace ondaris {

// $XDG_RUNTIME_DIR, or the system's temporary folder when it is unset.
QString DefaultRuntimeDir();

// Serves the local socket at `path` (user-only). A socket file nobody answers
// on is left over from a program that ended without cleaning up and is
// replaced; a socket somebody answers on is never taken over. False with
// `error` filled when the name cannot be served.
bool ListenOnLocalSocket(QLocalServer& server, const QString& path, QString& error);

class QtCompanionTransport : public QObject, public CompanionTransport {
  Q_OBJECT
 public:
  // `runtimeDir` empty: DefaultRuntimeDir(). Tests pass a folder of their own
  // so that they never meet a running program.
  explicit QtCompanionTransport(const QString& runtimeDir = QString(), QObject* parent = nullptr);
  ~QtCompanionTransport() override;

  bool listen(std::string& error) override;
  void close() override;
  void send(const std::string& text) override;

  QString listenPath() const;     // <runtime>/Ondaris
  QString companionPath() const;  // <runtime>/OndarisDB

  // How long a send may wait for the companion to accept and to take the
  // frame before the attempt is dropped.
  static constexpr int ConnectTimeoutMs = 1000;
  static constexpr int WriteTimeoutMs = 1000;

 private:
  void acceptConnections();
  void readFrom(QLocalSocket* socket);
  void deliverPending();
  enum class WriteResult { Sent, NoCompanion, Closed, Stalled };
  WriteResult writeFrame(const QByteArray& frame);
  void dropCompanionSocket();

  QString runtimeDir_;
  QLocalServer* server_ = nullptr;
  QLocalSocket* companion_ = nullptr;
  std::unordered_map<QLocalSocket*, CompanionFrameSplitter> splitters_;
  // Words are handed on strictly in arrival order, also when a word's action
  // runs a nested event loop (a message box) while more words arrive.
  std::deque<std::string> pending_;
  bool delivering_ = false;
};

}  // namespace ondaris
