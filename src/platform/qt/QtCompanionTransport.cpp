#include "platform/qt/QtCompanionTransport.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace ondaris {

QString DefaultRuntimeDir() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return QDir::cleanPath(runtime);
  return QDir::cleanPath(QDir::tempPath());
}

bool ListenOnLocalSocket(QLocalServer& server, const QString& path, QString& error) {
  // Qt puts a user-only socket in place by renaming it over the name, which
  // would silently take the name from a program that is serving it. So look
  // first: only a name nobody answers on may be replaced.
  {
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(500)) {
      probe.abort();
      error = QStringLiteral("%1 is already served by another program").arg(path);
      return false;
    }
    const QLocalSocket::LocalSocketError reason = probe.error();
    if (reason == QLocalSocket::ConnectionRefusedError) {
      QLocalServer::removeServer(path);  // left over by a program that ended
    } else if (reason != QLocalSocket::ServerNotFoundError) {
      error = QStringLiteral("%1 does not answer (%2)").arg(path, probe.errorString());
      return false;
    }
  }
  server.setSocketOptions(QLocalServer::UserAccessOption);
  if (server.listen(path)) return true;
  error = QStringLiteral("Cannot serve %1 (%2)").arg(path, server.errorString());
  return false;
}

QtCompanionTransport::QtCompanionTransport(const QString& runtimeDir, QObject* parent)
    : QObject(parent), runtimeDir_(runtimeDir.isEmpty() ? DefaultRuntimeDir() : QDir::cleanPath(runtimeDir)) {}

QtCompanionTransport::~QtCompanionTransport() {
  close();
  dropCompanionSocket();
}

QString QtCompanionTransport::listenPath() const { return runtimeDir_ + QStringLiteral("/Ondaris"); }
QString QtCompanionTransport::companionPath() const { return runtimeDir_ + QStringLiteral("/OndarisDB"); }

bool QtCompanionTransport::listen(std::string& error) {
  if (server_ && server_->isListening()) return true;
  if (!server_) {
    server_ = new QLocalServer(this);
    connect(server_, &QLocalServer::newConnection, this, &QtCompanionTransport::acceptConnections);
  }
  QString reason;
  if (!ListenOnLocalSocket(*server_, listenPath(), reason)) {
    error = reason.toStdString();
    return false;
  }
  return true;
}

void QtCompanionTransport::close() {
  if (server_) {
    server_->close();  // also removes the socket file
    delete server_;
    server_ = nullptr;
  }
  for (auto& [socket, splitter] : splitters_) {
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
  }
  splitters_.clear();
}

void QtCompanionTransport::acceptConnections() {
  while (server_ && server_->hasPendingConnections()) {
    QLocalSocket* socket = server_->nextPendingConnection();
    if (!socket) break;
    splitters_.emplace(socket, CompanionFrameSplitter());
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
      readFrom(socket);
      splitters_.erase(socket);
      socket->deleteLater();
    });
    readFrom(socket);  // bytes may be there already
  }
}

void QtCompanionTransport::readFrom(QLocalSocket* socket) {
  auto found = splitters_.find(socket);
  if (found == splitters_.end()) return;
  const QByteArray bytes = socket->readAll();
  if (bytes.isEmpty()) return;
  for (std::string& word : found->second.feed(std::string_view(bytes.constData(), bytes.size())))
    pending_.push_back(std::move(word));
  deliverPending();
}

void QtCompanionTransport::deliverPending() {
  if (delivering_) return;  // the outer call hands these on in order
  struct Delivering {
    bool& flag;
    explicit Delivering(bool& f) : flag(f) { flag = true; }
    ~Delivering() { flag = false; }
  } delivering(delivering_);
  while (!pending_.empty()) {
    const std::string word = std::move(pending_.front());
    pending_.pop_front();
    if (onWord) onWord(word);
  }
}

void QtCompanionTransport::dropCompanionSocket() {
  if (!companion_) return;
  companion_->disconnect(this);
  companion_->abort();
  delete companion_;
  companion_ = nullptr;
}

QtCompanionTransport::WriteResult QtCompanionTransport::writeFrame(const QByteArray& frame) {
  if (!companion_ || companion_->state() != QLocalSocket::ConnectedState) {
    dropCompanionSocket();
    companion_ = new QLocalSocket(this);
    // The companion has nothing to say on this connection; whatever it sends
    // is read and dropped so it cannot pile up.
    connect(companion_, &QLocalSocket::readyRead, this, [this] {
      if (companion_) companion_->readAll();
    });
    companion_->connectToServer(companionPath());
    if (!companion_->waitForConnected(ConnectTimeoutMs)) return WriteResult::NoCompanion;
  }
  if (companion_->write(frame) != frame.size()) return WriteResult::Closed;
  while (companion_->bytesToWrite() > 0) {
    if (!companion_->waitForBytesWritten(WriteTimeoutMs)) {
      return companion_->error() == QLocalSocket::SocketTimeoutError ? WriteResult::Stalled
                                                                     : WriteResult::Closed;
    }
  }
  return WriteResult::Sent;
}

void QtCompanionTransport::send(const std::string& text) {
  const std::string frameBytes = EncodeCompanionFrame(text);
  const QByteArray frame(frameBytes.data(), static_cast<qsizetype>(frameBytes.size()));
  const bool hadConnection = companion_ && companion_->state() == QLocalSocket::ConnectedState;
  WriteResult result = writeFrame(frame);
  if (result == WriteResult::Sent) return;
  dropCompanionSocket();
  // A connection kept from an earlier send may have been closed by the
  // companion meanwhile (it restarted, say): try once on a fresh one. A
  // companion that stopped reading is not waited for twice.
  if (hadConnection && result == WriteResult::Closed) {
    result = writeFrame(frame);
    if (result != WriteResult::Sent) dropCompanionSocket();
  }
}

}  // namespace ondaris
