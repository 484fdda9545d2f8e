#pragma once
// TcpListener over QTcpServer on the user-interface thread. Each client is
// offered a slice at a time (at most SliceBytes per turn of the event loop,
// and at most ReadBufferBytes held, so a flooding client is slowed down by
// TCP itself instead of filling memory); what the handler does not take is
// offered again on the next turn.

#include <QObject>
#include <unordered_map>

#include "platform/TcpListener.h"

class QTcpServer;
class QTcpSocket;

namespace ondaris {

class QtTcpListener : public QObject, public TcpListener {
  Q_OBJECT
 public:
  static constexpr qint64 SliceBytes = 4 * 1024;
  static constexpr qint64 ReadBufferBytes = 64 * 1024;

  explicit QtTcpListener(QObject* parent = nullptr);
  ~QtTcpListener() override;

  bool listen(const std::string& address, int port, std::string& error) override;
  void close() override;
  bool listening() const override;
  int port() const override;
  void send(ConnectionId id, std::string_view bytes) override;
  std::size_t unsentBytes(ConnectionId id) const override;
  void disconnect(ConnectionId id) override;

 private:
  struct Client {
    QTcpSocket* socket = nullptr;
    bool sliceScheduled = false;
  };
  void accept();
  void readSlice(ConnectionId id);
  void scheduleSlice(ConnectionId id);
  void drop(ConnectionId id, bool flush);

  QTcpServer* server_ = nullptr;
  std::unordered_map<ConnectionId, Client> clients_;
  ConnectionId nextId_ = 1;
};

}  // namespace ondaris
