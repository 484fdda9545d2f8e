#include "platform/qt/QtTcpListener.h"

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace ondaris {

QtTcpListener::QtTcpListener(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) {
  connect(server_, &QTcpServer::newConnection, this, &QtTcpListener::accept);
}

QtTcpListener::~QtTcpListener() { close(); }

bool QtTcpListener::listen(const std::string& address, int port, std::string& error) {
  close();
  QHostAddress host;
  const QString text = QString::fromStdString(address);
  if (text == QLatin1String("localhost"))
    host = QHostAddress::LocalHost;
  else if (!host.setAddress(text)) {
    error = "not an address";
    return false;
  }
  if (port < 0 || port > 65535 || !server_->listen(host, static_cast<quint16>(port))) {
    error = server_->errorString().toStdString();
    return false;
  }
  return true;
}

void QtTcpListener::close() {
  server_->close();
  while (!clients_.empty()) drop(clients_.begin()->first, false);
}

bool QtTcpListener::listening() const { return server_->isListening(); }

int QtTcpListener::port() const { return server_->isListening() ? server_->serverPort() : 0; }

void QtTcpListener::accept() {
  while (QTcpSocket* socket = server_->nextPendingConnection()) {
    const ConnectionId id = nextId_++;
    socket->setReadBufferSize(ReadBufferBytes);
    clients_[id] = Client{socket, false};
    connect(socket, &QTcpSocket::readyRead, this, [this, id] { readSlice(id); });
    connect(socket, &QTcpSocket::disconnected, this, [this, id] { drop(id, false); });
    if (onConnected) onConnected(id);
  }
}

void QtTcpListener::scheduleSlice(ConnectionId id) {
  Client& client = clients_[id];
  if (client.sliceScheduled) return;
  client.sliceScheduled = true;
  QTimer::singleShot(0, this, [this, id] {
    const auto found = clients_.find(id);
    if (found == clients_.end()) return;
    found->second.sliceScheduled = false;
    readSlice(id);
  });
}

void QtTcpListener::readSlice(ConnectionId id) {
  const auto found = clients_.find(id);
  if (found == clients_.end()) return;
  QTcpSocket* socket = found->second.socket;
  // Looked at, not read: what the handler leaves stays in the socket.
  const QByteArray bytes = socket->peek(SliceBytes);
  if (bytes.isEmpty()) return;
  const std::size_t taken =
      onReceived ? onReceived(id, std::string_view(bytes.constData(), bytes.size())) : bytes.size();
  // The handler may have dropped the client.
  const auto still = clients_.find(id);
  if (still == clients_.end()) return;
  // Read rather than skipped: reading is what lets a socket whose buffer was
  // full take more from the system.
  char used[SliceBytes];
  socket->read(used, static_cast<qint64>(std::min<std::size_t>(taken, static_cast<std::size_t>(bytes.size()))));
  // The rest waits for the next turn, after the other clients and the window.
  if (socket->bytesAvailable() > 0) scheduleSlice(id);
}

void QtTcpListener::send(ConnectionId id, std::string_view bytes) {
  const auto found = clients_.find(id);
  if (found == clients_.end()) return;
  found->second.socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::size_t QtTcpListener::unsentBytes(ConnectionId id) const {
  const auto found = clients_.find(id);
  return found == clients_.end() ? 0 : static_cast<std::size_t>(found->second.socket->bytesToWrite());
}

void QtTcpListener::disconnect(ConnectionId id) { drop(id, true); }

void QtTcpListener::drop(ConnectionId id, bool flush) {
  const auto found = clients_.find(id);
  if (found == clients_.end()) return;
  QTcpSocket* socket = found->second.socket;
  clients_.erase(found);
  QObject::disconnect(socket, nullptr, this, nullptr);
  // A client that reads gets its last replies; one that does not is cut off.
  if (flush && socket->bytesToWrite() > 0 && socket->bytesToWrite() <= 64 * 1024) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(2000, socket, [socket] {
      socket->abort();
      socket->deleteLater();
    });
    socket->disconnectFromHost();
  } else {
    socket->abort();
    socket->deleteLater();
  }
  if (onDisconnected) onDisconnected(id);
}

}  // namespace ondaris
